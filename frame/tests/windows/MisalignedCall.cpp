#include "MisalignedCall.h"

#include <windows.h>

#include <vector>

extern "C" {
std::uint32_t ZqMisalignedCall(const void* function, const void* self,
                               const std::uint32_t* arguments, unsigned count,
                               unsigned misalignment);
void ZqMisalignedCallRecover();
// The thunk's frame while a call runs, for the way back after a fault.
void* g_zqMisalignedFrame = nullptr;
}

// Sets up the stack by hand: the compiler would keep it aligned. After a
// fault the handler resumes at ZqMisalignedCallRecover, which unwinds to the
// thunk's own frame, takes back the thread's exception handler chain as it
// was before the call (the abandoned stack may hold handlers) and answers 0.
asm(R"(
    .text
    .globl _ZqMisalignedCall
_ZqMisalignedCall:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    pushl %fs:0
    movl %ebp, _g_zqMisalignedFrame
    movl 20(%ebp), %ecx
    movl 16(%ebp), %esi
    leal 0(,%ecx,4), %edx
    movl %esp, %eax
    subl %edx, %eax
    andl $-16, %eax
    subl 24(%ebp), %eax
    movl %eax, %esp
    xorl %edx, %edx
1:
    cmpl %ecx, %edx
    jae 2f
    movl (%esi,%edx,4), %ebx
    movl %ebx, (%esp,%edx,4)
    incl %edx
    jmp 1b
2:
    movl 12(%ebp), %ecx
    call *8(%ebp)
3:
    leal -12(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
    .globl _ZqMisalignedCallRecover
_ZqMisalignedCallRecover:
    movl _g_zqMisalignedFrame, %ebp
    movl -16(%ebp), %eax
    movl %eax, %fs:0
    xorl %eax, %eax
    jmp 3b
)");

namespace {

volatile bool g_calling = false;
volatile DWORD g_fault = 0;

LONG CALLBACK ResumeAfterFault(EXCEPTION_POINTERS* exception) {
    if (!g_calling) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    g_calling = false;
    g_fault = exception->ExceptionRecord->ExceptionCode;
    exception->ContextRecord->Eip = reinterpret_cast<DWORD>(&ZqMisalignedCallRecover);
    return EXCEPTION_CONTINUE_EXECUTION;
}

} // namespace

MisalignedCallResult CallMisaligned(const void* function, const void* self,
                                    std::initializer_list<std::uint32_t> arguments,
                                    unsigned misalignment) {
    static void* handler = AddVectoredExceptionHandler(1, ResumeAfterFault);
    static_cast<void>(handler);
    std::vector<std::uint32_t> words(arguments);
    g_fault = 0;
    g_calling = true;
    MisalignedCallResult result;
    result.value = ZqMisalignedCall(function, self, words.data(),
                                    static_cast<unsigned>(words.size()), misalignment & 12u);
    g_calling = false;
    result.fault = g_fault;
    return result;
}

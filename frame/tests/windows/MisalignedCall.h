#pragma once

// Calls into code the way a host built by another compiler may: with the
// stack pointer only 4-byte aligned. 32-bit Windows only.
#include <cstdint>
#include <initializer_list>

struct MisalignedCallResult {
    std::uint32_t value = 0; // EAX after the call
    std::uint32_t fault = 0; // the exception code when the call faulted, else 0
};

// Calls `function` with `arguments` as 32-bit stack arguments and `self` in
// ECX (member functions: GCC and MSVC pass `this` there), with the stack
// pointer `misalignment` bytes (0, 4, 8 or 12) below a 16-byte boundary at
// the call. A fault inside the call is caught and reported, not raised.
MisalignedCallResult CallMisaligned(const void* function, const void* self,
                                    std::initializer_list<std::uint32_t> arguments,
                                    unsigned misalignment);

inline std::uint32_t Word(const void* pointer) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

// The code a virtual call through `method` reaches for `object`. GCC's
// pointers to virtual member functions hold 1 + the slot's byte offset.
template <typename Method> const void* VirtualFunctionOf(const void* object, Method method) {
    struct {
        std::uintptr_t pointer;
        std::ptrdiff_t adjustment;
    } raw;
    static_assert(sizeof raw == sizeof method, "a GCC member function pointer");
    __builtin_memcpy(&raw, &method, sizeof raw);
    if ((raw.pointer & 1) == 0) {
        return nullptr; // not virtual
    }
    const void* const* table = *static_cast<const void* const* const*>(object);
    return table[(raw.pointer - 1) / sizeof(void*)];
}

# 32-bit Windows; programs run here under 32-bit Wine on qemu-i386.
set(ZQ_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
# 32-bit Windows keeps the stack 4-byte aligned, and hosts built by other
# compilers call our exports and virtual functions that way: code that needs
# more aligns the stack itself.
set(CMAKE_CXX_FLAGS_INIT -mincoming-stack-boundary=2)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)

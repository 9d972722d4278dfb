# 32-bit x86 Linux with the build machine's g++ -m32 (g++-multilib): 32-bit
# pointers and size_t, x87 floating point like the 32-bit Windows build.
# The programs run here under qemu-i386 through binfmt_misc.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

# The portable engine as 32-bit x86 code, to run its tests as the shipped
# program does its arithmetic: natively where the kernel runs 32-bit
# programs, else under qemu-i386 (scripts/test decides).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32 -static")

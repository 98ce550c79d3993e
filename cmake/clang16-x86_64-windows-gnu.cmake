# The LLVM route to Sashcaster.asi, as MSYS2's CLANG64 takes it, on Debian:
# clang 16 for the MinGW target against mingw-w64's headers and Debian's
# Windows-threads libstdc++, linked by lld 16, with CodeView debug information
# that lld writes into a PDB. Used for the plug-in alone: GCC 12's
# Windows-threads libstdc++ has no std::thread for the tools and tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(target x86_64-w64-windows-gnu)
set(CMAKE_C_COMPILER clang-16)
set(CMAKE_C_COMPILER_TARGET ${target})
set(CMAKE_CXX_COMPILER clang++-16)
set(CMAKE_CXX_COMPILER_TARGET ${target})
set(CMAKE_RC_COMPILER llvm-windres-16)
set(CMAKE_AR llvm-ar-16)
set(CMAKE_RANLIB llvm-ranlib-16)
set(CMAKE_DLLTOOL llvm-dlltool-16)
set(CMAKE_OBJDUMP llvm-objdump-16)
set(CMAKE_OBJCOPY llvm-objcopy-16)

# clang 16 does not find Debian's Windows-threads C++ runtime by itself:
# its folder named, for the headers and the libraries.
set(gcc_runtime /usr/lib/gcc/x86_64-w64-mingw32/12-win32)
set(CMAKE_CXX_FLAGS_INIT "-nostdinc++ -isystem ${gcc_runtime}/include/c++ \
-isystem ${gcc_runtime}/include/c++/x86_64-w64-mingw32 -isystem ${gcc_runtime}/include/c++/backward")
# The default ld.lld is lld 14, which rejects clang 16's linker directives.
# The compiler-only flags above reach the link too: not a mistake there.
set(link_flags "-Wno-unused-command-line-argument -fuse-ld=lld --ld-path=/usr/bin/ld.lld-16 -L${gcc_runtime}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT ${link_flags})
set(CMAKE_MODULE_LINKER_FLAGS_INIT ${link_flags})
set(CMAKE_EXE_LINKER_FLAGS_INIT ${link_flags})

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)

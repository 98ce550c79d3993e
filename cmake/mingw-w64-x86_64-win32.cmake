# The plug-in's own toolchain: Debian's mingw-w64 with Windows' threads, whose
# C++ runtime brings no threads library of its own into the game's process.
# The rest of the Windows build (tests and tools that start threads) keeps the
# POSIX-thread compilers of mingw-w64-x86_64.cmake.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-win32)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-win32)

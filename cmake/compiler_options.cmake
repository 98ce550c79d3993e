# Every compiler and linker option of the build, by compiler, in this one file.
# GCC and clang in its GNU mode (MinGW, MSYS2's CLANG64, Linux) take the GNU
# spellings; Microsoft's cl and clang-cl take the same intent in theirs. The
# rest of the tree asks for an intent by name and never spells an option.

# Microsoft's C++ runtime is linked in, as mingw-w64's is, so that players
# need no Visual C++ redistributable. Third-party code built here (GoogleTest)
# follows the same rule, whatever CMake version its own files ask for.
set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
set(CMAKE_POLICY_DEFAULT_CMP0091 NEW)
# A program database (/Zi) for every build type, not Debug alone.
set(CMAKE_MSVC_DEBUG_INFORMATION_FORMAT ProgramDatabase)

if(MSVC)
  set(sashcaster_gnu_options OFF)
elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(sashcaster_gnu_options ON)
else()
  message(FATAL_ERROR "${CMAKE_CXX_COMPILER_ID} is neither GCC, clang nor Microsoft's cl: "
                      "build with one of those (docs/building.md names the routes).")
endif()

# Warnings for the project's own code only; third-party code keeps its own.
add_library(sashcaster_warnings INTERFACE)
if(sashcaster_gnu_options)
  target_compile_options(sashcaster_warnings INTERFACE
    -Wall -Wextra -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast -Werror)
else()
  # /permissive- holds cl to the standard as GCC and clang are; the sources
  # are UTF-8 whatever the code page; <windows.h> defines no min and max
  # macros over std::min and std::max (mingw-w64's headers leave those out of
  # C++ by themselves).
  target_compile_options(sashcaster_warnings INTERFACE /W4 /WX /permissive- /utf-8)
  target_compile_definitions(sashcaster_warnings INTERFACE NOMINMAX)
endif()

if(WIN32 AND sashcaster_gnu_options)
  # Every Windows binary, the released ones included, comes out byte for byte
  # the same from the same commit wherever it is built: no link time stamp in
  # the PE header, and no source or build folder in any string or debug note.
  # The binaries carry their debug information; the release keeps it in a
  # file of its own beside each (tools/package.sh).
  add_compile_options(-g -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                      -ffile-prefix-map=${PROJECT_BINARY_DIR}/= -fdebug-prefix-map=${PROJECT_BINARY_DIR}=.)
  add_link_options(-Wl,--no-insert-timestamp)
elseif(WIN32)
  # The same for Microsoft's tools: a PDB for every binary, unused code and
  # duplicate functions dropped as a release link would, no time stamp or
  # folder in the binary (the PDB named by its file name alone), and cl's
  # /d1trimfile leaving the source folder out of the file names the objects
  # keep (clang-cl has no such option).
  # /FS lets the compilers that Ninja runs side by side share a target's
  # program database.
  add_compile_options(/FS /Brepro)
  add_link_options(/DEBUG /OPT:REF /OPT:ICF /Brepro /PDBALTPATH:%_PDB%)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "MSVC")
    file(TO_NATIVE_PATH "${PROJECT_SOURCE_DIR}" native_source_dir)
    add_compile_options("/d1trimfile:${native_source_dir}")
  endif()
endif()

# A program or DLL that carries its C and C++ runtime, and so needs no DLL of
# a compiler's beside it on a player's Windows. Microsoft's runtime is chosen
# for the whole build above; GNU linkers are asked per target.
function(sashcaster_self_contained target)
  if(WIN32 AND sashcaster_gnu_options)
    target_link_options(${target} PRIVATE -static)
  endif()
endfunction()

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

# A guest DLL in the game's process (the plug-in), with the libraries of its
# own that it links: self-contained, exporting nothing, and with a PDB where
# the toolchain writes one.
function(sashcaster_guest_dll_options dll)
  set(parts ${dll} ${ARGN})
  if(MSVC)
    # The static runtime is the whole build's (above); the PDB and the
    # release link options are every binary's.
    return()
  endif()
  # The image base is fixed rather than made from the output's path, which
  # differs from one build folder to the next.
  target_link_options(${dll} PRIVATE -static -Wl,--exclude-all-symbols
                      -Wl,--disable-auto-image-base)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # CodeView rather than DWARF, without the compiler's command line, which
    # names the build's folders. lld writes the PDB beside the DLL, which
    # names it without a folder; the same inputs give the same DLL and PDB
    # (-brepro), whose source files are named from the top of the source tree
    # (the compiler gave them relative).
    foreach(part IN LISTS parts)
      target_compile_options(${part} PRIVATE -gcodeview -gno-codeview-command-line)
    endforeach()
    target_link_options(${dll} PRIVATE -Wl,--pdb= -Wl,--Xlink=-pdbaltpath:%_PDB%
                        -Wl,--Xlink=-brepro -Wl,--Xlink=-pdbsourcepath:.)
    # lld 16 keeps the C++ runtime's own DWARF in the DLL beside the PDB: the
    # players' plug-in goes without it, and the tests run on that very file.
    add_custom_command(TARGET ${dll} POST_BUILD
                       COMMAND ${CMAKE_OBJCOPY} --strip-debug $<TARGET_FILE:${dll}>)
  endif()
endfunction()

# Where Sashcaster.asi comes from. A guest in the game's process carries no
# threads library, whose load-time hooks would reach every thread of the game,
# so the plug-in is built only by a compiler whose C++ runtime rests on
# Windows' own threads: MSVC, clang with libc++ (MSYS2's CLANG64), clang or GCC
# with a Windows-threads libstdc++. Such a compiler builds it as a plain target.
# A GCC with POSIX threads builds it only where Debian's mingw-w64 offers the
# Windows-threads compilers beside it: then the plug-in is built apart, twice,
# by sub-builds that compile its layers afresh (the two C++ runtimes' headers
# differ): by clang 16 and lld 16, which make the released one with its PDB,
# and by GCC and GNU ld, which the tests hold to the same checks.
include(CheckCXXSourceCompiles)

# Set by the sub-builds: where the plug-in goes, so that the tests, the tools
# and the scripts find it where a plain target would have put it.
set(SASHCASTER_PLUGIN_DIR ${CMAKE_CURRENT_BINARY_DIR} CACHE PATH "Folder of Sashcaster.asi")

function(sashcaster_check_windows_threads)
  if(MSVC)
    set(SASHCASTER_RUNTIME_ON_WINDOWS_THREADS ON CACHE INTERNAL "")
    return()
  endif()
  set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
  # libstdc++'s POSIX-threads build takes its locks from winpthread's pthread.h.
  check_cxx_source_compiles([[
    #include <mutex>
    #ifdef PTHREAD_MUTEX_INITIALIZER
    #error the C++ runtime uses POSIX threads
    #endif
    int main() { return 0; }]] SASHCASTER_RUNTIME_ON_WINDOWS_THREADS)
endfunction()

# The plug-in as a plain target, into SASHCASTER_PLUGIN_DIR.
function(sashcaster_add_plugin)
  set(rc_file_type VFT_DLL)
  set(rc_description "${PROJECT_DESCRIPTION}")
  set(rc_internal_name Sashcaster)
  set(rc_file_name Sashcaster.asi)
  configure_file(version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/version.rc @ONLY)

  add_library(Sashcaster MODULE dll_main.cpp host_clock.cpp ${CMAKE_CURRENT_BINARY_DIR}/version.rc)
  # Linked in this folder, whose path the linker writes into the PDB only as
  # the build's own relative one; $<1:...> keeps multi-configuration
  # generators from adding a folder.
  set_target_properties(Sashcaster PROPERTIES PREFIX "" SUFFIX ".asi"
                        LIBRARY_OUTPUT_DIRECTORY $<1:${CMAKE_CURRENT_BINARY_DIR}>
                        PDB_OUTPUT_DIRECTORY $<1:${CMAKE_CURRENT_BINARY_DIR}>)
  # The layers named top down, so that the script hook's import library, which
  # answers the host binding's functions, comes after all their users.
  target_link_libraries(Sashcaster PRIVATE
    sashcaster_entry sashcaster_throw sashcaster_config sashcaster_host sashcaster_script_hook
    sashcaster_warnings)
  sashcaster_guest_dll_options(Sashcaster
    sashcaster_entry sashcaster_throw sashcaster_config sashcaster_host)
  if(NOT SASHCASTER_PLUGIN_DIR STREQUAL CMAKE_CURRENT_BINARY_DIR)
    set(made $<TARGET_FILE:Sashcaster>)
    if(MSVC OR CMAKE_CXX_COMPILER_ID MATCHES "Clang")
      list(APPEND made ${CMAKE_CURRENT_BINARY_DIR}/Sashcaster.pdb)
    endif()
    add_custom_command(TARGET Sashcaster POST_BUILD
                       COMMAND ${CMAKE_COMMAND} -E copy ${made} ${SASHCASTER_PLUGIN_DIR}/)
  endif()
endfunction()

# The plug-in built apart by the compilers of TOOLCHAIN, into OUTPUT_DIR, with
# the extra CMAKE_ARGS given after them.
function(sashcaster_plugin_sub_build name toolchain output_dir)
  ExternalProject_Add(${name}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/${name}
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/${toolchain}
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
               -DSASHCASTER_PLUGIN_ONLY=ON
               -DSASHCASTER_PLUGIN_DIR=${output_dir}
               ${ARGN}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${output_dir}/Sashcaster.asi)
endfunction()

sashcaster_check_windows_threads()
set(SASHCASTER_PLUGIN ${SASHCASTER_PLUGIN_DIR}/Sashcaster.asi
    CACHE INTERNAL "Sashcaster.asi as the build makes it, the one released")
if(SASHCASTER_RUNTIME_ON_WINDOWS_THREADS)
  sashcaster_add_plugin()
  if(MSVC OR CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set(SASHCASTER_PLUGIN_PDB ${SASHCASTER_PLUGIN_DIR}/Sashcaster.pdb CACHE INTERNAL "Its PDB")
  endif()
  set(SASHCASTER_PLUGIN_GNU "" CACHE INTERNAL "")
elseif(NOT SASHCASTER_PLUGIN_ONLY AND CMAKE_CXX_COMPILER MATCHES "x86_64-w64-mingw32-g\\+\\+-posix$")
  find_program(SASHCASTER_WINDOWS_THREADS_GXX x86_64-w64-mingw32-g++-win32 REQUIRED)
  find_program(SASHCASTER_CLANG_16 clang++-16 REQUIRED)
  find_program(SASHCASTER_LLD_16 ld.lld-16 REQUIRED)
  find_program(SASHCASTER_LLVM_DLLTOOL_16 llvm-dlltool-16 REQUIRED)
  include(ExternalProject)
  # Without a compiler cache: the PDB names each source as its compiler was
  # given it, and a cache may hand back an object made from another folder.
  sashcaster_plugin_sub_build(plugin clang16-x86_64-windows-gnu.cmake ${SASHCASTER_PLUGIN_DIR}
                              -DCMAKE_CXX_COMPILER_LAUNCHER= -DCMAKE_C_COMPILER_LAUNCHER=)
  set(SASHCASTER_PLUGIN_PDB ${SASHCASTER_PLUGIN_DIR}/Sashcaster.pdb CACHE INTERNAL "Its PDB")
  # GCC's plug-in, built and tested beside the released one.
  sashcaster_plugin_sub_build(plugin-gnu mingw-w64-x86_64-win32.cmake ${SASHCASTER_PLUGIN_DIR}/gnu)
  set(SASHCASTER_PLUGIN_GNU ${SASHCASTER_PLUGIN_DIR}/gnu/Sashcaster.asi
      CACHE INTERNAL "Sashcaster.asi as GCC and GNU ld make it")
  add_custom_target(Sashcaster ALL DEPENDS plugin plugin-gnu)
else()
  message(FATAL_ERROR
    "${CMAKE_CXX_COMPILER}'s C++ runtime uses POSIX threads, whose library would "
    "load into the game with the plug-in. Build with a compiler on Windows' own threads:\n"
    "  on Debian, the windows preset (mingw-w64's x86_64-w64-mingw32-g++-win32 and clang 16);\n"
    "  on Windows, Visual Studio's MSVC (the preset for it), or MSYS2's CLANG64 (clang, libc++, lld).")
endif()

if(NOT SASHCASTER_PLUGIN_ONLY)
  install(FILES ${SASHCASTER_PLUGIN} DESTINATION .)
  if(SASHCASTER_PLUGIN_PDB)
    # Kept out of the players' download by tools/package.sh, beside it.
    install(FILES ${SASHCASTER_PLUGIN_PDB} DESTINATION .)
  endif()
endif()

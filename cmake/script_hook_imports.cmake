# The script hook's eight functions, read from the one list of them
# (src/host/windows/script_hook_imports.txt), and every file that binds them,
# written from it into ${CMAKE_BINARY_DIR}/script_hook/:
#   dlltool.def      for GNU dlltool and llvm-dlltool: each decorated name, and
#                    the plain one as its alias (plain == decorated);
#   lib.def          for Microsoft's lib.exe and llvm-lib: the decorated names;
#   alternate_names.rsp  the link options that bind the plain names to those
#                    of lib.def (/ALTERNATENAME:plain=decorated), one a line.
# Sets SASHCASTER_SCRIPT_HOOK_PLAIN_NAMES and _DECORATED_NAMES (in the same
# order), _DLLTOOL_DEF, _LIB_DEF and _ALTERNATE_NAMES (the options as a list).
include_guard(DIRECTORY)

set(SASHCASTER_SCRIPT_HOOK_LIST ${PROJECT_SOURCE_DIR}/src/host/windows/script_hook_imports.txt)
set(SASHCASTER_SCRIPT_HOOK_DLL ScriptHookRDR2.dll)
set(script_hook_dir ${CMAKE_BINARY_DIR}/script_hook)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${SASHCASTER_SCRIPT_HOOK_LIST})

# Writes CONTENT to PATH only when it differs, so that nothing relinks for a
# configure that changed nothing.
function(sashcaster_write_if_changed path content)
  file(WRITE ${path}.new "${content}")
  configure_file(${path}.new ${path} COPYONLY)
  file(REMOVE ${path}.new)
endfunction()

set(SASHCASTER_SCRIPT_HOOK_PLAIN_NAMES "")
set(SASHCASTER_SCRIPT_HOOK_DECORATED_NAMES "")
file(STRINGS ${SASHCASTER_SCRIPT_HOOK_LIST} script_hook_lines REGEX "^[^#]")
foreach(line IN LISTS script_hook_lines)
  if(NOT line MATCHES "^([A-Za-z_][A-Za-z0-9_]*) +(\\?[^ ]+)$")
    message(FATAL_ERROR "${SASHCASTER_SCRIPT_HOOK_LIST}: \"${line}\" is not a plain name, "
                        "a space and a decorated name")
  endif()
  list(APPEND SASHCASTER_SCRIPT_HOOK_PLAIN_NAMES ${CMAKE_MATCH_1})
  list(APPEND SASHCASTER_SCRIPT_HOOK_DECORATED_NAMES ${CMAKE_MATCH_2})
endforeach()

set(header "; Made from src/host/windows/script_hook_imports.txt\n")
string(APPEND header "LIBRARY ${SASHCASTER_SCRIPT_HOOK_DLL}\nEXPORTS\n")
set(dlltool_def "${header}")
set(lib_def "${header}")
set(alternate_names_rsp "")
set(SASHCASTER_SCRIPT_HOOK_ALTERNATE_NAMES "")
foreach(plain decorated IN ZIP_LISTS SASHCASTER_SCRIPT_HOOK_PLAIN_NAMES
                                     SASHCASTER_SCRIPT_HOOK_DECORATED_NAMES)
  string(APPEND dlltool_def "${decorated}\n${plain} == ${decorated}\n")
  string(APPEND lib_def "${decorated}\n")
  string(APPEND alternate_names_rsp "/ALTERNATENAME:${plain}=${decorated}\n")
  list(APPEND SASHCASTER_SCRIPT_HOOK_ALTERNATE_NAMES "/ALTERNATENAME:${plain}=${decorated}")
endforeach()

set(SASHCASTER_SCRIPT_HOOK_DLLTOOL_DEF ${script_hook_dir}/dlltool.def)
set(SASHCASTER_SCRIPT_HOOK_LIB_DEF ${script_hook_dir}/lib.def)
set(SASHCASTER_SCRIPT_HOOK_ALTERNATE_NAMES_RSP ${script_hook_dir}/alternate_names.rsp)
sashcaster_write_if_changed(${SASHCASTER_SCRIPT_HOOK_DLLTOOL_DEF} "${dlltool_def}")
sashcaster_write_if_changed(${SASHCASTER_SCRIPT_HOOK_LIB_DEF} "${lib_def}")
sashcaster_write_if_changed(${SASHCASTER_SCRIPT_HOOK_ALTERNATE_NAMES_RSP} "${alternate_names_rsp}")

# Writes to OUTPUT the stand-in script hook's .def: its own exports from
# CONTROL_DEF, then each decorated name answered by the stand-in's function
# standInPlainName (scriptWait by standInScriptWait).
function(sashcaster_standin_exports_def control_def output)
  file(READ ${control_def} content)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${control_def})
  foreach(plain decorated IN ZIP_LISTS SASHCASTER_SCRIPT_HOOK_PLAIN_NAMES
                                       SASHCASTER_SCRIPT_HOOK_DECORATED_NAMES)
    string(SUBSTRING ${plain} 0 1 first)
    string(SUBSTRING ${plain} 1 -1 rest)
    string(TOUPPER ${first} first)
    string(APPEND content "${decorated}=standIn${first}${rest}\n")
  endforeach()
  sashcaster_write_if_changed(${output} "${content}")
endfunction()

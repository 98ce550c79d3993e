#include "standin_host/runtime_watch.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "standin_host/import_table.h"
#include "standin_host/runtime_tracker.h"
#include "standin_host/runtime_wrappers.h"

namespace sashcaster::standin {

namespace {

// Imports of the plug-in's two builds and their C++ runtime that take no
// descriptor, no handle to a system object and no stream. Module handles
// (GetProcAddress, FormatMessageA's source), memory handles (LocalFree), TLS
// indices and critical sections are not system object handles, and are not
// checked.
constexpr std::string_view takesNone[] = {
    // KERNEL32
    "DeleteCriticalSection",
    "EnterCriticalSection",
    "FormatMessageA",
    "GetCurrentProcessId",
    "GetCurrentThreadId",
    "GetLastError",
    "GetModuleHandleA",
    "GetModuleHandleW",
    "GetProcAddress",
    "GetSystemTimeAsFileTime",
    "GetTickCount",
    "GetTickCount64",
    "InitializeCriticalSection",
    "InitializeCriticalSectionAndSpinCount",
    "IsDBCSLeadByteEx",
    "IsDebuggerPresent",
    "LeaveCriticalSection",
    "LoadLibraryA",
    "LoadLibraryW",
    "LocalFree",
    "MultiByteToWideChar",
    "QueryPerformanceCounter",
    "RaiseException",
    "RtlAddFunctionTable",
    "RtlCaptureContext",
    "RtlLookupFunctionEntry",
    "RtlUnwindEx",
    "RtlVirtualUnwind",
    "SetLastError",
    "SetUnhandledExceptionFilter",
    "Sleep",
    "TlsAlloc",
    "TlsFree",
    "TlsGetValue",
    "TlsSetValue",
    "TryEnterCriticalSection",
    "VirtualProtect",
    "VirtualQuery",
    "WideCharToMultiByte",
    // msvcrt
    "___lc_codepage_func",
    "___mb_cur_max_func",
    "__C_specific_handler",
    "__dllonexit",
    "__iob_func",
    "__acrt_iob_func",
    "_amsg_exit",
    "_errno",
    "_initterm",
    "_lock",
    "_onexit",
    "_unlock",
    "abort",
    "atexit",
    "calloc",
    "free",
    "iswctype",
    "localeconv",
    "malloc",
    "memchr",
    "memcmp",
    "memcpy",
    "memmove",
    "memset",
    "realloc",
    "setlocale",
    "signal",
    "strcmp",
    "strcoll",
    "strerror",
    "strftime",
    "strlen",
    "strncmp",
    "strxfrm",
    "towlower",
    "towupper",
    "wcscoll",
    "wcsftime",
    "wcslen",
    "wcsxfrm",
};

bool takesNoneOfThem(std::string_view function) {
  for (std::string_view known : takesNone) {
    if (known == function) {
      return true;
    }
  }
  return false;
}

WrappedImport* wrapperOf(std::string_view function) {
  for (WrappedImport& entry : wrappedImports()) {
    if (entry.function == function) {
      return &entry;
    }
  }
  return nullptr;
}

// The C runtime's standard streams, from the runtime the module imports.
void takeStandardStreams(const ImportSlot& import) {
  if (std::strcmp(import.function, "__iob_func") == 0) {
    FILE* streams = reinterpret_cast<FILE* (*)()>(static_cast<std::uintptr_t>(*import.slot))();
    setStandardStreams(streams, streams + 1, streams + 2);
  } else if (std::strcmp(import.function, "__acrt_iob_func") == 0) {
    auto* stream = reinterpret_cast<FILE* (*)(unsigned)>(static_cast<std::uintptr_t>(*import.slot));
    setStandardStreams(stream(0), stream(1), stream(2));
  }
}

}  // namespace

std::vector<std::string> watchRuntimeImports(HMODULE module, BreachReport report) {
  setBreachReport(report);
  forgetTracked();
  std::vector<std::string> unwatched;
  forEachImport(module, [&](const ImportSlot& import) {
    if (_stricmp(import.library, "ScriptHookRDR2.dll") == 0) {
      return;  // the host functions, answered by the stand-in itself
    }
    takeStandardStreams(import);
    WrappedImport* wrapper = wrapperOf(import.function);
    if (wrapper != nullptr) {
      // Already ours when the module registers twice.
      if (*import.slot != reinterpret_cast<std::uintptr_t>(wrapper->wrapper)) {
        wrapper->real = *import.slot;
      }
      if (!redirectSlot(import, wrapper->wrapper)) {
        unwatched.push_back(std::string(import.library) + "!" + import.function);
      }
    } else if (!takesNoneOfThem(import.function)) {
      unwatched.push_back(std::string(import.library) + "!" + import.function);
    }
  });
  return unwatched;
}

}  // namespace sashcaster::standin

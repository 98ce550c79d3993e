// Each wrapper checks the handle it is given, tracks the file its call opened
// or closed, and calls the function the import table held. The breach is
// reported before the call, so that one that brings the process down is
// still on record.
#include "standin_host/handle_watch.h"

#include <atomic>
#include <cstdio>
#include <iterator>
#include <map>
#include <mutex>
#include <string_view>

#include "standin_host/import_table.h"
#include "standin_host/watched_imports.h"

namespace sashcaster::standin {

namespace {

// Declared with the very type of the function each one stands before.
decltype(CreateFileW) wrapCreateFileW;
decltype(GetFileSizeEx) wrapGetFileSizeEx;
decltype(ReadFile) wrapReadFile;
decltype(CloseHandle) wrapCloseHandle;

template <auto wrapper>
const void* addressOf() {
  return reinterpret_cast<const void*>(wrapper);
}

struct Wrapper {
  std::string_view library;
  std::string_view function;
  const void* (*address)();
};

constexpr Wrapper wrappers[] = {
    {"KERNEL32.dll", "CreateFileW", &addressOf<&wrapCreateFileW>},
    {"KERNEL32.dll", "GetFileSizeEx", &addressOf<&wrapGetFileSizeEx>},
    {"KERNEL32.dll", "ReadFile", &addressOf<&wrapReadFile>},
    {"KERNEL32.dll", "CloseHandle", &addressOf<&wrapCloseHandle>},
};

// A library's name in any case, as Windows takes it.
constexpr bool sameLibrary(std::string_view one, std::string_view other) {
  constexpr auto lower = [](char letter) {
    return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
  };
  if (one.size() != other.size()) {
    return false;
  }
  for (std::size_t i = 0; i < one.size(); ++i) {
    if (lower(one[i]) != lower(other[i])) {
      return false;
    }
  }
  return true;
}

constexpr bool sameImport(const Wrapper& wrapper, const ListedImport& listed) {
  return sameLibrary(wrapper.library, listed.library) && wrapper.function == listed.function;
}

constexpr bool wrapsEachListedImportOnce() {
  if (std::size(wrappers) != std::size(watchedImports)) {
    return false;
  }
  for (const ListedImport& listed : watchedImports) {
    int found = 0;
    for (const Wrapper& wrapper : wrappers) {
      found += sameImport(wrapper, listed) ? 1 : 0;
    }
    if (found != 1) {
      return false;
    }
  }
  return true;
}

static_assert(wrapsEachListedImportOnce(),
              "a wrapper for each import that plugin_system_imports.txt marks \"watch\", and "
              "no other");

template <auto wrapper>
constexpr std::size_t indexOf() {
  std::size_t index = 0;
  while (wrappers[index].address != &addressOf<wrapper>) {
    ++index;  // past the end for a wrapper not in the table: no constant
  }
  return index;
}

struct Watch {
  std::mutex lock;
  BreachReport report = nullptr;
  std::map<HANDLE, bool> files;  // each opened file handle, and whether it is still open
  std::atomic<std::uint64_t> calls = 0;
  std::atomic<ULONGLONG> real[std::size(wrappers)] = {};  // what each import held
};

Watch watch;

template <auto wrapper>
auto real() {
  watch.calls.fetch_add(1, std::memory_order_relaxed);
  constexpr std::size_t index = indexOf<wrapper>();
  return reinterpret_cast<decltype(wrapper)>(static_cast<std::uintptr_t>(watch.real[index].load()));
}

template <auto wrapper>
const char* nameOf() {
  constexpr std::size_t index = indexOf<wrapper>();
  return wrappers[index].function.data();  // a literal: ends in NUL
}

std::string hexOf(HANDLE handle) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(handle)));
  return text;
}

// Whether the system knows the handle at all. A value it knows is taken as
// sound even where the plug-in closed a file under it: another open (the C++
// runtime's semaphores, the test program's files) may since have reused it.
bool systemKnows(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

// Under the watch's lock.
std::string problemWith(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
    return "the invalid handle " + hexOf(handle);
  }
  if (systemKnows(handle)) {
    return {};
  }
  const auto known = watch.files.find(handle);
  if (known != watch.files.end() && !known->second) {
    return "handle " + hexOf(handle) + ", which the plug-in had closed";
  }
  return "handle " + hexOf(handle) + ", which is no open handle";
}

void checkHandle(const char* function, HANDLE handle) {
  const std::lock_guard<std::mutex> guard(watch.lock);
  const std::string problem = problemWith(handle);
  if (!problem.empty() && watch.report != nullptr) {
    watch.report(std::string(function) + " given " + problem);
  }
}

void setFileOpen(HANDLE handle, bool open) {
  const std::lock_guard<std::mutex> guard(watch.lock);
  const auto known = watch.files.find(handle);
  if (open || known != watch.files.end()) {
    watch.files[handle] = open;
  }
}

HANDLE WINAPI wrapCreateFileW(LPCWSTR name, DWORD access, DWORD share,
                              LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                              HANDLE templateFile) {
  if (templateFile != nullptr) {
    checkHandle(nameOf<&wrapCreateFileW>(), templateFile);
  }
  const HANDLE file =
      real<&wrapCreateFileW>()(name, access, share, security, disposition, flags, templateFile);
  if (file != INVALID_HANDLE_VALUE) {
    setFileOpen(file, true);
  }
  return file;
}

BOOL WINAPI wrapGetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
  checkHandle(nameOf<&wrapGetFileSizeEx>(), file);
  return real<&wrapGetFileSizeEx>()(file, size);
}

BOOL WINAPI wrapReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD done,
                         LPOVERLAPPED overlapped) {
  checkHandle(nameOf<&wrapReadFile>(), file);
  return real<&wrapReadFile>()(file, buffer, size, done, overlapped);
}

// The C++ runtime closes its own semaphores here too: only files are tracked.
BOOL WINAPI wrapCloseHandle(HANDLE handle) {
  checkHandle(nameOf<&wrapCloseHandle>(), handle);
  const BOOL closed = real<&wrapCloseHandle>()(handle);
  if (closed != FALSE) {
    setFileOpen(handle, false);
  }
  return closed;
}

const Wrapper* wrapperFor(const ImportSlot& import) {
  for (const Wrapper& wrapper : wrappers) {
    if (_stricmp(import.library, wrapper.library.data()) == 0 &&
        wrapper.function == import.function) {
      return &wrapper;
    }
  }
  return nullptr;
}

}  // namespace

std::vector<std::string> watchFileImports(HMODULE module, BreachReport report) {
  {
    const std::lock_guard<std::mutex> guard(watch.lock);
    watch.report = report;
    watch.files.clear();
  }
  std::vector<std::string> watched;
  forEachImport(module, [&](const ImportSlot& import) {
    const Wrapper* wrapper = wrapperFor(import);
    if (wrapper == nullptr) {
      return;
    }
    const std::string name = std::string(import.library) + "!" + import.function;
    const void* address = wrapper->address();
    // Already ours when the module registers twice.
    if (*import.slot != reinterpret_cast<std::uintptr_t>(address)) {
      watch.real[wrapper - wrappers].store(*import.slot);
    }
    if (redirectSlot(import, address)) {
      watched.push_back(name);
    } else if (report != nullptr) {
      report("cannot watch the import " + name);
    }
  });
  return watched;
}

std::uint64_t watchedCalls() {
  return watch.calls.load(std::memory_order_relaxed);
}

std::uint32_t filesLeftOpen() {
  const std::lock_guard<std::mutex> guard(watch.lock);
  std::uint32_t open = 0;
  for (const auto& [handle, isOpen] : watch.files) {
    open += isOpen ? 1 : 0;
  }
  return open;
}

}  // namespace sashcaster::standin

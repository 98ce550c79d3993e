// The wrappers the watched imports are pointed at, by the function's name.
#pragma once

#include <windows.h>

#include <span>

namespace sashcaster::standin {

struct WrappedImport {
  const char* function;
  const void* wrapper;
  ULONGLONG real;  // what the import table held, set when the import is pointed here
};

std::span<WrappedImport> wrappedImports();

}  // namespace sashcaster::standin

// Watching the plug-in's calls into the C runtime and the system that take a
// descriptor, a handle or a stream: each is checked before it is passed on,
// and a bad one is reported in words. Wine forgives what Windows' C runtime
// sends to its invalid-parameter handler, so the check is made here instead.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sashcaster::standin {

using BreachReport = void (*)(const std::string& text);

// Points every such import of `module` at a wrapper that checks its argument,
// reports a breach through `report`, then calls the function the import
// table held. Returns the imports the stand-in can neither check nor knows to
// take none of the three ("library!function"): while one is left, the watch
// is blind to it.
std::vector<std::string> watchRuntimeImports(HMODULE module, BreachReport report);

// Calls that went through a wrapper so far.
std::uint64_t watchedCalls();

// Files the watched modules opened through their imports (a handle, a
// descriptor or a stream, each counted once) and have not closed.
std::uint32_t filesLeftOpen();

}  // namespace sashcaster::standin

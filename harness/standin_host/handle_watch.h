// Watching the plug-in's file calls: each of its imports that the allow-list
// marks "watch" is pointed at a wrapper that checks the handle it is given
// before passing it on, reporting a null, invalid or closed one in words, and
// counts the files opened and not closed. Wine forgives a bad handle where
// Windows may not, so the check is made here instead.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sashcaster::standin {

using BreachReport = void (*)(const std::string& text);

// Points each watched import of `module` at its wrapper, which reports
// through `report`, and forgets the files of the module before: the values
// it closed may since have been reused by opens the watch never saw. Returns
// the imports so pointed, as "library!function", in the module's order.
std::vector<std::string> watchFileImports(HMODULE module, BreachReport report);

// Calls that went through a wrapper so far.
std::uint64_t watchedCalls();

// Files the watched module opened and has not closed.
std::uint32_t filesLeftOpen();

}  // namespace sashcaster::standin

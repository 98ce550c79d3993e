// First-chance exceptions raised on the script's fiber while a turn runs, as
// every vectored handler in the game's process would see them. A C++ throw
// under mingw-w64 is one (code 0x20474343, raised by libgcc's unwinder), even
// when the plug-in catches it.
#pragma once

#include <windows.h>

#include <cstdint>

namespace sashcaster::standin {

// The turn's fiber, on the thread that switched to it; null between turns.
void turnStarts(LPVOID fiber);
void turnEnds();

std::uint32_t turnExceptionCount();
// The code and address of the index-th one; only the first few are kept.
bool turnException(std::uint32_t index, std::uint32_t* code, void** address);
void clearTurnExceptions();

}  // namespace sashcaster::standin

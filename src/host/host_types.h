// The types in which the host and the plug-in speak: module handles and the
// two kinds of callback. Free of declarations that clash with <windows.h>.
#pragma once

#include <cstdint>

// Windows declares HINSTANCE as a pointer to this tag; the name is theirs.
struct HINSTANCE__;  // NOLINT(bugprone-reserved-identifier)

namespace sashcaster {

using ModuleHandle = HINSTANCE__*;
using ScriptEntry = void (*)();
using KeyboardCallback = void (*)(std::uint32_t key, std::uint16_t repeats, std::uint8_t scanCode,
                                  std::int32_t isExtended, std::int32_t isWithAlt,
                                  std::int32_t wasDownBefore, std::int32_t isUpNow);

}  // namespace sashcaster

// What the plug-in does when Windows loads or unloads it, apart from the
// platform's entry point itself.
#pragma once

#include <cstdint>

#include "host/host_types.h"

namespace sashcaster {

inline constexpr std::uint32_t processDetach = 0;
inline constexpr std::uint32_t processAttach = 1;
inline constexpr std::uint32_t threadAttach = 2;
inline constexpr std::uint32_t threadDetach = 3;

// Registers or withdraws the script and keyboard callback; always succeeds.
bool moduleEntry(ModuleHandle module, std::uint32_t reason);

// The script the host runs: the throw loop, which never returns.
[[noreturn]] void scriptEntry();

}  // namespace sashcaster

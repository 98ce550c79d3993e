// Loading a plug-in under the stand-in host, as the programs that drive it
// do: from a thread made a fiber, since the host switches to each script's
// fiber from there.
#pragma once

#include <windows.h>

#include <filesystem>

#include "standin_host/standin_control.h"

// Null when the plug-in does not load, or registers no script whose
// GetTickCount import could be pointed at the host's clock.
inline HMODULE loadUnderStandIn(const std::filesystem::path& plugin) {
  ConvertThreadToFiber(nullptr);
  const HMODULE module = LoadLibraryW(plugin.wstring().c_str());
  return module != nullptr && standInClockPatched() ? module : nullptr;
}

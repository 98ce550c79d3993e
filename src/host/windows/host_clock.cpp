// The host's clock in the game: kernel32's GetTickCount, imported by that
// name, so that a stand-in host can point the import at a clock of its own.
#include <windows.h>

#include "host/host_interface.h"

std::uint32_t hostTickCount() {
  return GetTickCount();
}

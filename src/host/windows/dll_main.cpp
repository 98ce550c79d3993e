// The Windows entry point: forwards every notification to the portable code.
#include <windows.h>

#include "host/module_entry.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
  return sashcaster::moduleEntry(module, reason) ? TRUE : FALSE;
}

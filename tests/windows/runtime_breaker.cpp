// A plug-in that breaks each rule of the stand-in host's watch on every turn
// (a closed, an invalid and a null handle, a file left open, a C++ exception
// on the script's fiber), and imports a function that the allow-list forbids,
// so that the binary check can be seen to refuse it.
#include <windows.h>

#include <cstdio>

#include "host/host_interface.h"

namespace {

wchar_t ownPath[MAX_PATH];

HANDLE openOwnFile() {
  return CreateFileW(ownPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Each call below is one breach of the watch, in the order the test names
// them.
void breakingTurn() {
  GetTickCount();  // read, so that the host's clock stands in for it

  const HANDLE closedFile = openOwnFile();
  CloseHandle(closedFile);
  char byte = 0;
  DWORD read = 0;
  ReadFile(closedFile, &byte, 1, &read, nullptr);

  LARGE_INTEGER size{};
  GetFileSizeEx(INVALID_HANDLE_VALUE, &size);
  CloseHandle(nullptr);

  openOwnFile();  // left open
  try {
    throw 1;
  } catch (int) {  // NOLINT(bugprone-empty-catch): raised to be counted
  }

  // A stream over a descriptor, which the allow-list forbids; no descriptor
  // of that number is open, so the call fails and opens nothing.
  _fdopen(-1, "rb");
}

void breakingScript() {
  for (;;) {
    breakingTurn();
    scriptWait(0);
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    GetModuleFileNameW(module, ownPath, MAX_PATH);
    scriptRegister(module, &breakingScript);
  } else if (reason == DLL_PROCESS_DETACH) {
    scriptUnregister(module);
  }
  return TRUE;
}

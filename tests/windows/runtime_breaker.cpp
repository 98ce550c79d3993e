// A plug-in that hands the C runtime and the system a bad descriptor, handle
// or stream of each kind, leaves a file open and throws a C++ exception on
// every turn, so that the stand-in host's watch can be seen to catch each.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "host/host_interface.h"

namespace {

wchar_t ownPath[MAX_PATH];

HANDLE openOwnFile() {
  return CreateFileW(ownPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Each call below is one breach, in the order the test names them.
void breakingTurn() {
  GetTickCount();  // read, so that the host's clock stands in for it
  _fdopen(-1, "rb");

  const HANDLE closedFile = openOwnFile();
  CloseHandle(closedFile);
  char byte = 0;
  DWORD read = 0;
  ReadFile(closedFile, &byte, 1, &read, nullptr);

  // The runtime closes the handle with the descriptor that owns it.
  const HANDLE ownedFile = openOwnFile();
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(ownedFile), _O_RDONLY);
  _close(descriptor);
  _read(descriptor, &byte, 1);
  CloseHandle(ownedFile);

  LARGE_INTEGER size{};
  GetFileSizeEx(INVALID_HANDLE_VALUE, &size);
  std::fflush(nullptr);  // every stream: no breach
  _dup(-1);              // takes a descriptor, but the watch has no wrapper for it

  openOwnFile();  // left open
  try {
    throw 1;
  } catch (int) {  // NOLINT(bugprone-empty-catch): raised to be counted
  }
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

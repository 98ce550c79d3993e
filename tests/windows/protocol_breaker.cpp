// A plug-in that breaks the host's calling protocol on purpose, so that the
// stand-in host's checks can be seen to catch each breach.
#include <windows.h>

#include <cstdint>

#include "host/host_interface.h"

namespace {

constexpr std::uint64_t localPlayerPed = 0x096275889B8E0EE0;
constexpr std::uint64_t hashOfName = 0xFD340785ADF8CFB7;
constexpr std::uint64_t pedGrappleStyle = 0x753B15AD0FD6F3E3;
constexpr std::uint64_t controlPressed = 0xF3A21BCD95725A4A;

char unterminated[300];

void breakingScript() {
  for (char& c : unterminated) {
    c = 'A';
  }
  for (;;) {
    // The whole result slot taken for a ped handle, high half and all.
    nativeInit(localPlayerPed);
    const std::uint64_t wholeSlot = *nativeCall();
    nativeInit(pedGrappleStyle);
    nativePush64(wholeSlot);
    nativeCall();
    // One argument short.
    nativeInit(controlPressed);
    nativePush64(0);
    nativeCall();
    // Names that are no NUL-terminated text.
    nativeInit(hashOfName);
    nativePush64(0x10);
    nativeCall();
    nativeInit(hashOfName);
    nativePush64(reinterpret_cast<std::uintptr_t>(unterminated));
    nativeCall();
    // A second call begun while the first is open.
    nativeInit(localPlayerPed);
    nativeInit(localPlayerPed);
    nativeCall();
    scriptWait(0);
  }
}

// Natives from the keyboard callback, outside the script.
void breakingKeyboard(std::uint32_t, std::uint16_t, std::uint8_t, std::int32_t, std::int32_t,
                      std::int32_t, std::int32_t) {
  nativeInit(localPlayerPed);
  nativeCall();
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    scriptRegister(module, &breakingScript);
    keyboardHandlerRegister(&breakingKeyboard);
  } else if (reason == DLL_PROCESS_DETACH) {
    scriptUnregister(module);
    keyboardHandlerUnregister(&breakingKeyboard);
  }
  return TRUE;
}

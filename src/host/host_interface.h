// The functions the plug-in takes from its host: the eight of the script hook
// and the system clock. On Windows they are the imports of ScriptHookRDR2.dll
// (bound to their decorated names by the import library) and kernel32's
// GetTickCount, behind a name of its own so that this header and <windows.h>
// go together; on Linux a fake host defines them with the same signatures.
#pragma once

#include <cstdint>

#include "host/host_types.h"

extern "C" {

void scriptRegister(sashcaster::ModuleHandle module, sashcaster::ScriptEntry entry);
void scriptUnregister(sashcaster::ModuleHandle module);
void keyboardHandlerRegister(sashcaster::KeyboardCallback callback);
void keyboardHandlerUnregister(sashcaster::KeyboardCallback callback);
void scriptWait(std::uint32_t milliseconds);
void nativeInit(std::uint64_t hash);
void nativePush64(std::uint64_t slot);
std::uint64_t* nativeCall();

// Milliseconds since system start, wrapping at 2^32: GetTickCount on Windows.
std::uint32_t hostTickCount();
}

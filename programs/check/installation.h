// What a game folder holds when the plug-in can be loaded at all: the files
// the settings check looks for beside the settings file.
#pragma once

#include <array>

namespace sashcaster::check {

// The game's program: the folder that holds it is the game's folder.
inline constexpr const char* gameProgram = "RDR2.exe";
inline constexpr const char* scriptHook = "ScriptHookRDR2.dll";
inline constexpr const char* plugIn = "Sashcaster.asi";

// The release's other files beside the plug-in and its settings file: every
// name it puts in the game's folder starts with Sashcaster, so that no other
// mod's file of a common name (README.txt) is overwritten.
inline constexpr std::array<const char*, 4> releaseCompanions{
    "Sashcaster-check.exe", "Sashcaster-keys.exe", "Sashcaster-README.txt",
    "Sashcaster-SHA256SUMS"};

// The names under which the game loads a plug-in loader, the script hook's
// (dinput8.dll, in its download) first; any one of them will do.
inline constexpr std::array<const char*, 4> loaderNames{"dinput8.dll", "version.dll", "winmm.dll",
                                                        "dsound.dll"};

// What Proton needs in the game's launch options to load dinput8.dll from
// the game's folder rather than its own.
inline constexpr const char* protonLaunchOption = "WINEDLLOVERRIDES=\"dinput8=n,b\" %command%";

}  // namespace sashcaster::check

// A folder laid out as a complete installation, so that tests of the players'
// tools see only the findings they are about.
#pragma once

#include <filesystem>
#include <fstream>

namespace sashcaster::test {

// The files a working installation holds beside the settings file, each empty.
inline constexpr const char* gameFolderFiles[] = {"RDR2.exe", "ScriptHookRDR2.dll", "dinput8.dll",
                                                  "Sashcaster.asi"};

inline void fillGameFolder(const std::filesystem::path& folder) {
  for (const char* name : gameFolderFiles) {
    std::ofstream(folder / name, std::ios::binary);
  }
}

}  // namespace sashcaster::test

// Findings about the game's folder, the one the settings file stands in: the
// files without which the plug-in is never loaded, whatever the file says.
#include <algorithm>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "check/installation.h"
#include "check/near_miss.h"
#include "check/report.h"

namespace sashcaster::check {

namespace fs = std::filesystem;

namespace {

// A file of a working installation, under any one of its names, and the
// finding when none of them is there.
struct InstalledItem {
  std::span<const char* const> names;
  std::string missing;
};

const char* const gameProgramName[] = {gameProgram};
const char* const scriptHookName[] = {scriptHook};
const char* const plugInName[] = {plugIn};

// "dinput8.dll, or version.dll, winmm.dll or dsound.dll"
std::string loaderAlternatives() {
  std::string text = std::string(loaderNames[0]) + ", or ";
  for (std::size_t i = 1; i < loaderNames.size(); ++i) {
    text += loaderNames[i];
    text += i + 2 < loaderNames.size() ? ", " : i + 1 < loaderNames.size() ? " or " : "";
  }
  return text;
}

std::vector<InstalledItem> installedItems(const std::string& where) {
  return {
      {gameProgramName,
       std::string(gameProgram) + " is not in " + where +
           ", so it is not the game's folder: put the files of Sashcaster and of the script "
           "hook beside RDR2.exe (in Steam: right-click the game, Manage, Browse local files)."},
      {scriptHookName, std::string(scriptHook) + " is not in " + where +
                           ": install the script hook for Red Dead Redemption 2, with its files "
                           "beside RDR2.exe. Without it nothing loads Sashcaster."},
      {loaderNames, "No plug-in loader (" + loaderAlternatives() + ") is in " + where +
                        ", so nothing loads the script hook or Sashcaster: put dinput8.dll from "
                        "the script hook's download beside RDR2.exe. On Linux and Steam Deck, "
                        "also set the game's launch options in Steam to " +
                        protonLaunchOption + "."},
      {plugInName, std::string(plugIn) + " is not in " + where +
                       ": copy it from the release beside RDR2.exe, where the script hook "
                       "looks for plug-ins."},
  };
}

}  // namespace

void checkInstallation(Report& report) {
  const fs::path& file = report.file;
  std::error_code code;
  fs::directory_iterator entry(file.has_parent_path() ? file.parent_path() : fs::path("."), code);
  if (code) {
    return;  // no folder to look in: the file's own finding says so
  }
  std::vector<std::string> names;
  for (const fs::directory_iterator end; !code && entry != end; entry.increment(code)) {
    names.push_back(entry->path().filename().string());
  }
  const std::string where = file.has_parent_path() ? "the folder " + file.parent_path().string()
                                                   : std::string("this folder");
  for (InstalledItem& item : installedItems(where)) {
    // Windows finds a file whatever the letter case of its name.
    const bool present = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
      return std::any_of(item.names.begin(), item.names.end(),
                         [&](const char* one) { return sameIgnoringCase(name, one); });
    });
    if (!present) {
      report.findings.push_back({std::nullopt, std::move(item.missing)});
    }
  }
}

}  // namespace sashcaster::check

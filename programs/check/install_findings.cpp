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
#include "i18n/messages.h"

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
  static_assert(loaderNames.size() == 4, "install.loader_names names four loaders");
  return i18n::say("install.loader_names", {{"first", loaderNames[0]},
                                            {"second", loaderNames[1]},
                                            {"third", loaderNames[2]},
                                            {"fourth", loaderNames[3]}});
}

std::vector<InstalledItem> installedItems(const std::string& where) {
  return {
      {gameProgramName,
       i18n::say("install.no_game", {{"game", gameProgram}, {"in_folder", where}})},
      {scriptHookName, i18n::say("install.no_hook", {{"hook", scriptHook}, {"in_folder", where}})},
      {loaderNames, i18n::say("install.no_loader", {{"loaders", loaderAlternatives()},
                                                    {"in_folder", where},
                                                    {"launch_option", protonLaunchOption}})},
      {plugInName, i18n::say("install.no_plugin", {{"plugin", plugIn}, {"in_folder", where}})},
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
  for (InstalledItem& item : installedItems(inFolderOf(file))) {
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

// sashcaster-wine: plays a scenario on the real Sashcaster.asi, loaded under
// the stand-in script hook (run it with wine on Linux). It prints the same
// trace as sashcaster-sim does for the portable core.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "scenario/command_line.h"
#include "scenario/player.h"
#include "standin_host/standin_breaches.h"
#include "standin_host/standin_control.h"

namespace {

using namespace sashcaster;

std::filesystem::path programDirectory() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(std::wstring(path, length)).parent_path();
}

// Without --plugin: the plug-in beside this program, else the one the build
// made next to it (build/windows/wine/ and build/windows/src/host/windows/),
// else the release in dist/ at the top of the source tree.
std::filesystem::path defaultPlugin() {
  const std::filesystem::path here = programDirectory();
  const std::filesystem::path candidates[] = {
      here / "Sashcaster.asi",
      here.parent_path() / "src" / "host" / "windows" / "Sashcaster.asi",
      here.parent_path().parent_path().parent_path() / "dist" / "Sashcaster.asi",
  };
  std::error_code ignored;
  for (const std::filesystem::path& candidate : candidates) {
    if (std::filesystem::is_regular_file(candidate, ignored)) {
      return candidate;
    }
  }
  return candidates[0];
}

// The system's own words for a Windows error code, without the line break.
std::string errorText(DWORD code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length == 0 ? "no description" : std::string(text, length);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message;
}

scenario::TurnResult runTurn() {
  standInClearNatives();
  standInClearBreaches();
  scenario::TurnResult result;
  result.endedWithWait = standInRunTurn();
  StandInNative record{};
  for (std::uint32_t i = 0; standInNative(i, &record); ++i) {
    scenario::NativeCall call{record.hash, {}, record.name, record.resultSlot};
    call.slots.assign(record.slots, record.slots + std::min(record.slotCount, standInMaxSlots));
    result.natives.push_back(call);
  }
  result.breaches = takeStandInBreaches();
  return result;
}

// After unloading: the script and the very keyboard callback registered must
// have been withdrawn, in that order.
bool withdrawnInOrder(HMODULE plugin) {
  StandInHostEvent event{};
  std::vector<StandInHostEvent> events;
  for (std::uint32_t i = 0; standInEvent(i, &event); ++i) {
    events.push_back(event);
  }
  return events.size() == 4 && events[0].kind == standInScriptRegistered &&
         events[0].module == plugin && events[1].kind == standInKeyboardRegistered &&
         events[2].kind == standInScriptUnregistered && events[2].module == plugin &&
         events[3].kind == standInKeyboardUnregistered && events[3].function == events[1].function;
}

// Prints each breach the stand-in host reported; true when there was none.
bool reportBreaches(const char* when, const std::vector<std::string>& breaches) {
  for (const std::string& breach : breaches) {
    std::cerr << "sashcaster-wine: " << when << ": " << breach << "\n";
  }
  return breaches.empty();
}

// Loads the plug-in under the stand-in host; null, with the reason printed,
// when it does not load or registers no script whose clock could be redirected.
HMODULE loadPlugin(const std::filesystem::path& plugin) {
  ConvertThreadToFiber(nullptr);
  const std::wstring name = plugin.wstring();
  const HMODULE module = LoadLibraryW(name.c_str());
  if (module == nullptr) {
    // Read before anything else runs: the path's conversion below resets it.
    const DWORD error = GetLastError();
    std::cerr << "sashcaster-wine: cannot load " << plugin.string() << ": " << errorText(error)
              << " (error " << error << ")\n";
    return nullptr;
  }
  if (!standInClockPatched()) {
    std::cerr << "sashcaster-wine: " << plugin.string()
              << " registered no script, or its GetTickCount import could not be redirected\n";
    return nullptr;
  }
  return module;
}

}  // namespace

int main(int argc, char** argv) {
  // The trace must match the simulator's byte for byte: no CR before LF.
  _setmode(_fileno(stdout), _O_BINARY);
  scenario::CommandLine line;
  scenario::Scenario played;
  scenario::ScratchDirectory directory;
  if (!scenario::prepareRun(argc, argv, "sashcaster-wine", true, line, played, directory)) {
    return line.help ? 0 : 2;
  }
  const std::filesystem::path plugin =
      line.pluginFile.empty() ? defaultPlugin() : std::filesystem::path(line.pluginFile);

  const HMODULE module = loadPlugin(plugin);
  if (module == nullptr) {
    return 2;
  }
  const std::vector<std::string> loadBreaches = takeStandInBreaches();

  const scenario::Runner runner{
      [](std::uint32_t now) { standInSetClock(now); },
      [](std::uint32_t key, bool up) { standInSendKey(key, up); },
      [](const model::GameState& game) { standInSetGame(&game); },
      runTurn,
  };
  const scenario::PlayOutcome outcome =
      scenario::play(played, runner, std::cout, {.showNatives = line.showNatives});
  std::cout.flush();

  FreeLibrary(module);
  bool sound = outcome.failures == 0;
  sound = reportBreaches("while loading", loadBreaches) && sound;
  sound = reportBreaches("while unloading", takeStandInBreaches()) && sound;
  if (!withdrawnInOrder(module)) {
    std::cerr << "sashcaster-wine: the plug-in did not register and withdraw its script and "
                 "keyboard callback as expected\n";
    sound = false;
  }
  return sound ? 0 : 1;
}

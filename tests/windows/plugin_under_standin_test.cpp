// The real Sashcaster.asi under the stand-in script hook, in wine: loading and
// unloading, the settings file through the Windows file APIs, and a failing
// settings load inside the script's fiber.
// Usage: plugin_under_standin_test PLUGIN PROTOCOL_BREAKER
//        plugin_under_standin_test --hold FILE READY_EVENT RELEASE_EVENT
//          (the helper process that keeps the settings file open)
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "standin_host/standin_control.h"

namespace {

int failures = 0;

void check(bool sound, const char* what, int line) {
  if (!sound) {
    std::printf("FAIL line %d: %s\n", line, what);
    ++failures;
  }
}

#define CHECK(condition) check((condition), #condition, __LINE__)

using sashcaster::model::nameHash;

const std::uint32_t front = nameHash("ACT_GRAPPLE_THROW_CUSTOM_FRONT");
const std::uint32_t left = nameHash("ACT_GRAPPLE_THROW_CUSTOM_LEFT");
using Throws = std::vector<std::uint32_t>;

std::uint32_t now = 5000000;

std::vector<StandInHostEvent> eventsSince(std::uint32_t first) {
  std::vector<StandInHostEvent> events;
  StandInHostEvent event{};
  for (std::uint32_t i = first; standInEvent(i, &event); ++i) {
    events.push_back(event);
  }
  return events;
}

std::vector<std::string> breaches() {
  std::vector<std::string> all;
  char text[512];
  for (std::uint32_t i = 0; standInBreach(i, text, sizeof text); ++i) {
    all.emplace_back(text);
    std::printf("breach: %s\n", text);
  }
  standInClearBreaches();
  return all;
}

// One turn of the script; the throws it asked for.
Throws turn(bool* ended = nullptr) {
  standInClearNatives();
  const bool sound = standInRunTurn();
  if (ended != nullptr) {
    *ended = sound;
  }
  Throws throws;
  StandInNative call{};
  for (std::uint32_t i = 0; standInNative(i, &call); ++i) {
    if (call.hash == sashcaster::model::setPedGrappleActionHash) {
      throws.push_back(static_cast<std::uint32_t>(call.slots[1]));
    }
  }
  return throws;
}

// Holds a direction key and taps the trigger, 10 ms apart, then lets go of
// the direction key after the turn that follows.
Throws holdAndTap(std::uint32_t direction, std::uint32_t trigger) {
  standInSetClock(now += 1000);
  standInSendKey(direction, false);
  standInSetClock(now += 10);
  standInSendKey(trigger, false);
  standInSetClock(now += 10);
  standInSendKey(trigger, true);
  standInSetClock(now += 10);
  const Throws throws = turn();
  standInSendKey(direction, true);
  return throws;
}

void faceToFace() {
  sashcaster::model::GameState game;
  game.grappleStyle = nameHash("GS_FACE_TO_FACE");
  standInSetGame(&game);
}

bool writeFile(const wchar_t* name, const std::string& text) {
  const HANDLE file =
      CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  const BOOL sound =
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return sound != FALSE && written == text.size();
}

std::string settingsText(int trigger, int frontKey, int leftKey) {
  return "[Sashcaster]\r\niXKey=" + std::to_string(trigger) +
         "\r\niWindowThrowFront=" + std::to_string(frontKey) +
         "\r\niWindowThrowLeft=" + std::to_string(leftKey) +
         "\r\niWindowThrowRight=68\r\niWindowThrowBack=83\r\n";
}

DWORD WINAPI idleThread(LPVOID) {
  return 0;
}

void loadAndUnload(const wchar_t* pluginPath) {
  const std::uint32_t first = standInEventCount();
  const HMODULE plugin = LoadLibraryW(pluginPath);
  CHECK(plugin != nullptr);
  if (plugin == nullptr) {
    return;
  }
  const auto* base = reinterpret_cast<const std::uint8_t*>(plugin);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const std::uint8_t* end = base + nt->OptionalHeader.SizeOfImage;
  auto inPlugin = [&](const void* p) {
    const auto* byte = static_cast<const std::uint8_t*>(p);
    return byte >= base && byte < end;
  };

  std::vector<StandInHostEvent> events = eventsSince(first);
  CHECK(events.size() == 2);
  if (events.size() == 2) {
    CHECK(events[0].kind == standInScriptRegistered);
    CHECK(events[0].module == plugin);
    CHECK(inPlugin(events[0].function));
    CHECK(events[1].kind == standInKeyboardRegistered);
    CHECK(inPlugin(events[1].function));
    CHECK(events[0].threadId == GetCurrentThreadId());
  }
  CHECK(standInClockPatched());

  // Thread attach and detach register nothing.
  const HANDLE thread = CreateThread(nullptr, 0, &idleThread, nullptr, 0, nullptr);
  CHECK(thread != nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  CHECK(eventsSince(first).size() == 2);

  // The script runs, and reads the scenario clock, not the real one.
  const std::uint64_t readsBefore = standInClockReads();
  faceToFace();
  CHECK(holdAndTap('W', 'X') == Throws{front});
  CHECK(standInClockReads() > readsBefore);

  CHECK(FreeLibrary(plugin) != FALSE);
  events = eventsSince(first);
  CHECK(events.size() == 4);
  if (events.size() == 4) {
    CHECK(events[2].kind == standInScriptUnregistered);
    CHECK(events[2].module == plugin);
    CHECK(events[3].kind == standInKeyboardUnregistered);
    CHECK(events[3].function == events[1].function);
  }
  CHECK(GetModuleHandleW(L"Sashcaster.asi") == nullptr);
  CHECK(!standInRunTurn());  // no script left to run
  CHECK(breaches().empty());
}

// The helper process: opens the file for reading, sharing it for reading only,
// and keeps it open until told to let go.
int holdFile(const char* name, const char* ready, const char* release) {
  const HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  const HANDLE readyEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, ready);
  const HANDLE releaseEvent = OpenEventA(SYNCHRONIZE, FALSE, release);
  if (file == INVALID_HANDLE_VALUE || readyEvent == nullptr || releaseEvent == nullptr) {
    return 1;
  }
  SetEvent(readyEvent);
  WaitForSingleObject(releaseEvent, 60000);
  CloseHandle(file);
  return 0;
}

struct HeldFile {
  PROCESS_INFORMATION process{};
  HANDLE ready = nullptr;
  HANDLE release = nullptr;
};

bool holdInAnotherProcess(HeldFile& held, const std::string& fileName) {
  const std::string suffix = std::to_string(GetCurrentProcessId());
  const std::string readyName = "sashcaster-ready-" + suffix;
  const std::string releaseName = "sashcaster-release-" + suffix;
  held.ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
  held.release = CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command =
      std::string("\"") + self + "\" --hold \"" + fileName + "\" " + readyName + " " + releaseName;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &held.process) == FALSE) {
    return false;
  }
  const HANDLE waits[] = {held.ready, held.process.hProcess};
  return WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
}

void letGo(HeldFile& held) {
  SetEvent(held.release);
  if (held.process.hProcess != nullptr) {
    WaitForSingleObject(held.process.hProcess, 30000);
    CloseHandle(held.process.hProcess);
    CloseHandle(held.process.hThread);
  }
  CloseHandle(held.ready);
  CloseHandle(held.release);
}

void settingsFile(const wchar_t* pluginPath) {
  // A directory of its own, so that only this test's settings file is seen.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring directory =
      std::wstring(temp) + L"sashcaster-e2e-" + std::to_wstring(GetCurrentProcessId());
  CHECK(CreateDirectoryW(directory.c_str(), nullptr) != FALSE);
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  CHECK(SetCurrentDirectoryW(directory.c_str()) != FALSE);

  // Y triggers, I throws to the front, J to the left; CRLF line ends.
  CHECK(writeFile(L"Sashcaster.ini", settingsText('Y', 'I', 'J')));
  const HMODULE plugin = LoadLibraryW(pluginPath);
  CHECK(plugin != nullptr);
  faceToFace();
  CHECK(holdAndTap('I', 'Y') == Throws{front});
  CHECK(holdAndTap('J', 'Y') == Throws{left});
  CHECK(holdAndTap('W', 'X').empty());

  // Edited between turns.
  CHECK(writeFile(L"Sashcaster.ini", settingsText('X', 'W', 'A')));
  CHECK(holdAndTap('W', 'X') == Throws{front});
  CHECK(holdAndTap('I', 'Y').empty());

  // Removed: the keys stay as they were.
  CHECK(DeleteFileW(L"Sashcaster.ini") != FALSE);
  CHECK(holdAndTap('A', 'X') == Throws{left});

  // Held open by another process that lets others read but not write: the
  // plug-in still reads it.
  CHECK(writeFile(L"Sashcaster.ini", settingsText('Y', 'I', 'J')));
  HeldFile held;
  CHECK(holdInAnotherProcess(held, "Sashcaster.ini"));
  CHECK(!writeFile(L"Sashcaster.ini", settingsText('X', 'W', 'A')));  // the hold is real
  CHECK(holdAndTap('J', 'Y') == Throws{left});
  letGo(held);

  // A value that is no number: the load fails inside the script's fiber, the
  // turn still ends in scriptWait(0), and the keys loaded before stay.
  CHECK(writeFile(L"Sashcaster.ini", "[Sashcaster]\r\niXKey=trigger\r\n"));
  bool ended = false;
  CHECK(turn(&ended).empty());
  CHECK(ended);
  CHECK(holdAndTap('I', 'Y') == Throws{front});
  CHECK(writeFile(L"Sashcaster.ini", "[Sashcaster]\r\niXKey=99999999999\r\n"));
  CHECK(holdAndTap('J', 'Y') == Throws{left});
  CHECK(breaches().empty());

  FreeLibrary(plugin);
  DeleteFileW(L"Sashcaster.ini");
  SetCurrentDirectoryW(previous);
  RemoveDirectoryW(directory.c_str());
}

std::size_t count(const std::vector<std::string>& lines, const std::string& part) {
  std::size_t found = 0;
  for (const std::string& line : lines) {
    found += line.find(part) != std::string::npos ? 1U : 0U;
  }
  return found;
}

bool mentions(const std::vector<std::string>& lines, const std::string& part) {
  return count(lines, part) != 0;
}

// The stand-in's own checks, against a plug-in that breaks each rule.
void protocolBreaches(const wchar_t* breakerPath) {
  standInClearBreaches();
  const HMODULE breaker = LoadLibraryW(breakerPath);
  CHECK(breaker != nullptr);
  if (breaker == nullptr) {
    return;
  }
  // It reads no clock, so there is no GetTickCount import to redirect.
  CHECK(!standInClockPatched());
  CHECK(mentions(breaches(), "cannot redirect the GetTickCount import"));
  CHECK(turn().empty());
  const std::vector<std::string> inTurn = breaches();
  CHECK(mentions(inTurn, "pedGrappleStyle argument 1 is 0xA5A5A5A500001D0C"));
  CHECK(mentions(inTurn, "controlPressed called with 1 arguments, not 2"));
  CHECK(mentions(inTurn, "hashOfName given 0x0000000000000010, not the address"));
  CHECK(count(inTurn, "not the address of NUL-terminated text") == 2);  // also the unterminated
  CHECK(mentions(inTurn, "nativeInit while the call of 0x096275889B8E0EE0 is open"));
  CHECK(inTurn.size() == 5);
  CHECK(!mentions(inTurn, "outside"));

  standInSendKey('X', false);
  const std::vector<std::string> fromCallback = breaches();
  CHECK(mentions(fromCallback, "nativeInit called outside the script's fiber"));
  CHECK(mentions(fromCallback, "nativeCall called outside the script's fiber"));

  // The same breaches again on the next turn: the script resumed where it
  // waited.
  turn();
  CHECK(breaches().size() == 5);
  FreeLibrary(breaker);
  CHECK(breaches().empty());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--hold") {
    return holdFile(argv[2], argv[3], argv[4]);
  }
  if (argc != 3) {
    std::printf("usage: %s PLUGIN PROTOCOL_BREAKER\n", argv[0]);
    return 2;
  }
  ConvertThreadToFiber(nullptr);
  const std::string path = argv[1];
  const std::wstring pluginPath(path.begin(), path.end());

  loadAndUnload(pluginPath.c_str());
  settingsFile(pluginPath.c_str());
  const std::string breaker = argv[2];
  protocolBreaches(std::wstring(breaker.begin(), breaker.end()).c_str());

  std::printf("%s\n", failures == 0 ? "all checks passed" : "checks failed");
  return failures == 0 ? 0 : 1;
}

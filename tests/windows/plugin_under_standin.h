// What the tests of the real Sashcaster.asi under the stand-in script hook
// share: turns and key taps, settings files, the helper process that holds a
// file open, and the plug-in loaded in a folder of its own.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "scratch_folder/scratch_folder.h"
#include "standin_host/standin_control.h"

namespace sashcaster::standin_test {

// Taken from the command line before any test runs.
inline std::wstring pluginPath;
inline std::wstring breakerPath;
inline std::wstring runtimeBreakerPath;

using sashcaster::model::nameHash;

inline const std::uint32_t front = nameHash(sashcaster::model::gameThrows[0].action);
inline const std::uint32_t left = nameHash(sashcaster::model::gameThrows[1].action);
using Throws = std::vector<std::uint32_t>;

inline std::uint32_t now = 5000000;

inline std::vector<StandInHostEvent> eventsSince(std::uint32_t first) {
  std::vector<StandInHostEvent> events;
  StandInHostEvent event{};
  for (std::uint32_t i = first; standInEvent(i, &event); ++i) {
    events.push_back(event);
  }
  return events;
}

// One turn of the script; the throws it asked for.
inline Throws turn(bool* ended = nullptr) {
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
inline Throws holdAndTap(std::uint32_t direction, std::uint32_t trigger) {
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

inline void faceToFace() {
  sashcaster::model::GameState game;
  game.grappleStyle = nameHash(sashcaster::model::faceToFaceStyleName);
  standInSetGame(&game);
}

inline bool writeFile(const wchar_t* name, const std::string& text) {
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

inline std::string settingsText(int trigger, int frontKey, int leftKey) {
  return "[Sashcaster]\r\niXKey=" + std::to_string(trigger) +
         "\r\niWindowThrowFront=" + std::to_string(frontKey) +
         "\r\niWindowThrowLeft=" + std::to_string(leftKey) +
         "\r\niWindowThrowRight=68\r\niWindowThrowBack=83\r\n";
}

struct HeldFile {
  PROCESS_INFORMATION process{};
  HANDLE ready = nullptr;
  HANDLE release = nullptr;
};

// The file held open by the helper process, which shares it for reading only
// or, with a share mode of 0, keeps everyone else out.
inline bool holdInAnotherProcess(HeldFile& held, const std::string& fileName,
                                 DWORD share = FILE_SHARE_READ) {
  const std::string suffix = std::to_string(GetCurrentProcessId());
  const std::string readyName = "sashcaster-ready-" + suffix;
  const std::string releaseName = "sashcaster-release-" + suffix;
  held.ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
  held.release = CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = std::string("\"") + self + "\" --hold \"" + fileName + "\" " + readyName +
                        " " + releaseName + " " + std::to_string(share);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &held.process) == FALSE) {
    return false;
  }
  const HANDLE waits[] = {held.ready, held.process.hProcess};
  return WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
}

inline void letGo(HeldFile& held) {
  SetEvent(held.release);
  if (held.process.hProcess != nullptr) {
    WaitForSingleObject(held.process.hProcess, 30000);
    CloseHandle(held.process.hProcess);
    CloseHandle(held.process.hThread);
  }
  CloseHandle(held.ready);
  CloseHandle(held.release);
}

// The plug-in loaded in a folder of its own, so that only the test's settings
// file is seen: Y triggers, I throws to the front, J to the left; CRLF line
// ends.
class SettingsFileUnderStandIn : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(folder.make("sashcaster-e2e", error) && folder.enter(error)) << error;
    ASSERT_TRUE(writeFile(L"Sashcaster.ini", settingsText('Y', 'I', 'J')));
    plugin = LoadLibraryW(pluginPath.c_str());
    ASSERT_NE(plugin, nullptr);
    faceToFace();
  }

  void TearDown() override {
    if (plugin != nullptr) {
      FreeLibrary(plugin);
    }
    folder.leave();
  }

  sashcaster::fake::ScratchFolder folder;
  HMODULE plugin = nullptr;
};

}  // namespace sashcaster::standin_test

// The real Sashcaster.asi under the stand-in script hook, in wine: loading and
// unloading, the settings file through the Windows file APIs, bad settings
// files, and the stand-in's own checks against a plug-in that breaks them.
// Usage: plugin_under_standin_test [GTEST OPTIONS] PLUGIN PROTOCOL_BREAKER RUNTIME_BREAKER
//        plugin_under_standin_test --hold FILE READY_EVENT RELEASE_EVENT SHARE_MODE
//          (the helper process that keeps the settings file open)
#include "plugin_under_standin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/settings.h"
#include "standin_host/standin_breaches.h"
#include "standin_host/standin_control.h"

namespace {

using sashcaster::standin_test::breakerPath;
using sashcaster::standin_test::eventsSince;
using sashcaster::standin_test::faceToFace;
using sashcaster::standin_test::front;
using sashcaster::standin_test::HeldFile;
using sashcaster::standin_test::holdAndTap;
using sashcaster::standin_test::holdInAnotherProcess;
using sashcaster::standin_test::left;
using sashcaster::standin_test::letGo;
using sashcaster::standin_test::pluginPath;
using sashcaster::standin_test::SettingsFileUnderStandIn;
using sashcaster::standin_test::settingsText;
using sashcaster::standin_test::Throws;
using sashcaster::standin_test::turn;
using sashcaster::standin_test::writeFile;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::SizeIs;

constexpr sashcaster::Settings builtIn{};

DWORD WINAPI idleThread(LPVOID) {
  return 0;
}

// The helper process: opens the file for reading, sharing it as told (for
// reading only, or not at all), and keeps it open until told to let go.
int holdFile(const char* name, const char* ready, const char* release, const char* share) {
  const HANDLE file = CreateFileA(name, GENERIC_READ, std::strtoul(share, nullptr, 10), nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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

TEST(PluginUnderStandIn, LoadingRegistersAndUnloadingWithdrawsInOrder) {
  const std::uint32_t first = standInEventCount();
  const HMODULE plugin = LoadLibraryW(pluginPath.c_str());
  ASSERT_NE(plugin, nullptr);
  const auto* base = reinterpret_cast<const std::uint8_t*>(plugin);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const std::uint8_t* end = base + nt->OptionalHeader.SizeOfImage;
  auto inPlugin = [&](const void* p) {
    const auto* byte = static_cast<const std::uint8_t*>(p);
    return byte >= base && byte < end;
  };

  std::vector<StandInHostEvent> events = eventsSince(first);
  ASSERT_EQ(events.size(), 2U);
  EXPECT_EQ(events[0].kind, standInScriptRegistered);
  EXPECT_EQ(events[0].module, plugin);
  EXPECT_TRUE(inPlugin(events[0].function));
  EXPECT_EQ(events[1].kind, standInKeyboardRegistered);
  EXPECT_TRUE(inPlugin(events[1].function));
  EXPECT_EQ(events[0].threadId, GetCurrentThreadId());
  EXPECT_TRUE(standInClockPatched());

  // Thread attach and detach register nothing.
  const HANDLE thread = CreateThread(nullptr, 0, &idleThread, nullptr, 0, nullptr);
  EXPECT_NE(thread, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  EXPECT_EQ(eventsSince(first).size(), 2U);

  // The script runs, and reads the scenario clock, not the real one.
  const std::uint64_t readsBefore = standInClockReads();
  faceToFace();
  EXPECT_EQ(holdAndTap(builtIn.iWindowThrowFront, builtIn.iXKey), Throws{front});
  EXPECT_GT(standInClockReads(), readsBefore);

  EXPECT_NE(FreeLibrary(plugin), FALSE);
  events = eventsSince(first);
  ASSERT_EQ(events.size(), 4U);
  EXPECT_EQ(events[2].kind, standInScriptUnregistered);
  EXPECT_EQ(events[2].module, plugin);
  EXPECT_EQ(events[3].kind, standInKeyboardUnregistered);
  EXPECT_EQ(events[3].function, events[1].function);
  EXPECT_EQ(GetModuleHandleW(L"Sashcaster.asi"), nullptr);
  EXPECT_FALSE(standInRunTurn());  // no script left to run
  EXPECT_THAT(takeStandInBreaches(), IsEmpty());
}

TEST_F(SettingsFileUnderStandIn, IsReadEditedRemovedAndHeldOpenThroughTheWindowsFileApis) {
  EXPECT_EQ(holdAndTap('I', 'Y'), Throws{front});
  EXPECT_EQ(holdAndTap('J', 'Y'), Throws{left});
  EXPECT_THAT(holdAndTap('W', 'X'), IsEmpty());

  // Edited between turns.
  EXPECT_TRUE(writeFile(L"Sashcaster.ini", settingsText('X', 'W', 'A')));
  EXPECT_EQ(holdAndTap('W', 'X'), Throws{front});
  EXPECT_THAT(holdAndTap('I', 'Y'), IsEmpty());

  // Removed: the keys stay as they were.
  EXPECT_NE(DeleteFileW(L"Sashcaster.ini"), FALSE);
  EXPECT_EQ(holdAndTap('A', 'X'), Throws{left});

  // Held open by another process that lets others read but not write: the
  // plug-in still reads it.
  EXPECT_TRUE(writeFile(L"Sashcaster.ini", settingsText('Y', 'I', 'J')));
  HeldFile held;
  EXPECT_TRUE(holdInAnotherProcess(held, "Sashcaster.ini"));
  EXPECT_FALSE(writeFile(L"Sashcaster.ini", settingsText('X', 'W', 'A')));  // the hold is real
  EXPECT_EQ(holdAndTap('J', 'Y'), Throws{left});
  letGo(held);
  EXPECT_THAT(takeStandInBreaches(), IsEmpty());
}

// Another program's renames and deletes of the file, each tried once, and
// counted when refused. Making the file again after a delete may wait for the
// plug-in to close it, as the deleted name lingers until then: that is retried.
struct RenameStorm {
  int rounds = 0;
  int refused = 0;
  DWORD firstError = 0;
  const char* firstRefusal = nullptr;

  void attempt(const char* what, BOOL done) {
    if (done == FALSE && refused++ == 0) {
      firstError = GetLastError();
      firstRefusal = what;
    }
  }
};

DWORD WINAPI renameAndDelete(LPVOID parameter) {
  auto& storm = *static_cast<RenameStorm*>(parameter);
  const std::string text = settingsText('Y', 'I', 'J');
  for (int round = 0; round < storm.rounds; ++round) {
    storm.attempt("rename away", MoveFileExW(L"Sashcaster.ini", L"Sashcaster.ini.away", 0));
    storm.attempt("rename back", MoveFileExW(L"Sashcaster.ini.away", L"Sashcaster.ini", 0));
    storm.attempt("delete", DeleteFileW(L"Sashcaster.ini"));
    BOOL made = FALSE;
    for (int tries = 0; tries < 10000 && made == FALSE; ++tries) {
      made = writeFile(L"Sashcaster.ini", text) ? TRUE : FALSE;
      Sleep(0);
    }
    storm.attempt("make again", made);
  }
  return 0;
}

TEST_F(SettingsFileUnderStandIn, RenamingAndDeletingTheFileNeverFailWhileTurnsRun) {
  RenameStorm storm;
  storm.rounds = 400;
  const HANDLE thread = CreateThread(nullptr, 0, &renameAndDelete, &storm, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  int turns = 0;
  while (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) {
    turn();
    ++turns;
  }
  CloseHandle(thread);
  EXPECT_EQ(storm.refused, 0) << storm.refused << " refused, the first a " << storm.firstRefusal
                              << " with error " << storm.firstError;
  EXPECT_GT(turns, storm.rounds);  // the turns really ran alongside
  EXPECT_EQ(holdAndTap('J', 'Y'), Throws{left});
  EXPECT_THAT(takeStandInBreaches(), IsEmpty());
}

TEST_F(SettingsFileUnderStandIn, BadFileFailsInsideTheFiberAndTheKeysLoadedBeforeStay) {
  EXPECT_EQ(holdAndTap('J', 'Y'), Throws{left});

  // A value that is no number: the load fails inside the script's fiber, the
  // turn still ends in scriptWait(0), and the keys loaded before stay.
  EXPECT_TRUE(writeFile(L"Sashcaster.ini", "[Sashcaster]\r\niXKey=trigger\r\n"));
  bool ended = false;
  EXPECT_THAT(turn(&ended), IsEmpty());
  EXPECT_TRUE(ended);
  EXPECT_EQ(holdAndTap('I', 'Y'), Throws{front});
  EXPECT_TRUE(writeFile(L"Sashcaster.ini", "[Sashcaster]\r\niXKey=99999999999\r\n"));
  EXPECT_EQ(holdAndTap('J', 'Y'), Throws{left});
  EXPECT_THAT(takeStandInBreaches(), IsEmpty());
}

// The stand-in's own checks, against a plug-in that breaks each rule.
TEST(StandInHost, ReportsEachBreachOfTheCallingProtocol) {
  standInClearBreaches();
  const HMODULE breaker = LoadLibraryW(breakerPath.c_str());
  ASSERT_NE(breaker, nullptr);
  // It reads no clock, so there is no GetTickCount import to redirect.
  EXPECT_FALSE(standInClockPatched());
  EXPECT_THAT(takeStandInBreaches(),
              Contains(HasSubstr("cannot redirect the GetTickCount import")));
  EXPECT_THAT(turn(), IsEmpty());
  const std::vector<std::string> inTurn = takeStandInBreaches();
  EXPECT_THAT(inTurn, Contains(HasSubstr("pedGrappleStyle argument 1 is 0xA5A5A5A500001D0C")));
  EXPECT_THAT(inTurn, Contains(HasSubstr("controlPressed called with 1 arguments, not 2")));
  EXPECT_THAT(inTurn, Contains(HasSubstr("hashOfName given 0x0000000000000010, not the address")));
  // Also the unterminated name.
  EXPECT_THAT(inTurn, Contains(HasSubstr("not the address of NUL-terminated text")).Times(2));
  EXPECT_THAT(inTurn,
              Contains(HasSubstr("nativeInit while the call of 0x096275889B8E0EE0 is open")));
  EXPECT_THAT(inTurn, SizeIs(5));
  EXPECT_THAT(inTurn, Not(Contains(HasSubstr("outside"))));

  standInSendKey('X', false);
  const std::vector<std::string> fromCallback = takeStandInBreaches();
  EXPECT_THAT(fromCallback, Contains(HasSubstr("nativeInit called outside the script's fiber")));
  EXPECT_THAT(fromCallback, Contains(HasSubstr("nativeCall called outside the script's fiber")));

  // The same breaches again on the next turn: the script resumed where it
  // waited.
  turn();
  EXPECT_THAT(takeStandInBreaches(), SizeIs(5));
  FreeLibrary(breaker);
  EXPECT_THAT(takeStandInBreaches(), IsEmpty());
}

}  // namespace

namespace {

std::wstring widened(const char* text) {
  const std::string narrow = text;
  return {narrow.begin(), narrow.end()};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::string(argv[1]) == "--hold") {
    return holdFile(argv[2], argv[3], argv[4], argv[5]);
  }
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 4) {
    std::printf("usage: %s [GTEST OPTIONS] PLUGIN PROTOCOL_BREAKER RUNTIME_BREAKER\n", argv[0]);
    return 2;
  }
  sashcaster::standin_test::pluginPath = widened(argv[1]);
  sashcaster::standin_test::breakerPath = widened(argv[2]);
  sashcaster::standin_test::runtimeBreakerPath = widened(argv[3]);
  ConvertThreadToFiber(nullptr);
  return RUN_ALL_TESTS();
}

// Every kind of settings file a player may leave beside the game, through the
// real plug-in for several turns: no bad handle reaches the system's file
// calls, no exception is raised on the script's fiber, no file stays open,
// and the keys come out as docs/behaviour.md tells.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "config/ini_file.h"
#include "plugin_under_standin.h"
#include "standin_host/standin_breaches.h"
#include "standin_host/standin_control.h"
#include "standin_host/watched_imports.h"

namespace {

using sashcaster::standin_test::front;
using sashcaster::standin_test::HeldFile;
using sashcaster::standin_test::holdAndTap;
using sashcaster::standin_test::holdInAnotherProcess;
using sashcaster::standin_test::left;
using sashcaster::standin_test::letGo;
using sashcaster::standin_test::pluginPath;
using sashcaster::standin_test::runtimeBreakerPath;
using sashcaster::standin_test::SettingsFileUnderStandIn;
using sashcaster::standin_test::settingsText;
using sashcaster::standin_test::Throws;
using sashcaster::standin_test::turn;
using sashcaster::standin_test::writeFile;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using ::testing::UnorderedElementsAreArray;

// The trigger and the front and left directions.
struct Keys {
  std::uint32_t trigger;
  std::uint32_t front;
  std::uint32_t left;
};

// What the fixture's file loads before each case makes its own; and those
// of the file some cases write instead.
constexpr Keys loadedBefore{'Y', 'I', 'J'};
constexpr Keys otherKeys{'X', 'W', 'A'};

const std::string otherSettings =
    settingsText(static_cast<int>(otherKeys.trigger), static_cast<int>(otherKeys.front),
                 static_cast<int>(otherKeys.left));

std::string inUtf16WithMark(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (const char byte : ascii) {
    bytes += byte;
    bytes += '\0';
  }
  return bytes;
}

// Comment lines after the keys, until the file is over the size limit.
std::string overTheLimit(const std::string& text) {
  std::string bytes = text;
  while (bytes.size() <= static_cast<std::size_t>(sashcaster::maxIniFileBytes)) {
    bytes += "; " + std::string(1000, 'p') + "\r\n";
  }
  return bytes;
}

struct SettingsFileKind {
  const char* name;
  bool (*make)(HeldFile& held);
  Keys keys;  // as they stand after the file's turns
};

const SettingsFileKind kinds[] = {
    {"NoFile", [](HeldFile&) { return DeleteFileW(L"Sashcaster.ini") != FALSE; }, loadedBefore},
    {"FolderOfThatName",
     [](HeldFile&) {
       return DeleteFileW(L"Sashcaster.ini") != FALSE &&
              CreateDirectoryW(L"Sashcaster.ini", nullptr) != FALSE;
     },
     loadedBefore},
    {"HeldExclusivelyByAnotherProgram",
     [](HeldFile& held) {
       return writeFile(L"Sashcaster.ini", otherSettings) &&
              holdInAnotherProcess(held, "Sashcaster.ini", 0);
     },
     loadedBefore},
    {"OverOneMebibyte",
     [](HeldFile&) { return writeFile(L"Sashcaster.ini", overTheLimit(otherSettings)); },
     loadedBefore},
    {"Utf16WithByteOrderMark",
     [](HeldFile&) { return writeFile(L"Sashcaster.ini", inUtf16WithMark(otherSettings)); },
     otherKeys},
    {"Empty", [](HeldFile&) { return writeFile(L"Sashcaster.ini", ""); }, loadedBefore},
    {"NoSashcasterSection",
     [](HeldFile&) {
       return writeFile(L"Sashcaster.ini", "[Other]\r\niXKey=88\r\niWindowThrowFront=87\r\n");
     },
     loadedBefore},
    {"LowerCaseKeys",
     [](HeldFile&) {
       return writeFile(
           L"Sashcaster.ini",
           "[Sashcaster]\r\nixkey=88\r\niwindowthrowfront=87\r\niWindowThrowLeft=65\r\n");
     },
     {'Y', 'I', 'A'}},
    {"MisspeltKeys",
     [](HeldFile&) {
       return writeFile(
           L"Sashcaster.ini",
           "[Sashcaster]\r\niXKy=88\r\niWindowThrowFrnt=87\r\niWindowThrowLeft=65\r\n");
     },
     {'Y', 'I', 'A'}},
    {"OutOfRangeValues",
     [](HeldFile&) {
       return writeFile(L"Sashcaster.ini",
                        "[Sashcaster]\r\niXKey=2147483648\r\niWindowThrowFront=-2147483649\r\n"
                        "iWindowThrowLeft=65\r\niWindowThrowRight=99999999999\r\n");
     },
     {'Y', 'I', 'A'}},
    {"TextsWithoutDigits",
     [](HeldFile&) {
       return writeFile(
           L"Sashcaster.ini",
           "[Sashcaster]\r\niXKey=X\r\niWindowThrowFront=\r\niWindowThrowLeft=65 ; A\r\n"
           "iWindowThrowRight= +\r\niWindowThrowBack=-\r\n");
     },
     {'Y', 'I', 'A'}},
};

void PrintTo(const SettingsFileKind& kind, std::ostream* out) {
  *out << kind.name;
}

// The codes of the exceptions kept, each with how often it came.
std::string exceptionCodes() {
  std::map<std::uint32_t, int> counts;
  StandInException raised{};
  for (std::uint32_t i = 0; standInTurnException(i, &raised); ++i) {
    ++counts[raised.code];
  }
  std::string text;
  for (const auto& [code, count] : counts) {
    char line[64];
    std::snprintf(line, sizeof line, " code 0x%08X %d times;", code, count);
    text += line;
  }
  return text;
}

class SettingsFileKinds : public SettingsFileUnderStandIn,
                          public ::testing::WithParamInterface<SettingsFileKind> {
 protected:
  void TearDown() override {
    if (held.release != nullptr) {
      letGo(held);
    }
    SettingsFileUnderStandIn::TearDown();
  }

  HeldFile held;
};

TEST_P(SettingsFileKinds, TurnsPassNothingInvalidRaiseNothingAndKeepTheDocumentedKeys) {
  const SettingsFileKind& kind = GetParam();
  turn();  // loads the fixture's file
  takeStandInBreaches();
  standInClearTurnExceptions();
  const std::uint64_t callsBefore = standInWatchedCalls();

  ASSERT_TRUE(kind.make(held));
  for (int turns = 0; turns < 3; ++turns) {
    bool ended = false;
    EXPECT_THAT(turn(&ended), IsEmpty());
    EXPECT_TRUE(ended);
  }
  EXPECT_EQ(holdAndTap(kind.keys.front, kind.keys.trigger), Throws{front});
  EXPECT_EQ(holdAndTap(kind.keys.left, kind.keys.trigger), Throws{left});

  EXPECT_THAT(takeStandInBreaches(), IsEmpty());
  EXPECT_EQ(standInTurnExceptionCount(), 0U) << "first-chance exceptions:" << exceptionCodes();
  EXPECT_EQ(standInFilesLeftOpen(), 0U);
  EXPECT_GT(standInWatchedCalls(), callsBefore);  // the watch saw the turns' calls
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SettingsFileKinds, ::testing::ValuesIn(kinds),
                         [](const ::testing::TestParamInfo<SettingsFileKind>& kind) {
                           return std::string(kind.param.name);
                         });

// As "library!function", in lower case: a library's name may come in any.
std::string lowerCase(std::string text) {
  for (char& letter : text) {
    letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  }
  return text;
}

std::vector<std::string> watchedImportsOfTheLastModule() {
  std::vector<std::string> watched;
  char name[256];
  for (std::uint32_t i = 0; standInWatchedImport(i, name, sizeof name); ++i) {
    watched.push_back(lowerCase(name));
  }
  return watched;
}

// The watch cannot go blind: every file call that the allow-list marks
// "watch", which the plug-in all makes, goes through the stand-in's wrapper.
TEST(RuntimeWatch, EveryFileCallOnTheAllowListIsWatched) {
  std::vector<std::string> listed;
  for (const sashcaster::standin::ListedImport& import : sashcaster::standin::watchedImports) {
    listed.push_back(lowerCase(std::string(import.library) + "!" + std::string(import.function)));
  }
  const HMODULE plugin = LoadLibraryW(pluginPath.c_str());
  ASSERT_NE(plugin, nullptr);
  EXPECT_THAT(watchedImportsOfTheLastModule(), UnorderedElementsAreArray(listed));
  FreeLibrary(plugin);
}

// The watch's own checks, against a plug-in that breaks each rule once a turn.
TEST(RuntimeWatch, ReportsEachBadHandleTheFileLeftOpenAndTheException) {
  const HMODULE breaker = LoadLibraryW(runtimeBreakerPath.c_str());
  ASSERT_NE(breaker, nullptr);
  takeStandInBreaches();
  standInClearTurnExceptions();
  for (std::uint32_t turns = 1; turns <= 2; ++turns) {
    turn();
    EXPECT_THAT(takeStandInBreaches(),
                ElementsAre(AllOf(StartsWith("ReadFile given handle 0x"),
                                  EndsWith(", which the plug-in had closed")),
                            "GetFileSizeEx given the invalid handle 0xffffffffffffffff",
                            "CloseHandle given the invalid handle 0x0"));
    StandInException raised{};
    EXPECT_EQ(standInTurnExceptionCount(), turns);
    EXPECT_TRUE(standInTurnException(turns - 1, &raised));
    EXPECT_EQ(raised.code, 0x20474343U);  // a C++ throw, though caught
    EXPECT_EQ(standInFilesLeftOpen(), turns);
  }
  FreeLibrary(breaker);
  EXPECT_THAT(takeStandInBreaches(), IsEmpty());
}

}  // namespace

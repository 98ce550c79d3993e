// The player's files state the defaults of Settings{}: the shipped settings
// file (its values and their "Default 87 (W)" comments), the "hold W, tap X"
// tables of Sashcaster-README.txt and docs/playing.md, the key table of playing.md and
// the "(W, A, D or S" of README.md.
// A changed default fails here with the file and line of every statement that
// still gives the old one; a kind of statement found nowhere fails too, so
// that a reworded file cannot leave the check blind.
#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "check/report.h"
#include "config/ini_lines.h"
#include "config/settings.h"
#include "config/settings_keys.h"
#include "keys/control_names.h"
#include "keys/key_names.h"

namespace sashcaster::testing {
namespace {

constexpr Settings builtIn{};

struct Line {
  std::size_t number;
  std::string text;  // without its line end, bold and code marks
};

// The file's lines as the settings reader walks them, so alike with LF or
// CR LF line ends, without bold and code marks.
std::vector<Line> linesOf(const std::string& bytes) {
  std::vector<Line> lines;
  for (IniLineWalk walk(bytes); walk.next();) {
    std::string text(walk.line().text);
    std::erase_if(text, [](char c) { return c == '*' || c == '`'; });
    lines.push_back({walk.line().number, std::move(text)});
  }
  return lines;
}

// Every line end CR LF, whichever the file has.
std::string withCrLf(const std::string& bytes) {
  std::string converted;
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    if (bytes[at] == '\n' && (at == 0 || bytes[at - 1] != '\r')) {
      converted += '\r';
    }
    converted += bytes[at];
  }
  return converted;
}

std::string bytesOf(const std::string& relative) {
  std::ifstream in(std::string(SASHCASTER_SOURCE_DIR) + "/" + relative, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The index in settingsKeys of a key name; none for another word.
std::optional<std::size_t> settingIndex(const std::string& name) {
  for (std::size_t i = 0; i < settingsKeys.size(); ++i) {
    if (name == settingsKeys[i].name) {
      return i;
    }
  }
  return std::nullopt;
}

// The index of the key a direction word ("Front", "back") chooses.
std::optional<std::size_t> directionIndex(std::string word) {
  for (char& c : word) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  for (std::size_t i = 1; i < check::throwDirections.size(); ++i) {
    if (word == check::throwDirections[i]) {
      return i;
    }
  }
  return std::nullopt;
}

std::uint32_t defaultCode(std::size_t index) {
  return builtIn.*settingsKeys[index].field;
}

std::string defaultKeyName(std::size_t index) {
  return keys::keyName(defaultCode(index)).value_or("no key");
}

// "iWindowThrowBack is 83 (S) in Settings{}".
std::string defaultSaid(std::size_t index) {
  return std::string(settingsKeys[index].name) + " is " + std::to_string(defaultCode(index)) +
         " (" + defaultKeyName(index) + ") in Settings{} (src/config/settings.h)";
}

// The statements of one file that disagree with the code, each with its file
// and line, and how many statements of each kind were found.
struct Reading {
  std::vector<std::string> mismatches;
  std::size_t values = 0;
  std::size_t defaultComments = 0;
  std::size_t directionRows = 0;
  std::size_t keyTableRows = 0;
  std::size_t directionLists = 0;
};

// "iXKey=88": a value of the shipped file. Comments start with ';'.
const std::regex valueLine(R"(^[ \t]*([A-Za-z]+)[ \t]*=[ \t]*([^ \t;]*))");
// "Default 88 (X)" in a comment; it belongs to the next key line.
const std::regex defaultComment(R"(Default[ \t]+(\d+)[ \t]*\(([^)]*)\))", std::regex::icase);
// "Front   hold W, tap X" or "| Front | hold W, tap and release X |".
const std::regex directionRow(
    R"((Front|Left|Right|Back)[ \t|]+hold[ \t]+([^,|]+?),[ \t]*tap(?:[ \t]+and[ \t]+release)?[ \t]+([^ \t|,.(]+))",
    std::regex::icase);
// "(W, A, D or S": the direction keys in prose, front, left, right, back.
const std::regex directionList(
    R"(\(([^ \t,()]+), ([^ \t,()]+), ([^ \t,()]+) or ([^ \t,()]+)[ \t)])");
// "| iXKey | 88 (X) | ...": playing.md's table of the five keys.
const std::regex keyTableRow(R"(^\|[ \t]*([A-Za-z]+)[ \t]*\|[ \t]*(\d+)[ \t]*\(([^)]*)\)[ \t]*\|)");

void mismatch(Reading& reading, const std::string& file, const Line& line,
              const std::string& what) {
  reading.mismatches.push_back(file + ":" + std::to_string(line.number) + ": " + what + "; " +
                               "write the code's default there, or change the default too");
}

// A stated code and key name against the default of the key at `index`.
void checkCode(Reading& reading, const std::string& file, const Line& line, std::size_t index,
               const std::string& code, const std::string& keyName) {
  if (code != std::to_string(defaultCode(index)) || keyName != defaultKeyName(index)) {
    mismatch(reading, file, line, "says " + code + " (" + keyName + ") but " + defaultSaid(index));
  }
}

void readSettingsLine(Reading& reading, const std::string& file, const Line& line,
                      std::optional<Line>& pendingComment) {
  std::smatch found;
  if (std::regex_search(line.text, found, defaultComment)) {
    ++reading.defaultComments;
    pendingComment = line;
    return;
  }
  if (!std::regex_search(line.text, found, valueLine)) {
    return;
  }
  const std::optional<std::size_t> index = settingIndex(found[1]);
  if (!index) {
    return;
  }
  ++reading.values;
  if (found[2] != std::to_string(defaultCode(*index))) {
    mismatch(reading, file, line, "gives " + found[2].str() + " but " + defaultSaid(*index));
  }
  if (pendingComment) {
    std::smatch said;
    std::regex_search(pendingComment->text, said, defaultComment);
    checkCode(reading, file, *pendingComment, *index, said[1], said[2]);
    pendingComment.reset();
  } else {
    mismatch(reading, file, line, "has no \"Default NN (K)\" comment above it");
  }
}

void readNotesLine(Reading& reading, const std::string& file, const Line& line) {
  std::smatch found;
  if (std::regex_search(line.text, found, directionRow)) {
    ++reading.directionRows;
    const std::size_t index = *directionIndex(found[1]);
    const std::string held = found[2];
    const std::string tapped = found[3];
    if (held != defaultKeyName(index)) {
      mismatch(reading, file, line, "says hold " + held + " but " + defaultSaid(index));
    }
    if (tapped != defaultKeyName(check::triggerIndex)) {
      mismatch(reading, file, line,
               "says tap " + tapped + " but " + defaultSaid(check::triggerIndex));
    }
  }
  if (std::regex_search(line.text, found, directionList)) {
    ++reading.directionLists;
    for (std::size_t index = 1; index < settingsKeys.size(); ++index) {
      if (found[index] != defaultKeyName(index)) {
        mismatch(reading, file, line,
                 "lists " + found[index].str() + " for the " + check::throwDirections[index] +
                     " throw but " + defaultSaid(index));
      }
    }
  }
  if (std::regex_search(line.text, found, keyTableRow)) {
    if (const std::optional<std::size_t> index = settingIndex(found[1])) {
      ++reading.keyTableRows;
      checkCode(reading, file, line, *index, found[2], found[3]);
    }
  }
}

Reading readFile(const std::string& file, const std::string& bytes) {
  Reading reading;
  std::optional<Line> pendingComment;
  for (const Line& line : linesOf(bytes)) {
    if (file.ends_with(".ini")) {
      readSettingsLine(reading, file, line, pendingComment);
    } else {
      readNotesLine(reading, file, line);
    }
  }
  return reading;
}

struct PlayerFile {
  const char* path;
  // The statements of each kind the file must hold: one per key or direction.
  std::size_t values, defaultComments, directionRows, keyTableRows, directionLists;
  bool crLf;  // read with its line ends turned into CR LF

  friend void PrintTo(const PlayerFile& file, std::ostream* out) {
    *out << file.path << (file.crLf ? " with CR LF line ends" : "");
  }
};

std::string caseName(const ::testing::TestParamInfo<PlayerFile>& info) {
  std::string name;
  for (const char* c = info.param.path; *c != '\0'; ++c) {
    name += std::isalnum(static_cast<unsigned char>(*c)) != 0 ? *c : '_';
  }
  return name + (info.param.crLf ? "_CrLf" : "");
}

class PlayerFiles : public ::testing::TestWithParam<PlayerFile> {};

TEST_P(PlayerFiles, StateEveryDefaultAsSettingsHoldsIt) {
  const PlayerFile& file = GetParam();
  const std::string bytes = bytesOf(file.path);
  ASSERT_FALSE(bytes.empty()) << file.path << " is missing or empty";
  const Reading reading = readFile(file.path, file.crLf ? withCrLf(bytes) : bytes);
  for (const std::string& wrong : reading.mismatches) {
    ADD_FAILURE() << wrong;
  }
  // Fewer than wanted: a statement was reworded past the patterns above, or left out.
  const char* missed =
      ": fewer found than the file must hold; if it was reworded, make the "
      "pattern in tests/docs/player_files_test.cpp find it again";
  EXPECT_EQ(reading.values, file.values) << file.path << ", key values" << missed;
  EXPECT_EQ(reading.defaultComments, file.defaultComments)
      << file.path << ", \"Default NN (K)\" comments" << missed;
  EXPECT_EQ(reading.directionRows, file.directionRows)
      << file.path << ", \"hold W, tap X\" rows" << missed;
  EXPECT_EQ(reading.keyTableRows, file.keyTableRows) << file.path << ", key table rows" << missed;
  EXPECT_EQ(reading.directionLists, file.directionLists)
      << file.path << ", \"(W, A, D or S\" lists" << missed;
}

INSTANTIATE_TEST_SUITE_P(
    Notes, PlayerFiles,
    ::testing::Values(PlayerFile{"package/Sashcaster.ini", 5, 5, 0, 0, 0, false},
                      PlayerFile{"package/Sashcaster.ini", 5, 5, 0, 0, 0, true},
                      PlayerFile{"package/Sashcaster-README.txt", 0, 0, 4, 0, 0, false},
                      PlayerFile{"package/Sashcaster-README.txt", 0, 0, 4, 0, 0, true},
                      PlayerFile{"docs/playing.md", 0, 0, 4, 5, 0, false},
                      PlayerFile{"README.md", 0, 0, 0, 0, 1, false}),
    caseName);

// The notes tell players that the game's own key for the controller trigger
// throws with a direction key: a default on that key would contradict them.
TEST(PlayerFiles, NoDefaultIsTheGamesKeyboardKeyOfTheThrowControl) {
  const std::string gameKey = keys::controlNames[0].keyboardKeys;
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    EXPECT_NE(defaultKeyName(index), gameKey)
        << defaultSaid(index) << ", the key the game gives to " << keys::controlNames[0].gameName
        << " with keyboard and mouse: package/Sashcaster-README.txt and docs/playing.md say "
        << gameKey << " with a direction throws on its own. Choose another default.";
  }
}

// The readers on small texts, so that a pattern that finds nothing is seen.
TEST(PlayerFileReaders, FindEachKindOfStatementAndNameItsLine) {
  const Reading settingsFile =
      readFile("a.ini", "[Sashcaster]\r\n; Default 1 (x).\r\niXKey=1\r\niWindowThrowBack=2\r\n");
  EXPECT_EQ(settingsFile.values, 2U);
  EXPECT_EQ(settingsFile.defaultComments, 1U);
  ASSERT_EQ(settingsFile.mismatches.size(), 4U);
  EXPECT_TRUE(settingsFile.mismatches[0].starts_with("a.ini:3: gives 1 but iXKey is "))
      << settingsFile.mismatches[0];
  EXPECT_TRUE(settingsFile.mismatches[1].starts_with("a.ini:2: says 1 (x) but iXKey is "));
  EXPECT_TRUE(settingsFile.mismatches[3].starts_with("a.ini:4: has no \"Default NN (K)\""));

  const Reading notes = readFile(
      "a.md", "| Back | hold **Numpad 2**, tap and release **F5** |\n| `iXKey` | 7 (no) |\n");
  EXPECT_EQ(notes.directionRows, 1U);
  EXPECT_EQ(notes.keyTableRows, 1U);
  ASSERT_EQ(notes.mismatches.size(), 3U);
  EXPECT_TRUE(notes.mismatches[0].starts_with("a.md:1: says hold Numpad 2 but iWindowThrowBack"));
  EXPECT_TRUE(notes.mismatches[1].starts_with("a.md:1: says tap F5 but iXKey"));
  EXPECT_TRUE(notes.mismatches[2].starts_with("a.md:2: says 7 (no) but iXKey"));
}

}  // namespace
}  // namespace sashcaster::testing

// The reader's line walk gives each line's place in the file's bytes, and the
// bytes there read as the line, on the files where the two could part: every
// line end, mark and encoding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fuzz/line_walk_checks.h"

namespace sashcaster::fuzz {
namespace {

// ASCII text in UTF-16 after the mark, in either byte order.
std::string utf16(const std::string& ascii, bool bigEndian = false) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : ascii) {
    bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  }
  return bytes;
}

TEST(LineWalk, PlacesReadAsTheLinesOnEveryKindOfFile) {
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"Empty", ""},
      {"LineFeeds", "[Sashcaster]\niXKey=90\n"},
      {"CrLfAndNoLastLineEnd", "[Sashcaster]\r\niXKey=90"},
      {"LoneCarriageReturnsEndNoLine", "[Sashcaster]\riXKey=90\r\r\n"},
      {"ZeroBytesInsideALine", std::string("iX\0Key=\0"
                                           "9\r0\n",
                                           12)},
      {"Utf8MarkOnly", "\xEF\xBB\xBF"},
      {"Utf8MarkThenLines", "\xEF\xBB\xBF[Sashcaster]\r\niXKey=90\r\n"},
      {"Utf8MarkOnALaterLine", "a=1\n\xEF\xBB\xBFiXKey=90\n"},
      {"Utf16LittleEndian", utf16("[Sashcaster]\r\niXKey=90\r\n")},
      {"Utf16BigEndian", utf16("[Sashcaster]\niXKey=90", true)},
      {"Utf16MarkOnly", "\xFF\xFE"},
      {"Utf16SecondMark", utf16("") + "\xFF\xFE" + utf16("iXKey=90\n").substr(2)},
      {"Utf16OddLastByte", utf16("[Sashcaster]\niXKey=9") + "0"},
      {"Utf16LoneSurrogateBeforeALineEnd",
       utf16("k=") + std::string("\x00\xD8", 2) + utf16("\niXKey=90").substr(2)},
      {"Utf16NonAsciiEquals", utf16("k") + "\x3D\x20" + utf16("=1\n").substr(2)},
  };
  for (const auto& file : files) {
    EXPECT_EQ(walkMismatch(file.bytes), "") << file.name;
  }
}

TEST(LineWalk, AWalkThatPartsFromTheModelIsNamed) {
  const std::string bytes = "\xEF\xBB\xBF[Sashcaster]\r\niXKey=90\r\n";
  std::vector<WalkedLine> walked = walkedLines(bytes);
  ASSERT_EQ(walked.size(), 3U);
  walked.pop_back();
  EXPECT_EQ(walkMismatch(bytes, walked), "the walk gives 2 lines, the model 3");
  walked = walkedLines(bytes);
  walked[1].begin += 1;
  EXPECT_EQ(walkMismatch(bytes, walked),
            "line 2: the walk reads \"iXKey=90\" from \"XKey=90\", the model reads \"iXKey=90\"");
  walked = walkedLines(bytes);
  walked[0].end -= 1;
  walked[1].begin -= 1;
  EXPECT_EQ(walkMismatch(bytes, walked), "line 1: its place does not follow the line before it");
}

}  // namespace
}  // namespace sashcaster::fuzz

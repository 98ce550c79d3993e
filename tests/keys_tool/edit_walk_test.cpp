// The keys edit walks a settings file's lines as the reader splits them, on
// the files where the two could part: every line end, mark and encoding.
#include "fuzz/edit_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(EditWalk, IsTheReadersSplitOnEveryKindOfFile) {
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

TEST(EditWalk, AWalkThatPartsFromTheReaderIsNamed) {
  const std::string bytes = "\xEF\xBB\xBF[Sashcaster]\r\niXKey=90\r\n";
  std::vector<EditLine> walked = editWalk(bytes);
  ASSERT_EQ(walked.size(), 3U);
  walked.pop_back();
  EXPECT_EQ(walkMismatch(bytes, walked), "the edit walks 2 lines, the reader splits 3");
  walked = editWalk(bytes);
  walked[1].start += 1;
  EXPECT_EQ(walkMismatch(bytes, walked),
            "line 2: the edit walks \"XKey=90\", the reader splits \"iXKey=90\"");
}

}  // namespace
}  // namespace sashcaster::fuzz

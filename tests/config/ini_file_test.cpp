// Reading a document from a file on disk.
#include "config/ini_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/temp_folder.h"

namespace sashcaster::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr auto limit = static_cast<std::size_t>(maxIniFileBytes);

class IniFileTest : public ::testing::Test {
 protected:
  // A document holding something, to see that every read starts afresh.
  static IniStructure stale() {
    IniStructure document;
    parseIniBytes("[Stale]\nk=1\n", document);
    return document;
  }

  // "[A]\nk=v\n" padded with comment lines to exactly the given size.
  static std::string fileOfSize(std::size_t size) {
    std::string bytes = "[A]\nk=v\n";
    while (bytes.size() + 1 < size) {
      const std::size_t dashes = std::min<std::size_t>(size - bytes.size() - 2, 78);
      bytes.push_back(';');
      bytes.append(dashes, '-');
      bytes.push_back('\n');
    }
    bytes.resize(size, '\n');
    return bytes;
  }

  TempFolder folder;
};

TEST_F(IniFileTest, MissingFileGivesFalseAndAnEmptyDocument) {
  IniStructure document = stale();
  EXPECT_FALSE(IniFile("absent.ini").read(document));
  EXPECT_EQ(document.size(), 0u);
  EXPECT_THAT(document.index, IsEmpty());
}

TEST_F(IniFileTest, EmptyFileNameGivesFalseAndAnEmptyDocument) {
  IniStructure document = stale();
  EXPECT_FALSE(IniFile("").read(document));
  EXPECT_EQ(document.size(), 0u);
}

TEST_F(IniFileTest, ZeroLengthFileGivesTrueAndNoSections) {
  TempFolder::write("empty.ini", "");
  IniStructure document = stale();
  EXPECT_TRUE(IniFile("empty.ini").read(document));
  EXPECT_EQ(document.size(), 0u);
}

TEST_F(IniFileTest, ReadReplacesTheWholeDocument) {
  TempFolder::write("a.ini", "[A]\r\nk = 1\r\nj = 2\r\n");
  IniStructure document = stale();
  const IniFile file("a.ini");
  ASSERT_TRUE(file.read(document));
  EXPECT_EQ(document.getCopy("Stale").size(), 0u);
  EXPECT_EQ(document.getCopy("A").getCopy("j"), "2");

  // A key removed from the file is gone after the next read.
  TempFolder::write("a.ini", "[A]\r\nk = 1\r\n");
  ASSERT_TRUE(file.read(document));
  EXPECT_EQ(document.size(), 1u);
  EXPECT_EQ(document.getCopy("A").size(), 1u);
  EXPECT_EQ(document.getCopy("A").getCopy("j"), "");
}

TEST_F(IniFileTest, FileOfExactlyTheLimitIsRead) {
  TempFolder::write("big.ini", fileOfSize(limit));
  ASSERT_EQ(std::filesystem::file_size("big.ini"), 1048576u);
  IniStructure document;
  EXPECT_TRUE(IniFile("big.ini").read(document));
  EXPECT_EQ(document.getCopy("A").getCopy("k"), "v");
}

TEST_F(IniFileTest, FileOverTheLimitIsNotReadAndLeavesTheDocumentEmpty) {
  TempFolder::write("big.ini", fileOfSize(limit + 1));
  ASSERT_EQ(std::filesystem::file_size("big.ini"), 1048577u);
  IniStructure document = stale();
  EXPECT_FALSE(IniFile("big.ini").read(document));
  EXPECT_EQ(document.size(), 0u);
}

TEST_F(IniFileTest, FileOfUnknownSizeIsNotRead) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no file that opens but cannot seek to its end";
#endif
  // Files of the proc file system open but cannot seek to their end.
  IniStructure document = stale();
  EXPECT_FALSE(IniFile("/proc/self/status").read(document));
  EXPECT_EQ(document.size(), 0u);
}

TEST_F(IniFileTest, FolderInPlaceOfTheFileGivesNoSections) {
  std::filesystem::create_directory("folder.ini");
  IniStructure document = stale();
  IniFile("folder.ini").read(document);
  EXPECT_EQ(document.size(), 0u);
}

TEST_F(IniFileTest, StreamReaderSplitsTheFileIntoLines) {
  TempFolder::write("a.ini", "\xEF\xBB\xBF[A]\r\nk=1");
  EXPECT_THAT(IniStreamReader("a.ini").splitLines(), ElementsAre("[A]", "k=1"));
  EXPECT_THAT(IniStreamReader("absent.ini").splitLines(), IsEmpty());
  TempFolder::write("big.ini", fileOfSize(limit + 1));
  EXPECT_THAT(IniStreamReader("big.ini").splitLines(), IsEmpty());
}

TEST_F(IniFileTest, NameIsUtf8TextInAFolderOfAnyName) {
  const std::filesystem::path folderName(u8"Настройки");
  std::filesystem::create_directory(folderName);
  std::ofstream(folderName / "a.ini", std::ios::binary) << "[A]\nk=1\n";
  const std::u8string name = (folderName / "a.ini").u8string();
  IniStructure document;
  EXPECT_TRUE(IniFile(std::string(name.begin(), name.end())).read(document));
  EXPECT_EQ(document.getCopy("A").getCopy("k"), "1");
}

TEST_F(IniFileTest, StreamReaderOnMissingFileGivesFalse) {
  IniStructure document;
  EXPECT_FALSE(IniStreamReader("absent.ini").readInto(document));
  EXPECT_EQ(document.size(), 0u);
}

}  // namespace
}  // namespace sashcaster::testing

// The host binding's file calls: the probe and the whole-file read, on every
// kind of settings file a player's folder may hold.
#include "host/shared_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "config/temp_folder.h"
#include "support/case_name.h"

namespace sashcaster::testing {
namespace {

constexpr const char* fileName = "Settings.ini";
constexpr std::int64_t limit = 8;

struct FileCase {
  std::string name;
  std::function<void()> make;  // puts the case in the current folder
  bool opens;
  SharedRead read;
  std::string bytes;

  // Shown by the test runner in place of the case.
  friend std::ostream& operator<<(std::ostream& out, const FileCase& c) { return out << c.name; }
};

void writeFile(const std::string& bytes) {
  TempFolder::write(fileName, bytes);
}

class SharedFileTest : public ::testing::TestWithParam<FileCase> {
 protected:
  TempFolder folder;
};

TEST_P(SharedFileTest, ProbeAndReadTellTheFileApart) {
  GetParam().make();
  EXPECT_EQ(sharedFileOpens(fileName), GetParam().opens);
  std::string bytes = "what an earlier read left";
  EXPECT_EQ(readSharedFile(fileName, limit, bytes), GetParam().read);
  EXPECT_EQ(bytes, GetParam().bytes);
}

const bool folderOpens =
#ifdef _WIN32
    false;
#else
    true;  // POSIX opens a folder for reading, but it holds no bytes
#endif

INSTANTIATE_TEST_SUITE_P(
    Files, SharedFileTest,
    ::testing::Values(FileCase{"Missing", [] {}, false, SharedRead::NotOpened, ""},
                      FileCase{"Empty", [] { writeFile(""); }, true, SharedRead::Read, ""},
                      FileCase{"EveryByteAsStored",
                               [] { writeFile(std::string("a\r\n\0\xFF", 5)); }, true,
                               SharedRead::Read, std::string("a\r\n\0\xFF", 5)},
                      FileCase{"ExactlyTheLimit", [] { writeFile("12345678"); }, true,
                               SharedRead::Read, "12345678"},
                      FileCase{"OneOverTheLimit", [] { writeFile("123456789"); }, true,
                               SharedRead::NotReadWhole, ""},
                      FileCase{"FolderOfThatName",
                               [] { std::filesystem::create_directory(fileName); }, folderOpens,
                               folderOpens ? SharedRead::NotReadWhole : SharedRead::NotOpened, ""}),
    CaseName());

#ifdef _WIN32
// Another program holding the file without sharing it: neither call gets in,
// and the read leaves no bytes.
TEST(SharedFileLockTest, FileHeldExclusivelyDoesNotOpen) {
  const TempFolder folder;
  writeFile("[A]\n");
  const HANDLE held = CreateFileW(L"Settings.ini", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(sharedFileOpens(fileName));
  std::string bytes = "stale";
  EXPECT_EQ(readSharedFile(fileName, limit, bytes), SharedRead::NotOpened);
  EXPECT_EQ(bytes, "");
  CloseHandle(held);
  EXPECT_TRUE(sharedFileOpens(fileName));
}
#endif

}  // namespace
}  // namespace sashcaster::testing

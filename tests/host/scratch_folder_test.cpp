#include "scratch_folder/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace sashcaster::fake {
namespace {

namespace fs = std::filesystem;

TEST(ScratchFolder, IsFreshEnteredAndLeftAtWillAndGoesWithItsFiles) {
  const fs::path start = fs::current_path();
  fs::path made;
  {
    ScratchFolder first;
    ScratchFolder second;
    std::string error;
    ASSERT_TRUE(first.make("sashcaster-scratch-test", error)) << error;
    ASSERT_TRUE(second.make("sashcaster-scratch-test", error)) << error;
    EXPECT_NE(first.path(), second.path());
    EXPECT_TRUE(fs::is_empty(first.path()));

    for (int round = 0; round < 2; ++round) {
      ASSERT_TRUE(first.enter(error)) << error;
      EXPECT_TRUE(fs::equivalent(fs::current_path(), first.path()));
      EXPECT_TRUE(first.leave());
      EXPECT_EQ(fs::current_path(), start);
    }
    ASSERT_TRUE(first.enter(error)) << error;
    std::ofstream("Sashcaster.ini") << "[Sashcaster]\n";
    fs::create_directory("inner");
    made = first.path();
  }
  // Removed with what it held, and the folder before it is current again.
  EXPECT_FALSE(fs::exists(made));
  EXPECT_EQ(fs::current_path(), start);
}

}  // namespace
}  // namespace sashcaster::fake

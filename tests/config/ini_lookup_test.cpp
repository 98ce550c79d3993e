// Finding sections and keys by name, and what lookups and copies leave behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "config/ini_file.h"

namespace sashcaster::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;

IniStructure document(std::string_view bytes) {
  IniStructure parsedDocument;
  parseIniBytes(bytes, parsedDocument);
  return parsedDocument;
}

TEST(IniLookup, NamesAreTrimmedBeforeTheyAreLookedUp) {
  const IniStructure settings = document("[ Sashcaster ]\n iXKey = 88 \n");
  EXPECT_EQ(settings.getCopy("Sashcaster").getCopy("iXKey"), "88");
  EXPECT_EQ(settings.getCopy(" \tSashcaster\r\n").getCopy(" iXKey "), "88");
}

TEST(IniLookup, LetterCaseIsNeverFolded) {
  const IniStructure settings = document("[Sashcaster]\nIXKEY=1\n");
  EXPECT_EQ(settings.getCopy("Sashcaster").getCopy("iXKey"), "");
  EXPECT_EQ(settings.getCopy("sashcaster").size(), 0u);
  EXPECT_EQ(settings.getCopy("Sashcaster").getCopy("IXKEY"), "1");
}

TEST(IniLookup, MissingSectionOrKeyGivesEmptyAndInsertsNothing) {
  const IniStructure settings = document("[A]\nk=1\n");
  const IniSection missingSection = settings.getCopy("B");
  EXPECT_EQ(missingSection.size(), 0u);
  EXPECT_TRUE(missingSection.index.empty());
  EXPECT_EQ(settings.getCopy("A").getCopy("j"), "");
  EXPECT_EQ(settings.size(), 1u);
  EXPECT_EQ(settings.index.size(), 1u);
  EXPECT_EQ(settings.entries[0].second.size(), 1u);
  EXPECT_EQ(settings.entries[0].second.index.size(), 1u);
}

TEST(IniLookup, SectionCopyIsWholeAndIndependent) {
  IniStructure settings = document("[A]\nz=1\ny=2\nx=3\n");
  IniSection copy = settings.getCopy("A");
  EXPECT_THAT(copy.entries, ElementsAre(Pair("z", "1"), Pair("y", "2"), Pair("x", "3")));
  EXPECT_EQ(copy.getCopy("y"), "2");

  copy["y"] = "changed";
  copy["w"] = "new";
  EXPECT_EQ(settings.getCopy("A").getCopy("y"), "2");
  EXPECT_EQ(settings.getCopy("A").size(), 3u);
}

TEST(OrderedMapInsert, TrimmedNamesShareOneEntryInFirstInsertionOrder) {
  OrderedMap<std::string> map;
  map["b"] = "1";
  map[" a\t"] = "2";
  map["b "] = "3";
  map[" \v "] = "4";
  map[""] += "5";
  EXPECT_THAT(map.entries, ElementsAre(Pair("b", "3"), Pair("a", "2"), Pair("", "45")));
  EXPECT_EQ(map.index.at("a"), 1u);
  EXPECT_EQ(map.index.at(""), 2u);
}

TEST(OrderedMapInsert, ClearEmptiesEntriesAndIndexAndAllowsRefilling) {
  OrderedMap<std::string> map;
  map["a"] = "1";
  map["b"] = "2";
  map.clear();
  EXPECT_EQ(map.size(), 0u);
  EXPECT_TRUE(map.index.empty());
  map["b"] = "3";
  EXPECT_THAT(map.entries, ElementsAre(Pair("b", "3")));
  EXPECT_EQ(map.index.at("b"), 0u);
}

// A value whose construction fails while `failing` is set, as an allocation
// may fail while a new name is added.
struct FragileValue {
  static inline bool failing = false;
  FragileValue() {
    if (failing) {
      throw std::bad_alloc();
    }
  }
};

TEST(OrderedMapInsert, FailedInsertLeavesIndexAndEntriesInStep) {
  OrderedMap<FragileValue> map;
  map["a"];
  FragileValue::failing = true;
  EXPECT_THROW(map["b"], std::bad_alloc);
  FragileValue::failing = false;
  EXPECT_EQ(map.index.size(), map.entries.size());
  EXPECT_EQ(map.index.count("b"), 0u);
  map["b"];
  EXPECT_EQ(map.index.at("b"), 1u);
  EXPECT_EQ(map.entries[1].first, "b");
}

}  // namespace
}  // namespace sashcaster::testing

#include "host/key_state_table.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "fake_host/fake_host.h"
#include "support/case_name.h"

namespace sashcaster {
namespace {

using fake::host;

constexpr std::uint32_t W = 87;

class KeyStateTableTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::resetHost(); }

  static void at(std::uint32_t now) { fake::clock().now = now; }
  static void downAt(std::uint32_t key, std::uint32_t when) {
    at(when);
    fake::pressKey(key);
  }
  static void upAt(std::uint32_t key, std::uint32_t when) {
    at(when);
    fake::releaseKey(key);
  }
};

TEST_F(KeyStateTableTest, EventStoresTickAndArgumentsAsReceived) {
  at(123456);
  onKeyboardEvent(W, 7, 8, 9, -5, 6, -1);
  const KeyState& entry = keyStateTable.entries[W];
  EXPECT_EQ(entry.tick.load(), 123456u);
  EXPECT_EQ(entry.fifthArg.load(), -5);
  EXPECT_EQ(entry.sixthArg.load(), 6);
  EXPECT_EQ(entry.released.load(), -1);
}

TEST_F(KeyStateTableTest, EventOfCode255OrAboveWritesNothingAndReadsNoClock) {
  at(5000);
  for (std::uint32_t key : {255u, 256u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    onKeyboardEvent(key, 1, 0, 0, 1, 1, 0);
  }
  EXPECT_EQ(fake::clock().reads.load(), 0u);
  for (const KeyState& entry : keyStateTable.entries) {
    EXPECT_EQ(entry.tick.load(), 0u);
  }
}

TEST_F(KeyStateTableTest, CodesZeroAnd254HaveEntries) {
  for (std::uint32_t key : {0u, 254u}) {
    downAt(key, 1000);
    at(1010);
    EXPECT_TRUE(keyHeld(key)) << key;
    upAt(key, 1020);
    EXPECT_TRUE(keyJustReleased(key)) << key;
  }
}

TEST_F(KeyStateTableTest, QueriesOfCode255OrAboveAreFalseAndReadNoClock) {
  downAt(254, 1000);
  for (std::uint32_t key : {255u, 1000u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(keyHeld(key));
    EXPECT_FALSE(keyJustReleased(key));
  }
  EXPECT_EQ(fake::clock().reads.load(), 1u);  // the event's own stamp only
}

TEST_F(KeyStateTableTest, KeyDownHeldUpTo29999MsAndNotAt30000) {
  downAt(W, 50000);
  at(50000 + 29999);
  EXPECT_TRUE(keyHeld(W));
  at(50000 + 30000);
  EXPECT_FALSE(keyHeld(W));
}

TEST_F(KeyStateTableTest, KeyUpJustReleasedUpTo99MsAndNotAt100) {
  upAt(W, 50000);
  at(50099);
  EXPECT_TRUE(keyJustReleased(W));
  at(50100);
  EXPECT_FALSE(keyJustReleased(W));
}

TEST_F(KeyStateTableTest, KeyDownIsNeverJustReleasedAndKeyUpNeverHeld) {
  downAt(W, 50000);
  EXPECT_FALSE(keyJustReleased(W));
  upAt(W, 50010);
  EXPECT_FALSE(keyHeld(W));
}

TEST_F(KeyStateTableTest, AnyNonZeroReleasedValueCountsAsKeyUp) {
  at(50000);
  onKeyboardEvent(W, 1, 0, 0, 0, 0, -7);
  EXPECT_TRUE(keyJustReleased(W));
  EXPECT_FALSE(keyHeld(W));
}

TEST_F(KeyStateTableTest, DownThenUpBeforeAQueryReadsAsJustReleased) {
  downAt(W, 50000);
  upAt(W, 50005);
  EXPECT_FALSE(keyHeld(W));
  EXPECT_TRUE(keyJustReleased(W));
}

TEST_F(KeyStateTableTest, UntouchedEntryHoldsNoEventEvenInTheFirst30Seconds) {
  for (std::uint32_t now : {0u, 1u, 29999u, 30000u, 0xFFFFFFFFu}) {
    at(now);
    EXPECT_FALSE(keyHeld(W)) << now;
    EXPECT_FALSE(keyJustReleased(W)) << now;
  }
}

TEST_F(KeyStateTableTest, ClearedEntryHoldsNoEvent) {
  upAt(W, 10);
  clearKey(W);
  at(20);
  EXPECT_FALSE(keyJustReleased(W));
  EXPECT_FALSE(keyHeld(W));
  const KeyState& entry = keyStateTable.entries[W];
  EXPECT_EQ(
      entry.tick.load() | static_cast<std::uint32_t>(entry.fifthArg.load() | entry.sixthArg.load() |
                                                     entry.released.load()),
      0u);
}

// Stamped 0, a key-down is told from an untouched entry by its fifth and
// sixth arguments only: an ordinary first press then reads as no event.
TEST_F(KeyStateTableTest, KeyDownAtTickZeroCountsOnlyWithAltOrAlreadyDown) {
  const struct {
    std::int32_t isWithAlt, wasDownBefore;
    bool held;
  } presses[] = {{1, 0, true}, {0, 1, true}, {0, 0, false}};
  for (const auto& press : presses) {
    fake::resetHost();
    at(0);
    onKeyboardEvent(W, 1, 0, 0, press.isWithAlt, press.wasDownBefore, 0);
    at(10);
    EXPECT_EQ(keyHeld(W), press.held) << press.isWithAlt << press.wasDownBefore;
  }
}

TEST_F(KeyStateTableTest, ClearKeyOfCode255OrAboveWritesNothing) {
  downAt(254, 1000);
  for (std::uint32_t key : {255u, 256u, 0xFFFFFFFFu}) {
    clearKey(key);
  }
  at(1001);
  EXPECT_TRUE(keyHeld(254));
  EXPECT_EQ(keyStateTable.entries[254].tick.load(), 1000u);
}

// Freshness across the wrap of the 32-bit tick count.
struct WrapCase {
  const char* name;
  std::uint32_t eventTick;
  bool released;
  std::uint32_t now;
  bool fresh;
  friend void PrintTo(const WrapCase& c, std::ostream* out) { *out << c.name; }
};

class KeyFreshnessAcrossWrapTest : public KeyStateTableTest,
                                   public ::testing::WithParamInterface<WrapCase> {};

TEST_P(KeyFreshnessAcrossWrapTest, AgeIsTakenModulo2To32) {
  const WrapCase& c = GetParam();
  c.released ? upAt(W, c.eventTick) : downAt(W, c.eventTick);
  at(c.now);
  EXPECT_EQ(c.released ? keyJustReleased(W) : keyHeld(W), c.fresh);
}

constexpr std::uint32_t top = 0xFFFFFFFF;

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyFreshnessAcrossWrapTest,
    ::testing::Values(WrapCase{"DownJustBeforeWrapHeldBeforeWrap", top - 999, false, top - 500,
                               true},
                      WrapCase{"DownJustBeforeWrapHeldAfterWrap", top - 999, false, 2000, true},
                      WrapCase{"DownJustBeforeWrapHeldAt29999", top - 999, false, 29000 - 1, true},
                      WrapCase{"DownJustBeforeWrapStaleAt30000", top - 999, false, 29000, false},
                      WrapCase{"UpJustBeforeWrapReleasedAfterWrap", top - 49, true, 10, true},
                      WrapCase{"UpJustBeforeWrapReleasedAfterWrapAt99", top - 49, true, 49, true},
                      WrapCase{"UpJustBeforeWrapStaleAt100", top - 49, true, 50, false},
                      WrapCase{"OldUpBeforeWrapStaleAfterWrap", 0x80000000, true, 1000, false},
                      WrapCase{"OldDownBeforeWrapStaleAfterWrap", 0x80000000, false, 1000, false},
                      WrapCase{"UpAtEndOfCycleStaleAtStartOfNext", top - 200, true, 5, false}),
    sashcaster::testing::CaseName());

}  // namespace
}  // namespace sashcaster

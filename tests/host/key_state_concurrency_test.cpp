// The keyboard callback writes the table from the host's thread while the
// script queries and clears it; every field must stay whole.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "fake_host/fake_host.h"
#include "host/key_state_table.h"

namespace sashcaster {
namespace {

constexpr std::uint32_t X = 88, W = 87;
constexpr int rounds = 200000;

TEST(KeyStateConcurrencyTest, CallbackHammeringTheTableNeverTearsAField) {
  fake::resetHost();
  std::atomic<bool> done{false};
  // The fake clock stays put, so every stamp the callback writes is 7000.
  fake::clock().now = 7000;
  std::thread keyboard([&done] {
    for (int i = 0; i < rounds; ++i) {
      const std::int32_t released = (i & 1) != 0 ? -1 : 0;
      onKeyboardEvent(W, 1, 0, 0, 0x5A5A5A5A, -0x5A5A5A5B, released);
      onKeyboardEvent(X, 1, 0, 0, 0x5A5A5A5A, -0x5A5A5A5B, ~released);
    }
    done.store(true);
  });

  std::uint64_t torn = 0;
  do {
    static_cast<void>(keyHeld(W));
    static_cast<void>(keyJustReleased(X));
    clearKey(X);
    for (std::uint32_t key : {W, X}) {
      const KeyState& entry = keyStateTable.entries[key];
      const std::uint32_t tick = entry.tick.load(std::memory_order_relaxed);
      const std::int32_t fifth = entry.fifthArg.load(std::memory_order_relaxed);
      const std::int32_t sixth = entry.sixthArg.load(std::memory_order_relaxed);
      const std::int32_t released = entry.released.load(std::memory_order_relaxed);
      const bool whole = (tick == 0 || tick == 7000) && (fifth == 0 || fifth == 0x5A5A5A5A) &&
                         (sixth == 0 || sixth == -0x5A5A5A5B) && (released == 0 || released == -1);
      torn += whole ? 0 : 1;
    }
  } while (!done.load());
  keyboard.join();

  EXPECT_EQ(torn, 0u);
  EXPECT_EQ(keyStateTable.entries[W].released.load(), -1);
}

}  // namespace
}  // namespace sashcaster

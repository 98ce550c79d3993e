#include "host/key_state_table.h"

#include "host/host_interface.h"

namespace sashcaster {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Age of an event in milliseconds; the unsigned difference stays right
// across the wrap of the tick count.
std::uint32_t ageOf(std::uint32_t tick, std::uint32_t now) {
  return now - tick;
}

// An entry that was never written, or was cleared, holds all zeros.
bool holdsNoEvent(const KeyState& entry, std::uint32_t tick, std::int32_t released) {
  return tick == 0 && released == 0 && entry.fifthArg.load(relaxed) == 0 &&
         entry.sixthArg.load(relaxed) == 0;
}

}  // namespace

constinit KeyStateTable keyStateTable{};

void onKeyboardEvent(std::uint32_t key, std::uint16_t /*repeats*/, std::uint8_t /*scanCode*/,
                     std::int32_t /*isExtended*/, std::int32_t fifthArg, std::int32_t sixthArg,
                     std::int32_t released) {
  if (key >= keyStateCount) {
    return;
  }
  KeyState& entry = keyStateTable.entries[key];
  entry.tick.store(hostTickCount(), relaxed);
  entry.fifthArg.store(fifthArg, relaxed);
  entry.sixthArg.store(sixthArg, relaxed);
  entry.released.store(released, relaxed);
}

bool keyHeld(std::uint32_t key) {
  if (key >= keyStateCount) {
    return false;
  }
  const std::uint32_t now = hostTickCount();
  const KeyState& entry = keyStateTable.entries[key];
  const std::uint32_t tick = entry.tick.load(relaxed);
  if (ageOf(tick, now) >= holdWindowMs) {
    return false;
  }
  const std::int32_t released = entry.released.load(relaxed);
  return released == 0 && !holdsNoEvent(entry, tick, released);
}

bool keyJustReleased(std::uint32_t key) {
  if (key >= keyStateCount) {
    return false;
  }
  const std::uint32_t now = hostTickCount();
  const KeyState& entry = keyStateTable.entries[key];
  if (ageOf(entry.tick.load(relaxed), now) >= releaseWindowMs) {
    return false;
  }
  return entry.released.load(relaxed) != 0;
}

void clearKey(std::uint32_t key) {
  if (key >= keyStateCount) {
    return;
  }
  // Each field is stored whole, but the four together are not: a keyboard
  // event landing mid-clear may leave a mixed entry, some fields its own and
  // some zero, and the readers take it as it stands. At worst that one event
  // is lost, or its release reads as a press, until the key's next event.
  KeyState& entry = keyStateTable.entries[key];
  entry.tick.store(0, relaxed);
  entry.fifthArg.store(0, relaxed);
  entry.sixthArg.store(0, relaxed);
  entry.released.store(0, relaxed);
}

}  // namespace sashcaster

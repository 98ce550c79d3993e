// The key storm: events through the plug-in's keyboard callback from a thread
// of its own, as the host's keyboard thread sends them, while turns run.
#include <windows.h>

#include <cstdint>
#include <random>

#include "soak/storm.h"
#include "standin_host/standin_control.h"

namespace sashcaster::soak {
namespace {

// Codes the table must refuse or treat as edges.
constexpr std::uint32_t edgeCodes[] = {0, 254, 255, 256, 0xFFFFFFFF};

std::uint32_t pickKey(std::mt19937_64& random, const Storm& storm) {
  const std::uint64_t roll = random() % 100;
  if (roll < 50) {
    return storm.keys[random() % 5].load(std::memory_order_relaxed);
  }
  if (roll < 60) {
    return edgeCodes[random() % std::size(edgeCodes)];
  }
  if (roll < 85) {
    return static_cast<std::uint32_t>(random() % 255);
  }
  return static_cast<std::uint32_t>(random());
}

// Up or down at random; now and then a key-up flag other than 1.
std::int32_t pickUpFlag(std::mt19937_64& random) {
  if (random() % 2 == 0) {
    return 0;
  }
  return random() % 4 == 0 ? static_cast<std::int32_t>(random() | 1U) : 1;
}

StandInKeyEvent randomEvent(std::mt19937_64& random, const Storm& storm) {
  StandInKeyEvent event{};
  event.key = pickKey(random, storm);
  event.repeats = static_cast<std::uint16_t>(random());
  event.scanCode = static_cast<std::uint8_t>(random());
  event.extended = static_cast<std::int32_t>(random());
  event.withAlt = static_cast<std::int32_t>(random());
  event.wasDown = static_cast<std::int32_t>(random());
  event.up = pickUpFlag(random);
  return event;
}

}  // namespace

unsigned long __stdcall keyStorm(void* parameter) {
  auto& storm = *static_cast<Storm*>(parameter);
  std::mt19937_64 random(storm.seed ^ 0x6B657973);
  while (!storm.stop.load()) {
    // About four events a turn: ahead of that, wait for the turns.
    if (storm.keyEvents.load() >= 4 * storm.turns.load() + 64) {
      Sleep(1);
      continue;
    }
    const StandInKeyEvent event = randomEvent(random, storm);
    standInSendKeyEvent(&event);
    storm.keyEvents.fetch_add(1);
  }
  return 0;
}

}  // namespace sashcaster::soak

// A host for benchmarks: answers the natives of a turn as a small game
// would, with a fixed clock, and records nothing, so that a measured turn
// costs what the plug-in costs and not what a test double's bookkeeping costs.
#include <cstddef>
#include <cstdint>

#include "bench/bench_host.h"
#include "host/host_interface.h"
#include "throw/natives.h"

namespace {

constexpr std::int32_t playerPedHandle = 0x1D0C;
constexpr std::size_t maxSlots = 8;

std::uint64_t currentHash = 0;
std::uint64_t slots[maxSlots] = {};
std::size_t slotCount = 0;
std::uint64_t resultSlot = 0;

// The game's name hash: one-at-a-time over the lower-cased name.
std::uint32_t nameHash(const char* name) {
  std::uint32_t hash = 0;
  for (; *name != '\0'; ++name) {
    const auto byte = static_cast<unsigned char>(*name);
    hash += (byte >= 'A' && byte <= 'Z') ? byte + ('a' - 'A') : byte;
    hash += hash << 10;
    hash ^= hash >> 6;
  }
  hash += hash << 3;
  hash ^= hash >> 11;
  hash += hash << 15;
  return hash;
}

// The player grapples face to face and no control is down.
std::uint32_t answer() {
  namespace natives = sashcaster::natives;
  switch (currentHash) {
    case natives::localPlayerPedHash:
      return static_cast<std::uint32_t>(playerPedHandle);
    case natives::hashOfNameHash:
      return nameHash(reinterpret_cast<const char*>(slots[0]));
    case natives::pedGrappleStyleHash:
      return nameHash("GS_FACE_TO_FACE");
    default:
      return 0;
  }
}

}  // namespace

namespace sashcaster::bench {

const char* hostName() {
  return "lean host";
}

void afterTurn() {}

}  // namespace sashcaster::bench

extern "C" {

void scriptRegister(sashcaster::ModuleHandle /*module*/, sashcaster::ScriptEntry /*entry*/) {}
void scriptUnregister(sashcaster::ModuleHandle /*module*/) {}
void keyboardHandlerRegister(sashcaster::KeyboardCallback /*callback*/) {}
void keyboardHandlerUnregister(sashcaster::KeyboardCallback /*callback*/) {}
void scriptWait(std::uint32_t /*milliseconds*/) {}

void nativeInit(std::uint64_t hash) {
  currentHash = hash;
  slotCount = 0;
}

void nativePush64(std::uint64_t slot) {
  if (slotCount < maxSlots) {
    slots[slotCount++] = slot;
  }
}

std::uint64_t* nativeCall() {
  resultSlot = answer();
  return &resultSlot;
}

std::uint32_t GetTickCount() {
  return 100000;
}
}

// A host for benchmarks: answers the natives of a turn as a small game
// would, with a fixed clock, and records nothing, so that a measured turn
// costs what the plug-in costs and not what a test double's bookkeeping costs.
#include <cstddef>
#include <cstdint>

#include "bench/bench_host.h"
#include "fake_host/game_model.h"
#include "host/host_interface.h"

namespace {

constexpr std::size_t maxSlots = 8;

std::uint64_t currentHash = 0;
std::uint64_t slots[maxSlots] = {};
std::size_t slotCount = 0;
std::uint64_t resultSlot = 0;

// The player grapples face to face and no control is down.
const sashcaster::model::GameState game = [] {
  sashcaster::model::GameState faceToFace;
  faceToFace.grappleStyle = sashcaster::model::nameHash(sashcaster::model::faceToFaceStyleName);
  return faceToFace;
}();

std::uint32_t answer() {
  const bool takesName = currentHash == sashcaster::model::hashOfNameHash;
  return sashcaster::model::answer(game, currentHash, slots,
                                   takesName ? reinterpret_cast<const char*>(slots[0]) : "");
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

std::uint32_t hostTickCount() {
  return 100000;
}
}

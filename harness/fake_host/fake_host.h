// A host for running the plug-in's portable code without the game: it
// records every host call and native call, answers natives through the game
// model the stand-in host uses too, and lets the caller set the clock.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fake_host/game_model.h"
#include "host/host_interface.h"

namespace sashcaster::fake {

enum class CallKind : std::uint8_t {
  ScriptRegister,
  ScriptUnregister,
  KeyboardHandlerRegister,
  KeyboardHandlerUnregister,
  ScriptWait,
  NativeInit,
  NativePush64,
  NativeCall,
};

// One call of a host function with its scalar argument and pointer argument.
struct HostCall {
  CallKind kind;
  std::uint64_t value = 0;
  const void* pointer = nullptr;
};

// One finished native call: its hash, the slots pushed and the result slot.
struct NativeCallRecord {
  std::uint64_t hash = 0;
  std::vector<std::uint64_t> slots;
  std::uint64_t resultSlot = 0;
};

struct GrappleAction {
  std::int32_t ped;
  std::uint32_t action;
};

struct GrappleFlag {
  std::int32_t ped;
  std::int32_t flag;
  std::int32_t value;
};

using model::resultHighBits;

// Thrown by scriptWait once the budget of waits set by stopAfterWaits is spent,
// so that a test can run the endless loop for a given number of turns.
struct LoopStopped {};

// The clock the plug-in reads, set by the caller. The keyboard callback reads
// it from other threads too, hence atomic.
struct FakeClock {
  std::atomic<std::uint32_t> now{0};
  std::atomic<std::uint64_t> reads{0};
};

struct FakeHost {
  std::vector<HostCall> calls;
  std::vector<NativeCallRecord> natives;
  std::vector<std::string> protocolErrors;
  model::GameState game;  // what the natives report
  // What the plug-in told the game to do.
  std::vector<GrappleAction> grappleActions;
  std::vector<GrappleFlag> grappleFlags;
  // Every name given to hashOfName, by its hash: what the traces print for a
  // hash in place of its number.
  std::map<std::uint32_t, std::string> hashedNames;
  // Raw result slots by native hash, in place of the game's answer.
  std::map<std::uint64_t, std::uint64_t> rawResults;
  std::int64_t waitsLeft = -1;  // negative: scriptWait never stops the loop

  // The call being assembled between nativeInit and nativeCall.
  bool callOpen = false;
  NativeCallRecord pending;
  std::uint64_t resultSlot = 0;
};

FakeHost& host();
FakeClock& clock();

// Forgets every call and restores the game, clock and key table.
void resetHost();

void stopAfterWaits(std::int64_t waits);

using model::nameHash;

// The name hashOfName was given for this hash, or the hash in hexadecimal for
// one no call has hashed.
std::string hashedName(std::uint32_t hash);

// A readable line per native call, such as hashOfName("GS_FACE_TO_FACE"),
// controlPressed(0, 0x1ECA87D4) or setPedGrappleAction(7436,
// ACT_GRAPPLE_THROW_CUSTOM_FRONT): a hash by the name it was made from.
std::string describe(const NativeCallRecord& call);
std::vector<std::string> nativeTrace();

// Host calls of one kind, in order.
std::vector<HostCall> callsOf(CallKind kind);

// Sends a key event through the keyboard callback the plug-in registered,
// stamped with the current clock.
void pressKey(std::uint32_t key);
void releaseKey(std::uint32_t key);

}  // namespace sashcaster::fake

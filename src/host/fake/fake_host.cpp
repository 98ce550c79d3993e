#include "host/fake/fake_host.h"

#include <cstdio>
#include <cstring>

#include "host/key_state_table.h"

namespace sashcaster::fake {

namespace {

FakeHost theHost;
FakeClock theClock;

using model::findNative;
using model::NativeInfo;

const char* textAt(std::uint64_t slot) {
  return reinterpret_cast<const char*>(slot);
}

std::uint32_t low32(std::uint64_t slot) {
  return static_cast<std::uint32_t>(slot);
}

bool controlIn(const std::set<std::uint32_t>& controls, const NativeCallRecord& call) {
  return low32(call.slots[0]) == 0 && controls.count(low32(call.slots[1])) != 0;
}

// The fake game's answer to a well-formed call, in the low 32 bits.
std::uint32_t answer(const NativeCallRecord& call) {
  FakeGame& game = theHost.game;
  const auto ped = static_cast<std::int32_t>(low32(call.slots.empty() ? 0 : call.slots[0]));
  switch (call.hash) {
    case model::localPlayerPedHash:
      return static_cast<std::uint32_t>(game.playerPed);
    case model::hashOfNameHash:
      return nameHash(textAt(call.slots[0]));
    case model::pedGrappleStyleHash:
      return ped == game.playerPed ? game.grappleStyle : 0;
    case model::setPedGrappleActionHash:
      game.grappleActions.push_back({ped, low32(call.slots[1])});
      return 0;
    case model::setPedGrappleFlagHash:
      game.grappleFlags.push_back({ped, static_cast<std::int32_t>(low32(call.slots[1])),
                                   static_cast<std::int32_t>(low32(call.slots[2]))});
      return 0;
    case model::controlPressedHash:
      return controlIn(game.controlsPressed, call) ? 1 : 0;
    case model::controlJustReleasedHash:
      return controlIn(game.controlsJustReleased, call) ? 1 : 0;
    case model::disabledControlPressedHash:
      return controlIn(game.controlsDisabledPressed, call) ? 1 : 0;
    default:
      return 0;
  }
}

// Breaches of the calling protocol: an unknown native, a wrong argument
// count, a 32-bit argument with a high half. Returns whether the call is sound.
bool checkCall(const NativeCallRecord& call) {
  const NativeInfo* info = findNative(call.hash);
  if (info == nullptr) {
    theHost.protocolErrors.push_back("unknown native " + std::to_string(call.hash));
    return false;
  }
  if (call.slots.size() != info->argumentCount) {
    theHost.protocolErrors.push_back(std::string(info->name) + ": wrong argument count");
    return false;
  }
  bool sound = true;
  for (std::uint64_t slot : call.slots) {
    if (call.hash != model::hashOfNameHash && (slot >> 32) != 0) {
      theHost.protocolErrors.push_back(std::string(info->name) + ": high half not zero");
      sound = false;
    }
  }
  return sound;
}

std::string hex32(std::uint64_t slot) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", low32(slot));
  return text;
}

bool takesHashSecond(std::uint64_t hash) {
  return hash == model::setPedGrappleActionHash || hash == model::controlPressedHash ||
         hash == model::controlJustReleasedHash || hash == model::disabledControlPressedHash;
}

// Names are quoted, hashes in hexadecimal, other integers in signed decimal.
std::string describeArgument(const NativeCallRecord& call, std::size_t position) {
  const std::uint64_t slot = call.slots[position];
  if (call.hash == model::hashOfNameHash) {
    return '"' + std::string(textAt(slot)) + '"';
  }
  if (position == 1 && takesHashSecond(call.hash)) {
    return hex32(slot);
  }
  return std::to_string(static_cast<std::int32_t>(low32(slot)));
}

void sendKey(std::uint32_t key, std::int32_t released) {
  onKeyboardEvent(key, 1, 0, 0, 0, released != 0 ? 1 : 0, released);
}

}  // namespace

FakeHost& host() {
  return theHost;
}
FakeClock& clock() {
  return theClock;
}

void resetHost() {
  theHost = FakeHost{};
  theClock.now = 0;
  theClock.reads = 0;
  for (std::uint32_t key = 0; key < keyStateCount; ++key) {
    clearKey(key);
  }
}

void stopAfterWaits(std::int64_t waits) {
  theHost.waitsLeft = waits;
}

std::string describe(const NativeCallRecord& call) {
  const NativeInfo* info = findNative(call.hash);
  if (info == nullptr || call.slots.size() != info->argumentCount) {
    return "unknown(" + std::to_string(call.hash) + ")";
  }
  std::string text = std::string(info->name) + "(";
  for (std::size_t i = 0; i < call.slots.size(); ++i) {
    text += (i == 0 ? "" : ", ") + describeArgument(call, i);
  }
  return text + ")";
}

std::vector<std::string> nativeTrace() {
  std::vector<std::string> lines;
  for (const NativeCallRecord& call : theHost.natives) {
    lines.push_back(describe(call));
  }
  return lines;
}

std::vector<HostCall> callsOf(CallKind kind) {
  std::vector<HostCall> selected;
  for (const HostCall& call : theHost.calls) {
    if (call.kind == kind) {
      selected.push_back(call);
    }
  }
  return selected;
}

void pressKey(std::uint32_t key) {
  sendKey(key, 0);
}
void releaseKey(std::uint32_t key) {
  sendKey(key, 1);
}

}  // namespace sashcaster::fake

using sashcaster::fake::CallKind;
using sashcaster::fake::theHost;

extern "C" {

void scriptRegister(sashcaster::ModuleHandle module, sashcaster::ScriptEntry entry) {
  theHost.calls.push_back({CallKind::ScriptRegister, 0, module});
  theHost.calls.back().value = reinterpret_cast<std::uintptr_t>(entry);
}

void scriptUnregister(sashcaster::ModuleHandle module) {
  theHost.calls.push_back({CallKind::ScriptUnregister, 0, module});
}

void keyboardHandlerRegister(sashcaster::KeyboardCallback callback) {
  theHost.calls.push_back(
      {CallKind::KeyboardHandlerRegister, reinterpret_cast<std::uintptr_t>(callback), nullptr});
}

void keyboardHandlerUnregister(sashcaster::KeyboardCallback callback) {
  theHost.calls.push_back(
      {CallKind::KeyboardHandlerUnregister, reinterpret_cast<std::uintptr_t>(callback), nullptr});
}

void scriptWait(std::uint32_t milliseconds) {
  theHost.calls.push_back({CallKind::ScriptWait, milliseconds, nullptr});
  if (theHost.waitsLeft == 0) {
    throw sashcaster::fake::LoopStopped{};
  }
  if (theHost.waitsLeft > 0) {
    --theHost.waitsLeft;
  }
}

void nativeInit(std::uint64_t hash) {
  theHost.calls.push_back({CallKind::NativeInit, hash, nullptr});
  if (theHost.callOpen) {
    theHost.protocolErrors.push_back("nativeInit while a call is open");
  }
  theHost.callOpen = true;
  theHost.pending = {hash, {}, 0};
}

void nativePush64(std::uint64_t slot) {
  theHost.calls.push_back({CallKind::NativePush64, slot, nullptr});
  if (!theHost.callOpen) {
    theHost.protocolErrors.push_back("nativePush64 outside a call");
  }
  theHost.pending.slots.push_back(slot);
}

std::uint64_t* nativeCall() {
  theHost.calls.push_back({CallKind::NativeCall, 0, nullptr});
  if (!theHost.callOpen) {
    theHost.protocolErrors.push_back("nativeCall without nativeInit");
  }
  theHost.callOpen = false;
  sashcaster::fake::NativeCallRecord call = theHost.pending;
  const bool sound = sashcaster::fake::checkCall(call);
  const auto raw = theHost.rawResults.find(call.hash);
  if (raw != theHost.rawResults.end()) {
    call.resultSlot = raw->second;
  } else {
    call.resultSlot =
        sashcaster::fake::resultHighBits | (sound ? sashcaster::fake::answer(call) : 0);
  }
  theHost.resultSlot = call.resultSlot;
  theHost.natives.push_back(std::move(call));
  return &theHost.resultSlot;
}

std::uint32_t GetTickCount() {
  ++sashcaster::fake::theClock.reads;
  return sashcaster::fake::theClock.now;
}
}

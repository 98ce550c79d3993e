#include "fake_host/fake_host.h"

#include <algorithm>

#include "fake_host/native_call.h"
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

std::string_view nameOf(const NativeCallRecord& call) {
  const NativeInfo* info = findNative(call.hash);
  const bool named = info != nullptr && info->takesName && call.slots.size() == 1;
  return named ? textAt(call.slots[0]) : "";
}

// The game model's answer to a sound call; the actions it sets are recorded.
std::uint32_t answer(const NativeCallRecord& call) {
  std::uint64_t arguments[model::maxArguments] = {};
  std::copy(call.slots.begin(), call.slots.end(), arguments);
  const auto ped = static_cast<std::int32_t>(low32(arguments[0]));
  if (call.hash == model::hashOfNameHash && !nameOf(call).empty()) {
    theHost.hashedNames.emplace(model::nameHash(nameOf(call)), nameOf(call));
  } else if (call.hash == model::setPedGrappleActionHash) {
    theHost.grappleActions.push_back({ped, low32(arguments[1])});
  } else if (call.hash == model::setPedGrappleFlagHash) {
    theHost.grappleFlags.push_back({ped, static_cast<std::int32_t>(low32(arguments[1])),
                                    static_cast<std::int32_t>(low32(arguments[2]))});
  }
  return model::answer(theHost.game, call.hash, arguments, nameOf(call).data());
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

std::string hashedName(std::uint32_t hash) {
  const auto named = theHost.hashedNames.find(hash);
  return named != theHost.hashedNames.end() ? named->second : model::hex32(hash);
}

std::string describe(const NativeCallRecord& call) {
  const model::HashWords words = [](std::uint32_t hash) {
    const auto named = theHost.hashedNames.find(hash);
    return named != theHost.hashedNames.end() ? named->second : std::string();
  };
  return model::describeCall(call.hash, call.slots.data(), call.slots.size(), nameOf(call), words);
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
  const bool sound = sashcaster::model::checkArguments(call.hash, call.slots.data(),
                                                       call.slots.size(), theHost.protocolErrors);
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

std::uint32_t hostTickCount() {
  ++sashcaster::fake::theClock.reads;
  return sashcaster::fake::theClock.now;
}
}

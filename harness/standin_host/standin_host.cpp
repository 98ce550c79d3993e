// A script hook of our own for running the real plug-in without the game: it
// exports the eight host functions under the script hook's decorated names,
// runs the registered script in a fiber of its own, answers natives as the
// scenario's fake game, and reports every breach of the calling protocol and
// every bad handle the plug-in passes its file calls, counts the files it
// leaves open and the exceptions raised in its turns.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "fake_host/native_call.h"
#include "host/host_interface.h"
#include "standin_control.h"
#include "standin_host/handle_watch.h"
#include "standin_host/import_table.h"
#include "standin_host/turn_exceptions.h"

namespace {

namespace model = sashcaster::model;
namespace standin = sashcaster::standin;
using model::hex64;

using sashcaster::KeyboardCallback;
using sashcaster::ScriptEntry;

struct Script {
  HMODULE module;
  ScriptEntry entry;
  LPVOID fiber;
  bool returned;
};

struct Host {
  std::vector<std::unique_ptr<Script>> scripts;  // each fiber keeps its Script's address
  std::vector<KeyboardCallback> keyboardCallbacks;
  std::vector<StandInHostEvent> events;
  std::vector<StandInNative> natives;
  std::vector<std::string> breaches;
  std::vector<std::string> watchedImports;  // of the module that registered last
  model::GameState game;
  // Read by the plug-in's keyboard callback too, from the sender's thread.
  std::atomic<std::uint32_t> clock = 0;
  std::atomic<std::uint64_t> clockReads = 0;
  bool clockPatched = false;

  LPVOID driverFiber = nullptr;
  Script* running = nullptr;  // the script whose fiber runs now
  bool waited = false;
  std::uint32_t lastWait = 0;

  bool callOpen = false;
  StandInNative pending{};
  std::uint64_t resultSlot = 0;
};

Host host;

void breach(const std::string& text) {
  host.breaches.push_back(text);
}

DWORD WINAPI scenarioTickCount() {
  host.clockReads.fetch_add(1, std::memory_order_relaxed);
  return host.clock.load(std::memory_order_relaxed);
}

// Points the module's import of `function` from `dll` at `replacement`.
// Returns whether an entry was patched.
bool patchImport(HMODULE module, const char* dll, const char* function, const void* replacement) {
  bool patched = false;
  bool failed = false;
  standin::forEachImport(module, [&](const standin::ImportSlot& import) {
    if (_stricmp(import.library, dll) == 0 && std::strcmp(import.function, function) == 0) {
      if (standin::redirectSlot(import, replacement)) {
        patched = true;
      } else {
        failed = true;
      }
    }
  });
  return patched && !failed;
}

bool readable(const void* address) {
  MEMORY_BASIC_INFORMATION region{};
  if (VirtualQuery(address, &region, sizeof region) == 0 || region.State != MEM_COMMIT) {
    return false;
  }
  constexpr DWORD readableProtections = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY |
                                        PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                                        PAGE_EXECUTE_WRITECOPY;
  return (region.Protect & readableProtections) != 0 && (region.Protect & PAGE_GUARD) == 0;
}

// Copies the NUL-terminated text at `slot` into `name`; false when the address
// is unreadable or no NUL comes within the name's room.
bool readName(std::uint64_t slot, char (&name)[standInMaxName]) {
  const auto* text = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(slot));
  for (std::uint32_t i = 0; i < standInMaxName; ++i) {
    // Checked per byte: the text may run over a page boundary.
    if (!readable(text + i)) {
      return false;
    }
    name[i] = text[i];
    if (text[i] == '\0') {
      return true;
    }
  }
  name[standInMaxName - 1] = '\0';
  return false;
}

// GetCurrentFiber reads the thread block through gs, which GCC 12 takes for an
// out-of-bounds read of a zero-sized array.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
[[gnu::noinline]] LPVOID currentFiber() {
  return GetCurrentFiber();
}
#pragma GCC diagnostic pop

bool inScriptFiber() {
  return host.running != nullptr && IsThreadAFiber() != FALSE &&
         currentFiber() == host.running->fiber;
}

void checkScriptContext(const char* function) {
  if (!inScriptFiber()) {
    breach(std::string(function) + " called outside the script's fiber");
  }
}

// Checks a finished call against the catalogue and answers it.
std::uint32_t answerCall(StandInNative& call) {
  if (!model::checkArguments(call.hash, call.slots, call.slotCount, host.breaches)) {
    return 0;
  }
  const model::NativeInfo& info = *model::findNative(call.hash);  // known: checked above
  if (info.takesName && !readName(call.slots[0], call.name)) {
    breach(std::string(info.name) + " given " + hex64(call.slots[0]) +
           ", not the address of NUL-terminated text");
    return 0;
  }
  std::uint64_t arguments[standInMaxSlots] = {};
  std::memcpy(arguments, call.slots, sizeof arguments);
  return model::answer(host.game, call.hash, arguments, call.name);
}

void WINAPI scriptFiberMain(LPVOID parameter) {
  auto* script = static_cast<Script*>(parameter);
  script->entry();
  // A script entry must never return; if it does, its fiber stays parked.
  script->returned = true;
  for (;;) {
    SwitchToFiber(host.driverFiber);
  }
}

void addEvent(std::uint32_t kind, void* module, void* function) {
  host.events.push_back({kind, GetCurrentThreadId(), module, function});
}

void* asPointer(KeyboardCallback callback) {
  return reinterpret_cast<void*>(callback);
}

}  // namespace

// The eight host functions, exported under the script hook's decorated names.
extern "C" {

void standInScriptRegister(HMODULE module, ScriptEntry entry) {
  addEvent(standInScriptRegistered, module, reinterpret_cast<void*>(entry));
  host.scripts.push_back(std::make_unique<Script>(Script{module, entry, nullptr, false}));
  host.clockPatched = patchImport(module, "KERNEL32.dll", "GetTickCount",
                                  reinterpret_cast<const void*>(&scenarioTickCount));
  if (!host.clockPatched) {
    breach("cannot redirect the GetTickCount import of the registering module");
  }
  host.watchedImports = standin::watchFileImports(module, &breach);
}

void standInScriptUnregister(HMODULE module) {
  addEvent(standInScriptUnregistered, module, nullptr);
  for (auto script = host.scripts.begin(); script != host.scripts.end(); ++script) {
    if ((*script)->module == module) {
      if ((*script)->fiber == currentFiber()) {
        breach("scriptUnregister from inside the script being withdrawn");
        return;
      }
      if ((*script)->fiber != nullptr) {
        DeleteFiber((*script)->fiber);
      }
      host.scripts.erase(script);
      return;
    }
  }
  breach("scriptUnregister for a module that registered no script");
}

void standInKeyboardHandlerRegister(KeyboardCallback callback) {
  addEvent(standInKeyboardRegistered, nullptr, asPointer(callback));
  host.keyboardCallbacks.push_back(callback);
}

void standInKeyboardHandlerUnregister(KeyboardCallback callback) {
  addEvent(standInKeyboardUnregistered, nullptr, asPointer(callback));
  for (auto known = host.keyboardCallbacks.begin(); known != host.keyboardCallbacks.end();
       ++known) {
    if (*known == callback) {
      host.keyboardCallbacks.erase(known);
      return;
    }
  }
  breach("keyboardHandlerUnregister for a callback that was never registered");
}

void standInScriptWait(std::uint32_t milliseconds) {
  if (!inScriptFiber()) {
    breach("scriptWait called outside the script's fiber");
    return;
  }
  if (host.callOpen) {
    breach("scriptWait while a native call is open");
  }
  host.waited = true;
  host.lastWait = milliseconds;
  SwitchToFiber(host.driverFiber);
}

void standInNativeInit(std::uint64_t hash) {
  checkScriptContext("nativeInit");
  if (host.callOpen) {
    breach("nativeInit while the call of " + hex64(host.pending.hash) + " is open");
  }
  host.callOpen = true;
  host.pending = StandInNative{};
  host.pending.hash = hash;
}

void standInNativePush64(std::uint64_t slot) {
  checkScriptContext("nativePush64");
  if (!host.callOpen) {
    breach("nativePush64 without nativeInit");
    return;
  }
  if (host.pending.slotCount < standInMaxSlots) {
    host.pending.slots[host.pending.slotCount] = slot;
  }
  ++host.pending.slotCount;
}

std::uint64_t* standInNativeCall() {
  checkScriptContext("nativeCall");
  if (!host.callOpen) {
    breach("nativeCall without nativeInit");
    host.resultSlot = model::resultHighBits;
    return &host.resultSlot;
  }
  host.callOpen = false;
  StandInNative call = host.pending;
  call.resultSlot = model::resultHighBits | answerCall(call);
  host.resultSlot = call.resultSlot;
  host.natives.push_back(call);
  return &host.resultSlot;
}

// Each of the eight takes exactly what the plug-in passes to the function it
// stands in for.
static_assert(std::is_same_v<decltype(&standInScriptRegister), decltype(&scriptRegister)>);
static_assert(std::is_same_v<decltype(&standInScriptUnregister), decltype(&scriptUnregister)>);
static_assert(
    std::is_same_v<decltype(&standInKeyboardHandlerRegister), decltype(&keyboardHandlerRegister)>);
static_assert(std::is_same_v<decltype(&standInKeyboardHandlerUnregister),
                             decltype(&keyboardHandlerUnregister)>);
static_assert(std::is_same_v<decltype(&standInScriptWait), decltype(&scriptWait)>);
static_assert(std::is_same_v<decltype(&standInNativeInit), decltype(&nativeInit)>);
static_assert(std::is_same_v<decltype(&standInNativePush64), decltype(&nativePush64)>);
static_assert(std::is_same_v<decltype(&standInNativeCall), decltype(&nativeCall)>);

// Control functions.

void standInSetClock(std::uint32_t now) {
  host.clock.store(now, std::memory_order_relaxed);
}
std::uint64_t standInClockReads() {
  return host.clockReads.load(std::memory_order_relaxed);
}
bool standInClockPatched() {
  return host.clockPatched;
}

void standInSetGame(const model::GameState* game) {
  host.game = *game;
}

bool standInRunTurn() {
  if (IsThreadAFiber() == FALSE) {
    ConvertThreadToFiber(nullptr);
  }
  host.driverFiber = currentFiber();
  bool sound = !host.scripts.empty();
  // By index: a script may unregister another while it runs.
  for (std::size_t i = 0; i < host.scripts.size(); ++i) {
    Script& script = *host.scripts[i];
    if (script.returned) {
      sound = false;
      continue;
    }
    if (script.fiber == nullptr) {
      script.fiber = CreateFiber(0, &scriptFiberMain, &script);
    }
    host.running = &script;
    host.waited = false;
    standin::turnStarts(script.fiber);
    SwitchToFiber(script.fiber);
    standin::turnEnds();
    host.running = nullptr;
    if (script.returned) {
      breach("the script entry returned to the host");
      sound = false;
    } else if (!host.waited || host.lastWait != 0) {
      sound = false;
    }
  }
  return sound;
}

void standInSendKey(std::uint32_t key, bool up) {
  const std::vector<KeyboardCallback> callbacks = host.keyboardCallbacks;
  for (KeyboardCallback callback : callbacks) {
    callback(key, 1, 0, 0, 0, up ? 1 : 0, up ? 1 : 0);
  }
}

// No copy of the list: it is fixed once the plug-in has loaded, and this may
// run on a thread of its own while a turn runs.
void standInSendKeyEvent(const StandInKeyEvent* event) {
  for (KeyboardCallback callback : host.keyboardCallbacks) {
    callback(event->key, event->repeats, event->scanCode, event->extended, event->withAlt,
             event->wasDown, event->up);
  }
}

std::uint32_t standInNativeCount() {
  return static_cast<std::uint32_t>(host.natives.size());
}

bool standInNative(std::uint32_t index, StandInNative* call) {
  if (index >= host.natives.size()) {
    return false;
  }
  *call = host.natives[index];
  return true;
}

void standInClearNatives() {
  host.natives.clear();
}

std::uint32_t standInBreachCount() {
  return static_cast<std::uint32_t>(host.breaches.size());
}

bool standInBreach(std::uint32_t index, char* text, std::uint32_t size) {
  if (index >= host.breaches.size() || size == 0) {
    return false;
  }
  std::snprintf(text, size, "%s", host.breaches[index].c_str());
  return true;
}

void standInClearBreaches() {
  host.breaches.clear();
}

std::uint32_t standInEventCount() {
  return static_cast<std::uint32_t>(host.events.size());
}

bool standInEvent(std::uint32_t index, StandInHostEvent* event) {
  if (index >= host.events.size()) {
    return false;
  }
  *event = host.events[index];
  return true;
}

std::uint32_t standInWatchedImportCount() {
  return static_cast<std::uint32_t>(host.watchedImports.size());
}

bool standInWatchedImport(std::uint32_t index, char* text, std::uint32_t size) {
  if (index >= host.watchedImports.size() || size == 0) {
    return false;
  }
  std::snprintf(text, size, "%s", host.watchedImports[index].c_str());
  return true;
}

std::uint64_t standInWatchedCalls() {
  return standin::watchedCalls();
}

std::uint32_t standInFilesLeftOpen() {
  return standin::filesLeftOpen();
}

std::uint32_t standInTurnExceptionCount() {
  return standin::turnExceptionCount();
}

bool standInTurnException(std::uint32_t index, StandInException* exception) {
  return standin::turnException(index, &exception->code, &exception->address);
}

void standInClearTurnExceptions() {
  standin::clearTurnExceptions();
}
}

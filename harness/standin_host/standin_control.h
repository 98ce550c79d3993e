// The stand-in script hook's own functions, for the programs that drive it:
// they set the scenario's clock and game, run the registered script turn by
// turn, send key events, and read back what the host saw.
#pragma once

#include <cstdint>

#include "fake_host/game_model.h"

inline constexpr std::uint32_t standInMaxSlots = 8;
inline constexpr std::uint32_t standInMaxName = 128;

extern "C" {

// One native call as the host received it.
struct StandInNative {
  std::uint64_t hash;
  std::uint32_t slotCount;  // as pushed; only the first standInMaxSlots are kept
  std::uint64_t slots[standInMaxSlots];
  char name[standInMaxName];  // hashOfName's text, when its address was readable
  std::uint64_t resultSlot;
};

enum StandInEventKind : std::uint32_t {
  standInScriptRegistered = 1,
  standInScriptUnregistered = 2,
  standInKeyboardRegistered = 3,
  standInKeyboardUnregistered = 4,
};

// One registration call: the module handle and the function it was given,
// and the thread it came from.
struct StandInHostEvent {
  std::uint32_t kind;
  std::uint32_t threadId;
  void* module;
  void* function;
};

// The clock the plug-in reads through its GetTickCount import.
void standInSetClock(std::uint32_t now);
std::uint64_t standInClockReads();
// Whether the registered plug-in's GetTickCount import now reads that clock.
bool standInClockPatched();

void standInSetGame(const sashcaster::model::GameState* game);

// Runs every registered script up to its next scriptWait. False when no
// script ran, or when one returned or yielded with a wait other than 0.
bool standInRunTurn();

// A key event through every registered keyboard callback, as the host sends
// them: code, repeat count 1, scan code 0, not extended, not with Alt, the
// previous state, and whether the key went up.
void standInSendKey(std::uint32_t key, bool up);

// A key event with every argument the host's callback takes.
struct StandInKeyEvent {
  std::uint32_t key;
  std::uint16_t repeats;
  std::uint8_t scanCode;
  std::int32_t extended;
  std::int32_t withAlt;
  std::int32_t wasDown;
  std::int32_t up;
};

// The same through every registered callback, safe from another thread
// while a turn runs once the plug-in has loaded.
void standInSendKeyEvent(const StandInKeyEvent* event);

std::uint32_t standInNativeCount();
bool standInNative(std::uint32_t index, StandInNative* call);
void standInClearNatives();

// Breaches of the calling protocol, in words.
std::uint32_t standInBreachCount();
bool standInBreach(std::uint32_t index, char* text, std::uint32_t size);
void standInClearBreaches();

std::uint32_t standInEventCount();
bool standInEvent(std::uint32_t index, StandInHostEvent* event);

// The plug-in's file calls, the imports that the allow-list
// tests/windows/plugin_system_imports.txt marks "watch", are pointed at
// wrappers that report a null, invalid or closed handle as a breach. These
// are the imports so pointed in the module that registered last, as
// "library!function".
std::uint32_t standInWatchedImportCount();
bool standInWatchedImport(std::uint32_t index, char* text, std::uint32_t size);
// Calls through those wrappers so far.
std::uint64_t standInWatchedCalls();
// Files the plug-in opened through them and has not closed.
std::uint32_t standInFilesLeftOpen();

// A first-chance exception raised on the script's fiber while a turn ran.
struct StandInException {
  std::uint32_t code;
  void* address;
};

// Every one is counted; only the first 64 are kept.
std::uint32_t standInTurnExceptionCount();
bool standInTurnException(std::uint32_t index, StandInException* exception);
void standInClearTurnExceptions();
}

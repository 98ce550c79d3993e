// What the soak's three threads share: the turn count that paces the key and
// file storms, their tallies, and the keys the settings file holds now.
#pragma once

#include <atomic>
#include <cstdint>

#include "config/settings.h"

namespace sashcaster::soak {

struct Storm {
  std::atomic<bool> stop = false;
  std::atomic<std::uint64_t> turns = 0;
  std::atomic<std::uint64_t> keyEvents = 0;
  std::atomic<std::uint64_t> fileEdits = 0;
  // Renames and deletes of the settings file that were refused, and the turn
  // and Windows error of the first: the plug-in shares the file with them.
  std::atomic<std::uint64_t> refusedFileMoves = 0;
  std::atomic<std::uint64_t> firstRefusalTurn = 0;
  std::atomic<std::uint32_t> firstRefusalError = 0;
  // Set once the file storm has written every kind of file at least once.
  std::atomic<bool> everyKindWritten = false;
  // The five keys of the last readable file, in the order the load reads them;
  // the key storm sends them more often than other codes.
  std::atomic<std::uint32_t> keys[5] = {Settings{}.iXKey, Settings{}.iWindowThrowFront,
                                        Settings{}.iWindowThrowLeft, Settings{}.iWindowThrowRight,
                                        Settings{}.iWindowThrowBack};
  std::uint64_t seed = 1;
};

// Thread bodies; the parameter is the Storm. Each runs until `stop`.
unsigned long __stdcall keyStorm(void* storm);
unsigned long __stdcall fileStorm(void* storm);

}  // namespace sashcaster::soak

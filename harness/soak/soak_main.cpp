// sashcaster-soak: the real Sashcaster.asi under the stand-in script hook
// (run it with wine on Linux) for many turns, while one thread storms the
// keyboard callback and another rewrites the settings file, with the game's
// grapple style and controls changing at random. Every turn is checked; the
// private memory after the first 1 % of the turns must match the end's.
// Usage: sashcaster-soak PLUGIN TURNS [SEED]
#include <windows.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "scratch_folder/scratch_folder.h"
#include "soak/final_check.h"
#include "soak/private_memory.h"
#include "soak/storm.h"
#include "soak/turn_checks.h"
#include "standin_host/standin_control.h"
#include "standin_host/standin_load.h"
#include "throw/throw_loop.h"

namespace {

using namespace sashcaster::soak;
namespace model = sashcaster::model;

std::atomic<std::uint64_t> turnNow = 0;

// An exception leaving the loop ends in std::terminate and abort: say so.
void onAbort(int /*signal*/) {
  std::fprintf(stderr,
               "soak: fault at turn %llu: the process aborted (an exception left the loop?)\n",
               static_cast<unsigned long long>(turnNow.load()));
  std::fflush(stderr);
  std::_Exit(1);
}

constexpr std::uint32_t controlHashes[] = {
    sashcaster::controlFrontHold, sashcaster::controlThrowTrigger, sashcaster::controlThrowLeft,
    sashcaster::controlThrowRight, sashcaster::controlThrowBack};

void addAtRandom(model::ControlSet& set, std::uint32_t control, std::mt19937_64& random,
                 std::uint64_t oneIn) {
  if (random() % oneIn == 0) {
    set.hashes[set.count++] = control;
  }
}

// Face to face three times in four, else some other style; controls at random.
model::GameState randomGame(std::mt19937_64& random) {
  model::GameState game{};
  game.grappleStyle = random() % 4 != 0 ? model::nameHash(model::faceToFaceStyleName)
                                        : static_cast<std::uint32_t>(random());
  for (const std::uint32_t control : controlHashes) {
    addAtRandom(game.pressed, control, random, 3);
    addAtRandom(game.justReleased, control, random, 4);
    addAtRandom(game.disabledPressed, control, random, 5);
  }
  return game;
}

struct Run {
  std::uint64_t turns = 0;
  std::uint64_t throws = 0;
  std::uint64_t startKiB = 0;
  std::uint64_t endKiB = 0;
  std::uint32_t clock = 0;
  Faults faults;
};

// The storm's turns. The start figure is taken after the first 1 % of them,
// or later when the file storm's first round (every kind of file once) has
// not yet ended, so that the heap has met every kind before it is taken.
void runStormTurns(Run& run, Storm& storm) {
  std::mt19937_64 random(storm.seed);
  const std::uint64_t startAt = std::max<std::uint64_t>(1, run.turns / 100);
  for (std::uint64_t turn = 1; turn <= run.turns; ++turn) {
    turnNow.store(turn);
    standInSetClock(run.clock += 1 + static_cast<std::uint32_t>(random() % 32));
    if (random() % 16 == 0) {
      const model::GameState game = randomGame(random);
      standInSetGame(&game);
    }
    run.throws += checkedTurn(turn, run.faults).size();
    storm.turns.store(turn);
    if (run.startKiB == 0 && turn >= startAt && storm.everyKindWritten.load()) {
      run.startKiB = privateKiB();
    }
  }
  run.endKiB = privateKiB();
}

HMODULE loadPlugin(const std::filesystem::path& plugin, Faults& faults) {
  const HMODULE module = loadUnderStandIn(plugin);
  if (module == nullptr) {
    std::fprintf(stderr, "sashcaster-soak: cannot load %s under the stand-in host\n",
                 plugin.string().c_str());
    return nullptr;
  }
  takeBreaches(0, "while loading", faults);
  return module;
}

// Both storms on threads of their own for the storm's turns, then stopped.
void stormAndStop(Run& run, Storm& storm) {
  HANDLE threads[] = {CreateThread(nullptr, 0, keyStorm, &storm, 0, nullptr),
                      CreateThread(nullptr, 0, fileStorm, &storm, 0, nullptr)};
  runStormTurns(run, storm);
  storm.stop.store(true);
  WaitForMultipleObjects(2, threads, TRUE, INFINITE);
  for (const HANDLE thread : threads) {
    CloseHandle(thread);
  }
}

bool memoryFlat(const Run& run) {
  const std::uint64_t allowed = run.startKiB / 100 + 256;
  const std::uint64_t change =
      run.endKiB > run.startKiB ? run.endKiB - run.startKiB : run.startKiB - run.endKiB;
  return change <= allowed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || std::strtoull(argv[2], nullptr, 10) == 0) {
    std::fprintf(stderr, "usage: sashcaster-soak PLUGIN TURNS [SEED]\n");
    return 2;
  }
  std::signal(SIGABRT, onAbort);
  const std::filesystem::path plugin = std::filesystem::absolute(argv[1]);
  Run run;
  run.turns = std::strtoull(argv[2], nullptr, 10);
  // The clock wraps past 2^32 some 250,000 turns in.
  run.clock = 0xFFFFFFFFU - 4000000U;
  Storm storm;
  storm.seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 20261208;
  if (!privateFigureIsReal()) {
    fault(run.faults, 0, "the private memory figure does not follow a 16 MiB commit");
  }
  sashcaster::fake::ScratchFolder scratch;
  std::string error;
  if (!scratch.make("sashcaster-soak", error) || !scratch.enter(error)) {
    std::fprintf(stderr, "sashcaster-soak: %s\n", error.c_str());
    return 2;
  }
  const HMODULE module = loadPlugin(plugin, run.faults);
  if (module == nullptr) {
    return 2;
  }
  stormAndStop(run, storm);
  if (const std::uint64_t refused = storm.refusedFileMoves.load(); refused != 0) {
    fault(run.faults, storm.firstRefusalTurn.load(),
          std::to_string(refused) +
              " rename(s) or delete(s) of the settings file refused, the first with Windows "
              "error " +
              std::to_string(storm.firstRefusalError.load()));
    run.faults.count += refused - 1;  // each refusal is a fault of its own
  }
  if (run.startKiB == 0) {
    fault(run.faults, run.turns,
          "no start figure: the file storm wrote not every kind of file "
          "within the run; give it more turns");
  }
  if (run.throws == 0) {
    fault(run.faults, run.turns, "no throw in the whole storm: it tested nothing");
  }
  checkGesturesOnKnownFile(run.clock, run.turns + 1, run.faults);
  FreeLibrary(module);
  takeBreaches(run.turns, "while unloading", run.faults);
  scratch.leave();
  std::printf("soak: %llu throws requested during the storm\n",
              static_cast<unsigned long long>(run.throws));
  std::printf(
      "soak: %llu turns, %llu key events, %llu file edits, %llu faults, memory %llu KiB -> "
      "%llu KiB\n",
      static_cast<unsigned long long>(run.turns),
      static_cast<unsigned long long>(storm.keyEvents.load()),
      static_cast<unsigned long long>(storm.fileEdits.load()),
      static_cast<unsigned long long>(run.faults.count),
      static_cast<unsigned long long>(run.startKiB), static_cast<unsigned long long>(run.endKiB));
  return run.faults.count == 0 && memoryFlat(run) ? 0 : 1;
}

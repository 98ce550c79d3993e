// Plays a scenario on a host and prints its trace. The host is reached
// through a runner: the Linux simulator drives the portable core on the fake
// host, the Windows driver drives the real plug-in on the stand-in host.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "fake_host/game_model.h"
#include "scenario.h"

namespace sashcaster::scenario {

// One finished native call as the host saw it.
struct NativeCall {
  std::uint64_t hash = 0;
  std::vector<std::uint64_t> slots;
  std::string name;  // the text at the address hashOfName was given
  std::uint64_t resultSlot = 0;
};

struct TurnResult {
  std::vector<NativeCall> natives;
  std::vector<std::string> breaches;  // calling-protocol faults the host saw
  bool endedWithWait = false;         // the turn ended in scriptWait(0)
};

struct Runner {
  std::function<void(std::uint32_t now)> setClock;
  std::function<void(std::uint32_t key, bool up)> sendKey;
  std::function<void(const model::GameState& game)> setGame;
  std::function<TurnResult()> runTurn;
};

struct PlayOptions {
  bool showNatives = false;  // every native call of every turn in the trace
};

struct PlayOutcome {
  std::size_t turns = 0;
  std::size_t expectations = 0;
  std::size_t failures = 0;  // unmet expectations, protocol breaches, turns without a wait
};

// The settings file the plug-in reads, in the current directory.
inline constexpr char settingsFileName[] = "Sashcaster.ini";

PlayOutcome play(const Scenario& scenario, const Runner& runner, std::ostream& out,
                 const PlayOptions& options);

// Names given to hashOfName, by their hashes.
using HashedNames = std::map<std::uint32_t, std::string>;

// A readable line for a native call, with its hashes named as the trace
// names them, such as
// controlPressed(0, INPUT_SPECIAL_ABILITY_ACTION (RB)) = 0x00000001; `style`
// is the grapple style the player is in; a hash of none of the game's names
// is named by `hashed`, when it holds it.
std::string describeNative(const NativeCall& call, const std::string& style,
                           const HashedNames* hashed = nullptr);

}  // namespace sashcaster::scenario

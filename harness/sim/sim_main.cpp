// sashcaster-sim: plays a scenario against the plug-in's portable core on the
// fake host, with the settings file read from a scratch directory.
#include <iostream>

#include "fake_host/fake_host.h"
#include "host/key_state_table.h"
#include "scenario/command_line.h"
#include "scenario/player.h"
#include "throw/throw_loop.h"

namespace {

using namespace sashcaster;

scenario::TurnResult runTurn() {
  fake::FakeHost& host = fake::host();
  host.calls.clear();
  host.natives.clear();
  host.protocolErrors.clear();
  throwTurn();

  scenario::TurnResult result;
  for (const fake::NativeCallRecord& record : host.natives) {
    scenario::NativeCall call{record.hash, record.slots, "", record.resultSlot};
    if (record.hash == model::hashOfNameHash && record.slots.size() == 1) {
      call.name = reinterpret_cast<const char*>(record.slots[0]);
    }
    result.natives.push_back(call);
  }
  result.breaches = host.protocolErrors;
  result.endedWithWait = !host.calls.empty() &&
                         host.calls.back().kind == fake::CallKind::ScriptWait &&
                         host.calls.back().value == 0;
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  scenario::CommandLine line;
  scenario::Scenario played;
  scenario::ScratchDirectory directory;
  if (!scenario::prepareRun(argc, argv, "sashcaster-sim", false, line, played, directory)) {
    return line.help ? 0 : 2;
  }

  fake::resetHost();
  const scenario::Runner runner{
      [](std::uint32_t now) { fake::clock().now = now; },
      [](std::uint32_t key, bool up) { up ? fake::releaseKey(key) : fake::pressKey(key); },
      [](const model::GameState& game) { fake::host().game = game; },
      runTurn,
  };
  const scenario::PlayOutcome outcome =
      scenario::play(played, runner, std::cout, {.showNatives = line.showNatives});
  return outcome.failures == 0 ? 0 : 1;
}

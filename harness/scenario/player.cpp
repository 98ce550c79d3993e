#include "player.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "fake_host/native_call.h"

namespace sashcaster::scenario {

namespace {

std::string joined(const std::vector<std::string>& parts, const std::string& separator) {
  std::string text;
  for (const std::string& part : parts) {
    text += (text.empty() ? "" : separator) + part;
  }
  return text;
}

std::string controlList(const std::vector<std::uint32_t>& controls) {
  std::vector<std::string> names;
  names.reserve(controls.size());
  for (std::uint32_t control : controls) {
    names.push_back(controlName(control));
  }
  return names.empty() ? "none" : joined(names, " + ");
}

model::ControlSet toControlSet(const std::vector<std::uint32_t>& controls) {
  model::ControlSet set;
  for (std::uint32_t control : controls) {
    model::add(set, control);
  }
  return set;
}

// What the player is doing, as the trace tells it.
struct PlayerState {
  std::uint32_t start = 1000000;
  std::uint64_t elapsed = 0;
  std::vector<std::uint32_t> held;           // keys down, in the order pressed
  std::vector<std::uint32_t> releasedSince;  // key-ups since the last turn
  std::string style;
  std::vector<std::uint32_t> pressed, justReleased, disabled;
  bool settingsWritten = false;
};

std::string timeStamp(const PlayerState& state) {
  std::string stamp = "t=+" + std::to_string(state.elapsed) + "ms";
  stamp.resize(std::max<std::size_t>(stamp.size(), 11), ' ');
  return stamp;
}

std::string keyList(const std::vector<std::uint32_t>& keys) {
  std::vector<std::string> names;
  names.reserve(keys.size());
  for (std::uint32_t key : keys) {
    names.push_back(keyName(key));
  }
  return joined(names, "+");
}

// "X up while W held, face to face", from what the player is doing.
std::string situation(const PlayerState& state) {
  std::vector<std::string> parts;
  if (!state.releasedSince.empty() && !state.held.empty()) {
    parts.push_back(keyList(state.releasedSince) + " up while " + keyList(state.held) + " held");
  } else if (!state.releasedSince.empty()) {
    parts.push_back(keyList(state.releasedSince) + " up");
  } else if (!state.held.empty()) {
    parts.push_back(keyList(state.held) + " held");
  }
  if (!state.pressed.empty()) {
    parts.push_back("controls " + controlList(state.pressed) + " pressed");
  }
  if (!state.justReleased.empty()) {
    parts.push_back("controls " + controlList(state.justReleased) + " just released");
  }
  if (!state.disabled.empty()) {
    parts.push_back("controls " + controlList(state.disabled) + " disabled-pressed");
  }
  if (parts.empty()) {
    parts.push_back("no input");
  }
  if (state.style.empty()) {
    parts.push_back("no grapple");
  } else if (state.style == model::faceToFaceStyleName) {
    parts.push_back("face to face");
  } else {
    parts.push_back("grapple " + state.style);
  }
  return joined(parts, ", ");
}

void writeSettings(const std::string& text) {
  std::ofstream file(settingsFileName, std::ios::binary | std::ios::trunc);
  file << text;
}

// "1 turn", "2 turns".
std::string counted(std::size_t count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// One play of a scenario: what it is played on and what it has seen so far.
struct Playthrough {
  const Scenario& scenario;
  const Runner& runner;
  std::ostream& out;
  const PlayOptions& options;
  PlayerState state;
  PlayOutcome outcome;
  model::GameState game;
  std::vector<std::uint32_t> lastThrows;  // actions set by the last "turn" line
  HashedNames hashedNames;                // every name the plug-in hashed
};

// An action by the name the plug-in hashed it from, else as the game knows it.
std::string thrownName(const Playthrough& run, std::uint32_t action) {
  const auto named = run.hashedNames.find(action);
  return named != run.hashedNames.end() ? named->second : actionName(action);
}

void recordHashedNames(Playthrough& run, const TurnResult& result) {
  for (const NativeCall& call : result.natives) {
    if (call.hash == model::hashOfNameHash && !call.name.empty()) {
      run.hashedNames.emplace(model::nameHash(call.name), call.name);
    }
  }
}

void failure(Playthrough& run, std::size_t line, const std::string& message) {
  run.out << "FAIL " << run.scenario.file << ":" << line << ": " << message << "\n";
  ++run.outcome.failures;
}

std::uint32_t now(const PlayerState& state) {
  return static_cast<std::uint32_t>(state.start + state.elapsed);
}

void sendGame(Playthrough& run) {
  run.game.pressed = toControlSet(run.state.pressed);
  run.game.justReleased = toControlSet(run.state.justReleased);
  run.game.disabledPressed = toControlSet(run.state.disabled);
  run.runner.setGame(run.game);
}

void applyKey(Playthrough& run, const Event& event) {
  const bool up = event.kind == EventKind::KeyUp;
  std::erase(run.state.held, event.number);
  (up ? run.state.releasedSince : run.state.held).push_back(event.number);
  run.runner.sendKey(event.number, up);
  run.out << timeStamp(run.state) << keyName(event.number) << (up ? " up" : " down") << "\n";
}

void applyStyle(Playthrough& run, const Event& event) {
  run.state.style = event.name;
  run.game.grappleStyle = event.name.empty() ? 0 : model::nameHash(event.name.c_str());
  sendGame(run);
  run.out << timeStamp(run.state) << "grapple style " << (event.name.empty() ? "none" : event.name)
          << "\n";
}

void applyControls(Playthrough& run, const Event& event) {
  const char* what = event.kind == EventKind::Pressed        ? "pressed"
                     : event.kind == EventKind::JustReleased ? "just released"
                                                             : "disabled-pressed";
  (event.kind == EventKind::Pressed        ? run.state.pressed
   : event.kind == EventKind::JustReleased ? run.state.justReleased
                                           : run.state.disabled) = event.values;
  sendGame(run);
  run.out << timeStamp(run.state) << "controls " << what << ": " << controlList(event.values)
          << "\n";
}

void applySettings(Playthrough& run, const Event& event) {
  if (event.kind == EventKind::SettingsWrite) {
    writeSettings(event.text);
    run.out << timeStamp(run.state) << "settings file "
            << (run.state.settingsWritten ? "changed" : "written") << "\n";
    run.state.settingsWritten = true;
    return;
  }
  std::error_code ignored;
  std::filesystem::remove(settingsFileName, ignored);
  run.out << timeStamp(run.state) << "settings file removed\n";
  run.state.settingsWritten = false;
}

// One turn: its line of the trace, its natives when asked for, and its faults.
void playTurn(Playthrough& run, const Event& event) {
  const TurnResult result = run.runner.runTurn();
  ++run.outcome.turns;
  recordHashedNames(run, result);
  std::vector<std::string> actions;
  for (const NativeCall& call : result.natives) {
    if (call.hash == model::setPedGrappleActionHash && call.slots.size() == 2) {
      const auto action = static_cast<std::uint32_t>(call.slots[1]);
      run.lastThrows.push_back(action);
      actions.push_back(thrownName(run, action));
    }
  }
  run.out << timeStamp(run.state) << "turn " << run.outcome.turns << ": " << situation(run.state)
          << " -> " << (actions.empty() ? "no throw" : joined(actions, " + ")) << "\n";
  if (run.options.showNatives) {
    for (const NativeCall& call : result.natives) {
      run.out << "    " << describeNative(call, run.state.style, &run.hashedNames) << "\n";
    }
  }
  for (const std::string& breach : result.breaches) {
    failure(run, event.line, "protocol breach: " + breach);
  }
  if (!result.endedWithWait) {
    failure(run, event.line, "the turn did not end in scriptWait(0)");
  }
  run.state.releasedSince.clear();
}

void checkExpectation(Playthrough& run, const Event& event) {
  ++run.outcome.expectations;
  if (run.lastThrows == event.values) {
    return;
  }
  std::vector<std::string> expected;
  expected.reserve(event.values.size());
  for (std::uint32_t action : event.values) {
    expected.push_back(actionName(action));
  }
  std::vector<std::string> got;
  got.reserve(run.lastThrows.size());
  for (std::uint32_t action : run.lastThrows) {
    got.push_back(thrownName(run, action));
  }
  // The words' meaning is told, so that a reader knows what the names came from.
  const std::string words = expected.empty() ? ""
                                             : " (" + joined(event.valueNames, " ") + ": " +
                                                   model::gameThrowsSource + ")";
  const auto note = run.scenario.failureNotes.find(event.line);
  failure(run, event.line,
          "expected " + (expected.empty() ? "nothing" : joined(expected, " + ")) + words +
              ", got " + (got.empty() ? "no throw" : joined(got, " + ")) +
              (note == run.scenario.failureNotes.end() ? "" : ": " + note->second));
}

void applyEvent(Playthrough& run, const Event& event) {
  switch (event.kind) {
    case EventKind::Start:
      run.state.start = event.number;
      run.runner.setClock(now(run.state));
      break;
    case EventKind::Wait:
      run.state.elapsed += event.number;
      run.runner.setClock(now(run.state));
      break;
    case EventKind::KeyDown:
    case EventKind::KeyUp:
      applyKey(run, event);
      break;
    case EventKind::Style:
      applyStyle(run, event);
      break;
    case EventKind::Pressed:
    case EventKind::JustReleased:
    case EventKind::DisabledPressed:
      applyControls(run, event);
      break;
    case EventKind::SettingsWrite:
    case EventKind::SettingsRemove:
      applySettings(run, event);
      break;
    case EventKind::Turns:
      run.lastThrows.clear();
      for (std::uint32_t i = 0; i < event.number; ++i) {
        playTurn(run, event);
      }
      break;
    case EventKind::Expect:
      checkExpectation(run, event);
      break;
  }
}

}  // namespace

std::string describeNative(const NativeCall& call, const std::string& style,
                           const HashedNames* hashed) {
  const model::HashWords words = [&style, hashed](std::uint32_t hash) {
    if (hashed != nullptr) {
      const auto found = hashed->find(hash);
      if (found != hashed->end()) {
        return found->second;
      }
    }
    return hashName(hash, style);
  };
  return model::describeCall(call.hash, call.slots.data(), call.slots.size(), call.name, words) +
         model::describeResult(call.hash, call.resultSlot, words);
}

PlayOutcome play(const Scenario& scenario, const Runner& runner, std::ostream& out,
                 const PlayOptions& options) {
  Playthrough run{scenario, runner, out, options, {}, {}, {}, {}, {}};
  for (const std::string& line : scenario.preface) {
    out << line << "\n";
  }
  run.runner.setClock(now(run.state));
  sendGame(run);
  for (const Event& event : scenario.events) {
    applyEvent(run, event);
  }
  const PlayOutcome& outcome = run.outcome;
  out << (outcome.failures == 0 ? "passed: " : "FAILED: ") << counted(outcome.turns, "turn") << ", "
      << counted(outcome.expectations, "expectation") << ", "
      << counted(outcome.failures, "failure") << "\n";
  return outcome;
}

}  // namespace sashcaster::scenario

// The scenario player against a scripted runner: what it sends to the host,
// and that every fault a host reports fails the scenario.
#include "scenario/player.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scenario/scenario.h"

namespace sashcaster::scenario {
namespace {

struct ScriptedHost {
  std::vector<std::string> log;
  std::vector<TurnResult> turns;  // answered in order; then empty turns
  std::size_t nextTurn = 0;

  Runner runner() {
    return {
        [this](std::uint32_t now) { log.push_back("clock " + std::to_string(now)); },
        [this](std::uint32_t key, bool up) {
          log.push_back("key " + std::to_string(key) + (up ? " up" : " down"));
        },
        [this](const model::GameState& game) {
          log.push_back("game " + std::to_string(game.grappleStyle) + " " +
                        std::to_string(game.pressed.count));
        },
        [this] {
          log.push_back("turn");
          return nextTurn < turns.size() ? turns[nextTurn++] : TurnResult{{}, {}, true};
        },
    };
  }
};

Scenario parsed(const std::string& text) {
  Scenario scenario;
  ParseError error;
  EXPECT_TRUE(parseScenario("test.scenario", text, scenario, error)) << error.describe();
  return scenario;
}

// A turn whose plug-in hashed the action's name and set it, as the real one does.
TurnResult throwing(std::string_view action) {
  const NativeCall hashing{
      model::hashOfNameHash, {0}, std::string(action), model::nameHash(action)};
  const NativeCall setting{
      model::setPedGrappleActionHash, {0x1D0C, model::nameHash(action)}, "", 0};
  return {{hashing, setting}, {}, true};
}

std::string game(std::string_view word) {
  return std::string(model::gameThrowAction(word));
}

const std::string faceToFace = model::faceToFaceStyleName;

TEST(ScenarioPlayer, SendsClockKeysAndGameInScenarioOrder) {
  ScriptedHost host;
  std::ostringstream out;
  play(parsed("start 100\nstyle " + faceToFace +
              "\ndown w\nwait 5\nup 0x58\npressed trigger left\nturn\n"),
       host.runner(), out, {});
  const std::string face = std::to_string(model::nameHash(faceToFace));
  EXPECT_EQ(host.log, (std::vector<std::string>{"clock 1000000", "game 0 0", "clock 100",
                                                "game " + face + " 0", "key 87 down", "clock 105",
                                                "key 88 up", "game " + face + " 2", "turn"}));
}

TEST(ScenarioPlayer, MetExpectationsPass) {
  ScriptedHost host;
  host.turns = {throwing(game("front")), {{}, {}, true}, throwing(game("back"))};
  std::ostringstream out;
  const PlayOutcome outcome =
      play(parsed("turn\nexpect front\nturn\nexpect nothing\nturn\nexpect back\n"), host.runner(),
           out, {});
  EXPECT_EQ(outcome.failures, 0U) << out.str();
  EXPECT_EQ(outcome.turns, 3U);
  EXPECT_EQ(outcome.expectations, 3U);
}

// Each of these must fail the run, with the scenario line in the message.
TEST(ScenarioPlayer, EveryFaultFailsTheRun) {
  struct Case {
    const char* name;
    TurnResult turn;
    const char* text;
    std::string message;
  };
  const std::string words = std::string(": ") + model::gameThrowsSource + "), got ";
  const Case cases[] = {
      {"wrong throw", throwing(game("left")), "turn\nexpect right\n",
       "test.scenario:2: expected " + game("right") + " (right" + words + game("left")},
      {"throw by a name the game does not have", throwing(game("front") + "_RIGHT"),
       "turn\nexpect front\n",
       "test.scenario:2: expected " + game("front") + " (front" + words + game("front") + "_RIGHT"},
      {"missing throw",
       {{}, {}, true},
       "turn\nexpect front\n",
       "test.scenario:2: expected " + game("front") + " (front" + words + "no throw"},
      {"unwanted throw", throwing(game("front")), "turn\nexpect nothing\n",
       "test.scenario:2: expected nothing, got " + game("front")},
      {"protocol breach",
       {{}, {"nativeInit while a call is open"}, true},
       "\nturn\n",
       "test.scenario:2: protocol breach: nativeInit while a call is open"},
      {"no wait",
       {{}, {}, false},
       "turn\n",
       "test.scenario:1: the turn did not end in scriptWait(0)"},
  };
  for (const Case& c : cases) {
    ScriptedHost host;
    host.turns = {c.turn};
    std::ostringstream out;
    const PlayOutcome outcome = play(parsed(c.text), host.runner(), out, {});
    EXPECT_EQ(outcome.failures, 1U) << c.name;
    EXPECT_NE(out.str().find("FAIL " + c.message), std::string::npos) << c.name << ":\n"
                                                                      << out.str();
    EXPECT_NE(out.str().find("FAILED: "), std::string::npos) << c.name;
    EXPECT_NE(out.str().find(", 1 failure\n"), std::string::npos) << c.name << ": singular count";
  }
}

TEST(ScenarioPlayer, ExpectationCoversEveryTurnOfItsTurnLine) {
  ScriptedHost host;
  host.turns = {throwing(game("left")), {{}, {}, true}, throwing(game("left"))};
  std::ostringstream out;
  EXPECT_EQ(play(parsed("turn 3\nexpect left left\n"), host.runner(), out, {}).failures, 0U)
      << out.str();
}

TEST(ScenarioParser, ControlsByWordGameNameInAnyCaseOrHash) {
  const Scenario scenario = parsed(
      "pressed trigger input_frontend_nav_left INPUT_Frontend_Nav_Right 0x78114AB3\n"
      "released front-hold\n");
  ASSERT_EQ(scenario.events.size(), 2U);
  EXPECT_EQ(scenario.events[0].values,
            (std::vector<std::uint32_t>{0x1ECA87D4, 0x877F1027, 0x08BD758C, 0x78114AB3}));
  EXPECT_EQ(scenario.events[1].values, (std::vector<std::uint32_t>{0x8CFFE0A1}));
}

// Controls appear by the game's name and the pad's button, in the trace and
// in the native calls; a control outside the game's table says it is one.
TEST(ScenarioPlayer, TraceNamesControlsAndButtonsNeverBareHashes) {
  ScriptedHost host;
  const NativeCall query{model::controlPressedHash, {0, 0x877F1027}, "", 1};
  const NativeCall style{model::pedGrappleStyleHash, {0x1D0C}, "", model::nameHash(faceToFace)};
  host.turns = {{{query, style}, {}, true}};
  std::ostringstream out;
  play(parsed("style " + faceToFace + "\npressed trigger left 0x0000ABCD\nturn\n"), host.runner(),
       out, {.showNatives = true});
  const std::string trace = out.str();
  for (const std::string& words :
       {std::string("controls pressed: INPUT_SPECIAL_ABILITY_ACTION (RB) + INPUT_FRONTEND_NAV_LEFT "
                    "(D-pad left) + control 0x0000ABCD\n"),
        std::string("controlPressed(0, INPUT_FRONTEND_NAV_LEFT (D-pad left)) = 0x00000001\n"),
        "pedGrappleStyle(7436) = " + faceToFace + "\n"}) {
    EXPECT_NE(trace.find(words), std::string::npos) << words << " in\n" << trace;
  }
  for (const char* hash : {"0x1ECA87D4", "0x877F1027"}) {
    EXPECT_EQ(trace.find(hash), std::string::npos) << hash << " in\n" << trace;
  }
}

TEST(ScenarioParser, SettingsBlockKeepsItsLinesWithCrlf) {
  const Scenario scenario = parsed("settings\n[Sashcaster]\n  iXKey = 89 ; Y\r\nend\n");
  ASSERT_EQ(scenario.events.size(), 1U);
  EXPECT_EQ(scenario.events[0].text, "[Sashcaster]\r\n  iXKey = 89 ; Y\r\n");
}

// A refused line is named, and so is what was found on it.
TEST(ScenarioParser, NumbersMustFitAndBeWhole) {
  Scenario scenario;
  ParseError error;
  const std::pair<const char*, const char*> cases[] = {
      {"wait 4294967296", "got \"4294967296\""},
      {"wait 12ms", "got \"12ms\""},
      {"wait -1", "got \"-1\""},
      {"down 0x1FFFFFFFF", "got \"0x1FFFFFFFF\""},
      {"down Up", "got \"Up\""},
      {"up", "got \"up\" alone"},
      {"turn 0", "got \"0\""},
      {"style GS FACE", "got \"GS FACE\""},
      {"pressed sideways", "got \"sideways\""},
      {"expect", "got \"expect\" alone"},
  };
  for (const auto& [bad, found] : cases) {
    EXPECT_FALSE(parseScenario("s", std::string("turn\n") + bad, scenario, error)) << bad;
    EXPECT_EQ(error.line, 2U) << bad;
    EXPECT_NE(error.message.find(found), std::string::npos) << bad << ": " << error.message;
  }
  EXPECT_TRUE(parseScenario("s", "wait 4294967295\ndown 0xFFFFFFFF\n", scenario, error));
  EXPECT_EQ(scenario.events[1].number, 0xFFFFFFFFU);
}

}  // namespace
}  // namespace sashcaster::scenario

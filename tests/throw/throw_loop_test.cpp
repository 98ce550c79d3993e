#include "throw/throw_loop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/key_state_table.h"
#include "support/case_name.h"
#include "throw/throw_test_scene.h"

namespace sashcaster::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The built-in keys, and one no default uses.
constexpr std::uint32_t X = Settings{}.iXKey, W = Settings{}.iWindowThrowFront,
                        A = Settings{}.iWindowThrowLeft, D = Settings{}.iWindowThrowRight,
                        S = Settings{}.iWindowThrowBack;
constexpr std::uint32_t Z = 90;
static_assert(Z != X && Z != W && Z != A && Z != D && Z != S);

// --- The turn as a whole ---------------------------------------------------

TEST_F(ThrowScene, IdleTurnRefreshesPedQueriesControlsAndYieldsZero) {
  EXPECT_EQ(turn(), playerPedLine() + idleControllerChecks());
  const fake::HostCall& last = fake::host().calls.back();
  EXPECT_EQ(last.kind, fake::CallKind::ScriptWait);
  EXPECT_EQ(last.value, 0u);
  EXPECT_THAT(fake::host().protocolErrors, IsEmpty());
}

TEST_F(ThrowScene, PlayerPedIsRefreshedEveryTurn) {
  turn();
  game().playerPed = 99;
  game().grappleStyle = fake::nameHash(model::faceToFaceStyleName);
  holdAndTap(W);
  turn();
  ASSERT_EQ(grappleActions().size(), 1u);
  EXPECT_EQ(grappleActions()[0].ped, 99);
  EXPECT_EQ(playerPed, 99);
}

TEST_F(ThrowScene, ThrowLoopRunsTurnAfterTurnEachEndingInAWaitOfZero) {
  fake::stopAfterWaits(3);
  EXPECT_THROW(throwLoop(), fake::LoopStopped);
  const auto waits = fake::callsOf(fake::CallKind::ScriptWait);
  ASSERT_EQ(waits.size(), 4u);
  for (const fake::HostCall& wait : waits) {
    EXPECT_EQ(wait.value, 0u);
  }
  EXPECT_EQ(fake::nativeTrace().size(), 4 * (playerPedLine() + idleControllerChecks()).size());
}

// --- Keyboard checks -------------------------------------------------------

struct KeyboardCase {
  const char* name;
  std::uint32_t direction;
  const char* action;
  friend void PrintTo(const KeyboardCase& c, std::ostream* out) { *out << c.name; }
};

class KeyboardThrowTest : public ThrowScene, public ::testing::WithParamInterface<KeyboardCase> {};

TEST_P(KeyboardThrowTest, HeldDirectionAndTappedTriggerFaceToFaceThrows) {
  holdAndTap(GetParam().direction);
  EXPECT_EQ(turn(), playerPedLine() + faceToFaceTest() + throwRequest(GetParam().action) +
                        idleControllerChecks());
  ASSERT_EQ(fake::host().grappleFlags.size(), 1u);
  EXPECT_EQ(fake::host().grappleFlags[0].flag, 0x8000);
  EXPECT_EQ(fake::host().grappleFlags[0].value, 0);
}

INSTANTIATE_TEST_SUITE_P(Directions, KeyboardThrowTest,
                         // The game's names of the throws, not the plug-in's: a wrong name shows.
                         ::testing::Values(KeyboardCase{"Front", W, model::gameThrows[0].action},
                                           KeyboardCase{"Left", A, model::gameThrows[1].action},
                                           KeyboardCase{"Right", D, model::gameThrows[2].action},
                                           KeyboardCase{"Back", S, model::gameThrows[3].action}),
                         testing::CaseName());

TEST_F(ThrowScene, NotFaceToFaceSpendsTheReleaseAndSetsNoAction) {
  game().grappleStyle = fake::nameHash(model::faceToFaceStyleName) ^ 0x80000000;
  holdAndTap(W);
  EXPECT_EQ(turn(), playerPedLine() + faceToFaceTest() + idleControllerChecks());
  EXPECT_FALSE(keyJustReleased(X));
  game().grappleStyle = fake::nameHash(model::faceToFaceStyleName);
  EXPECT_EQ(turn(), playerPedLine() + idleControllerChecks());
}

TEST_F(ThrowScene, OneReleaseStartsOneThrowEvenOverSeveralTurns) {
  holdAndTap(W);
  turn();
  later(5);
  turn();
  EXPECT_EQ(actionsSet().size(), 1u);
}

TEST_F(ThrowScene, ReleaseOlderThan100msStartsNothing) {
  fake::pressKey(W);
  fake::pressKey(X);
  fake::releaseKey(X);
  later(100);
  EXPECT_EQ(turn(), playerPedLine() + idleControllerChecks());
}

TEST_F(ThrowScene, ReleaseAt99msStillThrows) {
  fake::pressKey(W);
  fake::releaseKey(X);
  later(99);
  turn();
  EXPECT_THAT(actionsSet(), ElementsAre(fake::nameHash(throwFrontAction)));
}

TEST_F(ThrowScene, TriggerPressedButNotReleasedStartsNothing) {
  fake::pressKey(W);
  fake::pressKey(X);
  later(10);
  EXPECT_EQ(turn(), playerPedLine() + idleControllerChecks());
}

TEST_F(ThrowScene, OnlyTheFirstHeldDirectionInCheckOrderTakesTheRelease) {
  fake::pressKey(S);
  fake::pressKey(A);
  holdAndTap(D);
  turn();
  EXPECT_THAT(actionsSet(), ElementsAre(fake::nameHash(throwLeftAction)));
}

TEST_F(ThrowScene, ReleaseWaitsForADirectionPressedWithin100ms) {
  fake::releaseKey(X);
  later(40);
  EXPECT_EQ(turn(), playerPedLine() + idleControllerChecks());
  fake::pressKey(A);
  later(40);
  turn();
  EXPECT_THAT(actionsSet(), ElementsAre(fake::nameHash(throwLeftAction)));
}

TEST_F(ThrowScene, DirectionReleasedBeforeTriggerStartsNothing) {
  fake::pressKey(W);
  fake::pressKey(X);
  fake::releaseKey(W);
  fake::releaseKey(X);
  EXPECT_EQ(turn(), playerPedLine() + idleControllerChecks());
}

TEST_F(ThrowScene, DirectionHeldLongerThan30sNoLongerCounts) {
  fake::pressKey(W);
  later(30000);
  fake::releaseKey(X);
  EXPECT_EQ(turn(), playerPedLine() + idleControllerChecks());
}

TEST_F(ThrowScene, DirectionCode255OrMoreDisablesItsCheckAndLeavesTheTrigger) {
  settings.iWindowThrowFront = 255;
  fake::pressKey(255);  // ignored by the table
  fake::releaseKey(X);
  turn();
  EXPECT_TRUE(keyJustReleased(X));
  EXPECT_THAT(actionsSet(), IsEmpty());
}

TEST_F(ThrowScene, TriggerCodeOf255OrMoreOrNegativeDisablesEveryKeyboardCheck) {
  for (std::uint32_t trigger : {255u, 0x80000000u, 0xFFFFFFFFu}) {
    settings.iXKey = trigger;
    holdAndTap(W, X);
    game().pressed = model::controlSet({controlThrowTrigger, controlThrowBack});
    turn();
    EXPECT_THAT(actionsSet(), ElementsAre(fake::nameHash(throwBackAction))) << trigger;
    grappleActions().clear();
  }
}

TEST_F(ThrowScene, TriggerEqualToDirectionNeverThrows) {
  settings.iXKey = W;
  fake::pressKey(W);
  turn();
  fake::releaseKey(W);
  turn();
  EXPECT_THAT(actionsSet(), IsEmpty());
}

TEST_F(ThrowScene, OtherTriggerKeyFromSettingsIsUsed) {
  settings.iXKey = Z;
  holdAndTap(W, X);
  turn();
  EXPECT_THAT(actionsSet(), IsEmpty());
  holdAndTap(W, Z);
  turn();
  EXPECT_THAT(actionsSet(), ElementsAre(fake::nameHash(throwFrontAction)));
}

// --- Controller checks -----------------------------------------------------

TEST_F(ThrowScene, ControllerFrontNeedsHoldPressedAndTriggerJustReleased) {
  game().pressed = model::controlSet({controlFrontHold});
  game().justReleased = model::controlSet({controlThrowTrigger});
  EXPECT_EQ(turn(), playerPedLine() + pressedQuery(controlFrontHold) +
                        Lines{"controlJustReleased(0, 0x1ECA87D4)"} + faceToFaceTest() +
                        throwRequest(throwFrontAction) + controlUpQueries(controlThrowTrigger) +
                        controlUpQueries(controlThrowTrigger) +
                        controlUpQueries(controlThrowTrigger));
}

struct ControllerCase {
  const char* name;
  std::uint32_t control;
  const char* action;
  std::size_t position;  // 0 left, 1 right, 2 back
  friend void PrintTo(const ControllerCase& c, std::ostream* out) { *out << c.name; }
};

class ControllerThrowTest : public ThrowScene,
                            public ::testing::WithParamInterface<ControllerCase> {};

TEST_P(ControllerThrowTest, TriggerAndDirectionDownThrowsEveryTurn) {
  const ControllerCase& c = GetParam();
  game().pressed = model::controlSet({controlThrowTrigger, c.control});
  const std::uint32_t others[3] = {controlThrowLeft, controlThrowRight, controlThrowBack};
  Lines expected = playerPedLine() + pressedQuery(controlFrontHold);
  for (std::size_t i = 0; i < 3; ++i) {
    expected = expected + pressedQuery(controlThrowTrigger);
    expected = expected + (i == c.position
                               ? pressedQuery(others[i]) + faceToFaceTest() + throwRequest(c.action)
                               : controlUpQueries(others[i]));
  }
  EXPECT_EQ(turn(), expected);
  EXPECT_EQ(turn(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, ControllerThrowTest,
    ::testing::Values(ControllerCase{"Left", controlThrowLeft, model::gameThrows[1].action, 0},
                      ControllerCase{"Right", controlThrowRight, model::gameThrows[2].action, 1},
                      ControllerCase{"Back", controlThrowBack, model::gameThrows[3].action, 2}),
    testing::CaseName());

TEST_F(ThrowScene, DisabledControlCountsAsDown) {
  game().disabledPressed = model::controlSet({controlThrowTrigger, controlThrowLeft});
  EXPECT_EQ(turn(), playerPedLine() + pressedQuery(controlFrontHold) +
                        controlUpQueries(controlThrowTrigger) + controlUpQueries(controlThrowLeft) +
                        faceToFaceTest() + throwRequest(throwLeftAction) +
                        controlUpQueries(controlThrowTrigger) +
                        controlUpQueries(controlThrowRight) +
                        controlUpQueries(controlThrowTrigger) + controlUpQueries(controlThrowBack));
}

TEST_F(ThrowScene, ControllerNotFaceToFaceSetsNoAction) {
  game().grappleStyle = 0;
  game().pressed = model::controlSet({controlThrowTrigger, controlThrowRight});
  turn();
  EXPECT_THAT(actionsSet(), IsEmpty());
}

TEST_F(ThrowScene, KeyboardAndControllerInOneTurnKeyboardFirst) {
  holdAndTap(D);
  game().pressed = model::controlSet({controlThrowTrigger, controlThrowBack});
  turn();
  EXPECT_THAT(actionsSet(),
              ElementsAre(fake::nameHash(throwRightAction), fake::nameHash(throwBackAction)));
}

}  // namespace
}  // namespace sashcaster::testing

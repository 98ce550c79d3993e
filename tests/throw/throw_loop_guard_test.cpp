// A settings load that throws, linked in place of the real one: nothing it
// throws may leave a turn or the loop.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "throw/throw_test_scene.h"

namespace sashcaster {

namespace {
int loadsStarted = 0;
int throwKind = 0;
}  // namespace

// Takes the trigger key Z, then fails in the way the test chose.
void loadSettings() {
  ++loadsStarted;
  settings.iXKey = 90;
  switch (throwKind) {
    case 0:
      throw std::invalid_argument("invalid stoi argument");
    case 1:
      throw std::out_of_range("stoi argument out of range");
    case 2:
      throw std::bad_alloc();
    default:
      throw 42;
  }
}

namespace testing {
namespace {

using ::testing::ElementsAre;

class ThrowingLoadTest : public ThrowScene, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    ThrowScene::SetUp();
    loadsStarted = 0;
    throwKind = GetParam();
  }
};

TEST_P(ThrowingLoadTest, TurnGoesOnWithTheSettingsAsTheyStand) {
  holdAndTap(Settings{}.iWindowThrowFront, 90);
  EXPECT_NO_THROW(throwTurn());
  EXPECT_EQ(fake::nativeTrace().front(), "localPlayerPed()");
  EXPECT_THAT(actionsSet(), ElementsAre(fake::nameHash(throwFrontAction)));
  EXPECT_EQ(fake::callsOf(fake::CallKind::ScriptWait).size(), 1u);
}

TEST_P(ThrowingLoadTest, LoopKeepsTurningAfterEveryFailedLoad) {
  fake::stopAfterWaits(4);
  EXPECT_THROW(throwLoop(), fake::LoopStopped);
  EXPECT_EQ(loadsStarted, 5);
  EXPECT_EQ(fake::callsOf(fake::CallKind::ScriptWait).size(), 5u);
}

// Each kind by what loadSettings throws for it.
std::string thrownName(const ::testing::TestParamInfo<int>& info) {
  constexpr const char* thrown[] = {"InvalidArgument", "OutOfRange", "BadAlloc", "NoException"};
  return thrown[info.param];
}

INSTANTIATE_TEST_SUITE_P(Failures, ThrowingLoadTest, ::testing::Values(0, 1, 2, 3), thrownName);

}  // namespace
}  // namespace testing
}  // namespace sashcaster

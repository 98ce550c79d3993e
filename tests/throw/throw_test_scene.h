// The scene of a throw test: the game model with the player grappling face
// to face (by the game's name of the style), the built-in keys, and the native lines a turn is
// expected to issue.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "config/settings.h"
#include "fake_host/fake_host.h"
#include "fake_host/native_call.h"
#include "throw/throw_loop.h"

namespace sashcaster::testing {

using Lines = std::vector<std::string>;

inline Lines operator+(Lines left, const Lines& right) {
  left.insert(left.end(), right.begin(), right.end());
  return left;
}

class ThrowScene : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::resetHost();
    settings = Settings{};
    game().grappleStyle = fake::nameHash(model::faceToFaceStyleName);
    at(100000);
  }

  static model::GameState& game() { return fake::host().game; }
  static std::vector<fake::GrappleAction>& grappleActions() { return fake::host().grappleActions; }
  static void at(std::uint32_t now) { fake::clock().now = now; }
  static void later(std::uint32_t ms) { fake::clock().now += ms; }

  // A fresh turn's natives only.
  static Lines turn() {
    fake::host().natives.clear();
    throwTurn();
    return fake::nativeTrace();
  }

  // Holds a direction key, then taps the trigger key 10 ms later.
  static void holdAndTap(std::uint32_t direction, std::uint32_t trigger = Settings{}.iXKey) {
    fake::pressKey(direction);
    later(10);
    fake::pressKey(trigger);
    later(10);
    fake::releaseKey(trigger);
    later(10);
  }

  static std::string ped() { return std::to_string(game().playerPed); }

  static Lines playerPedLine() { return {"localPlayerPed()"}; }

  static Lines faceToFaceTest() {
    return {"hashOfName(\"" + std::string(model::faceToFaceStyleName) + "\")",
            "pedGrappleStyle(" + ped() + ")"};
  }

  static Lines throwRequest(const std::string& action) {
    return {"hashOfName(\"" + action + "\")", "setPedGrappleAction(" + ped() + ", " + action + ")",
            "setPedGrappleFlag(" + ped() + ", 32768, 0)"};
  }

  static Lines pressedQuery(std::uint32_t control) {
    return {"controlPressed(0, " + model::hex32(control) + ")"};
  }

  static Lines disabledQuery(std::uint32_t control) {
    return {"disabledControlPressed(0, " + model::hex32(control) + ")"};
  }

  // A control that is not down costs both queries.
  static Lines controlUpQueries(std::uint32_t control) {
    return pressedQuery(control) + disabledQuery(control);
  }

  // The controller checks of a turn in which no control is down.
  static Lines idleControllerChecks() {
    return pressedQuery(controlFrontHold) + controlUpQueries(controlThrowTrigger) +
           controlUpQueries(controlThrowTrigger) + controlUpQueries(controlThrowTrigger);
  }

  static std::vector<std::uint32_t> actionsSet() {
    std::vector<std::uint32_t> actions;
    for (const fake::GrappleAction& action : grappleActions()) {
      actions.push_back(action.action);
    }
    return actions;
  }
};

}  // namespace sashcaster::testing

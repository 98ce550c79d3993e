#include "soak/final_check.h"

#include <fstream>
#include <string>
#include <vector>

#include "config/settings.h"
#include "standin_host/standin_control.h"

namespace sashcaster::soak {
namespace {

namespace model = sashcaster::model;
using model::nameHash;

struct Gesture {
  std::uint32_t direction;
  std::uint32_t trigger;
  const char* action;  // null: no throw
};

// The known file sets T as the trigger and I, J, L, K as the directions; the
// built-in front key with the built-in trigger must then throw nothing. The
// actions are the game's names.
const Gesture gestures[] = {
    {'I', 'T', model::gameThrows[0].action},
    {'J', 'T', model::gameThrows[1].action},
    {Settings{}.iWindowThrowFront, Settings{}.iXKey, nullptr},
    {'L', 'T', model::gameThrows[2].action},
    {'K', 'T', model::gameThrows[3].action},
};

void writeKnownFile() {
  std::ofstream("Sashcaster.ini", std::ios::binary | std::ios::trunc)
      << "[Sashcaster]\r\niXKey=84\r\niWindowThrowFront=73\r\niWindowThrowLeft=74\r\n"
         "iWindowThrowRight=76\r\niWindowThrowBack=75\r\n";
}

void sendKey(std::uint32_t key, bool up) {
  const StandInKeyEvent event{key, 1, 0, 0, 0, up ? 1 : 0, up ? 1 : 0};
  standInSendKeyEvent(&event);
}

}  // namespace

void checkGesturesOnKnownFile(std::uint32_t now, std::uint64_t turn, Faults& faults) {
  writeKnownFile();
  model::GameState game{};
  game.grappleStyle = nameHash(model::faceToFaceStyleName);
  standInSetGame(&game);
  // Far past every storm event, so none still counts as held or released.
  standInSetClock(now += 100000);
  checkedTurn(turn++, faults);
  for (const Gesture& gesture : gestures) {
    standInSetClock(now += 1000);
    sendKey(gesture.direction, false);
    sendKey(gesture.trigger, false);
    standInSetClock(now += 10);
    sendKey(gesture.trigger, true);
    standInSetClock(now += 10);
    const std::vector<std::uint32_t> thrown = checkedTurn(turn++, faults);
    const std::vector<std::uint32_t> expected =
        gesture.action == nullptr ? std::vector<std::uint32_t>{}
                                  : std::vector<std::uint32_t>{nameHash(gesture.action)};
    if (thrown != expected) {
      fault(faults, turn,
            std::string("after the storm, the gesture for ") +
                (gesture.action == nullptr ? "no throw" : gesture.action) + " set " +
                std::to_string(thrown.size()) + " actions, not as expected");
    }
    sendKey(gesture.direction, true);
    checkedTurn(turn++, faults);
  }
}

}  // namespace sashcaster::soak

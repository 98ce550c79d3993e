#include "throw/throw_loop.h"

#include "config/settings.h"
#include "host/host_interface.h"
#include "host/key_state_table.h"
#include "throw/natives.h"

namespace sashcaster {

std::int32_t playerPed = 0;

namespace {

// A failed load leaves the settings as they stood; the turn goes on with them.
void loadSettingsSafely() noexcept {
  try {
    loadSettings();
  } catch (...) {  // NOLINT(bugprone-empty-catch): nothing may reach the host
  }
}

bool faceToFace() {
  const std::uint32_t wanted = natives::hashOfName(faceToFaceStyle);
  return wanted == natives::pedGrappleStyle(playerPed);
}

void requestThrow(const char* actionName) {
  const std::uint32_t action = natives::hashOfName(actionName);
  natives::setPedGrappleAction(playerPed, action);
  natives::setPedGrappleFlag(playerPed, grappleFlag, 0);
}

// Direction key held and trigger key just released; the release is spent
// before the grapple is looked at.
void keyboardCheck(std::uint32_t directionKey, const char* actionName) {
  if (!keyHeld(directionKey)) {
    return;
  }
  const std::uint32_t trigger = settings.iXKey;
  if (!keyJustReleased(trigger)) {
    return;
  }
  clearKey(trigger);
  if (faceToFace()) {
    requestThrow(actionName);
  }
}

// The disabled state counts too, for controls the game has switched off.
bool controlDown(std::uint32_t control) {
  return natives::controlPressed(controlGroup, control) ||
         natives::disabledControlPressed(controlGroup, control);
}

void controllerFrontCheck() {
  if (natives::controlPressed(controlGroup, controlFrontHold) &&
      natives::controlJustReleased(controlGroup, controlThrowTrigger) && faceToFace()) {
    requestThrow(throwFrontAction);
  }
}

void controllerCheck(std::uint32_t directionControl, const char* actionName) {
  if (controlDown(controlThrowTrigger) && controlDown(directionControl) && faceToFace()) {
    requestThrow(actionName);
  }
}

}  // namespace

void throwTurn() {
  loadSettingsSafely();
  playerPed = natives::localPlayerPed();

  keyboardCheck(settings.iWindowThrowFront, throwFrontAction);
  keyboardCheck(settings.iWindowThrowLeft, throwLeftAction);
  keyboardCheck(settings.iWindowThrowRight, throwRightAction);
  keyboardCheck(settings.iWindowThrowBack, throwBackAction);

  controllerFrontCheck();
  controllerCheck(controlThrowLeft, throwLeftAction);
  controllerCheck(controlThrowRight, throwRightAction);
  controllerCheck(controlThrowBack, throwBackAction);

  scriptWait(0);
}

void throwLoop() {
  for (;;) {
    throwTurn();
  }
}

}  // namespace sashcaster

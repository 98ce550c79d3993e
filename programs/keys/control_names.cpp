#include "keys/control_names.h"

#include <cctype>
#include <cstdio>

#include "throw/throw_loop.h"

namespace sashcaster::keys {

const std::array<ControlName, 5> controlNames{{
    {controlThrowTrigger, "INPUT_SPECIAL_ABILITY_ACTION", "RB", "Q"},
    {controlFrontHold, "INPUT_FRONTEND_NAV_UP", "D-pad up", "W"},
    {controlThrowLeft, "INPUT_FRONTEND_NAV_LEFT", "D-pad left", "A"},
    {controlThrowRight, "INPUT_FRONTEND_NAV_RIGHT", "D-pad right", "D"},
    {controlThrowBack, "INPUT_FRONTEND_NAV_DOWN", "D-pad down", "S"},
}};

const ControlName* findControl(std::uint32_t hash) {
  for (const ControlName& control : controlNames) {
    if (control.hash == hash) {
      return &control;
    }
  }
  return nullptr;
}

std::optional<std::uint32_t> controlHash(std::string_view gameName) {
  for (const ControlName& control : controlNames) {
    const std::string_view name = control.gameName;
    bool same = name.size() == gameName.size();
    for (std::size_t i = 0; same && i < name.size(); ++i) {
      same = std::toupper(static_cast<unsigned char>(gameName[i])) == name[i];
    }
    if (same) {
      return control.hash;
    }
  }
  return std::nullopt;
}

std::string describeControl(std::uint32_t hash) {
  if (const ControlName* control = findControl(hash)) {
    return std::string(control->gameName) + " (" + control->padButton + ")";
  }
  char text[11];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hash));
  return text;
}

}  // namespace sashcaster::keys

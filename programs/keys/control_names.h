// The game's controls that the plug-in queries for the controller throws, in
// the game's own names and the buttons a player presses, for the tools that
// show them to players.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sashcaster::keys {

struct ControlName {
  std::uint32_t hash;        // as the plug-in queries it
  const char* gameName;      // the game's name, whose name hash is `hash`
  const char* padButton;     // its default on an Xbox pad
  const char* keyboardKeys;  // its default with keyboard and mouse
};

// Trigger, front, left, right, back.
extern const std::array<ControlName, 5> controlNames;

// The control of that hash; none for a hash the plug-in never queries.
const ControlName* findControl(std::uint32_t hash);

// The hash of a control written by its game name, in either letter case.
std::optional<std::uint32_t> controlHash(std::string_view gameName);

// "INPUT_FRONTEND_NAV_LEFT (D-pad left)" for a control of the table, else the
// hash in hexadecimal.
std::string describeControl(std::uint32_t hash);

}  // namespace sashcaster::keys

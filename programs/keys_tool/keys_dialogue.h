// The keys tool's dialogue for a player who starts it with a double click:
// the five keys shown, each asked for by a key press, then saved. It reads
// key presses from any source, so that tests can script them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>

#include "config/settings.h"
#include "keys_tool/settings_edit.h"

namespace sashcaster::keys_tool {

// The next key pressed, as the keyboard layout sends it: the virtual-key code
// that the game will send too (90 for the key labelled Z on any layout).
// None when input has ended.
using KeyPresses = std::function<std::optional<std::uint32_t>()>;

// The keys that steer the dialogue rather than being chosen.
inline constexpr std::uint32_t keepKey = 0x0D;   // Enter
inline constexpr std::uint32_t leaveKey = 0x1B;  // Esc
inline constexpr std::uint32_t offKey = 0x2E;    // Delete

// Asks for each key in load order, shows the new keys and asks before
// saving. A key the plug-in cannot use, or that another of the five already
// has, is asked for again at once, so that no clash is ever saved. Returns the keys changed (none
// when none changed), or nothing when the player leaves with Esc or input ends.
std::optional<KeyCodes> askForKeys(const Settings& now, const KeyPresses& next, std::ostream& out);

// The whole dialogue on the file: its keys as the plug-in reads them, the
// questions, the write and the settings check's report, then a wait for
// Enter. Returns the exit status of a command line setting the same keys; 0
// when nothing was saved.
int runDialogue(const std::filesystem::path& file, const KeyPresses& next, std::ostream& out);

}  // namespace sashcaster::keys_tool

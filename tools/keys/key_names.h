// Readable names of Windows virtual-key codes, for the tools that show keys
// to players: the settings check and the scenario trace.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sashcaster::keys {

// The name of a key the plug-in can watch ("Z", "F5", "Left arrow",
// "Numpad 4", "Mouse 4"...); none for a code that names no key, and for the
// codes of 255 or more, which switch a throw off.
std::optional<std::string> keyName(std::uint32_t code);

// The key's name, "off" for 255 or more, "no key" for a code that is no key.
std::string describeKey(std::uint32_t code);

// The code of a key written by its name, a letter or a digit in either case
// ("z", "F5", "Left Shift"); none when no key has that name.
std::optional<std::uint32_t> keyCode(const std::string& name);

}  // namespace sashcaster::keys

// Readable names of Windows virtual-key codes, for the tools that show keys
// to players: the settings check and the scenario trace.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sashcaster::keys {

// The name of a key the plug-in can watch ("Z", "F5", "Left arrow",
// "Numpad 4", "Mouse 4"...), in the player's language ("Pfeil links"); none
// for a code that names no key, and for the codes of 255 or more, which
// switch a throw off.
std::optional<std::string> keyName(std::uint32_t code);

// The same in English, whatever the player's language.
std::optional<std::string> englishKeyName(std::uint32_t code);

// The key's name, "off" for 255 or more, "no key" for a code that is no key.
std::string describeKey(std::uint32_t code);

// The code of a key written by its name, in the player's language or in
// English, a letter or a digit, or a spelling players commonly type
// ("Escape", "PgUp", "Numpad2", "Num 2"); letter case and spaces do not
// matter ("z", "f5", "leftshift"). None when no key has that name.
std::optional<std::uint32_t> keyCode(const std::string& name);

// A name as keyCode compares it: in lower case, without spaces.
std::string spellingOf(std::string_view name);

// The other spellings keyCode takes for the key of this code: its English
// name where the player's language has its own, "Escape" for Esc, "Num 2"
// for Numpad 2; none for most keys in English.
std::vector<std::string> otherNamesOf(std::uint32_t code);

// The code as the settings file holds it: the plug-in stores a negative
// number bit for bit, so 4294967295 was written as -1.
std::string writtenCode(std::uint32_t code);

// The script hook hands the plug-in keyboard messages only, and those carry
// Shift, Ctrl and Alt as 16, 17 and 18 whichever side was pressed: the codes
// of one side (160 to 165) and the mouse buttons never arrive.
bool isMouseButton(std::uint32_t code);

// The code that arrives instead of this one (16 for 160, Left Shift); none for
// a code that arrives as it is, and for the mouse buttons, which never do.
std::optional<std::uint32_t> codeReceivedFor(std::uint32_t code);

// Why the plug-in never receives this code, and what to use instead, in a
// player's words ("Left Shift (160) never reaches the plug-in: ..."); none for
// a code that it receives, that names no key, or that switches a throw off.
std::optional<std::string> whyNeverReceived(std::uint32_t code);

}  // namespace sashcaster::keys

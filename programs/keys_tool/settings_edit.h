// Setting keys in a settings file's bytes, in memory: everything the edit is
// not asked to change stays byte for byte.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/settings_keys.h"

namespace sashcaster::keys_tool {

// The code to set for each key of settingsKeys, by index; none leaves the key
// as the file has it.
using KeyCodes = std::array<std::optional<std::uint32_t>, settingsKeys.size()>;

// The file's bytes with each key of `codes` set to its code:
// - the line that counts for a key (its last line under a [Sashcaster] header,
//   the one the plug-in's load takes) keeps its name, the spaces around "="
//   and its line end; only its value changes. Text after the value's first
//   word (such as "; my note" after "88 ") stays;
// - a key without such a line gets "NAME=CODE" after the section's last key
//   line (after its header when it has none);
// - without a [Sashcaster] section, one is added at the end with the keys set;
// - lines of a key anywhere else stay as they are.
// The file keeps its encoding (UTF-8 with or without its mark, UTF-16 of
// either byte order with its mark) and its line ends (those of its first line;
// CR LF when it has none).
std::string withKeysSet(std::string_view bytes, const KeyCodes& codes);

}  // namespace sashcaster::keys_tool

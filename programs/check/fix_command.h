// The command that sets a key, as the check's fixes name it, so that a player
// sets keys by name rather than looking up codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sashcaster::check {

// Players run the keys tool on Windows, and the native check must print what
// the Windows one prints, so the fixes always give the Windows program's name.
inline constexpr const char* keysProgram = "Sashcaster-keys.exe";

// The word the keys tool takes for settingsKeys[index]: trigger, front, left,
// right or back.
const char* settingWord(std::size_t index);

// The setting's message setting.WORD.PART in the player's language: "name"
// ("the front throw"), "owner_key" ("the front throw's key") or "label"
// ("the front throw's key", "the trigger key").
std::string settingMessage(std::size_t index, std::string_view part);

// "Sashcaster-keys.exe left=\"Left arrow\"" for a known key: its name as the
// check shows it (quoted when it holds a space), in English where the
// player's language names it with letters outside ASCII, or its decimal code
// when the name holds characters a command line would take apart. Without a
// code: "Sashcaster-keys.exe left=KEY", with KEY explained.
std::string setKeyCommand(std::size_t index, std::optional<std::uint32_t> code = std::nullopt);

}  // namespace sashcaster::check

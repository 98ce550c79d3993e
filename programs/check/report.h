// What the settings check finds in a settings file: the five keys as the
// plug-in will hold them, with where each came from, the findings (mistakes
// that keep a key or a throw from working) and the notes (worth knowing,
// possibly meant).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/settings.h"

namespace sashcaster::check {

// The index of the trigger in settingsKeys, and the throw each key chooses.
inline constexpr std::size_t triggerIndex = 0;
inline constexpr std::array<const char*, 5> throwDirections{"", "front", "left", "right", "back"};

// The bit of settingsKeys[index] in Remark::keys.
constexpr std::uint8_t keyBit(std::size_t index) {
  return static_cast<std::uint8_t>(1U << index);
}

// Line numbers count from 1; a remark on the whole file has none.
struct Remark {
  std::optional<std::size_t> line;
  std::string text;
  // Bit i set: the keys of settingsKeys[i] that the file writes do not load
  // as it means them (a name misspelled, a value that is no key...).
  std::uint8_t keys = 0;
};

// A key line of the section, as the file gives it.
struct KeyLine {
  std::size_t line = 0;
  std::string key;
  std::string value;
  std::string source;  // the line as written, for quoting
};

struct Report {
  std::filesystem::path file;
  Settings loaded;                               // the plug-in's load from the defaults
  std::array<std::string, 5> origin;             // where each key's code came from
  std::array<std::optional<KeyLine>, 5> winner;  // each key's line that counts
  std::array<bool, 5> fromLine{};                // the code is the winner's number
  std::vector<Remark> findings;
  std::vector<Remark> notes;
  bool read = false;  // false: the plug-in would not read the file at all
  // keyBit(i) set: the keys tool has just set settingsKeys[i], so a clash with
  // it points at its line and names it in the fix.
  std::uint8_t justSet = 0;
};

// Checks the file as the plug-in would read it from the game's folder.
Report checkSettingsFile(const std::filesystem::path& file, std::uint8_t justSet = 0);

// The parts of the check, each adding to the report.
void checkFileItself(Report& report);
void checkInstallation(Report& report);
void checkEncoding(Report& report, std::string_view firstBytes);
void checkLines(Report& report, std::string_view fileBytes);
void checkValues(Report& report);
void checkKeyClashes(Report& report);

// Where the file stands, as messages say it: "in the folder NAME", or "in
// this folder" for a file named without a folder.
std::string inFolderOf(const std::filesystem::path& file);

// A code as the file writes it: a signed 32-bit decimal, so -1 is -1.
std::string asWritten(std::uint32_t code);

// "90 (Z)", "7 (no key)"; a code that switches its key off as "off (-1)" or
// "off (255)", with the number as the file writes it.
std::string codeAndKey(std::uint32_t code);

// A line as quoted in a message: control bytes shown as "?", long ones cut.
std::string printable(std::string_view line);

// Every control byte shown as "?", so that no name or line can move the
// terminal's cursor or end a line of the report.
std::string withoutControlBytes(std::string_view text);

// The same between double quotes.
std::string inQuotes(std::string_view line);

}  // namespace sashcaster::check

// Scenarios: plain-text scripts of what a player does over time, one event a
// line, with the throws the plug-in is expected to make. The same scenario
// plays against the portable core on Linux and against the real plug-in under
// the Windows stand-in host.
//
//   # comment                 blank lines and comments are skipped
//   start 1000000             the clock's value at +0 ms (before any other event)
//   wait 50                   the clock moves on by 50 ms
//   down W / up X             a key event; a letter, a digit or a code (88, 0x58),
//   down iWindowThrowBack     or a setting's name: its built-in key in Settings{}
//   style GS_FACE_TO_FACE     the player's grapple style; "style none" ends it
//   pressed trigger left      controls the game reports pressed, from now on;
//   released trigger          ... just released; disabled ...: disabled-pressed.
//                             Names: front-hold, trigger, left, right, back,
//                             the game's name in any letter case
//                             (INPUT_SPECIAL_ABILITY_ACTION), or a hash
//                             (0x1ECA87D4). Nothing after the word: none.
//   settings                  writes the settings file Sashcaster.ini with the
//   [Sashcaster]              lines that follow, up to a line "end"
//   iXKey=89
//   end
//   settings removed          deletes the settings file
//   turn 3                    runs turns of the script (one without a count)
//   expect front left         the throws of the last "turn" line, in order:
//   expect nothing            front, left, right, back
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sashcaster::scenario {

enum class EventKind : std::uint8_t {
  Start,
  Wait,
  KeyDown,
  KeyUp,
  Style,
  Pressed,
  JustReleased,
  DisabledPressed,
  SettingsWrite,
  SettingsRemove,
  Turns,
  Expect,
};

struct Event {
  EventKind kind = EventKind::Wait;
  std::size_t line = 0;
  std::uint32_t number = 0;             // ms, key code or turn count
  std::string name;                     // grapple style name, empty for none
  std::vector<std::uint32_t> values;    // control hashes, or expected action hashes
  std::vector<std::string> valueNames;  // their names as written
  std::string text;                     // settings file content
};

struct Scenario {
  std::string file;
  std::vector<Event> events;
  std::vector<std::string> preface;  // printed before the trace
  // Said after the failure of an "expect" line, by its line: why it may fail.
  std::map<std::size_t, std::string> failureNotes;
};

// A scenario line that cannot be understood: where, and what was expected.
struct ParseError {
  std::string file;
  std::size_t line = 0;
  std::string message;

  std::string describe() const;
};

// Parses a whole scenario; on a bad line fills `error` and returns false.
bool parseScenario(const std::string& file, const std::string& text, Scenario& scenario,
                   ParseError& error);

// The scenario built into the tools: the player holds W and taps X while
// grappling face to face, then throws left with the controller.
extern const char defaultScenarioText[];
inline constexpr char defaultScenarioName[] = "(built-in scenario)";

// Names of things in the trace.
std::string keyName(std::uint32_t key);
// "INPUT_FRONTEND_NAV_LEFT (D-pad left)", or "control 0x..." for another.
std::string controlName(std::uint32_t control);
std::string actionName(std::uint32_t actionHash);  // "ACT_..." or a hash
// The name of a hash of a native call: a control's, a throw action's, or the
// grapple style's the player is in; empty for any other.
std::string hashName(std::uint32_t hash, const std::string& style);

}  // namespace sashcaster::scenario

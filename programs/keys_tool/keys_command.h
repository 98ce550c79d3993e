// sashcaster-keys' command line and output, apart from how the program is
// started, so that tests run it as players do.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "keys_tool/settings_edit.h"

namespace sashcaster::keys_tool {

inline constexpr int exitWritten = 0;
inline constexpr int exitWrittenWithFindings = 1;
inline constexpr int exitBadCommandLine = 2;
inline constexpr int exitFileProblem = 3;

// The program's name as a player types it on this system.
#ifdef _WIN32
inline constexpr const char* programName = "Sashcaster-keys.exe";
#else
inline constexpr const char* programName = "sashcaster-keys";
#endif

// Sets the keys in the file, then prints the settings check's report of the
// file as now written. Returns 0 when the check finds nothing, 1 when it still
// has findings, 3 when the file cannot be read or written (nothing changed).
int setKeys(const std::filesystem::path& file, const KeyCodes& codes, std::ostream& out,
            std::ostream& err);

// Whether the arguments ask for the dialogue rather than name keys to set:
// none, or a lone settings file (one dropped on the program).
bool startsDialogue(const std::vector<std::string>& arguments);

// Runs the command for the arguments after the program's name, in the
// language of --lang if they give one, and returns the exit status: setKeys'
// or 2 for a bad command line, with nothing written.
int runKeys(std::vector<std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace sashcaster::keys_tool

// sashcaster-check's command line and output, apart from how the program is
// started, so that tests run it as players do.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "check/report.h"

namespace sashcaster::check {

inline constexpr int exitNoFindings = 0;
inline constexpr int exitFindings = 1;
inline constexpr int exitBadCommandLine = 2;

// The report as the program prints it: the line before the last counts the
// findings, the last says how the controller throws.
void printReport(const Report& report, std::ostream& out);

// What moves the controller's throws, in Sashcaster-README.txt's words too,
// and the English catalogue's check.direction_controls.
inline constexpr const char* directionControls = "the D-pad or the left stick";

// How the controller throws, in the game's buttons and control names.
std::string controllerLine();

// Runs the check for the arguments after the program's name, in the language
// of --lang if they give one, and returns the exit status: 0 with no
// findings, 1 with at least one, 2 for a bad command line.
int runCheck(std::vector<std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace sashcaster::check

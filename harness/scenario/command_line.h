// What the simulator and the Windows driver share around a scenario run:
// their command line, loading the scenario, and the scratch directory in
// which the settings file lives while the scenario plays.
#pragma once

#include <string>

#include "scenario.h"
#include "scratch_folder/scratch_folder.h"

namespace sashcaster::scenario {

struct CommandLine {
  std::string iniFile;       // --ini FILE: the settings file the run starts with
  std::string scenarioFile;  // empty: the built-in scenario
  std::string pluginFile;    // --plugin FILE (Windows driver only)
  bool showNatives = false;  // --natives
  bool help = false;         // --help or -h: the usage is printed, nothing runs
};

// Fills `line`; on a bad argument returns false with the reason in `error`.
bool parseCommandLine(int argc, char** argv, bool takesPlugin, CommandLine& line,
                      std::string& error);

std::string usage(const char* program, bool takesPlugin);

// Reads and parses the scenario the command line names, or the built-in one.
bool loadScenario(const CommandLine& line, Scenario& scenario, std::string& error);

// A fresh temporary directory made the current one, so that the plug-in finds
// the scenario's settings file there and nothing else; removed at the end.
using ScratchDirectory = fake::ScratchFolder;

// Makes and enters the scratch directory, with a copy of `iniFile` as the
// settings file when one is given.
bool enterScratchDirectory(ScratchDirectory& directory, const std::string& iniFile,
                           std::string& error);

// The common start of a run: parses the command line, loads the scenario and
// enters the scratch directory (making a relative --plugin path absolute
// first). On failure prints the reason under the program's name and returns
// false; the caller then exits with 2, or with 0 when `line.help` asked only
// for the usage, which then went to standard output.
bool prepareRun(int argc, char** argv, const char* program, bool takesPlugin, CommandLine& line,
                Scenario& scenario, ScratchDirectory& directory);

}  // namespace sashcaster::scenario

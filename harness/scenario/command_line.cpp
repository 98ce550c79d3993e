#include "command_line.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <system_error>

#include "keys_scenario.h"
#include "player.h"

namespace sashcaster::scenario {

bool parseCommandLine(int argc, char** argv, bool takesPlugin, CommandLine& line,
                      std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--help" || argument == "-h") {
      line.help = true;
    } else if (argument == "--natives") {
      line.showNatives = true;
    } else if (argument == "--ini" && hasValue) {
      line.iniFile = argv[++i];
    } else if (takesPlugin && argument == "--plugin" && hasValue) {
      line.pluginFile = argv[++i];
    } else if (argument.starts_with("-")) {
      error = "unknown option or missing value: " + argument;
      return false;
    } else if (line.scenarioFile.empty()) {
      line.scenarioFile = argument;
    } else {
      error = "more than one scenario given: " + argument;
      return false;
    }
  }
  return true;
}

std::string usage(const char* program, bool takesPlugin) {
  return std::string("usage: ") + program + (takesPlugin ? " [--plugin Sashcaster.asi]" : "") +
         " [--ini FILE] [--natives] [SCENARIO]\n"
         "Plays SCENARIO (or the built-in one) and prints its trace. --ini starts the run with\n"
         "FILE as Sashcaster.ini; --natives lists every native call of every turn.\n" +
         (takesPlugin ? "Without --plugin, the Sashcaster.asi beside this program is loaded, else\n"
                        "the one the build made (../src/host/windows/), else ../../../dist/'s.\n"
                      : "");
}

bool loadScenario(const CommandLine& line, Scenario& scenario, std::string& error) {
  if (line.scenarioFile.empty() && !line.iniFile.empty()) {
    return scenarioFromSettingsFile(line.iniFile, scenario, error);
  }
  std::string text = defaultScenarioText;
  std::string name = defaultScenarioName;
  if (!line.scenarioFile.empty()) {
    std::ifstream file(line.scenarioFile, std::ios::binary);
    if (!file) {
      error = line.scenarioFile + ": cannot open the scenario";
      return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    name = line.scenarioFile;
  }
  ParseError parseError;
  if (!parseScenario(name, text, scenario, parseError)) {
    error = parseError.describe();
    return false;
  }
  return true;
}

bool enterScratchDirectory(ScratchDirectory& directory, const std::string& iniFile,
                           std::string& error) {
  namespace fs = std::filesystem;
  std::error_code code;
  // Absolute before the current directory changes.
  const fs::path ini = iniFile.empty() ? fs::path() : fs::absolute(iniFile, code);
  if (!iniFile.empty() && (code || !fs::is_regular_file(ini, code))) {
    error = iniFile + ": no such settings file";
    return false;
  }
  if (!directory.make("sashcaster-scenario", error)) {
    return false;
  }
  if (!ini.empty() && !fs::copy_file(ini, directory.path() / settingsFileName, code)) {
    error = iniFile + ": cannot copy it: " + code.message();
    return false;
  }
  return directory.enter(error);
}

bool prepareRun(int argc, char** argv, const char* program, bool takesPlugin, CommandLine& line,
                Scenario& scenario, ScratchDirectory& directory) {
  std::string error;
  if (!parseCommandLine(argc, argv, takesPlugin, line, error)) {
    std::cerr << program << ": " << error << "\n" << usage(program, takesPlugin);
    return false;
  }
  if (line.help) {
    std::cout << usage(program, takesPlugin);
    return false;
  }
  if (!line.pluginFile.empty()) {
    line.pluginFile = std::filesystem::absolute(line.pluginFile).string();
  }
  if (!loadScenario(line, scenario, error) ||
      !enterScratchDirectory(directory, line.iniFile, error)) {
    std::cerr << program << ": " << error << "\n";
    return false;
  }
  return true;
}

}  // namespace sashcaster::scenario

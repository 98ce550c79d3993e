#include "command_line.h"

#include <chrono>
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

ScratchDirectory::~ScratchDirectory() {
  if (path_.empty()) {
    return;
  }
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

bool ScratchDirectory::enter(const std::string& iniFile, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code code;
  // Absolute before the current directory changes.
  const fs::path ini = iniFile.empty() ? fs::path() : fs::absolute(iniFile, code);
  if (!iniFile.empty() && (code || !fs::is_regular_file(ini, code))) {
    error = iniFile + ": no such settings file";
    return false;
  }
  const fs::path base = fs::temp_directory_path(code);
  if (code) {
    error = "no temporary directory: " + code.message();
    return false;
  }
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const fs::path candidate =
        base / ("sashcaster-scenario-" + std::to_string(stamp) + "-" + std::to_string(attempt));
    if (fs::create_directory(candidate, code)) {
      path_ = candidate;
    }
  }
  if (path_.empty()) {
    error = "cannot make a scratch directory in " + base.string();
    return false;
  }
  previous_ = fs::current_path(code);
  if (!ini.empty() && !fs::copy_file(ini, path_ / settingsFileName, code)) {
    error = iniFile + ": cannot copy it: " + code.message();
    return false;
  }
  fs::current_path(path_, code);
  if (code) {
    error = "cannot enter " + path_.string() + ": " + code.message();
    return false;
  }
  return true;
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
  if (!loadScenario(line, scenario, error) || !directory.enter(line.iniFile, error)) {
    std::cerr << program << ": " << error << "\n";
    return false;
  }
  return true;
}

}  // namespace sashcaster::scenario

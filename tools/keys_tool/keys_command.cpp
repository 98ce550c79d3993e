#include "keys_tool/keys_command.h"

#include <algorithm>
#include <optional>

#include "check/check_command.h"
#include "check/report.h"
#include "config/ini_file.h"
#include "console/utf8_path.h"
#include "keys_tool/key_choice.h"
#include "keys_tool/settings_write.h"
#include "keys_tool/shipped_settings.h"

namespace sashcaster::keys_tool {

namespace {

constexpr const char* defaultFile = "Sashcaster.ini";

constexpr const char* usageText =
    "usage: sashcaster-keys [--file FILE] SETTING=KEY [SETTING=KEY...]\n"
    "       sashcaster-keys --list\n"
    "Sets keys of the Sashcaster plug-in in its settings file FILE (by default\n"
    "Sashcaster.ini in the game's folder, the one with RDR2.exe: run this there),\n"
    "then shows the settings check's report.\n"
    "SETTING: trigger, front, left, right, back, or the name in the file (iXKey...).\n"
    "KEY: a key's name as the check shows it (Z, 5, F5, \"Left arrow\", \"Numpad 2\",\n"
    "Shift; letter case and spaces ignored; Esc, PgUp, Num 2 and other common\n"
    "spellings too), its decimal code, or off (or -1) to switch that throw off.\n"
    "A single digit is that digit's key: 5 is the key 5 (code 53), not code 5.\n"
    "--list shows every key name.\n"
    "Only the values set change; the rest of the file stays as it is, and the file\n"
    "as it was is kept as FILE.bak. Without the file, the shipped one is written.\n"
    "Started without settings in a window of its own, it asks for each key in turn.\n"
    "Exit status: 0 written, and the check finds nothing; 1 written, but the check\n"
    "has findings; 2 bad command line, nothing written; 3 the file cannot be read\n"
    "or written, nothing changed.\n";

struct CommandLine {
  std::string file = defaultFile;
  KeyCodes codes;
  bool help = false;
  bool list = false;
  std::string problem;
  bool withUsage = true;  // false: the problem says all a player needs
};

// What is wrong with the key, the names nearest to it, where the full list is.
std::string keyProblem(const KeyChoice& choice) {
  std::string problem = choice.problem;
  for (std::size_t i = 0; i < choice.nearest.size(); ++i) {
    const std::string& name = choice.nearest[i];
    problem += (i == 0 ? "\nNearest names: " : ", ") +
               (name.find(' ') == std::string::npos ? name : check::inQuotes(name));
  }
  if (!choice.nearest.empty()) {
    problem += ".";
  }
  return problem + "\nEvery key name: " + programName + " --list";
}

std::string settingProblem(const std::string& argument) {
  const std::size_t equals = argument.find('=');
  if (equals == std::string::npos) {
    return check::inQuotes(argument) + " is not SETTING=KEY. The settings are " + settingNames() +
           ".";
  }
  const std::string setting = argument.substr(0, equals);
  if (!settingIndex(setting)) {
    return check::inQuotes(setting) + " is no setting. The settings are " + settingNames() + ".";
  }
  return keyProblem(chooseKey(argument.substr(equals + 1)));
}

void takeSetting(const std::string& argument, CommandLine& line) {
  const std::size_t equals = argument.find('=');
  const std::optional<std::size_t> index =
      equals == std::string::npos ? std::nullopt : settingIndex(argument.substr(0, equals));
  const KeyChoice choice = index ? chooseKey(argument.substr(equals + 1)) : KeyChoice{};
  if (!choice.code) {
    line.problem = settingProblem(argument);
    line.withUsage = false;
  } else if (line.codes[*index]) {
    line.problem = settingLabel(*index) + " is given twice: give it once.";
  } else {
    line.codes[*index] = choice.code;
  }
}

CommandLine parse(const std::vector<std::string>& arguments) {
  CommandLine line;
  for (std::size_t i = 0; i < arguments.size() && line.problem.empty(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      line.help = true;
    } else if (argument == "--list") {
      line.list = true;
    } else if (argument == "--file" && i + 1 < arguments.size()) {
      line.file = arguments[++i];
    } else if (argument == "--file") {
      line.problem = "--file needs the settings file's name after it.";
    } else if (argument.starts_with("-")) {
      line.problem = "unknown option: " + check::withoutControlBytes(argument);
    } else {
      takeSetting(argument, line);
    }
  }
  const bool none = std::none_of(line.codes.begin(), line.codes.end(),
                                 [](const auto& code) { return code.has_value(); });
  if (line.problem.empty() && none && !line.help && !line.list) {
    line.problem = "no key to set.";
  }
  return line;
}

}  // namespace

int setKeys(const std::filesystem::path& file, const KeyCodes& codes, std::ostream& out,
            std::ostream& err) {
  const FileBytes before = readForEdit(file);
  if (!before.problem.empty()) {
    err << "sashcaster-keys: " << before.problem << "\n";
    return exitFileProblem;
  }
  const std::string after =
      withKeysSet(before.bytes.value_or(std::string(shippedSettings())), codes);
  if (after.size() > static_cast<std::size_t>(maxIniFileBytes)) {
    err << "sashcaster-keys: " << check::withoutControlBytes(file.string())
        << " would grow past 1 MiB (1048576 bytes), which the plug-in ignores, so it was not "
           "changed. Keep only the [Sashcaster] section and its keys, then run this again.\n";
    return exitFileProblem;
  }
  const std::string problem = writeKeepingBackup(file, after, before.bytes);
  if (!problem.empty()) {
    err << "sashcaster-keys: " << problem << "\n";
    return exitFileProblem;
  }
  const std::string name = check::withoutControlBytes(file.string());
  out << (before.bytes ? "Wrote " + name + "; it was kept as it was in " + name + ".bak.\n"
                       : "Wrote " + name + " from the shipped settings file.\n");
  std::uint8_t justSet = 0;
  for (std::size_t index = 0; index < codes.size(); ++index) {
    if (codes[index]) {
      justSet = static_cast<std::uint8_t>(justSet | check::keyBit(index));
    }
  }
  const check::Report report = check::checkSettingsFile(file, justSet);
  check::printReport(report, out);
  return report.findings.empty() ? exitWritten : exitWrittenWithFindings;
}

bool startsDialogue(const std::vector<std::string>& arguments) {
  if (arguments.empty()) {
    return true;
  }
  const std::string& argument = arguments.front();
  const std::size_t equals = argument.find('=');
  const bool setting = equals != std::string::npos && settingIndex(argument.substr(0, equals));
  return arguments.size() == 1 && !setting && !argument.starts_with("-");
}

int runKeys(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  const CommandLine line = parse(arguments);
  if (line.help) {
    out << usageText;
    return exitWritten;
  }
  if (line.list) {
    out << "Key names " << programName << " takes (letter case and spaces do not matter):\n"
        << keyList();
    return exitWritten;
  }
  if (!line.problem.empty()) {
    err << "sashcaster-keys: " << line.problem << "\n" << (line.withUsage ? usageText : "");
    return exitBadCommandLine;
  }
  return setKeys(console::utf8Path(line.file), line.codes, out, err);
}

}  // namespace sashcaster::keys_tool

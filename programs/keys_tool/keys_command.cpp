#include "keys_tool/keys_command.h"

#include <algorithm>
#include <optional>

#include "check/check_command.h"
#include "check/report.h"
#include "config/ini_file.h"
#include "console/utf8_path.h"
#include "i18n/languages.h"
#include "i18n/messages.h"
#include "keys_tool/key_choice.h"
#include "keys_tool/settings_write.h"
#include "keys_tool/shipped_settings.h"

namespace sashcaster::keys_tool {

namespace {

constexpr const char* defaultFile = "Sashcaster.ini";

std::string usageText() {
  return i18n::say("keys.usage", {{"tags", i18n::languageList()}});
}

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
  std::string names;
  for (std::size_t i = 0; i < choice.nearest.size(); ++i) {
    const std::string& name = choice.nearest[i];
    names +=
        (i == 0 ? "" : ", ") + (name.find(' ') == std::string::npos ? name : check::inQuotes(name));
  }
  if (!names.empty()) {
    problem.append("\n").append(i18n::say("keys.nearest", {{"names", names}}));
  }
  return problem.append("\n").append(i18n::say("keys.every_name", {{"program", programName}}));
}

std::string settingProblem(const std::string& argument) {
  const std::size_t equals = argument.find('=');
  if (equals == std::string::npos) {
    return i18n::say("keys.not_setting_key",
                     {{"argument", check::printable(argument)}, {"settings", settingNames()}});
  }
  const std::string setting = argument.substr(0, equals);
  if (!settingIndex(setting)) {
    return i18n::say("keys.no_setting",
                     {{"setting", check::printable(setting)}, {"settings", settingNames()}});
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
    line.problem = i18n::say("keys.given_twice", {{"label", settingLabel(*index)}});
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
      line.problem = i18n::say("keys.file_needs_name");
    } else if (argument.starts_with("-")) {
      line.problem =
          i18n::say("common.unknown_option", {{"option", check::withoutControlBytes(argument)}});
    } else {
      takeSetting(argument, line);
    }
  }
  const bool none = std::none_of(line.codes.begin(), line.codes.end(),
                                 [](const auto& code) { return code.has_value(); });
  if (line.problem.empty() && none && !line.help && !line.list) {
    line.problem = i18n::say("keys.nothing_to_set");
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
    err << "sashcaster-keys: "
        << i18n::say("keys.would_grow", {{"file", check::withoutControlBytes(file.string())}})
        << "\n";
    return exitFileProblem;
  }
  const std::string problem = writeKeepingBackup(file, after, before.bytes);
  if (!problem.empty()) {
    err << "sashcaster-keys: " << problem << "\n";
    return exitFileProblem;
  }
  const std::string name = check::withoutControlBytes(file.string());
  out << i18n::say(before.bytes ? "keys.wrote" : "keys.wrote_shipped", {{"file", name}}) << "\n";
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

int runKeys(std::vector<std::string> arguments, std::ostream& out, std::ostream& err) {
  if (const std::string problem = i18n::takeLanguageOption(arguments); !problem.empty()) {
    err << "sashcaster-keys: " << problem << "\n";
    return exitBadCommandLine;
  }
  const CommandLine line = parse(arguments);
  if (line.help) {
    out << usageText();
    return exitWritten;
  }
  if (line.list) {
    out << i18n::say("keys.list_heading", {{"program", programName}}) << "\n" << keyList();
    return exitWritten;
  }
  if (!line.problem.empty()) {
    err << "sashcaster-keys: " << line.problem << "\n" << (line.withUsage ? usageText() : "");
    return exitBadCommandLine;
  }
  return setKeys(console::utf8Path(line.file), line.codes, out, err);
}

}  // namespace sashcaster::keys_tool

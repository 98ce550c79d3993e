#include "check/check_command.h"

#include "config/settings_keys.h"
#include "console/utf8_path.h"
#include "i18n/languages.h"
#include "i18n/messages.h"
#include "keys/control_names.h"

namespace sashcaster::check {

namespace {

std::string usageText() {
  return i18n::say("check.usage", {{"tags", i18n::languageList()}});
}

// A finding or a note, after the message of `prefixId` ("note:") if given.
void printRemark(const Remark& remark, const char* prefixId, std::ostream& out) {
  if (prefixId != nullptr) {
    out << i18n::say(prefixId) << " ";
  }
  if (remark.line) {
    out << i18n::say("check.line", {{"line", std::to_string(*remark.line)}}) << " ";
  }
  out << withoutControlBytes(remark.text) << "\n";
}

}  // namespace

std::string controllerLine() {
  // Trigger, front, left, right, back, as the throw loop queries them.
  const keys::ControlName& trigger = keys::controlNames[triggerIndex];
  return i18n::say("check.controller", {{"button", trigger.padButton},
                                        {"control", trigger.gameName},
                                        {"directions", i18n::say("check.direction_controls")}});
}

void printReport(const Report& report, std::ostream& out) {
  const std::string file = withoutControlBytes(report.file.string());
  out << i18n::say("check.checking", {{"file", file}}) << "\n";
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    const std::uint32_t code = report.loaded.*settingsKeys[index].field;
    out << settingsKeys[index].name << " = " << codeAndKey(code) << "   "
        << withoutControlBytes(report.origin[index]) << "\n";
  }
  for (const Remark& finding : report.findings) {
    printRemark(finding, nullptr, out);
  }
  for (const Remark& note : report.notes) {
    printRemark(note, "check.note", out);
  }
  const std::size_t count = report.findings.size();
  if (count == 0) {
    out << i18n::say("check.no_findings", {{"file", file}}) << "\n";
  } else {
    out << i18n::sayCount("check.findings", count) << "\n";
  }
  out << controllerLine() << "\n";
}

int runCheck(std::vector<std::string> arguments, std::ostream& out, std::ostream& err) {
  if (const std::string problem = i18n::takeLanguageOption(arguments); !problem.empty()) {
    err << "sashcaster-check: " << problem << "\n";
    return exitBadCommandLine;
  }
  std::string file = "Sashcaster.ini";
  bool fileGiven = false;
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      out << usageText();
      return exitNoFindings;
    }
    if (argument.starts_with("-") || fileGiven) {
      err << "sashcaster-check: "
          << (fileGiven ? i18n::say("check.more_than_one_file", {{"argument", argument}})
                        : i18n::say("common.unknown_option", {{"option", argument}}))
          << "\n"
          << usageText();
      return exitBadCommandLine;
    }
    file = argument;
    fileGiven = true;
  }
  const Report report = checkSettingsFile(console::utf8Path(file));
  printReport(report, out);
  return report.findings.empty() ? exitNoFindings : exitFindings;
}

}  // namespace sashcaster::check

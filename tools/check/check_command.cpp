#include "check/check_command.h"

#include "config/settings_keys.h"
#include "console/utf8_path.h"
#include "keys/control_names.h"

namespace sashcaster::check {

namespace {

constexpr const char* usageText =
    "usage: sashcaster-check [FILE]\n"
    "Shows how the Sashcaster plug-in reads its settings file FILE, by default\n"
    "Sashcaster.ini in the folder it runs in: run it in the game's folder (the one\n"
    "with RDR2.exe), where the plug-in reads that file. It shows the five keys the\n"
    "plug-in will hold and where each comes from, then every mistake that keeps a\n"
    "key or a throw from working, with its line and the fix, and every file the\n"
    "game's folder lacks for the plug-in to load.\n"
    "Exit status: 0 with no findings, 1 with findings, 2 for a bad command line.\n";

void printRemark(const Remark& remark, const char* prefix, std::ostream& out) {
  out << prefix;
  if (remark.line) {
    out << "line " << *remark.line << ": ";
  }
  out << withoutControlBytes(remark.text) << "\n";
}

}  // namespace

std::string controllerLine() {
  // Trigger, front, left, right, back, as the throw loop queries them.
  const keys::ControlName& trigger = keys::controlNames[triggerIndex];
  return std::string("Controller: hold ") + trigger.padButton + " (" + trigger.gameName +
         ") and push left, right or down on " + directionControls +
         " to throw that way; for the front, hold " + trigger.padButton +
         ", push up, and let go of " + trigger.padButton +
         " while still pushing up. Controller throws need no settings.";
}

void printReport(const Report& report, std::ostream& out) {
  const std::string file = withoutControlBytes(report.file.string());
  out << "Checking " << file << "\n";
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    const std::uint32_t code = report.loaded.*settingsKeys[index].field;
    out << settingsKeys[index].name << " = " << codeAndKey(code) << "   "
        << withoutControlBytes(report.origin[index]) << "\n";
  }
  for (const Remark& finding : report.findings) {
    printRemark(finding, "", out);
  }
  for (const Remark& note : report.notes) {
    printRemark(note, "note: ", out);
  }
  const std::size_t count = report.findings.size();
  if (count == 0) {
    out << "No findings: the plug-in reads " << file << " as shown above.\n";
  } else {
    out << count << (count == 1 ? " finding" : " findings")
        << ": fix what is listed above, then run this check again.\n";
  }
  out << controllerLine() << "\n";
}

int runCheck(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  std::string file = "Sashcaster.ini";
  bool fileGiven = false;
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      out << usageText;
      return exitNoFindings;
    }
    if (argument.starts_with("-") || fileGiven) {
      err << "sashcaster-check: " << (fileGiven ? "more than one file given: " : "unknown option: ")
          << argument << "\n"
          << usageText;
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

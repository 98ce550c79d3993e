// Arbitrary bytes as a settings file, explained by the settings check as it
// explains a file it has read. Checked on every input: nothing is thrown; the
// codes are the plug-in's load; a key shown as coming from a line names a key
// line of that key; every finding's line exists; a code the plug-in is never
// sent is a finding of its key; the printed report holds no
// control bytes but line ends and ends with its count and the controller's
// buttons.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "check/check_command.h"
#include "check/report.h"
#include "config/ini_file.h"
#include "config/ini_text.h"
#include "config/settings_keys.h"
#include "fuzz/require.h"
#include "keys/key_names.h"

namespace {

using namespace sashcaster;

using fuzz::require;

void requireKeyLinesTrue(const check::Report& report, const std::vector<std::string>& lines) {
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    const std::optional<check::KeyLine>& winner = report.winner[index];
    if (!winner) {
      continue;
    }
    require(winner->line >= 1 && winner->line <= lines.size(), "a key's line exists");
    std::pair<std::string, std::string> pair;
    require(classifyLine(lines[winner->line - 1], pair) == IniLineKind::KeyValue &&
                pair.first == settingsKeys[index].name,
            "a key's line is a line of that key");
  }
  for (const check::Remark& finding : report.findings) {
    require(!finding.line || (*finding.line >= 1 && *finding.line <= lines.size()),
            "a finding's line exists");
  }
}

// A key that loads a code the plug-in is never sent cannot work.
void requireNeverReceivedFound(const check::Report& report) {
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    if (!keys::whyNeverReceived(report.loaded.*settingsKeys[index].field)) {
      continue;
    }
    bool found = false;
    for (const check::Remark& finding : report.findings) {
      found = found || (finding.keys & check::keyBit(index)) != 0;
    }
    require(found, "a code never received is a finding of its key");
  }
}

void requirePrintable(const std::string& text, std::size_t findings) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    require(byte == '\n' || (byte >= 0x20 && byte != 0x7F), "the report prints no control bytes");
  }
  const std::string_view report(text);
  const std::size_t last = report.rfind('\n', report.size() - 2);
  require(last != std::string_view::npos && last > 0, "the report has lines");
  require(report.substr(last + 1) == check::controllerLine() + "\n",
          "the last line tells the controller's buttons");
  const std::size_t count = report.rfind('\n', last - 1);
  const std::string_view countLine = report.substr(count + 1, last - count - 1);
  require(findings == 0 ? countLine.starts_with("No findings")
                        : countLine.starts_with(std::to_string(findings) + " finding"),
          "the line before the last counts the findings");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  check::Report report;
  report.file = "Sashcaster.ini";
  report.read = true;
  IniStructure document;
  parseIniBytes(bytes, document);
  loadSettingsKeys(document, report.loaded);
  Settings plugIn;
  loadSettingsKeys(document, plugIn);
  const std::vector<std::string> lines = splitIniLines(bytes);
  try {
    check::checkEncoding(report, bytes.substr(0, 3));
    check::checkLines(report, bytes);
    check::checkValues(report);
    check::checkKeyClashes(report);
  } catch (...) {
    require(false, "the check threw");
  }
  for (const SettingsKey& key : settingsKeys) {
    require(report.loaded.*key.field == plugIn.*key.field, "the codes are the plug-in's");
  }
  requireKeyLinesTrue(report, lines);
  requireNeverReceivedFound(report);
  std::ostringstream out;
  check::printReport(report, out);
  requirePrintable(out.str(), report.findings.size());
  return 0;
}

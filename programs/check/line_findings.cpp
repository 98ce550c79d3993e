// Findings tied to lines: sections and keys the plug-in passes over, and
// which line of each key counts. Lines are classified by the plug-in's own
// reader, so what is reported here is what the plug-in does with them.
#include <algorithm>
#include <string>
#include <utility>

#include "check/near_miss.h"
#include "check/report.h"
#include "config/ini_lines.h"
#include "config/ini_text.h"
#include "config/settings_keys.h"
#include "i18n/messages.h"

namespace sashcaster::check {

namespace {

const std::string wantedSection = settingsSectionName;

std::string keyList() {
  std::string list;
  for (const SettingsKey& key : settingsKeys) {
    list += (list.empty() ? "" : ", ") + std::string(key.name);
  }
  return list;
}

// The index of the key in load order, if the name is one of the five.
std::optional<std::size_t> keyIndex(std::string_view name) {
  for (std::size_t i = 0; i < settingsKeys.size(); ++i) {
    if (name == settingsKeys[i].name) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<std::size_t> nearKeyIndex(std::string_view name) {
  for (std::size_t i = 0; i < settingsKeys.size(); ++i) {
    if (isNearMiss(name, settingsKeys[i].name)) {
      return i;
    }
  }
  return std::nullopt;
}

class LineWalk {
 public:
  explicit LineWalk(Report& report) : report_(report) {}

  void visit(const IniLine& line) {
    switch (line.kind) {
      case IniLineKind::SectionHeader:
        header(line.number, line.pair.first);
        break;
      case IniLineKind::KeyValue:
        keyValue({line.number, line.pair.first, line.pair.second, std::string(line.text)});
        break;
      case IniLineKind::Unrecognised:
        unrecognised(line.number, line.text);
        break;
      case IniLineKind::Blank:
      case IniLineKind::Comment:
        break;
    }
  }

  void finish() {
    if (!sawSection_ && !sawNearSection_) {
      report_.findings.push_back({std::nullopt, i18n::say("line.no_section")});
    }
  }

 private:
  void find(std::size_t number, std::string text, std::uint8_t keys = 0) {
    report_.findings.push_back({number, std::move(text), keys});
  }

  void header(std::size_t number, const std::string& name) {
    headerSeen_ = true;
    section_ = name;
    sawSection_ = sawSection_ || name == wantedSection;
    if (isNearMiss(name, wantedSection)) {
      sawNearSection_ = true;
      nearHeaderFinding_ = report_.findings.size();
      find(number, i18n::say("line.near_section", {{"name", name}}));
    }
  }

  void keyValue(KeyLine line) {
    if (headerSeen_ && section_ == wantedSection) {
      keyInSection(std::move(line));
      return;
    }
    const std::optional<std::size_t> index = keyIndex(line.key);
    if (!index) {
      return;
    }
    if (!headerSeen_) {
      find(line.line, i18n::say("line.before_section", {{"key", line.key}}), keyBit(*index));
    } else if (!isNearMiss(section_, wantedSection)) {
      find(line.line,
           i18n::say("line.other_section", {{"key", line.key}, {"section", printable(section_)}}),
           keyBit(*index));
    } else {
      report_.findings[nearHeaderFinding_].keys |= keyBit(*index);
    }
  }

  void keyInSection(KeyLine line) {
    if (const std::optional<std::size_t> index = keyIndex(line.key)) {
      std::optional<KeyLine>& winner = report_.winner[*index];
      if (winner) {
        find(line.line, i18n::say("line.repeated",
                                  {{"key", line.key}, {"earlier", std::to_string(winner->line)}}));
      }
      winner = std::move(line);
    } else if (const std::optional<std::size_t> near = nearKeyIndex(line.key)) {
      find(line.line,
           i18n::say("line.near_key",
                     {{"name", printable(line.key)}, {"key", settingsKeys[*near].name}}),
           keyBit(*near));
    } else {
      find(line.line,
           i18n::say("line.unknown_key", {{"name", printable(line.key)}, {"keys", keyList()}}));
    }
  }

  void unrecognised(std::size_t number, std::string_view line) {
    if (headerSeen_ && section_ == wantedSection) {
      // "iXKey 90" is meant for iXKey.
      const std::string_view first =
          trimmedView(line).substr(0, trimmedView(line).find_first_of(iniWhitespace));
      const std::optional<std::size_t> meant =
          keyIndex(first) ? keyIndex(first) : nearKeyIndex(first);
      find(number, i18n::say("line.not_key", {{"line", printable(line)}}),
           meant ? keyBit(*meant) : 0);
    }
  }

  Report& report_;
  bool headerSeen_ = false;
  std::string section_;
  bool sawSection_ = false;
  bool sawNearSection_ = false;
  std::size_t nearHeaderFinding_ = 0;  // the finding of the last near-miss header
};

}  // namespace

void checkLines(Report& report, std::string_view bytes) {
  LineWalk walk(report);
  for (IniLineWalk lines(bytes); lines.next();) {
    walk.visit(lines.line());
  }
  walk.finish();
}

}  // namespace sashcaster::check

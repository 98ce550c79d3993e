// Findings about the value of each key's line that counts: whether the
// plug-in's conversion takes it, and what it makes of it.
#include <cctype>
#include <charconv>
#include <string>

#include "check/fix_command.h"
#include "check/report.h"
#include "config/decimal_int.h"
#include "config/ini_text.h"
#include "config/settings_keys.h"
#include "i18n/messages.h"
#include "keys/key_names.h"

namespace sashcaster::check {

namespace {

// The code the plug-in receives for a key; none for a mouse button.
std::optional<std::uint32_t> asReceived(std::uint32_t code) {
  if (keys::isMouseButton(code)) {
    return std::nullopt;
  }
  return keys::codeReceivedFor(code).value_or(code);
}

// The key meant by a value written as a key's name ("Z", "X key", "F5"), as
// the plug-in receives it ("Left Shift" arrives as Shift); none for a mouse
// button, which never arrives.
std::optional<std::uint32_t> keyNamed(std::string_view value) {
  std::optional<std::uint32_t> code = keys::keyCode(std::string(value));
  if (!code) {
    code = keys::keyCode(std::string(value.substr(0, value.find_first_of(iniWhitespace))));
  }
  return code ? asReceived(*code) : std::nullopt;
}

// A value written in hexadecimal, as Microsoft's table of key codes gives them.
std::optional<std::uint32_t> hexadecimalMeant(std::string_view value) {
  value = trimmedView(value);
  if (!value.empty() && (value.front() == '+' || value.front() == '-')) {
    return std::nullopt;
  }
  if (value.size() < 2 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X')) {
    return std::nullopt;
  }
  std::uint32_t number = 0;
  const char* start = value.data() + 2;
  const auto [end, error] = std::from_chars(start, value.data() + value.size(), number, 16);
  if (error != std::errc() || end == start) {
    return std::nullopt;
  }
  return number;
}

// Whatever follows the number, which the conversion ignores.
bool hasTextAfterNumber(std::string_view value) {
  std::size_t at = value.find_first_not_of(iniWhitespace);
  if (at < value.size() && (value[at] == '+' || value[at] == '-')) {
    ++at;
  }
  while (at < value.size() && std::isdigit(static_cast<unsigned char>(value[at])) != 0) {
    ++at;
  }
  return at < value.size();
}

void checkConverted(Report& report, const KeyLine& line, std::size_t index, std::uint32_t code) {
  const char* key = settingsKeys[index].name;
  const std::string value = printable(line.value);
  if (const std::optional<std::uint32_t> meant = hexadecimalMeant(line.value)) {
    report.findings.push_back(
        {line.line,
         i18n::say("value.hexadecimal", {{"key", key},
                                         {"value", value},
                                         {"decimal", std::to_string(*meant)},
                                         {"hex", printable(trimmedView(line.value))},
                                         {"command", setKeyCommand(index, asReceived(*meant))}})});
    return;
  }
  if (const std::optional<std::string> why = keys::whyNeverReceived(code)) {
    const std::optional<std::uint32_t> received = keys::codeReceivedFor(code);
    report.findings.push_back(
        {line.line, i18n::say(received ? "value.never_received" : "value.never_received_with",
                              {{"key", key},
                               {"value", value},
                               {"why", *why},
                               {"command", setKeyCommand(index, received)}})});
  } else if (code < 255 && !keys::keyName(code)) {
    report.findings.push_back(
        {line.line, i18n::say("value.no_key", {{"key", key},
                                               {"value", value},
                                               {"number", std::to_string(code)},
                                               {"command", setKeyCommand(index)}})});
  } else if (code >= 255) {
    report.notes.push_back(
        {line.line,
         i18n::say(index == triggerIndex ? "value.off_every" : "value.off_one",
                   {{"key", key}, {"value", value}, {"throw", settingMessage(index, "name")}})});
  }
  if (hasTextAfterNumber(line.value)) {
    report.notes.push_back(
        {line.line, i18n::say("value.text_after",
                              {{"key", key}, {"value", value}, {"number", asWritten(code)}})});
  }
}

// A value that gives no number: why, and the fix, by code or by name.
std::string noNumber(const KeyLine& line, std::size_t index, std::uint32_t code) {
  const char* key = settingsKeys[index].name;
  const std::string keeps = codeAndKey(code);
  if (line.value.empty()) {
    return i18n::say("value.empty",
                     {{"key", key}, {"code", keeps}, {"command", setKeyCommand(index)}});
  }
  const std::string value = printable(line.value);
  if (const std::optional<std::uint32_t> named = keyNamed(line.value)) {
    return i18n::say("value.not_number_named", {{"key", key},
                                                {"value", value},
                                                {"code", keeps},
                                                {"number", std::to_string(*named)},
                                                {"name", *keys::keyName(*named)},
                                                {"command", setKeyCommand(index, named)}});
  }
  return i18n::say(
      "value.not_number",
      {{"key", key}, {"value", value}, {"code", keeps}, {"command", setKeyCommand(index)}});
}

void checkKey(Report& report, std::size_t index) {
  const SettingsKey& key = settingsKeys[index];
  const std::uint32_t code = report.loaded.*key.field;
  const std::optional<KeyLine>& line = report.winner[index];
  if (!line) {
    report.origin[index] =
        i18n::say(report.read ? "origin.default_not_set" : "origin.default_unread");
    return;
  }
  const std::string where = std::to_string(line->line);
  switch (decimalFailureOf(line->value)) {
    case DecimalFailure::None:
      report.fromLine[index] = true;
      report.origin[index] =
          i18n::say("origin.from_line", {{"line", where}, {"text", printable(line->source)}});
      checkConverted(report, *line, index, code);
      break;
    case DecimalFailure::NoDigits:
      report.origin[index] = i18n::say("origin.default_no_number", {{"line", where}});
      report.findings.push_back({line->line, noNumber(*line, index, code)});
      break;
    case DecimalFailure::OutOfRange:
      report.origin[index] = i18n::say("origin.default_out_of_range", {{"line", where}});
      report.findings.push_back(
          {line->line, i18n::say("value.out_of_range", {{"key", key.name},
                                                        {"value", printable(line->value)},
                                                        {"code", codeAndKey(code)},
                                                        {"command", setKeyCommand(index)}})});
      break;
  }
}

}  // namespace

std::string asWritten(std::uint32_t code) {
  return std::to_string(static_cast<std::int32_t>(code));
}

std::string codeAndKey(std::uint32_t code) {
  return (code >= 255 ? i18n::say("key.off") : std::to_string(code)) + " (" +
         (code >= 255 ? asWritten(code) : keys::describeKey(code)) + ")";
}

void checkValues(Report& report) {
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    const std::size_t before = report.findings.size();
    checkKey(report, index);
    // Whatever is found in a key's value keeps it from loading as meant.
    for (std::size_t added = before; added < report.findings.size(); ++added) {
      report.findings[added].keys |= keyBit(index);
    }
  }
}

}  // namespace sashcaster::check

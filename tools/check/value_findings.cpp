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
#include "keys/key_names.h"

namespace sashcaster::check {

namespace {

// What a key of 255 or more, or below 0, switches off.
std::string offThrows(std::size_t index) {
  return index == triggerIndex ? std::string("every throw is")
                               : "the " + std::string(throwDirections[index]) + " throw is";
}

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

// The fix by name: the keys tool's command for that key, or for any key.
std::string orRun(std::size_t index, std::optional<std::uint32_t> code = std::nullopt) {
  return ", or run " + setKeyCommand(index, code);
}

// ", 90 for Z, or run Sashcaster-keys.exe trigger=Z" for a value that names a key.
std::string decimalHint(std::string_view value, std::size_t index) {
  const std::optional<std::uint32_t> code = keyNamed(value);
  return code ? ", " + std::to_string(*code) + " for " + *keys::keyName(*code) + orRun(index, code)
              : orRun(index);
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

std::string keepsText(const char* key, std::uint32_t code) {
  return ", so " + std::string(key) + " keeps its earlier value (at the game's start " +
         codeAndKey(code) + ")";
}

void checkConverted(Report& report, const KeyLine& line, std::size_t index, std::uint32_t code) {
  const char* key = settingsKeys[index].name;
  const std::string written = key + std::string(" = ") + printable(line.value);
  if (const std::optional<std::uint32_t> meant = hexadecimalMeant(line.value)) {
    report.findings.push_back(
        {line.line, written +
                        " reads as 0, which is no key: the plug-in reads decimal numbers "
                        "only. Write " +
                        std::to_string(*meant) + ", the decimal of " +
                        printable(trimmedView(line.value)) + orRun(index, asReceived(*meant)) +
                        "."});
    return;
  }
  if (const std::optional<std::string> why = keys::whyNeverReceived(code)) {
    const std::optional<std::uint32_t> received = keys::codeReceivedFor(code);
    report.findings.push_back(
        {line.line, written + ": " + *why +
                        (received ? orRun(index, received) : " with " + setKeyCommand(index)) +
                        "."});
  } else if (code < 255 && !keys::keyName(code)) {
    report.findings.push_back({line.line, written + " is code " + std::to_string(code) +
                                              ", which is no key, so that key never counts: "
                                              "write the decimal code of a key" +
                                              orRun(index) + "."});
  } else if (code >= 255) {
    report.notes.push_back({line.line, written + ": " + offThrows(index) +
                                           " off on the keyboard (255 or more, or below 0, "
                                           "means off), which may be what you want; the "
                                           "controller still throws."});
  }
  if (hasTextAfterNumber(line.value)) {
    report.notes.push_back({line.line, written + " reads as " + asWritten(code) +
                                           ": the text after the number is ignored."});
  }
}

void checkKey(Report& report, std::size_t index) {
  const SettingsKey& key = settingsKeys[index];
  const std::uint32_t code = report.loaded.*key.field;
  const std::optional<KeyLine>& line = report.winner[index];
  if (!line) {
    report.origin[index] = report.read
                               ? "built-in default: the [Sashcaster] section does not set it"
                               : "built-in default: the plug-in cannot read the file";
    return;
  }
  const std::string where = "line " + std::to_string(line->line);
  switch (decimalFailureOf(line->value)) {
    case DecimalFailure::None:
      report.fromLine[index] = true;
      report.origin[index] = "from " + where + ": " + printable(line->source);
      checkConverted(report, *line, index, code);
      break;
    case DecimalFailure::NoDigits:
      report.origin[index] = "built-in default: " + where + " gives no number";
      report.findings.push_back(
          {line->line, line->value.empty()
                           ? std::string(key.name) + " has no value" + keepsText(key.name, code) +
                                 ": write its decimal key code after the =" + orRun(index) + "."
                           : std::string(key.name) + " = " + printable(line->value) +
                                 " is not a number" + keepsText(key.name, code) +
                                 ": write the key's decimal code" +
                                 decimalHint(line->value, index) + "."});
      break;
    case DecimalFailure::OutOfRange:
      report.origin[index] = "built-in default: " + where + " gives a number out of range";
      report.findings.push_back(
          {line->line, std::string(key.name) + " = " + printable(line->value) +
                           " is outside -2147483648 to 2147483647" + keepsText(key.name, code) +
                           ": write the key's decimal code" + orRun(index) + "."});
      break;
  }
}

}  // namespace

std::string asWritten(std::uint32_t code) {
  return std::to_string(static_cast<std::int32_t>(code));
}

std::string codeAndKey(std::uint32_t code) {
  return code >= 255 ? "off (" + asWritten(code) + ")"
                     : std::to_string(code) + " (" + keys::describeKey(code) + ")";
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

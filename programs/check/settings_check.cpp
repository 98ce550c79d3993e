// The whole check of one settings file, in the order the plug-in meets it.
#include <algorithm>
#include <fstream>

#include "check/report.h"
#include "config/ini_file.h"
#include "config/settings_keys.h"
#include "i18n/messages.h"

namespace sashcaster::check {

namespace {

constexpr std::size_t longestQuote = 60;

std::string firstBytesOf(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::string bytes(3, '\0');
  stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(stream.gcount(), 0)));
  return bytes;
}

// The plug-in's reader takes names as UTF-8 text, whatever Windows' code page.
std::string utf8Name(const std::filesystem::path& file) {
  const std::u8string name = file.u8string();
  return {name.begin(), name.end()};
}

}  // namespace

std::string printable(std::string_view line) {
  std::size_t length = std::min(line.size(), longestQuote);
  // Never cut a UTF-8 character in two.
  while (length < line.size() && length > 0 &&
         (static_cast<unsigned char>(line[length]) & 0xC0U) == 0x80U) {
    --length;
  }
  const std::string text = withoutControlBytes(line.substr(0, length));
  return length < line.size() ? text + "..." : text;
}

std::string withoutControlBytes(std::string_view text) {
  std::string shown(text);
  for (char& c : shown) {
    const auto byte = static_cast<unsigned char>(c);
    c = (byte < 0x20 || byte == 0x7F) ? '?' : c;
  }
  return shown;
}

std::string inQuotes(std::string_view line) {
  std::string text(1, '"');
  text += printable(line);
  text += '"';
  return text;
}

void checkEncoding(Report& report, std::string_view firstBytes) {
  const char* note = nullptr;
  if (firstBytes.starts_with("\xFF\xFE")) {
    note = "file.utf16le";
  } else if (firstBytes.starts_with("\xFE\xFF")) {
    note = "file.utf16be";
  } else if (firstBytes.starts_with("\xEF\xBB\xBF")) {
    note = "file.utf8_bom";
  }
  if (note != nullptr) {
    report.notes.push_back({std::nullopt, i18n::say(note)});
  }
}

Report checkSettingsFile(const std::filesystem::path& file, std::uint8_t justSet) {
  Report report;
  report.file = file;
  report.justSet = justSet;
  checkFileItself(report);
  checkInstallation(report);
  if (report.read) {
    // The plug-in's own reader and load, from the built-in defaults.
    IniStructure document;
    IniFile(utf8Name(file)).read(document);
    loadSettingsKeys(document, report.loaded);
    checkEncoding(report, firstBytesOf(file));
    checkLines(report, IniStreamReader(utf8Name(file)).bytes());
  }
  checkValues(report);
  checkKeyClashes(report);
  const auto byLine = [](const Remark& a, const Remark& b) { return a.line < b.line; };
  std::stable_sort(report.findings.begin(), report.findings.end(), byLine);
  std::stable_sort(report.notes.begin(), report.notes.end(), byLine);
  return report;
}

}  // namespace sashcaster::check

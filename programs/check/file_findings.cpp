// Findings about the settings file as a file: whether the plug-in can read it
// at all, and whether it stands where the plug-in looks.
#include <algorithm>
#include <cerrno>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "check/files_meant_for.h"
#include "check/installation.h"
#include "check/near_miss.h"
#include "check/report.h"
#include "config/ini_file.h"
#include "i18n/messages.h"

namespace sashcaster::check {

namespace fs = std::filesystem;

namespace {

constexpr const char* settingsFileName = "Sashcaster.ini";

fs::path folderOf(const fs::path& file) {
  return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

}  // namespace

std::string inFolderOf(const fs::path& file) {
  return file.has_parent_path()
             ? i18n::say("place.in_folder", {{"folder", file.parent_path().string()}})
             : i18n::say("place.in_this_folder");
}

namespace {

// The names in the folder, sorted so that every system lists them alike.
std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code code;
  for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool startsIgnoringCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && sameIgnoringCase(text.substr(0, start.size()), start);
}

bool isReleaseCompanion(std::string_view name) {
  return std::any_of(releaseCompanions.begin(), releaseCompanions.end(),
                     [&](const char* companion) { return sameIgnoringCase(name, companion); });
}

// "Sashcaster.ini.txt", "sashcaster.INI", "Sashcaster.txt", "Sashcaster (1).ini";
// never one of the release's own files, which share the plug-in's name.
bool looksMeantFor(const fs::path& candidate, const fs::path& wanted) {
  const std::string name = candidate.filename().string();
  if (isReleaseCompanion(name)) {
    return false;
  }
  const std::string stem = candidate.stem().string();
  const std::string extension = candidate.extension().string();
  const std::string wantedStem = wanted.stem().string();
  const bool textLike = extension.empty() || sameIgnoringCase(extension, ".ini") ||
                        sameIgnoringCase(extension, ".txt");
  return sameIgnoringCase(name, wanted.filename().string()) ||
         startsIgnoringCase(name, wanted.filename().string() + ".") ||
         (textLike && (startsIgnoringCase(stem, wantedStem) || isNearMiss(stem, wantedStem)));
}

void reportMissing(Report& report) {
  const fs::path& file = report.file;
  report.findings.push_back(
      {std::nullopt,
       i18n::say("file.missing", {{"file", file.string()}, {"in_folder", inFolderOf(file)}})});
  for (const std::string& name : filesMeantFor(file)) {
    report.findings.push_back(
        {std::nullopt, i18n::say("file.meant_for", {{"name", name},
                                                    {"in_folder", inFolderOf(file)},
                                                    {"wanted", file.filename().string()}})});
  }
}

void reportUnreadable(Report& report, const std::string& reason) {
  report.findings.push_back(
      {std::nullopt,
       i18n::say("file.unreadable", {{"file", report.file.string()}, {"reason", reason}})});
}

}  // namespace

std::vector<std::string> filesMeantFor(const fs::path& file) {
  std::vector<std::string> names = namesIn(folderOf(file));
  std::erase_if(names, [&](const std::string& name) {
    return name == file.filename().string() || !looksMeantFor(fs::path(name), file.filename());
  });
  return names;
}

void checkFileItself(Report& report) {
  const fs::path& file = report.file;
  std::error_code code;
  const fs::file_status status = fs::status(file, code);
  if (status.type() == fs::file_type::not_found) {
    reportMissing(report);
    return;
  }
  if (status.type() == fs::file_type::none) {
    reportUnreadable(report, code.message());
    return;
  }
  if (fs::is_directory(status)) {
    report.findings.push_back({std::nullopt, i18n::say("file.folder", {{"file", file.string()}})});
    return;
  }
  const std::uintmax_t size = fs::file_size(file, code);
  if (!code && size > static_cast<std::uintmax_t>(maxIniFileBytes)) {
    report.findings.push_back(
        {std::nullopt,
         i18n::say("file.too_large", {{"file", file.string()}, {"size", std::to_string(size)}})});
    return;
  }
  errno = 0;
  const std::ifstream probe(file, std::ios::binary);
  if (!probe) {
    reportUnreadable(report, errno != 0 ? std::generic_category().message(errno)
                                        : i18n::say("common.no_reason"));
    return;
  }
  report.read = true;
  if (!sameIgnoringCase(file.filename().string(), settingsFileName)) {
    report.notes.push_back(
        {std::nullopt, i18n::say("file.other_name", {{"name", file.filename().string()}})});
  }
}

}  // namespace sashcaster::check

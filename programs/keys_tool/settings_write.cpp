#include "keys_tool/settings_write.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>
#include <utility>
#include <vector>

#include "check/files_meant_for.h"
#include "check/report.h"
#include "config/ini_file.h"
#include "console/file_move.h"
#include "i18n/messages.h"

namespace sashcaster::keys_tool {

namespace fs = std::filesystem;

namespace {

std::string shown(const fs::path& file) {
  return check::withoutControlBytes(file.string());
}

std::string errnoText() {
  return errno != 0 ? std::generic_category().message(errno) : i18n::say("common.no_reason");
}

fs::path beside(const fs::path& file, const std::string& suffix) {
  fs::path name = file;
  name += suffix;
  return name;
}

// A file of its own beside the settings file, removed again unless it was
// moved away.
class TempFile {
 public:
  explicit TempFile(const fs::path& file) {
    std::random_device random;
    std::string suffix(1, '.');
    suffix.append(std::to_string(random())).append(".tmp");
    path_ = beside(file, suffix);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    std::error_code ignored;
    // Windows refuses to delete a read-only file, such as a .bak set aside.
    fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add, ignored);
    fs::remove(path_, ignored);
  }

  const fs::path& path() const { return path_; }

  // On the disk before it is moved anywhere: a crash then leaves the old file
  // or the new one, never an empty one.
  bool write(std::string_view bytes, std::string& reason) {
    return console::writeDurably(path_, bytes, reason);
  }

 private:
  fs::path path_;
};

std::string cannotWrite(const fs::path& file, const std::string& reason) {
  const std::string folder =
      file.has_parent_path() ? i18n::say("place.in_folder", {{"folder", shown(file.parent_path())}})
                             : i18n::say("place.in_this_folder");
  return i18n::say("write.cannot_write",
                   {{"in_folder", folder}, {"reason", reason}, {"file", shown(file)}});
}

std::string cannotReplace(const fs::path& target, const fs::path& file, const std::string& reason) {
  return i18n::say("write.cannot_replace",
                   {{"target", shown(target)}, {"reason", reason}, {"file", shown(file)}});
}

// Moves the new bytes over the file with the old ones as FILE.bak. An earlier
// FILE.bak is set aside first and put back if the file cannot be replaced.
std::string moveKeepingBackup(const fs::path& file, TempFile& fresh, TempFile& old) {
  const fs::path backup = beside(file, ".bak");
  TempFile former(file);
  std::string reason;
  std::error_code code;
  const fs::file_status status = fs::symlink_status(backup, code);
  const bool hadBackup = fs::exists(status);
  // Only a file is set aside and dropped; anything else there stays untouched.
  if (hadBackup && !fs::is_regular_file(status)) {
    return cannotReplace(backup, file, i18n::say("write.not_a_file"));
  }
  if (hadBackup && !console::moveOver(backup, former.path(), reason)) {
    return cannotReplace(backup, file, reason);
  }
  const auto restore = [&] {
    std::string ignored;
    if (hadBackup) {
      console::moveOver(former.path(), backup, ignored);
    } else {
      fs::remove(backup, code);
    }
  };
  if (!console::moveOver(old.path(), backup, reason)) {
    restore();
    return cannotReplace(backup, file, reason);
  }
  if (!console::moveOver(fresh.path(), file, reason)) {
    restore();
    return cannotReplace(file, file, reason);
  }
  return "";
}

std::string quotedNames(const std::vector<std::string>& names) {
  // Built from the end: "a", "b" and "c" is more("a", two("b", "c")).
  std::string text = check::inQuotes(names.back());
  for (std::size_t i = names.size() - 1; i-- > 0;) {
    text = i18n::say(i + 2 == names.size() ? "list.two" : "list.more",
                     {{"first", check::inQuotes(names[i])}, {"second", text}, {"rest", text}});
  }
  return text;
}

// No file, but one beside it that the player meant: writing a fresh file would
// leave their keys in the other one, which the plug-in never reads.
std::string meantElsewhere(const fs::path& file, const std::vector<std::string>& names) {
  const std::string wanted = check::withoutControlBytes(file.filename().string());
  return i18n::say("write.meant_elsewhere", {{"file", shown(file)},
                                             {"names", quotedNames(names)},
                                             {"wanted", wanted},
                                             {"first", check::inQuotes(names.front())}});
}

std::string readOnly(const fs::path& file) {
#ifdef _WIN32
  constexpr const char* message = "write.read_only_windows";
#else
  constexpr const char* message = "write.read_only_posix";
#endif
  return i18n::say(message, {{"file", shown(file)}});
}

}  // namespace

FileBytes readForEdit(const fs::path& file) {
  std::error_code code;
  const fs::file_status status = fs::status(file, code);
  if (status.type() == fs::file_type::not_found) {
    const std::vector<std::string> meant = check::filesMeantFor(file);
    return {std::nullopt, meant.empty() ? "" : meantElsewhere(file, meant)};
  }
  if (fs::is_directory(status)) {
    return {std::nullopt, i18n::say("write.folder", {{"file", shown(file)}})};
  }
  const std::uintmax_t size = fs::file_size(file, code);
  if (!code && size > static_cast<std::uintmax_t>(maxIniFileBytes)) {
    return {std::nullopt,
            i18n::say("write.too_large", {{"file", shown(file)}, {"size", std::to_string(size)}})};
  }
  if (console::isReadOnly(file)) {
    return {std::nullopt, readOnly(file)};
  }
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in && !in.eof()) {
    return {std::nullopt,
            i18n::say("write.unreadable", {{"file", shown(file)}, {"reason", errnoText()}})};
  }
  return {std::move(bytes), ""};
}

std::string writeKeepingBackup(const fs::path& file, std::string_view bytes,
                               const std::optional<std::string>& before) {
  std::string reason;
  TempFile fresh(file);
  if (!fresh.write(bytes, reason)) {
    return cannotWrite(file, reason);
  }
  if (!before) {
    return console::moveOver(fresh.path(), file, reason) ? "" : cannotReplace(file, file, reason);
  }
  TempFile old(file);
  if (!old.write(*before, reason)) {
    return cannotWrite(file, reason);
  }
  return moveKeepingBackup(file, fresh, old);
}

}  // namespace sashcaster::keys_tool

#include "scratch_folder/scratch_folder.h"

#include <random>
#include <system_error>

namespace sashcaster::fake {

namespace fs = std::filesystem;

ScratchFolder::~ScratchFolder() {
  if (path_.empty()) {
    return;
  }
  leave();
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

bool ScratchFolder::make(std::string_view prefix, std::string& error) {
  std::error_code code;
  const fs::path base = fs::temp_directory_path(code);
  if (code) {
    error = "no temporary folder: " + code.message();
    return false;
  }
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate =
        base / (std::string(prefix) + "-" + std::to_string(random()) + std::to_string(random()));
    if (fs::create_directory(candidate, code)) {
      path_ = candidate;
      return true;
    }
  }
  error = "cannot make a scratch folder in " + base.string() +
          (code ? ": " + code.message() : std::string());
  return false;
}

bool ScratchFolder::enter(std::string& error) {
  std::error_code code;
  const fs::path current = fs::current_path(code);
  if (!code) {
    fs::current_path(path_, code);
  }
  if (code) {
    error = "cannot enter " + path_.string() + ": " + code.message();
    return false;
  }
  previous_ = current;
  inside_ = true;
  return true;
}

bool ScratchFolder::leave() {
  if (!inside_) {
    return true;
  }
  std::error_code code;
  fs::current_path(previous_, code);
  inside_ = code.value() != 0;
  return !inside_;
}

}  // namespace sashcaster::fake

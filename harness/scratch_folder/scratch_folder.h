// A fresh folder of its own under the system's temporary folder, for a run
// that must see only the settings file it writes there: the plug-in reads
// that file from the current folder. Removed with what it holds at the end.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sashcaster::fake {

class ScratchFolder {
 public:
  ScratchFolder() = default;
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  // Makes a folder named `prefix` and a random number that no other has;
  // false with the reason in `error`.
  bool make(std::string_view prefix, std::string& error);

  // Makes it the current folder, after noting the one it replaces, which
  // leave() makes current again. Both may be done any number of times.
  bool enter(std::string& error);
  bool leave();

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
  bool inside_ = false;
};

}  // namespace sashcaster::fake

// Files for the benchmarks: a scratch directory that becomes the current
// directory, holding the settings file a turn reads, and settings-like files
// of a chosen size for the reader.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "scratch_folder/scratch_folder.h"

namespace sashcaster::bench {

// Made under the system's temporary directory, made current, and removed
// with everything in it when the object goes away.
class ScratchDirectory {
 public:
  ScratchDirectory();

  const std::filesystem::path& path() const { return folder.path(); }

 private:
  fake::ScratchFolder folder;
};

// The shipped settings file's text, or, when the source tree has none, the
// five built-in keys written out the same way. Tells which through `shipped`.
std::string shippedSettingsText(bool& shipped);

// Settings-like text of exactly `size` bytes: sections of commented
// key/value lines ending in CR LF, as a user's file would hold.
std::string settingsTextOfSize(std::size_t size);

void writeFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace sashcaster::bench

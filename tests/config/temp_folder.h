// A fresh empty folder made the current directory for the life of the object;
// the old current directory comes back and the folder goes when it ends.
#pragma once

#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "scratch_folder/scratch_folder.h"

namespace sashcaster::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string error;
    if (!folder.make("sashcaster-config", error) || !folder.enter(error)) {
      throw std::runtime_error(error);
    }
  }

  // Writes the bytes exactly as given, replacing the file.
  static void write(const std::string& name, std::string_view bytes) {
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

 private:
  fake::ScratchFolder folder;
};

}  // namespace sashcaster::testing

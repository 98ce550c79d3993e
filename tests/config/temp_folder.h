// A fresh empty folder made the current directory for the life of the object;
// the old current directory comes back and the folder goes when it ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace sashcaster::testing {

class TempFolder {
 public:
  TempFolder() : previous(std::filesystem::current_path()) {
    std::random_device random;
    do {
      path = std::filesystem::temp_directory_path() /
             ("sashcaster-config-" + std::to_string(random()) + std::to_string(random()));
    } while (!std::filesystem::create_directory(path));
    std::filesystem::current_path(path);
  }

  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(path, ignored);
  }

  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Writes the bytes exactly as given, replacing the file.
  static void write(const std::string& name, std::string_view bytes) {
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

 private:
  std::filesystem::path previous;
  std::filesystem::path path;
};

}  // namespace sashcaster::testing

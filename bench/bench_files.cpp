#include "bench/bench_files.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace sashcaster::bench {

ScratchDirectory::ScratchDirectory() {
  std::string error;
  if (!folder.make("sashcaster-bench", error) || !folder.enter(error)) {
    throw std::runtime_error(error);
  }
}

std::string shippedSettingsText(bool& shipped) {
  std::ifstream in(SASHCASTER_SHIPPED_SETTINGS, std::ios::binary);
  shipped = in.is_open();
  if (!shipped) {
    return "[Sashcaster]\r\niXKey=88\r\niWindowThrowFront=87\r\niWindowThrowLeft=65\r\n"
           "iWindowThrowRight=68\r\niWindowThrowBack=83\r\n";
  }
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string settingsTextOfSize(std::size_t size) {
  static constexpr const char* keys[] = {"iXKey", "iWindowThrowFront", "iWindowThrowLeft",
                                         "iWindowThrowRight", "iWindowThrowBack"};
  std::string text;
  text.reserve(size + 128);
  for (std::size_t section = 0; text.size() < size; ++section) {
    text += "; keys of profile " + std::to_string(section) + "\r\n";
    text += "[Profile " + std::to_string(section) + "]\r\n";
    for (std::size_t key = 0; key < std::size(keys); ++key) {
      text += keys[key];
      text += " = ";
      text += std::to_string(65 + (section + key) % 26);
      text += key == 0 ? " ; the trigger\r\n" : "\r\n";
    }
    text += "\r\n";
  }
  text.resize(size);
  return text;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

}  // namespace sashcaster::bench

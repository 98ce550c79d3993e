// The sizes of the reader's benchmark files and their names in the scratch
// directory.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace sashcaster::bench {

inline constexpr std::array<std::size_t, 3> readerSizes = {1024, 65536, 1048576};

inline std::string readerFileName(std::size_t size) {
  return "reader-" + std::to_string(size) + ".ini";
}

}  // namespace sashcaster::bench

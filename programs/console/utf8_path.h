// File names travel through the tools as UTF-8 text; a path made from them
// must say so, or Windows would read the bytes in its ANSI code page.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sashcaster::console {

inline std::filesystem::path utf8Path(std::string_view text) {
  return {std::u8string(text.begin(), text.end())};
}

}  // namespace sashcaster::console

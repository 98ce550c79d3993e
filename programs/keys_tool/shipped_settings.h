// The settings file as the release ships it, built into the program from
// package/Sashcaster.ini, for a game folder that has none yet.
#pragma once

#include <string_view>

namespace sashcaster::keys_tool {

std::string_view shippedSettings();

}  // namespace sashcaster::keys_tool

// How close a name a player wrote is to the one the plug-in wants.
#pragma once

#include <cstddef>
#include <string_view>

namespace sashcaster::check {

// The same letters, only in another case.
bool sameIgnoringCase(std::string_view a, std::string_view b);

// Letters to change, add or remove to turn one name into the other, letter
// case aside.
std::size_t editDistance(std::string_view a, std::string_view b);

// Another case or a small slip of spelling: at most two letters wrong,
// missing or extra, letter case aside. An exact match is no near miss.
bool isNearMiss(std::string_view written, std::string_view wanted);

}  // namespace sashcaster::check

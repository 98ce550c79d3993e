// The settings files of the file storm: readable ones with random keys, with
// and without byte-order marks, and the hostile ones a careless editor, a
// broken disk or a hostile user could leave.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>

namespace sashcaster::soak {

using Keys = std::array<std::uint32_t, 5>;  // in the order the load reads them

// Keys for a readable file: mostly codes with a table entry, now and then
// 0 or one the table refuses.
Keys randomKeys(std::mt19937_64& random);

// The five keys under [Sashcaster], among comments and another section.
std::string settingsText(const Keys& keys);

std::string withUtf8Mark(const std::string& text);
std::string asUtf16(const std::string& text, bool bigEndian);

// Hostile files, made once: the big ones are the same on every write.
std::string garbage(std::size_t size, std::uint64_t seed);
std::string zeroBytesThroughout();
std::string hugeLines();
std::string paddedTo(std::size_t size);
std::string numbersPastTheLimits();

}  // namespace sashcaster::soak

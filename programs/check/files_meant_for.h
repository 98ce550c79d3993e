// The files beside a missing settings file that look meant for it, as the
// check finds them, for every tool that must not write past them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sashcaster::check {

// The names in the file's folder, sorted, that look meant for it:
// "Sashcaster.ini.txt", "sashcaster.INI", "Sashcaster.txt", "Sashcaster (1).ini".
// The file's own name is never among them, nor the release's other files.
std::vector<std::string> filesMeantFor(const std::filesystem::path& file);

}  // namespace sashcaster::check

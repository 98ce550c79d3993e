// Moving a file over another in one step, the only file operation whose
// Windows form the tools must call themselves.
#pragma once

#include <filesystem>
#include <string>

namespace sashcaster::console {

// Moves `from` over `to` (same folder), replacing `to` in one step: readers
// see the old file or the new one, never a mix or none. On Windows a file that
// another program holds open cannot be replaced, so the move is retried for
// up to a second. False, with the reason, when it does not happen.
bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
              std::string& reason);

}  // namespace sashcaster::console

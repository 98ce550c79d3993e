// The file operations whose Windows form the tools must call themselves:
// writing a file that survives a crash, moving it over another in one step,
// and telling a read-only file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sashcaster::console {

// Writes the bytes to a new file (or over one) and has the system put them on
// the disk before it returns (FlushFileBuffers, fsync), so that a file moved
// over another afterwards is never empty after a power cut. False, with the
// reason, when the bytes may not all be there.
bool writeDurably(const std::filesystem::path& file, std::string_view bytes, std::string& reason);

// Moves `from` over `to` (same folder), replacing `to` in one step: readers
// see the old file or the new one, never a mix or none, and the move is on the
// disk when it returns (MOVEFILE_WRITE_THROUGH; the folder's fsync elsewhere).
// On Windows a file that another program holds open cannot be replaced, so the
// move is retried for up to a second. False, with the reason, when it does not
// happen.
bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
              std::string& reason);

// Whether the file is marked read-only: the read-only attribute on Windows,
// no write permission for its owner elsewhere (whoever runs the program, so
// that root, who may write anyway, is told as well).
bool isReadOnly(const std::filesystem::path& file);

}  // namespace sashcaster::console

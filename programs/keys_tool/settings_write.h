// Reading the settings file for an edit and writing the edited bytes over it
// safely while the game reads it every turn.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sashcaster::keys_tool {

struct FileBytes {
  std::optional<std::string> bytes;  // none: there is no file yet
  std::string problem;               // set: the file cannot be edited, why and what to do
};

// The file's bytes, unless it is a folder, larger than the plug-in reads or
// cannot be read.
FileBytes readForEdit(const std::filesystem::path& file);

// Writes the bytes to a new file beside `file` and moves it over `file` in one
// step; the bytes it held before, if any, become FILE.bak. Returns why nothing
// was written and what to do, or an empty text when all went through. When it
// fails, the file and FILE.bak are as they were and no other file is left.
std::string writeKeepingBackup(const std::filesystem::path& file, std::string_view bytes,
                               const std::optional<std::string>& before);

}  // namespace sashcaster::keys_tool

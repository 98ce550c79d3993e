// The INI document and its reader: bytes in memory are split into lines and
// parsed into ordered sections of ordered keys; a file is read whole into
// memory first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/ordered_map.h"

namespace sashcaster {

// Key to value text.
using IniSection = OrderedMap<std::string>;
// Section name to section.
using IniStructure = OrderedMap<IniSection>;

// Files larger than this are not read at all, so that a stray huge file
// cannot stall the caller; a file of exactly this size still is.
inline constexpr std::int64_t maxIniFileBytes = 1048576;

// The texts of the lines of a file's bytes, as IniLineWalk reads them. A file
// that starts with a UTF-16 mark is read as UTF-8. A byte-order mark at the
// very start is dropped, a line feed ends a line, carriage returns and zero
// bytes vanish wherever they stand, and the bytes after the last line feed
// form a last line, even when empty. No bytes at all give no lines.
std::vector<std::string> splitIniLines(std::string_view bytes);

// Parses a file's bytes into the target, merging into what it holds: sections
// and keys keep the position of their first occurrence and take the last value.
void parseIniBytes(std::string_view bytes, IniStructure& target);

// One file read whole into memory, for one IniFile::read or for a tool that
// wants the file's lines as the reader cuts them.
class IniStreamReader {
 public:
  // Reads the file, named in UTF-8, while other programs may read, write,
  // rename or delete it.
  explicit IniStreamReader(const std::string& fileName);

  // Adds the file's sections and keys to the target; false when the file
  // could not be opened, its size cannot be told, or it is larger than
  // maxIniFileBytes.
  bool readInto(IniStructure& target) const;

  // The file's bytes, for a walk of its lines; none when the file could not
  // be read as readInto says. Valid while the reader lives.
  std::string_view bytes() const;

  // The file's lines; none when the file could not be read as readInto says.
  std::vector<std::string> splitLines() const;

 private:
  std::string bytes_;  // made before read_, whose initialiser fills it
  bool read_;
};

class IniFile {
 public:
  explicit IniFile(std::string name) : fileName(std::move(name)) {}

  // Empties the target, then fills it from the file; false, with the target
  // left empty, when the name is empty or the file cannot be read.
  bool read(IniStructure& target) const;

  const std::string fileName;
};

}  // namespace sashcaster

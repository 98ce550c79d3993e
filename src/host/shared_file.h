// The settings file, opened for reading so that it stays free for everyone
// else: while it is open, other programs may read it, write it, rename it and
// delete it. An editor that saves by renaming, or a mod manager that removes
// the file, then never meets a file "in use" for the plug-in's sake.
//
// The file is named in UTF-8 text, so that a tool can hand over any path, a
// folder named in Cyrillic say; on Windows it is opened by its UTF-16 form,
// through the system's own calls, so that no C runtime descriptor or stream
// stands between the file and the bytes. One definition per platform.
#pragma once

#include <cstdint>
#include <string>

namespace sashcaster {

// Whether the named file opens for reading, shared as above; it is closed
// again at once.
bool sharedFileOpens(const std::string& utf8Name);

enum class SharedRead : std::uint8_t {
  Read,          // the bytes hold the file
  NotOpened,     // the file is missing, locked, or not a file that opens
  NotReadWhole,  // larger than the limit, its size unknown, or no regular file
};

// Replaces the bytes with the whole named file when it opens and holds at
// most maxBytes bytes; otherwise the bytes are left empty. The size is taken
// once, before reading: bytes that fail to arrive (the file shrank, or a read
// failed) stay zero. A failing close is not reported.
SharedRead readSharedFile(const std::string& utf8Name, std::int64_t maxBytes, std::string& bytes);

}  // namespace sashcaster

// The one walk over a settings file's lines: each line as the reader reads
// it, where it stands in the file's bytes and what kind of line it is. The
// reader's document, the settings check and the keys tool's edit all see the
// file through it, so they cannot part on where a line starts or ends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "config/ini_text.h"
#include "config/utf16_text.h"

namespace sashcaster {

struct IniLine {
  std::size_t number = 0;  // counting from 1
  // The line's units stand in the file's bytes from `begin` to `end`, which
  // is where its line feed starts when `fed`. The first line begins right
  // after a UTF-16 mark and holds any byte-order mark that its text drops; a
  // last odd byte of a UTF-16 file lies after the last line's end.
  std::size_t begin = 0;
  std::size_t end = 0;
  bool fed = false;
  // The line as the reader reads it: decoded from UTF-16, without a
  // byte-order mark at the start of the file, its carriage returns and zero
  // bytes dropped wherever they stand. Valid until the walk moves on.
  std::string_view text;
  IniLineKind kind = IniLineKind::Blank;
  // As classifyLine fills it: a header's section name, or a key and its value.
  std::pair<std::string, std::string> pair;
};

// Walks the lines of a file's bytes in order. A line feed ends a line; the
// bytes after the last one form a last line, even when empty. No bytes at
// all, or only a byte-order mark, give no lines.
class IniLineWalk {
 public:
  explicit IniLineWalk(std::string_view bytes);

  // Moves to the next line; false when none is left. Written here so that a
  // walk over a file's bytes, the reader's every turn, costs no more than a
  // loop of its own would.
  bool next() {
    if (done_) {
      return false;
    }
    const std::size_t begin = nextBegin_;
    const std::size_t end = units_.width == 1 ? byteLineEnd(begin) : unitLineEnd(begin);
    ++line_.number;
    line_.begin = begin;
    line_.end = end;
    line_.fed = end < units_.end;
    const std::size_t textBegin = line_.number == 1 ? textStart_ : begin;
    line_.text = units_.width == 1 ? bytesKept(textBegin, end) : decodedText(textBegin, end);
    line_.kind = classifyLine(line_.text, line_.pair);
    nextBegin_ = end + units_.width;
    done_ = !line_.fed;
    return true;
  }

  const IniLine& line() const { return line_; }

 private:
  std::size_t byteLineEnd(std::size_t begin) const {
    const std::size_t feed = units_.bytes.find('\n', begin);
    return feed == std::string_view::npos ? units_.end : feed;
  }

  // The bytes without carriage returns and zero bytes. A line that holds
  // none, or holds them only at its end as every line of a Windows file does,
  // is handed over as it stands; any other is copied without them.
  std::string_view bytesKept(std::size_t begin, std::size_t end) {
    std::string_view kept(units_.bytes.data() + begin, end - begin);
    while (!kept.empty() && (kept.back() == '\r' || kept.back() == '\0')) {
      kept.remove_suffix(1);
    }
    if (kept.find('\r') == std::string_view::npos && kept.find('\0') == std::string_view::npos) {
      return kept;
    }
    return copiedWithoutDroppedBytes(kept);
  }

  std::size_t unitLineEnd(std::size_t begin) const;
  std::string_view copiedWithoutDroppedBytes(std::string_view bytes);
  std::string_view decodedText(std::size_t begin, std::size_t end);

  TextUnits units_;
  std::size_t textStart_;  // after a byte-order mark, if the file starts with one
  std::size_t nextBegin_;
  bool done_;
  std::string scratch_;  // a line's text when it cannot be a view of the bytes
  IniLine line_;
};

}  // namespace sashcaster

// A file opened for binary reading that stays free for everyone else: while
// it is open, other programs may read it, write it, rename it and delete it.
// An editor that saves by renaming, or a mod manager that removes the file,
// then never meets a file "in use" for the plug-in's sake.
//
// The file is named in UTF-8 text, so that a tool can hand over any path, a
// folder named in Cyrillic say; on Windows it is opened by its UTF-16 form.
// The stream is a standard library one over the C runtime's descriptor
// (libstdc++'s stdio_filebuf is a basic_filebuf), so reading it seeks, reads
// and closes exactly as a std::ifstream of the same file does.
#pragma once

#include <ext/stdio_filebuf.h>
#include <istream>
#include <string>

namespace sashcaster {

// The C runtime's descriptor of the named file, opened for binary reading and
// shared as above; -1 when it cannot be opened. One definition per platform.
int openSharedForReading(const std::string& utf8Name);

// Closes a descriptor that no stream took over.
void closeDescriptor(int descriptor);

class SharedInputFile {
 public:
  explicit SharedInputFile(const std::string& utf8Name);
  SharedInputFile(const SharedInputFile&) = delete;
  SharedInputFile& operator=(const SharedInputFile&) = delete;
  SharedInputFile(SharedInputFile&&) = delete;
  SharedInputFile& operator=(SharedInputFile&&) = delete;
  ~SharedInputFile() = default;

  bool isOpen() const { return buffer_.is_open(); }
  std::istream& stream() { return stream_; }
  // Closes the file; a failing close is not reported.
  void close() { buffer_.close(); }

 private:
  explicit SharedInputFile(int descriptor);

  __gnu_cxx::stdio_filebuf<char> buffer_;
  std::istream stream_;
};

}  // namespace sashcaster

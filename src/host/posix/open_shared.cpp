// The portable build's file calls: POSIX systems let others rename or delete
// an open file whatever the opener asks.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

#include "host/shared_file.h"

namespace sashcaster {

namespace {

// Without waiting: a named pipe in the file's place opens at once, and is then
// no regular file.
int openForReading(const std::string& utf8Name) {
  return ::open(utf8Name.c_str(),  // NOLINT(cppcoreguidelines-pro-type-vararg)
                O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

// A folder opens for reading here, unlike on Windows, but holds no bytes.
bool regularFile(int descriptor) {
  struct stat status {};
  return ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

// The size by a seek to the end, not by fstat: a file of the proc file
// system says 0 there yet holds bytes, and cannot seek to its end, which
// tells that its size is unknown. -1 when the seek fails.
off_t sizeBySeeking(int descriptor) {
  const off_t size = ::lseek(descriptor, 0, SEEK_END);
  if (size < 0 || ::lseek(descriptor, 0, SEEK_SET) != 0) {
    return -1;
  }
  return size;
}

// Reads until the bytes are full, the file ends or a read fails; a read cut
// short by a signal is tried again.
void readInto(int descriptor, std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(descriptor, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      return;
    }
    done += static_cast<std::size_t>(got);
  }
}

}  // namespace

bool sharedFileOpens(const std::string& utf8Name) {
  const int descriptor = openForReading(utf8Name);
  if (descriptor < 0) {
    return false;
  }
  ::close(descriptor);
  return true;
}

SharedRead readSharedFile(const std::string& utf8Name, std::int64_t maxBytes, std::string& bytes) {
  bytes.clear();
  const int descriptor = openForReading(utf8Name);
  if (descriptor < 0) {
    return SharedRead::NotOpened;
  }
  const off_t size = regularFile(descriptor) ? sizeBySeeking(descriptor) : -1;
  if (size < 0 || size > maxBytes) {
    ::close(descriptor);
    return SharedRead::NotReadWhole;
  }
  bytes.assign(static_cast<std::size_t>(size), '\0');
  readInto(descriptor, bytes);
  ::close(descriptor);
  return SharedRead::Read;
}

}  // namespace sashcaster

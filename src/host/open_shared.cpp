// The portable build's open: POSIX systems let others rename or delete an
// open file whatever the opener asks.
#include <fcntl.h>
#include <unistd.h>

#include "host/shared_file.h"

namespace sashcaster {

int openSharedForReading(const std::string& utf8Name) {
  return ::open(utf8Name.c_str(),
                O_RDONLY | O_CLOEXEC);  // NOLINT(cppcoreguidelines-pro-type-vararg)
}

void closeDescriptor(int descriptor) {
  ::close(descriptor);
}

}  // namespace sashcaster

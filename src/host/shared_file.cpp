#include "host/shared_file.h"

namespace sashcaster {

SharedInputFile::SharedInputFile(const std::string& utf8Name)
    : SharedInputFile(openSharedForReading(utf8Name)) {}

// The buffer owns the descriptor once it is open, and closes it with itself.
SharedInputFile::SharedInputFile(int descriptor)
    : buffer_(descriptor, std::ios::in | std::ios::binary), stream_(&buffer_) {
  if (descriptor >= 0 && !buffer_.is_open()) {
    closeDescriptor(descriptor);
  }
}

}  // namespace sashcaster

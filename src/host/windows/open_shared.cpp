// The Windows open: CreateFileW sharing reading, writing and deleting (the C
// runtime's own opens never share deleting, which is also what renaming
// needs), handed to the C runtime as a descriptor in binary mode.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <array>
#include <string>

#include "host/shared_file.h"

namespace sashcaster {

namespace {

// The name up to its first zero byte, as a C string ends it, in UTF-16; empty
// when that is not UTF-8 text.
std::wstring wideName(const std::string& utf8Name) {
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Name.c_str(), -1, nullptr, 0);
  if (length <= 1) {
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Name.c_str(), -1, wide.data(), length);
  wide.pop_back();  // the terminator, which the string keeps anyway
  return wide;
}

int openWide(const wchar_t* name) {
  const HANDLE file =
      CreateFileW(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return -1;
  }
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
  if (descriptor < 0) {
    CloseHandle(file);
  }
  return descriptor;
}

}  // namespace

int openSharedForReading(const std::string& utf8Name) {
  // A name that fits, as the plug-in's own does, is converted on the stack,
  // so that the two opens of every turn allocate nothing for it.
  std::array<wchar_t, MAX_PATH> shortName{};
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Name.c_str(), -1,
                                         shortName.data(), static_cast<int>(shortName.size()));
  if (length > 1) {
    return openWide(shortName.data());
  }
  if (length == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    const std::wstring name = wideName(utf8Name);
    return name.empty() ? -1 : openWide(name.c_str());
  }
  return -1;
}

void closeDescriptor(int descriptor) {
  _close(descriptor);
}

}  // namespace sashcaster

// The Windows file calls: CreateFileW sharing reading, writing and deleting
// (the C runtime's own opens never share deleting, which is also what
// renaming needs), GetFileSizeEx, ReadFile and CloseHandle. The handle is the
// system's own and goes to nothing else.
#include <windows.h>

#include <cstddef>
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
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Name.c_str(), -1, wide.data(),
                          length) != length) {
    return {};
  }
  wide.pop_back();  // the terminator, which the string keeps anyway
  return wide;
}

// INVALID_HANDLE_VALUE when the file cannot be opened, a folder included.
HANDLE openForReading(const std::string& utf8Name) {
  const std::wstring name = wideName(utf8Name);
  if (name.empty()) {
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileW(name.c_str(), GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Reads until the bytes are full, the file ends or a read fails.
void readInto(HANDLE file, std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const auto wanted = static_cast<DWORD>(bytes.size() - done);
    if (ReadFile(file, bytes.data() + done, wanted, &got, nullptr) == FALSE || got == 0) {
      return;
    }
    done += got;
  }
}

}  // namespace

bool sharedFileOpens(const std::string& utf8Name) {
  const HANDLE file = openForReading(utf8Name);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  CloseHandle(file);
  return true;
}

SharedRead readSharedFile(const std::string& utf8Name, std::int64_t maxBytes, std::string& bytes) {
  bytes.clear();
  const HANDLE file = openForReading(utf8Name);
  if (file == INVALID_HANDLE_VALUE) {
    return SharedRead::NotOpened;
  }
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) == FALSE || size.QuadPart < 0 || size.QuadPart > maxBytes) {
    CloseHandle(file);
    return SharedRead::NotReadWhole;
  }
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  readInto(file, bytes);
  CloseHandle(file);
  return SharedRead::Read;
}

}  // namespace sashcaster

#include "console/file_move.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <system_error>
#endif

namespace sashcaster::console {

#ifdef _WIN32

namespace {

constexpr int retries = 20;
constexpr DWORD retryPauseMs = 50;

std::string windowsMessage(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length > 0 ? std::string(text, length) : "error " + std::to_string(error);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == '.' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

}  // namespace

bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
              std::string& reason) {
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) {
      return true;
    }
    const DWORD error = GetLastError();
    const bool heldOpen = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                          error == ERROR_LOCK_VIOLATION;
    if (!heldOpen || attempt == retries) {
      reason = windowsMessage(error);
      return false;
    }
    Sleep(retryPauseMs);
  }
}

#else

bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
              std::string& reason) {
  // POSIX replaces a file in one step even while others have it open.
  if (std::rename(from.c_str(), to.c_str()) == 0) {
    return true;
  }
  reason = std::generic_category().message(errno);
  return false;
}

#endif

}  // namespace sashcaster::console

#include "console/file_move.h"

#include <algorithm>
#include <string>

#include "i18n/messages.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>
#endif

namespace sashcaster::console {

#ifdef _WIN32

namespace {

constexpr int retries = 20;
constexpr DWORD retryPauseMs = 50;
constexpr DWORD largestWrite = 1U << 20;

// Windows' own words for the error, in the user's language, as UTF-8: the
// ANSI code page's bytes would show as other letters on a UTF-8 stream.
std::string windowsMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  const int size = length > 0 ? WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length),
                                                    nullptr, 0, nullptr, nullptr)
                              : 0;
  std::string message(static_cast<std::size_t>(std::max(size, 0)), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), message.data(), size, nullptr,
                        nullptr);
  } else {
    message = i18n::say("write.error_code", {{"code", std::to_string(error)}});
  }
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == '.' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

bool writeAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), largestWrite));
    DWORD written = 0;
    if (WriteFile(file, bytes.data(), chunk, &written, nullptr) == 0 || written == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool writeDurably(const std::filesystem::path& file, std::string_view bytes, std::string& reason) {
  const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    reason = windowsMessage(GetLastError());
    return false;
  }
  const bool done = writeAll(handle, bytes) && FlushFileBuffers(handle) != 0;
  const DWORD error = GetLastError();
  const bool closed = CloseHandle(handle) != 0;
  if (!done || !closed) {
    reason = windowsMessage(done ? GetLastError() : error);
    return false;
  }
  return true;
}

bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
              std::string& reason) {
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
        0) {
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

bool isReadOnly(const std::filesystem::path& file) {
  const DWORD attributes = GetFileAttributesW(file.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

#else

namespace {

std::string errnoText() {
  return std::generic_category().message(errno);
}

bool writeAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

bool writeDurably(const std::filesystem::path& file, std::string_view bytes, std::string& reason) {
  const int descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    reason = errnoText();
    return false;
  }
  const bool done = writeAll(descriptor, bytes) && ::fsync(descriptor) == 0;
  const int error = errno;
  const bool closed = ::close(descriptor) == 0;
  if (!done || !closed) {
    reason = std::generic_category().message(done ? errno : error);
    return false;
  }
  return true;
}

bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
              std::string& reason) {
  // POSIX replaces a file in one step even while others have it open.
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    reason = errnoText();
    return false;
  }
  // The new name is on the disk once the folder is; a failure here leaves the
  // move done, as readers already see it.
  const std::filesystem::path folder = to.has_parent_path() ? to.parent_path() : ".";
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor >= 0) {
    ::fsync(descriptor);
    ::close(descriptor);
  }
  return true;
}

bool isReadOnly(const std::filesystem::path& file) {
  std::error_code code;
  const std::filesystem::file_status status = std::filesystem::status(file, code);
  return !code && std::filesystem::is_regular_file(status) &&
         (status.permissions() & std::filesystem::perms::owner_write) ==
             std::filesystem::perms::none;
}

#endif

}  // namespace sashcaster::console

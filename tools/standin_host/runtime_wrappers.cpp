// Each wrapper checks the descriptor, handle or stream it is given, tracks
// what its call opened or closed, and calls the function the import table
// held. The breach is reported before the call, so that one that brings the
// process down is still on record.
#include "standin_host/runtime_wrappers.h"

#include <io.h>
#include <sys/stat.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

#include "standin_host/runtime_tracker.h"

namespace sashcaster::standin {

namespace {

const WrappedImport& entryOf(const void* wrapper);

template <auto wrapper>
const char* nameOf() {
  return entryOf(reinterpret_cast<const void*>(wrapper)).function;
}

template <auto wrapper>
auto real() {
  countWatchedCall();
  return reinterpret_cast<decltype(wrapper)>(
      static_cast<std::uintptr_t>(entryOf(reinterpret_cast<const void*>(wrapper)).real));
}

// The system's file calls.

HANDLE WINAPI wrapCreateFileW(LPCWSTR name, DWORD access, DWORD share,
                              LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                              HANDLE templateFile) {
  if (templateFile != nullptr) {
    checkHandle(nameOf<&wrapCreateFileW>(), templateFile);
  }
  const HANDLE file =
      real<&wrapCreateFileW>()(name, access, share, security, disposition, flags, templateFile);
  if (file != INVALID_HANDLE_VALUE) {
    openedHandle(file, true);
  }
  return file;
}

HANDLE WINAPI wrapCreateFileA(LPCSTR name, DWORD access, DWORD share,
                              LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                              HANDLE templateFile) {
  if (templateFile != nullptr) {
    checkHandle(nameOf<&wrapCreateFileA>(), templateFile);
  }
  const HANDLE file =
      real<&wrapCreateFileA>()(name, access, share, security, disposition, flags, templateFile);
  if (file != INVALID_HANDLE_VALUE) {
    openedHandle(file, true);
  }
  return file;
}

HANDLE WINAPI wrapCreateSemaphoreW(LPSECURITY_ATTRIBUTES security, LONG initial, LONG maximum,
                                   LPCWSTR name) {
  const HANDLE semaphore = real<&wrapCreateSemaphoreW>()(security, initial, maximum, name);
  if (semaphore != nullptr) {
    openedHandle(semaphore, false);
  }
  return semaphore;
}

BOOL WINAPI wrapCloseHandle(HANDLE handle) {
  checkHandle(nameOf<&wrapCloseHandle>(), handle);
  const BOOL closed = real<&wrapCloseHandle>()(handle);
  if (closed != FALSE) {
    closedHandle(handle);
  }
  return closed;
}

BOOL WINAPI wrapReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD done,
                         LPOVERLAPPED overlapped) {
  checkHandle(nameOf<&wrapReadFile>(), file);
  return real<&wrapReadFile>()(file, buffer, size, done, overlapped);
}

BOOL WINAPI wrapWriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD done,
                          LPOVERLAPPED overlapped) {
  checkHandle(nameOf<&wrapWriteFile>(), file);
  return real<&wrapWriteFile>()(file, buffer, size, done, overlapped);
}

BOOL WINAPI wrapGetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
  checkHandle(nameOf<&wrapGetFileSizeEx>(), file);
  return real<&wrapGetFileSizeEx>()(file, size);
}

DWORD WINAPI wrapGetFileSize(HANDLE file, LPDWORD high) {
  checkHandle(nameOf<&wrapGetFileSize>(), file);
  return real<&wrapGetFileSize>()(file, high);
}

DWORD WINAPI wrapSetFilePointer(HANDLE file, LONG distance, PLONG high, DWORD method) {
  checkHandle(nameOf<&wrapSetFilePointer>(), file);
  return real<&wrapSetFilePointer>()(file, distance, high, method);
}

BOOL WINAPI wrapSetFilePointerEx(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER position,
                                 DWORD method) {
  checkHandle(nameOf<&wrapSetFilePointerEx>(), file);
  return real<&wrapSetFilePointerEx>()(file, distance, position, method);
}

DWORD WINAPI wrapGetFileType(HANDLE file) {
  checkHandle(nameOf<&wrapGetFileType>(), file);
  return real<&wrapGetFileType>()(file);
}

BOOL WINAPI wrapGetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information) {
  checkHandle(nameOf<&wrapGetFileInformationByHandle>(), file);
  return real<&wrapGetFileInformationByHandle>()(file, information);
}

BOOL WINAPI wrapGetFileInformationByHandleEx(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind,
                                             LPVOID information, DWORD size) {
  checkHandle(nameOf<&wrapGetFileInformationByHandleEx>(), file);
  return real<&wrapGetFileInformationByHandleEx>()(file, kind, information, size);
}

DWORD WINAPI wrapWaitForSingleObject(HANDLE object, DWORD milliseconds) {
  checkHandle(nameOf<&wrapWaitForSingleObject>(), object);
  return real<&wrapWaitForSingleObject>()(object, milliseconds);
}

BOOL WINAPI wrapReleaseSemaphore(HANDLE semaphore, LONG count, LPLONG previous) {
  checkHandle(nameOf<&wrapReleaseSemaphore>(), semaphore);
  return real<&wrapReleaseSemaphore>()(semaphore, count, previous);
}

// The C runtime's descriptors.

int __cdecl wrapOpenOsfhandle(intptr_t handle, int flags) {
  checkHandle(nameOf<&wrapOpenOsfhandle>(), reinterpret_cast<HANDLE>(handle));
  const int descriptor = real<&wrapOpenOsfhandle>()(handle, flags);
  if (descriptor >= 0) {
    openedDescriptor(descriptor, reinterpret_cast<HANDLE>(handle));
  }
  return descriptor;
}

intptr_t __cdecl wrapGetOsfhandle(int descriptor) {
  checkDescriptor(nameOf<&wrapGetOsfhandle>(), descriptor);
  const intptr_t handle = real<&wrapGetOsfhandle>()(descriptor);
  learnedHandle(descriptor, reinterpret_cast<HANDLE>(handle));
  return handle;
}

int __cdecl wrapClose(int descriptor) {
  checkDescriptor(nameOf<&wrapClose>(), descriptor);
  const int result = real<&wrapClose>()(descriptor);
  if (result == 0) {
    closedDescriptor(descriptor);
  }
  return result;
}

int __cdecl wrapRead(int descriptor, void* buffer, unsigned int count) {
  checkDescriptor(nameOf<&wrapRead>(), descriptor);
  return real<&wrapRead>()(descriptor, buffer, count);
}

int __cdecl wrapWrite(int descriptor, const void* buffer, unsigned int count) {
  checkDescriptor(nameOf<&wrapWrite>(), descriptor);
  return real<&wrapWrite>()(descriptor, buffer, count);
}

long __cdecl wrapLseek(int descriptor, long offset, int origin) {
  checkDescriptor(nameOf<&wrapLseek>(), descriptor);
  return real<&wrapLseek>()(descriptor, offset, origin);
}

__int64 __cdecl wrapLseeki64(int descriptor, __int64 offset, int origin) {
  checkDescriptor(nameOf<&wrapLseeki64>(), descriptor);
  return real<&wrapLseeki64>()(descriptor, offset, origin);
}

// The struct's layout is the C runtime's business: only its address passes.
int __cdecl wrapFstat64(int descriptor, void* status) {
  checkDescriptor(nameOf<&wrapFstat64>(), descriptor);
  return real<&wrapFstat64>()(descriptor, status);
}

int __cdecl wrapFstat(int descriptor, void* status) {
  checkDescriptor(nameOf<&wrapFstat>(), descriptor);
  return real<&wrapFstat>()(descriptor, status);
}

int __cdecl wrapFstati64(int descriptor, void* status) {
  checkDescriptor(nameOf<&wrapFstati64>(), descriptor);
  return real<&wrapFstati64>()(descriptor, status);
}

int __cdecl wrapIsatty(int descriptor) {
  checkDescriptor(nameOf<&wrapIsatty>(), descriptor);
  return real<&wrapIsatty>()(descriptor);
}

int __cdecl wrapSetmode(int descriptor, int mode) {
  checkDescriptor(nameOf<&wrapSetmode>(), descriptor);
  return real<&wrapSetmode>()(descriptor, mode);
}

int __cdecl wrapCommit(int descriptor) {
  checkDescriptor(nameOf<&wrapCommit>(), descriptor);
  return real<&wrapCommit>()(descriptor);
}

// The C runtime's streams.

FILE* __cdecl wrapFdopen(int descriptor, const char* mode) {
  checkDescriptor(nameOf<&wrapFdopen>(), descriptor);
  FILE* stream = real<&wrapFdopen>()(descriptor, mode);
  if (stream != nullptr) {
    openedStream(stream, descriptor);
  }
  return stream;
}

FILE* __cdecl wrapFopen(const char* name, const char* mode) {
  FILE* stream = real<&wrapFopen>()(name, mode);
  if (stream != nullptr) {
    openedStream(stream, -1);
  }
  return stream;
}

FILE* __cdecl wrapWfopen(const wchar_t* name, const wchar_t* mode) {
  FILE* stream = real<&wrapWfopen>()(name, mode);
  if (stream != nullptr) {
    openedStream(stream, -1);
  }
  return stream;
}

int __cdecl wrapFileno(FILE* stream) {
  checkStream(nameOf<&wrapFileno>(), stream);
  const int descriptor = real<&wrapFileno>()(stream);
  learnedDescriptor(stream, descriptor);
  return descriptor;
}

int __cdecl wrapFclose(FILE* stream) {
  checkStream(nameOf<&wrapFclose>(), stream);
  const int result = real<&wrapFclose>()(stream);
  closedStream(stream);  // gone whatever the result
  return result;
}

// A null stream is allowed here: it flushes every stream.
int __cdecl wrapFflush(FILE* stream) {
  if (stream != nullptr) {
    checkStream(nameOf<&wrapFflush>(), stream);
  }
  return real<&wrapFflush>()(stream);
}

size_t __cdecl wrapFread(void* buffer, size_t size, size_t count, FILE* stream) {
  checkStream(nameOf<&wrapFread>(), stream);
  return real<&wrapFread>()(buffer, size, count, stream);
}

size_t __cdecl wrapFwrite(const void* buffer, size_t size, size_t count, FILE* stream) {
  checkStream(nameOf<&wrapFwrite>(), stream);
  return real<&wrapFwrite>()(buffer, size, count, stream);
}

int __cdecl wrapFseek(FILE* stream, long offset, int origin) {
  checkStream(nameOf<&wrapFseek>(), stream);
  return real<&wrapFseek>()(stream, offset, origin);
}

int __cdecl wrapFseeki64(FILE* stream, __int64 offset, int origin) {
  checkStream(nameOf<&wrapFseeki64>(), stream);
  return real<&wrapFseeki64>()(stream, offset, origin);
}

long __cdecl wrapFtell(FILE* stream) {
  checkStream(nameOf<&wrapFtell>(), stream);
  return real<&wrapFtell>()(stream);
}

__int64 __cdecl wrapFtelli64(FILE* stream) {
  checkStream(nameOf<&wrapFtelli64>(), stream);
  return real<&wrapFtelli64>()(stream);
}

int __cdecl wrapFgetpos(FILE* stream, fpos_t* position) {
  checkStream(nameOf<&wrapFgetpos>(), stream);
  return real<&wrapFgetpos>()(stream, position);
}

int __cdecl wrapFsetpos(FILE* stream, const fpos_t* position) {
  checkStream(nameOf<&wrapFsetpos>(), stream);
  return real<&wrapFsetpos>()(stream, position);
}

int __cdecl wrapSetvbuf(FILE* stream, char* buffer, int mode, size_t size) {
  checkStream(nameOf<&wrapSetvbuf>(), stream);
  return real<&wrapSetvbuf>()(stream, buffer, mode, size);
}

int __cdecl wrapFputc(int character, FILE* stream) {
  checkStream(nameOf<&wrapFputc>(), stream);
  return real<&wrapFputc>()(character, stream);
}

int __cdecl wrapPutc(int character, FILE* stream) {
  checkStream(nameOf<&wrapPutc>(), stream);
  return real<&wrapPutc>()(character, stream);
}

int __cdecl wrapFputs(const char* text, FILE* stream) {
  checkStream(nameOf<&wrapFputs>(), stream);
  return real<&wrapFputs>()(text, stream);
}

int __cdecl wrapVfprintf(FILE* stream, const char* format, va_list arguments) {
  checkStream(nameOf<&wrapVfprintf>(), stream);
  return real<&wrapVfprintf>()(stream, format, arguments);
}

int __cdecl wrapFgetc(FILE* stream) {
  checkStream(nameOf<&wrapFgetc>(), stream);
  return real<&wrapFgetc>()(stream);
}

int __cdecl wrapGetc(FILE* stream) {
  checkStream(nameOf<&wrapGetc>(), stream);
  return real<&wrapGetc>()(stream);
}

int __cdecl wrapUngetc(int character, FILE* stream) {
  checkStream(nameOf<&wrapUngetc>(), stream);
  return real<&wrapUngetc>()(character, stream);
}

char* __cdecl wrapFgets(char* buffer, int size, FILE* stream) {
  checkStream(nameOf<&wrapFgets>(), stream);
  return real<&wrapFgets>()(buffer, size, stream);
}

int __cdecl wrapFeof(FILE* stream) {
  checkStream(nameOf<&wrapFeof>(), stream);
  return real<&wrapFeof>()(stream);
}

int __cdecl wrapFerror(FILE* stream) {
  checkStream(nameOf<&wrapFerror>(), stream);
  return real<&wrapFerror>()(stream);
}

void __cdecl wrapClearerr(FILE* stream) {
  checkStream(nameOf<&wrapClearerr>(), stream);
  real<&wrapClearerr>()(stream);
}

void __cdecl wrapLockFile(FILE* stream) {
  checkStream(nameOf<&wrapLockFile>(), stream);
  real<&wrapLockFile>()(stream);
}

void __cdecl wrapUnlockFile(FILE* stream) {
  checkStream(nameOf<&wrapUnlockFile>(), stream);
  real<&wrapUnlockFile>()(stream);
}

// Each wrapper takes what the function it stands before takes; the
// descriptor calls' status records pass by address only. (The C runtime's
// non-null marks on some are no part of the type.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-attributes"
static_assert(std::is_same_v<decltype(&wrapCreateFileW), decltype(&CreateFileW)>);
static_assert(std::is_same_v<decltype(&wrapCreateFileA), decltype(&CreateFileA)>);
static_assert(std::is_same_v<decltype(&wrapCreateSemaphoreW), decltype(&CreateSemaphoreW)>);
static_assert(std::is_same_v<decltype(&wrapCloseHandle), decltype(&CloseHandle)>);
static_assert(std::is_same_v<decltype(&wrapReadFile), decltype(&ReadFile)>);
static_assert(std::is_same_v<decltype(&wrapWriteFile), decltype(&WriteFile)>);
static_assert(std::is_same_v<decltype(&wrapGetFileSizeEx), decltype(&GetFileSizeEx)>);
static_assert(std::is_same_v<decltype(&wrapGetFileSize), decltype(&GetFileSize)>);
static_assert(std::is_same_v<decltype(&wrapSetFilePointer), decltype(&SetFilePointer)>);
static_assert(std::is_same_v<decltype(&wrapSetFilePointerEx), decltype(&SetFilePointerEx)>);
static_assert(std::is_same_v<decltype(&wrapGetFileType), decltype(&GetFileType)>);
static_assert(std::is_same_v<decltype(&wrapGetFileInformationByHandle),
                             decltype(&GetFileInformationByHandle)>);
static_assert(std::is_same_v<decltype(&wrapGetFileInformationByHandleEx),
                             decltype(&GetFileInformationByHandleEx)>);
static_assert(std::is_same_v<decltype(&wrapWaitForSingleObject), decltype(&WaitForSingleObject)>);
static_assert(std::is_same_v<decltype(&wrapReleaseSemaphore), decltype(&ReleaseSemaphore)>);
static_assert(std::is_same_v<decltype(&wrapOpenOsfhandle), decltype(&_open_osfhandle)>);
static_assert(std::is_same_v<decltype(&wrapGetOsfhandle), decltype(&_get_osfhandle)>);
static_assert(std::is_same_v<decltype(&wrapClose), decltype(&_close)>);
static_assert(std::is_same_v<decltype(&wrapRead), decltype(&_read)>);
static_assert(std::is_same_v<decltype(&wrapWrite), decltype(&_write)>);
static_assert(std::is_same_v<decltype(&wrapLseek), decltype(&_lseek)>);
static_assert(std::is_same_v<decltype(&wrapLseeki64), decltype(&_lseeki64)>);
static_assert(std::is_same_v<decltype(&wrapIsatty), decltype(&_isatty)>);
static_assert(std::is_same_v<decltype(&wrapSetmode), decltype(&_setmode)>);
static_assert(std::is_same_v<decltype(&wrapCommit), decltype(&_commit)>);
static_assert(std::is_same_v<decltype(&wrapFdopen), decltype(&_fdopen)>);
static_assert(std::is_same_v<decltype(&wrapFopen), decltype(&fopen)>);
static_assert(std::is_same_v<decltype(&wrapWfopen), decltype(&_wfopen)>);
static_assert(std::is_same_v<decltype(&wrapFileno), decltype(&_fileno)>);
static_assert(std::is_same_v<decltype(&wrapFclose), decltype(&fclose)>);
static_assert(std::is_same_v<decltype(&wrapFflush), decltype(&fflush)>);
static_assert(std::is_same_v<decltype(&wrapFread), decltype(&fread)>);
static_assert(std::is_same_v<decltype(&wrapFwrite), decltype(&fwrite)>);
static_assert(std::is_same_v<decltype(&wrapFseek), decltype(&fseek)>);
static_assert(std::is_same_v<decltype(&wrapFseeki64), decltype(&_fseeki64)>);
static_assert(std::is_same_v<decltype(&wrapFtell), decltype(&ftell)>);
static_assert(std::is_same_v<decltype(&wrapFtelli64), decltype(&_ftelli64)>);
static_assert(std::is_same_v<decltype(&wrapSetvbuf), decltype(&setvbuf)>);
static_assert(std::is_same_v<decltype(&wrapFputc), decltype(&fputc)>);
static_assert(std::is_same_v<decltype(&wrapFputs), decltype(&fputs)>);
static_assert(std::is_same_v<decltype(&wrapFgetc), decltype(&fgetc)>);
static_assert(std::is_same_v<decltype(&wrapUngetc), decltype(&ungetc)>);
static_assert(std::is_same_v<decltype(&wrapFgets), decltype(&fgets)>);
static_assert(std::is_same_v<decltype(&wrapFeof), decltype(&feof)>);
static_assert(std::is_same_v<decltype(&wrapClearerr), decltype(&clearerr)>);
#pragma GCC diagnostic pop

template <auto wrapper>
WrappedImport wrapped(const char* function) {
  return WrappedImport{function, reinterpret_cast<const void*>(wrapper), 0};
}

WrappedImport imports[] = {
    wrapped<&wrapCreateFileW>("CreateFileW"),
    wrapped<&wrapCreateFileA>("CreateFileA"),
    wrapped<&wrapCreateSemaphoreW>("CreateSemaphoreW"),
    wrapped<&wrapCloseHandle>("CloseHandle"),
    wrapped<&wrapReadFile>("ReadFile"),
    wrapped<&wrapWriteFile>("WriteFile"),
    wrapped<&wrapGetFileSizeEx>("GetFileSizeEx"),
    wrapped<&wrapGetFileSize>("GetFileSize"),
    wrapped<&wrapSetFilePointer>("SetFilePointer"),
    wrapped<&wrapSetFilePointerEx>("SetFilePointerEx"),
    wrapped<&wrapGetFileType>("GetFileType"),
    wrapped<&wrapGetFileInformationByHandle>("GetFileInformationByHandle"),
    wrapped<&wrapGetFileInformationByHandleEx>("GetFileInformationByHandleEx"),
    wrapped<&wrapWaitForSingleObject>("WaitForSingleObject"),
    wrapped<&wrapReleaseSemaphore>("ReleaseSemaphore"),
    wrapped<&wrapOpenOsfhandle>("_open_osfhandle"),
    wrapped<&wrapGetOsfhandle>("_get_osfhandle"),
    wrapped<&wrapClose>("_close"),
    wrapped<&wrapRead>("_read"),
    wrapped<&wrapWrite>("_write"),
    wrapped<&wrapLseek>("_lseek"),
    wrapped<&wrapLseeki64>("_lseeki64"),
    wrapped<&wrapFstat64>("_fstat64"),
    wrapped<&wrapFstat>("_fstat"),
    wrapped<&wrapFstati64>("_fstati64"),
    wrapped<&wrapIsatty>("_isatty"),
    wrapped<&wrapSetmode>("_setmode"),
    wrapped<&wrapCommit>("_commit"),
    wrapped<&wrapFdopen>("_fdopen"),
    wrapped<&wrapFopen>("fopen"),
    wrapped<&wrapWfopen>("_wfopen"),
    wrapped<&wrapFileno>("_fileno"),
    wrapped<&wrapFclose>("fclose"),
    wrapped<&wrapFflush>("fflush"),
    wrapped<&wrapFread>("fread"),
    wrapped<&wrapFwrite>("fwrite"),
    wrapped<&wrapFseek>("fseek"),
    wrapped<&wrapFseeki64>("_fseeki64"),
    wrapped<&wrapFtell>("ftell"),
    wrapped<&wrapFtelli64>("_ftelli64"),
    wrapped<&wrapFgetpos>("fgetpos"),
    wrapped<&wrapFsetpos>("fsetpos"),
    wrapped<&wrapSetvbuf>("setvbuf"),
    wrapped<&wrapFputc>("fputc"),
    wrapped<&wrapPutc>("putc"),
    wrapped<&wrapFputs>("fputs"),
    wrapped<&wrapVfprintf>("vfprintf"),
    wrapped<&wrapFgetc>("fgetc"),
    wrapped<&wrapGetc>("getc"),
    wrapped<&wrapUngetc>("ungetc"),
    wrapped<&wrapFgets>("fgets"),
    wrapped<&wrapFeof>("feof"),
    wrapped<&wrapFerror>("ferror"),
    wrapped<&wrapClearerr>("clearerr"),
    wrapped<&wrapLockFile>("_lock_file"),
    wrapped<&wrapUnlockFile>("_unlock_file"),
};

// Only the wrappers in the table call this, so the search always succeeds.
const WrappedImport& entryOf(const void* wrapper) {
  for (const WrappedImport& entry : imports) {
    if (entry.wrapper == wrapper) {
      return entry;
    }
  }
  std::abort();
}

}  // namespace

std::span<WrappedImport> wrappedImports() {
  return imports;
}

}  // namespace sashcaster::standin

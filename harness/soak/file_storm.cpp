// The file storm: Sashcaster.ini rewritten about every ten turns from a thread
// of its own, without any locking, so a turn may read a file half-written;
// also renamed away and back, deleted, and replaced by renaming another file
// over it, as editors and mod managers do.
#include <windows.h>

#include <cstdint>
#include <random>
#include <string>

#include "soak/settings_files.h"
#include "soak/storm.h"

namespace sashcaster::soak {
namespace {

constexpr std::size_t MiB = 1048576;
constexpr const wchar_t* fileName = L"Sashcaster.ini";
constexpr const wchar_t* awayName = L"Sashcaster.ini.away";
constexpr const wchar_t* newName = L"Sashcaster.ini.new";

enum Edit : std::uint32_t {
  readable,
  utf8Marked,
  utf16Little,
  utf16Big,
  halfWritten,
  binaryGarbage,
  zeroBytes,
  longLines,
  exactly1MiB,
  over1MiB,
  carriageReturns,
  pastTheLimits,
  deleted,
  folder,
  renamedAwayAndBack,
  replacedByRename,
  editKinds
};

// The big files are made once, so that the storm's own heap stays flat.
struct Hostile {
  std::string garbage64KiB = garbage(65536, 0x9E3779B9);
  std::string zeroBytes = zeroBytesThroughout();
  std::string longLines = hugeLines();
  std::string exactly1MiB = paddedTo(MiB);
  std::string over1MiB = paddedTo(MiB + 1 + MiB / 2);
  std::string carriageReturns = std::string(100000, '\r');
  std::string pastTheLimits = numbersPastTheLimits();
};

// Waits until `count` more turns have run, or the storm stops.
void waitTurns(const Storm& storm, std::uint64_t count) {
  const std::uint64_t until = storm.turns.load() + count;
  while (storm.turns.load() < until && !storm.stop.load()) {
    Sleep(1);
  }
}

// Writes `bytes` in pieces of random size; with `pause`, lets turns run after
// the first half so they read the file half-written.
bool writeInPieces(const std::string& bytes, std::mt19937_64& random, const Storm* pause,
                   const wchar_t* name = fileName) {
  const HANDLE file =
      CreateFileW(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    // A file deleted while the plug-in held it open keeps its name until the
    // plug-in closes it, a turn later at most: next time.
    return false;
  }
  bool sound = true;
  bool paused = pause == nullptr;
  for (std::size_t done = 0; done < bytes.size() && sound;) {
    if (!paused && done >= bytes.size() / 2) {
      waitTurns(*pause, 1 + random() % 2);
      paused = true;
    }
    const std::size_t piece = std::min<std::size_t>(bytes.size() - done, 1 + random() % 65536);
    DWORD written = 0;
    sound = WriteFile(file, bytes.data() + done, static_cast<DWORD>(piece), &written, nullptr) != 0;
    done += written;
  }
  CloseHandle(file);
  return sound;
}

// A rename or delete of the settings file; one refused is a fault, counted
// by the main thread at the end. A file that is not there is not refused.
bool moveOrDelete(BOOL done, Storm& storm) {
  const DWORD error = done != FALSE ? ERROR_SUCCESS : GetLastError();
  if (error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND) {
    return done != FALSE;
  }
  if (storm.refusedFileMoves.fetch_add(1) == 0) {
    storm.firstRefusalTurn.store(storm.turns.load());
    storm.firstRefusalError.store(error);
  }
  return false;
}

bool renameAwayAndBack(Storm& storm) {
  return moveOrDelete(MoveFileExW(fileName, awayName, 0), storm) &&
         moveOrDelete(MoveFileExW(awayName, fileName, 0), storm);
}

// Saved as many editors save: written whole beside it, then renamed over it.
// Some systems refuse to replace a file that is open, however shared, so the
// writer tries again, and gives up quietly after a while.
bool saveByRename(const std::string& text, std::mt19937_64& random) {
  if (!writeInPieces(text, random, nullptr, newName)) {
    return false;
  }
  for (int tries = 0; tries < 100; ++tries) {
    if (MoveFileExW(newName, fileName, MOVEFILE_REPLACE_EXISTING) != 0) {
      return true;
    }
    Sleep(1);
  }
  DeleteFileW(newName);
  return false;
}

// A readable file with random keys; the key storm learns them once written.
bool writeReadable(Edit edit, std::mt19937_64& random, Storm& storm) {
  const Keys keys = randomKeys(random);
  const std::string text = settingsText(keys);
  bool sound = false;
  if (edit == replacedByRename) {
    sound = saveByRename(text, random);
  } else if (edit == readable || edit == halfWritten) {
    sound = writeInPieces(text, random, edit == halfWritten ? &storm : nullptr);
  } else if (edit == utf8Marked) {
    sound = writeInPieces(withUtf8Mark(text), random, nullptr);
  } else {
    // Whether UTF-16 is decoded is the reader's business; its keys are not taught.
    return writeInPieces(asUtf16(text, edit == utf16Big), random, nullptr);
  }
  for (std::size_t i = 0; sound && i < keys.size(); ++i) {
    storm.keys[i].store(keys[i]);
  }
  return sound;
}

const std::string& hostileBytes(Edit edit, const Hostile& hostile) {
  switch (edit) {
    case binaryGarbage:
      return hostile.garbage64KiB;
    case zeroBytes:
      return hostile.zeroBytes;
    case longLines:
      return hostile.longLines;
    case exactly1MiB:
      return hostile.exactly1MiB;
    case over1MiB:
      return hostile.over1MiB;
    case carriageReturns:
      return hostile.carriageReturns;
    default:
      return hostile.pastTheLimits;
  }
}

bool applyEdit(Edit edit, std::mt19937_64& random, Storm& storm, const Hostile& hostile) {
  // A folder left by the last edit goes first, or nothing else can be written.
  RemoveDirectoryW(fileName);
  if (edit <= halfWritten || edit == replacedByRename) {
    return writeReadable(edit, random, storm);
  }
  if (edit == deleted) {
    return moveOrDelete(DeleteFileW(fileName), storm);
  }
  if (edit == renamedAwayAndBack) {
    return renameAwayAndBack(storm);
  }
  if (edit == folder) {
    DeleteFileW(fileName);
    return CreateDirectoryW(fileName, nullptr) != 0;
  }
  return writeInPieces(hostileBytes(edit, hostile), random, nullptr);
}

// Mostly readable files, so that throws happen; the big hostile ones rarely,
// since every turn until the next edit reads them.
Edit pickEdit(std::mt19937_64& random) {
  const std::uint64_t roll = random() % 100;
  if (roll < 32) {
    return readable;
  }
  if (roll < 40) {
    return roll < 36 ? renamedAwayAndBack : replacedByRename;
  }
  if (roll < 52) {
    return halfWritten;
  }
  if (roll < 60) {
    return static_cast<Edit>(utf8Marked + random() % 3);
  }
  if (roll == 60) {
    return exactly1MiB;
  }
  static constexpr Edit others[] = {binaryGarbage,   zeroBytes,     longLines, over1MiB,
                                    carriageReturns, pastTheLimits, deleted,   folder};
  return others[random() % std::size(others)];
}

}  // namespace

unsigned long __stdcall fileStorm(void* parameter) {
  auto& storm = *static_cast<Storm*>(parameter);
  std::mt19937_64 random(storm.seed ^ 0x66696C65);
  const Hostile hostile;
  // Every kind once, quickly, so that the heap's high-water mark is reached
  // before the first memory figure; then at random.
  for (std::uint32_t kind = 0; kind < editKinds && !storm.stop.load(); ++kind) {
    storm.fileEdits.fetch_add(applyEdit(static_cast<Edit>(kind), random, storm, hostile) ? 1 : 0);
    waitTurns(storm, 2);
  }
  storm.everyKindWritten.store(true);
  while (!storm.stop.load()) {
    waitTurns(storm, 5 + random() % 11);
    storm.fileEdits.fetch_add(applyEdit(pickEdit(random), random, storm, hostile) ? 1 : 0);
  }
  RemoveDirectoryW(fileName);
  return 0;
}

}  // namespace sashcaster::soak

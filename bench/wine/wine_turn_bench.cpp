// sashcaster-wine-bench: times turns of the real Sashcaster.asi under the
// stand-in script hook (run it with wine on Linux), against the I/O floor of
// the same settings file in the same process: the file opened and closed,
// then opened, read whole and closed. Batches of turns and of floor rounds
// alternate; the medians are printed with their ratio.
// Usage: sashcaster-wine-bench PLUGIN SETTINGS_FILE [TURNS_PER_BATCH]
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scratch_folder/scratch_folder.h"
#include "standin_host/standin_control.h"
#include "standin_host/standin_load.h"

namespace {

constexpr int batches = 5;

double secondsNow() {
  LARGE_INTEGER count;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The settings load's own I/O without any parsing.
void floorRound() {
  {
    const std::ifstream probe("Sashcaster.ini");
    static_cast<void>(probe.good());
  }
  std::ifstream in("Sashcaster.ini", std::ios::in | std::ios::binary);
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(size, 0)), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The stand-in records every native of a turn; it forgets them before each.
bool turn() {
  standInClearNatives();
  return standInRunTurn();
}

// Seconds per call of `round`, over `count` calls.
template <typename Round>
double timePerCall(long count, Round&& round) {
  const double start = secondsNow();
  for (long i = 0; i < count; ++i) {
    round();
  }
  return (secondsNow() - start) / static_cast<double>(count);
}

// A folder of its own holding a copy of the settings file, made current.
bool enterScratchFolder(sashcaster::fake::ScratchFolder& scratch,
                        const std::filesystem::path& settings) {
  std::string error;
  std::error_code code;
  if (!scratch.make("sashcaster-wine-bench", error) ||
      !std::filesystem::copy_file(settings, scratch.path() / "Sashcaster.ini", code) ||
      !scratch.enter(error)) {
    std::fprintf(stderr, "sashcaster-wine-bench: %s\n",
                 code ? code.message().c_str() : error.c_str());
    return false;
  }
  return true;
}

void printSummary(double turnTime, double floorTime, long perBatch) {
  constexpr double frameSeconds = 1.0 / 60.0;
  std::printf("== Summary: real Sashcaster.asi under wine, stand-in host, %ld turns x %d ==\n",
              perBatch, batches);
  std::printf("  turn (stand-in host, wall clock)                 %10.2f us\n", turnTime * 1e6);
  std::printf("  I/O floor (probe, then open, read whole, close)  %10.2f us\n", floorTime * 1e6);
  std::printf("  turn / I/O floor                                 %10.3f\n", turnTime / floorTime);
  std::printf("  turn as a share of a 16.7 ms frame               %10.2f %%\n",
              100.0 * turnTime / frameSeconds);
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage = "usage: sashcaster-wine-bench PLUGIN SETTINGS_FILE [TURNS_PER_BATCH]\n";
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(usage, stdout);
    return 0;
  }
  if (argc < 3) {
    std::fputs(usage, stderr);
    return 2;
  }
  const std::filesystem::path plugin = std::filesystem::absolute(argv[1]);
  const std::filesystem::path settings = std::filesystem::absolute(argv[2]);
  const long perBatch = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 2000;
  if (perBatch <= 0) {
    std::fprintf(stderr, "sashcaster-wine-bench: turns per batch must be positive\n");
    return 2;
  }

  sashcaster::fake::ScratchFolder scratch;
  if (!enterScratchFolder(scratch, settings)) {
    return 2;
  }

  const HMODULE module = loadUnderStandIn(plugin);
  if (module == nullptr) {
    std::fprintf(stderr, "sashcaster-wine-bench: cannot load %s under the stand-in host\n",
                 plugin.string().c_str());
    return 2;
  }
  standInSetClock(100000);
  const sashcaster::model::GameState game{};
  standInSetGame(&game);

  bool sound = true;
  for (int i = 0; i < 100; ++i) {
    sound = turn() && sound;
  }
  std::vector<double> turnTimes;
  std::vector<double> floorTimes;
  for (int batch = 0; batch < batches; ++batch) {
    turnTimes.push_back(timePerCall(perBatch, [&sound] { sound = turn() && sound; }));
    floorTimes.push_back(timePerCall(perBatch, floorRound));
  }
  FreeLibrary(module);
  scratch.leave();
  printSummary(median(turnTimes), median(floorTimes), perBatch);
  if (!sound) {
    std::fprintf(stderr, "sashcaster-wine-bench: a turn did not end with scriptWait(0)\n");
    return 1;
  }
  return 0;
}

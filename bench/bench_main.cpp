// Runs the benchmarks in a scratch directory holding the settings files they
// read, then prints every judged figure with its ratio, from this one run.
// Figures are the process's CPU time per iteration (the median of repeated
// runs where there are repetitions): the files sit in the page cache, so the
// I/O is system-call work, and CPU time leaves out the time other processes
// on a shared machine take.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/bench_files.h"
#include "bench/bench_sizes.h"

namespace sashcaster::bench {
namespace {

struct Figure {
  double nanoseconds = 0;  // CPU time per iteration
  benchmark::UserCounters counters;
};

double nanosecondsPer(benchmark::TimeUnit unit) {
  switch (unit) {
    case benchmark::kNanosecond:
      return 1;
    case benchmark::kMicrosecond:
      return 1e3;
    case benchmark::kMillisecond:
      return 1e6;
    case benchmark::kSecond:
      return 1e9;
  }
  return 1;
}

// The console report as usual, with every run's figure kept for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  SummaryReporter() : ConsoleReporter(OO_Tabular) {}

  // Keeps the median of repeated runs where there is one, else the run itself.
  void ReportRuns(const std::vector<Run>& reports) override {
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) {
      if (run.error_occurred) {
        continue;
      }
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Aggregate && !median) {
        continue;
      }
      const std::string name = run.run_name.str();
      if (!median && medians.count(name) != 0) {
        continue;
      }
      if (median) {
        medians.insert(name);
      }
      Figure& figure = figures[name];
      figure.nanoseconds = run.GetAdjustedCPUTime() * nanosecondsPer(run.time_unit);
      figure.counters = run.counters;
    }
  }

  std::set<std::string> medians;
  std::map<std::string, Figure> figures;
};

std::string cpuModel() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) == 0) {
      return line.substr(line.find(':') + 2);
    }
  }
  return "unknown processor";
}

class Summary {
 public:
  explicit Summary(const std::map<std::string, Figure>& measured) : figures(measured) {}

  // numerator / denominator of the per-iteration times, each divided by its
  // byte count when one is given.
  void ratio(const std::string& what, const std::string& numerator, const std::string& denominator,
             double target, double numeratorBytes = 1, double denominatorBytes = 1) const {
    const auto top = figures.find(numerator);
    const auto bottom = figures.find(denominator);
    if (top == figures.end() || bottom == figures.end()) {
      return;
    }
    const double value = (top->second.nanoseconds / numeratorBytes) /
                         (bottom->second.nanoseconds / denominatorBytes);
    std::printf("  %-58s %8.3f  target <= %.2f  %s\n", what.c_str(), value, target,
                value <= target ? "met" : "MISSED");
  }

  void time(const std::string& what, const std::string& name, double bytes = 0) const {
    const auto found = figures.find(name);
    if (found == figures.end()) {
      return;
    }
    if (bytes > 0) {
      std::printf("  %-58s %10.2f us  %7.3f ns/byte\n", what.c_str(),
                  found->second.nanoseconds / 1e3, found->second.nanoseconds / bytes);
    } else {
      std::printf("  %-58s %10.2f us\n", what.c_str(), found->second.nanoseconds / 1e3);
    }
  }

  // The first figure less the second: what the turn costs beyond its file
  // calls, which moves far less between machines than those calls do.
  void difference(const std::string& what, const std::string& minuend,
                  const std::string& subtrahend) const {
    const auto top = figures.find(minuend);
    const auto bottom = figures.find(subtrahend);
    if (top == figures.end() || bottom == figures.end()) {
      return;
    }
    std::printf("  %-58s %10.2f us\n", what.c_str(),
                (top->second.nanoseconds - bottom->second.nanoseconds) / 1e3);
  }

  // The benchmark's name carries its iteration and repetition settings.
  void allocations(const std::string& family) const {
    const auto found = figures.lower_bound(family);
    if (found == figures.end() || found->first.rfind(family, 0) != 0) {
      return;
    }
    const auto& c = found->second.counters;
    const auto get = [&c](const char* key) {
      const auto counter = c.find(key);
      return counter == c.end() ? 0.0 : counter->second.value;
    };
    std::printf("  heap allocations per turn over %.0f turns: %.2f at the start, %.2f at the end\n",
                get("turns"), get("allocs_first"), get("allocs_last"));
    std::printf("  allocations live after the first stretch: %.0f, after the last: %.0f  %s\n",
                get("live_first"), get("live_last"),
                get("live_first") == get("live_last") && get("allocs_first") == get("allocs_last")
                    ? "steady"
                    : "GROWS");
  }

 private:
  const std::map<std::string, Figure>& figures;
};

// Built by appending, one piece at a time.
std::string sized(const char* family, std::size_t size) {
  std::string name = family;
  name += '/';
  name += std::to_string(size);
  return name;
}

std::string text(const char* before, std::size_t size, const char* after) {
  std::string line = before;
  line += std::to_string(size);
  line += after;
  return line;
}

void printSummary(const std::map<std::string, Figure>& figures, bool shipped) {
  const std::time_t now = std::time(nullptr);
  char date[64];
  std::tm utc{};
  gmtime_r(&now, &utc);
  std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", &utc);
  std::printf("\n== Summary (CPU time per iteration): %s, %s ==\n", cpuModel().c_str(), date);
  std::printf("  settings file of the turn: %s\n",
              shipped ? "package/Sashcaster.ini" : "the five built-in keys (no shipped file)");
  const Summary summary(figures);
  summary.time("turn", "Turn");
  summary.time("I/O floor (probe, then open, read whole, close)", "IoFloor");
  summary.ratio("turn / I/O floor (aim 1.25)", "Turn", "IoFloor", 2.0);
  summary.difference("the turn's own work (turn - I/O floor)", "Turn", "IoFloor");
  summary.allocations("AllocationsPerTurn");

  for (const std::size_t size : readerSizes) {
    const auto bytes = static_cast<double>(size);
    summary.time(text("IniFile::read, file of ", size, " bytes"), sized("ReaderFile", size), bytes);
    summary.time(text("parse in memory, ", size, " bytes"), sized("ReaderBytes", size), bytes);
    summary.time("inih ini_parse into the same document, file", sized("InihFile", size), bytes);
    summary.time("inih ini_parse_string into the same document", sized("InihString", size), bytes);
    summary.time("inih ini_parse_string, handler storing nothing", sized("InihStringBare", size),
                 bytes);
  }
  const std::size_t smallest = readerSizes[0];
  for (const std::size_t size : readerSizes) {
    if (size == smallest) {
      continue;
    }
    const auto bytes = static_cast<double>(size);
    const auto smallestBytes = static_cast<double>(smallest);
    summary.ratio(text("IniFile::read time per byte, ", size, " vs smallest"),
                  sized("ReaderFile", size), sized("ReaderFile", smallest), 1.2, bytes,
                  smallestBytes);
    summary.ratio(text("in memory time per byte, ", size, " vs smallest"),
                  sized("ReaderBytes", size), sized("ReaderBytes", smallest), 1.2, bytes,
                  smallestBytes);
  }
  for (const std::size_t size : readerSizes) {
    summary.ratio(text("IniFile::read / inih ini_parse, ", size, " B"), sized("ReaderFile", size),
                  sized("InihFile", size), 2.0);
    summary.ratio(text("in memory / inih ini_parse_string, ", size, " B"),
                  sized("ReaderBytes", size), sized("InihString", size), 2.0);
  }
}

}  // namespace
}  // namespace sashcaster::bench

int main(int argc, char** argv) {
  using namespace sashcaster::bench;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  bool shipped = false;
  const std::string settings = shippedSettingsText(shipped);
  const ScratchDirectory scratch;
  writeFile(scratch.path() / "Sashcaster.ini", settings);
  for (const std::size_t size : readerSizes) {
    writeFile(scratch.path() / readerFileName(size), settingsTextOfSize(size));
  }
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printSummary(reporter.figures, shipped);
  benchmark::Shutdown();
  return 0;
}

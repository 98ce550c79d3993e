// A whole turn of the throw loop (settings load from the current directory,
// player ped, the eight checks) against the I/O floor of the same file, and
// the heap allocations of a turn.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <ios>
#include <string>

#include "bench/alloc_counter.h"
#include "bench/bench_host.h"
#include "throw/throw_loop.h"

namespace sashcaster::bench {
namespace {

constexpr const char* settingsName = "Sashcaster.ini";

void Turn(benchmark::State& state) {
  for (auto _ : state) {
    throwTurn();
    afterTurn();
  }
  state.SetLabel(hostName());
}
BENCHMARK(Turn);

// What any reader of the file pays: the settings load's existence probe
// (open and close), then open, read whole, close. Nothing is parsed.
void IoFloor(benchmark::State& state) {
  for (auto _ : state) {
    {
      const std::ifstream probe(settingsName);
      benchmark::DoNotOptimize(probe.good());
    }
    std::ifstream in(settingsName, std::ios::in | std::ios::binary);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), size);
    in.close();
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(IoFloor);

std::uint64_t liveAllocations() {
  return allocationCount() - deallocationCount();
}

// Runs many turns once and reports allocations per turn at the start and at
// the end, and the allocations still live after each stretch; steady
// figures mean nothing piles up from turn to turn. The number of turns comes
// from SASHCASTER_BENCH_TURNS (default one million).
void AllocationsPerTurn(benchmark::State& state) {
  // Read before any benchmark thread exists; nothing sets the environment.
  const char* configured = std::getenv("SASHCASTER_BENCH_TURNS");  // NOLINT(concurrency-mt-unsafe)
  const std::uint64_t turns =
      configured != nullptr ? std::strtoull(configured, nullptr, 10) : 1000000;
  const std::uint64_t stretch = turns < 2000 ? turns / 2 + 1 : 1000;
  for (auto _ : state) {
    throwTurn();  // the first turn fills what the document keeps between turns
    afterTurn();
    const std::uint64_t firstStart = allocationCount();
    for (std::uint64_t i = 0; i < stretch; ++i) {
      throwTurn();
      afterTurn();
    }
    const std::uint64_t firstEnd = allocationCount();
    const std::uint64_t liveAfterFirst = liveAllocations();
    for (std::uint64_t i = 2 * stretch; i < turns; ++i) {
      throwTurn();
      afterTurn();
    }
    const std::uint64_t lastStart = allocationCount();
    for (std::uint64_t i = 0; i < stretch; ++i) {
      throwTurn();
      afterTurn();
    }
    const std::uint64_t lastEnd = allocationCount();
    const std::uint64_t liveAfterLast = liveAllocations();
    const auto perTurn = [stretch](std::uint64_t from, std::uint64_t to) {
      return static_cast<double>(to - from) / static_cast<double>(stretch);
    };
    state.counters["turns"] = static_cast<double>(turns + 1);
    state.counters["allocs_first"] = perTurn(firstStart, firstEnd);
    state.counters["allocs_last"] = perTurn(lastStart, lastEnd);
    state.counters["live_first"] = static_cast<double>(liveAfterFirst);
    state.counters["live_last"] = static_cast<double>(liveAfterLast);
  }
  state.SetLabel(hostName());
}
BENCHMARK(AllocationsPerTurn)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sashcaster::bench

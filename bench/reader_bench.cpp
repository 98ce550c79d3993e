// The settings reader's throughput on settings-like files of 1 KiB, 64 KiB
// and 1 MiB, from the file and from memory, against inih parsing the same
// bytes. inih's handler stores into the same document type, so the two
// differ only in how they read and split; a handler that stores nothing
// shows inih's bare parse.
#include <benchmark/benchmark.h>
#include <ini.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/bench_sizes.h"
#include "config/ini_file.h"

namespace sashcaster::bench {
namespace {

std::string fileBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int storeInto(void* user, const char* section, const char* name, const char* value) {
  IniStructure& document = *static_cast<IniStructure*>(user);
  document[section][name] = value;
  return 1;
}

int storeNothing(void* /*user*/, const char* section, const char* name, const char* value) {
  benchmark::DoNotOptimize(section);
  benchmark::DoNotOptimize(name);
  benchmark::DoNotOptimize(value);
  return 1;
}

std::size_t sizeOf(const benchmark::State& state) {
  return static_cast<std::size_t>(state.range(0));
}

void finish(benchmark::State& state, const IniStructure& document) {
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.counters["sections"] = static_cast<double>(document.size());
}

void ReaderFile(benchmark::State& state) {
  const IniFile file(readerFileName(sizeOf(state)));
  IniStructure document;
  for (auto _ : state) {
    if (!file.read(document)) {
      state.SkipWithError("the file was not read");
      break;
    }
    benchmark::ClobberMemory();
  }
  finish(state, document);
}

void ReaderBytes(benchmark::State& state) {
  const std::string bytes = fileBytes(readerFileName(sizeOf(state)));
  IniStructure document;
  for (auto _ : state) {
    document.clear();
    parseIniBytes(bytes, document);
    benchmark::ClobberMemory();
  }
  finish(state, document);
}

void InihFile(benchmark::State& state) {
  const std::string name = readerFileName(sizeOf(state));
  IniStructure document;
  for (auto _ : state) {
    document.clear();
    if (ini_parse(name.c_str(), storeInto, &document) < 0) {
      state.SkipWithError("inih could not open the file");
      break;
    }
    benchmark::ClobberMemory();
  }
  finish(state, document);
}

void InihString(benchmark::State& state) {
  const std::string bytes = fileBytes(readerFileName(sizeOf(state)));
  IniStructure document;
  for (auto _ : state) {
    document.clear();
    ini_parse_string(bytes.c_str(), storeInto, &document);
    benchmark::ClobberMemory();
  }
  finish(state, document);
}

void InihStringBare(benchmark::State& state) {
  const std::string bytes = fileBytes(readerFileName(sizeOf(state)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(ini_parse_string(bytes.c_str(), storeNothing, nullptr));
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void sizes(benchmark::internal::Benchmark* benchmark) {
  for (const std::size_t size : readerSizes) {
    benchmark->Arg(static_cast<std::int64_t>(size));
  }
}

BENCHMARK(ReaderFile)->Apply(sizes);
BENCHMARK(ReaderBytes)->Apply(sizes);
BENCHMARK(InihFile)->Apply(sizes);
BENCHMARK(InihString)->Apply(sizes);
BENCHMARK(InihStringBare)->Apply(sizes);

}  // namespace
}  // namespace sashcaster::bench

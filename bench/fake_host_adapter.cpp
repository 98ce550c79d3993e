// Runs the turn benchmarks on the tests' fake host, recording included.
#include "bench/bench_host.h"
#include "fake_host/fake_host.h"
#include "throw/throw_loop.h"

namespace sashcaster::bench {

const char* hostName() {
  return "recording fake host";
}

void afterTurn() {
  fake::host().calls.clear();
  fake::host().natives.clear();
}

}  // namespace sashcaster::bench

// How a fuzz target reports a broken invariant: a message naming it, then an
// abort, which libFuzzer records as a crash with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace sashcaster::fuzz {

inline void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

}  // namespace sashcaster::fuzz

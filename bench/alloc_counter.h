// Counts the heap allocations of the whole process through a replaced global
// operator new; the counts only grow. Exact while one thread allocates, as in
// these benchmarks.
#pragma once

#include <cstdint>

namespace sashcaster::bench {

std::uint64_t allocationCount();
std::uint64_t deallocationCount();

}  // namespace sashcaster::bench

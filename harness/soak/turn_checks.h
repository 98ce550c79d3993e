// One turn of the real plug-in under the stand-in host, and the checks every
// turn of the soak must pass.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sashcaster::soak {

struct Faults {
  std::uint64_t count = 0;
};

// Counts a fault and prints the first few, so that a storm of one fault
// stays readable.
void fault(Faults& faults, std::uint64_t turn, const std::string& what);

// Runs one turn and checks it: it ends with scriptWait(0), no breach of the
// calling protocol, only the five names hashed, every action set followed by
// the flag. Returns the grapple actions the turn set, in order. The host's
// records are cleared, so they stay bounded however long the soak runs.
std::vector<std::uint32_t> checkedTurn(std::uint64_t turn, Faults& faults);

// Breaches reported outside a turn (loading, unloading), as faults.
void takeBreaches(std::uint64_t turn, const char* when, Faults& faults);

}  // namespace sashcaster::soak

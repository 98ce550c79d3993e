// After the storm: a known settings file, and plain gestures that must throw
// as it says.
#pragma once

#include <cstdint>

#include "soak/turn_checks.h"

namespace sashcaster::soak {

// Runs the gestures from clock `now` on, counting what goes wrong as faults.
void checkGesturesOnKnownFile(std::uint32_t now, std::uint64_t turn, Faults& faults);

}  // namespace sashcaster::soak

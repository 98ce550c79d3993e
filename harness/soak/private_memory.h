// The process's private memory, as Windows counts it.
#pragma once

#include <cstdint>

namespace sashcaster::soak {

std::uint64_t privateKiB();

// Whether the figure is real here: committing and writing 16 MiB must raise
// it by as much, and freeing them lower it again.
bool privateFigureIsReal();

}  // namespace sashcaster::soak

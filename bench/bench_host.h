// What a benchmark needs from the host it is linked with: the lean host or
// the recording fake host of the tests.
#pragma once

namespace sashcaster::bench {

const char* hostName();

// Called after every measured turn; a recording host forgets its records
// here so that memory does not grow with the number of turns.
void afterTurn();

}  // namespace sashcaster::bench

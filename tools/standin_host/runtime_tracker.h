// What the watched modules hold: the handles, descriptors and streams their
// opening calls returned, whether each is still open, and which owns which.
// The checks report a bad argument before the wrapper passes it on.
#pragma once

#include <windows.h>

#include <cstdio>

#include "standin_host/runtime_watch.h"

namespace sashcaster::standin {

void setBreachReport(BreachReport report);
// Forgets every handle, descriptor and stream: a module that registers is a
// new one, and the values the last one closed may since have been reused by
// opens the watch never saw (its own static initialisation among them).
void forgetTracked();
// The C runtime's own stdin, stdout and stderr, valid without an open.
void setStandardStreams(FILE* in, FILE* out, FILE* err);
void countWatchedCall();

void checkHandle(const char* function, HANDLE handle);
void checkDescriptor(const char* function, int descriptor);
void checkStream(const char* function, FILE* stream);

// `file`: a handle to a file, counted while left open; others (semaphores)
// are only checked.
void openedHandle(HANDLE handle, bool file);
void closedHandle(HANDLE handle);
// The descriptor owns `handle` from now on (null when not known).
void openedDescriptor(int descriptor, HANDLE handle);
void closedDescriptor(int descriptor);
// The stream owns `descriptor` from now on (-1 when not yet known).
void openedStream(FILE* stream, int descriptor);
void closedStream(FILE* stream);
// `_fileno` told the descriptor of a stream opened by name.
void learnedDescriptor(FILE* stream, int descriptor);
// `_get_osfhandle` told the handle a descriptor owns.
void learnedHandle(int descriptor, HANDLE handle);

}  // namespace sashcaster::standin

#include "standin_host/runtime_tracker.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace sashcaster::standin {

namespace {

struct HandleState {
  bool open;
  bool file;
};
struct DescriptorState {
  bool open;
  HANDLE handle;
};
struct StreamState {
  bool open;
  int descriptor;
};

struct Tracker {
  std::mutex lock;
  BreachReport report = nullptr;
  FILE* standardStreams[3] = {};
  std::map<HANDLE, HandleState> handles;
  std::map<int, DescriptorState> descriptors;
  std::map<FILE*, StreamState> streams;
  std::atomic<std::uint64_t> calls = 0;
};

Tracker tracker;

std::string hexOf(const void* pointer) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(pointer)));
  return text;
}

void report(const char* function, const std::string& what) {
  if (tracker.report != nullptr) {
    tracker.report(std::string(function) + " given " + what);
  }
}

// Whether the system knows the handle at all, for those opened before the
// watch began (the C++ runtime's semaphores, made at load).
bool systemKnows(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

}  // namespace

void setBreachReport(BreachReport report) {
  tracker.report = report;
}

void forgetTracked() {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  tracker.handles.clear();
  tracker.descriptors.clear();
  tracker.streams.clear();
}

void setStandardStreams(FILE* in, FILE* out, FILE* err) {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  tracker.standardStreams[0] = in;
  tracker.standardStreams[1] = out;
  tracker.standardStreams[2] = err;
}

void countWatchedCall() {
  tracker.calls.fetch_add(1, std::memory_order_relaxed);
}

std::uint64_t watchedCalls() {
  return tracker.calls.load(std::memory_order_relaxed);
}

void checkHandle(const char* function, HANDLE handle) {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
    report(function, "the invalid handle " + hexOf(handle));
    return;
  }
  const auto known = tracker.handles.find(handle);
  if (known != tracker.handles.end() && !known->second.open) {
    report(function, "handle " + hexOf(handle) + ", which the plug-in had closed");
  } else if (known == tracker.handles.end() && !systemKnows(handle)) {
    report(function, "handle " + hexOf(handle) + ", which is no open handle");
  }
}

void checkDescriptor(const char* function, int descriptor) {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  const std::string what = "descriptor " + std::to_string(descriptor);
  if (descriptor < 0) {
    report(function, what + ", which is negative");
    return;
  }
  const auto known = tracker.descriptors.find(descriptor);
  if (known != tracker.descriptors.end() && !known->second.open) {
    report(function, what + ", which the plug-in had closed");
  } else if (known == tracker.descriptors.end() && descriptor > 2) {
    report(function, what + ", which the plug-in never opened");
  }
}

void checkStream(const char* function, FILE* stream) {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  if (stream == nullptr) {
    report(function, "a null stream");
    return;
  }
  for (FILE* standard : tracker.standardStreams) {
    if (stream == standard) {
      return;
    }
  }
  const auto known = tracker.streams.find(stream);
  if (known == tracker.streams.end()) {
    report(function, "stream " + hexOf(stream) + ", which the plug-in never opened");
  } else if (!known->second.open) {
    report(function, "stream " + hexOf(stream) + ", which the plug-in had closed");
  }
}

void openedHandle(HANDLE handle, bool file) {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  tracker.handles[handle] = HandleState{true, file};
}

void closedHandle(HANDLE handle) {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  tracker.handles[handle].open = false;
}

void openedDescriptor(int descriptor, HANDLE handle) {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  tracker.descriptors[descriptor] = DescriptorState{true, handle};
}

namespace {

// A descriptor closes the handle it owns (under the tracker's lock).
void closeDescriptorAndHandle(int descriptor) {
  const auto known = tracker.descriptors.find(descriptor);
  if (known == tracker.descriptors.end()) {
    return;
  }
  known->second.open = false;
  if (known->second.handle != nullptr) {
    tracker.handles[known->second.handle].open = false;
  }
}

}  // namespace

void closedDescriptor(int descriptor) {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  closeDescriptorAndHandle(descriptor);
}

void openedStream(FILE* stream, int descriptor) {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  tracker.streams[stream] = StreamState{true, descriptor};
}

void closedStream(FILE* stream) {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  const auto known = tracker.streams.find(stream);
  if (known == tracker.streams.end()) {
    return;
  }
  known->second.open = false;
  closeDescriptorAndHandle(known->second.descriptor);
}

void learnedDescriptor(FILE* stream, int descriptor) {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  const auto known = tracker.streams.find(stream);
  if (descriptor < 0 || known == tracker.streams.end() || known->second.descriptor >= 0) {
    return;
  }
  known->second.descriptor = descriptor;
  tracker.descriptors[descriptor] = DescriptorState{true, nullptr};
}

void learnedHandle(int descriptor, HANDLE handle) {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  const auto known = tracker.descriptors.find(descriptor);
  if (handle == INVALID_HANDLE_VALUE || known == tracker.descriptors.end() ||
      known->second.handle != nullptr) {
    return;
  }
  known->second.handle = handle;
  tracker.handles[handle] = HandleState{true, false};
}

std::uint32_t filesLeftOpen() {
  const std::lock_guard<std::mutex> guard(tracker.lock);
  std::map<int, bool> ownedDescriptors;
  std::map<HANDLE, bool> ownedHandles;
  std::uint32_t open = 0;
  for (const auto& [stream, state] : tracker.streams) {
    if (state.open) {
      ++open;
      ownedDescriptors[state.descriptor] = true;
    }
  }
  for (const auto& [descriptor, state] : tracker.descriptors) {
    if (state.open) {
      if (ownedDescriptors.count(descriptor) == 0) {
        ++open;
      }
      ownedHandles[state.handle] = true;
    }
  }
  for (const auto& [handle, state] : tracker.handles) {
    if (state.open && state.file && ownedHandles.count(handle) == 0) {
      ++open;
    }
  }
  return open;
}

}  // namespace sashcaster::standin

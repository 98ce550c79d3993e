#include "bench/alloc_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::uint64_t> allocations{0};
std::atomic<std::uint64_t> deallocations{0};

// A load and a store rather than an atomic increment: the benchmarks
// allocate from one thread, and a locked increment on every allocation
// would weigh on the reader's own figures.
void bump(std::atomic<std::uint64_t>& counter) {
  counter.store(counter.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}

void* allocate(std::size_t size) {
  bump(allocations);
  // A replaced operator new has nothing below it but malloc.
  void* memory = std::malloc(size == 0 ? 1 : size);  // NOLINT(cppcoreguidelines-no-malloc)
  if (memory == nullptr) {
    throw std::bad_alloc();
  }
  return memory;
}

void release(void* memory) noexcept {
  if (memory != nullptr) {
    bump(deallocations);
    std::free(memory);  // NOLINT(cppcoreguidelines-no-malloc)
  }
}

}  // namespace

namespace sashcaster::bench {

std::uint64_t allocationCount() {
  return allocations.load(std::memory_order_relaxed);
}
std::uint64_t deallocationCount() {
  return deallocations.load(std::memory_order_relaxed);
}

}  // namespace sashcaster::bench

// The replaceable forms that the standard library and the project use; the
// aligned forms are left to the library since nothing here over-aligns.
void* operator new(std::size_t size) {
  return allocate(size);
}
void* operator new[](std::size_t size) {
  return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void operator delete(void* memory) noexcept {
  release(memory);
}
void operator delete[](void* memory) noexcept {
  release(memory);
}
void operator delete(void* memory, std::size_t /*size*/) noexcept {
  release(memory);
}
void operator delete[](void* memory, std::size_t /*size*/) noexcept {
  release(memory);
}

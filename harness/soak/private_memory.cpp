#include "soak/private_memory.h"

#include <windows.h>
// after windows.h, whose types it uses
#include <psapi.h>

#include <cstring>

namespace sashcaster::soak {

// Wine 8 leaves PrivateUsage at 0 and counts private pages in PagefileUsage,
// and only those touched: take the first when it is set, else the second.
std::uint64_t privateKiB() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (K32GetProcessMemoryInfo(GetCurrentProcess(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters) == 0) {
    return 0;
  }
  const SIZE_T bytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
  return bytes / 1024;
}

bool privateFigureIsReal() {
  constexpr std::uint64_t probeKiB = 16 * 1024;
  const std::uint64_t before = privateKiB();
  void* block = VirtualAlloc(nullptr, probeKiB * 1024, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (block == nullptr) {
    return false;
  }
  std::memset(block, 0x5A, probeKiB * 1024);
  const std::uint64_t during = privateKiB();
  VirtualFree(block, 0, MEM_RELEASE);
  const std::uint64_t after = privateKiB();
  return before > 0 && during >= before + probeKiB && after + probeKiB <= during;
}

}  // namespace sashcaster::soak

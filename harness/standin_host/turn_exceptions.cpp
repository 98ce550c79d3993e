#include "standin_host/turn_exceptions.h"

#include <atomic>

namespace sashcaster::standin {

namespace {

struct Raised {
  std::uint32_t code;
  void* address;
};

// Fixed room: the handler runs inside the dispatch and must not allocate.
constexpr std::uint32_t keptExceptions = 64;

struct TurnExceptions {
  std::atomic<LPVOID> fiber = nullptr;
  std::atomic<DWORD> thread = 0;
  std::atomic<std::uint32_t> count = 0;
  Raised kept[keptExceptions] = {};
  PVOID handler = nullptr;
};

TurnExceptions turns;

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
[[gnu::noinline]] LPVOID runningFiber() {
  return IsThreadAFiber() != FALSE ? GetCurrentFiber() : nullptr;
}
#pragma GCC diagnostic pop

// Counts every code: none is passed over as harmless, since each one costs
// every handler in the process alike. Never handles one.
LONG CALLBACK countTurnException(EXCEPTION_POINTERS* exception) {
  const LPVOID fiber = turns.fiber.load();
  if (fiber != nullptr && turns.thread.load() == GetCurrentThreadId() && runningFiber() == fiber) {
    const std::uint32_t index = turns.count.fetch_add(1);
    if (index < keptExceptions) {
      turns.kept[index] = Raised{exception->ExceptionRecord->ExceptionCode,
                                 exception->ExceptionRecord->ExceptionAddress};
    }
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void turnStarts(LPVOID fiber) {
  if (turns.handler == nullptr) {
    // First in the chain, so that no handler of the test program hides one.
    turns.handler = AddVectoredExceptionHandler(1, &countTurnException);
  }
  turns.thread.store(GetCurrentThreadId());
  turns.fiber.store(fiber);
}

void turnEnds() {
  turns.fiber.store(nullptr);
}

std::uint32_t turnExceptionCount() {
  return turns.count.load();
}

bool turnException(std::uint32_t index, std::uint32_t* code, void** address) {
  if (index >= turns.count.load() || index >= keptExceptions) {
    return false;
  }
  *code = turns.kept[index].code;
  *address = turns.kept[index].address;
  return true;
}

void clearTurnExceptions() {
  turns.count.store(0);
}

}  // namespace sashcaster::standin

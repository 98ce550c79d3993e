// Calls a game native by hash through the host: init, one 64-bit push per
// argument, call, then the low 32 bits of the result slot.
#pragma once

#include <cstdint>
#include <type_traits>

#include "host/host_interface.h"

namespace sashcaster {

// 32-bit integers travel zero-extended, whatever their sign.
inline std::uint64_t toSlot(std::uint32_t value) {
  return value;
}
inline std::uint64_t toSlot(std::int32_t value) {
  return static_cast<std::uint32_t>(value);
}

// Strings travel as the address of a NUL-terminated literal.
inline std::uint64_t toSlot(const char* text) {
  return reinterpret_cast<std::uintptr_t>(text);
}

// Result is void, bool (all 32 low bits tested), or a 32-bit integer.
template <typename Result, typename... Args>
Result invokeNative(std::uint64_t hash, Args... args) {
  nativeInit(hash);
  (nativePush64(toSlot(args)), ...);
  const std::uint64_t* slot = nativeCall();
  if constexpr (std::is_void_v<Result>) {
    static_cast<void>(slot);
  } else {
    const auto low = static_cast<std::uint32_t>(*slot);
    if constexpr (std::is_same_v<Result, bool>) {
      return low != 0;
    } else {
      static_assert(sizeof(Result) == sizeof(std::uint32_t), "natives answer 32-bit values");
      return static_cast<Result>(low);
    }
  }
}

}  // namespace sashcaster

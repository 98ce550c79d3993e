// The game natives the throw loop uses, each a typed call by its hash.
#pragma once

#include <cstdint>

#include "host/native_invocation.h"

namespace sashcaster::natives {

inline constexpr std::uint64_t localPlayerPedHash = 0x096275889B8E0EE0;
inline constexpr std::uint64_t hashOfNameHash = 0xFD340785ADF8CFB7;
inline constexpr std::uint64_t pedGrappleStyleHash = 0x753B15AD0FD6F3E3;
inline constexpr std::uint64_t setPedGrappleActionHash = 0x8301D87B1B89E219;
inline constexpr std::uint64_t setPedGrappleFlagHash = 0x789DABD18E9024DB;
inline constexpr std::uint64_t controlPressedHash = 0xF3A21BCD95725A4A;
inline constexpr std::uint64_t controlJustReleasedHash = 0x50F940259D3841E6;
inline constexpr std::uint64_t disabledControlPressedHash = 0xE2587F8CBBD87B1D;

inline std::int32_t localPlayerPed() {
  return invokeNative<std::int32_t>(localPlayerPedHash);
}

inline std::uint32_t hashOfName(const char* name) {
  return invokeNative<std::uint32_t>(hashOfNameHash, name);
}

inline std::uint32_t pedGrappleStyle(std::int32_t ped) {
  return invokeNative<std::uint32_t>(pedGrappleStyleHash, ped);
}

inline void setPedGrappleAction(std::int32_t ped, std::uint32_t actionHash) {
  invokeNative<void>(setPedGrappleActionHash, ped, actionHash);
}

inline void setPedGrappleFlag(std::int32_t ped, std::int32_t flag, std::int32_t value) {
  invokeNative<void>(setPedGrappleFlagHash, ped, flag, value);
}

inline bool controlPressed(std::int32_t group, std::uint32_t control) {
  return invokeNative<bool>(controlPressedHash, group, control);
}

inline bool controlJustReleased(std::int32_t group, std::uint32_t control) {
  return invokeNative<bool>(controlJustReleasedHash, group, control);
}

inline bool disabledControlPressed(std::int32_t group, std::uint32_t control) {
  return invokeNative<bool>(disabledControlPressedHash, group, control);
}

}  // namespace sashcaster::natives

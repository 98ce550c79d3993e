// The last keyboard event of every virtual-key code, shared without locks
// between the host's keyboard callback and the script.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace sashcaster {

// Each field is its own atomic so that a reader never sees half a store;
// the fields of one entry are not ordered against each other. fifthArg and
// sixthArg are the keyboard callback's fifth and sixth arguments by position:
// host_types.h names the same two isWithAlt and wasDownBefore, and `released`
// is its isUpNow. Both namings are meant; neither is a misnaming of the other.
struct KeyState {
  std::atomic<std::uint32_t> tick;
  std::atomic<std::int32_t> fifthArg;
  std::atomic<std::int32_t> sixthArg;
  std::atomic<std::int32_t> released;
};

inline constexpr std::size_t keyStateCount = 255;  // codes 0 to 254
inline constexpr std::uint32_t holdWindowMs = 30000;
inline constexpr std::uint32_t releaseWindowMs = 100;

struct KeyStateTable {
  KeyState entries[keyStateCount];
};

extern KeyStateTable keyStateTable;

void onKeyboardEvent(std::uint32_t key, std::uint16_t repeats, std::uint8_t scanCode,
                     std::int32_t isExtended, std::int32_t fifthArg, std::int32_t sixthArg,
                     std::int32_t released);

// True when the key's last event is a key-down younger than the hold window.
bool keyHeld(std::uint32_t key);

// True when the key's last event is a key-up younger than the release window.
bool keyJustReleased(std::uint32_t key);

// Forgets the key's last event; codes without an entry are ignored.
void clearKey(std::uint32_t key);

}  // namespace sashcaster

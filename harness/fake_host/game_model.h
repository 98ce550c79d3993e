// The small fake game that both hosts of a scenario play: the player's ped,
// the name hash, the natives the plug-in calls, and the controls it queries.
// Plain data and functions, so that the Windows stand-in host, the Linux
// simulator and the tests' fake host answer every native alike. The hashes are
// written out here rather than taken from the plug-in, so that a wrong hash in
// the plug-in shows as an unknown native.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace sashcaster::model {

inline constexpr std::int32_t defaultPlayerPed = 0x1D0C;

// Every result slot carries these high bits: a reader of more than the low
// 32 bits gets a wrong answer.
inline constexpr std::uint64_t resultHighBits = 0xA5A5A5A500000000;

inline constexpr std::uint64_t localPlayerPedHash = 0x096275889B8E0EE0;
inline constexpr std::uint64_t hashOfNameHash = 0xFD340785ADF8CFB7;
inline constexpr std::uint64_t pedGrappleStyleHash = 0x753B15AD0FD6F3E3;
inline constexpr std::uint64_t setPedGrappleActionHash = 0x8301D87B1B89E219;
inline constexpr std::uint64_t setPedGrappleFlagHash = 0x789DABD18E9024DB;
inline constexpr std::uint64_t controlPressedHash = 0xF3A21BCD95725A4A;
inline constexpr std::uint64_t controlJustReleasedHash = 0x50F940259D3841E6;
inline constexpr std::uint64_t disabledControlPressedHash = 0xE2587F8CBBD87B1D;

struct NativeInfo {
  std::uint64_t hash;
  const char* name;
  std::size_t argumentCount;
  bool hasResult;
  bool takesName;  // the one argument is the address of a name
};

inline constexpr NativeInfo nativeCatalogue[] = {
    {localPlayerPedHash, "localPlayerPed", 0, true, false},
    {hashOfNameHash, "hashOfName", 1, true, true},
    {pedGrappleStyleHash, "pedGrappleStyle", 1, true, false},
    {setPedGrappleActionHash, "setPedGrappleAction", 2, false, false},
    {setPedGrappleFlagHash, "setPedGrappleFlag", 3, false, false},
    {controlPressedHash, "controlPressed", 2, true, false},
    {controlJustReleasedHash, "controlJustReleased", 2, true, false},
    {disabledControlPressedHash, "disabledControlPressed", 2, true, false},
};

inline const NativeInfo* findNative(std::uint64_t hash) {
  for (const NativeInfo& info : nativeCatalogue) {
    if (info.hash == hash) {
      return &info;
    }
  }
  return nullptr;
}

// The game's name hash: Jenkins' one-at-a-time over the lower-cased name.
inline std::uint32_t nameHash(std::string_view name) {
  std::uint32_t hash = 0;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    hash += (byte >= 'A' && byte <= 'Z') ? byte + ('a' - 'A') : byte;
    hash += hash << 10;
    hash ^= hash >> 6;
  }
  hash += hash << 3;
  hash ^= hash >> 11;
  hash += hash << 15;
  return hash;
}

// The game's names that the plug-in hashes: the face-to-face grapple style
// and the custom throws, each by the word the scenarios and traces use for its
// direction. Written out here rather than taken from the plug-in, as the
// hashes above are, so that a wrong name in the plug-in shows as a wrong throw.
inline constexpr char faceToFaceStyleName[] = "GS_FACE_TO_FACE";

struct GameThrow {
  const char* word;    // front, left, right, back
  const char* action;  // the game's action name
};

inline constexpr GameThrow gameThrows[] = {
    {"front", "ACT_GRAPPLE_THROW_CUSTOM_FRONT"},
    {"left", "ACT_GRAPPLE_THROW_CUSTOM_LEFT"},
    {"right", "ACT_GRAPPLE_THROW_CUSTOM_RIGHT"},
    {"back", "ACT_GRAPPLE_THROW_CUSTOM_BACK_LEFT"},
};

// Where a failure message sends the reader to see what a word means.
inline constexpr char gameThrowsSource[] = "model::gameThrows in harness/fake_host/game_model.h";

// The game's action of a throw word; empty for a word that names none.
inline std::string_view gameThrowAction(std::string_view word) {
  for (const GameThrow& named : gameThrows) {
    if (word == named.word) {
      return named.action;
    }
  }
  return {};
}

inline constexpr std::size_t maxControls = 8;

// The controls the game reports in group 0, as hashes.
struct ControlSet {
  std::uint32_t hashes[maxControls] = {};
  std::size_t count = 0;
};

// A full set keeps the controls it has: the game reports no more.
inline void add(ControlSet& set, std::uint32_t control) {
  if (set.count < maxControls) {
    set.hashes[set.count++] = control;
  }
}

inline ControlSet controlSet(std::initializer_list<std::uint32_t> controls) {
  ControlSet set;
  for (const std::uint32_t control : controls) {
    add(set, control);
  }
  return set;
}

inline bool contains(const ControlSet& set, std::uint32_t control) {
  for (std::size_t i = 0; i < set.count; ++i) {
    if (set.hashes[i] == control) {
      return true;
    }
  }
  return false;
}

// What the game reports on the next turns.
struct GameState {
  std::int32_t playerPed = defaultPlayerPed;
  std::uint32_t grappleStyle = 0;
  ControlSet pressed;
  ControlSet justReleased;
  ControlSet disabledPressed;
};

// The most arguments a catalogued native takes.
inline constexpr std::size_t maxArguments = 3;

// The game's answer to a well-formed call, in the low 32 bits. `slots` holds
// maxArguments arguments, the unused ones zero; `name` is the text of
// hashOfName's argument; the actions set are the caller's to record.
inline std::uint32_t answer(const GameState& game, std::uint64_t hash, const std::uint64_t* slots,
                            const char* name) {
  const auto first = static_cast<std::uint32_t>(slots[0]);
  const auto second = static_cast<std::uint32_t>(slots[1]);
  switch (hash) {
    case localPlayerPedHash:
      return static_cast<std::uint32_t>(game.playerPed);
    case hashOfNameHash:
      return nameHash(name);
    case pedGrappleStyleHash:
      return static_cast<std::int32_t>(first) == game.playerPed ? game.grappleStyle : 0;
    case controlPressedHash:
      return first == 0 && contains(game.pressed, second) ? 1 : 0;
    case controlJustReleasedHash:
      return first == 0 && contains(game.justReleased, second) ? 1 : 0;
    case disabledControlPressedHash:
      return first == 0 && contains(game.disabledPressed, second) ? 1 : 0;
    default:
      return 0;
  }
}

}  // namespace sashcaster::model

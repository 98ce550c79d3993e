// Native calls in words, and their checks against the game model's
// catalogue: one text for the fake host, the stand-in host and the scenario
// trace, so that the three can never disagree on what a call was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sashcaster::model {

std::string hex32(std::uint32_t value);  // 0x1ECA87D4
std::string hex64(std::uint64_t value);  // 0x096275889B8E0EE0

// The caller's word for a 32-bit hash (a control's or an action's name, which
// the game model does not know), or empty to show the hash in hexadecimal.
using HashWords = std::function<std::string(std::uint32_t hash)>;

// Such as hashOfName("GS_FACE_TO_FACE") or controlPressed(0, 0x1ECA87D4):
// `name` quoted for the native that takes one, hashes in hexadecimal or in the
// caller's words, other integers in signed decimal; a native outside the
// catalogue by its hash.
std::string describeCall(std::uint64_t hash, const std::uint64_t* slots, std::size_t count,
                         std::string_view name, const HashWords& words = {});

// " = 0x00000001" for a native with a result (the ped in decimal, a grapple
// style in the caller's words when it has them), else empty.
std::string describeResult(std::uint64_t hash, std::uint64_t resultSlot,
                           const HashWords& words = {});

// Appends each breach of the catalogue in words (an unknown native, a wrong
// argument count, a 32-bit argument with a high half) and returns whether
// there was none. Whether a name's address is readable is the host's to check.
bool checkArguments(std::uint64_t hash, const std::uint64_t* slots, std::size_t count,
                    std::vector<std::string>& breaches);

}  // namespace sashcaster::model

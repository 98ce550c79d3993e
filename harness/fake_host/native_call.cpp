#include "fake_host/native_call.h"

#include <cstdio>

#include "fake_host/game_model.h"

namespace sashcaster::model {

namespace {

std::string signed32(std::uint64_t slot) {
  return std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(slot)));
}

std::string hashInWords(std::uint32_t hash, const HashWords& words) {
  std::string word = words ? words(hash) : std::string();
  return word.empty() ? hex32(hash) : word;
}

std::string describeArgument(const NativeInfo& info, std::size_t position, std::uint64_t slot,
                             std::string_view name, const HashWords& words) {
  if (info.takesName) {
    return '"' + std::string(name) + '"';
  }
  // The second argument is a hash everywhere but in the flag call.
  if (position == 1 && info.hash != setPedGrappleFlagHash) {
    return hashInWords(static_cast<std::uint32_t>(slot), words);
  }
  return signed32(slot);
}

}  // namespace

std::string hex32(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string hex64(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(value));
  return text;
}

std::string describeCall(std::uint64_t hash, const std::uint64_t* slots, std::size_t count,
                         std::string_view name, const HashWords& words) {
  const NativeInfo* info = findNative(hash);
  if (info == nullptr) {
    return "unknown native " + hex64(hash) + " with " + std::to_string(count) + " arguments";
  }
  std::string text = std::string(info->name) + "(";
  for (std::size_t i = 0; i < count; ++i) {
    text += (i == 0 ? "" : ", ") + describeArgument(*info, i, slots[i], name, words);
  }
  return text + ")";
}

std::string describeResult(std::uint64_t hash, std::uint64_t resultSlot, const HashWords& words) {
  const NativeInfo* info = findNative(hash);
  if (info == nullptr || !info->hasResult) {
    return "";
  }
  const auto low = static_cast<std::uint32_t>(resultSlot);
  if (hash == localPlayerPedHash) {
    return " = " + signed32(resultSlot);
  }
  // The others are truth values, and the hash of hashOfName, whose name the
  // call shows beside it.
  return " = " + (hash == pedGrappleStyleHash ? hashInWords(low, words) : hex32(low));
}

bool checkArguments(std::uint64_t hash, const std::uint64_t* slots, std::size_t count,
                    std::vector<std::string>& breaches) {
  const NativeInfo* info = findNative(hash);
  if (info == nullptr) {
    breaches.push_back("unknown native " + hex64(hash));
    return false;
  }
  if (count != info->argumentCount) {
    breaches.push_back(std::string(info->name) + " called with " + std::to_string(count) +
                       " arguments, not " + std::to_string(info->argumentCount));
    return false;
  }
  bool sound = true;
  for (std::size_t i = 0; i < count && !info->takesName; ++i) {
    if ((slots[i] >> 32) != 0) {
      breaches.push_back(std::string(info->name) + " argument " + std::to_string(i + 1) + " is " +
                         hex64(slots[i]) + ": a 32-bit value with a high half");
      sound = false;
    }
  }
  return sound;
}

}  // namespace sashcaster::model

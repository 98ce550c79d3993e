// The built-in keys as the tests compare them: the five codes of Settings{}
// in the order the load reads them, and the same with some of them changed.
// Taken from Settings{} so that a new default needs no test edited.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include "config/settings.h"

namespace sashcaster::testing {

using KeyCodes = std::array<std::uint32_t, 5>;  // trigger, front, left, right, back

// The settings' fields by the names the keys tool and the notes give them.
namespace setting {
inline constexpr std::uint32_t Settings::*trigger = &Settings::iXKey;
inline constexpr std::uint32_t Settings::*front = &Settings::iWindowThrowFront;
inline constexpr std::uint32_t Settings::*left = &Settings::iWindowThrowLeft;
inline constexpr std::uint32_t Settings::*right = &Settings::iWindowThrowRight;
inline constexpr std::uint32_t Settings::*back = &Settings::iWindowThrowBack;
}  // namespace setting

inline constexpr Settings builtInSettings{};

constexpr KeyCodes codesOf(const Settings& s) {
  return {s.iXKey, s.iWindowThrowFront, s.iWindowThrowLeft, s.iWindowThrowRight,
          s.iWindowThrowBack};
}

inline constexpr KeyCodes builtInCodes = codesOf(builtInSettings);

using KeyChange = std::pair<std::uint32_t Settings::*, std::uint32_t>;

// The built-in codes with the given fields set, such as
// builtInWith({{setting::trigger, 70}}).
constexpr KeyCodes builtInWith(std::initializer_list<KeyChange> changes) {
  Settings changed{};
  for (const KeyChange& change : changes) {
    changed.*change.first = change.second;
  }
  return codesOf(changed);
}

// A built-in code as a settings file spells it, such as "65".
inline std::string codeText(std::uint32_t Settings::*field) {
  return std::to_string(builtInSettings.*field);
}

}  // namespace sashcaster::testing

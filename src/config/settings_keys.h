// The settings file's section and its five keys, and their conversion from a
// document into a settings record.
#pragma once

#include <array>
#include <cstdint>

#include "config/ini_file.h"
#include "config/settings.h"

namespace sashcaster {

inline constexpr const char* settingsSectionName = "Sashcaster";

struct SettingsKey {
  const char* name;
  std::uint32_t Settings::*field;
};

// In the order in which they load.
inline constexpr std::array<SettingsKey, 5> settingsKeys{{
    {"iXKey", &Settings::iXKey},
    {"iWindowThrowFront", &Settings::iWindowThrowFront},
    {"iWindowThrowLeft", &Settings::iWindowThrowLeft},
    {"iWindowThrowRight", &Settings::iWindowThrowRight},
    {"iWindowThrowBack", &Settings::iWindowThrowBack},
}};

// Stores each key's number bit for bit (-1 becomes 0xFFFFFFFF). A key that is
// missing, empty, not a number or out of range leaves its field as it was and
// does not keep the other keys from loading.
void loadSettingsKeys(const IniStructure& document, Settings& target);

}  // namespace sashcaster

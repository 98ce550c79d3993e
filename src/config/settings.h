// The five keyboard keys of the throws, as Windows virtual-key codes.
#pragma once

#include <cstdint>

namespace sashcaster {

// Compared as unsigned: a code of 255 or more switches its checks off.
struct Settings {
  std::uint32_t iXKey = 88;              // X, the trigger
  std::uint32_t iWindowThrowFront = 87;  // W
  std::uint32_t iWindowThrowLeft = 65;   // A
  std::uint32_t iWindowThrowRight = 68;  // D
  std::uint32_t iWindowThrowBack = 83;   // S
};

extern Settings settings;

// Refreshes the settings from the settings file; run at the top of every turn.
// A link-time seam: a program that defines its own loadSettings gets it in
// place of the settings file's (the throw loop's guard test makes it throw).
void loadSettings();

}  // namespace sashcaster

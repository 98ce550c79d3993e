// The stand-in host's breach reports as the programs that drive it take them:
// every report so far, in order, after which the host holds none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "standin_host/standin_control.h"

inline std::vector<std::string> takeStandInBreaches() {
  std::vector<std::string> breaches;
  char text[512];
  for (std::uint32_t i = 0; standInBreach(i, text, sizeof text); ++i) {
    breaches.emplace_back(text);
  }
  standInClearBreaches();
  return breaches;
}

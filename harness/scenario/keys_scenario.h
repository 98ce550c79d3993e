// The scenario played for a settings file when no scenario is given: the
// throws a player would try with the keys that file loads.
#pragma once

#include <string>

#include "scenario.h"

namespace sashcaster::scenario {

// One keyboard throw per direction with the loaded direction and trigger
// keys, then one controller throw. Keys the file switches off are not played;
// a code no key sends cannot be pressed, so its throw is expected and fails.
// Every keyboard throw's failure names the keys it was played with and where
// each came from.
bool scenarioFromSettingsFile(const std::string& iniFile, Scenario& scenario, std::string& error);

}  // namespace sashcaster::scenario

#include <fstream>

#include "config/settings.h"
#include "config/settings_file.h"
#include "config/settings_keys.h"

namespace sashcaster {

const IniFile settingsFile("Sashcaster.ini");
IniStructure settingsDocument;

namespace {

// A missing file must leave the document of the last read untouched.
bool settingsFileOpens() {
  const std::ifstream probe(settingsFile.fileName);
  return probe.good();
}

}  // namespace

void loadSettings() {
  if (!settingsFileOpens()) {
    return;
  }
  settingsFile.read(settingsDocument);
  loadSettingsKeys(settingsDocument, settings);
}

}  // namespace sashcaster

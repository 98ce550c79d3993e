#include "config/settings.h"
#include "config/settings_file.h"
#include "config/settings_keys.h"
#include "host/shared_file.h"

namespace sashcaster {

const IniFile settingsFile("Sashcaster.ini");
IniStructure settingsDocument;

namespace {

// A missing file must leave the document of the last read untouched. The
// probe is an open of its own, closed again before the read opens the file.
bool settingsFileOpens() {
  return sharedFileOpens(settingsFile.fileName);
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

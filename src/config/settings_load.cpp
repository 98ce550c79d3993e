#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>

#include "config/decimal_int.h"
#include "config/settings.h"
#include "config/settings_file.h"

namespace sashcaster {

const IniFile settingsFile("Sashcaster.ini");
IniStructure settingsDocument;

namespace {

constexpr const char* settingsSection = "Sashcaster";

// A missing file must leave the document of the last read untouched.
bool settingsFileOpens() {
  const std::ifstream probe(settingsFile.fileName);
  return probe.good();
}

// Stores the key's number bit for bit (-1 becomes 0xFFFFFFFF). A key that is
// missing, empty, not a number or out of range leaves its field as it was and
// does not keep the other keys from loading.
void loadKey(const char* key, std::uint32_t& field) {
  const std::string text = settingsDocument.getCopy(settingsSection).getCopy(key);
  try {
    field = static_cast<std::uint32_t>(parseDecimalInt32(text));
  } catch (const std::invalid_argument&) {  // NOLINT(bugprone-empty-catch): keep the old key
  } catch (const std::out_of_range&) {      // NOLINT(bugprone-empty-catch): keep the old key
  }
}

}  // namespace

void loadSettings() {
  if (!settingsFileOpens()) {
    return;
  }
  settingsFile.read(settingsDocument);
  loadKey("iXKey", settings.iXKey);
  loadKey("iWindowThrowFront", settings.iWindowThrowFront);
  loadKey("iWindowThrowLeft", settings.iWindowThrowLeft);
  loadKey("iWindowThrowRight", settings.iWindowThrowRight);
  loadKey("iWindowThrowBack", settings.iWindowThrowBack);
}

}  // namespace sashcaster

#include "config/settings_keys.h"

#include <stdexcept>
#include <string>

#include "config/decimal_int.h"

namespace sashcaster {

void loadSettingsKeys(const IniStructure& document, Settings& target) {
  for (const SettingsKey& key : settingsKeys) {
    // A fresh copy of the section for every key, as a lookup always gives.
    const std::string text = document.getCopy(settingsSectionName).getCopy(key.name);
    try {
      target.*key.field = static_cast<std::uint32_t>(parseDecimalInt32(text));
    } catch (const std::invalid_argument&) {  // NOLINT(bugprone-empty-catch): keep the old key
    } catch (const std::out_of_range&) {      // NOLINT(bugprone-empty-catch): keep the old key
    }
  }
}

}  // namespace sashcaster

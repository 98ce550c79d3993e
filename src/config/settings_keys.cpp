#include "config/settings_keys.h"

#include <optional>
#include <string>

#include "config/decimal_int.h"

namespace sashcaster {

void loadSettingsKeys(const IniStructure& document, Settings& target) {
  for (const SettingsKey& key : settingsKeys) {
    // A fresh copy of the section for every key, as a lookup always gives.
    const std::string text = document.getCopy(settingsSectionName).getCopy(key.name);
    const std::optional<std::int32_t> number = parseDecimalInt32(text);
    if (number) {
      target.*key.field = static_cast<std::uint32_t>(*number);
    }
  }
}

}  // namespace sashcaster

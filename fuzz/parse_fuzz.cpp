// Arbitrary bytes as a settings file's content, parsed in memory by the
// reader's own parse and loaded by the five keys' load, without a file, so
// that an input costs microseconds. Checked on every input: nothing is
// thrown; the lines are the model's lines; the document equals an
// independent model of the rules (names trimmed and unique, first-occurrence
// order, the last value of a key); getCopy inserts nothing; each field takes
// std::stoi's answer for its key, or keeps its value when there is none.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "config/ini_file.h"
#include "config/settings.h"
#include "config/settings_keys.h"
#include "fuzz/document_checks.h"
#include "fuzz/ini_model.h"

namespace {

using sashcaster::IniStructure;
using sashcaster::Settings;
using sashcaster::fuzz::expectedField;
using sashcaster::fuzz::require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const sashcaster::model::Document model = sashcaster::model::parse(bytes);
  require(sashcaster::splitIniLines(bytes) == sashcaster::model::lines(bytes), "the lines");

  IniStructure document;
  sashcaster::parseIniBytes(bytes, document);
  sashcaster::fuzz::requireSameDocument(document, model);
  sashcaster::fuzz::requireLookupsInsertNothing(document);

  // Fields start from values no input chooses by chance, so a store shows.
  const Settings before{0xA0000001, 0xA0000002, 0xA0000003, 0xA0000004, 0xA0000005};
  Settings loaded = before;
  try {
    sashcaster::loadSettingsKeys(document, loaded);
  } catch (...) {
    require(false, "loadSettingsKeys threw");
  }
  for (const sashcaster::SettingsKey& key : sashcaster::settingsKeys) {
    require(loaded.*key.field == expectedField(model, key.name, before.*key.field), key.name);
  }
  return 0;
}

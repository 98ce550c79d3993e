// Arbitrary bytes as the settings file, read through IniFile::read and
// loaded by loadSettings. Checked on every input: nothing is thrown; the
// document equals an independent model of the rules (names trimmed and
// unique, first-occurrence order, the last value of a key); getCopy inserts
// nothing; a settings field changes exactly when its key's value converts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

#include "config/ini_file.h"
#include "config/settings.h"
#include "config/settings_file.h"
#include "fuzz/ini_model.h"
#include "host/fake/scratch_folder.h"

namespace {

using sashcaster::IniSection;
using sashcaster::IniStructure;

void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// The settings file is read from the current directory, so each input runs
// in a scratch directory, the one for the whole run; the fuzzer's own
// relative paths (corpus, artifacts) need the original one back afterwards.
class InScratchDirectory {
 public:
  InScratchDirectory() {
    std::string error;
    require(folder().enter(error), "entering the scratch directory");
  }
  ~InScratchDirectory() { require(folder().leave(), "leaving the scratch directory"); }
  InScratchDirectory(const InScratchDirectory&) = delete;
  InScratchDirectory& operator=(const InScratchDirectory&) = delete;

 private:
  static sashcaster::fake::ScratchFolder& folder() {
    static sashcaster::fake::ScratchFolder scratch;
    static const bool made = [] {
      std::string error;
      return scratch.make("sashcaster-fuzz", error);
    }();
    require(made, "making a scratch directory");
    return scratch;
  }
};

template <typename Value>
void requireSoundIndex(const sashcaster::OrderedMap<Value>& map) {
  require(map.index.size() == map.entries.size(), "index and entries differ in size");
  std::set<std::string> seen;
  for (std::size_t position = 0; position < map.entries.size(); ++position) {
    const std::string& name = map.entries[position].first;
    require(name == sashcaster::model::trimmed(name), "a stored name is not trimmed");
    require(seen.insert(name).second, "a name is stored twice");
    const auto found = map.index.find(name);
    require(found != map.index.end() && found->second == position, "index points elsewhere");
  }
}

// Same names in the same order with the same values, and sound indexes.
void requireSameDocument(const IniStructure& document, const sashcaster::model::Document& model) {
  requireSoundIndex(document);
  require(document.entries.size() == model.size(), "number of sections");
  for (std::size_t s = 0; s < model.size(); ++s) {
    const auto& [name, section] = document.entries[s];
    require(name == model[s].first, "section name or order");
    requireSoundIndex(section);
    require(section.entries.size() == model[s].second.size(), "number of keys");
    for (std::size_t k = 0; k < section.entries.size(); ++k) {
      require(section.entries[k] == model[s].second[k], "key, order or value");
    }
  }
}

std::size_t totalKeys(const IniStructure& document) {
  std::size_t keys = 0;
  for (const auto& entry : document.entries) {
    keys += entry.second.size();
  }
  return keys;
}

// Lookups of present and absent names, padded and not, change nothing.
void requireLookupsInsertNothing(const IniStructure& document) {
  const std::size_t sections = document.size();
  const std::size_t keys = totalKeys(document);
  std::set<std::string> names = {"Sashcaster", " Sashcaster\t", "", "absent", "iXKey"};
  for (const auto& entry : document.entries) {
    names.insert(entry.first);
    names.insert(" " + entry.first + "\r");
  }
  for (const std::string& name : names) {
    const IniSection section = document.getCopy(name);
    static_cast<void>(section.getCopy("iXKey"));
    static_cast<void>(section.getCopy(" absent "));
  }
  require(document.size() == sections && totalKeys(document) == keys, "getCopy inserted");
}

// std::stoi's answer, or the old field when it throws.
std::uint32_t expectedField(const sashcaster::model::Document& model, const char* key,
                            std::uint32_t old) {
  const std::string* text = sashcaster::model::find(model, "Sashcaster", key);
  if (text == nullptr) {
    return old;
  }
  try {
    return static_cast<std::uint32_t>(std::stoi(*text, nullptr, 10));
  } catch (const std::invalid_argument&) {
    return old;
  } catch (const std::out_of_range&) {
    return old;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const InScratchDirectory inScratch;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream file("Sashcaster.ini", std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    require(file.good(), "writing the settings file");
  }
  const bool readable = size <= static_cast<std::size_t>(sashcaster::maxIniFileBytes);
  const sashcaster::model::Document model =
      readable ? sashcaster::model::parse(bytes) : sashcaster::model::Document{};

  // A document that held something before must hold only the file's content.
  IniStructure document;
  document["stale"]["key"] = "value";
  const bool read = sashcaster::IniFile("Sashcaster.ini").read(document);
  require(read == readable, "IniFile::read result");
  requireSameDocument(document, model);
  requireLookupsInsertNothing(document);

  // Fields start from values no earlier input chose, so a store shows.
  using sashcaster::settings;
  settings = {0xA0000001, 0xA0000002, 0xA0000003, 0xA0000004, 0xA0000005};
  const sashcaster::Settings before = settings;
  try {
    sashcaster::loadSettings();
  } catch (...) {
    require(false, "loadSettings threw");
  }
  requireSameDocument(sashcaster::settingsDocument, model);
  require(settings.iXKey == expectedField(model, "iXKey", before.iXKey), "iXKey");
  require(settings.iWindowThrowFront ==
              expectedField(model, "iWindowThrowFront", before.iWindowThrowFront),
          "iWindowThrowFront");
  require(settings.iWindowThrowLeft ==
              expectedField(model, "iWindowThrowLeft", before.iWindowThrowLeft),
          "iWindowThrowLeft");
  require(settings.iWindowThrowRight ==
              expectedField(model, "iWindowThrowRight", before.iWindowThrowRight),
          "iWindowThrowRight");
  require(settings.iWindowThrowBack ==
              expectedField(model, "iWindowThrowBack", before.iWindowThrowBack),
          "iWindowThrowBack");
  return 0;
}

// Arbitrary bytes as the settings file, read through IniFile::read and
// loaded by loadSettings. Checked on every input: nothing is thrown; the
// document equals an independent model of the rules (names trimmed and
// unique, first-occurrence order, the last value of a key); getCopy inserts
// nothing; a settings field changes exactly when its key's value converts.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "config/ini_file.h"
#include "config/settings.h"
#include "config/settings_file.h"
#include "fuzz/document_checks.h"
#include "fuzz/ini_model.h"
#include "scratch_folder/scratch_folder.h"

namespace {

using sashcaster::IniStructure;
using sashcaster::fuzz::expectedField;
using sashcaster::fuzz::require;
using sashcaster::fuzz::requireLookupsInsertNothing;
using sashcaster::fuzz::requireSameDocument;

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

// The settings file and the document of its last read, kept from turn to turn.
#pragma once

#include "config/ini_file.h"

namespace sashcaster {

// "Sashcaster.ini", resolved against the process's current directory.
extern const IniFile settingsFile;

// Refilled by every read of settingsFile; used only by loadSettings.
extern IniStructure settingsDocument;

}  // namespace sashcaster

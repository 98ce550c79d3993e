#include "config/settings.h"

namespace sashcaster {

// The settings file is not read yet: every turn runs with the built-in keys.
void loadSettings() {}

}  // namespace sashcaster

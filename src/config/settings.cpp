#include "config/settings.h"

namespace sashcaster {

constinit Settings settings{};

}  // namespace sashcaster

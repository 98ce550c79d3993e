#include "host/module_entry.h"

#include "host/host_interface.h"
#include "host/key_state_table.h"
#include "throw/throw_loop.h"

namespace sashcaster {

bool moduleEntry(ModuleHandle module, std::uint32_t reason) {
  if (reason == processAttach) {
    scriptRegister(module, &scriptEntry);
    keyboardHandlerRegister(&onKeyboardEvent);
  } else if (reason == processDetach) {
    scriptUnregister(module);
    keyboardHandlerUnregister(&onKeyboardEvent);
  }
  return true;
}

void scriptEntry() {
  throwLoop();
}

}  // namespace sashcaster

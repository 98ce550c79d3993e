#include "standin_host/import_table.h"

namespace sashcaster::standin {

bool redirectSlot(const ImportSlot& import, const void* replacement) {
  DWORD protection = 0;
  if (VirtualProtect(import.slot, sizeof *import.slot, PAGE_READWRITE, &protection) == 0) {
    return false;
  }
  *import.slot = reinterpret_cast<ULONGLONG>(replacement);
  VirtualProtect(import.slot, sizeof *import.slot, protection, &protection);
  return true;
}

}  // namespace sashcaster::standin

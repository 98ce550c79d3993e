// A loaded module's import table, entry by entry: the stand-in points some of
// the plug-in's imports at functions of its own, as a debugger would.
#pragma once

#include <windows.h>

#include <cstdint>

namespace sashcaster::standin {

// One import taken by name: the library it comes from, the function's name,
// and the slot the module calls it through.
struct ImportSlot {
  const char* library;
  const char* function;
  ULONGLONG* slot;
};

// Writes `replacement` into the slot, however the section is protected.
bool redirectSlot(const ImportSlot& import, const void* replacement);

// Calls `visit(slot)` for every import of `module` taken by name; false when
// the module carries no 64-bit import directory.
template <typename Visit>
bool forEachImport(HMODULE module, Visit&& visit) {
  auto* base = reinterpret_cast<std::uint8_t*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) {
    return false;
  }
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE ||
      nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    return false;
  }
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) {
    return false;
  }
  for (const auto* descriptor =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       descriptor->Name != 0; ++descriptor) {
    if (descriptor->OriginalFirstThunk == 0) {
      continue;  // bound without names: nothing to match
    }
    const auto* library = reinterpret_cast<const char*>(base + descriptor->Name);
    const auto* names =
        reinterpret_cast<const IMAGE_THUNK_DATA64*>(base + descriptor->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + descriptor->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if ((names->u1.Ordinal & IMAGE_ORDINAL_FLAG64) != 0) {
        continue;
      }
      const auto* byName =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      visit(ImportSlot{library, reinterpret_cast<const char*>(byName->Name), &slots->u1.Function});
    }
  }
  return true;
}

}  // namespace sashcaster::standin

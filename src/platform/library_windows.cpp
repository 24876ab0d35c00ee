#include <windows.h>

#include "platform/library.h"
#include "platform/quiet_load_windows.h"

namespace platform {

LibraryHandle LibraryOpen(const char* file_name, bool* wrong_kind) {
  DWORD error = ERROR_SUCCESS;
  HMODULE module = LoadLibraryQuietly(file_name, &error);
  if (wrong_kind != nullptr) *wrong_kind = module == nullptr && error == ERROR_BAD_EXE_FORMAT;
  return reinterpret_cast<LibraryHandle>(module);
}

LibraryEntry LibraryFind(LibraryHandle library, const char* entry_name) {
  return reinterpret_cast<LibraryEntry>(GetProcAddress(static_cast<HMODULE>(library), entry_name));
}

void LibraryClose(LibraryHandle library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace platform

#include <windows.h>

#include "platform/library.h"

namespace platform {

LibraryHandle LibraryOpen(const char* file_name, bool* wrong_kind) {
  // A missing library must not raise the system's "DLL not found" dialog
  // inside the host: the caller reports the failure itself.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(file_name);
  const DWORD error = GetLastError();
  SetErrorMode(previous);
  if (wrong_kind != nullptr) *wrong_kind = module == nullptr && error == ERROR_BAD_EXE_FORMAT;
  return reinterpret_cast<LibraryHandle>(module);
}

LibraryEntry LibraryFind(LibraryHandle library, const char* entry_name) {
  return reinterpret_cast<LibraryEntry>(GetProcAddress(static_cast<HMODULE>(library), entry_name));
}

void LibraryClose(LibraryHandle library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace platform

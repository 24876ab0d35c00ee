#include <windows.h>

#include <cstdio>
#include <cstring>

#include "hd66712_quiet_load_windows.h"
#include "platform/library.h"

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

bool LibraryBesideThisModule(const char* file_name, char* folder, unsigned size) {
  HMODULE self = nullptr;
  char path[MAX_PATH];
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&LibraryBesideThisModule), &self) ||
      GetModuleFileNameA(self, path, MAX_PATH) == 0) {
    return false;
  }
  char* name = std::strrchr(path, '\\');
  if (name == nullptr) return false;
  *name = '\0';
  char beside[MAX_PATH];
  if (std::snprintf(beside, sizeof beside, "%s\\%s", path, file_name) >= MAX_PATH ||
      GetFileAttributesA(beside) == INVALID_FILE_ATTRIBUTES) {
    return false;
  }
  std::snprintf(folder, size, "%s", path);
  return true;
}

}  // namespace platform

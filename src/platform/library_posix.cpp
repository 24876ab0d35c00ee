#include <dlfcn.h>

#include "platform/library.h"

namespace platform {

LibraryHandle LibraryOpen(const char* file_name, bool* wrong_kind) {
  // Only the 64-bit Windows driver names a library of the wrong kind.
  if (wrong_kind != nullptr) *wrong_kind = false;
  return dlopen(file_name, RTLD_NOW | RTLD_LOCAL);
}

LibraryEntry LibraryFind(LibraryHandle library, const char* entry_name) {
  // POSIX guarantees that object and function pointers convert through dlsym.
  return reinterpret_cast<LibraryEntry>(dlsym(library, entry_name));
}

void LibraryClose(LibraryHandle library) { dlclose(library); }

}  // namespace platform

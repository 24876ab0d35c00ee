#include <dlfcn.h>

#include <cstring>

#include "platform/library.h"

namespace platform {

LibraryHandle LibraryOpen(const char* file_name, bool* wrong_kind) {
  LibraryHandle library = dlopen(file_name, RTLD_NOW | RTLD_LOCAL);
  if (wrong_kind != nullptr) {
    const char* reason = library == nullptr ? dlerror() : nullptr;
    *wrong_kind = reason != nullptr && (std::strstr(reason, "wrong ELF class") != nullptr ||
                                        std::strstr(reason, "invalid ELF header") != nullptr);
  }
  return library;
}

LibraryEntry LibraryFind(LibraryHandle library, const char* entry_name) {
  // POSIX guarantees that object and function pointers convert through dlsym.
  return reinterpret_cast<LibraryEntry>(dlsym(library, entry_name));
}

void LibraryClose(LibraryHandle library) { dlclose(library); }

}  // namespace platform

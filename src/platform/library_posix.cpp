#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>

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

bool LibraryBesideThisModule(const char* file_name, char* folder, unsigned size) {
  Dl_info self{};
  if (dladdr(reinterpret_cast<void*>(&LibraryBesideThisModule), &self) == 0 ||
      self.dli_fname == nullptr) {
    return false;
  }
  const std::string path = self.dli_fname;
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return false;
  const std::string own_folder = path.substr(0, slash);
  if (access((own_folder + "/" + file_name).c_str(), F_OK) != 0) return false;
  std::snprintf(folder, size, "%s", own_folder.c_str());
  return true;
}

}  // namespace platform

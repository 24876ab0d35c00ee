#include <dlfcn.h>
#include <link.h>

#include <climits>
#include <cstdlib>

#include "module_loader.h"

namespace loader {

ModuleHandle LoadModule(const std::string& path, std::string* reason) {
  ModuleHandle module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr && reason != nullptr) {
    const char* message = dlerror();
    *reason = message != nullptr ? message : "the loader gave no reason";
  }
  return module;
}

ModuleEntry FindEntry(ModuleHandle module, const char* name) {
  // POSIX guarantees that object and function pointers convert through dlsym.
  return reinterpret_cast<ModuleEntry>(dlsym(module, name));
}

void UnloadModule(ModuleHandle module) { dlclose(module); }

std::string ModuleFile(ModuleHandle module) {
  link_map* map = nullptr;
  if (module == nullptr || dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return "";
  char resolved[PATH_MAX];
  return realpath(map->l_name, resolved) != nullptr ? resolved : map->l_name;
}

std::string ExecutableFile() {
  char resolved[PATH_MAX];
  return realpath("/proc/self/exe", resolved) != nullptr ? resolved : "";
}

}  // namespace loader

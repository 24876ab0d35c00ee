#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "module_loader.h"

namespace loader {

ModuleHandle LoadModule(const std::string& path, std::string* reason, bool* wrong_kind) {
  ModuleHandle module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  const char* message = module == nullptr ? dlerror() : nullptr;
  if (module == nullptr && reason != nullptr) {
    *reason = message != nullptr ? message : "the loader gave no reason";
  }
  if (wrong_kind != nullptr) {
    *wrong_kind = message != nullptr && (std::strstr(message, "wrong ELF class") != nullptr ||
                                         std::strstr(message, "invalid ELF header") != nullptr);
  }
  return module;
}

std::string LocateModule(const std::string& name) {
  return name.find('/') != std::string::npos ? name : "";
}

std::vector<SearchFolder> SearchFolders(const std::string&) {
  // dlopen's order for a bare name, less the program's own run paths and
  // the loader's cache, which name the same system folders.
  std::vector<SearchFolder> folders;
  const char* variable = std::getenv("LD_LIBRARY_PATH");
  const std::string list = variable != nullptr ? variable : "";
  for (size_t at = 0; at < list.size();) {
    const size_t end = std::min(list.find(':', at), list.size());
    if (end > at) folders.push_back({list.substr(at, end - at), "a folder on LD_LIBRARY_PATH"});
    at = end + 1;
  }
  folders.push_back({"/lib", "the system folder"});
  folders.push_back({"/usr/lib", "the system folder"});
  return folders;
}

std::string HowToReach(const std::string& module_folder, const std::string&) {
  return "put its folder on the library path (LD_LIBRARY_PATH=" + module_folder + ")";
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

// How a host loads a module: by path or file name through the system's
// loader, with the loader's own reason when it fails, and where a loaded
// module or the running program lives. The tools and the tests that act as
// a host use this, never the driver's own platform code.
#ifndef LOADER_MODULE_LOADER_H
#define LOADER_MODULE_LOADER_H

#include <string>
#include <vector>

namespace loader {

using ModuleHandle = void*;
using ModuleEntry = void (*)();

// A name without a folder goes through the loader's search order (which on
// POSIX does not include the current folder). Returns nullptr and sets
// `reason`, when given, to the loader's message when it cannot be loaded,
// and `wrong_kind` to whether a file was found that is not a module this
// program can load (built for another machine type, or no module at all).
ModuleHandle LoadModule(const std::string& path, std::string* reason = nullptr,
                        bool* wrong_kind = nullptr);

// Where the loader's search finds `name`, or "" (on POSIX: a path is
// returned as given, and a bare name is not looked up).
std::string LocateModule(const std::string& name);
// Where the system's loader looks for a module named without a folder by a
// program in `program_folder`, in its order, each with what it is ("the
// system folder"). On POSIX the program's folder is not among them.
struct SearchFolder {
  std::string path;
  std::string what;
};
std::vector<SearchFolder> SearchFolders(const std::string& program_folder);
// What makes the loader find a module that is in `module_folder` for a
// program in `program_folder`: on Windows, the module moved beside the
// program; on POSIX, its folder on LD_LIBRARY_PATH.
std::string HowToReach(const std::string& module_folder, const std::string& program_folder);

// 32 or 64 for a Windows module (a PE file) built for x86 or x86-64, else 0.
int WindowsModuleBits(const std::string& file);
// Whether `file` starts as a module of either system does (a PE or an ELF
// file), whatever machine it was built for.
bool IsModuleFile(const std::string& file);
// The running program's: 32 or 64.
constexpr int kOwnBits = static_cast<int>(sizeof(void*) * 8);
// nullptr when the entry is missing.
ModuleEntry FindEntry(ModuleHandle module, const char* name);
// FindEntry, as the entry's own type.
template <typename Entry>
Entry FindEntryAs(ModuleHandle module, const char* name) {
  return reinterpret_cast<Entry>(FindEntry(module, name));
}
void UnloadModule(ModuleHandle module);

// The file the loader took the module from, or "" when it cannot say.
std::string ModuleFile(ModuleHandle module);
// The running program's own file, links resolved; "" when it cannot say.
std::string ExecutableFile();

}  // namespace loader

#endif  // LOADER_MODULE_LOADER_H

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "hd66712_quiet_load_windows.h"
#include "module_loader.h"

namespace loader {

namespace {

std::string SystemMessage(DWORD code) {
  char text[512] = "";
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, text, sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return (message.empty() ? "system error" : message) + " (error " + std::to_string(code) + ")";
}

std::string FileOf(HMODULE module) {
  char path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameA(module, path, sizeof path);
  return length == 0 || length >= sizeof path ? "" : std::string(path, length);
}

// The file a path leads to, through any symbolic link: a program started
// through one finds its own files beside the file, not beside the link.
std::string Resolved(const std::string& path) {
  const HANDLE file =
      CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return path;
  char resolved[MAX_PATH * 4];
  const DWORD length =
      GetFinalPathNameByHandleA(file, resolved, sizeof resolved, FILE_NAME_NORMALIZED);
  CloseHandle(file);
  if (length == 0 || length >= sizeof resolved) return path;
  const std::string final_path(resolved, length);
  if (final_path.starts_with("\\\\?\\UNC\\")) return "\\\\" + final_path.substr(8);
  if (final_path.starts_with("\\\\?\\")) return final_path.substr(4);
  return final_path;
}

}  // namespace

ModuleHandle LoadModule(const std::string& path, std::string* reason, bool* wrong_kind) {
  DWORD error = ERROR_SUCCESS;
  HMODULE module = platform::LoadLibraryQuietly(path.c_str(), &error);
  if (module == nullptr && reason != nullptr) *reason = SystemMessage(error);
  if (wrong_kind != nullptr) *wrong_kind = module == nullptr && error == ERROR_BAD_EXE_FORMAT;
  return reinterpret_cast<ModuleHandle>(module);
}

std::string LocateModule(const std::string& name) {
  char path[MAX_PATH * 4];
  const DWORD length = SearchPathA(nullptr, name.c_str(), nullptr, sizeof path, path, nullptr);
  return length == 0 || length >= sizeof path ? "" : std::string(path, length);
}

std::vector<SearchFolder> SearchFolders(const std::string& program_folder) {
  // The order of LoadLibrary's standard search, with safe search on; the
  // current folder is left out, as hosts seldom start elsewhere than their
  // own folder.
  std::vector<SearchFolder> folders = {{program_folder, "the host program's folder"}};
  char path[MAX_PATH];
  const UINT system = GetSystemDirectoryA(path, MAX_PATH);
  if (system > 0 && system < MAX_PATH) folders.push_back({path, "the system folder"});
  const UINT windows = GetWindowsDirectoryA(path, MAX_PATH);
  if (windows > 0 && windows < MAX_PATH) folders.push_back({path, "the Windows folder"});
  const char* variable = std::getenv("PATH");
  std::string list = variable != nullptr ? variable : "";
  for (size_t at = 0; at < list.size();) {
    const size_t end = std::min(list.find(';', at), list.size());
    if (end > at) folders.push_back({list.substr(at, end - at), "a folder on PATH"});
    at = end + 1;
  }
  return folders;
}

std::string HowToReach(const std::string&, const std::string& program_folder) {
  return "move it to " + program_folder + " (the host program's folder)";
}

ModuleEntry FindEntry(ModuleHandle module, const char* name) {
  return reinterpret_cast<ModuleEntry>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void UnloadModule(ModuleHandle module) { FreeLibrary(static_cast<HMODULE>(module)); }

std::string ModuleFile(ModuleHandle module) {
  return module == nullptr ? "" : FileOf(static_cast<HMODULE>(module));
}

std::string ExecutableFile() {
  const std::string own = FileOf(nullptr);
  return own.empty() ? own : Resolved(own);
}

}  // namespace loader

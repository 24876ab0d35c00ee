#include <windows.h>

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

}  // namespace

ModuleHandle LoadModule(const std::string& path, std::string* reason) {
  // A missing module must not raise the system's "DLL not found" dialog.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(path.c_str());
  const DWORD error = GetLastError();
  SetErrorMode(previous);
  if (module == nullptr && reason != nullptr) *reason = SystemMessage(error);
  return reinterpret_cast<ModuleHandle>(module);
}

ModuleEntry FindEntry(ModuleHandle module, const char* name) {
  return reinterpret_cast<ModuleEntry>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void UnloadModule(ModuleHandle module) { FreeLibrary(static_cast<HMODULE>(module)); }

std::string ModuleFile(ModuleHandle module) {
  return module == nullptr ? "" : FileOf(static_cast<HMODULE>(module));
}

std::string ExecutableFile() { return FileOf(nullptr); }

}  // namespace loader

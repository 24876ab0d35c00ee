// The window's module is loaded on the first port access, never under the
// loader's lock, and told to close from this library's DllMain as the host
// unloads it. Closing hands this library's reference over to the window's
// thread, which drops it as it leaves: nothing here waits for that thread.
#include <windows.h>

#include <filesystem>

#include "live_window_link.h"

const bool kLiveWindowExists = true;
const bool kLiveWindowByDefault = true;

namespace {

void* window = nullptr;
LiveWindowCloseFn close_window = nullptr;
bool opened = false;

std::filesystem::path OwnFolder() {
  HMODULE self = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&OwnFolder), &self);
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return std::filesystem::path(path).parent_path();
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

Problem OpenLiveWindow(const std::string& title, LiveWindowSource source, void* context) {
  if (opened) return std::nullopt;
  const std::filesystem::path file = OwnFolder() / kLiveWindowModuleFile;
  const HMODULE module = LoadLibraryW(file.c_str());
  if (module == nullptr) {
    return "no live window: " + file.string() + " could not be loaded (error " +
           std::to_string(GetLastError()) + "); keep it beside the port library";
  }
  const auto open = reinterpret_cast<LiveWindowOpenFn>(
      reinterpret_cast<void*>(GetProcAddress(module, kLiveWindowOpen)));
  close_window = reinterpret_cast<LiveWindowCloseFn>(
      reinterpret_cast<void*>(GetProcAddress(module, kLiveWindowClose)));
  if (open == nullptr || close_window == nullptr) {
    FreeLibrary(module);
    return "no live window: " + file.string() + " is not the virtual LCD's window module";
  }
  window = open(title.c_str(), source, context);
  if (window == nullptr) {
    FreeLibrary(module);
    return "no live window: this process has no desktop to show it on";
  }
  opened = true;
  return std::nullopt;
}

extern "C" BOOL WINAPI DllMain(HANDLE, DWORD reason, LPVOID reserved) {
  // At process exit (reserved set) the window's thread is already gone, and
  // with it any lock it held: there is nothing to close.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr && window != nullptr) {
    close_window(window);
    window = nullptr;
  }
  return TRUE;
}

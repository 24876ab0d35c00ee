// LoadLibraryA without the system's "DLL not found" dialog, for a caller
// that reports the failure itself: the driver inside a host, and the tools
// that load modules as a host does. Windows only.
#ifndef HD66712_QUIET_LOAD_WINDOWS_H
#define HD66712_QUIET_LOAD_WINDOWS_H

#include <windows.h>

namespace platform {

// Sets `error` to GetLastError's code when the load fails.
inline HMODULE LoadLibraryQuietly(const char* file_name, DWORD* error) {
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(file_name);
  *error = module == nullptr ? GetLastError() : ERROR_SUCCESS;
  SetErrorMode(previous);
  return module;
}

}  // namespace platform

#endif  // HD66712_QUIET_LOAD_WINDOWS_H

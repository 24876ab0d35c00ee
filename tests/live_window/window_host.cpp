// A stand-in for a user's host application on Windows, driven line by line
// from standard input so that a script can look at the screen in between.
// It loads the driver from its own folder, as a host does, and never
// configures the port library: the window appears as it would for a user.
//
//   session PARAMS        load the driver and Init it (20x4)
//   write ROW TEXT        SetPosition(1, ROW), then Write(TEXT)
//   snapshot PREFIX       the port library's PREFIX.txt and PREFIX.png of the screen now
//   where                 the window's client area on the screen: X Y WIDTH HEIGHT
//   done                  Done, then unload the driver
//   cycles N              load the port library, touch the port, wait for the
//                         window, unload; N times; then count what is left
//   windows               how many simulator windows this process shows
//   closed                wait until it shows none
//   close-window          close the simulator's window as a user does
//
// Every command answers with one line starting "ok" or "error".
#include <windows.h>
// Needs windows.h first.
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>

#include "driver_module.h"
#include "port_library_abi.h"
#include "virtual_lcd_port.h"

namespace {

constexpr wchar_t kTitleStart[] = L"Virtual LCD (simulator";
// Ten seconds, times HD66712_TIME_SCALE under emulation.
std::chrono::seconds Patience() {
  const char* scale = std::getenv("HD66712_TIME_SCALE");
  const int factor = scale != nullptr ? std::max(1, std::atoi(scale)) : 1;
  return std::chrono::seconds(10 * factor);
}

struct Found {
  int visible = 0;
  HWND first = nullptr;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM parameter) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  // Read without a message to the window's thread, which may be ending.
  wchar_t title[256] = L"";
  InternalGetWindowText(window, title, 256);
  if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
      std::wstring_view(title).starts_with(kTitleStart)) {
    auto* found = reinterpret_cast<Found*>(parameter);
    if (found->first == nullptr) found->first = window;
    ++found->visible;
  }
  return TRUE;
}

Found SimulatorWindows() {
  Found found;
  EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

int ThreadCount() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

template <typename Condition>
bool WaitFor(Condition condition) {
  static const auto patience = Patience();
  const auto until = std::chrono::steady_clock::now() + patience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::string Cycles(int count) {
  const int threads_before = ThreadCount();
  int windows_seen = 0;
  for (int i = 0; i < count; ++i) {
    const HMODULE port = LoadLibraryA(VIRTUAL_PORT_FILE);
    if (port == nullptr)
      return std::string("error: ") + VIRTUAL_PORT_FILE + " did not load in cycle " +
             std::to_string(i + 1);
    const auto out =
        reinterpret_cast<PortWriteFn>(reinterpret_cast<void*>(GetProcAddress(port, "Out32")));
    if (out != nullptr) out(0x378, 0);
    if (WaitFor([] { return SimulatorWindows().visible > 0; })) ++windows_seen;
    FreeLibrary(port);
  }
  // The window threads end on their own, a moment after each unload.
  const bool settled = WaitFor([&] {
    return ThreadCount() <= threads_before && SimulatorWindows().visible == 0 &&
           GetModuleHandleW(L"virtual_lcd_window.dll") == nullptr;
  });
  std::ostringstream report;
  report << (settled ? "ok" : "error") << ": " << count << " cycles, windows seen " << windows_seen
         << ", threads before " << threads_before << " after " << ThreadCount() << ", windows left "
         << SimulatorWindows().visible << ", window module loaded "
         << (GetModuleHandleW(L"virtual_lcd_window.dll") != nullptr ? "yes" : "no")
         << ", port library loaded "
         << (GetModuleHandleA(VIRTUAL_PORT_FILE) != nullptr ? "yes" : "no");
  return report.str();
}

std::string Where() {
  Found found;
  if (!WaitFor([&] { return (found = SimulatorWindows()).visible > 0; })) {
    return "error: no simulator window is shown";
  }
  RECT client{};
  GetClientRect(found.first, &client);
  POINT origin{0, 0};
  ClientToScreen(found.first, &origin);
  return "ok " + std::to_string(origin.x) + " " + std::to_string(origin.y) + " " +
         std::to_string(client.right) + " " + std::to_string(client.bottom);
}

}  // namespace

int main(int, char** argv) {
  const std::string folder =
      std::string(argv[0]).substr(0, std::string(argv[0]).find_last_of("/\\") + 1);
  loader::ModuleHandle driver_module = nullptr;
  DriverEntries driver;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string command;
    words >> command;
    std::string answer = "ok";
    if (command == "session") {
      std::string parameters;
      words >> parameters;
      std::string reason;
      driver_module = loader::LoadModule(folder + "HD66712.dll", &reason);
      if (driver_module == nullptr) {
        answer = "error: HD66712.dll: " + reason;
      } else if (const Problem missing = FindDriverEntries(driver_module, &driver)) {
        answer = "error: HD66712.dll lacks " + *missing;
      } else {
        uint8_t ok = 0;
        const char* result = driver.Init(20, 4, parameters.c_str(), &ok);
        if (ok == 0) answer = std::string("error: Init: ") + result;
      }
    } else if (command == "write") {
      int row = 1;
      words >> row;
      std::string text;
      std::getline(words >> std::ws, text);
      driver.SetPosition(1, static_cast<uint8_t>(row));
      driver.Write(text.c_str());
    } else if (command == "snapshot") {
      std::string prefix;
      words >> prefix;
      const auto snapshot = reinterpret_cast<VirtualLcdSnapshotFn>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleA(VIRTUAL_PORT_FILE), kVirtualLcdSnapshot)));
      int saved = 0;
      if (snapshot == nullptr) {
        answer = "error: no virtual port library is loaded";
      } else {
        snapshot(prefix.c_str(), &saved);
        if (saved != 1) answer = "error: the snapshot was not saved";
      }
    } else if (command == "where") {
      answer = Where();
    } else if (command == "done") {
      driver.Done();
      loader::UnloadModule(driver_module);
      driver_module = nullptr;
    } else if (command == "cycles") {
      int count = 0;
      words >> count;
      answer = Cycles(count);
    } else if (command == "close-window") {
      const Found found = SimulatorWindows();
      if (found.first == nullptr || !PostMessageW(found.first, WM_CLOSE, 0, 0)) {
        answer = "error: no simulator window to close";
      }
    } else if (command == "closed") {
      if (!WaitFor([] { return SimulatorWindows().visible == 0; })) {
        answer = "error: " + std::to_string(SimulatorWindows().visible) + " windows still shown";
      }
    } else if (command == "windows") {
      answer = "ok " + std::to_string(SimulatorWindows().visible);
    } else {
      answer = "error: unknown command '" + command + "'";
    }
    std::cout << answer << std::endl;
  }
  return 0;
}

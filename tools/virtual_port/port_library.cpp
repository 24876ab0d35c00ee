// The virtual LCD packaged as a port I/O library ("inpout32.dll"), so the
// unmodified driver drives it exactly as it drives a real port.
//
// The module it stands for is configured outside the driver: by a host tool
// through VirtualLcd_Configure, or by environment variables read at load:
//   HD_VLCD_<SETTING>  each of the module's settings (ModuleSettings(): its
//                    size, chip, ROM, ...), named in capitals with a dash
//                    as an underscore, as README.md lists them
//   HD_VLCD_PORT     the port's data register, default 0x378
//   HD_VLCD_OUTPUT   when set, the screen is written to <value>.txt and
//                    <value>.png as the library is unloaded (a folder:
//                    virtual_lcd.txt and .png in it), as it stood before
//                    DISPLAYDLL_Done cleared it
//   HD_VLCD_TRACE    1 also writes every byte the module latched to
//                    <value>-trace.txt beside the screen (kept in memory
//                    until then), 0 (the default) does not
//   HD_VLCD_WINDOW   1 shows the screen live in a window of its own from the
//                    first port access, 0 does not; on by default on Windows
// A bad value is reported once on standard error and its default used.
//
// It is a simulator that carries a port library's name, so that it can
// never be taken for one it says so, once, on standard error, at the first
// port access of a host that did not configure it itself.
//
// It lives in someone else's process: nothing may throw out of an entry or
// end the host, so every entry catches everything.
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <type_traits>

#include "module_settings.h"
#include "port_address.h"
#include "port_device.h"
#include "port_library_abi.h"
#include "report.h"
#include "steady_nanoseconds.h"
#include "virtual_lcd_port.h"

using port_device::device;
using port_device::Introduce;
using port_device::ShowProgress;
using port_device::ShowScreenWindow;

PORT_LIBRARY_EXPORT int32_t DISPLAYDLL_CALL Inp32(int32_t port) {
  try {
    Introduce();
    const int64_t now = SteadyNanoseconds();
    const std::lock_guard<std::mutex> hold(device.lock);
    return vlcd::ReceivePortRead(device.lcd, port, now);
  } catch (...) {
    return 0xFF;  // out of memory for a violation's record: nothing drives the lines
  }
}

PORT_LIBRARY_EXPORT void DISPLAYDLL_CALL Out32(int32_t port, int32_t value) {
  try {
    // Outside the lock: opening the window waits for its thread, which
    // takes the lock for its first picture.
    Introduce();
    const int64_t now = SteadyNanoseconds();
    {
      const std::lock_guard<std::mutex> hold(device.lock);
      vlcd::ReceivePortWrite(device.lcd, port, value, now);
    }
    if (device.progress.on) ShowProgress(now);
  } catch (...) {
    // Out of memory for the records: the write is lost, the host lives on.
  }
}

PORT_LIBRARY_EXPORT int VirtualLcd_Configure(const char* settings, int port, int flags) {
  try {
    vlcd::Module module;
    Problem refused;
    if (settings == nullptr) {
      refused = "no settings text (a null pointer)";
    } else if (port < 0 || port > vlcd::kMaxPort) {
      refused = "port " + std::to_string(port) + " is out of range (0 to 65535)";
    } else {
      refused = vlcd::ReadSettingsText(settings, &module);
    }
    device.refusal = refused.value_or("");
    if (refused) return 0;
    module.port_base = static_cast<uint16_t>(port);
    vlcd::VirtualLcd fresh = vlcd::MakeVirtualLcd(module);
    const std::lock_guard<std::mutex> hold(device.lock);
    device.lcd = std::move(fresh);
    device.window.shows = -1;
  } catch (...) {
    device.refusal = "out of memory";
    return 0;
  }
  device.configured = true;
  device.lcd.findings.record_bytes = flags & kVirtualLcdTrace;
  device.progress.on = flags & kVirtualLcdProgress;
  device.progress.shown_ns = 0;
  device.traced = 0;
  return 1;
}

PORT_LIBRARY_EXPORT const char* VirtualLcd_Refusal() {
  return device.refusal.empty() ? nullptr : device.refusal.c_str();
}

PORT_LIBRARY_EXPORT void VirtualLcd_Expect(int64_t bytes) {
  device.progress.from_bytes = device.lcd.traffic.data_bytes;
  device.progress.from_ns = SteadyNanoseconds();
  device.progress.expected_bytes = device.progress.from_bytes + (bytes > 0 ? bytes : 0);
}

PORT_LIBRARY_EXPORT const char* VirtualLcd_Snapshot(const char* prefix, int* saved) {
  bool written = false;
  try {
    // After DISPLAYDLL_Done the module is blank; the report says so beside
    // the screen the host last showed.
    const vlcd::Screen screen = vlcd::ScreenLastShown(device.lcd);
    const vlcd::SavedScreen files =
        vlcd::SaveScreen(device.lcd, screen, prefix == nullptr ? "" : prefix);
    written = files.problems.empty();
    device.text = vlcd::Report(device.lcd, screen) + vlcd::SavedLines(files);
  } catch (const std::exception& e) {
    device.text = std::string("Could not save the screen: ") + e.what() + "\n";
  }
  if (saved != nullptr) *saved = written ? 1 : 0;
  return device.text.c_str();
}

PORT_LIBRARY_EXPORT const char* VirtualLcd_ShowWindow() {
  try {
    const Problem problem = ShowScreenWindow();
    device.text = problem.value_or("");
    return problem ? device.text.c_str() : nullptr;
  } catch (...) {
    return "no live window: out of memory";
  }
}

PORT_LIBRARY_EXPORT int VirtualLcd_Pins() { return vlcd::PinLevels(device.lcd); }

PORT_LIBRARY_EXPORT const char* VirtualLcd_Trace() {
  try {
    device.text = vlcd::TraceLines(device.lcd, device.traced);
    device.traced = device.lcd.findings.latched.size();
  } catch (...) {
    device.text = "(the trace did not fit in memory)\n";
  }
  return device.text.c_str();
}

static_assert(std::is_same_v<decltype(&Inp32), PortReadFn>);
static_assert(std::is_same_v<decltype(&Out32), PortWriteFn>);
static_assert(std::is_same_v<decltype(&VirtualLcd_Configure), VirtualLcdConfigureFn>);
static_assert(std::is_same_v<decltype(&VirtualLcd_Snapshot), VirtualLcdSnapshotFn>);
static_assert(std::is_same_v<decltype(&VirtualLcd_Trace), VirtualLcdTraceFn>);
static_assert(std::is_same_v<decltype(&VirtualLcd_Refusal), VirtualLcdRefusalFn>);
static_assert(std::is_same_v<decltype(&VirtualLcd_Expect), VirtualLcdExpectFn>);
static_assert(std::is_same_v<decltype(&VirtualLcd_Pins), VirtualLcdPinsFn>);
static_assert(std::is_same_v<decltype(&VirtualLcd_ShowWindow), VirtualLcdShowWindowFn>);

// The virtual LCD packaged as a port I/O library ("inpout32.dll"), so the
// unmodified driver drives it exactly as it drives a real port.
//
// The module it stands for is configured outside the driver: by a host tool
// through VirtualLcd_Configure, or by environment variables read at load:
//   HD_VLCD_CHIP     the chip, by name (default HD66712)
//   HD_VLCD_ROM      its character ROM, A00 (Japanese, the default) or A02
//                    (European)
//   HD_VLCD_COLUMNS  columns, 0-255, default 20
//   HD_VLCD_ROWS     rows, 0-255, default 4
//   HD_VLCD_PORT     the port's data register, default 0x378
//   HD_VLCD_OUTPUT   when set, the screen is written to <value>.txt and
//                    <value>.png as the library is unloaded (a folder:
//                    virtual_lcd.txt and .png in it), as it stood before
//                    DISPLAYDLL_Done cleared it
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
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <mutex>
#include <string>
#include <type_traits>

#include "live_window_link.h"
#include "module_environment.h"
#include "module_settings.h"
#include "port_library_abi.h"
#include "report.h"
#include "screen.h"
#include "steady_nanoseconds.h"
#include "virtual_lcd.h"
#include "virtual_lcd_port.h"

namespace {

constexpr char kName[] = VIRTUAL_PORT_FILE " (virtual LCD)";
constexpr int64_t kProgressEveryNs = 2000000000;

void Complain(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kName, message.c_str());
}

// The module as the HD_VLCD_* variables describe it, or the default one
// when even reading them fails.
vlcd::VirtualLcd ModuleAtLoad() {
  try {
    return vlcd::MakeVirtualLcd(ModuleFromEnvironment(Complain));
  } catch (const std::exception& e) {
    Complain(std::string("using the default module: ") + e.what());
    return vlcd::MakeVirtualLcd(vlcd::Module{});
  }
}

// As the library is unloaded, the screen the host last showed goes to
// HD_VLCD_OUTPUT, when set.
void SaveAtUnload(const vlcd::VirtualLcd& lcd) {
  try {
    const char* output = std::getenv("HD_VLCD_OUTPUT");
    if (output == nullptr || *output == '\0') return;
    const vlcd::SavedScreen saved =
        vlcd::SaveScreen(lcd, vlcd::ScreenLastShown(lcd), vlcd::ScreenPrefixFor(output));
    for (const std::string& problem : saved.problems) Complain(problem);
  } catch (const std::exception& e) {
    Complain(std::string("the screen was not saved: ") + e.what());
  } catch (...) {
    Complain("the screen was not saved");
  }
}

// The live window's last picture, and the latched count it shows.
struct WindowState {
  bool wanted = WindowFromEnvironment(kLiveWindowByDefault, Complain);
  int64_t shows = -1;
  vlcd::Image picture;
  std::string status;
};

// The progress line, and a long write announced by the host: the data
// bytes it starts and ends at, and when it began.
struct ProgressState {
  bool on = false;
  int64_t shown_ns = 0;
  int64_t expected_bytes = 0;
  int64_t from_bytes = 0;
  int64_t from_ns = 0;
};

struct Device {
  // Held by every change to `lcd` and by the window's copy of it, never
  // while painting.
  std::mutex lock;
  vlcd::VirtualLcd lcd = ModuleAtLoad();
  bool configured = false;  // by a tool that knows what it loaded
  bool introduced = false;
  WindowState window;
  ProgressState progress;
  size_t traced = 0;
  std::string text;  // the last text handed out

  ~Device() { SaveAtUnload(lcd); }
};

Device device;

int64_t LatchedBytes() { return device.lcd.traffic.instructions + device.lcd.traffic.data_bytes; }

// Runs on the window's thread: a copy of what the screen depends on is taken
// under the lock, and drawn after it is released.
int WindowPicture(void*, LiveWindowPicture* picture) {
  try {
    vlcd::Screen screen;
    vlcd::Traffic traffic;
    {
      const std::lock_guard<std::mutex> hold(device.lock);
      if (LatchedBytes() == device.window.shows) return 0;
      device.window.shows = LatchedBytes();
      screen = vlcd::ScreenNow(device.lcd);
      traffic = device.lcd.traffic;
    }
    std::string refused;
    device.window.picture =
        vlcd::RenderDots(screen, vlcd::WindowScale(screen.module.columns), &refused);
    device.window.status = refused.empty() ? vlcd::Summary(screen.module, traffic) : refused;
    picture->width = device.window.picture.width;
    picture->height = device.window.picture.height;
    picture->rgb = device.window.picture.rgb.data();
    picture->status = device.window.status.c_str();
    return 1;
  } catch (...) {
    return 0;  // out of memory: the window keeps its last picture
  }
}

// "Virtual LCD (simulator, no port is written) - 20x4 HD66712 with ROM A00, at 0x378"
std::string WindowTitle(const vlcd::Module& module) {
  char port[16];
  std::snprintf(port, sizeof port, ", at 0x%X", module.port_base);
  return "Virtual LCD (simulator, no port is written) - " + vlcd::Describe(module) + port;
}

Problem ShowScreenWindow() {
  return OpenLiveWindow(WindowTitle(device.lcd.module), WindowPicture, nullptr);
}

void Introduce() {
  if (device.configured || device.introduced) return;
  device.introduced = true;
  const char* output = std::getenv("HD_VLCD_OUTPUT");
  std::string saved =
      "The screen is not saved (set HD_VLCD_OUTPUT to a file prefix or a folder "
      "to save it).";
  if (output != nullptr && *output != '\0') {
    std::error_code unknown;
    const std::filesystem::path prefix =
        std::filesystem::absolute(vlcd::ScreenPrefixFor(output), unknown).lexically_normal();
    saved = "The screen is written to " + prefix.string() +
            ".txt and .png when the library is unloaded.";
  }
  std::fprintf(stderr,
               "%s: this is a simulator, not a port library: nothing is written to any port. "
               "%s To drive the real port again, delete %s and virtual_lcd_window.dll from "
               "the host's folder and put your own port library back.\n",
               kName, saved.c_str(), VIRTUAL_PORT_FILE);
  if (device.window.wanted) {
    if (const Problem problem = ShowScreenWindow()) Complain(*problem);
  }
}

void ShowProgress(int64_t now) {
  if (device.progress.shown_ns == 0) device.progress.shown_ns = now;
  if (now - device.progress.shown_ns < kProgressEveryNs) return;
  device.progress.shown_ns = now;
  const int64_t written = device.lcd.traffic.data_bytes;
  const int64_t done = written - device.progress.from_bytes;
  if (written >= device.progress.expected_bytes || done <= 0) {
    std::fprintf(stderr, "virtual LCD: %lld bytes latched so far\n",
                 static_cast<long long>(LatchedBytes()));
    return;
  }
  const double seconds_left = static_cast<double>(device.progress.expected_bytes - written) *
                              static_cast<double>(now - device.progress.from_ns) / 1e9 /
                              static_cast<double>(done);
  std::fprintf(stderr, "virtual LCD: %lld of %lld characters written, about %.0f s left\n",
               static_cast<long long>(done),
               static_cast<long long>(device.progress.expected_bytes - device.progress.from_bytes),
               seconds_left);
}

}  // namespace

PORT_LIBRARY_EXPORT int32_t DISPLAYDLL_CALL Inp32(int32_t port) {
  Introduce();
  const auto address = static_cast<uint16_t>(port);
  if (address == device.lcd.module.port_base) return device.lcd.bus.data_register;
  if (address == vlcd::ControlRegister(device.lcd.module)) {
    return device.lcd.bus.control_register;
  }
  return 0xFF;
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
    if (settings == nullptr || vlcd::ReadSettingsText(settings, &module) || port < 0 ||
        port > vlcd::kMaxPort) {
      return 0;
    }
    module.port_base = static_cast<uint16_t>(port);
    vlcd::VirtualLcd fresh = vlcd::MakeVirtualLcd(module);
    const std::lock_guard<std::mutex> hold(device.lock);
    device.lcd = std::move(fresh);
    device.window.shows = -1;
  } catch (...) {
    return 0;
  }
  device.configured = true;
  device.lcd.findings.record_bytes = flags & kVirtualLcdTrace;
  device.progress.on = flags & kVirtualLcdProgress;
  device.progress.shown_ns = 0;
  device.traced = 0;
  return 1;
}

PORT_LIBRARY_EXPORT void VirtualLcd_Expect(int64_t bytes) {
  device.progress.from_bytes = device.lcd.traffic.data_bytes;
  device.progress.from_ns = SteadyNanoseconds();
  device.progress.expected_bytes = device.progress.from_bytes + (bytes > 0 ? bytes : 0);
}

PORT_LIBRARY_EXPORT const char* VirtualLcd_Snapshot(const char* prefix, int* saved) {
  bool written = false;
  try {
    const vlcd::Screen screen = vlcd::ScreenNow(device.lcd);
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
static_assert(std::is_same_v<decltype(&VirtualLcd_Expect), VirtualLcdExpectFn>);
static_assert(std::is_same_v<decltype(&VirtualLcd_Pins), VirtualLcdPinsFn>);
static_assert(std::is_same_v<decltype(&VirtualLcd_ShowWindow), VirtualLcdShowWindowFn>);

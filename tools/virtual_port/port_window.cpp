// The live window's side of the device: its title, and the pictures it
// asks for from its own thread.
#include <cstdio>

#include "live_window_link.h"
#include "module_settings.h"
#include "port_device.h"
#include "report.h"
#include "screen.h"
#include "steady_nanoseconds.h"

namespace port_device {

namespace {

// Runs on the window's thread: a copy of what the screen depends on is taken
// under the lock, and drawn after it is released.
int WindowPicture(void*, LiveWindowPicture* picture) {
  try {
    vlcd::Screen screen;
    vlcd::Traffic traffic;
    {
      const std::lock_guard<std::mutex> hold(device.lock);
      // A blinking cursor changes the picture with no byte latched.
      const bool block = vlcd::BlinkBlockAt(SteadyNanoseconds());
      const bool blink_turned =
          device.lcd.controller.blink_on && block != device.window.blink_block;
      if (LatchedBytes() == device.window.shows && !blink_turned) return 0;
      device.window.shows = LatchedBytes();
      device.window.blink_block = block;
      screen = vlcd::ScreenNow(device.lcd);
      screen.blink_block = block;
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

}  // namespace

Problem ShowScreenWindow() {
  return OpenLiveWindow(WindowTitle(device.lcd.module), WindowPicture, nullptr);
}

}  // namespace port_device

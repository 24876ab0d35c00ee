// The one virtual module a loaded port library stands for, shared by its
// entries, its notices on standard error and its live window.
#ifndef VIRTUAL_LCD_PORT_DEVICE_H
#define VIRTUAL_LCD_PORT_DEVICE_H

#include <cstdint>
#include <mutex>
#include <string>

#include "problem.h"
#include "screen.h"
#include "virtual_lcd.h"

namespace port_device {

// A line on standard error, naming the library.
void Complain(const std::string& message);

// What the HD_VLCD_* variables ask for as the library loads (a bad value is
// complained of and its default used), and the screen saved to
// HD_VLCD_OUTPUT as it is unloaded.
vlcd::VirtualLcd ModuleAtLoad();
bool WindowWantedAtLoad();
void SaveAtUnload(const vlcd::VirtualLcd& lcd);

// The live window's last picture, and the latched count and blink phase it
// shows.
struct WindowState {
  bool wanted = WindowWantedAtLoad();
  int64_t shows = -1;
  bool blink_block = true;  // the blink phase it shows
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
  std::string text;     // the last text handed out
  std::string refusal;  // why the last configuring was refused

  ~Device() { SaveAtUnload(lcd); }
};

extern Device device;

int64_t LatchedBytes();

// Opens the live window on the device's screen, or says why not.
Problem ShowScreenWindow();

// Says once, at the first port access of a host that did not configure the
// library, that this is a simulator and where the screen goes.
void Introduce();
// Every few seconds of a long write, a line on how far it is.
void ShowProgress(int64_t now);

}  // namespace port_device

#endif  // VIRTUAL_LCD_PORT_DEVICE_H

// The live window's module ("virtual_lcd_window.dll") as the virtual port
// library sees it.
//
// The window is a module of its own so that its thread can outlive the port
// library by a moment: the host's FreeLibrary unloads the port library at
// once, while the window thread, holding its own reference to this module,
// tears the window down and leaves with FreeLibraryAndExitThread. Nothing
// ever waits for the thread, least of all under the loader's lock.
#ifndef LIVE_WINDOW_LIVE_WINDOW_API_H
#define LIVE_WINDOW_LIVE_WINDOW_API_H

#include <cstdint>

constexpr char kLiveWindowModuleFile[] = "virtual_lcd_window.dll";

// What the window shows: a picture, three bytes a pixel (red, green, blue),
// row-major, and a status line under it. Both stay valid until the source's
// next call.
struct LiveWindowPicture {
  int width = 0;
  int height = 0;
  const uint8_t* rgb = nullptr;
  const char* status = "";
};

// Asked on the window's thread, at most about 30 times a second. Fills
// `picture` and returns 1 when the screen changed since the last call, else
// returns 0.
using LiveWindowSource = int (*)(void* context, LiveWindowPicture* picture);

// Shows a window titled `title` (UTF-8) on a thread of its own. Returns a
// handle for LiveWindow_Close, or null when the process has no desktop to
// show it on or the thread could not start.
constexpr char kLiveWindowOpen[] = "LiveWindow_Open";
using LiveWindowOpenFn = void* (*)(const char* title, LiveWindowSource source, void* context);

// Safe under the loader's lock. When it returns, `source` is never called
// again; the window closes soon after on its own thread. It also releases
// the opener's reference to this module, which the opener must not release
// itself.
constexpr char kLiveWindowClose[] = "LiveWindow_Close";
using LiveWindowCloseFn = void (*)(void* window);

#endif  // LIVE_WINDOW_LIVE_WINDOW_API_H

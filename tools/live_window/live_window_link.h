// The port library's side of the live window: on Windows it loads the
// window's module from the port library's own folder; elsewhere there is no
// window.
#ifndef LIVE_WINDOW_LIVE_WINDOW_LINK_H
#define LIVE_WINDOW_LIVE_WINDOW_LINK_H

#include <string>

#include "live_window_api.h"
#include "problem.h"

// Whether this system has the window at all.
extern const bool kLiveWindowExists;

// Whether a host that did not configure the simulator gets the window
// unless HD_VLCD_WINDOW=0 says otherwise.
extern const bool kLiveWindowByDefault;

// Shows the window, once per load of the port library; says why not when
// it cannot. The source is called on the window's thread.
Problem OpenLiveWindow(const std::string& title, LiveWindowSource source, void* context);

#endif  // LIVE_WINDOW_LIVE_WINDOW_LINK_H

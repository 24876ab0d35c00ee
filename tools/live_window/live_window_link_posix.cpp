#include "live_window_link.h"

const bool kLiveWindowByDefault = false;

Problem OpenLiveWindow(const std::string&, LiveWindowSource, void*) {
  return "the live window is shown on Windows only; the screen is saved to files here";
}

#include "live_window_link.h"

const bool kLiveWindowExists = false;
const bool kLiveWindowByDefault = false;

Problem OpenLiveWindow(const std::string&, LiveWindowSource, void*) {
  return "the live window is shown on Windows only";
}

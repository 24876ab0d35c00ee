#include "port_device.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "live_window_link.h"
#include "module_environment.h"
#include "report.h"

namespace port_device {

namespace {
constexpr char kName[] = VIRTUAL_PORT_FILE " (virtual LCD)";
}  // namespace

Device device;

void Complain(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kName, message.c_str());
}

int64_t LatchedBytes() { return device.lcd.traffic.instructions + device.lcd.traffic.data_bytes; }

// The module as the HD_VLCD_* variables describe it, or the default one
// when even reading them fails.
vlcd::VirtualLcd ModuleAtLoad() {
  try {
    vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(ModuleFromEnvironment(Complain));
    lcd.findings.record_bytes = FlagFromEnvironment("HD_VLCD_TRACE", false, Complain);
    return lcd;
  } catch (const std::exception& e) {
    Complain(std::string("using the default module: ") + e.what());
    return vlcd::MakeVirtualLcd(vlcd::Module{});
  }
}

bool WindowWantedAtLoad() {
  return FlagFromEnvironment("HD_VLCD_WINDOW", kLiveWindowByDefault, Complain);
}

// As the library is unloaded, the screen the host last showed goes to
// HD_VLCD_OUTPUT, when set.
void SaveAtUnload(const vlcd::VirtualLcd& lcd) { SaveToOutputVariable(lcd, Complain); }

}  // namespace port_device

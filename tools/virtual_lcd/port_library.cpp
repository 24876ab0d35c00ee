// The virtual LCD packaged as a port I/O library ("inpout32.dll"), so the
// unmodified driver drives it exactly as it drives a real port.
//
// The module it stands for is configured outside the driver: by a host tool
// through VirtualLcd_Configure, or by environment variables read at load:
//   HD_VLCD_CHIP     HD66712 (default) or HD44780
//   HD_VLCD_COLUMNS  columns, default 20
//   HD_VLCD_ROWS     rows, default 4
//   HD_VLCD_PORT     the port's data register, default 0x378
//   HD_VLCD_OUTPUT   when set, the screen is written to <value>.txt and
//                    <value>.png as the library is unloaded
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

#include "port_library_abi.h"
#include "report.h"
#include "steady_nanoseconds.h"
#include "virtual_lcd.h"
#include "virtual_lcd_port.h"

namespace {

int EnvironmentNumber(const char* name, int fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? static_cast<int>(std::strtol(text, nullptr, 0))
                                          : fallback;
}

vlcd::Module ModuleFromEnvironment() {
  vlcd::Module module;
  const char* chip = std::getenv("HD_VLCD_CHIP");
  if (chip != nullptr && std::strcmp(chip, "HD44780") == 0) module.chip = vlcd::Chip::HD44780;
  module.columns = EnvironmentNumber("HD_VLCD_COLUMNS", module.columns);
  module.rows = EnvironmentNumber("HD_VLCD_ROWS", module.rows);
  module.port_base = static_cast<uint16_t>(EnvironmentNumber("HD_VLCD_PORT", module.port_base));
  return module;
}

struct Device {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(ModuleFromEnvironment());
  std::string report;
  ~Device() {
    const char* output = std::getenv("HD_VLCD_OUTPUT");
    if (output != nullptr && *output != '\0') vlcd::SaveScreen(lcd, output);
  }
};

Device device;

}  // namespace

PORT_LIBRARY_EXPORT int32_t DISPLAYDLL_CALL Inp32(int32_t port) {
  const int32_t address = port & 0xFFFF;
  if (address == device.lcd.module.port_base) return device.lcd.data_register;
  if (address == device.lcd.module.port_base + 2) return device.lcd.control_register;
  return 0xFF;
}

PORT_LIBRARY_EXPORT void DISPLAYDLL_CALL Out32(int32_t port, int32_t value) {
  vlcd::PortWrite(device.lcd, port, value, SteadyNanoseconds());
}

PORT_LIBRARY_EXPORT void VirtualLcd_Configure(const char* chip, int columns, int rows, int port) {
  const bool hd44780 = std::strcmp(chip, "HD44780") == 0;
  device.lcd =
      vlcd::MakeVirtualLcd(hd44780 ? vlcd::Chip::HD44780 : vlcd::Chip::HD66712, columns, rows);
  device.lcd.module.port_base = static_cast<uint16_t>(port);
}

PORT_LIBRARY_EXPORT const char* VirtualLcd_Snapshot(const char* prefix) {
  device.report = vlcd::SaveScreen(device.lcd, prefix);
  return device.report.c_str();
}

static_assert(std::is_same_v<decltype(&VirtualLcd_Configure), VirtualLcdConfigureFn>);
static_assert(std::is_same_v<decltype(&VirtualLcd_Snapshot), VirtualLcdSnapshotFn>);

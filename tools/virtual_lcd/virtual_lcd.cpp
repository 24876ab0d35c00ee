#include "virtual_lcd.h"

#include <cstdarg>
#include <cstdio>

namespace vlcd {

namespace {

// Bus timing of both controllers (HD44780U datasheet figures, which the
// HD66712 meets too): address set-up before E rises, E pulse width, data
// set-up before E falls.
constexpr int64_t kAddressSetupNs = 40;
constexpr int64_t kEnablePulseNs = 230;
constexpr int64_t kDataSetupNs = 80;

constexpr int kControlOffset = 2;

// The module's lines as the control register drives their pins: Strobe
// (E) and Auto-feed (R/W) are inverted between register and pin,
// Initialize (RS) is not.
bool EnableLevel(uint8_t control) { return !(control & 0x01); }
bool ReadWriteLevel(uint8_t control) { return !(control & 0x02); }
bool RegisterSelectLevel(uint8_t control) { return control & 0x04; }

void AddViolation(VirtualLcd& lcd, const char* format, ...) __attribute__((format(printf, 2, 3)));

void AddViolation(VirtualLcd& lcd, const char* format, ...) {
  char text[160];
  std::va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  lcd.violations.push_back(Violation{text});
}

void Latch(VirtualLcd& lcd, int64_t ns) {
  const bool data = RegisterSelectLevel(lcd.control_register);
  const uint8_t byte = lcd.data_register;
  const long long number = lcd.instructions + lcd.data_bytes + 1;
  if (ReadWriteLevel(lcd.control_register)) {
    AddViolation(lcd, "byte %lld: R/W high at the latch, 0x%02x not written", number, byte);
    return;
  }
  if (ns - lcd.enable_rose_ns < kEnablePulseNs) {
    AddViolation(lcd, "byte %lld: E high for only %lld ns", number,
                 static_cast<long long>(ns - lcd.enable_rose_ns));
  }
  if (ns - lcd.data_changed_ns < kDataSetupNs) {
    AddViolation(lcd, "byte %lld: data set up only %lld ns before E fell", number,
                 static_cast<long long>(ns - lcd.data_changed_ns));
  }
  if (ns < lcd.busy_until_ns) {
    AddViolation(lcd, "%s 0x%02x (byte %lld) latched %lld ns before the controller was ready",
                 data ? "data" : "instruction", byte, number,
                 static_cast<long long>(lcd.busy_until_ns - ns));
  }
  int64_t execution_ns = 0;
  if (data) {
    ++lcd.data_bytes;
    execution_ns = WriteDataByte(lcd.controller, byte);
  } else {
    ++lcd.instructions;
    execution_ns = ExecuteInstruction(lcd.controller, byte);
  }
  lcd.busy_until_ns = ns + execution_ns;
}

void ControlWrite(VirtualLcd& lcd, uint8_t value, int64_t ns) {
  const uint8_t previous = lcd.control_register;
  lcd.control_register = value;
  if (RegisterSelectLevel(previous) != RegisterSelectLevel(value)) {
    lcd.register_select_changed_ns = ns;
  }
  const bool enable = EnableLevel(value);
  if (enable && !lcd.enable_high) {
    lcd.enable_rose_ns = ns;
    if (ns - lcd.register_select_changed_ns < kAddressSetupNs) {
      AddViolation(lcd, "RS changed only %lld ns before E rose (write %lld)",
                   static_cast<long long>(ns - lcd.register_select_changed_ns),
                   static_cast<long long>(lcd.port_writes));
    }
  }
  // The controller takes the byte as E falls.
  if (!enable && lcd.enable_high) Latch(lcd, ns);
  lcd.enable_high = enable;
}

}  // namespace

VirtualLcd MakeVirtualLcd(const Module& module) {
  VirtualLcd lcd;
  lcd.module = module;
  lcd.controller.chip = module.chip;
  // The port powers up with every control pin low except the inverted ones.
  lcd.control_register = 0x0B;
  return lcd;
}

VirtualLcd MakeVirtualLcd(Chip chip, int columns, int rows) {
  Module module;
  module.chip = chip;
  module.columns = columns;
  module.rows = rows;
  return MakeVirtualLcd(module);
}

void PortWrite(VirtualLcd& lcd, int32_t port, int32_t value, int64_t ns) {
  const int32_t address = port & 0xFFFF;
  const uint8_t byte = static_cast<uint8_t>(value & 0xFF);
  if (address != lcd.module.port_base && address != lcd.module.port_base + kControlOffset) return;
  ++lcd.port_writes;
  if (lcd.first_write_ns < 0) lcd.first_write_ns = ns;
  lcd.last_write_ns = ns;
  if (address == lcd.module.port_base) {
    if (byte != lcd.data_register) lcd.data_changed_ns = ns;
    lcd.data_register = byte;
  } else {
    ControlWrite(lcd, byte, ns);
  }
}

std::string Summary(const VirtualLcd& lcd) {
  const double elapsed_ms =
      lcd.first_write_ns < 0 ? 0.0 : (lcd.last_write_ns - lcd.first_write_ns) / 1e6;
  char text[200];
  std::snprintf(text, sizeof text,
                "%lld bytes (%lld instructions, %lld data) in %.2f ms, %zu timing violations",
                static_cast<long long>(lcd.instructions + lcd.data_bytes),
                static_cast<long long>(lcd.instructions), static_cast<long long>(lcd.data_bytes),
                elapsed_ms, lcd.violations.size());
  return text;
}

}  // namespace vlcd

#include "virtual_lcd.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "byte_meaning.h"

namespace vlcd {

namespace {

// Bus timing of both controllers (HD44780U datasheet figures, which the
// HD66712 meets too): address set-up before E rises, E pulse width, data
// set-up before E falls, RS and R/W held after E falls, and how soon after
// E rises a read's answer is on the data lines.
constexpr int64_t kAddressSetupNs = 40;
constexpr int64_t kEnablePulseNs = 230;
constexpr int64_t kDataSetupNs = 80;
constexpr int64_t kAddressHoldNs = 10;
constexpr int64_t kDataDelayNs = 160;  // E rising to the module's answer on the data lines

// The control register as this driver writes it on its cable: RS low for
// instructions and high for data, E pulsed high with the unwired Select-in.
constexpr int32_t kInstructionIdle = kControlPinsLow;
constexpr int32_t kInstructionStrobe =
    WithSignal(kOurCable, kE, true, kControlPinsLow) & ~kUnwiredBit;
constexpr int32_t kDataIdle = WithSignal(kOurCable, kRs, true, kInstructionIdle);
constexpr int32_t kDataStrobe = WithSignal(kOurCable, kRs, true, kInstructionStrobe);
static_assert(kInstructionIdle == kPowerOnControl);
static_assert(kInstructionIdle == 0x0B && kInstructionStrobe == 0x02 && kDataIdle == 0x0F &&
              kDataStrobe == 0x06);
constexpr uint8_t kFunctionSetMask = 0xE0;
constexpr uint8_t kFunctionSet = 0x20;
constexpr uint8_t kExtensionBit = 0x04;
constexpr uint8_t kClearDisplay = 0x01;
constexpr size_t kOtherPortsKept = 4;

// The module's pins, as its cable wires them to the port's registers.
int LevelsOf(const VirtualLcd& lcd, uint8_t data, uint8_t control) {
  return SignalLevels(lcd.module.cable, data, control);
}
bool High(int levels, int signal) { return (levels >> signal & 1) != 0; }
uint8_t DataPins(int levels) { return static_cast<uint8_t>(levels & 0xFF); }
constexpr int kAddressPins = 1 << kRs | 1 << kRw;

// `byte_trace`, when given, is the traced byte the violation is found at.
void AddViolation(VirtualLcd& lcd, Rule rule, std::string* byte_trace, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

void AddViolation(VirtualLcd& lcd, Rule rule, std::string* byte_trace, const char* format, ...) {
  char text[160];
  std::va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  if (lcd.bus.blame_claim) {
    // The system's doing, not the program's: noted apart and not counted.
    Findings& findings = lcd.findings;
    if (findings.after_claim_count++ < kAfterClaimKept) {
      findings.after_claim += (findings.after_claim.empty() ? "" : "; ") + std::string(text);
    }
  } else {
    ++lcd.traffic.violation_count;
    ++lcd.findings.by_rule[static_cast<size_t>(rule)];
    if (lcd.findings.violations.size() < kViolationsKept)
      lcd.findings.violations.push_back(Violation{text});
  }
  if (byte_trace != nullptr) *byte_trace += (byte_trace->empty() ? "" : "; ") + std::string(text);
}

// Takes the byte on DB0-DB7 as E falls, or in 4-bit mode its low nibble
// from DB4-DB7 after the high one; `pins` are the module's pins while E was
// high.
void Latch(VirtualLcd& lcd, int pins, int64_t ns) {
  const bool data = High(pins, kRs);
  const bool four_bit = lcd.controller.four_bit;
  const uint8_t byte =
      four_bit ? static_cast<uint8_t>(lcd.bus.first_nibble | DataPins(pins) >> 4) : DataPins(pins);
  // The transfer began with its first nibble; the controller must be ready then.
  const int64_t started = four_bit ? lcd.bus.first_nibble_ns : ns;
  const long long number = lcd.traffic.instructions + lcd.traffic.data_bytes + 1;
  const bool kept = lcd.findings.record_bytes && lcd.findings.latched.size() < kLatchedKept;
  if (kept) {
    lcd.findings.latched.push_back(
        LatchedByte{data, byte, ns, ByteMeaning(lcd.controller, data, byte), ""});
  } else if (lcd.findings.record_bytes) {
    ++lcd.findings.latched_not_kept;
  }
  std::string* trace = kept ? &lcd.findings.latched.back().violations : nullptr;
  if (High(pins, kRw)) {
    AddViolation(lcd, Rule::WrittenWithReadHigh, trace,
                 "byte %lld: R/W high at the latch, 0x%02x not written", number, byte);
    return;
  }
  if (ns - lcd.bus.enable_rose_ns < kEnablePulseNs) {
    AddViolation(lcd, Rule::EnablePulse, trace, "byte %lld: E high for only %lld ns", number,
                 static_cast<long long>(ns - lcd.bus.enable_rose_ns));
  }
  if (ns - lcd.bus.data_changed_ns < kDataSetupNs) {
    AddViolation(lcd, Rule::DataSetup, trace, "byte %lld: data set up only %lld ns before E fell",
                 number, static_cast<long long>(ns - lcd.bus.data_changed_ns));
  }
  if (started < lcd.bus.busy_until_ns) {
    const bool blame = lcd.bus.blame_claim;
    lcd.bus.blame_claim = blame || lcd.bus.busy_from_claim;
    AddViolation(lcd, Rule::Busy, trace,
                 "%s 0x%02x (byte %lld) latched %lld ns before the controller was ready",
                 data ? "data" : "instruction", byte, number,
                 static_cast<long long>(lcd.bus.busy_until_ns - started));
    lcd.bus.blame_claim = blame;
  }
  int64_t execution_ns = 0;
  if (!data && byte == kClearDisplay) {
    lcd.cleared_from = lcd.controller;
  } else {
    lcd.cleared_from.reset();
  }
  if (data) {
    ++lcd.traffic.data_bytes;
    execution_ns = WriteDataByte(lcd.controller, byte);
  } else {
    ++lcd.traffic.instructions;
    if ((byte & kFunctionSetMask) == kFunctionSet) {
      ++lcd.traffic.function_sets;
      if (byte & kExtensionBit) ++lcd.traffic.extension_function_sets;
    }
    execution_ns = ExecuteInstruction(lcd.controller, byte);
  }
  lcd.bus.busy_until_ns = ns + execution_ns;
  // A byte taken as the cycle a claim began ends is the system's too, and
  // so is the wait it makes.
  lcd.bus.busy_from_claim = lcd.bus.blame_claim;
  if (lcd.bus.blame_claim) {
    AddViolation(lcd, Rule::Busy, trace, "%s 0x%02x (byte %lld) latched as that cycle ended",
                 data ? "data" : "instruction", byte, number);
  }
}

// The end of a bus cycle: the byte latched, or a read finished.
void EnableFell(VirtualLcd& lcd, int previous, int now, int64_t ns) {
  const auto write = static_cast<long long>(lcd.traffic.port_writes);
  if ((previous ^ now) & kAddressPins) {
    AddViolation(lcd, Rule::AddressHold, nullptr,
                 "RS or R/W changed as E fell, held 0 of %lld ns (write %lld)",
                 static_cast<long long>(kAddressHoldNs), write);
  }
  // In 4-bit mode the first of a byte's two transfers only waits for the
  // second, read or written.
  if (lcd.controller.four_bit && !lcd.bus.second_nibble) {
    lcd.bus.second_nibble = true;
    lcd.bus.first_nibble_read = lcd.bus.reading;
    ++lcd.traffic.first_nibbles;
    lcd.bus.first_nibble = DataPins(previous) & 0xF0;
    lcd.bus.first_nibble_ns = ns;
    return;
  }
  lcd.bus.second_nibble = false;
  // The controller takes a written byte as E falls; a data read moves
  // the address counter on.
  if (!lcd.bus.reading) {
    Latch(lcd, previous, ns);
  } else if (High(previous, kRs)) {
    if (ns < lcd.bus.busy_until_ns) {
      AddViolation(lcd, Rule::ReadWhileBusy, nullptr,
                   "data read %lld ns before the controller was ready (write %lld)",
                   static_cast<long long>(lcd.bus.busy_until_ns - ns), write);
    }
    lcd.bus.busy_until_ns = ns + FinishDataRead(lcd.controller);
    lcd.bus.busy_from_claim = lcd.bus.blame_claim;
  }
}

// The module's pins went from `previous` to `now` at `ns`.
void PinsChanged(VirtualLcd& lcd, int previous, int now, int64_t ns) {
  if (DataPins(previous) != DataPins(now)) lcd.bus.data_changed_ns = ns;
  const bool rs_changed = High(previous, kRs) != High(now, kRs);
  const bool rw_changed = High(previous, kRw) != High(now, kRw);
  if (rs_changed) lcd.bus.register_select_changed_ns = ns;
  if (rw_changed) lcd.bus.read_write_changed_ns = ns;
  const bool enable = High(now, kE);
  const auto write = static_cast<long long>(lcd.traffic.port_writes);
  // The cycle's kind and address are taken as E rises: they must hold
  // until it falls.
  if (enable && lcd.bus.enable_high && (rs_changed || rw_changed)) {
    AddViolation(lcd, Rule::StableWhileEnabled, nullptr, "%s changed while E was high (write %lld)",
                 rs_changed && rw_changed ? "RS and R/W"
                 : rs_changed             ? "RS"
                                          : "R/W",
                 write);
  }
  if (enable && !lcd.bus.enable_high) {
    lcd.bus.enable_rose_ns = ns;
    lcd.bus.claim_cycle = false;
    // R/W as E rises makes the cycle a read or a write.
    lcd.bus.reading = High(now, kRw);
    const int64_t rs_setup = ns - lcd.bus.register_select_changed_ns;
    const int64_t rw_setup = ns - lcd.bus.read_write_changed_ns;
    if (rs_setup < kAddressSetupNs || rw_setup < kAddressSetupNs) {
      const char* which = rs_setup == rw_setup ? "RS and R/W" : rs_setup < rw_setup ? "RS" : "R/W";
      AddViolation(lcd, Rule::AddressSetup, nullptr,
                   "%s changed only %lld ns before E rose (write %lld)", which,
                   static_cast<long long>(std::min(rs_setup, rw_setup)), write);
    }
    // The second transfer of a 4-bit write must be a write: a read takes
    // its place, and every byte after it is split a nibble out of step.
    if (lcd.bus.reading && lcd.controller.four_bit && lcd.bus.second_nibble &&
        !lcd.bus.first_nibble_read) {
      AddViolation(lcd, Rule::ReadBetweenNibbles, nullptr,
                   "a read between the two halves of a 4-bit write (write %lld): the controller "
                   "takes it as the second half, and every byte after it a nibble out of step",
                   write);
    }
    // In a read the module drives the data lines; so may the port, unless
    // a bidirectional port has them as inputs.
    if (lcd.bus.reading && !(lcd.bus.control_register & kDataInputBit)) {
      AddViolation(lcd, Rule::Contention, nullptr,
                   "bus contention: E rose with R/W high, a read, while the port drove the data "
                   "lines (write %lld)",
                   write);
    }
  }
  if (!enable && lcd.bus.enable_high) {
    // A cycle the port's driver began at a claim is the system's, and so is
    // what ending it breaks: no program can end it otherwise than by
    // writing the control register it was handed.
    lcd.bus.blame_claim = lcd.bus.claim_cycle;
    EnableFell(lcd, previous, now, ns);
    lcd.bus.blame_claim = false;
    lcd.bus.claim_cycle = false;
  }
  lcd.bus.enable_high = enable;
}

// What the module drives on DB0-DB7 during a read, 1 where it drives
// nothing: nothing before kDataDelayNs after E rose.
int ModuleAnswer(const VirtualLcd& lcd, int64_t ns) {
  if (!lcd.bus.enable_high || !lcd.bus.reading || ns - lcd.bus.enable_rose_ns < kDataDelayNs) {
    return 0xFF;
  }
  const int answer = High(PinLevels(lcd), kRs) ? MemoryAtAddress(lcd.controller)
                                               : (ns < lcd.bus.busy_until_ns ? 0x80 : 0) |
                                                     (lcd.controller.address & 0x7F);
  if (!lcd.controller.four_bit) return answer;
  // One nibble a transfer on DB4-DB7, high first; DB0-DB3 are not driven.
  return ((lcd.bus.second_nibble ? answer << 4 : answer) & 0xF0) | 0x0F;
}

}  // namespace

const char* RuleText(Rule rule) {
  switch (rule) {
    case Rule::AddressSetup:
      return "t_AS: RS and R/W set up 40 ns before E rises";
    case Rule::EnablePulse:
      return "PW_EH: E high for 230 ns at least";
    case Rule::DataSetup:
      return "t_DSW: data set up 80 ns before E falls";
    case Rule::AddressHold:
      return "t_AH: RS and R/W held 10 ns after E falls";
    case Rule::StableWhileEnabled:
      return "RS and R/W unchanged while E is high";
    case Rule::WrittenWithReadHigh:
      return "R/W low as a write's E falls";
    case Rule::Busy:
      return "no byte before the last has executed (37 us, 1.52 ms for clear and home)";
    case Rule::ReadWhileBusy:
      return "no data read before the last byte has executed";
    case Rule::Contention:
      return "the port's data lines inputs while the module answers a read";
    case Rule::ReadBetweenNibbles:
      return "a 4-bit write's two halves back to back, no read between";
  }
  return "";
}

int PinLevels(const VirtualLcd& lcd) {
  return LevelsOf(lcd, lcd.bus.data_register, lcd.bus.control_register);
}

VirtualLcd MakeVirtualLcd(const Module& module) {
  VirtualLcd lcd;
  lcd.module = module;
  lcd.controller.chip = module.chip;
  lcd.controller.rom = module.rom;
  // A second controller sees every pin the first does, but E2 as its E.
  const Wire second_enable = module.cable.wires[kE2];
  if (NeedsSecondController(module.columns, module.rows) && second_enable.line != PortLine::None) {
    Module lower = module;
    lower.rows = module.rows - kSecondControllerFirstRow;
    lower.cable.wires[kE] = second_enable;
    lower.cable.wires[kE2] = Wire{};
    lcd.lower.push_back(MakeVirtualLcd(lower));
  }
  return lcd;
}

void ReceivePortWrite(VirtualLcd& lcd, int32_t port, int32_t value, int64_t ns) {
  for (VirtualLcd& second : lcd.lower) ReceivePortWrite(second, port, value, ns);
  const auto address = static_cast<uint16_t>(port);
  const uint8_t byte = static_cast<uint8_t>(value & 0xFF);
  const uint16_t control = ControlRegister(lcd.module);
  if (address != lcd.module.port_base && address != control) {
    if (lcd.findings.other_ports.size() < kOtherPortsKept &&
        std::find(lcd.findings.other_ports.begin(), lcd.findings.other_ports.end(), address) ==
            lcd.findings.other_ports.end()) {
      lcd.findings.other_ports.push_back(address);
    }
    return;
  }
  ++lcd.traffic.port_writes;
  if (lcd.traffic.first_write_ns < 0) lcd.traffic.first_write_ns = ns;
  lcd.traffic.last_write_ns = ns;
  const int previous = PinLevels(lcd);
  (address == lcd.module.port_base ? lcd.bus.data_register : lcd.bus.control_register) = byte;
  PinsChanged(lcd, previous, PinLevels(lcd), ns);
}

int ReceivePortRead(VirtualLcd& lcd, int32_t port, int64_t ns) {
  // The enabled controller answers.
  for (VirtualLcd& second : lcd.lower) {
    if (second.bus.enable_high) return ReceivePortRead(second, port, ns);
  }
  const auto address = static_cast<uint16_t>(port);
  if (address == ControlRegister(lcd.module)) return lcd.bus.control_register;
  if (address != lcd.module.port_base) return 0xFF;
  if (!(lcd.bus.control_register & kDataInputBit)) return lcd.bus.data_register;
  const int module_pins = ModuleAnswer(lcd, ns);
  // Each data line reads the DB pin wired to it, pulled high where none is.
  int lines = 0xFF;
  for (int signal = kDb0; signal <= kDb7; ++signal) {
    const Wire& wire = lcd.module.cable.wires[static_cast<size_t>(signal)];
    if (!IsDataLine(wire.line)) continue;
    const int line = static_cast<int>(wire.line) - static_cast<int>(PortLine::Data0);
    if (((module_pins >> signal & 1) != 0) == wire.inverted) lines &= ~(1 << line);
  }
  return lines;
}

void ReceiveClaim(VirtualLcd& lcd, uint8_t control, int64_t ns) {
  for (VirtualLcd& second : lcd.lower) ReceiveClaim(second, control, ns);
  const int64_t counted = lcd.traffic.violation_count;
  const std::array<int64_t, kRules> by_rule = lcd.findings.by_rule;
  const size_t kept = lcd.findings.violations.size();
  const bool enable_was_high = lcd.bus.enable_high;
  // What this hand-over breaks is its own finding, even where it ends a
  // cycle an earlier one began.
  lcd.bus.claim_cycle = false;
  ReceivePortWrite(lcd, ControlRegister(lcd.module), control, ns);
  ++lcd.traffic.claim_writes;
  if (lcd.bus.enable_high && !enable_was_high) lcd.bus.claim_cycle = true;
  std::vector<Violation>& violations = lcd.findings.violations;
  if (lcd.traffic.violation_count == counted) return;
  if (++lcd.findings.claims_that_broke_rules == 1) {
    for (size_t i = kept; i < violations.size(); ++i) {
      lcd.findings.first_claim_finding += (i == kept ? "" : "; ") + violations[i].description;
    }
  }
  lcd.traffic.violation_count = counted;
  lcd.findings.by_rule = by_rule;
  violations.resize(kept);
}

int64_t ClockInByte(VirtualLcd& lcd, bool data, uint8_t byte, int64_t start_ns,
                    int64_t spacing_ns) {
  const int32_t data_register = lcd.module.port_base;
  const int32_t control_register = ControlRegister(lcd.module);
  const int32_t idle = data ? kDataIdle : kInstructionIdle;
  const int32_t strobe = data ? kDataStrobe : kInstructionStrobe;
  ReceivePortWrite(lcd, control_register, idle, start_ns);
  ReceivePortWrite(lcd, data_register, byte, start_ns + spacing_ns);
  ReceivePortWrite(lcd, control_register, strobe, start_ns + 2 * spacing_ns);
  ReceivePortWrite(lcd, control_register, idle, start_ns + 3 * spacing_ns);
  return start_ns + 4 * spacing_ns;
}

namespace {

// The second controller's, as the first's is taken.
std::vector<Controller> LowerControllers(const VirtualLcd& lcd, bool last_shown) {
  std::vector<Controller> lower;
  for (const VirtualLcd& second : lcd.lower) {
    lower.push_back(last_shown && second.cleared_from ? *second.cleared_from : second.controller);
  }
  return lower;
}

}  // namespace

Traffic AllTraffic(const VirtualLcd& lcd) {
  Traffic all = lcd.traffic;
  for (const VirtualLcd& second : lcd.lower) {
    all.instructions += second.traffic.instructions;
    all.data_bytes += second.traffic.data_bytes;
    all.function_sets += second.traffic.function_sets;
    all.extension_function_sets += second.traffic.extension_function_sets;
    all.first_nibbles += second.traffic.first_nibbles;
    all.violation_count += second.traffic.violation_count;
  }
  return all;
}

Screen ScreenNow(const VirtualLcd& lcd) {
  return Screen{lcd.module, lcd.controller, false, true, LowerControllers(lcd, false)};
}

Screen ScreenLastShown(const VirtualLcd& lcd) {
  if (!lcd.cleared_from) return ScreenNow(lcd);
  return Screen{lcd.module, *lcd.cleared_from, true, true, LowerControllers(lcd, true)};
}

}  // namespace vlcd

// A character-LCD module on a PC parallel port: the port's pins as wired to
// the module, the controller behind them, and a checker for every timing
// rule a driver that never reads the busy flag must keep.
#ifndef VIRTUAL_LCD_VIRTUAL_LCD_H
#define VIRTUAL_LCD_VIRTUAL_LCD_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "controller.h"
#include "module.h"
#include "screen.h"
#include "wiring.h"

namespace vlcd {

// The rules the checker holds every bus cycle to, from the HD44780U data
// sheet's bus timing (the HD66712 meets the same figures).
enum class Rule {
  AddressSetup,         // t_AS: RS and R/W set 40 ns before E rises
  EnablePulse,          // PW_EH: E high for 230 ns at least
  DataSetup,            // t_DSW: data set 80 ns before E falls
  AddressHold,          // t_AH: RS and R/W held 10 ns after E falls
  StableWhileEnabled,   // RS and R/W unchanged while E is high
  WrittenWithReadHigh,  // R/W high as a write's E falls: nothing written
  Busy,                 // a byte sent before the last one has executed
  ReadWhileBusy,        // a data read before the last byte has executed
  Contention,           // a read while the port drives the data lines
  ReadBetweenNibbles,   // a read between the two halves of a 4-bit write
};
constexpr size_t kRules = 10;
// "t_AS: RS and R/W set up 40 ns before E rises", as the report lists it.
const char* RuleText(Rule rule);

struct Violation {
  std::string description;
};
constexpr size_t kViolationsKept = 1000;
constexpr int64_t kAfterClaimKept = 4;
constexpr size_t kLatchedKept = 100000;

// One byte as the controller took it, for a trace.
struct LatchedByte {
  bool data = false;
  uint8_t value = 0;
  int64_t ns = 0;
  std::string meaning;
  std::string violations;  // those found at this latch, "; " between them
};

// The port's registers as last written, and when each line the timing rules
// watch last changed.
// A PC-style port powers up with its data register 0 and every control pin
// low; a module on it sees that from the start. The virtual port starts
// its registers from the same.
constexpr uint8_t kPowerOnData = 0;
constexpr uint8_t kPowerOnControl = kControlPinsLow;

struct Bus {
  uint8_t data_register = kPowerOnData;
  uint8_t control_register = kPowerOnControl;
  bool enable_high = false;
  bool reading = false;  // R/W was high as E last rose
  // In 4-bit mode: the first transfer of a byte has been made, its high
  // nibble (in bits 4-7) taken at `first_nibble_ns`.
  bool second_nibble = false;
  bool first_nibble_read = false;  // the first transfer was a read
  uint8_t first_nibble = 0;
  int64_t first_nibble_ns = 0;
  int64_t enable_rose_ns = 0;
  int64_t register_select_changed_ns = 0;
  int64_t data_changed_ns = 0;
  int64_t read_write_changed_ns = 0;
  int64_t busy_until_ns = 0;  // when the controller is done with the last byte
  // E is high because the port's driver raised it as it handed the port to
  // a program; the controller is busy with the read that cycle made.
  bool claim_cycle = false;
  bool busy_from_claim = false;
  bool blame_claim = false;  // what is found now follows from such a claim
};

// What the driver sent, counted: all a summary line needs besides the
// module.
struct Traffic {
  int64_t port_writes = 0;
  // Of those, the writes the port's own driver made as it handed the port
  // to a program (ReceiveClaim).
  int64_t claim_writes = 0;
  int64_t instructions = 0;
  int64_t data_bytes = 0;
  // Function sets, and those with bit 2 set: the HD66712's extension
  // register, which a driver set up for an HD44780 never touches.
  int64_t function_sets = 0;
  int64_t extension_function_sets = 0;
  // 4-bit transfers that were the first half of a byte, which the counts
  // above take only with its second.
  int64_t first_nibbles = 0;
  int64_t first_write_ns = -1;
  int64_t last_write_ns = -1;
  int64_t violation_count = 0;
};

// What the checker found besides the counts, kept for a report.
struct Findings {
  // The first kViolationsKept violations described (all are counted in
  // Traffic), so a host that ignores the timing for hours does not fill its
  // memory.
  std::vector<Violation> violations;
  // Every violation counted, by its rule.
  std::array<int64_t, kRules> by_rule{};
  // Registers the driver wrote that are not this module's, first seen first.
  std::vector<uint16_t> other_ports;
  // Latched bytes are kept while this is set: the first kLatchedKept (each
  // costs some 400 bytes with its meaning), then only counted, so a program
  // traced for hours does not fill its memory.
  bool record_bytes = false;
  std::vector<LatchedByte> latched;
  int64_t latched_not_kept = 0;
  // What the port's own driver did to the module as it handed the port to
  // a program (ReceiveClaim): how often, and what the first such hand-over
  // broke, which is not the program's doing and not among the violations.
  int64_t claims_that_broke_rules = 0;
  std::string first_claim_finding;
  // What the program's first bus cycles broke because of such a hand-over:
  // ending the cycle the claim began, and waiting out the read it made.
  int64_t after_claim_count = 0;
  std::string after_claim;  // the first kAfterClaimKept, "; " between them
};

// Who drives the module, so that advice names what that user can change: a
// host's DISPLAYDLL_ calls through the port library, whose parameters pick
// the chip, or a program on the virtual parallel port, whose module is set
// by HD_VLCD_* variables.
enum class Driver { DisplayDll, PortProgram };

struct VirtualLcd {
  Module module;
  Driver driver = Driver::DisplayDll;
  Controller controller;
  Bus bus;
  Traffic traffic;
  Findings findings;
  // A module of two controllers (a 40x4): the second, which drives rows 3
  // and 4 and shares every pin but E, enabled by the cable's E2. Empty when
  // the module has one, or the cable wires no E2.
  std::vector<VirtualLcd> lower;
  // Set while the last byte latched is a clear display: the controller as
  // it was before. The driver's DISPLAYDLL_Done clears the display just
  // before it lets the port library go, so this is what the host last
  // showed.
  std::optional<Controller> cleared_from;
};

// The screen as it is now.
Screen ScreenNow(const VirtualLcd& lcd);
// The screen as the host last showed it: as it was before the last byte
// when that byte cleared the display (as DISPLAYDLL_Done does), else as it
// is.
Screen ScreenLastShown(const VirtualLcd& lcd);

VirtualLcd MakeVirtualLcd(const Module& module);

// What the module's pins see now, as the bits above.
int PinLevels(const VirtualLcd& lcd);

// One write of the driver's port library, at time `ns`. Writes to other
// addresses than the module's two registers are ignored.
void ReceivePortWrite(VirtualLcd& lcd, int32_t port, int32_t value, int64_t ns);

// A read of the port at `port`, at time `ns`: the control register as
// written, or the data lines as they are then. While a bidirectional port
// has them as inputs (control bit 5) that is the module's answer during a
// read (busy flag and address counter with RS low, the memory at the
// address counter with RS high), or 0xFF, pulled high, when nothing
// drives them, as in the module's first 160 ns after E rose; otherwise the
// port's own latch.
int ReceivePortRead(VirtualLcd& lcd, int32_t port, int64_t ns);

// The control register as the port's own driver sets it when a program
// claims the port (Linux's parport_pc restores the claimant's control
// lines), at time `ns`: what the module sees then is noted, not counted
// among the violations, since no program can prevent it.
void ReceiveClaim(VirtualLcd& lcd, uint8_t control, int64_t ns);

// One bus cycle as the driver drives it (control idle, data, strobe, idle),
// a write every `spacing_ns` from `start_ns`; returns when it ended.
int64_t ClockInByte(VirtualLcd& lcd, bool data, uint8_t byte, int64_t start_ns, int64_t spacing_ns);

// The counts of every controller of the module: the bytes each took, the
// violations each saw; the port's writes once.
Traffic AllTraffic(const VirtualLcd& lcd);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_VIRTUAL_LCD_H

// How a module hangs on a PC parallel port: which port line drives each of
// the module's inputs. The model works on the module's pins; a cable is
// data, a row of one table or a written form, and the port's own inversions
// (Strobe, Auto-feed and Select-in are inverted between register and pin)
// are applied here, once.
#ifndef VIRTUAL_LCD_CABLE_H
#define VIRTUAL_LCD_CABLE_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "port_registers.h"
#include "problem.h"

namespace vlcd {

// The port's output lines: the data register's eight (pins 2-9) and the
// control register's four.
enum class PortLine : uint8_t {
  None,  // not wired: the module's input is tied low
  Data0,
  Data1,
  Data2,
  Data3,
  Data4,
  Data5,
  Data6,
  Data7,
  Strobe,      // pin 1
  AutoFeed,    // pin 14
  Initialize,  // pin 16
  SelectIn,    // pin 17
};

// The module's inputs, a bit each in a set of levels.
enum Signal : int { kDb0 = 0, kDb7 = 7, kRs = 8, kRw = 9, kE = 10, kE2 = 11, kSignals = 12 };

struct Wire {
  PortLine line = PortLine::None;
  bool inverted = false;  // the signal is the line's level inverted (lcd4linux's '-')
};

struct Cable {
  std::array<Wire, kSignals> wires{};
  bool operator==(const Cable& other) const;
};

struct NamedCable {
  const char* name;
  const char* source;  // where its wiring is documented
  Cable cable;
};

// The control register's bit for a control line; 0 for any other.
constexpr uint8_t ControlBit(PortLine line) {
  switch (line) {
    case PortLine::Strobe:
      return lpt::kStrobeBit;
    case PortLine::AutoFeed:
      return lpt::kAutoFeedBit;
    case PortLine::Initialize:
      return lpt::kInitializeBit;
    case PortLine::SelectIn:
      return lpt::kSelectInBit;
    default:
      return 0;
  }
}

using lpt::kControlPinsLow;
using lpt::kDataInputBit;

constexpr bool IsDataLine(PortLine line) {
  return line >= PortLine::Data0 && line <= PortLine::Data7;
}

// The level on `line`'s pin for these register values; a data line the
// port does not drive is pulled high.
constexpr bool PinLevel(PortLine line, uint8_t data, uint8_t control) {
  if (line == PortLine::None) return false;
  if (IsDataLine(line)) {
    if (control & kDataInputBit) return true;
    return (data >> (static_cast<int>(line) - static_cast<int>(PortLine::Data0))) & 1;
  }
  const bool bit = control & ControlBit(line);
  return (kControlPinsLow & ControlBit(line)) ? !bit : bit;
}

// The module's input levels for these register values, bit n for Signal n.
constexpr int SignalLevels(const Cable& cable, uint8_t data, uint8_t control) {
  int levels = 0;
  for (int signal = 0; signal < kSignals; ++signal) {
    const Wire& wire = cable.wires[static_cast<size_t>(signal)];
    if (wire.line == PortLine::None) continue;
    if (PinLevel(wire.line, data, control) != wire.inverted) levels |= 1 << signal;
  }
  return levels;
}

// The control register that puts `level` on `signal` (wired to a control
// line) and leaves every other bit of `control` as it is.
constexpr uint8_t WithSignal(const Cable& cable, int signal, bool level, uint8_t control) {
  const Wire& wire = cable.wires[static_cast<size_t>(signal)];
  const uint8_t bit = ControlBit(wire.line);
  if (bit == 0) return control;
  const bool pin = level != wire.inverted;
  const bool set = (kControlPinsLow & bit) ? !pin : pin;
  return static_cast<uint8_t>(set ? control | bit : control & ~bit);
}

// DB0-DB7 on D0-D7 and the three controls on control lines.
constexpr Cable EightBitCable(PortLine rs, PortLine rw, PortLine e, PortLine e2) {
  Cable cable;
  for (int bit = 0; bit < 8; ++bit) {
    cable.wires[static_cast<size_t>(bit)].line =
        static_cast<PortLine>(static_cast<int>(PortLine::Data0) + bit);
  }
  cable.wires[kRs].line = rs;
  cable.wires[kRw].line = rw;
  cable.wires[kE].line = e;
  cable.wires[kE2].line = e2;
  return cable;
}

// This driver's: E on Strobe, R/W on Auto-feed (low to write), RS on
// Initialize, DB0-DB7 on the data lines.
constexpr Cable kOurCable =
    EightBitCable(PortLine::Initialize, PortLine::AutoFeed, PortLine::Strobe, PortLine::None);

// Every cable known by name; the first is ours, the default.
const std::vector<NamedCable>& Cables();
// A table row's name, or the written form, into `cable`.
Problem ReadCable(const std::string& text, Cable* cable);
// The row's name when the cable is one, else its written form.
std::string CableName(const Cable& cable);
// "ours, lcdproc-4bit, ..." for help texts.
std::string CableNames();
// Where `signal` is wired, as a person names it: "Strobe (pin 1)".
std::string WireName(const Cable& cable, int signal);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_CABLE_H

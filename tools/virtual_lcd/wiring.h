// The port's registers as this driver's cable uses them, for the model:
// the common header's bits, held against the cable table's first row, so
// the port check, the wiring walk, the replay and the model share one cable.
#ifndef VIRTUAL_LCD_WIRING_H
#define VIRTUAL_LCD_WIRING_H

#include <cstdint>

#include "cable.h"
#include "module.h"

namespace vlcd {

using lpt::kControlOffset;
constexpr uint16_t ControlRegister(const Module& module) {
  return static_cast<uint16_t>(module.port_base + kControlOffset);
}

// Our cable's control lines, as the common header gives them, are the cable
// table's first row.
using lpt::kEnableBit;
using lpt::kReadWriteBit;
using lpt::kRegisterSelectBit;
using lpt::kUnwiredBit;
static_assert(kEnableBit == ControlBit(kOurCable.wires[kE].line) &&
              kReadWriteBit == ControlBit(kOurCable.wires[kRw].line) &&
              kRegisterSelectBit == ControlBit(kOurCable.wires[kRs].line) &&
              kOurCable.wires[kE2].line == PortLine::None);
static_assert((kEnableBit | kReadWriteBit | kRegisterSelectBit | kUnwiredBit) == 0x0F);

// The levels on the module's pins, a bit each, as SignalLevels gives them.
constexpr int kRsPin = 1 << kRs;
constexpr int kReadWritePin = 1 << kRw;
constexpr int kEnablePin = 1 << kE;

}  // namespace vlcd

#endif  // VIRTUAL_LCD_WIRING_H

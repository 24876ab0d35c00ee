// The port's registers as this driver's cable uses them: which control bit
// drives E, R/W and RS, taken from the cable table's first row, so the
// port check, the wiring walk, the replay and the model share one cable.
#ifndef VIRTUAL_LCD_WIRING_H
#define VIRTUAL_LCD_WIRING_H

#include <cstdint>

#include "cable.h"
#include "module.h"

namespace vlcd {

// A parallel port's control register sits two above its data register; the
// address wraps in 16 bits, as a driver's does.
constexpr int kControlOffset = 2;
constexpr uint16_t ControlRegister(const Module& module) {
  return static_cast<uint16_t>(module.port_base + kControlOffset);
}

// Our cable's control lines: E, R/W (low to write) and RS.
constexpr uint8_t kEnableBit = ControlBit(kOurCable.wires[kE].line);
constexpr uint8_t kReadWriteBit = ControlBit(kOurCable.wires[kRw].line);
constexpr uint8_t kRegisterSelectBit = ControlBit(kOurCable.wires[kRs].line);
// The control line our cable leaves unwired, which the driver raises with E.
constexpr uint8_t kUnwiredBit = ControlBit(PortLine::SelectIn);
static_assert((kEnableBit | kReadWriteBit | kRegisterSelectBit | kUnwiredBit) == 0x0F);

// The levels on the module's pins, a bit each, as SignalLevels gives them.
constexpr int kRsPin = 1 << kRs;
constexpr int kReadWritePin = 1 << kRw;
constexpr int kEnablePin = 1 << kE;

}  // namespace vlcd

#endif  // VIRTUAL_LCD_WIRING_H

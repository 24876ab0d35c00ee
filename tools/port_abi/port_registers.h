// A PC parallel port's registers, as the ppdev port library, the virtual
// LCD, the virtual parallel port and lcd_host's port tools all drive them,
// and this driver's cable on them. The virtual LCD's cable table holds
// every cable; its first row is this one, and says so at compile time.
#ifndef PORT_REGISTERS_H
#define PORT_REGISTERS_H

#include <cstdint>

namespace lpt {

// The status register sits one above the data register, the control
// register two; addresses wrap in 16 bits, as a driver's do.
constexpr int kStatusOffset = 1;
constexpr int kControlOffset = 2;

// The control register's four output lines.
constexpr uint8_t kStrobeBit = 0x01;
constexpr uint8_t kAutoFeedBit = 0x02;
constexpr uint8_t kInitializeBit = 0x04;
constexpr uint8_t kSelectInBit = 0x08;
// Every control pin low: Strobe, Auto-feed and Select-in are inverted
// between the register and the pin.
constexpr uint8_t kControlPinsLow = kStrobeBit | kAutoFeedBit | kSelectInBit;
// On a bidirectional port: the data lines are inputs, the port drives none.
constexpr uint8_t kDataInputBit = 0x20;

// This driver's cable: E on Strobe, R/W (low to write) on Auto-feed, RS on
// Initialize; Select-in is wired to nothing, and the driver raises it with E.
constexpr uint8_t kEnableBit = kStrobeBit;
constexpr uint8_t kReadWriteBit = kAutoFeedBit;
constexpr uint8_t kRegisterSelectBit = kInitializeBit;
constexpr uint8_t kUnwiredBit = kSelectInBit;

}  // namespace lpt

#endif  // PORT_REGISTERS_H

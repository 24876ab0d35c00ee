// Where a module is plugged in, as users write it and as the driver's
// parameters name it.
#ifndef VIRTUAL_LCD_PORT_ADDRESS_H
#define VIRTUAL_LCD_PORT_ADDRESS_H

#include <cstdint>
#include <string>

#include "module.h"
#include "problem.h"

namespace vlcd {

// The port is a 16-bit address.
constexpr long kMaxPort = 0xFFFF;

// A port's data register: 0x and hexadecimal digits, up to kMaxPort.
// Digits alone get a question back (hexadecimal without its 0x, or
// decimal?); a port's name gets the address to write instead.
Problem ReadPortAddress(const std::string& text, uint16_t* port);
// Whether `text` starts as a port's name does, "LPT" in any case.
bool StartsWithPortName(const std::string& text);

// "0x378 for LPT1, 0x278 for LPT2": the ports the driver knows by name.
std::string NamedPorts();

// Driver parameters that name this port and chip: "LPT1,HD44780",
// "0x3BC,HD66712".
std::string ParametersFor(uint16_t port, Chip chip);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_PORT_ADDRESS_H

// What a latched byte means to the controller, in words, for traces.
#ifndef VIRTUAL_LCD_BYTE_MEANING_H
#define VIRTUAL_LCD_BYTE_MEANING_H

#include <cstdint>
#include <string>

#include "controller.h"

namespace vlcd {

// `c` is the controller as the byte arrives, before it acts on it: the
// HD66712's RE bit and the memory data goes to change the meaning.
std::string ByteMeaning(const Controller& c, bool data, uint8_t byte);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_BYTE_MEANING_H

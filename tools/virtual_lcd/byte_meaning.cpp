#include "byte_meaning.h"

#include <cstdio>

#include "character_rom.h"

namespace vlcd {

namespace {

std::string Hex(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

const char* OnOff(bool on) { return on ? "on" : "off"; }

std::string DataMeaning(const Controller& c, uint8_t byte) {
  if (c.address_in_cgram) {
    return "glyph " + std::to_string((c.address & 0x3F) / 8 + 1) + " row " +
           std::to_string(c.address & 0x07) + " = " + Hex(byte);
  }
  if (byte < 16) return "data " + Hex(byte) + " (glyph " + std::to_string(byte % 8 + 1) + ")";
  return "data '" + RomCharacter(c.rom, byte) + "'";
}

std::string FunctionSetMeaning(const Controller& c, uint8_t byte) {
  std::string text = std::string("function set: ") + (byte & 0x10 ? "8-bit" : "4-bit") + ", " +
                     (byte & 0x08 ? "2 lines" : "1 line");
  if (c.chip == Chip::HD66712) return text + ", RE " + OnOff(byte & 0x04);
  return text + (byte & 0x04 ? ", 5x10 dots" : ", 5x8 dots");
}

// The HD66712's instructions while RE is set.
std::string ExtendedMeaning(const Controller& c, uint8_t byte) {
  if (byte & 0x80) return "set scroll quantity " + std::to_string(byte & 0x3F);
  if (byte & 0x40) return "set SEGRAM address " + Hex(byte & 0x0F);
  if (byte & 0x20) return FunctionSetMeaning(c, byte);
  if (byte & 0x10) return "scroll enable " + Hex(byte & 0x0F);
  return std::string("extended function set: 4-line mode ") + OnOff(byte & 0x01);
}

}  // namespace

std::string ByteMeaning(const Controller& c, bool data, uint8_t byte) {
  if (data) return DataMeaning(c, byte);
  if (c.chip == Chip::HD66712 && c.extension && byte >= 0x08) return ExtendedMeaning(c, byte);
  if (byte & 0x80) return "set DDRAM address " + Hex(byte & 0x7F);
  if (byte & 0x40) return "set CGRAM address " + Hex(byte & 0x3F);
  if (byte & 0x20) return FunctionSetMeaning(c, byte);
  if (byte & 0x10) {
    return std::string(byte & 0x08 ? "shift display " : "move cursor ") +
           (byte & 0x04 ? "right" : "left");
  }
  if (byte & 0x08) {
    return std::string("display ") + OnOff(byte & 0x04) + ", cursor " + OnOff(byte & 0x02) +
           ", blink " + OnOff(byte & 0x01);
  }
  if (byte & 0x04) {
    return std::string("entry mode: address ") + (byte & 0x02 ? "increments" : "decrements") +
           (byte & 0x01 ? ", display shifts" : "");
  }
  if (byte & 0x02) return "return home";
  if (byte & 0x01) return "clear display";
  return "no operation (0x00)";
}

}  // namespace vlcd

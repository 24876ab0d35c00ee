#include "byte_meaning.h"

#include <cstdio>

#include "character_rom.h"
#include "instruction.h"

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

std::string InstructionMeaning(const Controller& c, uint8_t byte) {
  const Instruction i = DecodeInstruction(c, byte);
  switch (i.op) {
    case Op::SetDdramAddress:
      return "set DDRAM address " + Hex(i.value);
    case Op::SetCgramAddress:
      return "set CGRAM address " + Hex(i.value);
    case Op::FunctionSet: {
      const std::string text = std::string("function set: ") + (i.eight_bit ? "8-bit" : "4-bit") +
                               ", " + (i.two_lines ? "2 lines" : "1 line");
      if (c.chip == Chip::HD66712) return text + ", RE " + OnOff(i.bit2);
      return text + (i.bit2 ? ", 5x10 dots" : ", 5x8 dots");
    }
    case Op::CursorOrDisplayShift:
      return std::string(i.shift_display ? "shift display " : "move cursor ") +
             (i.right ? "right" : "left");
    case Op::DisplayControl:
      return std::string("display ") + OnOff(i.display_on) + ", cursor " + OnOff(i.cursor_on) +
             ", blink " + OnOff(i.blink_on);
    case Op::EntryMode:
      return std::string("entry mode: address ") + (i.increment ? "increments" : "decrements") +
             (i.shift ? ", display shifts" : "");
    case Op::ReturnHome:
      return "return home";
    case Op::ClearDisplay:
      return "clear display";
    case Op::ExtendedFunctionSet:
      return std::string("extended function set: 4-line mode ") + OnOff(i.four_lines);
    case Op::ScrollEnable:
      return "scroll enable " + Hex(i.value);
    case Op::SetSegramAddress:
      return "set SEGRAM address " + Hex(i.value);
    case Op::SetScrollQuantity:
      return "set scroll quantity " + std::to_string(i.value);
    case Op::NoOperation:
      break;
  }
  return "no operation (0x00)";
}

}  // namespace

std::string ByteMeaning(const Controller& c, bool data, uint8_t byte) {
  return data ? DataMeaning(c, byte) : InstructionMeaning(c, byte);
}

}  // namespace vlcd

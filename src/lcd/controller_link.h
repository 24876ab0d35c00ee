// Moving single bytes into the controller and pacing them.
#ifndef LCD_CONTROLLER_LINK_H
#define LCD_CONTROLLER_LINK_H

#include <cstdint>

// Instruction bytes of the HD44780 / HD66712 instruction sets.
constexpr uint8_t kClearDisplay = 0x01;
constexpr uint8_t kReturnHome = 0x02;
constexpr uint8_t kEntryIncrement = 0x06;     // entry mode: address increments, no shift
constexpr uint8_t kDisplayOff = 0x08;         // display, cursor and blink off
constexpr uint8_t kDisplayOn = 0x0C;          // display on, cursor and blink off
constexpr uint8_t kExtendedFunction = 0x08;   // RE = 1 only: 4-line mode and options off
constexpr uint8_t kExtendedFourLines = 0x09;  // RE = 1 only: 4-line mode on
constexpr uint8_t kFunction1Line = 0x30;      // 8-bit bus, 1 line, 5x8 dots
constexpr uint8_t kFunction2Lines = 0x38;     // 8-bit bus, 2 lines, 5x8 dots (HD66712: RE = 0)
constexpr uint8_t kFunctionExtended = 0x3C;   // 8-bit bus, 2 lines, RE = 1 (HD66712 only)
constexpr uint8_t kSetCgramAddress = 0x40;    // + character-generator address
constexpr uint8_t kSetDdramAddress = 0x80;    // + display address

// One instruction byte, one data byte: four port writes each.
void WriteC(int value);
void WriteD(int value);
// Waits strictly longer than `microseconds`; sleeps first only beyond 1 ms.
void DelayUs(int32_t microseconds);

#endif  // LCD_CONTROLLER_LINK_H

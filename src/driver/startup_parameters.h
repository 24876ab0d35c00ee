// Reading the host's startup parameter string: "port[,chip][,Log]".
#ifndef DRIVER_STARTUP_PARAMETERS_H
#define DRIVER_STARTUP_PARAMETERS_H

#include <cstdint>

#include "lcd/display_config.h"

// Hexadecimal digits from the start of `text`, wrapping in 32 bits.
uint32_t HexToInt(const char* text);

bool EndsWithLog(const char* parameters);
// "LPT2" gives 0x278, "0x..." the hexadecimal address, anything else 0x378.
uint16_t ParsePort(const char* parameters);
// 1 + the position of the first comma among the first `length` characters,
// or 0 when there is none.
int32_t ChipNamePosition(const char* parameters, int32_t length);
// The chip named at `position`, or `current` when none is named there.
ChipType ParseChip(const char* parameters, int32_t position, ChipType current);
// The chip the parameters choose as Init reads them: named after the first
// comma among the first `length` characters, which leave out the last four
// (",Log") while logging is on; `position` as ChipNamePosition gives it.
struct ChipChoice {
  int32_t position;
  int32_t length;
  ChipType chip;
};
ChipChoice ChooseChip(const char* parameters, bool log_enabled, ChipType current);

#endif  // DRIVER_STARTUP_PARAMETERS_H

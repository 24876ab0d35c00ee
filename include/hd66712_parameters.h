// How the driver reads the host's startup parameter string,
// "port[,chip][,Log]", and the facts it is built on that the tools beside
// it must agree with. The driver is built from this very code, so a tool
// that reads parameters through it cannot drift from the driver.
#ifndef HD66712_PARAMETERS_H
#define HD66712_PARAMETERS_H

#include <cstdint>

// The numbers are shown in the log.
enum class ChipType : int { HD66712 = 0, HD44780 = 1 };

// The data registers the parameters "LPT1" and "LPT2" name; LPT1's is the
// driver's when the parameters name no port.
constexpr uint16_t kLpt1Port = 0x378;
constexpr uint16_t kLpt2Port = 0x278;

// Every byte is a bus cycle of four port writes, each held this long.
constexpr int32_t kBusSettleUs = 40;
constexpr int32_t kMicrosecondsPerByte = 4 * kBusSettleUs;

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

#endif  // HD66712_PARAMETERS_H

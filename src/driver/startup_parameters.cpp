#include <cstdlib>
#include <cstring>
#include <string_view>

#include "hd66712_parameters.h"

namespace {

// Room for the ",Log" that the first start found at the end.
constexpr int32_t kLogSuffixLength = 4;

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

uint32_t HexToInt(const char* text) {
  uint32_t total = 0;
  for (int digit = HexDigitValue(*text); digit >= 0; digit = HexDigitValue(*++text)) {
    total = total * 16 + static_cast<uint32_t>(digit);
  }
  return total;
}

bool EndsWithLog(const char* parameters) {
  const std::size_t length = std::strlen(parameters);
  return length >= 3 && std::strcmp(parameters + length - 3, "Log") == 0;
}

uint16_t ParsePort(const char* parameters) {
  if (std::string_view(parameters).starts_with("LPT")) {
    return std::strtol(parameters + 3, nullptr, 10) == 2 ? kLpt2Port : kLpt1Port;
  }
  if (std::string_view(parameters).starts_with("0x"))
    return static_cast<uint16_t>(HexToInt(parameters + 2));
  return kLpt1Port;
}

int32_t ChipNamePosition(const char* parameters, int32_t length) {
  for (int32_t position = 0; position < length; ++position) {
    if (parameters[position] == ',') return position + 1;
  }
  return 0;
}

ChipType ParseChip(const char* parameters, int32_t position, ChipType current) {
  // Only seven characters are compared, so "HD44780X" still names the chip.
  const char* name = parameters + position;
  if (std::strncmp(name, "HD66712", 7) == 0) return ChipType::HD66712;
  if (std::strncmp(name, "HD44780", 7) == 0) return ChipType::HD44780;
  return current;
}

ChipChoice ChooseChip(const char* parameters, bool log_enabled, ChipType current) {
  ChipChoice choice{};
  choice.length = static_cast<int32_t>(std::strlen(parameters));
  if (log_enabled) choice.length -= kLogSuffixLength;
  choice.position = ChipNamePosition(parameters, choice.length);
  choice.chip = ParseChip(parameters, choice.position, current);
  return choice;
}

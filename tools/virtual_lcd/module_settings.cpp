#include "module_settings.h"

#include <charconv>
#include <cstdio>
#include <string_view>

namespace vlcd {

namespace {

constexpr int kMaxCellsPerLine = 80;
constexpr int kMaxRows = 4;

// A setting's values by the names users write; the first is the default.
template <typename Value>
struct Named {
  Value value;
  const char* name;
};
constexpr Named<Chip> kChips[] = {{Chip::HD66712, "HD66712"}, {Chip::HD44780, "HD44780"}};
static_assert(kChips[0].value == Chip{}, "the first chip listed is the default");
constexpr Named<CharacterRom> kRoms[] = {{CharacterRom::A00, "A00"}, {CharacterRom::A02, "A02"}};
static_assert(kRoms[0].value == CharacterRom{}, "the first ROM listed is the default");

template <typename Value, size_t N>
std::string NamesOf(const Named<Value> (&known)[N]) {
  std::string names;
  for (const Named<Value>& entry : known) {
    names += (names.empty() ? "" : " or ") + std::string(entry.name);
  }
  return names;
}

template <typename Value, size_t N>
Problem ReadName(const Named<Value> (&known)[N], const std::string& text, const char* what,
                 Value* value) {
  for (const Named<Value>& entry : known) {
    if (text == entry.name) {
      *value = entry.value;
      return std::nullopt;
    }
  }
  return "'" + Excerpt(text) + "' is not " + what + " (" + NamesOf(known) + ", in capitals)";
}

template <typename Value, size_t N>
const char* NameOf(const Named<Value> (&known)[N], Value value) {
  for (const Named<Value>& entry : known) {
    if (entry.value == value) return entry.name;
  }
  return "?";
}

}  // namespace

std::string Excerpt(const std::string& text) {
  constexpr size_t kLongest = 60;
  if (text.size() <= kLongest) return text;
  size_t cut = kLongest - 3;
  // Not inside a UTF-8 character: back to the byte that starts it.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut) + "...";
}

Problem ParseNumber(const std::string& text, NumberForm form, long low, long high, long* value) {
  const bool prefixed = form == NumberForm::Address && text.rfind("0x", 0) == 0;
  const bool hex = prefixed || form == NumberForm::Hexadecimal;
  const std::string_view digits = std::string_view(text).substr(prefixed ? 2 : 0);
  const char* expected = form == NumberForm::Address
                             ? "a decimal number or 0x and hexadecimal digits"
                         : form == NumberForm::Hexadecimal ? "hexadecimal digits"
                                                           : "a decimal number";
  // from_chars would take a sign; a number here never has one.
  if (digits.empty() || digits[0] == '-' || digits[0] == '+') {
    return "'" + Excerpt(text) + "' is not " + expected;
  }
  // Some tools read a leading zero as octal, others not: refuse to guess.
  if (!hex && digits.size() > 1 && digits[0] == '0' &&
      digits.find_first_not_of("0123456789") == std::string_view::npos) {
    return "'" + Excerpt(text) +
           "' starts with 0, which some tools read as octal: leave the 0 out" +
           (form == NumberForm::Address ? " or write 0x for hexadecimal" : "");
  }
  long number = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, number, hex ? 16 : 10);
  if (stop != end) return "'" + Excerpt(text) + "' is not " + expected;
  if (error == std::errc::result_out_of_range || number < low || number > high) {
    return "'" + Excerpt(text) + "' is out of range (" + std::to_string(low) + " to " +
           std::to_string(high) + ")";
  }
  *value = number;
  return std::nullopt;
}

Problem ReadChipName(const std::string& text, Chip* chip) {
  return ReadName(kChips, text, "a chip", chip);
}

const char* ChipName(Chip chip) { return NameOf(kChips, chip); }

std::string ChipNames() { return NamesOf(kChips); }

Problem ReadRomName(const std::string& text, CharacterRom* rom) {
  return ReadName(kRoms, text, "a character ROM", rom);
}

const char* RomName(CharacterRom rom) { return NameOf(kRoms, rom); }

std::string RomNames() { return NamesOf(kRoms); }

std::string ParametersFor(uint16_t port, Chip chip) {
  const std::string name = ChipName(chip);
  if (port == 0x378) return "LPT1," + name;
  if (port == 0x278) return "LPT2," + name;
  char text[16];
  std::snprintf(text, sizeof text, "0x%X,", static_cast<unsigned>(port));
  return text + name;
}

Problem GeometryWarning(int columns, int rows) {
  if (columns > kMaxCellsPerLine) {
    return std::to_string(columns) + " columns: a controller shows at most " +
           std::to_string(kMaxCellsPerLine) + " cells a line";
  }
  if (rows > kMaxRows) {
    return std::to_string(rows) + " rows: a controller drives at most " + std::to_string(kMaxRows) +
           " rows";
  }
  return std::nullopt;
}

}  // namespace vlcd

#include "module_settings.h"

#include <algorithm>
#include <cctype>
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

// Sizes as the driver takes them: a byte; a module has at least one cell.
Problem ReadSize(const std::string& text, int* size) {
  long value = 0;
  if (Problem problem = ParseNumber(text, NumberForm::Decimal, 1, kMaxSize, &value)) {
    return problem;
  }
  *size = static_cast<int>(value);
  return std::nullopt;
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
  const bool prefixed = form == NumberForm::Address && text.starts_with("0x");
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

const std::vector<ModuleSetting>& ModuleSettings() {
  static const std::vector<ModuleSetting> settings = {
      {"columns", "N", "Module columns, 1-255",
       [](const std::string& text, Module* module) { return ReadSize(text, &module->columns); },
       [](const Module& module) { return std::to_string(module.columns); }},
      {"rows", "N", "Module rows, 1-255",
       [](const std::string& text, Module* module) { return ReadSize(text, &module->rows); },
       [](const Module& module) { return std::to_string(module.rows); }},
      {"chip", "CHIP", "The module's controller: " + ChipNames(),
       [](const std::string& text, Module* module) { return ReadChipName(text, &module->chip); },
       [](const Module& module) -> std::string { return ChipName(module.chip); }},
      {"rom", "ROM",
       "The controller's character ROM: " + RomNames() +
           " (A00 Japanese, A02 European: see the module's data sheet)",
       [](const std::string& text, Module* module) { return ReadRomName(text, &module->rom); },
       [](const Module& module) -> std::string { return RomName(module.rom); }},
  };
  return settings;
}

std::string SettingsText(const Module& module) {
  std::string text;
  for (const ModuleSetting& setting : ModuleSettings()) {
    text += (text.empty() ? "" : " ") + std::string(setting.name) + "=" + setting.show(module);
  }
  return text;
}

Problem ReadSettingsText(const std::string& text, Module* module) {
  Module read = *module;
  std::vector<std::string> named;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find(' ', at), text.size());
    const std::string word = text.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    const size_t equals = word.find('=');
    const std::string name = word.substr(0, equals);
    const auto setting =
        std::find_if(ModuleSettings().begin(), ModuleSettings().end(),
                     [&name](const ModuleSetting& known) { return name == known.name; });
    if (equals == std::string::npos || setting == ModuleSettings().end()) {
      return "'" + Excerpt(word) + "' is not a module setting";
    }
    // Which of two values was meant cannot be known.
    if (std::find(named.begin(), named.end(), name) != named.end()) {
      return name + " is given twice";
    }
    named.push_back(name);
    if (Problem problem = setting->read(word.substr(equals + 1), &read)) {
      return name + ": " + *problem;
    }
  }
  *module = read;
  return std::nullopt;
}

std::string Describe(const Module& module) {
  return std::to_string(module.columns) + "x" + std::to_string(module.rows) + " " +
         ChipName(module.chip) + " with ROM " + RomName(module.rom);
}

Problem ReadPortAddress(const std::string& text, uint16_t* port) {
  long value = 0;
  if (Problem problem = ParseNumber(text, NumberForm::Address, 0, kMaxPort, &value)) {
    if (StartsWithPortName(text)) {
      *problem += "; write the address: 0x378 for LPT1, 0x278 for LPT2";
    }
    return problem;
  }
  // Port addresses are written in hexadecimal everywhere a user reads them
  // (Device Manager, /proc, data sheets), so digits alone are most often a
  // hexadecimal address without its 0x.
  if (text.rfind("0x", 0) != 0) {
    char both[96];
    std::snprintf(both, sizeof both, "Write 0x%s for hexadecimal, or 0x%lX for decimal %ld",
                  text.c_str(), static_cast<unsigned long>(value), value);
    return "'" + text + "' has no 0x: is it hexadecimal, as port addresses are written? " + both;
  }
  *port = static_cast<uint16_t>(value);
  return std::nullopt;
}

bool StartsWithPortName(const std::string& text) {
  const auto lower = [](char c) { return static_cast<char>(std::tolower(c)); };
  return text.size() >= 3 && lower(text[0]) == 'l' && lower(text[1]) == 'p' &&
         lower(text[2]) == 't';
}

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

#include "module_settings.h"

#include <algorithm>

#include "number_text.h"

namespace vlcd {

namespace {

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
      {"columns", "N", "Module columns, 1-255", true,
       [](const std::string& text, Module* module) { return ReadSize(text, &module->columns); },
       [](const Module& module) { return std::to_string(module.columns); }},
      {"rows", "N", "Module rows, 1-255", true,
       [](const std::string& text, Module* module) { return ReadSize(text, &module->rows); },
       [](const Module& module) { return std::to_string(module.rows); }},
      {"chip", "CHIP", "The module's controller: " + ChipNames(), true,
       [](const std::string& text, Module* module) { return ReadChipName(text, &module->chip); },
       [](const Module& module) -> std::string { return ChipName(module.chip); }},
      {"rom", "ROM",
       "The controller's character ROM: " + RomNames() +
           " (A00 Japanese, A02 European: see the module's data sheet)",
       true,
       [](const std::string& text, Module* module) { return ReadRomName(text, &module->rom); },
       [](const Module& module) -> std::string { return RomName(module.rom); }},
      // The driver drives its own cable whatever this says: it matters to
      // what the virtual module makes of the pins.
      {"cable", "CABLE",
       "How the module is wired to the port: " + CableNames() +
           ", or a wiring such as RS=INIT,RW=AUTOFD,E=STROBE,DATA=8 (lines STROBE, AUTOFD, "
           "INIT, SLCTIN, DB0-DB7, GND or pin numbers; '-' inverts; DATA=4 puts DB4-DB7 on "
           "DB0-DB3)",
       false,
       [](const std::string& text, Module* module) { return ReadCable(text, &module->cable); },
       [](const Module& module) { return CableName(module.cable); }},
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
         ChipName(module.chip) + " with ROM " + RomName(module.rom) +
         (module.cable == kOurCable ? "" : ", cable " + CableName(module.cable));
}

Problem GeometryWarning(int columns, int rows) {
  if (columns > kDisplayRamCells) {
    return std::to_string(columns) + " columns: a controller shows at most " +
           std::to_string(kDisplayRamCells) + " cells a line";
  }
  if (rows > kMaxRows) {
    return std::to_string(rows) + " rows: a controller drives at most " + std::to_string(kMaxRows) +
           " rows";
  }
  return std::nullopt;
}

}  // namespace vlcd

// Reading a virtual module's settings from text, strictly and alike for
// lcd_host's options and the port library's HD_VLCD_* variables: a typo is
// named, never read as something else.
#ifndef VIRTUAL_LCD_MODULE_SETTINGS_H
#define VIRTUAL_LCD_MODULE_SETTINGS_H

#include <cstdint>
#include <string>
#include <vector>

#include "controller.h"
#include "module.h"
#include "problem.h"

namespace vlcd {

// A chip's name exactly as ChipNames() lists them.
Problem ReadChipName(const std::string& text, Chip* chip);
const char* ChipName(Chip chip);
// "HD66712 or HD44780", for help texts and messages.
std::string ChipNames();

// The character ROM a module's controller carries, likewise.
Problem ReadRomName(const std::string& text, CharacterRom* rom);
const char* RomName(CharacterRom rom);
std::string RomNames();

// One thing a module is, as lcd_host's --NAME and the port library's
// HD_VLCD_NAME give it. Where the module is plugged in (its port) is not
// one: lcd_host's port check takes the port alone.
struct ModuleSetting {
  const char* name;        // "chip": --chip, HD_VLCD_CHIP, chip=
  const char* value_name;  // "CHIP", for --help
  std::string help;
  // Whether it changes what is sent to a real module too (the driver's
  // parameters, the script's bytes), or only what the virtual LCD shows;
  // lcd_host's real-port modes take only the settings that do.
  bool matters_on_a_real_module;
  // Sets the setting from `text`, or says what is wrong and changes nothing.
  Problem (*read)(const std::string& text, Module* module);
  std::string (*show)(const Module& module);
};

// Every setting, in the order --help lists them.
const std::vector<ModuleSetting>& ModuleSettings();

// "columns=16 rows=2 chip=HD44780 rom=A02": every setting, in one text
// that ReadSettingsText takes back. A setting it does not name keeps its
// default.
std::string SettingsText(const Module& module);
Problem ReadSettingsText(const std::string& text, Module* module);

// "16x2 HD44780 with ROM A02", for messages and titles.
std::string Describe(const Module& module);

// The driver takes sizes as bytes.
constexpr long kMaxSize = 255;

// Nothing for a size a single controller can show, else a warning naming the
// limit that is exceeded (80 cells a line, 4 rows).
Problem GeometryWarning(int columns, int rows);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_MODULE_SETTINGS_H

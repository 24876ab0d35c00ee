// The settings of a virtual module as lcd_host and the port library read
// them, and the limits of what it will draw.
#include "module_settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "byte_meaning.h"
#include "module_environment.h"
#include "number_text.h"
#include "screen.h"

namespace {

using vlcd::NumberForm;

struct NumberCase {
  const char* text;
  NumberForm form;
  long high;
  long value;         // when accepted
  const char* error;  // "" when accepted
};

TEST(ModuleSettingsTest, NumbersAreReadStrictly) {
  const NumberCase cases[] = {
      {"20", NumberForm::Decimal, 255, 20, ""},
      {"0", NumberForm::Decimal, 255, 0, ""},
      {"255", NumberForm::Decimal, 255, 255, ""},
      {"256", NumberForm::Decimal, 255, 0, "'256' is out of range (0 to 255)"},
      {"99999999999999999999", NumberForm::Decimal, 255, 0,
       "'99999999999999999999' is out of range (0 to 255)"},
      {"-1", NumberForm::Decimal, 255, 0, "'-1' is not a decimal number"},
      {"abc", NumberForm::Decimal, 255, 0, "'abc' is not a decimal number"},
      {"4x", NumberForm::Decimal, 255, 0, "'4x' is not a decimal number"},
      {"7a", NumberForm::Decimal, 255, 0, "'7a' is not a decimal number"},
      {"05", NumberForm::Decimal, 255, 0,
       "'05' starts with 0, which some tools read as octal: leave the 0 out"},
      {" 4", NumberForm::Decimal, 255, 0, "' 4' is not a decimal number"},
      {"", NumberForm::Decimal, 255, 0, "'' is not a decimal number"},
      {"010", NumberForm::Decimal, 255, 0,
       "'010' starts with 0, which some tools read as octal: leave the 0 out"},
      {"0x14", NumberForm::Decimal, 255, 0, "'0x14' is not a decimal number"},
      // Quoted up to a line's worth, and never cut inside a character.
      {"99999999999999999999999999999999999999999999999999999999\xC3\xA9"
       "99999999999999999999",
       NumberForm::Decimal, 255, 0,
       "'99999999999999999999999999999999999999999999999999999999...' is not a decimal number"},
      {"0x3bc", NumberForm::Address, 0xFFFF, 0x3BC, ""},
      {"0xFFFF", NumberForm::Address, 0xFFFF, 0xFFFF, ""},
      // Leading zeros after 0x are hexadecimal still, as /proc writes them.
      {"0x0378", NumberForm::Address, 0xFFFF, 0x378, ""},
      {"0x00D010", NumberForm::Address, 0xFFFF, 0xD010, ""},
      {"0E", NumberForm::Hexadecimal, 0xFF, 0x0E, ""},
      {"888", NumberForm::Address, 0xFFFF, 888, ""},
      {"0x10000", NumberForm::Address, 0xFFFF, 0, "'0x10000' is out of range (0 to 65535)"},
      {"0x", NumberForm::Address, 0xFFFF, 0,
       "'0x' is not a decimal number or 0x and hexadecimal digits"},
      {"0X3BC", NumberForm::Address, 0xFFFF, 0,
       "'0X3BC' is not a decimal number or 0x and hexadecimal digits"},
      {"0378", NumberForm::Address, 0xFFFF, 0,
       "'0378' starts with 0, which some tools read as octal: leave the 0 out or write 0x for "
       "hexadecimal"},
  };
  for (const NumberCase& c : cases) {
    long value = -7;
    EXPECT_EQ(vlcd::ParseNumber(c.text, c.form, 0, c.high, &value).value_or(""), c.error) << c.text;
    EXPECT_EQ(value, *c.error == '\0' ? c.value : -7) << c.text;
  }
}

TEST(ModuleSettingsTest, ChipNamesAndControllerLimits) {
  vlcd::Chip chip = vlcd::Chip::HD66712;
  EXPECT_EQ(vlcd::ReadChipName("HD44780", &chip), std::nullopt);
  EXPECT_EQ(chip, vlcd::Chip::HD44780);
  EXPECT_EQ(vlcd::ReadChipName("hd66712", &chip),
            "'hd66712' is not a chip (HD66712 or HD44780, in capitals)");
  EXPECT_EQ(vlcd::GeometryWarning(80, 4), std::nullopt);
  EXPECT_EQ(vlcd::GeometryWarning(81, 1), "81 columns: a controller shows at most 80 cells a line");
  EXPECT_EQ(vlcd::GeometryWarning(20, 5), "5 rows: a controller drives at most 4 rows");
}

// The text lcd_host configures the port library with: every setting, by
// name, and a bad word refused whole, leaving the module as it was.
TEST(ModuleSettingsTest, SettingsTravelAsOneText) {
  vlcd::Module module;
  module.chip = vlcd::Chip::HD44780;
  module.rom = vlcd::CharacterRom::A02;
  module.columns = 16;
  module.rows = 2;
  EXPECT_EQ(vlcd::SettingsText(module), "columns=16 rows=2 chip=HD44780 rom=A02 cable=ours");
  EXPECT_EQ(vlcd::Describe(module), "16x2 HD44780 with ROM A02");
  struct Case {
    const char* text;
    const char* problem;  // "" when read
    int columns;
  };
  for (const Case& c : {Case{"rows=1  columns=8", "", 8},
                        {"", "", 16},
                        {"columns=40 colour=red", "'colour=red' is not a module setting", 16},
                        {"columns", "'columns' is not a module setting", 16},
                        {"columns=16 columns=40", "columns is given twice", 16},
                        {"columns=40 rows=256", "rows: '256' is out of range (1 to 255)", 16},
                        {"rows=0", "rows: '0' is out of range (1 to 255)", 16},
                        {"columns=40 chip=",
                         "chip: '' is not a chip (HD66712 or HD44780, in "
                         "capitals)",
                         16}}) {
    vlcd::Module read = module;
    EXPECT_EQ(vlcd::ReadSettingsText(c.text, &read).value_or(""), c.problem) << c.text;
    EXPECT_EQ(read.columns, c.columns) << c.text;
    EXPECT_EQ(read.rom, vlcd::CharacterRom::A02) << c.text;
  }
}

TEST(ModuleSettingsTest, EverySizeIsDrawnOrRefusedWithAReason) {
  for (const auto& [columns, rows, drawn] :
       {std::tuple{0, 0, true}, {255, 1, true}, {1, 255, true}, {80, 4, true}, {255, 255, false}}) {
    vlcd::Screen screen;
    screen.module.columns = columns;
    screen.module.rows = rows;
    std::string refused;
    const vlcd::Image image = vlcd::RenderDots(screen, 4, &refused);
    EXPECT_EQ(refused.empty(), drawn) << columns << "x" << rows << ": " << refused;
    EXPECT_EQ(image.rgb.size(), static_cast<size_t>(3 * image.width * image.height));
    EXPECT_EQ(vlcd::ScreenText(screen).size(), static_cast<size_t>(rows * (columns + 1)));
  }
}

// The window keeps the saved scale while 1600 pixels hold the screen (66
// columns are 399 dots across) and shrinks beyond, never below a pixel a dot.
TEST(ModuleSettingsTest, WindowsShrinkOnlyScreensTooWideToFit) {
  for (const auto& [columns, scale] : {std::pair{20, 4}, {66, 4}, {67, 3}, {255, 1}}) {
    EXPECT_EQ(vlcd::WindowScale(columns), scale) << columns << " columns";
  }
}

TEST(ModuleSettingsTest, BytesAreNamedByWhatTheControllerDoesWithThem) {
  vlcd::Controller hd44780;
  hd44780.chip = vlcd::Chip::HD44780;
  vlcd::Controller cgram = hd44780;
  cgram.address_in_cgram = true;
  cgram.address = 0x0A;
  vlcd::Controller extended;
  extended.chip = vlcd::Chip::HD66712;
  extended.extension = true;
  const std::tuple<const vlcd::Controller*, bool, uint8_t, const char*> cases[] = {
      {&hd44780, false, 0xD4, "set DDRAM address 0x54"},
      {&hd44780, false, 0x48, "set CGRAM address 0x08"},
      {&hd44780, false, 0x0E, "display on, cursor on, blink off"},
      {&hd44780, false, 0x07, "entry mode: address increments, display shifts"},
      {&hd44780, false, 0x1C, "shift display right"},
      {&hd44780, false, 0x34, "function set: 8-bit, 1 line, 5x10 dots"},
      {&hd44780, true, 0x08, "data 0x08 (glyph 1)"},
      {&hd44780, true, 0xDF, "data '°'"},
      {&cgram, true, 0x1F, "glyph 2 row 2 = 0x1F"},
      {&extended, false, 0x08, "extended function set: 4-line mode off"},
      {&extended, false, 0x83, "set scroll quantity 3"},
  };
  for (const auto& [controller, data, byte, meaning] : cases) {
    EXPECT_EQ(vlcd::ByteMeaning(*controller, data, byte), meaning) << int{byte};
  }
}

// Every setting has its variable, named from the setting, and the places
// that list the variables for users list it.
TEST(ModuleSettingsTest, EverySettingsVariableIsDerivedAndListed) {
  EXPECT_EQ(EnvironmentName("columns"), "HD_VLCD_COLUMNS");
  EXPECT_EQ(EnvironmentName("cursor-blink-ms"), "HD_VLCD_CURSOR_BLINK_MS");
  std::ostringstream readme;
  readme << std::ifstream(std::string(SOURCE_FOLDER) + "/README.md").rdbuf();
  ASSERT_FALSE(readme.str().empty());
  for (const vlcd::ModuleSetting& setting : vlcd::ModuleSettings()) {
    EXPECT_NE(readme.str().find(EnvironmentName(setting.name)), std::string::npos)
        << "README.md does not list " << EnvironmentName(setting.name);
  }
}

}  // namespace

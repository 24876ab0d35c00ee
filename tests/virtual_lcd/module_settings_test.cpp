// The settings of a virtual module as lcd_host and the port library read
// them, and the page that lists them for users.
#include "module_settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "module_environment.h"

namespace {

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

// Every setting has its variable, named from the setting, and the page that
// lists the variables and cables for users lists it, and every cable.
TEST(ModuleSettingsTest, EverySettingsVariableAndCableIsDerivedAndListed) {
  EXPECT_EQ(EnvironmentName("columns"), "HD_VLCD_COLUMNS");
  EXPECT_EQ(EnvironmentName("cursor-blink-ms"), "HD_VLCD_CURSOR_BLINK_MS");
  std::ostringstream page;
  page << std::ifstream(std::string(SOURCE_FOLDER) + "/docs/virtual-lcd.md").rdbuf();
  ASSERT_FALSE(page.str().empty());
  for (const vlcd::ModuleSetting& setting : vlcd::ModuleSettings()) {
    EXPECT_NE(page.str().find(EnvironmentName(setting.name)), std::string::npos)
        << "docs/virtual-lcd.md does not list " << EnvironmentName(setting.name);
  }
  for (const vlcd::NamedCable& cable : vlcd::Cables()) {
    EXPECT_NE(page.str().find(std::string("| `") + cable.name + "` |"), std::string::npos)
        << "docs/virtual-lcd.md does not list the cable " << cable.name;
  }
}

}  // namespace

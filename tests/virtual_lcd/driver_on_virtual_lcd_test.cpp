// The driver, in-process on virtual time, driving the virtual LCD: what a
// module would show after each kind of session.
#include <gtest/gtest.h>

#include <filesystem>

#include "displaydll.h"
#include "driver_fixture.h"
#include "fake_port_libraries.h"
#include "replay_writes.h"
#include "screen.h"
#include "stb_image.h"
#include "virtual_lcd.h"

namespace {

using Rows = std::vector<std::string>;

class DriverOnVirtualLcdTest : public DriverTest {
 protected:
  static Rows ScreenRows(const vlcd::VirtualLcd& lcd) {
    Rows rows;
    const std::string text = vlcd::ScreenText(vlcd::ScreenNow(lcd));
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
      rows.push_back(text.substr(start, end - start));
    }
    return rows;
  }
};

struct PowerUpCase {
  vlcd::Chip chip;
  const char* parameters;
  int rows;
};

// gtest would otherwise print the case's raw bytes, padding included.
void PrintTo(const PowerUpCase& c, std::ostream* out) { *out << c.parameters << " " << c.rows; }

class PowerUpOnVirtualLcdTest : public DriverOnVirtualLcdTest,
                                public ::testing::WithParamInterface<PowerUpCase> {};

TEST_P(PowerUpOnVirtualLcdTest, LeavesABlankScreenWithTheCursorHiddenAndNoViolation) {
  const PowerUpCase& c = GetParam();
  Init(16, c.rows, c.parameters);
  const vlcd::VirtualLcd lcd = ReplayWrites(c.chip, 16, c.rows);
  EXPECT_TRUE(lcd.controller.display_on);
  EXPECT_FALSE(lcd.controller.cursor_on);
  EXPECT_FALSE(lcd.controller.blink_on);
  EXPECT_EQ(lcd.controller.address, 0);
  EXPECT_EQ(ScreenRows(lcd), Rows(static_cast<size_t>(c.rows), std::string(16, ' ')));
  EXPECT_TRUE(lcd.findings.violations.empty()) << lcd.findings.violations.front().description;
}

INSTANTIATE_TEST_SUITE_P(BothChips, PowerUpOnVirtualLcdTest,
                         ::testing::Values(PowerUpCase{vlcd::Chip::HD66712, "LPT1,HD66712", 1},
                                           PowerUpCase{vlcd::Chip::HD66712, "LPT1,HD66712", 2},
                                           PowerUpCase{vlcd::Chip::HD66712, "LPT1,HD66712", 4},
                                           PowerUpCase{vlcd::Chip::HD44780, "LPT1,HD44780", 1},
                                           PowerUpCase{vlcd::Chip::HD44780, "LPT1,HD44780", 2},
                                           PowerUpCase{vlcd::Chip::HD44780, "LPT1,HD44780", 4}));

const char kFullScreen[] =
    "First row: 20 chars."
    "Second row, 20 chars"
    "Third row, 20 chars!"
    "Fourth and last row.";
const Rows kFullScreenRows = {"First row: 20 chars.", "Second row, 20 chars",
                              "Third row, 20 chars!", "Fourth and last row."};

TEST_F(DriverOnVirtualLcdTest, FullScreenShowsItsRowsInOrderOnBothChips) {
  for (auto [chip, parameters] : {std::pair{vlcd::Chip::HD66712, "LPT1,HD66712"},
                                  std::pair{vlcd::Chip::HD44780, "LPT1,HD44780"}}) {
    fake_ports::state.writes.clear();
    Init(20, 4, parameters);
    DISPLAYDLL_SetPosition(1, 1);
    DISPLAYDLL_Write(kFullScreen);
    const vlcd::VirtualLcd lcd = ReplayWrites(chip, 20, 4);
    EXPECT_EQ(ScreenRows(lcd), kFullScreenRows) << parameters;
    EXPECT_TRUE(lcd.findings.violations.empty());
    if (chip == vlcd::Chip::HD66712) {
      // Four-line mode: the rows lie 0x20 apart in display memory.
      EXPECT_EQ(lcd.controller.ddram[0x20], 'S');
      EXPECT_EQ(lcd.controller.ddram[0x60], 'F');
    }
  }
}

TEST_F(DriverOnVirtualLcdTest, MismatchedChipSettingShowsRowsWhereARealModuleWould) {
  // An HD66712 module driven as an HD44780 never enters 4-line mode: it
  // shows the first two memory lines and leaves rows 2 and 3 dark.
  Init(20, 4, "LPT1,HD44780");
  DISPLAYDLL_SetPosition(1, 1);
  DISPLAYDLL_Write(kFullScreen);
  EXPECT_EQ(ScreenRows(ReplayWrites(vlcd::Chip::HD66712, 20, 4)),
            (Rows{"First row: 20 chars.", "Second row, 20 chars", std::string(20, ' '),
                  std::string(20, ' ')}));
  // An HD44780 module driven as an HD66712 takes 0x3C as a 5x10 function set
  // and 0x09 as display control. The last row, sent to 0x60, runs past the
  // end of the second memory line into the first row.
  fake_ports::state.writes.clear();
  Init(20, 4, "LPT1,HD66712");
  DISPLAYDLL_SetPosition(1, 1);
  DISPLAYDLL_Write(kFullScreen);
  const Rows shown = ScreenRows(ReplayWrites(vlcd::Chip::HD44780, 20, 4));
  EXPECT_EQ(shown[0], "nd last row.0 chars.");
  EXPECT_NE(shown[2], kFullScreenRows[2]);
  EXPECT_NE(shown[3], kFullScreenRows[3]);
}

TEST_F(DriverOnVirtualLcdTest, GlyphsShowAtTheCodesTheDriverReturns) {
  Init(8, 2, "LPT1,HD44780");
  const uint8_t full[8] = {0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F};
  const uint8_t frame[8] = {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F, 0x00};
  DISPLAYDLL_CustomChar(8, frame);
  DISPLAYDLL_CustomChar(1, full);
  // Without a position the controller's address is still in the character
  // generator: this text changes glyph 2's first row instead of the screen.
  DISPLAYDLL_Write("\x15");
  vlcd::VirtualLcd lcd = ReplayWrites(vlcd::Chip::HD44780, 8, 2);
  EXPECT_EQ(ScreenRows(lcd), (Rows{std::string(8, ' '), std::string(8, ' ')}));
  EXPECT_EQ(lcd.controller.cgram[8], 0x15);
  DISPLAYDLL_SetPosition(1, 1);
  const char text[] = {static_cast<char>(DISPLAYDLL_CustomCharIndex(1)), 'x',
                       static_cast<char>(DISPLAYDLL_CustomCharIndex(8)), '\0'};
  DISPLAYDLL_Write(text);
  lcd = ReplayWrites(vlcd::Chip::HD44780, 8, 2);
  EXPECT_EQ(vlcd::ScreenCodes(vlcd::ScreenNow(lcd))[0][0], 8);
  EXPECT_EQ(vlcd::ScreenCodes(vlcd::ScreenNow(lcd))[0][2], 7);
  EXPECT_EQ(ScreenRows(lcd)[0], "█x▒     ");
}

TEST_F(DriverOnVirtualLcdTest, PngDecodesToTheDotMatrixSize) {
  Init(16, 2, "LPT1,HD44780");
  DISPLAYDLL_SetPosition(1, 1);
  DISPLAYDLL_Write("PNG");
  const vlcd::VirtualLcd lcd = ReplayWrites(vlcd::Chip::HD44780, 16, 2);
  std::string refused;
  ASSERT_TRUE(vlcd::WritePng(vlcd::RenderDots(vlcd::ScreenNow(lcd), 2, &refused), "screen.png"))
      << refused;
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load("screen.png", &width, &height, &channels, 3);
  ASSERT_NE(pixels, nullptr);
  // 16 cells of 5 dots a dot apart, 2 rows of 8, a 2-dot margin, 2x scale.
  EXPECT_EQ(width, (2 * 2 + 16 * 6 - 1) * 2);
  EXPECT_EQ(height, (2 * 2 + 2 * 9 - 1) * 2);
  // The top-left dot of 'P' is lit, the one left of it is margin.
  const auto dot = [&](int x, int y) { return pixels[3 * ((y * 2) * width + x * 2)]; };
  EXPECT_LT(dot(2, 2), dot(1, 2));
  stbi_image_free(pixels);
}

}  // namespace

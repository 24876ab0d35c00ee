// The screen as it is drawn and saved: every size drawn or refused with a
// reason, the window's scale, and where the files go.
#include "screen.h"

#include <gtest/gtest.h>

#include <tuple>

#include "report.h"

namespace {

TEST(ScreenTest, EverySizeIsDrawnOrRefusedWithAReason) {
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
TEST(ScreenTest, WindowsShrinkOnlyScreensTooWideToFit) {
  for (const auto& [columns, scale] : {std::pair{20, 4}, {66, 4}, {67, 3}, {255, 1}}) {
    EXPECT_EQ(vlcd::WindowScale(columns), scale) << columns << " columns";
  }
}

// Where screens go when the output names a folder, made yet or not.
TEST(ScreenTest, AFolderGetsTheDefaultNameInIt) {
  EXPECT_EQ(vlcd::ScreenPrefixFor(""), "virtual_lcd");
  EXPECT_EQ(vlcd::ScreenPrefixFor("not_made_yet/"), "not_made_yet/virtual_lcd");
  EXPECT_EQ(vlcd::ScreenPrefixFor("not_made_yet\\"), "not_made_yet\\virtual_lcd");
  EXPECT_EQ(vlcd::ScreenPrefixFor("."), "./virtual_lcd");
  EXPECT_EQ(vlcd::ScreenPrefixFor("shot"), "shot");
}

}  // namespace

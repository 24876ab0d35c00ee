// The unmodified module driving the virtual LCD port library that the
// platform loader hands it under the name "inpout32.dll".
#include <gtest/gtest.h>

#include "module_fixture.h"
#include "stb_image.h"
#include "virtual_lcd_port.h"

namespace {

using VirtualLcdModuleTest = ModuleTest;

TEST_F(VirtualLcdModuleTest, DriverPutsTextAndGlyphsOnTheVirtualLcd) {
  const std::string path = (scratch_->home() / VIRTUAL_PORT_LIBRARY).string();
  platform::LibraryHandle port = platform::LibraryOpen(path.c_str());
  ASSERT_NE(port, nullptr) << path;
  auto configure =
      reinterpret_cast<VirtualLcdConfigureFn>(platform::LibraryFind(port, kVirtualLcdConfigure));
  auto snapshot =
      reinterpret_cast<VirtualLcdSnapshotFn>(platform::LibraryFind(port, kVirtualLcdSnapshot));
  ASSERT_TRUE(configure != nullptr && snapshot != nullptr);
  configure("HD44780", 16, 2, 0x278);

  ASSERT_EQ(Init(16, 2, "LPT2,HD44780"), "HD66712 Display v1.0.4.21");
  const uint8_t block[8] = {0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F};
  driver_.CustomChar(1, block);
  driver_.SetPosition(1, 1);
  driver_.Write(
      "Temp 21\xDF"
      "C");
  driver_.SetPosition(1, 2);
  const char bar[] = {static_cast<char>(driver_.CustomCharIndex(1)), '\0'};
  driver_.Write(bar);

  const std::string report = snapshot("screen");
  EXPECT_NE(report.find("│Temp 21°C       │\n│█               │\n"), std::string::npos) << report;
  EXPECT_NE(report.find(", 0 timing violations\n"), std::string::npos) << report;
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load("screen.png", &width, &height, &channels, 3);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(width, (2 * 2 + 16 * 6 - 1) * 4);
  EXPECT_EQ(height, (2 * 2 + 2 * 9 - 1) * 4);
  stbi_image_free(pixels);

  driver_.Done();
  platform::LibraryClose(port);
}

}  // namespace

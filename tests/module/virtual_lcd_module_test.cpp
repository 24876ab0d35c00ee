// The unmodified module driving the virtual LCD port library that the
// platform loader hands it under the name "inpout32.dll".
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "log_file.h"
#include "module_fixture.h"
#include "stb_image.h"
#include "test_names.h"
#include "virtual_lcd_port.h"

namespace {

namespace fs = std::filesystem;
class VirtualLcdModuleTest : public ModuleTest {
 protected:
  // A host's whole session on the port library as its variables set it up:
  // load it, start the driver on a 20x4 HD66712, write `text`, shut down,
  // unload. Returns what the library said on standard error.
  std::string HostSession(const char* text) {
    const std::string path = (scratch_->home() / VIRTUAL_PORT_LIBRARY).string();
    ::testing::internal::CaptureStderr();
    loader::ModuleHandle port = loader::LoadModule(path);
    if (port == nullptr) {
      ::testing::internal::GetCapturedStderr();
      ADD_FAILURE() << path;
      return "";
    }
    Init(20, 4, "LPT1,HD66712");
    driver_.Write(text);
    driver_.Done();
    loader::UnloadModule(port);
    return ::testing::internal::GetCapturedStderr();
  }
};

void SetVariable(const char* name, const char* value) {
#if defined(_WIN32)
  _putenv_s(name, value);
#else
  setenv(name, value, 1);
#endif
}

// The module's variables for one test, cleared when it ends, however it
// ends (a failed ASSERT returns early), so that no test meets another's.
class Variables {
 public:
  Variables() = default;
  Variables(const Variables&) = delete;
  Variables& operator=(const Variables&) = delete;
  ~Variables() {
    for (const std::string& name : names_) SetVariable(name.c_str(), "");
  }
  void Set(const char* name, const char* value) {
    names_.emplace_back(name);
    SetVariable(name, value);
  }

 private:
  std::vector<std::string> names_;
};

TEST_F(VirtualLcdModuleTest, DriverPutsTextAndGlyphsOnTheVirtualLcd) {
  const std::string path = (scratch_->home() / VIRTUAL_PORT_LIBRARY).string();
  loader::ModuleHandle port = loader::LoadModule(path);
  ASSERT_NE(port, nullptr) << path;
  auto configure = loader::FindEntryAs<VirtualLcdConfigureFn>(port, kVirtualLcdConfigure);
  auto snapshot = loader::FindEntryAs<VirtualLcdSnapshotFn>(port, kVirtualLcdSnapshot);
  ASSERT_TRUE(configure != nullptr && snapshot != nullptr);
  // Out-of-range settings are refused, not guessed at.
  EXPECT_EQ(configure("columns=256 rows=2 chip=HD44780", 0x278, 0), 0);
  EXPECT_EQ(configure("columns=16 rows=2 chip=hd44780", 0x278, 0), 0);
  EXPECT_EQ(configure("columns=16 rows=2 chip=HD44780 rom=a02", 0x278, 0), 0);
  EXPECT_EQ(configure(nullptr, 0x278, 0), 0);
  EXPECT_EQ(configure("columns=16 rows=2 chip=HD44780", 0x10000, 0), 0);
  // A refusal says why, so that a host can show it.
  auto refusal = loader::FindEntryAs<VirtualLcdRefusalFn>(port, kVirtualLcdRefusal);
  ASSERT_NE(refusal, nullptr);
  EXPECT_EQ(configure("columns=16 columns=40", 0x278, 0), 0);
  EXPECT_STREQ(refusal(), "columns is given twice");
  ASSERT_EQ(configure("columns=16 rows=2 chip=HD44780 rom=A00", 0x278, 0), 1);
  EXPECT_EQ(refusal(), nullptr);

  ASSERT_EQ(Init(16, 2, "LPT2,HD44780"), kDriverName);
  const uint8_t block[8] = {0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F};
  driver_.CustomChar(1, block);
  driver_.SetPosition(1, 1);
  driver_.Write(
      "Temp 21\xDF"
      "C");
  driver_.SetPosition(1, 2);
  const char bar[] = {static_cast<char>(driver_.CustomCharIndex(1)), '\0'};
  driver_.Write(bar);

  int saved = 0;
  const std::string report = snapshot("screen", &saved);
  EXPECT_EQ(saved, 1);
  EXPECT_NE(report.find("│Temp 21°C       │\n│█               │\n"), std::string::npos) << report;
  EXPECT_NE(report.find(", 0 timing violations\n"), std::string::npos) << report;
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load("screen.png", &width, &height, &channels, 3);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(width, (2 * 2 + 16 * 6 - 1) * 4);
  EXPECT_EQ(height, (2 * 2 + 2 * 9 - 1) * 4);
  stbi_image_free(pixels);
  // A folder that does not exist: the failure is reported, not hidden.
  snapshot("no/such/folder/screen", &saved);
  EXPECT_EQ(saved, 0);
  // A prefix that names no file is refused with its reason, never saved as
  // hidden files.
  fs::create_directory("shots");
  for (const char* prefix : {static_cast<const char*>(nullptr), "", "shots/", "shots"}) {
    saved = 7;
    const std::string refused = snapshot(prefix, &saved);
    EXPECT_EQ(saved, 0) << (prefix ? prefix : "null");
    EXPECT_NE(refused.find("\nNo screen saved: "), std::string::npos) << refused;
  }
  EXPECT_FALSE(fs::exists(".txt") || fs::exists("shots/.txt") || fs::exists("shots/.png"));

  // After DISPLAYDLL_Done the module is blank: a snapshot shows what the
  // host last showed, and says so.
  driver_.Done();
  const std::string after = snapshot("after_done", &saved);
  EXPECT_NE(after.find("│Temp 21°C       │"), std::string::npos) << after;
  EXPECT_NE(after.find("DISPLAYDLL_Done clears the module"), std::string::npos) << after;
  loader::UnloadModule(port);
}

// Bad variables under a host that is not ours: reported, defaults used, and
// unloading the library still writes the screen and ends nothing.
TEST_F(VirtualLcdModuleTest, BadVariablesFallBackToDefaultsAndTheHostLivesOn) {
  Variables variables;
  variables.Set("HD_VLCD_COLUMNS", "-1");
  variables.Set("HD_VLCD_ROWS", "99999999999999999999");
  variables.Set("HD_VLCD_CHIP", "hd44780");
  variables.Set("HD_VLCD_ROM", "a02");
  variables.Set("HD_VLCD_PORT", "0x37g");
  variables.Set("HD_VLCD_OUTPUT", "unloaded");
  variables.Set("HD_VLCD_TRACE", "yes");
  const std::string complaints = HostSession("still here");
  for (const char* name : {"HD_VLCD_COLUMNS", "HD_VLCD_ROWS", "HD_VLCD_CHIP", "HD_VLCD_ROM",
                           "HD_VLCD_PORT", "HD_VLCD_TRACE"}) {
    EXPECT_NE(complaints.find(name), std::string::npos) << complaints;
  }
  // Defaults are shown as the variable is written.
  EXPECT_NE(complaints.find("'0x37g': its hexadecimal digits stop at 'g'; a port address is 0x "
                            "and its hexadecimal digits: 0x378 for LPT1, 0x278 for LPT2, or the "
                            "address Device Manager (Windows) or /proc/sys/dev/parport/*/base-addr "
                            "(Linux) gives; using 0x378\n"),
            std::string::npos)
      << complaints;
  // A simulator under a port library's name says so, once, with where the screen goes.
  const std::string notice = "this is a simulator, not a port library";
  const size_t said = complaints.find(notice);
  EXPECT_NE(said, std::string::npos) << complaints;
  EXPECT_EQ(complaints.find(notice, said + 1), std::string::npos) << complaints;
  const std::string where = (fs::current_path() / "unloaded").lexically_normal().string();
  EXPECT_NE(complaints.find("The screen is written to " + where + ".txt and .png"),
            std::string::npos)
      << complaints;
  EXPECT_NE(complaints.find("To drive the real port again, delete "), std::string::npos)
      << complaints;
  // The defaults, a 20x4 HD66712, as the host left it before DISPLAYDLL_Done
  // cleared it.
  const std::string screen = ReadFileBytes("unloaded.txt");
  EXPECT_NE(screen.find("│still here          │\n"), std::string::npos) << screen;
  EXPECT_NE(screen.find("ROM A00: "), std::string::npos) << screen;
  EXPECT_NE(screen.find("DISPLAYDLL_Done clears the module"), std::string::npos) << screen;
  EXPECT_TRUE(fs::exists("unloaded.png"));
  EXPECT_FALSE(fs::exists("unloaded-trace.txt"));  // the trace's default is off
}

// A module with the European ROM shows the host's bytes as its letters.
TEST_F(VirtualLcdModuleTest, TheEuropeanRomIsChosenByItsVariable) {
  Variables variables;
  variables.Set("HD_VLCD_ROM", "A02");
  variables.Set("HD_VLCD_OUTPUT", "european");
  variables.Set("HD_VLCD_TRACE", "1");
  HostSession("caf\xE9 21\xB0");
  const std::string screen = ReadFileBytes("european.txt");
  EXPECT_NE(screen.find("│café 21°"), std::string::npos) << screen;
  EXPECT_NE(screen.find("ROM A02: "), std::string::npos) << screen;
  // HD_VLCD_TRACE=1 lists the bytes beside the screen.
  const std::string trace = ReadFileBytes("european-trace.txt");
  EXPECT_NE(trace.find("data        0xE9  +"), std::string::npos) << trace;
}

// A folder, however it is written, gets the default name in it, never a
// hidden file of its own name.
TEST_F(VirtualLcdModuleTest, AFolderAsTheOutputGetsTheDefaultNameInIt) {
  Variables variables;
  fs::create_directory("shots");
  for (const char* output : {"shots", "shots/", "."}) {
    variables.Set("HD_VLCD_OUTPUT", output);
    HostSession(output);
    const std::string saved = (fs::path(output) / "virtual_lcd.txt").string();
    const std::string screen = ReadFileBytes(saved);
    EXPECT_NE(screen.find(std::string("│") + output), std::string::npos) << output << screen;
    fs::remove(saved);
  }
  EXPECT_FALSE(fs::exists("shots.txt"));
  EXPECT_FALSE(fs::exists("shots/.txt"));
  EXPECT_FALSE(fs::exists("..txt"));
  // Where nothing can be written, the host's user hears it when the library
  // starts, not after the host has gone.
  variables.Set("HD_VLCD_OUTPUT", "no/such/folder/x");
  const std::string complaints = HostSession("lost");
  const size_t said = complaints.find("HD_VLCD_OUTPUT=no/such/folder/x: cannot write in ");
  EXPECT_NE(said, std::string::npos) << complaints;
  EXPECT_LT(said, complaints.find("To drive the real port again")) << complaints;
}

}  // namespace

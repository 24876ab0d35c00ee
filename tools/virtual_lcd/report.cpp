#include "report.h"

#include <cstdio>

#include "screen.h"

namespace vlcd {

namespace {
constexpr int kPngScale = 4;
constexpr size_t kViolationsListed = 20;
}  // namespace

std::string Report(const VirtualLcd& lcd) {
  std::string report = FramedScreen(lcd) + Summary(lcd) + "\n";
  for (size_t i = 0; i < lcd.violations.size() && i < kViolationsListed; ++i) {
    report += "  " + lcd.violations[i].description + "\n";
  }
  if (lcd.violations.size() > kViolationsListed) report += "  ...\n";
  return report;
}

std::string SaveScreen(const VirtualLcd& lcd, const std::string& prefix) {
  std::string report = Report(lcd);
  const std::string text_path = prefix + ".txt";
  const std::string png_path = prefix + ".png";
  std::FILE* file = std::fopen(text_path.c_str(), "wb");
  const bool text_saved = file != nullptr && std::fputs(report.c_str(), file) >= 0;
  if (file != nullptr) std::fclose(file);
  const bool png_saved = WritePng(RenderDots(lcd, kPngScale), png_path);
  report += text_saved && png_saved ? "Screen written to " + text_path + " and " + png_path + "\n"
                                    : "Could not write " + text_path + " or " + png_path + "\n";
  return report;
}

}  // namespace vlcd

#include "report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "screen.h"

namespace vlcd {

namespace {
constexpr size_t kViolationsListed = 20;
}  // namespace

std::string Report(const VirtualLcd& lcd) {
  std::string report = FramedScreen(lcd) + Summary(lcd) + "\n" + Notes(lcd);
  for (size_t i = 0; i < lcd.violations.size() && i < kViolationsListed; ++i) {
    report += "  " + lcd.violations[i].description + "\n";
  }
  if (lcd.traffic.violation_count > static_cast<int64_t>(kViolationsListed)) report += "  ...\n";
  return report;
}

SavedScreen SaveScreen(const VirtualLcd& lcd, const std::string& prefix) {
  SavedScreen saved{prefix + ".txt", prefix + ".png", {}};
  std::FILE* file = std::fopen(saved.text_path.c_str(), "wb");
  if (file == nullptr) {
    saved.problems.push_back("Could not write " + saved.text_path + ": " + std::strerror(errno));
  } else {
    const bool written = std::fputs(Report(lcd).c_str(), file) >= 0;
    if (std::fclose(file) != 0 || !written) {
      saved.problems.push_back("Could not write " + saved.text_path + ": " + std::strerror(errno));
    }
  }
  std::string refused;
  const Image image = RenderDots(lcd, kPictureScale, &refused);
  if (!refused.empty()) {
    saved.problems.push_back("No " + saved.png_path + ": " + refused);
  } else {
    errno = 0;
    if (!WritePng(image, saved.png_path)) {
      saved.problems.push_back("Could not write " + saved.png_path + ": " +
                               (errno != 0 ? std::strerror(errno) : "the image encoder failed"));
    }
  }
  return saved;
}

std::string SavedLines(const SavedScreen& saved) {
  if (saved.problems.empty()) {
    return "Screen written to " + saved.text_path + " and " + saved.png_path + "\n";
  }
  std::string lines;
  for (const std::string& problem : saved.problems) lines += problem + "\n";
  return lines;
}

std::string TraceLines(const VirtualLcd& lcd, size_t from) {
  std::string lines;
  for (size_t i = from; i < lcd.latched.size(); ++i) {
    const LatchedByte& byte = lcd.latched[i];
    const int64_t previous_ns = i == 0 ? lcd.traffic.first_write_ns : lcd.latched[i - 1].ns;
    char head[64];
    std::snprintf(head, sizeof head, "%7zu  %-11s 0x%02X  +%9.3f ms  ", i + 1,
                  byte.data ? "data" : "instruction", byte.value, (byte.ns - previous_ns) / 1e6);
    lines += head + byte.meaning;
    if (!byte.violations.empty()) lines += "  !! " + byte.violations;
    lines += '\n';
  }
  return lines;
}

std::string ScreenPrefixFor(const std::string& given) {
  const char last = given.empty() ? '/' : given.back();
  if (last == '/' || last == '\\') return given + kDefaultScreenPrefix;
  std::error_code unknown;
  if (given == "." || given == ".." || std::filesystem::is_directory(given, unknown)) {
    return given + "/" + kDefaultScreenPrefix;
  }
  return given;
}

}  // namespace vlcd

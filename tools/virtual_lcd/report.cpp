#include "report.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "screen.h"

namespace vlcd {

namespace {
constexpr size_t kViolationsListed = 20;
}  // namespace

std::string Report(const VirtualLcd& lcd, const Screen& shown) {
  std::string report = FramedScreen(shown) + Summary(lcd.module, AllTraffic(lcd)) + "\n";
  if (shown.before_final_clear) {
    report += lcd.driver == Driver::DisplayDll
                  ? "This is the screen before the last byte, a clear display: the driver "
                    "cleared the module as it shut down (as DISPLAYDLL_Done clears the module), "
                    "so the module itself is now blank.\n"
                  : "This is the screen before the last byte, a clear display: the program "
                    "cleared the module as it ended, so the module itself is now blank.\n";
  }
  int row = 0;
  int column = 0;
  if (shown.controller.blink_on && CursorCell(shown, &row, &column)) {
    report += std::string(
                  "The cursor blinks on the module, a block and the character under it "
                  "taking turns every 0.38 s; the picture shows the ") +
              (shown.blink_block ? "block" : "character") + ".\n";
  }
  report += Notes(lcd);
  const std::vector<Violation>& violations = lcd.findings.violations;
  for (size_t i = 0; i < violations.size() && i < kViolationsListed; ++i) {
    report += "  " + violations[i].description + "\n";
  }
  if (lcd.traffic.violation_count > static_cast<int64_t>(kViolationsListed)) report += "  ...\n";
  std::array<int64_t, kRules> by_rule = lcd.findings.by_rule;
  for (const VirtualLcd& second : lcd.lower) {
    for (size_t i = 0; i < second.findings.violations.size() && i < kViolationsListed; ++i) {
      report += "  second controller: " + second.findings.violations[i].description + "\n";
    }
    for (size_t rule = 0; rule < kRules; ++rule) by_rule[rule] += second.findings.by_rule[rule];
  }
  // Every one counted, whether listed above or not.
  if (AllTraffic(lcd).violation_count > 0) report += "By rule:\n";
  for (size_t rule = 0; rule < kRules; ++rule) {
    const int64_t count = by_rule[rule];
    if (count == 0) continue;
    report += "    " + std::string(RuleText(static_cast<Rule>(rule))) + ": " +
              std::to_string(count) + "\n";
  }
  return report;
}

Problem CheckScreenPrefix(const std::string& prefix) {
  namespace fs = std::filesystem;
  if (prefix.empty()) return "an empty prefix names no file";
  const char last = prefix.back();
  std::error_code ignored;
  if (last == '/' || last == '\\' || fs::is_directory(prefix, ignored)) {
    return "'" + prefix + "' is a folder; give a file prefix in it, such as " +
           (fs::path(prefix) / "screen").string();
  }
  const fs::file_status status = fs::status(prefix, ignored);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    return "'" + prefix + "' is a device, not a file prefix: screens would be written to " +
           prefix + ".txt and " + prefix + ".png; give a file prefix";
  }
  return std::nullopt;
}

Problem CheckScreenWritable(const std::string& prefix) {
  const std::string probe = prefix + ".lcd_host-write-check";
  std::error_code ignored;
  if (std::filesystem::exists(probe, ignored)) return std::nullopt;  // not ours to replace
  std::FILE* file = std::fopen(probe.c_str(), "wb");
  if (file == nullptr) {
    const std::filesystem::path folder = std::filesystem::path(prefix).parent_path();
    return "cannot write in " +
           (folder.empty() ? std::string("the current folder") : folder.string()) + " (" +
           std::strerror(errno) + "), so no screen could be saved";
  }
  std::fclose(file);
  std::filesystem::remove(probe, ignored);
  return std::nullopt;
}

SavedScreen SaveScreen(const VirtualLcd& lcd, const Screen& shown, const std::string& prefix) {
  SavedScreen saved{prefix + ".txt", prefix + ".png", {}};
  if (const Problem refused = CheckScreenPrefix(prefix)) {
    saved.problems.push_back("No screen saved: " + *refused);
    return saved;
  }
  std::FILE* file = std::fopen(saved.text_path.c_str(), "wb");
  if (file == nullptr) {
    saved.problems.push_back("Could not write " + saved.text_path + ": " + std::strerror(errno));
  } else {
    const bool written = std::fputs(Report(lcd, shown).c_str(), file) >= 0;
    if (std::fclose(file) != 0 || !written) {
      saved.problems.push_back("Could not write " + saved.text_path + ": " + std::strerror(errno));
    }
  }
  std::string refused;
  const Image image = RenderDots(shown, kPictureScale, &refused);
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
  const std::vector<LatchedByte>& latched = lcd.findings.latched;
  for (size_t i = from; i < latched.size(); ++i) {
    const LatchedByte& byte = latched[i];
    const int64_t previous_ns = i == 0 ? lcd.traffic.first_write_ns : latched[i - 1].ns;
    char head[64];
    std::snprintf(head, sizeof head, "%7zu  %-11s 0x%02X  +%9.3f ms  ", i + 1,
                  byte.data ? "data" : "instruction", byte.value, (byte.ns - previous_ns) / 1e6);
    lines += head + byte.meaning;
    if (!byte.violations.empty()) lines += "  !! " + byte.violations;
    lines += '\n';
  }
  if (lcd.findings.latched_not_kept > 0) {
    lines += "  ... and " + std::to_string(lcd.findings.latched_not_kept) +
             " more bytes latched, not kept: a trace keeps the first " +
             std::to_string(kLatchedKept) + "\n";
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

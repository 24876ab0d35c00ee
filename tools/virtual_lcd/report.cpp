#include "report.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "module_settings.h"
#include "port_address.h"
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

std::string Summary(const Module& module, const Traffic& traffic) {
  const double elapsed_ms =
      traffic.first_write_ns < 0 ? 0.0 : (traffic.last_write_ns - traffic.first_write_ns) / 1e6;
  char text[200];
  std::snprintf(
      text, sizeof text,
      "ROM %s: %lld bytes (%lld instructions, %lld data) in %.2f ms, %lld timing "
      "violations",
      RomName(module.rom), static_cast<long long>(traffic.instructions + traffic.data_bytes),
      static_cast<long long>(traffic.instructions), static_cast<long long>(traffic.data_bytes),
      elapsed_ms, static_cast<long long>(traffic.violation_count));
  return text;
}

namespace {

// The chip setting a driver needs for this module: an HD66712's 4-line mode
// only on a 4-row HD66712; on 1 or 2 rows the HD44780 layout, whatever the
// controller, since the HD66712's puts rows 32 cells apart.
Chip SettingThatSuits(const Module& module) {
  if (module.rows <= 2) return Chip::HD44780;
  return module.chip;
}

std::string ChipNote(const VirtualLcd& lcd) {
  // One row is shown alike whichever layout the driver chose.
  if (lcd.traffic.function_sets == 0 || lcd.module.rows < 2 || lcd.module.columns < 1) return "";
  const Chip used = lcd.traffic.extension_function_sets > 0 ? Chip::HD66712 : Chip::HD44780;
  const Chip suits = SettingThatSuits(lcd.module);
  if (used == suits) return "";
  const std::string suits_name = ChipName(suits);
  const char* evidence = used == Chip::HD66712
                             ? "it sent function set 0x3C, the HD66712's extension register"
                             : "it never used the HD66712's extension register";
  // A program's user chose the module, not the program's controller: the
  // module that suits the program is the one to simulate.
  const std::string fix = lcd.driver == Driver::DisplayDll
                              ? "Choose " + suits_name + " in the driver's parameters (" +
                                    ParametersFor(lcd.module.port_base, suits) + ")."
                              : "If the module is an " + std::string(ChipName(used)) +
                                    ", set HD_VLCD_CHIP=" + ChipName(used) + "; if it is an " +
                                    ChipName(lcd.module.chip) + ", set the program up for an " +
                                    suits_name + ".";
  return "The driver set the controller up as an " + std::string(ChipName(used)) + " (" + evidence +
         "), which does not suit a " + std::to_string(lcd.module.columns) + "x" +
         std::to_string(lcd.module.rows) + " " + ChipName(lcd.module.chip) +
         " module: rows after the first land in the wrong place. " + fix + "\n";
}

}  // namespace

std::string Notes(const VirtualLcd& lcd) {
  std::string notes = ChipNote(lcd);
  if (lcd.traffic.port_writes == 0 && !lcd.findings.other_ports.empty()) {
    std::string ports;
    for (uint16_t port : lcd.findings.other_ports) {
      char text[8];
      std::snprintf(text, sizeof text, "0x%X", port);
      ports += (ports.empty() ? "" : "/") + std::string(text);
    }
    char here[8];
    std::snprintf(here, sizeof here, "0x%X", lcd.module.port_base);
    notes += "No byte reached the module: the driver wrote to " + ports +
             "; the virtual module is at " + here +
             ". The port in the driver's parameters decides where it writes.\n";
  }
  const int64_t driver_writes = lcd.traffic.port_writes - lcd.traffic.claim_writes;
  if (driver_writes > 0 &&
      lcd.traffic.instructions + lcd.traffic.data_bytes + lcd.traffic.first_nibbles == 0) {
    notes += "The port's lines changed " + std::to_string(driver_writes) +
             (driver_writes == 1 ? " time" : " times") +
             ", but E (Strobe, pin 1) never rose and fell, so the controller took no "
             "byte: the cable probably differs from this module's, which has E on Strobe, RS "
             "on Initialize (pin 16) and R/W on Auto-feed (pin 14)." +
             (lcd.driver == Driver::PortProgram
                  ? " Wire the program that way: LCDd's ConnectionType winamp, or lcd4linux's "
                    "Wire block with ENABLE 'STROBE', RS 'INIT' and RW 'AUTOFD'."
                  : "") +
             "\n";
  }
  if (lcd.findings.claims_that_broke_rules > 0) {
    const int64_t claims = lcd.findings.claims_that_broke_rules;
    notes +=
        "As it handed the port to a program, the system's port driver set the control "
        "lines itself (" +
        std::to_string(claims) + (claims == 1 ? " time" : " times") +
        "; a program's first claim gets E, R/W and RS high): " + lcd.findings.first_claim_finding +
        ". No program can prevent this, so it is not counted above.\n";
  }
  if (lcd.findings.after_claim_count > 0) {
    notes +=
        "The system's too, not the program's, and not counted above, as the program's first "
        "writes ended the bus cycle that hand-over began (" +
        std::to_string(lcd.findings.after_claim_count) +
        (lcd.findings.after_claim_count == 1 ? " finding): " : " findings): ") +
        lcd.findings.after_claim + ".\n";
  }
  if (NeedsSecondController(lcd.module.columns, lcd.module.rows) && lcd.lower.empty()) {
    notes += "Rows " + std::to_string(kSecondControllerFirstRow + 1) + "-" +
             std::to_string(lcd.module.rows) +
             " belong to the module's second controller, which this driver does not address "
             "(its enable is not wired to the port): they stay blank, and what the driver sends "
             "to them lands in rows 1-2 of the first controller, as this screen shows.\n";
  }
  return notes;
}

}  // namespace vlcd

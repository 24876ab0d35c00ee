// The number, chip and settings readers behind every lcd_host option, every
// HD_VLCD_* variable, the port library's configure entry and every number
// in a script: whatever reads without error prints back as the same value,
// and is within its range.
//
// Input: a form byte, then the text.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_checks.h"
#include "module_settings.h"
#include "number_text.h"
#include "port_address.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const vlcd::NumberForm forms[] = {vlcd::NumberForm::Decimal, vlcd::NumberForm::Address,
                                    vlcd::NumberForm::Hexadecimal};
  const vlcd::NumberForm form = forms[data[0] % 3];
  const long high = data[0] & 0x80 ? vlcd::kMaxPort : vlcd::kMaxSize;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  long value = -1;
  const Problem problem = vlcd::ParseNumber(text, form, 0, high, &value);
  if (!problem) {
    FUZZ_CHECK(value >= 0 && value <= high, "a number read is within its range");
    char printed[32];
    std::snprintf(printed, sizeof printed, form == vlcd::NumberForm::Decimal ? "%ld" : "%lx",
                  value);
    const std::string again =
        form == vlcd::NumberForm::Address ? std::string("0x") + printed : std::string(printed);
    long reread = -1;
    FUZZ_CHECK(!vlcd::ParseNumber(again, form, 0, high, &reread), "printed form reads");
    FUZZ_CHECK(reread == value, "a number read back is the same value");
  } else {
    FUZZ_CHECK(value == -1, "a refused number leaves the value alone");
    // Whole, or its start up to a line's worth: a message is never a flood.
    const std::string quoted = vlcd::Excerpt(text);
    const std::string start = quoted == text ? quoted : quoted.substr(0, quoted.size() - 3);
    FUZZ_CHECK(quoted.size() <= 60 && text.rfind(start, 0) == 0, "an excerpt is the text's start");
    FUZZ_CHECK(problem->find('\'' + quoted + '\'') != std::string::npos,
               "the refusal quotes the text");
  }

  vlcd::Chip chip = vlcd::Chip::HD44780;
  if (!vlcd::ReadChipName(text, &chip)) {
    FUZZ_CHECK(text == vlcd::ChipName(chip), "a chip read prints back as its name");
  }

  vlcd::Module module;
  const std::string defaults = vlcd::SettingsText(module);
  if (vlcd::ReadSettingsText(text, &module)) {
    FUZZ_CHECK(vlcd::SettingsText(module) == defaults, "refused settings change nothing");
  } else {
    vlcd::Module reread;
    reread.columns = 1;
    FUZZ_CHECK(!vlcd::ReadSettingsText(vlcd::SettingsText(module), &reread) &&
                   vlcd::SettingsText(reread) == vlcd::SettingsText(module),
               "settings read print back as the same settings");
  }
  return 0;
}

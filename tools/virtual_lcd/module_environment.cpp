#include "module_environment.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "module_settings.h"

namespace {

void NumberFromEnvironment(const char* name, vlcd::NumberForm form, long high, int* value,
                           const Complaint& complain) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return;
  long number = 0;
  const Problem problem = vlcd::ParseNumber(text, form, 0, high, &number);
  if (!problem) {
    *value = static_cast<int>(number);
    return;
  }
  // The default in the form the variable is written in.
  char shown[16];
  std::snprintf(shown, sizeof shown, form == vlcd::NumberForm::Address ? "0x%X" : "%d", *value);
  complain(std::string(name) + ": " + *problem + "; using " + shown);
}

}  // namespace

vlcd::Module ModuleFromEnvironment(const Complaint& complain) {
  vlcd::Module module;
  if (const char* chip = std::getenv("HD_VLCD_CHIP"); chip != nullptr && *chip != '\0') {
    if (const Problem problem = vlcd::ReadChipName(chip, &module.chip)) {
      complain("HD_VLCD_CHIP: " + *problem + "; using " + vlcd::ChipName(module.chip));
    }
  }
  if (const char* rom = std::getenv("HD_VLCD_ROM"); rom != nullptr && *rom != '\0') {
    if (const Problem problem = vlcd::ReadRomName(rom, &module.rom)) {
      complain("HD_VLCD_ROM: " + *problem + "; using " + vlcd::RomName(module.rom));
    }
  }
  NumberFromEnvironment("HD_VLCD_COLUMNS", vlcd::NumberForm::Decimal, vlcd::kMaxSize,
                        &module.columns, complain);
  NumberFromEnvironment("HD_VLCD_ROWS", vlcd::NumberForm::Decimal, vlcd::kMaxSize, &module.rows,
                        complain);
  int port = module.port_base;
  NumberFromEnvironment("HD_VLCD_PORT", vlcd::NumberForm::Address, vlcd::kMaxPort, &port, complain);
  module.port_base = static_cast<uint16_t>(port);
  if (const Problem warning = vlcd::GeometryWarning(module.columns, module.rows)) {
    complain("warning: " + *warning);
  }
  return module;
}

bool WindowFromEnvironment(bool by_default, const Complaint& complain) {
  const char* text = std::getenv("HD_VLCD_WINDOW");
  if (text == nullptr || *text == '\0') return by_default;
  if (std::strcmp(text, "0") == 0 || std::strcmp(text, "1") == 0) return *text == '1';
  complain(std::string("HD_VLCD_WINDOW: \"") + text + "\" is neither 0 nor 1; using " +
           (by_default ? "1" : "0"));
  return by_default;
}

#include "module_environment.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "module_settings.h"
#include "port_address.h"
#include "report.h"

namespace {

// A variable set but empty is as if not set.
const char* Variable(const std::string& name) {
  const char* text = std::getenv(name.c_str());
  return text != nullptr && *text != '\0' ? text : nullptr;
}

}  // namespace

std::string EnvironmentName(std::string_view setting) {
  std::string name = "HD_VLCD_";
  for (const char c : setting) {
    name += c == '-' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return name;
}

vlcd::Module ModuleFromEnvironment(const Complaint& complain) {
  vlcd::Module module;
  for (const vlcd::ModuleSetting& setting : vlcd::ModuleSettings()) {
    const std::string name = EnvironmentName(setting.name);
    const char* text = Variable(name);
    if (text == nullptr) continue;
    if (const Problem problem = setting.read(text, &module)) {
      complain(name + ": " + *problem + "; using " + setting.show(module));
    }
  }
  if (const char* text = Variable("HD_VLCD_PORT")) {
    if (const Problem problem = vlcd::ReadPortAddress(text, &module.port_base)) {
      char shown[8];
      std::snprintf(shown, sizeof shown, "0x%X", static_cast<unsigned>(module.port_base));
      complain("HD_VLCD_PORT: " + *problem + "; using " + shown);
    }
  }
  if (const Problem warning = vlcd::GeometryWarning(module.columns, module.rows)) {
    complain("warning: " + *warning);
  }
  return module;
}

void SaveToOutputVariable(const vlcd::VirtualLcd& lcd, const Complaint& complain) {
  try {
    const char* output = Variable("HD_VLCD_OUTPUT");
    if (output == nullptr) return;
    const std::string prefix = vlcd::ScreenPrefixFor(output);
    const vlcd::SavedScreen saved = vlcd::SaveScreen(lcd, vlcd::ScreenLastShown(lcd), prefix);
    for (const std::string& problem : saved.problems) complain(problem);
    if (lcd.findings.record_bytes && saved.problems.empty()) {
      const std::string trace_path = prefix + "-trace.txt";
      std::FILE* file = std::fopen(trace_path.c_str(), "wb");
      const bool written =
          file != nullptr && std::fputs(vlcd::TraceLines(lcd, 0).c_str(), file) >= 0;
      if (file == nullptr || std::fclose(file) != 0 || !written) {
        complain("Could not write " + trace_path + ": " + std::strerror(errno));
      }
    }
  } catch (const std::exception& e) {
    complain(std::string("the screen was not saved: ") + e.what());
  } catch (...) {
    complain("the screen was not saved");
  }
}

Problem OutputVariableProblem() {
  const char* output = Variable("HD_VLCD_OUTPUT");
  if (output == nullptr) return std::nullopt;
  const std::string prefix = vlcd::ScreenPrefixFor(output);
  Problem problem = vlcd::CheckScreenPrefix(prefix);
  if (!problem) problem = vlcd::CheckScreenWritable(prefix);
  if (problem) return "HD_VLCD_OUTPUT: " + *problem;
  return std::nullopt;
}

bool FlagFromEnvironment(const char* name, bool by_default, const Complaint& complain) {
  const char* text = Variable(name);
  if (text == nullptr) return by_default;
  if (std::strcmp(text, "0") == 0 || std::strcmp(text, "1") == 0) return *text == '1';
  complain(std::string(name) + ": \"" + text + "\" is neither 0 nor 1; using " +
           (by_default ? "1" : "0"));
  return by_default;
}

#include "port_address.h"

#include <cctype>
#include <cstdio>

#include "module_settings.h"
#include "number_text.h"

namespace vlcd {

namespace {
constexpr char kHexDigits[] = "0123456789abcdefABCDEF";
}  // namespace

Problem ReadPortAddress(const std::string& text, uint16_t* port) {
  long value = 0;
  if (Problem problem = ParseNumber(text, NumberForm::Address, 0, kMaxPort, &value)) {
    if (StartsWithPortName(text)) {
      *problem += "; write the address: " + NamedPorts();
    }
    // 0x, then something other than hexadecimal digits: a port written
    // the right way, wrongly.
    const bool hexadecimal_form = text.rfind("0x", 0) == 0;
    const size_t stop = text.find_first_not_of(kHexDigits, 2);
    if (hexadecimal_form && (text.size() == 2 || stop != std::string::npos)) {
      const std::string why = text.size() == 2 ? "no hexadecimal digit follows 0x"
                                               : "its hexadecimal digits stop at '" +
                                                     Excerpt(text.substr(stop, 1)) + "'";
      return "'" + Excerpt(text) + "': " + why +
             "; a port address is 0x and its hexadecimal digits: " + NamedPorts() +
             ", or the address Device Manager (Windows) or /proc/sys/dev/parport/*/base-addr "
             "(Linux) gives";
    }
    return problem;
  }
  // Port addresses are written in hexadecimal everywhere a user reads them
  // (Device Manager, /proc, data sheets), so digits alone are most often a
  // hexadecimal address without its 0x.
  if (text.rfind("0x", 0) != 0) {
    char both[96];
    std::snprintf(both, sizeof both, "Write 0x%s for hexadecimal, or 0x%lX for decimal %ld",
                  text.c_str(), static_cast<unsigned long>(value), value);
    return "'" + text + "' has no 0x: is it hexadecimal, as port addresses are written? " + both;
  }
  *port = static_cast<uint16_t>(value);
  return std::nullopt;
}

bool StartsWithPortName(const std::string& text) {
  const auto lower = [](char c) { return static_cast<char>(std::tolower(c)); };
  return text.size() >= 3 && lower(text[0]) == 'l' && lower(text[1]) == 'p' &&
         lower(text[2]) == 't';
}

std::string NamedPorts() {
  char text[48];
  std::snprintf(text, sizeof text, "0x%X for LPT1, 0x%X for LPT2", unsigned{kLpt1Port},
                unsigned{kLpt2Port});
  return text;
}

std::string ParametersFor(uint16_t port, Chip chip) {
  const std::string name = ChipName(chip);
  if (port == kLpt1Port) return "LPT1," + name;
  if (port == kLpt2Port) return "LPT2," + name;
  char text[16];
  std::snprintf(text, sizeof text, "0x%X,", static_cast<unsigned>(port));
  return text + name;
}

}  // namespace vlcd

#include "parameter_warnings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "hd66712_parameters.h"
#include "module_settings.h"
#include "port_access.h"
#include "port_address.h"

namespace {

std::string Lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The port word (the text before the first comma) as anything but LPT or
// 0x: the driver reads every such word as LPT1.
Problem PortWordUnknown(const std::string& parameters) {
  const size_t comma = parameters.find(',');
  std::string word = parameters.substr(0, comma);
  if (comma == std::string::npos && EndsWithLog(parameters.c_str())) {
    word.resize(word.size() - 3);
  }
  if (word.empty() || vlcd::StartsWithPortName(word) || word.rfind("0x", 0) == 0 ||
      Lowercase(word.substr(0, 2)) == "hd") {
    return std::nullopt;
  }
  const bool digits = word.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
  return "--params \"" + parameters + "\": the driver reads a port only as LPT1, LPT2 or 0x " +
         "and hexadecimal digits, so it takes \"" + word + "\" as LPT1 and drives " +
         HexAddress(kLpt1Port) + "; " +
         (digits ? "for the address 0x" + word + ", write 0x" + word
                 : "write the port's address (" + vlcd::NamedPorts() + ")");
}

// A chip named after a port with something other than a comma between
// them: the driver finds no comma, so reads no chip.
Problem ChipWithoutComma(const std::string& parameters) {
  if (parameters.find(',') != std::string::npos) return std::nullopt;
  for (const vlcd::Chip chip : {vlcd::Chip::HD66712, vlcd::Chip::HD44780}) {
    const size_t at = parameters.find(vlcd::ChipName(chip));
    if (at == std::string::npos || at == 0) continue;
    // A separator of another kind is replaced; none at all gets one.
    const bool separated = std::isalnum(static_cast<unsigned char>(parameters[at - 1])) == 0;
    return "--params \"" + parameters + "\": the driver looks for the chip after a comma and " +
           "finds none, so it keeps " + vlcd::ChipName(vlcd::Chip{}) +
           ", the chip it starts with; write " + parameters.substr(0, separated ? at - 1 : at) +
           "," + parameters.substr(at);
  }
  return std::nullopt;
}

}  // namespace

// Parameters the driver reads otherwise than a user writing them meant: a
// log asked for anywhere but in the one place the driver looks, and a port
// named in a way it does not know.
std::vector<std::string> ParameterWarnings(const std::string& parameters) {
  std::vector<std::string> warnings;
  const std::string lower = Lowercase(parameters);
  if (lower.find("log") != std::string::npos && !EndsWithLog(parameters.c_str())) {
    warnings.push_back("--params \"" + parameters +
                       "\": the driver logs only when the text ends in exactly \"Log\" "
                       "(capital L, nothing after it), so its log stays off");
  }
  const long number =
      std::strtol(parameters.c_str() + std::min<size_t>(3, parameters.size()), nullptr, 10);
  if (vlcd::StartsWithPortName(parameters) &&
      (parameters.rfind("LPT", 0) != 0 || number < 1 || number > 2)) {
    char drives[8];
    std::snprintf(drives, sizeof drives, "0x%X", ParsePort(parameters.c_str()));
    warnings.push_back("--params \"" + parameters +
                       "\": the driver knows only LPT1 and LPT2, in capitals, and drives " +
                       drives + " here; give the port's address instead (" + vlcd::NamedPorts() +
                       ")");
  }
  if (const Problem unknown = PortWordUnknown(parameters)) warnings.push_back(*unknown);
  if (const Problem separator = ChipWithoutComma(parameters)) warnings.push_back(*separator);
  return warnings;
}

// Parameters that write the port with 0x but not as hexadecimal digits up
// to the comma: the driver reads the digits it finds ("0x3GC" is 0x003,
// "0xZZZ" 0x000) and keeps 16 bits of them, so a typo drives another port.
Problem PortTypo(const std::string& parameters) {
  if (parameters.rfind("0x", 0) != 0) return std::nullopt;
  const size_t end =
      std::min(parameters.find_first_not_of("0123456789abcdefABCDEF", 2), parameters.size());
  const std::string digits = parameters.substr(2, end - 2);
  const size_t first = digits.find_first_not_of('0');
  std::string why;
  if (digits.empty()) {
    why = "no hexadecimal digit follows 0x";
  } else if (end < parameters.size() && parameters[end] != ',' &&
             parameters.compare(end, std::string::npos, "Log") != 0) {
    why = std::string("its hexadecimal digits stop at '") + parameters[end] + "'";
  } else if (first != std::string::npos && digits.size() - first > 4) {
    why = "0x" + digits + " is wider than a port address (16 bits)";
  } else {
    return std::nullopt;
  }
  return "--params \"" + parameters + "\": " + why + ", so the driver reads the port as " +
         HexAddress(ParsePort(parameters.c_str()));
}

// A chip name the driver will not recognise: it compares the 7 characters
// after the first comma (from the start, with none) with each name,
// exactly, and keeps the chip it has when neither matches.
Problem ChipWordUnread(const std::string& parameters) {
  const char* text = parameters.c_str();
  const auto position =
      static_cast<size_t>(ChooseChip(text, EndsWithLog(text), ChipType{}).position);
  const std::string word = parameters.substr(position);
  // Without a comma the text is a port, unless it looks like a chip.
  if (position == 0 && Lowercase(word.substr(0, 2)) != "hd") return std::nullopt;
  size_t matched = 0;
  for (const vlcd::Chip chip : {vlcd::Chip::HD66712, vlcd::Chip::HD44780}) {
    const std::string name = vlcd::ChipName(chip);
    size_t same = 0;
    while (same < name.size() && same < word.size() && word[same] == name[same]) ++same;
    if (same == name.size()) return std::nullopt;
    matched = std::max(matched, same);
  }
  const std::string character = std::to_string(position + matched + 1);
  const std::string stop = matched < word.size()
                               ? "'" + word.substr(matched, 1) + "' (character " + character + ")"
                               : "the end of the text";
  return "--params \"" + parameters + "\": the driver takes a chip only as " + vlcd::ChipNames() +
         ", in capitals, right after the first comma; its match stops at " + stop +
         ", so it keeps " + vlcd::ChipName(vlcd::Chip{}) + ", the chip it starts with";
}

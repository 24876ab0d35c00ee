#include "cable.h"

#include <cctype>

#include "number_text.h"

namespace vlcd {

namespace {

constexpr PortLine Data(int bit) {
  return static_cast<PortLine>(static_cast<int>(PortLine::Data0) + bit);
}

// DB4-DB7 on D0-D3, the controls on data lines too.
constexpr Cable FourBitCable(PortLine rs, PortLine rw, PortLine e, PortLine e2) {
  Cable cable;
  for (int bit = 4; bit < 8; ++bit) cable.wires[static_cast<size_t>(bit)].line = Data(bit - 4);
  cable.wires[kRs].line = rs;
  cable.wires[kRw].line = rw;
  cable.wires[kE].line = e;
  cable.wires[kE2].line = e2;
  return cable;
}

// The port's lines by the names lcd4linux's Wire block gives them, and by
// pin number as kernel-style pin sets give them.
struct LineName {
  PortLine line;
  const char* name;
  int pin;
};
constexpr LineName kLineNames[] = {
    {PortLine::Strobe, "STROBE", 1},    {PortLine::AutoFeed, "AUTOFD", 14},
    {PortLine::Initialize, "INIT", 16}, {PortLine::SelectIn, "SLCTIN", 17},
    {PortLine::Data0, "DB0", 2},        {PortLine::Data1, "DB1", 3},
    {PortLine::Data2, "DB2", 4},        {PortLine::Data3, "DB3", 5},
    {PortLine::Data4, "DB4", 6},        {PortLine::Data5, "DB5", 7},
    {PortLine::Data6, "DB6", 8},        {PortLine::Data7, "DB7", 9},
    {PortLine::None, "GND", 0},
};

struct SignalName {
  int signal;
  const char* name;
};
constexpr SignalName kControlSignals[] = {{kRs, "RS"}, {kRw, "RW"}, {kE, "E"}, {kE2, "E2"}};

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

Problem ReadLine(const std::string& text, Wire* wire) {
  const bool inverted = !text.empty() && text[0] == '-';
  const std::string name = Upper(text.substr(inverted ? 1 : 0));
  for (const LineName& known : kLineNames) {
    if (name == known.name || (known.pin > 0 && name == std::to_string(known.pin))) {
      *wire = Wire{known.line, inverted};
      return std::nullopt;
    }
  }
  return "'" + Excerpt(text) +
         "' is not a port line (STROBE, AUTOFD, INIT, SLCTIN, DB0-DB7 or GND, or a pin number: "
         "1, 2-9, 14, 16, 17; '-' before it inverts it)";
}

std::string LineText(const Wire& wire) {
  for (const LineName& known : kLineNames) {
    if (known.line == wire.line) return (wire.inverted ? "-" : "") + std::string(known.name);
  }
  return "GND";
}

// Which data form: DB0-DB7 on D0-D7 (8), DB4-DB7 on D0-D3 (4); 0 for neither.
int DataWidth(const Cable& cable) {
  const Cable eight = EightBitCable(PortLine::None, PortLine::None, PortLine::None, PortLine::None);
  const Cable four = FourBitCable(PortLine::None, PortLine::None, PortLine::None, PortLine::None);
  bool is_eight = true;
  bool is_four = true;
  for (size_t bit = 0; bit < 8; ++bit) {
    const Wire& wire = cable.wires[bit];
    is_eight = is_eight && wire.line == eight.wires[bit].line && !wire.inverted;
    is_four = is_four && wire.line == four.wires[bit].line && !wire.inverted;
  }
  return is_eight ? 8 : is_four ? 4 : 0;
}

std::string WrittenForm(const Cable& cable) {
  std::string text;
  for (const SignalName& signal : kControlSignals) {
    const Wire& wire = cable.wires[static_cast<size_t>(signal.signal)];
    if (wire.line == PortLine::None && signal.signal == kE2) continue;
    text += std::string(text.empty() ? "" : ",") + signal.name + "=" + LineText(wire);
  }
  return text + ",DATA=" + std::to_string(DataWidth(cable));
}

}  // namespace

bool Cable::operator==(const Cable& other) const {
  for (size_t i = 0; i < wires.size(); ++i) {
    if (wires[i].line != other.wires[i].line || wires[i].inverted != other.wires[i].inverted) {
      return false;
    }
  }
  return true;
}

const std::vector<NamedCable>& Cables() {
  static const std::vector<NamedCable> cables = {
      {"ours", "this driver (HD66712.dll): E on Strobe, R/W on Auto-feed, RS on Initialize",
       kOurCable},
      {"lcdproc-winamp",
       "LCDproc, server/drivers/hd44780-winamp.c: nSTRB EN, nLF RW, INIT RS, nSEL EN2",
       EightBitCable(PortLine::Initialize, PortLine::AutoFeed, PortLine::Strobe,
                     PortLine::SelectIn)},
      {"lcdproc-8bit", "LCDproc, server/drivers/hd44780-ext8bit.c: nSTRB RS, nLF RW, INIT EN",
       EightBitCable(PortLine::Strobe, PortLine::AutoFeed, PortLine::Initialize, PortLine::None)},
      {"lcdproc-4bit",
       "LCDproc, server/drivers/hd44780-4bit.c: D0-D3 DB4-DB7, D4 RS, D5 RW, D6 EN, D7 EN2",
       FourBitCable(Data(4), Data(5), Data(6), Data(7))},
      {"lcd4linux-8bit",
       "lcd4linux, drv_HD44780.c, Bits 8 defaults: RS AUTOFD, RW GND, ENABLE STROBE",
       EightBitCable(PortLine::AutoFeed, PortLine::None, PortLine::Strobe, PortLine::None)},
      {"lcd4linux-4bit",
       "lcd4linux, drv_HD44780.c, Bits 4 defaults: the nibble on DB0-DB3, RS DB4, RW DB5, "
       "ENABLE DB6",
       FourBitCable(Data(4), Data(5), Data(6), PortLine::None)},
  };
  return cables;
}

std::string CableNames() {
  std::string names;
  for (const NamedCable& named : Cables())
    names += (names.empty() ? "" : ", ") + std::string(named.name);
  return names;
}

Problem ReadCable(const std::string& text, Cable* cable) {
  for (const NamedCable& named : Cables()) {
    if (text == named.name) {
      *cable = named.cable;
      return std::nullopt;
    }
  }
  if (text.find('=') == std::string::npos) {
    return "'" + Excerpt(text) + "' is not a cable (" + CableNames() +
           ", or a wiring such as RS=INIT,RW=AUTOFD,E=STROBE,DATA=8)";
  }
  Wire controls[kSignals - kRs] = {};
  bool given[kSignals - kRs] = {};
  int width = 8;
  size_t at = 0;
  while (at <= text.size()) {
    const size_t end = std::min(text.find(',', at), text.size());
    const std::string item = text.substr(at, end - at);
    at = end + 1;
    const size_t equals = item.find('=');
    const std::string name = Upper(item.substr(0, equals));
    const std::string value = equals == std::string::npos ? "" : item.substr(equals + 1);
    if (name == "DATA") {
      if (value != "8" && value != "4") {
        return "DATA=" + Excerpt(value) + ": 8 (DB0-DB7 on DB0-DB7) or 4 (DB4-DB7 on DB0-DB3)";
      }
      width = value == "8" ? 8 : 4;
      continue;
    }
    // lcd4linux names E and E2 ENABLE and ENABLE2.
    const std::string alias = name == "ENABLE" ? "E" : name == "ENABLE2" ? "E2" : name;
    int signal = -1;
    for (const SignalName& known : kControlSignals) {
      if (alias == known.name) signal = known.signal;
    }
    if (signal < 0 || equals == std::string::npos) {
      return "'" + Excerpt(item) +
             "' is not a wire: write SIGNAL=LINE, SIGNAL one of RS, RW, E, "
             "E2 or DATA";
    }
    if (given[signal - kRs]) return name + " is given twice";
    given[signal - kRs] = true;
    if (Problem problem = ReadLine(value, &controls[signal - kRs])) return name + ": " + *problem;
  }
  if (!given[kE - kRs] || controls[kE - kRs].line == PortLine::None) {
    return "'" + Excerpt(text) + "' wires no E: nothing would ever reach the controller";
  }
  Cable read = width == 8
                   ? EightBitCable(PortLine::None, PortLine::None, PortLine::None, PortLine::None)
                   : FourBitCable(PortLine::None, PortLine::None, PortLine::None, PortLine::None);
  for (int signal = kRs; signal <= kE2; ++signal) {
    read.wires[static_cast<size_t>(signal)] = controls[signal - kRs];
  }
  // One line cannot drive two inputs apart.
  for (int a = 0; a < kSignals; ++a) {
    for (int b = a + 1; b < kSignals; ++b) {
      const Wire& first = read.wires[static_cast<size_t>(a)];
      const Wire& second = read.wires[static_cast<size_t>(b)];
      if (first.line != PortLine::None && first.line == second.line) {
        return "'" + Excerpt(text) + "' puts two of the module's inputs on " +
               LineText(Wire{first.line, false});
      }
    }
  }
  *cable = read;
  return std::nullopt;
}

std::string CableName(const Cable& cable) {
  for (const NamedCable& named : Cables()) {
    if (named.cable == cable) return named.name;
  }
  return WrittenForm(cable);
}

std::string WireName(const Cable& cable, int signal) {
  const Wire& wire = cable.wires[static_cast<size_t>(signal)];
  for (const LineName& known : kLineNames) {
    if (known.line != wire.line) continue;
    if (known.pin == 0) return "nothing (tied low)";
    return std::string(wire.inverted ? "inverted " : "") + known.name + " (pin " +
           std::to_string(known.pin) + ")";
  }
  return "nothing (tied low)";
}

}  // namespace vlcd

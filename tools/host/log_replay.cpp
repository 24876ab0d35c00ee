#include "log_replay.h"

#include <cctype>
#include <sstream>

#include "module_settings.h"

const char kInitFailureMessages[] =
    "\"LoadLibrary for parallel port Failed\" or \"GetProcAddress for <library>/<entry> Failed\"";

namespace {

// Replayed bytes are spaced far beyond any busy time, so the timing checker
// judges nothing the log cannot tell.
constexpr int64_t kWriteSpacingNs = 1000000;
constexpr size_t kStampLength = 18;  // "HH:MM:SS dd/mm/yy "

bool HasStamp(const std::string& line) {
  constexpr char kShape[] = "99:99:99 99/99/99 ";
  if (line.size() < kStampLength) return false;
  for (size_t i = 0; i < kStampLength; ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(line[i])) != 0;
    if (kShape[i] == '9' ? !digit : line[i] != kShape[i]) return false;
  }
  return true;
}

// "HH:MM:SS dd/mm/yy" as "yymmddHHMMSS", which sorts as time does (within
// a century).
std::string SortableStamp(const std::string& line) {
  return line.substr(15, 2) + line.substr(12, 2) + line.substr(9, 2) + line.substr(0, 2) +
         line.substr(3, 2) + line.substr(6, 2);
}

// The byte of a "WriteC"/"WriteD" text: "%3d (0x%02x) '%c'". A byte 0 ends
// the text right after the quote, and a line feed byte breaks the line.
bool ByteOf(const std::string& text, uint8_t* byte) {
  const size_t at = text.find(" (0x");
  if (at == std::string::npos || at + 7 > text.size() || text[at + 6] != ')') return false;
  long value = 0;
  if (vlcd::ParseNumber(text.substr(at + 4, 2), vlcd::NumberForm::Hexadecimal, 0, 0xFF, &value)) {
    return false;
  }
  *byte = static_cast<uint8_t>(value);
  return true;
}

// Events whose text is the host's own, which may hold line feeds: the lines
// after them without a time stamp are the rest of that text.
bool CarriesHostText(const std::string& name) { return name == "Write" || name == "j="; }

// What reading a log carries from one line to the next.
struct Reading {
  int64_t now = 0;
  bool line_feed_byte = false;  // the last byte was a line feed: "'" follows alone
  bool host_text = false;       // lines without a stamp continue the host's text
  bool library_loaded = false;  // in this session
  std::string latest_stamp;
  int latest_stamp_line = 0;
};

// Warns, once, of a line stamped earlier than one before it.
void CheckOrder(const std::string& line, int number, Reading& reading, Replay& replay) {
  const std::string stamp = SortableStamp(line);
  if (stamp < reading.latest_stamp && replay.warnings.empty()) {
    replay.warnings.push_back("line " + std::to_string(number) +
                              ": its time stamp is earlier than line " +
                              std::to_string(reading.latest_stamp_line) +
                              "'s: the log is out of order (two runs mixed, or pasted "
                              "together?), so its screens may not be what the module showed");
  }
  if (stamp >= reading.latest_stamp) {
    reading.latest_stamp = stamp;
    reading.latest_stamp_line = number;
  }
}

// One event of a session: its opening, Init's outcome, Done, or a byte
// sent (or, without a port library, only logged).
void ReplayEvent(const std::string& name, const std::string& text, int number,
                 const vlcd::Module& module, Reading& reading, Replay& replay) {
  if (name == "dp_open_log" || replay.sessions.empty()) {
    ReplayedSession session;
    session.first_line = number;
    session.lcd = vlcd::MakeVirtualLcd(module);
    replay.sessions.push_back(session);
    reading.library_loaded = false;
  }
  ReplayedSession& session = replay.sessions.back();
  session.last_line = number;
  if (name == "Init") {
    if (text.size() > 7 && text.compare(text.size() - 7, 7, " loaded") == 0) {
      reading.library_loaded = true;
    }
    session.init_failed = !reading.library_loaded;
  }
  if (name == "Done") {
    session.shut_down = true;
    session.before_shut_down = vlcd::ScreenNow(session.lcd);
  }
  if (name != "WriteC" && name != "WriteD") return;
  uint8_t byte = 0;
  if (!ByteOf(text, &byte)) {
    replay.unreadable.push_back("line " + std::to_string(number) + ": " + name +
                                " without a byte in it");
    return;
  }
  reading.line_feed_byte = byte == '\n';
  if (session.init_failed) {
    ++session.unsent_bytes;
    return;
  }
  reading.now =
      vlcd::ClockInByte(session.lcd, name == "WriteD", byte, reading.now, kWriteSpacingNs);
}

}  // namespace

Replay ReplayLog(const std::string& log, const vlcd::Module& module) {
  Replay replay;
  Reading reading;
  std::istringstream lines(log);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // The rest of a line-feed byte's text: "'" on a line of its own.
    if (reading.line_feed_byte && line == "'") {
      reading.line_feed_byte = false;
      continue;
    }
    reading.line_feed_byte = false;
    const size_t separator = line.find(" : ", kStampLength);
    if (!HasStamp(line) || separator == std::string::npos) {
      if (!line.empty() && !reading.host_text) {
        replay.unreadable.push_back("line " + std::to_string(number) + ": not a log line");
      }
      continue;
    }
    CheckOrder(line, number, reading, replay);
    const std::string name = line.substr(kStampLength, separator - kStampLength);
    reading.host_text = CarriesHostText(name);
    ReplayEvent(name, line.substr(separator + 3), number, module, reading, replay);
  }
  return replay;
}

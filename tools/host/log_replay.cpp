#include "log_replay.h"

#include <cctype>
#include <sstream>

#include "module_settings.h"

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

// The byte of a "WriteC"/"WriteD" text: "%3d (0x%02x) '%c'". A byte 0 ends
// the text right after the quote, and a line feed byte breaks the line.
bool ByteOf(const std::string& text, uint8_t* byte) {
  const size_t at = text.find(" (0x");
  if (at == std::string::npos || at + 7 > text.size() || text[at + 6] != ')') return false;
  const int high = vlcd::HexDigit(text[at + 4]);
  const int low = vlcd::HexDigit(text[at + 5]);
  if (high < 0 || low < 0) return false;
  *byte = static_cast<uint8_t>(high * 16 + low);
  return true;
}

}  // namespace

Replay ReplayLog(const std::string& log, const vlcd::Module& module) {
  Replay replay;
  std::istringstream lines(log);
  std::string line;
  int64_t now = 0;
  bool line_feed_byte = false;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // The rest of a line-feed byte's text: "'" on a line of its own.
    if (line_feed_byte && line == "'") {
      line_feed_byte = false;
      continue;
    }
    line_feed_byte = false;
    const size_t separator = line.find(" : ", kStampLength);
    if (!HasStamp(line) || separator == std::string::npos) {
      if (!line.empty()) {
        replay.unreadable.push_back("line " + std::to_string(number) + ": not a log line");
      }
      continue;
    }
    const std::string name = line.substr(kStampLength, separator - kStampLength);
    const std::string text = line.substr(separator + 3);
    if (name == "dp_open_log" || replay.sessions.empty()) {
      ReplayedSession session;
      session.first_line = number;
      session.lcd = vlcd::MakeVirtualLcd(module);
      replay.sessions.push_back(session);
    }
    ReplayedSession& session = replay.sessions.back();
    session.last_line = number;
    if (name == "Done") {
      session.shut_down = true;
      session.before_shut_down = session.lcd;
    }
    if (name != "WriteC" && name != "WriteD") continue;
    uint8_t byte = 0;
    if (!ByteOf(text, &byte)) {
      replay.unreadable.push_back("line " + std::to_string(number) + ": " + name +
                                  " without a byte in it");
      continue;
    }
    line_feed_byte = byte == '\n';
    now = vlcd::BusCycle(session.lcd, name == "WriteD", byte, now, kWriteSpacingNs);
  }
  return replay;
}

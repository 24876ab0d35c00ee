#include "log/diag_log.h"

#include <cstdarg>
#include <ctime>

#include "hd66712_log_format.h"
#include "platform/clock.h"
#include "platform/directory.h"
#include "platform/local_time.h"

namespace {

struct LogState {
  // Set by the driver's first start from its parameters; nothing here runs
  // while it is clear.
  bool log_enabled = false;
  bool log_open = false;  // an open was attempted since load or the last close
  std::FILE* log_file = nullptr;
  // Formatting the local time costs far more than a line, and a refresh logs
  // hundreds of lines a second: the stamp is made again only when the
  // second changes.
  std::time_t stamp_second = -1;
  char stamp[20] = "";
};

// Only this file reads or writes the record; others see it through the
// functions below.
LogState log_state_record;
}  // namespace

void ResetLogState() { log_state_record = LogState{}; }

std::FILE* dp_log_file() { return log_state_record.log_file; }

namespace {

constexpr char kLogDirectory[] = "logs";
constexpr char kLogFileName[] = "HD66712.log";
// Room for every byte and call line; only long host texts need more.
constexpr size_t kLineBufferBytes = 256;

const char* CurrentTimeStamp() {
  const std::time_t now = platform::WallClockSeconds();
  if (now != log_state_record.stamp_second) {
    log_state_record.stamp_second = now;
    std::tm local{};
    if (!platform::LocalTime(now, &local) ||
        std::strftime(log_state_record.stamp, sizeof log_state_record.stamp,
                      hd66712_log::kStampFormat, &local) == 0) {
      log_state_record.stamp[0] = '\0';
    }
  }
  return log_state_record.stamp;
}

// Each call into the C runtime costs more than the formatting itself, so a
// line is made on the stack and handed over once. Returns false, having
// written nothing, when the line does not fit.
bool WriteInOnePiece(std::FILE* file, const char* name, const char* format,
                     std::va_list arguments) {
  char line[kLineBufferBytes];
  const int prefix = std::snprintf(line, sizeof line, "%s %s%s", CurrentTimeStamp(), name,
                                   hd66712_log::kSeparator);
  if (prefix <= 0 || static_cast<size_t>(prefix) >= sizeof line) return false;
  const int text = std::vsnprintf(line + prefix, sizeof line - prefix, format, arguments);
  const size_t length = static_cast<size_t>(prefix) + static_cast<size_t>(text);
  if (text < 0 || length >= sizeof line) return false;
  line[length] = '\n';
  std::fwrite(line, 1, length + 1, file);
  return true;
}

void WriteLine(const char* name, const char* format, std::va_list arguments) {
  if (!log_state_record.log_enabled) return;
  if (!log_state_record.log_open) dp_open_log();
  // The open failed and was reported once; lines are dropped until closed.
  if (log_state_record.log_file == nullptr) return;
  std::FILE* file = log_state_record.log_file;
  std::va_list copy;
  va_copy(copy, arguments);
  const bool written = WriteInOnePiece(file, name, format, copy);
  va_end(copy);
  if (!written) {
    // Longer than the buffer (a host's own text can be any length): the
    // same line in pieces, so that none of it is cut.
    std::fprintf(file, "%s %s%s", CurrentTimeStamp(), name, hd66712_log::kSeparator);
    std::vfprintf(file, format, arguments);
    std::fputc('\n', file);
  }
  std::fflush(file);
}

}  // namespace

void dp_enable_log(bool enabled) { log_state_record.log_enabled = enabled; }

void dp_open_log() {
  if (!log_state_record.log_enabled) return;
  log_state_record.log_open = true;
  // Reached with the file still open only after an event between shut-down
  // and the next start; keep appending to it rather than lose the handle.
  if (log_state_record.log_file == nullptr) {
    platform::DirectoryCreate(kLogDirectory);
    char path[sizeof kLogDirectory + sizeof kLogFileName];
    std::snprintf(path, sizeof path, "%s%c%s", kLogDirectory, platform::kPathSeparator,
                  kLogFileName);
    log_state_record.log_file = std::fopen(path, "a");
    if (log_state_record.log_file == nullptr) {
      std::fputs("Failed to open ini file", stdout);
      std::fflush(stdout);
    }
  }
  dp_log(hd66712_log::kOpened, "HD66712 Initialising");
}

void dp_log(const char* name, const char* text) { dp_logf(name, "%s", text); }

void dp_logf(const char* name, const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  WriteLine(name, format, arguments);
  va_end(arguments);
}

void dp_log_char(const char* name, int value) {
  const unsigned byte = static_cast<unsigned>(value) & 0xFFu;
  // A byte 0 ends the text right after the opening quote, as a C string does.
  char text[sizeof "255 (0xff) 'c'"];
  std::snprintf(text, sizeof text, hd66712_log::kByteFormat, byte, byte, static_cast<int>(byte));
  dp_log(name, text);
}

void dp_close_log() {
  log_state_record.log_open = false;
  if (log_state_record.log_file != nullptr) std::fclose(log_state_record.log_file);
  log_state_record.log_file = nullptr;
}

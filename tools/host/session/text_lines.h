// The lines of a text file a user gives lcd_host (a script, a driver log),
// as an editor shows them, read a piece at a time so that memory stays
// bounded by one line whatever the file holds: /dev/zero, a binary file or
// a 10 MB run of CRs end with a reason instead of filling the memory.
#ifndef HOST_TEXT_LINES_H
#define HOST_TEXT_LINES_H

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "problem.h"

struct LineLimits {
  size_t longest_line;
  uint64_t largest_text;  // bytes, the line ends included
  const char* what;       // "script", for the messages: "longer than any script line"
};

// Takes each line without its end, numbered from 1; returns false to stop.
using LineSink = std::function<bool(const std::string& line, int number)>;

// Lines end in LF, CR LF, CR alone (old Mac editors), or CRs then LF (line
// ends converted twice), each one line end, so numbers match an editor's.
// A UTF-8 byte order mark is dropped; UTF-16 text is refused, as is a line
// or a text beyond `limits`.
Problem SplitLines(std::string_view text, const LineLimits& limits, const LineSink& sink);
Problem ReadFileLines(const std::string& path, const LineLimits& limits, const LineSink& sink);

#endif  // HOST_TEXT_LINES_H

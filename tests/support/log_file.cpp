#include "log_file.h"

#include <fstream>
#include <iterator>
#include <regex>

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> ReadLogEvents(const std::filesystem::path& path, std::string* error) {
  static const std::regex stamp(R"(^\d\d:\d\d:\d\d \d\d/\d\d/\d\d )");
  const std::string bytes = ReadFileBytes(path);
  const std::string line_end = kLineEnd;
  std::vector<std::string> events;
  error->clear();
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find(line_end, start);
    if (end == std::string::npos) {
      *error = "last line has no line end";
      break;
    }
    const std::string line = bytes.substr(start, end - start);
    if (!std::regex_search(line, stamp)) {
      *error = "line without time stamp: " + line;
      break;
    }
    events.push_back(line.substr(18));
    start = end + line_end.size();
  }
  return events;
}

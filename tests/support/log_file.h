// Reading the driver's log back: the raw bytes, and the events with their
// time stamps checked and removed.
#ifndef TESTS_SUPPORT_LOG_FILE_H
#define TESTS_SUPPORT_LOG_FILE_H

#include <filesystem>
#include <string>
#include <vector>

#if defined(_WIN32)
constexpr char kLogPath[] = "logs\\HD66712.log";
constexpr char kLineEnd[] = "\r\n";
#else
constexpr char kLogPath[] = "logs/HD66712.log";
constexpr char kLineEnd[] = "\n";
#endif

std::string ReadFileBytes(const std::filesystem::path& path);

// Each line as "name : text". A line whose stamp is not "HH:MM:SS dd/mm/yy "
// or that does not end in the platform's line end is reported in `error`.
std::vector<std::string> ReadLogEvents(const std::filesystem::path& path, std::string* error);

#endif  // TESTS_SUPPORT_LOG_FILE_H

#include "messages.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

int Fail(int status, const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "lcd_host: %s\n", message.c_str());
  return status;
}

void Warn(const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "lcd_host: warning: %s\n", message.c_str());
}

Problem ReadInputFile(const std::string& path, std::string* text) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return path + " is a folder, not a file";
  std::ifstream file(path, std::ios::binary);
  if (!file) return "cannot read " + path + ": " + std::strerror(errno);
  std::ostringstream contents;
  contents << file.rdbuf();
  if (file.bad()) return "cannot read " + path;
  *text = contents.str();
  return std::nullopt;
}

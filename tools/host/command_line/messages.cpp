#include "messages.h"

#include <cstdio>

int Fail(int status, const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "lcd_host: %s\n", message.c_str());
  return status;
}

void Warn(const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "lcd_host: warning: %s\n", message.c_str());
}

void Note(const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "lcd_host: note: %s\n", message.c_str());
}

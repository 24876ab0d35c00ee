#include <unistd.h>

#include "console.h"
#include "console_seam.h"

bool ShowUtf8OnConsole() { return true; }

int RedirectStdoutTo(std::FILE* sink) {
  const int saved = dup(STDOUT_FILENO);
  if (saved < 0) return -1;
  if (ftruncate(fileno(sink), 0) != 0 || dup2(fileno(sink), STDOUT_FILENO) < 0) {
    close(saved);
    return -1;
  }
  return saved;
}

void RestoreStdout(int saved) {
  dup2(saved, STDOUT_FILENO);
  close(saved);
}

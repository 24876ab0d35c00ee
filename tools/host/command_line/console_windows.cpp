#include <io.h>
#include <windows.h>

#include "console.h"
#include "console_seam.h"

bool ShowUtf8OnConsole() {
  DWORD mode = 0;
  if (!GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)) return true;
  return SetConsoleOutputCP(CP_UTF8) != 0;
}

int RedirectStdoutTo(std::FILE* sink) {
  const int output = _fileno(stdout);
  const int saved = output >= 0 ? _dup(output) : -1;
  if (saved < 0) return -1;
  if (_chsize(_fileno(sink), 0) != 0 || _dup2(_fileno(sink), output) != 0) {
    _close(saved);
    return -1;
  }
  return saved;
}

void RestoreStdout(int saved) {
  _dup2(saved, _fileno(stdout));
  _close(saved);
}

#include "command_line.h"

namespace {

// Unsigned, so bytes 128..255 are above the blanks rather than below them.
unsigned char ByteAt(const char* p) { return static_cast<unsigned char>(*p); }

const char* SkipBlanks(const char* p) {
  for (;;) {
    while (ByteAt(p) >= 1 && ByteAt(p) <= 32) ++p;
    // p[1] exists: p[0] is a quote, so the text has not ended at p[0].
    if (p[0] == '"' && p[1] == '"') {
      p += 2;
      continue;
    }
    return p;
  }
}

const char* SkipParam(const char* p) {
  p = SkipBlanks(p);
  while (ByteAt(p) > 32) {
    if (*p == '"') {
      ++p;
      while (*p != '\0' && *p != '"') ++p;
      if (*p == '"') ++p;
    } else {
      ++p;
    }
  }
  return p;
}

}  // namespace

AnsiString GetCommandLineParam(const char* commandLine, int index) {
  if (commandLine == nullptr || index < 0) return AnsiString();
  const char* p = commandLine;
  for (int current = 0;; ++current) {
    p = SkipBlanks(p);
    const char* start = p;
    p = SkipParam(p);
    if (p == start) return AnsiString();
    if (current == index) {
      AnsiString param(start, p);
      if (param.size() >= 2 && param.front() == '"' && param.back() == '"') {
        param = param.substr(1, param.size() - 2);
      }
      return param;
    }
  }
}

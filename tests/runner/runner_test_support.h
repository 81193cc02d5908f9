// What the runner's tests share: the output pieces a run delivers, written so that a
// failing comparison shows them, and the folder the tests and their scripted child are in.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>

#include "runner/line_splitter.h"

constexpr TOutputType E = otEntireLine, B = otBeginningOfLine;

struct Piece {
  AnsiString line;
  TOutputType type;
  bool operator==(const Piece& o) const { return line == o.line && type == o.type; }
};
inline std::ostream& operator<<(std::ostream& os, const Piece& p) {
  return os << '"' << p.line << '"' << (p.type == otEntireLine ? " entire" : " begun");
}

// The test program's folder, with its closing backslash.
inline std::string TestFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.find_last_of('\\') + 1);
}

#include "runner/line_splitter.h"

void TLineSplitter::Split(const char* Chunk, size_t Size, const TStopTest& stop,
                          const TDeliver& deliver) {
  AnsiString& line = Pending;
  for (size_t i = 0; i < Size && !stop(); ++i) {
    char c = Chunk[i];
    if (c == '\0') continue;  // UTF-16 text of a child comes out as its 8-bit characters
    if (c == '\n' && i == 0 && EndedWithCR) continue;  // the LF of a CR LF cut by the border
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < Size && Chunk[i + 1] == '\n') {
        ++i;
        LineEnd = rcCRLF;
      } else {
        LineEnd = rcLF;
      }
      deliver(line, otEntireLine);
      line.clear();
      continue;
    }
    line += c;
  }
  EndedWithCR = Size > 0 && Chunk[Size - 1] == '\r';
  if (!line.empty()) deliver(line, otBeginningOfLine);
}

bool IsEndedInputLine(const AnsiString& Line) {
  size_t n = Line.size();
  size_t crlf = Line.find("\r\n");
  if (crlf != AnsiString::npos && crlf + 2 == n) return true;
  size_t lf = Line.find('\n');
  return lf != AnsiString::npos && lf + 1 == n;
}

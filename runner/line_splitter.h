// Cutting a child's output into lines, chunk by chunk as the pipe delivers it.
#pragma once

#include <functional>

#include "vcl/sysutils.h"

// otEntireLine: a complete line. otBeginningOfLine: a line that has not ended yet, as far
// as it has arrived; it is delivered again later, longer or complete.
enum TOutputType { otEntireLine, otBeginningOfLine };
// The kind of line end: CR followed by LF, or any other.
enum TReturnCode { rcCRLF, rcLF };

class TLineSplitter {
 public:
  using TDeliver = std::function<void(const AnsiString& Line, TOutputType Type)>;
  using TStopTest = std::function<bool()>;

  // Walks one chunk: NUL bytes are dropped; CR, LF and CR LF end a line (also a CR LF
  // split across two chunks); each ended line is delivered whole, empty ones too, and a
  // line still open at the chunk's end is delivered as it stands (when not empty).
  // stop is asked before each byte and cuts the walk short.
  void Split(const char* Chunk, size_t Size, const TStopTest& stop, const TDeliver& deliver);

  // The line still being written (already delivered as far as it has arrived).
  AnsiString Pending;
  // The kind of end of the last complete line.
  TReturnCode LineEnd = rcLF;
  // The last chunk ended with CR: an LF at the start of the next belongs to it.
  bool EndedWithCR = false;
};

// An input line counts as ended when its first CR LF pair is its last two bytes, or its
// first LF is its last byte.
bool IsEndedInputLine(const AnsiString& Line);

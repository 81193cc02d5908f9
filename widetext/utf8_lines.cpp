#include "widetext/utf8_lines.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "vcl/streams.h"

namespace {

// U+2028 in UTF-8. Its lead byte is never a continuation byte, so it is the same line
// separator in the bytes as in the decoded text.
bool Utf8LineSeparatorAt(const char* p, const char* end) {
  return end - p >= 3 && static_cast<unsigned char>(p[0]) == 0xE2 && static_cast<unsigned char>(p[1]) == 0x80 &&
         static_cast<unsigned char>(p[2]) == 0xA8;
}

// The most bytes a line's end can take: CR, LF and U+2028.
constexpr ptrdiff_t kLongestLineEnd = 5;

}  // namespace

int ReadUtf8Lines(TStream* Stream, int64_t Count, size_t ChunkSize, const std::function<void(const char*, size_t)>& Line) {
  ChunkSize = std::max<size_t>(ChunkSize, 1);
  std::vector<char> buffer;
  size_t kept = 0;     // the start of a line whose end the next chunk decides
  size_t scanned = 0;  // of those bytes, the ones known to hold no line end
  int64_t left = std::max<int64_t>(Count, 0);
  int lines = 0;
  while (left > 0) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(ChunkSize)));
    if (buffer.size() < kept + want) buffer.resize(kept + want);
    Stream->ReadBuffer(buffer.data() + kept, static_cast<int64_t>(want));
    left -= static_cast<int64_t>(want);
    const bool last = left == 0;
    const char* const end = buffer.data() + kept + want;
    const char* start = buffer.data();
    const char* p = start + scanned;  // a long line is not searched again from its start
    scanned = 0;
    while (p < end) {
      while (p < end && *p != '\n' && *p != '\r' && !Utf8LineSeparatorAt(p, end)) ++p;
      // Without the bytes that follow, a line that runs to the end of the chunk, or a line end
      // near it, may still go on: it is cut again with the next chunk. A separator may begin
      // in the last two bytes searched.
      if (!last && end - p < kLongestLineEnd) {
        scanned = static_cast<size_t>(std::max<ptrdiff_t>((p - start) - (p == end ? 2 : 0), 0));
        break;
      }
      Line(start, static_cast<size_t>(p - start));
      ++lines;
      if (p < end && *p == '\r') ++p;
      if (p < end && *p == '\n') ++p;
      if (Utf8LineSeparatorAt(p, end)) p += 3;
      start = p;
    }
    kept = static_cast<size_t>(end - start);
    if (kept > 0 && start != buffer.data()) std::memmove(buffer.data(), start, kept);
  }
  return lines;
}

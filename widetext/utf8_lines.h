// The lines of UTF-8 text read from a stream a piece at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

class TStream;

// Reads Count bytes of UTF-8 text from Stream's position, ChunkSize bytes at a time, and hands
// Line the bytes of each line, cut as the decoded text's lines are cut: a line ends at CR, LF
// or U+2028, and after it one CR, then one LF, then one U+2028 are skipped. Returns the number
// of lines. Only one chunk (or one line, when a line is longer) is held at a time.
int ReadUtf8Lines(TStream* Stream, int64_t Count, size_t ChunkSize, const std::function<void(const char*, size_t)>& Line);

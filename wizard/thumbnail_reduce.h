// Box reduction of 24-bit pictures: each pixel of the smaller picture is the average of the
// block of source pixels it covers, so a photograph reduced many times over stays smooth.
#pragma once

#include <cstddef>
#include <cstdint>

// Rows of 24-bit pixels: row Y starts at Bits + Y * Stride (Stride may be negative for a
// picture stored bottom up).
struct TPixelRows {
  uint8_t* Bits = nullptr;
  int Width = 0, Height = 0;
  ptrdiff_t Stride = 0;
  uint8_t* Row(int Y) const { return Bits + Y * Stride; }
};

// Fills Target from Source. Every source pixel counts towards exactly one target pixel; a
// target side longer than the source's repeats source pixels instead.
void BoxReduce(const TPixelRows& Source, const TPixelRows& Target);

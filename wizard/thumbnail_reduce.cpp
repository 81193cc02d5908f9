#include "wizard/thumbnail_reduce.h"

#include <algorithm>
#include <vector>

namespace {

// The source span [First, Last) that covers target position I of Target positions.
struct TSpan {
  int First, Last;
};

TSpan SpanOf(int I, int Source, int Target) {
  int first = static_cast<int>(static_cast<long long>(I) * Source / Target);
  int last = static_cast<int>(static_cast<long long>(I + 1) * Source / Target);
  if (last <= first) last = first + 1;
  if (last > Source) last = Source;
  return {first, last};
}

}  // namespace

void BoxReduce(const TPixelRows& Source, const TPixelRows& Target) {
  if (Source.Width <= 0 || Source.Height <= 0 || Target.Width <= 0 || Target.Height <= 0) return;
  std::vector<TSpan> columns(static_cast<size_t>(Target.Width));
  for (int x = 0; x < Target.Width; ++x) columns[x] = SpanOf(x, Source.Width, Target.Width);
  std::vector<uint32_t> sums(static_cast<size_t>(Target.Width) * 3);
  for (int y = 0; y < Target.Height; ++y) {
    const TSpan rows = SpanOf(y, Source.Height, Target.Height);
    std::fill(sums.begin(), sums.end(), 0u);
    for (int sy = rows.First; sy < rows.Last; ++sy) {
      const uint8_t* in = Source.Row(sy);
      uint32_t* sum = sums.data();
      for (const TSpan& c : columns) {
        uint32_t b = 0, g = 0, r = 0;
        for (const uint8_t* p = in + 3 * c.First; p < in + 3 * c.Last; p += 3) {
          b += p[0];
          g += p[1];
          r += p[2];
        }
        sum[0] += b;
        sum[1] += g;
        sum[2] += r;
        sum += 3;
      }
    }
    uint8_t* out = Target.Row(y);
    const uint32_t height = static_cast<uint32_t>(rows.Last - rows.First);
    for (int x = 0; x < Target.Width; ++x) {
      const uint32_t count = height * static_cast<uint32_t>(columns[x].Last - columns[x].First);
      for (int k = 0; k < 3; ++k) out[3 * x + k] = static_cast<uint8_t>((sums[3 * x + k] + count / 2) / count);
    }
  }
}

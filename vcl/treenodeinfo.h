// The record a stored tree keeps for each node: four image indexes, a 32-bit data field,
// the number of children and a text of at most 255 bytes. A node's record is followed by
// the records of its children, depth first; the list starts with the number of top-level
// nodes. Integers are 4 bytes, little-endian.
//
//   offset 0  size S of what follows (24 + 1 + text length)
//          4  ImageIndex   8 SelectedIndex   12 StateIndex   16 OverlayIndex
//         20  Data (32 bits)                  24 number of children
//         28  text length L                   29 L bytes of text
#pragma once

#include <cstdint>

#include "vcl/streams.h"
#include "vcl/sysutils.h"

struct TNodeInfo {
  int32_t ImageIndex = -1;
  int32_t SelectedIndex = -1;
  int32_t StateIndex = -1;
  int32_t OverlayIndex = -1;
  uint32_t Data = 0;
  int32_t Count = 0;
  AnsiString Text;  // at most 255 bytes are stored
};

constexpr int kNodeInfoFixedSize = 25;  // the size field's value for an empty text
constexpr int kNodeInfoMaxText = 255;

void WriteNodeCount(TStream* Stream, int32_t Count);
int32_t ReadNodeCount(TStream* Stream);
// Writes Info's record; a longer text is cut to its first 255 bytes.
void WriteNodeInfo(TStream* Stream, const TNodeInfo& Info);
// Reads one record. A size that does not match a record, a text running past it or a
// negative number of children raises EReadError.
TNodeInfo ReadNodeInfo(TStream* Stream);

#include "vcl/treenodeinfo.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const kBadNodeData = "Stored tree node data is damaged";

void PutInt(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetInt(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

void WriteNodeCount(TStream* Stream, int32_t Count) {
  uint8_t bytes[4];
  PutInt(bytes, static_cast<uint32_t>(Count));
  Stream->WriteBuffer(bytes, 4);
}

int32_t ReadNodeCount(TStream* Stream) {
  uint8_t bytes[4];
  Stream->ReadBuffer(bytes, 4);
  int32_t count = static_cast<int32_t>(GetInt(bytes));
  if (count < 0) throw EReadError(kBadNodeData);
  return count;
}

void WriteNodeInfo(TStream* Stream, const TNodeInfo& Info) {
  size_t length = std::min(Info.Text.size(), static_cast<size_t>(kNodeInfoMaxText));
  uint8_t record[4 + kNodeInfoFixedSize + kNodeInfoMaxText];
  PutInt(record, static_cast<uint32_t>(kNodeInfoFixedSize + length));
  PutInt(record + 4, static_cast<uint32_t>(Info.ImageIndex));
  PutInt(record + 8, static_cast<uint32_t>(Info.SelectedIndex));
  PutInt(record + 12, static_cast<uint32_t>(Info.StateIndex));
  PutInt(record + 16, static_cast<uint32_t>(Info.OverlayIndex));
  PutInt(record + 20, Info.Data);
  PutInt(record + 24, static_cast<uint32_t>(Info.Count));
  record[28] = static_cast<uint8_t>(length);
  std::memcpy(record + 29, Info.Text.data(), length);
  Stream->WriteBuffer(record, static_cast<int64_t>(4 + kNodeInfoFixedSize + length));
}

TNodeInfo ReadNodeInfo(TStream* Stream) {
  uint8_t sizeBytes[4];
  Stream->ReadBuffer(sizeBytes, 4);
  uint32_t size = GetInt(sizeBytes);
  if (size < static_cast<uint32_t>(kNodeInfoFixedSize) || size > static_cast<uint32_t>(kNodeInfoFixedSize + kNodeInfoMaxText))
    throw EReadError(kBadNodeData);
  uint8_t record[kNodeInfoFixedSize + kNodeInfoMaxText];
  Stream->ReadBuffer(record, size);
  TNodeInfo info;
  info.ImageIndex = static_cast<int32_t>(GetInt(record));
  info.SelectedIndex = static_cast<int32_t>(GetInt(record + 4));
  info.StateIndex = static_cast<int32_t>(GetInt(record + 8));
  info.OverlayIndex = static_cast<int32_t>(GetInt(record + 12));
  info.Data = GetInt(record + 16);
  info.Count = static_cast<int32_t>(GetInt(record + 20));
  uint8_t length = record[24];
  if (info.Count < 0 || kNodeInfoFixedSize + length > static_cast<int>(size)) throw EReadError(kBadNodeData);
  info.Text.assign(reinterpret_cast<const char*>(record + 25), length);
  return info;
}

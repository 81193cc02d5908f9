#include "mp4box/media_probe.h"

#include <windows.h>

#include <algorithm>

#include "mp4box/wide_names.h"

namespace standin {

namespace {

uint32_t U32(const std::string& d, uint64_t at) {
  if (at + 4 > d.size()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(d.data() + at);
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
uint32_t U16(const std::string& d, uint64_t at) {
  if (at + 2 > d.size()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(d.data() + at);
  return (uint32_t(p[0]) << 8) | p[1];
}
uint64_t U64(const std::string& d, uint64_t at) { return (uint64_t(U32(d, at)) << 32) | U32(d, at + 4); }
uint32_t LE32(const std::string& d, uint64_t at) {
  if (at + 4 > d.size()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(d.data() + at);
  return p[0] | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint32_t LE16(const std::string& d, uint64_t at) {
  if (at + 2 > d.size()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(d.data() + at);
  return p[0] | (uint32_t(p[1]) << 8);
}

struct TBox {
  std::string Type;
  uint64_t Start = 0, Size = 0, Body = 0;  // Body: where the contents begin
};

// The boxes from From to To, one level; a box running past To ends the walk (and is the last).
std::vector<TBox> Boxes(const std::string& d, uint64_t from, uint64_t to) {
  std::vector<TBox> boxes;
  uint64_t at = from;
  while (at + 8 <= to) {
    TBox b;
    b.Start = at;
    b.Size = U32(d, at);
    b.Type = d.substr(at + 4, 4);
    b.Body = at + 8;
    if (b.Size == 1) {
      b.Size = U64(d, at + 8);
      b.Body = at + 16;
    } else if (b.Size == 0) {
      b.Size = to - at;
    }
    if (b.Size < b.Body - at) break;
    boxes.push_back(b);
    if (at + b.Size > to) break;
    at += b.Size;
  }
  return boxes;
}

const TBox* Child(const std::vector<TBox>& boxes, const char* type) {
  for (const TBox& b : boxes)
    if (b.Type == type) return &b;
  return nullptr;
}

std::vector<TBox> Inside(const std::string& d, const TBox* b) {
  return b ? Boxes(d, b->Body, std::min<uint64_t>(b->Start + b->Size, d.size())) : std::vector<TBox>();
}

// The sample sizes and offsets of a sample table: how many samples there are, and how many
// lie wholly in the file.
void ReadSampleTable(const std::string& d, const std::vector<TBox>& stbl, uint64_t fileSize, TTrack& t) {
  const TBox* stsz = Child(stbl, "stsz");
  const TBox* stsc = Child(stbl, "stsc");
  const TBox* stco = Child(stbl, "stco");
  const TBox* co64 = Child(stbl, "co64");
  if (!stsz) return;
  const uint32_t fixed = U32(d, stsz->Body + 4);
  t.Samples = U32(d, stsz->Body + 8);
  auto sizeOf = [&](uint32_t i) { return fixed ? fixed : U32(d, stsz->Body + 12 + 4ull * i); };
  std::vector<uint64_t> chunks;
  if (stco)
    for (uint32_t i = 0, n = U32(d, stco->Body + 4); i < n; ++i) chunks.push_back(U32(d, stco->Body + 8 + 4ull * i));
  else if (co64)
    for (uint32_t i = 0, n = U32(d, co64->Body + 4); i < n; ++i) chunks.push_back(U64(d, co64->Body + 8 + 8ull * i));
  struct TRun {
    uint32_t FirstChunk, PerChunk;
  };
  std::vector<TRun> runs;
  if (stsc)
    for (uint32_t i = 0, n = U32(d, stsc->Body + 4); i < n; ++i)
      runs.push_back({U32(d, stsc->Body + 8 + 12ull * i), U32(d, stsc->Body + 12 + 12ull * i)});
  uint32_t sample = 0;
  for (size_t c = 0; c < chunks.size() && sample < t.Samples; ++c) {
    uint32_t perChunk = 1;
    for (const TRun& r : runs)
      if (r.FirstChunk <= c + 1) perChunk = r.PerChunk;
    uint64_t at = chunks[c];
    for (uint32_t k = 0; k < perChunk && sample < t.Samples; ++k, ++sample) {
      const uint32_t size = sizeOf(sample);
      if (at + size > fileSize) return;
      at += size;
      t.Bytes += size;
      ++t.Available;
    }
  }
}

TTrack ReadTrack(const std::string& d, const TBox& trak, uint64_t fileSize) {
  TTrack t;
  const std::vector<TBox> parts = Inside(d, &trak);
  if (const TBox* tkhd = Child(parts, "tkhd")) {
    const bool v1 = d.size() > tkhd->Body && d[tkhd->Body] == 1;
    t.Id = U32(d, tkhd->Body + (v1 ? 20 : 12));
    const uint64_t end = tkhd->Start + tkhd->Size;
    t.Width = static_cast<int>(U32(d, end - 8) >> 16);
    t.Height = static_cast<int>(U32(d, end - 4) >> 16);
  }
  const std::vector<TBox> mdia = Inside(d, Child(parts, "mdia"));
  if (const TBox* mdhd = Child(mdia, "mdhd")) {
    const bool v1 = d.size() > mdhd->Body && d[mdhd->Body] == 1;
    const uint32_t scale = U32(d, mdhd->Body + (v1 ? 20 : 12));
    const uint64_t length = v1 ? U64(d, mdhd->Body + 24) : U32(d, mdhd->Body + 16);
    t.Seconds = scale ? double(length) / scale : 0;
  }
  if (const TBox* hdlr = Child(mdia, "hdlr")) t.Handler = d.substr(hdlr->Body + 8, 4);
  const std::vector<TBox> stbl = Inside(d, Child(Inside(d, Child(mdia, "minf")), "stbl"));
  if (const TBox* stsd = Child(stbl, "stsd")) {
    const uint64_t entry = stsd->Body + 8;
    t.Codec = d.substr(entry + 4, 4);
    if (t.Handler == "soun") {
      t.Channels = static_cast<int>(U16(d, entry + 24));
      t.SampleRate = static_cast<int>(U32(d, entry + 32) >> 16);
    }
  }
  ReadSampleTable(d, stbl, fileSize, t);
  return t;
}

}  // namespace

const TTrack* TIsoFile::Find(uint32_t id) const {
  for (const TTrack& t : Tracks)
    if (t.Id == id) return &t;
  return nullptr;
}

std::string ReadWholeFile(const std::string& utf8Name) {
  HANDLE f = CreateFileW(Wide(utf8Name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::string();
  std::string data;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got) data.append(buf, got);
  CloseHandle(f);
  return data;
}

uint64_t FileSize(const std::string& utf8Name) {
  WIN32_FILE_ATTRIBUTE_DATA a{};
  if (!GetFileAttributesExW(Wide(utf8Name).c_str(), GetFileExInfoStandard, &a)) return 0;
  return (uint64_t(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

TIsoFile ProbeIso(const std::string& utf8Name) {
  TIsoFile iso;
  const std::string d = ReadWholeFile(utf8Name);
  iso.Opened = !d.empty();
  iso.Size = d.size();
  const std::vector<TBox> top = Boxes(d, 0, d.size());
  for (const TBox& b : top)
    if (b.Start + b.Size > d.size() && iso.CutBox.empty()) {
      iso.CutBox = b.Type;
      iso.CutStart = b.Start;
      iso.CutSize = b.Size;
    }
  const TBox* moov = Child(top, "moov");
  if (!moov || moov->Start + moov->Size > d.size()) return iso;
  iso.HasMovie = true;
  const std::vector<TBox> movie = Inside(d, moov);
  if (const TBox* mvhd = Child(movie, "mvhd")) {
    const bool v1 = d.size() > mvhd->Body && d[mvhd->Body] == 1;
    const uint32_t scale = U32(d, mvhd->Body + (v1 ? 20 : 12));
    const uint64_t length = v1 ? U64(d, mvhd->Body + 24) : U32(d, mvhd->Body + 16);
    iso.Seconds = scale ? double(length) / scale : 0;
  }
  for (const TBox& b : movie)
    if (b.Type == "trak") iso.Tracks.push_back(ReadTrack(d, b, d.size()));
  return iso;
}

// RIFF chunks: the streams in the order of their "strl" lists; the tool numbers them from 1.
std::vector<TAviStream> ProbeAvi(const std::string& utf8Name) {
  std::vector<TAviStream> streams;
  const std::string d = ReadWholeFile(utf8Name);
  if (d.size() < 12 || d.compare(0, 4, "RIFF") != 0 || d.compare(8, 4, "AVI ") != 0) return streams;
  auto walk = [&](auto&& self, uint64_t from, uint64_t to) -> void {
    uint64_t at = from;
    while (at + 8 <= to) {
      const std::string id = d.substr(at, 4);
      const uint64_t size = LE32(d, at + 4);
      const uint64_t body = at + 8;
      if (id == "LIST" && body + 4 <= to) {
        const std::string kind = d.substr(body, 4);
        if (kind == "hdrl" || kind == "strl") self(self, body + 4, std::min<uint64_t>(body + size, to));
      } else if (id == "strh") {
        TAviStream s;
        s.Video = d.compare(body, 4, "vids") == 0;
        streams.push_back(s);
      } else if (id == "strf" && !streams.empty()) {
        TAviStream& s = streams.back();
        if (s.Video) {
          s.Width = static_cast<int>(LE32(d, body + 4));
          s.Height = static_cast<int>(LE32(d, body + 8));
          s.Codec = LE32(d, body + 16);
        } else {
          s.Codec = LE16(d, body);
          s.Channels = static_cast<int>(LE16(d, body + 2));
          s.SampleRate = static_cast<int>(LE32(d, body + 4));
        }
      }
      at = body + size + (size & 1);
    }
  };
  walk(walk, 12, d.size());
  return streams;
}

TAdts ProbeAdts(const std::string& utf8Name) {
  TAdts a;
  const std::string d = ReadWholeFile(utf8Name);
  if (d.size() < 7 || static_cast<unsigned char>(d[0]) != 0xFF || (static_cast<unsigned char>(d[1]) & 0xF0) != 0xF0)
    return a;
  static const int rates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025, 8000, 7350};
  const unsigned char b2 = static_cast<unsigned char>(d[2]), b3 = static_cast<unsigned char>(d[3]);
  const int index = (b2 >> 2) & 0x0F;
  a.Valid = index < 13;
  a.SampleRate = a.Valid ? rates[index] : 0;
  a.Channels = ((b2 & 1) << 2) | (b3 >> 6);
  return a;
}

}  // namespace standin

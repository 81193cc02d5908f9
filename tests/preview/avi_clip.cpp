#include "tests/preview/avi_clip.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

class TRiffWriter {
 public:
  void FourCC(const char* c) { Bytes.insert(Bytes.end(), c, c + 4); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) Bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void U16(uint16_t v) {
    Bytes.push_back(static_cast<uint8_t>(v));
    Bytes.push_back(static_cast<uint8_t>(v >> 8));
  }
  // Opens a chunk (or a list: a chunk whose data begins with a type); Close fills its size.
  size_t Open(const char* id) {
    FourCC(id);
    size_t at = Bytes.size();
    U32(0);
    return at;
  }
  void Close(size_t at) {
    uint32_t size = static_cast<uint32_t>(Bytes.size() - at - 4);
    for (int i = 0; i < 4; ++i) Bytes[at + i] = static_cast<uint8_t>(size >> (8 * i));
    if (Bytes.size() & 1) Bytes.push_back(0);
  }
  std::vector<uint8_t> Bytes;
};

std::vector<uint8_t> Frame(int width, int height, int index, int frames) {
  static const uint8_t bars[4][3] = {{0, 0, 255}, {0, 200, 0}, {255, 0, 0}, {0, 220, 220}};  // BGR
  int stride = (width * 3 + 3) & ~3;
  std::vector<uint8_t> pixels(static_cast<size_t>(stride) * height, 0);
  int band = frames > 1 ? index * (width - width / 8) / (frames - 1) : 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &pixels[static_cast<size_t>(y) * stride + x * 3];
      const uint8_t* c = bars[x * 4 / width];
      bool white = y < height / 4 && x >= band && x < band + width / 8;  // top of the picture
      for (int k = 0; k < 3; ++k) p[k] = white ? 255 : c[k];
    }
  }
  // Rows are stored bottom-up: the band is in the last rows of the buffer.
  std::vector<uint8_t> flipped(pixels.size());
  for (int y = 0; y < height; ++y)
    std::copy_n(&pixels[static_cast<size_t>(y) * stride], stride, &flipped[static_cast<size_t>(height - 1 - y) * stride]);
  return flipped;
}

}  // namespace

bool WriteTestClip(const std::wstring& FileName, int Width, int Height, int Frames, int Fps) {
  uint32_t frameSize = static_cast<uint32_t>(((Width * 3 + 3) & ~3) * Height);
  TRiffWriter w;
  size_t riff = w.Open("RIFF");
  w.FourCC("AVI ");
  size_t hdrl = w.Open("LIST");
  w.FourCC("hdrl");
  size_t avih = w.Open("avih");
  w.U32(1000000 / Fps);        // microseconds a frame
  w.U32(frameSize * Fps);      // bytes a second at most
  w.U32(0);                    // padding granularity
  w.U32(0x10);                 // has an index
  w.U32(Frames);
  w.U32(0);                    // initial frames
  w.U32(1);                    // streams
  w.U32(frameSize);            // suggested buffer size
  w.U32(Width);
  w.U32(Height);
  for (int i = 0; i < 4; ++i) w.U32(0);
  w.Close(avih);
  size_t strl = w.Open("LIST");
  w.FourCC("strl");
  size_t strh = w.Open("strh");
  w.FourCC("vids");
  w.FourCC("DIB ");
  w.U32(0);                    // flags
  w.U16(0);                    // priority
  w.U16(0);                    // language
  w.U32(0);                    // initial frames
  w.U32(1);                    // scale
  w.U32(Fps);                  // rate: frames a second = rate / scale
  w.U32(0);                    // start
  w.U32(Frames);               // length
  w.U32(frameSize);            // suggested buffer size
  w.U32(0xFFFFFFFF);           // quality
  w.U32(frameSize);            // sample size
  w.U16(0);
  w.U16(0);
  w.U16(static_cast<uint16_t>(Width));
  w.U16(static_cast<uint16_t>(Height));
  w.Close(strh);
  size_t strf = w.Open("strf");
  w.U32(40);
  w.U32(Width);
  w.U32(Height);
  w.U16(1);                    // planes
  w.U16(24);                   // bits a pixel
  w.U32(0);                    // BI_RGB
  w.U32(frameSize);
  w.U32(0);
  w.U32(0);
  w.U32(0);
  w.U32(0);
  w.Close(strf);
  w.Close(strl);
  w.Close(hdrl);

  size_t movi = w.Open("LIST");
  size_t moviType = w.Bytes.size();
  w.FourCC("movi");
  std::vector<uint32_t> offsets;
  for (int i = 0; i < Frames; ++i) {
    offsets.push_back(static_cast<uint32_t>(w.Bytes.size() - moviType));
    size_t chunk = w.Open("00db");
    auto pixels = Frame(Width, Height, i, Frames);
    w.Bytes.insert(w.Bytes.end(), pixels.begin(), pixels.end());
    w.Close(chunk);
  }
  w.Close(movi);
  size_t idx1 = w.Open("idx1");
  for (uint32_t offset : offsets) {
    w.FourCC("00db");
    w.U32(0x10);  // key frame
    w.U32(offset);
    w.U32(frameSize);
  }
  w.Close(idx1);
  w.Close(riff);

  HANDLE file = CreateFileW(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, w.Bytes.data(), static_cast<DWORD>(w.Bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == w.Bytes.size();
}

std::wstring TempFileName(const std::wstring& Name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + Name;
}

#include "vcl/pictures.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "vcl/resstrings.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"

#ifdef KAVO_HAVE_JPEG
#include "vcl/jpeg.h"
#endif

VCL_CLASS_IMPL(TGraphic, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TBitmap, TGraphic, nullptr, nullptr)
VCL_CLASS_IMPL(TIcon, TGraphic, nullptr, nullptr)
VCL_CLASS_IMPL(TPicture, TPersistent, nullptr, nullptr)

namespace {

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(LoadResString(&SInvalidBitmap)); }
[[noreturn]] void InvalidIcon() { throw EInvalidGraphic(LoadResString(&SInvalidIcon)); }

// Bytes of one row of a DIB: rows are padded to whole 32-bit words.
size_t RowBytes(LONG width, WORD bitCount) { return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4; }

const BITMAPINFOHEADER& HeaderOf(const std::vector<uint8_t>& info) {
  return *reinterpret_cast<const BITMAPINFOHEADER*>(info.data());
}

BITMAPINFOHEADER& HeaderOf(std::vector<uint8_t>& info) { return *reinterpret_cast<BITMAPINFOHEADER*>(info.data()); }

WORD BitCountOf(TPixelFormat format) {
  static const WORD counts[] = {1, 4, 8, 16, 24, 32};
  return counts[format];
}

RGBQUAD Quad(TColor color) {
  const COLORREF c = ColorToRGB(color);
  return RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0};
}

// The colour table a palette format starts with.
std::vector<RGBQUAD> FixedPalette(TPixelFormat format) {
  switch (format) {
    case pf1bit:
      return {Quad(clBlack), Quad(clWhite)};
    case pf4bit: {
      static const TColor standard[16] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clSilver,
                                          clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
      std::vector<RGBQUAD> quads;
      for (TColor c : standard) quads.push_back(Quad(c));
      return quads;
    }
    case pf8bit: {
      HDC screen = GetDC(nullptr);
      HPALETTE halftone = CreateHalftonePalette(screen);
      ReleaseDC(nullptr, screen);
      PALETTEENTRY entries[256]{};
      const UINT n = halftone ? GetPaletteEntries(halftone, 0, 256, entries) : 0;
      if (halftone) DeleteObject(halftone);
      std::vector<RGBQUAD> quads;
      for (UINT i = 0; i < n; ++i) quads.push_back(RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0});
      if (quads.empty()) return FixedPalette(pf4bit);
      return quads;
    }
    default:
      return {};
  }
}

// The BITMAPINFO of a new bottom-up picture.
std::vector<uint8_t> MakeInfo(int width, int height, TPixelFormat format) {
  const std::vector<RGBQUAD> palette = FixedPalette(format);
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + palette.size() * sizeof(RGBQUAD));
  BITMAPINFOHEADER& h = HeaderOf(info);
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = BitCountOf(format);
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(RowBytes(width, h.biBitCount) * static_cast<size_t>(height));
  h.biClrUsed = static_cast<DWORD>(palette.size());
  if (!palette.empty()) std::memcpy(info.data() + sizeof(h), palette.data(), palette.size() * sizeof(RGBQUAD));
  return info;
}

HBITMAP CreateDib(const std::vector<uint8_t>& info, void*& bits) {
  bits = nullptr;
  HBITMAP handle =
      CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!handle || !bits) {
    if (handle) DeleteObject(handle);
    throw EOutOfResources("Out of system resources");
  }
  return handle;
}

int64_t Remaining(TStream* stream) { return stream->Size() - stream->Position(); }

// Reads exactly count bytes; false when the stream ends first.
bool ReadAll(TStream* stream, void* buffer, int64_t count) {
  return count == 0 || stream->Read(buffer, count) == count;
}

}  // namespace

// --- TGraphic -----------------------------------------------------------------

void TGraphic::LoadFromFile(const AnsiString& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const AnsiString& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

// --- TBitmap ------------------------------------------------------------------

// A memory device context with the bitmap selected into it, made when drawing needs it and
// given up whenever the bitmap replaces its picture.
class TBitmap::TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* owner) : FOwner(owner) {}
  ~TBitmapCanvas() override { FreeDC(); }

  void FreeDC() {
    HDC dc = CurrentHandle();
    if (!dc) return;
    SetHandle(nullptr);
    if (FOldBitmap) SelectObject(dc, FOldBitmap);
    FOldBitmap = nullptr;
    DeleteDC(dc);
  }

 protected:
  void CreateHandle() override {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) throw EOutOfResources("Out of system resources");
    // An empty bitmap still draws (on the context's own 1 x 1 bitmap, where nothing shows).
    FOldBitmap = FOwner->FHandle ? SelectObject(dc, FOwner->FHandle) : nullptr;
    SetHandle(dc);
  }

 private:
  TBitmap* FOwner;
  HGDIOBJ FOldBitmap = nullptr;
};

TBitmap::TBitmap() : FInfo(MakeInfo(0, 0, pf24bit)) {}

TBitmap::~TBitmap() {
  FreeImage();
  FCanvas.reset();
}

int TBitmap::Width() { return HeaderOf(FInfo).biWidth; }

int TBitmap::Height() { return std::abs(HeaderOf(FInfo).biHeight); }

size_t TBitmap::ImageSize() const {
  const BITMAPINFOHEADER& h = HeaderOf(FInfo);
  return RowBytes(h.biWidth, h.biBitCount) * static_cast<size_t>(std::abs(h.biHeight));
}

TPixelFormat TBitmap::PixelFormat() const {
  switch (HeaderOf(FInfo).biBitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf16bit;
    case 32: return pf32bit;
    default: return pf24bit;
  }
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TBitmapCanvas>(this);
    FCanvas->OnChange = [this](TObject*) { Changed(); };
  }
  return FCanvas.get();
}

HBITMAP TBitmap::Handle() {
  GdiFlush();  // what the canvas drew is in the bits before anyone reads them
  return FHandle;
}

void* TBitmap::ScanLine(int Row) {
  if (!FHandle || Row < 0 || Row >= Height()) throw EInvalidGraphicOperation(LoadResString(&SScanLine));
  GdiFlush();
  const BITMAPINFOHEADER& h = HeaderOf(FInfo);
  const size_t stride = RowBytes(h.biWidth, h.biBitCount);
  // Bottom-up pictures keep their top row last.
  const size_t index = h.biHeight > 0 ? static_cast<size_t>(Height() - 1 - Row) : static_cast<size_t>(Row);
  return static_cast<uint8_t*>(FBits) + index * stride;
}

void TBitmap::FreeContext() {
  if (FCanvas) FCanvas->FreeDC();
}

void TBitmap::FreeImage() {
  FreeContext();
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FBits = nullptr;
}

void TBitmap::TakeImage(std::vector<uint8_t> info, HBITMAP handle, void* bits) {
  FreeImage();
  FInfo = std::move(info);
  FHandle = handle;
  FBits = bits;
}

void TBitmap::ReplaceImage(std::vector<uint8_t> info) {
  const BITMAPINFOHEADER& h = HeaderOf(info);
  if (h.biWidth <= 0 || h.biHeight == 0) {
    FreeImage();
    FInfo = std::move(info);
    Changed();
    return;
  }
  void* bits = nullptr;
  HBITMAP handle = CreateDib(info, bits);
  if (FHandle) {
    // The old picture at its own size in the top left corner; palette formats take the
    // nearest colours.
    FreeContext();
    GdiFlush();
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, handle);
    const int w = Width(), hgt = Height();
    StretchDIBits(dc, 0, 0, w, hgt, 0, 0, w, hgt, FBits, Info(), DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  TakeImage(std::move(info), handle, bits);
  Changed();
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == Width() && AHeight == Height()) return;
  std::vector<uint8_t> info = FInfo;
  BITMAPINFOHEADER& h = HeaderOf(info);
  h.biWidth = AWidth;
  h.biHeight = h.biHeight < 0 ? -AHeight : AHeight;
  h.biSizeImage = static_cast<DWORD>(RowBytes(AWidth, h.biBitCount) * static_cast<size_t>(AHeight));
  ReplaceImage(std::move(info));
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == PixelFormat()) return;
  ReplaceImage(MakeInfo(Width(), Height(), Value));
}

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    ReplaceImage(MakeInfo(0, 0, PixelFormat()));
    return;
  }
  auto* source = dynamic_cast<TBitmap*>(Source);
  if (!source) {
    TGraphic::Assign(Source);
    return;
  }
  if (source == this) return;
  if (!source->FHandle) {
    FreeImage();
    FInfo = source->FInfo;
    Changed();
    return;
  }
  void* bits = nullptr;
  HBITMAP handle = CreateDib(source->FInfo, bits);
  GdiFlush();
  std::memcpy(bits, source->FBits, source->ImageSize());
  TakeImage(source->FInfo, handle, bits);
  Changed();
}

void TBitmap::LoadFromStream(TStream* Stream) {
  const int64_t start = Stream->Position();
  BITMAPFILEHEADER file{};
  const int64_t got = Stream->Read(&file, sizeof(file));
  if (got == 0) {
    ReplaceImage(MakeInfo(0, 0, PixelFormat()));
    return;
  }
  if (got != static_cast<int64_t>(sizeof(file)) || file.bfType != 0x4D42) InvalidBitmap();  // "BM"

  // The information header: the 40-byte form or a later, longer one (its first 40 bytes
  // mean the same). The 12-byte OS/2 form is not read.
  DWORD headerSize = 0;
  if (!ReadAll(Stream, &headerSize, sizeof(headerSize))) InvalidBitmap();
  if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > 1024) InvalidBitmap();
  std::vector<uint8_t> raw(headerSize);
  std::memcpy(raw.data(), &headerSize, sizeof(headerSize));
  if (!ReadAll(Stream, raw.data() + sizeof(headerSize), headerSize - sizeof(headerSize))) InvalidBitmap();
  BITMAPINFOHEADER h;
  std::memcpy(&h, raw.data(), sizeof(h));

  const WORD bits = h.biBitCount;
  const bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  const bool knownCompression =
      h.biCompression == BI_RGB || (h.biCompression == BI_BITFIELDS && (bits == 16 || bits == 32));
  if (h.biPlanes != 1 || !knownDepth || !knownCompression || h.biWidth <= 0 || h.biHeight == 0 ||
      h.biHeight == INT32_MIN)
    InvalidBitmap();

  std::vector<uint8_t> tail;  // the masks or the colour table
  if (h.biCompression == BI_BITFIELDS) {
    tail.resize(3 * sizeof(DWORD));
    // Longer headers hold the masks themselves, right after the first 40 bytes.
    if (headerSize >= sizeof(BITMAPINFOHEADER) + tail.size())
      std::memcpy(tail.data(), raw.data() + sizeof(BITMAPINFOHEADER), tail.size());
    else if (!ReadAll(Stream, tail.data(), static_cast<int64_t>(tail.size())))
      InvalidBitmap();
  }
  DWORD colors = 0;
  if (bits <= 8) {
    colors = h.biClrUsed ? h.biClrUsed : (1u << bits);
    if (colors > (1u << bits)) InvalidBitmap();
    tail.resize(colors * sizeof(RGBQUAD));
    if (!ReadAll(Stream, tail.data(), static_cast<int64_t>(tail.size()))) InvalidBitmap();
  } else if (h.biClrUsed) {
    // A colour table beside true colours only advises palette devices: skipped.
    if (h.biClrUsed > 256 || Remaining(Stream) < static_cast<int64_t>(h.biClrUsed * sizeof(RGBQUAD))) InvalidBitmap();
    Stream->Seek(static_cast<int64_t>(h.biClrUsed * sizeof(RGBQUAD)), soCurrent);
  }
  // The pixels start where the file header says, unless it points into what was read.
  if (static_cast<int64_t>(file.bfOffBits) > Stream->Position() - start) {
    if (start + static_cast<int64_t>(file.bfOffBits) > Stream->Size()) InvalidBitmap();
    Stream->SetPosition(start + file.bfOffBits);
  }

  const size_t stride = RowBytes(h.biWidth, bits);
  const size_t rows = static_cast<size_t>(std::abs(h.biHeight));
  const int64_t left = Remaining(Stream);
  if (left < 0 || rows > static_cast<size_t>(left) / stride) InvalidBitmap();

  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + tail.size());
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biClrUsed = colors;
  h.biSizeImage = static_cast<DWORD>(stride * rows);
  std::memcpy(info.data(), &h, sizeof(h));
  if (!tail.empty()) std::memcpy(info.data() + sizeof(h), tail.data(), tail.size());

  void* pixels = nullptr;
  HBITMAP handle = CreateDib(info, pixels);
  if (!ReadAll(Stream, pixels, static_cast<int64_t>(stride * rows))) {
    DeleteObject(handle);
    InvalidBitmap();
  }
  TakeImage(std::move(info), handle, pixels);
  Changed();
}

void TBitmap::SaveToStream(TStream* Stream) {
  if (Empty()) return;
  GdiFlush();
  const size_t image = ImageSize();
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = static_cast<DWORD>(sizeof(file) + FInfo.size());
  file.bfSize = static_cast<DWORD>(file.bfOffBits + image);
  Stream->WriteBuffer(&file, sizeof(file));
  Stream->WriteBuffer(FInfo.data(), static_cast<int64_t>(FInfo.size()));
  Stream->WriteBuffer(FBits, static_cast<int64_t>(image));
}

void TBitmap::Draw(TCanvas* ACanvas, const RECT& Rect) {
  if (!FHandle) return;
  GdiFlush();
  HDC dc = ACanvas->Handle();
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, 0, 0, Width(), Height(),
                FBits, Info(), DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

// --- TIcon --------------------------------------------------------------------

namespace {

#pragma pack(push, 1)
struct TIconDir {
  WORD Reserved;
  WORD Type;  // 1: icons
  WORD Count;
};
struct TIconDirEntry {
  BYTE Width;  // 0 stands for 256
  BYTE Height;
  BYTE ColorCount;
  BYTE Reserved;
  WORD Planes;
  WORD BitCount;
  DWORD BytesInRes;
  DWORD ImageOffset;
};
#pragma pack(pop)

int EntrySize(BYTE size) { return size ? size : 256; }

// The entry the system would show at its icon size: the nearest size, then the most colours.
const TIconDirEntry& BestEntry(const TIconDirEntry* entries, int count) {
  const int wanted = GetSystemMetrics(SM_CXICON);
  const TIconDirEntry* best = &entries[0];
  for (int i = 1; i < count; ++i) {
    const int d = std::abs(EntrySize(entries[i].Width) - wanted), bd = std::abs(EntrySize(best->Width) - wanted);
    if (d < bd || (d == bd && entries[i].BitCount > best->BitCount)) best = &entries[i];
  }
  return *best;
}

struct TIconBitmaps {
  ICONINFO Info{};
  ~TIconBitmaps() {
    if (Info.hbmColor) DeleteObject(Info.hbmColor);
    if (Info.hbmMask) DeleteObject(Info.hbmMask);
  }
};

// The pixels of a bitmap as a bottom-up DIB of bitCount bits (1 or 32).
std::vector<uint8_t> DibBits(HBITMAP bitmap, int width, int height, WORD bitCount) {
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[2];
  } info{};
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = width;
  info.Header.biHeight = height;
  info.Header.biPlanes = 1;
  info.Header.biBitCount = bitCount;
  info.Header.biCompression = BI_RGB;
  std::vector<uint8_t> bits(RowBytes(width, bitCount) * static_cast<size_t>(height));
  HDC dc = CreateCompatibleDC(nullptr);
  const int got = GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits.data(),
                            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteDC(dc);
  if (got != height) InvalidIcon();
  return bits;
}

// An .ico file of one image for an icon handle: 32-bit colours with the mask, or, for a
// monochrome icon, its two-colour image and mask.
std::vector<uint8_t> IconFileOf(HICON icon) {
  TIconBitmaps b;
  if (!GetIconInfo(icon, &b.Info)) RaiseLastOSError();
  BITMAP bm{};
  GetObjectW(b.Info.hbmColor ? b.Info.hbmColor : b.Info.hbmMask, sizeof(bm), &bm);
  const int width = bm.bmWidth;
  const int height = b.Info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  if (width <= 0 || height <= 0) InvalidIcon();

  BITMAPINFOHEADER h{};
  h.biSize = sizeof(h);
  h.biWidth = width;
  h.biHeight = height * 2;  // the image and its mask
  h.biPlanes = 1;
  h.biCompression = BI_RGB;
  std::vector<uint8_t> body;
  if (b.Info.hbmColor) {
    h.biBitCount = 32;
    const std::vector<uint8_t> image = DibBits(b.Info.hbmColor, width, height, 32);
    const std::vector<uint8_t> mask = DibBits(b.Info.hbmMask, width, height, 1);
    body.insert(body.end(), image.begin(), image.end());
    body.insert(body.end(), mask.begin(), mask.end());
  } else {
    // The monochrome mask holds the AND mask above the image: bottom-up, that is the image
    // first, then the mask, as the file wants them.
    h.biBitCount = 1;
    h.biClrUsed = 2;
    const RGBQUAD colors[2] = {Quad(clBlack), Quad(clWhite)};
    const auto* c = reinterpret_cast<const uint8_t*>(colors);
    body.insert(body.end(), c, c + sizeof(colors));
    const std::vector<uint8_t> both = DibBits(b.Info.hbmMask, width, height * 2, 1);
    body.insert(body.end(), both.begin(), both.end());
  }
  h.biSizeImage = static_cast<DWORD>(body.size() - (h.biClrUsed * sizeof(RGBQUAD)));

  TIconDir dir{0, 1, 1};
  TIconDirEntry entry{};
  entry.Width = static_cast<BYTE>(width < 256 ? width : 0);
  entry.Height = static_cast<BYTE>(height < 256 ? height : 0);
  entry.ColorCount = static_cast<BYTE>(h.biBitCount == 1 ? 2 : 0);
  entry.Planes = 1;
  entry.BitCount = h.biBitCount;
  entry.BytesInRes = static_cast<DWORD>(sizeof(h) + body.size());
  entry.ImageOffset = sizeof(dir) + sizeof(entry);

  std::vector<uint8_t> file(sizeof(dir) + sizeof(entry) + sizeof(h));
  std::memcpy(file.data(), &dir, sizeof(dir));
  std::memcpy(file.data() + sizeof(dir), &entry, sizeof(entry));
  std::memcpy(file.data() + sizeof(dir) + sizeof(entry), &h, sizeof(h));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

}  // namespace

TIcon::~TIcon() {
  if (FHandle) DestroyIcon(FHandle);
}

void TIcon::TakeIcon(HICON icon, std::vector<uint8_t> image) {
  if (FHandle && FHandle != icon) DestroyIcon(FHandle);
  FHandle = icon;
  FImage = std::move(image);
  FWidth = FHeight = 0;
  TIconBitmaps b;
  if (icon && GetIconInfo(icon, &b.Info)) {
    BITMAP bm{};
    GetObjectW(b.Info.hbmColor ? b.Info.hbmColor : b.Info.hbmMask, sizeof(bm), &bm);
    FWidth = bm.bmWidth;
    FHeight = b.Info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  }
  Changed();
}

void TIcon::SetHandle(HICON Value) {
  if (Value == FHandle) return;
  TakeIcon(Value, {});
}

HICON TIcon::ReleaseHandle() {
  HICON icon = FHandle;
  FHandle = nullptr;
  TakeIcon(nullptr, {});
  return icon;
}

void TIcon::LoadSystemIcon(LPCSTR IconId) {
  // The system's icons are shared and must not be destroyed: the graphic owns a copy.
  HICON shared = LoadIconA(nullptr, IconId);
  if (!shared) RaiseLastOSError();
  HICON copy = CopyIcon(shared);
  if (!copy) RaiseLastOSError();
  TakeIcon(copy, {});
}

void TIcon::Assign(TPersistent* Source) {
  if (!Source) {
    TakeIcon(nullptr, {});
    return;
  }
  auto* source = dynamic_cast<TIcon*>(Source);
  if (!source) {
    TGraphic::Assign(Source);
    return;
  }
  if (source == this) return;
  HICON copy = nullptr;
  if (source->FHandle && !(copy = CopyIcon(source->FHandle))) RaiseLastOSError();
  TakeIcon(copy, source->FImage);
}

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation(LoadResString(&SChangeIconSize)); }

void TIcon::SetHeight(int) { throw EInvalidGraphicOperation(LoadResString(&SChangeIconSize)); }

void TIcon::LoadFromStream(TStream* Stream) {
  TIconDir dir{};
  const int64_t got = Stream->Read(&dir, sizeof(dir));
  if (got == 0) {
    TakeIcon(nullptr, {});
    return;
  }
  if (got != static_cast<int64_t>(sizeof(dir)) || dir.Reserved != 0 || dir.Type != 1 || dir.Count == 0) InvalidIcon();
  const size_t headerBytes = sizeof(dir) + dir.Count * sizeof(TIconDirEntry);
  std::vector<uint8_t> image(headerBytes);
  std::memcpy(image.data(), &dir, sizeof(dir));
  if (!ReadAll(Stream, image.data() + sizeof(dir), static_cast<int64_t>(headerBytes - sizeof(dir)))) InvalidIcon();
  const auto* entries = reinterpret_cast<const TIconDirEntry*>(image.data() + sizeof(dir));

  // The file ends with the last of its images.
  uint64_t end = headerBytes;
  for (int i = 0; i < dir.Count; ++i) {
    if (entries[i].ImageOffset < headerBytes || entries[i].BytesInRes == 0) InvalidIcon();
    end = std::max<uint64_t>(end, uint64_t{entries[i].ImageOffset} + entries[i].BytesInRes);
  }
  if (end - headerBytes > static_cast<uint64_t>(std::max<int64_t>(Remaining(Stream), 0))) InvalidIcon();
  image.resize(end);
  entries = reinterpret_cast<const TIconDirEntry*>(image.data() + sizeof(dir));
  if (!ReadAll(Stream, image.data() + headerBytes, static_cast<int64_t>(end - headerBytes))) InvalidIcon();

  const TIconDirEntry& entry = BestEntry(entries, dir.Count);
  HICON icon = CreateIconFromResourceEx(image.data() + entry.ImageOffset, entry.BytesInRes, TRUE, 0x00030000,
                                        EntrySize(entry.Width), EntrySize(entry.Height), LR_DEFAULTCOLOR);
  if (!icon) InvalidIcon();
  TakeIcon(icon, std::move(image));
}

void TIcon::SaveToStream(TStream* Stream) {
  if (!FHandle) return;
  const std::vector<uint8_t> file = FImage.empty() ? IconFileOf(FHandle) : FImage;
  Stream->WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
}

void TIcon::Draw(TCanvas* ACanvas, const RECT& Rect) {
  if (!FHandle) return;
  DrawIconEx(ACanvas->Handle(), Rect.left, Rect.top, FHandle, Rect.right - Rect.left, Rect.bottom - Rect.top, 0,
             nullptr, DI_NORMAL);
}

// --- The format registry ------------------------------------------------------

namespace {

struct TFileFormat {
  AnsiString Extension;  // without its dot
  AnsiString Description;
  TGraphicClass Class;
};

std::mutex& FormatsLock() {
  static std::mutex m;
  return m;
}

std::vector<TFileFormat>& Formats() {
  static std::vector<TFileFormat> formats = [] {
    std::vector<TFileFormat> f{{"bmp", LoadResString(&SVBitmaps), TBitmap::GraphicClass()},
                               {"ico", LoadResString(&SVIcons), TIcon::GraphicClass()}};
#ifdef KAVO_HAVE_JPEG
    f.push_back({"jpg", LoadResString(&SJPEGImageFile), TJPEGImage::GraphicClass()});
    f.push_back({"jpeg", LoadResString(&SJPEGImageFile), TJPEGImage::GraphicClass()});
#endif
    return f;
  }();
  return formats;
}

AnsiString WithoutDot(const AnsiString& extension) {
  return !extension.empty() && extension[0] == '.' ? extension.substr(1) : extension;
}

std::vector<TFileFormat>::iterator FindFormat(std::vector<TFileFormat>& formats, const AnsiString& extension) {
  return std::find_if(formats.begin(), formats.end(),
                      [&](const TFileFormat& f) { return AnsiCompareText(f.Extension, extension) == 0; });
}

// The extension of an 8-bit file name, without its dot; empty when it has none.
AnsiString ExtensionOf(const AnsiString& fileName) {
  const size_t dot = fileName.find_last_of(".\\:");
  if (dot == AnsiString::npos || fileName[dot] != '.') return AnsiString();
  return fileName.substr(dot + 1);
}

}  // namespace

void RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description, TGraphicClass Class) {
  const AnsiString extension = WithoutDot(Extension);
  std::lock_guard<std::mutex> lock(FormatsLock());
  auto& formats = Formats();
  auto it = FindFormat(formats, extension);
  if (it != formats.end())
    *it = TFileFormat{extension, Description, Class};
  else
    formats.push_back(TFileFormat{extension, Description, Class});
}

void UnregisterGraphicClass(TGraphicClass Class) {
  std::lock_guard<std::mutex> lock(FormatsLock());
  auto& formats = Formats();
  formats.erase(std::remove_if(formats.begin(), formats.end(),
                               [&](const TFileFormat& f) { return f.Class->Class->InheritsFrom(Class->Class); }),
                formats.end());
}

TGraphicClass GraphicClassOfExtension(const AnsiString& Extension) {
  const AnsiString extension = WithoutDot(Extension);
  if (extension.empty()) return nullptr;
  std::lock_guard<std::mutex> lock(FormatsLock());
  auto& formats = Formats();
  auto it = FindFormat(formats, extension);
  return it != formats.end() ? it->Class : nullptr;
}

AnsiString GraphicFilter(TGraphicClass GraphicClass) {
  std::lock_guard<std::mutex> lock(FormatsLock());
  AnsiString masks, entries;
  for (const TFileFormat& f : Formats()) {
    if (!f.Class->Class->InheritsFrom(GraphicClass->Class)) continue;
    const AnsiString mask = "*." + f.Extension;
    if (!masks.empty()) masks += ';';
    masks += mask;
    entries += "|" + f.Description + " (" + mask + ")|" + mask;
  }
  if (masks.empty()) return AnsiString();
  return LoadResString(&SAllFilter) + " (" + masks + ")|" + masks + entries;
}

// --- TPicture -----------------------------------------------------------------

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> graphic) {
  if (graphic) graphic->OnChange = [this](TObject* sender) { Changed(sender); };
  FGraphic = std::move(graphic);
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == FGraphic.get()) return;
  if (!Value) {
    TakeGraphic(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> copy(Value->GraphicClassType()->Create());
  copy->Assign(Value);
  TakeGraphic(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic.get())) TakeGraphic(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(FGraphic.get())) TakeGraphic(std::make_unique<TIcon>());
  return static_cast<TIcon*>(FGraphic.get());
}

TGraphicClass TPicture::RegisteredClassOf(const AnsiString& Extension) {
  TGraphicClass cls = GraphicClassOfExtension(Extension);
  if (!cls) throw EInvalidGraphic(Format(LoadResString(&SUnknownExtension).c_str(), WithoutDot(Extension).c_str()));
  return cls;
}

void TPicture::LoadNewGraphic(TGraphicClass Class, const std::function<void(TGraphic*)>& Load) {
  std::unique_ptr<TGraphic> graphic(Class->Create());
  Load(graphic.get());
  TakeGraphic(std::move(graphic));
}

void TPicture::LoadFromFile(const AnsiString& FileName) {
  LoadNewGraphic(RegisteredClassOf(ExtensionOf(FileName)), [&](TGraphic* g) { g->LoadFromFile(FileName); });
}

void TPicture::SaveToFile(const AnsiString& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::DefineProperties(TFiler* Filer) {
  auto read = [this](TStream* stream) {
    uint8_t length = 0;
    stream->ReadBuffer(&length, 1);
    AnsiString name(length, '\0');
    if (length) stream->ReadBuffer(name.data(), length);
    TGraphicClass cls = nullptr;
    {
      std::lock_guard<std::mutex> lock(FormatsLock());
      for (const TFileFormat& f : Formats())
        if (AnsiCompareText(f.Class->Class->Name, name) == 0) cls = f.Class;
    }
    if (!cls) throw EInvalidGraphic("Unknown picture class " + name);
    LoadNewGraphic(cls, [&](TGraphic* g) { g->LoadFromStream(stream); });
  };
  auto write = [this](TStream* stream) {
    const AnsiString name = FGraphic->ClassName();
    const auto length = static_cast<uint8_t>(std::min<size_t>(name.size(), 255));
    stream->WriteBuffer(&length, 1);
    stream->WriteBuffer(name.data(), length);
    FGraphic->SaveToStream(stream);
  };
  Filer->DefineBinaryProperty("Data", read, write, FGraphic && !FGraphic->Empty());
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source)
    SetGraphic(nullptr);
  else if (auto* picture = dynamic_cast<TPicture*>(Source))
    SetGraphic(picture->Graphic());
  else if (auto* graphic = dynamic_cast<TGraphic*>(Source))
    SetGraphic(graphic);
  else
    TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------
// Bitmaps in stored descriptions

void TBitmap::DefineProperties(TFiler* Filer) {
  TGraphic::DefineProperties(Filer);
  auto read = [this](TStream* Stream) {
    uint32_t size = 0;
    Stream->ReadBuffer(&size, sizeof size);
    TMemoryStream file;
    if (size) file.CopyFrom(Stream, size);
    file.SetPosition(0);
    LoadFromStream(&file);
  };
  auto write = [this](TStream* Stream) {
    TMemoryStream file;
    SaveToStream(&file);
    uint32_t size = static_cast<uint32_t>(file.Size());
    Stream->WriteBuffer(&size, sizeof size);
    if (size) Stream->WriteBuffer(file.Memory(), size);
  };
  Filer->DefineBinaryProperty("Data", read, write, !Empty());
}

bool LoadBitmapResource(TBitmap* Bitmap, const char* Name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(module, Name, MAKEINTRESOURCEA(2));  // RT_BITMAP
  if (!res) return false;
  DWORD size = SizeofResource(module, res);
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, res)));
  if (!data || size < sizeof(BITMAPINFOHEADER)) return false;
  // The resource is a BMP file without its file header: put one in front.
  const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(data);
  DWORD colours = info->biClrUsed ? info->biClrUsed : (info->biBitCount <= 8 ? 1u << info->biBitCount : 0);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfSize = sizeof file + size;
  file.bfOffBits = sizeof file + info->biSize + colours * sizeof(RGBQUAD);
  TMemoryStream stream;
  stream.Write(&file, sizeof file);
  stream.Write(data, size);
  stream.SetPosition(0);
  Bitmap->LoadFromStream(&stream);
  return true;
}

#include "wizard/thumbnail_picture.h"

#include <cstring>

#include "vcl/streaming.h"
#include "wizard/thumbnail.h"
#include "wizard/thumbnail_layout.h"
#include "wizard/thumbnail_reduce.h"

namespace {

const std::vector<TPropInfo>& BaseThumbImageProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvBaseThumbImage>()
      .Property("IgnoreMouse", &TKvBaseThumbImage::IgnoreMouse).Default(false)
      .Table();
  return table;
}

const std::vector<TPropInfo>& ThumbImageProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvThumbImage>()
      .Property("Angle", &TKvThumbImage::Angle, &TKvThumbImage::SetAngle).Default(AT0)
      .Property("Modified", &TKvThumbImage::Modified, nullptr)
      .Property("CanModify", &TKvThumbImage::CanModify, nullptr)
      .Property("Zoom", &TKvThumbImage::Zoom).Default(0)
      .Property("OnRotate", &TKvThumbImage::OnRotate)
      .Property("OnLoaded", &TKvThumbImage::OnLoaded)
      .Property("OnInvalidImage", &TKvThumbImage::OnInvalidImage)
      .Table();
  return table;
}

// A 24-bit device-independent bitmap holding the graphic drawn at its own size.
std::unique_ptr<TBitmap> Snapshot(TGraphic* Graphic) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(Graphic->Width(), Graphic->Height());
  bitmap->Canvas()->Draw(0, 0, Graphic);
  return bitmap;
}

// Rows of a 24-bit bitmap, whichever way up the bitmap stores them.
TPixelRows RowsOf(TBitmap& Bitmap) {
  TPixelRows rows;
  rows.Width = Bitmap.Width();
  rows.Height = Bitmap.Height();
  if (rows.Width == 0 || rows.Height == 0) return rows;
  rows.Bits = static_cast<uint8_t*>(Bitmap.ScanLine(0));
  if (rows.Height > 1) rows.Stride = static_cast<uint8_t*>(Bitmap.ScanLine(1)) - rows.Bits;
  return rows;
}

// Target emptied and made a 24-bit bitmap of Width x Height (nothing of its old picture copied).
TPixelRows FreshRows(TBitmap& Target, int Width, int Height) {
  Target.Assign(nullptr);
  Target.SetPixelFormat(pf24bit);
  Target.SetSize(Width, Height);
  return RowsOf(Target);
}

// Reduces Source through Steps (sizes from ScaleDownChain) into Target, which takes the last
// step's size; the steps before it live in memory only.
void ReduceThrough(TPixelRows Source, const std::vector<POINT>& Steps, TBitmap& Target) {
  std::vector<uint8_t> between[2];
  for (size_t i = 0; i + 1 < Steps.size(); ++i) {
    std::vector<uint8_t>& buffer = between[i % 2];
    TPixelRows next{nullptr, Steps[i].x, Steps[i].y, static_cast<ptrdiff_t>(Steps[i].x) * 3};
    buffer.resize(static_cast<size_t>(next.Stride) * static_cast<size_t>(next.Height));
    next.Bits = buffer.data();
    BoxReduce(Source, next);
    Source = next;
  }
  BoxReduce(Source, FreshRows(Target, Steps.back().x, Steps.back().y));
}

// The decoding memory of the pictures (main thread only): a JPEG file's bytes, and the
// pixels of a picture that is reduced before it is kept. It serves again for the next
// picture unless a huge one made it grow beyond Kept bytes.
struct TJpegScratch {
  static constexpr size_t Kept = 32u << 20;
  std::vector<uint8_t> Data, Pixels;

  uint8_t* PixelsFor(size_t Size) {
    if (Pixels.size() < Size) Pixels.resize(Size);
    return Pixels.data();
  }
  void Trim() {
    if (Data.capacity() + Pixels.capacity() <= Kept) return;
    Data = std::vector<uint8_t>();
    Pixels = std::vector<uint8_t>();
  }
};

TJpegScratch& SharedJpegScratch() {
  static TJpegScratch scratch;
  return scratch;
}

}  // namespace

VCL_CLASS_IMPL(TKvBaseThumbImage, TImage, &CreateComponentOf<TKvBaseThumbImage>, &BaseThumbImageProperties)
VCL_CLASS_IMPL(TKvThumbImage, TKvBaseThumbImage, &CreateComponentOf<TKvThumbImage>, &ThumbImageProperties)

// ---------------------------------------------------------------------------

TKvBaseThumbImage::TKvBaseThumbImage(TComponent* AOwner) : TImage(AOwner) { ControlStyle &= ~csSetCaption; }

void TKvBaseThumbImage::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_HITTEST && !HasState(csDesigning)) {
    Message.Result = IgnoreMouse ? 0 : 1;
    return;
  }
  TImage::Dispatch(Message);
}

void TKvBaseThumbImage::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent()))
    thumb->MouseDown(Button, Shift, X + Left(), Y + Top());
  else
    TImage::MouseDown(Button, Shift, X, Y);
}

void TKvBaseThumbImage::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent()))
    thumb->MouseUp(Button, Shift, X + Left(), Y + Top());
  else
    TImage::MouseUp(Button, Shift, X, Y);
}

void TKvBaseThumbImage::MouseMove(TShiftState Shift, int X, int Y) {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent()))
    thumb->MouseMove(Shift, X + Left(), Y + Top());
  else
    TImage::MouseMove(Shift, X, Y);
}

void TKvBaseThumbImage::Click() {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent()))
    thumb->Click();
  else
    TImage::Click();
}

void TKvBaseThumbImage::DblClick() {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent()))
    thumb->DblClick();
  else
    TImage::DblClick();
}

// ---------------------------------------------------------------------------

TKvThumbImage::TKvThumbImage(TComponent* AOwner) : TKvBaseThumbImage(AOwner) {}

void TKvThumbImage::LoadFromFile(const AnsiString& AFile) { Load(AFile, POINT{0, 0}); }

void TKvThumbImage::LoadFromFile(const AnsiString& AFile, int MaxWidth, int MaxHeight) {
  Load(AFile, POINT{MaxWidth, MaxHeight});
}

void TKvThumbImage::Load(const AnsiString& AFile, POINT Bound) {
  try {
    size_t dot = AFile.find_last_of("./\\");
    AnsiString ext = dot != AnsiString::npos && AFile[dot] == '.' ? UpperCase(AFile.substr(dot)) : AnsiString();
    if (ext == ".JPG") {
      LoadJpeg(AFile, Bound);
    } else {
      try {
        Picture()->LoadFromFile(AFile);
      } catch (const Exception&) {
        if (!OnInvalidImage) throw;
        OnInvalidImage(this, AFile);
        FLoadedSize = POINT{Picture()->Width(), Picture()->Height()};
        return;
      }
      FGraphicClass = Picture()->Graphic() ? Picture()->Graphic()->GraphicClassType() : nullptr;
      FLoadedSize = POINT{Picture()->Width(), Picture()->Height()};
      ScaleDown(Bound.x, Bound.y);
    }
    FFileName = AFile;
    FAngle = AT0;
    if (OnLoaded) OnLoaded(this);
  } catch (...) {
    FFileName.clear();
    FGraphicClass = nullptr;
    throw;
  }
}

void TKvThumbImage::LoadJpeg(const AnsiString& AFile, POINT Bound) {
  // Inside a cell a large file is decoded at a reduced scale, chosen by its size.
  const TJpegScaleRule rule = dynamic_cast<TKvThumbnail*>(Parent()) ? &JpegScaleForSize : nullptr;
  TJpegScratch& scratch = SharedJpegScratch();
  TBitmap& bitmap = *Picture()->Bitmap();
  TPixelRows decoded;
  std::vector<POINT> steps;
  // A picture kept whole is decoded straight into the picture's bitmap; one to be scaled
  // down goes to the scratch pixels first, and from there reduced into the bitmap.
  auto rows = [&](int Width, int Height, ptrdiff_t& Stride) {
    FLoadedSize = POINT{Width, Height};
    steps = ScaleDownChain(Width, Height, Bound.x, Bound.y);
    if (steps.empty()) {
      decoded = FreshRows(bitmap, Width, Height);
    } else {
      decoded = TPixelRows{nullptr, Width, Height, static_cast<ptrdiff_t>(Width) * 3};
      decoded.Bits = scratch.PixelsFor(static_cast<size_t>(decoded.Stride) * static_cast<size_t>(Height));
    }
    Stride = decoded.Stride;
    return decoded.Bits;
  };
  try {
    DecodeJpegFile(AFile, rule, scratch.Data, rows);
  } catch (...) {
    bitmap.Assign(nullptr);
    scratch.Trim();
    throw;
  }
  if (!steps.empty()) {
    ReduceThrough(decoded, steps, bitmap);
    FModified = true;
  }
  scratch.Trim();
  FGraphicClass = TJPEGImage::GraphicClass();
}

void TKvThumbImage::ScaleDown(int MaxWidth, int MaxHeight) {
  TGraphic* graphic = Picture()->Graphic();
  if (!graphic) return;
  const std::vector<POINT> steps = ScaleDownChain(Picture()->Width(), Picture()->Height(), MaxWidth, MaxHeight);
  if (steps.empty()) return;
  // A 24-bit bitmap is read where it lies; any other picture is drawn into one first.
  std::unique_ptr<TBitmap> snapshot;
  auto* source = dynamic_cast<TBitmap*>(graphic);
  if (!source || source->PixelFormat() != pf24bit) {
    snapshot = Snapshot(graphic);
    source = snapshot.get();
  }
  TBitmap work;
  ReduceThrough(RowsOf(*source), steps, work);
  Picture()->SetGraphic(&work);
  FModified = true;
}

bool TKvThumbImage::CanModify() {
  TGraphic* graphic = Picture()->Graphic();
  if (!graphic || graphic->Empty()) return false;
  // Only pictures made of pixels turn; icons (and metafiles, had they a class) do not.
  return dynamic_cast<TIcon*>(graphic) == nullptr;
}

void TKvThumbImage::QuarterTurn(bool Clockwise) {
  if (!CanModify()) return;
  std::unique_ptr<TBitmap> source = Snapshot(Picture()->Graphic());
  const int w = source->Width(), h = source->Height();
  TBitmap dest;
  dest.SetPixelFormat(pf24bit);
  dest.SetSize(h, w);
  for (int y = 0; y < w; ++y) {
    auto* out = static_cast<uint8_t*>(dest.ScanLine(y));
    for (int x = 0; x < h; ++x) {
      // Clockwise: destination (x, y) is source (column y, row h - 1 - x); the other way
      // round, source (column w - 1 - y, row x).
      int sx = Clockwise ? y : w - 1 - y;
      int sy = Clockwise ? h - 1 - x : x;
      const auto* in = static_cast<const uint8_t*>(source->ScanLine(sy)) + 3 * sx;
      std::memcpy(out + 3 * x, in, 3);
    }
  }
  Picture()->SetGraphic(&dest);
  Invalidate();
}

void TKvThumbImage::Rotate90() { QuarterTurn(true); }
void TKvThumbImage::Rotate270() { QuarterTurn(false); }

void TKvThumbImage::Mirror(int Mode) {
  if (!CanModify()) return;
  std::unique_ptr<TBitmap> source = Snapshot(Picture()->Graphic());
  const int w = source->Width(), h = source->Height();
  const bool flipX = Mode == 0 || Mode == 2, flipY = Mode == 1 || Mode == 2;
  // Copied pixel by pixel: a block transfer onto itself with negative extents is off by one
  // column on some displays.
  TBitmap dest;
  dest.SetPixelFormat(pf24bit);
  dest.SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    const auto* in = static_cast<const uint8_t*>(source->ScanLine(flipY ? h - 1 - y : y));
    auto* out = static_cast<uint8_t*>(dest.ScanLine(y));
    for (int x = 0; x < w; ++x) std::memcpy(out + 3 * x, in + 3 * (flipX ? w - 1 - x : x), 3);
  }
  Picture()->SetGraphic(&dest);
  Invalidate();
}

void TKvThumbImage::NotifyThumbnail() {
  if (auto* thumb = dynamic_cast<TKvThumbnail*>(Parent()))
    if (thumb->HandleAllocated()) SendMessageA(thumb->Handle(), WM_THUMBIMAGECHANGED, 0, 0);
    else thumb->Perform(WM_THUMBIMAGECHANGED);
}

void TKvThumbImage::SetAngle(TAngle Value) {
  if (!CanModify() || Value == FAngle) return;
  // Turning the other way round three quarters is one quarter; two quarters are a mirror.
  int steps = (static_cast<int>(Value) - static_cast<int>(FAngle) + 4) % 4;
  if (steps == 2) {
    Mirror(2);
  } else {
    if (steps == 1) Rotate90(); else Rotate270();
    NotifyThumbnail();
  }
  FAngle = Value;
  FModified = Value != AT0;
}

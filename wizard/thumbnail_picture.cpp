#include "wizard/thumbnail_picture.h"

#include <cstring>

#include "vcl/streaming.h"
#include "wizard/thumbnail.h"
#include "wizard/thumbnail_layout.h"

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

void TKvThumbImage::LoadFromFile(const AnsiString& AFile) {
  try {
    size_t dot = AFile.find_last_of("./\\");
    AnsiString ext = dot != AnsiString::npos && AFile[dot] == '.' ? UpperCase(AFile.substr(dot)) : AnsiString();
    if (ext == ".JPG") {
      LoadJpeg(AFile);
    } else {
      try {
        Picture()->LoadFromFile(AFile);
      } catch (const Exception&) {
        if (!OnInvalidImage) throw;
        OnInvalidImage(this, AFile);
        return;
      }
      FGraphicClass = Picture()->Graphic() ? Picture()->Graphic()->GraphicClassType() : nullptr;
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

void TKvThumbImage::LoadJpeg(const AnsiString& AFile) {
  TJPEGScale scale = jsFullSize;
  if (dynamic_cast<TKvThumbnail*>(Parent())) {
    HANDLE file = CreateFileA(AFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      scale = JpegScaleForSize(GetFileSize(file, nullptr));
      CloseHandle(file);
    }
  }
  // Decoded straight into the picture's bitmap: a thumbnail shows the picture and never
  // writes it back, so neither the compressed data nor a second copy of the pixels is kept.
  LoadJpegBitmap(AFile, scale, *Picture()->Bitmap());
  FGraphicClass = TJPEGImage::GraphicClass();
}

void TKvThumbImage::ScaleDown(int MaxWidth, int MaxHeight) {
  if (!Picture()->Graphic()) return;
  for (POINT step : ScaleDownChain(Picture()->Width(), Picture()->Height(), MaxWidth, MaxHeight)) ScaleDownOnce(step);
}

void TKvThumbImage::ScaleDownOnce(POINT Size) {
  TBitmap work;
  work.SetPixelFormat(pf24bit);
  work.SetSize(Size.x, Size.y);
  // Halftone keeps a reduced photograph smooth instead of dropping whole rows and columns.
  HDC dc = work.Canvas()->Handle();
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  work.Canvas()->StretchDraw(RECT{0, 0, Size.x, Size.y}, Picture()->Graphic());
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

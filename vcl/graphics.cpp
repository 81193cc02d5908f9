#include "vcl/graphics.h"

#include "vcl/pictures.h"

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace {

// The font's own published properties; Size stands for Height, which is what is stored.
const std::vector<TPropInfo>& FontProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TFont>()
      .Property("Charset", &TFont::Charset, &TFont::SetCharset)
      .Property("Color", &TFont::Color, &TFont::SetColor).Idents(ColorIdents())
      .Property("Height", &TFont::Height, &TFont::SetHeight)
      .Property("Name", &TFont::Name, &TFont::SetName)
      .Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault)
      .Property("Size", &TFont::Size, &TFont::SetSize).Stored(false)
      .SetProperty<TFontStyle>("Style", &TFont::Style, &TFont::SetStyle).Default(0)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TGraphicsObject, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TFont, TGraphicsObject, nullptr, &FontProperties)
namespace {

// Brushes and pens of shapes are stored with their owner's description.
const std::vector<TPropInfo>& BrushProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TBrush>()
      .Property("Color", &TBrush::Color, &TBrush::SetColor).Idents(ColorIdents()).Default(clWhite)
      .Property("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid)
      .Table();
  return table;
}

const std::vector<TPropInfo>& PenProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TPen>()
      .Property("Color", &TPen::Color, &TPen::SetColor).Idents(ColorIdents()).Default(clBlack)
      .Property("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid)
      .Property("Width", &TPen::Width, &TPen::SetWidth).Default(1)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TBrush, TGraphicsObject, nullptr, &BrushProperties)
VCL_CLASS_IMPL(TPen, TGraphicsObject, nullptr, &PenProperties)
VCL_CLASS_IMPL(TCanvas, TPersistent, nullptr, nullptr)

COLORREF ColorToRGB(TColor color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

namespace {

struct ColorName {
  TColor Color;
  const char* Ident;
};

constexpr ColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

struct TExtraColorIdents {
  const TColorIdentName* Names;
  size_t Count;
};

std::vector<TExtraColorIdents>& ExtraColorIdents() {
  static std::vector<TExtraColorIdents> tables;
  return tables;
}

}  // namespace

void RegisterColorIdents(const TColorIdentName* Names, size_t Count) {
  auto& tables = ExtraColorIdents();
  for (const auto& t : tables)
    if (t.Names == Names) return;
  tables.push_back({Names, Count});
}

void UnregisterColorIdents(const TColorIdentName* Names) {
  auto& tables = ExtraColorIdents();
  std::erase_if(tables, [Names](const TExtraColorIdents& t) { return t.Names == Names; });
}

bool ColorToIdent(TColor color, AnsiString& ident) {
  for (const auto& t : ExtraColorIdents())
    for (size_t i = 0; i < t.Count; ++i)
      if (t.Names[i].Color == color) {
        ident = t.Names[i].Ident;
        return true;
      }
  for (const auto& c : kColorNames)
    if (c.Color == color) {
      ident = c.Ident;
      return true;
    }
  return false;
}

bool IdentToColor(const AnsiString& ident, TColor& color) {
  for (const auto& t : ExtraColorIdents())
    for (size_t i = 0; i < t.Count; ++i)
      if (SameIdent(ident, t.Names[i].Ident)) {
        color = t.Names[i].Color;
        return true;
      }
  for (const auto& c : kColorNames)
    if (SameIdent(ident, c.Ident)) {
      color = c.Color;
      return true;
    }
  return false;
}

const TIntegerIdents* ColorIdents() {
  static const TIntegerIdents idents{
      [](const AnsiString& ident, int64_t& value) {
        TColor c;
        if (!IdentToColor(ident, c)) return false;
        value = c;
        return true;
      },
      [](int64_t value, AnsiString& ident) { return ColorToIdent(static_cast<TColor>(value), ident); }};
  return &idents;
}

int ScreenPixelsPerInch() {
  static const int ppi = [] {
    HDC dc = GetDC(nullptr);
    int v = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return v > 0 ? v : 96;
  }();
  return ppi;
}

// ---------------------------------------------------------------------------
// Shared GDI handles: one handle per distinct description, deleted when the last
// object using it lets go.

struct TGdiResource {
  std::string Key;
  HGDIOBJ Handle = nullptr;
  ~TGdiResource();
};

namespace {

std::mutex& CacheLock() {
  static std::mutex m;
  return m;
}

std::map<std::string, std::weak_ptr<TGdiResource>>& Cache() {
  static auto* cache = new std::map<std::string, std::weak_ptr<TGdiResource>>;  // outlives static objects
  return *cache;
}

template <class Desc>
std::string MakeKey(char kind, const Desc& d) {
  std::string key(1, kind);
  key.append(reinterpret_cast<const char*>(&d), sizeof(d));
  return key;
}

// Finds the resource of a description or makes one with create().
template <class Create>
std::shared_ptr<TGdiResource> Acquire(const std::string& key, Create create) {
  std::lock_guard<std::mutex> g(CacheLock());
  auto& cache = Cache();
  auto it = cache.find(key);
  if (it != cache.end())
    if (auto r = it->second.lock()) return r;
  auto r = std::make_shared<TGdiResource>();
  r->Key = key;
  r->Handle = create();
  if (!r->Handle) throw EOutOfResources("Out of system resources");
  cache[key] = r;
  return r;
}

}  // namespace

TGdiResource::~TGdiResource() {
  {
    std::lock_guard<std::mutex> g(CacheLock());
    auto it = Cache().find(Key);
    if (it != Cache().end() && it->second.expired()) Cache().erase(it);
  }
  if (Handle) DeleteObject(Handle);
}

// ---------------------------------------------------------------------------

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// --- TFont ------------------------------------------------------------------

TFont::TFont() {
  PixelsPerInch = ScreenPixelsPerInch();
  std::strcpy(FLogFont.lfFaceName, "MS Sans Serif");
  FLogFont.lfHeight = -MulDiv(8, PixelsPerInch, 72);
  FLogFont.lfWeight = FW_NORMAL;
  FLogFont.lfCharSet = DEFAULT_CHARSET;
  FLogFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  FLogFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  FLogFont.lfQuality = DEFAULT_QUALITY;
  FLogFont.lfPitchAndFamily = DEFAULT_PITCH;
}

TFont::~TFont() = default;

void TFont::Assign(TPersistent* source) {
  if (auto* f = dynamic_cast<TFont*>(source)) {
    if (f == this) return;
    bool same = std::memcmp(&FLogFont, &f->FLogFont, sizeof(FLogFont)) == 0 && FColor == f->FColor;
    FLogFont = f->FLogFont;
    FColor = f->FColor;
    FResource = f->FResource;
    if (!same) Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

HFONT TFont::Handle() {
  if (!FResource) {
    LOGFONTA lf = FLogFont;
    FResource = Acquire(MakeKey('F', lf), [&] { return static_cast<HGDIOBJ>(CreateFontIndirectA(&lf)); });
  }
  return static_cast<HFONT>(FResource->Handle);
}

void TFont::SetHandle(HFONT font) {
  LOGFONTA lf{};
  if (!font || GetObjectA(font, sizeof(lf), &lf) == 0) return;
  SetLogFont(lf);
}

void TFont::SetLogFont(const LOGFONTA& lf) {
  LOGFONTA copy = lf;
  copy.lfFaceName[LF_FACESIZE - 1] = 0;
  // Bytes after the name's terminator must not make two equal fonts look different.
  size_t n = std::strlen(copy.lfFaceName);
  std::memset(copy.lfFaceName + n, 0, LF_FACESIZE - n);
  if (std::memcmp(&copy, &FLogFont, sizeof(copy)) == 0) return;
  FLogFont = copy;
  DescriptionChanged();
}

void TFont::DescriptionChanged() {
  FResource.reset();
  Changed();
}

void TFont::SetColor(TColor c) {
  if (c == FColor) return;
  FColor = c;
  Changed();
}

void TFont::SetName(const AnsiString& name) {
  if (name.empty()) return;
  LOGFONTA lf = FLogFont;
  std::memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
  std::strncpy(lf.lfFaceName, name.c_str(), LF_FACESIZE - 1);
  SetLogFont(lf);
}

void TFont::SetHeight(int height) {
  LOGFONTA lf = FLogFont;
  lf.lfHeight = height;
  SetLogFont(lf);
}

int TFont::Size() const { return -MulDiv(FLogFont.lfHeight, 72, PixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, PixelsPerInch, 72)); }

TFontStyles TFont::Style() const {
  TFontStyles s = 0;
  if (FLogFont.lfWeight >= FW_BOLD) s |= fsBold;
  if (FLogFont.lfItalic) s |= fsItalic;
  if (FLogFont.lfUnderline) s |= fsUnderline;
  if (FLogFont.lfStrikeOut) s |= fsStrikeOut;
  return s;
}

void TFont::SetStyle(TFontStyles style) {
  LOGFONTA lf = FLogFont;
  lf.lfWeight = (style & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (style & fsItalic) ? 1 : 0;
  lf.lfUnderline = (style & fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = (style & fsStrikeOut) ? 1 : 0;
  SetLogFont(lf);
}

void TFont::SetCharset(BYTE charset) {
  LOGFONTA lf = FLogFont;
  lf.lfCharSet = charset;
  SetLogFont(lf);
}

TFontPitch TFont::Pitch() const {
  switch (FLogFont.lfPitchAndFamily & 3) {
    case VARIABLE_PITCH: return fpVariable;
    case FIXED_PITCH: return fpFixed;
    default: return fpDefault;
  }
}

void TFont::SetPitch(TFontPitch pitch) {
  LOGFONTA lf = FLogFont;
  BYTE bits = pitch == fpVariable ? VARIABLE_PITCH : pitch == fpFixed ? FIXED_PITCH : DEFAULT_PITCH;
  lf.lfPitchAndFamily = static_cast<BYTE>((lf.lfPitchAndFamily & ~3) | bits);
  SetLogFont(lf);
}

// --- TBrush -----------------------------------------------------------------

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::Assign(TPersistent* source) {
  if (auto* b = dynamic_cast<TBrush*>(source)) {
    if (b == this) return;
    bool same = FColor == b->FColor && FStyle == b->FStyle;
    FColor = b->FColor;
    FStyle = b->FStyle;
    FResource = b->FResource;
    if (!same) Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

HBRUSH TBrush::Handle() {
  if (!FResource) {
    struct {
      COLORREF color;
      int style;
    } desc{ColorToRGB(FColor), FStyle};
    LOGBRUSH lb{};
    lb.lbColor = desc.color;
    switch (FStyle) {
      case bsSolid: lb.lbStyle = BS_SOLID; break;
      case bsClear: lb.lbStyle = BS_HOLLOW; break;
      default:
        lb.lbStyle = BS_HATCHED;
        lb.lbHatch = static_cast<ULONG_PTR>(FStyle - bsHorizontal);  // HS_HORIZONTAL..HS_DIAGCROSS
        break;
    }
    FResource = Acquire(MakeKey('B', desc), [&] { return static_cast<HGDIOBJ>(CreateBrushIndirect(&lb)); });
  }
  return static_cast<HBRUSH>(FResource->Handle);
}

void TBrush::SetColor(TColor c) {
  // The same colour on a clear brush still asks for painting (a label repainted on its
  // colour must cover its old text).
  if (c == FColor && FStyle != bsClear) return;
  FColor = c;
  if (FStyle == bsClear) FStyle = bsSolid;  // a colour is asked for: the brush paints again
  FResource.reset();
  Changed();
}

void TBrush::SetStyle(TBrushStyle s) {
  if (s == FStyle) return;
  FStyle = s;
  FResource.reset();
  Changed();
}

// --- TPen -------------------------------------------------------------------

TPen::TPen() = default;
TPen::~TPen() = default;

void TPen::Assign(TPersistent* source) {
  if (auto* p = dynamic_cast<TPen*>(source)) {
    if (p == this) return;
    bool same = FColor == p->FColor && FWidth == p->FWidth && FStyle == p->FStyle && FMode == p->FMode;
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    FResource = p->FResource;
    if (!same) Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

HPEN TPen::Handle() {
  if (!FResource) {
    static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    struct {
      COLORREF color;
      int width;
      int style;
    } desc{ColorToRGB(FColor), FWidth, styles[FStyle]};
    FResource = Acquire(MakeKey('P', desc),
                        [&] { return static_cast<HGDIOBJ>(CreatePen(desc.style, desc.width, desc.color)); });
  }
  return static_cast<HPEN>(FResource->Handle);
}

void TPen::SetColor(TColor c) {
  if (c == FColor) return;
  FColor = c;
  FResource.reset();
  Changed();
}

void TPen::SetWidth(int w) {
  if (w == FWidth || w < 0) return;
  FWidth = w;
  FResource.reset();
  Changed();
}

void TPen::SetStyle(TPenStyle s) {
  if (s == FStyle) return;
  FStyle = s;
  FResource.reset();
  Changed();
}

void TPen::SetMode(TPenMode m) {
  if (m == FMode) return;
  FMode = m;
  Changed();
}

// --- TCanvas ----------------------------------------------------------------

TCanvas::TCanvas() : FFont(new TFont), FBrush(new TBrush), FPen(new TPen) {
  InitializeCriticalSection(&FLock);
  FFont->OnChange = [this](TObject* s) { ObjectChanged(s); };
  FBrush->OnChange = [this](TObject* s) { ObjectChanged(s); };
  FPen->OnChange = [this](TObject* s) { ObjectChanged(s); };
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  DeleteCriticalSection(&FLock);
}

HDC TCanvas::Handle() {
  RequiredState(csHandleValid);
  return FHandle;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == FHandle) return;
  if (FHandle) {
    DeselectHandles();
    POINT p;
    if (GetCurrentPositionEx(FHandle, &p)) FPenPos = p;
    FHandle = nullptr;
    FState &= ~csHandleValid;
  }
  if (dc) {
    FState |= csHandleValid;
    FHandle = dc;
    MoveToEx(FHandle, FPenPos.x, FPenPos.y, nullptr);
  }
}

void TCanvas::DeselectHandles() {
  if (FHandle && (FState & (csPenValid | csBrushValid | csFontValid))) {
    SelectObject(FHandle, GetStockObject(BLACK_PEN));
    SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
    SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
  }
  FState &= ~(csPenValid | csBrushValid | csFontValid);
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::RequiredState(TCanvasState req) {
  TCanvasState needed = req & ~FState;
  if (!needed) return;
  if (needed & csHandleValid) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
  }
  if (needed & csFontValid) SelectFontObject();
  if (needed & csPenValid) SelectPenObject();
  if (needed & csBrushValid) SelectBrushObject();
  FState |= needed;
}

void TCanvas::SelectFontObject() {
  SelectObject(FHandle, FFont->Handle());
  SetTextColor(FHandle, ColorToRGB(FFont->Color()));
}

void TCanvas::SelectPenObject() {
  static const int modes[] = {R2_BLACK,      R2_WHITE,      R2_NOP,      R2_NOT,        R2_COPYPEN,  R2_NOTCOPYPEN,
                              R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                              R2_MASKPEN,    R2_NOTMASKPEN, R2_XORPEN,   R2_NOTXORPEN};
  SelectObject(FHandle, FPen->Handle());
  SetROP2(FHandle, modes[FPen->Mode()]);
}

void TCanvas::SelectBrushObject() {
  UnrealizeObject(FBrush->Handle());
  SelectObject(FHandle, FBrush->Handle());
  if (FBrush->Style() == bsSolid) {
    SetBkColor(FHandle, ColorToRGB(FBrush->Color()));
    SetBkMode(FHandle, OPAQUE);
  } else {
    // Hatches and clear brushes leave the background as it is.
    SetBkColor(FHandle, ~ColorToRGB(FBrush->Color()) & 0xFFFFFF);
    SetBkMode(FHandle, TRANSPARENT);
  }
}

void TCanvas::ObjectChanged(TObject* sender) {
  if (sender == FFont.get()) {
    if (FState & csFontValid) {
      FState &= ~csFontValid;
      SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    }
  } else if (sender == FBrush.get()) {
    if (FState & csBrushValid) {
      FState &= ~csBrushValid;
      SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
    }
  } else if (sender == FPen.get()) {
    if (FState & csPenValid) {
      FState &= ~csPenValid;
      SelectObject(FHandle, GetStockObject(BLACK_PEN));
    }
  }
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::MoveTo(int x, int y) {
  RequiredState(csHandleValid);
  MoveToEx(FHandle, x, y, nullptr);
  FPenPos = POINT{x, y};
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::LineTo(FHandle, x, y);
  FPenPos = POINT{x, y};
  Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Rectangle(FHandle, x1, y1, x2, y2);
  Changed();
}

void TCanvas::FillRect(const RECT& r) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FillRect(FHandle, &r, FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const RECT& r) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FrameRect(FHandle, &r, FBrush->Handle());
  Changed();
}

void TCanvas::TextOut(int x, int y, const AnsiString& text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  ExtTextOutA(FHandle, x, y, static_cast<UINT>(TextFlags), nullptr, text.data(), static_cast<UINT>(text.size()),
              nullptr);
  MoveTo(x + TextWidth(text), y);
  Changed();
}

void TCanvas::TextRect(const RECT& r, int x, int y, const AnsiString& text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  UINT options = ETO_CLIPPED | static_cast<UINT>(TextFlags);
  if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOutA(FHandle, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
  Changed();
}

SIZE TCanvas::TextExtent(const AnsiString& text) {
  RequiredState(csHandleValid | csFontValid);
  SIZE s{0, 0};
  GetTextExtentPoint32A(FHandle, text.data(), static_cast<int>(text.size()), &s);
  return s;
}

RECT TCanvas::ClipRect() {
  RequiredState(csHandleValid);
  RECT r{};
  GetClipBox(FHandle, &r);
  return r;
}

TColor TCanvas::Pixels(int x, int y) {
  RequiredState(csHandleValid);
  const COLORREF c = GetPixel(FHandle, x, y);
  return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  Changing();
  RequiredState(csHandleValid);
  SetPixel(FHandle, x, y, ColorToRGB(color));
  Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  StretchDraw(RECT{x, y, x + graphic->Width(), y + graphic->Height()}, graphic);
}

void TCanvas::StretchDraw(const RECT& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  graphic->Draw(this, r);
  Changed();
}

TCanvasOrientation TCanvas::CanvasOrientation() {
  if (!(TextFlags & ETO_RTLREADING)) return coLeftToRight;
  POINT origin{0, 0};
  GetWindowOrgEx(Handle(), &origin);
  return origin.x != 0 ? coRightToLeft : coLeftToRight;
}

void TCanvas::Lock() {
  EnterCriticalSection(&FLock);
  ++FLockCount;
}

void TCanvas::Unlock() {
  --FLockCount;
  LeaveCriticalSection(&FLock);
}

bool TCanvas::TryLock() {
  if (!TryEnterCriticalSection(&FLock)) return false;
  ++FLockCount;
  return true;
}

// ---------------------------------------------------------------------------

void Frame3D(TCanvas* canvas, RECT& r, TColor topColor, TColor bottomColor, int width) {
  TPen* pen = canvas->Pen();
  pen->SetWidth(1);
  --r.bottom;
  --r.right;
  for (int i = 0; i < width; ++i) {
    pen->SetColor(topColor);
    canvas->MoveTo(r.left, r.bottom);
    canvas->LineTo(r.left, r.top);
    canvas->LineTo(r.right, r.top);
    pen->SetColor(bottomColor);
    canvas->LineTo(r.right, r.bottom);
    canvas->LineTo(r.left - 1, r.bottom);
    InflateRect(&r, -1, -1);
  }
  ++r.bottom;
  ++r.right;
}

void PrepareTextArea(TCanvas* canvas, const RECT& r, TColor color, TFont* font) {
  canvas->Brush()->SetColor(color);
  canvas->FillRect(r);
  canvas->SetFont(font);
  canvas->Brush()->SetStyle(bsClear);
  canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
}

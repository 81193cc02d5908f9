#include "dialogs/html_renderer.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/html_font_metrics.h"
#include "dialogs/html_markup.h"
#include "dialogs/html_pictures.h"
#include "vcl/pictures.h"
#include "widetext/platform.h"
#include "widetext/uni_string_list.h"

namespace {

// Bottom-aligned single line, tabs expanded, external leading counted. Prefix processing
// stays on: "&&" draws one ampersand.
constexpr UINT kRunFlags = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
constexpr int kListStep = 12;

// A character upper-cased as towupper does it, without the call for ASCII, which tag names
// are made of.
wchar_t UpperTagChar(wchar_t c) {
  if (c < 0x80) return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
  return static_cast<wchar_t>(towupper(c));
}

// How the text drawing routine treats a text under kRunFlags: as it is (no ampersand, no
// tab); as its characters with each "&&" drawn as one "&"; or with tabs expanded or a lone
// ampersand underlining the next character, which only the routine itself does.
enum class Drawing { AsIs, PairedPrefixes, ByTheRoutine };

Drawing DrawingOf(const WideString& text) {
  Drawing d = Drawing::AsIs;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const WideChar c = text[i];
    if (c == L'\t') return Drawing::ByTheRoutine;
    if (c != L'&') continue;
    if (i + 1 == n || text[i + 1] != L'&') return Drawing::ByTheRoutine;
    d = Drawing::PairedPrefixes;
    ++i;
  }
  return d;
}

// The characters that the drawing routine draws of a text of paired prefixes.
void AppendDrawnCharacters(const WideString& text, WideString& out) {
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == L'&') ++i;
  }
}

TColor BrushColorOf(TCanvas* c) { return c->Brush()->Style() == bsClear ? clNone : c->Brush()->Color(); }

void KeepBrush(TBrush* brush);

void SetBrushColor(TCanvas* c, TColor color) {
  if (color == clNone) {
    c->Brush()->SetStyle(bsClear);
  } else {
    c->Brush()->SetColor(color);
    c->Brush()->SetStyle(bsSolid);
  }
  KeepBrush(c->Brush());
}

AnsiString ToAnsi(const WideString& s) {
  if (s.empty()) return AnsiString();
  int n = WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  AnsiString a(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), a.data(), n, nullptr, nullptr);
  return a;
}

// Fonts and brushes that texts switch between, held so that their handles outlive the
// moment the canvas lets go of them: creating a font again for every styled run of every
// call costs far more than laying the text out.
class TDrawingObjectKeeper {
 public:
  // The handle of a font of Font's description, valid until the next call.
  HFONT Handle(TFont* font) {
    const LOGFONTA lf = font->LogFont();
    auto it = FFonts.find(lf);
    if (it == FFonts.end()) {
      if (FFonts.size() >= 64) FFonts.clear();
      auto copy = std::make_unique<TFont>();
      copy->Assign(font);
      it = FFonts.emplace(lf, std::move(copy)).first;
    }
    return it->second->Handle();
  }
  void Keep(TBrush* brush) {
    const BrushKey key{brush->Color(), brush->Style()};
    if (FHasLastBrush && key == FLastBrush) return;
    FLastBrush = key;
    FHasLastBrush = true;
    auto& kept = FBrushes[key];
    if (kept) return;
    auto copy = std::make_unique<TBrush>();
    copy->Assign(brush);
    copy->Handle();
    kept = std::move(copy);
    if (FBrushes.size() > 64) FBrushes.clear();
  }

 private:
  // A font keeps its description with every unused byte cleared, so bytes compare it.
  struct FontLess {
    bool operator()(const LOGFONTA& a, const LOGFONTA& b) const { return std::memcmp(&a, &b, sizeof a) < 0; }
  };
  using BrushKey = std::pair<TColor, TBrushStyle>;
  std::map<LOGFONTA, std::unique_ptr<TFont>, FontLess> FFonts;
  std::map<BrushKey, std::unique_ptr<TBrush>> FBrushes;
  BrushKey FLastBrush{};
  bool FHasLastBrush = false;
};

TDrawingObjectKeeper& Keeper() {
  static auto* keeper = new TDrawingObjectKeeper;  // outlives the static objects
  return *keeper;
}

void KeepBrush(TBrush* brush) { Keeper().Keep(brush); }

// Text styles that do not live in the font: each stays on from its tag to its closing tag,
// across line breaks. Each pass keeps its own from line to line, as it keeps its font.
struct TextStyles {
  bool Sub = false, Sup = false, Shadow = false, Hidden = false, ErrorMark = false;
};

// A run of text of one look, laid out and waiting to be painted.
struct TextPiece {
  WideString Text;
  RECT Rect{};
  LOGFONTA Font{};
  TColor Color = clNone;
  TColor Background = clNone;  // clNone: the text is painted on what lies under it
  bool Shadow = false;
  bool ErrorMark = false;
  int MarkLeft = 0, MarkRight = 0, MarkBottom = 0;
};

struct LineState : TextStyles {
  int Width = 0;
  int Height = 0;
  int Raise = 0;  // superscript
  int Drop = 0;   // subscript
  int PicOffset = 0;
  bool Eol = false;
  bool Full = false;
  bool ListMet = false;
  bool LinkHit = false;
  bool EndsWithSpace = false;  // of the line text so far
  bool HasText = false;
  int TrailingSpace = 0;

  explicit LineState(const TextStyles& Styles) : TextStyles(Styles) {}
};

// What the layout of a call fills and empties again as it goes. Kept from call to call, so
// that once they have grown, laying out and painting a text allocates next to nothing.
struct LayoutBuffers {
  WideString Text, Plain, Run, Tag, Attrs, Pending, Joined, Drawn;
  std::vector<TextPiece> Pieces;
  std::vector<bool> PiecesDone;
  std::vector<size_t> Group;
  std::vector<INT> Advances;
};

// The buffers for one call: the kept ones, or new ones for a call made while another one
// is under way (from something that it draws).
class LayoutBuffersLease {
 public:
  LayoutBuffersLease() : FBuffers(std::move(Spare())) {
    if (!FBuffers) FBuffers = std::make_unique<LayoutBuffers>();
  }
  ~LayoutBuffersLease() { Spare() = std::move(FBuffers); }
  LayoutBuffersLease(const LayoutBuffersLease&) = delete;
  LayoutBuffersLease& operator=(const LayoutBuffersLease&) = delete;
  LayoutBuffers& Buffers() { return *FBuffers; }

 private:
  static std::unique_ptr<LayoutBuffers>& Spare() {
    static auto* spare = new std::unique_ptr<LayoutBuffers>;  // outlives the static objects
    return *spare;
  }
  std::unique_ptr<LayoutBuffers> FBuffers;
};

// One call of DrawHtmlText: the parameters and the state that its lines share.
class HtmlLayout {
  LayoutBuffers& FBuffers;

 public:
  explicit HtmlLayout(LayoutBuffers& Buffers) : FBuffers(Buffers) {}

  TCanvas* Canvas;
  RECT Area;
  TCustomImageList* Images;
  int MouseX, MouseY, FocusLink, HoverLink, ShadowOffset;
  bool HitTestOnly, MeasureOnly, Printing, Selected, BlinkOn, HoverOnly, WordWrap;
  double ImageScale;
  TColor LinkColor, HoverColor, HoverFontColor, ShadowColor;
  TPictureCache* Cache;
  THtmlPictureContainer* Container;

  WideString HoverHref, FocusHref;
  WideString& PlainText = FBuffers.Plain;
  int OutWidth = 0, OutHeight = 0, LinkCount = 0, MouseLink = -1;
  RECT HoverRect{};
  bool Result = false;

  void Run(const WideString& Text);

 private:
  enum class Pass { Measure, HitTest, Paint };

  void LayLine(size_t& pos, size_t& end, Pass pass, const RECT& r, LineState& ls, bool forceFit);
  void TakeRun(size_t& pos, size_t& end, Pass pass, const RECT& r, LineState& ls, bool forceFit);
  void DoTag(const WideString& tag, Pass pass, const RECT& r, LineState& ls, bool forceFit);
  void DoPicture(const WideString& tag, Pass pass, const RECT& r, LineState& ls, bool forceFit);
  void DoListItem(Pass pass, const RECT& r, LineState& ls);
  void DoBody(const WideString& attrs, Pass pass);
  void LinkStart(const WideString& tag, Pass pass, const RECT& r, LineState& ls);
  void LinkEnd(Pass pass, const RECT& r, LineState& ls);
  void RecordHover(const RECT& r, const LineState& ls);
  void Flush(const RECT& r, const LineState& ls);
  void PaintPieces();
  bool TagPaints(const WideString& text, size_t at) const;
  void PaintPiece(const struct TextPiece& piece);
  void PaintGroup(const std::vector<size_t>& group);
  bool Joinable(const TextPiece& a, const TextPiece& b) const;
  void PaintJoined(const std::vector<size_t>& group, size_t from, size_t to);
  void DrawPiece(HDC dc, const WideString& text, RECT rc);
  void DrawZigzag(int left, int right, int lineBottom);
  int RunBottom(const RECT& r, const LineState& ls) const;
  int TextHeight();
  THtmlFontMetrics& Metrics();
  int RunWidth(const WideString& run);
  int SpaceWidth();  // of one space, as RunWidth gives it
  // Text as the drawing routine draws it, which DrawingOf tells.
  const WideString& DrawnText(const WideString& text, Drawing drawing);
  HDC DC();
  int PixelsX() { return GetDeviceCaps(DC(), LOGPIXELSX); }
  int PixelsY() { return GetDeviceCaps(DC(), LOGPIXELSY); }
  THTMLPicture* PictureFor(const WideString& source);
  void EndRotation();

  WideString& FText = FBuffers.Text;
  // The last search for the next "<": found at FNextTag (npos: none) searching from
  // FNextTagFrom. Walking word by word through text without markup then stays linear.
  size_t FNextTag = WideString::npos, FNextTagFrom = WideString::npos;
  size_t NextTag(size_t pos);
  std::vector<INT>& FAdvances = FBuffers.Advances;
  TFont FWork;
  // Counts the changes of FWork, so that what was found for its font is known to hold.
  unsigned FWorkChanges = 0;
  THtmlFontMetrics* FMetrics = nullptr;  // of FWork's font when FMetricsAt is FWorkChanges
  unsigned FMetricsAt = 0;
  LOGFONTA FSelectedFont{};
  bool FFontSelected = false;
  unsigned FSelectedAt = 0;  // FWorkChanges when the device was last found holding FWork's font
  TColor FSelectedColor = clNone;
  int FPixels = 96;
  TFont FDefaultFont;
  TColor FEntryBrush = clNone;
  int FAlign = 0, FIndent = 0;
  bool FParaBg = false;
  TColor FParaSavedBrush = clNone;
  TColor FHiSavedFont = clNone, FHiSavedBrush = clNone;
  TColor FFontSavedBrush = clNone;
  TColor FHoverSavedBrush = clNone, FHoverSavedFont = clNone;
  int FListDepth = 0;
  RECT FFocus{};
  bool FInLink = false;
  WideString FLinkValue;
  bool FMouseOverLink = false;
  int FLinkStartWidth = 0;
  int FLinkStartTop = 0;
  int FPictureCounter = 0, FPictureUnderMouse = -1;
  int FRunX = 0;  // where the next run starts
  HFONT FRotated = nullptr;

  // Runs of one style waiting to be painted as one piece.
  WideString& FPending = FBuffers.Pending;
  int FPendingLeft = 0, FPendingRight = 0;
  // The pieces of the line so far, painted together (FPieceCount of FPieces are in use).
  std::vector<TextPiece>& FPieces = FBuffers.Pieces;
  size_t FPieceCount = 0;
  std::vector<bool>& FPiecesDone = FBuffers.PiecesDone;
  std::vector<size_t>& FGroup = FBuffers.Group;
  WideString& FJoined = FBuffers.Joined;
  WideString& FDrawn = FBuffers.Drawn;
};

HDC HtmlLayout::DC() {
  // The layout works on its own font and selects it into the device itself, only when the
  // device needs it and it changed: the canvas would go through its stock font on every
  // change. The canvas takes its own font back at the end of the call.
  // Text goes out with the device's background mode: a clear brush only needs the mode
  // transparent, not the brush in the device; a coloured one is selected by the canvas,
  // which makes the mode opaque in its colour.
  const bool clear = Canvas->Brush()->Style() == bsClear;
  Canvas->RequiredState(clear ? csHandleValid | csFontValid : csHandleValid | csFontValid | csBrushValid);
  HDC dc = Canvas->Handle();
  if (clear && GetBkMode(dc) != TRANSPARENT) SetBkMode(dc, TRANSPARENT);
  if (!FRotated && !(FFontSelected && FSelectedAt == FWorkChanges)) {
    LOGFONTA lf = FWork.LogFont();
    if (!FFontSelected || std::memcmp(&lf, &FSelectedFont, sizeof lf) != 0) {
      SelectObject(dc, Keeper().Handle(&FWork));
      FSelectedFont = lf;
      FFontSelected = true;
    }
    FSelectedAt = FWorkChanges;
  }
  if (FWork.Color() != FSelectedColor) {
    SetTextColor(dc, ColorToRGB(FWork.Color()));
    FSelectedColor = FWork.Color();
  }
  return dc;
}

THtmlFontMetrics& HtmlLayout::Metrics() {
  // A turned font stands outside the canvas; it is asked for directly.
  if (!FRotated) {
    if (FMetrics && FMetricsAt == FWorkChanges) return *FMetrics;
    FMetrics = HtmlCachedFontMetrics(FWork.LogFont(), FPixels);
    if (!FMetrics) FMetrics = &HtmlMeasureFontMetrics(DC(), FWork.LogFont(), FPixels);
    FMetricsAt = FWorkChanges;
    return *FMetrics;
  }
  // Measuring may make room in the kept metrics, and FMetrics with it.
  FMetrics = nullptr;
  HDC dc = DC();
  LOGFONTA lf{};
  GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
  return HtmlMeasureFontMetrics(dc, lf, FPixels);
}

int HtmlLayout::TextHeight() { return Metrics().Height; }

int HtmlLayout::RunWidth(const WideString& run) {
  const Drawing drawing = DrawingOf(run);
  if (drawing != Drawing::ByTheRoutine) {
    // The advances are kept per font: the device is asked once for each page of them.
    const WideString& drawn = DrawnText(run, drawing);
    THtmlFontMetrics& m = Metrics();
    int w = HtmlCachedTextWidth(m, drawn.data(), drawn.size());
    if (w < 0 && HtmlLoadTextWidths(DC(), m, drawn.data(), drawn.size()))
      w = HtmlCachedTextWidth(m, drawn.data(), drawn.size());
    if (w >= 0) return w;
  }
  HDC dc = DC();
  if (drawing != Drawing::AsIs) {
    // Prefixes and tabs are the text drawing routine's to interpret.
    WideString copy = run;
    RECT rc{0, 0, 0x7FFF, 0x7FFF};
    Uni_DrawTextExW(dc, copy.data(), static_cast<int>(copy.size()), &rc, kRunFlags | DT_CALCRECT, nullptr);
    return rc.right - rc.left;
  }
  SIZE sz{};
  GetTextExtentPoint32W(dc, run.data(), static_cast<int>(run.size()), &sz);
  return sz.cx;
}

int HtmlLayout::SpaceWidth() {
  // A space is among the advances that every font's metrics hold from the start.
  const THtmlFontMetrics& m = Metrics();
  return m.Latin[L' '] + m.Overhang;
}

const WideString& HtmlLayout::DrawnText(const WideString& text, Drawing drawing) {
  if (drawing == Drawing::AsIs) return text;
  FDrawn.clear();
  AppendDrawnCharacters(text, FDrawn);
  return FDrawn;
}

int HtmlLayout::RunBottom(const RECT& r, const LineState& ls) const {
  int bottom = r.bottom - ls.Drop;
  if (ls.Sup) bottom -= ls.Raise;
  if (ls.Sub) bottom += ls.Drop;
  return bottom - ls.PicOffset;
}

void HtmlLayout::DrawZigzag(int left, int right, int lineBottom) {
  Canvas->Pen()->SetColor(clRed);
  Canvas->Pen()->SetWidth(1);
  int x = left & ~1;
  int d = (x % 4 == 0) ? 2 : 0;
  Canvas->MoveTo(x, lineBottom + d - 1);
  while (x < right) {
    d = d ? 0 : 2;
    Canvas->LineTo(x + 2, lineBottom + d - 1);
    x += 2;
  }
}

void HtmlLayout::DrawPiece(HDC dc, const WideString& text, RECT rc) {
  const Drawing drawing = DrawingOf(text);
  if (!WordWrap || drawing == Drawing::ByTheRoutine) {
    // Ellipses, lone prefixes and tabs are the text drawing routine's to do.
    WideString copy = text;
    Uni_DrawTextExW(dc, copy.data(), static_cast<int>(copy.size()), &rc, kRunFlags | (WordWrap ? 0 : DT_END_ELLIPSIS),
                    nullptr);
    return;
  }
  // Where the drawing routine puts a bottom-aligned single line, at a fraction of its cost.
  const THtmlFontMetrics& m = Metrics();
  int y = rc.bottom - m.Height;
  if (drawing == Drawing::PairedPrefixes) {
    // What the routine draws of "&&": one ampersand, the characters placed as it places them.
    const WideString& drawn = DrawnText(text, drawing);
    ExtTextOutW(dc, rc.left, y, ETO_CLIPPED, &rc, drawn.data(), static_cast<UINT>(drawn.size()), nullptr);
    return;
  }
  // The characters go where the layout measured them, so that pieces drawn one after the
  // other meet as the layout placed them.
  FAdvances.resize(text.size());
  bool known = !FRotated;
  for (size_t i = 0; known && i < text.size(); ++i) {
    FAdvances[i] = HtmlCharAdvance(m, text[i]);
    known = FAdvances[i] >= 0;
  }
  ExtTextOutW(dc, rc.left, y, ETO_CLIPPED, &rc, text.data(), static_cast<UINT>(text.size()),
              known ? FAdvances.data() : nullptr);
}

void HtmlLayout::Flush(const RECT& r, const LineState& ls) {
  if (FPending.empty()) return;
  if (FPieceCount == FPieces.size()) FPieces.emplace_back();
  TextPiece& piece = FPieces[FPieceCount++];
  piece.Text.assign(FPending);
  piece.Rect = RECT{FPendingLeft, r.top, r.right, RunBottom(r, ls)};
  piece.Font = FWork.LogFont();
  piece.Color = FWork.Color();
  piece.Background = BrushColorOf(Canvas);
  piece.Shadow = ls.Shadow;
  piece.ErrorMark = ls.ErrorMark;
  piece.MarkLeft = FPendingLeft;
  piece.MarkRight = FPendingRight;
  piece.MarkBottom = r.bottom;
  FPending.clear();
}

void HtmlLayout::PaintPiece(const TextPiece& piece) {
  FWork.SetLogFont(piece.Font);
  if (BrushColorOf(Canvas) != piece.Background) SetBrushColor(Canvas, piece.Background);
  if (piece.Shadow) {
    FWork.SetColor(ShadowColor);
    RECT sr = piece.Rect;
    OffsetRect(&sr, ShadowOffset, ShadowOffset);
    DrawPiece(DC(), piece.Text, sr);
  }
  FWork.SetColor(piece.Color);
  DrawPiece(DC(), piece.Text, piece.Rect);
  if (piece.ErrorMark) DrawZigzag(piece.MarkLeft, piece.MarkRight, piece.MarkBottom);
}

bool HtmlLayout::Joinable(const TextPiece& a, const TextPiece& b) const {
  // Lines under or through the text would run through the gap between the pieces.
  auto plain = [&](const TextPiece& p) {
    return !p.Font.lfUnderline && !p.Font.lfStrikeOut && DrawingOf(p.Text) == Drawing::AsIs;
  };
  return WordWrap && a.Color == b.Color && a.Background == b.Background && a.Rect.top == b.Rect.top &&
         a.Rect.bottom == b.Rect.bottom && a.Rect.right == b.Rect.right && b.Rect.left >= a.MarkRight && plain(a) &&
         plain(b);
}

void HtmlLayout::PaintGroup(const std::vector<size_t>& group) {
  // Pieces of one font, left to right. Those of one colour on one line go out in one call,
  // the gaps between them (other fonts' pieces) added to the advance of the character
  // before each gap.
  size_t from = 0;
  while (from < group.size()) {
    size_t to = from + 1;
    while (to < group.size() && Joinable(FPieces[group[to - 1]], FPieces[group[to]])) ++to;
    if (to - from == 1)
      PaintPiece(FPieces[group[from]]);
    else
      PaintJoined(group, from, to);
    from = to;
  }
}

void HtmlLayout::PaintJoined(const std::vector<size_t>& group, size_t from, size_t to) {
  const TextPiece& first = FPieces[group[from]];
  FWork.SetLogFont(first.Font);
  FWork.SetColor(first.Color);
  if (BrushColorOf(Canvas) != first.Background) SetBrushColor(Canvas, first.Background);
  const THtmlFontMetrics& m = Metrics();
  FJoined.clear();
  FAdvances.clear();
  int x = first.Rect.left;
  for (size_t k = from; k < to; ++k) {
    const TextPiece& piece = FPieces[group[k]];
    if (k > from) FAdvances.back() += piece.Rect.left - x;
    x = piece.Rect.left;
    for (WideChar ch : piece.Text) {
      const int advance = HtmlCharAdvance(m, ch);
      if (advance < 0) {
        for (size_t j = from; j < to; ++j) PaintPiece(FPieces[group[j]]);
        return;
      }
      FAdvances.push_back(advance);
      x += advance;
    }
    FJoined += piece.Text;
  }
  RECT clip = first.Rect;
  ExtTextOutW(DC(), first.Rect.left, first.Rect.bottom - m.Height, ETO_CLIPPED, &clip, FJoined.data(),
              static_cast<UINT>(FJoined.size()), FAdvances.data());
  for (size_t k = from; k < to; ++k) {
    const TextPiece& piece = FPieces[group[k]];
    if (piece.ErrorMark) DrawZigzag(piece.MarkLeft, piece.MarkRight, piece.MarkBottom);
  }
}

bool HtmlLayout::TagPaints(const WideString& text, size_t at) const {
  // Whether the tag at "at" paints or changes the device's font itself, so that the pieces
  // before it must be painted first; tags that only change the look of text do not.
  auto ch = [&](size_t i) -> wchar_t {
    return at + i < text.size() ? UpperTagChar(text[at + i]) : L'\0';
  };
  const bool closing = ch(1) == L'/';
  const size_t first = closing ? 2 : 1;
  switch (ch(first)) {
    case L'B': return ch(first + 1) == L'O';  // <BODY>
    case L'I': return ch(first + 1) == L'M';  // <IMG>
    case L'H': return ch(first + 1) != L'I';  // <HR>
    case L'A': return FocusLink >= 0;         // the focus rectangle
    case L'P': return !closing;               // a paragraph's background
    case L'U': case L'S': case L'F': case L'E': case L'Z': return false;
    default: return true;
  }
}

void HtmlLayout::PaintPieces() {
  if (FPieceCount == 0) return;
  const LOGFONTA font = FWork.LogFont();
  const TColor color = FWork.Color();
  const TColor background = BrushColorOf(Canvas);
  // Selecting a font costs more than drawing a piece: when the pieces cannot cover one
  // another (no background, no shadow), those of the font in the device go first and the
  // others font by font. Otherwise they go from left to right.
  bool regroup = !FRotated;
  for (size_t i = 0; regroup && i < FPieceCount; ++i)
    regroup = FPieces[i].Background == clNone && !FPieces[i].Shadow;
  if (!regroup) {
    for (size_t i = 0; i < FPieceCount; ++i) PaintPiece(FPieces[i]);
  } else {
    std::vector<bool>& done = FPiecesDone;
    done.assign(FPieceCount, false);
    LOGFONTA current = FFontSelected ? FSelectedFont : FPieces[0].Font;
    for (size_t painted = 0; painted < FPieceCount;) {
      size_t next = FPieceCount;
      FGroup.clear();
      for (size_t i = 0; i < FPieceCount; ++i) {
        if (done[i] || std::memcmp(&FPieces[i].Font, &current, sizeof current) != 0) continue;
        FGroup.push_back(i);
        done[i] = true;
        ++painted;
      }
      PaintGroup(FGroup);
      for (size_t i = 0; i < FPieceCount && next == FPieceCount; ++i)
        if (!done[i]) next = i;
      if (next < FPieceCount) current = FPieces[next].Font;
    }
  }
  FPieceCount = 0;
  FWork.SetLogFont(font);
  FWork.SetColor(color);
  if (BrushColorOf(Canvas) != background) SetBrushColor(Canvas, background);
}

void HtmlLayout::RecordHover(const RECT& r, const LineState& ls) {
  bool startedHere = FLinkStartTop == r.top;
  HoverRect.left = r.left + (startedHere ? FLinkStartWidth : 0);
  HoverRect.top = r.top;
  HoverRect.right = r.left + ls.Width;
  HoverRect.bottom = r.bottom;
  MouseLink = LinkCount;
  FMouseOverLink = false;
}

size_t HtmlLayout::NextTag(size_t pos) {
  // No "<" lies between FNextTagFrom and FNextTag, so the last answer holds for every pos
  // between them.
  const bool known = FNextTagFrom != WideString::npos && pos >= FNextTagFrom &&
                     (FNextTag == WideString::npos || pos <= FNextTag);
  if (!known) {
    FNextTag = FText.find(L'<', pos);
    FNextTagFrom = pos;
  }
  return FNextTag;
}

void HtmlLayout::TakeRun(size_t& pos, size_t& end, Pass pass, const RECT& r, LineState& ls, bool forceFit) {
  size_t lt = NextTag(pos);
  if (lt == WideString::npos || lt > end) lt = end;
  size_t runEnd = lt;
  if (WordWrap) {
    auto sp = std::find(FText.begin() + static_cast<ptrdiff_t>(pos), FText.begin() + static_cast<ptrdiff_t>(lt), L' ');
    if (sp != FText.begin() + static_cast<ptrdiff_t>(lt)) runEnd = static_cast<size_t>(sp - FText.begin()) + 1;
  }
  WideString& run = FBuffers.Run;
  run.assign(FText, pos, runEnd - pos);
  ReplaceRunEntities(run);
  if (run.empty()) {
    pos = runEnd;
    return;
  }
  int h = TextHeight();
  if (ls.Sub && h / 4 > ls.Drop) ls.Drop = h / 4;
  if (ls.Sup && h / 4 > ls.Raise) ls.Raise = h / 4;
  if (h > ls.Height) ls.Height = h;

  int widthBefore = ls.Width;
  int runWidth = 0;
  if (!ls.Hidden) {
    runWidth = RunWidth(run);
    ls.Width += runWidth;
    if (pass == Pass::Paint) {
      if (FPending.empty()) FPendingLeft = FRunX;
      FPending += run;
      FPendingRight = FRunX + runWidth;
      if (FInLink && LinkCount - 1 == FocusLink) FocusHref = FLinkValue;
    }
    if (pass == Pass::HitTest && FInLink) {
      int mx = MouseX - r.left;
      if (mx >= widthBefore && mx <= ls.Width) {
        ls.LinkHit = true;
        if (MouseY > r.top && MouseY < r.bottom) {
          HoverHref = FLinkValue;
          FMouseOverLink = true;
        }
      }
    }
  }
  int available = r.right - r.left;
  // A word wider than the whole line gets a line of its own rather than waiting for ever.
  bool fits = forceFit || available > ls.Width || (runWidth >= available && !ls.HasText) ||
              (ls.HasText && !ls.EndsWithSpace);
  ls.HasText = true;
  ls.EndsWithSpace = run.back() == L' ';
  if (!fits && WordWrap) {
    ls.Width -= runWidth;
    if (pass == Pass::Paint) FPending.resize(FPending.size() - run.size());
    ls.Eol = true;
    return;
  }
  FRunX += runWidth;
  pos = runEnd;
  if (pass == Pass::Measure) PlainText += run;
  if (!fits && pass != Pass::Paint) end = pos;  // no wrapping: the rest of the text is dropped
  ls.TrailingSpace = run.back() == L' ' ? SpaceWidth() : 0;
}

void HtmlLayout::LayLine(size_t& pos, size_t& end, Pass pass, const RECT& r, LineState& ls, bool forceFit) {
  FRunX = r.left;
  FPending.clear();
  if (FParaBg && pass == Pass::Paint) {
    Canvas->Pen()->SetColor(BrushColorOf(Canvas));
    RECT band{Area.left, r.top, Area.right, r.top + ls.Height};
    Canvas->FillRect(band);
  }
  while (pos < end && !ls.Eol && !ls.Full) {
    if (FText[pos] != L'<') {
      TakeRun(pos, end, pass, r, ls, forceFit && !ls.HasText);
      if (ls.Eol) break;
    }
    if (pos >= end || FText[pos] != L'<') continue;
    if (end - pos <= 2) {
      // A lone "<" or "<x" at the end is no tag.
      end = pos;
      break;
    }
    size_t gt = FText.find(L'>', pos);
    if (gt >= end) gt = WideString::npos;
    size_t tagEnd = gt == WideString::npos ? end : gt + 1;
    if (pass == Pass::Paint) {
      Flush(r, ls);
      if (TagPaints(FText, pos)) PaintPieces();
    }
    FBuffers.Tag.assign(FText, pos, tagEnd - pos);
    DoTag(FBuffers.Tag, pass, r, ls, forceFit);
    if (ls.Full) break;  // the tag waits for the next line
    if (gt == WideString::npos) {
      end = pos;  // a tag without ">" ends the text
      break;
    }
    pos = gt + 1;
  }
  if (pass == Pass::Paint) {
    Flush(r, ls);
    PaintPieces();
  }
  ls.Width -= ls.TrailingSpace;
  if (ls.Width > OutWidth) OutWidth = ls.Width;
  if (pass == Pass::HitTest && FInLink && FMouseOverLink) RecordHover(r, ls);
  if (pass == Pass::Paint && FInLink && FocusLink == LinkCount - 1) {
    FFocus.right = FRunX;
    FFocus.bottom = r.bottom;
    RECT f = FFocus;
    InflateRect(&f, 1, 0);
    DrawFocusRect(DC(), &f);
    FFocus.left = r.left + 1;
    FFocus.top = r.bottom;
  }
}

void HtmlLayout::LinkStart(const WideString& tag, Pass pass, const RECT& r, LineState& ls) {
  if (pass == Pass::Paint && FocusLink == LinkCount) {
    FFocus.left = FRunX;
    FFocus.top = r.top;
  }
  ++LinkCount;
  bool styled = !(HoverOnly && HoverLink != LinkCount);
  if (styled) {
    if (pass == Pass::Paint) {
      FWork.SetStyle(FWork.Style() | fsUnderline);
      if (HoverColor != clNone) {
        FHoverSavedBrush = BrushColorOf(Canvas);
        SetBrushColor(Canvas, HoverColor);
      }
      if (HoverFontColor != clNone) {
        FHoverSavedFont = FWork.Color();
        FWork.SetColor(HoverFontColor);
      }
    }
    if (!Selected && !(HoverFontColor != clNone && HoverOnly && HoverLink == LinkCount))
      FWork.SetColor(LinkColor);
  }
  FLinkValue = HtmlAttrValue(tag, L"");
  FInLink = true;
  FLinkStartWidth = ls.Width;
  FLinkStartTop = r.top;
}

void HtmlLayout::LinkEnd(Pass pass, const RECT& r, LineState& ls) {
  if (!(HoverOnly && HoverLink != LinkCount)) {
    if (pass == Pass::Paint) {
      FWork.SetStyle(FWork.Style() & ~fsUnderline);
      if (HoverColor != clNone) SetBrushColor(Canvas, FHoverSavedBrush);
      if (HoverFontColor != clNone) FWork.SetColor(FHoverSavedFont);
    }
  }
  if (!Selected) FWork.SetColor(FDefaultFont.Color());
  FInLink = false;
  if (FMouseOverLink) RecordHover(r, ls);
  if (FocusLink == LinkCount - 1) {
    FFocus.right = FRunX;
    FFocus.bottom = RunBottom(r, ls);
    FFocus.top = FFocus.bottom - TextHeight();
    RECT f = FFocus;
    InflateRect(&f, 1, 0);
    if (pass == Pass::Paint) DrawFocusRect(DC(), &f);
  }
}

THTMLPicture* HtmlLayout::PictureFor(const WideString& source) {
  if (source.find(L':') == WideString::npos && Container) return Container->FindPicture(source);
  if (source.find(L"://") != WideString::npos && Cache) {
    AnsiString id = ToAnsi(source);
    THTMLPicture* p = Cache->FindPicture(id);
    if (!p) {
      THTMLPicture* added = Cache->AddPicture();
      added->ThreadLoad = false;
      added->LoadFromURL(id);
      p = Cache->FindPicture(id);
    }
    return p;
  }
  return nullptr;
}

void HtmlLayout::DoPicture(const WideString& tag, Pass pass, const RECT& r, LineState& ls, bool forceFit) {
  ++FPictureCounter;
  size_t gt = tag.find(L'>');
  WideString attrs = HtmlUpperCase(tag.substr(2, gt == WideString::npos ? WideString::npos : gt - 2));
  WideString src = HtmlAttrValue(attrs, L"SRC");
  if (attrs.find(L"ALT") != WideString::npos && FPictureUnderMouse == FPictureCounter) src = HtmlAttrValue(attrs, L"ALT");
  int w = HtmlNumber(HtmlAttrValue(attrs, L"WIDTH"));
  int h = HtmlNumber(HtmlAttrValue(attrs, L"HEIGHT"));
  int pw = 0, ph = 0;
  int x = FRunX, y = r.top;
  bool paint = pass == Pass::Paint;

  size_t at;
  if ((at = src.find(L"IDX:")) != WideString::npos && Images) {
    int idx = HtmlNumber(src.substr(at + 4));
    if (idx >= 0 && idx < Images->Count()) {
      pw = MulDiv(Images->Width(), PixelsX(), 96);
      ph = MulDiv(Images->Height(), PixelsY(), 96);
      if (paint) {
        if (Printing) {
          TBitmap bmp;
          Images->GetBitmap(idx, &bmp);
          RECT dst{x, y, x + static_cast<int>(std::lround(Images->Width() * ImageScale)),
                   y + static_cast<int>(std::lround(Images->Height() * ImageScale))};
          Canvas->StretchDraw(dst, &bmp);
        } else {
          Images->Draw(Canvas, x, y, idx, true);
        }
      }
    }
  } else if ((at = src.find(L"SSYS:")) != WideString::npos || (at = src.find(L"LSYS:")) != WideString::npos) {
    bool smallIcon = src.compare(at, 5, L"SSYS:") == 0;
    WideString rest = src.substr(at + 5);
    UINT size = smallIcon ? SHGFI_SMALLICON : SHGFI_LARGEICON;
    SHFILEINFOW sfi{};
    auto list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"C:\\", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | size));
    int index = -1;
    if (!rest.empty() && rest.find_first_not_of(L"0123456789") == WideString::npos) {
      index = HtmlNumber(rest);
    } else if (!rest.empty()) {
      SHFILEINFOW info{};
      bool exists = GetFileAttributesW(rest.c_str()) != INVALID_FILE_ATTRIBUTES;
      UINT flags = SHGFI_SYSICONINDEX | size | (exists ? 0 : SHGFI_USEFILEATTRIBUTES);
      if (SHGetFileInfoW(rest.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags)) index = info.iIcon;
    }
    if (list && index >= 0) {
      int cx = 0, cy = 0;
      ImageList_GetIconSize(list, &cx, &cy);
      pw = MulDiv(cx, PixelsX(), 96);
      ph = MulDiv(cy, PixelsY(), 96);
      if (paint) {
        HDC dc = DC();
        if (Printing) {
          if (HICON icon = ImageList_GetIcon(list, index, ILD_TRANSPARENT)) {
            DrawIconEx(dc, x, y, icon, static_cast<int>(std::lround(cx * ImageScale)),
                       static_cast<int>(std::lround(cy * ImageScale)), 0, nullptr, DI_NORMAL);
            DestroyIcon(icon);
          }
        } else {
          ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
        }
      }
    }
  } else if (THTMLPicture* pic = PictureFor(src); pic && !pic->Empty()) {
    if (paint) {
      if (!(w > 0 && h > 0)) {
        if (pic->FrameCount() > 1) {
          TColor keep = BrushColorOf(Canvas);
          SetBrushColor(Canvas, FEntryBrush == clNone ? clWindow : FEntryBrush);
          Canvas->FillRect(RECT{x, y, x + pic->ShownWidth(), y + pic->ShownHeight()});
          SetBrushColor(Canvas, keep);
        }
        Canvas->Draw(x + pic->FrameLeft(), y + pic->FrameTop(), pic);
      } else {
        bool keep = pic->Stretch;
        pic->Stretch = true;
        Canvas->StretchDraw(RECT{x, y, x + w, y + h}, pic);
        pic->Stretch = keep;
      }
    }
    pw = (w > 0 && h > 0) ? w : pic->ShownWidth();
    ph = (w > 0 && h > 0) ? h : pic->ShownHeight();
    pw = MulDiv(pw, PixelsX(), 96);
    ph = MulDiv(ph, PixelsY(), 96);
  }

  if (pass != Pass::Measure && FInLink) {
    int mx = MouseX - r.left;
    if (mx > ls.Width && mx < ls.Width + pw && MouseY > y && MouseY < y + ph) {
      Result = true;
      HoverHref = FLinkValue;
      FPictureUnderMouse = FPictureCounter;
    }
  }
  int available = r.right - r.left;
  if (!forceFit && ls.Width + pw > available && available > pw) {
    ls.Full = true;
    return;
  }
  ls.Width += pw;
  FRunX += pw;
  if (ph > ls.Height) ls.Height = ph;
  if (attrs.find(L"\"TOP") != WideString::npos)
    ls.PicOffset = ls.Height - TextHeight();
  else if (attrs.find(L"\"MIDDLE") != WideString::npos)
    ls.PicOffset = (ls.Height - TextHeight()) / 2;
}

void HtmlLayout::DoListItem(Pass pass, const RECT& r, LineState& ls) {
  if (ls.ListMet) {
    ls.Full = true;
    return;
  }
  ls.ListMet = true;
  ls.Width += FListDepth * kListStep;
  FRunX += (FListDepth - 1) * kListStep;
  if (pass == Pass::Paint) {
    // The bullet is drawn in the text's own font: the character that a symbol font shows as a
    // bullet depends on the font's encoding, and the one shipped with Wine shows none.
    WideChar bullet = (FListDepth % 2) ? L'\u2022' : L'o';
    RECT rc{FRunX, r.top, r.right, RunBottom(r, ls)};
    Uni_DrawTextW(DC(), &bullet, 1, &rc, kRunFlags | DT_NOPREFIX);
  }
  FRunX += kListStep;
}

void HtmlLayout::DoBody(const WideString& attrs, Pass pass) {
  if (pass != Pass::Paint) return;
  WideString bg = HtmlAttrValue(attrs, L"BACKGROUND");
  if (!bg.empty()) {
    THTMLPicture* pic = PictureFor(bg);
    if (pic && !pic->Empty() && pic->Width() > 0 && pic->Height() > 0) {
      HDC dc = DC();
      int saved = SaveDC(dc);
      IntersectClipRect(dc, Area.left, Area.top, Area.right, Area.bottom);
      // Only the tiles that can be seen, and never so many that painting stalls.
      RECT clip{};
      GetClipBox(dc, &clip);
      RECT seen{};
      IntersectRect(&seen, &clip, &Area);
      int pw = pic->Width(), ph = pic->Height();
      long long tiles = (static_cast<long long>(seen.right - seen.left) / pw + 2) * ((seen.bottom - seen.top) / ph + 2);
      if (!IsRectEmpty(&seen) && tiles <= 20000) {
        int y0 = Area.top + (seen.top - Area.top) / ph * ph;
        int x0 = Area.left + (seen.left - Area.left) / pw * pw;
        for (int y = y0; y < seen.bottom; y += ph)
          for (int x = x0; x < seen.right; x += pw) Canvas->Draw(x, y, pic);
      }
      RestoreDC(dc, saved);
    }
  }
  if (attrs.find(L"BGCOLOR") != WideString::npos) {
    TColor c = HtmlBodyColor(HtmlAttrValue(attrs, L"BGCOLOR"));
    SetBrushColor(Canvas, c);
    FFontSavedBrush = c;
    TColor pen = Canvas->Pen()->Color();
    Canvas->Pen()->SetColor(c);
    Canvas->FillRect(Area);
    Canvas->Pen()->SetColor(pen);
  }
}

void HtmlLayout::EndRotation() {
  if (!FRotated) return;
  FFontSelected = false;
  SelectObject(Canvas->Handle(), Keeper().Handle(&FWork));
  DeleteObject(FRotated);
  FRotated = nullptr;
}

void HtmlLayout::DoTag(const WideString& tag, Pass pass, const RECT& r, LineState& ls, bool forceFit) {
  auto ch = [&](size_t i) -> wchar_t { return i < tag.size() ? UpperTagChar(tag[i]) : L'\0'; };
  bool paint = pass == Pass::Paint;
  bool measuring = !paint;
  size_t gt = tag.find(L'>');
  auto attrsFrom = [&](size_t from) {
    if (tag.size() <= from) return WideString();
    return tag.substr(from, gt == WideString::npos ? WideString::npos : (gt > from ? gt - from : 0));
  };
  TFont* font = &FWork;
  bool closing = tag.size() >= 4 && tag[1] == L'/';
  wchar_t letter = closing ? ch(2) : ch(1);
  if (letter < L'A' || letter > L'Z') return;

  if (closing) {
    switch (letter) {
      case L'A': LinkEnd(pass, r, ls); break;
      case L'B':
        if (ch(3) == L'>')
          font->SetStyle(font->Style() & ~fsBold);
        else
          font->SetColor(FDefaultFont.Color());
        break;
      case L'E':
        if (paint) ls.ErrorMark = false;
        break;
      case L'F':
        font->SetName(FDefaultFont.Name());
        font->SetHeight(FDefaultFont.Height());
        if (!measuring && !Selected) {
          font->SetColor(FDefaultFont.Color());
          SetBrushColor(Canvas, FFontSavedBrush);
        }
        break;
      case L'H':
        if (paint) {
          font->SetColor(FHiSavedFont);
          SetBrushColor(Canvas, FHiSavedBrush);
        }
        break;
      case L'I': font->SetStyle(font->Style() & ~fsItalic); break;
      case L'P':
        ls.Eol = true;
        if (paint && FParaBg) SetBrushColor(Canvas, FParaSavedBrush);
        FParaBg = false;
        break;
      case L'R': EndRotation(); break;
      case L'S':
        if (ch(3) == L'U')
          ls.Sub = ls.Sup = false;
        else if (ch(3) == L'H')
          ls.Shadow = false;
        else
          font->SetStyle(font->Style() & ~fsStrikeOut);
        break;
      case L'U':
        if (ch(3) == L'>' || FListDepth < 1)
          font->SetStyle(font->Style() & ~fsUnderline);
        else
          --FListDepth;
        break;
      case L'Z': ls.Hidden = false; break;
      default: break;
    }
    return;
  }

  switch (letter) {
    case L'A': LinkStart(tag, pass, r, ls); break;
    case L'B':
      if (ch(2) == L'>') {
        font->SetStyle(font->Style() | fsBold);
      } else if (ch(2) == L'R') {
        ls.Eol = true;
        if (pass == Pass::Measure) PlainText += L'\r';
      } else if (ch(2) == L'L') {
        if (!BlinkOn) font->SetColor(FEntryBrush == clNone ? clWindow : FEntryBrush);
      } else if (ch(2) == L'O') {
        DoBody(HtmlUpperCase(attrsFrom(2)), pass);
      }
      break;
    case L'E':
      if (paint) ls.ErrorMark = true;
      break;
    case L'F': {
      // The most frequent tag with attributes: they are upper-cased in a kept buffer.
      WideString& attrs = FBuffers.Attrs;
      attrs.clear();
      if (tag.size() > 5) attrs.append(tag, 5, gt == WideString::npos ? WideString::npos : (gt > 5 ? gt - 5 : 0));
      if (!attrs.empty()) CharUpperBuffW(attrs.data(), static_cast<DWORD>(attrs.size()));
      WideString face = HtmlAttrValue(attrs, L"FACE");
      if (!face.empty()) font->SetName(ToAnsi(face));
      if (!Selected && attrs.find(L" COLOR") != WideString::npos) {
        WideString c = HtmlAttrValue(attrs, L" COLOR");
        if (!c.empty()) font->SetColor(HtmlColorValue(c));
      }
      if (!measuring && !Selected && attrs.find(L"BGCOLOR") != WideString::npos) {
        WideString c = HtmlAttrValue(attrs, L"BGCOLOR");
        if (!c.empty()) {
          FFontSavedBrush = BrushColorOf(Canvas);
          SetBrushColor(Canvas, HtmlColorValue(c));
        }
      }
      WideString size = HtmlAttrValue(attrs, L"SIZE", true);
      if (!size.empty()) {
        int points = HtmlFontPoints(HtmlNumber(size));
        if (points > 0 && points <= 1000) font->SetSize(points);
      }
      break;
    }
    case L'H':
      if (ch(2) == L'I') {
        if (paint) {
          FHiSavedFont = font->Color();
          FHiSavedBrush = BrushColorOf(Canvas);
          SetBrushColor(Canvas, clHighlight);
          font->SetColor(clHighlightText);
        }
      } else if (ch(2) == L'R') {
        ls.Eol = true;
        if (paint) {
          Canvas->Pen()->SetColor(clBlack);
          int y = RunBottom(r, ls) + 1;
          Canvas->MoveTo(r.left, y);
          Canvas->LineTo(r.right, y);
        }
      }
      break;
    case L'I':
      if (ch(2) == L'>') {
        font->SetStyle(font->Style() | fsItalic);
      } else if (ch(2) == L'M') {
        DoPicture(tag, pass, r, ls, forceFit);
      } else if (ch(2) == L'N') {
        int n = HtmlNumber(HtmlLetterValue(attrsFrom(2), L'X'));
        if (ls.Width < n) {
          ls.Width = n;
          FRunX = Area.left + n;
        }
      }
      break;
    case L'L': DoListItem(pass, r, ls); break;
    case L'P': {
      WideString attrs = HtmlUpperCase(attrsFrom(2));
      WideString align = HtmlAttrValue(attrs, L"ALIGN");
      if (align.find(L"RIGHT") != WideString::npos) FAlign = 1;
      if (align.find(L"LEFT") != WideString::npos) FAlign = 0;
      if (align.find(L"CENTER") != WideString::npos) FAlign = 2;
      if (attrs.find(L"INDENT") != WideString::npos) FIndent = HtmlNumber(HtmlAttrValue(attrs, L"INDENT"));
      if (paint && attrs.find(L"BGCOLOR") != WideString::npos) {
        WideString v = HtmlAttrValue(attrs, L"BGCOLOR");
        TColor c = v.empty() ? clNone : HtmlColorValue(v);
        FParaBg = true;
        FParaSavedBrush = BrushColorOf(Canvas);
        SetBrushColor(Canvas, c);
        Canvas->Pen()->SetColor(c);
        if (c != clNone) Canvas->FillRect(RECT{Area.left, r.top, Area.right, r.bottom});
      }
      break;
    }
    case L'R': {
      int angle = HtmlNumber(HtmlLetterValue(attrsFrom(2), L'A'));
      EndRotation();
      LOGFONTA lf = font->LogFont();
      lf.lfEscapement = lf.lfOrientation = angle * 10;
      HDC dc = DC();
      FRotated = CreateFontIndirectA(&lf);
      SelectObject(dc, FRotated);
      break;
    }
    case L'S':
      if (ch(2) == L'>')
        font->SetStyle(font->Style() | fsStrikeOut);
      else if (ch(2) == L'H')
        ls.Shadow = true;
      else if (HtmlUpperCase(tag.substr(0, 5)) == L"<SUB>")
        ls.Sub = true;
      else if (HtmlUpperCase(tag.substr(0, 5)) == L"<SUP>")
        ls.Sup = true;
      break;
    case L'U':
      if (ch(2) == L'>')
        font->SetStyle(font->Style() | fsUnderline);
      else if (FListDepth < 1000)
        ++FListDepth;
      break;
    case L'Z': ls.Hidden = true; break;
    default: break;
  }
}

void HtmlLayout::Run(const WideString& Text) {
  FWork.OnChange = [this](TObject*) { ++FWorkChanges; };
  FDefaultFont.Assign(Canvas->Font());
  FWork.Assign(Canvas->Font());
  // What the canvas has in the device already.
  Canvas->RequiredState(csHandleValid | csFontValid);
  FSelectedFont = FWork.LogFont();
  FFontSelected = true;
  FSelectedColor = FWork.Color();
  TFont measureFont, paintFont;
  TextStyles measureStyles, paintStyles;
  measureFont.Assign(Canvas->Font());
  paintFont.Assign(Canvas->Font());
  FEntryBrush = BrushColorOf(Canvas);
  TColor entryPen = Canvas->Pen()->Color();
  SetBrushColor(Canvas, clNone);
  SetBkMode(DC(), TRANSPARENT);
  FPixels = GetDeviceCaps(DC(), LOGPIXELSY);

  RECT lineRect = Area;
  lineRect.left += 1;
  PlainText.clear();
  FText = PrepareHtmlMarkup(Text);
  FNextTag = FNextTagFrom = WideString::npos;
  size_t pos = 0, end = FText.size();
  int top = Area.top;
  bool stuck = false;

  while (pos < end) {
    FWork.Assign(&measureFont);
    LineState ls(measureStyles);
    ls.Height = TextHeight();
    size_t start = pos;
    int linkCount = LinkCount, pictures = FPictureCounter, depth = FListDepth;
    bool inLink = FInLink;
    WideString linkValue = FLinkValue;
    int linkStartWidth = FLinkStartWidth, linkStartTop = FLinkStartTop;

    RECT measureRect{lineRect.left, top, lineRect.right, std::max(static_cast<int>(Area.bottom), top + ls.Height)};
    LayLine(pos, end, Pass::Measure, measureRect, ls, stuck);
    measureFont.Assign(&FWork);
    if (pos == start && pos < end) {
      // Nothing fitted on this line: the next attempt takes its first piece whatever its
      // width; when even that takes nothing, the rest cannot be laid out.
      if (stuck) break;
      stuck = true;
      FPictureCounter = pictures;
      LinkCount = linkCount;
      FListDepth = depth;
      FInLink = inLink;
      FLinkValue = linkValue;
      continue;
    }
    bool forced = stuck;
    stuck = false;
    measureStyles = ls;

    int lineHeight = ls.Height + ls.Raise + ls.Drop;
    RECT paintRect{lineRect.left, top, lineRect.right, top + lineHeight};
    int available = lineRect.right - lineRect.left;
    if (FAlign == 1) {
      int left = Area.right - ls.Width;
      if (left > paintRect.left) paintRect.left = left;
    } else if (FAlign == 2 && available - ls.Width > 0) {
      paintRect.left += (available - ls.Width) / 2;
    }
    paintRect.left += FIndent;

    if (!MeasureOnly) {
      LinkCount = linkCount;
      FPictureCounter = pictures;
      FListDepth = depth;
      FInLink = inLink;
      FLinkValue = linkValue;
      FLinkStartWidth = linkStartWidth;
      FLinkStartTop = linkStartTop;
      FWork.Assign(&paintFont);
      LineState second(paintStyles);
      second.Height = ls.Height;
      second.Raise = ls.Raise;
      second.Drop = ls.Drop;
      size_t p2 = start, e2 = pos;
      int outWidth = OutWidth;
      LayLine(p2, e2, HitTestOnly ? Pass::HitTest : Pass::Paint, paintRect, second, forced);
      OutWidth = outWidth;
      paintFont.Assign(&FWork);
      paintStyles = second;
      int rowBottom = paintRect.bottom - second.PicOffset;
      if (second.LinkHit && MouseY > rowBottom - TextHeight() && MouseY < rowBottom) Result = true;
      // The painting pass works on the line as measured; its width stands.
      if (ls.Width > OutWidth) OutWidth = ls.Width;
    }
    top += lineHeight;
    OutHeight += lineHeight;
    if (top > Area.bottom && !MeasureOnly) break;
  }

  EndRotation();
  Canvas->Font()->Assign(&FDefaultFont);
  // The canvas's own font and colour go back into the device where the layout changed them.
  {
    Canvas->RequiredState(csHandleValid | csFontValid);
    LOGFONTA own = Canvas->Font()->LogFont();
    if (!FFontSelected || std::memcmp(&own, &FSelectedFont, sizeof own) != 0)
      SelectObject(Canvas->Handle(), Canvas->Font()->Handle());
    if (FSelectedColor != Canvas->Font()->Color()) SetTextColor(Canvas->Handle(), ColorToRGB(Canvas->Font()->Color()));
  }
  if (OutHeight == 0) OutHeight = TextHeight();
  SetBrushColor(Canvas, FEntryBrush);
  Canvas->Pen()->SetColor(entryPen);
}

}  // namespace

bool DrawHtmlText(TCanvas* Canvas, const WideString& Text, const RECT& Rect, TCustomImageList* Images, int MouseX,
                  int MouseY, int FocusLink, int HoverLink, int ShadowOffset, bool HitTestOnly, bool MeasureOnly,
                  bool Printing, bool Selected, bool BlinkOn, bool HoverOnly, bool WordWrap, double ImageScale,
                  TColor LinkColor, TColor HoverColor, TColor HoverFontColor, TColor ShadowColor,
                  WideString& HoverHref, WideString& PlainText, WideString& FocusHref, int& OutWidth, int& OutHeight,
                  int& LinkCount, int& MouseLink, RECT& HoverRect, TPictureCache* PictureCache,
                  THtmlPictureContainer* PictureContainer) {
  LayoutBuffersLease buffers;
  HtmlLayout layout(buffers.Buffers());
  layout.Canvas = Canvas;
  layout.Area = Rect;
  layout.Images = Images;
  layout.MouseX = MouseX;
  layout.MouseY = MouseY;
  layout.FocusLink = FocusLink;
  layout.HoverLink = HoverLink;
  layout.ShadowOffset = ShadowOffset;
  layout.HitTestOnly = HitTestOnly;
  layout.MeasureOnly = MeasureOnly;
  layout.Printing = Printing;
  layout.Selected = Selected;
  layout.BlinkOn = BlinkOn;
  layout.HoverOnly = HoverOnly;
  layout.WordWrap = WordWrap;
  layout.ImageScale = ImageScale;
  layout.LinkColor = LinkColor;
  layout.HoverColor = HoverColor;
  layout.HoverFontColor = HoverFontColor;
  layout.ShadowColor = ShadowColor;
  layout.Cache = PictureCache;
  layout.Container = PictureContainer;
  layout.HoverHref = HoverHref;
  layout.HoverRect = HoverRect;
  Canvas->Changing();
  layout.Run(Text);
  Canvas->Changed();
  HoverHref = layout.HoverHref;
  PlainText = layout.PlainText;
  FocusHref = layout.FocusHref;
  OutWidth = layout.OutWidth;
  OutHeight = layout.OutHeight;
  LinkCount = layout.LinkCount;
  MouseLink = layout.MouseLink;
  HoverRect = layout.HoverRect;
  return layout.Result;
}

void MeasureTitledText(TCanvas* Canvas, const WideString& Text, TFont* TitleFont, TFont* BodyFont, UINT Flags,
                       int& Width, int& Height, bool Padded) {
  TFont saved;
  saved.Assign(Canvas->Font());
  auto measure = [&](TFont* font, const WideString& line, SIZE& size) {
    Canvas->Font()->Assign(font);
    Canvas->RequiredState(csHandleValid | csFontValid);
    RECT rc{0, 0, 0, 0};
    Uni_DrawTextW(Canvas->Handle(), line.c_str(), -1, &rc, DT_CALCRECT | DT_SINGLELINE | Flags);
    size.cx = rc.right - rc.left;
    size.cy = rc.bottom - rc.top;
  };
  if (Text.find(L"\\n") == WideString::npos && Text.find(L'\r') == WideString::npos) {
    SIZE s{};
    measure(TitleFont, Text, s);
    Width = s.cx;
    Height = s.cy;
  } else {
    TUniStringList lines;
    SplitTextLines(Text, &lines);
    int w = 0, h = 0;
    for (int i = 0; i < lines.GetCount(); ++i) {
      WideString line = TrimSpacesW(lines.Get(i));
      if (line.empty()) continue;
      SIZE s{};
      if (i == 0) {
        measure(TitleFont, line, s);
        w = s.cx + (Padded ? 8 : 0);
        h = s.cy + (Padded ? 10 : 0);
      } else {
        measure(BodyFont, line, s);
        w = std::max(w, static_cast<int>(s.cx) + (Padded ? 8 : 0));
        h += s.cy + (Padded ? 2 : 0);
      }
    }
    Width = w;
    Height = h;
  }
  Canvas->Font()->Assign(&saved);
}

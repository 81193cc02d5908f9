// Colours, fonts, brushes, pens and the canvas that draws with them.
#pragma once

#include <windows.h>

#include <memory>

#include "vcl/classes.h"
#include "vcl/sysutils.h"
#include "vcl/typinfo.h"

// The canvas has a TextOut of its own; the system header maps the name to TextOutA.
#undef TextOut

// ---------------------------------------------------------------------------
// Colours: an RGB value (0x00BBGGRR), or 0xFF000000 plus a system colour index.

using TColor = int32_t;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<unsigned>(index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SystemColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SystemColor(COLOR_MENU);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value of a colour (system colours looked up now).
COLORREF ColorToRGB(TColor color);

// Colour names of stored descriptions ("clBtnFace"); false when the value has none.
bool ColorToIdent(TColor color, AnsiString& ident);
bool IdentToColor(const AnsiString& ident, TColor& color);
// The same for published colour properties (TPropertyTable::Idents).
const TIntegerIdents* ColorIdents();

// A component family's own colour names, tried before the standard ones by ColorToIdent and
// IdentToColor while registered. The table must outlive its registration.
struct TColorIdentName {
  TColor Color;
  const char* Ident;
};
void RegisterColorIdents(const TColorIdentName* Names, size_t Count);
void UnregisterColorIdents(const TColorIdentName* Names);

// ---------------------------------------------------------------------------
// Drawing objects. Each one describes a GDI object and creates its handle when asked;
// objects with the same description share one handle (fonts are numerous: every
// control has one).

class TGraphicsObject : public TPersistent {
  VCL_CLASS(TGraphicsObject)
 public:
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;  // bit n is the style of ordinal n in the table below
VCL_ENUM_INFO(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
enum TFontPitch { fpDefault, fpVariable, fpFixed };
VCL_ENUM_INFO(TFontPitch, "fpDefault", "fpVariable", "fpFixed")

struct TGdiResource;  // a shared handle and its description (graphics.cpp)

class TFont : public TGraphicsObject {
  VCL_CLASS(TFont)
 public:
  TFont();
  ~TFont() override;
  void Assign(TPersistent* source) override;

  // The font handle, created on first use; the font keeps it.
  HFONT Handle();
  // Takes the description of a font handle (the caller keeps the handle itself).
  void SetHandle(HFONT font);
  void SetLogFont(const LOGFONTA& lf);
  LOGFONTA LogFont() const { return FLogFont; }

  TColor Color() const { return FColor; }
  void SetColor(TColor c);
  AnsiString Name() const { return FLogFont.lfFaceName; }
  void SetName(const AnsiString& name);
  int Height() const { return FLogFont.lfHeight; }
  void SetHeight(int height);
  int Size() const;  // in points (negative heights are character heights)
  void SetSize(int points);
  TFontStyles Style() const;
  void SetStyle(TFontStyles style);
  BYTE Charset() const { return FLogFont.lfCharSet; }
  void SetCharset(BYTE charset);
  TFontPitch Pitch() const;
  void SetPitch(TFontPitch pitch);
  int PixelsPerInch = 96;

 private:
  void DescriptionChanged();

  LOGFONTA FLogFont{};
  TColor FColor = clWindowText;
  std::shared_ptr<TGdiResource> FResource;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
VCL_ENUM_INFO(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross",
              "bsDiagCross")

class TBrush : public TGraphicsObject {
  VCL_CLASS(TBrush)
 public:
  TBrush();
  ~TBrush() override;
  void Assign(TPersistent* source) override;
  HBRUSH Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor c);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle s);

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  std::shared_ptr<TGdiResource> FResource;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
VCL_ENUM_INFO(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame")
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
                pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };

class TPen : public TGraphicsObject {
  VCL_CLASS(TPen)
 public:
  TPen();
  ~TPen() override;
  void Assign(TPersistent* source) override;
  HPEN Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor c);
  int Width() const { return FWidth; }
  void SetWidth(int w);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle s);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode m);

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  std::shared_ptr<TGdiResource> FResource;
};

// ---------------------------------------------------------------------------
// The canvas: a device context with a font, a brush and a pen selected into it as
// drawing needs them.

enum TCanvasStateFlag : unsigned { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
using TCanvasState = unsigned;

enum TCanvasOrientation { coLeftToRight, coRightToLeft };

class TGraphic;  // vcl/pictures.h

class TCanvas : public TPersistent {
  VCL_CLASS(TCanvas)
 public:
  TCanvas();
  ~TCanvas() override;

  // The device context; a canvas without one asks CreateHandle for it.
  HDC Handle();
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return FHandle != nullptr; }
  HDC CurrentHandle() const { return FHandle; }  // without creating one

  TFont* Font() const { return FFont.get(); }
  TBrush* Brush() const { return FBrush.get(); }
  TPen* Pen() const { return FPen.get(); }
  void SetFont(TFont* f) { FFont->Assign(f); }
  void SetBrush(TBrush* b) { FBrush->Assign(b); }
  void SetPen(TPen* p) { FPen->Assign(p); }

  // ETO_ flags used by TextOut and TextRect (ETO_RTLREADING for right-to-left text).
  int TextFlags = 0;
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  POINT PenPos() const { return FPenPos; }
  void SetPenPos(POINT p) { MoveTo(p.x, p.y); }
  void Rectangle(int x1, int y1, int x2, int y2);
  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void TextOut(int x, int y, const AnsiString& text);
  void TextRect(const RECT& r, int x, int y, const AnsiString& text);
  SIZE TextExtent(const AnsiString& text);
  int TextWidth(const AnsiString& text) { return TextExtent(text).cx; }
  int TextHeight(const AnsiString& text) { return TextExtent(text).cy; }
  RECT ClipRect();
  // The colour of a pixel (clNone outside the clipping region or without a bitmap).
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);
  // Draws a graphic at its own size with its top left corner at (x, y), or stretched to r.
  // Empty graphics and null draw nothing.
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const RECT& r, TGraphic* graphic);
  // Right to left when right-to-left reading is asked for (ETO_RTLREADING in TextFlags) on
  // a device context whose window origin has been moved, as mirrored painting does; text
  // routines then start the text right of the X they are given.
  TCanvasOrientation CanvasOrientation();

  // Serialises drawing from more than one thread on the same canvas.
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return FLockCount; }

  // Selects whatever of handle, font, pen and brush the next drawing call needs.
  void RequiredState(TCanvasState req);
  // Deselects the drawing objects so that they may change (the DC keeps stock ones).
  void Refresh();

  // Around every drawing call: OnChanging before, OnChange after. Drawing routines outside
  // the canvas (wide text) signal them too.
  virtual void Changing();
  virtual void Changed();

 protected:
  virtual void CreateHandle() {}
  TCanvasState FState = 0;

 private:
  void DeselectHandles();
  void SelectFontObject();
  void SelectBrushObject();
  void SelectPenObject();
  void ObjectChanged(TObject* sender);

  HDC FHandle = nullptr;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TPen> FPen;
  POINT FPenPos{0, 0};
  CRITICAL_SECTION FLock;
  int FLockCount = 0;
};

// Draws a 3D frame of the given width inside r and shrinks r by it: top and left in
// topColor, bottom and right in bottomColor.
void Frame3D(TCanvas* canvas, RECT& r, TColor topColor, TColor bottomColor, int width);
// Fills r with color, then readies the canvas to write in font over it (clear brush), as
// labels and panels paint their captions.
void PrepareTextArea(TCanvas* canvas, const RECT& r, TColor color, TFont* font);

// Pixels per inch of the screen (vertical).
int ScreenPixelsPerInch();

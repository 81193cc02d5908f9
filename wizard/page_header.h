// The painted banner of a wizard page: a bold caption, a word-wrapped comment under it, a
// picture (or a symbol in a coloured box) at the right, an etched bottom edge and a thin
// gradient strip. Caption and comment are the lines of their lists picked by PageNo.
#pragma once

#include <memory>

#include "vcl/pictures.h"
#include "vcl/strings.h"
#include "wizard/extended_controls.h"
#include "wizard/gradient.h"

// --- Layout, without a device --------------------------------------------------

// The line of a list shown for a page number: the last line when the list is shorter, the
// first for numbers below 0; -1 for an empty list.
int HeaderLineIndex(int Count, int PageNo);
// The caption's box in the client rectangle.
RECT HeaderCaptionRect(const RECT& Client);
// The room under the caption the comment is centred in.
RECT HeaderCommentArea(const RECT& Client, int CaptionTextHeight);
// The comment's measured box (CALCRECT result) moved to the middle of Area.
RECT CenterComment(const RECT& Area, const RECT& Measured);
// Where a glyph goes: right-aligned, as far from the right edge as from the top.
POINT HeaderGlyphPosition(const RECT& Client, int ControlHeight, SIZE Glyph);
// The coloured box a symbol sits in.
RECT HeaderSymbolBox(const RECT& Client, bool GradientActive);
// The gradient strip along the bottom.
RECT HeaderGradientStrip(const RECT& Client);
// The colour a picture leaves out, read from a corner: 1 top-left, 2 bottom-left,
// 3 top-right, 4 bottom-right; 0 or an empty picture give black.
TColor PictureCornerColor(TBitmap* Bitmap, int Corner);
// Draws the bitmap at (X, Y) leaving out its pixels of TransparentColor.
void DrawTransparentBitmap(HDC DC, int X, int Y, TBitmap* Bitmap, TColor TransparentColor);

class TKvgWizardHeader : public TKvExGraphicControl {
  VCL_CLASS(TKvgWizardHeader)
 public:
  explicit TKvgWizardHeader(TComponent* AOwner);
  ~TKvgWizardHeader() override;

  TStringList* Captions() const { return FCaptions.get(); }
  void SetCaptions(TStringList* Value);
  TStringList* Comments() const { return FComments.get(); }
  void SetComments(TStringList* Value);
  int PageNo() const { return FPageNo; }
  void SetPageNo(int Value);
  TFont* CaptionFont() const { return Font(); }
  void SetCaptionFont(TFont* Value);
  TFont* CommentFont() const { return FCommentFont.get(); }
  void SetCommentFont(TFont* Value);
  TFont* SymbolFont() const { return FSymbolFont.get(); }
  void SetSymbolFont(TFont* Value);
  AnsiString Symbol() const { return FSymbol; }
  void SetSymbol(const AnsiString& Value);
  TKvgGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(TKvgGradient* Value) { FGradient->Assign(Value); }
  TBitmap* Glyph() const;
  void SetGlyph(TBitmap* Value) { Glyph()->Assign(Value); }
  bool BufferedDraw() const { return FBufferedDraw; }
  void SetBufferedDraw(bool Value);

  // The texts a paint shows now.
  AnsiString CaptionText() const;
  AnsiString CommentText() const;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void PaintTo(TCanvas* ACanvas);
  void SomethingChanged(TObject*) { Invalidate(); }

  std::unique_ptr<TStringList> FComments;
  std::unique_ptr<TStringList> FCaptions;
  int FPageNo = 1;
  std::unique_ptr<TFont> FCommentFont;
  std::unique_ptr<TFont> FSymbolFont;
  AnsiString FSymbol;
  std::unique_ptr<TKvgGradient> FGradient;
  mutable std::unique_ptr<TBitmap> FGlyph;
  bool FBufferedDraw = false;
};

void RegisterWizardHeader();

// Lays out and paints texts in the task dialog's HTML-like markup, measures them and finds
// the link under a point; and measures titled texts (a title line over body lines).
//
// Tags (name letters, any case): <B> <I> <U> <S> bold, italic, underline, strike-out;
// <A HREF="..."> links; <FONT FACE="" SIZE="" COLOR="" BGCOLOR="">; <P ALIGN="" INDENT=""
// BGCOLOR="">; <BR>, <HR>; <UL> <LI> lists; <IMG SRC="" WIDTH="" HEIGHT="" ALIGN="" ALT="">
// with sources "IDX:n", "SSYS:"/"LSYS:" system icons, plain names (container) and
// "RES://", "FILE://" (cache); <SUB> <SUP> <SHAD> <HI> <BLINK> <E> (error zigzag) <Z>
// (hidden) <IND X=""> <ROT A=""> <BODY BACKGROUND="" BGCOLOR="">. Entities: &amp; &quot;
// &sect; &permil; &reg; &copy; &para; &trade; &euro; &nbsp; &lt; &gt;.
#pragma once

#include <windows.h>

#include "vcl/graphics.h"
#include "vcl/imglist.h"
#include "vcl/sysutils.h"

class TPictureCache;
class THtmlPictureContainer;

// Paints (or only measures) Text inside Rect with the canvas's font as the default font,
// one line at a time, and answers whether (MouseX, MouseY) lies on a link. Font and brush
// colour of the canvas are as they were when it returns.
bool DrawHtmlText(TCanvas* Canvas, const WideString& Text, const RECT& Rect, TCustomImageList* Images,
                  int MouseX, int MouseY, int FocusLink, int HoverLink, int ShadowOffset, bool HitTestOnly,
                  bool MeasureOnly, bool Printing, bool Selected, bool BlinkOn, bool HoverOnly, bool WordWrap,
                  double ImageScale, TColor LinkColor, TColor HoverColor, TColor HoverFontColor,
                  TColor ShadowColor, WideString& HoverHref, WideString& PlainText, WideString& FocusHref,
                  int& OutWidth, int& OutHeight, int& LinkCount, int& MouseLink, RECT& HoverRect,
                  TPictureCache* PictureCache, THtmlPictureContainer* PictureContainer);

// The size of a text whose first line is a title: the first line in TitleFont, the others
// in BodyFont (lines split by SplitTextLines). Padded adds the drawn form's margins.
void MeasureTitledText(TCanvas* Canvas, const WideString& Text, TFont* TitleFont, TFont* BodyFont, UINT Flags,
                       int& Width, int& Height, bool Padded);

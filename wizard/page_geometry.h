// Box arithmetic of the wizard's painted page parts: header images, title texts, aligned
// pictures and framed edges.
#pragma once

#include <windows.h>

#include "vcl/controls.h"
#include "vcl/graphics.h"

// Sides a title keeps its distance to. Scoped names: stored descriptions know them as
// akLeft, akTop, akRight and akBottom.
enum class TKvAnchorKind { Left, Top, Right, Bottom };
VCL_ENUM_INFO(TKvAnchorKind, "akLeft", "akTop", "akRight", "akBottom")
using TKvAnchors = unsigned;
constexpr TKvAnchors AnchorBit(TKvAnchorKind k) { return 1u << static_cast<unsigned>(k); }

enum TKvWizardImageAlignment { iaLeft, iaRight, iaCenter, iaStretch };
VCL_ENUM_INFO(TKvWizardImageAlignment, "iaLeft", "iaRight", "iaCenter", "iaStretch")
enum TKvWizardImageLayout { ilTop, ilBottom, ilCenter, ilStretch, ilTile };
VCL_ENUM_INFO(TKvWizardImageLayout, "ilTop", "ilBottom", "ilCenter", "ilStretch", "ilTile")
// The two sides a header image or a water mark may take (same ordinals as the alignments
// and aligns they stand for).
enum TKvWizardImageLeftRight { iaLeftSide = 0, iaRightSide = 1 };
VCL_ENUM_INFO(TKvWizardImageLeftRight, "iaLeft", "iaRight")
enum TKvWizardLeftRight { alLeftSide = 0, alRightSide = 1 };
VCL_ENUM_INFO(TKvWizardLeftRight, "alLeft", "alRight")

// Where a header image of ImageSize goes in Area, and what of Area stays for the texts
// (Area narrows past the image).
RECT HeaderImageRect(SIZE ImageSize, RECT& Area, TKvWizardImageLeftRight Alignment, int ImageOffset);

// Where a title of TextSize (its single-line extent) goes in Area.
RECT TitleTextRect(SIZE TextSize, const RECT& Area, TKvAnchors Anchors, int AnchorPlacement, int Indent);

// Where a picture of GraphicSize goes in Rect; Stretch tells whether it is stretched over
// the result (else drawn at its own size at the top-left).
RECT AlignedGraphicRect(SIZE GraphicSize, const RECT& Rect, TKvWizardImageAlignment Alignment,
                        TKvWizardImageLayout Layout, bool& Stretch);

// Edge sides, as the system's BF_ values.
constexpr unsigned SideLeft = BF_LEFT, SideTop = BF_TOP, SideRight = BF_RIGHT, SideBottom = BF_BOTTOM;
constexpr unsigned AllSides = SideLeft | SideTop | SideRight | SideBottom;

// Colours A (top-left lines) and B (bottom-right lines) of a frame style 0..6.
void FrameStyleColors(int Style, TColor& A, TColor& B);
// Rect less one pixel on each of the given sides.
RECT ShrinkSides(const RECT& Rect, unsigned Sides, int By);

// Lines along the chosen sides; Result is Rect less one pixel on each side drawn.
void DrawBorderLines(TCanvas* Canvas, const RECT& Rect, TColor TopLeftColor, TColor BottomRightColor,
                     unsigned Sides, RECT& Result);
// Framed edges of a style (3: the etched line every wizard part uses).
void DrawFrameStyle(TCanvas* Canvas, const RECT& Rect, int Style, unsigned Sides, RECT& Result);
class TGraphic;
// Tiles the graphic over Rect (raises EKvWizardError for an empty graphic).
void DrawTiledGraphic(TCanvas* Canvas, TGraphic* Graphic, const RECT& Rect);
void DrawAlignedGraphic(TCanvas* Canvas, TGraphic* Graphic, const RECT& Rect, TKvWizardImageAlignment Alignment,
                        TKvWizardImageLayout Layout);

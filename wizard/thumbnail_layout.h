// The arithmetic of the thumbnail family, kept apart from the windows: rounding, proportional
// sizes, the grid of cells, hit tests, key moves, the picture box inside a cell, the JPEG
// decoding scale and the chain of scale-down steps, and the file masks of a filter.
#pragma once

#include <windows.h>

#include <vector>

#include "vcl/jpeg.h"
#include "vcl/sysutils.h"

enum TViewType { vtNormal, vtCenter, vtFitToScreen };
enum TScrollMode { smHorizontal, smVertical, smBoth };
enum TTitlePos { tpUp, tpDown, tpNone };

// Whole X as it is; otherwise away from zero (a ceiling for positive values).
int RoundUp(double X);
// Source scaled by one percentage so that it fits Target (the smaller of the two side
// ratios); a source side of 0 gives a ratio of 0.
POINT ProportionalSize(POINT Source, POINT Target);
// Every occurrence of Old replaced by New, left to right, never looking into inserted text.
AnsiString ReplaceAllText(const AnsiString& S, const AnsiString& Old, const AnsiString& New, bool CaseSensitive);
// The masks of an open-dialog filter ("Desc|*.a;*.b|Desc|*.c"), one per entry, no empties.
std::vector<AnsiString> FilterMasks(const AnsiString& Filter);

// The grid of a thumbnail view: the view's size, the cell size, the gap and the mode.
struct TThumbGrid {
  int ViewWidth = 0, ViewHeight = 0;
  int ThumbWidth = 0, ThumbHeight = 0;
  int Gap = 4;
  TScrollMode Mode = smHorizontal;
  TViewType Align = vtNormal;
  int Count = 0;    // thumbnails held (smBoth makes a square of them)
  int PerLine = 1;  // thumbnails a line holds (filled in by CalcPerLine)

  // Thumbnails in a column (smHorizontal), a row (smVertical) or the square's side (smBoth).
  int CalcPerLine() const;
  // Top left corner of the N-th cell (N from 1; 0 gives 0).
  int XPos(int N) const;
  int YPos(int N) const;
  // The index of the cell line under a point of the scrolled area (before the bounds test).
  int CellIndexAt(int ScrolledX, int ScrolledY) const;
};

// Cell size at Size percent of MaxWidth x MaxHeight.
inline int ScaledSide(int Max, int Size) { return static_cast<int>(Max / 100.0 * Size); }

enum TThumbMove { tmLeft, tmRight, tmUp, tmDown };
// Where a key moves the selection S; S itself when the target is outside 0 .. Count - 1.
int MoveSelection(int S, TThumbMove Move, TScrollMode Mode, int PerLine, int Count);

// The picture box of a thumbnail cell of CellWidth x CellHeight with a title strip of
// StripHeight (0 without one) placed as Placement and a border of BorderWidth.
struct TPictureBox {
  int ClientWidth = 0, ClientHeight = 0;
  int Percent = 100;
  RECT Image{};
};
TPictureBox CalculatePictureBox(int CellWidth, int CellHeight, int BorderWidth, int StripHeight,
                                TTitlePos Placement, int PictureWidth, int PictureHeight);

// The decoding scale of a JPEG file of FileSize bytes shown in a thumbnail.
TJPEGScale JpegScaleForSize(unsigned FileSize);

// The sizes a picture passes through when it is scaled down into MaxWidth x MaxHeight:
// never more than 16 times smaller in one step. Empty when nothing is to be done.
std::vector<POINT> ScaleDownChain(int Width, int Height, int MaxWidth, int MaxHeight);

#include "wizard/thumbnail_layout.h"

#include <cmath>

int RoundUp(double X) {
  double whole = std::trunc(X);
  if (whole == X) return static_cast<int>(whole);
  return static_cast<int>(whole) + (X > 0 ? 1 : -1);
}

POINT ProportionalSize(POINT Source, POINT Target) {
  float pw = Source.x ? static_cast<float>(Target.x) / static_cast<float>(Source.x) * 100.0f : 0.0f;
  float ph = Source.y ? static_cast<float>(Target.y) / static_cast<float>(Source.y) * 100.0f : 0.0f;
  float p = pw > ph ? ph : pw;
  return POINT{static_cast<LONG>(Source.x / 100.0 * p), static_cast<LONG>(Source.y / 100.0 * p)};
}

AnsiString ReplaceAllText(const AnsiString& S, const AnsiString& Old, const AnsiString& New, bool CaseSensitive) {
  if (Old.empty()) return S;
  const AnsiString hay = CaseSensitive ? S : UpperCase(S);
  const AnsiString needle = CaseSensitive ? Old : UpperCase(Old);
  AnsiString result;
  size_t from = 0;
  for (size_t at; (at = hay.find(needle, from)) != AnsiString::npos; from = at + Old.size()) {
    result.append(S, from, at - from);
    result += New;
  }
  result.append(S, from, AnsiString::npos);
  return result;
}

std::vector<AnsiString> FilterMasks(const AnsiString& Filter) {
  // Every second item of the "|"-separated pairs, joined by ";", then split at ";".
  AnsiString joined;
  size_t pos = 0;
  for (;;) {
    size_t bar = Filter.find('|', pos);
    if (bar == AnsiString::npos) break;
    size_t next = Filter.find('|', bar + 1);
    joined += Filter.substr(bar + 1, next == AnsiString::npos ? AnsiString::npos : next - bar - 1) + ";";
    if (next == AnsiString::npos) break;
    pos = next + 1;
  }
  std::vector<AnsiString> masks;
  AnsiString lines = ReplaceAllText(joined, ";", "\n", false);
  size_t start = 0;
  while (start < lines.size()) {
    size_t end = lines.find('\n', start);
    if (end == AnsiString::npos) end = lines.size();
    AnsiString mask = lines.substr(start, end - start);
    if (!mask.empty()) masks.push_back(mask);
    start = end + 1;
  }
  return masks;
}

int TThumbGrid::CalcPerLine() const {
  int n = 1;
  switch (Mode) {
    case smHorizontal: n = Gap + ThumbHeight > 0 ? (ViewHeight - 20) / (Gap + ThumbHeight) : 1; break;
    case smVertical: n = Gap + ThumbWidth > 0 ? (ViewWidth - 20) / (Gap + ThumbWidth) : 1; break;
    case smBoth: n = RoundUp(std::sqrt(static_cast<double>(Count))); break;
  }
  return n < 1 ? 1 : n;
}

int TThumbGrid::XPos(int N) const {
  if (N == 0) return 0;
  const int p = PerLine, g = Gap;
  const int line = RoundUp(static_cast<double>(N) / p);
  const int place = N - p * line + p;
  if (Mode == smHorizontal) return (line - 1) * ThumbWidth + line * g;
  int gap = g;
  if (Mode == smVertical && Align == vtFitToScreen) gap = (ViewWidth - 20 - p * ThumbWidth) / (p + 1);
  int x = (place - 1) * ThumbWidth + place * gap;
  if (Mode == smVertical && Align == vtCenter) x += (ViewWidth - 20) / 2 - ((g + ThumbWidth) * p) / 2;
  return x;
}

int TThumbGrid::YPos(int N) const {
  if (N == 0) return 0;
  const int p = PerLine, g = Gap;
  const int line = RoundUp(static_cast<double>(N) / p);
  const int place = N - p * line + p;
  if (Mode != smHorizontal) return (line - 1) * ThumbHeight + line * g;
  int gap = g;
  if (Align == vtFitToScreen) gap = (ViewHeight - 20 - (g + ThumbHeight) * p) / (p + 1);
  int y = (place - 1) * ThumbHeight + place * gap;
  if (Align == vtCenter) y += (ViewHeight - 20) / 2 - (p * ThumbHeight) / 2;
  return y;
}

int TThumbGrid::CellIndexAt(int ScrolledX, int ScrolledY) const {
  int c = RoundUp(static_cast<double>(ScrolledX) / (Gap + ThumbWidth));
  int r = RoundUp(static_cast<double>(ScrolledY) / (Gap + ThumbHeight));
  int index;
  if (Mode == smHorizontal) {
    if (r > PerLine) r = PerLine;
    if (c < 1) c = 1;
    index = (c - 1) * PerLine + r - 1;
  } else {
    if (c > PerLine) c = PerLine;
    if (r < 1) r = 1;
    index = (r - 1) * PerLine + c - 1;
  }
  return index;
}

int MoveSelection(int S, TThumbMove Move, TScrollMode Mode, int PerLine, int Count) {
  // Horizontal grids grow in columns, so left and right jump a whole column.
  const bool columns = Mode == smHorizontal;
  int target = S;
  switch (Move) {
    case tmRight: target = S + (columns ? PerLine : 1); break;
    case tmLeft: target = S - (columns ? PerLine : 1); break;
    case tmDown: target = S + (columns ? 1 : PerLine); break;
    case tmUp: target = S - (columns ? 1 : PerLine); break;
  }
  return target >= 0 && target < Count ? target : S;
}

TPictureBox CalculatePictureBox(int CellWidth, int CellHeight, int BorderWidth, int StripHeight,
                                TTitlePos Placement, int PictureWidth, int PictureHeight) {
  TPictureBox box;
  box.ClientHeight = CellHeight - StripHeight - 8;
  box.ClientWidth = CellWidth - 2 * BorderWidth - 8;
  const int w = PictureWidth, h = PictureHeight;
  if (w <= box.ClientWidth && h <= box.ClientHeight) {
    box.Percent = 100;
  } else {
    float pw = w ? static_cast<float>(box.ClientWidth) / static_cast<float>(w) * 100.0f : 0.0f;
    float ph = h ? static_cast<float>(box.ClientHeight) / static_cast<float>(h) * 100.0f : 0.0f;
    float p = pw > ph ? ph : pw;
    box.Percent = static_cast<unsigned char>(static_cast<int>(p));
  }
  const int iw = static_cast<int>(w / 100.0 * box.Percent);
  const int ih = static_cast<int>(h / 100.0 * box.Percent);
  int left = static_cast<int>(CellWidth / 2.0 - iw / 2.0);
  int top = CellHeight / 2 - ih / 2;
  if (Placement == tpUp) top += StripHeight / 2;
  if (Placement == tpDown) top -= StripHeight / 2;
  box.Image = RECT{left, top, left + iw, top + ih};
  return box;
}

TJPEGScale JpegScaleForSize(unsigned FileSize) {
  if (FileSize <= 1000000) return jsFullSize;
  if (FileSize <= 4000000) return jsHalf;
  if (FileSize <= 7000000) return jsQuarter;
  return jsEighth;
}

namespace {
void AppendChain(int Width, int Height, int MaxWidth, int MaxHeight, std::vector<POINT>& Steps) {
  POINT target = ProportionalSize(POINT{Width, Height}, POINT{MaxWidth, MaxHeight});
  if (target.x == 0 || target.y == 0) return;
  if (Width < target.x && Height < target.y) return;
  if (Width / target.x >= 17 || Height / target.y >= 17) {
    AppendChain(Width, Height, 2 * MaxWidth, 2 * MaxHeight, Steps);
  }
  Steps.push_back(target);
}
}  // namespace

std::vector<POINT> ScaleDownChain(int Width, int Height, int MaxWidth, int MaxHeight) {
  std::vector<POINT> steps;
  AppendChain(Width, Height, MaxWidth, MaxHeight, steps);
  return steps;
}

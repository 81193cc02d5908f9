// Paints 2,000 lines of mixed markup (styles, colours, links, entities, Greek and Japanese)
// through DrawHtmlText, one call a line as the task dialog's form paints its texts, and the
// same lines' plain text through bare DrawTextW, on the same bitmap in the same run; prints
// both times and their ratio (best of a few rounds), then the GDI calls a painted line costs
// and the time spent inside them.
// Usage: html_renderer_bench [lines [plain]]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/common/bench_support.h"
#include "dialogs/html_renderer.h"
#include "vcl/pictures.h"

namespace {

std::vector<WideString> MakeLines(int count) {
  static const wchar_t* const kLines[] = {
      L"The file <B>movie.mp4</B> holds <FONT COLOR=\"#FF0000\">3 tracks</FONT> &amp; 2 chapters.",
      L"Open the <A HREF=\"folder\">output folder</A> or <A HREF=\"log\">show the log</A> now.",
      L"<I>\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1</I> \u2014 <U>\u65E5\u672C\u8A9E\u306E\u5B57\u5E55</U> "
      L"and plain words",
      L"<FONT FACE=\"Arial\" SIZE=\"3\">Larger</FONT> text, <S>struck</S>, &euro; 12 &copy; 2026",
      L"<UL><LI>Video: H.264, 1920x1080, <FONT COLOR=\"clGreen\">25 fps</FONT></UL>",
      L"Muxing finished in <B>12.5 s</B>; <FONT COLOR=\"#0000FF\">no errors</FONT> were reported.",
  };
  std::vector<WideString> lines;
  for (int i = 0; i < count; ++i) lines.push_back(kLines[i % 6]);
  return lines;
}

// The GDI calls of this program counted through its import table: what a line costs in font
// selections, text measurements and text outputs.
struct TGdiCounts {
  long Select = 0, FontSelect = 0, Measure = 0, MeasuredChars = 0, Output = 0, DrawText = 0;
  // Milliseconds spent inside the calls.
  double SelectMs = 0, FontSelectMs = 0, MeasureMs = 0, OutputMs = 0, DrawTextMs = 0;
};
TGdiCounts gCounts;

// Adds the time from its making to its end to Total.
class TCallTimer {
 public:
  explicit TCallTimer(double& Total) : FTotal(Total), FStart(MillisecondsNow()) {}
  ~TCallTimer() { FTotal += MillisecondsNow() - FStart; }

 private:
  double& FTotal;
  double FStart;
};

decltype(&SelectObject) gSelectObject;
decltype(&GetTextExtentPoint32W) gExtentW;
decltype(&GetTextExtentPoint32A) gExtentA;
decltype(&ExtTextOutW) gExtTextOutW;
decltype(&ExtTextOutA) gExtTextOutA;
decltype(&DrawTextW) gDrawTextW;

HGDIOBJ WINAPI CountSelect(HDC dc, HGDIOBJ obj) {
  ++gCounts.Select;
  const bool font = GetObjectType(obj) == OBJ_FONT;
  if (font) ++gCounts.FontSelect;
  TCallTimer timer(font ? gCounts.FontSelectMs : gCounts.SelectMs);
  return gSelectObject(dc, obj);
}
BOOL WINAPI CountExtentW(HDC dc, LPCWSTR s, int n, LPSIZE size) {
  ++gCounts.Measure;
  gCounts.MeasuredChars += n;
  TCallTimer timer(gCounts.MeasureMs);
  return gExtentW(dc, s, n, size);
}
BOOL WINAPI CountExtentA(HDC dc, LPCSTR s, int n, LPSIZE size) {
  ++gCounts.Measure;
  gCounts.MeasuredChars += n;
  TCallTimer timer(gCounts.MeasureMs);
  return gExtentA(dc, s, n, size);
}
BOOL WINAPI CountOutW(HDC dc, int x, int y, UINT o, const RECT* r, LPCWSTR s, UINT n, const INT* dx) {
  ++gCounts.Output;
  TCallTimer timer(gCounts.OutputMs);
  return gExtTextOutW(dc, x, y, o, r, s, n, dx);
}
BOOL WINAPI CountOutA(HDC dc, int x, int y, UINT o, const RECT* r, LPCSTR s, UINT n, const INT* dx) {
  ++gCounts.Output;
  TCallTimer timer(gCounts.OutputMs);
  return gExtTextOutA(dc, x, y, o, r, s, n, dx);
}
int WINAPI CountDrawTextW(HDC dc, LPCWSTR s, int n, LPRECT r, UINT f) {
  ++gCounts.DrawText;
  TCallTimer timer(gCounts.DrawTextMs);
  return gDrawTextW(dc, s, n, r, f);
}

// Points this program's import of Name from Dll at Hook; returns what it pointed at.
template <class Fn>
void PatchImport(const char* Dll, const char* Name, Fn Hook, Fn& Original) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (_stricmp(reinterpret_cast<char*>(base + imp->Name), Dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(byName->Name), Name) != 0) continue;
      DWORD old;
      VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
      Original = reinterpret_cast<Fn>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(Hook);
      VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
    }
  }
}

void CountGdiCalls() {
  gSelectObject = &SelectObject;
  gExtentW = &GetTextExtentPoint32W;
  gExtentA = &GetTextExtentPoint32A;
  gExtTextOutW = &ExtTextOutW;
  gExtTextOutA = &ExtTextOutA;
  gDrawTextW = &DrawTextW;
  PatchImport("gdi32.dll", "SelectObject", &CountSelect, gSelectObject);
  PatchImport("gdi32.dll", "GetTextExtentPoint32W", &CountExtentW, gExtentW);
  PatchImport("gdi32.dll", "GetTextExtentPoint32A", &CountExtentA, gExtentA);
  PatchImport("gdi32.dll", "ExtTextOutW", &CountOutW, gExtTextOutW);
  PatchImport("gdi32.dll", "ExtTextOutA", &CountOutA, gExtTextOutA);
  PatchImport("user32.dll", "DrawTextW", &CountDrawTextW, gDrawTextW);
}

void PrintCounts(const char* what, const TGdiCounts& c, double lines) {
  std::printf("%s a line: %.1f SelectObject (%.1f fonts), %.1f text measurements (%.0f characters), %.1f ExtTextOut, "
              "%.1f DrawTextW (inside the renderer)\n",
              what, c.Select / lines, c.FontSelect / lines, c.Measure / lines, c.MeasuredChars / lines, c.Output / lines,
              c.DrawText / lines);
}

// Where the time of a counted loop went: inside the counted calls, and in the rest.
void PrintTimes(const char* what, const TGdiCounts& c, double totalMs) {
  const double inCalls = c.FontSelectMs + c.SelectMs + c.MeasureMs + c.OutputMs + c.DrawTextMs;
  std::printf("%s %.1f ms: font selections %.1f, other selections %.1f, text measurements %.1f, ExtTextOut %.1f, "
              "DrawTextW %.1f, the rest %.1f\n",
              what, totalMs, c.FontSelectMs, c.SelectMs, c.MeasureMs, c.OutputMs, c.DrawTextMs, totalMs - inCalls);
}

}  // namespace

int main(int argc, char** argv) {
  int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  const int rounds = 5;
  const int width = 900, rowHeight = 20, rows = 40;
  TBitmap sheet;
  sheet.SetSize(width, rowHeight * rows);
  TCanvas* canvas = sheet.Canvas();
  canvas->Font()->SetName("Tahoma");
  canvas->Font()->SetSize(9);
  canvas->Brush()->SetColor(clWhite);
  canvas->FillRect(RECT{0, 0, width, rowHeight * rows});

  std::vector<WideString> lines = MakeLines(count);
  // "plain": the same number of lines without any markup, for the renderer's bare overhead.
  if (argc > 2 && std::string(argv[2]) == "plain")
    for (auto& l : lines) l = L"Muxing finished in twelve seconds without errors.";
  std::vector<WideString> plain(lines.size());
  WideString hover, focus;
  int w = 0, h = 0, links = 0, mouseLink = 0;
  RECT hoverRect{};
  for (size_t i = 0; i < lines.size(); ++i)
    DrawHtmlText(canvas, lines[i], RECT{0, 0, width, rowHeight}, nullptr, -1, -1, -1, -1, 1, true, false, false,
                 true, true, false, true, 1.0, 0xFF0000, clNone, clNone, 0x808080, hover, plain[i], focus, w, h,
                 links, mouseLink, hoverRect, nullptr, nullptr);

  auto rowRect = [&](size_t i) {
    int top = static_cast<int>(i % rows) * rowHeight;
    return RECT{0, top, width, top + rowHeight};
  };
  // The bare counterpart: each line's plain text in one DrawTextW call.
  auto paintBare = [&] {
    canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
    HDC dc = canvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < lines.size(); ++i) {
      RECT r = rowRect(i);
      DrawTextW(dc, plain[i].c_str(), static_cast<int>(plain[i].size()), &r,
                DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING);
    }
  };
  double bestHtml = 1e9, bestBare = 1e9, bestHit = 1e9;
  for (int round = 0; round < rounds; ++round) {
    double t0 = MillisecondsNow();
    for (size_t i = 0; i < lines.size(); ++i)
      DrawHtmlText(canvas, lines[i], rowRect(i), nullptr, -1, -1, -1, -1, 1, false, false, false, false, false,
                   false, true, 1.0, 0xFF0000, clNone, clNone, 0x808080, hover, plain[i], focus, w, h, links,
                   mouseLink, hoverRect, nullptr, nullptr);
    GdiFlush();
    double t1 = MillisecondsNow();
    paintBare();
    GdiFlush();
    double t2 = MillisecondsNow();
    for (size_t i = 0; i < lines.size(); ++i)
      DrawHtmlText(canvas, lines[i], rowRect(i), nullptr, 300, rowRect(i).top + 10, -1, -1, 1, true, false, false,
                   true, true, false, true, 1.0, 0xFF0000, clNone, clNone, 0x808080, hover, plain[i], focus, w, h,
                   links, mouseLink, hoverRect, nullptr, nullptr);
    double t3 = MillisecondsNow();
    bestHtml = std::min(bestHtml, t1 - t0);
    bestBare = std::min(bestBare, t2 - t1);
    bestHit = std::min(bestHit, t3 - t2);
  }
  std::printf("%d lines of mixed markup, one call a line (best of %d rounds)\n", count, rounds);
  std::printf("DrawHtmlText, painting:        %8.1f ms\n", bestHtml);
  std::printf("bare DrawTextW of plain text:  %8.1f ms\n", bestBare);
  std::printf("DrawHtmlText, hit test only:   %8.1f ms\n", bestHit);
  std::printf("painting / bare: %.2f   hit test / bare: %.2f (time ratios)\n", bestHtml / bestBare,
              bestHit / bestBare);

  // The calls behind the times, counted and timed once, against bare DrawTextW timed alike.
  CountGdiCalls();
  gCounts = {};
  double t0 = MillisecondsNow();
  for (size_t i = 0; i < lines.size(); ++i)
    DrawHtmlText(canvas, lines[i], rowRect(i), nullptr, -1, -1, -1, -1, 1, false, false, false, false, false, false,
                 true, 1.0, 0xFF0000, clNone, clNone, 0x808080, hover, plain[i], focus, w, h, links, mouseLink,
                 hoverRect, nullptr, nullptr);
  GdiFlush();
  const TGdiCounts html = gCounts;
  const double htmlMs = MillisecondsNow() - t0;
  PrintCounts("DrawHtmlText, painting,", html, static_cast<double>(lines.size()));
  std::printf("bare DrawTextW, a line: one DrawTextW call\n");
  gCounts = {};
  t0 = MillisecondsNow();
  paintBare();
  GdiFlush();
  const double bareMs = MillisecondsNow() - t0;
  PrintTimes("DrawHtmlText, painting, timed inside the calls:", html, htmlMs);
  std::printf("bare DrawTextW, the same lines: %.1f ms\n", bareMs);

  // Measuring one long plain text: the time against the text's length (linear: the same
  // microseconds a character at every length), and the device measurements it makes.
  for (int words : {1000, 3000, 10000}) {
    WideString text;
    for (int i = 0; i < words; ++i) text += i % 7 == 6 ? L"word. " : L"words ";
    gCounts = {};
    const double t0 = MillisecondsNow();
    DrawHtmlText(canvas, text, RECT{0, 0, width, 100000}, nullptr, -1, -1, -1, -1, 1, false, true, false, false, false,
                 false, true, 1.0, 0xFF0000, clNone, clNone, 0x808080, hover, plain[0], focus, w, h, links, mouseLink,
                 hoverRect, nullptr, nullptr);
    const double ms = MillisecondsNow() - t0;
    std::printf("measuring %6zu characters of plain text: %8.1f ms (%.3f us a character), %ld device "
                "measurements of %ld characters\n",
                text.size(), ms, ms * 1000 / static_cast<double>(text.size()), gCounts.Measure, gCounts.MeasuredChars);
  }
  return 0;
}

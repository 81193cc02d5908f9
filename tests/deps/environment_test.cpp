// The ground the other tests stand on: the code page they expect and Wine's own fonts, as
// scripts/test sets them up. A failure here explains failures elsewhere.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST(Environment, AnsiCodePageIsWesternEuropean) {
  // 8-bit texts in the tests are written in code page 1252; scripts/env.sh pins the locale
  // that gives it.
  EXPECT_EQ(GetACP(), 1252u);
}

TEST(Environment, WineFontsAreInstalled) {
  // The faces the forms and the drawing code name; a missing one silently falls back to
  // another face with other metrics.
  const char* faces[] = {"Tahoma", "MS Sans Serif", "Marlett", "Wingdings", "Symbol"};
  HDC dc = GetDC(nullptr);
  ASSERT_NE(dc, nullptr);
  for (const char* face : faces) {
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    HGDIOBJ old = SelectObject(dc, font);
    char got[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, got);
    SelectObject(dc, old);
    DeleteObject(font);
    EXPECT_EQ(std::string(got), face);
  }
  ReleaseDC(nullptr, dc);
}

// Japanese, Chinese and Greek text comes from faces linked behind the ones the windows use;
// GetGlyphIndicesW looks at the selected face alone, so only the drawn pixels tell whether
// a character found a glyph. A character that none has draws the face's missing-glyph box.
const wchar_t kMissing[] = L"\u0378";  // unassigned: no face has it
const wchar_t* const kForeign[] = {L"\u65e5", L"\u672c", L"\u4e2d", L"\u6587",  // 日本中文
                                   L"\u30a2", L"\u3072",                        // ア ひ
                                   L"\u03b1", L"\u03a9"};                       // α Ω

using Pixels = std::vector<uint32_t>;

// A white 128x32 bitmap to draw black text into, and its pixels.
class Canvas {
 public:
  Canvas() {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                               nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  bool valid() const { return bits_ != nullptr; }

  void Clear() {
    GdiFlush();
    std::fill(bits_, bits_ + kWidth * kHeight, 0x00ffffffu);
  }
  Pixels Take() {
    GdiFlush();
    return Pixels(bits_, bits_ + kWidth * kHeight);
  }

  // ExtTextOutW, as DrawTextW, captions, buttons and statics draw.
  Pixels Draw(HFONT font, const std::wstring& text, UINT options = 0) {
    Clear();
    HGDIOBJ old = SelectObject(dc_, font);
    SetTextColor(dc_, RGB(0, 0, 0));
    SetBkMode(dc_, TRANSPARENT);
    ExtTextOutW(dc_, 4, 4, options, nullptr, text.data(), static_cast<UINT>(text.size()),
                nullptr);
    SelectObject(dc_, old);
    return Take();
  }

  // The text as the selected face alone has it: its own glyph indices, no linked faces.
  Pixels DrawOwnGlyphs(HFONT font, const std::wstring& text) {
    HGDIOBJ old = SelectObject(dc_, font);
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc_, text.data(), static_cast<int>(text.size()), glyphs.data(), 0);
    SelectObject(dc_, old);
    return Draw(font, std::wstring(glyphs.begin(), glyphs.end()), ETO_GLYPH_INDEX);
  }

  static constexpr int kWidth = 128, kHeight = 32;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

bool HasInk(const Pixels& pixels) {
  return std::any_of(pixels.begin(), pixels.end(),
                     [](uint32_t p) { return (p & 0x00ffffffu) != 0x00ffffffu; });
}

// The characters of kForeign that drew no glyph of their own: nothing, the missing-glyph box
// (when one is given) or the same picture as another one, as boxes do.
std::string WithoutGlyphs(const std::vector<Pixels>& drawn, const Pixels* box) {
  std::string missing;
  for (size_t i = 0; i < drawn.size(); ++i) {
    bool own = HasInk(drawn[i]) && !(box && drawn[i] == *box);
    for (size_t j = 0; own && j < drawn.size(); ++j) own = j == i || drawn[i] != drawn[j];
    if (!own) {
      char code[16];
      std::snprintf(code, sizeof(code), " U+%04X", unsigned(kForeign[i][0]));
      missing += code;
    }
  }
  return missing;
}

struct UiFont {
  const char* name;
  HFONT font;
  bool owned;
};

// The faces windows draw their text in: dialog and control text, captions (bold), the forms'
// default font and the stock system font of a control nobody gave a font.
std::vector<UiFont> UiFonts() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return {
      {"DEFAULT_GUI_FONT", static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), false},
      {"Tahoma", CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             L"Tahoma"), true},
      {"caption", CreateFontIndirectW(&metrics.lfCaptionFont), true},
      {"MS Sans Serif", CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0,
                                    0, L"MS Sans Serif"), true},
      {"SYSTEM_FONT", static_cast<HFONT>(GetStockObject(SYSTEM_FONT)), false},
  };
}

void Release(const std::vector<UiFont>& fonts) {
  for (const UiFont& f : fonts) {
    if (f.owned) DeleteObject(f.font);
  }
}

TEST(Environment, UiFontsDrawCjkAndGreekText) {
  Canvas canvas;
  ASSERT_TRUE(canvas.valid());
  std::vector<UiFont> fonts = UiFonts();
  for (const UiFont& f : fonts) {
    ASSERT_NE(f.font, nullptr) << f.name;
    Pixels box = canvas.Draw(f.font, kMissing);
    std::vector<Pixels> drawn;
    for (const wchar_t* text : kForeign) drawn.push_back(canvas.Draw(f.font, text));
    EXPECT_EQ(WithoutGlyphs(drawn, &box), "") << f.name;
  }
  Release(fonts);
}

TEST(Environment, UiFontsKeepTheirOwnLatinGlyphs) {
  // The linked faces fill gaps only: Latin and accented letters still come from the face
  // itself, at the same places.
  const std::wstring latin = L"Kavo \u00e9\u00e0\u00e7\u00fc";  // Kavo éàçü
  Canvas canvas;
  ASSERT_TRUE(canvas.valid());
  std::vector<UiFont> fonts = UiFonts();
  for (const UiFont& f : fonts) {
    HGDIOBJ old = SelectObject(canvas.dc(), f.font);
    std::vector<WORD> glyphs(latin.size());
    GetGlyphIndicesW(canvas.dc(), latin.data(), static_cast<int>(latin.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(canvas.dc(), old);
    EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), WORD(0xffff)), 0) << f.name;
    EXPECT_TRUE(canvas.Draw(f.font, latin) == canvas.DrawOwnGlyphs(f.font, latin)) << f.name;
  }
  Release(fonts);
}

// Wine's EDIT draws through Uniscribe, which takes no font links but a fallback face per
// script; a character it finds no glyph for draws a box of that fallback face.
TEST(Environment, EditControlsDrawCjkText) {
  Canvas canvas;
  ASSERT_TRUE(canvas.valid());
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, Canvas::kWidth, Canvas::kHeight,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(edit, nullptr);
  std::vector<UiFont> fonts = UiFonts();
  for (const UiFont& f : fonts) {
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(f.font), FALSE);
    std::vector<Pixels> drawn;
    for (const wchar_t* text : kForeign) {
      SetWindowTextW(edit, text);
      canvas.Clear();
      SendMessageW(edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
      drawn.push_back(canvas.Take());
    }
    EXPECT_EQ(WithoutGlyphs(drawn, nullptr), "") << f.name;
  }
  DestroyWindow(edit);
  Release(fonts);
}

}  // namespace

// The ground the other tests stand on: the code page they expect and Wine's own fonts, as
// scripts/test sets them up. A failure here explains failures elsewhere.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

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

}  // namespace

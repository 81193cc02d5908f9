// Shortcut texts and accelerator characters.
#include <gtest/gtest.h>

#include "vcl/keyboard.h"

namespace {

TEST(Keyboard, ShortCutTexts) {
  struct Case {
    TShortCut shortCut;
    const char* text;
  } cases[] = {
      {ShortCut('S', ssCtrl), "Ctrl+S"},
      {ShortCut(VK_DELETE, ssShift), "Shift+Del"},
      {ShortCut(VK_F4, ssAlt), "Alt+F4"},
      {ShortCut('A', ssShift | ssCtrl | ssAlt), "Shift+Ctrl+Alt+A"},
      {VK_F24, "F24"},
      {VK_RETURN, "Enter"},
      {VK_BACK, "BkSp"},
      {VK_ESCAPE, "Esc"},
      {VK_NEXT, "PgDn"},
      {VK_LEFT, "Left"},
      {VK_INSERT, "Ins"},
      {ShortCut('7', ssCtrl), "Ctrl+7"},
      {VK_NUMPAD5, "5"},
      {scNone, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortCutToText(c.shortCut), c.text) << std::hex << c.shortCut;
  // Keys without a fixed name take the keyboard layout's; a shortcut never comes out bare.
  AnsiString other = ShortCutToText(ShortCut(VK_OEM_PLUS, ssCtrl));
  if (!other.empty()) {
    EXPECT_EQ(other.rfind("Ctrl+", 0), 0u);
  }
}

TEST(Keyboard, ShortCutsSplitBackIntoKeyAndShift) {
  WORD key = 0;
  TShiftState shift = 0;
  ShortCutToKey(ShortCut(VK_F5, ssCtrl | ssShift), key, shift);
  EXPECT_EQ(key, VK_F5);
  EXPECT_EQ(shift, static_cast<TShiftState>(ssCtrl | ssShift));
  EXPECT_EQ(ShortCut(0x1FF, 0), scNone);  // no such key
}

TEST(Keyboard, AcceleratorIsTheCharacterAfterASingleAmpersand) {
  struct Case {
    const char* caption;
    char hotkey;
  } cases[] = {
      {"E&xit", 'x'},      {"&Open", 'O'},        {"Save && E&xit", 'x'}, {"Fish && Chips", 0},
      {"&&", 0},           {"Trailing&", 0},      {"&a and &b", 'b'},     {"", 0},
      {"&&&Edit", 'E'},
  };
  for (const auto& c : cases) EXPECT_EQ(GetHotkey(c.caption), c.hotkey) << c.caption;

  EXPECT_TRUE(IsAccel('x', "E&xit"));
  EXPECT_TRUE(IsAccel('X', "E&xit"));  // either case
  EXPECT_FALSE(IsAccel('E', "E&xit"));
  EXPECT_FALSE(IsAccel('&', "Fish && Chips"));  // a doubled ampersand is no marker
  EXPECT_FALSE(IsAccel(0x4E2D, "&\xE9t\xE9"));  // not an 8-bit character
  EXPECT_TRUE(IsAccel(0xC9, "&\xE9t\xE9"));     // accented letters compare without case too
}

}  // namespace

// Wide menus: wide item texts in the system menus, wide shortcut texts and hot-key
// helpers, menus read from descriptions, wide hints of selected entries, and owner-drawn
// wide entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "widetext/platform.h"
#include "tests/widetext/wide_form_controls.h"
#include "vcl/formtext.h"
#include "vcl/pictures.h"
#include "vcl/streams.h"
#include "widetext/codecs.h"
#include "widetext/uni_menus.h"
#include "tests/support/forms.h"

using namespace widetest;

namespace {

WideString U8(const char* text) { return Utf8Decode(AnsiString(text)); }

WideString EntryText(HMENU menu, UINT command) {
  WCHAR text[256] = {};
  GetMenuStringW(menu, command, text, 256, MF_BYCOMMAND);
  return text;
}

TUniMenuItem* NewItem(TComponent* owner, const WideString& caption, TShortCut shortCut = scNone) {
  auto* item = new TUniMenuItem(owner);
  item->SetCaption(caption);
  item->SetShortCut(shortCut);
  return item;
}


TEST(WideMenuTexts, HotKeysAndShortcutTexts) {
  struct HotkeyCase {
    const char* caption;
    int position;
    const char* stripped;
  };
  const HotkeyCase hotkeys[] = {
      {"&Ελληνικά", 2, "Ελληνικά"},
      {"日本&語", 4, "日本語"},
      {"Save && E&xit", 11, "Save & Exit"},
      {"Tom && Jerry", 0, "Tom & Jerry"},
      {"", 0, ""},
      {"End&", 0, "End"},
  };
  for (const HotkeyCase& c : hotkeys) {
    EXPECT_EQ(HotkeyPosition(U8(c.caption)), c.position) << c.caption;
    EXPECT_EQ(StripHotkeyMarks(U8(c.caption)), U8(c.stripped)) << c.caption;
  }
  EXPECT_EQ(HotkeyChar(U8("日本&語")), U8("語"));
  EXPECT_TRUE(SameCaptionText(U8("&ελληνικά"), U8("ΕΛΛΗΝΙΚΆ")));
  EXPECT_FALSE(SameCaptionTextExact(U8("&ελληνικά"), U8("ΕΛΛΗΝΙΚΆ")));
  EXPECT_TRUE(SameCaptionTextExact(U8("&ελληνικά"), U8("ελλ&ηνικά")));

  // The framework's "&" moved: the wide text takes its place and keeps its characters.
  WideString wide = U8("&Ωmega 日本");
  SyncHotKeyPosition(AnsiToWide(WideToAnsi(U8("Ωme&ga 日本"))), wide);
  EXPECT_EQ(wide, U8("Ωme&ga 日本"));

  struct ShortcutCase {
    TShortCut shortCut;
    const char* text;
  };
  const ShortcutCase shortcuts[] = {
      {ShortCut('S', ssCtrl), "Ctrl+S"},
      {ShortCut(VK_F5, ssShift | ssCtrl | ssAlt), "Shift+Ctrl+Alt+F5"},
      {ShortCut('1', ssCtrl), "Ctrl+1"},
      {ShortCut(VK_DELETE, ssShift), "Shift+Del"},
      {ShortCut(VK_F5, 0), "F5"},
      {ShortCut(VK_NUMPAD7, ssAlt), "Alt+7"},  // no character from the layout: the framework's name
  };
  for (const ShortcutCase& c : shortcuts) EXPECT_EQ(WideShortcutText(c.shortCut), U8(c.text)) << c.text;
  // A key outside the fixed names takes the layout's name of it.
  WideString comma = WideShortcutText(ShortCut(VK_OEM_COMMA, ssCtrl));
  EXPECT_EQ(comma.substr(0, 5), U8("Ctrl+"));
  EXPECT_GT(comma.size(), 5u);
}

class WideMenus : public ::testing::Test {
 protected:
  TestApplication app;
};

TEST_F(WideMenus, GreekAndJapaneseCaptionsReachTheSystemMenuAndStayThroughRebuilds) {
  TUniPopupMenu menu(nullptr);
  TUniMenuItem* greek = NewItem(&menu, U8("Ελληνικά"), ShortCut('G', ssCtrl));
  TUniMenuItem* japanese = NewItem(&menu, U8("日本語"));
  TUniMenuItem* sub = NewItem(&menu, U8("サブ項目"), ShortCut(VK_F2, ssShift));
  menu.Items()->Add(greek);
  menu.Items()->Add(japanese);
  japanese->Add(sub);
  HMENU handle = menu.Handle();
  EXPECT_EQ(EntryText(handle, greek->Command()), U8("Ελληνικά\tCtrl+G"));
  EXPECT_EQ(EntryText(handle, japanese->Command()), U8("日本語"));
  EXPECT_EQ(EntryText(japanese->Handle(), sub->Command()), U8("サブ項目\tShift+F2"));
  EXPECT_EQ(greek->TMenuItem::Caption(), WideToAnsi(U8("Ελληνικά")));

  // A change rebuilds the menu 8-bit: every wide entry is written again.
  greek->SetCaption(U8("Καλημέρα"));
  japanese->SetEnabled(false);
  menu.Items()->Add(NewItem(&menu, U8("追加")));
  EXPECT_EQ(EntryText(handle, greek->Command()), U8("Καλημέρα\tCtrl+G"));
  EXPECT_EQ(EntryText(handle, japanese->Command()), U8("日本語"));
  EXPECT_EQ(EntryText(japanese->Handle(), sub->Command()), U8("サブ項目\tShift+F2"));
  EXPECT_EQ(EntryText(handle, menu.Items()->Items(2)->Command()), U8("追加"));

  // A picture beside the text leaves the entry a string entry with its wide text.
  TUniMenuItem* picture = NewItem(&menu, U8("画像"));
  TBitmap bitmap;
  bitmap.SetSize(16, 16);
  picture->SetBitmap(&bitmap);
  menu.Items()->Add(picture);
  EXPECT_EQ(EntryText(handle, picture->Command()), U8("画像"));

  // The framework's copy changed behind the wide one: the 8-bit text wins.
  greek->TMenuItem::SetCaption("Plain");
  EXPECT_EQ(greek->Caption(), U8("Plain"));
  EXPECT_EQ(EntryText(handle, greek->Command()), U8("Plain\tCtrl+G"));
}

TEST_F(WideMenus, ADescriptionGivesWideItemsTheirWideTexts) {
  const char* text =
      "object MenuForm: TForm\n"
      "  object ColumnMenu: TUniPopupMenu\n"
      "    object Column1: TUniMenuItem\n"
      "      Caption = '列の幅'\n"
      "      Hint = 'Στήλη|Πλάτος της στήλης'\n"
      "      ShortCut = 16471\n"
      "      Tag = 3\n"
      "    end\n"
      "  end\n"
      "end\n";
  std::unique_ptr<TForm, FormFree> form(TCustomForm::CreateNew<TForm>(nullptr));
  RegisterUniMenuClasses();
  TMemoryStream binary;
  ObjectTextToBinary(text, &binary, "MenuForm");
  binary.SetPosition(0);
  ReadComponent(&binary, form.get(), "MenuForm");
  auto* menu = dynamic_cast<TUniPopupMenu*>(form->FindComponent("ColumnMenu"));
  ASSERT_TRUE(menu);
  auto* item = dynamic_cast<TUniMenuItem*>(menu->Items()->Items(0));
  ASSERT_TRUE(item);
  EXPECT_EQ(item->Caption(), U8("列の幅"));
  EXPECT_EQ(item->Hint(), U8("Στήλη|Πλάτος της στήλης"));
  EXPECT_EQ(item->Tag, 3);
  EXPECT_EQ(EntryText(menu->Handle(), item->Command()), U8("列の幅\tCtrl+W"));
}

TEST_F(WideMenus, SelectedEntriesGiveTheApplicationTheirWholeWideHint) {
  std::unique_ptr<TUniForm, FormFree> form(TCustomForm::CreateNew<TUniForm>(nullptr));
  form->SetBorderStyle(bsSingle);
  auto* mainMenu = new TMainMenu(form.get());
  TUniMenuItem* file = NewItem(mainMenu, U8("&Αρχείο"), ShortCut('A', ssCtrl));
  TUniMenuItem* open = NewItem(mainMenu, U8("開く"));
  open->SetHint(U8("開く|ファイルを開きます"));
  file->SetHint(U8("Αρχείο|Οι εντολές του αρχείου"));
  mainMenu->Items()->Add(file);
  file->Add(open);
  form->SetMenu(mainMenu);
  form->HandleNeeded();
  HWND wnd = form->WindowHandle();
  ASSERT_EQ(GetMenu(wnd), mainMenu->Handle());
  // A bar entry never shows a shortcut.
  EXPECT_EQ(EntryText(mainMenu->Handle(), file->Command()), U8("&Αρχείο"));

  SendMessageW(wnd, WM_MENUSELECT, MAKEWPARAM(open->Command(), MF_HILITE), reinterpret_cast<LPARAM>(file->Handle()));
  EXPECT_EQ(WideApplication->Hint(), U8("ファイルを開きます"));
  EXPECT_EQ(Application->Hint(), WideToAnsi(U8("ファイルを開きます")));
  // A sub-menu entry is found by its sub-menu.
  SendMessageW(wnd, WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP | MF_HILITE), reinterpret_cast<LPARAM>(mainMenu->Handle()));
  EXPECT_EQ(WideApplication->Hint(), U8("Οι εντολές του αρχείου"));
  // The menu closing leaves the hint as it is; an entry that is none of the menu's clears it.
  SendMessageW(wnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_EQ(WideApplication->Hint(), U8("Οι εντολές του αρχείου"));
  SendMessageW(wnd, WM_MENUSELECT, MAKEWPARAM(0xFFF0, MF_HILITE), reinterpret_cast<LPARAM>(file->Handle()));
  EXPECT_EQ(WideApplication->Hint(), WideString());

  // Pop-up menus: their list's window does the same.
  TUniPopupMenu popup(nullptr);
  TUniMenuItem* column = NewItem(&popup, U8("列"));
  column->SetHint(U8("列|列を表示します"));
  popup.Items()->Add(column);
  HWND listWindow = UniPopupList()->Window();
  SendMessageW(listWindow, WM_MENUSELECT, MAKEWPARAM(column->Command(), MF_HILITE),
               reinterpret_cast<LPARAM>(popup.Handle()));
  EXPECT_EQ(WideApplication->Hint(), U8("列を表示します"));
  form->SetMenu(nullptr);
}

}  // namespace

// ---------------------------------------------------------------------------
// Owner-drawn wide entries, measured and drawn as the menu's WM_MEASUREITEM and
// WM_DRAWITEM have them, read back pixel by pixel.

namespace {

// System colours set for one test and put back afterwards.
class SysColorsScope {
 public:
  SysColorsScope(std::initializer_list<std::pair<int, COLORREF>> colors) {
    for (auto [index, color] : colors) {
      FIndexes.push_back(index);
      FOld.push_back(GetSysColor(index));
      FNew.push_back(color);
    }
    SetSysColors(static_cast<int>(FIndexes.size()), FIndexes.data(), FNew.data());
  }
  ~SysColorsScope() { SetSysColors(static_cast<int>(FIndexes.size()), FIndexes.data(), FOld.data()); }
  void Set(int index, COLORREF color) { SetSysColors(1, &index, &color); }

 private:
  std::vector<int> FIndexes;
  std::vector<COLORREF> FOld, FNew;
};

// A 32-bit picture an entry is drawn on.
struct EntryPicture {
  int width, height;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  DWORD* bits = nullptr;
  EntryPicture(int w, int h) : width(w), height(h) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    old = SelectObject(dc, bitmap);
  }
  ~EntryPicture() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const {
    DWORD p = bits[y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // The pixels of one colour: how many, and the box around them.
  struct Found {
    int count = 0;
    RECT box{INT_MAX, INT_MAX, -1, -1};
  };
  Found Pixels(COLORREF color) const {
    GdiFlush();
    Found f;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (At(x, y) == color) {
          ++f.count;
          f.box = RECT{std::min<LONG>(f.box.left, x), std::min<LONG>(f.box.top, y), std::max<LONG>(f.box.right, x),
                       std::max<LONG>(f.box.bottom, y)};
        }
    return f;
  }
};

ULONG_PTR EntryData(TMenuItem* item) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA | MIIM_FTYPE;
  EXPECT_TRUE(GetMenuItemInfoW(item->Parent()->Handle(), item->Command(), FALSE, &info));
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  return info.dwItemData;
}

SIZE Measure(TMenuItem* item) {
  MEASUREITEMSTRUCT m{};
  m.CtlType = ODT_MENU;
  m.itemID = item->Command();
  m.itemData = EntryData(item);
  EXPECT_TRUE(MeasureMenuItem(&m));
  return SIZE{static_cast<LONG>(m.itemWidth), static_cast<LONG>(m.itemHeight)};
}

void Draw(TMenuItem* item, EntryPicture& picture, UINT state) {
  DRAWITEMSTRUCT d{};
  d.CtlType = ODT_MENU;
  d.itemID = item->Command();
  d.itemAction = ODA_DRAWENTIRE;
  d.itemState = state;
  d.hDC = picture.dc;
  d.rcItem = RECT{0, 0, picture.width, picture.height};
  d.itemData = EntryData(item);
  ASSERT_TRUE(DrawMenuItem(&d));
}

// Text widths in the menu font.
int MenuTextWidth(const WideString& text) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return r.right - r.left;
}

}  // namespace

TEST_F(WideMenus, OwnerDrawnEntriesAreMeasuredAndDrawnWithTheirWideTexts) {
  const COLORREF menu = RGB(200, 200, 200), text = RGB(0, 0, 0), shadow = RGB(128, 128, 128),
                 light = RGB(255, 255, 255), highlight = RGB(0, 0, 160);
  SysColorsScope colors{{COLOR_MENU, menu},           {COLOR_MENUTEXT, text},     {COLOR_BTNSHADOW, shadow},
                        {COLOR_BTNHIGHLIGHT, light},  {COLOR_HIGHLIGHT, highlight}, {COLOR_HIGHLIGHTTEXT, light}};
  TUniPopupMenu popup(nullptr);
  popup.SetOwnerDraw(true);
  const WideString greek = U8("Ελληνικά αρχεία");
  TUniMenuItem* wide = NewItem(&popup, greek, ShortCut('G', ssCtrl));
  TUniMenuItem* latin = NewItem(&popup, L"Files", ShortCut('G', ssCtrl));
  popup.Items()->Add(wide);
  popup.Items()->Add(latin);
  popup.Handle();

  // The width the framework measures for its 8-bit texts ("????..." here) is corrected by
  // what the wide caption takes.
  SIZE wideSize = Measure(wide), latinSize = Measure(latin);
  EXPECT_EQ(wideSize.cx - latinSize.cx, MenuTextWidth(greek) - MenuTextWidth(L"Files"));
  EXPECT_EQ(WideShortcutText(ShortCut('G', ssCtrl)), L"Ctrl+G");

  // Drawn at its measured size: the caption, then the shortcut ending 10 pixels before
  // the right edge, all in the menu's text colour on the menu's colour.
  EntryPicture picture(wideSize.cx, wideSize.cy);
  Draw(wide, picture, 0);
  EXPECT_EQ(picture.At(0, 0), menu);
  EntryPicture::Found ink = picture.Pixels(text);
  ASSERT_GT(ink.count, 0);
  EXPECT_GE(ink.box.right, wideSize.cx - 10 - 5);  // the last glyph's own margin
  EXPECT_LT(ink.box.right, wideSize.cx - 10);
  // Caption and shortcut do not run into each other: a gap of columns without ink.
  int gapColumns = 0;
  for (int x = ink.box.left; x <= ink.box.right; ++x) {
    bool empty = true;
    for (int y = 0; y < picture.height && empty; ++y) empty = picture.At(x, y) != text;
    gapColumns = empty ? gapColumns + 1 : gapColumns;
  }
  EXPECT_GE(gapColumns, 8);

  // Disabled: embossed, a highlight copy one pixel down and right under the shadow one.
  wide->SetEnabled(false);
  Draw(wide, picture, ODS_DISABLED);
  EntryPicture::Found dark = picture.Pixels(shadow), bright = picture.Pixels(light);
  ASSERT_GT(dark.count, 0);
  ASSERT_GT(bright.count, 0);
  EXPECT_EQ(picture.Pixels(text).count, 0);
  EXPECT_EQ(bright.box.right, dark.box.right + 1);
  EXPECT_EQ(bright.box.bottom, dark.box.bottom + 1);

  // Selected and disabled: the shadow colour alone on the highlight...
  Draw(wide, picture, ODS_DISABLED | ODS_SELECTED);
  EXPECT_EQ(picture.At(0, 0), highlight);
  EXPECT_GT(picture.Pixels(shadow).count, 0);
  EXPECT_EQ(picture.Pixels(light).count, 0);
  // ...and when the highlight is that very colour, the highlight colour keeps it visible.
  colors.Set(COLOR_HIGHLIGHT, shadow);
  Draw(wide, picture, ODS_DISABLED | ODS_SELECTED);
  EXPECT_EQ(picture.At(0, 0), shadow);
  EXPECT_GT(picture.Pixels(light).count, 0);
}

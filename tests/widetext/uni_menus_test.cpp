// Wide menus: wide item texts in the system menus, wide shortcut texts and hot-key
// helpers, menus read from descriptions, and wide hints of selected entries.
#include <gtest/gtest.h>

#include <memory>

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

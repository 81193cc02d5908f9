// Menus: shortcut texts, the 8-bit system menus built from the items, menus read from
// descriptions, the form's menu bar, pop-up menus on a right click and owner drawing.
#include <gtest/gtest.h>

#include <memory>

#include "tests/vcl/app_loop.h"
#include "vcl/actions.h"
#include "vcl/application.h"
#include "vcl/formtext.h"
#include "vcl/forms.h"
#include "vcl/hints.h"
#include "vcl/menus.h"
#include "vcl/pictures.h"
#include "vcl/stdctrls.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"
#include "tests/support/forms.h"

namespace {

using FormPtr = std::unique_ptr<TForm, FormFree>;

TMenuItem* NewItem(TComponent* owner, const char* caption, TShortCut shortCut = scNone) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  item->SetShortCut(shortCut);
  return item;
}

AnsiString EntryText(HMENU menu, UINT position) {
  char text[256] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

MENUITEMINFOA EntryInfo(HMENU menu, UINT position) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
  EXPECT_TRUE(GetMenuItemInfoA(menu, position, TRUE, &info));
  return info;
}

TEST(ShortCuts, TextsNameTheModifiersShiftCtrlAltThenTheKey) {
  struct Case {
    TShortCut shortCut;
    const char* text;
  };
  const Case cases[] = {
      {ShortCut('S', ssCtrl), "Ctrl+S"},
      {ShortCut(VK_F5, ssShift | ssCtrl | ssAlt), "Shift+Ctrl+Alt+F5"},
      {ShortCut(VK_DELETE, ssShift), "Shift+Del"},
      {ShortCut(VK_RETURN, ssAlt), "Alt+Enter"},
      {ShortCut('1', ssCtrl | ssAlt), "Ctrl+Alt+1"},
      {ShortCut(VK_F12, 0), "F12"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
    EXPECT_EQ(TextToShortCut(c.text), c.shortCut) << c.text;
  }
  // Modifiers in any order and case; texts that name no key give none.
  EXPECT_EQ(TextToShortCut("alt+SHIFT+ctrl+f5"), ShortCut(VK_F5, ssShift | ssCtrl | ssAlt));
  EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
  EXPECT_EQ(TextToShortCut("Ctrl+NoSuchKey"), scNone);
  EXPECT_EQ(TextToShortCut(""), scNone);
}

class Menus : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }
};

TEST_F(Menus, ThePopupMenuIsBuiltFromItsItemsAndFollowsTheirChanges) {
  TPopupMenu menu(nullptr);
  TMenuItem* open = NewItem(&menu, "&Open", ShortCut('O', ssCtrl));
  TMenuItem* line = NewItem(&menu, "-");
  TMenuItem* hidden = NewItem(&menu, "Hidden");
  TMenuItem* more = NewItem(&menu, "More");
  TMenuItem* sub = NewItem(&menu, "Sub &item");
  hidden->SetVisible(false);
  for (TMenuItem* item : {open, line, hidden, more}) menu.Items()->Add(item);
  more->Add(sub);

  HMENU handle = menu.Handle();
  ASSERT_EQ(GetMenuItemCount(handle), 3);  // the hidden item has no entry
  EXPECT_EQ(EntryText(handle, 0), "&Open\tCtrl+O");
  EXPECT_TRUE(EntryInfo(handle, 1).fType & MFT_SEPARATOR);
  MENUITEMINFOA moreInfo = EntryInfo(handle, 2);
  EXPECT_EQ(moreInfo.hSubMenu, more->Handle());
  EXPECT_EQ(moreInfo.dwItemData, reinterpret_cast<ULONG_PTR>(more));
  EXPECT_EQ(EntryText(more->Handle(), 0), "Sub &item");
  EXPECT_EQ(menu.FindItem(sub->Command(), fkCommand), sub);
  EXPECT_EQ(menu.FindItem(reinterpret_cast<UINT_PTR>(more->Handle()), fkHandle), more);
  EXPECT_EQ(menu.FindItem(ShortCut('O', ssCtrl), fkShortCut), open);

  // Changes reach the entries: text, state, visibility, removal.
  open->SetCaption("&Open file");
  open->SetEnabled(false);
  open->SetChecked(true);
  hidden->SetVisible(true);
  ASSERT_EQ(GetMenuItemCount(handle), 4);
  EXPECT_EQ(EntryText(handle, 0), "&Open file\tCtrl+O");
  EXPECT_TRUE(EntryInfo(handle, 0).fState & MFS_GRAYED);
  EXPECT_TRUE(EntryInfo(handle, 0).fState & MFS_CHECKED);
  EXPECT_EQ(EntryText(handle, 2), "Hidden");
  delete line;
  ASSERT_EQ(GetMenuItemCount(handle), 3);
  EXPECT_EQ(EntryText(handle, 1), "Hidden");

  // The last sub-item gone: the entry opens no sub-menu any more.
  delete sub;
  EXPECT_EQ(EntryInfo(handle, 2).hSubMenu, nullptr);
}

TEST_F(Menus, RadioItemsOfAGroupExcludeEachOtherAndCommandsAreUnique) {
  TPopupMenu menu(nullptr);
  TMenuItem* a = NewItem(&menu, "A");
  TMenuItem* b = NewItem(&menu, "B");
  TMenuItem* other = NewItem(&menu, "Other group");
  for (TMenuItem* item : {a, b, other}) {
    item->SetRadioItem(true);
    menu.Items()->Add(item);
  }
  other->SetGroupIndex(1);
  a->SetChecked(true);
  other->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(other->Checked());
  EXPECT_NE(a->Command(), b->Command());
  EXPECT_NE(b->Command(), other->Command());
  EXPECT_TRUE(EntryInfo(menu.Handle(), 1).fType & MFT_RADIOCHECK);
}

TEST_F(Menus, ADescriptionBuildsMenusWithTheirItemsAndTheFormsMenuBar) {
  const char* text =
      "object MenuForm: TForm\n"
      "  Menu = MainMenu1\n"
      "  object MainMenu1: TMainMenu\n"
      "    object File1: TMenuItem\n"
      "      Caption = '&File'\n"
      "      object Save1: TMenuItem\n"
      "        Caption = '&Save'\n"
      "        Hint = 'Save|Saves the job'\n"
      "        ShortCut = 16467\n"
      "      end\n"
      "      object Quit1: TMenuItem\n"
      "        Caption = 'Quit'\n"
      "        Enabled = False\n"
      "      end\n"
      "    end\n"
      "  end\n"
      "  object PopupMenu1: TPopupMenu\n"
      "    Alignment = paRight\n"
      "    AutoPopup = False\n"
      "    object Column1: TMenuItem\n"
      "      Caption = 'Column'\n"
      "      Checked = True\n"
      "    end\n"
      "  end\n"
      "end\n";
  FormPtr form(TCustomForm::CreateNew<TForm>(nullptr));
  TMemoryStream binary;
  ObjectTextToBinary(text, &binary, "MenuForm");
  binary.SetPosition(0);
  ReadComponent(&binary, form.get(), "MenuForm");

  auto* mainMenu = dynamic_cast<TMainMenu*>(form->FindComponent("MainMenu1"));
  auto* popup = dynamic_cast<TPopupMenu*>(form->FindComponent("PopupMenu1"));
  ASSERT_TRUE(mainMenu && popup);
  EXPECT_EQ(form->Menu(), mainMenu);
  ASSERT_EQ(mainMenu->Items()->Count(), 1);
  TMenuItem* file = mainMenu->Items()->Items(0);
  ASSERT_EQ(file->Count(), 2);
  EXPECT_EQ(file->Items(0)->Hint(), "Save|Saves the job");
  EXPECT_EQ(file->Items(0)->ShortCut(), ShortCut('S', ssCtrl));
  EXPECT_FALSE(file->Items(1)->Enabled());
  EXPECT_EQ(popup->Alignment(), paRight);
  EXPECT_FALSE(popup->AutoPopup());
  EXPECT_TRUE(popup->Items()->Items(0)->Checked());

  // The form's window carries the bar; a bar entry shows no shortcut text.
  form->SetBorderStyle(bsSingle);
  form->HandleNeeded();
  HMENU bar = GetMenu(form->WindowHandle());
  ASSERT_EQ(bar, mainMenu->Handle());
  EXPECT_EQ(EntryText(bar, 0), "&File");
  EXPECT_EQ(EntryText(file->Handle(), 0), "&Save\tCtrl+S");

  // Written and read again, the items are stored inside their menus.
  TMemoryStream written;
  WriteComponent(&written, form.get());
  written.SetPosition(0);
  FormPtr copy(TCustomForm::CreateNew<TForm>(nullptr));
  ReadComponent(&written, copy.get(), "MenuForm copy");
  auto* copiedMenu = dynamic_cast<TMainMenu*>(copy->FindComponent("MainMenu1"));
  ASSERT_TRUE(copiedMenu);
  EXPECT_EQ(copy->Menu(), copiedMenu);
  ASSERT_EQ(copiedMenu->Items()->Count(), 1);
  ASSERT_EQ(copiedMenu->Items()->Items(0)->Count(), 2);
  EXPECT_EQ(copiedMenu->Items()->Items(0)->Items(0)->ShortCut(), ShortCut('S', ssCtrl));
  EXPECT_EQ(copiedMenu->Items()->Items(0)->Items(0)->Name(), "Save1");
}

TEST_F(Menus, TheMenuBarRunsItsItemsShowsTheirHintsAndUpdatesTheirActions) {
  FormPtr form(TCustomForm::CreateNew<TForm>(nullptr));
  form->SetBorderStyle(bsSingle);
  auto* mainMenu = new TMainMenu(form.get());
  TMenuItem* file = NewItem(mainMenu, "&File");
  TMenuItem* save = NewItem(mainMenu, "&Save");
  mainMenu->Items()->Add(file);
  file->Add(save);
  TAction action(nullptr);
  action.SetHint("Save|Saves the job to its file");
  int updates = 0, fileClicks = 0, saves = 0;
  action.OnUpdate = [&](TObject*) { ++updates; };
  action.OnExecute = [&](TObject*) { ++saves; };
  file->SetAction(&action);
  file->OnClick = [&](TObject*) { ++fileClicks; };
  save->SetAction(&action);
  form->SetMenu(mainMenu);
  form->Show();
  HWND wnd = form->WindowHandle();
  ASSERT_EQ(GetMenu(wnd), mainMenu->Handle());

  // The idle step updates the actions of the bar's items.
  updates = 0;
  form->UpdateActions();
  EXPECT_EQ(updates, 1);

  // Opening the sub-menu clicks its item and updates the actions of the entries in it.
  updates = 0;
  SendMessageA(wnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file->Handle()), 0);
  EXPECT_EQ(fileClicks, 1);
  EXPECT_EQ(updates, 1);

  // A chosen entry runs its item, here its action.
  SendMessageA(wnd, WM_COMMAND, MAKEWPARAM(save->Command(), 0), 0);
  EXPECT_EQ(saves, 1);

  // The selected entry's long hint becomes the application's; closing clears it.
  SendMessageA(wnd, WM_MENUSELECT, MAKEWPARAM(save->Command(), MF_HILITE),
               reinterpret_cast<LPARAM>(file->Handle()));
  EXPECT_EQ(Application->Hint(), "Saves the job to its file");
  SendMessageA(wnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_EQ(Application->Hint(), "");

  // The menu goes: the form forgets it.
  delete mainMenu;
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(wnd), nullptr);
  form->Hide();
}

// While a menu is tracked: selects its first entry with the keyboard and chooses it.
struct TMenuChooser {
  static inline int Seen = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR Timer, DWORD) {
    HWND menuWindow = FindWindowA("#32768", nullptr);
    if (!menuWindow || !IsWindowVisible(menuWindow)) return;
    ++Seen;
    KillTimer(nullptr, Timer);
    PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
  }
};

TEST_F(Menus, ARightClickPopsTheControlsMenuWhoseChosenEntryRuns) {
  FormPtr form(TCustomForm::CreateNew<TForm>(nullptr));
  form->SetBorderStyle(bsNone);
  form->SetBounds(60, 60, 240, 160);
  auto* button = new TButton(form.get());
  button->SetParent(form.get());
  button->SetBounds(10, 10, 100, 30);
  auto* popup = new TPopupMenu(form.get());
  TMenuItem* first = NewItem(popup, "First");
  popup->Items()->Add(first);
  popup->Items()->Add(NewItem(popup, "Second"));
  int clicks = 0, popups = 0;
  first->OnClick = [&](TObject*) { ++clicks; };
  popup->OnPopup = [&](TObject*) { ++popups; };
  button->SetPopupMenu(popup);
  form->Show();

  TMenuChooser::Seen = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, &TMenuChooser::Tick);
  POINT at = button->ClientToScreen(POINT{5, 5});
  SendMessageA(button->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(button->Handle()), MAKELPARAM(at.x, at.y));
  KillTimer(nullptr, timer);
  EXPECT_EQ(TMenuChooser::Seen, 1);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(popup->PopupComponent(), button);
  EXPECT_EQ(popup->PopupPoint().x, at.x);
  // The chosen entry comes back through the pop-up list's window.
  EXPECT_TRUE(apploop::RunUntil([&] { return clicks == 1; }));

  // Without AutoPopup the menu stays closed.
  popup->SetAutoPopup(false);
  SendMessageA(button->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(button->Handle()), MAKELPARAM(at.x, at.y));
  EXPECT_EQ(popups, 1);

  // The menu goes: the control forgets it.
  delete popup;
  EXPECT_EQ(button->PopupMenu(), nullptr);
  form->Hide();
}

// Draws an owner-drawn entry of the item onto a bitmap and counts the pixels of a colour.
int CountColour(TBitmap& bitmap, TColor colour) {
  COLORREF rgb = ColorToRGB(colour);
  int n = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (ColorToRGB(bitmap.Canvas()->Pixels(x, y)) == rgb) ++n;
  return n;
}

TEST_F(Menus, OwnerDrawnEntriesAreMeasuredAndDrawnByTheirItems) {
  TPopupMenu menu(nullptr);
  menu.SetOwnerDraw(true);
  TMenuItem* item = NewItem(&menu, "&Disabled entry", ShortCut('D', ssCtrl));
  menu.Items()->Add(item);
  EXPECT_TRUE(EntryInfo(menu.Handle(), 0).fType & MFT_OWNERDRAW);

  // The system asks the item for its size through the pop-up list's window.
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemID = item->Command();
  measure.itemData = reinterpret_cast<ULONG_PTR>(item);
  SendMessageA(PopupList->Window(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  EXPECT_GT(measure.itemWidth, 80u);
  EXPECT_GE(measure.itemHeight, static_cast<UINT>(GetSystemMetrics(SM_CYMENU)));

  // A disabled entry is embossed: its text in the shadow colour over a highlight copy.
  item->SetEnabled(false);
  TBitmap bitmap;
  bitmap.SetSize(static_cast<int>(measure.itemWidth), static_cast<int>(measure.itemHeight));
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemID = item->Command();
  draw.itemData = reinterpret_cast<ULONG_PTR>(item);
  draw.itemState = ODS_GRAYED | ODS_DISABLED;
  draw.hDC = bitmap.Canvas()->Handle();
  draw.rcItem = RECT{0, 0, bitmap.Width(), bitmap.Height()};
  SendMessageA(PopupList->Window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  EXPECT_GT(CountColour(bitmap, clBtnShadow), 20);
  EXPECT_GT(CountColour(bitmap, clBtnHighlight), 20);

  // An item's own drawing handler takes over.
  int drawn = 0;
  item->OnAdvancedDrawItem = [&](TObject*, TCanvas*, const RECT&, TOwnerDrawState state) {
    ++drawn;
    EXPECT_TRUE(state & odDisabled);
  };
  SendMessageA(PopupList->Window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  EXPECT_EQ(drawn, 1);

  // Item data that is no live item is left alone.
  draw.itemData = 12345;
  EXPECT_EQ(SendMessageA(PopupList->Window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), 0);
}

}  // namespace

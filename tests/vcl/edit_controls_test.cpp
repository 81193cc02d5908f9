// The edit-type standard controls with real windows: edits, memos and combo boxes, what
// they keep across a new window, and their stored descriptions.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/vcl/test_windows.h"
#include "vcl/stdctrls.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"

using namespace testwin;

namespace {

std::unique_ptr<THostWindow> Host() { return std::unique_ptr<THostWindow>(ShownHost(360, 260)); }

template <class T>
T* Child(TWinControl* parent) {
  auto* c = new T(parent);
  c->SetParent(parent);
  return c;
}

TEST(Edit, WindowFollowsTheControlAndKeepsItsStateAcrossANewWindow) {
  auto host = Host();
  auto* edit = Child<TEdit>(host.get());
  edit->SetMaxLength(5);
  edit->SetReadOnly(true);
  edit->SetPasswordChar('#');
  edit->SetText("abc");
  HWND first = edit->Handle();
  EXPECT_EQ(SendMessageA(first, EM_GETLIMITTEXT, 0, 0), 5);
  EXPECT_TRUE(GetWindowLongPtrA(first, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(SendMessageA(first, EM_GETPASSWORDCHAR, 0, 0), '#');
  edit->SetSelStart(1);
  edit->SetSelLength(2);
  EXPECT_EQ(edit->SelText(), "bc");
  edit->SetModified(true);

  edit->SetHideSelection(false);  // a new window
  HWND second = edit->WindowHandle();
  ASSERT_NE(second, first);
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_EQ(SendMessageA(second, EM_GETLIMITTEXT, 0, 0), 5);
  EXPECT_EQ(SendMessageA(second, EM_GETPASSWORDCHAR, 0, 0), '#');
  EXPECT_TRUE(GetWindowLongPtrA(second, GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(GetWindowLongPtrA(second, GWL_STYLE) & ES_NOHIDESEL);
  EXPECT_TRUE(edit->Modified());

  edit->SetReadOnly(false);
  EXPECT_FALSE(GetWindowLongPtrA(second, GWL_STYLE) & ES_READONLY);
  edit->SetPasswordChar(0);
  EXPECT_EQ(SendMessageA(second, EM_GETPASSWORDCHAR, 0, 0), 0);
}

TEST(Edit, TypingChangesTextAndRunsOnChange) {
  auto host = Host();
  auto* edit = Child<TEdit>(host.get());
  int changes = 0;
  edit->OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, edit);
    ++changes;
  };
  edit->OnKeyPress = [](TObject*, char& key) {
    if (key == 'x') key = 0;  // a filter drops the key
  };
  ::SetFocus(edit->Handle());
  for (char c : std::string("axb")) SendMessageA(edit->Handle(), WM_CHAR, static_cast<BYTE>(c), 1);
  EXPECT_EQ(edit->Text(), "ab");
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(edit->Modified());
}

// --- memos

struct MemoFixture : ::testing::Test {
  std::unique_ptr<THostWindow> host = Host();
  TMemo* memo = Child<TMemo>(host.get());
  std::vector<std::string> Lines() {
    std::vector<std::string> out;
    for (int i = 0; i < memo->Lines()->Count(); ++i) out.push_back(memo->Lines()->Get(i));
    return out;
  }
};

TEST_F(MemoFixture, LinesAreTheWindowsLines) {
  TStrings* lines = memo->Lines();
  EXPECT_EQ(lines->Count(), 0);
  lines->Add("one");
  lines->Add("");
  lines->Add("three\nfour");  // a text with a line break gives two lines
  EXPECT_EQ(Lines(), (std::vector<std::string>{"one", "", "three", "four"}));
  EXPECT_EQ(memo->Text(), "one\r\n\r\nthree\r\nfour\r\n");
  EXPECT_EQ(lines->Get(1), "");  // an empty line reads as empty
  lines->SetStrings(0, "ONE");
  lines->Delete(2);
  lines->Insert(0, "zero");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"zero", "ONE", "", "four"}));
  lines->SetText("a\rb\nc");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"a", "b", "c"}));
  lines->Clear();
  EXPECT_EQ(lines->Count(), 0);
}

TEST_F(MemoFixture, InsertPastTheLastLineNeedsANonEmptyLastLine) {
  memo->SetText("a\r\nb");
  memo->Lines()->Insert(2, "c");
  EXPECT_EQ(memo->Text(), "a\r\nb\r\nc");
  memo->SetText("a\r\n");
  memo->Lines()->Insert(2, "c");  // line 1 is the empty one after the break
  EXPECT_EQ(memo->Text(), "a\r\n");
}

TEST_F(MemoFixture, LineLengthsAtTheEdgesOfEmGetLine) {
  memo->SetWordWrap(false);
  memo->SetText("x\r\n" + std::string(70000, 'y'));
  EXPECT_EQ(memo->Lines()->Get(0), "x");  // shorter than the length word in front of the buffer
  EXPECT_THROW(memo->Lines()->Get(1), EOutOfResources);
}

TEST_F(MemoFixture, WordWrapAndScrollBarsMakeNewWindowsThatKeepTheText) {
  memo->Lines()->Add("kept");
  EXPECT_FALSE(GetWindowLongPtrA(memo->Handle(), GWL_STYLE) & ES_AUTOHSCROLL);  // wraps
  memo->SetWordWrap(false);
  memo->SetScrollBars(ssBoth);
  LONG_PTR style = GetWindowLongPtrA(memo->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & ES_AUTOHSCROLL);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"kept"}));
}

// --- combo boxes

struct ComboFixture : ::testing::Test {
  std::unique_ptr<THostWindow> host = Host();
  TComboBox* combo = Child<TComboBox>(host.get());
};

TEST_F(ComboFixture, ItemsIndexAndTextSurviveAStyleChange) {
  TObject marker;
  combo->Items()->Add("alpha");
  combo->Items()->AddObject("beta", &marker);
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->Text(), "beta");
  for (TComboBoxStyle style : {csDropDownList, csOwnerDrawFixed, csSimple, csDropDown}) {
    SCOPED_TRACE(style);
    HWND before = combo->WindowHandle();
    combo->SetStyle(style);
    ASSERT_NE(combo->WindowHandle(), before);
    EXPECT_EQ(combo->Items()->Count(), 2);
    EXPECT_EQ(combo->Items()->Get(0), "alpha");
    EXPECT_EQ(combo->Items()->Objects(1), &marker);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "beta");
  }
  // Typed text that is no item stays too.
  combo->SetText("typed");
  combo->SetStyle(csSimple);
  EXPECT_EQ(combo->Text(), "typed");
}

TEST_F(ComboFixture, ClearingTheItemsKeepsTheEditText) {
  combo->Items()->Add("one");
  combo->SetText("own text");
  combo->Items()->Clear();
  EXPECT_EQ(combo->Items()->Count(), 0);
  EXPECT_EQ(combo->Text(), "own text");
  EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(ComboFixture, InnerWindowsAreSubclassedAndTheirKeysReachTheControl) {
  combo->Items()->Add("Abcde");
  combo->Items()->Add("abx");
  ASSERT_TRUE(combo->EditHandle());
  ASSERT_TRUE(combo->ListHandle());
  EXPECT_EQ(GetWindowLongPtrA(combo->EditHandle(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ComboChildWndProc));
  std::string pressed;
  combo->OnKeyPress = [&](TObject*, char& key) { pressed += key; };
  int changes = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  // The framework's completion: typing at the end completes from the items.
  SendMessageA(combo->EditHandle(), WM_CHAR, 'a', 1);
  SendMessageA(combo->EditHandle(), WM_CHAR, 'b', 1);
  EXPECT_EQ(pressed, "ab");
  EXPECT_EQ(combo->Text(), "abcde");
  EXPECT_EQ(combo->SelStart(), 2);
  EXPECT_EQ(combo->SelLength(), 3);
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_GE(changes, 1);
  // Off: the characters go to the edit as typed.
  combo->AutoComplete = false;
  combo->SetText("");
  SendMessageA(combo->EditHandle(), WM_CHAR, 'a', 1);
  EXPECT_EQ(combo->Text(), "a");
}

TEST_F(ComboFixture, ChoosingAnItemSetsTheTextAndRunsClickAndChange) {
  combo->SetStyle(csDropDownList);
  combo->Items()->Add("first");
  combo->Items()->Add("second");
  std::vector<std::string> seen;
  combo->OnClick = [&](TObject*) { seen.push_back("click " + combo->Text()); };
  combo->OnChange = [&](TObject*) { seen.push_back("change"); };
  ::SetFocus(combo->Handle());
  SendMessageA(combo->Handle(), WM_KEYDOWN, VK_DOWN, 1);  // the system selects the next item
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"click first", "change"}));
}

TEST_F(ComboFixture, OwnerDrawnItemsAreDrawnByTheControl) {
  combo->SetStyle(csOwnerDrawVariable);
  combo->SetItemHeight(20);
  std::vector<int> measured, drawn;
  combo->OnMeasureItem = [&](TWinControl*, int index, int& height) {
    measured.push_back(index);
    height = 24;
  };
  combo->OnDrawItem = [&](TWinControl* control, int index, RECT rect, TOwnerDrawState) {
    EXPECT_EQ(control, combo);
    EXPECT_NE(combo->Canvas()->CurrentHandle(), nullptr);
    combo->Canvas()->FillRect(rect);
    drawn.push_back(index);
  };
  combo->Items()->Add("one");
  combo->Items()->Add("two");
  combo->SetItemIndex(1);
  combo->Repaint();
  Flush();
  EXPECT_NE(std::find(measured.begin(), measured.end(), 1), measured.end());
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), 1), drawn.end());  // the selected item in the face
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, 1, 0), 24);
}

TEST_F(ComboFixture, InsertingPastTheEndIsAnError) {
  EXPECT_THROW(combo->Items()->Insert(5, "nowhere"), EOutOfResources);
  EXPECT_EQ(combo->Items()->IndexOf("nowhere"), -1);
}

// --- stored descriptions

const char* kControls = R"(object Root: THostWindow
  object Name: TEdit
    Left = 8
    Top = 8
    MaxLength = 12
    PasswordChar = '*'
    Text = 'secret'
  end
  object Notes: TMemo
    Left = 8
    Top = 40
    Lines.Strings = (
      'first'
      'second')
    ScrollBars = ssVertical
    WordWrap = False
  end
  object Choice: TComboBox
    Left = 8
    Top = 140
    Style = csDropDownList
    ItemIndex = 1
    Items.Strings = (
      'red'
      'green')
  end
  object Tasks: TListBox
    Left = 160
    Top = 8
    Style = lbOwnerDrawVariable
    MultiSelect = True
    Items.Strings = (
      'mux'
      'split'
      'join')
  end
end
)";

TEST(EditControlsStreaming, ReadFromAndWrittenToDescriptions) {
  RegisterStdControls();
  auto host = Host();
  ReadComponentData(kControls, std::strlen(kControls), host.get(), "edits.dfm");
  auto* name = dynamic_cast<TEdit*>(host->FindComponent("Name"));
  auto* notes = dynamic_cast<TMemo*>(host->FindComponent("Notes"));
  auto* choice = dynamic_cast<TComboBox*>(host->FindComponent("Choice"));
  ASSERT_TRUE(name && notes && choice);
  EXPECT_EQ(name->Text(), "secret");
  EXPECT_EQ(name->MaxLength(), 12);
  EXPECT_EQ(name->PasswordChar(), '*');
  EXPECT_EQ(notes->Lines()->Count(), 2);
  EXPECT_EQ(notes->Lines()->Get(1), "second");
  EXPECT_EQ(notes->ScrollBars(), ssVertical);
  EXPECT_FALSE(notes->WordWrap());
  EXPECT_EQ(choice->Style(), csDropDownList);
  EXPECT_EQ(choice->ItemIndex(), 1);  // read before its items, applied after them
  EXPECT_EQ(choice->Text(), "green");
  auto* tasks = dynamic_cast<TListBox*>(host->FindComponent("Tasks"));
  ASSERT_TRUE(tasks);
  EXPECT_EQ(tasks->Style(), lbOwnerDrawVariable);
  EXPECT_TRUE(tasks->MultiSelect());
  EXPECT_EQ(tasks->Items()->Get(2), "join");

  TMemoryStream stream;
  WriteComponent(&stream, host.get());
  stream.SetPosition(0);
  auto copy = Host();
  ReadComponent(&stream, copy.get(), "written");
  auto* choice2 = dynamic_cast<TComboBox*>(copy->FindComponent("Choice"));
  auto* notes2 = dynamic_cast<TMemo*>(copy->FindComponent("Notes"));
  ASSERT_TRUE(choice2 && notes2);
  EXPECT_EQ(choice2->Items()->Count(), 2);
  EXPECT_EQ(choice2->ItemIndex(), 1);
  EXPECT_EQ(notes2->Lines()->Text(), "first\r\nsecond\r\n");
  auto* tasks2 = dynamic_cast<TListBox*>(copy->FindComponent("Tasks"));
  ASSERT_TRUE(tasks2);
  EXPECT_EQ(tasks2->Items()->Count(), 3);
  EXPECT_EQ(tasks2->Style(), lbOwnerDrawVariable);
}

}  // namespace

namespace {

// --- list boxes

struct ListBoxFixture : ::testing::Test {
  std::unique_ptr<THostWindow> host = Host();
  TListBox* list = Child<TListBox>(host.get());
  void ClickItem(int index, UINT message = WM_LBUTTONDOWN) {
    RECT r = list->ItemRect(index);
    LPARAM at = MAKELPARAM(r.left + 4, r.top + 2);
    SendMessageA(list->Handle(), message, MK_LBUTTON, at);
    SendMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
  }
};

TEST_F(ListBoxFixture, ItemsSelectionAndTopItemSurviveANewWindowThatMeasuresEveryRow) {
  TObject marker;
  for (int i = 0; i < 20; ++i) list->Items()->Add("row " + std::to_string(i));
  list->Items()->SetObjects(3, &marker);
  list->SetItemIndex(12);
  list->SetTopIndex(5);
  std::vector<int> measured;
  list->OnMeasureItem = [&](TWinControl*, int index, int& height) {
    measured.push_back(index);
    height = 10 + index;
  };
  HWND before = list->Handle();
  list->SetStyle(lbOwnerDrawVariable);
  ASSERT_NE(list->WindowHandle(), before);
  EXPECT_EQ(list->Count(), 20);
  EXPECT_EQ(list->Items()->Get(19), "row 19");
  EXPECT_EQ(list->Items()->Objects(3), &marker);
  EXPECT_EQ(list->ItemIndex(), 12);
  EXPECT_EQ(list->TopIndex(), 5);
  EXPECT_EQ(measured.size(), 20u);
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETITEMHEIGHT, 7, 0), 17);
}

TEST_F(ListBoxFixture, ChoosingAnItemClicksAndADoubleClickDoubleClicks) {
  list->Items()->Add("one");
  list->Items()->Add("two");
  std::vector<std::string> seen;
  list->OnClick = [&](TObject*) { seen.push_back("click " + std::to_string(list->ItemIndex())); };
  list->OnDblClick = [&](TObject*) { seen.push_back("double " + std::to_string(list->ItemIndex())); };
  ClickItem(1);
  ClickItem(1, WM_LBUTTONDBLCLK);
  EXPECT_EQ(seen, (std::vector<std::string>{"click 1", "double 1"}));
  // Typing selects the item that starts with the typed text.
  SendMessageA(list->Handle(), WM_CHAR, 'o', 1);
  EXPECT_EQ(list->ItemIndex(), 0);
}

TEST_F(ListBoxFixture, MultiSelect) {
  list->SetMultiSelect(true);
  for (const char* s : {"a", "b", "c"}) list->Items()->Add(s);
  list->SetSelected(0, true);
  list->SetSelected(2, true);
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_TRUE(list->Selected(2));
  EXPECT_FALSE(list->Selected(1));
  EXPECT_THROW(list->Selected(7), EListError);
}

TEST_F(ListBoxFixture, VirtualItemsComeFromTheDataEventAndAreDrawnByTheControl) {
  list->SetStyle(lbVirtual);
  list->OnData = [](TWinControl*, int index, AnsiString& data) { data = "item " + std::to_string(index); };
  list->SetCount(1000);
  EXPECT_EQ(list->Count(), 1000);
  EXPECT_EQ(list->Items()->Get(999), "item 999");
  EXPECT_EQ(list->Items()->IndexOf("item 1"), -1);  // the window holds no texts to search
  list->SetItemIndex(3);
  list->SetTopIndex(2);
  list->SetSorted(true);  // a new window: the count goes on
  EXPECT_EQ(list->Count(), 1000);
  EXPECT_EQ(list->ItemIndex(), 3);
}

TEST_F(ListBoxFixture, AnEmptyFocusedOwnerDrawnListOnlyFillsTheFocusRow) {
  list->SetStyle(lbOwnerDrawFixed);
  int drawn = 0;
  list->OnDrawItem = [&](TWinControl*, int, RECT, TOwnerDrawState) { ++drawn; };
  HDC dc = GetDC(list->Handle());
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_LISTBOX;
  dis.itemID = static_cast<UINT>(-1);
  dis.itemState = ODS_FOCUS;
  dis.hwndItem = list->Handle();
  dis.hDC = dc;
  dis.rcItem = RECT{0, 0, 50, 16};
  EXPECT_EQ(list->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), 1);
  ReleaseDC(list->Handle(), dc);
  EXPECT_EQ(drawn, 0);
  EXPECT_EQ(list->Canvas()->CurrentHandle(), nullptr);  // let go of the device context
}

}  // namespace

// The list view with real windows: items and sub-items shown through callback texts,
// re-creation, sorting, check boxes, selection events, owner data, custom drawing and the
// notifications answered in both forms. Also the common-control helpers and image lists.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "tests/vcl/test_windows.h"
#include "vcl/comctrls_common.h"
#include "vcl/imglist.h"
#include "vcl/listview.h"
#include "vcl/pictures.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"

using namespace testwin;

namespace {

// What the window shows for item i, sub-item k (asked the way the window draws it).
std::string ShownText(TCustomListView* lv, int i, int k) {
  char buffer[256] = {};
  LVITEMA it{};
  it.iSubItem = k;
  it.pszText = buffer;
  it.cchTextMax = sizeof buffer;
  SendMessageA(lv->Handle(), LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
  return buffer;
}

std::vector<std::string> Captions(TCustomListView* lv) {
  std::vector<std::string> out;
  for (int i = 0; i < lv->Items()->Count(); ++i) out.push_back(ShownText(lv, i, 0));
  return out;
}

class ListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.reset(ShownHost(480, 320));
    lv = new TListView(host.get());
    lv->SetBounds(8, 8, 460, 300);
    lv->SetViewStyle(vsReport);
    lv->SetParent(host.get());
    for (const char* title : {"Name", "Kind", "Size"}) lv->Columns()->Add()->SetCaption(title);
  }
  TListItem* AddRow(const std::string& caption, std::vector<std::string> subs) {
    TListItem* item = lv->Items()->Add();
    item->SetCaption(caption);
    for (const auto& s : subs) item->SubItems()->Add(s);
    return item;
  }
  std::unique_ptr<THostWindow> host;
  TListView* lv = nullptr;
};

}  // namespace

TEST(ComCtrlsCommon, NotifyTextCopiesAreCutToTheBufferAndNeverOverrun) {
  struct Case {
    int size;
    const char* expected;  // what the buffer holds; null: untouched
  };
  const Case cases[] = {{0, nullptr}, {-4, nullptr}, {1, ""}, {4, "abc"}, {6, "abcde"}, {32, "abcdef"}};
  for (const Case& c : cases) {
    char narrow[40];
    wchar_t wide[40];
    std::memset(narrow, '#', sizeof narrow);
    std::fill(std::begin(wide), std::end(wide), L'#');
    int n = CopyNotifyText(narrow, c.size, AnsiString("abcdef"));
    int w = CopyNotifyText(wide, c.size, WideString(L"abcdef"));
    if (!c.expected) {
      EXPECT_EQ(0, n) << c.size;
      EXPECT_EQ('#', narrow[0]) << c.size;
      EXPECT_EQ(L'#', wide[0]) << c.size;
      continue;
    }
    EXPECT_STREQ(c.expected, narrow) << c.size;
    EXPECT_EQ(static_cast<int>(std::strlen(c.expected)), n);
    EXPECT_EQ(n, w);
    EXPECT_EQ(AnsiToWide(c.expected), WideString(wide)) << c.size;
    EXPECT_EQ('#', narrow[n + 1]) << "nothing written past the terminator";
  }
  EXPECT_EQ(0, CopyNotifyText(static_cast<char*>(nullptr), 10, AnsiString("x")));

  // A surrogate pair at the buffer's end is left out whole, never cut in two.
  const WideString emoji = L"ab\xD83C\xDFAC" L"c";  // ab🎬c
  const struct {
    int size;
    const wchar_t* expected;
  } pairs[] = {{3, L"ab"}, {4, L"ab"}, {5, L"ab\xD83C\xDFAC"}, {6, L"ab\xD83C\xDFAC" L"c"}};
  for (const auto& c : pairs) {
    wchar_t wide[8];
    std::fill(std::begin(wide), std::end(wide), L'#');
    EXPECT_EQ(static_cast<int>(std::wcslen(c.expected)), CopyNotifyText(wide, c.size, emoji)) << c.size;
    EXPECT_EQ(WideString(wide), WideString(c.expected)) << c.size;
  }
}

TEST(ComCtrlsCommon, NotificationCodesAndFormats) {
  EXPECT_TRUE(IsNotifyCode(LVN_GETDISPINFOW, LVN_GETDISPINFOA, LVN_GETDISPINFOW));
  EXPECT_TRUE(IsNotifyCode(LVN_GETDISPINFOA, LVN_GETDISPINFOA, LVN_GETDISPINFOW));
  EXPECT_FALSE(IsNotifyCode(LVN_ENDLABELEDITA, LVN_GETDISPINFOA, LVN_GETDISPINFOW));
  for (UINT wide : {LVN_GETDISPINFOW, LVN_ODFINDITEMW, LVN_GETINFOTIPW, TVN_GETDISPINFOW, TVN_ENDLABELEDITW,
                    HDN_ENDTRACKW, HDN_DIVIDERDBLCLICKW, TTN_GETDISPINFOW})
    EXPECT_TRUE(IsWideNotifyCode(wide)) << static_cast<int>(wide);
  for (UINT narrow : {LVN_GETDISPINFOA, LVN_ITEMCHANGED, NM_CUSTOMDRAW, TVN_GETDISPINFOA, HDN_ENDTRACKA, LVN_COLUMNCLICK})
    EXPECT_FALSE(IsWideNotifyCode(narrow)) << static_cast<int>(narrow);

  TMessage query{CN_NOTIFYFORMAT, 0, NF_QUERY, 0};
  EXPECT_TRUE(AnswerNotifyFormat(query, true));
  EXPECT_EQ(NFR_UNICODE, query.Result);
  TMessage requery{CN_NOTIFYFORMAT, 0, NF_REQUERY, 0};
  EXPECT_FALSE(AnswerNotifyFormat(requery, false));
}

TEST_F(ListViewTest, ParentAsksTheListViewWhichNotificationsItWants) {
  EXPECT_EQ(NFR_ANSI, SendMessageA(host->Handle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(lv->Handle()), NF_QUERY));
  // A window the framework does not know gets the window class's answer.
  HWND stranger = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, host->Handle(), nullptr, nullptr, nullptr);
  EXPECT_NE(0, SendMessageA(host->Handle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(stranger), NF_QUERY));
  DestroyWindow(stranger);
}

TEST_F(ListViewTest, ItemsAndSubItemsShowThroughTheWindow) {
  AddRow("alpha", {"video", "12"});
  TListItem* b = AddRow("beta", {"audio"});
  EXPECT_EQ(2, SendMessageA(lv->Handle(), LVM_GETITEMCOUNT, 0, 0));
  EXPECT_EQ("alpha", ShownText(lv, 0, 0));
  EXPECT_EQ("12", ShownText(lv, 0, 2));
  // A column beyond the item's sub-items shows nothing.
  EXPECT_EQ("", ShownText(lv, 1, 2));

  b->SubItems()->SetStrings(0, "sub");
  b->SubItems()->Add("7");
  b->SubItems()->Insert(0, "first");
  EXPECT_EQ("first", ShownText(lv, 1, 1));
  EXPECT_EQ("sub", ShownText(lv, 1, 2));
  b->SubItems()->Delete(0);
  EXPECT_EQ("sub", ShownText(lv, 1, 1));
  EXPECT_EQ("7", ShownText(lv, 1, 2));

  TListItem* mid = lv->Items()->Insert(1);
  mid->SetCaption("middle");
  EXPECT_EQ((std::vector<std::string>{"alpha", "middle", "beta"}), Captions(lv));
  EXPECT_EQ(2, b->Index());
  lv->Items()->Delete(0);
  EXPECT_EQ(0, mid->Index());
  EXPECT_EQ(1, b->Index());
  EXPECT_EQ((std::vector<std::string>{"middle", "beta"}), Captions(lv));
  EXPECT_THROW(lv->Items()->Item(5), EListError);

  // Column captions and widths reach the header.
  lv->Column(1)->SetCaption("Type");
  lv->Column(1)->SetWidth(77);
  char title[32] = {};
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT;
  col.pszText = title;
  col.cchTextMax = sizeof title;
  SendMessageA(lv->Handle(), LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&col));
  EXPECT_STREQ("Type", title);
  EXPECT_EQ(77, SendMessageA(lv->Handle(), LVM_GETCOLUMNWIDTH, 1, 0));
  lv->Columns()->Delete(0);
  EXPECT_EQ(0, lv->Column(0)->OrderTag());
  EXPECT_EQ(77, lv->Column(0)->Width());
}

TEST_F(ListViewTest, RecreatingTheWindowKeepsItemsChecksSelectionAndColumns) {
  lv->SetCheckboxes(true);
  AddRow("one", {"a", "b"});
  TListItem* two = AddRow("two", {"c"});
  two->SetChecked(true);
  two->SetSelected(true);
  lv->Column(2)->SetWidth(91);
  HWND before = lv->Handle();

  lv->SetMultiSelect(true);  // a style of the window: a new window
  ASSERT_NE(before, lv->Handle());
  EXPECT_EQ((std::vector<std::string>{"one", "two"}), Captions(lv));
  EXPECT_EQ("b", ShownText(lv, 0, 2));
  EXPECT_FALSE(lv->Items()->Item(0)->Checked());
  EXPECT_TRUE(two->Checked());
  EXPECT_EQ(two, lv->Selected());
  EXPECT_EQ(91, lv->Column(2)->Width());
  EXPECT_EQ(3, Header_GetItemCount(lv->GetHeaderHandle()));
}

TEST_F(ListViewTest, CheckBoxesReadBackWhateverSetThem) {
  lv->SetCheckboxes(true);
  TListItem* a = AddRow("a", {});
  TListItem* b = AddRow("b", {});
  EXPECT_FALSE(a->Checked());
  a->SetChecked(true);
  EXPECT_EQ(2u, (SendMessageA(lv->Handle(), LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12);
  // The user's click arrives as a state change of the window.
  LVITEMA state{};
  state.stateMask = LVIS_STATEIMAGEMASK;
  state.state = INDEXTOSTATEIMAGEMASK(2);
  SendMessageA(lv->Handle(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  EXPECT_TRUE(b->Checked());
  a->SetChecked(false);
  EXPECT_FALSE(a->Checked());
  // Turning check boxes off and on keeps the states.
  lv->SetCheckboxes(false);
  lv->SetCheckboxes(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
}

TEST_F(ListViewTest, SortingByCaptionByHandlerAndAfterChanges) {
  for (const char* c : {"pear", "Apple", "fig"}) AddRow(c, {std::string("s-") + c});
  EXPECT_TRUE(lv->AlphaSort());
  EXPECT_EQ((std::vector<std::string>{"Apple", "fig", "pear"}), Captions(lv));
  EXPECT_EQ("s-fig", ShownText(lv, 1, 1));
  EXPECT_EQ(2, lv->Items()->Item(2)->Index());
  EXPECT_EQ("pear", lv->Items()->Item(2)->Caption());

  std::vector<std::pair<std::string, std::string>> calls;
  lv->OnCompare = [&](TObject* sender, TListItem* a, TListItem* b, int data, int& compare) {
    EXPECT_EQ(lv, sender);
    calls.emplace_back(a->Caption(), b->Caption());
    compare = -lstrcmpA(a->Caption().c_str(), b->Caption().c_str());  // descending
  };
  lv->AlphaSort();
  EXPECT_FALSE(calls.empty());
  EXPECT_EQ((std::vector<std::string>{"pear", "fig", "Apple"}), Captions(lv));

  lv->OnCompare = nullptr;
  lv->SetSortType(stText);
  EXPECT_EQ((std::vector<std::string>{"Apple", "fig", "pear"}), Captions(lv));
  lv->Items()->Item(0)->SetCaption("zucchini");  // sorted again at once
  EXPECT_EQ((std::vector<std::string>{"fig", "pear", "zucchini"}), Captions(lv));
  AddRow("banana", {});
  EXPECT_EQ("banana", lv->Items()->Item(0)->Caption());
}

TEST_F(ListViewTest, SelectionEventsAndColumnClicks) {
  AddRow("a", {});
  TListItem* b = AddRow("b", {});
  std::vector<std::pair<TListItem*, bool>> selects;
  lv->OnSelectItem = [&](TObject*, TListItem* item, bool selected) { selects.emplace_back(item, selected); };
  lv->SetItemIndex(1);
  EXPECT_EQ(1, lv->ItemIndex());
  EXPECT_EQ(b, lv->Selected());
  ASSERT_FALSE(selects.empty());
  EXPECT_EQ(b, selects.back().first);
  EXPECT_TRUE(selects.back().second);
  lv->SetItemIndex(-1);
  EXPECT_EQ(nullptr, lv->Selected());
  EXPECT_FALSE(selects.back().second);
  b->SetFocused(true);
  EXPECT_EQ(b, lv->ItemFocused());

  // A click on the second header section.
  TListColumn* clicked = nullptr;
  lv->OnColumnClick = [&](TObject*, TListColumn* column) { clicked = column; };
  HWND header = lv->GetHeaderHandle();
  RECT r{};
  Header_GetItemRect(header, 1, &r);
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(header, WM_LBUTTONUP, 0, at);
  ASSERT_TRUE(DispatchUntil([&] { return clicked != nullptr; }));
  EXPECT_EQ(1, clicked->Index());
}

TEST_F(ListViewTest, ACaptionChangeIsReportedOnceAndRepaintedInsideOrOutsideAnUpdateBracket) {
  struct Case {
    TViewStyle Style;
    bool Bracket;
  };
  for (Case c : {Case{vsReport, true}, Case{vsReport, false}, Case{vsIcon, true}, Case{vsList, false}}) {
    SCOPED_TRACE(std::to_string(c.Style) + (c.Bracket ? " in a bracket" : " alone"));
    lv->Items()->Clear();
    lv->SetViewStyle(c.Style);
    AddRow("first", {"x"});
    TListItem* item = AddRow("old", {"y"});
    std::vector<std::pair<TListItem*, TItemChange>> changes;
    lv->OnChange = [&](TObject*, TListItem* changed, TItemChange change) { changes.emplace_back(changed, change); };
    UpdateWindow(lv->Handle());
    ValidateRect(lv->Handle(), nullptr);
    if (c.Bracket) lv->Items()->BeginUpdate();
    item->SetCaption("new");
    if (c.Bracket) lv->Items()->EndUpdate();
    lv->OnChange = nullptr;

    EXPECT_EQ((std::vector<std::pair<TListItem*, TItemChange>>{{item, ctText}}), changes);
    EXPECT_EQ("new", ShownText(lv, 1, 0));
    RECT label{};
    label.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageA(lv->Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&label)));
    RECT dirty{}, both{};
    ASSERT_TRUE(GetUpdateRect(lv->Handle(), &dirty, FALSE));
    EXPECT_TRUE(IntersectRect(&both, &dirty, &label)) << "the changed label is not repainted";
  }
}

TEST_F(ListViewTest, EditingACaptionInPlace) {
  TListItem* item = AddRow("old", {});
  std::string seen;
  lv->OnEdited = [&](TObject*, TListItem* edited, AnsiString& s) {
    EXPECT_EQ(item, edited);
    seen = s;
    s += "!";
  };
  ASSERT_TRUE(item->EditCaption());
  HWND edit = reinterpret_cast<HWND>(SendMessageA(lv->Handle(), LVM_GETEDITCONTROL, 0, 0));
  ASSERT_TRUE(edit);
  SetWindowTextA(edit, "new");
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(DispatchUntil([&] { return !seen.empty(); }));
  EXPECT_EQ("new", seen);
  EXPECT_EQ("new!", item->Caption());
  EXPECT_EQ("new!", ShownText(lv, 0, 0));

  // A refusing OnEditing keeps the editor away.
  lv->OnEditing = [](TObject*, TListItem*, bool& allow) { allow = false; };
  EXPECT_FALSE(item->EditCaption());
}

TEST_F(ListViewTest, InfoTipsAreCutToTheirBuffer) {
  TListItem* item = AddRow("tip", {});
  lv->OnInfoTip = [&](TObject*, TListItem* tipped, AnsiString& tip) {
    EXPECT_EQ(item, tipped);
    tip = "a rather long tip";
  };
  for (bool wide : {false, true}) {
    char narrow[8];
    wchar_t wbuf[8];
    std::memset(narrow, '#', sizeof narrow);
    std::fill(std::begin(wbuf), std::end(wbuf), L'#');
    NMLVGETINFOTIPA info{};
    info.hdr.hwndFrom = lv->Handle();
    info.hdr.code = wide ? LVN_GETINFOTIPW : LVN_GETINFOTIPA;
    info.pszText = wide ? reinterpret_cast<char*>(wbuf) : narrow;
    info.cchTextMax = 5;
    info.iItem = 0;
    lv->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    if (wide) {
      EXPECT_EQ(WideString(L"a ra"), WideString(wbuf));
      EXPECT_EQ(L'#', wbuf[5]);
    } else {
      EXPECT_STREQ("a ra", narrow);
      EXPECT_EQ('#', narrow[5]);
    }
    info.cchTextMax = 0;  // no room at all: nothing written
    narrow[0] = '#';
    wbuf[0] = L'#';
    lv->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_TRUE(wide ? wbuf[0] == L'#' : narrow[0] == '#');
  }
}

TEST_F(ListViewTest, OwnerDataListScrollsAHundredThousandItemsWithOneItemObject) {
  int created = 0;
  lv->OnCreateItemClass = [&](TCustomListView*, TListItemClass&) { ++created; };
  lv->SetOwnerData(true);
  int fetches = 0;
  lv->OnData = [&](TObject*, TListItem* item) {
    ++fetches;
    item->SetCaption("row " + std::to_string(item->Index()));
    item->SubItems()->Add("kind " + std::to_string(item->Index() % 7));
  };
  lv->OnDataFind = [&](TObject*, TItemFind find, const AnsiString& text, POINT, void*, int start, TSearchDirection,
                       bool, int& index) {
    if (find == ifExactString && text.rfind("row ", 0) == 0) index = std::stoi(text.substr(4));
  };
  lv->Items()->SetCount(100000);
  EXPECT_EQ(100000, lv->Items()->Count());
  UpdateWindow(lv->Handle());
  EXPECT_GT(fetches, 0);
  EXPECT_LT(fetches, 2000) << "only what is shown is fetched";

  lv->Items()->Item(99999)->MakeVisible(false);
  UpdateWindow(lv->Handle());
  EXPECT_EQ("row 99999", ShownText(lv, 99999, 0));
  EXPECT_EQ("kind 2", ShownText(lv, 99997, 1));
  EXPECT_EQ("", ShownText(lv, 99997, 2));
  EXPECT_GT(SendMessageA(lv->Handle(), LVM_GETTOPINDEX, 0, 0), 99000);
  EXPECT_EQ("row 5", lv->Items()->Item(5)->Caption());
  lv->Items()->Item(42)->SetSelected(true);
  EXPECT_EQ(42, lv->ItemIndex());

  LVFINDINFOA find{};
  find.flags = LVFI_STRING;
  find.psz = "row 777";
  EXPECT_EQ(777, SendMessageA(lv->Handle(), LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
  EXPECT_EQ(1, created) << "the temporary item is the only item object";
  lv->SetMultiSelect(true);  // a new window knows the count as well
  EXPECT_EQ(100000, SendMessageA(lv->Handle(), LVM_GETITEMCOUNT, 0, 0));
  EXPECT_EQ("row 12345", ShownText(lv, 12345, 0));
  EXPECT_THROW(lv->Items()->Add(), EInvalidOperation);
}

TEST_F(ListViewTest, CustomDrawColoursARow) {
  lv->SetRowSelect(true);
  for (int i = 0; i < 3; ++i) AddRow("row" + std::to_string(i), {"x"});
  std::vector<TCustomDrawState> states;
  lv->OnCustomDrawItem = [&](TCustomListView* sender, TListItem* item, TCustomDrawState state, bool& defaultDraw) {
    states.push_back(state);
    sender->Canvas()->Brush()->SetColor(item->Index() == 1 ? TColor(0x0000C0) : clWindow);
  };
  RECT row{};
  ListView_GetItemRect(lv->Handle(), 1, &row, LVIR_BOUNDS);
  RECT other{};
  ListView_GetItemRect(lv->Handle(), 2, &other, LVIR_BOUNDS);
  RECT client{};
  GetClientRect(lv->Handle(), &client);

  // Painted into a bitmap of our own: the colours are the control's, not the screen's.
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, client.right, client.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  SendMessageA(lv->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  // Right of the caption text, inside the first column.
  int x = lv->Column(0)->Width() - 6;
  COLORREF coloured = GetPixel(dc, x, (row.top + row.bottom) / 2);
  COLORREF plain = GetPixel(dc, x, (other.top + other.bottom) / 2);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  EXPECT_FALSE(states.empty());
  EXPECT_EQ(RGB(0xC0, 0, 0), coloured);
  EXPECT_EQ(ColorToRGB(clWindow), plain);
}

TEST_F(ListViewTest, ItemsAndImageListsFollowTheirOwners) {
  auto* images = new TImageList(host.get());
  lv->SetSmallImages(images);
  TListItem* item = AddRow("pic", {});
  item->SetImageIndex(0);
  EXPECT_EQ(reinterpret_cast<LRESULT>(images->Handle()), SendMessageA(lv->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  LVITEMA it{};
  it.mask = LVIF_IMAGE;
  it.iItem = 0;
  SendMessageA(lv->Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
  EXPECT_EQ(0, it.iImage);
  delete images;  // the list view forgets it
  EXPECT_EQ(nullptr, lv->SmallImages());
  EXPECT_EQ(0, SendMessageA(lv->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));

  // AddItem and Assign copy everything an item holds.
  lv->AddItem("other", reinterpret_cast<TObject*>(host.get()));
  TListItem* copy = lv->Items()->Add();
  item->SubItems()->Add("s1");
  copy->Assign(item);
  EXPECT_EQ("pic", copy->Caption());
  EXPECT_EQ("s1", ShownText(lv, 2, 1));
  EXPECT_EQ(host.get(), lv->Items()->Item(1)->Data());
  lv->Clear();
  EXPECT_EQ(0, SendMessageA(lv->Handle(), LVM_GETITEMCOUNT, 0, 0));
}

// ---------------------------------------------------------------------------
// Image lists

namespace {

std::unique_ptr<TBitmap> Swatch(int w, int h, TColor colour) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(w, h);
  bmp->Canvas()->Brush()->SetColor(colour);
  bmp->Canvas()->FillRect(RECT{0, 0, w, h});
  return bmp;
}

}  // namespace

TEST(ImageList, AddsDrawsAndTellsItsLinks) {
  TImageList images(nullptr);
  int changes = 0;
  auto link = std::make_unique<TChangeLink>();
  link->OnChange = [&](TObject* sender) {
    EXPECT_EQ(&images, sender);
    ++changes;
  };
  images.RegisterChanges(link.get());
  EXPECT_EQ(0, images.Count());
  auto red = Swatch(16, 16, clRed);
  auto wide = Swatch(32, 16, clBlue);  // two images side by side
  EXPECT_EQ(0, images.Add(red.get(), nullptr));
  EXPECT_EQ(1, images.AddMasked(wide.get(), clFuchsia));
  EXPECT_EQ(3, images.Count());
  TIcon icon;
  icon.LoadSystemIcon(IDI_INFORMATION);
  EXPECT_EQ(3, images.AddIcon(&icon));
  EXPECT_EQ(3, changes);

  TBitmap out;
  images.GetBitmap(2, &out);
  EXPECT_EQ(16, out.Width());
  EXPECT_EQ(clBlue, out.Canvas()->Pixels(8, 8));
  images.GetBitmap(0, &out);
  EXPECT_EQ(clRed, out.Canvas()->Pixels(8, 8));
  TIcon got;
  images.GetIcon(0, &got);
  EXPECT_FALSE(got.Empty());

  images.Delete(99);  // out of range: nothing
  images.Delete(1);
  EXPECT_EQ(3, images.Count());
  EXPECT_EQ(4, changes);
  images.SetSize(24, 24);  // the system cannot resize: the list starts empty
  EXPECT_EQ(0, images.Count());

  link.reset();  // a freed link leaves the list
  images.Add(red.get(), nullptr);
  EXPECT_EQ(5, changes);
}

TEST(ImageList, SharedListsAreNotDestroyed) {
  HIMAGELIST shared = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2);
  auto red = Swatch(16, 16, clRed);
  ImageList_Add(shared, red->Handle(), nullptr);
  {
    TImageList images(nullptr);
    images.SetShareImages(true);
    images.SetHandle(shared);
    EXPECT_EQ(1, images.Count());
    EXPECT_EQ(16, images.Width());
  }
  EXPECT_EQ(1, ImageList_GetImageCount(shared));
  EXPECT_TRUE(ImageList_Destroy(shared));
}

TEST_F(ListViewTest, ColumnsAndItemsAreStoredAndReadBack) {
  lv->SetCheckboxes(true);
  lv->SetRowSelect(true);
  lv->Column(1)->SetWidth(120);
  lv->Column(2)->SetAlignment(taRightJustify);
  TListItem* item = AddRow("first", {"video", "1 MB"});
  item->SetImageIndex(2);
  AddRow("second", {});
  TMemoryStream stream;
  WriteComponent(&stream, lv);

  auto* copy = new TListView(host.get());
  stream.SetPosition(0);
  ReadComponent(&stream, copy, "listview");
  copy->SetParent(host.get());
  EXPECT_TRUE(copy->Checkboxes());
  EXPECT_TRUE(copy->RowSelect());
  EXPECT_EQ(vsReport, copy->ViewStyle());
  ASSERT_EQ(3, copy->Columns()->Count());
  EXPECT_EQ("Kind", copy->Column(1)->Caption());
  EXPECT_EQ(120, copy->Column(1)->Width());
  EXPECT_EQ(taRightJustify, copy->Column(2)->Alignment());
  ASSERT_EQ(2, copy->Items()->Count());
  EXPECT_EQ("1 MB", ShownText(copy, 0, 2));
  EXPECT_EQ(2, copy->Items()->Item(0)->ImageIndex());
  EXPECT_EQ("second", ShownText(copy, 1, 0));

  // Owner-data lists store no items.
  lv->SetOwnerData(true);
  EXPECT_FALSE(lv->IsItemsStored());
}

TEST_F(ListViewTest, ClicksSeeTheToggledCheckAndHeaderRightClicksNameTheirColumn) {
  lv->SetCheckboxes(true);
  TListItem* item = AddRow("click me", {"x"});
  bool checkedAtClick = false;
  int clicks = 0;
  lv->OnClick = [&](TObject*) {
    ++clicks;
    checkedAtClick = item->Checked();
  };
  // A click on the check box, the way the mouse sends it.
  RECT icon{};
  ListView_GetItemRect(lv->Handle(), 0, &icon, LVIR_BOUNDS);
  LPARAM box = MAKELPARAM(icon.left + 8, (icon.top + icon.bottom) / 2);
  PostMessageA(lv->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, box);
  PostMessageA(lv->Handle(), WM_LBUTTONUP, 0, box);
  ASSERT_TRUE(DispatchUntil([&] { return clicks > 0; }));
  EXPECT_TRUE(item->Checked());
  EXPECT_TRUE(checkedAtClick);

  TListColumn* column = nullptr;
  POINT where{};
  lv->OnColumnRightClick = [&](TObject*, TListColumn* c, POINT p) {
    column = c;
    where = p;
  };
  HWND header = lv->GetHeaderHandle();
  RECT r{};
  Header_GetItemRect(header, 2, &r);
  POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  POINT screen = at;
  ClientToScreen(header, &screen);
  SetCursorPos(screen.x, screen.y);
  DispatchUntil([&] {
    POINT now{};
    GetCursorPos(&now);
    return now.x == screen.x && now.y == screen.y;
  });
  PostMessageA(header, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageA(header, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  ASSERT_TRUE(DispatchUntil([&] { return column != nullptr; }));
  EXPECT_EQ(2, column->Index());
  EXPECT_LT(where.y, r.bottom) << "in the list view's client coordinates";
}

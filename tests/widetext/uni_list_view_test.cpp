// The wide list view with real windows: wide captions, sub-items and column titles shown
// by the window, kept through window re-creation and brought back in step after 8-bit
// changes; sorting by wide captions; wide owner data, editing and info tips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/vcl/test_windows.h"
#include "tests/widetext/wide_controls.h"
#include "widetext/platform.h"
#include "widetext/uni_list_view.h"
#include "widetext/uniexceptions.h"
#include "vcl/actions.h"
#include "vcl/pictures.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"

using namespace testwin;

namespace {

const WideString kJapanese = L"\x65e5\x672c\x8a9e";   // outside the ANSI code page
const WideString kGreek = L"\x0395\x03bb\x03bb\x03ac\x03b4\x03b1";

WideString ShownText(TCustomListView* lv, int i, int k) {
  wchar_t buffer[256] = {};
  LVITEMW it{};
  it.iSubItem = k;
  it.pszText = buffer;
  it.cchTextMax = 256;
  SendMessageW(lv->Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
  return buffer;
}

WideString HeaderText(TCustomListView* lv, int i) {
  wchar_t buffer[64] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT;
  item.pszText = buffer;
  item.cchTextMax = 64;
  SendMessageW(lv->GetHeaderHandle(), HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

std::vector<WideString> Captions(TUniListView* lv) {
  std::vector<WideString> out;
  for (int i = 0; i < lv->Items()->Count(); ++i) out.push_back(ShownText(lv, i, 0));
  return out;
}

class UniListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UnicodePlatform);
    host.reset(ShownHost(520, 320));
    lv = new TUniListView(host.get());
    lv->SetBounds(8, 8, 500, 300);
    lv->SetViewStyle(vsReport);
    lv->SetParent(host.get());
    for (const WideString& title : {L"Name" + kJapanese, WideString(L"Kind"), kGreek}) lv->Columns()->Add()->SetCaption(title);
  }
  TUniListItem* AddRow(const WideString& caption, std::vector<WideString> subs) {
    TUniListItem* item = lv->Items()->Add();
    item->SetCaption(caption);
    for (const auto& s : subs) item->SubItems()->Add(s);
    return item;
  }
  std::unique_ptr<THostWindow> host;
  TUniListView* lv = nullptr;
};

}  // namespace

TEST_F(UniListViewTest, WideTextsShowAndSurviveWindowRecreation) {
  lv->SetCheckboxes(true);
  AddRow(kJapanese, {kGreek, L"a" + kJapanese});
  TUniListItem* second = AddRow(L"plain", {L"x"});
  second->SetChecked(true);
  EXPECT_TRUE(IsWindowUnicode(lv->Handle()));
  EXPECT_EQ(kJapanese, ShownText(lv, 0, 0));
  EXPECT_EQ(kGreek, ShownText(lv, 0, 1));
  EXPECT_EQ(L"a" + kJapanese, ShownText(lv, 0, 2));
  EXPECT_EQ(L"", ShownText(lv, 1, 2)) << "a column beyond the sub-items shows nothing";
  EXPECT_EQ(L"Name" + kJapanese, HeaderText(lv, 0));
  EXPECT_EQ(kGreek, HeaderText(lv, 2));

  HWND before = lv->Handle();
  lv->SetReadOnly(true);  // a style of the window: a new window
  ASSERT_NE(before, lv->Handle());
  EXPECT_EQ(kJapanese, ShownText(lv, 0, 0));
  EXPECT_EQ(kGreek, ShownText(lv, 0, 1));
  EXPECT_EQ(L"a" + kJapanese, ShownText(lv, 0, 2));
  EXPECT_EQ(kJapanese, lv->Items()->Item(0)->Caption());
  EXPECT_EQ(L"Name" + kJapanese, HeaderText(lv, 0));
  EXPECT_EQ(kGreek, lv->Column(2)->Caption());
  EXPECT_TRUE(second->Checked());
}

TEST_F(UniListViewTest, EightBitChangesBringTheWideCopiesBackInStep) {
  TUniListItem* item = AddRow(kJapanese, {kGreek, L"two", L"three"});
  TStrings* ansi = item->TListItem::SubItems();
  EXPECT_EQ(3, ansi->Count());

  ansi->SetStrings(1, "changed");
  EXPECT_EQ(L"changed", item->SubItems()->Strings(1));
  EXPECT_EQ(kGreek, item->SubItems()->Strings(0)) << "untouched wide texts stay";
  EXPECT_EQ(L"changed", ShownText(lv, 0, 2));
  ansi->Delete(0);
  EXPECT_EQ(2, item->SubItems()->Count());
  EXPECT_EQ(L"changed", item->SubItems()->Strings(0));
  ansi->Add("four");
  EXPECT_EQ(L"four", ShownText(lv, 0, 3));

  // Redrawing the item re-reads nothing that is still in step.
  item->SubItems()->SetStrings(0, kJapanese);
  item->Update();
  EXPECT_EQ(kJapanese, item->SubItems()->Strings(0));
  EXPECT_EQ(kJapanese, ShownText(lv, 0, 1));

  item->TListItem::SetCaption("eight-bit");
  EXPECT_EQ(L"eight-bit", item->Caption());
  EXPECT_EQ(L"eight-bit", ShownText(lv, 0, 0));

  lv->Column(1)->TListColumn::SetCaption("Type");
  EXPECT_EQ(L"Type", lv->Column(1)->Caption());
  EXPECT_EQ(L"Type", HeaderText(lv, 1));
}

// Every row as the window shows it, column by column, beside what its item holds: the
// caption, then each sub-item wide and through the framework's 8-bit view of the same list.
void ExpectRowsShownAsHeld(TUniListView* lv, const std::vector<std::vector<WideString>>& rows) {
  ASSERT_EQ(static_cast<int>(rows.size()), lv->Items()->Count());
  const int columns = lv->Columns()->Count();
  for (int i = 0; i < lv->Items()->Count(); ++i) {
    TUniListItem* item = lv->Items()->Item(i);
    const std::vector<WideString>& row = rows[static_cast<size_t>(i)];
    std::vector<WideString> held{item->Caption()};
    for (int k = 0; k < item->SubItems()->Count(); ++k) held.push_back(item->SubItems()->Strings(k));
    EXPECT_EQ(row, held) << "row " << i;
    TStrings* ansi = item->TListItem::SubItems();
    ASSERT_EQ(item->SubItems()->Count(), ansi->Count()) << "row " << i;
    for (int k = 0; k < ansi->Count(); ++k) EXPECT_EQ(WideToAnsi(row[static_cast<size_t>(k) + 1]), ansi->Strings(k));
    for (int k = 0; k < columns; ++k)
      EXPECT_EQ(k < static_cast<int>(row.size()) ? row[static_cast<size_t>(k)] : WideString(), ShownText(lv, i, k))
          << "row " << i << ", column " << k;
  }
}

TEST_F(UniListViewTest, SubItemsAreOneListShownWideThroughRowAndColumnChanges) {
  lv->Columns()->Add()->SetCaption(L"fourth");
  AddRow(L"b", {kGreek, L"two"});
  AddRow(kJapanese, {L"x"});
  ExpectRowsShownAsHeld(lv, {{L"b", kGreek, L"two"}, {kJapanese, L"x"}});

  TUniListItem* first = lv->Items()->Insert(0);
  first->SetCaption(L"a");
  first->SubItems()->Add(kJapanese + L"1");
  first->SubItems()->Insert(0, kJapanese + L"0");
  lv->Items()->Item(1)->SubItems()->Delete(0);
  ExpectRowsShownAsHeld(lv, {{L"a", kJapanese + L"0", kJapanese + L"1"}, {L"b", L"two"}, {kJapanese, L"x"}});
  first->SubItems()->Exchange(0, 1);
  ExpectRowsShownAsHeld(lv, {{L"a", kJapanese + L"1", kJapanese + L"0"}, {L"b", L"two"}, {kJapanese, L"x"}});

  // Through the 8-bit view: the same list changes.
  TStrings* ansi = lv->Items()->Item(1)->TListItem::SubItems();
  ansi->Add("three");
  ansi->SetStrings(0, "TWO");
  ansi->Insert(0, "one");
  lv->Items()->Item(2)->TListItem::SubItems()->Clear();
  ExpectRowsShownAsHeld(lv, {{L"a", kJapanese + L"1", kJapanese + L"0"}, {L"b", L"one", L"TWO", L"three"}, {kJapanese}});

  lv->Items()->Delete(0);
  TUniListItem* last = lv->Items()->Item(1);
  last->SubItems()->BeginUpdate();
  for (const WideString& s : {kGreek, WideString(L"y"), kJapanese}) last->SubItems()->Add(s);
  last->SubItems()->EndUpdate();
  ExpectRowsShownAsHeld(lv, {{L"b", L"one", L"TWO", L"three"}, {kJapanese, kGreek, L"y", kJapanese}});
  lv->Columns()->Delete(1);
  ExpectRowsShownAsHeld(lv, {{L"b", L"one", L"TWO", L"three"}, {kJapanese, kGreek, L"y", kJapanese}});

  // Rows sorted by their captions take their sub-items along; a sorted sub-item list shows
  // its new order.
  lv->Items()->Item(0)->SetCaption(L"z");
  EXPECT_TRUE(lv->AlphaSort());
  ExpectRowsShownAsHeld(lv, {{L"z", L"one", L"TWO", L"three"}, {kJapanese, kGreek, L"y", kJapanese}});
  lv->Items()->Item(1)->SubItems()->Sort();
  ExpectRowsShownAsHeld(lv, {{L"z", L"one", L"TWO", L"three"}, {kJapanese, L"y", kGreek, kJapanese}});
}

// Each change of a row's sub-items, wide or through the 8-bit view, redraws the row.
TEST_F(UniListViewTest, EverySubItemChangeRedrawsItsRow) {
  struct TCase {
    const char* What;
    std::function<void(TUniListItem*)> Change;
  };
  const TCase cases[] = {
      {"put", [](TUniListItem* item) { item->SubItems()->SetStrings(1, kGreek); }},
      {"add", [](TUniListItem* item) { item->SubItems()->Add(kJapanese); }},
      {"insert", [](TUniListItem* item) { item->SubItems()->Insert(0, kJapanese); }},
      {"delete", [](TUniListItem* item) { item->SubItems()->Delete(0); }},
      {"exchange", [](TUniListItem* item) { item->SubItems()->Exchange(0, 1); }},
      {"clear", [](TUniListItem* item) { item->SubItems()->Clear(); }},
      {"sort", [](TUniListItem* item) { item->SubItems()->Sort(); }},
      {"bracket", [](TUniListItem* item) {
         item->SubItems()->BeginUpdate();
         item->SubItems()->SetStrings(0, kGreek);
         item->SubItems()->EndUpdate();
       }},
      {"8-bit put", [](TUniListItem* item) { item->TListItem::SubItems()->SetStrings(0, "eight"); }},
      {"8-bit delete", [](TUniListItem* item) { item->TListItem::SubItems()->Delete(1); }},
  };
  lv->Columns()->Add()->SetCaption(L"fourth");
  for (const TCase& c : cases) {
    lv->Items()->Clear();
    AddRow(L"first", {L"a"});
    TUniListItem* item = AddRow(L"second", {L"b", L"a"});
    UpdateWindow(lv->Handle());
    RECT row{};
    ListView_GetItemRect(lv->Handle(), 1, &row, LVIR_BOUNDS);
    c.Change(item);
    RECT dirty{};
    EXPECT_TRUE(GetUpdateRect(lv->Handle(), &dirty, FALSE)) << c.What;
    RECT common{};
    EXPECT_TRUE(IntersectRect(&common, &dirty, &row)) << c.What;
  }
}

TEST_F(UniListViewTest, SubItemObjectsAndCopiesOfItems) {
  TObject marker;
  TUniListItem* item = AddRow(kJapanese, {});
  item->SubItems()->AddObject(kGreek, &marker);
  item->TListItem::SubItems()->AddObject("eight-bit", &marker);
  EXPECT_EQ(&marker, item->SubItems()->Objects(0));
  EXPECT_EQ(&marker, item->TListItem::SubItems()->Objects(1));
  item->TListItem::SubItems()->SetObjects(0, nullptr);
  EXPECT_EQ(nullptr, item->SubItems()->Objects(0));

  // A wide item copied keeps its wide texts; an 8-bit one comes converted.
  AddRow(L"copy", {L"old"})->Assign(item);
  auto* plain = new TListView(host.get());
  TListItem* eightBit = plain->Items()->Add();
  eightBit->SetCaption("plain");
  eightBit->SubItems()->Add("p1");
  AddRow(L"copy", {})->Assign(eightBit);
  ExpectRowsShownAsHeld(lv, {{kJapanese, kGreek, L"eight-bit"}, {kJapanese, kGreek, L"eight-bit"}, {L"plain", L"p1"}});
  EXPECT_EQ(&marker, lv->Items()->Item(1)->SubItems()->Objects(1));
}

TEST_F(UniListViewTest, SortingByWideCaptionsOrByTheHandler) {
  // In UTF-16 order: Latin, then Greek, then Japanese.
  for (const WideString& c : {kJapanese, kGreek, WideString(L"latin")}) AddRow(c, {L"of " + c});
  EXPECT_TRUE(lv->AlphaSort());
  EXPECT_EQ((std::vector<WideString>{L"latin", kGreek, kJapanese}), Captions(lv));
  EXPECT_EQ(L"of " + kGreek, ShownText(lv, 1, 1));

  std::vector<TUniListItem*> seen;
  lv->OnCompare = [&](TObject*, TListItem* a, TListItem* b, int, int& compare) {
    auto* wa = dynamic_cast<TUniListItem*>(a);
    auto* wb = dynamic_cast<TUniListItem*>(b);
    ASSERT_TRUE(wa && wb);
    seen.push_back(wa);
    compare = -lstrcmpW(wa->Caption().c_str(), wb->Caption().c_str());
  };
  lv->SetSortType(stBoth);
  EXPECT_FALSE(seen.empty());
  EXPECT_EQ((std::vector<WideString>{kJapanese, kGreek, L"latin"}), Captions(lv));
  lv->Items()->Item(2)->SetCaption(kJapanese + L"x");  // sorted again at once
  EXPECT_EQ(kJapanese + L"x", lv->Items()->Item(0)->Caption());
  EXPECT_EQ(kJapanese + L"x", ShownText(lv, 0, 0));
}

TEST_F(UniListViewTest, OwnerDataAnswersWideTextsAndFinds) {
  lv->SetOwnerData(true);
  lv->TCustomListView::OnData = [&](TObject*, TListItem* item) {
    auto* wide = static_cast<TUniListItem*>(item);
    wide->SetCaption(kJapanese + std::to_wstring(item->Index()));
    wide->SubItems()->Add(kGreek);
  };
  WideString sought;
  lv->OnDataFind = [&](TObject*, TItemFind, const WideString& text, POINT, void*, int, TSearchDirection, bool,
                       int& index) {
    sought = text;
    index = 1234;
  };
  lv->Items()->SetCount(100000);
  UpdateWindow(lv->Handle());
  EXPECT_EQ(kJapanese + L"99998", ShownText(lv, 99998, 0));
  EXPECT_EQ(kGreek, ShownText(lv, 5, 1));
  EXPECT_EQ(L"", ShownText(lv, 5, 2));
  EXPECT_EQ(kJapanese + L"7", lv->Items()->Item(7)->Caption());

  LVFINDINFOW find{};
  find.flags = LVFI_STRING;
  WideString text = kJapanese + L"1234";
  find.psz = text.c_str();
  EXPECT_EQ(1234, SendMessageW(lv->Handle(), LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
  EXPECT_EQ(text, sought);
}

TEST_F(UniListViewTest, EditingAndInfoTipsAreWide) {
  TUniListItem* item = AddRow(L"old", {});
  WideString seen;
  lv->OnEdited = [&](TObject*, TUniListItem* edited, WideString& s) {
    EXPECT_EQ(item, edited);
    seen = s;
    s += kGreek;
  };
  ASSERT_TRUE(item->EditCaption());
  HWND edit = reinterpret_cast<HWND>(SendMessageW(lv->Handle(), LVM_GETEDITCONTROL, 0, 0));
  ASSERT_TRUE(edit);
  SetWindowTextW(edit, kJapanese.c_str());
  SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(DispatchUntil([&] { return !seen.empty(); }));
  EXPECT_EQ(kJapanese, seen);
  EXPECT_EQ(kJapanese + kGreek, item->Caption());
  EXPECT_EQ(kJapanese + kGreek, ShownText(lv, 0, 0));

  lv->OnInfoTipWide = [&](TObject*, TUniListItem*, WideString& tip) { tip = kJapanese + kGreek; };
  wchar_t buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), L'#');
  NMLVGETINFOTIPW info{};
  info.hdr.hwndFrom = lv->Handle();
  info.hdr.code = LVN_GETINFOTIPW;
  info.pszText = buffer;
  info.cchTextMax = 4;
  info.iItem = 0;
  lv->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(kJapanese, WideString(buffer));
  EXPECT_EQ(L'#', buffer[4]);
}

TEST_F(UniListViewTest, ItemClassesMustBeWide) {
  lv->OnCreateItemClass = [](TCustomListView*, TListItemClass& cls) { cls = ListItemClassOf<TListItem>(); };
  try {
    lv->Items()->Add();
    FAIL() << "an 8-bit item class was accepted";
  } catch (const EUniInternalError& e) {
    EXPECT_STREQ("Internal Error: OnCreateItemClass.ItemClass must inherit from TUniListItem.", e.what());
  }
  EXPECT_EQ(0, lv->Items()->Count());
}

// Shows a list view with icons, check boxes and Japanese sub-items for a while when
// KAVO_LISTVIEW_SHOW_MS is set (to take a screenshot of it).
TEST_F(UniListViewTest, ShowcaseForAScreenshot) {
  const char* show = std::getenv("KAVO_LISTVIEW_SHOW_MS");
  auto* images = new TImageList(host.get());
  for (LPCSTR id : {IDI_INFORMATION, IDI_WARNING, IDI_ERROR}) {
    TIcon icon;
    icon.LoadSystemIcon(id);
    auto small = std::make_unique<TBitmap>();
    images->AddIcon(&icon);
  }
  lv->SetSmallImages(images);
  lv->SetCheckboxes(true);
  lv->SetRowSelect(true);
  lv->Column(0)->SetWidth(150);
  lv->Column(1)->SetWidth(140);
  lv->Column(2)->SetWidth(170);
  const WideString rows[][3] = {{L"video.mp4", L"\x6620\x50cf (video)", L"H.264 1280x720"},
                                {L"audio.m4a", L"\x97f3\x58f0 (audio)", L"AAC \x65e5\x672c\x8a9e"},
                                {L"subs.srt", L"\x5b57\x5e55 (sub)", kGreek}};
  int i = 0;
  for (const auto& row : rows) {
    TUniListItem* item = AddRow(row[0], {row[1], row[2]});
    item->SetImageIndex(i % 3);
    item->SetChecked(i != 1);
    ++i;
  }
  lv->OnCustomDrawItem = [](TCustomListView* sender, TListItem* item, TCustomDrawState, bool&) {
    sender->Canvas()->Brush()->SetColor(item->Index() % 2 ? TColor(0xFAE6D8) : clWindow);
  };
  lv->Invalidate();
  EXPECT_EQ(L"\x97f3\x58f0 (audio)", ShownText(lv, 1, 1));
  if (show) DispatchUntil([] { return false; }, static_cast<DWORD>(std::atoi(show)));
}

TEST_F(UniListViewTest, WideColumnsAndItemsAreStoredAndReadBack) {
  AddRow(kJapanese, {kGreek, L"x"});
  TMemoryStream stream;
  WriteComponent(&stream, lv);
  auto* copy = new TUniListView(host.get());
  stream.SetPosition(0);
  ReadComponent(&stream, copy, "listview");
  copy->SetParent(host.get());
  ASSERT_EQ(3, copy->Columns()->Count());
  EXPECT_EQ(kGreek, copy->Column(2)->Caption());
  EXPECT_EQ(kGreek, HeaderText(copy, 2));
  ASSERT_EQ(1, copy->Items()->Count());
  EXPECT_EQ(kJapanese, copy->Items()->Item(0)->Caption());
  EXPECT_EQ(kGreek, ShownText(copy, 0, 1));
  EXPECT_EQ(L"x", ShownText(copy, 0, 2));
}

TEST_F(UniListViewTest, OwnerDrawnItemsDrawTheirWideCaptions) {
  lv->SetOwnerDraw(true);
  AddRow(kJapanese, {});
  AddRow(L"???", {});  // what the 8-bit form of the first caption looks like
  RECT first{}, second{};
  ListView_GetItemRect(lv->Handle(), 0, &first, LVIR_BOUNDS);
  ListView_GetItemRect(lv->Handle(), 1, &second, LVIR_BOUNDS);
  RECT client{};
  GetClientRect(lv->Handle(), &client);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, client.right, client.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  SendMessageW(lv->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  int differing = 0, inked = 0;
  int height = std::min(first.bottom - first.top, second.bottom - second.top);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < 60; ++x) {
      COLORREF a = GetPixel(dc, x, first.top + y), b = GetPixel(dc, x, second.top + y);
      differing += a != b;
      inked += a != GetPixel(dc, 200, first.top + y);
    }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  EXPECT_GT(inked, 10) << "the first caption is drawn";
  EXPECT_GT(differing, 10) << "and not as its 8-bit form";
}

TEST(UniListViewParents, EachListViewGetsTheNotificationsItAsksFor) {
  std::unique_ptr<THostWindow> host(ShownHost(400, 300));
  auto* panel = new widetest::TWidePanel(host.get());  // a Unicode parent
  panel->SetBounds(0, 0, 400, 150);
  panel->SetParent(host.get());
  auto* plain = new TListView(host.get());
  plain->SetViewStyle(vsReport);
  plain->SetBounds(0, 0, 390, 140);
  plain->SetParent(panel);
  plain->Columns()->Add()->SetCaption("A");
  auto* wide = new TUniListView(host.get());  // and a Unicode list view in an 8-bit parent
  wide->SetViewStyle(vsReport);
  wide->SetBounds(0, 150, 390, 140);
  wide->SetParent(host.get());
  wide->Columns()->Add()->SetCaption(kGreek);
  plain->Items()->Add()->SetCaption("plain text");
  wide->Items()->Add()->SetCaption(kJapanese);

  EXPECT_EQ(0, SendMessageW(plain->Handle(), CCM_GETUNICODEFORMAT, 0, 0));
  EXPECT_EQ(1, SendMessageW(wide->Handle(), CCM_GETUNICODEFORMAT, 0, 0));
  EXPECT_EQ(NFR_ANSI, SendMessageW(panel->Handle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(plain->Handle()), NF_QUERY));
  EXPECT_EQ(NFR_UNICODE, SendMessageW(host->Handle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(wide->Handle()), NF_QUERY));
  // A parent asked again keeps each list view in its form.
  SendMessageW(plain->Handle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(panel->Handle()), NF_REQUERY);
  SendMessageW(wide->Handle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(host->Handle()), NF_REQUERY);
  EXPECT_EQ(0, SendMessageW(plain->Handle(), CCM_GETUNICODEFORMAT, 0, 0));
  EXPECT_EQ(1, SendMessageW(wide->Handle(), CCM_GETUNICODEFORMAT, 0, 0));
  EXPECT_EQ(L"plain text", ShownText(plain, 0, 0));
  EXPECT_EQ(kJapanese, ShownText(wide, 0, 0));
}

TEST_F(UniListViewTest, TheActionsHintReachesTheWideHint) {
  auto* action = new TAction(host.get());
  action->SetHint("first hint");
  lv->SetAction(action);
  EXPECT_NE(nullptr, dynamic_cast<TUniListViewActionLink*>(lv->ActionLink()));
  EXPECT_EQ(L"first hint", lv->Hint());
  action->SetHint("second hint");
  EXPECT_EQ(L"second hint", lv->Hint());
}

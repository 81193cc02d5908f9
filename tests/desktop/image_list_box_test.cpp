// The image list box on real windows: rows measured and drawn with wrapped text beside a
// picture, selection and double clicks through real messages, and the start page's
// lists read from a description.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "desktop/desktop_controls.h"
#include "desktop/image_list_box.h"
#include "tests/vcl/test_windows.h"
#include "vcl/forms.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"
#include "tests/support/forms.h"

using namespace testwin;

namespace {

constexpr COLORREF kPictureColors[] = {RGB(200, 30, 30), RGB(30, 160, 30), RGB(30, 30, 200)};

// An image list of 32-pixel squares, one plain colour each (with a one-pixel black frame).
TImageList* Pictures(TComponent* owner, int count = 3, int size = 32) {
  auto* list = new TImageList(owner, size, size);
  for (int i = 0; i < count; ++i) {
    TBitmap picture;
    picture.SetSize(size, size);
    TCanvas* c = picture.Canvas();
    c->Brush()->SetColor(clBlack);
    c->FillRect(RECT{0, 0, size, size});
    c->Brush()->SetColor(static_cast<TColor>(kPictureColors[i % 3]));
    c->FillRect(RECT{1, 1, size - 1, size - 1});
    list->Add(&picture, nullptr);
  }
  return list;
}

// What the list box paints, taken through WM_PRINTCLIENT into a bitmap of its client size.
class TRendered {
 public:
  explicit TRendered(HWND wnd) {
    RECT r;
    GetClientRect(wnd, &r);
    HDC screen = GetDC(nullptr);
    FDC = CreateCompatibleDC(screen);
    FBitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
    ReleaseDC(nullptr, screen);
    FOld = SelectObject(FDC, FBitmap);
    SendMessageA(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(FDC), PRF_CLIENT);
  }
  ~TRendered() {
    SelectObject(FDC, FOld);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
  }
  COLORREF At(int x, int y) const { return GetPixel(FDC, x, y); }
  // Whether any pixel of the rectangle has a colour other than background.
  bool AnyOtherThan(const RECT& r, COLORREF background) const {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (At(x, y) != background) return true;
    return false;
  }

 private:
  HDC FDC;
  HBITMAP FBitmap;
  HGDIOBJ FOld;
};

// The height of Text wrapped at Width in the control's font, as DrawText breaks it.
int WrappedHeight(TControl* control, const std::string& text, int width) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, control->Font()->Handle());
  RECT r{0, 0, width, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return r.bottom;
}

int LineHeight(TControl* control) { return WrappedHeight(control, "Xg", 1000); }

const char* kLongText = "Click to convert srt to ttxt subtitle format or vice versa. You can also transform x264VFW in AVI.";

struct ImageListBox : ::testing::Test {
  std::unique_ptr<THostWindow> host{ShownHost(420, 320)};
  TImageList* pictures = Pictures(host.get());
  TdkImageListBox* list = MakeList();

  TdkImageListBox* MakeList() {
    auto* l = new TdkImageListBox(host.get());
    l->SetParent(host.get());
    l->SetBounds(8, 8, 260, 280);
    return l;
  }
  int RowHeight(int index) const {
    return static_cast<int>(SendMessageA(list->Handle(), LB_GETITEMHEIGHT, static_cast<WPARAM>(index), 0));
  }
  RECT Row(int index) const { return list->ItemRect(index); }
  // The text column of a row as the control draws it.
  int TextColumnWidth(int index) const {
    RECT r = Row(index);
    return r.right - r.left - 2 - 2 * list->Margin() - (list->ImageList() ? pictures->Width() + list->Spacing() : 0);
  }
};

TEST_F(ImageListBox, StartsAsTheDescriptionDefaultsSayAndAlwaysMeasuresEachRow) {
  EXPECT_EQ(list->Style(), lbOwnerDrawVariable);
  EXPECT_EQ(list->Margin(), 2);
  EXPECT_EQ(list->Spacing(), 4);
  EXPECT_EQ(list->ImageLayout(), tlCenter);
  EXPECT_TRUE(list->ImageListAsIcon());
  EXPECT_FALSE(list->HideSelection());
  EXPECT_FALSE(list->ImageIndexByObject());
  EXPECT_TRUE(GetWindowLongPtrA(list->Handle(), GWL_STYLE) & LBS_OWNERDRAWVARIABLE);
}

TEST_F(ImageListBox, RowsAreAsTallAsTheirWrappedTextOrTheirPicturePlusTheMargins) {
  list->SetImageList(pictures);
  list->SetMargin(10);
  list->SetSpacing(8);
  list->Items()->Add("Short.");
  list->Items()->Add(kLongText);
  int wrapped = WrappedHeight(list, kLongText, TextColumnWidth(1));
  ASSERT_GE(wrapped, 2 * LineHeight(list));  // the fixture really wraps
  EXPECT_EQ(RowHeight(0), 32 + 2 * 10);       // one line beside a taller picture
  EXPECT_EQ(RowHeight(1), wrapped + 2 * 10);

  // Without pictures the text takes the whole row.
  list->SetImageList(nullptr);
  EXPECT_EQ(RowHeight(0), LineHeight(list) + 20);
  EXPECT_EQ(RowHeight(1), WrappedHeight(list, kLongText, TextColumnWidth(1)) + 20);
}

// The row is measured in the width it is drawn in: the client width less the reading-edge
// shift, also after a scroll bar took some of it or the control was resized.
TEST_F(ImageListBox, WrappedRowsFollowTheWidthTheyAreDrawnIn) {
  list->SetImageList(pictures);
  list->SetMargin(10);
  list->SetSpacing(8);
  for (int i = 0; i < 8; ++i) list->Items()->Add(kLongText);
  ASSERT_TRUE(GetWindowLongPtrA(list->Handle(), GWL_STYLE) & WS_VSCROLL);
  SCROLLBARINFO bar{sizeof bar};
  GetScrollBarInfo(list->Handle(), OBJID_VSCROLL, &bar);
  ASSERT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);  // the rows need a scroll bar
  for (int width : {260, 200, 330}) {
    list->SetWidth(width);
    for (int i = 0; i < list->Count(); ++i)
      EXPECT_EQ(RowHeight(i), std::max(32, WrappedHeight(list, kLongText, TextColumnWidth(i))) + 20) << "width " << width;
  }
}

TEST_F(ImageListBox, DrawsThePictureByLayoutAndTheSelectionUnlessHidden) {
  list->SetImageList(pictures);
  list->SetColor(static_cast<TColor>(RGB(250, 230, 216)));
  list->SetMargin(4);
  list->Items()->Add(kLongText);  // a row taller than its picture
  list->Items()->Add("Second");
  const COLORREF back = RGB(250, 230, 216);
  RECT row = Row(0);
  int inner = row.bottom - row.top - 8;
  ASSERT_GT(inner, 32);
  int left = row.left + 2 + 4;
  struct Case {
    TTextLayout layout;
    int top;
  } cases[] = {{tlTop, row.top + 4}, {tlCenter, row.top + 4 + (inner - 32) / 2}, {tlBottom, row.bottom - 4 - 32}};
  for (const Case& c : cases) {
    list->SetImageLayout(c.layout);
    TRendered shot(list->Handle());
    EXPECT_EQ(shot.At(left + 5, c.top + 5), kPictureColors[0]) << c.layout;
    EXPECT_EQ(shot.At(left + 5, c.top - 1), back) << c.layout;
    EXPECT_EQ(shot.At(left + 5, c.top + 32), back) << c.layout;
  }
  // The text stands in its column: ink right of the picture, none in the spacing.
  {
    TRendered shot(list->Handle());
    EXPECT_TRUE(shot.AnyOtherThan(RECT{left + 32 + 4, row.top + 4, row.right - 4, row.top + 4 + LineHeight(list)}, back));
    EXPECT_FALSE(shot.AnyOtherThan(RECT{left + 32, row.top, left + 32 + 4, row.bottom}, back));
  }

  list->SetItemIndex(1);
  SetFocus(list->Handle());
  RECT second = Row(1);
  COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  {
    TRendered shot(list->Handle());
    EXPECT_EQ(shot.At(second.right - 10, second.top + 3), highlight);
    EXPECT_TRUE(shot.AnyOtherThan(RECT{second.right - 12, second.top, second.right - 8, second.top + 1}, highlight))
        << "the focus rectangle's dots";
  }
  list->SetHideSelection(true);
  {
    TRendered shot(list->Handle());
    EXPECT_EQ(shot.At(second.right - 10, second.top + 3), back);
    EXPECT_EQ(shot.At(second.right - 10, second.top), back);
    EXPECT_EQ(shot.At(second.right - 11, second.top), back);
  }
}

TEST_F(ImageListBox, PicturesByObjectAndOutOfRangeIndexesKeepTheTextColumn) {
  list->SetImageList(pictures);
  list->SetImageListAsIcon(false);
  list->SetImageIndexByObject(true);
  list->Items()->AddObject("none given", nullptr);                                         // picture 0
  list->Items()->AddObject("third", reinterpret_cast<TObject*>(std::intptr_t{2}));         // picture 2
  list->Items()->AddObject("beyond", reinterpret_cast<TObject*>(std::intptr_t{1000}));     // no picture
  EXPECT_EQ(list->GetImageIndex(0), 0);
  EXPECT_EQ(list->GetImageIndex(1), 2);
  EXPECT_EQ(list->GetImageIndex(7), -1);
  const COLORREF back = GetSysColor(COLOR_WINDOW);
  TRendered shot(list->Handle());
  auto pictureAt = [&](int index) {
    RECT r = Row(index);
    return shot.At(r.left + 2 + 2 + 10, r.top + 2 + 10);
  };
  EXPECT_EQ(pictureAt(0), kPictureColors[0]);
  EXPECT_EQ(pictureAt(1), kPictureColors[2]);
  EXPECT_EQ(pictureAt(2), back);
  RECT r = Row(2);
  EXPECT_FALSE(shot.AnyOtherThan(RECT{r.left, r.top, r.left + 2 + 2 + 32 + 4, r.bottom}, back));
  EXPECT_TRUE(shot.AnyOtherThan(RECT{r.left + 2 + 2 + 32 + 4, r.top, r.right, r.bottom}, back));
}

TEST_F(ImageListBox, MarginAndSpacingAreNeverNegativeAndOnlyAChangeMakesANewWindow) {
  list->Items()->Add("row");
  HWND first = list->Handle();
  list->SetMargin(-5);
  EXPECT_EQ(list->Margin(), 0);
  HWND second = list->WindowHandle();
  EXPECT_NE(second, first);
  list->SetMargin(0);
  list->SetSpacing(-1);
  list->SetSpacing(0);
  EXPECT_EQ(list->Spacing(), 0);
  list->SetImageLayout(tlBottom);  // painting only
  EXPECT_EQ(list->Count(), 1);
  EXPECT_EQ(RowHeight(0), LineHeight(list));
  list->SetSpacing(0);
  HWND third = list->WindowHandle();
  list->SetSpacing(0);
  list->SetHideSelection(true);
  EXPECT_EQ(list->WindowHandle(), third);
}

TEST_F(ImageListBox, AFreedImageListIsLetGoAndAnEmptyFocusedListOnlyFillsTheFocusRow) {
  list->Items()->Add("row");
  list->SetImageList(pictures);
  int tall = RowHeight(0);
  delete pictures;
  EXPECT_EQ(list->ImageList(), nullptr);
  EXPECT_LT(RowHeight(0), tall);  // measured again without the pictures

  list->Items()->Clear();
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
  EXPECT_EQ(list->Canvas()->CurrentHandle(), nullptr);
}

TEST_F(ImageListBox, AClickSelectsAndADoubleClickReachesTheHandlerWithTheRow) {
  list->SetImageList(pictures);
  list->Items()->Add(kLongText);
  list->Items()->Add("Click to join supported files.");
  std::vector<std::string> seen;
  list->OnClick = [&](TObject*) { seen.push_back("click " + std::to_string(list->ItemIndex())); };
  list->OnDblClick = [&](TObject*) { seen.push_back("double " + std::to_string(list->ItemIndex())); };
  RECT r = Row(1);
  LPARAM at = MAKELPARAM(r.left + 60, (r.top + r.bottom) / 2);
  PostMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
  PostMessageA(list->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(DispatchUntil([&] { return seen.size() >= 2; }));
  EXPECT_EQ(seen, (std::vector<std::string>{"click 1", "double 1"}));
  EXPECT_EQ(list->ItemIndex(), 1);
}

// --- the start page's lists as its description stores them

const char* kStartPage = R"(object StartPage: TStartPage
  Left = 0
  Top = 0
  Width = 600
  Height = 300
  object ImageList1: TImageList
    Height = 32
    Width = 32
  end
  object CreationList: TdkImageListBox
    Left = 8
    Top = 8
    Width = 300
    Height = 200
    About = 'design text'
    Color = 16443096
    Font.Height = -11
    Font.Name = 'Tahoma'
    ImageList = ImageList1
    Items.Strings = (
      'Click to create an MP4 File with multiple audio, video, subtitles and chapters streams.'
      'Click to create a 3GP File according to the 3GPP standardization scheme.')
    Margin = 10
    Spacing = 8
    OnDblClick = CreationListDblClick
  end
end
)";

class TStartPage : public TForm {
  VCL_CLASS(TStartPage)
 public:
  using TForm::TForm;
  std::vector<int> chosen;
  void CreationListDblClick(TObject* Sender) { chosen.push_back(static_cast<TdkImageListBox*>(Sender)->ItemIndex()); }
};
const TClassMembers& StartPageMembers() {
  static const TClassMembers m =
      TMemberTable<TStartPage>().Handler("CreationListDblClick", &TStartPage::CreationListDblClick).Table();
  return m;
}
VCL_CLASS_IMPL_MEMBERS(TStartPage, TForm, nullptr, nullptr, &StartPageMembers)


TEST(ImageListBoxStreaming, TheStartPageListIsReadWithItsPicturesAndHandlerAndWrittenWithoutDefaults) {
  RegisterDesktopControls();
  RegisterImageLists();
  std::unique_ptr<TForm, FormFree> page(TCustomForm::CreateNew<TStartPage>(nullptr));
  ReadComponentData(kStartPage, std::strlen(kStartPage), page.get(), "start.dfm");
  auto* list = dynamic_cast<TdkImageListBox*>(page->FindComponent("CreationList"));
  auto* images = dynamic_cast<TImageList*>(page->FindComponent("ImageList1"));
  ASSERT_TRUE(list && images);
  EXPECT_EQ(list->ImageList(), images);
  EXPECT_EQ(list->Margin(), 10);
  EXPECT_EQ(list->Spacing(), 8);
  EXPECT_EQ(list->Color(), static_cast<TColor>(0xFAE6D8));
  EXPECT_EQ(list->Style(), lbOwnerDrawVariable);
  ASSERT_EQ(list->Count(), 2);

  page->SetBorderStyle(bsNone);
  page->Show();
  list->SetItemIndex(0);
  list->SetWidth(list->Width() + 5);  // what start-up does
  RECT r = list->ItemRect(1);
  LPARAM at = MAKELPARAM(r.left + 50, r.top + 5);
  PostMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
  PostMessageA(list->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
  auto* start = static_cast<TStartPage*>(page.get());
  EXPECT_TRUE(DispatchUntil([&] { return !start->chosen.empty(); }));
  EXPECT_EQ(start->chosen, std::vector<int>{1});

  TMemoryStream stream;
  WriteComponent(&stream, page.get());
  std::string written(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  // Property names stand in the binary description behind their length.
  auto named = [](const std::string& name) { return static_cast<char>(name.size()) + name; };
  for (const char* absent : {"About", "Style", "ImageLayout", "HideSelection", "ImageListAsIcon"})
    EXPECT_EQ(written.find(named(absent)), std::string::npos) << absent;
  for (const char* present : {"Spacing", "Margin", "ImageList", "OnDblClick"})
    EXPECT_NE(written.find(named(present)), std::string::npos) << present;
}

// Three task lists as the start page shows them, with 32-pixel pictures and two-line texts.
// KAVO_HOLD_MS keeps them on screen that long for a screenshot.
TEST(ImageListBoxLook, ThreeTaskListsShowEveryWrappedLineWhole) {
  std::unique_ptr<THostWindow> host{ShownHost(760, 300)};
  TImageList* pictures = Pictures(host.get());
  const std::vector<std::vector<std::string>> texts = {
      {"Click to create an MP4 File with multiple audio, video, subtitles and chapters streams.",
       "Click to create a 3GP File according to the 3GPP standardization scheme."},
      {"Cliquez pour d\xE9" "couper des fichiers MP4/M4A/MOV/3GP.", "Cliquez pour joindre des fichiers pris en charge.",
       "Cliquez pour extraire des flux de fichiers AVI/MP4/MOV/TS.",
       "Cliquez pour convertir les sous-titres srt en ttxt ou l'inverse. Vous pouvez aussi transformer x264VFW.",
       "Cliquez pour \xE9" "crire/effacer les \xE9" "tiquettes des fichiers MP4/3GP."},
      {"Advanced Settings for Kavo and tools used by this GUI (MP4Box and AtomicParsley)."}};
  std::vector<TdkImageListBox*> lists;
  for (size_t i = 0; i < texts.size(); ++i) {
    auto* l = new TdkImageListBox(host.get());
    l->SetParent(host.get());
    l->SetBounds(8 + static_cast<int>(i) * 250, 8, 240, 284);
    l->SetColor(static_cast<TColor>(0xFAE6D8));
    l->Font()->SetHeight(-11);
    l->SetImageList(pictures);
    l->SetMargin(10);
    l->SetSpacing(8);
    for (const std::string& t : texts[i]) l->Items()->Add(t);
    l->SetItemIndex(0);
    lists.push_back(l);
  }
  for (TdkImageListBox* l : lists) {
    RECT client;
    GetClientRect(l->Handle(), &client);
    for (int i = 0; i < l->Count(); ++i) {
      RECT r = l->ItemRect(i);
      int column = r.right - r.left - 2 - 20 - 32 - 8;
      EXPECT_EQ(r.bottom - r.top, std::max(32, WrappedHeight(l, l->Items()->Get(i), column)) + 20) << l->Items()->Get(i);
    }
  }
  EXPECT_GE(lists[0]->ItemRect(0).bottom - lists[0]->ItemRect(0).top, 2 * LineHeight(lists[0]) + 20);
  // Below the last row the list shows its own colour, not its parent's.
  RECT last = lists[2]->ItemRect(0);
  HDC dc = GetDC(lists[2]->Handle());
  SendMessageA(lists[2]->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(GetPixel(dc, 20, last.bottom + 10), static_cast<COLORREF>(0xFAE6D8));
  ReleaseDC(lists[2]->Handle(), dc);
  if (const char* hold = std::getenv("KAVO_HOLD_MS")) DispatchUntil([] { return false; }, std::atoi(hold));
}

}  // namespace

// The file list view over a real folder: filling, sorting by every column, masks and
// attributes, what the rows show, navigation and the keyboard.
#include "tests/explorer/file_list_fixture.h"

#include <algorithm>

#include "explorer/explorer_state.h"
#include "explorer/shell_dir_tree.h"

using namespace explorer_test;

namespace {

const std::wstring kUp = L" Up one level";

bool HasArrow(int Format) { return (Format & (HDF_SORTUP | HDF_SORTDOWN | HDF_BITMAP)) != 0; }

}  // namespace

TEST_F(FileListTest, FreshViewShowsTheDrivesUnsorted) {
  ASSERT_EQ(View->Directory(), L"My Computer");
  View->UpdateFileList();
  ASSERT_GT(Count(), 0);
  EXPECT_FALSE(View->FileColumnsShown());
  std::vector<std::wstring> titles;
  for (int i = 0; i < View->Columns()->Count(); ++i) titles.push_back(View->Column(i)->Caption());
  EXPECT_EQ(titles, (std::vector<std::wstring>{L"Name", L"Type", L"Disk Size", L"Free Space", L"Attr"}));
  // Letter order, which a header click does not change; no context menu over the drives.
  std::vector<std::wstring> before = Captions();
  EXPECT_NE(before.front().find(L":)"), std::wstring::npos);
  EXPECT_TRUE(std::is_sorted(before.begin(), before.end()));
  ClickHeader(1);
  EXPECT_EQ(Captions(), before);
  EXPECT_FALSE(View->PopupMenu() && View->PopupMenu()->AutoPopup());
  int c = RowNamed(before.front());
  EXPECT_EQ(Text(c, 1), L"Fixed Disk");
  EXPECT_NE(Text(c, 2).find(L" Mb"), std::wstring::npos);
}

TEST_F(FileListTest, FolderShowsParentThenFoldersThenFilesByName) {
  View->SetDirectory(Temp.Path());
  EXPECT_EQ(View->Directory(), Temp.Path() + L"\\");
  EXPECT_TRUE(View->FileColumnsShown());
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{kUp, L"a.b", L"Zeta", L"alpha.MP4", L"beta.m4a", L"notes.txt",
                                                   L"Ελληνικά.m4a", L"日本語の歌.mp4"}));
  EXPECT_EQ(View->Row(0).Name, L"..");
  // The parent entry shows its own icon; every other row one of the shell's.
  LVITEMW it{};
  it.mask = LVIF_IMAGE;
  it.iItem = 0;
  SendMessageW(Wnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
  EXPECT_EQ(it.iImage, View->ParentImageIndex());
  EXPECT_GE(View->ParentImageIndex(), 0);
  int greek = RowNamed(L"Ελληνικά.m4a");
  it.iItem = greek;
  SendMessageW(Wnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
  EXPECT_GE(it.iImage, 0);
  EXPECT_NE(it.iImage, View->ParentImageIndex());
  // Columns of a file row, and the data columns behind them.
  EXPECT_EQ(Text(greek, 1), L"2 KB");  // whole KB, as SizeText counts them
  EXPECT_FALSE(Text(greek, 2).empty());
  EXPECT_NE(Text(greek, 3).find(L"2020"), std::wstring::npos);
  EXPECT_EQ(Text(RowNamed(L"日本語の歌.mp4"), 4), L"AR");
  EXPECT_EQ(Text(greek, 5), Temp.Sub(L"Ελληνικά.m4a"));
  EXPECT_EQ(Text(greek, 6), L"file");
  EXPECT_EQ(Text(RowNamed(L"Zeta"), 1), L" ");
  EXPECT_EQ(Text(0, 2), L" ");
}

TEST_F(FileListTest, HeaderClicksSortEveryColumn) {
  const std::wstring greek = L"Ελληνικά.m4a", japanese = L"日本語の歌.mp4";
  struct Case {
    int column;
    int clicks;
    std::vector<std::wstring> order;  // empty: checked by the column's own order below
  } cases[] = {
      {0, 1, {kUp, japanese, greek, L"notes.txt", L"beta.m4a", L"alpha.MP4", L"Zeta", L"a.b"}},
      {0, 2, {kUp, L"a.b", L"Zeta", L"alpha.MP4", L"beta.m4a", L"notes.txt", greek, japanese}},
      {1, 1, {kUp, L"alpha.MP4", greek, L"notes.txt", japanese, L"beta.m4a"}},
      {1, 2, {kUp, L"?", L"?", L"beta.m4a", japanese, L"notes.txt", greek, L"alpha.MP4"}},
      {3, 1, {kUp, L"beta.m4a", L"notes.txt", greek, L"alpha.MP4", japanese, L"a.b", L"Zeta"}},
      {3, 2, {kUp, L"Zeta", L"a.b", japanese, L"alpha.MP4", greek, L"notes.txt", L"beta.m4a"}},
      {2, 1, {}},
      {2, 2, {}},
      {4, 1, {}},
      {4, 2, {}},
  };
  View->SetDirectory(Temp.Path());
  for (const Case& c : cases) {
    SCOPED_TRACE("column " + std::to_string(c.column) + ", clicks " + std::to_string(c.clicks));
    View->UpdateFileList();  // back to ascending names
    for (int i = 0; i < c.clicks; ++i) ClickHeader(c.column);
    EXPECT_EQ(View->SortColumn(), c.column);
    EXPECT_EQ(View->SortDescending(), c.clicks == 1);
    std::vector<std::wstring> shown = Captions();
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_EQ(shown[0], kUp);
    for (size_t i = 0; i < c.order.size(); ++i) {
      if (c.order[i] != L"?") {
        EXPECT_EQ(shown[i], c.order[i]) << "row " << i;
      }
    }
    if (c.order.empty()) {
      // Folders lead ascending and trail descending; the files follow the column's text.
      bool descending = c.clicks == 1;
      std::vector<std::wstring> fileTexts;
      for (int r = 1; r < 8; ++r)
        if (Text(r, 6) == L"file") fileTexts.push_back(Text(r, c.column == 2 ? 2 : 4));
      ASSERT_EQ(fileTexts.size(), 5u);
      for (size_t i = 1; i < fileTexts.size(); ++i) {
        int cmp = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, fileTexts[i - 1].c_str(), -1,
                                 fileTexts[i].c_str(), -1) - CSTR_EQUAL;
        if (c.column == 2) cmp = lstrcmpiW(fileTexts[i - 1].c_str(), fileTexts[i].c_str());
        EXPECT_TRUE(descending ? cmp >= 0 : cmp <= 0) << "file " << i;
      }
      EXPECT_EQ(Text(descending ? 6 : 1, 6), L"dir");
    }
    for (int col = 0; col < 5; ++col) EXPECT_EQ(HasArrow(HeaderFormat(col)), col == c.column) << "arrow " << col;
  }
}

TEST_F(FileListTest, EndOfDividerDragBringsTheArrowBackInBothForms) {
  View->SetDirectory(Temp.Path());
  ClickHeader(3);
  ASSERT_TRUE(HasArrow(HeaderFormat(3)));
  for (UINT code : {static_cast<UINT>(HDN_ENDTRACKA), static_cast<UINT>(HDN_ENDTRACKW)}) {
    HDITEMW hd{};
    hd.mask = HDI_FORMAT;
    hd.fmt = HDF_STRING | HDF_LEFT;
    SendMessageW(Header(), HDM_SETITEMW, 3, reinterpret_cast<LPARAM>(&hd));
    ASSERT_FALSE(HasArrow(HeaderFormat(3)));
    HDITEMW width{};
    width.mask = HDI_WIDTH;
    width.cxy = 140;
    NMHEADERW n{};
    n.hdr.hwndFrom = Header();
    n.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Header()));
    n.hdr.code = code;
    n.iItem = 3;
    n.pitem = &width;
    SendMessageW(Wnd(), WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
    EXPECT_TRUE(HasArrow(HeaderFormat(3))) << (code == static_cast<UINT>(HDN_ENDTRACKA) ? "A form" : "W form");
  }
}

TEST_F(FileListTest, MasksAndFilters) {
  View->SetDirectory(Temp.Path());
  View->SetMask(L" *.m4a;*.TXT ");
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{kUp, L"a.b", L"Zeta", L"beta.m4a", L"notes.txt", L"Ελληνικά.m4a"}));
  View->SetMask(L"   ");
  EXPECT_EQ(Count(), 8);
  View->SetMask(L"*.mp4;*.MP4");  // named twice, listed twice
  EXPECT_EQ(Count(), 3 + 4);
  View->SetMask(L"*.*");
  View->SetShowFolders(false);
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"alpha.MP4", L"beta.m4a", L"notes.txt", L"Ελληνικά.m4a",
                                                   L"日本語の歌.mp4"}));
  View->SetShowFolders(true);
  View->SetParentDirEnabled(false);
  View->UpdateFileList();
  EXPECT_EQ(RowNamed(kUp), -1);
  View->SetParentDirEnabled(true);
  // Without ftHidden the hidden file is left out; without ftSystem the system one.
  View->SetFileType(FileTypeOf({ftReadOnly, ftSystem, ftArchive}));
  EXPECT_EQ(RowNamed(L"beta.m4a"), -1);
  EXPECT_NE(RowNamed(L"notes.txt"), -1);
  View->SetFileType(FileTypeOf({ftReadOnly, ftHidden, ftArchive}));
  EXPECT_EQ(RowNamed(L"notes.txt"), -1);
  EXPECT_NE(RowNamed(L"beta.m4a"), -1);
}

TEST_F(FileListTest, CaptionsAndSizesFollowTheDisplayOptions) {
  Temp.MakeFile(L"report.txt", 1024);
  View->SetDirectory(Temp.Path());
  View->SetHideFileExt(true);
  View->SetFileSize(fsByte);
  View->UpdateFileList();
  EXPECT_NE(RowNamed(L"report"), -1);
  EXPECT_NE(RowNamed(L"a"), -1);  // the folder a.b
  EXPECT_EQ(Text(0, 0), kUp);
  EXPECT_EQ(Text(RowNamed(L"report"), 1), L"1024");
  EXPECT_EQ(Text(RowNamed(L"a"), 1), L" ");
  View->SetParentDirCaption("  Parent  ");
  EXPECT_EQ(View->ParentDirCaption(), " Parent");
  View->UpdateFileList();
  EXPECT_EQ(Text(0, 0), L" Parent");
}

TEST_F(FileListTest, SizesOfBigFilesAndTheSelection) {
  const int64_t fiveGB = 5LL * 1024 * 1024 * 1024;
  for (const wchar_t* name : {L"big1.mp4", L"big2.mp4"}) {
    HANDLE f = CreateFileW(Temp.Sub(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = fiveGB;
    SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
    SetEndOfFile(f);
    CloseHandle(f);
  }
  View->SetDirectory(Temp.Path());
  EXPECT_EQ(View->SelectedNumber(), Count());  // nothing selected: all rows
  SelectNamed({L"big1.mp4", L"big2.mp4"});
  EXPECT_EQ(View->SelectedNumber(), 2);
  EXPECT_EQ(View->SelectedSize(), 2 * fiveGB);
  EXPECT_EQ(Text(RowNamed(L"big1.mp4"), 1), L"5242880 KB");
}

TEST_F(FileListTest, OpeningFoldersAndGoingBack) {
  Temp.MakeFile(L"Zeta\\inner.m4a", 5);
  View->SetDirectory(Temp.Path());
  std::wstring changed;
  View->OnItemChange = [&](TObject*, const WideString& Item) { changed = Item; };
  SelectNamed({L"Zeta"});
  View->OpenItem();
  EXPECT_EQ(View->Directory(), Temp.Sub(L"Zeta") + L"\\");
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{kUp, L"inner.m4a"}));
  // Back: the parent again, with the folder just left chosen.
  PressKey(VK_BACK);
  EXPECT_EQ(View->Directory(), Temp.Path() + L"\\");
  EXPECT_EQ(View->ItemIndex(), RowNamed(L"Zeta"));
  EXPECT_EQ(changed, Temp.Sub(L"Zeta"));
  // Moving with the arrows tells the new row.
  PressKey(VK_DOWN);
  EXPECT_EQ(changed, View->Row(View->ItemIndex()).FullPath);
  // At a drive's root, back shows the drives; there, back does nothing.
  View->SetDirectory(L"C:\\");
  PressKey(VK_BACK);
  EXPECT_EQ(View->Directory(), L"My Computer");
  PressKey(VK_BACK);
  EXPECT_EQ(View->Directory(), L"My Computer");
  // A folder that does not exist is ignored.
  View->SetDirectory(Temp.Path());
  View->SetDirectory(Temp.Sub(L"missing"));
  EXPECT_EQ(View->Directory(), Temp.Path() + L"\\");
}

TEST_F(FileListTest, DoubleClickWithoutOpeningStillGoesUp) {
  View->SetDirectory(Temp.Sub(L"Zeta"));
  View->SetOpenByDblClick(false);
  Select({0});
  SendMessageW(Wnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 30));
  Application->ProcessMessages();
  EXPECT_EQ(View->Directory(), Temp.Path() + L"\\");
}

TEST_F(FileListTest, ParentIconIsVerifiedAgainstTheRegistry) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Kavo\\Explorer", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  DWORD wrong = 0;  // the shell's first icon, not the parent bitmap
  RegSetValueExW(key, L"ParentImgIdx", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&wrong), sizeof wrong);
  auto* second = new TShFileListView(Form.get());
  DWORD stored = 0, size = sizeof stored;
  RegQueryValueExW(key, L"ParentImgIdx", nullptr, nullptr, reinterpret_cast<BYTE*>(&stored), &size);
  RegCloseKey(key);
  EXPECT_NE(second->ParentImageIndex(), 0);
  EXPECT_EQ(static_cast<int>(stored), second->ParentImageIndex());
  // A view made now finds the stored index good and keeps it.
  auto* third = new TShFileListView(Form.get());
  EXPECT_EQ(third->ParentImageIndex(), second->ParentImageIndex());
  delete third;
  delete second;
}

TEST_F(FileListTest, LanguageResolvesTheSystemDefault) {
  View->SetLanguage(lnSysDefault);
  EXPECT_NE(View->Language(), lnSysDefault);
  View->SetLanguage(lnGerman);
  View->SetDirectory(Temp.Path());
  EXPECT_EQ(ExplorerLanguage(), lnGerman);
  EXPECT_EQ(View->Column(0)->Caption(), AnsiToWide(ExplorerText(lnGerman, etName)));
  View->SetLanguage(lnEnglish);
}

TEST_F(FileListTest, RowsAreColouredByTheirAttributes) {
  View->SetDirectory(Temp.Path());
  auto colourOf = [&](const std::wstring& Caption) {
    NMLVCUSTOMDRAW cd{};
    cd.nmcd.hdr.hwndFrom = Wnd();
    cd.nmcd.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Wnd()));
    cd.nmcd.hdr.code = NM_CUSTOMDRAW;
    cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(RowNamed(Caption));
    cd.clrText = RGB(1, 2, 3);
    SendMessageW(Form->Handle(), WM_NOTIFY, cd.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&cd));
    return cd.clrText;
  };
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_EQ(colourOf(L"notes.txt"), text);  // off: every row in the window text colour
  View->SetLItemColorByATTR(true);
  struct Case {
    const wchar_t* name;
    COLORREF colour;
  } cases[] = {{L"alpha.MP4", RGB(0, 0, 0)},                   // archive
               {L"beta.m4a", GetSysColor(COLOR_GRAYTEXT)},      // hidden
               {L"日本語の歌.mp4", RGB(0, 0x80, 0x80)},          // read-only
               {L"notes.txt", RGB(0xFF, 0, 0)},                 // system
               {L"Zeta", ColorToRGB(View->Font()->Color())}};  // none of them
  for (const auto& c : cases) EXPECT_EQ(colourOf(c.name), c.colour) << c.name;
}

TEST_F(FileListTest, RowsDraggedOntoTheLinkedTreeAreCopiedThere) {
  auto* tree = new TShDirTree(Form.get());
  tree->SetParent(Form.get());
  tree->SetAlign(alLeft);
  tree->SetWidth(200);
  View->SetDirTree(tree);
  EXPECT_EQ(tree->FileList(), View);
  tree->OpenPathW(Temp.Sub(L"Zeta"));
  View->SetDirectory(Temp.Path());
  SelectNamed({L"Ελληνικά.m4a", L"日本語の歌.mp4"});
  ExplorerShared().DragMode = kCopyMode;
  // Over the tree's selected node (Zeta), in the list's client coordinates.
  HTREEITEM node = TreeView_GetSelection(tree->Handle());
  ASSERT_TRUE(node);
  RECT r{};
  *reinterpret_cast<HTREEITEM*>(&r) = node;
  SendMessageW(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
  POINT drop{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  MapWindowPoints(tree->Handle(), Wnd(), &drop, 1);
  RECT row{LVIR_LABEL};
  SendMessageW(Wnd(), LVM_GETITEMRECT, RowNamed(L"Ελληνικά.m4a"), reinterpret_cast<LPARAM>(&row));
  POINT press{row.left + 4, (row.top + row.bottom) / 2};

  // The window reports a drag at its own distance; the rows go only 10 pixels further on.
  const int cx = GetSystemMetrics(SM_CXDRAG), cy = GetSystemMetrics(SM_CYDRAG);
  struct Case {
    int dx, dy;
    bool dragged;
  } cases[] = {{cx + 9, 0, false}, {0, cy + 9, false}, {-(cx + 9), -(cy + 9), false}, {cx + 10, 0, true}};
  for (const Case& c : cases) {
    PostMessageW(Wnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(press.x + c.dx, press.y + c.dy));
    PostMessageW(Wnd(), WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
    NMLISTVIEW begin{};
    begin.hdr.hwndFrom = Wnd();
    begin.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Wnd()));
    begin.hdr.code = LVN_BEGINDRAG;
    begin.iItem = RowNamed(L"Ελληνικά.m4a");
    begin.ptAction = press;
    SendMessageW(Form->Handle(), WM_NOTIFY, begin.hdr.idFrom, reinterpret_cast<LPARAM>(&begin));
    EXPECT_EQ(Exists(Temp.Sub(L"Zeta\\Ελληνικά.m4a")), c.dragged) << c.dx << " " << c.dy;
    EXPECT_EQ(Exists(Temp.Sub(L"Zeta\\日本語の歌.mp4")), c.dragged) << c.dx << " " << c.dy;
    EXPECT_EQ(GetCapture(), nullptr);
  }
  EXPECT_TRUE(Exists(Temp.Sub(L"Ελληνικά.m4a")));  // copied, not moved
  View->SetDirTree(nullptr);
  EXPECT_EQ(tree->FileList(), nullptr);
}

TEST_F(FileListTest, RefreshLeavesNoRowChosenAndFocusesTheFirst) {
  View->SetDirectory(Temp.Path());
  std::vector<int> changed;
  View->OnChange = [&changed](TObject*, TListItem* Item, TItemChange) { changed.push_back(Item->Index()); };
  auto state = [this](int Row) {
    return static_cast<UINT>(SendMessageW(Wnd(), LVM_GETITEMSTATE, static_cast<WPARAM>(Row), LVIS_SELECTED | LVIS_FOCUSED));
  };
  struct Case {
    const char* what;
    std::vector<int> selected;  // the last one also has the focus
    int focusOnly;              // a row given the focus alone, or -1
  } cases[] = {
      {"rows selected", {2, 4}, -1},
      {"a row focused, none selected", {}, 5},
      {"no row focused", {}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Wnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    if (!c.selected.empty()) Select(c.selected);
    if (c.focusOnly >= 0) {
      LVITEMW it{};
      it.stateMask = it.state = LVIS_FOCUSED;
      SendMessageW(Wnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(c.focusOnly), reinterpret_cast<LPARAM>(&it));
    }
    changed.clear();
    View->UpdateFileList();
    ASSERT_EQ(Count(), 8);
    EXPECT_EQ(SendMessageW(Wnd(), LVM_GETSELECTEDCOUNT, 0, 0), 0);
    for (int r = 0; r < Count(); ++r) EXPECT_EQ(state(r), r == 0 ? LVIS_FOCUSED : 0u) << "row " << r;
    // The rows of the listing before are not reported: only the focus given to the first.
    EXPECT_EQ(changed, std::vector<int>{0});
  }
}

TEST_F(FileListTest, TypeNamesFollowTheRegistryFromOneListingToTheNext) {
  struct TClasses {  // an extension of our own, its class and the class's name
    TClasses() { Name(L"Kavo Clip"); }
    ~TClasses() {
      RegDeleteTreeW(HKEY_CLASSES_ROOT, L".kavoclip");
      RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Kavo.TestClip");
    }
    static void Set(const wchar_t* Key, const std::wstring& Text) {
      RegSetKeyValueW(HKEY_CLASSES_ROOT, Key, nullptr, REG_SZ, Text.c_str(),
                      static_cast<DWORD>((Text.size() + 1) * sizeof(wchar_t)));
    }
    void Name(const std::wstring& Text) {
      Set(L".kavoclip", L"Kavo.TestClip");
      Set(L"Kavo.TestClip", Text);
    }
  } classes;
  Temp.MakeFile(L"one.kavoclip");
  Temp.MakeFile(L"TWO.KAVOCLIP");
  auto types = [this] {
    return std::vector<std::wstring>{Text(RowNamed(L"one.kavoclip"), 2), Text(RowNamed(L"TWO.KAVOCLIP"), 2)};
  };
  View->SetDirectory(Temp.Path());
  EXPECT_EQ(types(), (std::vector<std::wstring>{L"Kavo Clip", L"Kavo Clip"}));

  classes.Name(L"Kavo Renamed Clip");
  View->UpdateFileList();
  EXPECT_EQ(types(), (std::vector<std::wstring>{L"Kavo Renamed Clip", L"Kavo Renamed Clip"}));

  RegDeleteTreeW(HKEY_CLASSES_ROOT, L".kavoclip");  // no class at all: the shell's own name
  View->UpdateFileList();
  std::vector<std::wstring> unknown = types();
  EXPECT_NE(unknown[0], L"Kavo Renamed Clip");
  EXPECT_FALSE(unknown[0].empty());
  EXPECT_EQ(unknown[1], unknown[0]);
}

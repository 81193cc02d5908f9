// The folder tree in a real window over a temporary folder tree: filling, selection by
// path, mouse and keys, renaming, new folders, deleting to the recycle bin and the shell's
// change notices.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "explorer/dir_tree_popup.h"
#include "explorer/explorer_state.h"
#include "explorer/file_list_view.h"
#include "explorer/shell_dir_tree.h"
#include "explorer/shell_routines.h"
#include "tests/explorer/dialog_answers.h"
#include "tests/explorer/temp_folders.h"
#include "tests/vcl/test_windows.h"
#include "vcl/application.h"
#include "vcl/threads.h"
#include "widetext/platform.h"

using namespace explorer_test;
using namespace testwin;

namespace {

TEST(DirTreeRules, FolderMaskTakesEachMembersOwnPlace) {
  struct Case {
    TFileType set;
    DWORD mask;
  } cases[] = {
      {FileTypeOf({ftReadOnly, ftSystem, ftDirectory, ftArchive, ftNormal}), 181},  // the program's tree
      {FileTypeOf({ftReadOnly, ftHidden, ftSystem, ftArchive}), 151},               // after Create
      {FileTypeOf({ftArchive}), 128 + 16},
      {FileTypeOf({ftNormal}), 16},
      {FileTypeOf({ftVolumeID}), 16},
      {FileTypeOf({ftDirectory}), 32 + 16},
  };
  for (const Case& c : cases) EXPECT_EQ(TShDirTree::FolderAttributeMask(c.set), c.mask) << c.set;

  struct Entry {
    DWORD attributes;
    const wchar_t* name;
    DWORD mask;
    bool wanted;
  } entries[] = {
      {FILE_ATTRIBUTE_DIRECTORY, L"Music", 181, true},
      {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, L"Secret", 181, false},
      {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, L"Secret", 151, true},
      {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE, L"Saved", 151, false},
      {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE, L"Saved", 181, true},
      {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM, L"Sys", 151, true},
      {FILE_ATTRIBUTE_ARCHIVE, L"file.mp4", 181, false},
      {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_COMPRESSED, L"Packed", 151, true},  // outside the tested bits
      {FILE_ATTRIBUTE_DIRECTORY, L".", 181, false},
      {FILE_ATTRIBUTE_DIRECTORY, L"..", 181, false},
  };
  for (const Entry& e : entries)
    EXPECT_EQ(TShDirTree::IsWantedFolder(e.attributes, e.name, e.mask), e.wanted) << e.attributes << " " << e.mask;

  EXPECT_EQ(TShDirTree::DriveNodeText(L'C', L"System (C:)"), L" (C:)  System ");
  EXPECT_EQ(TShDirTree::DriveNodeText(L'D', L" (D:)"), L" (D:)   ");
  EXPECT_EQ(TShDirTree::DriveNodeText(L'E', L"Backup"), L" (E:)  ");
}

// The window as the screen shows it, saved as a 24-bit bitmap file.
void SaveWindowShot(HWND Wnd, const char* FileName) {
  RECT r;
  GetWindowRect(Wnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  DWORD size = static_cast<DWORD>(((w * 3 + 3) & ~3) * h);
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader + size), 0, 0,
                      sizeof fh + sizeof bi.bmiHeader};
  HANDLE f = CreateFileA(FileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(f, &fh, sizeof fh, &written, nullptr);
  WriteFile(f, &bi.bmiHeader, sizeof bi.bmiHeader, &written, nullptr);
  WriteFile(f, bits, size, &written, nullptr);
  CloseHandle(f);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

WideString TextOf(TTreeNode* Node) { return static_cast<TUniTreeNode*>(Node)->Text(); }

TTreeNode* ChildNamed(TTreeNode* Parent, const WideString& Name) {
  for (TTreeNode* n = Parent ? Parent->getFirstChild() : nullptr; n; n = n->GetNextSibling())
    if (TextOf(n) == Name) return n;
  return nullptr;
}

std::vector<WideString> ChildNames(TTreeNode* Parent) {
  std::vector<WideString> names;
  for (TTreeNode* n = Parent->getFirstChild(); n; n = n->GetNextSibling()) names.push_back(TextOf(n));
  return names;
}

// A tree in a shown window over a temporary folder tree:
//   <temp>\Alpha\Child, <temp>\Ωμέγα, <temp>\日本語, <temp>\Hidden (hidden), <temp>\notes.txt
struct DirTree : ::testing::Test {
  DirTree() {
    InitApplication();
    alpha = temp.MakeFolder(L"Alpha");
    temp.MakeFolder(L"Alpha\\Child");
    temp.MakeFolder(L"Ωμέγα");
    temp.MakeFolder(L"日本語");
    std::wstring hidden = temp.MakeFolder(L"Hidden");
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    temp.MakeFile(L"notes.txt");

    host.reset(ShownHost(320, 480));
    tree = new TShDirTree(host.get());
    tree->SetParent(host.get());
    tree->SetBounds(0, 0, 320, 480);
    tree->SetFolderType(FileTypeOf({ftReadOnly, ftSystem, ftDirectory, ftArchive, ftNormal}));
    tree->OnDirChange = [this](TObject* Sender, const AnsiString& Path) {
      EXPECT_EQ(Sender, tree);
      EXPECT_EQ(GetCurrentThreadId(), MainThreadID);
      changes.push_back(Path);
    };
    tree->HandleNeeded();
    Flush();
  }
  ~DirTree() override {
    delete tree;
    host.reset();
  }

  // The temporary folder's node, reached through OpenPath.
  TTreeNode* OpenTemp() {
    tree->OpenPathW(temp.Path());
    return tree->Selected();
  }
  void ClickNode(TTreeNode* Node, WPARAM Keys = MK_LBUTTON) {
    RECT r = Node->DisplayRect(true);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(tree->Handle(), WM_LBUTTONDOWN, Keys, at);
    PostMessageA(tree->Handle(), WM_LBUTTONUP, Keys & ~MK_LBUTTON, at);
    Flush();
  }
  void PressKey(WORD Key) {
    SendMessageA(tree->Handle(), WM_KEYDOWN, Key, 1);
    SendMessageA(tree->Handle(), WM_KEYUP, Key, 0xC0000001);
    Flush();
  }
  // Edits the node's label to Text and ends the edit (Cancel: with Escape's answer).
  void EditLabel(TTreeNode* Node, const WideString& Text, bool Cancel = false) {
    ASSERT_TRUE(Node->EditText());
    ASSERT_TRUE(DispatchUntil([&] { return tree->EditHandle() != nullptr; }));
    SetWindowTextW(tree->EditHandle(), Text.c_str());
    Node->EndEdit(Cancel);
    Flush();
  }

  TTempFolder temp;
  std::wstring alpha;
  std::unique_ptr<THostWindow> host;
  TShDirTree* tree = nullptr;
  std::vector<AnsiString> changes;
};

TEST_F(DirTree, StartsWithTheRootAndFillsDrivesAndFoldersOnDemand) {
  EXPECT_EQ(tree->About(), "Version 2.1.8.6");
  EXPECT_EQ(tree->Language(), lnEnglish);
  EXPECT_TRUE(tree->NotifyWindow());
  EXPECT_NE(tree->ChangeNotifyHandle(), 0u);
  ASSERT_EQ(tree->Items()->Count(), 1);
  TTreeNode* root = tree->Items()->GetFirstNode();
  EXPECT_EQ(TextOf(root), L"My Computer");
  EXPECT_EQ(root->ImageIndex(), root->SelectedIndex());

  // Clicking the empty root brings the drives and selects "My Computer".
  ClickNode(root);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], "My Computer");
  EXPECT_EQ(tree->SelectedPath(), "My Computer");
  DWORD drives = GetLogicalDrives();
  int expected = 0;
  for (int i = 0; i < 26; ++i) expected += (drives >> i) & 1;
  ASSERT_EQ(root->Count(), expected);
  TTreeNode* c = root->getFirstChild();
  while (c && TextOf(c).substr(2, 2) != L"C:") c = c->GetNextSibling();
  ASSERT_TRUE(c);
  EXPECT_EQ(TextOf(c).substr(0, 7), L" (C:)  ");
  EXPECT_TRUE(c->HasChildren());
  EXPECT_EQ(tree->BuildNodePath(c), L"C:\\");
  EXPECT_EQ(c->ImageIndex(), SmallIconIndex(AnsiString("C:\\")));

  // A folder's children: sorted, hidden ones left out, expand buttons where folders are.
  TTreeNode* node = OpenTemp();
  ASSERT_TRUE(node);
  EXPECT_EQ(TextOf(node), ExtractFileNameOf(WideString(temp.Path())));
  std::vector<WideString> expectedNames{L"Alpha", L"Ωμέγα", L"日本語"};
  std::vector<WideString> names = ChildNames(node);
  std::sort(expectedNames.begin(), expectedNames.end(),
            [](const WideString& a, const WideString& b) { return lstrcmpW(a.c_str(), b.c_str()) < 0; });
  EXPECT_EQ(names, expectedNames);
  EXPECT_TRUE(ChildNamed(node, L"Alpha")->HasChildren());
  EXPECT_FALSE(ChildNamed(node, L"日本語")->HasChildren());
  EXPECT_EQ(ChildNamed(node, L"Alpha")->ImageIndex(), SmallIconIndex(WideString(alpha)));
  EXPECT_EQ(ChildNamed(node, L"Alpha")->SelectedIndex(), SmallOpenIconIndex(WideString(alpha)));

  // With the value after Create, hidden folders show.
  tree->SetFolderType(FileTypeOf({ftReadOnly, ftHidden, ftSystem, ftArchive}));
  tree->RebuildTree();
  node = OpenTemp();
  EXPECT_TRUE(ChildNamed(node, L"Hidden"));
}

// A tree with neither window nor nodes (one on a page not shown yet) has nothing the
// shell's notices could change: it asks for them with its first window.
TEST_F(DirTree, AsksForTheShellsNoticesWithItsWindow) {
  auto* later = new TShDirTree(host.get());
  EXPECT_EQ(later->NotifyWindow(), nullptr);
  EXPECT_EQ(later->ChangeNotifyHandle(), 0u);
  later->SetParent(host.get());
  later->SetBounds(0, 0, 120, 480);
  later->HandleNeeded();
  Flush();
  EXPECT_TRUE(later->NotifyWindow());
  EXPECT_NE(later->ChangeNotifyHandle(), 0u);
  delete later;
}

TEST_F(DirTree, OpenPathSelectsAndTellsOnlyForExistingFolders) {
  for (const char* path : {"", "C", "C:\\no such folder kvx"}) {
    tree->OpenPath(path);
    EXPECT_TRUE(changes.empty()) << path;
    EXPECT_EQ(tree->SelectedPath(), "") << path;
  }
  AnsiString tempPath = Narrow(temp.Path());
  tree->OpenPath(UpperCase(tempPath));
  ASSERT_EQ(changes.size(), 1u);
  // A path opened this way ends in "\".
  EXPECT_EQ(AnsiCompareText(changes[0], tempPath + "\\"), 0) << changes[0];
  EXPECT_EQ(AnsiCompareText(tree->SelectedPath(), tempPath + "\\"), 0);
  ASSERT_TRUE(tree->Selected());
  EXPECT_EQ(TextOf(tree->Selected()), ExtractFileNameOf(WideString(temp.Path())));

  // A drive root keeps its backslash.
  tree->OpenPath("C:\\");
  EXPECT_EQ(tree->SelectedPath(), "C:\\");
  EXPECT_EQ(changes.back(), "C:\\");
  EXPECT_EQ(tree->Selected()->Level(), 1);
}

TEST_F(DirTree, MouseAndKeysSelectFoldersWhateverTheirNames) {
  TTreeNode* node = OpenTemp();
  ASSERT_TRUE(node);
  changes.clear();
  TTreeNode* greek = ChildNamed(node, L"Ωμέγα");
  ASSERT_TRUE(greek);
  ClickNode(greek);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(tree->SelectedPathW(), WideString(temp.Sub(L"Ωμέγα")));
  // The 8-bit path names the same folder (its short form: the code page has no Greek).
  AnsiString path = tree->SelectedPath();
  EXPECT_EQ(changes[0], path);
  EXPECT_EQ(path.find('?'), AnsiString::npos) << path;
  DWORD attributes = GetFileAttributesA(path.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << path;
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);

  // Down to the next folder by key: the selection and the path follow.
  TTreeNode* next = greek->GetNextSibling();
  ASSERT_TRUE(next);
  PressKey(VK_DOWN);
  EXPECT_EQ(tree->Selected(), next);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(tree->SelectedPathW(), WideString(temp.Sub(TextOf(next))));

  // F5 rebuilds the tree and opens the selected folder again (a new folder shows).
  temp.MakeFolder(L"Later");
  WideString nextName = TextOf(next);  // the nodes are made anew
  PressKey(VK_F5);
  ASSERT_EQ(changes.size(), 3u);
  ASSERT_TRUE(tree->Selected());
  EXPECT_EQ(TextOf(tree->Selected()), nextName);
  EXPECT_TRUE(ChildNamed(tree->Selected()->Parent(), L"Later"));
  changes.pop_back();

  // A click beside every item changes nothing.
  RECT r;
  GetClientRect(tree->Handle(), &r);
  PostMessageA(tree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, r.bottom - 5));
  PostMessageA(tree->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, r.bottom - 5));
  Flush();
  EXPECT_EQ(changes.size(), 2u);

  // F2 does not edit a drive or the root.
  tree->OpenPath("C:\\");
  PressKey(VK_F2);
  EXPECT_FALSE(tree->IsEditing());
}

TEST_F(DirTree, RenameAsksAndGoesThroughTheShell) {
  TTreeNode* node = OpenTemp();
  ASSERT_TRUE(node);
  {
    // Cancelled: quiet. Empty: only a beep. An invalid name: the invalid-name box.
    TDialogAnswers answers;
    EditLabel(ChildNamed(node, L"Alpha"), L"ignored", true);
    EditLabel(ChildNamed(node, L"Alpha"), L"");
    EditLabel(ChildNamed(node, L"Alpha"), L"a:b");
    ASSERT_EQ(answers.Texts().size(), 1u);
    EXPECT_EQ(answers.Texts()[0], "Error - Invalid Directory Name\ra:b");
    EXPECT_TRUE(Exists(alpha));
  }
  {
    // No leaves the folder; Yes renames it, Greek name and all.
    TDialogAnswers answers({"No", "Yes"});
    EditLabel(ChildNamed(node, L"Alpha"), L"Βήτα");
    EXPECT_TRUE(Exists(alpha));
    node = OpenTemp();
    EditLabel(ChildNamed(node, L"Alpha"), L"Βήτα");
    ASSERT_EQ(answers.WideTexts().size(), 2u);
    EXPECT_EQ(answers.WideTexts()[1],
              L"Do you want to rename the selected folder\r\r    From  : Alpha\r    To     : Βήτα");
  }
  EXPECT_FALSE(Exists(alpha));
  EXPECT_TRUE(Exists(temp.Sub(L"Βήτα\\Child")));
  // The tree is rebuilt around the renamed folder.
  ASSERT_TRUE(tree->Selected());
  EXPECT_EQ(TextOf(tree->Selected()), L"Βήτα");
  EXPECT_EQ(tree->SelectedPathW(), WideString(temp.Sub(L"Βήτα\\")));
}

TEST_F(DirTree, NewFolderIsNamedInPlaceWithoutAQuestion) {
  TTreeNode* node = OpenTemp();
  ASSERT_TRUE(node);
  TDialogAnswers answers;
  EXPECT_TRUE(tree->NewFolder(nullptr, WideString()));
  EXPECT_TRUE(Exists(temp.Sub(L"New Folder")));
  ASSERT_TRUE(tree->Selected());
  EXPECT_EQ(TextOf(tree->Selected()), L"New Folder");
  ASSERT_TRUE(DispatchUntil([&] { return tree->EditHandle() != nullptr; }));
  EXPECT_TRUE(tree->NamingNewFolder());
  SetWindowTextW(tree->EditHandle(), L"日本語の歌");
  tree->Selected()->EndEdit(false);
  Flush();
  EXPECT_TRUE(answers.Texts().empty());  // no rename question for a folder being named
  EXPECT_FALSE(tree->NamingNewFolder());
  EXPECT_TRUE(Exists(temp.Sub(L"日本語の歌")));
  EXPECT_FALSE(Exists(temp.Sub(L"New Folder")));

  // Another language's default name is named in place all the same; a cancelled naming
  // keeps the folder and clears the state.
  tree->SetLanguage(lnGerman);
  node = OpenTemp();
  EXPECT_TRUE(tree->NewFolder(node, WideString()));
  EXPECT_TRUE(Exists(temp.Sub(L"Neuer Ordner")));
  ASSERT_TRUE(DispatchUntil([&] { return tree->EditHandle() != nullptr; }));
  EXPECT_TRUE(tree->NamingNewFolder());
  tree->Selected()->EndEdit(true);
  Flush();
  EXPECT_FALSE(tree->NamingNewFolder());
  EXPECT_TRUE(Exists(temp.Sub(L"Neuer Ordner")));

  // A given name is not edited; the root takes no folder; invalid names are refused.
  node = OpenTemp();
  EXPECT_TRUE(tree->NewFolder(node, L"Given"));
  EXPECT_FALSE(tree->IsEditing());
  EXPECT_FALSE(tree->NamingNewFolder());
  EXPECT_FALSE(tree->NewFolder(tree->Items()->GetFirstNode(), L"x"));
  node = OpenTemp();
  EXPECT_THROW(tree->NewFolder(node, L"a|b"), EAbort);
  ASSERT_EQ(answers.Texts().size(), 2u);
  EXPECT_EQ(answers.Texts()[0], "ERROR - Can't add drives");
  EXPECT_EQ(answers.Texts()[1], "Folder Name contains invalid characters");
  tree->SetLanguage(lnEnglish);
}

TEST_F(DirTree, DeleteGoesToTheRecycleBinWhenTheUserAgrees) {
  TTreeNode* node = OpenTemp();
  ASSERT_TRUE(node);
  TTreeNode* greek = ChildNamed(node, L"Ωμέγα");
  ASSERT_TRUE(greek);
  {
    TSystemBoxAnswer no(IDNO);
    EXPECT_FALSE(tree->DeleteFolder(greek));
    EXPECT_TRUE(no.Answered());
  }
  EXPECT_TRUE(Exists(temp.Sub(L"Ωμέγα")));
  EXPECT_EQ(ChildNamed(node, L"Ωμέγα"), greek);
  changes.clear();
  {
    TSystemBoxAnswer yes(IDYES);
    EXPECT_TRUE(tree->DeleteFolder(greek));
    EXPECT_TRUE(yes.Answered());
  }
  EXPECT_FALSE(Exists(temp.Sub(L"Ωμέγα")));
  EXPECT_FALSE(ChildNamed(node, L"Ωμέγα"));
  EXPECT_EQ(tree->Selected(), node);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(tree->SelectedPathW(), WideString(temp.Path()));

  // A folder gone behind the tree's back: told, nothing deleted. Drives are never deleted.
  TTreeNode* japanese = ChildNamed(node, L"日本語");
  RemoveDirectoryW(temp.Sub(L"日本語").c_str());
  TDialogAnswers answers;
  EXPECT_FALSE(tree->DeleteFolder(japanese));
  ASSERT_EQ(answers.WideTexts().size(), 1u);
  EXPECT_EQ(answers.WideTexts()[0], temp.Sub(L"日本語") + L"not found");
  EXPECT_FALSE(tree->DeleteFolder(tree->Items()->GetFirstNode()->getFirstChild()));
}

TEST_F(DirTree, AFolderDraggedOntoAnotherMovesIntoIt) {
  TTreeNode* node = OpenTemp();
  ASSERT_TRUE(node);
  TTreeNode* from = ChildNamed(node, L"Alpha");
  TTreeNode* onto = ChildNamed(node, L"Ωμέγα");
  ASSERT_TRUE(from && onto);
  bool accept = true;
  RECT r = from->DisplayRect(true);
  tree->DragOver(tree, (r.left + r.right) / 2, (r.top + r.bottom) / 2, dsDragMove, accept);
  EXPECT_TRUE(accept);  // nothing is being dragged yet

  // Press on Alpha, move past the drag threshold, and let go over Ωμέγα.
  std::vector<TTreeNode*> started;
  tree->OnStartDrag = [&](TObject*, TTreeNode* Node) { started.push_back(Node); };
  RECT t = onto->DisplayRect(true);
  POINT down{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  POINT drop{(t.left + t.right) / 2, (t.top + t.bottom) / 2};
  HWND wnd = tree->Handle();
  PostMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
  PostMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(down.x + 30, down.y + 30));
  PostMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(drop.x, drop.y));
  PostMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
  ASSERT_TRUE(DispatchUntil([&] { return Exists(temp.Sub(L"Ωμέγα\\Alpha\\Child")); }, 10000));
  EXPECT_FALSE(Exists(alpha));  // moved: no Ctrl held
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(tree->SourcePath(), WideString(alpha));
  EXPECT_EQ(tree->TargetPath(), WideString(temp.Sub(L"Ωμέγα\\")));
  // The tree shows the folder it dropped into.
  EXPECT_EQ(tree->SelectedPathW(), WideString(temp.Sub(L"Ωμέγα\\")));
  EXPECT_TRUE(ChildNamed(tree->Selected(), L"Alpha"));
  EXPECT_EQ(tree->DragNode(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DirTree, TheFormsDragHandlersAreAskedAndToldOfDropsBesideTheFolders) {
  // A second tree beside the first, showing only "My Computer", takes the drops.
  tree->SetWidth(200);
  auto* other = new TShDirTree(host.get());
  other->SetParent(host.get());
  other->SetBounds(200, 0, 120, 480);
  other->HandleNeeded();
  Flush();
  TTreeNode* root = other->Items()->GetFirstNode();
  ASSERT_TRUE(root);
  root->SetSelected(true);
  TTreeNode* node = OpenTemp();
  ASSERT_TRUE(node);
  TTreeNode* from = ChildNamed(node, L"Alpha");
  ASSERT_TRUE(from);
  RECT r = root->DisplayRect(true);
  POINT over{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  struct Over {
    TObject* sender;
    TObject* source;
    POINT at;
  };
  std::vector<Over> overs;
  bool answer = true;
  other->OnDragOver = [&](TObject* Sender, TObject* Source, int X, int Y, TDragState, bool& Accept) {
    overs.push_back({Sender, Source, POINT{X, Y}});
    Accept = answer;
  };
  std::vector<TObject*> drops;
  other->OnDragDrop = [&](TObject* Sender, TObject* Source, int, int) {
    EXPECT_EQ(Sender, other);
    drops.push_back(Source);
  };

  // With drag and drop on, the handler is asked, but only folders are taken.
  struct Case {
    bool dragDrop;
    TObject* source;
    bool answer;
    bool accepted;
  } cases[] = {
      {true, host.get(), true, false},  // no folder tree: refused whatever the form says
      {true, tree, false, true},        // a folder: taken whatever the form says
      {false, host.get(), true, true},  // drag and drop off: the form decides
      {false, tree, false, false},
  };
  for (const Case& c : cases) {
    other->DragDropEnabled = c.dragDrop;
    answer = c.answer;
    overs.clear();
    bool accept = !c.accepted;
    other->DragOver(c.source, over.x, over.y, dsDragMove, accept);
    EXPECT_EQ(accept, c.accepted) << c.dragDrop << c.answer;
    ASSERT_EQ(overs.size(), 1u);
    EXPECT_EQ(overs[0].sender, other);
    EXPECT_EQ(overs[0].source, c.source);
    EXPECT_EQ(overs[0].at.x, over.x);
    EXPECT_EQ(overs[0].at.y, over.y);
  }
  other->DragDropEnabled = true;
  answer = true;

  // A drop below the nodes is the form's.
  other->DragDrop(host.get(), 5, r.bottom + 40);
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0], host.get());

  // A folder dragged onto "My Computer", which is no folder, is the form's too.
  RECT f = from->DisplayRect(true);
  POINT down{(f.left + f.right) / 2, (f.top + f.bottom) / 2};
  POINT drop = over;
  MapWindowPoints(other->Handle(), tree->Handle(), &drop, 1);
  HWND wnd = tree->Handle();
  PostMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
  PostMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(down.x + 30, down.y + 30));
  PostMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(drop.x, drop.y));
  PostMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
  ASSERT_TRUE(DispatchUntil([&] { return drops.size() == 2; }, 10000));
  EXPECT_EQ(drops[1], tree);
  EXPECT_TRUE(Exists(alpha));
  delete other;
}

TEST_F(DirTree, ALinkedFileListFollowsAndTakesDroppedFiles) {
  auto* list = new TShFileListView(host.get());
  list->SetParent(host.get());
  list->SetBounds(0, 300, 320, 180);
  list->SetDirTree(tree);
  EXPECT_EQ(tree->FileList(), list);
  TTreeNode* node = OpenTemp();
  ASSERT_TRUE(node);
  ClickNode(ChildNamed(node, L"Alpha"));
  EXPECT_EQ(RemoveSlash(list->Directory()), WideString(alpha));

  // The file rows chosen in the list, dropped on a folder node, are copied there.
  list->SetDirectory(temp.Path());
  Flush();
  int row = -1;
  for (int i = 0; i < list->RowCount(); ++i)
    if (list->Row(i).Name == L"notes.txt") row = i;
  ASSERT_GE(row, 0);
  ListView_SetItemState(list->Handle(), row, LVIS_SELECTED, LVIS_SELECTED);
  ExplorerShared().DragMode = kCopyMode;
  node = OpenTemp();
  TTreeNode* onto = ChildNamed(node, L"日本語");
  RECT r = onto->DisplayRect(true);
  bool accept = false;
  tree->DragOver(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2, dsDragMove, accept);
  EXPECT_TRUE(accept);
  tree->DragDrop(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_TRUE(Exists(temp.Sub(L"日本語\\notes.txt")));
  EXPECT_TRUE(Exists(temp.Sub(L"notes.txt")));
  EXPECT_EQ(RemoveSlash(list->Directory()), WideString(temp.Sub(L"日本語")));

  // Deleting the list leaves the tree without it.
  delete list;
  EXPECT_EQ(tree->FileList(), nullptr);
}

TEST_F(DirTree, ShellChangeNoticesRebuildTheTreeAroundTheSelection) {
  TTreeNode* node = OpenTemp();
  ASSERT_TRUE(node);
  changes.clear();
  std::wstring added = temp.Sub(L"Ζήτα");
  ASSERT_TRUE(CreateDirectoryW(added.c_str(), nullptr));
  SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHW | SHCNF_FLUSH, added.c_str(), nullptr);
  ASSERT_TRUE(DispatchUntil([&] { return tree->Selected() && ChildNamed(tree->Selected(), L"Ζήτα"); }, 10000));
  EXPECT_EQ(tree->SelectedPathW(), WideString(temp.Path() + L"\\"));
  EXPECT_EQ(changes.size(), 1u);

  // Notices of other kinds are left alone.
  SendMessageA(tree->NotifyWindow(), WM_SHELL_CHANGE_NOTIFY, 0, SHCNE_ATTRIBUTES);
  EXPECT_EQ(changes.size(), 1u);
}

TEST_F(DirTree, LooksRight) {
  TTreeNode* node = OpenTemp();
  ASSERT_TRUE(node);
  node->Expand(false);
  ChildNamed(node, L"Alpha")->Expand(false);
  Flush();
  // KAVO_SHOT names a bitmap file to keep the look in.
  char shot[MAX_PATH] = {};
  if (GetEnvironmentVariableA("KAVO_SHOT", shot, MAX_PATH)) {
    SaveWindowShot(host->Handle(), shot);
    // And the context menu over a folder, kept in "<name>.menu.bmp".
    static std::string menuShot;
    static HWND hostWindow;
    menuShot = std::string(shot) + ".menu.bmp";
    hostWindow = host->Handle();
    tree->OpenPathW(alpha);
    SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      SaveWindowShot(hostWindow, menuShot.c_str());
      EndMenu();
    });
    RECT r;
    GetWindowRect(host->Handle(), &r);
    tree->PopupMenu()->Popup(r.left + 40, r.top + 100);
  }
  // Every item is drawn with an icon of the system list.
  for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext()) EXPECT_GE(n->ImageIndex(), 0);
}

}  // namespace

// The file list view's operations on real files: clipboard copy, cut and paste, drops on the
// owner window, new folder and renaming, permanent delete, Send To.
#include "tests/explorer/file_list_fixture.h"

#include <shlobj.h>
#include <shellapi.h>

#include "explorer/explorer_state.h"
#include "explorer/file_viewers.h"
#include "explorer/shell_routines.h"
#include "tests/explorer/dialog_answers.h"

using namespace explorer_test;

namespace {

std::string FileText(const std::wstring& Path) {
  HANDLE f = CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string data(1 << 16, '\0');
  DWORD got = 0;
  ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
  CloseHandle(f);
  data.resize(got);
  return data;
}

// The names of the dropped-file block on the clipboard.
std::vector<std::wstring> ClipboardFiles() {
  std::vector<std::wstring> names;
  if (!OpenClipboard(nullptr)) return names;
  if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
    UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < n; ++i) {
      wchar_t buf[MAX_PATH];
      DragQueryFileW(drop, i, buf, MAX_PATH);
      names.push_back(buf);
    }
  }
  CloseClipboard();
  return names;
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

// A dropped-file block with 8-bit names, as older programs make them.
HGLOBAL AnsiDropBlock(const std::vector<std::string>& Names) {
  std::string list;
  for (const auto& n : Names) list += n + '\0';
  list += '\0';
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(block);
  return block;
}

}  // namespace

TEST_F(FileListTest, CopyAndPasteFilesThroughTheClipboard) {
  TTempFolder target;
  View->SetDirectory(Temp.Path());
  SelectNamed({kUpCaption(), L"Ελληνικά.m4a", L"日本語の歌.mp4"});
  View->CutCopyItems(kCopyMode);
  // The parent entry is left out and let go.
  EXPECT_EQ(View->SelectedRows().size(), 2u);
  EXPECT_EQ(ClipboardFiles(), (std::vector<std::wstring>{Temp.Sub(L"Ελληνικά.m4a"), Temp.Sub(L"日本語の歌.mp4")}));
  EXPECT_TRUE(Exists(Temp.Sub(L"Ελληνικά.m4a")));  // a copy touches no file yet

  View->SetDirectory(target.Path());
  View->PasteItems();
  EXPECT_EQ(FileText(target.Sub(L"Ελληνικά.m4a")), std::string(3000, 'x'));
  EXPECT_TRUE(Exists(target.Sub(L"日本語の歌.mp4")));
  EXPECT_TRUE(Exists(Temp.Sub(L"Ελληνικά.m4a")));
  EXPECT_NE(RowNamed(L"Ελληνικά.m4a"), -1);  // the view shows what it pasted
  EXPECT_TRUE(View->PendingFiles().empty());
}

TEST_F(FileListTest, CutAndPasteMovesTheFiles) {
  TTempFolder target;
  View->SetDirectory(Temp.Path());
  SelectNamed({L"alpha.MP4"});
  PressKey('X', false, true);
  EXPECT_EQ(ExplorerShared().CutCopyMode, kMoveMode);
  View->SetDirectory(target.Path());
  SelectNamed({kUpCaption()});
  PressKey('V', false, true);
  EXPECT_TRUE(Exists(target.Sub(L"alpha.MP4")));
  EXPECT_FALSE(Exists(Temp.Sub(L"alpha.MP4")));
  ExplorerShared().CutCopyMode = kCopyMode;
}

TEST_F(FileListTest, PastesFilesAnotherProgramPutOnTheClipboard) {
  TTempFolder source, target;
  source.MakeFile(L"song.m4a", 42);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_HDROP, AnsiDropBlock({Narrow(source.Sub(L"song.m4a"))}));
  CloseClipboard();
  ExplorerShared().CutCopyMode = kCopyMode;
  View->SetDirectory(target.Path());
  View->PasteItems();
  EXPECT_EQ(FileText(target.Sub(L"song.m4a")), std::string(42, 'x'));
  EXPECT_TRUE(Exists(source.Sub(L"song.m4a")));
  // In "My Computer" a paste does nothing.
  TTempFolder other;
  View->SetDirectory(L"My Computer");
  View->PasteItems();
  EXPECT_EQ(ClipboardFiles().size(), 1u);
}

TEST_F(FileListTest, FilesDroppedOnTheFormAreCopiedAndTheDropReleased) {
  TTempFolder source;
  source.MakeFile(L"Ελληνικά dropped.mp4", 7);
  View->SetDirectory(Temp.Path());
  std::wstring list = source.Sub(L"Ελληνικά dropped.mp4") + L'\0' + L'\0';
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
  GlobalUnlock(block);
  SendMessageW(Form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
  EXPECT_EQ(FileText(Temp.Sub(L"Ελληνικά dropped.mp4")), std::string(7, 'x'));
  EXPECT_NE(RowNamed(L"Ελληνικά dropped.mp4"), -1);
  EXPECT_EQ(GlobalSize(block), 0u);  // released by the view once read
}

TEST_F(FileListTest, NewFolderTakesTheNextFreeNameAndCanBeRenamed) {
  Temp.MakeFolder(L"New Folder");
  Temp.MakeFolder(L"New Folder(2)");
  View->SetDirectory(Temp.Path());
  View->NewFolder();
  ASSERT_TRUE(Exists(Temp.Sub(L"New Folder(3)")));
  EXPECT_EQ(View->ItemIndex(), RowNamed(L"New Folder(3)"));
  HWND editor = reinterpret_cast<HWND>(SendMessageW(Wnd(), LVM_GETEDITCONTROL, 0, 0));
  ASSERT_TRUE(editor);
  // OnEdited sees the confirmed name first and may still change it.
  std::wstring edited;
  View->OnEdited = [&](TObject*, TUniListItem*, WideString& S) {
    edited = S;
    S += L" 2";
  };
  SetWindowTextW(editor, L"Μουσική");
  SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 1);
  Application->ProcessMessages();
  EXPECT_TRUE(PumpUntil([&] { return Exists(Temp.Sub(L"Μουσική 2")); }, 3000));
  EXPECT_EQ(edited, L"Μουσική");
  View->OnEdited = nullptr;
  EXPECT_FALSE(Exists(Temp.Sub(L"New Folder(3)")));
  EXPECT_NE(RowNamed(L"Μουσική 2"), -1);
}

TEST_F(FileListTest, RenamingInAReadOnlyViewIsRefused) {
  View->SetDirectory(Temp.Path());
  View->SetReadOnly(true);
  SelectNamed({L"notes.txt"});
  {
    TMessageAnswers answers;
    View->RenameSelected();
    ASSERT_EQ(answers.Texts().size(), 1u);
    EXPECT_EQ(answers.Texts()[0], L"It's ReadOnly");
  }
  EXPECT_FALSE(SendMessageW(Wnd(), LVM_GETEDITCONTROL, 0, 0));
  View->SetReadOnly(false);
  // A read-only file that is also archived ("AR") may be renamed.
  SelectNamed({L"日本語の歌.mp4"});
  ASSERT_EQ(View->Row(View->ItemIndex()).AttrText, "AR");
  View->RenameSelected();
  HWND editor = reinterpret_cast<HWND>(SendMessageW(Wnd(), LVM_GETEDITCONTROL, 0, 0));
  ASSERT_TRUE(editor);
  SendMessageW(editor, WM_KEYDOWN, VK_ESCAPE, 1);
  Application->ProcessMessages();
  EXPECT_TRUE(Exists(Temp.Sub(L"日本語の歌.mp4")));
}

TEST_F(FileListTest, ShiftDeleteRemovesFilesAfterAsking) {
  View->SetDirectory(Temp.Path());
  SelectNamed({L"beta.m4a", L"notes.txt"});
  {
    TMessageAnswers answers({"Yes", "No"});
    PressKey(VK_DELETE, true);
    ASSERT_EQ(answers.Texts().size(), 2u);
    EXPECT_EQ(answers.Texts()[0], L"Are you sure you want to permanently delete file\r\n  \"beta.m4a\"?");
  }
  EXPECT_FALSE(Exists(Temp.Sub(L"beta.m4a")));
  EXPECT_TRUE(Exists(Temp.Sub(L"notes.txt")));
  EXPECT_EQ(RowNamed(L"beta.m4a"), -1);
}

TEST_F(FileListTest, SendToTheClipboardAFolderAndTheDesktop) {
  View->SetDirectory(Temp.Path());
  SelectNamed({L"alpha.MP4", L"Ελληνικά.m4a", L"日本語の歌.mp4"});
  View->SendTo(2);
  EXPECT_EQ(ClipboardText(), Temp.Sub(L"alpha.MP4") + L"\r\n" + Temp.Sub(L"Ελληνικά.m4a") + L"\r\n" +
                                 Temp.Sub(L"日本語の歌.mp4") + L"\r\n");

  TTempFolder target;
  View->CopyFilesTo(target.Path());  // no trailing backslash
  EXPECT_TRUE(Exists(target.Sub(L"Ελληνικά.m4a")));
  EXPECT_TRUE(Exists(target.Sub(L"alpha.MP4")));

  SelectNamed({L"notes.txt"});
  View->SendTo(1);  // a text file's contents
  EXPECT_EQ(ClipboardText(), std::wstring(2048, L'x'));

  View->SendTo(3);
  std::wstring link = AnsiToWide(GetShellFolder(0)) + L"notes.lnk";
  EXPECT_TRUE(Exists(link));
  DeleteFileW(link.c_str());
  SelectNamed({});
  TMessageAnswers answers;
  View->CreateDesktopShortcut();
  ASSERT_EQ(answers.Texts().size(), 1u);
  EXPECT_EQ(answers.Texts()[0], L"No file(s) selected");
}

// The names in a folder, without "." and "..".
std::vector<std::wstring> FolderEntries(const std::wstring& Folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((Folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0) names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

TEST_F(FileListTest, SendToAfterSelectAllLeavesTheParentFolderBehind) {
  Temp.MakeFile(L"Zeta\\inside.txt", 5);
  View->SetDirectory(Temp.Sub(L"Zeta"));
  ASSERT_EQ(RowNamed(kUpCaption()), 0);
  PressKey('A', false, true);
  ASSERT_EQ(static_cast<int>(SendMessageW(Wnd(), LVM_GETSELECTEDCOUNT, 0, 0)), Count());
  // Neither the list of names nor a copy gets the parent folder.
  View->SendTo(2);
  EXPECT_EQ(ClipboardText(), Temp.Sub(L"Zeta\\inside.txt") + L"\r\n");
  TTempFolder outer;
  const std::wstring target = outer.MakeFolder(L"in");
  View->SendToShortcut(target);  // a Send To entry that is a folder
  EXPECT_EQ(FolderEntries(target), std::vector<std::wstring>{L"inside.txt"});
  EXPECT_EQ(FolderEntries(outer.Path()), std::vector<std::wstring>{L"in"});
}

TEST(FileViewers, ProgramByExtension) {
  struct Case {
    const wchar_t* ext;
    const char* program;
  } cases[] = {{L".txt", "NotePad.exe"},  {L".CPP", "NotePad.exe"}, {L".rtf", "Write.exe"},
               {L".png", "SYSTEM32\\MSPaint.exe"}, {L".htm", "Explorer.exe"}, {L".exe", ""}};
  for (const auto& c : cases) EXPECT_EQ(ViewerProgramOf(ViewerIndexOf(c.ext), true), c.program);
  EXPECT_EQ(ViewerProgramOf(ViewerIndexOf(L".bmp"), false), "PBrush.exe");
  EXPECT_LT(ViewerIndexOf(L".ICO"), kClipboardContentsCount);
  EXPECT_GE(ViewerIndexOf(L".HTML"), kClipboardContentsCount);
}

TEST_F(FileListTest, DeleteKeySendsTheChosenFilesToTheRecycleBin) {
  View->SetDirectory(Temp.Path());
  SelectNamed({kUpCaption(), L"Ελληνικά.m4a", L"alpha.MP4"});
  {
    TSystemBoxAnswer no(IDNO);  // the shell asks first
    PressKey(VK_DELETE);
    EXPECT_TRUE(no.Answered());
  }
  EXPECT_TRUE(Exists(Temp.Sub(L"Ελληνικά.m4a")));
  SelectNamed({L"Ελληνικά.m4a", L"alpha.MP4"});
  {
    TSystemBoxAnswer yes(IDYES);
    PressKey(VK_DELETE);
    EXPECT_TRUE(yes.Answered());
  }
  EXPECT_FALSE(Exists(Temp.Sub(L"Ελληνικά.m4a")));
  EXPECT_FALSE(Exists(Temp.Sub(L"alpha.MP4")));
  EXPECT_TRUE(Exists(Temp.Path()));  // the parent entry was never part of it
  EXPECT_EQ(RowNamed(L"alpha.MP4"), -1);
}

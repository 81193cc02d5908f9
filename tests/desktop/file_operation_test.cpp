// The file operation over real files in a temporary folder: copies, pairs renamed by name
// and by pattern, moves, deletes with the shell's confirmation answered or suppressed, and
// a failure reported to OnError.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "desktop/file_operation.h"
#include "tests/desktop/temp_folder.h"

namespace {

constexpr TdkFileOperationFlags kQuiet =
    FileOperationFlag(fofNoConfirmation) | FileOperationFlag(fofNoConfirmMkDir) | FileOperationFlag(fofSilent) |
    FileOperationFlag(fofNoErrorUI);

// Answers the first dialog box of a thread with a button, from a thread of its own (the
// shell's boxes are modal on the thread that asked).
class TBoxAnswer {
 public:
  TBoxAnswer(DWORD ThreadId, int Button)
      : FThreadId(ThreadId), FButton(Button), FThread([this] { Watch(); }) {}
  ~TBoxAnswer() {
    FStop = true;
    FThread.join();
  }
  bool Answered() const { return FAnswered; }

 private:
  static BOOL CALLBACK FindBox(HWND Wnd, LPARAM Param) {
    char cls[32] = {};
    GetClassNameA(Wnd, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !IsWindowVisible(Wnd)) return TRUE;
    *reinterpret_cast<HWND*>(Param) = Wnd;
    return FALSE;
  }
  void Watch() {
    for (DWORD start = GetTickCount(); !FStop && GetTickCount() - start < 20000;) {
      HWND box = nullptr;
      EnumThreadWindows(FThreadId, &FindBox, reinterpret_cast<LPARAM>(&box));
      if (box && GetDlgItem(box, FButton)) {
        PostMessageA(box, WM_COMMAND, FButton, 0);
        FAnswered = true;
        return;
      }
      Sleep(10);
    }
  }

  DWORD FThreadId;
  int FButton;
  std::atomic<bool> FAnswered{false}, FStop{false};
  std::thread FThread;
};

TEST(FileOperation, CopiesAListIntoAFolderThatIsMadeForIt) {
  TTempFolder folder;
  folder.WriteFile("a.txt", "alpha");
  folder.WriteFile("b.txt", "beta");
  TdkFileOperation op(nullptr);
  op.SetOptions(kQuiet);
  op.FileList()->Add(folder / "a.txt");
  op.FileList()->Add(folder / "b.txt");
  op.DestFolder = folder / "out";
  std::string errors;
  op.OnError = [&](TObject*, const AnsiString& S, bool&) { errors += S; };
  EXPECT_TRUE(op.Execute());
  EXPECT_EQ(folder.ReadFile("out\\a.txt"), "alpha");
  EXPECT_EQ(folder.ReadFile("out\\b.txt"), "beta");
  EXPECT_TRUE(folder.Exists("a.txt"));
  EXPECT_EQ(errors, "");

  // Nothing to do is done at once.
  TdkFileOperation empty(nullptr);
  empty.SetOperation(fotDelete);
  EXPECT_TRUE(empty.Execute());
}

TEST(FileOperation, PairsGoEachToTheirOwnNameOrPattern) {
  TTempFolder folder;
  folder.WriteFile("clip.avi", "video");
  folder.WriteFile("notes.txt", "text");
  folder.WriteFile("keep.log", "log");
  CreateDirectoryA((folder / "sub").c_str(), nullptr);
  TdkFileOperation op(nullptr);
  op.SetOptions(kQuiet);
  op.SetOperation(fotRename);
  // Sources without a drive lie in DestFolder.
  op.DestFolder = folder.Path();
  op.FileList()->Add("clip.avi=movie.avi");
  EXPECT_TRUE(op.Execute());
  EXPECT_EQ(folder.ReadFile("movie.avi"), "video");
  EXPECT_FALSE(folder.Exists("clip.avi"));

  // The shell renames one file a call; several pairs move, each to its own name, pattern
  // or path.
  op.SetOperation(fotMove);
  op.FileList()->Clear();
  op.FileList()->Add("notes.txt=*.bak");
  op.FileList()->Add("keep.log=" + folder / "sub\\*.*");
  EXPECT_TRUE(op.Execute());
  EXPECT_EQ(folder.ReadFile("notes.bak"), "text");
  EXPECT_EQ(folder.ReadFile("sub\\keep.log"), "log");
  EXPECT_FALSE(folder.Exists("notes.txt"));
  EXPECT_FALSE(folder.Exists("keep.log"));
}

TEST(FileOperation, DeletesAfterTheUserConfirmsOrWithoutAsking) {
  TTempFolder folder;
  folder.WriteFile("one.tmp", "1");
  folder.WriteFile("two.tmp", "2");
  TdkFileOperation op(nullptr);
  op.SetOperation(fotDelete);
  // No undo: the shell would otherwise move the files to the desktop's waste basket.
  op.SetOptions(FileOperationFlag(fofFilesOnly));
  op.FileList()->Add(folder / "one.tmp");
  {
    TBoxAnswer yes(GetCurrentThreadId(), IDYES);
    EXPECT_TRUE(op.Execute());
    EXPECT_TRUE(yes.Answered());
  }
  EXPECT_FALSE(folder.Exists("one.tmp"));

  op.SetOptions(kQuiet);
  op.FileList()->Clear();
  op.FileList()->Add(folder / "two.tmp");
  EXPECT_TRUE(op.Execute());
  EXPECT_FALSE(folder.Exists("two.tmp"));
}

TEST(FileOperation, FailuresReachOnErrorWithATextAndReportFalse) {
  TTempFolder folder;
  folder.WriteFile("a.txt", "a");
  folder.WriteFile("b.txt", "b");
  struct Case {
    const char* Name;
    TdkFileOperationType Operation;
    std::string Source, Dest;
  } cases[] = {
      // The shell's own code, which has no system text: the component words one.
      {"missing source", fotCopy, folder / "missing.txt", folder / "out"},
      {"name taken", fotRename, folder / "a.txt", folder / "b.txt"},
      {"no such folder", fotRename, folder / "a.txt", folder / "none\\c.txt"},
  };
  for (const Case& c : cases) {
    TdkFileOperation op(nullptr);
    op.SetOptions(kQuiet);
    op.SetOperation(c.Operation);
    op.FileList()->Add(c.Source);
    op.DestFolder = c.Dest;
    std::string error;
    bool wasHandled = true;
    op.OnError = [&](TObject* Sender, const AnsiString& S, bool& Handled) {
      EXPECT_EQ(Sender, &op);
      error = S;
      wasHandled = Handled;
    };
    EXPECT_FALSE(op.Execute()) << c.Name;
    EXPECT_NE(error, "") << c.Name;
    EXPECT_FALSE(wasHandled) << c.Name;
  }
  EXPECT_EQ(folder.ReadFile("a.txt"), "a");
  EXPECT_EQ(folder.ReadFile("b.txt"), "b");
}

}  // namespace

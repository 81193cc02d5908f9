#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include <windows.h>
#include <dlgs.h>

#include "app/ui/api_file_dialog.h"
#include "vcl/application.h"
#include "vcl/threads.h"

namespace {

// Watches, on its own thread, for the main thread's dialog with the given title; types the
// name into its file name field and confirms (or cancels when the name is empty).
class TFileDialogAnswer {
 public:
  TFileDialogAnswer(std::string title, std::string name)
      : FTitle(std::move(title)), FName(std::move(name)), FThread([this] { Watch(); }) {}
  ~TFileDialogAnswer() {
    FStop = true;
    FThread.join();
  }
  bool Seen() const { return FSeen; }

 private:
  struct TFind {
    const std::string* title;
    HWND found;
  };
  static BOOL CALLBACK Find(HWND wnd, LPARAM param) {
    auto* f = reinterpret_cast<TFind*>(param);
    char text[256] = {};
    GetWindowTextA(wnd, text, sizeof text);
    if (!IsWindowVisible(wnd) || *f->title != text) return TRUE;
    f->found = wnd;
    return FALSE;
  }
  void Watch() {
    while (!FStop) {
      TFind f{&FTitle, nullptr};
      EnumThreadWindows(MainThreadID, &Find, reinterpret_cast<LPARAM>(&f));
      if (f.found) {
        FSeen = true;
        if (FName.empty()) {
          PostMessageA(f.found, WM_COMMAND, IDCANCEL, 0);
        } else {
          // The name field: the combo box of the Explorer-style dialog, or the plain edit.
          SetDlgItemTextA(f.found, cmb13, FName.c_str());
          SetDlgItemTextA(f.found, edt1, FName.c_str());
          PostMessageA(f.found, WM_COMMAND, IDOK, 0);
        }
        return;
      }
      Sleep(10);
    }
  }
  std::string FTitle, FName;
  std::atomic<bool> FSeen{false}, FStop{false};
  std::thread FThread;
};

TEST(ApiFileDialog, FilterForTheSystem) {
  EXPECT_EQ(ApiFilter("Log Files (*.log)|*.log"), AnsiString("Log Files (*.log)\0*.log\0\0", 25));
  EXPECT_EQ(ApiFilter(""), AnsiString(2, '\0'));
}

TEST(ApiFileDialog, ReturnsTheChosenFileOrLeavesTheNameOnCancel) {
  InitApplication();
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  const std::string folder = std::string(tmp) + "kavo api dialog\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string file = folder + "clip.mp4";
  std::ofstream(file) << "data";
  const AnsiString filter = "MP4 Files (*.mp4)|*.mp4|All|*.*";
  {
    TFileDialogAnswer answer("Select your File", file);
    AnsiString name = "previous.mp4";
    EXPECT_TRUE(ShowApiFileDialog(nullptr, "mp4", filter, folder, "Select your File", name, true, false, true,
                                  true, false));
    EXPECT_TRUE(answer.Seen());
    EXPECT_EQ(LowerCase(name), LowerCase(file));
  }
  {
    TFileDialogAnswer answer("Save it", "");
    AnsiString name = "kept.mp4";
    EXPECT_FALSE(ShowApiFileDialog(nullptr, "mp4", filter, folder, "Save it", name, false, true, true, false, false));
    EXPECT_TRUE(answer.Seen());
    EXPECT_EQ(name, "kept.mp4");
  }
  DeleteFileA(file.c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

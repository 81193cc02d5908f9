// The drop target fed with real WM_DROPFILES blocks, and the folder browser driven from its
// own callback.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/dialog_classes.h"
#include "dialogs/file_drop_target.h"
#include "dialogs/open_dir_dialog.h"
#include "tests/support/pump.h"
#include "tests/support/shell_drop.h"
#include "vcl/forms.h"
#include "vcl/streaming.h"
#include "widetext/codecs.h"
#include "tests/support/forms.h"

namespace {

WideString U8(const char* text) { return Utf8Decode(AnsiString(text)); }

HGLOBAL MakeDrop(const std::vector<WideString>& names, POINT pt) {
  return MakeShellDrop(names, pt);
}

class DropTarget : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    target = new TFileDropTarget(form.get());
    target->OnDrop = [this](TObject*, int x, int y) {
      ++drops;
      at = POINT{x, y};
      names.clear();
      for (int i = 0; i < target->WideFiles()->Count(); ++i) names.push_back(target->WideFiles()->Strings(i));
    };
  }
  // Sends the drop to the hooked window; true when the shell's handle was released.
  bool Drop(const std::vector<WideString>& files, POINT pt) {
    HGLOBAL h = MakeDrop(files, pt);
    SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0);
    return GlobalSize(h) == 0;
  }
  std::unique_ptr<TForm, FormFree> form;
  TFileDropTarget* target = nullptr;
  int drops = 0;
  POINT at{};
  std::vector<WideString> names;
};

TEST_F(DropTarget, GreekAndJapaneseNamesReachOnDropWithThePointAndTheHandleIsReleased) {
  const std::vector<WideString> files = {U8("C:\\clips\\Ελληνικά.mp4"), U8("C:\\clips\\日本語の動画.m4a"),
                                         L"C:\\clips\\plain.avi"};
  EXPECT_TRUE(Drop(files, POINT{37, 52}));
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(target->FileCount(), 3);
  EXPECT_EQ(names, files);
  EXPECT_EQ(at.x, 37);
  EXPECT_EQ(at.y, 52);
  // The 8-bit view holds the same lines.
  EXPECT_EQ(target->Files()->Count(), 3);
  EXPECT_EQ(target->Files()->Strings(2), "C:\\clips\\plain.avi");
}

TEST_F(DropTarget, TheExtensionFilterCountsEveryFileButKeepsTheAllowedOnes) {
  struct Case {
    std::vector<const char*> allowed;
    std::vector<WideString> dropped;
    std::vector<WideString> kept;
  };
  const WideString longName = L"C:\\" + WideString(200, L'x') + L".mp4";
  const std::vector<Case> cases = {
      {{"MP4"}, {L"a.mp4", L"b.avi"}, {L"a.mp4"}},
      {{"mp4"}, {L"a.MP4", L"b.avi"}, {L"a.MP4"}},
      {{"MP4"}, {L"noext", L"c.d\\noext"}, {}},
      {{"MP4", ""}, {L"noext", L"b.avi"}, {L"noext"}},
      {{"MP4"}, {longName}, {longName}},
  };
  for (const auto& c : cases) {
    target->AllowedFileExtensions()->Clear();
    for (const char* a : c.allowed) target->AllowedFileExtensions()->Add(a);
    drops = 0;
    names.clear();
    EXPECT_TRUE(Drop(c.dropped, POINT{1, 2}));
    EXPECT_EQ(target->FileCount(), static_cast<int>(c.dropped.size()));
    EXPECT_EQ(target->WideFiles()->Count(), static_cast<int>(c.kept.size()));
    EXPECT_EQ(drops, c.kept.empty() ? 0 : 1);
    if (!c.kept.empty()) {
      EXPECT_EQ(names, c.kept);
    }
  }
}

TEST_F(DropTarget, DestructionPutsTheWindowProcedureBackAndOtherMessagesPassThrough) {
  HWND wnd = form->Handle();
  EXPECT_EQ(target->WindowHandle(), wnd);
  // The window takes dropped files while the target lets it.
  EXPECT_NE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  target->SetEnableDrop(false);
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  target->SetEnableDrop(true);
  EXPECT_NE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  // A message the hook does not handle still reaches the form.
  SetWindowTextW(wnd, L"caption");
  char text[32] = {};
  GetWindowTextA(wnd, text, sizeof text);
  EXPECT_STREQ(text, "caption");
  LONG_PTR hooked = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  delete target;
  target = nullptr;
  EXPECT_NE(GetWindowLongPtrW(wnd, GWLP_WNDPROC), hooked);
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
}

TEST(DropTargetOwner, AnOwnerThatIsNoWindowGivesATargetThatNeverAcceptsDrops) {
  TComponent owner(nullptr);
  auto* target = new TFileDropTarget(&owner);
  EXPECT_FALSE(target->EnableDrop());
  EXPECT_EQ(target->WindowHandle(), nullptr);
}

// The windows a thread makes while Record runs, each with the number of components its
// form held at that moment.
class TWindowsMade {
 public:
  template <class F>
  void Record(TComponent* Form, F Run) {
    FForm = Form;
    Current = this;
    HHOOK hook = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
    Run();
    UnhookWindowsHookEx(hook);
    Current = nullptr;
  }
  // The number of the form's components when a window of ClassName was made; -1 for none.
  int ComponentsWhenMade(const char* ClassName) const {
    for (const auto& [name, count] : FMade)
      if (name == ClassName) return count;
    return -1;
  }

 private:
  static LRESULT CALLBACK Hook(int Code, WPARAM WParam, LPARAM LParam) {
    if (Code == HCBT_CREATEWND && Current) {
      char name[64] = {};
      GetClassNameA(reinterpret_cast<HWND>(WParam), name, sizeof name);
      Current->FMade.emplace_back(name, Current->FForm->ComponentCount());
    }
    return CallNextHookEx(nullptr, Code, WParam, LParam);
  }
  static inline TWindowsMade* Current = nullptr;
  TComponent* FForm = nullptr;
  std::vector<std::pair<std::string, int>> FMade;
};

// Read with their form, neither the folder browser nor the drop target makes the form's
// window while the rest of the form is still read: the drop target hooks it once the form
// is loaded, and files dropped then reach it.
TEST(DropTargetOwner, ATargetReadWithItsFormHooksTheWindowOnceTheFormIsLoaded) {
  RegisterDialogClasses();
  std::unique_ptr<TForm, FormFree> form(TCustomForm::CreateNew<TForm>(nullptr));
  const char kForm[] =
      "object Owner: TForm\n"
      "  object Folder: TOpenDirDialog\n  end\n"
      "  object Drop: TFileDropTarget\n  end\n"
      "  object LastFolder: TOpenDirDialog\n  end\n"
      "end\n";
  TWindowsMade made;
  made.Record(form.get(), [&] { ReadComponentData(kForm, std::strlen(kForm), form.get(), "owner.dfm"); });
  EXPECT_EQ(made.ComponentsWhenMade("TForm"), 3);
  auto* target = dynamic_cast<TFileDropTarget*>(form->FindComponent("Drop"));
  ASSERT_NE(target, nullptr);
  ASSERT_TRUE(form->HandleAllocated());
  EXPECT_EQ(target->WindowHandle(), form->Handle());
  EXPECT_NE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  int drops = 0;
  target->OnDrop = [&](TObject*, int, int) { ++drops; };
  HGLOBAL h = MakeDrop({L"C:\\clips\\a.mp4"}, POINT{3, 4});
  SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0);
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(target->WideFiles()->Count(), 1);
}

TEST(OpenDirDialog, FlagsFollowTheOptionSetsAsTheyAreNow) {
  TOpenDirDialog dialog(nullptr);
  struct Case {
    TOpenDirOptions options;
    TOpenDirOptionsEx ex;
    UINT flags;
  };
  const Case cases[] = {
      {0, 1u << odxShowExtendDlg, 0x50},
      {(1u << odShowDir) | (1u << odShowFiles), 0, 0x4001},
      {1u << odShowDir, 0, 0x0001},
      {(1u << odShowComputer) | (1u << odShowPrinter), 1u << odxShowExtendDlg, 0x3050},
      {0, 0, 0},
  };
  for (const auto& c : cases) {
    dialog.SetOptions(c.options);
    dialog.SetOptionsEx(c.ex);
    EXPECT_EQ(dialog.BrowseFlags(), c.flags) << c.options << "/" << c.ex;
  }
}

TEST(OpenDirDialog, OpensOnThePathAndReturnsItWhenAccepted) {
  std::unique_ptr<TForm, FormFree> form(TCustomForm::CreateNew<TForm>(nullptr));
  char windir[MAX_PATH] = {};
  GetWindowsDirectoryA(windir, MAX_PATH);
  for (TOpenDirOptionsEx ex : {0u, 1u << odxShowExtendDlg}) {
    TOpenDirDialog dialog(form.get());
    dialog.SetOptionsEx(ex);
    dialog.Path = windir;
    int created = 0;
    dialog.OnCreate = [&](TObject* sender) {
      ++created;
      EXPECT_EQ(sender, &dialog);
      // Owned by the form's window, made when the browser opened.
      EXPECT_EQ(GetWindow(dialog.Handle(), GW_OWNER), form->Handle());
      PostMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    };
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(created, 1);
    EXPECT_NE(dialog.Handle(), nullptr);
    EXPECT_EQ(_stricmp(dialog.Path.c_str(), windir), 0) << dialog.Path;
  }
}

TEST(OpenDirDialog, CancellingLeavesThePathAlone) {
  TOpenDirDialog dialog(nullptr);
  dialog.Path = "C:\\nowhere\\kept";
  dialog.OnCreate = [&](TObject*) { PostMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0); };
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Path, "C:\\nowhere\\kept");
}

}  // namespace

namespace {

TEST(OpenDirDialog, APickWithoutAFileSystemPathLeavesThePathAlone) {
  TOpenDirDialog dialog(nullptr);
  dialog.Path = "C:\\kept";
  dialog.OnCreate = [&](TObject*) {
    PIDLIST_ABSOLUTE drives = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(dialog.Handle(), CSIDL_DRIVES, &drives), S_OK);
    SendMessageA(dialog.Handle(), BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(drives));
    CoTaskMemFree(drives);
    PostMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
  };
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Path, "C:\\kept");
}

}  // namespace

// The work behind the folder tree's commands on a real temporary folder tree with Greek and
// Japanese names: pasting folders, the tree-size report, the folder-contents window and the
// network commands as far as Wine has a network.
#include <gtest/gtest.h>

#include <memory>

#include "explorer/explorer_state.h"
#include "explorer/folder_commands.h"
#include "explorer/net_path_dialog.h"
#include "explorer/tree_size.h"
#include "tests/explorer/explorer_temp_tree.h"
#include "tests/explorer/explorer_ui.h"
#include "tests/support/forms.h"
#include "tests/support/pump.h"
#include "widetext/uni_message_dialogs.h"

namespace {

bool Exists(const WideString& Path) { return GetFileAttributesW(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Presses OK in every wide message dialog shown while it lives, recording their texts.
class TWideBoxAnswers {
 public:
  TWideBoxAnswers() {
    Current() = this;
    FTimer = SetTimer(nullptr, 0, 20, &Tick);
  }
  ~TWideBoxAnswers() {
    KillTimer(nullptr, FTimer);
    Current() = nullptr;
  }
  std::vector<WideString> Texts;

 private:
  static TWideBoxAnswers*& Current() {
    static TWideBoxAnswers* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TWideBoxAnswers* self = Current();
    if (!self || !Screen) return;
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* box = dynamic_cast<TUniMessageForm*>(Screen->Forms(i)); box && box->Visible() && !box->ModalResult()) {
        self->Texts.push_back(box->ClipboardText());
        box->SetModalResult(mrOk);
      }
  }
  UINT_PTR FTimer = 0;
};

class FolderCommands : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }
  TTempTree tree;
};

TEST_F(FolderCommands, PasteCopiesOrMovesAFolderIntoAnother) {
  ASSERT_TRUE(PasteFolderInto(tree.Path(GreekFolder()), tree.Path(L"plain"), kCopyMode));
  EXPECT_TRUE(Exists(tree.Path(L"plain\\" + GreekFolder() + L"\\" + JapaneseFolder() + L"\\" + JapaneseFile())));
  EXPECT_TRUE(Exists(tree.Path(GreekFolder())));
  EXPECT_EQ(FolderTreeSize(tree.Root()), TTempTree::kTotalBytes + 1000 + 2345);

  // A tree hands its folders over with a trailing "\\": the folder still moves as a whole.
  ASSERT_TRUE(PasteFolderInto(tree.Path(L"plain\\empty\\"), tree.Path(GreekFolder() + L"\\" + JapaneseFolder()),
                              kMoveMode));
  EXPECT_FALSE(Exists(tree.Path(L"plain\\empty")));
  EXPECT_TRUE(Exists(tree.Path(GreekFolder() + L"\\" + JapaneseFolder() + L"\\empty")));
  // Nothing to paste, or no way to paste it: nothing happens.
  EXPECT_FALSE(PasteFolderInto(L"", tree.Path(L"plain"), kCopyMode));
  EXPECT_FALSE(PasteFolderInto(tree.Path(L"plain"), tree.Path(GreekFolder()), kNoCutCopy));
  EXPECT_FALSE(Exists(tree.Path(GreekFolder() + L"\\plain")));
}

TEST_F(FolderCommands, AFailedPasteIsTold) {
  TWideBoxAnswers answers;
  EXPECT_FALSE(PasteFolderInto(tree.Path(L"gone"), tree.Path(L"plain"), kCopyMode));
  ASSERT_EQ(answers.Texts.size(), 1u);
  EXPECT_NE(answers.Texts[0].find(L"File operation failed"), WideString::npos);
}

TEST_F(FolderCommands, TheTreeSizeReportShowsTheExactBytes) {
  TWideBoxAnswers answers;
  EXPECT_EQ(ShowFolderTreeSize(tree.Path(GreekFolder()), false), 1000 + 2345);
  ASSERT_EQ(answers.Texts.size(), 1u);
  // The dialog's text breaks its lines at CR.
  WideString shown = answers.Texts[0];
  for (wchar_t& c : shown)
    if (c == L'\r') c = L'\n';
  EXPECT_NE(shown.find(L"===== TREE SIZE ====="), WideString::npos) << WideToAnsi(shown);
  EXPECT_NE(shown.find(L"Folder \"" + GreekFolder() + L"\""), WideString::npos);
  EXPECT_NE(shown.find(L"(i.e. " + TreeSizeText(3345) + L" )"), WideString::npos);
  EXPECT_EQ(TreeSizeLabel(L"C:\\", true), L"Drive C:\\");
  EXPECT_EQ(TreeSizeLabel(tree.Path(GreekFolder() + L"\\"), false), L"Folder \"" + GreekFolder() + L"\"");
}

TEST_F(FolderCommands, FolderContentsIsCaptionedInTheLanguage) {
  WideString folder = tree.Path(GreekFolder() + L"\\" + JapaneseFolder());
  WideString chosen;
  TFolderContentsWindow* window =
      ShowFolderContentsOf(folder, [&](TFolderContentsWindow*, const WideString& File) { chosen = File; });
  std::unique_ptr<TFolderContentsWindow, FormFree> hold(window);
  EXPECT_EQ(window->Caption(), L"Files in \" ..\\" + JapaneseFolder() + L" \"");
  ASSERT_EQ(window->List()->Items()->Count(), 1);
  EXPECT_EQ(window->List()->Items()->Item(0)->Caption(), JapaneseFile());
}

TEST_F(FolderCommands, MappingADriveWithoutANetworkTellsTheErrorAndConnectsNothing) {
  std::unique_ptr<TForm, FormFree> owner(TCustomForm::CreateNew<TForm>(nullptr));
  auto mapForm = [] {
    HWND w = FindWindowA(nullptr, "Map Network Drive");
    return w && IsWindowVisible(w) ? w : nullptr;
  };
  // Cancel connects nothing.
  TWhenReady cancel([&] { return mapForm() != nullptr; }, [&] { PostMessageW(mapForm(), WM_CLOSE, 0, 0); });
  EXPECT_FALSE(MapNetworkDrive(owner.get()));
  EXPECT_TRUE(cancel.Done());
  // OK tries the connection, which Wine refuses: the system box tells why.
  TWhenReady ok([&] { return mapForm() != nullptr; },
                [&] {
                  for (int i = 0; i < owner->ComponentCount(); ++i)
                    if (auto* dlg = dynamic_cast<TNetPathDlg*>(owner->Components(i))) {
                      dlg->PathEdit()->SetText(L"\\\\nowhere\\share");
                      SendMessageW(dlg->OkButton()->Handle(), BM_CLICK, 0, 0);
                    }
                });
  TMessageBoxWatcher box;
  EXPECT_FALSE(MapNetworkDrive(owner.get()));
  EXPECT_TRUE(ok.Done());
  EXPECT_TRUE(PumpUntil([&] { return box.Seen(); }, 3000));
  EXPECT_EQ(box.Caption(), "Error while connecting!");
  // Wine has no network provider: the disconnect dialog answers an error at once.
  EXPECT_FALSE(DisconnectNetworkDrive());
}

}  // namespace

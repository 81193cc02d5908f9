// The folder tree as the tag page stores it: read with its values and handler, showing the
// drives at once, telling the handler the chosen folder, and written back without defaults.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>

#include "explorer/explorer_controls.h"
#include "explorer/shell_dir_tree.h"
#include "tests/support/forms.h"
#include "tests/vcl/test_windows.h"
#include "vcl/application.h"
#include "vcl/forms.h"
#include "vcl/streaming.h"

using namespace testwin;

namespace {

const char* kTagPage = R"(object TagPage: TTagPage
  Left = 0
  Top = 0
  Width = 420
  Height = 320
  object ShDirTree1: TShDirTree
    Left = 0
    Top = 85
    Width = 216
    Height = 214
    Align = alLeft
    FolderType = [ftReadOnly, ftSystem, ftDirectory, ftArchive, ftNormal]
    Language = lnEnglish
    About = 'Version 2.1.8.6'
    DragMode = dmAutomatic
    HideSelection = False
    Indent = 19
    ParentColor = False
    TabOrder = 1
    TabStop = True
    OnDirChange = ShDirTree1DirChange
  end
end
)";

class TTagPage : public TForm {
  VCL_CLASS(TTagPage)
 public:
  using TForm::TForm;
  std::vector<AnsiString> folders;
  void ShDirTree1DirChange(TObject*, const AnsiString& SelectedPath) { folders.push_back(SelectedPath); }
};
const TClassMembers& TagPageMembers() {
  static const TClassMembers m =
      TMemberTable<TTagPage>().Handler("ShDirTree1DirChange", &TTagPage::ShDirTree1DirChange).Table();
  return m;
}
VCL_CLASS_IMPL_MEMBERS(TTagPage, TForm, nullptr, nullptr, &TagPageMembers)

// The tag page read from its stored description, not shown.
TForm* ReadTagPage() {
  InitApplication();
  RegisterExplorerControls();
  TForm* page = TCustomForm::CreateNew<TTagPage>(nullptr);
  ReadComponentData(kTagPage, std::strlen(kTagPage), page, "tag.dfm");
  return page;
}

TEST(DirTreeStreaming, TheTagPageTreeIsReadShownAndWrittenWithoutDefaults) {
  std::unique_ptr<TForm, FormFree> page(ReadTagPage());
  auto* tree = dynamic_cast<TShDirTree*>(page->FindComponent("ShDirTree1"));
  ASSERT_TRUE(tree);
  EXPECT_EQ(tree->FolderType(), FileTypeOf({ftReadOnly, ftSystem, ftDirectory, ftArchive, ftNormal}));
  EXPECT_EQ(tree->DragMode(), dmAutomatic);
  EXPECT_FALSE(tree->HideSelection());
  EXPECT_EQ(tree->Width(), 216);

  page->SetBorderStyle(bsNone);
  page->Show();
  Flush();
  // The drives are there under the expanded root as soon as the page shows.
  TTreeNode* root = tree->Items()->GetFirstNode();
  ASSERT_TRUE(root);
  EXPECT_TRUE(root->Expanded());
  TTreeNode* drive = root->getFirstChild();
  while (drive && static_cast<TUniTreeNode*>(drive)->Text().substr(2, 2) != L"C:") drive = drive->GetNextSibling();
  ASSERT_TRUE(drive);
  RECT r = drive->DisplayRect(true);
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageA(tree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(tree->Handle(), WM_LBUTTONUP, 0, at);
  auto* tag = static_cast<TTagPage*>(page.get());
  ASSERT_TRUE(DispatchUntil([&] { return !tag->folders.empty(); }));
  EXPECT_EQ(tag->folders[0], "C:\\");
  EXPECT_EQ(tree->SelectedPath(), "C:\\");

  TMemoryStream stream;
  WriteComponent(&stream, page.get());
  std::string written(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  auto named = [](const std::string& name) { return static_cast<char>(name.size()) + name; };
  for (const char* absent : {"About", "DragDropEnabled", "PopUpMenuEnabled"})
    EXPECT_EQ(written.find(named(absent)), std::string::npos) << absent;
  for (const char* present : {"FolderType", "DragMode", "OnDirChange", "Language"})
    EXPECT_NE(written.find(named(present)), std::string::npos) << present;
}

// On a page not shown yet the stored tree asks the shell for nothing: it has no window and
// no nodes. Asked to open a folder it gets both first; shown, it keeps what it opened.
TEST(DirTreeStreaming, ATreeNotShownYetFillsWhenAskedToOpenAFolderAndKeepsItWhenShown) {
  std::unique_ptr<TForm, FormFree> page(ReadTagPage());
  auto* tree = dynamic_cast<TShDirTree*>(page->FindComponent("ShDirTree1"));
  ASSERT_TRUE(tree);
  EXPECT_FALSE(tree->HandleAllocated());
  EXPECT_EQ(tree->Items()->Count(), 0);

  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  tree->OpenPathW(windows);
  auto* tag = static_cast<TTagPage*>(page.get());
  ASSERT_EQ(tag->folders.size(), 1u);
  EXPECT_EQ(AnsiCompareText(tag->folders[0], WideToAnsi(WideString(windows) + L"\\")), 0) << tag->folders[0];
  TTreeNode* root = tree->Items()->GetFirstNode();
  ASSERT_TRUE(root);
  EXPECT_GT(root->Count(), 0);
  TTreeNode* opened = tree->Selected();
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->Level(), 2);

  page->SetBorderStyle(bsNone);
  page->Show();
  Flush();
  ASSERT_TRUE(tree->HandleAllocated());
  EXPECT_EQ(tree->Items()->GetFirstNode(), root);
  EXPECT_EQ(tree->Selected(), opened);
  EXPECT_EQ(tag->folders.size(), 1u);
}

// The window of a stored tree, made before anything shows it (nothing has the focus), has
// the root and the drives, the root expanded and selected as in a window made with them.
TEST(DirTreeStreaming, ATreesFirstWindowHoldsItsRootSelectedAndTheDrives) {
  std::unique_ptr<TForm, FormFree> page(ReadTagPage());
  auto* tree = dynamic_cast<TShDirTree*>(page->FindComponent("ShDirTree1"));
  ASSERT_TRUE(tree);
  tree->HandleNeeded();
  TTreeNode* root = tree->Items()->GetFirstNode();
  ASSERT_TRUE(root);
  EXPECT_TRUE(root->Expanded());
  EXPECT_GT(root->Count(), 0);
  EXPECT_EQ(tree->Selected(), root);
  EXPECT_TRUE(tree->Images()) << "the shell's icons";
  EXPECT_TRUE(tree->Images()->HandleAllocated());
  EXPECT_TRUE(static_cast<TTagPage*>(page.get())->folders.empty());
}

}  // namespace

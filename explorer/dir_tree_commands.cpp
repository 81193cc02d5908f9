#include "explorer/dir_tree_commands.h"

#include "explorer/explorer_state.h"
#include "explorer/folder_commands.h"
#include "explorer/shell_dir_tree.h"
#include "explorer/shell_routines.h"
#include "vcl/scopeexit.h"
#include "vcl/typinfo.h"

namespace {

// The linked file list shows Path (its "Directory" property).
void ShowInFileList(TShDirTree* Tree, const WideString& Path) {
  TCustomListView* list = Tree->FileList();
  if (!list || Path.empty()) return;
  const TPropInfo* directory = FindPropInfo(list->ClassType(), "Directory");
  if (!directory) return;
  if (directory->Kind == tkWString)
    SetWideStrProp(list, directory, Path);
  else
    SetStrProp(list, directory, AnsiPathOf(Path));
}

// The selected drive or folder (not the root), or null.
TTreeNode* SelectedFolderNode(TShDirTree* Tree) {
  TTreeNode* node = Tree->Selected();
  return node && node->Level() >= 1 && !Tree->SelectedPathW().empty() ? node : nullptr;
}

}  // namespace

void CutOrCopyFolder(TShDirTree* Tree, int Mode) {
  ExplorerShared().CutCopyMode = kNoCutCopy;
  // Only a folder is cut or copied, from the menu and the keys alike: the root is no folder,
  // and a drive root handed on as "C:" names the drive's current directory to the shell.
  if (!Tree->Selected() || Tree->Selected()->Level() < 2 || Tree->SelectedPathW().empty()) return;
  // A folder opened by path carries a trailing "\": the shell would take its contents
  // instead of the folder. A drive root keeps its own.
  const WideString& selected = Tree->SelectedPathW();
  Tree->SetSourcePath(selected.size() > 3 ? RemoveSlash(selected) : selected);
  ExplorerShared().CutCopyMode = Mode;
  Tree->SetPastePending(true);
}

void PasteFolder(TShDirTree* Tree) {
  // The pending flag only steers the menu; it is down after every paste.
  ScopeExit done{[Tree] { Tree->SetPastePending(false); }};
  // The root ("My Computer") is no folder to paste into.
  if (!Tree->Selected() || Tree->Selected()->Level() < 1 || Tree->SelectedPathW().empty() ||
      Tree->SourcePath().empty())
    return;
  int mode = ExplorerShared().CutCopyMode;
  if (mode != kCopyMode && mode != kMoveMode) return;
  WideString target = AddSlash(Tree->SelectedPathW());
  if (!PasteFolderInto(Tree->SourcePath(), target, mode)) return;
  Tree->RebuildTree();
  Tree->OpenPathW(target);
}

double ShowTreeSize(TShDirTree* Tree) {
  TTreeNode* node = SelectedFolderNode(Tree);
  if (!node) return 0;
  WideString path;
  {
    Tree->Items()->BeginUpdate();
    ScopeExit endUpdate{[Tree] { Tree->Items()->EndUpdate(); }};
    path = Tree->BuildNodePath(node);
  }
  return ShowFolderTreeSize(path, node->Level() == 1);
}

TFolderContentsWindow* ShowFolderContents(TShDirTree* Tree) {
  if (!SelectedFolderNode(Tree)) return nullptr;
  WideString folder = Tree->SelectedPathW();
  ExplorerShared().ContentsFolder = AnsiPathOf(folder);
  if (TTreeNode* root = Tree->Items()->GetFirstNode()) root->Collapse(true);
  return ShowFolderContentsOf(folder, [Tree, folder](TFolderContentsWindow*, const WideString& File) {
    Tree->SetSelectedFile("");
    if (!File.empty()) {
      Tree->SetSelectedFile(AnsiPathOf(File));
      if (Tree->OnFileChange) Tree->OnFileChange(Tree, Tree->SelectedFile());
    }
    Tree->OpenPathW(folder);
  });
}

void ConnectNetDrive(TShDirTree* Tree) {
  if (!MapNetworkDrive(Tree)) return;
  Tree->RebuildTree();
  TTreeNode* root = Tree->Items()->GetFirstNode();
  if (!root) return;
  root->Expand(false);
  TTreeNode* drive = root->GetLastChild();
  if (!drive) return;
  Tree->SetSelected(drive);
  Tree->SetSelectedPathW(Tree->BuildNodePath(drive));
  ShowInFileList(Tree, Tree->SelectedPathW());
}

void DisconnectNetDrive(TShDirTree* Tree) {
  if (!DisconnectNetworkDrive()) return;
  Tree->RebuildTree();
  TTreeNode* root = Tree->Items()->GetFirstNode();
  if (!root) return;
  if (!root->Expanded()) root->Expand(false);
  Tree->SetSelected(root);
  Tree->SetSelectedPathW(WideString(L"My Computer"));
  ShowInFileList(Tree, Tree->SelectedPathW());
}

void ShowProperties(TShDirTree* Tree) {
  if (!Tree->Selected() || Tree->SelectedPathW().empty()) return;
  ShowPropertiesSheet(Tree->SelectedPath());
}

// The tree's own operations, as its menu and keys reach them.
void TShDirTree::CutOrCopyFolder(int Mode) { ::CutOrCopyFolder(this, Mode); }
void TShDirTree::PasteFolder() { ::PasteFolder(this); }
double TShDirTree::ShowTreeSize() { return ::ShowTreeSize(this); }
void TShDirTree::ShowFolderContents() { ::ShowFolderContents(this); }
void TShDirTree::ConnectNetDrive() { ::ConnectNetDrive(this); }
void TShDirTree::DisconnectNetDrive() { ::DisconnectNetDrive(this); }
void TShDirTree::ShowProperties() { ::ShowProperties(this); }

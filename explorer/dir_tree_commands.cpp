// The folder tree's commands that work on its selection through the folder commands:
// cut, copy and paste, the tree size, the folder contents, network drives, properties.
#include "explorer/explorer_state.h"
#include "explorer/folder_commands.h"
#include "explorer/shell_dir_tree.h"
#include "explorer/shell_routines.h"

void TShDirTree::CutOrCopyFolder(int Mode) {
  ExplorerShared().CutCopyMode = kNoCutCopy;
  if (!Selected() || FSelectedPath.empty()) return;
  // A folder opened by path carries a trailing "\": the shell would take its contents
  // instead of the folder. A drive root keeps its own.
  FSourcePath = FSelectedPath.size() > 3 ? RemoveSlash(FSelectedPath) : FSelectedPath;
  ExplorerShared().CutCopyMode = Mode;
  FPastePending = true;
}

void TShDirTree::PasteFolder() {
  int mode = ExplorerShared().CutCopyMode;
  // The pending flag only steers the menu: Ctrl+V may paste the same folder again.
  if (Selected() && !FSelectedPath.empty() && !FSourcePath.empty() && (mode == kCopyMode || mode == kMoveMode)) {
    FTargetPath = AddSlash(FSelectedPath);
    if (PasteFolderInto(FSourcePath, FTargetPath, mode)) {
      RebuildTree();
      OpenPathW(FTargetPath);
    }
  }
  FPastePending = false;
}

double TShDirTree::ShowTreeSize() {
  TTreeNode* selected = Selected();
  if (!selected || selected->Level() < 1) return 0;
  WideString path = BuildNodePath(selected);
  return ShowFolderTreeSize(path, selected->Level() == 1);
}

void TShDirTree::ShowFolderContents() {
  TTreeNode* selected = Selected();
  if (!selected || selected->Level() < 1) return;
  WideString folder = BuildNodePath(selected);
  ExplorerShared().ContentsFolder = AnsiPathOf(folder);
  if (TTreeNode* root = Items()->GetFirstNode()) root->Collapse(true);
  ShowFolderContentsOf(folder, [this, folder](TFolderContentsWindow*, const WideString& File) {
    FSelectedFile.clear();
    FSelectedFile = File.empty() ? AnsiString() : AnsiPathOf(File);
    if (!File.empty() && OnFileChange) OnFileChange(this, FSelectedFile);
    OpenPathW(folder);
  });
}

void TShDirTree::ConnectNetDrive() {
  if (!MapNetworkDrive(this)) return;
  RebuildTree();
  TTreeNode* root = Items()->GetFirstNode();
  if (!root) return;
  root->Expand(false);
  if (TTreeNode* last = root->GetLastChild()) {
    last->SetSelected(true);
    FSelectedPath = BuildNodePath(last);
  }
  if (FFileList) FollowInFileList(FSelectedPath, false);
}

void TShDirTree::DisconnectNetDrive() {
  if (!DisconnectNetworkDrive()) return;
  RebuildTree();
  TTreeNode* root = Items()->GetFirstNode();
  if (!root) return;
  if (!root->Expanded()) root->Expand(false);
  root->SetSelected(true);
  SetSelectedPath(kMyComputerPath);
  if (FFileList) FollowInFileList(FSelectedPath, true);
}

void TShDirTree::ShowProperties() {
  if (Selected() && !FSelectedPath.empty()) ShowPropertiesSheet(SelectedPath());
}

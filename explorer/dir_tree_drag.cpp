// Folders dragged from one node onto another, in this tree or another folder tree of the
// program: the mouse is followed until the button comes up, then the shell copies or moves.
#include <windows.h>
#include <shellapi.h>

#include "explorer/explorer_state.h"
#include "explorer/file_list_view.h"
#include "explorer/shell_dir_tree.h"
#include "explorer/shell_routines.h"
#include "explorer/tree_drag_loop.h"
#include "vcl/application.h"
#include "vcl/scopeexit.h"
#include "widetext/uni_message_dialogs.h"

void TShDirTree::DoStartDrag(TTreeNode* Node) {
  if (!DragDropEnabled || !Node) {
    TUniCustomTreeView::DoStartDrag(Node);
    return;
  }
  FDragNode = Node;
  FSourcePath = BuildNodePath(Node);
  if (FDragMode == dmManual)
    ExplorerShared().DragMode = (GetKeyState(VK_CONTROL) < 0) ? kCopyMode : kMoveMode;
  if (OnStartDrag) OnStartDrag(this, Node);
  FDragTracked = true;
  TrackFolderDrag();
}

void TShDirTree::TrackFolderDrag() {
  // Any folder tree of the program may take the folder.
  FollowDragOntoTree(this, WindowHandle(), [](TShDirTree*) { return true; });
  FDragNode = nullptr;
}

void TShDirTree::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  TUniCustomTreeView::DragOver(Source, X, Y, State, Accept);
  if (!DragDropEnabled) return;
  Accept = false;
  auto* sourceTree = dynamic_cast<TShDirTree*>(Source);
  bool fromList = FFileList && Source == FFileList;
  if (!sourceTree && !fromList) return;
  FDropNode = GetNodeAt(X, Y);
  // Not onto the node being dragged.
  TTreeNode* dragged = sourceTree ? sourceTree->DragNode() : FDragNode;
  Accept = FDropNode && FDropNode != dragged;
}

void TShDirTree::DragDrop(TObject* Source, int X, int Y) {
  if (!DragDropEnabled || !Selected()) return;
  FTargetPath.clear();
  constexpr THitTests kOnNode =
      HitTestBit(htOnItem) | HitTestBit(htOnIcon) | HitTestBit(htOnLabel) | HitTestBit(htOnRight);
  if (GetHitTestInfoAt(X, Y) & kOnNode) {
    FDropNode = GetNodeAt(X, Y);
    if (!FDropNode || ReadOnly()) return;
    FTargetPath = AddSlash(BuildNodePath(FDropNode));
    if (!FTargetPath.empty()) {
      DropOnTarget(Source);
      return;
    }
  }
  // Beside the nodes (or on the root, which is no folder): the form's handler has it.
  TUniCustomTreeView::DragDrop(Source, X, Y);
}

void TShDirTree::DropOnTarget(TObject* Source) {
  WideString target = FTargetPath;
  // Whatever the operation did, the tree shows the drop folder afterwards.
  ScopeExit show{[this, target] {
    if (Application) Application->ProcessMessages();
    RebuildTree();
    OpenPathW(target);
    if (FFileList) FollowInFileList(target, true);
  }};
  UINT operation = ExplorerShared().DragMode == kMoveMode ? FO_MOVE : FO_COPY;
  auto* sourceTree = dynamic_cast<TShDirTree*>(Source);
  auto* sourceList = FFileList && Source == FFileList ? dynamic_cast<TShFileListView*>(FFileList) : nullptr;
  if (sourceList) {
    DropListFiles(sourceList, operation, target);
    return;
  }
  if (!sourceTree) return;  // nothing this tree knows how to drop
  if (Application) Application->ProcessMessages();
  bool done;
  {
    Items()->BeginUpdate();
    ScopeExit end{[this] { Items()->EndUpdate(); }};
    done = DoFileOperation(nullptr, operation, sourceTree->SourcePath(), false, target);
  }
  if (!done)
    WideMessageDlg(AnsiToWide(ExplorerMessages().FileOperationFailed), mtError, MsgDlgButton(mbOK), 0);
}

void TShDirTree::DropListFiles(TShFileListView* List, UINT Operation, const WideString& Target) {
  // Files only, in list order: the folder rows are unselected first.
  std::vector<WideString> files;
  for (int row : List->SelectedRows()) {
    if (UpperCase(List->Row(row).Kind) == "DIR") {
      ListView_SetItemState(List->Handle(), row, 0, LVIS_SELECTED);
      continue;
    }
    if (List->Row(row).Kind == "file") files.push_back(List->Row(row).FullPath);
  }
  if (files.empty()) {
    WideMessageDlg(AnsiToWide(ExplorerMessages().NoFileSelected), mtWarning, MsgDlgButton(mbOK), 0);
    return;
  }
  Items()->BeginUpdate();
  ScopeExit end{[this] { Items()->EndUpdate(); }};
  for (const WideString& file : files) {
    if (Application) Application->ProcessMessages();
    DoFileOperation(nullptr, Operation, file, false, Target + ExtractFileNameOf(file));
  }
}

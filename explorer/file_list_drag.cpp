// Rows of the file list dragged onto a node of its folder tree: the mouse is followed until
// the button comes up, and the tree copies or moves the files into the node's folder.
#include "explorer/file_list_view.h"
#include "explorer/shell_dir_tree.h"
#include "explorer/tree_drag_loop.h"

void TShFileListView::DragRowsToTree(POINT Origin) {
  if (!FDirTree || !FDirTree->DragDropEnabled || SelectedRows().empty() || !HandleAllocated()) return;
  // A little more than the window's own drag distance, so that a click that wobbles stays
  // a click.
  if (!FollowUntilDragDistance(WindowHandle(), Origin, kExtraDragDistance)) return;
  // Only the linked tree takes the rows: it knows them as its file list's.
  FollowDragOntoTree(this, WindowHandle(), [this](TShDirTree* Tree) { return Tree == FDirTree; });
}

// What the tag page asks of its folder tree. The tree's own header cannot stand beside the
// main window's (both name a TFileTypeItem), so the page reaches it through these.
#pragma once

#include "widetext/uni_tree_view.h"

// The folder the tree's OnDirChange names, as UTF-16: the tree's own wide path when its
// 8-bit form is SelectedPath, else SelectedPath widened.
WideString FolderOfTree(TUniCustomTreeView* Tree, const AnsiString& SelectedPath);
// Opens the tree down to an existing folder and selects it (its OnDirChange follows).
void OpenTreeFolder(TUniCustomTreeView* Tree, const WideString& Folder);

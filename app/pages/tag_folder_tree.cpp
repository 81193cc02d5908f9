#include "app/pages/tag_folder_tree.h"

#include "explorer/shell_dir_tree.h"

WideString FolderOfTree(TUniCustomTreeView* Tree, const AnsiString& SelectedPath) {
  if (auto* tree = dynamic_cast<TShDirTree*>(Tree)) {
    const WideString wide = tree->SelectedPathW();
    if (!wide.empty() && AnsiPathOf(wide) == SelectedPath) return wide;
  }
  return AnsiToWide(SelectedPath);
}

void OpenTreeFolder(TUniCustomTreeView* Tree, const WideString& Folder) {
  if (auto* tree = dynamic_cast<TShDirTree*>(Tree)) tree->OpenPathW(Folder);
}

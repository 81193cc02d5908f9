// The folder-contents window of the folder tree: a sizeable tool window listing the files
// (not the folders) of one folder with their small system icons. A double click opens a
// file; OK hands the selected file to whoever opened the window and closes it.
#pragma once

#include <functional>
#include <memory>

#include "vcl/extctrls.h"
#include "vcl/imglist.h"
#include "vcl/stdctrls.h"
#include "widetext/uni_forms.h"
#include "widetext/uni_list_view.h"

// The window's caption: FilesIn ("Files in ") and the folder, as `" C:\ "` for a drive and
// `" ..\name "` for a folder below one.
WideString FolderContentsCaption(const WideString& FilesIn, const WideString& Folder);

// The file entries (no folders) of a folder, in the order the file system gives them.
std::vector<WideString> FolderFileNames(const WideString& Folder);

// The shell's small system image list (never destroyed by its users).
HIMAGELIST SystemSmallImageList();

class TFolderContentsWindow : public TUniForm {
  VCL_CLASS(TFolderContentsWindow)
 public:
  // The full path of the file chosen with OK ("" when nothing was selected).
  using TChosenEvent = std::function<void(TFolderContentsWindow* Sender, const WideString& SelectedFile)>;

  // Builds, fills and shows (not modally) the window of Folder. When OK is pressed,
  // OnChosen runs and the window is released.
  static TFolderContentsWindow* ShowFolder(const WideString& Folder, const WideString& Caption,
                                           TChosenEvent OnChosen);

  explicit TFolderContentsWindow(TComponent* AOwner);

  const WideString& Folder() const { return FFolder; }
  TUniListView* List() const { return FList; }
  TButton* OkButton() const { return FOkButton; }
  // The full path of an item (kept in its first sub-item).
  static WideString ItemPath(TUniListItem* Item);

  TChosenEvent OnChosen;

 private:
  void Build();
  void Fill(const WideString& Folder);
  void ListDblClick(TObject* Sender);
  void OkClick(TObject* Sender);

  WideString FFolder;
  TUniListView* FList = nullptr;
  TPanel* FBottomPanel = nullptr;
  TPanel* FButtonPanel = nullptr;
  TButton* FOkButton = nullptr;
  TImageList* FImages = nullptr;
};

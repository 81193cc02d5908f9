// The file list view's own pop-up menu: Open, View, Send To (with the shortcuts of the user's
// SendTo folder), Cut, Copy, Paste, Rename, Delete, Properties and New Folder, enabled by the
// state of the view each time it opens.
#pragma once

#include <windows.h>

#include <vector>

#include "vcl/imglist.h"
#include "vcl/menus.h"

class TShFileListView;

class TShFileListViewPopUp : public TPopupMenu {
  VCL_CLASS(TShFileListViewPopUp)
 public:
  explicit TShFileListViewPopUp(TComponent* AOwner);
  ~TShFileListViewPopUp() override;

  TShFileListView* FileList() const { return FFileList; }
  void SetFileList(TShFileListView* Value) { FFileList = Value; }
  // The shell's small system image list (shared, never freed here).
  TCustomImageList* Images() const { return FImages; }
  // The paths of the SendTo folder's shortcuts; entry i is the item "Send_To" + (i + 4).
  const std::vector<WideString>& SendToList() const { return FSendToList; }

  void BuildMenu();
  TMenuItem* NewMenuItem(const AnsiString& Caption, TShortCut ShortCut, HBITMAP Bitmap, int Tag, const AnsiString& Name,
                         TNotifyEvent OnClick, int GroupIndex, bool Enabled, bool Checked);
  void AddSendToItems();
  void ItemClick(TObject* Sender);
  // Enables the items by the view's state (what Popup does before it shows the menu).
  void UpdateItemStates();
  void Popup(int X, int Y) override;

  // The item of a name ("ItemOpen", "Send_To1", ...), or null.
  TMenuItem* ItemNamed(const AnsiString& Name) const;

 private:
  TShFileListView* FFileList = nullptr;
  TCustomImageList* FImages = nullptr;
  std::vector<WideString> FSendToList;
  HBITMAP FBitmaps[13] = {};
  AnsiString FCaptions[14];
};

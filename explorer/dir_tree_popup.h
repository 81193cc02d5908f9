// The folder tree's own context menu: its folder commands with small pictures, captioned in
// the tree's language and enabled by the kind of node selected.
#pragma once

#include <windows.h>

#include <array>

#include "vcl/menus.h"

class TShDirTree;

class TShDirTreePopUp : public TPopupMenu {
  VCL_CLASS(TShDirTreePopUp)
 public:
  static constexpr int kCommandCount = 11;

  // Loads the pictures; the items come with Build.
  explicit TShDirTreePopUp(TComponent* AOwner);
  ~TShDirTreePopUp() override;

  // Captions in the tree's current language, then the items and separators.
  void Build();
  // Enables the items for the tree's selection, then opens 10 pixels right of and below
  // the point.
  void Popup(int X, int Y) override;
  // Enables the items: by the selected node's level (0 root, 1 drive, 2 and deeper folder).
  void UpdateItems();

  TShDirTree* Tree() const { return FTree; }
  void SetTree(TShDirTree* Value) { FTree = Value; }
  HBITMAP Picture(int Index) const { return FBitmaps[static_cast<size_t>(Index)]; }

 private:
  void ItemClick(TObject* Sender);

  std::array<HBITMAP, kCommandCount> FBitmaps{};
  std::array<AnsiString, kCommandCount> FCaptions;
  TShDirTree* FTree = nullptr;
};

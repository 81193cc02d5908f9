// TShDirTreeCombo: an edit that shows the chosen folder with its icon and drops down a
// folder tree (TShDirTreeView) below itself, opened by its button or the keyboard. It
// follows the shell's change notices and reports a newly chosen folder through
// OnPathChange. Folder paths are UTF-16, so every folder name can be shown and chosen.
#pragma once

#include <functional>
#include <memory>

#include "vcl/buttons.h"
#include "vcl/imglist.h"
#include "vcl/listview.h"
#include "widetext/uni_edits.h"
#include "widetext/uni_tree_view.h"

class TShDirTreeCombo;

// The pseudo-folder that stands for the list of drives.
extern const wchar_t* const kMyComputer;  // "My Computer"

using TPathChangeEvent = std::function<void(TObject* Sender, const WideString& SelectedPath)>;

// The combo's button: a speed button that opens no context menu.
class TShSpeedButton : public TSpeedButton {
  VCL_CLASS(TShSpeedButton)
 public:
  using TSpeedButton::TSpeedButton;
  void Dispatch(TMessage& Message) override;
};

// The drop-down folder tree: a top-level tool window under the combo. Its nodes: the
// drives folder ("My Computer"), a node per drive (" (C:)  " and the drive's name) and the
// folders below, every folder listed, filled when first expanded.
class TShDirTreeView : public TUniCustomTreeView {
  VCL_CLASS(TShDirTreeView)
  friend class TShDirTreeCombo;

 public:
  explicit TShDirTreeView(TComponent* AOwner);

  const WideString& SelectedPath() const { return FSelectedPath; }
  bool ExpandRoot() const { return FExpandRoot; }

  // Clears the nodes, then adds the drives folder and a node per drive.
  void AddRootAndDrives();
  // The path of a node: "C:\" for a drive, "C:\Music\Rock" below one, "" for the root.
  WideString BuildNodePath(TTreeNode* Node) const;
  // The folders inside Path as children of Parent.
  void AddChildFolders(const WideString& Path, TTreeNode* Parent);
  static bool HasSubFolders(const WideString& Path);
  TUniTreeNode* Root() { return Items()->GetFirstNode(); }

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Expand(TTreeNode* Node) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

 private:
  void FillOnExpanding(TObject* Sender, TTreeNode* Node, bool& AllowExpansion);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  TShDirTreeCombo* Combo() const;

  WideString FWorkPath;
  WideString FSelectedPath;
  WideString FPreviousPath;
  bool FExpandRoot = true;
  bool FMouseInside = false;
};

class TShDirTreeCombo : public TUniCustomEdit {
  VCL_CLASS(TShDirTreeCombo)
 public:
  explicit TShDirTreeCombo(TComponent* AOwner);
  ~TShDirTreeCombo() override;

  // The drop-down tree's selected path ("My Computer" for the drives folder). Writing
  // stores it there; it does not move the tree (SetPath does).
  WideString SelectedPath() const;
  void SetSelectedPath(const WideString& Value);
  // The file list view that shows the combo's folder: any list view with a "Directory"
  // property (the file list view of this family). Not owned.
  TCustomListView* FileList() const { return FFileList; }
  void SetFileList(TCustomListView* Value);
  bool ExpandRoot() const;
  void SetExpandRoot(bool Value);
  bool HideSelection() const;
  void SetHideSelection(bool Value);
  // The button's glyph (the system's combo arrow at first); nil is ignored.
  TBitmap* Glyph() const;
  void SetGlyph(TBitmap* Value);
  int TreeHeight() const;
  void SetTreeHeight(int Value);
  AnsiString About() const { return "Version 2.8.8.6"; }
  void SetAbout(const AnsiString&) {}

  // Walks the tree to an existing folder, shows it in the combo and reports it.
  void SetPath(const WideString& Path);
  // Opens or closes the drop-down.
  void DropDownToggle();
  void CloseDropDown();
  bool DroppedDown() const;
  // The tree rebuilt from the drives, its selection back on SelectedPath (F5).
  void RebuildTree();

  TShDirTreeView* Tree() const { return FTree; }
  TShSpeedButton* Button() const { return FButton; }
  // The shell's small system icons, which the tree and the combo draw.
  TCustomImageList* Images() const { return FImages; }
  // The icon the combo shows (-1 none).
  int ImageIndex() const { return FImageIndex; }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Dispatch(TMessage& Message) override;

  TPathChangeEvent OnPathChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TShDirTreeView;
  void ShowInFileList(const WideString& Path);
  void SetEditRect();
  void ShowNode(TTreeNode* Node);
  void ChooseNode(TTreeNode* Node);
  void FireOnPathChange();
  void WalkTo(const WideString& Path);
  LRESULT NotifyWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void WMPaint(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

  TShSpeedButton* FButton = nullptr;
  TShDirTreeView* FTree = nullptr;
  TCustomListView* FFileList = nullptr;
  WideString FWindowsPath;
  int FImageIndex = -1;
  TImageList* FImages = nullptr;
  std::unique_ptr<TControlCanvas> FCanvas;
  HWND FNotifyWindow = nullptr;
  ULONG FNotifyHandle = 0;
  TWndMethod FPreviousWindowProc;
  TWndMethod FTreeWindowProc;
};

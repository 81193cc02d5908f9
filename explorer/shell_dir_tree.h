// The folder tree: the computer's drives and folders under "My Computer", filled as the
// user opens them, kept current by the shell's change notices, and a small folder manager
// (new, rename, delete, cut/copy/paste, drag and drop) through the shell's file operations.
//
// Nodes hold UTF-16 names, so folders the ANSI code page cannot spell show as they are.
// SelectedPath is 8-bit: a path whose characters the code page holds as it is, any other in
// its short form, which the 8-bit file functions open all the same. SelectedPathW is the
// path as the user sees it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "explorer/explorer_texts.h"
#include "explorer/file_type.h"
#include "vcl/listview.h"
#include "widetext/uni_tree_view.h"

class TShDirTreePopUp;
class TCustomListView;
class TShFileListView;
class TNetPathDlg;

using TDirChangeEvent = std::function<void(TObject* Sender, const AnsiString& SelectedPath)>;
using TFileChangeEvent = std::function<void(TObject* Sender, const AnsiString& SelectedFile)>;

enum TDragMode { dmManual, dmAutomatic };
VCL_ENUM_INFO(TDragMode, "dmManual", "dmAutomatic")

// The shell's change notice the tree asks for (and the folder combo too).
constexpr UINT WM_SHELL_CHANGE_NOTIFY = 1026;

// The text of the root's path when the root is selected.
constexpr const char kMyComputerPath[] = "My Computer";

class TShDirTree : public TUniCustomTreeView {
  VCL_CLASS(TShDirTree)
 public:
  explicit TShDirTree(TComponent* AOwner);
  ~TShDirTree() override;

  // --- published
  TFileType FolderType() const { return FFolderType; }
  void SetFolderType(TFileType Value) { FFolderType = Value; }
  // The file list view that shows the tree's folder (any list view with a "Directory"
  // property: the file list view of this family).
  TCustomListView* FileList() const { return FFileList; }
  void SetFileList(TCustomListView* Value);
  TLanguage Language() const { return FLanguage; }
  void SetLanguage(TLanguage Value);
  bool PopUpMenuEnabled() const { return FPopUpMenuEnabled; }
  void SetPopUpMenuEnabled(bool Value);
  AnsiString SelectedPath() const;
  void SetSelectedPath(const AnsiString& Value);
  const WideString& SelectedPathW() const { return FSelectedPath; }
  void SetSelectedPathW(const WideString& Value);
  const AnsiString& SelectedFile() const { return FSelectedFile; }
  void SetSelectedFile(const AnsiString& Value);
  AnsiString About() const { return "Version 2.1.8.6"; }
  void SetAbout(const AnsiString&) {}
  bool DragDropEnabled = true;
  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  TDirChangeEvent OnDirChange;
  TFileChangeEvent OnFileChange;

  // --- building
  void RebuildTree();
  void AddRootNode();
  void AddDriveNodes();
  // The path of a node: "C:\" for a drive, "C:\Music\Rock" below it, '' for the root.
  WideString BuildNodePath(TTreeNode* Node);
  void AddChildFolders(const WideString& Path, TTreeNode* Parent);
  // Expands the tree down to an existing folder, selects it and tells OnDirChange.
  void OpenPath(const AnsiString& Path);
  void OpenPathW(const WideString& Path);
  // A stored tree fills itself (root and drives) with its first window; this fills it now
  // when that has not happened yet.
  void NodesNeeded();

  // --- folder commands
  // Creates a sub-folder of Node (the selection when null); an empty name takes the
  // language's new-folder name and starts naming it in place.
  bool NewFolder(TTreeNode* Node, const WideString& Name);
  // Deletes a folder (level 2 and deeper) through the shell: to the recycle bin, after the
  // shell's question.
  bool DeleteFolder(TTreeNode* Node);
  // Ends a label edit with a new name (a null Text: cancelled): the folder is renamed
  // through the shell after the user agrees.
  void RenameFolder(TTreeNode* Node, const wchar_t* Text);
  // Remembers the selected folder for PasteFolder: Mode 0 copies, 2 moves.
  void CutOrCopyFolder(int Mode);
  // Copies or moves the remembered folder into the selected one.
  void PasteFolder();
  // Measures the selected folder tree, shows the report and answers the bytes.
  double ShowTreeSize();
  // A window listing the selected folder's files; its OK sets SelectedFile.
  void ShowFolderContents();
  void ConnectNetDrive();
  void DisconnectNetDrive();
  // The shell's property sheet of the selected folder.
  void ShowProperties();

  // --- drag and drop of folders between the program's folder trees
  // Whether a drop of Source at (X, Y) is taken: OnDragOver is asked first; with drag and
  // drop on, only another node of a folder tree (or rows of the linked list) is taken.
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  // Copies or moves (by the drag mode) the dragged folder into the node at (X, Y); a drop
  // beside the nodes goes to OnDragDrop.
  void DragDrop(TObject* Source, int X, int Y) override;
  TTreeNode* DragNode() const { return FDragNode; }

  // --- state the menu and the linked controls ask for
  TShDirTreePopUp* OwnPopupMenu() const { return FPopupMenu; }
  bool PastePending() const { return FPastePending; }
  void SetPastePending(bool Value) { FPastePending = Value; }
  const WideString& SourcePath() const { return FSourcePath; }
  void SetSourcePath(const WideString& Value) { FSourcePath = Value; }
  const WideString& TargetPath() const { return FTargetPath; }
  bool IsNetworkDrive(wchar_t Letter) const;
  bool NamingNewFolder() const { return FNamingNewFolder; }
  HWND NotifyWindow() const { return FNotifyWindow; }
  ULONG ChangeNotifyHandle() const { return FNotifyHandle; }

  // The attribute mask a folder's attributes must lie in, from a FolderType set.
  static DWORD FolderAttributeMask(TFileType FolderType);
  // Whether a search entry is a folder to list under that mask.
  static bool IsWantedFolder(DWORD Attributes, const wchar_t* Name, DWORD Mask);
  // " (C:)  " + the display name up to its first "(".
  static WideString DriveNodeText(wchar_t Letter, const WideString& DisplayName);

  void Dispatch(TMessage& Message) override;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  bool CanEdit(TTreeNode* Node) override;
  void Edit(const TVITEMA& Item) override;
  void DoStartDrag(TTreeNode* Node) override;

  // The folder filler (the tree's own OnExpanding).
  void FillFolder(TObject* Sender, TTreeNode* Node, bool& AllowExpansion);
  // Selection by mouse or keyboard: path, drive check, OnDirChange, linked list.
  bool SelectionChanged(bool ReturnOnFailedDrive);
  virtual void DirChanged();

 private:
  void ChangeNotice(LPARAM Event);
  // Makes the notice window and registers it for the shell's change notices, once.
  void ChangeNoticesNeeded();
  void RegisterChangeNotify();
  void DeregisterChangeNotify();
  void MakePopupMenu();
  // The context menu, made once with the first window (only a window can be right-clicked).
  void PopupMenuNeeded();
  // Takes the shell's small system image list into the tree's own image list, once.
  void SystemImagesNeeded();
  bool HasSubFolders(const WideString& Path, DWORD Mask);
  void FollowInFileList(const WideString& Path, bool Refresh);
  void TrackFolderDrag();
  // Copies or moves what Source holds into the target path.
  void DropOnTarget(TObject* Source);
  void DropListFiles(TShFileListView* List, UINT Operation, const WideString& Target);

  TCustomListView* FFileList = nullptr;
  TNetPathDlg* FNetPathDlg = nullptr;
  WideString FPreviousPath;
  WideString FSelectedPath;
  WideString FWorkPath;
  TShDirTreePopUp* FPopupMenu = nullptr;
  bool FPopUpMenuEnabled = true;
  bool FNamingNewFolder = false;
  AnsiString FSelectedFile;
  bool FPastePending = false;
  WideString FSourcePath;
  WideString FTargetPath;
  bool FNetworkDrives[26] = {};
  TLanguage FLanguage = lnSysDefault;
  ULONG FNotifyHandle = 0;
  HWND FNotifyWindow = nullptr;
  TTreeNode* FDragNode = nullptr;
  TTreeNode* FDropNode = nullptr;
  TFileType FFolderType = 0;
  TDragMode FDragMode = dmManual;
  bool FDragTracked = false;  // a drag ran inside the press the mouse-down handling sees
  std::unique_ptr<TCustomImageList> FSystemImages;
  bool FSystemImagesTaken = false;
  bool FFillPending = false;  // read from a stream, its root and drives not added yet
};

// The 8-bit form of a path: as it is when the ANSI code page holds every character, else
// its short form (or the lossy conversion when the file system has no short name).
AnsiString AnsiPathOf(const WideString& Path);

// The tree view ("SysTreeView32"): TTreeNode, the node list TTreeNodes and the control.
//
// The nodes are objects of their own and outlive the window: the window only shows them.
// Each item of the window carries its node in lParam and asks for its text and images
// when it needs them (callback texts, answered in TVN_GETDISPINFOA), so a node's text lives
// in one place. When the window is re-created the nodes are inserted again in node order,
// with their expanded state and the selection they had.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <vector>

#include "vcl/comctrls_common.h"
#include "vcl/controls.h"
#include "vcl/imglist.h"
#include "vcl/streams.h"

class TTreeNode;
class TTreeNodes;
class TCustomTreeView;

enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };

// Where a point lies relative to a tree's items (GetHitTestInfoAt).
enum THitTest {
  htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel, htOnRight,
  htOnStateIcon, htToLeft, htToRight
};
using THitTests = unsigned;  // bit n = THitTest n
constexpr THitTests HitTestBit(THitTest t) { return 1u << t; }

// The class of the nodes a tree makes (CreateNode).
struct TTreeNodeClass {
  const TMetaClass* Class;
  TTreeNode* (*Create)(TTreeNodes* Owner);
};
template <class T>
const TTreeNodeClass* TreeNodeClassOf() {
  static const TTreeNodeClass info{T::StaticClass(), [](TTreeNodes* owner) -> TTreeNode* { return new T(owner); }};
  return &info;
}

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, AnsiString& S)>;
using TTVCompareEvent = std::function<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int Data, int& Compare)>;
using TTVCreateNodeClassEvent = std::function<void(TCustomTreeView* Sender, const TTreeNodeClass*& NodeClass)>;

// ---------------------------------------------------------------------------

class TTreeNode : public TPersistent {
  VCL_CLASS(TTreeNode)
  friend class TTreeNodes;
  friend class TCustomTreeView;

 public:
  explicit TTreeNode(TTreeNodes* AOwner);
  // Frees the children with the node; unlinking from the tree is Delete's work.
  ~TTreeNode() override;

  TTreeNodes* Owner() const { return FOwner; }
  TCustomTreeView* TreeView() const;
  HTREEITEM ItemId() const { return FItemId; }

  const AnsiString& Text() const { return FText; }
  virtual void SetText(const AnsiString& Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  int SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int Value);
  int StateIndex() const { return FStateIndex; }
  void SetStateIndex(int Value);
  int OverlayIndex() const { return FOverlayIndex; }
  void SetOverlayIndex(int Value);
  void* Data() const { return FData; }
  void SetData(void* Value);
  // Whether the node shows an expand button; set for a node whose children are added when
  // it is first expanded (OnExpanding). Adding a child sets it, deleting the last clears it.
  bool HasChildren() const { return FHasChildren; }
  void SetHasChildren(bool Value);
  bool Expanded() const;
  void SetExpanded(bool Value);
  void Expand(bool Recurse);
  void Collapse(bool Recurse);

  int Count() const { return static_cast<int>(FChildren.size()); }
  TTreeNode* Item(int Index) const;
  TTreeNode* Parent() const { return FParent; }
  int Index() const;
  int AbsoluteIndex() const;
  int Level() const;
  bool IsFirstNode() const { return !FParent && Index() == 0; }

  TTreeNode* getFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
  TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // Node order: a node, then its children, then its next sibling.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  // The next and previous nodes a user sees (inside expanded parents only).
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;
  bool HasAsParent(const TTreeNode* Value) const;

  bool Selected() const;
  void SetSelected(bool Value);
  bool Focused() const;
  void SetFocused(bool Value);
  bool IsVisible() const;
  void MakeVisible();
  // Starts editing the label in place; false when the tree has no window or refuses.
  bool EditText();
  void EndEdit(bool Cancel);
  RECT DisplayRect(bool TextOnly) const;

  // Unlinks the node (and its children) from the tree, telling OnDeletion, and frees it.
  void Delete();
  void DeleteChildren();
  // True from the start of Delete until the node is gone.
  bool Deleting() const { return FDeleting; }

  // Sorts the children (all levels below with Recurse) with the tree's default order.
  bool AlphaSort(bool Recurse = false);
  bool CustomSort(PFNTVCOMPARE SortProc, LPARAM Data, bool Recurse = false);

  // Text, images, data and the expand button of another node.
  void Assign(TPersistent* Source) override;

 private:
  void InsertItems();     // puts the node and its children into the window
  void ForgetItemIds();   // after the window went
  void UpdateItem(UINT Mask);
  void MarkDeleting(bool Notify);

  TTreeNodes* FOwner;
  TTreeNode* FParent = nullptr;
  std::vector<TTreeNode*> FChildren;
  HTREEITEM FItemId = nullptr;
  AnsiString FText;
  int FImageIndex = 0;
  int FSelectedIndex = 0;
  int FStateIndex = -1;
  int FOverlayIndex = -1;
  void* FData = nullptr;
  bool FHasChildren = false;
  bool FExpanded = false;  // kept while there is no window item
  bool FDeleting = false;
};

// ---------------------------------------------------------------------------

class TTreeNodes : public TPersistent {
  VCL_CLASS(TTreeNodes)
  friend class TTreeNode;
  friend class TCustomTreeView;

 public:
  explicit TTreeNodes(TCustomTreeView* AOwner);
  ~TTreeNodes() override;

  TCustomTreeView* Owner() const { return FOwner; }
  // All nodes, at every level.
  int Count() const;
  // The node at Index in node order.
  TTreeNode* Item(int Index) const;
  TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
  TTreeNode* GetNode(HTREEITEM ItemId) const;
  int TopLevelCount() const { return static_cast<int>(FRoots.size()); }
  TTreeNode* TopLevelItem(int Index) const;

  // After Sibling (as the last node of its level); at the top level when Sibling is null.
  TTreeNode* Add(TTreeNode* Sibling, const AnsiString& S);
  TTreeNode* AddObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr);
  TTreeNode* AddFirst(TTreeNode* Sibling, const AnsiString& S);
  TTreeNode* AddObjectFirst(TTreeNode* Sibling, const AnsiString& S, void* Ptr);
  TTreeNode* AddChild(TTreeNode* Parent, const AnsiString& S);
  TTreeNode* AddChildObject(TTreeNode* Parent, const AnsiString& S, void* Ptr);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const AnsiString& S);
  TTreeNode* AddChildObjectFirst(TTreeNode* Parent, const AnsiString& S, void* Ptr);
  // Before Sibling; at the end of the top level when Sibling is null.
  TTreeNode* Insert(TTreeNode* Sibling, const AnsiString& S);
  TTreeNode* InsertObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr);

  void Clear();
  void Delete(TTreeNode* Node) { Node->Delete(); }
  // Redrawing (and sorting) waits until the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return FUpdateCount > 0; }

  // Copies the nodes of another list (texts, images, data, structure).
  void Assign(TPersistent* Source) override;
  // "Data": the nodes in the stored node format, with 8-bit texts. The data field of a
  // stored record is written but never read back into a node: a pointer means nothing in
  // another run of the program.
  void DefineProperties(TFiler* Filer) override;
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);

 protected:
  TTreeNode* InternalAddObject(TTreeNode* Node, const AnsiString& S, void* Ptr, TNodeAttachMode Mode);
  // Whether the list differs from an ancestor's (another count, or a node whose text or
  // data differs at the same place).
  virtual bool DiffersFrom(TTreeNodes* Ancestor);

 private:
  std::vector<TTreeNode*>& SiblingsOf(TTreeNode* Parent) { return Parent ? Parent->FChildren : FRoots; }
  TTreeNode* ReadNode(TStream* Stream, TTreeNode* Parent);
  void WriteNode(TStream* Stream, TTreeNode* Node);
  void CopyNode(TTreeNode* Source, TTreeNode* Parent);

  TCustomTreeView* FOwner;
  std::vector<TTreeNode*> FRoots;
  int FUpdateCount = 0;
};

// ---------------------------------------------------------------------------

class TCustomTreeView : public TWinControl {
  VCL_CLASS(TCustomTreeView)
  friend class TTreeNode;
  friend class TTreeNodes;

 public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  TTreeNodes* Items();
  void SetItems(TTreeNodes* Value) { Items()->Assign(Value); }
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* Value);
  TTreeNode* TopItem() const;
  TTreeNode* DropTarget() const;
  // The node at a client point, or null.
  TTreeNode* GetNodeAt(int X, int Y) const;
  THitTests GetHitTestInfoAt(int X, int Y) const;
  // The node to select once Selected goes: its next sibling, else previous, else parent.
  TTreeNode* FindNextToSelect() const;

  bool AlphaSort(bool Recurse = true);
  bool CustomSort(PFNTVCOMPARE SortProc, LPARAM Data, bool Recurse = true);
  void FullExpand();
  void FullCollapse();
  bool IsEditing() const;
  // The in-place editor while a label is edited.
  HWND EditHandle() const { return FEditHandle; }
  // Between TVN_BEGINDRAG and the release of the mouse button.
  bool Dragging() const { return FDragNode != nullptr; }
  TTreeNode* DragNode() const { return FDragNode; }

  // --- styles; each re-creates the window
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool Value) { SetStyleFlag(FShowLines, Value); }
  bool ShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool Value) { SetStyleFlag(FShowRoot, Value); }
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value) { SetStyleFlag(FShowButtons, Value); }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { SetStyleFlag(FHideSelection, Value); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { SetStyleFlag(FReadOnly, Value); }
  bool ToolTips() const { return FToolTips; }
  void SetToolTips(bool Value) { SetStyleFlag(FToolTips, Value); }
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value) { SetStyleFlag(FRowSelect, Value); }
  bool RightClickSelect = false;
  // The pictures of the nodes (ImageIndex, SelectedIndex) and of their states (StateIndex).
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* StateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* Value);
  int Indent() const;
  void SetIndent(int Value);
  TSortType SortType() const { return FSortType; }
  // A new order other than stNone sorts the tree.
  void SetSortType(TSortType Value);

  // The default compare of AlphaSort (and of CustomSort without a routine): OnCompare when
  // set (LParamSort is its Data), else the node texts compared with lstrcmp.
  static int CALLBACK DefaultTreeViewSort(LPARAM Node1, LPARAM Node2, LPARAM LParamSort);

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVExpandedEvent OnDeletion;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVChangedEvent OnCancelEdit;
  TTVExpandedEvent OnGetImageIndex;
  TTVExpandedEvent OnGetSelectedIndex;
  TTVCompareEvent OnCompare;
  TTVCreateNodeClassEvent OnCreateNodeClass;
  TTVChangedEvent OnStartDrag;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  virtual TTreeNode* CreateNode();
  virtual TTreeNodes* CreateNodes();
  virtual bool CanExpand(TTreeNode* Node);
  virtual void Expand(TTreeNode* Node);
  virtual bool CanCollapse(TTreeNode* Node);
  virtual void Collapse(TTreeNode* Node);
  virtual bool CanChange(TTreeNode* Node);
  virtual void Change(TTreeNode* Node);
  virtual void Delete(TTreeNode* Node);
  virtual bool CanEdit(TTreeNode* Node);
  // The end of a label edit: Item.pszText is null when it was cancelled.
  virtual void Edit(const TVITEMA& Item);
  virtual void GetImageIndex(TTreeNode* Node);
  virtual void GetSelectedIndex(TTreeNode* Node);
  virtual void DoStartDrag(TTreeNode* Node);
  // The in-place editor's keys, before the editor sees them (true: consumed).
  virtual bool EditorKeyMessage(TMessage& Message);
  // The in-place editor's window procedure, replaced while a label is edited.
  void SubclassEditor(HWND Editor);
  // At the end of an edit: the editor is on its way out.
  void ForgetEditHandle() { FEditHandle = nullptr; }

  // The A forms of the notifications; the wide tree passes its W forms on as these.
  void CNNotify(TMessage& Message);

 private:
  static LRESULT CALLBACK EditorWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void SetStyleFlag(bool& Flag, bool Value);
  void SortNodes(TTreeNode* Node, PFNTVCOMPARE SortProc, LPARAM Data, bool Recurse);
  void ReadOrderFromWindow(TTreeNode* Parent);
  void SortAfterChange(TTreeNode* Parent, bool TextChanged);
  void InsertAllItems();
  void EndDrag();
  void SetImageList(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value);
  void ApplyImageLists();

  TTreeNodes* FTreeNodes = nullptr;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  std::unique_ptr<TChangeLink> FStateChangeLink;
  bool FShowLines = true;
  bool FShowRoot = true;
  bool FShowButtons = true;
  bool FHideSelection = true;
  bool FReadOnly = false;
  bool FToolTips = true;
  bool FRowSelect = false;
  int FIndent = 19;
  TSortType FSortType = stNone;
  TTreeNode* FSavedSelected = nullptr;  // while there is no window
  TTreeNode* FDragNode = nullptr;
  HWND FEditHandle = nullptr;
  WNDPROC FEditPrevProc = nullptr;
  bool FInsertingItems = false;
  bool FClearing = false;
  bool FManualNotify = false;
};

class TTreeView : public TCustomTreeView {
  VCL_CLASS(TTreeView)
 public:
  using TCustomTreeView::TCustomTreeView;
};

// Registers TTreeView for stored descriptions.
void RegisterTreeViewControls();

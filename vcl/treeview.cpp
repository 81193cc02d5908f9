#include "vcl/treeview.h"

#include <algorithm>

#include "vcl/comctrls_common.h"
#include "vcl/streaming.h"
#include "vcl/treenodeinfo.h"

namespace {

const char* const kEditorProp = "KavoTreeViewEditor";
// The caret item's focus state (not every header names it).
constexpr UINT kStateFocused = 0x0001;

const std::vector<TPropInfo>& TreeViewProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomTreeView>()
      .Property("HideSelection", &TCustomTreeView::HideSelection, &TCustomTreeView::SetHideSelection).Default(true)
      .Property("Images", &TCustomTreeView::Images, &TCustomTreeView::SetImages)
      .Property("Indent", &TCustomTreeView::Indent, &TCustomTreeView::SetIndent)
      .Property("ReadOnly", &TCustomTreeView::ReadOnly, &TCustomTreeView::SetReadOnly).Default(false)
      .Property("RightClickSelect", &TCustomTreeView::RightClickSelect).Default(false)
      .Property("RowSelect", &TCustomTreeView::RowSelect, &TCustomTreeView::SetRowSelect).Default(false)
      .Property("ShowButtons", &TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons).Default(true)
      .Property("ShowLines", &TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines).Default(true)
      .Property("ShowRoot", &TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot).Default(true)
      .Property("SortType", &TCustomTreeView::SortType, &TCustomTreeView::SetSortType).Default(stNone)
      .Property("StateImages", &TCustomTreeView::StateImages, &TCustomTreeView::SetStateImages)
      .Property("ToolTips", &TCustomTreeView::ToolTips, &TCustomTreeView::SetToolTips).Default(true)
      .Property("OnCancelEdit", &TCustomTreeView::OnCancelEdit)
      .Property("OnChange", &TCustomTreeView::OnChange)
      .Property("OnChanging", &TCustomTreeView::OnChanging)
      .Property("OnCollapsed", &TCustomTreeView::OnCollapsed)
      .Property("OnCollapsing", &TCustomTreeView::OnCollapsing)
      .Property("OnCompare", &TCustomTreeView::OnCompare)
      .Property("OnDeletion", &TCustomTreeView::OnDeletion)
      .Property("OnEdited", &TCustomTreeView::OnEdited)
      .Property("OnEditing", &TCustomTreeView::OnEditing)
      .Property("OnExpanded", &TCustomTreeView::OnExpanded)
      .Property("OnExpanding", &TCustomTreeView::OnExpanding)
      .Property("OnGetImageIndex", &TCustomTreeView::OnGetImageIndex)
      .Property("OnGetSelectedIndex", &TCustomTreeView::OnGetSelectedIndex)
      .Property("OnStartDrag", &TCustomTreeView::OnStartDrag)
      .Table();
  return table;
}

const std::vector<TPropInfo>& TreeViewPublished() {
  static const std::vector<TPropInfo> table = TPropertyTable<TTreeView>()
      .Property("Items", &TTreeView::Items, &TTreeView::SetItems)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true)
      .Table();
  return table;
}

HWND TreeWindow(const TCustomTreeView* Tree) {
  return Tree->HandleAllocated() ? Tree->WindowHandle() : nullptr;
}

UINT NodeStateBits(int StateIndex, int OverlayIndex) {
  UINT state = 0;
  if (StateIndex >= 0) state |= INDEXTOSTATEIMAGEMASK(StateIndex);
  if (OverlayIndex >= 0) state |= INDEXTOOVERLAYMASK(OverlayIndex + 1);
  return state;
}

}  // namespace

VCL_CLASS_IMPL(TTreeNode, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TTreeNodes, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TCustomTreeView, TWinControl, nullptr, &TreeViewProperties)
VCL_CLASS_IMPL(TTreeView, TCustomTreeView, &CreateComponentOf<TTreeView>, &TreeViewPublished)

void RegisterTreeViewControls() { RegisterClasses({TTreeView::StaticClass()}); }

// ---------------------------------------------------------------------------
// TTreeNode

TTreeNode::TTreeNode(TTreeNodes* AOwner) : FOwner(AOwner) {}

TTreeNode::~TTreeNode() {
  for (TTreeNode* child : FChildren) delete child;
}

TCustomTreeView* TTreeNode::TreeView() const { return FOwner ? FOwner->Owner() : nullptr; }

void TTreeNode::UpdateItem(UINT Mask) {
  HWND wnd = TreeWindow(TreeView());
  if (!wnd || !FItemId) return;
  TVITEMA item{};
  item.mask = TVIF_HANDLE | Mask;
  item.hItem = FItemId;
  item.pszText = LPSTR_TEXTCALLBACKA;
  item.iImage = I_IMAGECALLBACK;
  item.iSelectedImage = I_IMAGECALLBACK;
  item.cChildren = FHasChildren ? 1 : 0;
  item.state = NodeStateBits(FStateIndex, FOverlayIndex);
  item.stateMask = TVIS_STATEIMAGEMASK | TVIS_OVERLAYMASK;
  SendMessageA(wnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::SetText(const AnsiString& Value) {
  FText = Value;
  UpdateItem(TVIF_TEXT);
  if (TCustomTreeView* tree = TreeView()) tree->SortAfterChange(FParent, true);
}

void TTreeNode::SetImageIndex(int Value) {
  FImageIndex = Value;
  UpdateItem(TVIF_IMAGE);
}

void TTreeNode::SetSelectedIndex(int Value) {
  FSelectedIndex = Value;
  UpdateItem(TVIF_SELECTEDIMAGE);
}

void TTreeNode::SetStateIndex(int Value) {
  FStateIndex = Value < -1 ? -1 : Value;
  UpdateItem(TVIF_STATE);
}

void TTreeNode::SetOverlayIndex(int Value) {
  FOverlayIndex = Value < -1 ? -1 : Value;
  UpdateItem(TVIF_STATE);
}

void TTreeNode::SetData(void* Value) {
  FData = Value;
  if (TCustomTreeView* tree = TreeView()) tree->SortAfterChange(FParent, false);
}

void TTreeNode::SetHasChildren(bool Value) {
  FHasChildren = Value;
  UpdateItem(TVIF_CHILDREN);
}

bool TTreeNode::Expanded() const {
  HWND wnd = TreeWindow(TreeView());
  if (!wnd || !FItemId) return FExpanded;
  return (SendMessageA(wnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItemId), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void TTreeNode::SetExpanded(bool Value) {
  TCustomTreeView* tree = TreeView();
  HWND wnd = TreeWindow(tree);
  if (!wnd || !FItemId) {
    FExpanded = Value;
    return;
  }
  if (Expanded() == Value) return;
  // The control tells of a change only when the user makes it (or on the first expansion):
  // from code the events are raised here, and its notices ignored meanwhile.
  bool saved = tree->FManualNotify;
  tree->FManualNotify = true;
  try {
    if (Value ? tree->CanExpand(this) : tree->CanCollapse(this)) {
      SendMessageA(wnd, TVM_EXPAND, Value ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(FItemId));
      FExpanded = Expanded();
      if (FExpanded == Value) {
        if (Value)
          tree->Expand(this);
        else
          tree->Collapse(this);
      }
    }
  } catch (...) {
    tree->FManualNotify = saved;
    throw;
  }
  tree->FManualNotify = saved;
}

void TTreeNode::Expand(bool Recurse) {
  SetExpanded(true);
  if (Recurse)
    for (size_t i = 0; i < FChildren.size(); ++i) FChildren[i]->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  SetExpanded(false);
  if (Recurse)
    for (size_t i = 0; i < FChildren.size(); ++i) FChildren[i]->Collapse(true);
}

TTreeNode* TTreeNode::Item(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (%d)", Index);
  return FChildren[static_cast<size_t>(Index)];
}

int TTreeNode::Index() const {
  const auto& siblings = FParent ? FParent->FChildren : FOwner->FRoots;
  auto it = std::find(siblings.begin(), siblings.end(), this);
  return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

int TTreeNode::AbsoluteIndex() const {
  int index = 0;
  for (const TTreeNode* node = GetPrev(); node; node = node->GetPrev()) ++index;
  return index;
}

int TTreeNode::Level() const {
  int level = 0;
  for (const TTreeNode* p = FParent; p; p = p->FParent) ++level;
  return level;
}

TTreeNode* TTreeNode::GetNextSibling() const {
  const auto& siblings = FParent ? FParent->FChildren : FOwner->FRoots;
  int i = Index();
  return i >= 0 && i + 1 < static_cast<int>(siblings.size()) ? siblings[static_cast<size_t>(i + 1)] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  const auto& siblings = FParent ? FParent->FChildren : FOwner->FRoots;
  int i = Index();
  return i > 0 ? siblings[static_cast<size_t>(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front();
  for (const TTreeNode* node = this; node; node = node->FParent)
    if (TTreeNode* next = node->GetNextSibling()) return next;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* node = GetPrevSibling();
  if (!node) return FParent;
  while (!node->FChildren.empty()) node = node->FChildren.back();
  return node;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (!IsVisible()) return nullptr;
  if (!FChildren.empty() && Expanded()) return FChildren.front();
  for (const TTreeNode* node = this; node; node = node->FParent)
    if (TTreeNode* next = node->GetNextSibling()) return next;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  if (!IsVisible()) return nullptr;
  TTreeNode* node = GetPrevSibling();
  if (!node) return FParent;
  while (!node->FChildren.empty() && node->Expanded()) node = node->FChildren.back();
  return node;
}

bool TTreeNode::HasAsParent(const TTreeNode* Value) const {
  for (const TTreeNode* p = FParent; p; p = p->FParent)
    if (p == Value) return true;
  return false;
}

bool TTreeNode::Selected() const { return TreeView() && TreeView()->Selected() == this; }

void TTreeNode::SetSelected(bool Value) {
  TCustomTreeView* tree = TreeView();
  if (Value)
    tree->SetSelected(this);
  else if (Selected())
    tree->SetSelected(nullptr);
}

bool TTreeNode::Focused() const {
  HWND wnd = TreeWindow(TreeView());
  return wnd && FItemId &&
         (SendMessageA(wnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItemId), kStateFocused) & kStateFocused) != 0;
}

void TTreeNode::SetFocused(bool Value) {
  HWND wnd = TreeWindow(TreeView());
  if (!wnd || !FItemId) return;
  TVITEMA item{};
  item.mask = TVIF_HANDLE | TVIF_STATE;
  item.hItem = FItemId;
  item.stateMask = kStateFocused;
  item.state = Value ? kStateFocused : 0;
  SendMessageA(wnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

bool TTreeNode::IsVisible() const {
  for (const TTreeNode* p = FParent; p; p = p->FParent)
    if (!p->Expanded()) return false;
  return true;
}

void TTreeNode::MakeVisible() {
  HWND wnd = TreeWindow(TreeView());
  if (wnd && FItemId) {
    SendMessageA(wnd, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FItemId));
    return;
  }
  for (TTreeNode* p = FParent; p; p = p->FParent) p->FExpanded = true;
}

bool TTreeNode::EditText() {
  HWND wnd = TreeWindow(TreeView());
  if (!wnd || !FItemId) return false;
  return SendMessageA(wnd, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(FItemId)) != 0;
}

void TTreeNode::EndEdit(bool Cancel) {
  if (HWND wnd = TreeWindow(TreeView())) SendMessageA(wnd, TVM_ENDEDITLABELNOW, Cancel ? TRUE : FALSE, 0);
}

RECT TTreeNode::DisplayRect(bool TextOnly) const {
  RECT r{};
  HWND wnd = TreeWindow(TreeView());
  if (!wnd || !FItemId) return r;
  *reinterpret_cast<HTREEITEM*>(&r) = FItemId;
  if (!SendMessageA(wnd, TVM_GETITEMRECT, TextOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&r))) r = RECT{};
  return r;
}

void TTreeNode::MarkDeleting(bool Notify) {
  FDeleting = true;
  for (TTreeNode* child : FChildren) child->MarkDeleting(Notify);
  if (Notify) TreeView()->Delete(this);
}

void TTreeNode::Delete() {
  if (FDeleting) return;
  TCustomTreeView* tree = TreeView();
  MarkDeleting(!tree->HasState(csDestroying) && !tree->FClearing);
  auto gone = [this](TTreeNode* n) { return n && (n == this || n->HasAsParent(this)); };
  if (gone(tree->FDragNode)) tree->FDragNode = nullptr;
  if (gone(tree->FSavedSelected)) tree->FSavedSelected = nullptr;
  if (HWND wnd = TreeWindow(tree); wnd && FItemId)
    SendMessageA(wnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(FItemId));
  auto& siblings = FOwner->SiblingsOf(FParent);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  TTreeNode* parent = FParent;
  delete this;
  if (parent && parent->FChildren.empty() && !parent->FDeleting) parent->SetHasChildren(false);
}

void TTreeNode::DeleteChildren() {
  while (!FChildren.empty()) FChildren.back()->Delete();
}

bool TTreeNode::AlphaSort(bool Recurse) { return CustomSort(nullptr, 0, Recurse); }

bool TTreeNode::CustomSort(PFNTVCOMPARE SortProc, LPARAM Data, bool Recurse) {
  TCustomTreeView* tree = TreeView();
  if (!tree->HandleAllocated() || !FItemId) return false;
  tree->SortNodes(this, SortProc ? SortProc : &TCustomTreeView::DefaultTreeViewSort, Data, Recurse);
  return true;
}

void TTreeNode::Assign(TPersistent* Source) {
  auto* node = dynamic_cast<TTreeNode*>(Source);
  if (!node) {
    TPersistent::Assign(Source);
    return;
  }
  SetText(node->FText);
  SetData(node->FData);
  SetImageIndex(node->FImageIndex);
  SetSelectedIndex(node->FSelectedIndex);
  SetStateIndex(node->FStateIndex);
  SetOverlayIndex(node->FOverlayIndex);
  SetHasChildren(node->FHasChildren);
}

void TTreeNode::InsertItems() {
  HWND wnd = TreeWindow(TreeView());
  if (!wnd) return;
  TVINSERTSTRUCTA ins{};
  ins.hParent = FParent ? FParent->FItemId : TVI_ROOT;
  TTreeNode* prev = GetPrevSibling();
  ins.hInsertAfter = prev && prev->FItemId ? prev->FItemId : TVI_FIRST;
  TVITEMA& item = ins.item;
  item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE;
  item.pszText = LPSTR_TEXTCALLBACKA;
  item.iImage = I_IMAGECALLBACK;
  item.iSelectedImage = I_IMAGECALLBACK;
  item.lParam = reinterpret_cast<LPARAM>(this);
  item.cChildren = FHasChildren ? 1 : 0;
  item.state = NodeStateBits(FStateIndex, FOverlayIndex);
  item.stateMask = TVIS_STATEIMAGEMASK | TVIS_OVERLAYMASK;
  if (FExpanded && !FChildren.empty()) {
    // Shown open at once: the children were there before, so no expanding notice again.
    item.state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    item.stateMask |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  }
  FItemId = reinterpret_cast<HTREEITEM>(SendMessageA(wnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
  if (!FItemId) RaiseLastOSError();
  for (TTreeNode* child : FChildren) child->InsertItems();
}

void TTreeNode::ForgetItemIds() {
  FItemId = nullptr;
  for (TTreeNode* child : FChildren) child->ForgetItemIds();
}

// ---------------------------------------------------------------------------
// TTreeNodes

TTreeNodes::TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}

TTreeNodes::~TTreeNodes() {
  for (TTreeNode* node : FRoots) delete node;
}

int TTreeNodes::Count() const {
  int count = 0;
  for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext()) ++count;
  return count;
}

TTreeNode* TTreeNodes::Item(int Index) const {
  TTreeNode* node = Index >= 0 ? GetFirstNode() : nullptr;
  for (int i = 0; node && i < Index; ++i) node = node->GetNext();
  if (!node) throw EListError("List index out of bounds (%d)", Index);
  return node;
}

TTreeNode* TTreeNodes::TopLevelItem(int Index) const {
  if (Index < 0 || Index >= TopLevelCount()) throw EListError("List index out of bounds (%d)", Index);
  return FRoots[static_cast<size_t>(Index)];
}

TTreeNode* TTreeNodes::GetNode(HTREEITEM ItemId) const {
  if (!ItemId) return nullptr;
  if (HWND wnd = TreeWindow(FOwner)) {
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_PARAM;
    item.hItem = ItemId;
    if (SendMessageA(wnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return reinterpret_cast<TTreeNode*>(item.lParam);
  }
  for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext())
    if (node->FItemId == ItemId) return node;
  return nullptr;
}

TTreeNode* TTreeNodes::InternalAddObject(TTreeNode* Node, const AnsiString& S, void* Ptr, TNodeAttachMode Mode) {
  TTreeNode* parent = nullptr;
  switch (Mode) {
    case naAddChild:
    case naAddChildFirst: parent = Node; break;
    default: parent = Node ? Node->FParent : nullptr; break;
  }
  auto& siblings = SiblingsOf(parent);
  size_t pos = siblings.size();
  if (Mode == naAddFirst || Mode == naAddChildFirst) pos = 0;
  if (Mode == naInsert && Node) pos = static_cast<size_t>(Node->Index());

  TTreeNode* result = FOwner->CreateNode();
  result->FText = S;
  result->FData = Ptr;
  result->FParent = parent;
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(pos), result);
  if (parent && !parent->FHasChildren) parent->SetHasChildren(true);
  try {
    result->InsertItems();
  } catch (...) {
    siblings.erase(std::find(siblings.begin(), siblings.end(), result));
    delete result;
    throw;
  }
  FOwner->SortAfterChange(parent, true);
  return result;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const AnsiString& S) { return InternalAddObject(Sibling, S, nullptr, naAdd); }
TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr) {
  return InternalAddObject(Sibling, S, Ptr, naAdd);
}
TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const AnsiString& S) {
  return InternalAddObject(Sibling, S, nullptr, naAddFirst);
}
TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* Sibling, const AnsiString& S, void* Ptr) {
  return InternalAddObject(Sibling, S, Ptr, naAddFirst);
}
TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const AnsiString& S) {
  return InternalAddObject(Parent, S, nullptr, naAddChild);
}
TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const AnsiString& S, void* Ptr) {
  return InternalAddObject(Parent, S, Ptr, naAddChild);
}
TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const AnsiString& S) {
  return InternalAddObject(Parent, S, nullptr, naAddChildFirst);
}
TTreeNode* TTreeNodes::AddChildObjectFirst(TTreeNode* Parent, const AnsiString& S, void* Ptr) {
  return InternalAddObject(Parent, S, Ptr, naAddChildFirst);
}
TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const AnsiString& S) {
  return InternalAddObject(Sibling, S, nullptr, naInsert);
}
TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr) {
  return InternalAddObject(Sibling, S, Ptr, naInsert);
}

void TTreeNodes::Clear() {
  if (FRoots.empty()) return;
  bool notify = !FOwner->HasState(csDestroying);
  for (TTreeNode* node : FRoots) node->MarkDeleting(notify);
  FOwner->FDragNode = nullptr;
  FOwner->FSavedSelected = nullptr;
  if (HWND wnd = TreeWindow(FOwner)) {
    bool saved = FOwner->FClearing;
    FOwner->FClearing = true;
    SendMessageA(wnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    FOwner->FClearing = saved;
  }
  std::vector<TTreeNode*> roots;
  roots.swap(FRoots);
  for (TTreeNode* node : roots) delete node;
}

void TTreeNodes::BeginUpdate() {
  if (FUpdateCount++ == 0)
    if (HWND wnd = TreeWindow(FOwner)) SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0) return;
  if (HWND wnd = TreeWindow(FOwner)) {
    SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
    if (FOwner->FSortType != stNone) FOwner->AlphaSort(true);
    InvalidateRect(wnd, nullptr, TRUE);
  }
}

void TTreeNodes::CopyNode(TTreeNode* Source, TTreeNode* Parent) {
  TTreeNode* node = AddChildObject(Parent, Source->FText, Source->FData);
  node->Assign(Source);
  for (TTreeNode* child : Source->FChildren) CopyNode(child, node);
  node->FExpanded = Source->Expanded();
}

void TTreeNodes::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TTreeNodes*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TTreeNode* node : source->FRoots) CopyNode(node, nullptr);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TTreeNodes::DiffersFrom(TTreeNodes* Ancestor) {
  if (Ancestor->Count() != Count()) return true;
  for (TTreeNode *a = GetFirstNode(), *b = Ancestor->GetFirstNode(); a && b; a = a->GetNext(), b = b->GetNext())
    if (a->FText != b->FText || a->FData != b->FData) return true;
  return false;
}

void TTreeNodes::DefineProperties(TFiler* Filer) {
  bool store;
  if (auto* ancestor = dynamic_cast<TTreeNodes*>(Filer->Ancestor))
    store = DiffersFrom(ancestor);
  else
    store = !FRoots.empty();
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, store);
}

TTreeNode* TTreeNodes::ReadNode(TStream* Stream, TTreeNode* Parent) {
  TNodeInfo info = ReadNodeInfo(Stream);
  TTreeNode* node = AddChild(Parent, info.Text);
  node->SetImageIndex(info.ImageIndex);
  node->SetSelectedIndex(info.SelectedIndex);
  node->SetStateIndex(info.StateIndex);
  node->SetOverlayIndex(info.OverlayIndex);
  for (int i = 0; i < info.Count; ++i) ReadNode(Stream, node);
  return node;
}

void TTreeNodes::ReadData(TStream* Stream) {
  BeginUpdate();
  try {
    Clear();
    int count = ReadNodeCount(Stream);
    for (int i = 0; i < count; ++i) ReadNode(Stream, nullptr);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TTreeNodes::WriteNode(TStream* Stream, TTreeNode* Node) {
  TNodeInfo info;
  info.ImageIndex = Node->FImageIndex;
  info.SelectedIndex = Node->FSelectedIndex;
  info.StateIndex = Node->FStateIndex;
  info.OverlayIndex = Node->FOverlayIndex;
  info.Data = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Node->FData));
  info.Count = Node->Count();
  info.Text = Node->FText;
  WriteNodeInfo(Stream, info);
  for (TTreeNode* child : Node->FChildren) WriteNode(Stream, child);
}

void TTreeNodes::WriteData(TStream* Stream) {
  WriteNodeCount(Stream, TopLevelCount());
  for (TTreeNode* node : FRoots) WriteNode(Stream, node);
}

// ---------------------------------------------------------------------------
// TCustomTreeView

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TWinControl(AOwner) {
  // The control follows the mouse itself while a button is down and tells of a click
  // (NM_CLICK) on its own; the button's release never reaches the framework.
  ControlStyle = csCaptureMouse | csDoubleClicks;
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  for (auto* link : {&FImageChangeLink, &FStateChangeLink}) {
    *link = std::make_unique<TChangeLink>();
    (*link)->OnChange = [this](TObject*) {
      ApplyImageLists();
      if (HandleAllocated()) Invalidate();
    };
  }
}

TCustomTreeView::~TCustomTreeView() {
  Destroying();
  SetImages(nullptr);
  SetStateImages(nullptr);
  delete FTreeNodes;
  FTreeNodes = nullptr;
}

TTreeNodes* TCustomTreeView::Items() {
  if (!FTreeNodes) FTreeNodes = CreateNodes();
  return FTreeNodes;
}

TTreeNode* TCustomTreeView::CreateNode() {
  const TTreeNodeClass* cls = TreeNodeClassOf<TTreeNode>();
  if (OnCreateNodeClass) OnCreateNodeClass(this, cls);
  return cls->Create(Items());
}

TTreeNodes* TCustomTreeView::CreateNodes() { return new TTreeNodes(this); }

void TCustomTreeView::CreateParams(TCreateParams& Params) {
  InitCommonControlsOnce();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TREEVIEWA);
  if (FShowLines) Params.Style |= TVS_HASLINES;
  if (FShowRoot) Params.Style |= TVS_LINESATROOT;
  if (FShowButtons) Params.Style |= TVS_HASBUTTONS;
  if (!FHideSelection) Params.Style |= TVS_SHOWSELALWAYS;
  if (!FReadOnly) Params.Style |= TVS_EDITLABELS;
  if (!FToolTips) Params.Style |= TVS_NOTOOLTIPS;
  if (FRowSelect) Params.Style |= TVS_FULLROWSELECT;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTreeView::CreateWindowHandle(const TCreateParams& Params) {
  TWinControl::CreateWindowHandle(Params);
  // The framework reads the 8-bit notifications, whatever its parent window prefers.
  if (HandleAllocated()) SetControlUnicodeFormat(WindowHandle(), false);
}

void TCustomTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageA(WindowHandle(), TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
  ApplyImageLists();
  InsertAllItems();
  // Nodes added while there was no window take their place now.
  if (FSortType != stNone && !HasState(csLoading)) AlphaSort(true);
}

void TCustomTreeView::InsertAllItems() {
  if (!FTreeNodes) return;
  HWND wnd = WindowHandle();
  FInsertingItems = true;
  SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
  try {
    for (TTreeNode* node : FTreeNodes->FRoots) node->InsertItems();
    if (FSavedSelected && FSavedSelected->FItemId)
      SendMessageA(wnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FSavedSelected->FItemId));
  } catch (...) {
    FInsertingItems = false;
    throw;
  }
  FSavedSelected = nullptr;
  FInsertingItems = false;
  if (!FTreeNodes->Updating()) SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
}

void TCustomTreeView::DestroyWnd() {
  if (HandleAllocated()) {
    if (IsEditing()) SendMessageA(WindowHandle(), TVM_ENDEDITLABELNOW, TRUE, 0);
    EndDrag();
    if (FTreeNodes) {
      FSavedSelected = Selected();
      for (TTreeNode* node = FTreeNodes->GetFirstNode(); node; node = node->GetNext())
        node->FExpanded = node->Expanded();
    }
  }
  // The window's own deletion notices must not change the selection the nodes keep.
  FClearing = true;
  try {
    TWinControl::DestroyWnd();
  } catch (...) {
    FClearing = false;
    throw;
  }
  FClearing = false;
  if (FTreeNodes)
    for (TTreeNode* node : FTreeNodes->FRoots) node->ForgetItemIds();
}

void TCustomTreeView::Loaded() {
  TWinControl::Loaded();
  if (FSortType != stNone) AlphaSort(true);
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FStateImages) SetStateImages(nullptr);
}

void TCustomTreeView::SetImageList(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value) {
  if (RelinkImageList(this, Field, Link, Value)) ApplyImageLists();
}

void TCustomTreeView::SetImages(TCustomImageList* Value) { SetImageList(FImages, FImageChangeLink.get(), Value); }

void TCustomTreeView::SetStateImages(TCustomImageList* Value) {
  SetImageList(FStateImages, FStateChangeLink.get(), Value);
}

void TCustomTreeView::ApplyImageLists() {
  if (!HandleAllocated()) return;
  HWND wnd = WindowHandle();
  SendMessageA(wnd, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
  SendMessageA(wnd, TVM_SETIMAGELIST, TVSIL_STATE,
               reinterpret_cast<LPARAM>(FStateImages ? FStateImages->Handle() : nullptr));
}

void TCustomTreeView::SetStyleFlag(bool& Flag, bool Value) {
  if (Flag == Value) return;
  Flag = Value;
  RecreateWnd();
}

int TCustomTreeView::Indent() const {
  if (HWND wnd = TreeWindow(this)) return static_cast<int>(SendMessageA(wnd, TVM_GETINDENT, 0, 0));
  return FIndent;
}

void TCustomTreeView::SetIndent(int Value) {
  FIndent = Value;
  if (HWND wnd = TreeWindow(this)) SendMessageA(wnd, TVM_SETINDENT, static_cast<WPARAM>(Value), 0);
}

void TCustomTreeView::SetSortType(TSortType Value) {
  if (FSortType == Value) return;
  FSortType = Value;
  if (Value != stNone && !HasState(csLoading)) AlphaSort(true);
}

TTreeNode* TCustomTreeView::Selected() const {
  HWND wnd = TreeWindow(this);
  if (!wnd || !FTreeNodes) return FSavedSelected;
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_CARET, 0));
  return FTreeNodes->GetNode(item);
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
  HWND wnd = TreeWindow(this);
  if (!wnd) {
    FSavedSelected = Value;
    return;
  }
  SendMessageA(wnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Value ? Value->FItemId : nullptr));
}

TTreeNode* TCustomTreeView::TopItem() const {
  HWND wnd = TreeWindow(this);
  if (!wnd || !FTreeNodes) return nullptr;
  return FTreeNodes->GetNode(reinterpret_cast<HTREEITEM>(SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

TTreeNode* TCustomTreeView::DropTarget() const {
  HWND wnd = TreeWindow(this);
  if (!wnd || !FTreeNodes) return nullptr;
  return FTreeNodes->GetNode(reinterpret_cast<HTREEITEM>(SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_DROPHILITE, 0)));
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const {
  HWND wnd = TreeWindow(this);
  if (!wnd || !FTreeNodes) return nullptr;
  TVHITTESTINFO info{};
  info.pt = POINT{X, Y};
  return FTreeNodes->GetNode(reinterpret_cast<HTREEITEM>(SendMessageA(wnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info))));
}

THitTests TCustomTreeView::GetHitTestInfoAt(int X, int Y) const {
  HWND wnd = TreeWindow(this);
  if (!wnd) return 0;
  TVHITTESTINFO info{};
  info.pt = POINT{X, Y};
  SendMessageA(wnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
  static const struct {
    UINT Flag;
    THitTest Test;
  } kMap[] = {{TVHT_ABOVE, htAbove},           {TVHT_BELOW, htBelow},
              {TVHT_NOWHERE, htNowhere},       {TVHT_ONITEMBUTTON, htOnButton},
              {TVHT_ONITEMICON, htOnIcon},     {TVHT_ONITEMINDENT, htOnIndent},
              {TVHT_ONITEMLABEL, htOnLabel},   {TVHT_ONITEMRIGHT, htOnRight},
              {TVHT_ONITEMSTATEICON, htOnStateIcon}, {TVHT_TOLEFT, htToLeft},
              {TVHT_TORIGHT, htToRight}};
  THitTests result = 0;
  for (const auto& m : kMap)
    if (info.flags & m.Flag) result |= HitTestBit(m.Test);
  if (info.flags & TVHT_ONITEM) result |= HitTestBit(htOnItem);
  return result;
}

TTreeNode* TCustomTreeView::FindNextToSelect() const {
  TTreeNode* node = Selected();
  if (!node) return nullptr;
  if (TTreeNode* next = node->GetNextSibling()) return next;
  if (TTreeNode* prev = node->GetPrevSibling()) return prev;
  return node->Parent();
}

bool TCustomTreeView::AlphaSort(bool Recurse) { return CustomSort(nullptr, 0, Recurse); }

bool TCustomTreeView::CustomSort(PFNTVCOMPARE SortProc, LPARAM Data, bool Recurse) {
  if (!HandleAllocated() || !FTreeNodes) return false;
  SortNodes(nullptr, SortProc ? SortProc : &DefaultTreeViewSort, Data, Recurse);
  return true;
}

void TCustomTreeView::SortNodes(TTreeNode* Node, PFNTVCOMPARE SortProc, LPARAM Data, bool Recurse) {
  TVSORTCB sort{};
  sort.hParent = Node ? Node->FItemId : TVI_ROOT;
  sort.lpfnCompare = SortProc;
  sort.lParam = Data;
  // Through the control's own window procedure, where a descendant may put its own
  // compare routine in place of the default one.
  Perform(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
  ReadOrderFromWindow(Node);
  if (!Recurse) return;
  const auto& children = Node ? Node->FChildren : FTreeNodes->FRoots;
  for (size_t i = 0; i < children.size(); ++i)
    if (!children[i]->FChildren.empty()) SortNodes(children[i], SortProc, Data, true);
}

void TCustomTreeView::ReadOrderFromWindow(TTreeNode* Parent) {
  HWND wnd = TreeWindow(this);
  if (!wnd || !FTreeNodes) return;
  auto& siblings = FTreeNodes->SiblingsOf(Parent);
  std::vector<TTreeNode*> order;
  auto item = reinterpret_cast<HTREEITEM>(
      Parent ? SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(Parent->FItemId))
             : SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  for (; item; item = reinterpret_cast<HTREEITEM>(SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))))
    order.push_back(FTreeNodes->GetNode(item));
  std::vector<TTreeNode*> a = order, b = siblings;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  if (a == b) siblings = std::move(order);
}

void TCustomTreeView::SortAfterChange(TTreeNode* Parent, bool TextChanged) {
  bool wanted = FSortType == stBoth || FSortType == (TextChanged ? stText : stData);
  if (!wanted || !HandleAllocated() || FInsertingItems || !FTreeNodes || FTreeNodes->Updating()) return;
  if (Parent && !Parent->FItemId) return;
  SortNodes(Parent, &DefaultTreeViewSort, 0, false);
}

int CALLBACK TCustomTreeView::DefaultTreeViewSort(LPARAM Node1, LPARAM Node2, LPARAM LParamSort) {
  auto* a = reinterpret_cast<TTreeNode*>(Node1);
  auto* b = reinterpret_cast<TTreeNode*>(Node2);
  TCustomTreeView* tree = a->TreeView();
  try {
    if (tree->OnCompare) {
      int compare = 0;
      tree->OnCompare(tree, a, b, static_cast<int>(LParamSort), compare);
      return compare;
    }
  } catch (...) {
    // No exception may cross the control's own code.
    if (ApplicationHandleException) ApplicationHandleException(tree);
    return 0;
  }
  return lstrcmpA(a->Text().c_str(), b->Text().c_str());
}

void TCustomTreeView::FullExpand() {
  for (TTreeNode* node = Items()->GetFirstNode(); node; node = node->GetNextSibling()) node->Expand(true);
}

void TCustomTreeView::FullCollapse() {
  for (TTreeNode* node = Items()->GetFirstNode(); node; node = node->GetNextSibling()) node->Collapse(true);
}

bool TCustomTreeView::IsEditing() const {
  HWND wnd = TreeWindow(this);
  return wnd && SendMessageA(wnd, TVM_GETEDITCONTROL, 0, 0) != 0;
}

// --- events

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
  bool allow = true;
  if (OnExpanding) OnExpanding(this, Node, allow);
  return allow;
}

void TCustomTreeView::Expand(TTreeNode* Node) {
  if (OnExpanded) OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
  bool allow = true;
  if (OnCollapsing) OnCollapsing(this, Node, allow);
  return allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node) {
  if (OnCollapsed) OnCollapsed(this, Node);
}

bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool allow = true;
  if (OnChanging) OnChanging(this, Node, allow);
  return allow;
}

void TCustomTreeView::Change(TTreeNode* Node) {
  if (OnChange) OnChange(this, Node);
}

void TCustomTreeView::Delete(TTreeNode* Node) {
  if (OnDeletion) OnDeletion(this, Node);
}

bool TCustomTreeView::CanEdit(TTreeNode* Node) {
  bool allow = true;
  if (OnEditing) OnEditing(this, Node, allow);
  return allow;
}

void TCustomTreeView::Edit(const TVITEMA& Item) {
  TTreeNode* node = Items()->GetNode(Item.hItem);
  if (Item.lParam) node = reinterpret_cast<TTreeNode*>(Item.lParam);
  if (!node) return;
  if (!Item.pszText) {
    if (OnCancelEdit) OnCancelEdit(this, node);
    return;
  }
  AnsiString text = Item.pszText;
  if (OnEdited) OnEdited(this, node, text);
  node->SetText(text);
}

void TCustomTreeView::GetImageIndex(TTreeNode* Node) {
  if (OnGetImageIndex) OnGetImageIndex(this, Node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* Node) {
  if (OnGetSelectedIndex) OnGetSelectedIndex(this, Node);
}

void TCustomTreeView::DoStartDrag(TTreeNode* Node) {
  FDragNode = Node;
  SetCapture(WindowHandle());
  if (OnStartDrag) OnStartDrag(this, Node);
}

void TCustomTreeView::EndDrag() {
  if (!FDragNode) return;
  FDragNode = nullptr;
  if (GetCapture() == WindowHandle()) ReleaseCapture();
}

// --- the in-place editor

void TCustomTreeView::SubclassEditor(HWND Editor) {
  if (!Editor) return;
  FEditHandle = Editor;
  SetPropA(Editor, kEditorProp, this);
  auto proc = reinterpret_cast<LONG_PTR>(&EditorWndProc);
  FEditPrevProc = reinterpret_cast<WNDPROC>(IsWindowUnicode(Editor) ? SetWindowLongPtrW(Editor, GWLP_WNDPROC, proc)
                                                                    : SetWindowLongPtrA(Editor, GWLP_WNDPROC, proc));
}

bool TCustomTreeView::EditorKeyMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return DoKeyDown(Message);
    case WM_KEYUP:
    case WM_SYSKEYUP: return DoKeyUp(Message);
    case WM_CHAR: return DoKeyPress(Message);
    default: return false;
  }
}

LRESULT CALLBACK TCustomTreeView::EditorWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* tree = static_cast<TCustomTreeView*>(GetPropA(Wnd, kEditorProp));
  bool unicode = IsWindowUnicode(Wnd) != FALSE;
  if (!tree) return unicode ? DefWindowProcW(Wnd, Msg, WParam, LParam) : DefWindowProcA(Wnd, Msg, WParam, LParam);
  WNDPROC prev = tree->FEditPrevProc;
  TMessage m{Msg, WParam, LParam, 0};
  try {
    switch (Msg) {
      case CN_KEYDOWN:
      case CN_CHAR:
      case CN_SYSKEYDOWN:
      case CN_SYSCHAR:
        tree->WndProc(m);
        return m.Result;
      case WM_DESTROY:
        // The tree may put its own procedure back on the way out; ours goes first.
        RemovePropA(Wnd, kEditorProp);
        if (unicode)
          SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
        else
          SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
        tree->FEditHandle = nullptr;
        tree->FEditPrevProc = nullptr;
        break;
      default:
        if (tree->EditorKeyMessage(m)) return m.Result;
        break;
    }
  } catch (...) {
    if (ApplicationHandleException) ApplicationHandleException(tree);
    return 0;
  }
  return unicode ? CallWindowProcW(prev, Wnd, m.Msg, m.WParam, m.LParam)
                 : CallWindowProcA(prev, Wnd, m.Msg, m.WParam, m.LParam);
}

// --- messages

void TCustomTreeView::CNNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  auto nodeOf = [this](const TVITEMA& item) -> TTreeNode* {
    if (item.lParam) return reinterpret_cast<TTreeNode*>(item.lParam);
    return FTreeNodes ? FTreeNodes->GetNode(item.hItem) : nullptr;
  };
  Message.Result = 0;
  switch (hdr->code) {
    case TVN_GETDISPINFOA: {
      TVITEMA& item = reinterpret_cast<NMTVDISPINFOA*>(hdr)->item;
      TTreeNode* node = nodeOf(item);
      if (!node) break;
      if (item.mask & TVIF_TEXT) CopyNotifyText(item.pszText, item.cchTextMax, node->Text());
      if (item.mask & TVIF_IMAGE) {
        GetImageIndex(node);
        item.iImage = node->ImageIndex();
      }
      if (item.mask & TVIF_SELECTEDIMAGE) {
        GetSelectedIndex(node);
        item.iSelectedImage = node->SelectedIndex();
      }
      break;
    }
    // Selection notices carry no text: both forms are read alike.
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW: {
      if (FInsertingItems || FClearing) break;
      TTreeNode* node = nodeOf(reinterpret_cast<NMTREEVIEWA*>(hdr)->itemNew);
      if (node && node->Deleting()) break;
      Message.Result = CanChange(node) ? 0 : 1;
      break;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
      if (FInsertingItems || FClearing) break;
      TTreeNode* node = nodeOf(reinterpret_cast<NMTREEVIEWA*>(hdr)->itemNew);
      if (node && node->Deleting()) break;
      Change(node);
      break;
    }
    case TVN_ITEMEXPANDINGA: {
      if (FManualNotify) break;
      auto* nm = reinterpret_cast<NMTREEVIEWA*>(hdr);
      TTreeNode* node = nodeOf(nm->itemNew);
      if (!node) break;
      if (nm->action & TVE_EXPAND)
        Message.Result = CanExpand(node) ? 0 : 1;
      else if (nm->action & TVE_COLLAPSE)
        Message.Result = CanCollapse(node) ? 0 : 1;
      break;
    }
    case TVN_ITEMEXPANDEDA: {
      auto* nm = reinterpret_cast<NMTREEVIEWA*>(hdr);
      TTreeNode* node = nodeOf(nm->itemNew);
      if (!node) break;
      node->FExpanded = (nm->action & TVE_EXPAND) != 0;
      if (FManualNotify) break;
      if (nm->action & TVE_EXPAND)
        Expand(node);
      else if (nm->action & TVE_COLLAPSE)
        Collapse(node);
      break;
    }
    case TVN_DELETEITEMA: {
      // The node itself goes with Delete or Clear (or lives on for the next window).
      if (TTreeNode* node = nodeOf(reinterpret_cast<NMTREEVIEWA*>(hdr)->itemOld)) node->FItemId = nullptr;
      break;
    }
    case TVN_BEGINDRAGA:
    case TVN_BEGINRDRAGA:
      if (TTreeNode* node = nodeOf(reinterpret_cast<NMTREEVIEWA*>(hdr)->itemNew)) DoStartDrag(node);
      break;
    case TVN_BEGINLABELEDITA: {
      TTreeNode* node = nodeOf(reinterpret_cast<NMTVDISPINFOA*>(hdr)->item);
      if (Dragging() || !node || !CanEdit(node)) {
        Message.Result = 1;
        break;
      }
      SubclassEditor(reinterpret_cast<HWND>(SendMessageA(WindowHandle(), TVM_GETEDITCONTROL, 0, 0)));
      break;
    }
    case TVN_ENDLABELEDITA:
      // Only once per edit: the editor going away may end the edit again.
      if (!FEditHandle) break;
      // The items' texts are the nodes' (callbacks): the answer 0 leaves them to Edit.
      ForgetEditHandle();
      Edit(reinterpret_cast<NMTVDISPINFOA*>(hdr)->item);
      break;
    case NM_CLICK: {
      // The control selects the clicked node only after telling of the click: the click's
      // handler sees it selected already.
      POINT p;
      GetCursorPos(&p);
      ::ScreenToClient(WindowHandle(), &p);
      TTreeNode* node = GetNodeAt(p.x, p.y);
      THitTests hits = GetHitTestInfoAt(p.x, p.y);
      bool onItem = hits & (HitTestBit(htOnItem) | (FRowSelect ? HitTestBit(htOnRight) | HitTestBit(htOnIndent) : 0));
      if (node && onItem && !node->Selected()) node->SetSelected(true);
      Click();
      break;
    }
    case NM_RCLICK:
      if (RightClickSelect) {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(WindowHandle(), &p);
        if (TTreeNode* node = GetNodeAt(p.x, p.y)) node->SetSelected(true);
      }
      break;
    default: break;
  }
}

void TCustomTreeView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); return;
    case CN_NOTIFYFORMAT:
      if (AnswerNotifyFormat(Message, IsWindowUnicode(WindowHandle()) != FALSE)) return;
      break;
    case CM_WANTSPECIALKEY:
      // Enter and Escape end a label edit, not the dialog.
      if (IsEditing() && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED: EndDrag(); break;
    case WM_LBUTTONDOWN:
      TWinControl::Dispatch(Message);
      // The control's own mouse loop has taken the button's release, which would have
      // ended the framework's capture: without this the next click anywhere in the
      // window went to the tree and was lost.
      if (!FDragNode && GetKeyState(VK_LBUTTON) >= 0 && GetCapture() == WindowHandle()) SetMouseCapture(false);
      return;
    default: break;
  }
  TWinControl::Dispatch(Message);
}

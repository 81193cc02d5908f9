#include "widetext/uni_tree_view.h"

#include <algorithm>

#include "vcl/comctrls_common.h"
#include "vcl/streaming.h"
#include "vcl/treenodeinfo.h"
#include "widetext/char_messages.h"
#include "widetext/codecs.h"
#include "widetext/platform.h"
#include "widetext/synced_strings.h"
#include "widetext/uni_list_view.h"
#include "widetext/wide_control_text.h"
#include "widetext/wide_props.h"

namespace {

const char kUtf8Prefix[] = "\xEF\xBB\xBF";

const std::vector<TPropInfo>& UniTreeViewProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniTreeView>()
      .Property("Items", &TUniTreeView::Items, &TUniTreeView::SetItems)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true)
      .Property("Hint", &TUniTreeView::Hint, &TUniTreeView::SetHint).Stored(&TUniTreeView::IsHintStored)
      .Property("OnEdited", &TUniTreeView::OnEdited)
      .Table();
  return table;
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The code of a notification as its 8-bit twin while the framework's handler runs.
class TCodeAs {
 public:
  TCodeAs(NMHDR* Hdr, UINT Code) : FHdr(Hdr), FSaved(Hdr->code) { Hdr->code = Code; }
  ~TCodeAs() { FHdr->code = FSaved; }
  TCodeAs(const TCodeAs&) = delete;
  TCodeAs& operator=(const TCodeAs&) = delete;

 private:
  NMHDR* FHdr;
  UINT FSaved;
};

}  // namespace

VCL_CLASS_IMPL(TUniTreeNode, TTreeNode, nullptr, nullptr)
VCL_CLASS_IMPL(TUniTreeNodes, TTreeNodes, nullptr, nullptr)
VCL_CLASS_IMPL(TUniCustomTreeView, TCustomTreeView, nullptr, nullptr)
VCL_CLASS_IMPL(TUniTreeView, TUniCustomTreeView, &CreateComponentOf<TUniTreeView>, &UniTreeViewProperties)

void RegisterUniTreeView() { RegisterClasses({TUniTreeView::StaticClass()}); }

// ---------------------------------------------------------------------------
// Node texts in stored descriptions

AnsiString StoredUtf8NodeText(const WideString& Text) {
  for (size_t n = std::min(Text.size(), static_cast<size_t>(kNodeInfoMaxText)) + 1; n-- > 0;) {
    // Never half of a surrogate pair.
    if (n > 0 && IsHighSurrogate(Text[n - 1])) continue;
    AnsiString stored = AnsiString(kUtf8Prefix) + Utf8Encode(Text.data(), n);
    if (stored.size() <= static_cast<size_t>(kNodeInfoMaxText)) return stored;
  }
  return kUtf8Prefix;
}

WideString WideNodeTextOfStored(const AnsiString& Stored) {
  if (Stored.compare(0, 3, kUtf8Prefix) == 0) return Utf8Decode(Stored.data() + 3, Stored.size() - 3);
  return AnsiToWide(Stored);
}

// ---------------------------------------------------------------------------
// TUniTreeNode

WideString TUniTreeNode::Text() const { return GetSyncedWideString(FWideText, TTreeNode::Text()); }

void TUniTreeNode::SetText(const WideString& Value) {
  SetSyncedWideString(Value, FWideText, TTreeNode::Text(), [this](const AnsiString& s) { TTreeNode::SetText(s); });
}

void TUniTreeNode::Assign(TPersistent* Source) {
  TTreeNode::Assign(Source);
  if (auto* node = dynamic_cast<TUniTreeNode*>(Source); node && !Deleting()) SetText(node->Text());
}

// ---------------------------------------------------------------------------
// TUniTreeNodes

TUniTreeNode* TUniTreeNodes::AddWide(TTreeNode* Node, const WideString& S, void* Ptr, TNodeAttachMode Mode) {
  auto* node = static_cast<TUniTreeNode*>(InternalAddObject(Node, WideToAnsi(S), Ptr, Mode));
  node->SetText(S);
  return node;
}

TUniTreeNode* TUniTreeNodes::Add(TTreeNode* Sibling, const WideString& S) { return AddWide(Sibling, S, nullptr, naAdd); }
TUniTreeNode* TUniTreeNodes::AddObject(TTreeNode* Sibling, const WideString& S, void* Ptr) {
  return AddWide(Sibling, S, Ptr, naAdd);
}
TUniTreeNode* TUniTreeNodes::AddFirst(TTreeNode* Sibling, const WideString& S) {
  return AddWide(Sibling, S, nullptr, naAddFirst);
}
TUniTreeNode* TUniTreeNodes::AddChild(TTreeNode* Parent, const WideString& S) {
  return AddWide(Parent, S, nullptr, naAddChild);
}
TUniTreeNode* TUniTreeNodes::AddChildObject(TTreeNode* Parent, const WideString& S, void* Ptr) {
  return AddWide(Parent, S, Ptr, naAddChild);
}
TUniTreeNode* TUniTreeNodes::AddChildFirst(TTreeNode* Parent, const WideString& S) {
  return AddWide(Parent, S, nullptr, naAddChildFirst);
}
TUniTreeNode* TUniTreeNodes::Insert(TTreeNode* Sibling, const WideString& S) {
  return AddWide(Sibling, S, nullptr, naInsert);
}
TUniTreeNode* TUniTreeNodes::InsertObject(TTreeNode* Sibling, const WideString& S, void* Ptr) {
  return AddWide(Sibling, S, Ptr, naInsert);
}

bool TUniTreeNodes::DiffersFrom(TTreeNodes* Ancestor) {
  auto* ancestor = dynamic_cast<TUniTreeNodes*>(Ancestor);
  if (!ancestor) return TTreeNodes::DiffersFrom(Ancestor);
  if (ancestor->Count() != Count()) return true;
  for (TUniTreeNode *a = GetFirstNode(), *b = ancestor->GetFirstNode(); a && b; a = a->GetNext(), b = b->GetNext())
    if (a->Text() != b->Text() || a->Data() != b->Data()) return true;
  return false;
}

void TUniTreeNodes::DefineProperties(TFiler* Filer) {
  TTreeNodes::DefineProperties(Filer);
  bool store;
  if (auto* ancestor = dynamic_cast<TTreeNodes*>(Filer->Ancestor))
    store = DiffersFrom(ancestor);
  else
    store = TopLevelCount() > 0;
  Filer->DefineBinaryProperty(
      "Utf8Data", [this](TStream* s) { ReadUtf8Data(s); }, [this](TStream* s) { WriteUtf8Data(s); }, store);
}

void TUniTreeNodes::WriteUtf8Node(TStream* Stream, TUniTreeNode* Node) {
  TNodeInfo info;
  info.ImageIndex = Node->ImageIndex();
  info.SelectedIndex = Node->SelectedIndex();
  info.StateIndex = Node->StateIndex();
  info.OverlayIndex = Node->OverlayIndex();
  info.Data = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Node->Data()));
  info.Count = Node->Count();
  info.Text = StoredUtf8NodeText(Node->Text());
  WriteNodeInfo(Stream, info);
  for (int i = 0; i < Node->Count(); ++i) WriteUtf8Node(Stream, Node->Item(i));
}

void TUniTreeNodes::WriteUtf8Data(TStream* Stream) {
  WriteNodeCount(Stream, TopLevelCount());
  for (int i = 0; i < TopLevelCount(); ++i) WriteUtf8Node(Stream, static_cast<TUniTreeNode*>(TopLevelItem(i)));
}

void TUniTreeNodes::ReadUtf8Node(TStream* Stream, TTreeNode* Parent) {
  TNodeInfo info = ReadNodeInfo(Stream);
  // The stored data field is a pointer of another run: it is not taken back.
  TUniTreeNode* node = AddChild(Parent, WideNodeTextOfStored(info.Text));
  node->SetImageIndex(info.ImageIndex);
  node->SetSelectedIndex(info.SelectedIndex);
  node->SetStateIndex(info.StateIndex);
  node->SetOverlayIndex(info.OverlayIndex);
  for (int i = 0; i < info.Count; ++i) ReadUtf8Node(Stream, node);
}

void TUniTreeNodes::ReadUtf8Data(TStream* Stream) {
  BeginUpdate();
  try {
    Clear();
    int count = ReadNodeCount(Stream);
    for (int i = 0; i < count; ++i) ReadUtf8Node(Stream, nullptr);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---------------------------------------------------------------------------
// TUniCustomTreeView

WideString TUniCustomTreeView::Hint() { return UniControl_GetHint(this); }
void TUniCustomTreeView::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniCustomTreeView::IsHintStored() const { return UniControl_IsHintStored(this); }

void TUniCustomTreeView::DefineProperties(TFiler* Filer) {
  TCustomTreeView::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniCustomTreeView::CreateWindowHandle(const TCreateParams& Params) {
  CreateUnicodeHandle_ComCtl(this, Params, L"SysTreeView32");
}

TTreeNode* TUniCustomTreeView::CreateNode() {
  const TTreeNodeClass* cls = TreeNodeClassOf<TUniTreeNode>();
  if (TCustomTreeView::OnCreateNodeClass) TCustomTreeView::OnCreateNodeClass(this, cls);
  if (!cls || !cls->Class->InheritsFrom(TUniTreeNode::StaticClass()))
    throw EUniInternalError("Internal Error: OnCreateNodeClass.ItemClass must inherit from TUniTreeNode.");
  return cls->Create(Items());
}

TTreeNodes* TUniCustomTreeView::CreateNodes() { return new TUniTreeNodes(this); }

int CALLBACK TUniCustomTreeView::WideTreeViewSort(LPARAM Node1, LPARAM Node2, LPARAM LParamSort) {
  auto* a = reinterpret_cast<TUniTreeNode*>(Node1);
  auto* b = reinterpret_cast<TUniTreeNode*>(Node2);
  TCustomTreeView* tree = a->TreeView();
  try {
    if (tree->OnCompare) {
      int compare = 0;
      tree->OnCompare(tree, a, b, static_cast<int>(LParamSort), compare);
      return compare;
    }
    return lstrcmpW(a->Text().c_str(), b->Text().c_str());
  } catch (...) {
    // No exception may cross the control's own code.
    if (ApplicationHandleException) ApplicationHandleException(tree);
    return 0;
  }
}

void TUniCustomTreeView::WndProc(TMessage& Message) {
  if (UnicodePlatform && Message.Msg == TVM_SORTCHILDRENCB && HandleAllocated()) {
    auto* sort = reinterpret_cast<TVSORTCB*>(Message.LParam);
    if (sort && sort->lpfnCompare == &TCustomTreeView::DefaultTreeViewSort) {
      TVSORTCB wide = *sort;
      wide.lpfnCompare = &WideTreeViewSort;
      Message.Result = SendMessageW(WindowHandle(), TVM_SORTCHILDRENCB, Message.WParam, reinterpret_cast<LPARAM>(&wide));
      return;
    }
  }
  TCustomTreeView::WndProc(Message);
}

bool TUniCustomTreeView::EditorKeyMessage(TMessage& Message) {
  if (Message.Msg != WM_CHAR || !UnicodePlatform) return TCustomTreeView::EditorKeyMessage(Message);
  MakeCharMessageAnsiSafe(Message);
  bool handled = DoKeyPress(Message);
  RestoreCharMessage(Message);
  return handled;
}

void TUniCustomTreeView::WideEdit(TUniTreeNode* Node, const wchar_t* Text) {
  WideString text = Text;
  if (OnEdited) {
    OnEdited(this, Node, text);
  } else if (TCustomTreeView::OnEdited) {
    AnsiString narrow = WideToAnsi(text);
    TCustomTreeView::OnEdited(this, Node, narrow);
    text = AnsiToWide(narrow);
  }
  Node->SetText(text);
}

void TUniCustomTreeView::WideNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  auto nodeOf = [this](const TVITEMW& item) -> TUniTreeNode* {
    if (item.lParam) return reinterpret_cast<TUniTreeNode*>(item.lParam);
    return Items()->GetNode(item.hItem);
  };
  Message.Result = 0;
  switch (hdr->code) {
    case TVN_GETDISPINFOW: {
      TVITEMW& item = reinterpret_cast<NMTVDISPINFOW*>(hdr)->item;
      TUniTreeNode* node = nodeOf(item);
      if (!node) return;
      if (item.mask & TVIF_TEXT) CopyNotifyText(item.pszText, item.cchTextMax, node->Text());
      if (item.mask & TVIF_IMAGE) {
        GetImageIndex(node);
        item.iImage = node->ImageIndex();
      }
      if (item.mask & TVIF_SELECTEDIMAGE) {
        GetSelectedIndex(node);
        item.iSelectedImage = node->SelectedIndex();
      }
      return;
    }
    case TVN_SETDISPINFOW: {
      TVITEMW& item = reinterpret_cast<NMTVDISPINFOW*>(hdr)->item;
      TUniTreeNode* node = nodeOf(item);
      if (node && (item.mask & TVIF_TEXT) && item.pszText && item.pszText != LPSTR_TEXTCALLBACKW)
        node->SetText(WideString(item.pszText));
      return;
    }
    case TVN_BEGINLABELEDITW: {
      TUniTreeNode* node = nodeOf(reinterpret_cast<NMTVDISPINFOW*>(hdr)->item);
      if (Dragging() || !node || !CanEdit(node)) {
        Message.Result = 1;
        return;
      }
      SubclassEditor(reinterpret_cast<HWND>(SendMessageW(WindowHandle(), TVM_GETEDITCONTROL, 0, 0)));
      return;
    }
    case TVN_ENDLABELEDITW: {
      TVITEMW& item = reinterpret_cast<NMTVDISPINFOW*>(hdr)->item;
      TUniTreeNode* node = nodeOf(item);
      // Only once per edit: the editor going away may end the edit again.
      if (!node || !EditHandle()) return;
      ForgetEditHandle();
      if (item.pszText)
        WideEdit(node, item.pszText);
      else if (OnCancelEdit)
        OnCancelEdit(this, node);
      return;
    }
    case TVN_DELETEITEMW: {
      TCodeAs code(hdr, TVN_DELETEITEMA);
      CNNotify(Message);
      return;
    }
    case TVN_BEGINDRAGW: {
      TCodeAs code(hdr, TVN_BEGINDRAGA);
      CNNotify(Message);
      return;
    }
    case TVN_BEGINRDRAGW: {
      TCodeAs code(hdr, TVN_BEGINRDRAGA);
      CNNotify(Message);
      return;
    }
    case TVN_ITEMEXPANDEDW: {
      TCodeAs code(hdr, TVN_ITEMEXPANDEDA);
      CNNotify(Message);
      return;
    }
    case TVN_ITEMEXPANDINGW: {
      TCodeAs code(hdr, TVN_ITEMEXPANDINGA);
      CNNotify(Message);
      return;
    }
    default: CNNotify(Message); return;
  }
}

void TUniCustomTreeView::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY && UnicodePlatform) {
    WideNotify(Message);
    return;
  }
  TCustomTreeView::Dispatch(Message);
}

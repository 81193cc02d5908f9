// The wide tree view: nodes with UTF-16 texts beside the framework's 8-bit ones, shown
// by a Unicode window, stored in form descriptions as "Utf8Data" beside the framework's
// "Data".
//
// A node's wide text counts while its 8-bit form equals the framework's text; a text set
// through the framework's 8-bit Text is seen converted (the synced-pair rule). The nodes
// outlive re-created windows, so their wide texts need no saving on the way.
#pragma once

#include "vcl/treeview.h"
#include "widetext/uni_actions.h"

class TUniTreeNodes;

class TUniTreeNode : public TTreeNode {
  VCL_CLASS(TUniTreeNode)
 public:
  explicit TUniTreeNode(TTreeNodes* AOwner) : TTreeNode(AOwner) {}

  WideString Text() const;
  void SetText(const WideString& Value);
  using TTreeNode::SetText;

  TUniTreeNode* Item(int Index) const { return static_cast<TUniTreeNode*>(TTreeNode::Item(Index)); }
  TUniTreeNode* Parent() const { return static_cast<TUniTreeNode*>(TTreeNode::Parent()); }
  TUniTreeNode* getFirstChild() const { return static_cast<TUniTreeNode*>(TTreeNode::getFirstChild()); }
  TUniTreeNode* GetNext() const { return static_cast<TUniTreeNode*>(TTreeNode::GetNext()); }
  TUniTreeNode* GetNextSibling() const { return static_cast<TUniTreeNode*>(TTreeNode::GetNextSibling()); }
  TUniTreeNode* GetPrev() const { return static_cast<TUniTreeNode*>(TTreeNode::GetPrev()); }

  // The framework's copy, then the wide text of a wide node (unless this one is going).
  void Assign(TPersistent* Source) override;

 private:
  mutable WideString FWideText;
};

class TUniTreeNodes : public TTreeNodes {
  VCL_CLASS(TUniTreeNodes)
 public:
  explicit TUniTreeNodes(TCustomTreeView* AOwner) : TTreeNodes(AOwner) {}

  TUniTreeNode* Add(TTreeNode* Sibling, const WideString& S);
  TUniTreeNode* AddObject(TTreeNode* Sibling, const WideString& S, void* Ptr);
  TUniTreeNode* AddFirst(TTreeNode* Sibling, const WideString& S);
  TUniTreeNode* AddChild(TTreeNode* Parent, const WideString& S);
  TUniTreeNode* AddChildObject(TTreeNode* Parent, const WideString& S, void* Ptr);
  TUniTreeNode* AddChildFirst(TTreeNode* Parent, const WideString& S);
  TUniTreeNode* Insert(TTreeNode* Sibling, const WideString& S);
  TUniTreeNode* InsertObject(TTreeNode* Sibling, const WideString& S, void* Ptr);

  TUniTreeNode* Item(int Index) const { return static_cast<TUniTreeNode*>(TTreeNodes::Item(Index)); }
  TUniTreeNode* GetFirstNode() const { return static_cast<TUniTreeNode*>(TTreeNodes::GetFirstNode()); }
  TUniTreeNode* GetNode(HTREEITEM ItemId) const { return static_cast<TUniTreeNode*>(TTreeNodes::GetNode(ItemId)); }

  // "Data" (the framework's), then "Utf8Data": the same node records with texts of EF BB BF
  // and UTF-8, at most 255 bytes. Reading "Utf8Data" replaces the nodes read before.
  void DefineProperties(TFiler* Filer) override;
  void ReadUtf8Data(TStream* Stream);
  void WriteUtf8Data(TStream* Stream);

 protected:
  bool DiffersFrom(TTreeNodes* Ancestor) override;

 private:
  TUniTreeNode* AddWide(TTreeNode* Node, const WideString& S, void* Ptr, TNodeAttachMode Mode);
  void ReadUtf8Node(TStream* Stream, TTreeNode* Parent);
  void WriteUtf8Node(TStream* Stream, TUniTreeNode* Node);
};

// The stored form of a wide node text: EF BB BF and the UTF-8 of as many whole characters
// as fit into 255 bytes.
AnsiString StoredUtf8NodeText(const WideString& Text);
// A stored node text: UTF-8 after EF BB BF, else 8-bit text in the conversion code page.
WideString WideNodeTextOfStored(const AnsiString& Stored);

using TUniTVEditedEvent = std::function<void(TObject* Sender, TUniTreeNode* Node, WideString& S)>;

class TUniCustomTreeView : public TCustomTreeView {
  VCL_CLASS(TUniCustomTreeView)
 public:
  explicit TUniCustomTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}

  TUniTreeNodes* Items() { return static_cast<TUniTreeNodes*>(TCustomTreeView::Items()); }
  void SetItems(TUniTreeNodes* Value) { Items()->Assign(Value); }
  TUniTreeNode* Selected() const { return static_cast<TUniTreeNode*>(TCustomTreeView::Selected()); }
  TUniTreeNode* GetNodeAt(int X, int Y) const { return static_cast<TUniTreeNode*>(TCustomTreeView::GetNodeAt(X, Y)); }
  TUniTreeNode* FindNextToSelect() const { return static_cast<TUniTreeNode*>(TCustomTreeView::FindNextToSelect()); }

  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsHintStored() const;

  // The wide end of a label edit; without it the framework's 8-bit OnEdited gets the text.
  TUniTVEditedEvent OnEdited;

  void DefineProperties(TFiler* Filer) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  TTreeNode* CreateNode() override;
  TTreeNodes* CreateNodes() override;
  bool EditorKeyMessage(TMessage& Message) override;

 private:
  static int CALLBACK WideTreeViewSort(LPARAM Node1, LPARAM Node2, LPARAM LParamSort);
  void WideNotify(TMessage& Message);
  void WideEdit(TUniTreeNode* Node, const wchar_t* Text);

 protected:
  UNI_WIDE_ACTION_OVERRIDES(TCustomTreeView)
};

class TUniTreeView : public TUniCustomTreeView {
  VCL_CLASS(TUniTreeView)
 public:
  using TUniCustomTreeView::TUniCustomTreeView;
};

// Registers TUniTreeView for stored descriptions.
void RegisterUniTreeView();

// The wide list view: item captions, sub-items and column captions in UTF-16.
//
// The framework drives the window with 8-bit messages and callback texts. This list view
// answers the window's (wide) display requests with wide texts. An item's sub-items are
// kept once, wide: the framework's sub-items of the item are an 8-bit view of them.
// Captions of items and columns keep a wide copy beside the framework's 8-bit one, brought
// back in step when the 8-bit one was changed behind it: every 8-bit caption change reaches
// the window as a message (LVM_SETITEMTEXTA, LVM_SETCOLUMNA), and the window procedure
// re-reads the 8-bit text then, unless the change came from the wide side (the
// changing-wide-item counter is above 0).
#pragma once

#include <memory>

#include "vcl/listview.h"
#include "widetext/uni_actions.h"
#include "widetext/uni_string_list.h"

class TUniCustomListView;
class TUniListItem;

class TUniListColumn : public TListColumn {
  VCL_CLASS(TUniListColumn)
 public:
  explicit TUniListColumn(TCollection* Collection) : TListColumn(Collection) {}
  // The wide caption; a caption changed through the 8-bit one is seen converted.
  WideString Caption();
  void SetCaption(const WideString& Value);
  // From another column: the framework's values, then the wide caption (an 8-bit
  // column's converted).
  void Assign(TPersistent* Source) override;

 private:
  friend class TUniCustomListView;
  WideString FWideCaption;
};

class TUniListColumns : public TListColumns {
  VCL_CLASS(TUniListColumns)
 public:
  explicit TUniListColumns(TUniCustomListView* AOwner);
  TUniListColumn* Add() { return static_cast<TUniListColumn*>(TCollection::Add()); }
  TUniListColumn* Items(int Index) const { return static_cast<TUniListColumn*>(TCollection::Items(Index)); }
};

// The sub-item texts of one item, kept here only: the framework's sub-items of the item
// are this list's 8-bit view (AnsiStrings), so a change through either is one change, and
// every change reaches the window.
class TWideSubItems : public TUniStringList {
  VCL_CLASS(TWideSubItems)
 public:
  explicit TWideSubItems(TUniListItem* AOwner);

  int AddObject(const WideString& S, TObject* Obj) override;
  void InsertObject(int Index, const WideString& S, TObject* Obj) override;
  void Put(int Index, const WideString& S) override;
  void Delete(int Index) override;
  void Clear() override;
  void Exchange(int Index1, int Index2) override;
  void CustomSort(const TUniStringListSortCompare& Compare) override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  void ReserveForColumns();
  // Sub-item Index changed in place / was inserted / the sub-items changed from From on.
  void SubItemChanged(int Index);
  void SubItemInserted(int Index);
  void SubItemsChangedFrom(int From);
  TUniListItem* FOwner;
  bool FUpdating = false;
};

class TUniListItem : public TListItem {
  VCL_CLASS(TUniListItem)
  friend class TUniCustomListView;
  friend class TWideSubItems;

 public:
  explicit TUniListItem(TListItems* AOwner);
  ~TUniListItem() override;

  WideString Caption();
  void SetCaption(const WideString& Value);
  TWideSubItems* SubItems() const { return FSubItems.get(); }
  void SetSubItems(TWideStrings* Value) { FSubItems->Assign(Value); }
  // The wide list view the item belongs to (null in a list view of another kind).
  TUniCustomListView* ListView() const { return FListView; }

  // From another wide item: wide caption, data, images, indent, wide sub-items and the
  // check state; from anything else the framework's copy.
  void Assign(TPersistent* Source) override;

 private:
  TUniListItem(TListItems* AOwner, std::unique_ptr<TWideSubItems> SubItems);
  TUniCustomListView* FListView;
  WideString FWideCaption;
  std::unique_ptr<TWideSubItems> FSubItems;
};

class TUniListItems : public TListItems {
  VCL_CLASS(TUniListItems)
 public:
  explicit TUniListItems(TUniCustomListView* AOwner);
  TUniListItem* Add() { return static_cast<TUniListItem*>(TListItems::Add()); }
  TUniListItem* Insert(int Index) { return static_cast<TUniListItem*>(TListItems::Insert(Index)); }
  TUniListItem* Item(int Index) const { return static_cast<TUniListItem*>(TListItems::Item(Index)); }
  TUniListItem* operator[](int Index) const { return Item(Index); }

 protected:
  // The stored items keep their wide texts (UTF-16).
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;
};

using TUniLVEditedEvent = std::function<void(TObject* Sender, TUniListItem* Item, WideString& S)>;
using TUniLVOwnerDataFindEvent =
    std::function<void(TObject* Sender, TItemFind Find, const WideString& FindString, POINT FindPosition,
                       void* FindData, int StartIndex, TSearchDirection Direction, bool Wrap, int& Index)>;
using TUniInfoTipWideEvent = std::function<void(TObject* Sender, TUniListItem* Item, WideString& InfoTip)>;

// Creates a common control's window as a Unicode window (CreateUnicodeHandle) and, on the
// Unicode platform, makes it send its notifications wide. SubClass is the control's system
// class and must not be empty.
void CreateUnicodeHandle_ComCtl(TWinControl* Control, const TCreateParams& Params, const WideString& SubClass);

class TUniCustomListView : public TCustomListView {
  VCL_CLASS(TUniCustomListView)
  friend class TUniListItem;
  friend class TWideSubItems;
  friend class TUniListColumn;

 public:
  explicit TUniCustomListView(TComponent* AOwner);
  ~TUniCustomListView() override;

  TUniListItems* Items() const { return static_cast<TUniListItems*>(TCustomListView::Items()); }
  TUniListColumns* Columns() const { return static_cast<TUniListColumns*>(TCustomListView::Columns()); }
  TUniListColumn* Column(int Index) const { return Columns()->Items(Index); }
  TUniListItem* Selected() const { return static_cast<TUniListItem*>(TCustomListView::Selected()); }
  void SetSelected(TUniListItem* Value) { TCustomListView::SetSelected(Value); }
  TUniListItem* ItemFocused() const { return static_cast<TUniListItem*>(TCustomListView::ItemFocused()); }

  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsHintStored() const;

  // A new item with the wide caption S and Data AObject.
  void AddItem(const WideString& S, TObject* AObject);
  void AddItem(const AnsiString& Item, TObject* AObject) override { AddItem(AnsiToWide(Item), AObject); }
  // Adds every selected item's wide caption and data to Destination.
  void CopySelection(TCustomListControl* Destination);

  void WndProc(TMessage& Message) override;
  void DefineProperties(TFiler* Filer) override;

  // The wide events (the 8-bit ones of the framework stay usable beside them).
  TUniLVEditedEvent OnEdited;
  TUniLVOwnerDataFindEvent OnDataFind;
  TUniInfoTipWideEvent OnInfoTipWide;

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  TListItem* CreateListItem() override;
  TListItems* CreateListItems() override;
  TListColumns* CreateListColumns() override;
  UNI_WIDE_ACTION_OVERRIDES(TCustomListView)
  bool UnicodeNotifications() const override;

  void CNNotify(TMessage& Message) override;
  bool OwnerDataFetch(TListItem* Item, UINT Request) override;
  int OwnerDataFind(TItemFind Find, const AnsiString& FindString, POINT FindPosition, void* FindData,
                    int StartIndex, TSearchDirection Direction, bool Wrap) override;
  void DrawItem(TListItem* Item, const RECT& Rect, TOwnerDrawState State) override;

  // The wide rename of a caption: the window asks for it through the display request.
  void EditWide(TUniListItem* Item, const WideString& Text);

 private:
  // Counts changes coming from the wide side, during which the 8-bit messages they
  // cause are not read back.
  class TWideChange;
  static int CALLBACK WideCompare(LPARAM Item1, LPARAM Item2, LPARAM Data);
  static LRESULT CALLBACK WideEditorProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void AnswerWideDispInfo(NMLVDISPINFOW* Info);
  void SubclassEditor();
  void ResyncFromSetItemText(int Index, const LVITEMA* Item);
  TUniListItem* ItemAt(int Index) const;

  // The procedure of the system's list view class, which the window's messages end in.
  WNDPROC FClassWndProc = nullptr;
  HWND FEditHandle = nullptr;
  WNDPROC FEditPrevProc = nullptr;
  int FChangingWideItemCount = 0;
  bool FWideFindPending = false;
  WideString FWideFindString;
};

class TUniListView : public TUniCustomListView {
  VCL_CLASS(TUniListView)
 public:
  using TUniCustomListView::TUniCustomListView;
};

// The link of a wide list view to its action: the hint the action gives the list view is
// kept wide beside the 8-bit one.
class TUniListViewActionLink : public TListViewActionLink {
  VCL_CLASS(TUniListViewActionLink)
 public:
  explicit TUniListViewActionLink(TUniCustomListView* AClient) : TListViewActionLink(AClient) {}
  bool IsHintLinked() override;
  void SetHint(const AnsiString& Value) override;
};

void RegisterUniListViews();

// The list view ("SysListView32"): items with sub-items shown as icons, a list or a
// report with columns.
//
// The items live in the framework (TListItems); the window only shows them. Each window
// item carries its TListItem in lParam and asks for its texts and images through
// LVN_GETDISPINFO (texts are LPSTR_TEXTCALLBACK, set with LVM_SETITEMTEXTA; images
// I_IMAGECALLBACK), so a re-created window is simply filled again from the items.
// Owner-data lists (OwnerData) hold no items at all: the window knows only their count,
// and every question about item i fills one temporary item through OnData.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <vector>

#include "vcl/actions.h"
#include "vcl/collections.h"
#include "vcl/comctrls_common.h"
#include "vcl/controls.h"
#include "vcl/imglist.h"
#include "vcl/stdctrls.h"
#include "vcl/strings.h"

class TCustomListView;
class TListItems;
class TListItem;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
VCL_ENUM_INFO(TViewStyle, "vsIcon", "vsSmallIcon", "vsList", "vsReport")

enum TItemChange { ctText, ctImage, ctState };
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };

// Item states of custom drawing (bit flags, from CDIS_*).
enum TCustomDrawStateFlag : unsigned {
  cdsSelected = 1u << 0,
  cdsGrayed = 1u << 1,
  cdsDisabled = 1u << 2,
  cdsChecked = 1u << 3,
  cdsFocused = 1u << 4,
  cdsDefault = 1u << 5,
  cdsHot = 1u << 6,
  cdsMarked = 1u << 7,
  cdsIndeterminate = 1u << 8,
};
using TCustomDrawState = unsigned;

// Item states of owner drawing: TOwnerDrawState of the standard controls (stdctrls.h).

// Which states GetNextItem looks for (bit flags).
enum TItemStateFlag : unsigned { isNone = 0, isCut = 1u << 0, isDropHilited = 1u << 1, isFocused = 1u << 2, isSelected = 1u << 3 };
using TItemStates = unsigned;

// ---------------------------------------------------------------------------
// Columns

class TListColumn : public TCollectionItem {
  VCL_CLASS(TListColumn)
 public:
  explicit TListColumn(TCollection* Collection);
  ~TListColumn() override;

  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  // The width in the window while there is one. 0 hides the column.
  int Width() const;
  void SetWidth(int Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value) { FMinWidth = Value; }
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value) { FMaxWidth = Value; }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  intptr_t Tag = 0;

  // The column's position in the window (the wParam of its LVM_SETCOLUMN messages).
  int OrderTag() const { return FOrderTag; }
  TCustomListView* ListView() const;

  void Assign(TPersistent* Source) override;

 protected:
  AnsiString GetDisplayName() const override;
  friend class TListColumns;
  friend class TCustomListView;

 private:
  // Writes the column's caption, width, alignment and image to the window.
  void UpdateColumn();

  AnsiString FCaption;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  int FMinWidth = 0;
  int FMaxWidth = 0;
  bool FAutoSize = false;
  int FImageIndex = -1;
  int FOrderTag = -1;
};

class TListColumns : public TCollection {
  VCL_CLASS(TListColumns)
 public:
  explicit TListColumns(TCustomListView* AOwner);
  // For descendants whose columns are of a class of their own.
  TListColumns(TCustomListView* AOwner, TCollectionItemClass ItemClass);

  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(int Index) const { return static_cast<TListColumn*>(TCollection::Items(Index)); }
  // The column whose order tag is Tag (null: none).
  TListColumn* FindByOrderTag(int Tag) const;
  TCustomListView* Owner() const { return FOwner; }
  TPersistent* GetOwner() override;

 protected:
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;
  void Update(TCollectionItem* Item) override;

 private:
  void RenumberTags();
  TCustomListView* FOwner;
  // The columns that are whole: a column joins the collection while it is still being
  // made, and is told to the window only once it is made (cnAdded).
  int FCompleteCount = 0;
};

// ---------------------------------------------------------------------------
// Items

// The sub-item texts of one item; every change reaches the window (through the item's
// SubItemChanged, SubItemInserted and SubItemsChangedFrom).
class TSubItems : public TStringList {
  VCL_CLASS(TSubItems)
 public:
  explicit TSubItems(TListItem* AOwner) : FOwner(AOwner) {}
  TListItem* Owner() const { return FOwner; }

  // Add and Insert arrive at AddObject and InsertObject.
  void Put(int Index, const AnsiString& S) override;
  int AddObject(const AnsiString& S, TObject* Obj) override;
  void InsertObject(int Index, const AnsiString& S, TObject* Obj) override;
  void Delete(int Index) override;
  void Clear() override;
  void Exchange(int Index1, int Index2) override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  TListItem* FOwner;
  bool FUpdating = false;
};

class TListItem : public TPersistent {
  VCL_CLASS(TListItem)
  friend class TListItems;
  friend class TCustomListView;
  friend class TSubItems;

 public:
  explicit TListItem(TListItems* AOwner);
  ~TListItem() override;

  TListItems* Owner() const { return FOwner; }
  TCustomListView* ListView() const;

  const AnsiString& Caption() const { return FCaption; }
  virtual void SetCaption(const AnsiString& Value);
  TStrings* SubItems() const { return FSubItems; }
  void SetSubItems(TStrings* Value);
  void* Data() const { return FData; }
  void SetData(void* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  int StateIndex() const { return FStateIndex; }
  void SetStateIndex(int Value);
  int OverlayIndex() const { return FOverlayIndex; }
  void SetOverlayIndex(int Value);
  int Indent() const { return FIndent; }
  void SetIndent(int Value);
  bool Checked() const;
  void SetChecked(bool Value);
  bool Selected() const;
  void SetSelected(bool Value);
  bool Focused() const;
  void SetFocused(bool Value);
  bool Cut() const;
  void SetCut(bool Value);
  int Index() const { return FIndex; }

  // Redraws the item (LVM_UPDATE).
  void Update();
  void MakeVisible(bool PartialOK);
  bool EditCaption();
  RECT DisplayRect(int Code) const;  // LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL, LVIR_SELECTBOUNDS
  void Delete();

  // From another list item: caption, data, images, indent, sub-items and check state.
  void Assign(TPersistent* Source) override;

 protected:
  // For an item whose sub-item texts are kept elsewhere: SubItems is their 8-bit view,
  // owned by the descendant and alive as long as the item; whatever keeps the texts tells
  // the window of each change through SubItemChanged and SubItemsChangedFrom.
  TListItem(TListItems* AOwner, TStrings* SubItems);
  // Sub-item Index (0-based) changed in place / was inserted / the sub-items changed from
  // From on.
  void SubItemChanged(int Index);
  void SubItemInserted(int Index);
  void SubItemsChangedFrom(int From);
  // Whether the item is one of the window's items (owner-data lists have none: their
  // temporary item only stands for one) / whether the window holds the item's states.
  bool InWindow() const;
  bool HasWindowState() const;
  void SetState(UINT State, UINT Mask, bool On);
  bool GetState(UINT Mask) const;

 private:
  TListItems* FOwner;
  AnsiString FCaption;
  std::unique_ptr<TSubItems> FOwnSubItems;  // null when a descendant keeps the sub-items
  TStrings* FSubItems;
  void* FData = nullptr;
  int FImageIndex = -1;
  int FStateIndex = -1;
  int FOverlayIndex = -1;
  int FIndent = 0;
  int FIndex = -1;
  // Window states (LVIS_*) kept while there is no window; set again when items are inserted.
  UINT FSavedState = 0;
  bool FChecked = false;
};

// How a list view makes its items: their class and a factory.
struct TListItemClass {
  const TMetaClass* Class = nullptr;
  TListItem* (*Create)(TListItems* Owner) = nullptr;
};

template <class T>
TListItemClass ListItemClassOf() {
  return {T::StaticClass(), [](TListItems* o) -> TListItem* { return new T(o); }};
}

class TListItems : public TPersistent {
  VCL_CLASS(TListItems)
  friend class TListItem;
  friend class TCustomListView;

 public:
  explicit TListItems(TCustomListView* AOwner);
  ~TListItems() override;

  TCustomListView* Owner() const { return FOwner; }
  TPersistent* GetOwner() override;

  TListItem* Add();
  TListItem* AddItem(TListItem* Item, int Index = -1);  // takes Item; -1: at the end
  TListItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  // Count of an owner-data list is the window's item count.
  int Count() const;
  void SetCount(int Value);
  // An owner-data list returns its temporary item, filled through OnData for Index.
  TListItem* Item(int Index) const;
  TListItem* operator[](int Index) const { return Item(Index); }
  int IndexOf(const TListItem* Value) const;
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  void Assign(TPersistent* Source) override;
  // Stores the items under "Data" (caption, images, sub-items of each item).
  void DefineProperties(TFiler* Filer) override;

 protected:
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);

 private:
  void InsertIntoWindow(TListItem* Item);
  void Renumber(int From);

  TCustomListView* FOwner;
  std::vector<TListItem*> FItems;
  int FUpdateCount = 0;
  int FCount = 0;  // owner-data item count while there is no window
};

// ---------------------------------------------------------------------------
// Events

using TLVCompareEvent =
    std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVColumnRClickEvent = std::function<void(TObject* Sender, TListColumn* Column, POINT Point)>;
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, AnsiString& S)>;
using TLVInfoTipEvent = std::function<void(TObject* Sender, TListItem* Item, AnsiString& InfoTip)>;
using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVOwnerDataFindEvent =
    std::function<void(TObject* Sender, TItemFind Find, const AnsiString& FindString, POINT FindPosition,
                       void* FindData, int StartIndex, TSearchDirection Direction, bool Wrap, int& Index)>;
using TLVCustomDrawEvent = std::function<void(TCustomListView* Sender, const RECT& ARect, bool& DefaultDraw)>;
using TLVCustomDrawItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVCustomDrawSubItemEvent = std::function<void(TCustomListView* Sender, TListItem* Item, int SubItem,
                                                     TCustomDrawState State, bool& DefaultDraw)>;
using TLVDrawItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, const RECT& Rect, TOwnerDrawState State)>;
using TLVCreateItemClassEvent = std::function<void(TCustomListView* Sender, TListItemClass& ItemClass)>;

// The compare routine AlphaSort and the SortType sorts hand to LVM_SORTITEMS (lParam of
// the message's compare call: the list view). A window procedure can tell a sort of the
// framework's own from a custom one by it.
PFNLVCOMPARE DefaultListViewCompare();

// ---------------------------------------------------------------------------

class TCustomListView : public TCustomListControl {
  VCL_CLASS(TCustomListView)
  friend class TListItems;
  friend class TListItem;
  friend class TListColumn;
  friend class TListColumns;
  friend class TSubItems;
  friend PFNLVCOMPARE DefaultListViewCompare();

 public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;

  TListItems* Items() const;
  void SetItems(TListItems* Value) { FListItems->Assign(Value); }
  TListColumns* Columns() const;
  void SetColumns(TListColumns* Value) { FListColumns->Assign(Value); }
  TListColumn* Column(int Index) const { return FListColumns->Items(Index); }

  // --- looks ---
  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle Value);
  bool Checkboxes() const { return FCheckboxes; }
  void SetCheckboxes(bool Value);
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value);
  bool GridLines() const { return FGridLines; }
  void SetGridLines(bool Value);
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  // Whether captions can NOT be edited in place.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool ShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool Value);
  bool OwnerData() const { return FOwnerData; }
  void SetOwnerData(bool Value);
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  TCanvas* Canvas() const { return FCanvas.get(); }

  TCustomImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  TCustomImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* Value);
  TCustomImageList* StateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* Value);

  // --- selection and focus ---
  TListItem* Selected() const;
  void SetSelected(TListItem* Value);
  int ItemIndex() const;
  void SetItemIndex(int Value);
  TListItem* ItemFocused() const;
  void SetItemFocused(TListItem* Value);
  int SelCount() const;
  void SelectAll();
  void ClearSelection();
  TListItem* GetNextItem(TListItem* StartItem, TSearchDirection Direction, TItemStates States) const;
  TListItem* GetItemAt(int X, int Y) const;
  TListItem* TopItem() const;
  void Scroll(int DX, int DY);
  bool IsEditing() const;
  HWND GetHeaderHandle() const;

  // --- sorting ---
  TSortType SortType() const { return FSortType; }
  void SetSortType(TSortType Value);
  // Sorts by OnCompare, or by the captions (ANSI collation) without one.
  bool AlphaSort();
  // Sorts with SortProc (lParam of each call: lParam); without one as AlphaSort, the
  // handler getting lParam as its Data.
  bool CustomSort(PFNLVCOMPARE SortProc, LPARAM lParam);

  void AddItem(const AnsiString& Item, TObject* AObject) override;
  void Clear() { FListItems->Clear(); }

  // --- events ---
  TLVCompareEvent OnCompare;
  TLVColumnClickEvent OnColumnClick;
  TLVColumnRClickEvent OnColumnRightClick;
  TLVSelectItemEvent OnSelectItem;
  TLVChangeEvent OnChange;
  TLVEditingEvent OnEditing;
  TLVEditedEvent OnEdited;
  TLVInfoTipEvent OnInfoTip;
  TLVOwnerDataEvent OnData;
  TLVOwnerDataFindEvent OnDataFind;
  TLVCustomDrawEvent OnCustomDraw;
  TLVCustomDrawItemEvent OnCustomDrawItem;
  TLVCustomDrawSubItemEvent OnCustomDrawSubItem;
  TLVDrawItemEvent OnDrawItem;
  TLVCreateItemClassEvent OnCreateItemClass;

  void Dispatch(TMessage& Message) override;
  bool IsItemsStored() const;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  TControlActionLink* CreateActionLink() override;

  // Factories of the item objects; descendants make their own kinds.
  virtual TListItem* CreateListItem();
  virtual TListItems* CreateListItems();
  virtual TListColumns* CreateListColumns();

  virtual bool CanEdit(TListItem* Item);
  virtual void Edit(const LVITEMA& Item);
  virtual void Change(TListItem* Item, int Change);
  virtual void ColClick(TListColumn* Column);
  virtual void ColRightClick(TListColumn* Column, POINT Point);
  // Fills the owner-data temporary item for Request (LVIF_* flags) through OnData.
  virtual bool OwnerDataFetch(TListItem* Item, UINT Request);
  virtual int OwnerDataFind(TItemFind Find, const AnsiString& FindString, POINT FindPosition, void* FindData,
                            int StartIndex, TSearchDirection Direction, bool Wrap);
  virtual void DrawItem(TListItem* Item, const RECT& Rect, TOwnerDrawState State);
  virtual bool CustomDraw(const RECT& ARect, DWORD Stage);
  virtual bool CustomDrawItem(TListItem* Item, TCustomDrawState State, DWORD Stage);
  virtual bool CustomDrawSubItem(TListItem* Item, int SubItem, TCustomDrawState State, DWORD Stage);
  // Whether notifications go to the parent wide (the window then sends the W forms).
  virtual bool UnicodeNotifications() const { return false; }
  // The sort SortType asks for after a change of a caption (ctText) or data (ctData).
  void SortAfter(bool TextChanged);

  // The notifications the list view answers, reflected from its parent (CN_NOTIFY).
  virtual void CNNotify(TMessage& Message);
  // Header notifications (WM_NOTIFY from the header child).
  virtual void WMNotify(TMessage& Message);

  // The item a notification is about: from lParam, else by index (the temporary item of
  // an owner-data list for a valid index).
  TListItem* ItemOfNotify(int Index, LPARAM Param, bool HasParam) const;
  // The text of sub-item SubItem (0: the caption); empty beyond the item's sub-items.
  static AnsiString ItemText(TListItem* Item, int SubItem);
  TListItem* TempItem() const;
  TListItem* MakeListItem();
  // Sends LVM_SETITEMTEXTA with LPSTR_TEXTCALLBACK for sub-item SubItem of item Index.
  void SetTextCallback(int Index, int SubItem);
  // A caption set on an item in the window: redrawn and reported as a text change.
  void CaptionChanged(TListItem* Item);

 private:
  void UpdateExtendedStyles();
  void SetImageList(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value, int Which);
  void ImageListChange(TObject* Sender);
  void ApplyImageList(int Which);
  void FillWindow();
  void ReadOrderFromWindow();
  void AnswerDispInfo(TMessage& Message, bool Wide);
  void HandleCustomDraw(TMessage& Message);
  void HandleItemChanged(const NMLISTVIEW* Info);
  static int CALLBACK DefaultCompare(LPARAM Item1, LPARAM Item2, LPARAM Data);

  // Made on first use, so that the factories of a descendant are the ones called.
  mutable std::unique_ptr<TListItems> FListItems;
  mutable std::unique_ptr<TListColumns> FListColumns;
  mutable std::unique_ptr<TListItem> FTempItem;
  bool FFilling = false;
  std::unique_ptr<TCanvas> FCanvas;
  TViewStyle FViewStyle = vsIcon;
  bool FCheckboxes = false;
  bool FRowSelect = false;
  bool FGridLines = false;
  bool FHotTrack = false;
  bool FMultiSelect = false;
  bool FReadOnly = false;
  bool FHideSelection = true;
  bool FShowColumnHeaders = true;
  bool FOwnerData = false;
  bool FOwnerDraw = false;
  TSortType FSortType = stNone;
  TCustomImageList* FLargeImages = nullptr;
  TCustomImageList* FSmallImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  std::unique_ptr<TChangeLink> FLargeChangeLink;
  std::unique_ptr<TChangeLink> FSmallChangeLink;
  std::unique_ptr<TChangeLink> FStateChangeLink;
  LPARAM FSortData = 0;       // Data of the handler during a custom sort
  int FSavedTopIndex = 0;
  bool FSortPending = false;
};

class TListView : public TCustomListView {
  VCL_CLASS(TListView)
 public:
  using TCustomListView::TCustomListView;
};

// The link between a list view and its action.
class TListViewActionLink : public TWinControlActionLink {
  VCL_CLASS(TListViewActionLink)
 public:
  explicit TListViewActionLink(TCustomListView* AClient) : TWinControlActionLink(AClient) {}
  TCustomListView* ListView() const { return static_cast<TCustomListView*>(FClient); }
};

// The published properties of TListView, for list views of other kinds that publish the
// same (each replacing what it publishes differently).
const std::vector<TPropInfo>& ListViewPublishedProperties();

// Registers the list view and the image list for stored descriptions.
void RegisterListViews();

#include "widetext/uni_list_view.h"

#include <cstring>

#include "vcl/comctrls_common.h"
#include "vcl/scopeexit.h"
#include "vcl/streams.h"
#include "widetext/char_messages.h"
#include "widetext/platform.h"
#include "widetext/synced_strings.h"
#include "widetext/uni_controls.h"
#include "widetext/uniexceptions.h"
#include "widetext/wide_canvas.h"
#include "widetext/wide_control_text.h"
#include "widetext/wide_props.h"

namespace {

const std::vector<TPropInfo>& UniListColumnProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniListColumn>()
      .Property("Caption", &TUniListColumn::Caption, &TUniListColumn::SetCaption)
      .Table();
  return table;
}

const std::vector<TPropInfo>& UniListViewProperties() {
  static const std::vector<TPropInfo> table = [] {
    // The framework's list view properties, with the wide ones in place of their 8-bit kin.
    std::vector<TPropInfo> wide = TPropertyTable<TUniCustomListView>()
        .Property("Columns", &TUniCustomListView::Columns, nullptr)
        .Property("Hint", &TUniCustomListView::Hint, &TUniCustomListView::SetHint).Stored(&TUniCustomListView::IsHintStored)
        .Property("Items", &TUniCustomListView::Items, nullptr).Stored(&TCustomListView::IsItemsStored)
        .Property("OnDataFind", &TUniCustomListView::OnDataFind)
        .Property("OnEdited", &TUniCustomListView::OnEdited)
        .Property("OnInfoTipWide", &TUniCustomListView::OnInfoTipWide)
        .Table();
    std::vector<TPropInfo> table;
    for (const TPropInfo& p : ListViewPublishedProperties()) {
      auto replaced = std::find_if(wide.begin(), wide.end(), [&](const TPropInfo& w) { return SameIdent(w.Name, p.Name); });
      table.push_back(replaced == wide.end() ? p : *replaced);
    }
    for (const TPropInfo& w : wide)
      if (std::none_of(table.begin(), table.end(), [&](const TPropInfo& p) { return SameIdent(w.Name, p.Name); }))
        table.push_back(w);
    return table;
  }();
  return table;
}

// The window property that leads an in-place editor to its wide list view.
const wchar_t kEditorOwnerProp[] = L"KavoUniListViewEditor";

}  // namespace

VCL_CLASS_IMPL(TUniListColumn, TListColumn, nullptr, &UniListColumnProperties)
VCL_CLASS_IMPL(TUniListColumns, TListColumns, nullptr, nullptr)
VCL_CLASS_IMPL(TWideSubItems, TUniStringList, nullptr, nullptr)
VCL_CLASS_IMPL(TUniListItem, TListItem, nullptr, nullptr)
VCL_CLASS_IMPL(TUniListItems, TListItems, nullptr, nullptr)
VCL_CLASS_IMPL(TUniCustomListView, TCustomListView, nullptr, nullptr)
VCL_CLASS_IMPL(TUniListView, TUniCustomListView, &CreateComponentOf<TUniListView>, &UniListViewProperties)
VCL_CLASS_IMPL(TUniListViewActionLink, TListViewActionLink, nullptr, nullptr)

void RegisterUniListViews() {
  RegisterListViews();
  RegisterClasses({TUniListView::StaticClass()});
}

void CreateUnicodeHandle_ComCtl(TWinControl* Control, const TCreateParams& Params, const WideString& SubClass) {
  if (SubClass.empty())
    throw EUniInternalError("Unicode Internal Error: Only call CreateUnicodeHandle_ComCtl for Common Controls.");
  CreateUnicodeHandle(Control, Params, SubClass);
  if (UnicodePlatform) SetControlUnicodeFormat(Control->WindowHandle(), true);
}

// ---------------------------------------------------------------------------
// Changes from the wide side: the counter is up while they run.

class TUniCustomListView::TWideChange {
 public:
  explicit TWideChange(TUniCustomListView* ListView) : FListView(ListView) {
    if (FListView) ++FListView->FChangingWideItemCount;
  }
  ~TWideChange() {
    if (FListView && FListView->FChangingWideItemCount > 0) --FListView->FChangingWideItemCount;
  }
  TWideChange(const TWideChange&) = delete;
  TWideChange& operator=(const TWideChange&) = delete;

 private:
  TUniCustomListView* FListView;
};

// ---------------------------------------------------------------------------
// TUniListColumn

WideString TUniListColumn::Caption() { return GetSyncedWideString(FWideCaption, TListColumn::Caption()); }

void TUniListColumn::SetCaption(const WideString& Value) {
  SetSyncedWideString(Value, FWideCaption, TListColumn::Caption(),
                      [this](const AnsiString& s) { TListColumn::SetCaption(s); });
}

void TUniListColumn::Assign(TPersistent* Source) {
  TListColumn::Assign(Source);
  if (auto* wide = dynamic_cast<TUniListColumn*>(Source))
    SetCaption(wide->Caption());
  else if (auto* column = dynamic_cast<TListColumn*>(Source))
    SetCaption(AnsiToWide(column->Caption()));
}

TUniListColumns::TUniListColumns(TUniCustomListView* AOwner)
    : TListColumns(AOwner, CollectionItemClassOf<TUniListColumn>()) {}

// ---------------------------------------------------------------------------
// TWideSubItems

TWideSubItems::TWideSubItems(TUniListItem* AOwner) : FOwner(AOwner) {}

void TWideSubItems::ReserveForColumns() {
  // A row's sub-items most often fill the list's columns: room for them all when the first
  // comes saves growing the list step by step.
  if (GetCount() != 0) return;
  TUniCustomListView* lv = FOwner->ListView();
  const int columns = lv ? lv->Columns()->Count() - 1 : 0;
  if (columns > GetCapacity()) SetCapacity(columns);
}

void TWideSubItems::SubItemChanged(int Index) {
  if (!FUpdating) FOwner->SubItemChanged(Index);
}

void TWideSubItems::SubItemInserted(int Index) {
  if (!FUpdating) FOwner->SubItemInserted(Index);
}

void TWideSubItems::SubItemsChangedFrom(int From) {
  if (!FUpdating) FOwner->SubItemsChangedFrom(From);
}

int TWideSubItems::AddObject(const WideString& S, TObject* Obj) {
  ReserveForColumns();
  const int index = TUniStringList::AddObject(S, Obj);  // a sorted list puts it in its place
  SubItemInserted(index);
  return index;
}

void TWideSubItems::InsertObject(int Index, const WideString& S, TObject* Obj) {
  TUniStringList::InsertObject(Index, S, Obj);
  SubItemInserted(Index);
}

void TWideSubItems::Put(int Index, const WideString& S) {
  TUniStringList::Put(Index, S);
  SubItemChanged(Index);
}

void TWideSubItems::Delete(int Index) {
  TUniStringList::Delete(Index);
  SubItemsChangedFrom(Index);
}

void TWideSubItems::Clear() {
  if (GetCount() == 0) return;
  TUniStringList::Clear();
  SubItemsChangedFrom(0);
}

void TWideSubItems::Exchange(int Index1, int Index2) {
  TUniStringList::Exchange(Index1, Index2);
  SubItemChanged(Index1);
  SubItemChanged(Index2);
}

void TWideSubItems::CustomSort(const TUniStringListSortCompare& Compare) {
  TUniStringList::CustomSort(Compare);
  SubItemsChangedFrom(0);
}

void TWideSubItems::SetUpdateState(bool Updating) {
  TUniStringList::SetUpdateState(Updating);
  FUpdating = Updating;
  if (!Updating) SubItemsChangedFrom(0);
}

// ---------------------------------------------------------------------------
// TUniListItem

TUniListItem::TUniListItem(TListItems* AOwner) : TUniListItem(AOwner, std::make_unique<TWideSubItems>(this)) {}

TUniListItem::TUniListItem(TListItems* AOwner, std::unique_ptr<TWideSubItems> SubItems)
    : TListItem(AOwner, SubItems->AnsiStrings()),
      FListView(dynamic_cast<TUniCustomListView*>(TListItem::ListView())),
      FSubItems(std::move(SubItems)) {}

TUniListItem::~TUniListItem() = default;

WideString TUniListItem::Caption() { return GetSyncedWideString(FWideCaption, TListItem::Caption()); }

void TUniListItem::SetCaption(const WideString& Value) {
  TUniCustomListView::TWideChange change(ListView());
  SetSyncedWideString(Value, FWideCaption, TListItem::Caption(),
                      [this](const AnsiString& s) { TListItem::SetCaption(s); });
}

void TUniListItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TUniListItem*>(Source);
  if (!src) {
    TListItem::Assign(Source);
    return;
  }
  SetCaption(src->Caption());
  SetData(src->Data());
  SetImageIndex(src->ImageIndex());
  SetIndent(src->Indent());
  SetOverlayIndex(src->OverlayIndex());
  SetStateIndex(src->StateIndex());
  FSubItems->Assign(src->SubItems());
  SetChecked(src->Checked());
}

// ---------------------------------------------------------------------------
// TUniListItems

TUniListItems::TUniListItems(TUniCustomListView* AOwner) : TListItems(AOwner) {}

namespace {

void WriteInt(TStream* s, int32_t v) { s->WriteBuffer(&v, sizeof v); }
int32_t ReadInt(TStream* s) {
  int32_t v = 0;
  s->ReadBuffer(&v, sizeof v);
  return v;
}
void WriteText(TStream* s, const WideString& t) {
  WriteInt(s, static_cast<int32_t>(t.size()));
  if (!t.empty()) s->WriteBuffer(t.data(), static_cast<int64_t>(t.size() * sizeof(wchar_t)));
}
WideString ReadText(TStream* s) {
  int32_t n = ReadInt(s);
  if (n < 0 || static_cast<int64_t>(n) * 2 > s->Size() - s->Position()) throw EReadError("Invalid list item data");
  WideString t(static_cast<size_t>(n), L'\0');
  if (n) s->ReadBuffer(t.data(), static_cast<int64_t>(n) * 2);
  return t;
}

}  // namespace

void TUniListItems::WriteData(TStream* Stream) {
  WriteInt(Stream, Count());
  for (int i = 0; i < Count(); ++i) {
    TUniListItem* item = Item(i);
    WriteInt(Stream, item->ImageIndex());
    WriteInt(Stream, item->StateIndex());
    WriteInt(Stream, item->OverlayIndex());
    WriteInt(Stream, item->Indent());
    WriteText(Stream, item->Caption());
    WriteInt(Stream, item->SubItems()->Count());
    for (int k = 0; k < item->SubItems()->Count(); ++k) WriteText(Stream, item->SubItems()->Strings(k));
  }
}

void TUniListItems::ReadData(TStream* Stream) {
  BeginUpdate();
  ScopeExit done{[this] { EndUpdate(); }};
  Clear();
  int32_t count = ReadInt(Stream);
  for (int32_t i = 0; i < count; ++i) {
    TUniListItem* item = Add();
    item->SetImageIndex(ReadInt(Stream));
    item->SetStateIndex(ReadInt(Stream));
    item->SetOverlayIndex(ReadInt(Stream));
    item->SetIndent(ReadInt(Stream));
    item->SetCaption(ReadText(Stream));
    int32_t subs = ReadInt(Stream);
    if (subs < 0) throw EReadError("Invalid list item data");
    for (int32_t k = 0; k < subs; ++k) item->SubItems()->Add(ReadText(Stream));
  }
}

// ---------------------------------------------------------------------------
// TUniCustomListView

TUniCustomListView::TUniCustomListView(TComponent* AOwner) : TCustomListView(AOwner) {}

TUniCustomListView::~TUniCustomListView() { Destroying(); }

TListItems* TUniCustomListView::CreateListItems() { return new TUniListItems(this); }
TListColumns* TUniCustomListView::CreateListColumns() { return new TUniListColumns(this); }

TListItem* TUniCustomListView::CreateListItem() {
  TListItemClass cls = ListItemClassOf<TUniListItem>();
  if (OnCreateItemClass) OnCreateItemClass(this, cls);
  if (!cls.Class || !cls.Create || !cls.Class->InheritsFrom(TUniListItem::StaticClass()))
    throw EUniInternalError("Internal Error: OnCreateItemClass.ItemClass must inherit from TUniListItem.");
  return cls.Create(TCustomListView::Items());
}


bool TUniCustomListView::UnicodeNotifications() const { return UnicodePlatform; }

WideString TUniCustomListView::Hint() { return UniControl_GetHint(this); }
void TUniCustomListView::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniCustomListView::IsHintStored() const { return UniControl_IsHintStored(this); }

void TUniCustomListView::DefineProperties(TFiler* Filer) {
  TCustomListView::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniCustomListView::CreateWindowHandle(const TCreateParams& Params) {
  CreateUnicodeHandle_ComCtl(this, Params, L"SysListView32");
  FClassWndProc = UnicodePlatform ? SystemClassWndProc(Params.WindowClass.hInstance, L"SysListView32") : nullptr;
  if (UnicodePlatform && HandleAllocated()) {
    // A first column inserted and removed readies the header of the Unicode window.
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT;
    col.pszText = const_cast<char*>("");
    SendMessageA(WindowHandle(), LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
    SendMessageA(WindowHandle(), LVM_DELETECOLUMN, 0, 0);
  }
}

TUniListItem* TUniCustomListView::ItemAt(int Index) const {
  TListItems* items = TCustomListView::Items();
  if (OwnerData()) return Index >= 0 ? static_cast<TUniListItem*>(TempItem()) : nullptr;
  return Index >= 0 && Index < items->Count() ? static_cast<TUniListItem*>(items->Item(Index)) : nullptr;
}

void TUniCustomListView::ResyncFromSetItemText(int Index, const LVITEMA* Item) {
  // The sub-items are one list for both sides; only the caption has a copy of each.
  TUniListItem* item = Item && Item->iSubItem == 0 ? ItemAt(Index) : nullptr;
  if (item) item->Caption();  // the synced read brings the wide caption in step
}

void TUniCustomListView::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case LVM_SETITEMTEXTA: {
      auto* it = reinterpret_cast<LVITEMA*>(Message.LParam);
      if (FChangingWideItemCount == 0) ResyncFromSetItemText(static_cast<int>(Message.WParam), it);
      // Callback texts are asked for wide.
      if (UnicodePlatform && it && it->pszText == LPSTR_TEXTCALLBACKA) {
        // A callback text has nothing to convert, and nothing on the way to the window
        // class's procedure (the framework's handlers, the trap) takes it: it goes there
        // straight, a call instead of two procedure calls through the system.
        if (FClassWndProc && HandleAllocated()) {
          Message.Result = FClassWndProc(WindowHandle(), LVM_SETITEMTEXTW, Message.WParam, Message.LParam);
          return;
        }
        Message.Msg = LVM_SETITEMTEXTW;
      }
      break;
    }
    case LVM_EDITLABELA:
      // The editor is made in the form of the message: a wide one for wide captions.
      if (UnicodePlatform) Message.Msg = LVM_EDITLABELW;
      break;
    case LVM_SORTITEMS:
      if (UnicodePlatform && reinterpret_cast<PFNLVCOMPARE>(Message.LParam) == DefaultListViewCompare())
        Message.LParam = reinterpret_cast<LPARAM>(&WideCompare);
      break;
    case LVM_SETCOLUMNA: {
      auto* col = reinterpret_cast<LVCOLUMNA*>(Message.LParam);
      TUniListColumn* column =
          col && (col->mask & LVCF_TEXT) ? static_cast<TUniListColumn*>(Columns()->FindByOrderTag(static_cast<int>(Message.WParam))) : nullptr;
      if (!column) break;
      AnsiString text = col->pszText && col->pszText != LPSTR_TEXTCALLBACKA ? col->pszText : "";
      if (text != WideToAnsi(column->FWideCaption)) column->FWideCaption = AnsiToWide(text);
      if (UnicodePlatform) {
        LVCOLUMNW wide{};
        std::memcpy(&wide, col, sizeof wide);  // the same record but for the text pointer's type
        WideString caption = column->FWideCaption;
        wide.pszText = caption.data();
        Message.Msg = LVM_SETCOLUMNW;
        Message.LParam = reinterpret_cast<LPARAM>(&wide);
        TCustomListView::WndProc(Message);
        Message.Msg = LVM_SETCOLUMNA;
        Message.LParam = reinterpret_cast<LPARAM>(col);
        return;
      }
      break;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
      if (Checkboxes()) {
        Message.LParam |= LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;
        if (Message.WParam) Message.WParam |= LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;
      }
      break;
    default: break;
  }
  TCustomListView::WndProc(Message);
}

int CALLBACK TUniCustomListView::WideCompare(LPARAM Item1, LPARAM Item2, LPARAM Data) {
  if (!UnicodePlatform) throw EUniInternalError("Unicode Internal Error: the wide sort needs the Unicode platform.");
  auto* lv = reinterpret_cast<TUniCustomListView*>(Data);
  auto* a = dynamic_cast<TUniListItem*>(reinterpret_cast<TListItem*>(Item1));
  auto* b = dynamic_cast<TUniListItem*>(reinterpret_cast<TListItem*>(Item2));
  if (!lv || !a || !b) return 0;
  if (lv->TCustomListView::OnCompare) {
    int compare = 0;
    lv->TCustomListView::OnCompare(lv, a, b, 0, compare);
    return compare;
  }
  return lstrcmpW(a->Caption().c_str(), b->Caption().c_str());
}

void TUniCustomListView::AnswerWideDispInfo(NMLVDISPINFOW* Info) {
  LVITEMW& it = Info->item;
  TUniListItem* item;
  if (OwnerData())
    item = static_cast<TUniListItem*>(TempItem());  // filled for this request by the fetch
  else if (it.lParam)
    item = dynamic_cast<TUniListItem*>(reinterpret_cast<TListItem*>(it.lParam));
  else
    item = ItemAt(it.iItem);
  if (!item) return;
  WideString text;
  if (it.iSubItem == 0)
    text = item->Caption();
  else if (it.iSubItem > 0 && it.iSubItem <= item->SubItems()->Count())
    text = item->SubItems()->Get(it.iSubItem - 1);
  CopyNotifyText(it.pszText, it.cchTextMax, text);
}

void TUniCustomListView::CNNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  if (!UnicodePlatform) {
    TCustomListView::CNNotify(Message);
    return;
  }
  switch (hdr->code) {
    case LVN_GETDISPINFOW: {
      // Images, states and the owner-data fetch are the framework's; texts are ours.
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(Message.LParam);
      UINT mask = info->item.mask;
      info->item.mask &= ~static_cast<UINT>(LVIF_TEXT);
      hdr->code = LVN_GETDISPINFOA;
      {
        ScopeExit restore{[&] {
          hdr->code = LVN_GETDISPINFOW;
          info->item.mask = mask;
        }};
        TCustomListView::CNNotify(Message);
      }
      if (mask & LVIF_TEXT) AnswerWideDispInfo(info);
      break;
    }
    case LVN_BEGINLABELEDITW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(Message.LParam);
      TListItem* item = ItemOfNotify(info->item.iItem, info->item.lParam, (info->item.mask & LVIF_PARAM) != 0);
      if (!CanEdit(item)) {
        Message.Result = 1;
        break;
      }
      Message.Result = 0;
      SubclassEditor();
      break;
    }
    case LVN_ENDLABELEDITW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(Message.LParam);
      if (info->item.pszText && info->item.iItem != -1) {
        auto* item = dynamic_cast<TUniListItem*>(
            ItemOfNotify(info->item.iItem, info->item.lParam, (info->item.mask & LVIF_PARAM) != 0));
        if (item) EditWide(item, info->item.pszText);
      }
      Message.Result = 0;
      break;
    }
    case LVN_GETINFOTIPW: {
      auto* info = reinterpret_cast<NMLVGETINFOTIPW*>(Message.LParam);
      if (!OnInfoTipWide) {
        TCustomListView::CNNotify(Message);  // the framework answers the wide form converted
        break;
      }
      auto* item = dynamic_cast<TUniListItem*>(ItemOfNotify(info->iItem, 0, false));
      if (!item) break;
      WideString tip = info->pszText && info->cchTextMax > 0 ? WideString(info->pszText) : WideString();
      OnInfoTipWide(this, item, tip);
      CopyNotifyText(info->pszText, info->cchTextMax, tip);
      break;
    }
    case LVN_ODFINDITEMW: {
      auto* info = reinterpret_cast<NMLVFINDITEMW*>(Message.LParam);
      FWideFindPending = (info->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && info->lvfi.psz;
      FWideFindString = FWideFindPending ? WideString(info->lvfi.psz) : WideString();
      ScopeExit done{[this] {
        FWideFindPending = false;
        FWideFindString.clear();
      }};
      TCustomListView::CNNotify(Message);
      break;
    }
    default: TCustomListView::CNNotify(Message); break;
  }
}

void TUniCustomListView::EditWide(TUniListItem* Item, const WideString& Text) {
  WideString s = Text;
  if (OnEdited) {
    OnEdited(this, Item, s);
  } else if (TCustomListView::OnEdited) {
    AnsiString ansi = WideToAnsi(s);
    TCustomListView::OnEdited(this, Item, ansi);
    s = AnsiToWide(ansi);
  }
  Item->SetCaption(s);
}

bool TUniCustomListView::OwnerDataFetch(TListItem* Item, UINT Request) {
  if (auto* item = dynamic_cast<TUniListItem*>(Item)) {
    // The temporary item stands for another item now: nothing of the last one stays.
    item->FWideCaption.clear();
    item->SubItems()->Clear();
  }
  return TCustomListView::OwnerDataFetch(Item, Request);
}

int TUniCustomListView::OwnerDataFind(TItemFind Find, const AnsiString& FindString, POINT FindPosition,
                                      void* FindData, int StartIndex, TSearchDirection Direction, bool Wrap) {
  if (!OnDataFind)
    return TCustomListView::OwnerDataFind(Find, FindString, FindPosition, FindData, StartIndex, Direction, Wrap);
  WideString text = FWideFindPending ? FWideFindString : AnsiToWide(FindString);
  int index = -1;
  OnDataFind(this, Find, text, FindPosition, FindData, StartIndex, Direction, Wrap, index);
  return index;
}

void TUniCustomListView::DrawItem(TListItem* Item, const RECT& Rect, TOwnerDrawState State) {
  if (TCustomListView::OnDrawItem) {
    TCustomListView::OnDrawItem(this, Item, Rect, State);
    return;
  }
  Canvas()->FillRect(Rect);
  auto* item = dynamic_cast<TUniListItem*>(Item);
  if (item) WideCanvasTextOut(Canvas(), Rect.left + 2, Rect.top, item->Caption());
}

void TUniCustomListView::AddItem(const WideString& S, TObject* AObject) {
  TUniListItem* item = Items()->Add();
  item->SetCaption(S);
  item->SetData(AObject);
}

void TUniCustomListView::CopySelection(TCustomListControl* Destination) {
  if (!Destination) return;
  for (TListItem* item = GetNextItem(nullptr, sdAll, isSelected); item; item = GetNextItem(item, sdAll, isSelected))
    if (auto* wide = dynamic_cast<TUniListItem*>(item))
      WideListAddItem(Destination, wide->Caption(), static_cast<TObject*>(wide->Data()));
}

// --- the in-place editor -------------------------------------------------------------

void TUniCustomListView::SubclassEditor() {
  HWND edit = reinterpret_cast<HWND>(SendMessageW(WindowHandle(), LVM_GETEDITCONTROL, 0, 0));
  if (!edit || edit == FEditHandle) return;
  FEditHandle = edit;
  SetPropW(edit, kEditorOwnerProp, this);
  FEditPrevProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TUniCustomListView::WideEditorProc)));
}

LRESULT CALLBACK TUniCustomListView::WideEditorProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* lv = static_cast<TUniCustomListView*>(GetPropW(Wnd, kEditorOwnerProp));
  if (!lv || lv->FEditHandle != Wnd) return DefWindowProcW(Wnd, Msg, WParam, LParam);
  WNDPROC prev = lv->FEditPrevProc;
  TMessage m{Msg, WParam, LParam, 0};
  try {
    switch (Msg) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (lv->DoKeyDown(m)) return 0;
        WParam = m.WParam;
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        if (lv->DoKeyUp(m)) return 0;
        WParam = m.WParam;
        break;
      case WM_CHAR: {
        MakeCharMessageAnsiSafe(m);
        bool handled = lv->DoKeyPress(m);
        RestoreCharMessage(m);
        if (handled) return 0;
        WParam = m.WParam;
        break;
      }
      case CN_KEYDOWN:
      case CN_CHAR:
      case CN_SYSKEYDOWN:
      case CN_SYSCHAR:
        lv->WndProc(m);
        return m.Result;
      case WM_NCDESTROY:
        // The editor goes: it gets its own procedure back and forgets the list view.
        SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
        RemovePropW(Wnd, kEditorOwnerProp);
        lv->FEditHandle = nullptr;
        lv->FEditPrevProc = nullptr;
        break;
      default: break;
    }
  } catch (...) {
    if (ApplicationHandleException) ApplicationHandleException(lv);
    return 0;
  }
  return CallWindowProcW(prev, Wnd, Msg, WParam, LParam);
}

// ---------------------------------------------------------------------------
// TUniListViewActionLink

bool TUniListViewActionLink::IsHintLinked() {
  return TListViewActionLink::IsHintLinked() && WideToAnsi(UniControl_GetHint(FClient)) == FClient->Hint();
}

void TUniListViewActionLink::SetHint(const AnsiString& Value) {
  if (IsHintLinked()) UniControl_SetHint(FClient, AnsiToWide(Value));
}

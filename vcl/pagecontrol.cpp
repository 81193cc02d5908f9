#include "vcl/pagecontrol.h"

#include <algorithm>

#include "vcl/comctrls_common.h"
#include "vcl/forms.h"
#include "vcl/keyboard.h"
#include "vcl/scopeexit.h"
#include "vcl/streaming.h"

namespace {

const char* const kTabInsertError = "Failed to insert a tab";

const std::vector<TPropInfo>& TabSheetProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TTabSheet>()
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true)
      .Table();
  return table;
}

const std::vector<TPropInfo>& PageControlProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TPageControl>()
      .Property("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
      .Property("DockSite", &TWinControl::DockSite, &TWinControl::SetDockSite).Default(false)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true)
      .Property("OnChange", &TPageControl::OnChange)
      .Property("OnChanging", &TPageControl::OnChanging)
      .Table();
  return table;
}

// The tabs of a page control's window: TCM_ messages in their 8-bit forms, sent through
// the window (so that a wide page control can put its own texts in).
class TTabStrings : public TStrings {
 public:
  explicit TTabStrings(TWinControl* Control) : FControl(Control) {}

  AnsiString Get(int Index) const override {
    char buffer[4096] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    if (!Send(TCM_GETITEMA, Index, &item)) Error("List index out of bounds (%d)", Index);
    return item.pszText ? AnsiString(item.pszText) : AnsiString();
  }
  int GetCount() const override { return Wnd() ? static_cast<int>(SendMessageA(Wnd(), TCM_GETITEMCOUNT, 0, 0)) : 0; }
  TObject* GetObject(int Index) const override {
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    if (!Send(TCM_GETITEMA, Index, &item)) Error("List index out of bounds (%d)", Index);
    return reinterpret_cast<TObject*>(item.lParam);
  }
  void Put(int Index, const AnsiString& S) override {
    TCITEMA item{};
    item.mask = TCIF_TEXT | RtlReading();
    item.pszText = const_cast<char*>(S.c_str());
    if (!Send(TCM_SETITEMA, Index, &item)) Error("List index out of bounds (%d)", Index);
  }
  void PutObject(int Index, TObject* Obj) override {
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    item.lParam = reinterpret_cast<LPARAM>(Obj);
    if (!Send(TCM_SETITEMA, Index, &item)) Error("List index out of bounds (%d)", Index);
  }
  void Clear() override {
    if (Wnd()) SendMessageA(Wnd(), TCM_DELETEALLITEMS, 0, 0);
  }
  void Delete(int Index) override {
    if (!Wnd() || !SendMessageA(Wnd(), TCM_DELETEITEM, static_cast<WPARAM>(Index), 0))
      Error("List index out of bounds (%d)", Index);
  }
  void Insert(int Index, const AnsiString& S) override { InsertObject(Index, S, nullptr); }
  void InsertObject(int Index, const AnsiString& S, TObject* Obj) override {
    TCITEMA item{};
    item.mask = TCIF_TEXT | RtlReading();
    item.pszText = const_cast<char*>(S.c_str());
    if (!Wnd() || SendMessageA(Wnd(), TCM_INSERTITEMA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item)) < 0)
      throw EListError(kTabInsertError);
    // The object follows with a set-item message, which is where a descendant finds the
    // page of the tab.
    if (Obj) PutObject(Index, Obj);
  }

 private:
  HWND Wnd() const { return FControl->HandleAllocated() ? FControl->WindowHandle() : nullptr; }
  bool Send(UINT Msg, int Index, void* Item) const {
    return Wnd() && SendMessageA(Wnd(), Msg, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Item)) != 0;
  }
  UINT RtlReading() const { return FControl->UseRightToLeftReading() ? TCIF_RTLREADING : 0; }

  TWinControl* FControl;
};

}  // namespace

VCL_CLASS_IMPL(TTabSheet, TWinControl, &CreateComponentOf<TTabSheet>, &TabSheetProperties)
VCL_CLASS_IMPL(TPageControl, TWinControl, &CreateComponentOf<TPageControl>, &PageControlProperties)

void RegisterPageControls() { RegisterClasses({TPageControl::StaticClass(), TTabSheet::StaticClass()}); }

// ---------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = csAcceptsControls;
  SetColor(clBtnFace);
  SetAlign(alClient);
  // Only the active page shows.
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  Destroying();
  if (FPageControl) FPageControl->RemovePage(this);
  FPageControl = nullptr;
}

void TTabSheet::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WindowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
}

void TTabSheet::SetPageControl(TPageControl* APageControl) { SetParent(APageControl); }

void TTabSheet::SetParent(TWinControl* AParent) {
  TPageControl* old = FPageControl;
  auto* next = dynamic_cast<TPageControl*>(AParent);
  if (old && old != next) {
    old->RemovePage(this);
    FPageControl = nullptr;
  }
  TWinControl::SetParent(AParent);
  if (next && next != old) {
    FPageControl = next;
    next->InsertPage(this);
  }
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& pages = FPageControl->FPages;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value) {
  if (FPageControl) FPageControl->MovePage(this, Value);
}

int TTabSheet::TabIndex() const {
  if (!FTabVisible || !FPageControl) return -1;
  int index = 0;
  for (TTabSheet* page : FPageControl->FPages) {
    if (page == this) return index;
    if (page->FTabVisible) ++index;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  if (!FPageControl) {
    FTabVisible = Value;
    return;
  }
  if (Value) {
    FTabVisible = true;
    FPageControl->InsertTab(this);
  } else {
    int index = TabIndex();
    FTabVisible = false;
    FPageControl->DeleteTab(this, index);
  }
}

void TTabSheet::Dispatch(TMessage& Message) {
  TWinControl::Dispatch(Message);
  if (Message.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->UpdateTab(this);
}

// ---------------------------------------------------------------------------
// TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner), FTabs(new TTabStrings(this)) {
  ControlStyle = csAcceptsControls | csDoubleClicks;
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

TPageControl::~TPageControl() {
  Destroying();
  // The sheets are freed with the other children, after this part of the control is gone.
  for (TTabSheet* page : FPages) page->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

TTabSheet* TPageControl::Pages(int Index) const {
  if (Index < 0 || Index >= PageCount()) throw EListError("List index out of bounds (%d)", Index);
  return FPages[static_cast<size_t>(Index)];
}

void TPageControl::CreateParams(TCreateParams& Params) {
  InitCommonControlsOnce();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TABCONTROLA);
  Params.Style |= WS_CLIPCHILDREN;
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TPageControl::CreateWindowHandle(const TCreateParams& Params) {
  TWinControl::CreateWindowHandle(Params);
  // The framework reads the 8-bit notifications, whatever its parent window prefers.
  if (HandleAllocated()) SetControlUnicodeFormat(WindowHandle(), false);
}

void TPageControl::CreateWnd() {
  TWinControl::CreateWnd();
  for (TTabSheet* page : FPages)
    if (page->FTabVisible) FTabs->AddObject(TabCaption(page), page);
  if (FActivePage && FActivePage->TabIndex() >= 0)
    SendMessageA(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(FActivePage->TabIndex()), 0);
  Realign();
}

void TPageControl::Loaded() {
  TWinControl::Loaded();
  // A description without an active page shows the first page with a tab.
  SetActivePage(FActivePage ? FActivePage : FindNextPage(nullptr, true, true));
}

void TPageControl::AdjustClientRect(RECT& Rect) {
  if (HandleAllocated()) SendMessageA(WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&Rect));
}

AnsiString TPageControl::TabCaption(TTabSheet* Page) { return Page->Caption(); }

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  InsertTab(Page);
  if (!FActivePage && !HasState(csLoading)) SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page) {
  auto it = std::find(FPages.begin(), FPages.end(), Page);
  if (it == FPages.end()) return;
  TTabSheet* next = FActivePage == Page ? FindNextPage(Page, true, true) : nullptr;
  if (next == Page) next = nullptr;
  DeleteTab(Page, Page->TabIndex());
  FPages.erase(it);
  if (FActivePage == Page) {
    FActivePage = nullptr;
    if (!HasState(csDestroying)) SetActivePage(next);
  }
}

void TPageControl::MovePage(TTabSheet* Page, int NewIndex) {
  int old = Page->PageIndex();
  NewIndex = std::clamp(NewIndex, 0, PageCount() - 1);
  if (old == NewIndex) return;
  DeleteTab(Page, Page->TabIndex());
  FPages.erase(FPages.begin() + old);
  FPages.insert(FPages.begin() + NewIndex, Page);
  InsertTab(Page);
  if (FActivePage && FActivePage->TabIndex() >= 0 && HandleAllocated())
    SendMessageA(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(FActivePage->TabIndex()), 0);
}

void TPageControl::InsertTab(TTabSheet* Page) {
  if (!HandleAllocated() || !Page->FTabVisible) return;
  FTabs->InsertObject(Page->TabIndex(), TabCaption(Page), Page);
  if (FActivePage && FActivePage->TabIndex() >= 0)
    SendMessageA(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(FActivePage->TabIndex()), 0);
  Realign();
}

void TPageControl::DeleteTab(TTabSheet* Page, int Index) {
  if (!HandleAllocated() || Index < 0 || Index >= FTabs->Count()) return;
  FTabs->Delete(Index);
  if (Page == FActivePage) {
    // A page without a tab cannot stay in front.
    TTabSheet* next = FindNextPage(Page, true, true);
    SetActivePage(next == Page ? nullptr : next);
  } else if (FActivePage && FActivePage->TabIndex() >= 0) {
    SendMessageA(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(FActivePage->TabIndex()), 0);
  }
  Realign();
}

void TPageControl::UpdateTab(TTabSheet* Page) {
  int index = Page->TabIndex();
  if (HandleAllocated() && index >= 0 && index < FTabs->Count()) FTabs->Put(index, TabCaption(Page));
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->FPageControl != this) return;
  FActivePage = Page;
  if (HasState(csLoading)) return;
  if (HandleAllocated())
    SendMessageA(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(Page ? Page->TabIndex() : -1), 0);
  ShowActivePage();
}

void TPageControl::ShowActivePage() {
  if (FActivePage) {
    FActivePage->SetVisible(true);
    if (FActivePage->HandleAllocated())
      SetWindowPos(FActivePage->WindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  for (TTabSheet* page : FPages)
    if (page != FActivePage) page->SetVisible(false);
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? FPages[static_cast<size_t>(Value)] : nullptr);
}

int TPageControl::TabIndex() const {
  return HandleAllocated() ? static_cast<int>(SendMessageA(WindowHandle(), TCM_GETCURSEL, 0, 0))
                           : (FActivePage ? FActivePage->TabIndex() : -1);
}

void TPageControl::SetTabIndex(int Value) { SetActivePage(PageOfTab(Value)); }

TTabSheet* TPageControl::PageOfTab(int TabIndex) const {
  if (TabIndex < 0) return nullptr;
  for (TTabSheet* page : FPages)
    if (page->FTabVisible && TabIndex-- == 0) return page;
  return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
  if (FPages.empty()) return nullptr;
  int count = PageCount();
  int start = CurPage ? CurPage->PageIndex() : -1;
  if (start < 0 || start >= count) start = GoForward ? count - 1 : 0;
  int i = start;
  for (int n = 0; n < count; ++n) {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TTabSheet* page = FPages[static_cast<size_t>(i)];
    if (!CheckTabVisible || page->FTabVisible) return page;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward) {
  TTabSheet* page = FindNextPage(FActivePage, GoForward, true);
  if (page && page != FActivePage && CanChange()) {
    SetActivePage(page);
    Change();
  }
}

bool TPageControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TPageControl::Change() {
  TTabSheet* page = PageOfTab(TabIndex());
  if (page && page != FActivePage) SetActivePage(page);
  if (OnChange) OnChange(this);
}

bool TPageControl::CanShowTab(int TabIndex) { return PageOfTab(TabIndex) != nullptr; }

bool TPageControl::IsPageAccel(TTabSheet* Page, WORD CharCode) { return IsAccel(CharCode, Page->Caption()); }

void TPageControl::CMDialogChar(TMessage& Message) {
  WORD code = TWMKey{Message}.CharCode();
  for (TTabSheet* page : FPages) {
    int tab = page->TabIndex();
    if (tab < 0 || !IsPageAccel(page, code) || !CanShowTab(tab) || !CanFocus()) continue;
    Message.Result = 1;
    if (CanChange()) {
      SetTabIndex(tab);
      Change();
    }
    return;
  }
  TWinControl::Dispatch(Message);
}

void TPageControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
      Message.Result = 0;
      if (hdr->code == TCN_SELCHANGING)
        Message.Result = CanChange() ? 0 : 1;
      else if (hdr->code == TCN_SELCHANGE)
        Change();
      return;
    }
    case CN_NOTIFYFORMAT:
      if (AnswerNotifyFormat(Message, IsWindowUnicode(WindowHandle()) != FALSE)) return;
      TWinControl::Dispatch(Message);
      return;
    case CM_DIALOGCHAR: CMDialogChar(Message); return;
    case CM_DOCKCLIENT: CMDockClient(Message); return;
    case CM_UNDOCKCLIENT: CMUnDockClient(Message); return;
    case CM_DOCKNOTIFICATION: CMDockNotification(Message); return;
    default: TWinControl::Dispatch(Message); return;
  }
}

// ---------------------------------------------------------------------------
// Docking

AnsiString FirstTextLine(const AnsiString& Text) { return Text.substr(0, Text.find_first_of("\r\n")); }

TTabSheet* TPageControl::PageOfDockClient(TControl* Client) const {
  if (!Client || Client->HostDockSite() != this) return nullptr;
  for (TTabSheet* page : FPages)
    if (Client->Parent() == page) return page;
  return nullptr;
}

void TPageControl::CMDockClient(TMessage& Message) {
  TDragDockObject* source = TCMDockClient{Message}.DockSource();
  Message.Result = 0;
  if (!source || !source->Control) return;
  auto* sheet = new TTabSheet(this);
  if (auto* form = dynamic_cast<TCustomForm*>(source->Control)) sheet->SetCaption(FirstTextLine(form->Caption()));
  DockOnNewSheet(sheet, source->Control, source->DockRect);
  Message.Result = 1;
}

void TPageControl::DockOnNewSheet(TTabSheet* Sheet, TControl* Client, const RECT& DockRect) {
  FNewDockSheet = Sheet;
  {
    ScopeExit done{[this] { FNewDockSheet = nullptr; }};
    try {
      Sheet->SetPageControl(this);
      Client->Dock(this, DockRect);
    } catch (...) {
      delete Sheet;
      throw;
    }
  }
  const bool visible = Client->Visible();
  Sheet->SetTabVisible(visible);
  if (visible) SetActivePage(Sheet);
  Client->SetAlign(alClient);
}

void TPageControl::DoAddDockClient(TControl* Client, const RECT& ARect) {
  if (FNewDockSheet)
    Client->SetParent(FNewDockSheet);
  else
    TWinControl::DoAddDockClient(Client, ARect);
}

void TPageControl::CMUnDockClient(TMessage& Message) {
  TControl* client = TCMUnDockClient{Message}.Client();
  Message.Result = 0;
  if (TTabSheet* page = PageOfDockClient(client)) {
    FUndockingPage = page;
    FUndockingClient = client;
    client->SetAlign(alNone);
  }
}

void TPageControl::DoRemoveDockClient(TControl* Client) {
  // The sheet goes with the client it was made for.
  if (!FUndockingPage || Client != FUndockingClient) return;
  TTabSheet* page = FUndockingPage;
  FUndockingPage = nullptr;
  FUndockingClient = nullptr;
  if (!HasState(csDestroying)) delete page;
}

void TPageControl::CMDockNotification(TMessage& Message) {
  TCMDockNotification m{Message};
  TTabSheet* page = PageOfDockClient(m.Client());
  TDockNotifyRec* rec = m.NotifyRec();
  if (!page || !rec) return;
  switch (rec->ClientMsg) {
    case WM_SETTEXT: {
      if (!rec->MsgLParam) break;
      // A client with a Unicode window has handled its text in UTF-16.
      auto* win = dynamic_cast<TWinControl*>(m.Client());
      AnsiString text = win && win->HandleAllocated() && IsWindowUnicode(win->WindowHandle())
                            ? WideToAnsi(reinterpret_cast<const wchar_t*>(rec->MsgLParam))
                            : AnsiString(reinterpret_cast<const char*>(rec->MsgLParam));
      page->SetCaption(FirstTextLine(text));
      break;
    }
    case CM_VISIBLECHANGED: page->SetTabVisible(rec->MsgWParam != 0); break;
    default: break;
  }
}

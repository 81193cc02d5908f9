#include "wizard/wizard_control.h"

#include <cassert>

#include "vcl/application.h"
#include "vcl/forms.h"
#include "vcl/resstrings.h"
#include "vcl/streaming.h"

using BK = TKvWizardButtonKind;

namespace {

const std::vector<TPropInfo>& NavigateButtonProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvWizardNavigateButton>()
      .Property("Glyph", &TKvWizardNavigateButton::Glyph, &TKvWizardNavigateButton::SetGlyph)
      .Property("Caption", &TKvWizardNavigateButton::Caption, &TKvWizardNavigateButton::SetCaption)
      .Property("NumGlyphs", &TKvWizardNavigateButton::NumGlyphs, &TKvWizardNavigateButton::SetNumGlyphs)
      .Property("Layout", &TKvWizardNavigateButton::Layout, &TKvWizardNavigateButton::SetLayout).Default(blGlyphLeft)
      .Property("ModalResult", &TKvWizardNavigateButton::ModalResult, &TKvWizardNavigateButton::SetModalResult)
          .Default(0)
      .Property("Width", &TKvWizardNavigateButton::Width, &TKvWizardNavigateButton::SetWidth)
      .Table();
  return table;
}

const std::vector<TPropInfo>& WizardProperties() {
  using W = TKvWizard;
  static const std::vector<TPropInfo> table = TPropertyTable<W>()
      .Property("ActivePage", &W::ActivePage, &W::SetActivePage)
      .Property("AutoHideButtonBar", &W::AutoHideButtonBar, &W::SetAutoHideButtonBar).Default(true)
      .Property("ButtonBarHeight", &W::ButtonBarHeight, &W::SetButtonBarHeight)
      .Property("ButtonStart", &W::NavigateButton<BK::bkStart>, &W::SetNavigateButton<BK::bkStart>)
      .Property("ButtonLast", &W::NavigateButton<BK::bkLast>, &W::SetNavigateButton<BK::bkLast>)
      .Property("ButtonBack", &W::NavigateButton<BK::bkBack>, &W::SetNavigateButton<BK::bkBack>)
      .Property("ButtonNext", &W::NavigateButton<BK::bkNext>, &W::SetNavigateButton<BK::bkNext>)
      .Property("ButtonFinish", &W::NavigateButton<BK::bkFinish>, &W::SetNavigateButton<BK::bkFinish>)
      .Property("ButtonCancel", &W::NavigateButton<BK::bkCancel>, &W::SetNavigateButton<BK::bkCancel>)
      .Property("ButtonHelp", &W::NavigateButton<BK::bkHelp>, &W::SetNavigateButton<BK::bkHelp>)
      .Property("DefaultButtons", &W::DefaultButtons, &W::SetDefaultButtons).Default(true)
      .Property("ShowDivider", &W::ShowDivider, &W::SetShowDivider).Default(true)
      .Property("ShowRouteMap", &W::ShowRouteMap, &W::SetShowRouteMap).Default(false)
      .Property("HeaderImages", &W::HeaderImages, &W::SetHeaderImages)
      .Property("OnSelectNextPage", &W::OnSelectNextPage)
      .Property("OnSelectPriorPage", &W::OnSelectPriorPage)
      .Property("OnSelectFirstPage", &W::OnSelectFirstPage)
      .Property("OnSelectLastPage", &W::OnSelectLastPage)
      .Property("OnStartButtonClick", &W::ButtonClickEvent<BK::bkStart>, &W::SetButtonClickEvent<BK::bkStart>)
      .Property("OnLastButtonClick", &W::ButtonClickEvent<BK::bkLast>, &W::SetButtonClickEvent<BK::bkLast>)
      .Property("OnBackButtonClick", &W::ButtonClickEvent<BK::bkBack>, &W::SetButtonClickEvent<BK::bkBack>)
      .Property("OnNextButtonClick", &W::ButtonClickEvent<BK::bkNext>, &W::SetButtonClickEvent<BK::bkNext>)
      .Property("OnFinishButtonClick", &W::ButtonClickEvent<BK::bkFinish>, &W::SetButtonClickEvent<BK::bkFinish>)
      .Property("OnCancelButtonClick", &W::ButtonClickEvent<BK::bkCancel>, &W::SetButtonClickEvent<BK::bkCancel>)
      .Property("OnHelpButtonClick", &W::ButtonClickEvent<BK::bkHelp>, &W::SetButtonClickEvent<BK::bkHelp>)
      .Property("OnActivePageChanged", &W::OnActivePageChanged)
      .Property("OnActivePageChanging", &W::OnActivePageChanging)
      .Property("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdents()).Default(clWindow)
      .Table();
  return table;
}

struct TButtonDefaults {
  const char* Caption;  // null: the framework's resource string
  const TResStringRec* ResCaption;
  bool Visible;
  bool Enabled;
  int Width;
  bool RightSide;
};

const TButtonDefaults& DefaultsOf(BK Kind) {
  static const TButtonDefaults table[WizardButtonCount] = {
      {"To &Start Page", nullptr, false, true, 85, false}, {"To &Last Page", nullptr, false, true, 85, false},
      {"< &Back", nullptr, true, false, 75, true},         {"&Next >", nullptr, true, false, 75, true},
      {"&Finish", nullptr, false, true, 75, true},         {nullptr, &SMsgDlgCancel, true, true, 75, true},
      {nullptr, &SMsgDlgHelp, false, true, 75, false},
  };
  return table[static_cast<size_t>(Kind)];
}

}  // namespace

VCL_CLASS_IMPL(TKvWizardNavigateButton, TPersistent, nullptr, &NavigateButtonProperties)
VCL_CLASS_IMPL(TKvWizardButtonControl, TBitBtn, &CreateComponentOf<TKvWizardButtonControl>, nullptr)
VCL_CLASS_IMPL(TKvWizardBaseButton, TKvWizardButtonControl, nullptr, nullptr)
VCL_CLASS_IMPL(TKvWizardStartButton, TKvWizardBaseButton, &CreateComponentOf<TKvWizardStartButton>, nullptr)
VCL_CLASS_IMPL(TKvWizardLastButton, TKvWizardBaseButton, &CreateComponentOf<TKvWizardLastButton>, nullptr)
VCL_CLASS_IMPL(TKvWizardBackButton, TKvWizardBaseButton, &CreateComponentOf<TKvWizardBackButton>, nullptr)
VCL_CLASS_IMPL(TKvWizardNextButton, TKvWizardBaseButton, &CreateComponentOf<TKvWizardNextButton>, nullptr)
VCL_CLASS_IMPL(TKvWizardFinishButton, TKvWizardBaseButton, &CreateComponentOf<TKvWizardFinishButton>, nullptr)
VCL_CLASS_IMPL(TKvWizardCancelButton, TKvWizardBaseButton, &CreateComponentOf<TKvWizardCancelButton>, nullptr)
VCL_CLASS_IMPL(TKvWizardHelpButton, TKvWizardBaseButton, &CreateComponentOf<TKvWizardHelpButton>, nullptr)
VCL_CLASS_IMPL(TKvWizard, TKvExCustomControl, &CreateComponentOf<TKvWizard>, &WizardProperties)

// ---------------------------------------------------------------------------
// Page list

TKvWizardPageList::~TKvWizardPageList() {
  // Pages freed after the list must not come back to a wizard that is going.
  FWizard = nullptr;
}

int TKvWizardPageList::IndexOf(const TKvWizardCustomPage* Page) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == Page) return static_cast<int>(i);
  return -1;
}

int TKvWizardPageList::Add(TKvWizardCustomPage* Page) {
  FItems.push_back(Page);
  if (Page) Page->FWizard = FWizard;
  return Count() - 1;
}

void TKvWizardPageList::Delete(int Index) {
  TKvWizardCustomPage* page = Items(Index);
  FItems.erase(FItems.begin() + Index);
  if (page) page->FWizard = nullptr;
}

TKvWizardCustomPage* TKvWizardPageList::Extract(TKvWizardCustomPage* Page) {
  int i = IndexOf(Page);
  if (i < 0) return nullptr;
  FItems.erase(FItems.begin() + i);
  return Page;
}

void TKvWizardPageList::Remove(TKvWizardCustomPage* Page) {
  int i = IndexOf(Page);
  if (i >= 0) Delete(i);
}

// ---------------------------------------------------------------------------
// Button controls

TKvWizardButtonControl::TKvWizardButtonControl(TComponent* AOwner) : TBitBtn(AOwner) {
  SetKind(bkCustom);
  SetHeight(25);
}

void TKvWizardButtonControl::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_DESIGNHITTEST) {
    Message.Result = Enabled() ? 1 : 0;
    return;
  }
  TBitBtn::Dispatch(Message);
  if (Message.Msg == CM_VISIBLECHANGED && FWizard) FWizard->RepositionButtons();
}

TKvWizardBaseButton::TKvWizardBaseButton(TComponent* AOwner, TKvWizardButtonKind Kind)
    : TKvWizardButtonControl(AOwner), FKind(Kind) {
  const TButtonDefaults& d = DefaultsOf(Kind);
  SetCaption(d.Caption ? AnsiString(d.Caption) : LoadResString(d.ResCaption));
  SetVisible(d.Visible);
  SetEnabled(d.Enabled);
  SetWidth(d.Width);
  FRightSide = d.RightSide;
  if (Kind == BK::bkCancel) {
    Cancel = true;
    ModalResult = mrCancel;
  }
}

void TKvWizardBaseButton::Click() {
  if (!FWizard) {
    TKvWizardButtonControl::Click();
    return;
  }
  if (!HasState(csDesigning)) {
    bool stop = false;
    if (TKvWizardCustomPage* page = FWizard->ActivePage()) DoPageButtonClick(page, stop);
    if (stop) return;
    TKvWizardButtonControl::Click();
  }
  DoNavigate();
}

void TKvWizardBaseButton::DoPageButtonClick(TKvWizardCustomPage* Page, bool& Stop) {
  TKvWizardPageClickEvent& event = Page->ButtonEvent(FKind);
  if (event) event(Page, Stop);
}

void TKvWizardBaseButton::DoNavigate() {
  if (!FWizard) return;
  switch (FKind) {
    case BK::bkStart: FWizard->SelectFirstPage(); break;
    case BK::bkLast: FWizard->SelectLastPage(); break;
    case BK::bkBack: FWizard->SelectPriorPage(); break;
    case BK::bkNext: FWizard->SelectNextPage(); break;
    default: break;
  }
}

void TKvWizardHelpButton::Click() {
  if (HasState(csDesigning)) return;
  TKvWizardCustomPage* page = FWizard ? FWizard->ActivePage() : nullptr;
  if (page && page->OnHelpButtonClick) {
    TKvWizardBaseButton::Click();
    return;
  }
  // Without a page handler the application's help opens at the page's context; without a
  // page, at the context of the form that holds the button.
  TControl* context = page;
  if (!page) context = GetParentForm(this);
  if (context && context->HelpContext() != 0 && Application) Application->HelpContext(context->HelpContext());
}

// ---------------------------------------------------------------------------
// Navigate buttons

void TKvWizardNavigateButton::SetGlyph(TBitmap* Value) {
  if (FControl) FControl->SetGlyph(Value);
}
AnsiString TKvWizardNavigateButton::Caption() const { return FControl ? FControl->Caption() : AnsiString(); }
void TKvWizardNavigateButton::SetCaption(const AnsiString& Value) {
  if (FControl) FControl->SetCaption(Value);
}
void TKvWizardNavigateButton::SetNumGlyphs(int Value) {
  if (FControl) FControl->SetNumGlyphs(Value);
}
void TKvWizardNavigateButton::SetLayout(TButtonLayout Value) {
  if (FControl) FControl->SetLayout(Value);
}
void TKvWizardNavigateButton::SetModalResult(TModalResult Value) {
  if (FControl) FControl->ModalResult = Value;
}
void TKvWizardNavigateButton::SetWidth(int Value) {
  if (!FControl || FControl->Width() == Value) return;
  FControl->SetWidth(Value);
  if (FControl->Wizard()) FControl->Wizard()->RepositionButtons();
}

// ---------------------------------------------------------------------------
// The wizard

TKvWizard::TKvWizard(TComponent* AOwner) : TKvExCustomControl(AOwner) {
  ControlStyle |= csAcceptsControls;
  FPages = std::make_unique<TKvWizardPageList>(this);
  SetAlign(alClient);
  SetColor(clWindow);
  SetParentColor(false);
  FImageChangeLink = std::make_unique<TChangeLink>();
  FImageChangeLink->OnChange = [this](TObject* s) { ImageListChange(s); };
  for (int i = 0; i < WizardButtonCount; ++i) {
    FNavigateButtons[static_cast<size_t>(i)] = std::make_unique<TKvWizardNavigateButton>();
    FNavigateButtons[static_cast<size_t>(i)]->SetControl(CreateButtonControl(static_cast<BK>(i)));
  }
}

TKvWizard::~TKvWizard() {
  SetComponentState(csDestroying, true);
  for (int i = 0; i < FPages->Count(); ++i) FPages->Items(i)->FWizard = nullptr;
  FActivePage = nullptr;
  for (auto& b : FNavigateButtons)
    if (b->Control()) b->Control()->SetWizard(nullptr);
  if (FHeaderImages) FHeaderImages->UnRegisterChanges(FImageChangeLink.get());
}

const TMetaClass* TKvWizard::GetButtonClass(TKvWizardButtonKind Kind) {
  switch (Kind) {
    case BK::bkStart: return TKvWizardStartButton::StaticClass();
    case BK::bkLast: return TKvWizardLastButton::StaticClass();
    case BK::bkBack: return TKvWizardBackButton::StaticClass();
    case BK::bkNext: return TKvWizardNextButton::StaticClass();
    case BK::bkFinish: return TKvWizardFinishButton::StaticClass();
    case BK::bkCancel: return TKvWizardCancelButton::StaticClass();
    case BK::bkHelp: return TKvWizardHelpButton::StaticClass();
  }
  return TKvWizardButtonControl::StaticClass();
}

TKvWizardButtonControl* TKvWizard::CreateButtonControl(TKvWizardButtonKind Kind) {
  const TMetaClass* cls = GetButtonClass(Kind);
  auto* button = cls->Create ? dynamic_cast<TKvWizardButtonControl*>(cls->Create(this)) : nullptr;
  if (!button) button = new TKvWizardButtonControl(this);
  button->SetWizard(this);
  button->SetParent(this);
  return button;
}

void TKvWizard::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS; return;
    case CM_DESIGNHITTEST: {
      POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
      RECT r = FActivePage ? FActivePage->BoundsRect() : RECT{};
      Message.Result = FActivePage && PtInRect(&r, p) ? 1 : 0;
      return;
    }
    default: TKvExCustomControl::Dispatch(Message);
  }
}

std::vector<TWizardPageFlags> TKvWizard::PageFlags() const {
  std::vector<TWizardPageFlags> flags;
  for (int i = 0; i < FPages->Count(); ++i) {
    TKvWizardCustomPage* p = FPages->Items(i);
    flags.push_back({p->Enabled(), p->EnableJumpToPage()});
  }
  return flags;
}

TKvWizardCustomPage* TKvWizard::FindNextEnabledPage(int PageIndex, int Step, bool CheckDisable) {
  int i = FindNextEnabledPageIndex(PageFlags(), PageIndex, Step, CheckDisable, Designing());
  return i < 0 ? nullptr : FPages->Items(i);
}

TKvWizardCustomPage* TKvWizard::FindNextPage(int PageIndex, int Step, bool CheckDisable) {
  int i = FindNextPageIndex(PageFlags(), PageIndex, Step, CheckDisable, Designing());
  return i < 0 ? nullptr : FPages->Items(i);
}

bool TKvWizard::IsFirstPage(TKvWizardCustomPage* Page, bool CheckDisable) {
  TKvWizardCustomPage* first = FindNextPage(-1, 1, CheckDisable);
  return !first || first == Page;
}

bool TKvWizard::IsForward(TKvWizardCustomPage* FromPage, TKvWizardCustomPage* ToPage) {
  if (FromPage && ToPage && FromPage->Wizard() != ToPage->Wizard())
    throw EKvWizardError("The pages belong to another wizard");
  if (!FromPage) return true;
  if (!ToPage) return false;
  return FromPage->PageIndex() < ToPage->PageIndex();
}

void TKvWizard::SelectPage(int FromIndex, int Step, TKvWizardSelectPageEvent& Event) {
  TKvWizardCustomPage* page = FindNextPage(FromIndex, Step, !Designing());
  if (!page) return;
  if (!Designing() && Event) Event(this, FActivePage, page);
  if (page) SetActivePage(page);
}

void TKvWizard::SelectFirstPage() { SelectPage(-1, 1, OnSelectFirstPage); }
void TKvWizard::SelectLastPage() { SelectPage(FPages->Count(), -1, OnSelectLastPage); }
void TKvWizard::SelectNextPage() {
  SelectPage(FActivePage ? FActivePage->PageIndex() : -1, 1, OnSelectNextPage);
}
void TKvWizard::SelectPriorPage() {
  SelectPage(FActivePage ? FActivePage->PageIndex() : -1, -1, OnSelectPriorPage);
}

void TKvWizard::SetActivePage(TKvWizardCustomPage* Page) {
  if (HasState(csLoading)) return;
  if (Page && Page->Wizard() != this) return;
  if (Page && !Designing() && !Page->Enabled()) return;
  DoSetActivePage(Page);
}

void TKvWizard::ActivePageChanging(TKvWizardCustomPage*& ToPage) {
  if (OnActivePageChanging) OnActivePageChanging(this, ToPage);
}

void TKvWizard::ActivePageChanged() {
  if (OnActivePageChanged) OnActivePageChanged(this);
}

void TKvWizard::DoSetActivePage(TKvWizardCustomPage* Page) {
  if (Page == FActivePage) return;
  ActivePageChanging(Page);
  if (Page == FActivePage) return;
  TKvWizardCustomPage* old = FActivePage;
  TCustomForm* form = GetParentForm(this);
  if (old && form && form->ActiveControl() && old->ContainsControl(form->ActiveControl()) && old->CanFocus())
    form->SetActiveControl(old);
  if (old) {
    old->DoExitPage(Page);
    old->SetVisible(false);
  }
  if (Page && !Designing() && !Page->Enabled())
    Page = FindNextEnabledPage(old ? old->PageIndex() : -1, IsForward(old, Page) ? 1 : -1, true);
  if (Page) {
    Page->DoEnterPage(old);
    if (Page->HandleAllocated())
      SetWindowPos(Page->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Page->SetVisible(true);
    if (form) {
      if (Page->CanFocus()) form->SetActiveControl(Page);
      else if (CanFocus()) form->SetActiveControl(this);
    }
  }
  FActivePage = Page;
  if (FAutoHideButtonBar) SetButtonBarHeight(Page && Page->VisibleButtons() == 0 ? 0 : 42);
  UpdateButtonsStatus();
  RepositionButtons();
  if (Page && form && form->ActiveControl() == Page) {
    Page->SelectFirst();
    Page->DoPage();
  }
  ActivePageChanged();
}

void TKvWizard::InsertPage(TKvWizardCustomPage* Page) {
  if (!Page || FPages->IndexOf(Page) >= 0) return;
  FPages->Add(Page);
}

void TKvWizard::RemovePage(TKvWizardCustomPage* Page) {
  int index = FPages->IndexOf(Page);
  if (index < 0) return;
  TKvWizardCustomPage* next = FActivePage;
  if (Page == FActivePage) next = FindNextPage(index, 1, !Designing());
  FPages->Delete(index);
  if (next == Page) next = nullptr;
  if (next != FActivePage) DoSetActivePage(next);
}

void TKvWizard::UpdateButtonsStatus() {
  if (!Parent()) return;
  TKvWizardButtonSet pageEnabled = FActivePage ? FActivePage->FEnabledButtons : 0;
  bool first = FActivePage && IsFirstPage(FActivePage, true);
  TWizardButtonStatus s = ComputeButtonStatus(FActivePage != nullptr, first, pageEnabled,
                                              FActivePage ? FActivePage->VisibleButtons() : 0, Designing());
  if (FActivePage) FActivePage->FEnabledButtons = pageEnabled;
  for (int i = 0; i < WizardButtonCount; ++i) {
    TKvWizardButtonControl* c = ButtonControl(static_cast<BK>(i));
    if (!c) continue;
    c->SetVisible(HasButton(s.Visible, static_cast<BK>(i)));
    c->SetEnabled(HasButton(s.Enabled, static_cast<BK>(i)));
  }
  if (s.DefaultKind)
    if (TKvWizardButtonControl* c = ButtonControl(*s.DefaultKind)) c->SetDefault(FDefaultButtons);
}

void TKvWizard::RepositionButtons() {
  if (!Parent() || HasState(csDestroying)) return;
  std::array<TWizardButtonSlot, WizardButtonCount> slots;
  for (int i = 0; i < WizardButtonCount; ++i) {
    TKvWizardButtonControl* c = ButtonControl(static_cast<BK>(i));
    slots[static_cast<size_t>(i)] = {c ? c->Width() : 0, c ? c->RightSide() : true};
  }
  TKvWizardButtonSet visible =
      PlacedButtons(FActivePage != nullptr, FActivePage ? FActivePage->VisibleButtons() : 0, Designing());
  RECT client{0, 0, Width(), Height()};
  auto places = PlaceWizardButtons(client, FButtonBarHeight, visible, slots);
  for (int i = 0; i < WizardButtonCount; ++i) {
    TKvWizardButtonControl* c = ButtonControl(static_cast<BK>(i));
    if (c && places[static_cast<size_t>(i)]) c->SetBoundsRect(*places[static_cast<size_t>(i)]);
  }
}

void TKvWizard::SetButton(TKvWizardButtonKind Kind, TKvWizardNavigateButton* Value) {
  if (Value) GetButton(Kind)->SetControl(Value->Control());
}

TNotifyEvent TKvWizard::GetButtonClick(TKvWizardButtonKind Kind) const {
  TKvWizardButtonControl* c = ButtonControl(Kind);
  return c ? c->OnClick : TNotifyEvent();
}

void TKvWizard::SetButtonClick(TKvWizardButtonKind Kind, const TNotifyEvent& Value) {
  if (TKvWizardButtonControl* c = ButtonControl(Kind)) c->OnClick = Value;
}

void TKvWizard::SetButtonBarHeight(int Value) {
  if (Value != FButtonBarHeight) {
    FButtonBarHeight = Value;
    Realign();
    RepositionButtons();
    Invalidate();
  }
  UpdateButtonsStatus();
}

void TKvWizard::SetShowDivider(bool Value) {
  if (Value == FShowDivider) return;
  FShowDivider = Value;
  Invalidate();
}

void TKvWizard::SetAutoHideButtonBar(bool Value) {
  if (Value == FAutoHideButtonBar) return;
  FAutoHideButtonBar = Value;
  RepositionButtons();
  UpdateButtonsStatus();
}

void TKvWizard::SetDefaultButtons(bool Value) {
  if (Value == FDefaultButtons) return;
  FDefaultButtons = Value;
  UpdateButtonsStatus();
}

void TKvWizard::SetHeaderImages(TCustomImageList* Value) {
  if (RelinkImageList(this, FHeaderImages, FImageChangeLink.get(), Value) && FActivePage) FActivePage->Invalidate();
}

void TKvWizard::ImageListChange(TObject*) {
  if (HandleAllocated() && FActivePage) FActivePage->Invalidate();
}

void TKvWizard::Notification(TComponent* AComponent, TOperation Operation) {
  TKvExCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FHeaderImages) SetHeaderImages(nullptr);
}

void TKvWizard::Loaded() {
  TKvExCustomControl::Loaded();
  RepositionButtons();
  if (FPages->Count() > 0) SelectFirstPage();
}

void TKvWizard::AdjustClientRect(RECT& Rect) {
  TKvExCustomControl::AdjustClientRect(Rect);
  Rect = WizardPageArea(Rect, FButtonBarHeight);
}

void TKvWizard::ShowControl(TControl* AControl) {
  if (auto* page = dynamic_cast<TKvWizardCustomPage*>(AControl); page && page->Wizard() == this)
    SetActivePage(page);
  TKvExCustomControl::ShowControl(AControl);
}

void TKvWizard::Resize() {
  RepositionButtons();
  TKvExCustomControl::Resize();
}

void TKvWizard::Paint() {
  RECT r = ClientRect();
  TCanvas* c = Canvas();
  if (Color() != clNone) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
  }
  if (FButtonBarHeight >= 26 && FShowDivider) {
    RECT bar = r;
    bar.top = bar.bottom - FButtonBarHeight;
    RECT ignored;
    DrawFrameStyle(c, bar, 3, SideTop, ignored);
  }
}

void TKvWizard::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  for (int i = 0; i < FPages->Count(); ++i) Proc(FPages->Items(i));
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (dynamic_cast<TKvWizardCustomPage*>(c) && FPages->IndexOf(static_cast<TKvWizardCustomPage*>(c)) >= 0) continue;
    if (c->Owner() == Root) Proc(c);
  }
}

void RegisterWizardControls() {
  RegisterClasses({TKvWizard::StaticClass(), TKvWizardWelcomePage::StaticClass(),
                   TKvWizardInteriorPage::StaticClass()});
}

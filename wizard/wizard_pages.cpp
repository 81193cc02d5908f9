#include "wizard/wizard_pages.h"

#include "vcl/imglist.h"
#include "wizard/wizard_control.h"

using BK = TKvWizardButtonKind;

namespace {

// The canvas's device context with its font, colours and brush selected, for DrawText.
HDC TextDC(TCanvas* Canvas) {
  Canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
  return Canvas->Handle();
}

const std::vector<TPropInfo>& GraphicObjectProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvWizardGraphicObject>()
      .Property("Color", &TKvWizardGraphicObject::Color, &TKvWizardGraphicObject::SetColor).Idents(ColorIdents()).Default(clBtnFace)
      .Property("Visible", &TKvWizardGraphicObject::Visible, &TKvWizardGraphicObject::SetVisible).Default(true)
      .Table();
  return table;
}

const std::vector<TPropInfo>& PageTitleProperties() {
  using T = TKvWizardPageTitle;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .SetProperty<TKvAnchorKind>("Anchors", &T::Anchors, &T::SetAnchors).Stored(&T::IsAnchorsStored)
      .Property("AnchorPlacement", &T::AnchorPlacement, &T::SetAnchorPlacement).Default(4)
      .Property("Indent", &T::Indent, &T::SetIndent).Default(0)
      .Property("Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify)
      .Property("Font", &T::Font, &T::SetFont)
      .Property("Text", &T::Text, &T::SetText)
      .Table();
  return table;
}

const std::vector<TPropInfo>& PageHeaderProperties() {
  using H = TKvWizardPageHeader;
  static const std::vector<TPropInfo> table = TPropertyTable<H>()
      .Property("Color", &H::Color, &H::SetColor).Idents(ColorIdents()).Default(clWindow)
      .Property("Height", &H::Height, &H::SetHeight).Default(70)
      .Property("ParentFont", &H::ParentFont, &H::SetParentFont).Default(true)
      .Property("Title", &H::Title, &H::SetTitle)
      .Property("Subtitle", &H::Subtitle, &H::SetSubtitle)
      .Property("ImageIndex", &H::ImageIndex, &H::SetImageIndex).Default(-1)
      .Property("ImageOffset", &H::ImageOffset, &H::SetImageOffset).Default(0)
      .Property("ImageAlignment", &H::ImageAlignment, &H::SetImageAlignment).Default(iaRightSide)
      .Property("ShowDivider", &H::ShowDivider, &H::SetShowDivider).Default(true)
      .Table();
  return table;
}

const std::vector<TPropInfo>& WaterMarkProperties() {
  using M = TKvWizardWaterMark;
  static const std::vector<TPropInfo> table = TPropertyTable<M>()
      .Property("Color", &M::Color, &M::SetColor).Idents(ColorIdents()).Default(clActiveCaption)
      .Property("Align", &M::Align, &M::SetAlign).Default(alLeftSide)
      .Property("Width", &M::Width, &M::SetWidth).Default(164)
      .Property("BorderWidth", &M::BorderWidth, &M::SetBorderWidth).Default(1)
      .Property("Image", &M::Image, &M::SetImage)
      .Table();
  return table;
}

const std::vector<TPropInfo>& PagePanelProperties() {
  using P = TKvWizardPagePanel;
  static const std::vector<TPropInfo> table = TPropertyTable<P>()
      .Property("Visible", &P::Visible, &P::SetVisible).Default(false)
      .Property("BorderWidth", &P::BorderWidth, &P::SetBorderWidth).Default(7)
      .Table();
  return table;
}

const std::vector<TPropInfo>& WizardImageProperties() {
  using I = TKvWizardImage;
  static const std::vector<TPropInfo> table = TPropertyTable<I>()
      .Property("Picture", &I::Picture, &I::SetPicture)
      .Property("Alignment", &I::Alignment, &I::SetAlignment).Default(iaStretch)
      .Property("Layout", &I::Layout, &I::SetLayout).Default(ilStretch)
      .Property("Transparent", &I::Transparent, &I::SetTransparent).Default(false)
      .Table();
  return table;
}

const std::vector<TPropInfo>& CustomPageProperties() {
  using P = TKvWizardCustomPage;
  static const std::vector<TPropInfo> table = TPropertyTable<P>()
      .Property("Header", &P::Header, &P::SetHeader)
      .Property("Subtitle", &P::Subtitle, &P::SetSubtitle).Stored(false)
      .Property("Title", &P::Title, &P::SetTitle).Stored(false)
      .Property("Image", &P::Image, &P::SetImage)
      .Property("Panel", &P::Panel, &P::SetPanel)
      .SetProperty<TKvWizardButtonKind>("EnabledButtons", &P::EnabledButtons, &P::SetEnabledButtons)
          .Default(AllWizardButtons)
      .SetProperty<TKvWizardButtonKind>("VisibleButtons", &P::VisibleButtons, &P::SetVisibleButtons)
          .Default(DefaultVisibleButtons)
      .Property("EnableJumpToPage", &P::EnableJumpToPage, &P::SetEnableJumpToPage).Default(true)
      .Property("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdents()).Default(clBtnFace)
      .Property("Caption", &TControl::Caption, &TControl::SetCaption)
      // The wizard places its pages; their bounds are not the description's business.
      .Property("Left", &TControl::Left, &TControl::SetLeft).Stored(false)
      .Property("Top", &TControl::Top, &TControl::SetTop).Stored(false)
      .Property("Width", &TControl::Width, &TControl::SetWidth).Stored(false)
      .Property("Height", &TControl::Height, &TControl::SetHeight).Stored(false)
      .Property("OnPaintPage", &P::OnPaintPage)
      .Property("OnEnterPage", &P::OnEnterPage)
      .Property("OnPage", &P::OnPage)
      .Property("OnExitPage", &P::OnExitPage)
      .Property("OnStartButtonClick", &P::OnStartButtonClick)
      .Property("OnLastButtonClick", &P::OnLastButtonClick)
      .Property("OnNextButtonClick", &P::OnNextButtonClick)
      .Property("OnBackButtonClick", &P::OnBackButtonClick)
      .Property("OnCancelButtonClick", &P::OnCancelButtonClick)
      .Property("OnFinishButtonClick", &P::OnFinishButtonClick)
      .Property("OnHelpButtonClick", &P::OnHelpButtonClick)
      .Table();
  return table;
}

const std::vector<TPropInfo>& WelcomePageProperties() {
  using P = TKvWizardWelcomePage;
  static const std::vector<TPropInfo> table = TPropertyTable<P>()
      .Property("WaterMark", &P::WaterMark, &P::SetWaterMark)
      .Property("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdents()).Default(clWindow)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TKvWizardGraphicObject, TPersistent, nullptr, &GraphicObjectProperties)
VCL_CLASS_IMPL(TKvWizardPageTitle, TKvWizardGraphicObject, nullptr, &PageTitleProperties)
VCL_CLASS_IMPL(TKvWizardPageObject, TKvWizardGraphicObject, nullptr, nullptr)
VCL_CLASS_IMPL(TKvWizardImage, TPersistent, nullptr, &WizardImageProperties)
VCL_CLASS_IMPL(TKvWizardPageHeader, TKvWizardPageObject, nullptr, &PageHeaderProperties)
VCL_CLASS_IMPL(TKvWizardWaterMark, TKvWizardPageObject, nullptr, &WaterMarkProperties)
VCL_CLASS_IMPL(TKvWizardPagePanel, TKvWizardPageObject, nullptr, &PagePanelProperties)
VCL_CLASS_IMPL(TKvWizardCustomPage, TCustomControl, nullptr, &CustomPageProperties)
VCL_CLASS_IMPL(TKvWizardWelcomePage, TKvWizardCustomPage, &CreateComponentOf<TKvWizardWelcomePage>,
               &WelcomePageProperties)
VCL_CLASS_IMPL(TKvWizardInteriorPage, TKvWizardCustomPage, &CreateComponentOf<TKvWizardInteriorPage>, nullptr)

// ---------------------------------------------------------------------------
// Graphic objects

TKvWizardGraphicObject::TKvWizardGraphicObject() = default;

void TKvWizardGraphicObject::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  ColorChanged();
}

void TKvWizardGraphicObject::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  VisibleChanged();
}

// --- titles

TKvWizardPageTitle::TKvWizardPageTitle() : FFont(std::make_unique<TFont>()) {
  FColor = clNone;  // no background
  FFont->OnChange = [this](TObject* s) { FontChanged(s); };
}

TKvWizardPageTitle::~TKvWizardPageTitle() { FFont->OnChange = nullptr; }

void TKvWizardPageTitle::Assign(TPersistent* Source) {
  auto* t = dynamic_cast<TKvWizardPageTitle*>(Source);
  if (!t) {
    TKvWizardGraphicObject::Assign(Source);
    return;
  }
  FText = t->FText;
  FAnchors = t->FAnchors;
  FAnchorPlacement = t->FAnchorPlacement;
  FIndent = t->FIndent;
  FAlignment = t->FAlignment;
  FFont->Assign(t->FFont.get());
  Changed();
}

void TKvWizardPageTitle::Changed() {
  if (FHeader) FHeader->TitleChanged();
}

void TKvWizardPageTitle::FontChanged(TObject*) {
  if (FHeader) FHeader->TitleFontChanged();
}

#define KV_TITLE_SETTER(Name, Type, Field) \
  void TKvWizardPageTitle::Set##Name(Type Value) { \
    if (Value == Field) return;                    \
    Field = Value;                                 \
    Changed();                                     \
  }
KV_TITLE_SETTER(Text, const AnsiString&, FText)
KV_TITLE_SETTER(Alignment, TAlignment, FAlignment)
KV_TITLE_SETTER(AnchorPlacement, int, FAnchorPlacement)
KV_TITLE_SETTER(Anchors, TKvAnchors, FAnchors)
KV_TITLE_SETTER(Indent, int, FIndent)
#undef KV_TITLE_SETTER

RECT TKvWizardPageTitle::GetTextRect(TCanvas* ACanvas, const RECT& ARect) {
  return TitleTextRect(ACanvas->TextExtent(FText), ARect, FAnchors, FAnchorPlacement, FIndent);
}

void TKvWizardPageTitle::PaintTo(TCanvas* ACanvas, RECT& ARect) {
  if (!FVisible || !FHeader || !FHeader->WizardPage()) return;
  ACanvas->SetFont(FFont.get());
  RECT r = GetTextRect(ACanvas, ARect);
  if (FColor != clNone) {
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(FColor);
    ACanvas->FillRect(r);
  }
  ACanvas->Brush()->SetStyle(bsClear);
  UINT flags = DT_WORDBREAK | (FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT);
  RECT text = r;
  DrawTextA(TextDC(ACanvas), FText.c_str(), -1, &text, flags);
  ARect.top = r.bottom;
}

// --- page objects

void TKvWizardPageObject::SetWizardPage(TKvWizardCustomPage* Value) {
  FPage = Value;
  Initialize();
}

void TKvWizardPageObject::Changed() {
  if (FPage) FPage->Invalidate();
}

// --- picture

TKvWizardImage::TKvWizardImage() : FPicture(std::make_unique<TPicture>()) {
  FPicture->OnChange = [this](TObject* s) { PictureChanged(s); };
}

TKvWizardImage::~TKvWizardImage() { FPicture->OnChange = nullptr; }

void TKvWizardImage::PictureChanged(TObject*) {
  if (OnChange) OnChange(this);
}

void TKvWizardImage::SetPicture(TPicture* Value) { FPicture->Assign(Value); }

void TKvWizardImage::SetAlignment(TKvWizardImageAlignment Value) {
  FAlignment = Value;
  PictureChanged(this);
}

void TKvWizardImage::SetLayout(TKvWizardImageLayout Value) {
  FLayout = Value;
  PictureChanged(this);
}

void TKvWizardImage::PaintTo(TCanvas* ACanvas, const RECT& ARect) {
  TGraphic* g = FPicture->Graphic();
  if (!g || g->Empty()) return;
  DrawAlignedGraphic(ACanvas, g, ARect, FAlignment, FLayout);
}

// --- header

TKvWizardPageHeader::TKvWizardPageHeader()
    : FTitle(std::make_unique<TKvWizardPageTitle>()), FSubtitle(std::make_unique<TKvWizardPageTitle>()) {
  FColor = clWindow;
  const TKvAnchors all = AnchorBit(TKvAnchorKind::Left) | AnchorBit(TKvAnchorKind::Top) |
                         AnchorBit(TKvAnchorKind::Right) | AnchorBit(TKvAnchorKind::Bottom);
  FTitle->DefaultAnchors = all & ~AnchorBit(TKvAnchorKind::Bottom);
  FTitle->SetAnchors(FTitle->DefaultAnchors);
  FTitle->SetText("Title");
  FTitle->Font()->SetSize(12);
  FTitle->Font()->SetStyle(fsBold);
  FSubtitle->DefaultAnchors = all;
  FSubtitle->SetAnchors(all);
  FSubtitle->SetText("Subtitle");
  FParentFont = true;
}

TKvWizardPageHeader::~TKvWizardPageHeader() {
  FTitle->SetHeader(nullptr);
  FSubtitle->SetHeader(nullptr);
}

void TKvWizardPageHeader::Initialize() {
  FTitle->SetHeader(this);
  FSubtitle->SetHeader(this);
  if (FPage) TakePageFont();
}

void TKvWizardPageHeader::TakePageFont() {
  if (!FPage) return;
  bool keep = FParentFont;
  FTakingPageFont = true;
  for (TKvWizardPageTitle* t : {FTitle.get(), FSubtitle.get()}) {
    t->Font()->SetName(FPage->Font()->Name());
    t->Font()->SetCharset(FPage->Font()->Charset());
  }
  FTakingPageFont = false;
  FParentFont = keep;
}

void TKvWizardPageHeader::TitleFontChanged() {
  if (!FTakingPageFont) FParentFont = false;
  Changed();
}

void TKvWizardPageHeader::SetParentFont(bool Value) {
  FParentFont = Value;
  if (Value) {
    TakePageFont();
    FParentFont = Value;
  }
  Changed();
}

void TKvWizardPageHeader::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  if (FPage) FPage->Realign();
  Changed();
}

void TKvWizardPageHeader::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Changed();
}

void TKvWizardPageHeader::SetImageOffset(int Value) {
  if (Value == FImageOffset) return;
  FImageOffset = Value;
  Changed();
}

void TKvWizardPageHeader::SetImageAlignment(TKvWizardImageLeftRight Value) {
  if (Value == FImageAlignment) return;
  FImageAlignment = Value;
  Changed();
}

void TKvWizardPageHeader::SetShowDivider(bool Value) {
  if (Value == FShowDivider) return;
  FShowDivider = Value;
  Changed();
}

void TKvWizardPageHeader::VisibleChanged() {
  TKvWizardPageObject::VisibleChanged();
  if (FPage) FPage->Realign();
}

RECT TKvWizardPageHeader::GetImageRect(TCustomImageList* AImages, RECT& ARect) {
  return HeaderImageRect(SIZE{AImages->Width(), AImages->Height()}, ARect, FImageAlignment, FImageOffset);
}

void TKvWizardPageHeader::PaintTo(TCanvas* ACanvas, RECT& ARect) {
  if (!FVisible) return;
  RECT r = ARect;
  r.bottom = ARect.top + FHeight;
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(FColor);
  ACanvas->FillRect(r);
  if (FPage) {
    if (FShowDivider) {
      RECT ignored;
      DrawFrameStyle(ACanvas, r, 3, SideBottom, ignored);
    }
    TKvWizard* wizard = FPage->Wizard();
    TCustomImageList* images = wizard ? wizard->HeaderImages() : nullptr;
    if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
      RECT ir = GetImageRect(images, r);
      images->Draw(ACanvas, ir.left, ir.top, FImageIndex, true);
    }
    FTitle->PaintTo(ACanvas, r);
    FSubtitle->PaintTo(ACanvas, r);
  }
  ARect.top += FHeight;
}

// --- water mark

TKvWizardWaterMark::TKvWizardWaterMark() : FImage(std::make_unique<TKvWizardImage>()) {
  FColor = clActiveCaption;
  FImage->OnChange = [this](TObject*) { Changed(); };
}

TKvWizardWaterMark::~TKvWizardWaterMark() { FImage->OnChange = nullptr; }

void TKvWizardWaterMark::SetAlign(TKvWizardLeftRight Value) {
  if (Value == FAlign) return;
  FAlign = Value;
  if (FPage) FPage->Realign();
  Changed();
}

void TKvWizardWaterMark::SetWidth(int Value) {
  if (Value == FWidth) return;
  FWidth = Value;
  if (FPage) FPage->Realign();
  Changed();
}

void TKvWizardWaterMark::SetBorderWidth(int Value) {
  if (Value == FBorderWidth) return;
  FBorderWidth = Value;
  Changed();
}

void TKvWizardWaterMark::VisibleChanged() {
  TKvWizardPageObject::VisibleChanged();
  if (FPage) FPage->Realign();
}

void TKvWizardWaterMark::PaintTo(TCanvas* ACanvas, RECT& ARect) {
  if (!FVisible) return;
  RECT w = ARect;
  if (FAlign == alLeftSide) {
    w.right = w.left + FWidth;
    ARect.left += FWidth;
  } else {
    w.left = w.right - FWidth;
    ARect.right -= FWidth;
  }
  InflateRect(&w, -FBorderWidth, -FBorderWidth);
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(FColor);
  ACanvas->FillRect(w);
  FImage->PaintTo(ACanvas, w);
}

// --- panel

TKvWizardPagePanel::TKvWizardPagePanel() {
  FColor = clBtnFace;
  FVisible = false;
}

void TKvWizardPagePanel::SetBorderWidth(unsigned short Value) {
  if (Value == FBorderWidth) return;
  FBorderWidth = Value;
  Changed();
}

void TKvWizardPagePanel::PaintTo(TCanvas* ACanvas, RECT& ARect) {
  if (!FVisible || FBorderWidth == 0) return;
  InflateRect(&ARect, -FBorderWidth, -FBorderWidth);
  RECT ignored;
  DrawFrameStyle(ACanvas, ARect, 3, AllSides, ignored);
  if (FColor != clNone) {
    InflateRect(&ARect, -2, -2);
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(FColor);
    ACanvas->FillRect(ARect);
  }
}

// ---------------------------------------------------------------------------
// Pages

TKvWizardCustomPage::TKvWizardCustomPage(TComponent* AOwner)
    : TCustomControl(AOwner),
      FHeader(std::make_unique<TKvWizardPageHeader>()),
      FPanel(std::make_unique<TKvWizardPagePanel>()),
      FImage(std::make_unique<TKvWizardImage>()) {
  ControlStyle |= csAcceptsControls | csNoDesignVisible;
  SetAlign(alClient);
  SetVisible(false);
  SetColor(clBtnFace);
  SetParentColor(false);
  FHeader->SetWizardPage(this);
  FPanel->SetWizardPage(this);
  FImage->OnChange = [this](TObject*) { Invalidate(); };
}

TKvWizardCustomPage::~TKvWizardCustomPage() {
  if (FWizard) FWizard->RemovePage(this);
  FImage->OnChange = nullptr;
}

int TKvWizardCustomPage::PageIndex() const { return FWizard ? FWizard->Pages()->IndexOf(this) : -1; }

void TKvWizardCustomPage::SetWizard(TKvWizard* Value) {
  if (Value == FWizard) return;
  FSettingWizard = true;
  if (FWizard) FWizard->RemovePage(this);
  SetParent(Value);
  if (Value) Value->InsertPage(this);
  FSettingWizard = false;
}

void TKvWizardCustomPage::SetParent(TWinControl* AParent) {
  TCustomControl::SetParent(AParent);
  if (FSettingWizard || HasState(csDestroying)) return;
  // A page put into a wizard (also by the form reader) joins its list; one taken out of it
  // leaves the list.
  auto* wizard = dynamic_cast<TKvWizard*>(AParent);
  if (wizard != FWizard) {
    FSettingWizard = true;
    if (FWizard) FWizard->RemovePage(this);
    if (wizard) wizard->InsertPage(this);
    FSettingWizard = false;
  }
}

TKvWizardPageClickEvent& TKvWizardCustomPage::ButtonEvent(TKvWizardButtonKind Kind) {
  switch (Kind) {
    case BK::bkStart: return OnStartButtonClick;
    case BK::bkLast: return OnLastButtonClick;
    case BK::bkBack: return OnBackButtonClick;
    case BK::bkNext: return OnNextButtonClick;
    case BK::bkFinish: return OnFinishButtonClick;
    case BK::bkCancel: return OnCancelButtonClick;
    case BK::bkHelp: break;
  }
  return OnHelpButtonClick;
}

void TKvWizardCustomPage::SetEnabledButtons(TKvWizardButtonSet Value) {
  if (Value == FEnabledButtons) return;
  FEnabledButtons = Value;
  if (FWizard && FWizard->ActivePage() == this) FWizard->UpdateButtonsStatus();
}

void TKvWizardCustomPage::SetVisibleButtons(TKvWizardButtonSet Value) {
  if (Value == FVisibleButtons) return;
  FVisibleButtons = Value;
  if (FWizard && FWizard->ActivePage() == this) {
    if (FWizard->AutoHideButtonBar()) FWizard->SetButtonBarHeight(Value ? 42 : 0);
    // The bar may keep its height while its buttons change.
    FWizard->UpdateButtonsStatus();
    FWizard->RepositionButtons();
  }
  Invalidate();
}

void TKvWizardCustomPage::EnableButton(TKvWizardButtonKind AButton, bool AEnabled) {
  if (HasButton(FEnabledButtons, AButton) == AEnabled) return;
  SetEnabledButtons(AEnabled ? FEnabledButtons | ButtonBit(AButton) : FEnabledButtons & ~ButtonBit(AButton));
}

bool TKvWizardCustomPage::EventsAllowed() const { return Enabled() && !HasState(csDesigning); }

void TKvWizardCustomPage::DoEnterPage(TKvWizardCustomPage* FromPage) {
  if (OnEnterPage && EventsAllowed()) OnEnterPage(this, FromPage);
}

void TKvWizardCustomPage::DoPage() {
  Repaint();
  if (OnPage && EventsAllowed()) OnPage(this);
}

void TKvWizardCustomPage::DoExitPage(TKvWizardCustomPage* ToPage) {
  if (OnExitPage && EventsAllowed()) OnExitPage(this, ToPage);
}

void TKvWizardCustomPage::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(Message);
      if (!HasState(csDesigning) && !Enabled() && FWizard && FWizard->ActivePage() == this) {
        TKvWizardCustomPage* next = FWizard->FindNextEnabledPage(PageIndex(), 1, true);
        if (!next) next = FWizard->FindNextEnabledPage(PageIndex(), -1, true);
        FWizard->DoSetActivePage(next);
      }
      return;
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(Message);
      Invalidate();
      return;
    case CM_FONTCHANGED:
      if (FHeader->ParentFont()) FHeader->TakePageFont();
      TCustomControl::Dispatch(Message);
      return;
    default: TCustomControl::Dispatch(Message);
  }
}

void TKvWizardCustomPage::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TKvWizardCustomPage::AdjustClientRect(RECT& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  if (FHeader->Visible()) Rect.top += FHeader->Height();
}

void TKvWizardCustomPage::DrawPage(TCanvas* ACanvas, RECT& ARect) {}

void TKvWizardCustomPage::Paint() {
  if (FPainting) return;
  FPainting = true;
  try {
    TCanvas* c = Canvas();
    RECT r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    DrawPage(c, r);
    if (OnPaintPage && !HasState(csDesigning)) {
      OnPaintPage(this, c, r);
    } else {
      FImage->PaintTo(c, r);
      FPanel->PaintTo(c, r);
    }
    if (HasState(csDesigning)) {
      c->SetFont(Font());
      c->Brush()->SetStyle(bsClear);
      AnsiString caption = Caption();
      DrawTextA(TextDC(c), caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  } catch (...) {
    FPainting = false;
    throw;
  }
  FPainting = false;
}

TKvWizardWelcomePage::TKvWizardWelcomePage(TComponent* AOwner)
    : TKvWizardCustomPage(AOwner), FWaterMark(std::make_unique<TKvWizardWaterMark>()) {
  FWaterMark->SetWizardPage(this);
  Header()->Title()->SetText("Welcome");
  SetColor(clWindow);
}

TKvWizardWelcomePage::~TKvWizardWelcomePage() { FWaterMark->SetWizardPage(nullptr); }

void TKvWizardWelcomePage::AdjustClientRect(RECT& Rect) {
  TKvWizardCustomPage::AdjustClientRect(Rect);
  if (!FWaterMark->Visible()) return;
  if (FWaterMark->Align() == alLeftSide) Rect.left += FWaterMark->Width();
  else Rect.right -= FWaterMark->Width();
}

void TKvWizardWelcomePage::DrawPage(TCanvas* ACanvas, RECT& ARect) {
  FWaterMark->PaintTo(ACanvas, ARect);
  Header()->PaintTo(ACanvas, ARect);
}

void TKvWizardInteriorPage::DrawPage(TCanvas* ACanvas, RECT& ARect) { Header()->PaintTo(ACanvas, ARect); }

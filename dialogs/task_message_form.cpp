#include "dialogs/task_message_form.h"

#include <algorithm>

#include "dialogs/html_renderer.h"
#include "vcl/application.h"
#include "vcl/keyboard.h"
#include "vcl/messages.h"
#include "widetext/codecs.h"
#include "widetext/platform.h"

VCL_CLASS_IMPL(TTaskMessageForm, TUniForm, nullptr, nullptr)

namespace {

constexpr TColor kBlue = 0x00C45300;        // RGB(0, 83, 196)
constexpr TColor kLinkBorder = 0x00FFE16C;  // RGB(108, 225, 255)
constexpr COLORREF kBand = RGB(240, 240, 240);
constexpr COLORREF kEdge = RGB(223, 223, 223);

struct TCommonButtonInfo {
  const char* Name;
  const wchar_t* Caption;
  int Result;
};
const TCommonButtonInfo kCommonButtons[] = {{"OK", L"OK", 1},          {"Yes", L"&Yes", 6},
                                            {"No", L"&No", 7},          {"Cancel", L"Cancel", 2},
                                            {"Retry", L"&Retry", 4},    {"Abort", L"&Abort", 3}};
// Measured once a run: the width of each common button's caption.
int CommonButtonWidths[6] = {};

// A canvas on the screen for measuring.
class TScreenCanvas {
 public:
  TScreenCanvas() : FDC(GetDC(nullptr)) { FCanvas.SetHandle(FDC); }
  ~TScreenCanvas() {
    FCanvas.SetHandle(nullptr);
    ReleaseDC(nullptr, FDC);
  }
  TCanvas* operator->() { return &FCanvas; }
  TCanvas* get() { return &FCanvas; }

 private:
  HDC FDC;
  TCanvas FCanvas;
};

SIZE MeasureSingle(TCanvas* Canvas, const WideString& Text) {
  RECT r{0, 0, 0, 0};
  Canvas->RequiredState(csHandleValid | csFontValid);
  Uni_DrawTextW(Canvas->Handle(), Text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  return SIZE{r.right, r.bottom};
}

SIZE MeasureWrapped(TCanvas* Canvas, const WideString& Text, int Width, UINT Extra = 0) {
  RECT r{0, 0, Width, 0};
  Canvas->RequiredState(csHandleValid | csFontValid);
  Uni_DrawTextW(Canvas->Handle(), Text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | Extra);
  return SIZE{r.right, r.bottom};
}

struct THtmlAnswer {
  int Width = 0, Height = 0;
  WideString Href;
  bool OnLink = false;
};

THtmlAnswer Html(TCanvas* Canvas, const WideString& Text, const RECT& R, bool Measure, int X = -1, int Y = -1,
                 bool HitTest = false) {
  THtmlAnswer a;
  WideString plain, focus;
  int links = 0, mouseLink = -1;
  RECT hover{};
  a.OnLink = DrawHtmlText(Canvas, Text, R, nullptr, X, Y, -1, -1, 1, HitTest, Measure, false, false, false, false,
                          true, 1.0, clBlue, clNone, clNone, clGray, a.Href, plain, focus, a.Width, a.Height, links,
                          mouseLink, hover, nullptr, nullptr);
  return a;
}

HICON SystemIcon(int Index) {
  static const LPCSTR kIds[] = {nullptr, IDI_WARNING, IDI_QUESTION, IDI_ERROR, IDI_INFORMATION};
  return Index > 0 && Index < 5 ? LoadIconA(nullptr, kIds[Index]) : nullptr;
}

}  // namespace

void WriteToClipboard(const WideString& Text) {
  if (!OpenClipboard(nullptr)) throw Exception("Cannot open clipboard");
  struct Close {
    ~Close() { CloseClipboard(); }
  } close;
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, (Text.size() + 1) * sizeof(wchar_t));
  if (!mem) return;
  auto* p = static_cast<wchar_t*>(GlobalLock(mem));
  std::copy(Text.begin(), Text.end(), p);
  p[Text.size()] = 0;
  GlobalUnlock(mem);
  EmptyClipboard();
  // As Unicode text: the system offers the 8-bit form beside it.
  if (!SetClipboardData(CF_UNICODETEXT, mem)) GlobalFree(mem);
}

TTaskMessageForm::TTaskMessageForm(TComponent* AOwner) : TUniForm(AOwner), FShield(std::make_unique<TBitmap>()) {
  BandTop = Height();
}

TTaskMessageForm::~TTaskMessageForm() = default;

bool TTaskMessageForm::Hyperlinks() const { return FTaskDialog && (FTaskDialog->Options & Bit(doHyperlinks)); }

int TTaskMessageForm::MeasureText(const WideString& Text, int Width, bool AsHtml, int* OutWidth) {
  TScreenCanvas canvas;
  canvas->SetFont(Font());
  if (AsHtml) {
    THtmlAnswer a = Html(canvas.get(), Text, RECT{0, 0, Width, 10000}, true);
    if (OutWidth) *OutWidth = a.Width;
    return a.Height;
  }
  SIZE s = MeasureWrapped(canvas.get(), Text, Width, DT_NOPREFIX);
  if (OutWidth) *OutWidth = s.cx;
  return s.cy;
}

void TTaskMessageForm::Build(TUniTaskDialog* TD) {
  FTaskDialog = TD;
  const TTaskDialogOptions opts = TD->Options;
  SetFont(TD->Font());
  SetColor(clWhite);
  SetKeyPreview(true);
  OnKeyDown = [this](TObject* s, WORD& k, TShiftState sh) { CustomKeyDown(s, k, sh); };
  if (opts & Bit(doAllowMinimize)) {
    SetBorderStyle(bsSingle);
    SetBorderIcons((1u << biSystemMenu) | (1u << biMinimize));
  } else {
    SetBorderStyle(bsDialog);
    SetBorderIcons(0);
  }
  SetCaption(TD->Title);

  // Layout units from the average character size of the font.
  TScreenCanvas canvas;
  canvas->SetFont(Font());
  SIZE ave = MeasureSingle(canvas.get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  int aveWidth = ave.cx / 52, height = ave.cy;
  HorzMargin = MulDiv(8, aveWidth, 4);
  VertMargin = MulDiv(8, height, 8);
  HorzSpacing = MulDiv(10, aveWidth, 4);
  VertSpacing = MulDiv(10, height, 8);
  ButtonHeight = MulDiv(14, height, 8);
  ButtonSpacing = MulDiv(4, aveWidth, 4);
  FMinWidth = TD->Title.empty() ? 0 : MeasureWrapped(canvas.get(), TD->Title, 1000).cx + 50;
  ContentLeft = HorzMargin;

  // Default and cancel buttons among the common ones.
  const TCommonButtons common = TD->CommonButtons;
  auto has = [&](int b) { return (common & Bit(b)) != 0; };
  int defaultButton = cbOK, cancelButton = cbOK;
  if (TD->DefaultButton == 0) {
    defaultButton = has(cbOK) ? cbOK : has(cbYes) ? cbYes : cbRetry;
    cancelButton = has(cbCancel) ? cbCancel : has(cbNo) ? cbNo : cbOK;
  } else if (TD->DefaultButton == 1) {
    defaultButton = has(cbOK) ? cbOK : cbYes;
  } else if (TD->DefaultButton == 2) {
    defaultButton = has(cbCancel) ? cbCancel : cbNo;
  }
  const bool allowCancel = opts & Bit(doAllowDialogCancel);
  auto makeCommon = [&](int b, int textExtra) {
    if (CommonButtonWidths[b] == 0) CommonButtonWidths[b] = MeasureSingle(canvas.get(), kCommonButtons[b].Caption).cx;
    TControl* button = TD->CreateButton(this);
    CommonButtonList.push_back(button);
    button->SetName(kCommonButtons[b].Name);
    button->SetParent(this);
    TD->SetButtonCaption(button, kCommonButtons[b].Caption);
    TD->SetButtonModalResult(button, kCommonButtons[b].Result);
    if (kCommonButtons[b].Result == mrCancel && allowCancel) TD->SetButtonCancel(button, true);
    if (b == defaultButton) {
      TD->SetButtonDefault(button, true);
      if (auto* w = dynamic_cast<TWinControl*>(button)) w->SetTabOrder(0);
    }
    if (b == cancelButton && allowCancel) TD->SetButtonCancel(button, true);
    button->SetBounds(0, 0, std::max(60, CommonButtonWidths[b] + textExtra), ButtonHeight);
    button->SetFont(TD->Font());
  };
  for (int b = cbOK; b <= cbClose; ++b)
    if (has(b)) makeCommon(b, 16);

  const bool commandLinks = opts & (Bit(doCommandLinks) | Bit(doCommandLinksNoIcon));
  const bool noLinkIcon = opts & Bit(doCommandLinksNoIcon);
  TUniStringList* custom = TD->CustomButtons();
  if (!commandLinks) {
    for (int i = 0; i < custom->Count(); ++i) {
      int w = MeasureSingle(canvas.get(), custom->Strings(i)).cx + 16;
      TControl* button = TD->CreateButton(this);
      CustomButtonList.push_back(button);
      button->SetName("Button" + std::to_string(i));
      button->SetParent(this);
      TD->SetButtonCaption(button, custom->Strings(i));
      TD->SetButtonModalResult(button, 100 + i);
      if (100 + i == TD->DefaultButton) TD->SetButtonDefault(button, true);
      button->SetBounds(0, 0, std::max(60, w), ButtonHeight);
      button->OnClick = [this](TObject* s) { ButtonClick(s); };
      button->SetFont(TD->Font());
    }
  } else {
    TFont heading, body;
    heading.Assign(Font());
    heading.SetSize(11);
    heading.SetStyle(fsBold);
    body.Assign(Font());
    TFont measure;
    measure.Assign(Font());
    measure.SetSize(10);
    canvas->SetFont(&measure);
    std::vector<SIZE> sizes;
    int maxLinkWidth = 0;
    for (int i = 0; i < custom->Count(); ++i) {
      int w = 0, h = 0;
      MeasureTitledText(canvas.get(), custom->Strings(i), &heading, &body, DT_NOPREFIX, w, h, false);
      sizes.push_back(SIZE{w + 26, h});
      maxLinkWidth = std::max(maxLinkWidth, w + 26);
    }
    canvas->SetFont(Font());
    FMinWidth = std::max(FMinWidth, noLinkIcon ? maxLinkWidth + HorzMargin
                                               : 2 * HorzMargin + maxLinkWidth + HorzSpacing + 32);
    int textHeight = MeasureSingle(canvas.get(), L"gh").cy;
    for (int i = 0; i < custom->Count(); ++i) {
      auto* link = new TTaskDialogButton(this);
      CustomButtonList.push_back(link);
      link->SetName("Button" + std::to_string(i));
      link->SetParent(this);
      link->SetCaption(custom->Strings(i));
      link->SetFont(TD->Font());
      link->Font()->SetColor(kBlue);
      link->SetHeadingFont(&heading);
      link->HeadingFont()->SetColor(kBlue);
      link->ModalResult = 100 + i;
      link->BorderColorHot = link->BorderColorDown = kLinkBorder;
      link->FocusOnHover = true;
      link->SetBounds(0, 0, std::max(60, maxLinkWidth),
                      std::max({static_cast<int>(sizes[i].cy), ButtonHeight, textHeight + 20}));
      if (!noLinkIcon) {
        LoadBitmapResource(link->Picture(), "TD_UNIARW");
        LoadBitmapResource(link->PictureHot(), "TD_UNIARWHOT");
        LoadBitmapResource(link->PictureDown(), "TD_UNIARWDOWN");
      }
      link->SetTabStop(true);
      link->OnClick = [this](TObject* s) { ButtonClick(s); };
    }
  }
  if (common == 0 && custom->Count() == 0) {
    defaultButton = cbOK;
    makeCommon(cbOK, 8);
  }

  // Icon.
  FHasIcon = TD->Icon != tiNotUsed || !TD->CustomIcon()->Empty();
  if (!TD->CustomIcon()->Empty())
    FIcon = TD->CustomIcon()->Handle();
  else if (TD->Icon == tiShield)
    FShieldIcon = true;
  else if (TD->Icon == tiBlank)
    FBlankIcon = true;
  else
    FIcon = SystemIcon(TD->Icon);
  if (TD->Icon == tiShield || TD->FooterIcon == tfiShield) LoadBitmapResource(FShield.get(), "TD_UNISHIELD");
  if (TD->FooterIcon == tfiShield)
    FShieldFooter = true;
  else
    FFooterIcon = SystemIcon(TD->FooterIcon);

  // Instruction.
  InstructionLabel = new TUniLabel(this);
  InstructionLabel->SetName("Instr");
  InstructionLabel->SetParent(this);
  InstructionLabel->SetWordWrap(true);
  InstructionLabel->SetShowAccelChar(false);
  InstructionLabel->SetFont(TD->Font());
  InstructionLabel->Font()->SetSize(11);
  InstructionLabel->Font()->SetStyle(fsBold);
  InstructionLabel->Font()->SetColor(kBlue);
  InstructionLabel->SetCaption(TD->Instruction());

  if (opts & (Bit(doTimer) | Bit(doProgressBar))) {
    Timer = new TTimer(this);
    Timer->SetInterval(100);
    Timer->SetOnTimer([this](TObject* s) { TimerProc(s); });
  }
  if (opts & Bit(doProgressBar)) {
    ProgressBar = new TProgressBar(this);
    ProgressBar->SetName("ProgressBar");
    ProgressBar->SetParent(this);
    ProgressBar->SetMin(TD->ProgressBarMin);
    ProgressBar->SetMax(TD->ProgressBarMax);
    ProgressBar->SetPosition(0);
  }

  TD->RadioResult = (opts & Bit(doNoDefaultRadioButton)) ? 0 : TD->DefaultRadioButton;
  for (int i = 0; i < TD->RadioButtons()->Count(); ++i) {
    auto* radio = new TUniRadioButton(this);
    RadioList.push_back(radio);
    radio->SetName("Radio" + std::to_string(i));
    radio->SetParent(this);
    radio->SetFont(TD->Font());
    radio->SetCaption(TD->RadioButtons()->Strings(i));
    bool checked = false;
    if (!(opts & Bit(doNoDefaultRadioButton)))
      checked = TD->DefaultRadioButton > 0 ? 200 + i == TD->DefaultRadioButton : i == 0;
    radio->SetChecked(checked);
    radio->OnClick = [this](TObject* s) { RadioClick(s); };
  }

  if (!TD->ExpandedText().empty()) {
    ExpandButton = new TTaskDialogButton(this);
    ExpandButton->SetName("ExpandButton");
    ExpandButton->SetParent(this);
    ExpandButton->SetBounds(0, 0, 19, 19);
    ExpandButton->SetTabStop(true);
    ExpandButton->OnClick = [this](TObject* s) { ExpandClick(s); };
    LoadExpandPictures(true);
  }

  if (!TD->VerificationText.empty()) {
    VerifyCheck = new TUniCheckBox(this);
    VerifyCheck->SetName("Verification");
    VerifyCheck->SetParent(this);
    VerifyCheck->SetFont(TD->Font());
    VerifyCheck->SetCaption(TD->VerificationText);
    VerifyCheck->SetColor(static_cast<TColor>(kBand));
    VerifyCheck->OnClick = [this](TObject* s) { VerifyClick(s); };
    VerifyCheck->SetChecked((opts & Bit(doVerifyChecked)) != 0);
  }
  Relayout();
  if (ExpandButton) SetExpanded((opts & Bit(doExpandedDefault)) != 0);
}

void TTaskMessageForm::LoadExpandPictures(bool Expanded) {
  const char* names[3] = {"TD_UNIEXP", "TD_UNIEXPHOT", "TD_UNIEXPDOWN"};
  const char* expanded[3] = {"TD_UNICOLP", "TD_UNICOLPHOT", "TD_UNICOLPDOWN"};
  const char** use = Expanded ? expanded : names;
  LoadBitmapResource(ExpandButton->Picture(), use[0]);
  LoadBitmapResource(ExpandButton->PictureHot(), use[1]);
  LoadBitmapResource(ExpandButton->PictureDown(), use[2]);
  ExpandButton->Invalidate();
}

void TTaskMessageForm::MeasureTexts() {
  TUniTaskDialog* TD = FTaskDialog;
  TScreenCanvas canvas;
  TFont bold;
  bold.Assign(Font());
  bold.SetSize(11);
  bold.SetStyle(fsBold);
  canvas->SetFont(&bold);
  SIZE instr = TD->Instruction().empty() ? SIZE{0, 0}
                                         : MeasureWrapped(canvas.get(), TD->Instruction(), GetSystemMetrics(SM_CXSCREEN) / 2,
                                                          DT_NOPREFIX);
  InstructionLabel->SetBounds(0, 0, instr.cx, instr.cy);
  FTextWidth = instr.cx + (FHasIcon ? HorzSpacing + 32 : 0);
  canvas->SetFont(Font());
  int width = 300 - HorzMargin;
  FContentHeight = TD->Content().empty() ? 0 : MeasureText(TD->Content(), width, Hyperlinks(), &FContentWidth);
  FExpTextHeight = TD->ExpandedText().empty() ? 0 : MeasureText(TD->ExpandedText(), width, Hyperlinks(), &FExpTextWidth);
  FFooterHeight = TD->Footer().empty() ? 0 : MeasureText(TD->Footer(), width, true, &FFooterWidth);
  if (FFooterHeight && (FFooterIcon || FShieldFooter)) FFooterHeight = std::max(FFooterHeight, 20);
  for (auto* radio : RadioList) {
    SIZE s = MeasureSingle(canvas.get(), radio->Caption());
    radio->SetHeight(s.cy + 4);
    FMinWidth = std::max(FMinWidth, ContentLeft + HorzMargin + static_cast<int>(s.cx) + HorzMargin + 20);
  }
  if (VerifyCheck) {
    SIZE s = MeasureSingle(canvas.get(), VerifyCheck->Caption());
    FVerifyWidth = s.cx + 2 * VertSpacing + 20;
    VerifyCheck->SetHeight(std::max<int>(s.cy + 4, 17));
  }
  // The width: the widest row, the texts and the title.
  int row = FVerifyWidth;
  for (TControl* b : CommonButtonList) row += b->Width() + ButtonSpacing;
  if (!(FTaskDialog->Options & (Bit(doCommandLinks) | Bit(doCommandLinksNoIcon))))
    for (TControl* b : CustomButtonList) row += b->Width() + ButtonSpacing;
  if (ExpandButton) {
    int labels = std::max(MeasureSingle(canvas.get(), TD->CollapsControlText).cx,
                          MeasureSingle(canvas.get(), TD->ExpandControlText).cx);
    row += ExpandButton->Width() + HorzSpacing + labels + HorzSpacing;
  }
  int w = std::max({FFooterWidth + (FFooterIcon || FShieldFooter ? 20 : 0), FTextWidth,
                    FContentWidth + (FHasIcon ? HorzSpacing + 32 : 0), row}) +
          2 * HorzMargin;
  w = std::max(w, 2 * HorzMargin + FExpTextWidth);
  SetClientWidth(std::max({FMinWidth, w, 350}));
}

void TTaskMessageForm::Relayout() {
  if (!FTaskDialog) return;
  InstructionLabel->SetCaption(FTaskDialog->Instruction());
  MeasureTexts();
  Arrange();
  Invalidate();
}

void TTaskMessageForm::Arrange() {
  TUniTaskDialog* TD = FTaskDialog;
  const int clientWidth = ClientWidth();
  ContentLeft = HorzMargin + (FHasIcon ? 32 + HorzSpacing : 0);
  int y = VertMargin;
  InstructionLabel->SetVisible(!TD->Instruction().empty());
  if (!TD->Instruction().empty()) {
    InstructionLabel->SetBounds(ContentLeft, y, InstructionLabel->Width(), InstructionLabel->Height());
    y += InstructionLabel->Height() + VertSpacing;
  }
  if (FContentHeight) y += FContentHeight + VertSpacing;
  if (FHasIcon) y = std::max(y, VertMargin + 32 + VertSpacing);
  if (ProgressBar) {
    ProgressBar->SetBounds(HorzMargin, y, clientWidth - 2 * HorzMargin, 12);
    y += 12 + VertSpacing;
  }
  for (auto* radio : RadioList) {
    radio->SetBounds(ContentLeft + HorzMargin, y, clientWidth - ContentLeft - HorzMargin - 4, radio->Height());
    y += radio->Height() + 4;
  }
  if (!RadioList.empty()) y += VertSpacing - 4;
  const bool footerDetails = TD->Options & Bit(doExpandedFooter);
  if (ExpandButton && FExpanded && !footerDetails) {
    FExpTextTop = y;
    y += FExpTextHeight + VertSpacing;
  }
  const bool commandLinks = TD->Options & (Bit(doCommandLinks) | Bit(doCommandLinksNoIcon));
  int bandTop = 0;
  if (commandLinks) {
    for (TControl* link : CustomButtonList) {
      link->SetBounds(ContentLeft, y, clientWidth - ContentLeft - HorzMargin, link->Height());
      y += link->Height() + 2;
    }
    if (!CustomButtonList.empty()) y += VertSpacing;
  }
  // The button row.
  int rowTop = y + VertSpacing / 2;
  int rowHeight = 0;
  if (ExpandButton) {
    ExpandButton->SetBounds(VertMargin, rowTop, 19, 19);
    rowHeight = ExpandButton->Height();
  }
  std::vector<TControl*> row;
  if (!commandLinks) row = CustomButtonList;
  row.insert(row.end(), CommonButtonList.begin(), CommonButtonList.end());
  int rowWidth = -ButtonSpacing;
  for (TControl* b : row) rowWidth += b->Width() + ButtonSpacing;
  int x = clientWidth - rowWidth - HorzSpacing - 4;
  for (TControl* b : row) {
    b->SetBounds(x, rowTop, b->Width(), b->Height());
    x += b->Width() + ButtonSpacing;
    rowHeight = std::max(rowHeight, b->Height());
  }
  if (!row.empty() || ExpandButton || VerifyCheck) bandTop = y;
  if (rowHeight) y = rowTop + rowHeight + VertSpacing / 2;
  if (VerifyCheck) {
    VerifyCheck->SetBounds(VertMargin + 3, y, FVerifyWidth, VerifyCheck->Height());
    y += VerifyCheck->Height() + VertSpacing / 2;
  }
  if (ExpandButton && FExpanded && footerDetails) {
    y += VertSpacing / 2;
    FExpTextTop = y;
    y += FExpTextHeight + VertSpacing;
  }
  if (FFooterHeight) y += FFooterHeight + VertSpacing + 10;
  SetClientHeight(y + VertMargin / 2);
  BandTop = bandTop > 0 ? bandTop : Height();
}

void TTaskMessageForm::SetExpanded(bool Value) {
  if (!ExpandButton) return;
  if (FExpanded != Value) LoadExpandPictures(Value);
  FExpanded = Value;
  Arrange();
  Invalidate();
}

RECT TTaskMessageForm::ContentRect() {
  int top = InstructionLabel->Visible() ? InstructionLabel->Top() + InstructionLabel->Height() + VertSpacing : VertMargin;
  return RECT{ContentLeft, top, ClientWidth() - HorzMargin, top + FContentHeight};
}

RECT TTaskMessageForm::ExpandedTextRect() {
  int left = (FTaskDialog->Options & Bit(doExpandedFooter)) ? HorzMargin : ContentLeft;
  return RECT{left, FExpTextTop, ClientWidth() - HorzMargin, FExpTextTop + FExpTextHeight};
}

RECT TTaskMessageForm::FooterRect() {
  RECT r{HorzMargin, ClientHeight() - FFooterHeight - VertMargin / 2 - 4, ClientWidth() - HorzMargin, ClientHeight()};
  if (FFooterIcon || FShieldFooter) r.left += 20;
  return r;
}

void TTaskMessageForm::DrawText(TCanvas* Canvas, const WideString& Text, const RECT& R, bool AsHtml) {
  if (AsHtml) {
    Html(Canvas, Text, R, false);
    return;
  }
  RECT r = R;
  Canvas->RequiredState(csHandleValid | csFontValid);
  SetBkMode(Canvas->Handle(), TRANSPARENT);
  SetTextColor(Canvas->Handle(), ColorToRGB(Font()->Color()));
  Uni_DrawTextW(Canvas->Handle(), Text.c_str(), -1, &r, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
}

void TTaskMessageForm::PaintWindow(HDC DC) {
  if (!FTaskDialog) return;
  TUniTaskDialog* TD = FTaskDialog;
  RECT client = ClientRect();
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(DC, &client, white);
  DeleteObject(white);
  auto line = [DC](int x1, int y, int x2, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(DC, pen);
    MoveToEx(DC, x1, y, nullptr);
    LineTo(DC, x2, y);
    SelectObject(DC, old);
    DeleteObject(pen);
  };
  if (BandTop > 0 && BandTop < client.bottom) {
    RECT band{0, BandTop, client.right, client.bottom};
    HBRUSH brush = CreateSolidBrush(kBand);
    FillRect(DC, &band, brush);
    DeleteObject(brush);
    line(0, BandTop, client.right, kEdge);
  }
  if (FIcon) DrawIconEx(DC, HorzMargin, VertMargin, FIcon, 32, 32, 0, nullptr, DI_NORMAL);
  if (FShieldIcon) DrawTransparentBitmap(DC, FShield.get(), HorzMargin, VertMargin);

  TCanvas canvas;
  canvas.SetHandle(DC);
  canvas.SetFont(Font());
  if (FContentHeight) DrawText(&canvas, TD->Content(), ContentRect(), Hyperlinks());
  if (ExpandButton && FExpanded) DrawText(&canvas, TD->ExpandedText(), ExpandedTextRect(), Hyperlinks());
  if (ExpandButton) {
    RECT r{ExpandButton->Left() + ExpandButton->Width() + HorzSpacing - 5, ExpandButton->Top(), client.right,
           ExpandButton->Top() + ExpandButton->Height()};
    const WideString& label = FExpanded ? TD->ExpandControlText : TD->CollapsControlText;
    canvas.RequiredState(csHandleValid | csFontValid);
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(Font()->Color()));
    Uni_DrawTextW(DC, label.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER);
  }
  if (FFooterHeight) {
    RECT r = FooterRect();
    int sep = r.top - VertSpacing / 2;
    line(2, sep, client.right - 3, kEdge);
    line(2, sep + 1, client.right - 3, RGB(255, 255, 255));
    if (FFooterIcon) DrawIconEx(DC, HorzMargin, r.top, FFooterIcon, 16, 16, 0, nullptr, DI_NORMAL);
    if (FShieldFooter && !FShield->Empty()) {
      HDC mem = CreateCompatibleDC(DC);
      HGDIOBJ old = SelectObject(mem, FShield->Handle());
      TransparentBlt(DC, HorzMargin, r.top, 16, 16, mem, 0, 0, 32, 32, RGB(255, 0, 255));
      SelectObject(mem, old);
      DeleteDC(mem);
    }
    Html(&canvas, TD->Footer(), r, false);
  }
  canvas.SetHandle(nullptr);
}

WideString TTaskMessageForm::AnchorAt(int X, int Y) {
  TScreenCanvas canvas;
  canvas->SetFont(Font());
  auto test = [&](const WideString& text, const RECT& r) -> WideString {
    POINT pt{X, Y};
    if (text.empty() || !PtInRect(&r, pt)) return WideString();
    THtmlAnswer a = Html(canvas.get(), text, r, false, X, Y, true);
    return a.OnLink ? a.Href : WideString();
  };
  if (FFooterHeight) {
    WideString href = test(FTaskDialog->Footer(), FooterRect());
    if (!href.empty()) return href;
  }
  if (Hyperlinks()) {
    WideString href = test(FTaskDialog->Content(), ContentRect());
    if (!href.empty()) return href;
    if (ExpandButton && FExpanded) return test(FTaskDialog->ExpandedText(), ExpandedTextRect());
  }
  return WideString();
}

void TTaskMessageForm::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TUniForm::MouseDown(Button, Shift, X, Y);
  WideString href = AnchorAt(X, Y);
  if (href.empty()) return;
  if (FTaskDialog->OnDialogHyperlinkClick)
    FTaskDialog->OnDialogHyperlinkClick(FTaskDialog, href);
  else
    OpenLink(nullptr, href);
}

void TTaskMessageForm::MouseMove(TShiftState Shift, int X, int Y) {
  TUniForm::MouseMove(Shift, X, Y);
  LastAnchor = AnchorAt(X, Y);
}

void TTaskMessageForm::ButtonClick(TObject* Sender) {
  if (FTaskDialog->OnDialogButtonClick) {
    auto it = std::find(CustomButtonList.begin(), CustomButtonList.end(), static_cast<TControl*>(Sender));
    if (it != CustomButtonList.end())
      FTaskDialog->OnDialogButtonClick(FTaskDialog, 100 + static_cast<int>(it - CustomButtonList.begin()));
  }
}

void TTaskMessageForm::RadioClick(TObject* Sender) {
  auto it = std::find(RadioList.begin(), RadioList.end(), Sender);
  if (it == RadioList.end()) return;
  FTaskDialog->RadioResult = 200 + static_cast<int>(it - RadioList.begin());
  if (FTaskDialog->OnDialogRadioClick) FTaskDialog->OnDialogRadioClick(FTaskDialog, FTaskDialog->RadioResult);
}

void TTaskMessageForm::VerifyClick(TObject* Sender) {
  FTaskDialog->VerifyResult = VerifyCheck->Checked();
  if (FTaskDialog->OnDialogVerifyClick) FTaskDialog->OnDialogVerifyClick(FTaskDialog, VerifyCheck->Checked());
}

void TTaskMessageForm::ExpandClick(TObject* Sender) {
  if (ExpandButton) SetExpanded(!FExpanded);
}

void TTaskMessageForm::TimerProc(TObject* Sender) {
  if (FTaskDialog->OnDialogTimer) FTaskDialog->OnDialogTimer(FTaskDialog);
  if (FTaskDialog->OnDialogProgress && ProgressBar) {
    int pos = ProgressBar->Position();
    TTaskDialogProgressState state = psNormal;
    FTaskDialog->OnDialogProgress(FTaskDialog, pos, state);
    ProgressBar->SetPosition(pos);
  }
}

void TTaskMessageForm::DoClose(TCloseAction& Action) {
  bool canClose = true;
  if (FTaskDialog->OnDialogClose) FTaskDialog->OnDialogClose(FTaskDialog, canClose);
  if (!canClose) {
    Action = caNone;
  } else {
    // The results are what the controls show as the form closes.
    if (VerifyCheck) FTaskDialog->VerifyResult = VerifyCheck->Checked();
    if (!RadioList.empty()) {
      FTaskDialog->RadioResult = 0;
      for (size_t i = 0; i < RadioList.size(); ++i)
        if (RadioList[i]->Checked()) FTaskDialog->RadioResult = 200 + static_cast<int>(i);
    }
  }
  TUniForm::DoClose(Action);
}

void TTaskMessageForm::DoShow() {
  TUniForm::DoShow();
  int index = FTaskDialog->DefaultButton - 100;
  if (index >= 0 && index < static_cast<int>(CustomButtonList.size()))
    if (auto* w = dynamic_cast<TWinControl*>(CustomButtonList[index])) SetActiveControl(w);
}

WideString TTaskMessageForm::GetFormText() {
  const WideString divider = WideString(27, L'-') + L"\r\n";
  WideString buttons;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* b = dynamic_cast<TUniButton*>(Components(i))) {
      WideString caption = b->Caption();
      caption.erase(std::remove(caption.begin(), caption.end(), L'&'), caption.end());
      buttons += caption + L"   ";
    }
  return divider + Caption() + L"\r\n" + divider + InstructionLabel->Caption() + L"\r\n" + divider + buttons +
         L"\r\n" + divider;
}

void TTaskMessageForm::CustomKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
  if (Key == VK_F4 && (Shift & ssAlt)) {
    Key = 0;
    return;
  }
  if (Shift == ssCtrl && Key == 'C') {
    MessageBeep(0);
    WriteToClipboard(GetFormText());
  }
}

void TTaskMessageForm::CMDialogChar(TMessage& Message) {
  const WORD ch = static_cast<WORD>(Message.WParam);
  if (FTaskDialog->Options & (Bit(doCommandLinks) | Bit(doCommandLinksNoIcon))) {
    for (TControl* c : CustomButtonList)
      if (auto* link = dynamic_cast<TTaskDialogButton*>(c); link && IsWideAccelChar(ch, link->Caption())) {
        if (CanFocus()) link->Click();
        Message.Result = 1;
        return;
      }
  }
  if (ExpandButton && IsWideAccelChar(ch, FExpanded ? FTaskDialog->ExpandControlText : FTaskDialog->CollapsControlText)) {
    SetExpanded(!FExpanded);
    Message.Result = 1;
    return;
  }
  TUniForm::Dispatch(Message);
  if (Message.Result == 0 && ch == VK_ESCAPE && (FTaskDialog->Options & Bit(doAllowDialogCancel))) Close();
}

void TTaskMessageForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      return;
    case WM_SETCURSOR:
      if (!LastAnchor.empty() && LOWORD(Message.LParam) == HTCLIENT) {
        ::SetCursor(LoadCursorA(nullptr, IDC_HAND));
        Message.Result = 1;
        return;
      }
      break;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
  }
  TUniForm::Dispatch(Message);
}

int ShowEmulatedTaskDialog(TUniTaskDialog* TaskDialog, int X, int Y) {
  if (!TaskDialog) return -1;
  TComponent* owner = TaskDialog->ApplicationIsParent ? static_cast<TComponent*>(Application) : TaskDialog->Owner();
  TTaskMessageForm* form = TCustomForm::CreateNew<TTaskMessageForm>(owner);
  struct Free {
    TTaskMessageForm* f;
    TUniTaskDialog* td;
    ~Free() {
      td->FForm = nullptr;
      f->Free();
    }
  } release{form, TaskDialog};
  form->Build(TaskDialog);
  TaskDialog->FForm = form;
  if (TaskDialog->OnDialogCreated) TaskDialog->OnDialogCreated(TaskDialog);
  if (X >= 0 || Y >= 0) {
    form->SetBounds(std::max(X, 0), std::max(Y, 0), form->Width(), form->Height());
  } else {
    form->SetPosition(TaskDialog->DialogPosition == dpOwnerFormCenter ? poMainFormCenter : poScreenCenter);
  }
  return form->ShowModal();
}

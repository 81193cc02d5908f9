#include "widetext/uni_labels.h"

#include "vcl/streaming.h"
#include "widetext/platform.h"
#include "widetext/uni_controls.h"
#include "widetext/uni_forms.h"
#include "widetext/uni_hints.h"

namespace {

template <class C>
const std::vector<TPropInfo>& WideCaptionProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<C>()
      .Property("Caption", &C::Caption, &C::SetCaption).Stored(&C::IsCaptionStored)
      .Property("Hint", &C::Hint, &C::SetHint).Stored(&C::IsHintStored)
      .Table();
  return table;
}

// The wide form of a caption made for measuring: an empty caption (or a lone accelerator
// mark) still measures one line high.
WideString MeasurableText(WideString Text, UINT Flags, bool ShowAccelChar) {
  if ((Flags & DT_CALCRECT) && (Text.empty() || (ShowAccelChar && Text == L"&"))) Text += L' ';
  return Text;
}

}  // namespace

VCL_CLASS_IMPL(TUniCustomLabel, TCustomLabel, nullptr, &WideCaptionProperties<TUniCustomLabel>)
VCL_CLASS_IMPL(TUniLabel, TUniCustomLabel, &CreateComponentOf<TUniLabel>, nullptr)
VCL_CLASS_IMPL(TUniCustomStaticText, TCustomStaticText, nullptr, &WideCaptionProperties<TUniCustomStaticText>)
VCL_CLASS_IMPL(TUniStaticText, TUniCustomStaticText, &CreateComponentOf<TUniStaticText>, nullptr)
VCL_CLASS_IMPL(TUniCustomGroupBox, TCustomGroupBox, nullptr, &WideCaptionProperties<TUniCustomGroupBox>)
VCL_CLASS_IMPL(TUniGroupBox, TUniCustomGroupBox, &CreateComponentOf<TUniGroupBox>, nullptr)

void RegisterUniLabelControls() {
  RegisterClasses({TUniLabel::StaticClass(), TUniStaticText::StaticClass(), TUniGroupBox::StaticClass()});
}

// ---------------------------------------------------------------------------
// TUniCustomLabel

TUniCustomLabel::TUniCustomLabel(TComponent* AOwner) : TUniCaptionControl<TCustomLabel>(AOwner) {}

void TUniCustomLabel::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_HINTSHOW) PrepareWideHintShow(Message);
  TCustomLabel::Dispatch(Message);
}

WideString TUniCustomLabel::GetWideLabelText() { return Caption(); }

void TUniCustomLabel::DoDrawText(RECT& Rect, UINT Flags) {
  if (!UnicodePlatform) {
    TCustomLabel::DoDrawText(Rect, Flags);
    return;
  }
  WideString text = MeasurableText(GetWideLabelText(), Flags, ShowAccelChar());
  DrawLabelText(Rect, Flags, [&text](HDC dc, RECT& r, UINT f) {
    Uni_DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, f);
  });
}

bool TUniCustomLabel::IsAccelOfCaption(WORD CharCode) { return IsWideAccelChar(CharCode, Caption()); }

// ---------------------------------------------------------------------------
// TUniCustomStaticText

TUniCustomStaticText::TUniCustomStaticText(TComponent* AOwner) : TUniCaptionControl<TCustomStaticText>(AOwner) {}

void TUniCustomStaticText::CreateWindowHandle(const TCreateParams& Params) {
  CreateUnicodeHandle(this, Params, L"STATIC");
}

void TUniCustomStaticText::AdjustBounds() {
  if (!UnicodePlatform) {
    TCustomStaticText::AdjustBounds();
    return;
  }
  if (HasState(csLoading) || !AutoSize()) return;
  WideString text = Caption();
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  SetBounds(Left(), Top(), extent.cx + 4 * GetSystemMetrics(SM_CXBORDER),
            extent.cy + 4 * GetSystemMetrics(SM_CYBORDER));
}

bool TUniCustomStaticText::IsAccelOfCaption(WORD CharCode) { return IsWideAccelChar(CharCode, Caption()); }

// ---------------------------------------------------------------------------
// TUniCustomGroupBox

TUniCustomGroupBox::TUniCustomGroupBox(TComponent* AOwner) : TUniCaptionControl<TCustomGroupBox>(AOwner) {}

void TUniCustomGroupBox::CreateWindowHandle(const TCreateParams& Params) { CreateUnicodeHandle(this, Params, L""); }

bool TUniCustomGroupBox::DrawCaptionText(HDC DC, RECT& Rect, UINT Flags) {
  if (!UnicodePlatform) return TCustomGroupBox::DrawCaptionText(DC, Rect, Flags);
  WideString text = Caption();
  if (text.empty()) return false;
  Uni_DrawTextW(DC, text.c_str(), static_cast<int>(text.size()), &Rect, Flags);
  return true;
}

WideString TUniCustomGroupBox::ThemedCaptionText() {
  if (!UnicodePlatform) return TCustomGroupBox::ThemedCaptionText();
  return Caption();
}

bool TUniCustomGroupBox::IsAccelOfCaption(WORD CharCode) { return IsWideAccelChar(CharCode, Caption()); }

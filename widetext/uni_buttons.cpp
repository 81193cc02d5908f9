#include "widetext/uni_buttons.h"

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

const std::vector<TPropInfo>& UniBitBtnProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniBitBtn>()
      .Property("Caption", &TUniBitBtn::Caption, &TUniBitBtn::SetCaption).Stored(&TUniBitBtn::IsCaptionStored)
      .Property("Hint", &TUniBitBtn::Hint, &TUniBitBtn::SetHint).Stored(&TUniBitBtn::IsHintStored)
      .Table();
  return table;
}

void DrawWideCaption(TControl* Control, HDC DC, RECT& Rect, UINT Flags) {
  WideString text = UniControl_GetText(Control);
  Uni_DrawTextW(DC, text.c_str(), static_cast<int>(text.size()), &Rect, Flags);
}

void PrepareAllGlyphImages(TButtonGlyph* Glyph) {
  for (TButtonState state : {bsUp, bsDisabled, bsDown, bsExclusive}) Glyph->GlyphIndex(state);
}

}  // namespace

VCL_CLASS_IMPL(TUniButton, TButton, &CreateComponentOf<TUniButton>, &WideCaptionProperties<TUniButton>)
VCL_CLASS_IMPL(TUniCustomCheckBox, TCustomCheckBox, nullptr, &WideCaptionProperties<TUniCustomCheckBox>)
VCL_CLASS_IMPL(TUniCheckBox, TUniCustomCheckBox, &CreateComponentOf<TUniCheckBox>, nullptr)
VCL_CLASS_IMPL(TUniRadioButton, TRadioButton, &CreateComponentOf<TUniRadioButton>,
               &WideCaptionProperties<TUniRadioButton>)
VCL_CLASS_IMPL(TUniBitBtn, TBitBtn, &CreateComponentOf<TUniBitBtn>, &UniBitBtnProperties)
VCL_CLASS_IMPL(TUniSpeedButton, TSpeedButton, &CreateComponentOf<TUniSpeedButton>,
               &WideCaptionProperties<TUniSpeedButton>)

void RegisterUniButtonControls() {
  RegisterClasses({TUniButton::StaticClass(), TUniCheckBox::StaticClass(), TUniRadioButton::StaticClass(),
                   TUniBitBtn::StaticClass(), TUniSpeedButton::StaticClass()});
}

int UniButtonGlyphIndex(TControl* Control, TButtonState State) {
  auto* button = dynamic_cast<IUniGlyphButton*>(Control);
  if (!button) throw EUniInternalError("Internal Error: Control does not support IUniGlyphButton.");
  TButtonGlyph* glyph = button->ButtonGlyphObject();
  if (glyph->Glyph()->Empty()) return -1;
  int index = glyph->CachedIndex(State);
  if (index < 0) {
    button->PrepareGlyphList();
    index = glyph->CachedIndex(State);
  }
  return index;
}

// ---------------------------------------------------------------------------

void TUniButton::CreateWindowHandle(const TCreateParams& Params) { CreateUnicodeHandle(this, Params, L"BUTTON"); }
bool TUniButton::IsAccelOfCaption(WORD CharCode) { return IsWideAccelChar(CharCode, Caption()); }

void TUniCustomCheckBox::CreateWindowHandle(const TCreateParams& Params) {
  CreateUnicodeHandle(this, Params, L"BUTTON");
}
bool TUniCustomCheckBox::IsAccelOfCaption(WORD CharCode) { return IsWideAccelChar(CharCode, Caption()); }

void TUniRadioButton::CreateWindowHandle(const TCreateParams& Params) {
  CreateUnicodeHandle(this, Params, L"BUTTON");
}
bool TUniRadioButton::IsAccelOfCaption(WORD CharCode) { return IsWideAccelChar(CharCode, Caption()); }

// ---------------------------------------------------------------------------
// TUniBitBtn

void TUniBitBtn::CreateWindowHandle(const TCreateParams& Params) { CreateUnicodeHandle(this, Params, L"BUTTON"); }

void TUniBitBtn::PrepareGlyphList() {
  PrepareAllGlyphImages(ButtonGlyph());
  Invalidate();
}

bool TUniBitBtn::IsCaptionStored() const {
  auto* self = const_cast<TUniBitBtn*>(this);
  const TMetaClass* rule = self->Kind() == bkCustom ? TButton::StaticClass() : TBitBtn::StaticClass();
  return IsStoredProp(self, FindPropInfo(rule, "Caption"));
}

void TUniBitBtn::DrawCaptionText(HDC DC, RECT& Rect, UINT Flags) {
  if (!UnicodePlatform) {
    TBitBtn::DrawCaptionText(DC, Rect, Flags);
    return;
  }
  DrawWideCaption(this, DC, Rect, Flags);
}

bool TUniBitBtn::HasCaption() { return !Caption().empty(); }

bool TUniBitBtn::IsAccelOfCaption(WORD CharCode) { return IsWideAccelChar(CharCode, Caption()); }

// ---------------------------------------------------------------------------
// TUniSpeedButton

void TUniSpeedButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_HINTSHOW) PrepareWideHintShow(Message);
  TSpeedButton::Dispatch(Message);
}

void TUniSpeedButton::PrepareGlyphList() {
  PrepareAllGlyphImages(ButtonGlyph());
  Invalidate();
}

void TUniSpeedButton::DrawCaptionText(HDC DC, RECT& Rect, UINT Flags) {
  if (!UnicodePlatform) {
    TSpeedButton::DrawCaptionText(DC, Rect, Flags);
    return;
  }
  DrawWideCaption(this, DC, Rect, Flags);
}

bool TUniSpeedButton::HasCaption() { return !Caption().empty(); }

bool TUniSpeedButton::IsAccelOfCaption(WORD CharCode) { return IsWideAccelChar(CharCode, Caption()); }

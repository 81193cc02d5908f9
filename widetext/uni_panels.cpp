#include "widetext/uni_panels.h"

#include "vcl/streaming.h"
#include "widetext/platform.h"
#include "widetext/uni_controls.h"
#include "widetext/uni_hints.h"
#include "widetext/wide_canvas.h"
#include "widetext/wide_control_text.h"
#include "widetext/wide_props.h"

namespace {

template <class T>
const std::vector<TPropInfo>& WideHintProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("Hint", &T::Hint, &T::SetHint).Stored(&T::IsHintStored)
      .Table();
  return table;
}

const std::vector<TPropInfo>& UniCustomPanelProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniCustomPanel>()
      .Property("Caption", &TUniCustomPanel::Caption, &TUniCustomPanel::SetCaption)
          .Stored(&TUniCustomPanel::IsCaptionStored)
      .Property("Hint", &TUniCustomPanel::Hint, &TUniCustomPanel::SetHint).Stored(&TUniCustomPanel::IsHintStored)
      .Table();
  return table;
}

// Window-less controls answer the hint question themselves: the wide hint window goes in
// before the framework's handling.
void DispatchWithWideHint(TMessage& Message, const std::function<void(TMessage&)>& Inherited) {
  if (Message.Msg == CM_HINTSHOW) PrepareWideHintShow(Message);
  Inherited(Message);
}

}  // namespace

VCL_CLASS_IMPL(TUniImage, TImage, &CreateComponentOf<TUniImage>, &WideHintProperties<TUniImage>)
VCL_CLASS_IMPL(TUniBevel, TBevel, &CreateComponentOf<TUniBevel>, &WideHintProperties<TUniBevel>)
VCL_CLASS_IMPL(TUniCustomPanel, TCustomPanel, &CreateComponentOf<TUniCustomPanel>, &UniCustomPanelProperties)
VCL_CLASS_IMPL(TUniPanel, TUniCustomPanel, &CreateComponentOf<TUniPanel>, nullptr)
VCL_CLASS_IMPL(TUniSplitter, TSplitter, &CreateComponentOf<TUniSplitter>, &WideHintProperties<TUniSplitter>)

void RegisterUniPanelControls() {
  RegisterClasses({TUniImage::StaticClass(), TUniBevel::StaticClass(), TUniPanel::StaticClass(),
                   TUniSplitter::StaticClass()});
}

// ---------------------------------------------------------------------------

TUniImage::TUniImage(TComponent* AOwner) : TImage(AOwner) { ReplacePicture(new TUniPicture); }
WideString TUniImage::Hint() { return UniControl_GetHint(this); }
void TUniImage::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniImage::IsHintStored() const { return UniControl_IsHintStored(this); }
void TUniImage::DefineProperties(TFiler* Filer) {
  TImage::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}
void TUniImage::Dispatch(TMessage& Message) {
  DispatchWithWideHint(Message, [this](TMessage& m) { TImage::Dispatch(m); });
}

TUniBevel::TUniBevel(TComponent* AOwner) : TBevel(AOwner) {}
WideString TUniBevel::Hint() { return UniControl_GetHint(this); }
void TUniBevel::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniBevel::IsHintStored() const { return UniControl_IsHintStored(this); }
void TUniBevel::DefineProperties(TFiler* Filer) {
  TBevel::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}
void TUniBevel::Dispatch(TMessage& Message) {
  DispatchWithWideHint(Message, [this](TMessage& m) { TBevel::Dispatch(m); });
}

TUniSplitter::TUniSplitter(TComponent* AOwner) : TSplitter(AOwner) {}
WideString TUniSplitter::Hint() { return UniControl_GetHint(this); }
void TUniSplitter::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniSplitter::IsHintStored() const { return UniControl_IsHintStored(this); }
void TUniSplitter::DefineProperties(TFiler* Filer) {
  TSplitter::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}
void TUniSplitter::Dispatch(TMessage& Message) {
  DispatchWithWideHint(Message, [this](TMessage& m) { TSplitter::Dispatch(m); });
}

// ---------------------------------------------------------------------------

TUniCustomPanel::TUniCustomPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
WideString TUniCustomPanel::Caption() { return UniControl_GetText(this); }
void TUniCustomPanel::SetCaption(const WideString& Value) { UniControl_SetText(this, Value); }
WideString TUniCustomPanel::Hint() { return UniControl_GetHint(this); }
void TUniCustomPanel::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniCustomPanel::IsCaptionStored() const { return UniControl_IsCaptionStored(this); }
bool TUniCustomPanel::IsHintStored() const { return UniControl_IsHintStored(this); }

void TUniCustomPanel::DefineProperties(TFiler* Filer) {
  TCustomPanel::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniCustomPanel::CreateWindowHandle(const TCreateParams& Params) { CreateUnicodeHandle(this, Params, L""); }

void TUniCustomPanel::Paint() {
  if (!UnicodePlatform) {
    TCustomPanel::Paint();
    return;
  }
  TCanvas* canvas = Canvas();
  RECT r = ClientRect();
  PaintFrame(canvas, r);
  canvas->Brush()->SetStyle(bsClear);
  canvas->SetFont(Font());
  r = CaptionBand(r, WideCanvasTextHeight(canvas, L"W"));
  const WideString text = Caption();
  canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
  Uni_DrawTextW(canvas->Handle(), text.c_str(), -1, &r, CaptionFlags());
}

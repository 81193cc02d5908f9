#include "vcl/extctrls.h"

#include "vcl/streaming.h"

namespace {

const std::vector<TPropInfo>& PanelProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TPanel>()
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TPanel, TCustomControl, &CreateComponentOf<TPanel>, &PanelProperties)

void RegisterExtControls() { RegisterClasses({TPanel::StaticClass()}); }

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks;
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TPanel::Dispatch(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (Message.Msg == CM_TEXTCHANGED) Invalidate();
}

void TPanel::Paint() {
  TCanvas* canvas = Canvas();
  RECT r = ClientRect();
  Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
  PrepareTextArea(canvas, r, Color(), Font());
  AnsiString text = Caption();
  DrawTextA(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
            DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS));
}

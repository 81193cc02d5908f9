#include "wizard/extended_controls.h"

namespace {

struct TDlgCodeValue {
  TDlgCode Code;
  LRESULT Value;
};
constexpr TDlgCodeValue kDlgCodeValues[] = {
    {dcWantAllKeys, DLGC_WANTALLKEYS}, {dcWantArrows, DLGC_WANTARROWS}, {dcWantMessage, DLGC_WANTMESSAGE},
    {dcWantChars, DLGC_WANTCHARS},     {dcHasSetSel, DLGC_HASSETSEL},   {dcWantTab, DLGC_WANTTAB},
};

template <class C>
const std::vector<TPropInfo>& WindowedProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<C>()
      .Property("DotNetHighlighting", &C::DotNetHighlighting, &C::SetDotNetHighlighting).Default(false)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TKvExCustomControl, TCustomControl, &CreateComponentOf<TKvExCustomControl>,
               &WindowedProperties<TKvExCustomControl>)
VCL_CLASS_IMPL(TKvExScrollBox, TScrollBox, &CreateComponentOf<TKvExScrollBox>, &WindowedProperties<TKvExScrollBox>)
VCL_CLASS_IMPL(TKvExPanel, TPanel, &CreateComponentOf<TKvExPanel>, &WindowedProperties<TKvExPanel>)
VCL_CLASS_IMPL(TKvExGraphicControl, TGraphicControl, &CreateComponentOf<TKvExGraphicControl>, nullptr)
VCL_CLASS_IMPL(TKvExImage, TImage, &CreateComponentOf<TKvExImage>, nullptr)

TDlgCodes DlgCodesFromResult(LRESULT Result) {
  TDlgCodes codes = 0;
  for (const auto& v : kDlgCodeValues)
    if (Result & v.Value) codes |= DlgCodeBit(v.Code);
  return codes;
}

LRESULT DlgCodesToResult(TDlgCodes Codes) {
  LRESULT result = 0;
  for (const auto& v : kDlgCodeValues)
    if (Codes & DlgCodeBit(v.Code)) result |= v.Value;
  return result;
}

LPARAM ShiftStateToKeyData(TShiftState Shift) {
  LPARAM data = 0;
  if (Shift & ssShift) data |= 0x08000000;
  if (Shift & ssAlt) data |= 0x20000000;
  if (Shift & ssCtrl) data |= 0x10000000;
  return data;
}

TFlatBorderColors FlatBorderColors(TColor ControlColor, bool Highlighted) {
  if (Highlighted) return {FlatHighlightColor, FlatHighlightColor};
  return {static_cast<TColor>(0x808080), ControlColor};
}

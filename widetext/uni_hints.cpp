#include "widetext/uni_hints.h"

#include "vcl/actions.h"
#include "vcl/application.h"
#include "vcl/forms.h"
#include "widetext/platform.h"
#include "widetext/uni_controls.h"
#include "widetext/wide_control_text.h"

VCL_CLASS_IMPL(TUniCustomHintWindow, THintWindow, &CreateComponentOf<TUniCustomHintWindow>, nullptr)

namespace {

// Sets a flag for a scope and puts its old value back.
class TFlagScope {
 public:
  TFlagScope(bool& Flag, bool Value) : FFlag(Flag), FSaved(Flag) { FFlag = Value; }
  ~TFlagScope() { FFlag = FSaved; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& FFlag;
  bool FSaved;
};

// Whether Size bytes at Address can be read (committed, readable, no guard page).
bool IsReadableMemory(const void* Address, size_t Size) {
  const auto* p = static_cast<const char*>(Address);
  const char* end = p + Size;
  if (!p || end < p) return false;
  while (p < end) {
    MEMORY_BASIC_INFORMATION mbi{};
    if (!VirtualQuery(p, &mbi, sizeof mbi) || mbi.State != MEM_COMMIT) return false;
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (!(mbi.Protect & readable) || (mbi.Protect & (PAGE_GUARD | PAGE_NOACCESS))) return false;
    p = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
  }
  return true;
}

// The hint information behind a wide hint: the data points at hint information whose own
// data points back at it, and whose window class is a wide one. The data may come from an
// application's hint handler and point anywhere: nothing is read before it is known to be
// readable, and anything that fails the checks is no mark.
const THintInfo* WideHintMark(void* AData) {
  auto* info = static_cast<const THintInfo*>(AData);
  if (!info || !IsReadableMemory(info, sizeof(THintInfo))) return nullptr;
  if (info->HintData != AData || !info->HintWindowClass) return nullptr;
  // A chain of made-up classes could loop: no real one is this deep.
  int depth = 0;
  for (const TMetaClass* c = info->HintWindowClass; c && depth < 64; c = c->Parent, ++depth) {
    if (!IsReadableMemory(c, sizeof(TMetaClass))) return nullptr;
    if (c == TUniCustomHintWindow::StaticClass()) return info;
  }
  return nullptr;
}

UINT HintTextFlags(const TControl* Control) {
  return DT_WORDBREAK | DT_NOPREFIX | Control->DrawTextBiDiModeFlagsReadingOnly();
}

SIZE WideTextExtent(TCanvas* Canvas, const WideString& Text) {
  SIZE size{0, 0};
  Canvas->RequiredState(csHandleValid | csFontValid);
  if (!GetTextExtentPoint32W(Canvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), &size)) size = SIZE{0, 0};
  return size;
}

}  // namespace

void PrepareWideHintShow(TMessage& Message) {
  if (!UnicodePlatform) return;
  THintInfo* info = TCMHintShow{Message}.HintInfo();
  if (!info) return;
  if (info->HintWindowClass == THintWindow::StaticClass())
    info->HintWindowClass = TUniCustomHintWindow::StaticClass();
  else if (!info->HintWindowClass || !info->HintWindowClass->InheritsFrom(TUniCustomHintWindow::StaticClass()))
    return;
  info->HintData = info;
  info->HintStr = WideToAnsi(WideShortHint(WideHintOfControl(info->HintControl)));
}

WideString WideHintOfShownHint(const AnsiString& HintStr, const THintInfo& Info) {
  WideString result = AnsiToWide(HintStr);
  if (HintStr.empty()) return result;
  const WideString shortHint = WideShortHint(WideHintOfControl(Info.HintControl));
  const AnsiString ansiShortHint = WideToAnsi(shortHint);
  if (ansiShortHint == HintStr) return shortHint;
  if (Application && Application->HintShortCuts && Info.HintControl) {
    auto* action = dynamic_cast<TCustomAction*>(Info.HintControl->Action());
    if (action && action->ShortCut() != scNone) {
      const AnsiString shortCutText = ShortCutToText(action->ShortCut());
      if (HintStr == Format("%s (%s)", ansiShortHint.c_str(), shortCutText.c_str()))
        return WideFormat(L"%ls (%ls)", shortHint.c_str(), AnsiToWide(shortCutText).c_str());
    }
  }
  return result;
}

// ---------------------------------------------------------------------------

TUniCustomHintWindow::TUniCustomHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void TUniCustomHintWindow::CreateWindowHandle(const TCreateParams& Params) {
  CreateUnicodeHandle(this, Params, L"");
}

void TUniCustomHintWindow::Paint() {
  if (FBlockPaint) return;
  if (!UnicodePlatform) {
    THintWindow::Paint();
    return;
  }
  RECT r = ClientRect();
  r.left += 2;
  r.top += 2;
  TCanvas* canvas = Canvas();
  canvas->Font()->SetColor(InitScreen()->HintFont()->Color());
  canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
  WideString text = Caption();
  Uni_DrawTextW(canvas->Handle(), text.c_str(), -1, &r, HintTextFlags(this));
}

void TUniCustomHintWindow::Dispatch(TMessage& Message) {
  if (Message.Msg != CM_TEXTCHANGED) {
    THintWindow::Dispatch(Message);
    return;
  }
  // The 8-bit window's sizing would measure the 8-bit caption: skipped for the wide one.
  TCustomControl::Dispatch(Message);
  if (FActivating) return;
  SIZE size = WideTextExtent(Canvas(), Caption());
  SetBounds(Left(), Top(), size.cx + 6, size.cy + 6);
}

void TUniCustomHintWindow::ActivateHint(RECT Rect, const AnsiString& AHint) {
  TFlagScope activating(FActivating, true);
  THintWindow::ActivateHint(Rect, AHint);
}

void TUniCustomHintWindow::ActivateHintData(RECT Rect, const AnsiString& AHint, void* AData) {
  const THintInfo* info = UnicodePlatform ? WideHintMark(AData) : nullptr;
  if (!info) {
    THintWindow::ActivateHintData(Rect, AHint, AData);
    return;
  }
  {
    TFlagScope blockPaint(FBlockPaint, true);
    TFlagScope activating(FActivating, true);
    THintWindow::ActivateHintData(Rect, AHint, AData);
    SetCaption(WideHintOfShownHint(AHint, *info));
  }
  Invalidate();
}

RECT TUniCustomHintWindow::CalcHintRect(int MaxWidth, const AnsiString& AHint, void* AData) {
  const THintInfo* info = UnicodePlatform ? WideHintMark(AData) : nullptr;
  if (!info) return THintWindow::CalcHintRect(MaxWidth, AHint, AData);
  WideString text = WideHintOfShownHint(AHint, *info);
  RECT r{0, 0, MaxWidth, 0};
  TCanvas* canvas = Canvas();
  canvas->RequiredState(csHandleValid | csFontValid);
  DrawTextW(canvas->Handle(), text.c_str(), -1, &r, DT_CALCRECT | HintTextFlags(this));
  r.right += 6;
  r.bottom += 2;
  return r;
}

// Extended control bases: the framework's control notices (CM_ messages and a few window
// messages) turned into overridable methods, plus a hint colour, mouse enter/leave events
// and, for windowed controls, an optional flat highlighted border.
//
// Each default method hands the same message to the base class's own handling, so a
// descendant changes behaviour only where it overrides one. Two families share the code:
// windowed controls (custom control, scroll box, panel) and graphic controls (graphic
// control, image); the mixins below hold it once for each family.
#pragma once

#include <windows.h>

#include <memory>

#include "vcl/application.h"
#include "vcl/controls.h"
#include "vcl/extctrls.h"
#include "vcl/hints.h"
#include "vcl/keyboard.h"

// Dialog codes a control may ask for, as a bit set; dcNative means "keep what the base
// class answered".
enum TDlgCode { dcWantAllKeys, dcWantArrows, dcWantMessage, dcWantChars, dcHasSetSel, dcWantTab, dcNative };
using TDlgCodes = unsigned;
constexpr TDlgCodes DlgCodeBit(TDlgCode c) { return 1u << static_cast<unsigned>(c); }
// The set for a WM_GETDLGCODE answer, and back; dcNative has no Windows value.
TDlgCodes DlgCodesFromResult(LRESULT Result);
LRESULT DlgCodesToResult(TDlgCodes Codes);
// Key data of CM_DIALOGCHAR rebuilt from a shift state (shift, alt and control bits).
LPARAM ShiftStateToKeyData(TShiftState Shift);

// The rectangle ring the flat border occupies: the window less its inner part.
struct TFlatBorderColors {
  TColor Outer;
  TColor Inner;
};
// Colours of the flat border: grey and the control's colour, or the highlight colour for
// both while the control has the focus or the mouse.
TFlatBorderColors FlatBorderColors(TColor ControlColor, bool Highlighted);
constexpr TColor FlatHighlightColor = static_cast<TColor>(0x733800);

// What every extended control has, windowed or not.
struct TKvExCommon {
  TColor HintColor = clDefault;
  bool MouseOver = false;
  const TMetaClass* HintWindowClass = nullptr;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnParentColorChange;
};

// The graphic family's dispatch and defaults over a control class Base.
template <class Base>
class TKvExGraphicMixin : public Base, public TKvExCommon {
 public:
  explicit TKvExGraphicMixin(TComponent* AOwner) : Base(AOwner) { HintColor = clDefault; }

  void WndProc(TMessage& Message) override { ExDispatch(Message); }

 protected:
  // Sends a message straight to the base class's handling.
  LRESULT BaseSend(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) {
    TMessage m{Msg, WParam, LParam, 0};
    Base::WndProc(m);
    return m.Result;
  }

  virtual void TextChanged() { BaseSend(CM_TEXTCHANGED); }
  virtual bool WantKey(int Key, TShiftState Shift, const WideString& KeyText) {
    return BaseSend(CM_DIALOGCHAR, static_cast<WPARAM>(Key), ShiftStateToKeyData(Shift)) != 0;
  }
  virtual bool HitTest(int X, int Y) {
    return BaseSend(CM_HITTEST, 0, static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(X, Y)))) != 0;
  }

  virtual void FocusChanged(TControl* Control) { BaseSend(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control)); }
  virtual void VisibleChanged() { BaseSend(CM_VISIBLECHANGED); }
  virtual void EnabledChanged() { BaseSend(CM_ENABLEDCHANGED); }
  virtual void ColorChanged() { BaseSend(CM_COLORCHANGED); }
  virtual void FontChanged() { BaseSend(CM_FONTCHANGED); }
  virtual void ParentFontChanged() { BaseSend(CM_PARENTFONTCHANGED); }
  virtual void ParentColorChanged() {
    BaseSend(CM_PARENTCOLORCHANGED);
    if (OnParentColorChange) OnParentColorChange(this);
  }
  virtual void ParentShowHintChanged() { BaseSend(CM_PARENTSHOWHINTCHANGED); }
  virtual bool HintShow(THintInfo& HintInfo) {
    if (HintColor == clNone) {
      HintInfo.HintColor = Application ? Application->HintColor : clInfoBk;
    } else if (HintColor == clDefault) {
      if (TWinControl* parent = this->Parent()) {
        THintInfo copy = HintInfo;
        parent->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&copy));
        HintInfo.HintColor = copy.HintColor;
      }
    } else {
      HintInfo.HintColor = HintColor;
    }
    if (HintWindowClass) HintInfo.HintWindowClass = HintWindowClass;
    return BaseSend(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&HintInfo)) != 0;
  }
  virtual void MouseEnter(TControl* Control) {
    MouseOver = true;
    if (OnMouseEnter) OnMouseEnter(this);
    BaseSend(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(Control));
  }
  virtual void MouseLeave(TControl* Control) {
    MouseOver = false;
    BaseSend(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(Control));
    if (OnMouseLeave) OnMouseLeave(this);
  }

  // The notices both families map; false when the message is not one of them.
  bool CommonDispatch(TMessage& Message) {
    switch (Message.Msg) {
      case CM_DIALOGCHAR: {
        wchar_t ch[2] = {static_cast<wchar_t>(Message.WParam), 0};
        Message.Result = WantKey(static_cast<int>(Message.WParam), KeyDataToShiftState(Message.LParam), WideString(ch));
        return true;
      }
      case CM_FOCUSCHANGED: FocusChanged(reinterpret_cast<TControl*>(Message.LParam)); return true;
      case CM_PARENTFONTCHANGED: ParentFontChanged(); return true;
      case CM_PARENTCOLORCHANGED: ParentColorChanged(); return true;
      case CM_VISIBLECHANGED: VisibleChanged(); return true;
      case CM_ENABLEDCHANGED: EnabledChanged(); return true;
      case CM_COLORCHANGED: ColorChanged(); return true;
      case CM_FONTCHANGED: FontChanged(); return true;
      case CM_TEXTCHANGED: TextChanged(); return true;
      case CM_PARENTSHOWHINTCHANGED: ParentShowHintChanged(); return true;
      case CM_HITTEST:
        Message.Result = HitTest(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
        return true;
      case CM_MOUSEENTER: MouseEnter(reinterpret_cast<TControl*>(Message.LParam)); return true;
      case CM_MOUSELEAVE: MouseLeave(reinterpret_cast<TControl*>(Message.LParam)); return true;
      case CM_HINTSHOW: Message.Result = HintShow(*reinterpret_cast<THintInfo*>(Message.LParam)); return true;
      case CM_BASE + 2000: Message.Result = 0; return true;  // no class here carries that interface
      default: return false;
    }
  }

  virtual void ExDispatch(TMessage& Message) {
    if (!CommonDispatch(Message)) Base::WndProc(Message);
  }
};

// The windowed family: the graphic family's notices and more, and the flat border.
template <class Base>
class TKvExWindowedMixin : public TKvExGraphicMixin<Base> {
  using Graphic = TKvExGraphicMixin<Base>;

 public:
  using Graphic::Graphic;
  bool DotNetHighlighting() const { return FDotNetHighlighting; }
  void SetDotNetHighlighting(bool Value) { FDotNetHighlighting = Value; }

 protected:
  virtual void BoundsChanged() {}
  virtual void GetDlgCode(TDlgCodes& Codes) {}
  virtual void DoSetFocus(HWND FocusedWnd) { this->BaseSend(WM_SETFOCUS, reinterpret_cast<WPARAM>(FocusedWnd)); }
  virtual void DoKillFocus(HWND FocusedWnd) { this->BaseSend(WM_KILLFOCUS, reinterpret_cast<WPARAM>(FocusedWnd)); }
  virtual bool DoEraseBackground(TCanvas* Canvas, LPARAM Param) {
    return this->BaseSend(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Canvas->Handle()), Param) != 0;
  }
  virtual void CursorChanged() { this->BaseSend(CM_CURSORCHANGED); }
  virtual void ShowingChanged() { this->BaseSend(CM_SHOWINGCHANGED); }
  virtual void ShowHintChanged() { this->BaseSend(CM_SHOWHINTCHANGED); }
  virtual void ControlsListChanging(TControl* Control, bool Inserting) {
    this->BaseSend(Inserting ? CM_CONTROLLISTCHANGE : CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(Control), Inserting);
  }
  virtual void ControlsListChanged(TControl* Control, bool Inserting) {
    this->BaseSend(Inserting ? CM_CONTROLCHANGE : CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(Control), Inserting);
  }

  void ExDispatch(TMessage& Message) override {
    if (!this->CommonDispatch(Message) && !WindowedDispatch(Message)) Base::WndProc(Message);
    if (FDotNetHighlighting && !this->HasState(csDesigning)) {
      switch (Message.Msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_NCPAINT:
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
          PaintFlatBorder();
          if (Message.Msg == CM_MOUSELEAVE) InvalidateBorderRing();
          break;
        default: break;
      }
    }
  }

 private:
  bool WindowedDispatch(TMessage& Message) {
    switch (Message.Msg) {
      case CM_CURSORCHANGED: CursorChanged(); return true;
      case CM_SHOWINGCHANGED: ShowingChanged(); return true;
      case CM_SHOWHINTCHANGED: ShowHintChanged(); return true;
      case CM_CONTROLLISTCHANGE:
        if (Message.LParam) ControlsListChanging(reinterpret_cast<TControl*>(Message.WParam), true);
        else ControlsListChanged(reinterpret_cast<TControl*>(Message.WParam), false);
        return true;
      case CM_CONTROLCHANGE:
        if (Message.LParam) ControlsListChanged(reinterpret_cast<TControl*>(Message.WParam), true);
        else ControlsListChanging(reinterpret_cast<TControl*>(Message.WParam), false);
        return true;
      case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        int saved = SaveDC(dc);
        TCanvas canvas;
        canvas.SetHandle(dc);
        Message.Result = DoEraseBackground(&canvas, Message.LParam);
        canvas.SetHandle(nullptr);
        RestoreDC(dc, saved);
        return true;
      }
      case WM_GETDLGCODE: {
        Base::WndProc(Message);
        TDlgCodes codes = DlgCodesFromResult(Message.Result) | DlgCodeBit(dcNative);
        GetDlgCode(codes);
        if (!(codes & DlgCodeBit(dcNative))) Message.Result = DlgCodesToResult(codes);
        return true;
      }
      case WM_SETFOCUS: DoSetFocus(reinterpret_cast<HWND>(Message.WParam)); return true;
      case WM_KILLFOCUS: DoKillFocus(reinterpret_cast<HWND>(Message.WParam)); return true;
      case WM_SIZE:
        Base::WndProc(Message);
        BoundsChanged();
        return true;
      case WM_PRINT:
      case WM_PRINTCLIENT: {
        // Whatever the printing leaves selected in the caller's device context goes.
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        int saved = SaveDC(dc);
        Base::WndProc(Message);
        RestoreDC(dc, saved);
        return true;
      }
      default: return false;
    }
  }

  void PaintFlatBorder() {
    if (!this->HandleAllocated()) return;
    HWND wnd = this->WindowHandle();
    bool highlighted = GetFocus() == wnd || this->MouseOver;
    TFlatBorderColors colors = FlatBorderColors(this->Color(), highlighted);
    HDC dc = GetWindowDC(wnd);
    RECT r{0, 0, this->Width(), this->Height()};
    HBRUSH outer = CreateSolidBrush(ColorToRGB(colors.Outer));
    FrameRect(dc, &r, outer);
    DeleteObject(outer);
    InflateRect(&r, -1, -1);
    HBRUSH inner = CreateSolidBrush(ColorToRGB(colors.Inner));
    FrameRect(dc, &r, inner);
    DeleteObject(inner);
    ReleaseDC(wnd, dc);
  }
  void InvalidateBorderRing() {
    if (!this->HandleAllocated()) return;
    HRGN outer = CreateRectRgn(0, 0, this->Width() - 1, this->Height() - 1);
    HRGN inner = CreateRectRgn(2, 2, this->Width() - 3, this->Height() - 3);
    CombineRgn(outer, outer, inner, RGN_DIFF);
    InvalidateRgn(this->WindowHandle(), outer, FALSE);
    DeleteObject(inner);
    DeleteObject(outer);
  }

  bool FDotNetHighlighting = false;
};

class TKvExCustomControl : public TKvExWindowedMixin<TCustomControl> {
  VCL_CLASS(TKvExCustomControl)
 public:
  using TKvExWindowedMixin<TCustomControl>::TKvExWindowedMixin;
};

class TKvExScrollBox : public TKvExWindowedMixin<TScrollBox> {
  VCL_CLASS(TKvExScrollBox)
 public:
  using TKvExWindowedMixin<TScrollBox>::TKvExWindowedMixin;
};

class TKvExPanel : public TKvExWindowedMixin<TPanel> {
  VCL_CLASS(TKvExPanel)
 public:
  using TKvExWindowedMixin<TPanel>::TKvExWindowedMixin;
};

class TKvExGraphicControl : public TKvExGraphicMixin<TGraphicControl> {
  VCL_CLASS(TKvExGraphicControl)
 public:
  using TKvExGraphicMixin<TGraphicControl>::TKvExGraphicMixin;
};

class TKvExImage : public TKvExGraphicMixin<TImage> {
  VCL_CLASS(TKvExImage)
 public:
  using TKvExGraphicMixin<TImage>::TKvExGraphicMixin;
};

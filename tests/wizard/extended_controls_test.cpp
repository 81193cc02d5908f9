// Extended control bases: notices turned into methods, mouse enter/leave order, hint
// colours and dialog codes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/vcl/test_windows.h"
#include "wizard/extended_controls.h"
#include "wizard/wizard_control.h"

using namespace testwin;
using Log = std::vector<std::string>;

namespace {

// Keeps the visibility notice to itself and logs what the base class gets.
class TQuietControl : public TKvExCustomControl {
 public:
  using TKvExCustomControl::TKvExCustomControl;
  Log* log = nullptr;
  TDlgCodes extra = 0;
  bool dropNative = false;

 protected:
  void VisibleChanged() override { log->push_back("visible (kept)"); }
  void MouseEnter(TControl* c) override {
    log->push_back("enter");
    TKvExCustomControl::MouseEnter(c);
  }
  void GetDlgCode(TDlgCodes& codes) override {
    codes |= extra;
    if (dropNative) codes &= ~DlgCodeBit(dcNative);
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_VISIBLECHANGED) log->push_back("base visible");
    if (m.Msg == CM_MOUSEENTER) log->push_back("base enter");
    if (m.Msg == CM_MOUSELEAVE) log->push_back("base leave");
    if (m.Msg == WM_GETDLGCODE) {
      m.Result = DLGC_WANTARROWS;
      return;
    }
    TKvExCustomControl::Dispatch(m);
  }
};

class TColouredParent : public TBox {
 public:
  using TBox::TBox;

 protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_HINTSHOW) reinterpret_cast<THintInfo*>(m.LParam)->HintColor = clAqua;
    TBox::Dispatch(m);
  }
};

}  // namespace

TEST(ExtendedControls, NoticesBecomeMethodsInTheirOrder) {
  std::unique_ptr<THostWindow> host{ShownHost()};
  Log log;
  auto* c = new TQuietControl(host.get());
  c->log = &log;
  c->SetParent(host.get());
  c->OnMouseEnter = [&](TObject*) { log.push_back("OnMouseEnter"); };
  c->OnMouseLeave = [&](TObject*) { log.push_back("OnMouseLeave"); };

  // An override that does not call the inherited method keeps the base class out of it.
  c->Perform(CM_VISIBLECHANGED);
  EXPECT_EQ(log, (Log{"visible (kept)"}));

  // The event of entering comes before the base class learns of it; leaving after.
  log.clear();
  c->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(c));
  EXPECT_TRUE(c->MouseOver);
  c->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(c));
  EXPECT_FALSE(c->MouseOver);
  EXPECT_EQ(log, (Log{"enter", "OnMouseEnter", "base enter", "base leave", "OnMouseLeave"}));

  // Dialog codes: the base answer stands unless the handler drops dcNative.
  c->extra = DlgCodeBit(dcWantTab);
  EXPECT_EQ(c->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
  c->dropNative = true;
  EXPECT_EQ(c->Perform(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTTAB);
  // The system's own values: "all keys" and "message" share one bit, characters are 0x80.
  EXPECT_EQ(DlgCodesFromResult(DLGC_WANTALLKEYS | DLGC_WANTCHARS),
            DlgCodeBit(dcWantAllKeys) | DlgCodeBit(dcWantMessage) | DlgCodeBit(dcWantChars));
  EXPECT_EQ(DlgCodesToResult(DlgCodeBit(dcWantChars) | DlgCodeBit(dcHasSetSel)), 0x88);
  EXPECT_EQ(ShiftStateToKeyData(ssShift | ssCtrl), 0x18000000);
}

TEST(ExtendedControls, HintColourComesFromTheControlOrItsParent) {
  std::unique_ptr<THostWindow> host{ShownHost()};
  auto* parent = new TColouredParent(host.get());
  parent->SetParent(host.get());
  auto* graphic = new TKvExGraphicControl(host.get());
  graphic->SetParent(parent);
  EXPECT_EQ(graphic->HintColor, clDefault);

  THintInfo info;
  info.HintColor = clInfoBk;
  graphic->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintColor, clAqua);  // asked of the parent

  graphic->HintColor = clLime;
  graphic->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintColor, clLime);

  // Without a parent clDefault leaves the colour as it was.
  auto* alone = new TKvExGraphicControl(host.get());
  info.HintColor = clInfoBk;
  alone->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintColor, clInfoBk);
  EXPECT_EQ(FlatBorderColors(clBtnFace, true).Outer, FlatHighlightColor);
  EXPECT_EQ(FlatBorderColors(clBtnFace, false).Inner, clBtnFace);
}

// Printing a control into a device context leaves that context as the caller had it.
TEST(ExtendedControls, PrintingLeavesTheCallersDeviceContextAsItWas) {
  std::unique_ptr<THostWindow> host{ShownHost(400, 300)};
  auto* wizard = new TKvWizard(host.get());
  wizard->SetParent(host.get());
  wizard->SetBounds(0, 0, 400, 300);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 300);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  SetTextColor(dc, RGB(200, 10, 10));
  SetBkMode(dc, OPAQUE);
  SetViewportOrgEx(dc, 3, 4, nullptr);
  for (UINT message : {WM_PRINTCLIENT, WM_PRINT}) {
    SendMessageW(wizard->Handle(), message, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush) << message;
    EXPECT_EQ(GetTextColor(dc), RGB(200, 10, 10)) << message;
    EXPECT_EQ(GetBkMode(dc), OPAQUE) << message;
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 3) << message;
    EXPECT_EQ(origin.y, 4) << message;
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldBitmap);
  DeleteObject(brush);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

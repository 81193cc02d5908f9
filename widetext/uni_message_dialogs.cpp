#include "widetext/uni_message_dialogs.h"

#include <algorithm>
#include <cstring>

#include "vcl/application.h"
#include "vcl/scopeexit.h"
#include "vcl/stdctrls.h"
#include "widetext/platform.h"
#include "widetext/resstrings.h"
#include "widetext/uni_application.h"
#include "widetext/uni_buttons.h"
#include "widetext/uni_controls.h"
#include "widetext/uni_labels.h"
#include "widetext/uniexceptions.h"
#include "widetext/wide_control_text.h"

namespace {

// The system's message font, from the wide metrics (their size is the wide record's).
LOGFONTA MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const LOGFONTW& w = metrics.lfMessageFont;
  LOGFONTA font{};
  std::memcpy(&font, &w, offsetof(LOGFONTA, lfFaceName));
  AnsiString face = WideToAnsi(w.lfFaceName);
  std::strncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return font;
}

bool SetClipboardBlock(UINT Format, const void* Data, size_t Size) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, Size);
  if (!mem) return false;
  void* block = GlobalLock(mem);
  if (!block) {
    GlobalFree(mem);
    return false;
  }
  std::memcpy(block, Data, Size);
  GlobalUnlock(mem);
  if (SetClipboardData(Format, mem)) return true;
  GlobalFree(mem);
  return false;
}

}  // namespace

WideString GetMessageCaption(TMsgDlgType MsgType) {
  if (MsgType < mtWarning || MsgType > mtCustom) throw EUniInternalError("Unexpected MsgType in GetMessageCaption.");
  if (MsgType == mtCustom) {
    if (WideApplication) return WideApplication->Title();
    return Application ? AnsiToWide(Application->Title()) : WideString();
  }
  return LoadWideResString(MsgDlgTypeCaption(MsgType));
}

WideString GetButtonCaption(TMsgDlgBtn MsgDlgBtn) {
  if (MsgDlgBtn < mbYes || MsgDlgBtn > mbHelp) throw EUniInternalError("Unexpected MsgDlgBtn in GetButtonCaption.");
  return LoadWideResString(MsgDlgButtonCaption(MsgDlgBtn));
}

WideString TUniMessageForm::ClipboardText() {
  std::vector<WideString> buttons;
  WideString message;
  for (int i = 0; i < ComponentCount(); ++i) {
    if (auto* b = dynamic_cast<TButton*>(Components(i))) buttons.push_back(UniControl_GetText(b));
    if (Components(i)->Name() == "Message") message = UniControl_GetText(static_cast<TControl*>(Components(i)));
  }
  return MessageDialogClipboardText(Caption(), message, buttons);
}

void TUniMessageForm::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == 'C' && (Shift & (ssShift | ssAlt | ssCtrl)) == ssCtrl) {
    MessageBeep(0);
    WideString text = ClipboardText();
    AnsiString ansi = WideToAnsi(text);
    if (OpenClipboard(WindowHandle())) {
      EmptyClipboard();
      SetClipboardBlock(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(WideChar));
      SetClipboardBlock(CF_TEXT, ansi.c_str(), ansi.size() + 1);
      CloseClipboard();
    }
  }
  TUniForm::KeyDown(Key, Shift);
}

TUniMessageForm* CreateMessageDialog(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                     TMsgDlgBtn DefaultButton) {
  TUniMessageForm* form = TCustomForm::CreateNew<TUniMessageForm>(Application);
  try {
    form->Font()->SetLogFont(MessageFont());
    form->SetBorderStyle(bsDialog);
    form->SetKeyPreview(true);
    form->SetCaption(GetMessageCaption(DlgType));
    TMessageDialogParts parts;
    parts.MeasureMessage = [&](HDC dc, RECT& r, UINT flags) { Uni_DrawTextW(dc, Msg.c_str(), -1, &r, flags); };
    parts.ButtonCaptionWidth = [](HDC dc, TMsgDlgBtn kind) {
      WideString text = GetButtonCaption(kind);
      RECT r{0, 0, 0, 0};
      Uni_DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
      return static_cast<int>(r.right);
    };
    parts.MakeLabel = [&](TCustomForm* f) -> TControl* {
      auto* label = new TUniLabel(f);
      label->SetAutoSize(false);
      label->SetWordWrap(true);
      label->SetCaption(Msg);
      return label;
    };
    parts.MakeButton = [](TCustomForm* f, TMsgDlgBtn kind) -> TButton* {
      auto* button = new TUniButton(f);
      button->SetCaption(GetButtonCaption(kind));
      return button;
    };
    BuildMessageDialog(form, DlgType, Buttons, DefaultButton, parts);
  } catch (...) {
    form->Free();
    throw;
  }
  return form;
}

int WideMessageDlgPosHelp(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                          int Y, const WideString& HelpFileName, TMsgDlgBtn DefaultButton) {
  TUniMessageForm* form = CreateMessageDialog(Msg, DlgType, Buttons, DefaultButton);
  ScopeExit free{[&] { form->Free(); }};
  form->SetHelpContext(HelpCtx);
  // The system's help takes an 8-bit file name.
  form->HelpFile = WideToAnsi(HelpFileName);
  if (X >= 0 || Y >= 0) form->SetPosition(poDesigned);
  if (X >= 0) form->SetLeft(X);
  if (Y >= 0) form->SetTop(Y);
  return form->ShowModal();
}

int WideMessageDlgDefault(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                          TMsgDlgBtn DefaultButton, int HelpCtx) {
  return WideMessageDlgPosHelp(Msg, DlgType, Buttons, HelpCtx, -1, -1, WideString(), DefaultButton);
}

int WideMessageDlg(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return WideMessageDlgDefault(Msg, DlgType, Buttons, DefaultMsgDlgButton(Buttons), HelpCtx);
}

VCL_CLASS_IMPL(TUniMessageForm, TUniForm, nullptr, nullptr)

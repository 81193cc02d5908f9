// Wide message dialogs: a modal form of the wide form class whose message, caption and
// buttons are UTF-16, with the icon of its type. Ctrl+C copies the dialog's text.
#pragma once

#include <vector>

#include "vcl/dialogs.h"
#include "widetext/uni_forms.h"

class TUniMessageForm : public TUniForm {
  VCL_CLASS(TUniMessageForm)
 public:
  using TUniForm::TUniForm;
  // The dialog's text as Ctrl+C copies it: caption, message and button captions.
  WideString ClipboardText();

 protected:
  // Ctrl+C (no other shift key) beeps and puts ClipboardText on the clipboard, as Unicode
  // text and as 8-bit text.
  void KeyDown(WORD& Key, TShiftState Shift) override;
};

// The caption of a message type ("Warning"...; the application's title for mtCustom), and
// the caption of a button kind, wide. EUniInternalError for a value outside the ranges.
WideString GetMessageCaption(TMsgDlgType MsgType);
WideString GetButtonCaption(TMsgDlgBtn MsgDlgBtn);

// Builds the dialog (not shown); the caller frees it.
TUniMessageForm* CreateMessageDialog(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                     TMsgDlgBtn DefaultButton);
// The default button is OK when present, else Yes, else Retry.
int WideMessageDlg(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
int WideMessageDlgDefault(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                          TMsgDlgBtn DefaultButton, int HelpCtx);
// Placed at X and/or Y where not negative, centred on the screen when both are.
int WideMessageDlgPosHelp(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                          int Y, const WideString& HelpFileName, TMsgDlgBtn DefaultButton);

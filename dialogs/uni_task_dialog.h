// TUniTaskDialog: asks a question or shows a notice as a task dialog, through the system's
// TaskDialogIndirect where the common controls offer it, else through the drawn form.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "vcl/classes.h"
#include "vcl/graphics.h"
#include "vcl/pictures.h"
#include "vcl/typinfo.h"
#include "widetext/uni_string_list.h"

enum TCommonButton { cbOK, cbYes, cbNo, cbCancel, cbRetry, cbClose };
VCL_ENUM_INFO(TCommonButton, "cbOK", "cbYes", "cbNo", "cbCancel", "cbRetry", "cbClose")
using TCommonButtons = unsigned;  // bit n = TCommonButton n

enum TTaskDialogIcon { tiBlank, tiWarning, tiQuestion, tiError, tiInformation, tiNotUsed, tiShield };
VCL_ENUM_INFO(TTaskDialogIcon, "tiBlank", "tiWarning", "tiQuestion", "tiError", "tiInformation", "tiNotUsed",
              "tiShield")

enum TTaskDialogFooterIcon { tfiBlank, tfiWarning, tfiQuestion, tfiError, tfiInformation, tfiShield };
VCL_ENUM_INFO(TTaskDialogFooterIcon, "tfiBlank", "tfiWarning", "tfiQuestion", "tfiError", "tfiInformation",
              "tfiShield")

enum TTaskDialogOption {
  doHyperlinks,
  doCommandLinks,
  doCommandLinksNoIcon,
  doExpandedDefault,
  doExpandedFooter,
  doAllowMinimize,
  doVerifyChecked,
  doProgressBar,
  doProgressBarMarquee,
  doTimer,
  doNoDefaultRadioButton,
  doAllowDialogCancel
};
VCL_ENUM_INFO(TTaskDialogOption, "doHyperlinks", "doCommandLinks", "doCommandLinksNoIcon", "doExpandedDefault",
              "doExpandedFooter", "doAllowMinimize", "doVerifyChecked", "doProgressBar", "doProgressBarMarquee",
              "doTimer", "doNoDefaultRadioButton", "doAllowDialogCancel")
using TTaskDialogOptions = unsigned;  // bit n = TTaskDialogOption n

enum TTaskDialogPosition { dpScreenCenter, dpOwnerFormCenter };
VCL_ENUM_INFO(TTaskDialogPosition, "dpScreenCenter", "dpOwnerFormCenter")

enum TTaskDialogProgressState { psNormal, psError, psPaused };
VCL_ENUM_INFO(TTaskDialogProgressState, "psNormal", "psError", "psPaused")

constexpr unsigned Bit(int n) { return 1u << n; }

using TTaskDialogCloseEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TTaskDialogButtonEvent = std::function<void(TObject* Sender, int ButtonID)>;
using TTaskDialogHyperlinkEvent = std::function<void(TObject* Sender, const WideString& HRef)>;
using TTaskDialogVerifyEvent = std::function<void(TObject* Sender, bool Checked)>;
using TTaskDialogProgressEvent = std::function<void(TObject* Sender, int& Pos, TTaskDialogProgressState& State)>;

class TTaskMessageForm;
class TControl;

class TUniTaskDialog : public TComponent {
  VCL_CLASS(TUniTaskDialog)
 public:
  explicit TUniTaskDialog(TComponent* AOwner);
  ~TUniTaskDialog() override;

  // Shows the dialog modally and returns the identifier of the button that closed it.
  int Execute();

  // --- the native dialog, callable on its own
  // Whether the system offers the task dialog the component asks for (system 6 or later,
  // common controls 6 or later).
  static bool NativeDialogAvailable();
  // Runs TaskDialogIndirect from the properties; false when the entry point is missing or
  // the call fails (Result is then left alone).
  bool ExecuteNative(int& Result);
  // The flags of TASKDIALOGCONFIG that the options, the position and the custom icon give.
  static UINT NativeFlags(TTaskDialogOptions Options, TTaskDialogPosition Position, bool CustomIcon);
  // The window of the native dialog while it is shown (null otherwise).
  HWND DialogHandle() const { return FDialogHandle; }
  // The drawn form while it is shown (null otherwise).
  TTaskMessageForm* Form() const { return FForm; }

  // --- properties
  TIcon* CustomIcon() const { return FCustomIcon.get(); }
  void SetCustomIcon(TIcon* Value) { FCustomIcon->Assign(Value); }
  TUniStringList* CustomButtons() const { return FCustomButtons.get(); }
  void SetCustomButtons(TUniStringList* Value) { FCustomButtons->Assign(Value); }
  TUniStringList* RadioButtons() const { return FRadioButtons.get(); }
  void SetRadioButtons(TUniStringList* Value) { FRadioButtons->Assign(Value); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }

  TCommonButtons CommonButtons = 0;
  int DefaultButton = 0;
  int DefaultRadioButton = 200;
  TTaskDialogPosition DialogPosition = dpScreenCenter;
  TTaskDialogFooterIcon FooterIcon = tfiBlank;
  TTaskDialogIcon Icon = tiBlank;
  WideString Title;
  WideString ExpandControlText;
  WideString CollapsControlText;
  TTaskDialogOptions Options = 0;
  bool ApplicationIsParent = true;
  WideString VerificationText;
  int ProgressBarMin = 0;
  int ProgressBarMax = 100;

  const WideString& Instruction() const { return FInstruction; }
  void SetInstruction(const WideString& Value);
  const WideString& Content() const { return FContent; }
  void SetContent(const WideString& Value);
  const WideString& ExpandedText() const { return FExpandedText; }
  void SetExpandedText(const WideString& Value);
  const WideString& Footer() const { return FFooter; }
  void SetFooter(const WideString& Value);
  AnsiString Version() const { return "1.3.0.0"; }
  void SetVersion(const AnsiString&) {}

  // Results of the last Execute.
  int RadioResult = 0;
  bool VerifyResult = false;

  TNotifyEvent OnDialogCreated;
  TTaskDialogCloseEvent OnDialogClose;
  TTaskDialogButtonEvent OnDialogButtonClick;
  TTaskDialogButtonEvent OnDialogRadioClick;
  TTaskDialogHyperlinkEvent OnDialogHyperlinkClick;
  TNotifyEvent OnDialogTimer;
  TTaskDialogVerifyEvent OnDialogVerifyClick;
  TTaskDialogProgressEvent OnDialogProgress;

  // --- the drawn form's button factory
  virtual TControl* CreateButton(TComponent* AOwner);
  virtual void SetButtonCaption(TControl* Button, const WideString& Caption);
  virtual void SetButtonCancel(TControl* Button, bool Value);
  virtual void SetButtonDefault(TControl* Button, bool Value);
  virtual void SetButtonModalResult(TControl* Button, int Value);
  virtual int GetButtonModalResult(TControl* Button);

 private:
  friend class TTaskMessageForm;
  friend int ShowEmulatedTaskDialog(TUniTaskDialog* TaskDialog, int X, int Y);
  static HRESULT CALLBACK Callback(HWND Wnd, UINT Notification, WPARAM WParam, LPARAM LParam, LONG_PTR Data);
  HRESULT HandleNotification(HWND Wnd, UINT Notification, WPARAM WParam, LPARAM LParam);
  void TextChanged(int Element, const WideString& Text);
  HWND ParentWindow() const;

  std::unique_ptr<TIcon> FCustomIcon;
  std::unique_ptr<TUniStringList> FCustomButtons;
  std::unique_ptr<TUniStringList> FRadioButtons;
  std::unique_ptr<TFont> FFont;
  WideString FInstruction, FContent, FExpandedText, FFooter;
  HWND FDialogHandle = nullptr;
  TTaskMessageForm* FForm = nullptr;
};

// Replaces every two-character sequence backslash + "n" with a line feed, in the UTF-16
// text itself.
WideString ExpandLineBreaks(const WideString& Text);

// Opens a link with its associated program (the plain "open" verb); only texts that hold
// "://" are opened. True when the shell was asked.
bool OpenLink(HWND Window, const WideString& Link);

// Shows the drawn form for TaskDialog and returns its modal result; -1 for no dialog.
int ShowEmulatedTaskDialog(TUniTaskDialog* TaskDialog, int X, int Y);

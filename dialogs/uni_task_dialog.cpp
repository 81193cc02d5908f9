#include "dialogs/uni_task_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include "dialogs/task_message_form.h"
#include "vcl/application.h"
#include "vcl/controls.h"
#include "widetext/uni_buttons.h"

namespace {

const std::vector<TPropInfo>& TaskDialogProps() {
  using T = TUniTaskDialog;
  static const std::vector<TPropInfo> props =
      TPropertyTable<T>()
          .Property("CustomIcon", &T::CustomIcon, &T::SetCustomIcon)
          .Property("CustomButtons", &T::CustomButtons, &T::SetCustomButtons)
          .Property("RadioButtons", &T::RadioButtons, &T::SetRadioButtons)
          .SetProperty<TCommonButton>("CommonButtons", &T::CommonButtons)
          .Default(0)
          .Property("DefaultButton", &T::DefaultButton)
          .Default(0)
          .Property("DefaultRadioButton", &T::DefaultRadioButton)
          .Default(200)
          .Property("DialogPosition", &T::DialogPosition)
          .Default(dpScreenCenter)
          .Property("ExpandedText", &T::ExpandedText, &T::SetExpandedText)
          .Property("Font", &T::Font, &T::SetFont)
          .Property("Footer", &T::Footer, &T::SetFooter)
          .Property("FooterIcon", &T::FooterIcon)
          .Default(tfiBlank)
          .Property("Icon", &T::Icon)
          .Default(tiBlank)
          .Property("Title", &T::Title)
          .Property("Instruction", &T::Instruction, &T::SetInstruction)
          .Property("Content", &T::Content, &T::SetContent)
          .Property("ExpandControlText", &T::ExpandControlText)
          .Property("CollapsControlText", &T::CollapsControlText)
          .SetProperty<TTaskDialogOption>("Options", &T::Options)
          .Default(0)
          .Property("ApplicationIsParent", &T::ApplicationIsParent)
          .Default(true)
          .Property("VerificationText", &T::VerificationText)
          .Property("ProgressBarMin", &T::ProgressBarMin)
          .Default(0)
          .Property("ProgressBarMax", &T::ProgressBarMax)
          .Default(100)
          .Property("Version", &T::Version, &T::SetVersion)
          .Property("OnDialogCreated", &T::OnDialogCreated)
          .Property("OnDialogClose", &T::OnDialogClose)
          .Property("OnDialogButtonClick", &T::OnDialogButtonClick)
          .Property("OnDialogRadioClick", &T::OnDialogRadioClick)
          .Property("OnDialogHyperlinkClick", &T::OnDialogHyperlinkClick)
          .Property("OnDialogTimer", &T::OnDialogTimer)
          .Property("OnDialogVerifyClick", &T::OnDialogVerifyClick)
          .Property("OnDialogProgress", &T::OnDialogProgress)
          .Table();
  return props;
}

// The progress bar among the children of a task dialog's window; null when it has none.
HWND FindProgressBar(HWND Dialog) {
  HWND found = nullptr;
  EnumChildWindows(
      Dialog,
      [](HWND Child, LPARAM Found) -> BOOL {
        wchar_t name[32] = {};
        GetClassNameW(Child, name, 32);
        if (lstrcmpiW(name, PROGRESS_CLASSW) != 0) return TRUE;
        *reinterpret_cast<HWND*>(Found) = Child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The high word of the file version of a module (its low byte is the major version);
// -1 when the version cannot be read.
int GetDllVersionHigh(const char* FileName) {
  DWORD dummy = 0;
  DWORD size = GetFileVersionInfoSizeA(FileName, &dummy);
  if (size == 0) return -1;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoA(FileName, 0, size, data.data())) return -1;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &len) || !info) return -1;
  return static_cast<int>(HIWORD(info->dwFileVersionMS));
}

using TaskDialogIndirectProc = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

const wchar_t* TextOrNull(const WideString& S) { return S.empty() ? nullptr : S.c_str(); }

}  // namespace

VCL_CLASS_IMPL(TUniTaskDialog, TComponent, &CreateComponentOf<TUniTaskDialog>, &TaskDialogProps)

WideString ExpandLineBreaks(const WideString& Text) {
  if (Text.find(L"\\n") == WideString::npos) return Text;
  WideString out;
  out.reserve(Text.size());
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == L'\\' && i + 1 < Text.size() && Text[i + 1] == L'n') {
      out += L'\n';
      ++i;
    } else {
      out += Text[i];
    }
  }
  return out;
}

bool OpenLink(HWND Window, const WideString& Link) {
  if (Link.find(L"://") == WideString::npos) return false;
  ShellExecuteW(Window, L"open", Link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return true;
}

TUniTaskDialog::TUniTaskDialog(TComponent* AOwner)
    : TComponent(AOwner),
      FCustomIcon(std::make_unique<TIcon>()),
      FCustomButtons(std::make_unique<TUniStringList>()),
      FRadioButtons(std::make_unique<TUniStringList>()),
      FFont(std::make_unique<TFont>()) {}

TUniTaskDialog::~TUniTaskDialog() = default;

void TUniTaskDialog::TextChanged(int Element, const WideString& Text) {
  if (FDialogHandle) {
    WideString shown = Element == TDE_EXPANDED_INFORMATION ? Text : ExpandLineBreaks(Text);
    SendMessageW(FDialogHandle, TDM_UPDATE_ELEMENT_TEXT, Element, reinterpret_cast<LPARAM>(shown.c_str()));
  }
  if (FForm) FForm->Relayout();
}

void TUniTaskDialog::SetInstruction(const WideString& Value) {
  if (Value == FInstruction) return;
  FInstruction = Value;
  TextChanged(TDE_MAIN_INSTRUCTION, Value);
}

void TUniTaskDialog::SetContent(const WideString& Value) {
  if (Value == FContent) return;
  FContent = Value;
  TextChanged(TDE_CONTENT, Value);
}

void TUniTaskDialog::SetExpandedText(const WideString& Value) {
  if (Value == FExpandedText) return;
  FExpandedText = Value;
  TextChanged(TDE_EXPANDED_INFORMATION, Value);
}

void TUniTaskDialog::SetFooter(const WideString& Value) {
  if (Value == FFooter) return;
  FFooter = Value;
  TextChanged(TDE_FOOTER, Value);
}

bool TUniTaskDialog::NativeDialogAvailable() {
  OSVERSIONINFOA os{};
  os.dwOSVersionInfoSize = sizeof os;
  GetVersionExA(&os);
  int comctl = GetDllVersionHigh("COMCTL32.DLL");
  int comctlMajor = comctl & 0xFF;  // a failed probe gives 255 and passes
  return os.dwMajorVersion >= 6 && comctlMajor > 5;
}

int TUniTaskDialog::Execute() {
  int result = 0;
  // A missing or failing system dialog falls back to the drawn form: the user is always
  // asked, and a failure is never taken for an answer.
  if (NativeDialogAvailable() && ExecuteNative(result)) return result;
  return ShowEmulatedTaskDialog(this, -1, -1);
}

UINT TUniTaskDialog::NativeFlags(TTaskDialogOptions Options, TTaskDialogPosition Position, bool CustomIcon) {
  UINT flags = 0;
  if (Options & Bit(doCommandLinks)) flags = TDF_USE_COMMAND_LINKS;
  if (Options & Bit(doCommandLinksNoIcon)) flags = TDF_USE_COMMAND_LINKS_NO_ICON;
  if (Options & Bit(doHyperlinks)) flags |= TDF_ENABLE_HYPERLINKS;
  if (Options & Bit(doExpandedDefault)) flags |= TDF_EXPANDED_BY_DEFAULT;
  if (Options & Bit(doExpandedFooter)) flags |= TDF_EXPAND_FOOTER_AREA;
  if (Options & Bit(doAllowMinimize)) flags |= TDF_CAN_BE_MINIMIZED;
  if (Options & Bit(doVerifyChecked)) flags |= TDF_VERIFICATION_FLAG_CHECKED;
  if (Options & Bit(doProgressBar)) flags |= TDF_SHOW_PROGRESS_BAR;
  if (Options & Bit(doProgressBarMarquee)) flags |= TDF_SHOW_MARQUEE_PROGRESS_BAR;
  if (Options & (Bit(doProgressBar) | Bit(doProgressBarMarquee) | Bit(doTimer))) flags |= TDF_CALLBACK_TIMER;
  if (Position == dpOwnerFormCenter) flags |= TDF_POSITION_RELATIVE_TO_WINDOW;
  if (Options & Bit(doNoDefaultRadioButton)) flags |= TDF_NO_DEFAULT_RADIO_BUTTON;
  if (Options & Bit(doAllowDialogCancel)) flags |= TDF_ALLOW_DIALOG_CANCELLATION;
  if (CustomIcon) flags |= TDF_USE_HICON_MAIN;
  return flags;
}

HWND TUniTaskDialog::ParentWindow() const {
  if (!Owner() || ApplicationIsParent) return Application ? Application->Handle() : nullptr;
  auto* owner = dynamic_cast<TWinControl*>(Owner());
  return owner ? owner->Handle() : nullptr;
}

bool TUniTaskDialog::ExecuteNative(int& Result) {
  HMODULE lib = LoadLibraryA("comctl32.dll");
  if (!lib) return false;
  auto proc = reinterpret_cast<TaskDialogIndirectProc>(GetProcAddress(lib, "TaskDialogIndirect"));
  if (!proc) return false;

  // Every converted text lives until the call returns.
  const WideString title = ExpandLineBreaks(Title), instruction = ExpandLineBreaks(FInstruction),
                   content = ExpandLineBreaks(FContent), footer = ExpandLineBreaks(FFooter);
  std::vector<WideString> buttonTexts, radioTexts;
  std::vector<TASKDIALOG_BUTTON> buttons, radios;
  for (int i = 0; i < FCustomButtons->Count(); ++i) buttonTexts.push_back(ExpandLineBreaks(FCustomButtons->Strings(i)));
  for (int i = 0; i < FRadioButtons->Count(); ++i) radioTexts.push_back(ExpandLineBreaks(FRadioButtons->Strings(i)));
  for (size_t i = 0; i < buttonTexts.size(); ++i) buttons.push_back({100 + static_cast<int>(i), buttonTexts[i].c_str()});
  for (size_t i = 0; i < radioTexts.size(); ++i) radios.push_back({200 + static_cast<int>(i), radioTexts[i].c_str()});

  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = ParentWindow();
  config.pfCallback = &Callback;
  config.lpCallbackData = reinterpret_cast<LONG_PTR>(this);
  static const TASKDIALOG_COMMON_BUTTON_FLAGS kCommon[] = {TDCBF_OK_BUTTON,     TDCBF_YES_BUTTON,
                                                            TDCBF_NO_BUTTON,     TDCBF_CANCEL_BUTTON,
                                                            TDCBF_RETRY_BUTTON, TDCBF_CLOSE_BUTTON};
  for (int b = cbOK; b <= cbClose; ++b)
    if (CommonButtons & Bit(b)) config.dwCommonButtons |= kCommon[b];
  config.pszWindowTitle = TextOrNull(title);
  config.pszMainInstruction = TextOrNull(instruction);
  config.pszContent = TextOrNull(content);
  config.pszFooter = TextOrNull(footer);
  config.pszExpandedControlText = TextOrNull(ExpandControlText);
  config.pszCollapsedControlText = TextOrNull(CollapsControlText);
  config.pszExpandedInformation = TextOrNull(FExpandedText);
  config.pszVerificationText = TextOrNull(VerificationText);
  config.cButtons = static_cast<UINT>(buttons.size());
  config.pButtons = buttons.empty() ? nullptr : buttons.data();
  config.cRadioButtons = static_cast<UINT>(radios.size());
  config.pRadioButtons = radios.empty() ? nullptr : radios.data();
  config.nDefaultButton = DefaultButton;
  config.nDefaultRadioButton = DefaultRadioButton;
  bool customIcon = !FCustomIcon->Empty();
  if (customIcon) {
    config.hMainIcon = FCustomIcon->Handle();
  } else {
    static const WORD kIcons[] = {17, 84, 99, 98, 81, 0, 78};
    config.pszMainIcon = MAKEINTRESOURCEW(kIcons[Icon]);
  }
  static const WORD kFooterIcons[] = {0, 84, 99, 98, 65533, 65532};
  config.pszFooterIcon = MAKEINTRESOURCEW(kFooterIcons[FooterIcon]);
  config.dwFlags = NativeFlags(Options, DialogPosition, customIcon);

  // Modal for the whole program, like the drawn form: every other window of the thread
  // waits while the dialog is up.
  std::vector<HWND> disabled;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM param) -> BOOL {
        if (IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
          reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
          EnableWindow(wnd, FALSE);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&disabled));
  int button = 0, radio = 0;
  BOOL verify = FALSE;
  HRESULT hr = proc(&config, &button, &radio, &verify);
  for (HWND wnd : disabled)
    if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
  FDialogHandle = nullptr;
  if (FAILED(hr)) return false;
  RadioResult = radio;
  VerifyResult = verify != FALSE;
  Result = button;
  return true;
}

HRESULT CALLBACK TUniTaskDialog::Callback(HWND Wnd, UINT Notification, WPARAM WParam, LPARAM LParam, LONG_PTR Data) {
  auto* self = reinterpret_cast<TUniTaskDialog*>(Data);
  if (!self) return S_OK;
  try {
    return self->HandleNotification(Wnd, Notification, WParam, LParam);
  } catch (...) {
    if (ApplicationHandleException) ApplicationHandleException(self);
  }
  return S_OK;
}

HRESULT TUniTaskDialog::HandleNotification(HWND Wnd, UINT Notification, WPARAM WParam, LPARAM LParam) {
  FDialogHandle = Notification == TDN_DESTROYED ? nullptr : Wnd;
  switch (Notification) {
    case TDN_CREATED:
      if (OnDialogCreated) OnDialogCreated(this);
      if (Options & Bit(doProgressBar))
        SendMessageW(Wnd, TDM_SET_PROGRESS_BAR_RANGE, 0, MAKELPARAM(ProgressBarMin, ProgressBarMax));
      break;
    case TDN_BUTTON_CLICKED:
      if (OnDialogButtonClick) OnDialogButtonClick(this, static_cast<int>(WParam));
      if (OnDialogClose) {
        bool canClose = true;
        OnDialogClose(this, canClose);
        if (!canClose) return S_FALSE;
      }
      break;
    case TDN_HYPERLINK_CLICKED: {
      WideString link = LParam ? reinterpret_cast<const wchar_t*>(LParam) : L"";
      if (OnDialogHyperlinkClick)
        OnDialogHyperlinkClick(this, link);
      else
        OpenLink(nullptr, link);
      break;
    }
    case TDN_TIMER:
      if (OnDialogTimer) OnDialogTimer(this);
      if (OnDialogProgress) {
        HWND bar = FindProgressBar(Wnd);
        int pos = bar ? static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)) : 0;
        TTaskDialogProgressState state = psNormal;
        OnDialogProgress(this, pos, state);
        SendMessageW(Wnd, TDM_SET_PROGRESS_BAR_POS, pos, 0);
        static const int kStates[] = {PBST_NORMAL, PBST_ERROR, PBST_PAUSED};
        SendMessageW(Wnd, TDM_SET_PROGRESS_BAR_STATE, kStates[state], 0);
      }
      break;
    case TDN_RADIO_BUTTON_CLICKED:
      if (OnDialogRadioClick) OnDialogRadioClick(this, static_cast<int>(WParam));
      break;
    case TDN_VERIFICATION_CLICKED:
      if (OnDialogVerifyClick) OnDialogVerifyClick(this, WParam != 0);
      break;
    default:
      break;
  }
  return S_OK;
}

TControl* TUniTaskDialog::CreateButton(TComponent* AOwner) { return new TUniButton(AOwner); }

void TUniTaskDialog::SetButtonCaption(TControl* Button, const WideString& Caption) {
  if (auto* b = dynamic_cast<TUniButton*>(Button)) b->SetCaption(Caption);
}

void TUniTaskDialog::SetButtonCancel(TControl* Button, bool Value) {
  if (auto* b = dynamic_cast<TUniButton*>(Button)) b->Cancel = Value;
}

void TUniTaskDialog::SetButtonDefault(TControl* Button, bool Value) {
  if (auto* b = dynamic_cast<TUniButton*>(Button)) b->SetDefault(Value);
}

void TUniTaskDialog::SetButtonModalResult(TControl* Button, int Value) {
  if (auto* b = dynamic_cast<TUniButton*>(Button)) b->ModalResult = Value;
}

int TUniTaskDialog::GetButtonModalResult(TControl* Button) {
  auto* b = dynamic_cast<TUniButton*>(Button);
  return b ? b->ModalResult : 0;
}

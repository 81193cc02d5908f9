#include "vcl/dialogs.h"

#include <cderr.h>
#include <dlgs.h>

#include <algorithm>
#include <cstring>

#include "vcl/application.h"
#include "vcl/resstrings.h"
#include "vcl/scopeexit.h"
#include "vcl/streaming.h"
#include "vcl/stdctrls.h"

// ---------------------------------------------------------------------------
// TCommonDialog

namespace {

// The dialog whose system call is running: its hook window takes it on WM_INITDIALOG.
thread_local TCommonDialog* CreationDialog = nullptr;
const char* const kDialogProp = "Kavo.CommonDialog";

struct TDisabledWindows {
  std::vector<HWND> Windows;
};

BOOL CALLBACK DisableThreadWindow(HWND Wnd, LPARAM Param) {
  if (IsWindowVisible(Wnd) && IsWindowEnabled(Wnd)) {
    EnableWindow(Wnd, FALSE);
    reinterpret_cast<TDisabledWindows*>(Param)->Windows.push_back(Wnd);
  }
  return TRUE;
}

HWND DialogOwner() {
  if (Application && Application->Handle()) return Application->Handle();
  return GetActiveWindow();
}

// Centres Wnd in the work area of the screen.
void CenterWindow(HWND Wnd) {
  RECT r{}, work{};
  GetWindowRect(Wnd, &r);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = work.left + (work.right - work.left - w) / 2;
  int y = work.top + (work.bottom - work.top - h) / 2;
  SetWindowPos(Wnd, nullptr, std::max<int>(x, work.left), std::max<int>(y, work.top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

UINT HelpMsg() {
  static const UINT msg = RegisterWindowMessageA("commdlg_help");
  return msg;
}

UINT FindMsg() {
  static const UINT msg = RegisterWindowMessageA("commdlg_FindReplace");
  return msg;
}

TCommonDialog::TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
TCommonDialog::~TCommonDialog() = default;

BOOL RunTaskModal(const std::function<BOOL()>& DialogFunc) {
  HWND active = GetActiveWindow();
  TDisabledWindows disabled;
  EnumThreadWindows(GetCurrentThreadId(), &DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));
  ScopeExit restore{[&] {
    for (HWND w : disabled.Windows)
      if (IsWindow(w)) EnableWindow(w, TRUE);
    if (active && IsWindow(active)) SetActiveWindow(active);
  }};
  return DialogFunc();
}

BOOL RunTaskModalHelp(const std::function<BOOL()>& DialogFunc, int HelpContext) {
  TApplication* app = Application;
  THookHandle hook = 0;
  if (app)
    hook = app->HookMainWindow([app, HelpContext](TMessage& Message) {
      if (Message.Msg != HelpMsg()) return false;
      app->HelpContext(HelpContext);
      return true;
    });
  ScopeExit unhook{[&] {
    if (app) app->UnhookMainWindow(hook);
  }};
  return RunTaskModal(DialogFunc);
}

BOOL TCommonDialog::TaskModalDialog(const std::function<BOOL()>& DialogFunc) {
  TCommonDialog* outer = CreationDialog;
  CreationDialog = this;
  ScopeExit restore{[&] { CreationDialog = outer; }};
  return RunTaskModalHelp(DialogFunc, HelpContext);
}

bool TCommonDialog::MessageHook(TMessage& Message) {
  if (Message.Msg == WM_DESTROY) DoClose();
  return false;
}

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}

INT_PTR CALLBACK CommonDialogHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* dialog = static_cast<TCommonDialog*>(GetPropA(Wnd, kDialogProp));
  if (Msg == WM_INITDIALOG && !dialog && CreationDialog) {
    dialog = CreationDialog;
    CreationDialog = nullptr;
    SetPropA(Wnd, kDialogProp, dialog);
    dialog->SetHandle(Wnd);
  }
  if (!dialog) return FALSE;
  TMessage message{Msg, WParam, LParam, 0};
  bool handled = false;
  try {
    handled = dialog->MessageHook(message);
  } catch (...) {
    if (ApplicationHandleException) ApplicationHandleException(dialog);
  }
  if (Msg == WM_DESTROY) {
    RemovePropA(Wnd, kDialogProp);
    dialog->SetHandle(nullptr);
  }
  return handled ? static_cast<INT_PTR>(message.Result) : FALSE;
}

// ---------------------------------------------------------------------------
// The pure parts of the file dialogs.

DWORD OpenOptionsToFlags(TOpenOptions Options) {
  static const DWORD flags[] = {
      OFN_READONLY,         OFN_OVERWRITEPROMPT, OFN_HIDEREADONLY,     OFN_NOCHANGEDIR,
      OFN_SHOWHELP,         OFN_NOVALIDATE,      OFN_ALLOWMULTISELECT, OFN_EXTENSIONDIFFERENT,
      OFN_PATHMUSTEXIST,    OFN_FILEMUSTEXIST,   OFN_CREATEPROMPT,     OFN_SHAREAWARE,
      OFN_NOREADONLYRETURN, OFN_NOTESTFILECREATE, OFN_NONETWORKBUTTON, OFN_NOLONGNAMES,
      0 /* ofOldStyleDialog: no OFN_EXPLORER */, OFN_NODEREFERENCELINKS, OFN_ENABLEINCLUDENOTIFY,
      OFN_ENABLESIZING,     OFN_DONTADDTORECENT, OFN_FORCESHOWHIDDEN};
  DWORD result = 0;
  for (unsigned i = 0; i < std::size(flags); ++i)
    if (Options & (1u << i)) result |= flags[i];
  return result;
}

DWORD OpenDialogFlags(TOpenOptions Options, bool WithTemplate) {
  DWORD flags = OpenOptionsToFlags(Options) | OFN_ENABLEHOOK;
  if (!(Options & OpenOption(ofOldStyleDialog))) flags |= OFN_EXPLORER;
  if (WithTemplate) flags |= OFN_ENABLETEMPLATE;
  return flags;
}

DWORD OpenOptionsExToFlagsEx(TOpenOptionsEx OptionsEx) {
  return (OptionsEx & (1u << ofExNoPlacesBar)) ? OFN_EX_NOPLACESBAR : 0;
}

TOpenOptions OptionsFromReturnedFlags(TOpenOptions Options, DWORD Flags) {
  const TOpenOptions returned = OpenOption(ofReadOnly) | OpenOption(ofExtensionDifferent);
  TOpenOptions result = Options & ~returned;
  if (Flags & OFN_READONLY) result |= OpenOption(ofReadOnly);
  if (Flags & OFN_EXTENSIONDIFFERENT) result |= OpenOption(ofExtensionDifferent);
  return result;
}

AnsiString DefaultExtFromFileName(const AnsiString& FileName) {
  size_t slash = FileName.find_last_of("\\:");
  size_t dot = FileName.rfind('.');
  if (dot == AnsiString::npos || (slash != AnsiString::npos && dot < slash)) return AnsiString();
  return FileName.substr(dot + 1);
}

size_t NeededNameBufferSize(DWORD ExtendedError, const void* Buffer) {
  if (ExtendedError != FNERR_BUFFERTOOSMALL) return 0;
  WORD needed = 0;
  std::memcpy(&needed, Buffer, sizeof needed);
  return needed;
}

size_t NameBufferBound(LRESULT FolderLength, LRESULT SpecLength) {
  if (FolderLength < 0 || SpecLength < 0) return 0;
  return static_cast<size_t>(FolderLength) + static_cast<size_t>(SpecLength) + 2;
}

// ---------------------------------------------------------------------------
// TOpenDialog

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>()) {}
TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
  return DoExecute([this](OPENFILENAMEA& r) { return RunFileDialog(&GetOpenFileNameA, r); });
}

bool TSaveDialog::Execute() {
  return DoExecute([this](OPENFILENAMEA& r) { return RunFileDialog(&GetSaveFileNameA, r); });
}

BOOL TOpenDialog::RunFileDialog(BOOL(WINAPI* DialogFunc)(LPOPENFILENAMEA), OPENFILENAMEA& Record) {
  BOOL ok = DialogFunc(&Record);
  if (!ok) FNeededBuffer = NeededNameBufferSize(CommDlgExtendedError(), Record.lpstrFile);
  return ok;
}

bool TOpenDialog::UsesExplorerStyle() const { return !(Options & OpenOption(ofOldStyleDialog)); }

HWND TOpenDialog::DialogWindow() const {
  if (!Handle()) return nullptr;
  return UsesExplorerStyle() ? GetParent(Handle()) : Handle();
}

bool TOpenDialog::DoExecute(const TOpenFileNameFunc& Func) {
  DWORD maxFile = std::max<DWORD>(MaxFileLength, MAX_PATH);
  for (;;) {
    FNameBuffer.assign(maxFile + 2, 0);
    std::copy_n(FileName.begin(), std::min<size_t>(FileName.size(), maxFile), FNameBuffer.begin());
    AnsiString filter = MakeFilterBuffer(Filter);
    OPENFILENAMEA record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = DialogOwner();
    record.hInstance = TemplateModule ? TemplateModule : HInstance;
    record.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    record.nFilterIndex = static_cast<DWORD>(FilterIndex);
    record.lpstrFile = FNameBuffer.data();
    record.nMaxFile = maxFile;
    record.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    record.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    record.Flags = OpenDialogFlags(Options, Template != nullptr);
    record.FlagsEx = OpenOptionsExToFlagsEx(OptionsEx);
    AnsiString defaultExt = DefaultExt;
    if (defaultExt.empty() && !(record.Flags & OFN_EXPLORER)) defaultExt = DefaultExtFromFileName(FileName);
    record.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    record.lpfnHook = reinterpret_cast<LPOFNHOOKPROC>(&CommonDialogHook);
    record.lpTemplateName = Template;

    FNeededBuffer = 0;
    if (TaskModalDialog([&] { return Func(record); })) {
      ReadFileNames(record.lpstrFile);
      Options = OptionsFromReturnedFlags(Options, record.Flags);
      FilterIndex = static_cast<int>(record.nFilterIndex);
      return true;
    }
    // A selection larger than the buffer is no cancel: ask again with room for it.
    if (FNeededBuffer == 0 || maxFile >= (1u << 24)) return false;
    maxFile = std::max<DWORD>(static_cast<DWORD>(FNeededBuffer) + 2, maxFile * 2);
  }
}

void TOpenDialog::ReadFileNames(const char* Buffer) {
  bool multi = (Options & OpenOption(ofAllowMultiSelect)) != 0;
  auto names = ParseFileNameBuffer(Buffer, multi, !UsesExplorerStyle());
  FFiles->Clear();
  for (const auto& name : names) FFiles->Add(name);
  FileName = names.empty() ? AnsiString() : names[0];
}

bool TOpenDialog::MessageHook(TMessage& Message) {
  switch (Message.Msg) {
    case WM_INITDIALOG:
      if (!UsesExplorerStyle()) {
        CenterWindow(Handle());
        DoShow();
      }
      Message.Result = TRUE;
      return true;
    case WM_NOTIFY: {
      auto* notify = reinterpret_cast<OFNOTIFYA*>(Message.LParam);
      switch (notify->hdr.code) {
        case CDN_INITDONE:
          CenterWindow(DialogWindow());
          DoShow();
          return true;
        case CDN_SELCHANGE:
          DoSelectionChange();
          return true;
        case CDN_FOLDERCHANGE:
          DoFolderChange();
          return true;
        case CDN_TYPECHANGE:
          FilterIndex = static_cast<int>(notify->lpOFN->nFilterIndex);
          DoTypeChange();
          return true;
        case CDN_FILEOK:
          if (GrowNameBuffer(*notify->lpOFN)) {
            Message.Result = TRUE;
            return true;
          }
          ReadFileNames(notify->lpOFN->lpstrFile);
          if (!DoCanClose()) {
            SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, 1);
            Message.Result = TRUE;
            return true;
          }
          return false;
        case CDN_INCLUDEITEM: {
          bool include = true;
          DoIncludeItem(*reinterpret_cast<OFNOTIFYEXA*>(Message.LParam), include);
          Message.Result = include ? TRUE : FALSE;
          return true;
        }
        default:
          return false;
      }
    }
    default:
      return TCommonDialog::MessageHook(Message);
  }
}

bool TOpenDialog::GrowNameBuffer(OPENFILENAMEA& Record) {
  HWND dialog = DialogWindow();
  if (!UsesExplorerStyle() || !(Options & OpenOption(ofAllowMultiSelect))) return false;
  size_t needed = NameBufferBound(SendMessageA(dialog, CDM_GETFOLDERPATH, 0, 0), SendMessageA(dialog, CDM_GETSPEC, 0, 0));
  if (needed <= Record.nMaxFile || Record.lpstrFile != FNameBuffer.data()) return false;
  // The selection was cut to fit: keep the dialog open, give it room and confirm again.
  FNameBuffer.assign(needed + 2, 0);
  Record.lpstrFile = FNameBuffer.data();
  Record.nMaxFile = static_cast<DWORD>(needed);
  SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, 1);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return true;
}

bool TOpenDialog::DoCanClose() {
  bool canClose = true;
  if (OnCanClose) OnCanClose(this, canClose);
  return canClose;
}

void TOpenDialog::DoSelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

void TOpenDialog::DoFolderChange() {
  if (OnFolderChange) OnFolderChange(this);
}

void TOpenDialog::DoTypeChange() {
  if (OnTypeChange) OnTypeChange(this);
}

void TOpenDialog::DoIncludeItem(const OFNOTIFYEXA& OFN, bool& Include) {
  if (OnIncludeItem) OnIncludeItem(this, OFN, Include);
}

// ---------------------------------------------------------------------------
// TFontDialog

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}
TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
  LOGFONTA font = FFont->LogFont();
  CHOOSEFONTA record{};
  record.lStructSize = sizeof record;
  record.hwndOwner = DialogOwner();
  record.lpLogFont = &font;
  record.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_ENABLEHOOK | ExtraFlags;
  record.rgbColors = ColorToRGB(FFont->Color());
  record.lpfnHook = reinterpret_cast<LPCFHOOKPROC>(&CommonDialogHook);
  if (!TaskModalDialog([&] { return ChooseFontA(&record); })) return false;
  FFont->SetLogFont(font);
  FFont->SetColor(static_cast<TColor>(record.rgbColors));
  return true;
}

bool TFontDialog::MessageHook(TMessage& Message) {
  if (Message.Msg == WM_INITDIALOG) {
    CenterWindow(Handle());
    DoShow();
    Message.Result = TRUE;
    return true;
  }
  return TCommonDialog::MessageHook(Message);
}

// ---------------------------------------------------------------------------
// Message dialogs: the pure parts.

namespace {

struct TButtonKind {
  const char* Name;
  const TResStringRec* Caption;
  TModalResult Result;
};

const TButtonKind kButtonKinds[] = {
    {"Yes", &SMsgDlgYes, mrYes},           {"No", &SMsgDlgNo, mrNo},
    {"OK", &SMsgDlgOK, mrOk},              {"Cancel", &SMsgDlgCancel, mrCancel},
    {"Abort", &SMsgDlgAbort, mrAbort},     {"Retry", &SMsgDlgRetry, mrRetry},
    {"Ignore", &SMsgDlgIgnore, mrIgnore},  {"All", &SMsgDlgAll, mrAll},
    {"NoToAll", &SMsgDlgNoToAll, mrNoToAll}, {"YesToAll", &SMsgDlgYesToAll, mrYesToAll},
    {"Help", &SMsgDlgHelp, mrNone},
};

const TButtonKind& ButtonKind(TMsgDlgBtn Btn) {
  if (Btn < mbYes || Btn > mbHelp) throw EInvalidOperation("Unexpected MsgDlgBtn");
  return kButtonKinds[Btn];
}

}  // namespace

const char* MsgDlgButtonName(TMsgDlgBtn Btn) { return ButtonKind(Btn).Name; }
const TResStringRec* MsgDlgButtonCaption(TMsgDlgBtn Btn) { return ButtonKind(Btn).Caption; }
TModalResult MsgDlgButtonResult(TMsgDlgBtn Btn) { return ButtonKind(Btn).Result; }

const TResStringRec* MsgDlgTypeCaption(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning: return &SMsgDlgWarning;
    case mtError: return &SMsgDlgError;
    case mtInformation: return &SMsgDlgInformation;
    case mtConfirmation: return &SMsgDlgConfirm;
    default: return nullptr;
  }
}

LPCSTR MsgDlgTypeIcon(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning: return IDI_EXCLAMATION;
    case mtError: return IDI_HAND;
    case mtInformation: return IDI_ASTERISK;
    case mtConfirmation: return IDI_QUESTION;
    default: return nullptr;
  }
}

TMsgDlgBtn DefaultMsgDlgButton(TMsgDlgButtons Buttons) {
  if (Buttons & MsgDlgButton(mbOK)) return mbOK;
  if (Buttons & MsgDlgButton(mbYes)) return mbYes;
  return mbRetry;
}

TMsgDlgBtn CancelMsgDlgButton(TMsgDlgButtons Buttons) {
  if (Buttons & MsgDlgButton(mbCancel)) return mbCancel;
  if (Buttons & MsgDlgButton(mbNo)) return mbNo;
  return mbOK;
}

TMessageDialogLayout LayoutMessageDialog(const TMessageDialogMetrics& M) {
  TMessageDialogLayout L;
  const int hMargin = MulDiv(8, M.DialogUnitX, 4);
  const int vMargin = MulDiv(8, M.DialogUnitY, 8);
  const int hSpacing = MulDiv(10, M.DialogUnitX, 4);
  const int vSpacing = MulDiv(10, M.DialogUnitY, 8);
  L.ButtonWidth = std::max(MulDiv(50, M.DialogUnitX, 4), M.WidestButtonCaption + 8);
  L.ButtonHeight = MulDiv(14, M.DialogUnitY, 8);
  L.ButtonSpacing = MulDiv(4, M.DialogUnitX, 4);

  int iconTextWidth = M.TextSize.cx;
  int iconTextHeight = M.TextSize.cy;
  if (M.HasIcon) {
    iconTextWidth += 32 + hSpacing;
    iconTextHeight = std::max(iconTextHeight, 32);
  }
  const int groupWidth = M.ButtonCount * L.ButtonWidth + std::max(M.ButtonCount - 1, 0) * L.ButtonSpacing;
  L.ClientWidth = std::max(iconTextWidth, groupWidth) + 2 * hMargin;
  L.ClientHeight = iconTextHeight + L.ButtonHeight + vSpacing + 2 * vMargin;
  int textLeft = hMargin;
  if (M.HasIcon) {
    L.Icon = RECT{hMargin, vMargin, hMargin + 32, vMargin + 32};
    textLeft += 32 + hSpacing;
  }
  L.Text = RECT{textLeft, vMargin, textLeft + M.TextSize.cx, vMargin + M.TextSize.cy};
  L.FirstButtonLeft = (L.ClientWidth - groupWidth) / 2;
  L.ButtonTop = iconTextHeight + vMargin + vSpacing;
  return L;
}

POINT DialogUnitsOf(HDC DC) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE size{};
  GetTextExtentPoint32A(DC, alphabet, 52, &size);
  TEXTMETRICA metrics{};
  GetTextMetricsA(DC, &metrics);
  return POINT{(size.cx / 26 + 1) / 2, metrics.tmHeight};
}

// ---------------------------------------------------------------------------
// The 8-bit message dialog.

namespace {

LOGFONTA MessageFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return metrics.lfMessageFont;
}

}  // namespace

TMessageIcon::TMessageIcon(TComponent* AOwner, LPCSTR IconName)
    : TGraphicControl(AOwner), FIcon(LoadIconA(nullptr, IconName)) {}

void TMessageIcon::Paint() { DrawIconEx(Canvas()->Handle(), 0, 0, FIcon, 32, 32, 0, nullptr, DI_NORMAL); }

AnsiString TMessageForm::ClipboardText() {
  std::vector<AnsiString> buttons;
  AnsiString message;
  for (int i = 0; i < ComponentCount(); ++i) {
    if (auto* b = dynamic_cast<TButton*>(Components(i))) buttons.push_back(b->Caption());
    if (Components(i)->Name() == "Message") message = static_cast<TLabel*>(Components(i))->Caption();
  }
  return MessageDialogClipboardText(Caption(), message, buttons);
}

void TMessageForm::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == 'C' && (Shift & (ssShift | ssAlt | ssCtrl)) == ssCtrl) {
    MessageBeep(0);
    AnsiString text = ClipboardText();
    if (OpenClipboard(WindowHandle())) {
      EmptyClipboard();
      if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        std::memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
        GlobalUnlock(mem);
        if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);
      }
      CloseClipboard();
    }
  }
  TForm::KeyDown(Key, Shift);
}

void BuildMessageDialog(TCustomForm* Form, TMsgDlgType DlgType, TMsgDlgButtons Buttons, TMsgDlgBtn DefaultKind,
                        const TMessageDialogParts& Parts) {
  TMessageDialogMetrics metrics;
  RECT textRect{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
  std::vector<TMsgDlgBtn> kinds;
  {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Form->Font()->Handle());
    ScopeExit release{[&] {
      SelectObject(dc, old);
      ReleaseDC(nullptr, dc);
    }};
    POINT units = DialogUnitsOf(dc);
    metrics.DialogUnitX = units.x;
    metrics.DialogUnitY = units.y;
    Parts.MeasureMessage(dc, textRect,
                         DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | Form->DrawTextBiDiModeFlagsReadingOnly());
    for (int b = mbYes; b <= mbHelp; ++b) {
      if (!(Buttons & (1u << b))) continue;
      kinds.push_back(static_cast<TMsgDlgBtn>(b));
      metrics.WidestButtonCaption = std::max(metrics.WidestButtonCaption, Parts.ButtonCaptionWidth(dc, kinds.back()));
    }
  }
  metrics.TextSize = SIZE{textRect.right, textRect.bottom};
  LPCSTR icon = MsgDlgTypeIcon(DlgType);
  metrics.HasIcon = icon != nullptr;
  metrics.ButtonCount = static_cast<int>(kinds.size());
  TMessageDialogLayout layout = LayoutMessageDialog(metrics);

  Form->SetClientWidth(layout.ClientWidth);
  Form->SetClientHeight(layout.ClientHeight);
  Form->SetPosition(poScreenCenter);
  bool rtl = Form->UseRightToLeftAlignment();
  auto mirrored = [&](RECT r) {
    if (rtl) r = RECT{layout.ClientWidth - r.right, r.top, layout.ClientWidth - r.left, r.bottom};
    return r;
  };
  if (icon) {
    auto* image = new TMessageIcon(Form, icon);
    image->SetName("Image");
    image->SetParent(Form);
    image->SetBoundsRect(mirrored(layout.Icon));
  }
  // The texts are set already: names given now must not replace them.
  TControl* label = Parts.MakeLabel(Form);
  label->ControlStyle &= ~csSetCaption;
  label->SetName("Message");
  label->SetParent(Form);
  label->SetBoundsRect(mirrored(layout.Text));

  TMsgDlgBtn cancelKind = CancelMsgDlgButton(Buttons);
  int x = layout.FirstButtonLeft;
  for (TMsgDlgBtn kind : kinds) {
    TButton* button = Parts.MakeButton(Form, kind);
    button->ControlStyle &= ~csSetCaption;
    button->SetName(MsgDlgButtonName(kind));
    button->SetParent(Form);
    button->ModalResult = MsgDlgButtonResult(kind);
    button->SetBounds(x, layout.ButtonTop, layout.ButtonWidth, layout.ButtonHeight);
    if (kind == DefaultKind) {
      button->SetDefault(true);
      // Focused once the form shows, as a stored form's active control is.
      Form->SetComponentState(csLoading, true);
      Form->SetActiveControl(button);
      Form->SetComponentState(csLoading, false);
    }
    if (kind == cancelKind) button->Cancel = true;
    // Help closes nothing: it opens the help of the dialog's context.
    if (kind == mbHelp)
      button->OnClick = [Form](TObject*) {
        if (Application) Application->HelpContext(Form->HelpContext());
      };
    x += layout.ButtonWidth + layout.ButtonSpacing;
  }
}

TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  TMessageForm* form = TCustomForm::CreateNew<TMessageForm>(nullptr);
  try {
    LOGFONTA font = MessageFont();
    form->Font()->SetLogFont(font);
    form->SetBorderStyle(bsDialog);
    form->SetKeyPreview(true);
    const TResStringRec* caption = MsgDlgTypeCaption(DlgType);
    form->SetCaption(caption ? LoadResString(caption) : (Application ? Application->Title() : AnsiString()));
    TMessageDialogParts parts;
    parts.MeasureMessage = [&](HDC dc, RECT& r, UINT flags) { DrawTextA(dc, Msg.c_str(), -1, &r, flags); };
    parts.ButtonCaptionWidth = [](HDC dc, TMsgDlgBtn kind) {
      AnsiString text = LoadResString(MsgDlgButtonCaption(kind));
      RECT r{0, 0, 0, 0};
      DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
      return static_cast<int>(r.right);
    };
    parts.MakeLabel = [&](TCustomForm* f) -> TControl* {
      auto* label = new TLabel(f);
      label->SetCaption(Msg);
      return label;
    };
    parts.MakeButton = [](TCustomForm* f, TMsgDlgBtn kind) {
      auto* button = new TButton(f);
      button->SetCaption(LoadResString(MsgDlgButtonCaption(kind)));
      return button;
    };
    BuildMessageDialog(form, DlgType, Buttons, DefaultMsgDlgButton(Buttons), parts);
  } catch (...) {
    form->Free();
    throw;
  }
  return form;
}

int MessageDlgPos(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
  TForm* form = CreateMessageDialog(Msg, DlgType, Buttons);
  ScopeExit free{[&] { form->Free(); }};
  form->SetHelpContext(HelpCtx);
  if (X >= 0 || Y >= 0) form->SetPosition(poDesigned);
  if (X >= 0) form->SetLeft(X);
  if (Y >= 0) form->SetTop(Y);
  return form->ShowModal();
}

int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return MessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1);
}

void ShowMessagePos(const AnsiString& Msg, int X, int Y) {
  MessageDlgPos(Msg, mtCustom, MsgDlgButton(mbOK), 0, X, Y);
}

void ShowMessage(const AnsiString& Msg) { ShowMessagePos(Msg, -1, -1); }

// ---------------------------------------------------------------------------

namespace {

const std::vector<TPropInfo>& CommonDialogProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TCommonDialog>()
      .Property("Ctl3D", &TCommonDialog::Ctl3D).Default(true)
      .Property("HelpContext", &TCommonDialog::HelpContext).Default(0)
      .Property("OnClose", &TCommonDialog::OnClose)
      .Property("OnShow", &TCommonDialog::OnShow)
      .Table();
  return t;
}

const std::vector<TPropInfo>& OpenDialogProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TOpenDialog>()
      .Property("DefaultExt", &TOpenDialog::DefaultExt)
      .Property("FileName", &TOpenDialog::FileName)
      .Property("Filter", &TOpenDialog::Filter)
      .Property("FilterIndex", &TOpenDialog::FilterIndex).Default(1)
      .Property("InitialDir", &TOpenDialog::InitialDir)
      .SetProperty<TOpenOption>("Options", &TOpenDialog::Options)
          .Default(static_cast<int>(OpenOption(ofHideReadOnly) | OpenOption(ofEnableSizing)))
      .SetProperty<TOpenOptionEx>("OptionsEx", &TOpenDialog::OptionsEx).Default(0)
      .Property("Title", &TOpenDialog::Title)
      .Property("OnCanClose", &TOpenDialog::OnCanClose)
      .Property("OnFolderChange", &TOpenDialog::OnFolderChange)
      .Property("OnSelectionChange", &TOpenDialog::OnSelectionChange)
      .Property("OnTypeChange", &TOpenDialog::OnTypeChange)
      .Table();
  return t;
}

}  // namespace

VCL_CLASS_IMPL(TCommonDialog, TComponent, nullptr, &CommonDialogProps)
VCL_CLASS_IMPL(TOpenDialog, TCommonDialog, &CreateComponentOf<TOpenDialog>, &OpenDialogProps)
VCL_CLASS_IMPL(TSaveDialog, TOpenDialog, &CreateComponentOf<TSaveDialog>, nullptr)
VCL_CLASS_IMPL(TFontDialog, TCommonDialog, &CreateComponentOf<TFontDialog>, nullptr)
VCL_CLASS_IMPL(TMessageForm, TForm, nullptr, nullptr)
VCL_CLASS_IMPL(TMessageIcon, TGraphicControl, nullptr, nullptr)

void RegisterDialogs() {
  RegisterClasses({TOpenDialog::StaticClass(), TSaveDialog::StaticClass(), TFontDialog::StaticClass()});
}

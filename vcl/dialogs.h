// Common dialogs (open, save, font) run modally over the application, and the message
// dialogs: forms built in code with an icon, the message and a row of buttons.
//
// The pure parts (the filter buffer, the option flags, the parsing of the names a dialog
// returns, the message dialog's layout and clipboard text) are kept apart from the window
// code so that they can be checked on their own; the wide layer uses them too.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <memory>
#include <vector>

#include "vcl/forms.h"
#include "vcl/resstrings.h"
#include "vcl/strings.h"

class TButton;

// ---------------------------------------------------------------------------
// The common dialog.

class TCommonDialog : public TComponent {
  VCL_CLASS(TCommonDialog)
 public:
  explicit TCommonDialog(TComponent* AOwner);
  ~TCommonDialog() override;

  // True when the user confirmed the dialog.
  virtual bool Execute() = 0;

  // The window of the running dialog that carries the dialog's hook (for explorer-style
  // file dialogs a child of the system's dialog window); null when none runs.
  HWND Handle() const { return FHandle; }
  bool Ctl3D = true;
  int HelpContext = 0;
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

  // Runs DialogFunc modally (RunTaskModalHelp with HelpContext); the dialog's hook window
  // finds this object.
  BOOL TaskModalDialog(const std::function<BOOL()>& DialogFunc);

 protected:
  friend INT_PTR CALLBACK CommonDialogHook(HWND, UINT, WPARAM, LPARAM);
  // A message of the dialog's hook window; true when handled (Message.Result is the hook's
  // answer). The base centres the system's dialog and reports its end.
  virtual bool MessageHook(TMessage& Message);
  virtual void DoShow();
  virtual void DoClose();
  void SetHandle(HWND Value) { FHandle = Value; }

 private:
  HWND FHandle = nullptr;
};

// Runs DialogFunc with the other windows of the thread disabled; the active window is
// given back afterwards, whatever DialogFunc does or raises.
BOOL RunTaskModal(const std::function<BOOL()>& DialogFunc);
// RunTaskModal with the application window hooked meanwhile: a system dialog's Help button
// ("commdlg_help" sent to its owner, the application window) opens HelpContext through the
// application's help.
BOOL RunTaskModalHelp(const std::function<BOOL()>& DialogFunc, int HelpContext);

// The hook procedure of the framework's dialogs: the dialog object comes with
// WM_INITDIALOG (the record's custom data) and stays with the hook window.
INT_PTR CALLBACK CommonDialogHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// The messages the dialogs send their owner ("commdlg_help", "commdlg_FindReplace").
UINT HelpMsg();
UINT FindMsg();

// ---------------------------------------------------------------------------
// Open and save dialogs.

enum TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
  ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
  ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
  ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing,
  ofDontAddToRecent, ofForceShowHidden
};
VCL_ENUM_INFO(TOpenOption, "ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
              "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",
              "ofFileMustExist", "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate",
              "ofNoNetworkButton", "ofNoLongNames", "ofOldStyleDialog", "ofNoDereferenceLinks",
              "ofEnableIncludeNotify", "ofEnableSizing", "ofDontAddToRecent", "ofForceShowHidden")
using TOpenOptions = unsigned;  // bit n is the option of ordinal n
constexpr TOpenOptions OpenOption(TOpenOption o) { return 1u << o; }

enum TOpenOptionEx { ofExNoPlacesBar };
VCL_ENUM_INFO(TOpenOptionEx, "ofExNoPlacesBar")
using TOpenOptionsEx = unsigned;

// The system's OFN_ flags of Options (ofNoLongNames and ofOldStyleDialog aside, which only
// decide the explorer style: see OpenDialogFlags).
DWORD OpenOptionsToFlags(TOpenOptions Options);
// All flags of a run: the options' flags, then the hook, and the explorer style unless an
// old-style dialog is asked for.
DWORD OpenDialogFlags(TOpenOptions Options, bool WithTemplate);
// OFN_EX_NOPLACESBAR for ofExNoPlacesBar.
DWORD OpenOptionsExToFlagsEx(TOpenOptionsEx OptionsEx);
// Options after a confirmed run: ofReadOnly and ofExtensionDifferent follow the returned
// flags, the rest is kept.
TOpenOptions OptionsFromReturnedFlags(TOpenOptions Options, DWORD Flags);

// The dialog's filter buffer: every "|" a zero character, two more zeros at the end. An
// empty filter is no buffer (empty).
template <class S>
S MakeFilterBuffer(const S& Filter) {
  if (Filter.empty()) return S();
  S result = Filter;
  for (auto& c : result)
    if (c == '|') c = 0;
  result.push_back(0);
  result.push_back(0);
  return result;
}

// The items of a returned name buffer: separated by Separator, up to the first empty item.
template <class C>
std::vector<std::basic_string<C>> SplitNameBuffer(const C* Buffer, C Separator) {
  std::vector<std::basic_string<C>> items;
  const C* p = Buffer;
  for (;;) {
    const C* start = p;
    while (*p && *p != Separator) ++p;
    if (p == start) break;
    items.emplace_back(start, p);
    if (!*p) {
      // A zero separator ends an item here; any other ends the whole text.
      if (Separator != 0) break;
    }
    ++p;
  }
  return items;
}

// The chosen files from the items of a multi-selection: none gives one empty name, one is
// a whole path; of several the first is the folder of the others, except those that are
// already rooted ("\..." or "X:\...").
template <class S>
std::vector<S> FilesFromNameItems(const std::vector<S>& Items) {
  if (Items.empty()) return {S()};
  if (Items.size() == 1) return Items;
  S folder = Items[0];
  if (folder.empty() || folder.back() != '\\') folder.push_back('\\');
  std::vector<S> files;
  for (size_t i = 1; i < Items.size(); ++i) {
    const S& name = Items[i];
    bool rooted = (!name.empty() && name[0] == '\\') || (name.size() > 3 && name[1] == ':' && name[2] == '\\');
    files.push_back(rooted ? name : folder + name);
  }
  return files;
}

// The chosen files of a returned buffer: one name up to the separator, or the
// multi-selection's items. The separator is a blank for old-style multi-selection
// dialogs, else a zero character.
template <class C>
std::vector<std::basic_string<C>> ParseFileNameBuffer(const C* Buffer, bool MultiSelect, bool OldStyle) {
  C separator = (MultiSelect && OldStyle) ? C(' ') : C(0);
  if (!MultiSelect) {
    const C* p = Buffer;
    while (*p && *p != separator) ++p;
    return {std::basic_string<C>(Buffer, p)};
  }
  return FilesFromNameItems(SplitNameBuffer(Buffer, separator));
}

// The extension a dialog without the explorer style appends: the file name's, without
// its dot.
AnsiString DefaultExtFromFileName(const AnsiString& FileName);
// A folder path loses its trailing "\"; a drive root ("C:\") and "\" keep it.
template <class S>
S TrimInitialDir(const S& Dir) {
  if (Dir.size() > 1 && Dir.back() == '\\' && Dir[Dir.size() - 2] != ':') return Dir.substr(0, Dir.size() - 1);
  return Dir;
}

// After a run that failed: the characters of name buffer the selection needs (the dialog
// leaves the count in the buffer's first 16 bits) when the buffer was too small, else 0.
size_t NeededNameBufferSize(DWORD ExtendedError, const void* Buffer);

// An upper bound of the name buffer a multi-selection needs: the folder's length and the
// length of the name box's text (quoted names) as the dialog reports them (CDM_GETFOLDERPATH,
// CDM_GETSPEC), each item with its terminator. 0 when the dialog could not say.
size_t NameBufferBound(LRESULT FolderLength, LRESULT SpecLength);

class TOpenDialog;
using TIncludeItemEvent = std::function<void(TObject* Sender, const OFNOTIFYEXA& OFN, bool& Include)>;
// Shows the prepared record; returns what GetOpenFileNameA would.
using TOpenFileNameFunc = std::function<BOOL(OPENFILENAMEA& Record)>;

class TOpenDialog : public TCommonDialog {
  VCL_CLASS(TOpenDialog)
 public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;

  bool Execute() override;

  AnsiString DefaultExt;
  AnsiString FileName;
  AnsiString Filter;
  int FilterIndex = 1;
  AnsiString InitialDir;
  AnsiString Title;
  TOpenOptions Options = OpenOption(ofHideReadOnly) | OpenOption(ofEnableSizing);
  TOpenOptionsEx OptionsEx = 0;
  // The chosen files, in the order the dialog gave them.
  TStrings* Files() const { return FFiles.get(); }
  // A custom dialog template: a resource name, or a number (MAKEINTRESOURCE), in
  // TemplateModule (null: the program).
  LPCSTR Template = nullptr;
  HINSTANCE TemplateModule = nullptr;
  // Characters of the name buffer (a multi-selection needs more; the dialog grows it when
  // a selection does not fit).
  DWORD MaxFileLength = 32767;

  TCloseQueryEvent OnCanClose;
  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnFolderChange;
  TNotifyEvent OnTypeChange;
  TIncludeItemEvent OnIncludeItem;

 protected:
  // Prepares the record of an 8-bit run and hands it to Func inside TaskModalDialog. When
  // the selection did not fit the name buffer the buffer grows and the dialog is shown
  // again. On success the chosen names, the flags and the filter index are read back.
  bool DoExecute(const TOpenFileNameFunc& Func);
  bool MessageHook(TMessage& Message) override;
  virtual bool DoCanClose();
  virtual void DoSelectionChange();
  virtual void DoFolderChange();
  virtual void DoTypeChange();
  virtual void DoIncludeItem(const OFNOTIFYEXA& OFN, bool& Include);
  // The parent of the hook window: the system's dialog (explorer style) or the hook
  // window itself (old style).
  HWND DialogWindow() const;
  bool UsesExplorerStyle() const;
  // Runs a system file dialog on Record; notes the buffer size a selection that did not
  // fit needs, for DoExecute's second attempt.
  BOOL RunFileDialog(BOOL(WINAPI* DialogFunc)(LPOPENFILENAMEA), OPENFILENAMEA& Record);
  // The names of the returned buffer become FileName and Files.
  void ReadFileNames(const char* Buffer);

 private:
  // At the confirmation of an explorer-style multi-selection: when the names may not have
  // fit the buffer, it grows, the confirmation is refused and repeated; true then.
  bool GrowNameBuffer(OPENFILENAMEA& Record);

  std::unique_ptr<TStringList> FFiles;
  std::vector<char> FNameBuffer;
  size_t FNeededBuffer = 0;
};

class TSaveDialog : public TOpenDialog {
  VCL_CLASS(TSaveDialog)
 public:
  using TOpenDialog::TOpenDialog;
  bool Execute() override;
};

// ---------------------------------------------------------------------------
// The font dialog.

class TFontDialog : public TCommonDialog {
  VCL_CLASS(TFontDialog)
 public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  // Starts from Font; a confirmed choice becomes Font.
  bool Execute() override;
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  // CF_ flags added to the screen-fonts and initial-font flags.
  DWORD ExtraFlags = 0;

 protected:
  bool MessageHook(TMessage& Message) override;

 private:
  std::unique_ptr<TFont> FFont;
};

// ---------------------------------------------------------------------------
// Message dialogs.

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = unsigned;  // bit n is the button of ordinal n
constexpr TMsgDlgButtons MsgDlgButton(TMsgDlgBtn b) { return 1u << b; }
constexpr TMsgDlgButtons mbYesNoCancel = (1u << mbYes) | (1u << mbNo) | (1u << mbCancel);
constexpr TMsgDlgButtons mbOKCancel = (1u << mbOK) | (1u << mbCancel);

// What each kind of button is: its component name, its caption and its modal result.
const char* MsgDlgButtonName(TMsgDlgBtn Btn);
const TResStringRec* MsgDlgButtonCaption(TMsgDlgBtn Btn);
TModalResult MsgDlgButtonResult(TMsgDlgBtn Btn);
// The caption ("Warning"...) of a type; null for mtCustom (the application's title).
const TResStringRec* MsgDlgTypeCaption(TMsgDlgType Type);
// The system icon of a type (IDI_EXCLAMATION...); null for mtCustom.
LPCSTR MsgDlgTypeIcon(TMsgDlgType Type);
// OK when present, else Yes, else Retry.
TMsgDlgBtn DefaultMsgDlgButton(TMsgDlgButtons Buttons);
// Cancel when present, else No, else OK.
TMsgDlgBtn CancelMsgDlgButton(TMsgDlgButtons Buttons);

// What the layout of a message dialog is computed from: the font's dialog units, the
// message's size when drawn with word breaks in half the screen's width, whether there is
// an icon, and the chosen buttons with the widest caption.
struct TMessageDialogMetrics {
  int DialogUnitX = 0;
  int DialogUnitY = 0;
  SIZE TextSize{};
  bool HasIcon = false;
  int ButtonCount = 0;
  int WidestButtonCaption = 0;
};
struct TMessageDialogLayout {
  int ClientWidth = 0;
  int ClientHeight = 0;
  RECT Icon{};   // empty without an icon
  RECT Text{};
  int ButtonWidth = 0;
  int ButtonHeight = 0;
  int ButtonSpacing = 0;
  int FirstButtonLeft = 0;
  int ButtonTop = 0;
};
TMessageDialogLayout LayoutMessageDialog(const TMessageDialogMetrics& Metrics);
// The dialog units of a font on DC: X from the average width of the alphabet, Y the height.
POINT DialogUnitsOf(HDC DC);

// The text Ctrl+C puts on the clipboard: caption, message and button captions (without
// their "&"), each part framed by a divider line.
template <class S>
S MessageDialogClipboardText(const S& Caption, const S& Message, const std::vector<S>& ButtonCaptions) {
  const S divider = S(27, '-') + S{'\r', '\n'};
  const S crlf{'\r', '\n'};
  S buttons;
  for (const S& caption : ButtonCaptions) {
    for (auto c : caption)
      if (c != '&') buttons.push_back(c);
    buttons += S(3, ' ');
  }
  return divider + Caption + crlf + divider + Message + crlf + divider + buttons + crlf + divider;
}

// A system icon (IDI_...) drawn at 32 x 32: the message dialogs' image.
class TMessageIcon : public TGraphicControl {
  VCL_CLASS(TMessageIcon)
 public:
  TMessageIcon(TComponent* AOwner, LPCSTR IconName);

 protected:
  void Paint() override;

 private:
  HICON FIcon;
};

// What differs between the 8-bit and the wide message dialog: how texts are measured and
// which label and button classes carry them. The rest of the dialog is built once.
struct TMessageDialogParts {
  // The message's extent with word breaks in Rect's width (DrawText with DT_CALCRECT).
  std::function<void(HDC DC, RECT& Rect, UINT Flags)> MeasureMessage;
  // The single-line width of a button's caption.
  std::function<int(HDC DC, TMsgDlgBtn Kind)> ButtonCaptionWidth;
  // The message label and the buttons, made on the form with their texts.
  std::function<TControl*(TCustomForm* Form)> MakeLabel;
  std::function<TButton*(TCustomForm* Form, TMsgDlgBtn Kind)> MakeButton;
};
// Sizes the form (its font set) for the message and the buttons, then places the icon of
// the type, the message and the buttons, the default one focused and the cancel one marked.
void BuildMessageDialog(TCustomForm* Form, TMsgDlgType DlgType, TMsgDlgButtons Buttons, TMsgDlgBtn DefaultKind,
                        const TMessageDialogParts& Parts);

// The 8-bit message dialog form.
class TMessageForm : public TForm {
  VCL_CLASS(TMessageForm)
 public:
  using TForm::TForm;
  // The dialog's text as Ctrl+C copies it.
  AnsiString ClipboardText();

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
};

// Builds the dialog (not shown). The caller frees it.
TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// X and Y place the dialog when not negative; both negative centre it on the screen.
int MessageDlgPos(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
// An information-less dialog with OK, captioned with the application's title.
void ShowMessage(const AnsiString& Msg);
void ShowMessagePos(const AnsiString& Msg, int X, int Y);

// Registers the classes above for stored descriptions.
void RegisterDialogs();

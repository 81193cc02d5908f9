#include "widetext/uni_edits.h"

#include <algorithm>
#include <vector>

#include "vcl/resstrings.h"
#include "vcl/streaming.h"
#include "widetext/platform.h"
#include "widetext/uni_combo_box.h"
#include "widetext/uni_controls.h"
#include "widetext/wide_control_text.h"
#include "widetext/wide_props.h"
#include "widetext/wide_selection.h"

namespace {

const std::vector<TPropInfo>& UniEditProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniEdit>()
      .Property("Text", &TUniCustomEdit::Text, &TUniCustomEdit::SetText).Stored(&TUniCustomEdit::IsTextStored)
      .Property("PasswordChar", &TUniCustomEdit::PasswordChar, &TUniCustomEdit::SetPasswordChar).Default(0)
      .Property("Hint", &TUniCustomEdit::Hint, &TUniCustomEdit::SetHint).Stored(&TUniCustomEdit::IsHintStored)
      .Table();
  return table;
}

const std::vector<TPropInfo>& UniMemoProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniMemo>()
      .Property("Lines", &TUniCustomMemo::Lines, &TUniCustomMemo::SetLines)
      .Property("Hint", &TUniCustomMemo::Hint, &TUniCustomMemo::SetHint).Stored(&TUniCustomMemo::IsHintStored)
      .Table();
  return table;
}

bool FarEastLocale() { return GetSystemMetrics(SM_DBCSENABLED) != 0; }

// Control's window hidden from the framework for the length of a call.
class THiddenHandle {
 public:
  explicit THiddenHandle(TWinControl* Control) : FControl(Control), FHandle(Control->WindowHandle()) {
    FControl->SetWindowHandle(nullptr);
  }
  ~THiddenHandle() { FControl->SetWindowHandle(FHandle); }
  THiddenHandle(const THiddenHandle&) = delete;
  THiddenHandle& operator=(const THiddenHandle&) = delete;

 private:
  TWinControl* FControl;
  HWND FHandle;
};

using TEditSelection = TWideSelection<TCustomEdit>;

}  // namespace

VCL_CLASS_IMPL(TUniCustomEdit, TCustomEdit, nullptr, nullptr)
VCL_CLASS_IMPL(TUniEdit, TUniCustomEdit, &CreateComponentOf<TUniEdit>, &UniEditProperties)
VCL_CLASS_IMPL(TUniMemoStrings, TUniStrings, nullptr, nullptr)
VCL_CLASS_IMPL(TUniCustomMemo, TCustomMemo, nullptr, nullptr)
VCL_CLASS_IMPL(TUniMemo, TUniCustomMemo, &CreateComponentOf<TUniMemo>, &UniMemoProperties)

void RegisterUniEditControls() {
  RegisterClasses({TUniEdit::StaticClass(), TUniMemo::StaticClass(), TUniComboBox::StaticClass()});
}

char AnsiPasswordChar(WideChar Value) { return Value < 256 ? static_cast<char>(Value) : '*'; }

// ---------------------------------------------------------------------------
// TUniCustomEdit

TUniCustomEdit::TUniCustomEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

WideString TUniCustomEdit::Text() { return UniControl_GetText(this); }
void TUniCustomEdit::SetText(const WideString& Value) { UniControl_SetText(this, Value); }
WideString TUniCustomEdit::Hint() { return UniControl_GetHint(this); }
void TUniCustomEdit::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniCustomEdit::IsTextStored() const { return UniControl_IsCaptionStored(this); }
bool TUniCustomEdit::IsHintStored() const { return UniControl_IsHintStored(this); }

void TUniCustomEdit::DefineProperties(TFiler* Filer) {
  TCustomEdit::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniCustomEdit::CreateWindowHandle(const TCreateParams& Params) {
  if (!UnicodePlatform && FarEastLocale() && (Params.Style & ES_READONLY)) {
    // Those systems' 8-bit edits are made read-only once they exist, not at creation.
    TCreateParams params = Params;
    params.Style &= ~static_cast<DWORD>(ES_READONLY);
    CreateUnicodeHandle(this, params, L"EDIT");
    SendMessageA(WindowHandle(), EM_SETREADONLY, 1, 0);
    return;
  }
  CreateUnicodeHandle(this, Params, L"EDIT");
}

void TUniCustomEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  if (UnicodePlatform) SendMessageW(WindowHandle(), EM_SETPASSWORDCHAR, PasswordChar(), 0);
}

WideChar TUniCustomEdit::PasswordChar() {
  // The framework's character changed behind our back: it wins.
  char ansi = TCustomEdit::PasswordChar();
  if (AnsiPasswordChar(FPasswordChar) != ansi) FPasswordChar = static_cast<unsigned char>(ansi);
  return FPasswordChar;
}

void TUniCustomEdit::SetPasswordChar(WideChar Value) {
  if (PasswordChar() == Value) return;
  FPasswordChar = Value;
  {
    // Neither the 8-bit message nor a new window: the wide character goes below.
    THiddenHandle hidden(this);
    TCustomEdit::SetPasswordChar(AnsiPasswordChar(Value));
  }
  if (HasUnicodeWindow(this)) {
    SendMessageW(WindowHandle(), EM_SETPASSWORDCHAR, Value, 0);
    Invalidate();
  }
}

int TUniCustomEdit::SelStart() { return TEditSelection::SelStart(this); }
void TUniCustomEdit::SetSelStart(int Value) { TEditSelection::SetSelStart(this, Value); }
int TUniCustomEdit::SelLength() { return TEditSelection::SelLength(this); }
void TUniCustomEdit::SetSelLength(int Value) { TEditSelection::SetSelLength(this, Value); }
WideString TUniCustomEdit::SelText() { return TEditSelection::SelText(this); }

void TUniCustomEdit::SetSelText(const WideString& Value) {
  if (UnicodePlatform && IsWindowUnicode(Handle()))
    SendMessageW(WindowHandle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  else
    TCustomEdit::SetSelText(WideToAnsi(Value));
}

// ---------------------------------------------------------------------------
// TUniMemoStrings

TUniMemoStrings::TUniMemoStrings(TUniCustomMemo* Memo) : FMemo(Memo), FLines(Memo->TCustomMemo::Lines()) {}

HWND TUniMemoStrings::UnicodeWindow() const {
  if (!UnicodePlatform) return nullptr;
  HWND wnd = FMemo->Handle();
  return IsWindowUnicode(wnd) ? wnd : nullptr;
}

WideString TUniMemoStrings::Get(int Index) const {
  HWND wnd = UnicodeWindow();
  if (!wnd) return AnsiToWide(FLines->Get(Index));
  LRESULT start = SendMessageW(wnd, EM_LINEINDEX, Index, 0);
  LRESULT length = start < 0 ? 0 : SendMessageW(wnd, EM_LINELENGTH, start, 0);
  // An empty line (or none) has nothing to read; its buffer would not even hold the
  // length EM_GETLINE expects in its first character.
  if (length <= 0) return WideString();
  if (length > 0xFFFF) throw EOutOfResources(LoadResString(&SLineTooLong));
  std::vector<WideChar> buffer(static_cast<size_t>(length) + 1, 0);
  buffer[0] = static_cast<WideChar>(length);
  LRESULT copied = SendMessageW(wnd, EM_GETLINE, Index, reinterpret_cast<LPARAM>(buffer.data()));
  return WideString(buffer.data(), static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
}

int TUniMemoStrings::GetCount() const { return FLines->Count(); }

WideString TUniMemoStrings::GetTextStr() const { return UniControl_GetText(FMemo); }

void TUniMemoStrings::Put(int Index, const WideString& S) {
  HWND wnd = UnicodeWindow();
  if (!wnd) {
    FLines->Put(Index, WideToAnsi(S));
    return;
  }
  LRESULT start = SendMessageW(wnd, EM_LINEINDEX, Index, 0);
  if (start < 0) return;
  LRESULT length = SendMessageW(wnd, EM_LINELENGTH, start, 0);
  SendMessageW(wnd, EM_SETSEL, start, start + length);
  SendMessageW(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(S.c_str()));
}

void TUniMemoStrings::Insert(int Index, const WideString& S) {
  if (Index < 0) return;
  HWND wnd = UnicodeWindow();
  if (!wnd) {
    FLines->Insert(Index, WideToAnsi(S));
    return;
  }
  LRESULT at = SendMessageW(wnd, EM_LINEINDEX, Index, 0);
  WideString line;
  if (at >= 0) {
    line = S + L"\r\n";
  } else {
    // Past the last line: a new line after the last one, unless that one is empty.
    at = SendMessageW(wnd, EM_LINEINDEX, Index - 1, 0);
    if (at < 0) return;
    LRESULT length = SendMessageW(wnd, EM_LINELENGTH, at, 0);
    if (length == 0) return;
    at += length;
    line = L"\r\n" + S;
  }
  SendMessageW(wnd, EM_SETSEL, at, at);
  SendMessageW(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void TUniMemoStrings::SetTextStr(const WideString& Value) {
  WideString text = WideAdjustLineBreaks(Value, FLineBreakStyle);
  if (text == UniControl_GetText(FMemo)) return;
  FMemo->HandleNeeded();
  UniControl_SetText(FMemo, text);
}

void TUniMemoStrings::Clear() { FLines->Clear(); }
void TUniMemoStrings::Delete(int Index) { FLines->Delete(Index); }

void TUniMemoStrings::SetUpdateState(bool Updating) {
  if (Updating)
    FLines->BeginUpdate();
  else
    FLines->EndUpdate();
}

// ---------------------------------------------------------------------------
// TUniCustomMemo

namespace {
using TMemoSelection = TWideSelection<TCustomEdit>;
}

TUniCustomMemo::TUniCustomMemo(TComponent* AOwner) : TCustomMemo(AOwner), FLines(new TUniMemoStrings(this)) {}

TUniCustomMemo::~TUniCustomMemo() = default;

WideString TUniCustomMemo::Text() { return UniControl_GetText(this); }
void TUniCustomMemo::SetText(const WideString& Value) { UniControl_SetText(this, Value); }
WideString TUniCustomMemo::Hint() { return UniControl_GetHint(this); }
void TUniCustomMemo::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniCustomMemo::IsTextStored() const { return UniControl_IsCaptionStored(this); }
bool TUniCustomMemo::IsHintStored() const { return UniControl_IsHintStored(this); }
int TUniCustomMemo::SelStart() { return TMemoSelection::SelStart(this); }
void TUniCustomMemo::SetSelStart(int Value) { TMemoSelection::SetSelStart(this, Value); }
int TUniCustomMemo::SelLength() { return TMemoSelection::SelLength(this); }
void TUniCustomMemo::SetSelLength(int Value) { TMemoSelection::SetSelLength(this, Value); }

void TUniCustomMemo::DefineProperties(TFiler* Filer) {
  TCustomMemo::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniCustomMemo::CreateWindowHandle(const TCreateParams& Params) { CreateUnicodeHandle(this, Params, L"EDIT"); }

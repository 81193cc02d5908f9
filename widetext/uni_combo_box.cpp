#include "widetext/uni_combo_box.h"

#include <algorithm>
#include <vector>

#include "vcl/resstrings.h"
#include "vcl/scopeexit.h"
#include "vcl/streaming.h"
#include "vcl/waiting_items.h"
#include "widetext/char_messages.h"
#include "widetext/platform.h"
#include "widetext/synced_strings.h"
#include "widetext/uni_controls.h"
#include "widetext/uniexceptions.h"
#include "widetext/wide_canvas.h"
#include "widetext/wide_props.h"
#include "widetext/wide_selection.h"

DWORD (*UniComboTickCount)() = &GetTickCount;

namespace {

const char kAutoCompleteStyles[] =
    "Internal Error: UniCombo_AutoCompleteKeyPress is only for csSimple and csDropDown style combo boxes.";
const char kDestroyingHandle[] = "Internal Error: the combo box's window is already being destroyed.";

const std::vector<TPropInfo>& UniComboBoxProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniComboBox>()
      .Property("Items", &TUniCustomComboBox::Items, &TUniCustomComboBox::SetItems)
      .Property("Text", &TUniCustomComboBox::Text, &TUniCustomComboBox::SetText)
          .Stored(&TUniCustomComboBox::IsTextStored)
      .Property("Hint", &TUniCustomComboBox::Hint, &TUniCustomComboBox::SetHint)
          .Stored(&TUniCustomComboBox::IsHintStored)
      .Table();
  return table;
}

using TComboSelection = TWideSelection<TCustomComboBox>;

bool IsTextMessage(UINT Msg) { return Msg == WM_SETTEXT || Msg == WM_GETTEXT || Msg == WM_GETTEXTLENGTH; }

}  // namespace

VCL_CLASS_IMPL(TD7PatchedComboBoxStrings, TCustomComboBoxStrings, nullptr, nullptr)
VCL_CLASS_IMPL(TUniComboBoxStrings, TUniStrings, nullptr, nullptr)
VCL_CLASS_IMPL(TUniCustomComboBox, TCustomComboBox, nullptr, nullptr)
VCL_CLASS_IMPL(TUniComboBox, TUniCustomComboBox, &CreateComponentOf<TUniComboBox>, &UniComboBoxProperties)

// ---------------------------------------------------------------------------
// TD7PatchedComboBoxStrings

AnsiString TD7PatchedComboBoxStrings::Get(int Index) const {
  if (Waiting()) return TCustomComboBoxStrings::Get(Index);
  LRESULT length = Send(CB_GETLBTEXTLEN, Index, 0);
  if (length < 1) return AnsiString();
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  Send(CB_GETLBTEXT, Index, reinterpret_cast<LPARAM>(buffer.data()));
  return AnsiString(buffer.data());
}

int TD7PatchedComboBoxStrings::Add(const AnsiString& S) {
  if (Waiting()) return TCustomComboBoxStrings::Add(S);
  return CheckInserted(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str())));
}

void TD7PatchedComboBoxStrings::Insert(int Index, const AnsiString& S) {
  if (Waiting()) {
    TCustomComboBoxStrings::Insert(Index, S);
    return;
  }
  CheckInserted(Send(CB_INSERTSTRING, Index, reinterpret_cast<LPARAM>(S.c_str())));
}

// ---------------------------------------------------------------------------
// TUniComboBoxStrings

HWND TUniComboBoxStrings::UnicodeWindow() const {
  if (!UnicodePlatform) return nullptr;
  HWND wnd = FComboBox->Handle();
  return IsWindowUnicode(wnd) ? wnd : nullptr;
}

TStrings* TUniComboBoxStrings::AnsiItems() const { return FComboBox->TCustomComboBox::Items(); }

TUniStringList* TUniComboBoxStrings::Waiting() const {
  return UnicodePlatform && FComboBox->KeepsItemsWithoutWindow() ? FComboBox->WaitingWideItems() : nullptr;
}

WideString TUniComboBoxStrings::Get(int Index) const {
  if (TUniStringList* waiting = Waiting())
    return Index >= 0 && Index < waiting->Count() ? waiting->Get(Index) : WideString();
  HWND wnd = UnicodeWindow();
  if (!wnd) return AnsiToWide(AnsiItems()->Get(Index));
  LRESULT length = SendMessageW(wnd, CB_GETLBTEXTLEN, Index, 0);
  if (length == CB_ERR) return WideString();
  std::vector<WideChar> buffer(static_cast<size_t>(length) + 1, 0);
  if (SendMessageW(wnd, CB_GETLBTEXT, Index, reinterpret_cast<LPARAM>(buffer.data())) == CB_ERR) return WideString();
  return WideString(buffer.data());
}

int TUniComboBoxStrings::GetCount() const { return AnsiItems()->Count(); }
TObject* TUniComboBoxStrings::GetObject(int Index) const { return AnsiItems()->Objects(Index); }
void TUniComboBoxStrings::PutObject(int Index, TObject* Obj) { AnsiItems()->SetObjects(Index, Obj); }
void TUniComboBoxStrings::Delete(int Index) { AnsiItems()->Delete(Index); }

int TUniComboBoxStrings::Add(const WideString& S) {
  if (TUniStringList* waiting = Waiting()) return waiting->Add(S);
  HWND wnd = UnicodeWindow();
  if (!wnd) return AnsiItems()->Add(WideToAnsi(S));
  LRESULT index = SendMessageW(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str()));
  if (index < 0) throw EOutOfResources(LoadResString(&SInsertLineError));
  return static_cast<int>(index);
}

void TUniComboBoxStrings::Insert(int Index, const WideString& S) {
  if (TUniStringList* waiting = Waiting()) {
    Index = waiting_items::InsertPlace(Index, waiting->Count());
    if (Index < 0) throw EOutOfResources(LoadResString(&SInsertLineError));
    waiting->Insert(Index, S);
    FComboBox->WaitingItemInserted(Index);
    return;
  }
  HWND wnd = UnicodeWindow();
  if (!wnd) {
    AnsiItems()->Insert(Index, WideToAnsi(S));
    return;
  }
  if (SendMessageW(wnd, CB_INSERTSTRING, Index, reinterpret_cast<LPARAM>(S.c_str())) < 0)
    throw EOutOfResources(LoadResString(&SInsertLineError));
}

int TUniComboBoxStrings::IndexOf(const WideString& S) const {
  if (TUniStringList* waiting = Waiting()) return waiting_items::FindIgnoringCase(*waiting, S, WideCompareText);
  HWND wnd = UnicodeWindow();
  if (!wnd) return AnsiItems()->IndexOf(WideToAnsi(S));
  LRESULT found = SendMessageW(wnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(S.c_str()));
  return found == CB_ERR ? -1 : static_cast<int>(found);
}

void TUniComboBoxStrings::Clear() {
  if (TUniStringList* waiting = Waiting()) {
    waiting->Clear();
    FComboBox->WaitingItemsCleared();
    return;
  }
  // The edit part keeps what it shows.
  WideString text = UniControl_GetText(FComboBox);
  if (HWND wnd = UnicodeWindow())
    SendMessageW(wnd, CB_RESETCONTENT, 0, 0);
  else
    AnsiItems()->Clear();
  UniControl_SetText(FComboBox, text);
  FComboBox->Update();
}

void TUniComboBoxStrings::SetUpdateState(bool Updating) {
  if (Updating)
    AnsiItems()->BeginUpdate();
  else
    AnsiItems()->EndUpdate();
}

// ---------------------------------------------------------------------------
// TComboAutoSearch

WideString TComboAutoSearch::Typed(WideChar Char, DWORD Tick) {
  // Unsigned difference: right across the tick count's wrap-around.
  if (!FTyped || Tick - FLastTick >= ResetPause) FText.clear();
  FTyped = true;
  FLastTick = Tick;
  return FText + Char;
}

// ---------------------------------------------------------------------------
// TUniCustomComboBox

TUniCustomComboBox::TUniCustomComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner), FItems(new TUniComboBoxStrings(this)) {}

TUniCustomComboBox::~TUniCustomComboBox() = default;

TStrings* TUniCustomComboBox::CreateItems() { return new TD7PatchedComboBoxStrings(this); }

TUniStringList* TUniCustomComboBox::WaitingWideItems() {
  if (!FSaveItems) FSaveItems = std::make_unique<TUniStringList>();
  return FSaveItems.get();
}

TStrings* TUniCustomComboBox::WaitingItems() {
  if (!UnicodePlatform) return TCustomComboBox::WaitingItems();
  return WaitingWideItems()->AnsiStrings();
}

void TUniCustomComboBox::KeepSelectedText(int Index) {
  if (!UnicodePlatform) {
    TCustomComboBox::KeepSelectedText(Index);
    return;
  }
  WideString text = Index >= 0 ? FItems->Get(Index) : WideString();
  // Kept as the wide layer keeps any text without a window: the wide text in the helper and
  // its 8-bit form in the framework's copy.
  FindWideControlHelper(this, true)->Caption = text;
  AnsiString ansi = WideToAnsi(text);
  TMessage set{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansi.c_str()), 0};
  TControl::DefaultHandler(set);
}

WideString TUniCustomComboBox::Text() { return UniControl_GetText(this); }
void TUniCustomComboBox::SetText(const WideString& Value) { UniControl_SetText(this, Value); }
WideString TUniCustomComboBox::Hint() { return UniControl_GetHint(this); }
void TUniCustomComboBox::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniCustomComboBox::IsTextStored() const { return UniControl_IsCaptionStored(this); }
bool TUniCustomComboBox::IsHintStored() const { return UniControl_IsHintStored(this); }

int TUniCustomComboBox::SelStart() { return TComboSelection::SelStart(this); }
void TUniCustomComboBox::SetSelStart(int Value) { TComboSelection::SetSelStart(this, Value); }
int TUniCustomComboBox::SelLength() { return TComboSelection::SelLength(this); }
void TUniCustomComboBox::SetSelLength(int Value) { TComboSelection::SetSelLength(this, Value); }
WideString TUniCustomComboBox::SelText() { return TComboSelection::SelText(this); }

void TUniCustomComboBox::SetSelText(const WideString& Value) {
  HandleNeeded();
  if (FEditHandle && UnicodePlatform && IsWindowUnicode(FEditHandle))
    SendMessageW(FEditHandle, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  else
    TCustomComboBox::SetSelText(WideToAnsi(Value));
}

void TUniCustomComboBox::AddItem(const WideString& Item, TObject* AObject) { FItems->AddObject(Item, AObject); }

void TUniCustomComboBox::CopySelection(TCustomListControl* Destination) {
  int index = ItemIndex();
  if (index >= 0) WideListAddItem(Destination, FItems->Get(index), FItems->GetObject(index));
}

void TUniCustomComboBox::DefineProperties(TFiler* Filer) {
  TCustomComboBox::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniCustomComboBox::CreateWindowHandle(const TCreateParams& Params) {
  CreateUnicodeHandle(this, Params, L"COMBOBOX");
}

void TUniCustomComboBox::MakeInnerWindowUnicode(HWND Wnd, WNDPROC& DefProc) {
  // The framework subclassed it through the 8-bit entry point, which made it an 8-bit
  // window: its own procedure goes back first, is read again on the wide side, and the
  // subclass goes in through the wide entry point.
  SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefProc));
  DefProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Wnd, GWLP_WNDPROC));
  SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboChildWndProc));
}

void TUniCustomComboBox::CreateWnd() {
  AnsiString ansiText = TControl::Text();  // the control's own copy: there is no window yet
  const int savedIndex = FSaveIndex;       // the framework's part forgets it
  TCustomComboBox::CreateWnd();
  if (!UnicodePlatform) {
    TControl::SetText(ansiText);
    return;
  }
  if (FListHandle) MakeInnerWindowUnicode(FListHandle, FDefListProc);
  if (FEditHandle) MakeInnerWindowUnicode(FEditHandle, FDefEditProc);
  if (FSaveItems) {
    std::unique_ptr<TUniStringList> saved = std::move(FSaveItems);
    FItems->Assign(saved.get());
    if (savedIndex != -1)
      SendMessageW(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(std::min(savedIndex, FItems->Count() - 1)), 0);
  }
  FSaveIndex = -1;
  TWideControlHelper* helper = FindWideControlHelper(this, false);
  UniControl_SetText(this, helper ? GetSyncedWideString(helper->Caption, ansiText) : AnsiToWide(ansiText));
}

void TUniCustomComboBox::DestroyWnd() {
  if (ControlState & csDestroyingHandle) throw EUniInternalError(kDestroyingHandle);
  if (!UnicodePlatform) {
    TCustomComboBox::DestroyWnd();
    return;
  }
  WideString text = UniControl_GetText(this);
  if (FItems->Count() > 0) {
    FSaveItems = std::make_unique<TUniStringList>();
    FSaveItems->Assign(FItems.get());
    FSaveIndex = ItemIndex();
    FItems->Clear();
  }
  TCustomComboBox::DestroyWnd();
  // Kept as the wide layer keeps any text between windows: the wide text in the helper
  // and its 8-bit form in the framework's copy (no notice: the text has not changed).
  // The framework read its copy from a list already emptied.
  FindWideControlHelper(this, true)->Caption = text;
  AnsiString ansi = WideToAnsi(text);
  TMessage set{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansi.c_str()), 0};
  TControl::DefaultHandler(set);
}

void TUniCustomComboBox::ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) {
  const bool unicodeChild = IsWindowUnicode(ComboWnd) != FALSE;
  switch (Message.Msg) {
    case WM_CHAR: {
      if (unicodeChild) MakeCharMessageAnsiSafe(Message);
      ScopeExit restore{[&Message] { RestoreCharMessage(Message); }};
      bool consumed = DoKeyPress(Message);
      if (!consumed && ComboWnd == FEditHandle && HasEditPart()) {
        TMessage probe = Message;
        UniCombo_AutoCompleteKeyPress(this, probe);
        consumed = WideCharOfCharMessage(probe) == 0;
      }
      if (consumed) return;
      RestoreCharMessage(Message);
      WORD key = TWMKey{Message}.CharCode();
      if ((key == VK_RETURN || key == VK_ESCAPE) && DroppedDown()) {
        SetDroppedDown(false);
        return;
      }
      Message.Result = CallComboProc(Message, ComboWnd, ComboProc);
      return;
    }
    case WM_IME_CHAR:
      if (unicodeChild) {
        Message.Result = SendMessageW(ComboWnd, WM_CHAR, Message.WParam, Message.LParam);
        return;
      }
      break;
    default:
      if (unicodeChild &&
          (IsTextMessage(Message.Msg) || Message.Msg == EM_REPLACESEL || Message.Msg == WM_IME_COMPOSITION)) {
        Message.Result = CallWindowProcW(ComboProc, ComboWnd, Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
  }
  TCustomComboBox::ComboWndProc(Message, ComboWnd, ComboProc);
}

void TUniCustomComboBox::KeyPress(char& Key) {
  // The completion is ours, in wide characters.
  const bool autoComplete = AutoComplete;
  AutoComplete = false;
  ScopeExit restore{[this, autoComplete] { AutoComplete = autoComplete; }};
  TCustomComboBox::KeyPress(Key);
}

namespace {

// The first item after Start (from the first when Start is -1, going round the list) that
// begins with S, ignoring case, as the combo box's own search finds it; -1 when none does.
int FindWidePrefix(TUniStrings* Items, int Start, const WideString& S) {
  const int count = Items->Count();
  for (int k = 1; k <= count; ++k) {
    int index = ((Start < 0 ? -1 : Start) + k) % count;
    WideString item = Items->Get(index);
    if (item.size() >= S.size() &&
        CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, item.data(), static_cast<int>(S.size()), S.data(),
                       static_cast<int>(S.size())) == CSTR_EQUAL)
      return index;
  }
  return -1;
}

}  // namespace

int TUniCustomComboBox::FindString(int Start, const WideString& S, bool Unique) {
  // The items are searched wide, through the wide list-control side of the combo box: an
  // 8-bit window would see only their 8-bit forms.
  int index = FindWidePrefix(FItems.get(), Start, S);
  // The search goes round the list: only the item itself comes back when it is the one.
  if (index >= 0 && Unique && FindWidePrefix(FItems.get(), index, S) != index) return -1;
  return index;
}

bool TUniCustomComboBox::SelectItem(const WideString& S, bool UniqueOnly, bool KeepTyped) {
  int index = FindString(-1, S, UniqueOnly);
  if (index < 0) return false;
  WideString item = FItems->Get(index);
  bool changed = Style() == csDropDown ? item != Text() : index != ItemIndex();
  if (AutoCloseUp && FItems->IndexOf(S) != -1) SetDroppedDown(false);
  SetItemIndex(index);
  if (HasEditPart()) {
    WideString text = KeepTyped ? S + item.substr(std::min(S.size(), item.size())) : item;
    SetText(text);
    SetSelStart(static_cast<int>(S.size()));
    SetSelLength(static_cast<int>(text.size()) - static_cast<int>(S.size()));
  }
  if (changed) {
    Click();
    Select();
  }
  return true;
}

void UniCombo_AutoCompleteKeyPress(TUniCustomComboBox* Combo, TMessage& Message) {
  if (!Combo->HasEditPart()) throw EUniInternalError(kAutoCompleteStyles);
  WideChar ch = WideCharOfCharMessage(Message);
  if (Combo->AutoComplete) {
    switch (ch) {
      case 8:
      case 27: break;
      case 9:
        if (Combo->AutoDropDown && Combo->DroppedDown()) Combo->SetDroppedDown(false);
        break;
      default: {
        if (Combo->AutoDropDown && !Combo->DroppedDown()) {
          // Dropping down selects the text: what the user had stays as it was.
          WideString text = Combo->Text();
          int start = Combo->SelStart(), length = Combo->SelLength();
          Combo->SetDroppedDown(true);
          Combo->SetText(text);
          Combo->SetSelStart(start);
          Combo->SetSelLength(length);
        }
        WideString text = Combo->Text();
        int start = Combo->SelStart();
        if (static_cast<size_t>(start + Combo->SelLength()) == text.size() &&
            Combo->SelectItem(text.substr(0, static_cast<size_t>(start)) + ch, false, true))
          ch = 0;
        break;
      }
    }
  }
  SetWideCharOfCharMessage(Message, ch);
}

void TUniCustomComboBox::WMChar(TMessage& Message) {
  WideChar ch = WideCharOfCharMessage(Message);
  switch (ch) {
    case 8: FSearch.Backspace(); break;
    case 27: break;
    case 9:
      if (AutoDropDown && DroppedDown()) SetDroppedDown(false);
      break;
    default: {
      if (AutoDropDown && !DroppedDown()) SetDroppedDown(true);
      if (SelectItem(FSearch.Typed(ch, UniComboTickCount()), false, true)) {
        FSearch.Accept(ch);
        ch = 0;
      }
      break;
    }
  }
  if (ch == 0) return;
  TCustomComboBox::Dispatch(Message);
}

void TUniCustomComboBox::CNCommand(TMessage& Message) {
  if (TWMCommand{Message}.NotifyCode() != CBN_SELCHANGE) {
    TCustomComboBox::Dispatch(Message);
    return;
  }
  int index = ItemIndex();
  if (index >= 0) SetText(FItems->Get(index));
  Click();
  Select();
}

void TUniCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CHAR:
      if (AutoComplete && !HasEditPart())
        WMChar(Message);
      else
        TCustomComboBox::Dispatch(Message);
      break;
    case CN_COMMAND: CNCommand(Message); break;
    default: TCustomComboBox::Dispatch(Message); break;
  }
}

void TUniCustomComboBox::DrawItem(int Index, const RECT& Rect, TOwnerDrawState State) {
  auto* canvas = static_cast<TControlCanvas*>(Canvas());
  canvas->UpdateTextFlags();
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  canvas->FillRect(Rect);
  // The wide item: an 8-bit copy would show "?" for what the code page lacks.
  if (Index >= 0) WideCanvasTextOut(canvas, Rect.left + 2, Rect.top, FItems->Get(Index));
}

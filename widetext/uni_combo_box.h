// The wide combo box: the framework's combo box with a Unicode window (and Unicode edit
// and list windows inside it), wide items, text, hint and selection, and completion of
// typed wide text from the items.
#pragma once

#include <memory>

#include "vcl/stdctrls.h"
#include "widetext/uni_string_list.h"
#include "widetext/wide_control_text.h"
#include "widetext/uni_actions.h"

// The framework's 8-bit item list of the wide combo box.
class TD7PatchedComboBoxStrings : public TCustomComboBoxStrings {
  VCL_CLASS(TD7PatchedComboBoxStrings)
 public:
  using TCustomComboBoxStrings::TCustomComboBoxStrings;
  AnsiString Get(int Index) const override;
  int Add(const AnsiString& S) override;
  void Insert(int Index, const AnsiString& S) override;
};

class TUniCustomComboBox;

// The wide combo box's items: wide in a Unicode window (or, before it, in the combo box's
// wide list of waiting items), else through the 8-bit items.
class TUniComboBoxStrings : public TUniStrings {
  VCL_CLASS(TUniComboBoxStrings)
 public:
  explicit TUniComboBoxStrings(TUniCustomComboBox* ComboBox) : FComboBox(ComboBox) {}

  WideString Get(int Index) const override;
  int GetCount() const override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* Obj) override;
  int Add(const WideString& S) override;
  void Clear() override;
  void Delete(int Index) override;
  int IndexOf(const WideString& S) const override;
  void Insert(int Index, const WideString& S) override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  HWND UnicodeWindow() const;
  TStrings* AnsiItems() const;
  // The wide waiting items while the combo box keeps them without a window, else nullptr.
  TUniStringList* Waiting() const;

  TUniCustomComboBox* FComboBox;
};

// The search text of the list styles: characters typed less than ResetPause apart
// make one text; a longer pause starts a new one.
class TComboAutoSearch {
 public:
  static constexpr DWORD ResetPause = 1250;
  // The text to search for when Char is typed at Tick; notes the time.
  WideString Typed(WideChar Char, DWORD Tick);
  // Char found an item: it becomes part of the search text.
  void Accept(WideChar Char) { FText += Char; }
  void Backspace() {
    if (!FText.empty()) FText.pop_back();
  }
  const WideString& Text() const { return FText; }

 private:
  WideString FText;
  DWORD FLastTick = 0;
  bool FTyped = false;
};

// The clock of the auto-search pause (GetTickCount unless replaced).
extern DWORD (*UniComboTickCount)();

class TUniCustomComboBox : public TCustomComboBox, public IWideCustomListControl {
  VCL_CLASS(TUniCustomComboBox)
  friend void UniCombo_AutoCompleteKeyPress(TUniCustomComboBox* Combo, TMessage& Message);

 public:
  explicit TUniCustomComboBox(TComponent* AOwner);
  ~TUniCustomComboBox() override;
  void Dispatch(TMessage& Message) override;

  TUniStrings* Items() const { return FItems.get(); }
  void SetItems(TUniStrings* Value) { FItems->Assign(Value); }
  WideString Text();
  void SetText(const WideString& Value);
  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsTextStored() const;
  bool IsHintStored() const;

  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);
  WideString SelText();
  void SetSelText(const WideString& Value);

  using TCustomComboBox::AddItem;
  void AddItem(const WideString& Item, TObject* AObject) override;
  void CopySelection(TCustomListControl* Destination);

  // The first item that starts with S (ignoring case) from after Start (-1: all); with
  // Unique, only when no other item after it starts so too. -1 when none.
  int FindString(int Start, const WideString& S, bool Unique);
  // Selects the item that starts with S; in the edit styles the text becomes S and the
  // rest of the item (selected). True when an item was found.
  bool SelectItem(const WideString& S, bool UniqueOnly, bool KeepTyped);

  void DefineProperties(TFiler* Filer) override;
  TStrings* WaitingItems() override;
  // The wide waiting items, made on first use (only while there is no window).
  TUniStringList* WaitingWideItems();

 protected:
  TStrings* CreateItems() override;
  void KeepSelectedText(int Index) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) override;
  void KeyPress(char& Key) override;
  void DrawItem(int Index, const RECT& Rect, TOwnerDrawState State) override;

 private:
  void WMChar(TMessage& Message);
  void CNCommand(TMessage& Message);
  // Puts an inner window's procedure back on the Unicode side.
  void MakeInnerWindowUnicode(HWND Wnd, WNDPROC& DefProc);

  std::unique_ptr<TUniComboBoxStrings> FItems;
  std::unique_ptr<TUniStringList> FSaveItems;
  TComboAutoSearch FSearch;

 protected:
  UNI_WIDE_ACTION_OVERRIDES(TCustomComboBox)
};

class TUniComboBox : public TUniCustomComboBox {
  VCL_CLASS(TUniComboBox)
 public:
  using TUniCustomComboBox::TUniCustomComboBox;
};

// The character hook of the edit part (csDropDown and csSimple only): completes the text
// typed at its end from the items and consumes the character when it does.
void UniCombo_AutoCompleteKeyPress(TUniCustomComboBox* Combo, TMessage& Message);

// The plain standard controls forms are built from: a push button, a one-line edit and a
// label. Each is the system's control (or, for the label, text painted on the parent)
// with the framework in front of it.
#pragma once

#include <functional>

#include "vcl/actions.h"
#include "vcl/controls.h"
#include "vcl/forms.h"
#include "vcl/strings.h"

// What push buttons, check boxes and radio buttons share: a check state (none for push
// buttons) that an action's Checked can follow (TButtonActionLink), and the accelerator of
// the caption.
class TButtonControl : public TWinControl {
  VCL_CLASS(TButtonControl)
 public:
  using TWinControl::TWinControl;
  virtual bool Checked() { return false; }
  virtual void SetChecked(bool Value) {}
  // Whether the character of CM_DIALOGCHAR is the caption's accelerator.
  virtual bool IsAccelOfCaption(WORD CharCode);

 protected:
  TControlActionLink* CreateActionLink() override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  // Programmatic changes of the state run Click; while reading a description they don't.
  bool ClicksDisabled() const;
};

// The action link of buttons with a check state: the check state follows the action's
// Checked while both are equal.
class TButtonActionLink : public TWinControlActionLink {
  VCL_CLASS(TButtonActionLink)
 public:
  explicit TButtonActionLink(TButtonControl* AClient);
  bool IsCheckedLinked() override;
  void SetChecked(bool Value) override;

 private:
  TButtonControl* FButton;
};

// "BUTTON": a click (BN_CLICKED, reflected as CN_COMMAND) runs Click, which hands the
// button's ModalResult to its form. Enter clicks the Default button, Escape the Cancel one.
class TButton : public TButtonControl {
  VCL_CLASS(TButton)
 public:
  explicit TButton(TComponent* AOwner);
  void Click() override;
  void Dispatch(TMessage& Message) override;

  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel = false;
  TModalResult ModalResult = mrNone;

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  bool FDefault = false;
};

// "EDIT": the system's edit control. OnChange runs on every change of the text
// (EN_CHANGE). What the window holds (text, selection, modified flag) outlives a new
// window; the rest lives in the control and is given to each window as it is made.
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
VCL_ENUM_INFO(TEditCharCase, "ecNormal", "ecUpperCase", "ecLowerCase")

class TCustomEdit : public TWinControl {
  VCL_CLASS(TCustomEdit)
 public:
  explicit TCustomEdit(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  // Selects the whole text when the edit takes the focus from the keyboard.
  bool AutoSelect = true;
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  // 0: no limit beyond the system's.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool Modified();
  void SetModified(bool Value);
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);

  // The selection, in characters of the window's text.
  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);
  AnsiString SelText();
  void SetSelText(const AnsiString& Value);
  void SelectAll();
  void ClearSelection() { SetSelText(AnsiString()); }
  void Clear() { SetText(AnsiString()); }
  // The selection to and from the clipboard, as the window's side holds it (a Unicode
  // window's text goes as Unicode text).
  void CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }
  void CutToClipboard() { SendMessageA(Handle(), WM_CUT, 0, 0); }
  void PasteFromClipboard() { SendMessageA(Handle(), WM_PASTE, 0, 0); }

  TNotifyEvent OnChange;

 protected:
  virtual void Change();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  TEditCharCase FCharCase = ecNormal;
  bool FHideSelection = true;
  int FMaxLength = 0;
  bool FModified = false;
  char FPasswordChar = 0;
  bool FReadOnly = false;
};

class TEdit : public TCustomEdit {
  VCL_CLASS(TEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

enum TTextLayout { tlTop, tlCenter, tlBottom };
VCL_ENUM_INFO(TTextLayout, "tlTop", "tlCenter", "tlBottom")

// Text painted on the parent; "&" marks the accelerator character, which moves the focus
// to FocusControl. With AutoSize the label takes the size of its text (one line high when
// empty).
class TCustomLabel : public TGraphicControl {
  VCL_CLASS(TCustomLabel)
 public:
  explicit TCustomLabel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  bool Transparent() const { return (ControlStyle & csOpaque) == 0; }
  void SetTransparent(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

 protected:
  // The text the label shows (its caption).
  virtual AnsiString GetLabelText();
  // Draws (or with DT_CALCRECT measures into Rect) the label's text with the given DT_ flags.
  virtual void DoDrawText(RECT& Rect, UINT Flags);
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Fits the bounds to the text (AutoSize), keeping the edge the alignment holds.
  virtual void AdjustBounds();
  // Whether the character of CM_DIALOGCHAR is the caption's accelerator.
  virtual bool IsAccelOfCaption(WORD CharCode);
  // Draws Text as DoDrawText does, in the label's font and enabled look.
  void DrawLabelText(RECT& Rect, UINT Flags, const std::function<void(HDC, RECT&, UINT)>& Draw);

 private:
  UINT TextFlags() const;

  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  TWinControl* FFocusControl = nullptr;
  TTextLayout FLayout = tlTop;
  bool FShowAccelChar = true;
  bool FWordWrap = false;
};

class TLabel : public TCustomLabel {
  VCL_CLASS(TLabel)
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// Registers the classes above for stored descriptions (forms do it when the first form is
// made).
void RegisterStdControls();

// ---------------------------------------------------------------------------
// Static text, check boxes, radio buttons and group boxes.

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };
VCL_ENUM_INFO(TStaticBorderStyle, "sbsNone", "sbsSingle", "sbsSunken")

// The system's "STATIC" control: a label with a window. The accelerator of its caption
// moves the focus to FocusControl; with AutoSize it takes the size of its text.
class TCustomStaticText : public TWinControl {
  VCL_CLASS(TCustomStaticText)
 public:
  explicit TCustomStaticText(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  TStaticBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TStaticBorderStyle Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The size the text needs: its extent in the control's font, plus the border.
  virtual void AdjustBounds();
  virtual bool IsAccelOfCaption(WORD CharCode);

 private:
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  TStaticBorderStyle FBorderStyle = sbsNone;
  TWinControl* FFocusControl = nullptr;
  bool FShowAccelChar = true;
};

class TStaticText : public TCustomStaticText {
  VCL_CLASS(TStaticText)
 public:
  explicit TStaticText(TComponent* AOwner) : TCustomStaticText(AOwner) {}
};


enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
VCL_ENUM_INFO(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")

// "BUTTON" with a check mark. Every change of the state runs Click (OnClick), also when
// the program sets Checked or State. A click toggles: unchecked, then grayed when
// AllowGrayed, then checked.
class TCustomCheckBox : public TButtonControl {
  VCL_CLASS(TCustomCheckBox)
 public:
  explicit TCustomCheckBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  bool Checked() override { return FState == cbChecked; }
  void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  // taRightJustify: the box left of the text; taLeftJustify: the box right of it.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  virtual void Toggle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  VCL_CLASS(TCheckBox)
 public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

// "BUTTON" with a round mark. Checking one turns off the other radio buttons of its
// parent and runs Click; unchecking runs nothing.
class TRadioButton : public TButtonControl {
  VCL_CLASS(TRadioButton)
 public:
  explicit TRadioButton(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  bool Checked() override { return FChecked; }
  void SetChecked(bool Value) override;
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  bool FChecked = false;
  TAlignment FAlignment = taRightJustify;
};

// A frame with a caption around other controls. The accelerator of the caption focuses
// the first control inside.
class TCustomGroupBox : public TCustomControl {
  VCL_CLASS(TCustomGroupBox)
 public:
  explicit TCustomGroupBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void AdjustClientRect(RECT& Rect) override;
  void Paint() override;
  virtual bool IsAccelOfCaption(WORD CharCode);
  // Draws or, with DT_CALCRECT, measures the caption; false when there is none.
  virtual bool DrawCaptionText(HDC DC, RECT& Rect, UINT Flags);
  // The caption as the theme draws it (wide text).
  virtual WideString ThemedCaptionText();

 private:
  // The themed frame and caption; false when the theme cannot draw the frame.
  bool PaintThemed();
};

class TGroupBox : public TCustomGroupBox {
  VCL_CLASS(TGroupBox)
 public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// ---------------------------------------------------------------------------
// Multi-line edits and combo boxes.

class TCustomMemo;

// A memo's lines, read and written in its window (the window is made when needed).
class TMemoStrings : public TStrings {
  VCL_CLASS(TMemoStrings)
 public:
  explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}
  AnsiString Get(int Index) const override;
  int GetCount() const override;
  AnsiString GetTextStr() const override;
  void SetTextStr(const AnsiString& Text) override;
  void Put(int Index, const AnsiString& S) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const AnsiString& S) override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  TCustomMemo* FMemo;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
VCL_ENUM_INFO(TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth")

// "EDIT" with ES_MULTILINE. Lines is a view of the window's text, line by line.
class TCustomMemo : public TCustomEdit {
  VCL_CLASS(TCustomMemo)
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  TStrings* Lines() const { return FLines.get(); }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  std::unique_ptr<TStrings> FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
};

class TMemo : public TCustomMemo {
  VCL_CLASS(TMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

// The state of an item an owner-drawn list draws (bit flags).
enum TOwnerDrawStateFlag : unsigned {
  odSelected = 1u << 0,
  odGrayed = 1u << 1,
  odDisabled = 1u << 2,
  odChecked = 1u << 3,
  odFocused = 1u << 4,
  odDefault = 1u << 5,
  odHotLight = 1u << 6,
  odInactive = 1u << 7,
  odNoAccel = 1u << 8,  // drawn without accelerator marks
  odNoFocusRect = 1u << 9,
  odComboBoxEdit = 1u << 12,
};
using TOwnerDrawState = unsigned;
// The ODS_ flags of a DRAWITEMSTRUCT as an owner-draw state.
TOwnerDrawState OwnerDrawStateOf(UINT ItemState);

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, RECT Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

class TCustomComboBox;

// A combo box's items, kept in its window; until the combo box has one (a control on a page
// not shown yet), in its list of waiting items.
class TCustomComboBoxStrings : public TStrings {
  VCL_CLASS(TCustomComboBoxStrings)
 public:
  explicit TCustomComboBoxStrings(TCustomComboBox* ComboBox) : FComboBox(ComboBox) {}
  TCustomComboBox* ComboBox() const { return FComboBox; }

  AnsiString Get(int Index) const override;
  int GetCount() const override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* Obj) override;
  int Add(const AnsiString& S) override;
  void Insert(int Index, const AnsiString& S) override;
  void Clear() override;
  void Delete(int Index) override;
  int IndexOf(const AnsiString& S) const override;

 protected:
  void SetUpdateState(bool Updating) override;
  LRESULT Send(UINT Msg, WPARAM WParam, LPARAM LParam) const;
  // The answer of CB_ADDSTRING / CB_INSERTSTRING; a negative one is an error.
  int CheckInserted(LRESULT Answer) const;
  // The waiting items while the combo box keeps them without a window, else nullptr.
  TStrings* Waiting() const;

 private:
  TCustomComboBox* FComboBox;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
VCL_ENUM_INFO(TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable")

// "COMBOBOX". The edit and list windows inside it are subclassed: their messages pass
// through ComboWndProc, which gives the control their keys and focus. Items, item index
// and text outlive a new window (a style change).
class TCustomComboBox : public TCustomListControl {
  VCL_CLASS(TCustomComboBox)
  friend LRESULT CALLBACK ComboChildWndProc(HWND, UINT, WPARAM, LPARAM);

 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  void Dispatch(TMessage& Message) override;

  // The item list, made by CreateItems on first use.
  TStrings* Items() const;
  void SetItems(TStrings* Value);
  void AddItem(const AnsiString& Item, TObject* AObject) override;
  // Adds the selected item (with its object) to Destination.
  void CopySelection(TCustomListControl* Destination);
  void Clear();

  int ItemIndex();
  void SetItemIndex(int Value);
  // Whether items, selection and text are kept by the control itself: it has no window
  // yet (nor lost one), and the window's own sorting is not wanted. Asking for them makes
  // no window; the window takes them when it is made.
  bool KeepsItemsWithoutWindow() const { return !HandleAllocated() && !FSorted; }
  // The waiting items (an 8-bit view of them), made on first use.
  virtual TStrings* WaitingItems();
  // While the items wait: the selection follows an item put in or taken out, and is lost
  // with all of them, as the window's list does it.
  void WaitingItemInserted(int Index);
  void WaitingItemDeleted(int Index);
  void WaitingItemsCleared();
  // The item index as a stored description holds it (without making a window).
  int StoredItemIndex() const;
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  bool DroppedDown();
  void SetDroppedDown(bool Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value) { FDropDownCount = Value; }
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);

  // Typing in the edit part completes the text from the items.
  bool AutoComplete = true;
  // Typing drops the list down; an exact match closes it.
  bool AutoDropDown = false;
  bool AutoCloseUp = false;

  // The selection of the edit part.
  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);
  AnsiString SelText();
  void SetSelText(const AnsiString& Value);
  void SelectAll();

  TCanvas* Canvas() const;
  HWND EditHandle() const { return FEditHandle; }
  HWND ListHandle() const { return FListHandle; }

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  // The item list's class: a descendant that keeps its items otherwise returns its own.
  virtual TStrings* CreateItems();
  // Every message of the edit and list windows inside the combo box (ComboWnd), on its
  // way to the window's own procedure ComboProc.
  virtual void ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc);
  // Passes a message of an inner window on to its own procedure.
  static LRESULT CallComboProc(const TMessage& Message, HWND ComboWnd, WNDPROC ComboProc);
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  virtual void DrawItem(int Index, const RECT& Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  void KeyPress(char& Key) override;
  void Loaded() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // Gives the dropped-down list room for DropDownCount rows.
  void AdjustDropDown();
  bool HasEditPart() const { return FStyle == csDropDown || FStyle == csSimple; }
  // The text a selection of waiting items shows (the item's, or none), kept without a
  // notice, as the window's selection sends none.
  virtual void KeepSelectedText(int Index);
  // The selection while the items wait, or of the window just gone.
  int FSaveIndex = -1;

  HWND FEditHandle = nullptr;
  HWND FListHandle = nullptr;
  WNDPROC FDefEditProc = nullptr;
  WNDPROC FDefListProc = nullptr;

 private:
  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  void SubclassInnerWindows();
  void ReleaseInnerWindows();

  mutable std::unique_ptr<TStrings> FItems;
  std::unique_ptr<TStringList> FSaveItems;
  int FLoadedIndex = -1;
  std::unique_ptr<TControlCanvas> FCanvas;
  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
  int FItemHeight = 16;
  int FMaxLength = 0;
  bool FSorted = false;
  TEditCharCase FCharCase = ecNormal;
};

class TComboBox : public TCustomComboBox {
  VCL_CLASS(TComboBox)
 public:
  using TCustomComboBox::TCustomComboBox;
};

// The window procedure of the edit and list windows inside combo boxes.
LRESULT CALLBACK ComboChildWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// ---------------------------------------------------------------------------
// List boxes.

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
VCL_ENUM_INFO(TListBoxStyle, "lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable", "lbVirtual",
              "lbVirtualOwnerDraw")

// The text of item Index of a virtual list box.
using TLBGetDataEvent = std::function<void(TWinControl* Control, int Index, AnsiString& Data)>;

class TCustomListBox;

// A list box's items, kept in its window (made when needed). The items of the virtual
// styles are only a count; their texts come from the list box's data event.
class TListBoxStrings : public TStrings {
  VCL_CLASS(TListBoxStrings)
 public:
  explicit TListBoxStrings(TCustomListBox* ListBox) : FListBox(ListBox) {}
  AnsiString Get(int Index) const override;
  int GetCount() const override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* Obj) override;
  // Replacing an item's text keeps its data and the selection.
  void Put(int Index, const AnsiString& S) override;
  int Add(const AnsiString& S) override;
  void Insert(int Index, const AnsiString& S) override;
  void Clear() override;
  void Delete(int Index) override;
  int IndexOf(const AnsiString& S) const override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  LRESULT Send(UINT Msg, WPARAM WParam, LPARAM LParam) const;
  // The waiting items while the list box keeps them without a window, else nullptr.
  TStringList* Waiting() const;
  TCustomListBox* FListBox;
};

// "LISTBOX". Items, selection and the top item outlive a new window, so a new window
// (a style or font change) measures every row again. Until its first window (a list on a
// page not shown yet) a plain list keeps its items and selection itself.
class TCustomListBox : public TCustomListControl {
  VCL_CLASS(TCustomListBox)
  friend class TListBoxStrings;

 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  void Dispatch(TMessage& Message) override;

  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  void AddItem(const AnsiString& Item, TObject* AObject) override { FItems->AddObject(Item, AObject); }
  void Clear() { FItems->Clear(); }
  // The number of items; for the virtual styles it is set, not added.
  int Count() const { return FItems->Count(); }
  void SetCount(int Value);

  int ItemIndex();
  void SetItemIndex(int Value);
  // Whether items and selection are kept by the control itself: it has no window, and
  // neither the window's sorting, its several selections nor its virtual items are wanted.
  // Asking for them makes no window; the window takes them when it is made.
  bool KeepsItemsWithoutWindow() const { return !HandleAllocated() && !FSorted && !FMultiSelect && !IsVirtual(); }
  bool Selected(int Index);
  void SetSelected(int Index, bool Value);
  int SelCount();
  int TopIndex();
  void SetTopIndex(int Value);
  // The item under a client point (-1: none).
  int ItemAtPos(POINT Pos, bool Existing);
  RECT ItemRect(int Index);

  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int Value);
  int ScrollWidth();
  void SetScrollWidth(int Value);
  // Typing selects the item that starts with what was typed within a short pause.
  bool AutoComplete = true;

  TCanvas* Canvas() const;

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  TLBGetDataEvent OnData;

 protected:
  virtual void DrawItem(int Index, const RECT& Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  // The text of an item of a virtual list.
  virtual AnsiString DoGetData(int Index);
  bool IsVirtual() const { return FStyle == lbVirtual || FStyle == lbVirtualOwnerDraw; }
  // Whether the window holds no items of its own (LBS_NODATA): a virtual style's window.
  bool WindowIsVirtual() const;
  void KeyPress(char& Key) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  [[noreturn]] static void Error(int Index);

  std::unique_ptr<TStrings> FItems;
  std::unique_ptr<TStringList> FSaveItems;
  int FSaveIndex = -1;
  int FSaveTopIndex = 0;
  int FSaveCount = 0;
  std::unique_ptr<TControlCanvas> FCanvas;
  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 16;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FSorted = false;
  int FTabWidth = 0;
  int FScrollWidth = 0;
  AnsiString FFilter;
  DWORD FLastTime = 0;
};

class TListBox : public TCustomListBox {
  VCL_CLASS(TListBox)
 public:
  using TCustomListBox::TCustomListBox;
};

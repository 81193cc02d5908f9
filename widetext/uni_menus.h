// Wide menus: menu items with wide captions and hints, the pop-up menu that keeps them,
// wide shortcut texts and the hot-key helpers of wide captions.
//
// The system menus stay 8-bit as the framework builds them; after the framework has built
// or changed an entry, the entry's text is rewritten with the item's wide text
// (UpdateWideMenuItem). Owner-drawn entries draw the wide text themselves.
#pragma once

#include "vcl/menus.h"
#include "widetext/uniexceptions.h"

// The 1-based position of the character after the last single "&" ("&&" is a literal);
// 0 when there is none.
int HotkeyPosition(const WideString& Caption);
// That character, or empty.
WideString HotkeyChar(const WideString& Caption);
// Each single "&" removed ("&&" becomes "&"); on Far-East locales a "(&X)" group goes whole.
WideString StripHotkeyMarks(const WideString& Caption);
// The captions without their hot-key marks are the same text (ignoring case / exactly).
bool SameCaptionText(const WideString& A, const WideString& B);
bool SameCaptionTextExact(const WideString& A, const WideString& B);
// Moves Target's "&" marks to where Source has them, when the two differ only in those;
// EUniInternalError when that does not make their 8-bit forms agree.
void SyncHotKeyPosition(const WideString& Source, WideString& Target);
// "Ctrl+Z": the modifiers in the order Shift, Ctrl, Alt, and the key's name in the
// current keyboard layout (digits stay digits).
WideString WideShortcutText(TShortCut ShortCut);

class TUniMenuItem;
// Writes Item's wide text into its entry of Menu's system menu.
void UpdateWideMenuItem(TMenuItem* Item, TMenu* Menu);
// The same for Item's sub-items (the last first, each with its own sub-items) and then Item.
void UpdateWideMenuItems(TMenuItem* Item, TMenu* Menu);
// On Middle-East locales, writes the first visible top-level wide item of Menu again.
void RepairMenuBiDi(TMenu* Menu);
// The wide hint of any item (a plain item's converted).
WideString WideMenuItemHint(TMenuItem* Item);

class TUniMenuItem : public TMenuItem {
  VCL_CLASS(TUniMenuItem)
 public:
  explicit TUniMenuItem(TComponent* AOwner);

  WideString Caption();
  void SetCaption(const WideString& Value);
  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsCaptionStored() const { return TMenuItem::IsCaptionStored(); }
  bool IsHintStored() const { return TMenuItem::IsHintStored(); }
  // The keyboard layout in force when the entry's text was last written.
  HKL KeyboardLayout() const { return FKeyboardLayout; }
  void NoteKeyboardLayout() { FKeyboardLayout = GetKeyboardLayout(0); }

  void DefineProperties(TFiler* Filer) override;
  void MenuChanged(bool Rebuild) override;
  void InitiateAction() override;
  void MeasureItem(TCanvas* ACanvas, int& Width, int& Height) override;
  void AdvancedDrawItem(TCanvas* ACanvas, RECT ARect, TOwnerDrawState State, bool TopLevel) override;
  // Draws a wide caption (see TMenuItem::DoDrawText).
  void DoDrawWideText(TCanvas* ACanvas, const WideString& ACaption, RECT& Rect, bool Selected, UINT Flags);

 protected:
  void Loaded() override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  TMenuActionLink* CreateActionLink() override;
  // The framework wrote the entry 8-bit: the wide text goes over it.
  void EntryWritten() override;

 private:
  // Sets the framework's caption and shortcut without any menu change (while drawing).
  void SwapTexts(const AnsiString& Caption, TShortCut ShortCut);

  WideString FCaption;
  WideString FHint;
  bool FUpdating = false;
  HKL FKeyboardLayout = nullptr;
};

// A pop-up menu of wide items: listed in the wide pop-up list, whose window shows the
// items' wide hints while they are selected.
class TUniPopupMenu : public TPopupMenu {
  VCL_CLASS(TUniPopupMenu)
 public:
  explicit TUniPopupMenu(TComponent* AOwner);
  ~TUniPopupMenu() override;
  void Popup(int X, int Y) override;
  void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;
};

class TUniPopupList : public TPopupList {
 public:
  // Keeps the framework's own list, to put it back.
  TUniPopupList();
  TPopupList* FrameworkList() const { return FFrameworkList; }
  void WndProc(TMessage& Message) override;

 private:
  TPopupList* FFrameworkList;
};

// The process's wide pop-up list (made on first use).
TUniPopupList* UniPopupList();

// Registers the wide menu classes for stored descriptions.
void RegisterUniMenuClasses();

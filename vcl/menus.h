// Menus: menu items (TMenuItem), the menu bar of a form (TMainMenu), pop-up menus
// (TPopupMenu) and the hidden window their commands come back to (TPopupList).
//
// The system menus are built 8-bit from the items: each item with sub-items owns a menu
// handle, filled with InsertMenuItemA (the caption, a tab and the shortcut text for items
// below the menu bar). A change of an item rebuilds its parent's menu (MenuChanged). The
// item's address is each entry's item data, so owner-drawn entries find their item again
// (WM_MEASUREITEM / WM_DRAWITEM), and each entry's identifier is the item's Command.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "vcl/actions.h"
#include "vcl/classes.h"
#include "vcl/controls.h"
#include "vcl/graphics.h"
#include "vcl/keyboard.h"
#include "vcl/stdctrls.h"

class TMenu;
class TMenuItem;

VCL_DECLARE_EXCEPTION(EMenuError, Exception)
class TBitmap;

enum TPopupAlignment { paLeft, paRight, paCenter };
VCL_ENUM_INFO(TPopupAlignment, "paLeft", "paRight", "paCenter")

// How TMenu::FindItem looks an item up.
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

// The state of an owner-drawn entry: TOwnerDrawState of the standard controls.

using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, TOwnerDrawState State)>;
using TMenuChangeEvent = std::function<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;

// The link of a menu item to its action: the item follows the action's caption, hint,
// shortcut, check state, enabling, visibility and image while it shows what the action
// showed.
class TMenuActionLink : public TActionLink {
  VCL_CLASS(TMenuActionLink)
 public:
  explicit TMenuActionLink(TMenuItem* AClient);
  TMenuItem* Client() const { return FClient; }

  bool IsCaptionLinked() override;
  bool IsCheckedLinked() override;
  bool IsEnabledLinked() override;
  bool IsHintLinked() override;
  bool IsShortCutLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  bool IsImageIndexLinked() override;
  void SetCaption(const AnsiString& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const AnsiString& Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;
  void SetImageIndex(int Value) override;

 protected:
  TMenuItem* FClient;
};

class TMenuItem : public TComponent {
  VCL_CLASS(TMenuItem)
  friend class TMenu;

 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  // --- what the entry shows ---
  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  // The status text; the application shows its long part while the entry is selected.
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // Drawn bold; a double click on a tray icon or a list runs it.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  // Checked items of one group with RadioItem set exclude each other.
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // The picture beside the caption (copied; empty for none).
  TBitmap* Bitmap() const;
  void SetBitmap(TBitmap* Value);
  bool HasBitmap() const;
  // A caption of "-" makes the entry a separator line.
  bool IsLine() const { return FCaption == "-"; }

  // --- place in the menu ---
  // The identifier of the entry (WM_COMMAND), unique in the process.
  WORD Command() const { return FCommand; }
  // The sub-menu of an item with items (made and filled on first use); the menu's own
  // handle for the items of a menu.
  HMENU Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  TMenuItem* Parent() const { return FParent; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const;
  int IndexOf(TMenuItem* Item) const;
  int MenuIndex() const { return FParent ? FParent->IndexOf(const_cast<TMenuItem*>(this)) : -1; }
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  // Takes the item out (it is not freed).
  void Remove(TMenuItem* Item);
  // Frees the item at Index.
  void Delete(int Index);
  // Frees all items.
  void Clear();
  // The menu the item belongs to (through its parents); null when none.
  TMenu* GetParentMenu() const;

  // --- action ---
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TMenuActionLink* ActionLink() const { return FActionLink.get(); }

  // Runs OnClick, or without one the action (nothing when disabled).
  virtual void Click();
  // The idle step's update of the item's action.
  virtual void InitiateAction();
  // The same for each sub-item (before the sub-menu opens).
  void InitiateActions();
  // The item changed; Rebuild: its entry must be written again (the parent's menu is
  // rebuilt).
  virtual void MenuChanged(bool Rebuild);

  // --- owner drawing (menus with OwnerDraw) ---
  virtual void MeasureItem(TCanvas* ACanvas, int& Width, int& Height);
  virtual void AdvancedDrawItem(TCanvas* ACanvas, RECT ARect, TOwnerDrawState State, bool TopLevel);
  // Draws a caption the way items draw theirs: bold for the default item, embossed when
  // disabled. DT_CALCRECT in Flags measures into Rect instead.
  virtual void DoDrawText(TCanvas* ACanvas, const AnsiString& ACaption, RECT& Rect, bool Selected, UINT Flags);
  // Where the caption goes inside an owner-drawn entry of ItemRect.
  RECT CaptionRect(const RECT& ItemRect, bool TopLevel);
  // The DT_ alignment of the captions: the pop-up menu's Alignment, else DT_LEFT.
  UINT AlignmentFlags() const;
  // Whether the entry sits on a main menu's bar.
  bool IsTopLevelOfMainMenu() const;

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

  // --- stored descriptions: items live inside their parent item or menu ---
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

  bool IsCaptionStored() const;
  bool IsCheckedStored() const;
  bool IsEnabledStored() const;
  bool IsHintStored() const;
  bool IsShortCutStored() const;
  bool IsVisibleStored() const;
  bool IsImageIndexStored() const;

 protected:
  void Loaded() override;
  // The linked action (Sender) changed; with CheckDefaults only what the item still has
  // at its defaults is taken.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  virtual TMenuActionLink* CreateActionLink();
  // The item's entry has just been written (8-bit) into its parent's menu.
  virtual void EntryWritten() {}

 private:
  void SubItemChanged(TMenuItem* Source, bool Rebuild);
  void RebuildHandle();
  void PopulateMenu();
  void AppendTo(HMENU Menu);
  void ReleaseHandle();
  void TurnSiblingsOff();

  AnsiString FCaption;
  AnsiString FHint;
  TShortCut FShortCut = scNone;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  bool FRadioItem = false;
  int FGroupIndex = 0;
  int FImageIndex = -1;
  mutable std::unique_ptr<TBitmap> FBitmap;
  WORD FCommand = 0;
  HMENU FHandle = nullptr;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item of a menu only
  std::vector<TMenuItem*> FItems;
  std::unique_ptr<TMenuActionLink> FActionLink;
};

class TMenu : public TComponent {
  VCL_CLASS(TMenu)
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  // The root item; its items are the menu's entries.
  TMenuItem* Items() const { return FItems; }
  HMENU Handle() { return FItems->Handle(); }
  // The window the menu belongs to (a form with its bar); null for none.
  HWND WindowHandle() const { return FWindowHandle; }
  virtual void SetWindowHandle(HWND Value) { FWindowHandle = Value; }
  // Entries drawn by their items (MeasureItem / AdvancedDrawItem).
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }

  // The item with the identifier, the sub-menu handle or the shortcut Value.
  TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind) const;
  // WM_COMMAND of an entry: clicks its item; false when none of this menu has it.
  bool DispatchCommand(WORD ACommand);
  // WM_INITMENUPOPUP: updates the actions of the sub-menu's items, then clicks the item
  // that owns it; false when the sub-menu is not one of this menu's.
  bool DispatchPopup(HMENU AMenu);
  // Clicks the item with the shortcut; false when none has it.
  bool IsShortCut(TShortCut AShortCut);

  // An item of the menu changed (Source; null for the menu as a whole).
  virtual void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);
  TMenuChangeEvent OnChange;

  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
  TComponent* GetChildParent() override { return this; }

 protected:
  friend class TMenuItem;
  // The handle of the root item: a menu bar or a pop-up menu.
  virtual HMENU CreateMenuHandle() { return CreatePopupMenu(); }
  void Loaded() override;

 private:
  TMenuItem* FItems;
  HWND FWindowHandle = nullptr;
  bool FOwnerDraw = false;
  TBiDiMode FBiDiMode = bdLeftToRight;
};

// The menu bar of a form (the form's Menu).
class TMainMenu : public TMenu {
  VCL_CLASS(TMainMenu)
 public:
  explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
  void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;

 protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }
};

class TPopupMenu : public TMenu {
  VCL_CLASS(TPopupMenu)
 public:
  // Listed in the current PopupList while it lives.
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  // Shows the menu at the screen point and tracks it; the chosen entry's click comes
  // back through the pop-up list's window.
  virtual void Popup(int X, int Y);
  POINT PopupPoint() const { return FPopupPoint; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  // Whether a right click (WM_CONTEXTMENU) on the control it belongs to shows it.
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  // The control (or component) it was last shown for.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);

  TNotifyEvent OnPopup;

 protected:
  virtual void DoPopup(TObject* Sender);
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  POINT FPopupPoint{-1, -1};
  TPopupAlignment FAlignment = paLeft;
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
};

// The pop-up menus of the process and the hidden window that owns them while they show:
// their WM_COMMAND, WM_INITMENUPOPUP, WM_MENUSELECT, WM_MEASUREITEM and WM_DRAWITEM come
// here and go to the menu whose entry they concern.
class TPopupList : public TObject {
 public:
  TPopupList() = default;
  ~TPopupList() override;
  TPopupList(const TPopupList&) = delete;
  TPopupList& operator=(const TPopupList&) = delete;

  void Add(TPopupMenu* Menu);
  void Remove(TPopupMenu* Menu);
  int Count() const { return static_cast<int>(FMenus.size()); }
  TPopupMenu* Items(int Index) const { return FMenus.at(static_cast<size_t>(Index)); }
  // The owner window of the tracked menus (made on first use).
  HWND Window();

  virtual void WndProc(TMessage& Message);

 protected:
  std::vector<TPopupMenu*> FMenus;

 private:
  HWND FWindow = nullptr;
};

// The pop-up list TPopupMenu uses (replaceable; DefaultPopupList when nobody replaced it).
extern TPopupList* PopupList;
// The framework's own pop-up list (made on first use; PopupList points to it then).
TPopupList* DefaultPopupList();

// The item whose entry carries this item data, when it is a live item; null otherwise.
TMenuItem* MenuItemFromData(ULONG_PTR Data);
// Owner-drawn entries: WM_MEASUREITEM and WM_DRAWITEM of menus handed to their item.
// False when the message is not about a menu entry of ours.
bool MeasureMenuItem(MEASUREITEMSTRUCT* Measure);
bool DrawMenuItem(DRAWITEMSTRUCT* Draw);
// WM_MENUSELECT of Menu: the item the message is about (by identifier, or by sub-menu
// handle for MF_POPUP entries); null when the menu is closing or the item not Menu's.
TMenuItem* MenuSelectItem(TMenu* Menu, WPARAM WParam, LPARAM LParam);

// "Ctrl+S" -> the shortcut; modifiers in any order, case ignored; scNone when the text
// names no key.
TShortCut TextToShortCut(const AnsiString& Text);

// Registers the menu classes for stored descriptions.
void RegisterMenuClasses();

#include "vcl/menus.h"

#include <algorithm>
#include <unordered_set>

#include "vcl/application.h"
#include "vcl/hints.h"
#include "vcl/pictures.h"
#include "vcl/scopeexit.h"
#include "vcl/streaming.h"
#include "vcl/utilwnd.h"

namespace {

const std::vector<TPropInfo>& MenuItemProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TMenuItem>()
      .Property("Action", &TMenuItem::Action, &TMenuItem::SetAction)
      .Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption).Stored(&TMenuItem::IsCaptionStored)
      .Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false)
          .Stored(&TMenuItem::IsCheckedStored)
      .Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false)
      .Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true)
          .Stored(&TMenuItem::IsEnabledStored)
      .Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0)
      .Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint).Stored(&TMenuItem::IsHintStored)
      .Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1)
          .Stored(&TMenuItem::IsImageIndexStored)
      .Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false)
      .Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).Default(0)
          .Stored(&TMenuItem::IsShortCutStored)
      .Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true)
          .Stored(&TMenuItem::IsVisibleStored)
      .Property("OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem)
      .Property("OnClick", &TMenuItem::OnClick)
      .Property("OnDrawItem", &TMenuItem::OnDrawItem)
      .Property("OnMeasureItem", &TMenuItem::OnMeasureItem)
      .Table();
  return table;
}

const std::vector<TPropInfo>& MenuProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TMenu>()
      .Property("BiDiMode", &TMenu::BiDiMode, &TMenu::SetBiDiMode).Default(bdLeftToRight)
      .Property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(false)
      .Table();
  return table;
}

const std::vector<TPropInfo>& PopupMenuProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TPopupMenu>()
      .Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft)
      .Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true)
      .Property("OnPopup", &TPopupMenu::OnPopup)
      .Table();
  return table;
}

// Entry identifiers in use: each item takes the lowest free one.
std::vector<bool>& CommandPool() {
  static std::vector<bool> pool(0x10000, false);
  return pool;
}

WORD AllocateCommand() {
  auto& pool = CommandPool();
  for (size_t i = 1; i < pool.size(); ++i)
    if (!pool[i]) {
      pool[i] = true;
      return static_cast<WORD>(i);
    }
  throw EMenuError("Too many menu items");
}

void ReleaseCommand(WORD Command) {
  if (Command) CommandPool()[Command] = false;
}

// The items alive now: owner-draw messages carry an item's address, which must be one.
std::unordered_set<const TMenuItem*>& LiveItems() {
  static std::unordered_set<const TMenuItem*> items;
  return items;
}

constexpr int kGlyphMargin = 2;
constexpr int kShortCutGap = 10;  // between a caption and its shortcut, and after it

// The glyph column of owner-drawn entries: the check mark's width or the bitmap's.
int GlyphWidth(TMenuItem* Item) {
  int width = GetSystemMetrics(SM_CXMENUCHECK);
  if (Item->HasBitmap()) width = std::max(width, Item->Bitmap()->Width());
  return width + 2 * kGlyphMargin;
}

// The system's menu font.
void UseMenuFont(TCanvas* Canvas) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    Canvas->Font()->SetLogFont(metrics.lfMenuFont);
}

// A canvas on a device context it does not own.
struct TBorrowedCanvas {
  TCanvas Canvas;
  explicit TBorrowedCanvas(HDC DC) { Canvas.SetHandle(DC); }
  ~TBorrowedCanvas() { Canvas.SetHandle(nullptr); }
};

}  // namespace

VCL_CLASS_IMPL(TMenuActionLink, TActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TMenuItem, TComponent, &CreateComponentOf<TMenuItem>, &MenuItemProperties)
VCL_CLASS_IMPL(TMenu, TComponent, nullptr, &MenuProperties)
VCL_CLASS_IMPL(TMainMenu, TMenu, &CreateComponentOf<TMainMenu>, nullptr)
VCL_CLASS_IMPL(TPopupMenu, TMenu, &CreateComponentOf<TPopupMenu>, &PopupMenuProperties)

void RegisterMenuClasses() {
  static const bool done = [] {
    RegisterClasses({TMenuItem::StaticClass(), TMainMenu::StaticClass(), TPopupMenu::StaticClass()});
    return true;
  }();
  (void)done;
}

// ---------------------------------------------------------------------------
// TMenuActionLink

TMenuActionLink::TMenuActionLink(TMenuItem* AClient) : TActionLink(AClient), FClient(AClient) {}

bool TMenuActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
}
bool TMenuActionLink::IsCheckedLinked() {
  return TActionLink::IsCheckedLinked() && FClient->Checked() == CustomAction()->Checked();
}
bool TMenuActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}
bool TMenuActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
}
bool TMenuActionLink::IsShortCutLinked() {
  return TActionLink::IsShortCutLinked() && FClient->ShortCut() == CustomAction()->ShortCut();
}
bool TMenuActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}
bool TMenuActionLink::IsImageIndexLinked() {
  return CustomAction() && FClient->ImageIndex() == CustomAction()->ImageIndex();
}
bool TMenuActionLink::IsOnExecuteLinked() { return TActionLink::IsOnExecuteLinked() && !FClient->OnClick; }

void TMenuActionLink::SetCaption(const AnsiString& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}
void TMenuActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FClient->SetChecked(Value);
}
void TMenuActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}
void TMenuActionLink::SetHint(const AnsiString& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}
void TMenuActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) FClient->SetShortCut(Value);
}
void TMenuActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}
void TMenuActionLink::SetImageIndex(int Value) {
  if (IsImageIndexLinked()) FClient->SetImageIndex(Value);
}

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(AllocateCommand()) {
  RegisterMenuClasses();
  LiveItems().insert(this);
}

TMenuItem::~TMenuItem() {
  Destroying();
  LiveItems().erase(this);
  if (FParent) FParent->Remove(this);
  // The sub-items go first: each takes its entry out of this item's menu.
  while (!FItems.empty()) delete FItems.back();
  FActionLink.reset();
  ReleaseHandle();
  ReleaseCommand(FCommand);
}

void TMenuItem::ReleaseHandle() {
  if (!FHandle) return;
  // The sub-menus belong to the sub-items: take them out so that DestroyMenu leaves them.
  while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  DestroyMenu(FHandle);
  FHandle = nullptr;
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError(Format("Menu index out of range (%d)", Index));
  return FItems[static_cast<size_t>(Index)];
}

int TMenuItem::IndexOf(TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EMenuError("Menu inserted twice");
  if (Index < 0 || Index > Count()) throw EMenuError(Format("Menu index out of range (%d)", Index));
  for (TMenuItem* p = this; p; p = p->FParent)
    if (p == Item) throw EMenuError("Sub-menu is not in menu");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  // An item with items that became one needs its own sub-menu in the parent's entry.
  if (Count() == 1 && FParent)
    MenuChanged(true);
  else
    SubItemChanged(Item, true);
}

void TMenuItem::Remove(TMenuItem* Item) {
  int index = IndexOf(Item);
  if (index < 0) return;
  FItems.erase(FItems.begin() + index);
  Item->FParent = nullptr;
  if (HasState(csDestroying)) {
    // Only the entry goes; the menu itself follows shortly.
    if (FHandle) RemoveMenu(FHandle, Item->FCommand, MF_BYCOMMAND);
    return;
  }
  if (FItems.empty() && FParent && !FMenu)
    MenuChanged(true);
  else
    SubItemChanged(Item, true);
}

void TMenuItem::Delete(int Index) { delete Items(Index); }

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

bool TMenuItem::IsTopLevelOfMainMenu() const {
  return FParent && FParent->FMenu && dynamic_cast<TMainMenu*>(FParent->FMenu);
}

HMENU TMenuItem::Handle() {
  if (!FHandle) {
    FHandle = FMenu ? FMenu->CreateMenuHandle() : CreatePopupMenu();
    if (!FHandle) RaiseLastOSError();
    PopulateMenu();
  }
  return FHandle;
}

void TMenuItem::PopulateMenu() {
  for (TMenuItem* item : FItems)
    if (item->FVisible) item->AppendTo(FHandle);
}

void TMenuItem::RebuildHandle() {
  if (!FHandle || HasState(csDestroying)) return;
  while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  PopulateMenu();
  MenuChanged(false);
}

void TMenuItem::AppendTo(HMENU Menu) {
  TMenu* menu = GetParentMenu();
  bool ownerDraw = menu && menu->OwnerDraw();
  AnsiString text = FCaption;
  if (FShortCut != scNone && FItems.empty() && !IsTopLevelOfMainMenu())
    text += "\t" + ShortCutToText(FShortCut);

  MENUITEMINFOA info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
  info.fType = 0;
  if (IsLine())
    info.fType |= MFT_SEPARATOR;
  else if (ownerDraw)
    info.fType |= MFT_OWNERDRAW;
  if (!IsLine() && !ownerDraw) info.fMask |= MIIM_STRING;
  if (FRadioItem) info.fType |= MFT_RADIOCHECK;
  if (menu && menu->IsRightToLeft()) info.fType |= MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
  info.fState = (FChecked ? MFS_CHECKED : 0) | (FEnabled ? 0 : MFS_GRAYED) | (FDefault ? MFS_DEFAULT : 0);
  info.wID = FCommand;
  info.hSubMenu = FItems.empty() ? nullptr : Handle();
  info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  info.dwTypeData = const_cast<char*>(text.c_str());
  info.cch = static_cast<UINT>(text.size());
  if (HasBitmap() && !ownerDraw && !IsLine()) {
    info.fMask |= MIIM_BITMAP;
    info.hbmpItem = FBitmap->Handle();
  }
  if (!InsertMenuItemA(Menu, static_cast<UINT>(GetMenuItemCount(Menu)), TRUE, &info)) RaiseLastOSError();
  EntryWritten();
}

void TMenuItem::MenuChanged(bool Rebuild) {
  if (FParent)
    FParent->SubItemChanged(this, Rebuild);
  else if (FMenu)
    FMenu->MenuChanged(FMenu, nullptr, Rebuild);
}

void TMenuItem::SubItemChanged(TMenuItem* Source, bool Rebuild) {
  if (Rebuild && FHandle) {
    RebuildHandle();  // tells this item's own parents
    return;
  }
  if (FParent)
    FParent->SubItemChanged(Source, false);
  else if (FMenu)
    FMenu->MenuChanged(FMenu, Source, Rebuild);
}

// Each setter leaves the link first: it tells whether the item still follows the action.
void TMenuItem::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  MenuChanged(true);
}

void TMenuItem::SetHint(const AnsiString& Value) { FHint = Value; }

void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  MenuChanged(true);
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value && FRadioItem) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::TurnSiblingsOff() {
  if (!FParent) return;
  for (TMenuItem* item : FParent->FItems)
    if (item != this && item->FRadioItem && item->FGroupIndex == FGroupIndex && item->FChecked) {
      item->FChecked = false;
      if (item->FActionLink) item->FActionLink->SetChecked(false);
    }
}

void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  MenuChanged(true);
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  MenuChanged(true);
}

void TMenuItem::SetDefault(bool Value) {
  if (FDefault == Value) return;
  if (Value && FParent)
    for (TMenuItem* item : FParent->FItems) item->FDefault = false;
  FDefault = Value;
  MenuChanged(true);
}

void TMenuItem::SetRadioItem(bool Value) {
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  if (FChecked && FRadioItem) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (FChecked && FRadioItem) TurnSiblingsOff();
}

void TMenuItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  MenuChanged(true);
}

TBitmap* TMenuItem::Bitmap() const {
  if (!FBitmap) FBitmap.reset(new TBitmap);
  return FBitmap.get();
}

void TMenuItem::SetBitmap(TBitmap* Value) {
  Bitmap()->Assign(Value);
  MenuChanged(true);
}

bool TMenuItem::HasBitmap() const { return FBitmap && !FBitmap->Empty(); }

// --- actions ---

TBasicAction* TMenuItem::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* Value) {
  LinkToAction<TMenuActionLink>(FActionLink, Value, [this] { return CreateActionLink(); },
                                [this](TObject* Sender, bool CheckDefaults) { ActionChange(Sender, CheckDefaults); });
}

TMenuActionLink* TMenuItem::CreateActionLink() { return new TMenuActionLink(this); }

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || FCaption.empty()) SetCaption(action->Caption());
  if (!CheckDefaults || !FChecked) SetChecked(action->Checked());
  if (!CheckDefaults || FEnabled) SetEnabled(action->Enabled());
  if (!CheckDefaults || FHint.empty()) SetHint(action->Hint());
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(action->ImageIndex());
  if (!CheckDefaults || FShortCut == scNone) SetShortCut(action->ShortCut());
  if (!CheckDefaults || FVisible) SetVisible(action->Visible());
}

bool TMenuItem::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
bool TMenuItem::IsCheckedStored() const { return !FActionLink || !FActionLink->IsCheckedLinked(); }
bool TMenuItem::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TMenuItem::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TMenuItem::IsShortCutStored() const { return !FActionLink || !FActionLink->IsShortCutLinked(); }
bool TMenuItem::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }
bool TMenuItem::IsImageIndexStored() const { return !FActionLink || !FActionLink->IsImageIndexLinked(); }

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (OnClick)
    OnClick(this);
  else if (FActionLink)
    FActionLink->Execute(this);
}

void TMenuItem::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TMenuItem::InitiateActions() {
  // An update may change the list (an item hidden or removed): walk a copy.
  std::vector<TMenuItem*> items = FItems;
  for (TMenuItem* item : items)
    if (LiveItems().count(item)) item->InitiateAction();
}

// --- stored descriptions ---

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (FParent) FParent->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(Value))
    menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(Value))
    item->Add(this);
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  for (TMenuItem* item : FItems) Proc(item);
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  if (TBasicAction* action = Action()) ActionChange(action, true);
}

// --- owner drawing ---

UINT TMenuItem::AlignmentFlags() const {
  if (auto* popup = dynamic_cast<TPopupMenu*>(GetParentMenu())) {
    switch (popup->Alignment()) {
      case paRight: return DT_RIGHT;
      case paCenter: return DT_CENTER;
      default: return DT_LEFT;
    }
  }
  return DT_LEFT;
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height) {
  if (IsLine()) {
    Width = 10;
    Height = GetSystemMetrics(SM_CYMENU) / 2;
  } else {
    RECT r{0, 0, 0, 0};
    DoDrawText(ACanvas, FCaption, r, false, AlignmentFlags() | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    Width = (r.right - r.left) + GlyphWidth(this) + kGlyphMargin;
    Height = std::max<int>(r.bottom - r.top + 4, GetSystemMetrics(SM_CYMENU));
    if (HasBitmap()) Height = std::max(Height, Bitmap()->Height() + 2 * kGlyphMargin);
    if (FShortCut != scNone && !IsTopLevelOfMainMenu())
      Width += ACanvas->TextWidth(ShortCutToText(FShortCut)) + 2 * kShortCutGap;
  }
  if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

RECT TMenuItem::CaptionRect(const RECT& ItemRect, bool TopLevel) {
  RECT r = ItemRect;
  if (TopLevel) {
    InflateRect(&r, -kGlyphMargin * 2, 0);
    return r;
  }
  TMenu* menu = GetParentMenu();
  int glyph = GlyphWidth(this);
  if (menu && menu->IsRightToLeft())
    r.right -= glyph;
  else
    r.left += glyph;
  return r;
}

void TMenuItem::AdvancedDrawItem(TCanvas* ACanvas, RECT ARect, TOwnerDrawState State, bool TopLevel) {
  bool selected = (State & odSelected) != 0;
  if (OnAdvancedDrawItem) {
    OnAdvancedDrawItem(this, ACanvas, ARect, State);
    return;
  }
  if (OnDrawItem) {
    OnDrawItem(this, ACanvas, ARect, selected);
    return;
  }
  ACanvas->Brush()->SetColor(selected ? clHighlight : clMenu);
  ACanvas->Font()->SetColor(selected ? clHighlightText : clMenuText);
  ACanvas->FillRect(ARect);
  if (IsLine()) {
    RECT line = ARect;
    line.top += (ARect.bottom - ARect.top) / 2 - 1;
    DrawEdge(ACanvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }

  TMenu* menu = GetParentMenu();
  bool rightToLeft = menu && menu->IsRightToLeft();
  if (!TopLevel) {
    // The glyph column: the bitmap, or the check mark.
    int glyph = GlyphWidth(this);
    RECT glyphRect = ARect;
    if (rightToLeft)
      glyphRect.left = glyphRect.right - glyph;
    else
      glyphRect.right = glyphRect.left + glyph;
    if (HasBitmap()) {
      TBitmap* bitmap = Bitmap();
      int x = glyphRect.left + (glyph - bitmap->Width()) / 2;
      int y = glyphRect.top + (glyphRect.bottom - glyphRect.top - bitmap->Height()) / 2;
      ACanvas->Draw(x, y, bitmap);
      if (FChecked) DrawEdge(ACanvas->Handle(), &glyphRect, BDR_SUNKENOUTER, BF_RECT);
    } else if (FChecked) {
      int size = GetSystemMetrics(SM_CXMENUCHECK);
      RECT mark{0, 0, size, size};
      OffsetRect(&mark, glyphRect.left + (glyph - size) / 2, glyphRect.top + (glyphRect.bottom - glyphRect.top - size) / 2);
      // The check mark in the text colour: a monochrome mask of it, blended in.
      HDC dc = ACanvas->Handle();
      HDC maskDC = CreateCompatibleDC(dc);
      HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
      HGDIOBJ old = SelectObject(maskDC, mask);
      RECT all{0, 0, size, size};
      DrawFrameControl(maskDC, &all, DFC_MENU, FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
      COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
      COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
      HBRUSH brush = CreateSolidBrush(ColorToRGB(ACanvas->Font()->Color()));
      HGDIOBJ oldBrush = SelectObject(dc, brush);
      // Where the mask is black the brush goes down; white keeps the background.
      BitBlt(dc, mark.left, mark.top, size, size, maskDC, 0, 0, 0x00B8074A);
      SelectObject(dc, oldBrush);
      DeleteObject(brush);
      SetTextColor(dc, text);
      SetBkColor(dc, back);
      SelectObject(maskDC, old);
      DeleteObject(mask);
      DeleteDC(maskDC);
    }
  }

  RECT textRect = CaptionRect(ARect, TopLevel);
  UINT flags = AlignmentFlags() | DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;
  if (State & odNoAccel) flags |= DT_HIDEPREFIX;
  DoDrawText(ACanvas, FCaption, textRect, selected, flags);
  if (!TopLevel && FShortCut != scNone && FItems.empty()) {
    RECT shortRect = ARect;
    if (rightToLeft) {
      shortRect.left += kShortCutGap;
      shortRect.right = shortRect.left + ACanvas->TextWidth(ShortCutToText(FShortCut));
    } else {
      shortRect.right -= kShortCutGap;
    }
    DoDrawText(ACanvas, ShortCutToText(FShortCut), shortRect, selected,
               DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
}

void TMenuItem::DoDrawText(TCanvas* ACanvas, const AnsiString& ACaption, RECT& Rect, bool Selected, UINT Flags) {
  TMenu* menu = GetParentMenu();
  if (menu && menu->IsRightToLeft()) Flags |= DT_RIGHT | DT_RTLREADING;
  AnsiString text = ACaption;
  if ((Flags & DT_CALCRECT) && (text.empty() || text == "&")) text += " ";
  TFontStyles style = ACanvas->Font()->Style();
  if (FDefault) ACanvas->Font()->SetStyle(style | fsBold);
  ScopeExit restoreStyle{[&] { ACanvas->Font()->SetStyle(style); }};
  HDC dc = ACanvas->Handle();
  ACanvas->RequiredState(csHandleValid | csFontValid);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  auto draw = [&](RECT& r, TColor color) {
    SetTextColor(dc, ColorToRGB(color));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, Flags);
  };
  if (!FEnabled && !(Flags & DT_CALCRECT)) {
    if (!Selected) {
      RECT shadow = Rect;
      OffsetRect(&shadow, 1, 1);
      draw(shadow, clBtnHighlight);
    }
    // A selected entry on a highlight of the shadow's colour would lose its text.
    bool shadowIsHighlight = ColorToRGB(clHighlight) == ColorToRGB(clBtnShadow);
    draw(Rect, Selected && shadowIsHighlight ? clBtnHighlight : clBtnShadow);
  } else {
    draw(Rect, ACanvas->Font()->Color());
  }
  SetBkMode(dc, oldMode);
}

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) {
  RegisterMenuClasses();
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  Destroying();
  delete FItems;
}

void TMenu::SetOwnerDraw(bool Value) {
  if (FOwnerDraw == Value) return;
  FOwnerDraw = Value;
  // Every entry changes its type: rebuild from the bottom up.
  std::function<void(TMenuItem*)> rebuild = [&](TMenuItem* item) {
    for (int i = 0; i < item->Count(); ++i) rebuild(item->Items(i));
    item->RebuildHandle();
  };
  rebuild(FItems);
}

void TMenu::SetBiDiMode(TBiDiMode Value) {
  if (FBiDiMode == Value) return;
  FBiDiMode = Value;
  std::function<void(TMenuItem*)> rebuild = [&](TMenuItem* item) {
    for (int i = 0; i < item->Count(); ++i) rebuild(item->Items(i));
    item->RebuildHandle();
  };
  rebuild(FItems);
}

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind) const {
  std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* item) -> TMenuItem* {
    switch (Kind) {
      case fkCommand:
        if (item != FItems && item->Command() == Value) return item;
        break;
      case fkHandle:
        if (item->HandleAllocated() && reinterpret_cast<UINT_PTR>(item->FHandle) == Value) return item;
        break;
      case fkShortCut:
        if (item != FItems && item->ShortCut() == Value && Value != scNone) return item;
        break;
    }
    for (int i = 0; i < item->Count(); ++i)
      if (TMenuItem* found = find(item->Items(i))) return found;
    return nullptr;
  };
  return find(FItems);
}

bool TMenu::DispatchCommand(WORD ACommand) {
  TMenuItem* item = FindItem(ACommand, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchPopup(HMENU AMenu) {
  TMenuItem* item = FindItem(reinterpret_cast<UINT_PTR>(AMenu), fkHandle);
  if (!item) return false;
  item->InitiateActions();
  if (item != FItems) item->Click();
  return true;
}

bool TMenu::IsShortCut(TShortCut AShortCut) {
  TMenuItem* item = FindItem(AShortCut, fkShortCut);
  if (!item) return false;
  // The item's own state is brought up to date before it runs.
  item->InitiateAction();
  for (TMenuItem* p = item; p && p != FItems; p = p->Parent())
    if (!p->Enabled() || !p->Visible()) return false;
  item->Click();
  return true;
}

void TMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  if (OnChange) OnChange(Sender, Source, Rebuild);
}

void TMenu::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  FItems->GetChildren(Proc, Root);
}

void TMenu::Loaded() {
  TComponent::Loaded();
  MenuChanged(this, nullptr, false);
}

void TMainMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  HWND wnd = WindowHandle();
  if (wnd && IsWindow(wnd) && Items()->HandleAllocated() && GetMenu(wnd) == Items()->Handle()) DrawMenuBar(wnd);
  TMenu::MenuChanged(Sender, Source, Rebuild);
}

// ---------------------------------------------------------------------------
// TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {
  if (!PopupList) DefaultPopupList();
  PopupList->Add(this);
}

TPopupMenu::~TPopupMenu() {
  Destroying();
  SetPopupComponent(nullptr);
  if (PopupList) PopupList->Remove(this);
  DefaultPopupList()->Remove(this);
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (FPopupComponent == Value) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (FPopupComponent) FPopupComponent->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(int X, int Y) {
  FPopupPoint = POINT{X, Y};
  DoPopup(this);
  static const UINT kAlign[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  UINT flags = kAlign[FAlignment] | TPM_RIGHTBUTTON;
  if (IsRightToLeft()) flags |= TPM_LAYOUTRTL;
  HWND owner = PopupList->Window();
  TrackPopupMenu(Handle(), flags, X, Y, 0, owner, nullptr);
}

// ---------------------------------------------------------------------------
// TPopupList

TPopupList* PopupList = nullptr;

TPopupList* DefaultPopupList() {
  // Lives as long as the program: pop-up menus may go at its very end.
  static TPopupList* list = new TPopupList;
  if (!PopupList) PopupList = list;
  return list;
}

TPopupList::~TPopupList() {
  if (FWindow) DeallocateHWnd(FWindow);
}

void TPopupList::Add(TPopupMenu* Menu) {
  if (std::find(FMenus.begin(), FMenus.end(), Menu) == FMenus.end()) FMenus.push_back(Menu);
}

void TPopupList::Remove(TPopupMenu* Menu) { FMenus.erase(std::remove(FMenus.begin(), FMenus.end(), Menu), FMenus.end()); }

HWND TPopupList::Window() {
  if (!FWindow)
    FWindow = AllocateHWnd([this](HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
      // The creation messages come before AllocateHWnd returns the window.
      if (!FWindow) FWindow = Wnd;
      TMessage m{Msg, wParam, lParam, 0};
      WndProc(m);
      return m.Result;
    });
  return FWindow;
}

void TPopupList::WndProc(TMessage& Message) {
  // A menu may go while its entry is handled: walk a copy, and skip the ones that went.
  std::vector<TPopupMenu*> menus = FMenus;
  auto listed = [this](TPopupMenu* m) { return std::find(FMenus.begin(), FMenus.end(), m) != FMenus.end(); };
  switch (Message.Msg) {
    case WM_COMMAND:
      for (TPopupMenu* menu : menus)
        if (listed(menu) && menu->DispatchCommand(LOWORD(Message.WParam))) return;
      break;
    case WM_INITMENUPOPUP:
      for (TPopupMenu* menu : menus)
        if (listed(menu) && menu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) return;
      break;
    case WM_MENUSELECT: {
      for (TPopupMenu* menu : menus)
        if (TMenuItem* item = MenuSelectItem(menu, Message.WParam, Message.LParam)) {
          if (Application) Application->SetHint(GetLongHint(item->Hint()));
          return;
        }
      if (Application) Application->SetHint("");
      break;
    }
    case WM_MEASUREITEM:
      if (MeasureMenuItem(reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam))) {
        Message.Result = TRUE;
        return;
      }
      break;
    case WM_DRAWITEM:
      if (DrawMenuItem(reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam))) {
        Message.Result = TRUE;
        return;
      }
      break;
    default: break;
  }
  Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
}

// ---------------------------------------------------------------------------

TMenuItem* MenuItemFromData(ULONG_PTR Data) {
  auto* item = reinterpret_cast<TMenuItem*>(Data);
  return LiveItems().count(item) ? item : nullptr;
}

bool MeasureMenuItem(MEASUREITEMSTRUCT* Measure) {
  if (!Measure || Measure->CtlType != ODT_MENU) return false;
  TMenuItem* item = MenuItemFromData(Measure->itemData);
  if (!item) return false;
  HDC dc = GetDC(nullptr);
  ScopeExit release{[dc] { ReleaseDC(nullptr, dc); }};
  TBorrowedCanvas canvas(dc);
  UseMenuFont(&canvas.Canvas);
  int width = static_cast<int>(Measure->itemWidth), height = static_cast<int>(Measure->itemHeight);
  item->MeasureItem(&canvas.Canvas, width, height);
  Measure->itemWidth = static_cast<UINT>(std::max(width, 0));
  Measure->itemHeight = static_cast<UINT>(std::max(height, 0));
  return true;
}

bool DrawMenuItem(DRAWITEMSTRUCT* Draw) {
  if (!Draw || Draw->CtlType != ODT_MENU) return false;
  TMenuItem* item = MenuItemFromData(Draw->itemData);
  if (!item) return false;
  int saved = SaveDC(Draw->hDC);
  ScopeExit restore{[Draw, saved] { RestoreDC(Draw->hDC, saved); }};
  TBorrowedCanvas canvas(Draw->hDC);
  UseMenuFont(&canvas.Canvas);
  item->AdvancedDrawItem(&canvas.Canvas, Draw->rcItem, OwnerDrawStateOf(Draw->itemState), item->IsTopLevelOfMainMenu());
  return true;
}

TMenuItem* MenuSelectItem(TMenu* Menu, WPARAM WParam, LPARAM LParam) {
  UINT flags = HIWORD(WParam);
  HMENU menu = reinterpret_cast<HMENU>(LParam);
  if (!Menu || (flags == 0xFFFF && !menu)) return nullptr;
  if (flags & MF_POPUP) {
    if (!menu) return nullptr;
    HMENU sub = GetSubMenu(menu, LOWORD(WParam));
    return Menu->FindItem(reinterpret_cast<UINT_PTR>(sub), fkHandle);
  }
  return Menu->FindItem(LOWORD(WParam), fkCommand);
}

// ---------------------------------------------------------------------------

TShortCut TextToShortCut(const AnsiString& Text) {
  // The modifiers come first, each with its "+": compare their texts case-blind.
  AnsiString rest = Text;
  TShortCut modifiers = 0;
  for (bool found = true; found;) {
    found = false;
    for (auto [name, bit] : {std::pair<const char*, TShortCut>{"Shift+", scShift}, {"Ctrl+", scCtrl}, {"Alt+", scAlt}}) {
      size_t len = strlen(name);
      if (rest.size() > len && AnsiCompareText(rest.substr(0, len), name) == 0) {
        modifiers |= bit;
        rest = rest.substr(len);
        found = true;
      }
    }
  }
  if (rest.empty()) return scNone;
  // The key: the one whose text (without modifiers) is the rest.
  for (int key = 1; key <= 0xFF; ++key) {
    AnsiString name = ShortCutToText(static_cast<TShortCut>(key));
    if (!name.empty() && AnsiCompareText(name, rest) == 0) return static_cast<TShortCut>(key | modifiers);
  }
  return scNone;
}

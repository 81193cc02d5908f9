#include "widetext/uni_menus.h"

#include "vcl/resstrings.h"
#include "vcl/streaming.h"
#include "widetext/platform.h"
#include "widetext/synced_strings.h"
#include "widetext/uni_actions.h"
#include "widetext/uni_application.h"
#include "widetext/wide_control_text.h"
#include "widetext/wide_props.h"

namespace {

const std::vector<TPropInfo>& UniMenuItemProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniMenuItem>()
      .Property("Caption", &TUniMenuItem::Caption, &TUniMenuItem::SetCaption).Stored(&TUniMenuItem::IsCaptionStored)
      .Property("Hint", &TUniMenuItem::Hint, &TUniMenuItem::SetHint).Stored(&TUniMenuItem::IsHintStored)
      .Table();
  return table;
}

bool FarEastLocale() { return GetSystemMetrics(SM_DBCSENABLED) != 0; }

// A Far-East "(&X)" group starts at I: "(" "&" one character ")".
bool IsFarEastHotkeyGroup(const WideString& S, size_t I) {
  return FarEastLocale() && I + 3 < S.size() + 0 && S[I] == L'(' && S[I + 1] == L'&' && S[I + 2] != L'&' &&
         S[I + 3] == L')';
}

// Keys whose text the framework fixes (not the keyboard layout).
bool IsFixedNameKey(BYTE Key) {
  switch (Key) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_SPACE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE: return true;
    default: return Key >= VK_F1 && Key <= VK_F24;
  }
}

WideString WideKeyName(BYTE Key) {
  if (IsFixedNameKey(Key)) return AnsiToWide(ShortCutToText(Key));
  bool digit = Key >= '0' && Key <= '9';
  if (digit || (Key >= 'A' && Key <= 'Z') || (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9)) {
    // The character the layout gives the key (the high bit marks a dead key).
    WideChar c = static_cast<WideChar>(MapVirtualKeyW(Key, MAPVK_VK_TO_CHAR) & 0x7FFF);
    // A layout whose digit keys type other characters without Shift (French) still shows
    // the digit, as long as that digit is typed on the same key.
    if (digit && c != Key && (VkKeyScanW(static_cast<WideChar>(Key)) & 0xFF) == Key) c = static_cast<WideChar>(Key);
    // A layout that gives the key no character (numeric-pad digits under some layouts)
    // keeps the framework's name of it rather than an empty shortcut text.
    return c ? WideString(1, c) : AnsiToWide(ShortCutToText(Key));
  }
  UINT scan = MapVirtualKeyW(Key, MAPVK_VK_TO_VSC);
  WideChar name[256] = {};
  int len = GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 256);
  return WideString(name, len > 0 ? static_cast<size_t>(len) : 0);
}

// Writes the item's wide text into its entry; Force writes even an unchanged text.
void WriteWideMenuItem(TMenuItem* Item, TMenu* Menu, bool Force) {
  auto* wide = dynamic_cast<TUniMenuItem*>(Item);
  if (!wide) return;
  wide->NoteKeyboardLayout();
  if (!UnicodePlatform || !Item->Parent() || !Menu || Item->HasState(csLoading | csDestroying) || !Item->Visible())
    return;
  // Nothing to write before the framework has built the menu.
  if (!Item->Parent()->HandleAllocated()) return;
  HMENU menu = Item->Parent()->Handle();
  // The entry's own type: a picture beside the text (hbmpItem, which MIIM_TYPE would
  // report as a bitmap entry) still leaves it a string entry.
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  if (!GetMenuItemInfoW(menu, Item->Command(), FALSE, &info)) return;
  if (info.fType & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR)) return;

  WideString text = wide->Caption();
  if (Item->Count() == 0 && Item->ShortCut() != scNone && !Item->IsTopLevelOfMainMenu())
    text += L"\t" + WideShortcutText(Item->ShortCut());
  int len = GetMenuStringW(menu, Item->Command(), nullptr, 0, MF_BYCOMMAND);
  WideString current(static_cast<size_t>(std::max(len, 0)) + 1, L'\0');
  len = GetMenuStringW(menu, Item->Command(), current.data(), len + 1, MF_BYCOMMAND);
  current.resize(static_cast<size_t>(std::max(len, 0)));
  if (!Force && current == text) return;
  // Only the text is replaced; type, state and picture stay.
  info.fMask = MIIM_STRING;
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  if (!SetMenuItemInfoW(menu, Item->Command(), FALSE, &info)) RaiseLastOSError();
  if (Item->IsTopLevelOfMainMenu() && Menu->WindowHandle()) DrawMenuBar(Menu->WindowHandle());
}

}  // namespace

VCL_CLASS_IMPL(TUniMenuItem, TMenuItem, &CreateComponentOf<TUniMenuItem>, &UniMenuItemProperties)
VCL_CLASS_IMPL(TUniPopupMenu, TPopupMenu, &CreateComponentOf<TUniPopupMenu>, nullptr)

void RegisterUniMenuClasses() {
  static const bool done = [] {
    RegisterMenuClasses();
    RegisterClasses({TUniMenuItem::StaticClass(), TUniPopupMenu::StaticClass()});
    return true;
  }();
  (void)done;
}

// ---------------------------------------------------------------------------
// Hot keys and shortcut texts

int HotkeyPosition(const WideString& Caption) {
  int position = 0;
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != L'&') continue;
    if (Caption[i + 1] != L'&') position = static_cast<int>(i) + 2;
    ++i;  // past the marked character, or past the second "&" of a pair
  }
  return position;
}

WideString HotkeyChar(const WideString& Caption) {
  int position = HotkeyPosition(Caption);
  return position ? WideString(1, Caption[static_cast<size_t>(position) - 1]) : WideString();
}

WideString StripHotkeyMarks(const WideString& Caption) {
  WideString result;
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (IsFarEastHotkeyGroup(Caption, i)) {
      i += 3;
      continue;
    }
    if (Caption[i] == L'&') {
      if (i + 1 < Caption.size() && Caption[i + 1] == L'&') {
        result += L'&';
        ++i;
      }
      continue;
    }
    result += Caption[i];
  }
  return result;
}

bool SameCaptionText(const WideString& A, const WideString& B) {
  WideString a = StripHotkeyMarks(A), b = StripHotkeyMarks(B);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool SameCaptionTextExact(const WideString& A, const WideString& B) { return StripHotkeyMarks(A) == StripHotkeyMarks(B); }

void SyncHotKeyPosition(const WideString& Source, WideString& Target) {
  if (WideToAnsi(Source) == WideToAnsi(Target)) return;
  WideString stripped = StripHotkeyMarks(Target);
  if (WideToAnsi(StripHotkeyMarks(Source)) != WideToAnsi(stripped)) return;
  WideString result;
  size_t j = 0;
  for (size_t i = 0; i < Source.size(); ++i) {
    if (IsFarEastHotkeyGroup(Source, i)) {
      result += Source.substr(i, 4);
      i += 3;
    } else if (Source[i] == L'&') {
      if (i + 1 < Source.size() && Source[i + 1] == L'&') {
        result += L"&&";
        ++i;
        ++j;  // the literal "&" of the stripped text
      } else {
        result += L'&';
      }
    } else if (j < stripped.size()) {
      result += stripped[j++];
    }
  }
  if (j < stripped.size()) result += stripped.substr(j);
  if (WideToAnsi(result) != WideToAnsi(Source))
    throw EUniInternalError(Format("Internal Error: SyncHotKeyPosition Failed (\"%s\" <> \"%s\").",
                                   WideToAnsi(Source).c_str(), WideToAnsi(result).c_str()));
  Target = result;
}

WideString WideShortcutText(TShortCut ShortCut) {
  if (!UnicodePlatform) return AnsiToWide(ShortCutToText(ShortCut));
  WideString name = WideKeyName(static_cast<BYTE>(ShortCut & 0xFF));
  if (name.empty()) return WideString();
  WideString result;
  if (ShortCut & scShift) result += AnsiToWide(LoadResString(&SmkcShift));
  if (ShortCut & scCtrl) result += AnsiToWide(LoadResString(&SmkcCtrl));
  if (ShortCut & scAlt) result += AnsiToWide(LoadResString(&SmkcAlt));
  return result + name;
}

// ---------------------------------------------------------------------------
// Writing wide items into the system menus

void UpdateWideMenuItem(TMenuItem* Item, TMenu* Menu) { WriteWideMenuItem(Item, Menu, false); }

void UpdateWideMenuItems(TMenuItem* Item, TMenu* Menu) {
  if (!Item || Item->HasState(csLoading | csDestroying)) return;
  for (int i = Item->Count() - 1; i >= 0; --i) UpdateWideMenuItems(Item->Items(i), Menu);
  UpdateWideMenuItem(Item, Menu);
}

void RepairMenuBiDi(TMenu* Menu) {
  if (!Menu || !GetSystemMetrics(SM_MIDEASTENABLED)) return;
  TMenuItem* root = Menu->Items();
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    if (!item->Visible() || !dynamic_cast<TUniMenuItem*>(item)) continue;
    WriteWideMenuItem(item, Menu, true);
    return;
  }
}

WideString WideMenuItemHint(TMenuItem* Item) {
  if (auto* wide = dynamic_cast<TUniMenuItem*>(Item)) return wide->Hint();
  return Item ? AnsiToWide(Item->Hint()) : WideString();
}

// ---------------------------------------------------------------------------
// TUniMenuItem

TUniMenuItem::TUniMenuItem(TComponent* AOwner) : TMenuItem(AOwner) { RegisterUniMenuClasses(); }

WideString TUniMenuItem::Caption() {
  const AnsiString& ansi = TMenuItem::Caption();
  // The framework may have moved the "&" (its automatic hot keys): follow it.
  if (WideToAnsi(FCaption) != ansi) SyncHotKeyPosition(AnsiToWide(ansi), FCaption);
  return GetSyncedWideString(FCaption, ansi);
}

void TUniMenuItem::SetCaption(const WideString& Value) {
  Caption();
  SetSyncedWideString(Value, FCaption, TMenuItem::Caption(), [this](const AnsiString& s) { TMenuItem::SetCaption(s); });
}

WideString TUniMenuItem::Hint() { return GetSyncedWideString(FHint, TMenuItem::Hint()); }

void TUniMenuItem::SetHint(const WideString& Value) {
  SetSyncedWideString(Value, FHint, TMenuItem::Hint(), [this](const AnsiString& s) { TMenuItem::SetHint(s); });
}

void TUniMenuItem::DefineProperties(TFiler* Filer) {
  TMenuItem::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniMenuItem::Loaded() {
  TMenuItem::Loaded();
  UpdateWideMenuItem(this, GetParentMenu());
}

void TUniMenuItem::MenuChanged(bool Rebuild) {
  if (FUpdating) return;
  TMenuItem::MenuChanged(Rebuild);
  TMenu* menu = GetParentMenu();
  UpdateWideMenuItems(this, menu);
  RepairMenuBiDi(menu);
}

void TUniMenuItem::InitiateAction() {
  TMenuItem::InitiateAction();
  // Shortcut texts follow the keyboard layout.
  if (FKeyboardLayout != GetKeyboardLayout(0)) MenuChanged(true);
}

void TUniMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (action && dynamic_cast<IWideCustomAction*>(Sender)) {
    if (!CheckDefaults || Caption().empty()) SetCaption(WideActionCaption(action));
    if (!CheckDefaults || Hint().empty()) SetHint(WideActionHint(action));
  }
  TMenuItem::ActionChange(Sender, CheckDefaults);
}

TMenuActionLink* TUniMenuItem::CreateActionLink() { return new TUniMenuActionLink(this); }

void TUniMenuItem::EntryWritten() { UpdateWideMenuItem(this, GetParentMenu()); }

void TUniMenuItem::SwapTexts(const AnsiString& Caption, TShortCut ShortCut) {
  FUpdating = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{FUpdating};
  TMenuItem::SetCaption(Caption);
  TMenuItem::SetShortCut(ShortCut);
}

namespace {

// The width of a text as the items measure theirs (DT_CALCRECT through their DoDrawText).
template <class DrawFn>
int MeasuredWidth(DrawFn Draw, UINT Flags) {
  RECT r{0, 0, 0, 0};
  Draw(r, Flags | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
  return r.right - r.left;
}

}  // namespace

void TUniMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height) {
  if (!UnicodePlatform || IsLine()) {
    TMenuItem::MeasureItem(ACanvas, Width, Height);
    return;
  }
  TMenuMeasureItemEvent handler = OnMeasureItem;
  OnMeasureItem = nullptr;
  try {
    TMenuItem::MeasureItem(ACanvas, Width, Height);
  } catch (...) {
    OnMeasureItem = handler;
    throw;
  }
  OnMeasureItem = handler;
  UINT flags = AlignmentFlags();
  WideString wide = Caption();
  AnsiString ansi = TMenuItem::Caption();
  Width += MeasuredWidth([&](RECT& r, UINT f) { DoDrawWideText(ACanvas, wide, r, false, f); }, flags) -
           MeasuredWidth([&](RECT& r, UINT f) { DoDrawText(ACanvas, ansi, r, false, f); }, flags);
  if (ShortCut() != scNone) {
    WideString wideShort = WideShortcutText(ShortCut());
    AnsiString ansiShort = ShortCutToText(ShortCut());
    Width += MeasuredWidth([&](RECT& r, UINT f) { DoDrawWideText(ACanvas, wideShort, r, false, f); }, flags) -
             MeasuredWidth([&](RECT& r, UINT f) { DoDrawText(ACanvas, ansiShort, r, false, f); }, flags);
  }
  if (handler) handler(this, ACanvas, Width, Height);
}

void TUniMenuItem::AdvancedDrawItem(TCanvas* ACanvas, RECT ARect, TOwnerDrawState State, bool TopLevel) {
  TMenu* menu = GetParentMenu();
  bool ownDrawing = OnDrawItem || OnAdvancedDrawItem;
  if (!UnicodePlatform || IsLine() || (ownDrawing && menu && menu->OwnerDraw())) {
    TMenuItem::AdvancedDrawItem(ACanvas, ARect, State, TopLevel);
    return;
  }
  // The framework draws the entry without text; the wide text goes over it.
  WideString caption = Caption();
  AnsiString ansiCaption = TMenuItem::Caption();
  TShortCut shortCut = ShortCut();
  SwapTexts(AnsiString(), scNone);
  try {
    TMenuItem::AdvancedDrawItem(ACanvas, ARect, State, TopLevel);
  } catch (...) {
    SwapTexts(ansiCaption, shortCut);
    throw;
  }
  SwapTexts(ansiCaption, shortCut);

  bool selected = (State & odSelected) != 0;
  RECT textRect = CaptionRect(ARect, TopLevel);
  if (selected && TopLevel && menu && !menu->IsRightToLeft()) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    // Windows 98 up to 2000 moved a selected bar entry one pixel.
    if (GetVersionExA(&version) && version.dwMajorVersion == 4 && version.dwMinorVersion >= 10)
      OffsetRect(&textRect, 1, 0);
  }
  UINT flags = AlignmentFlags() | DT_EXPANDTABS | DT_SINGLELINE;
  if (State & odNoAccel) flags |= DT_HIDEPREFIX;
  RECT measure = textRect;
  DoDrawWideText(ACanvas, caption, measure, selected, flags | DT_CALCRECT);
  int height = measure.bottom - measure.top;
  textRect.top += ((textRect.bottom - textRect.top) - height) / 2;
  textRect.bottom = textRect.top + height;
  DoDrawWideText(ACanvas, caption, textRect, selected, flags);

  if (!TopLevel && shortCut != scNone && Count() == 0) {
    WideString shortText = WideShortcutText(shortCut);
    RECT shortRect = textRect;
    if (menu && menu->IsRightToLeft()) {
      RECT width{0, 0, 0, 0};
      DoDrawWideText(ACanvas, shortText, width, selected, DT_CALCRECT | DT_SINGLELINE);
      shortRect.left = ARect.left + 10;
      shortRect.right = shortRect.left + (width.right - width.left);
    } else {
      shortRect.left = textRect.left + (measure.right - measure.left);
      shortRect.right = ARect.right - 10;
    }
    DoDrawWideText(ACanvas, shortText, shortRect, selected, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
  }
}

void TUniMenuItem::DoDrawWideText(TCanvas* ACanvas, const WideString& ACaption, RECT& Rect, bool Selected,
                                  UINT Flags) {
  TMenu* menu = GetParentMenu();
  if (menu && menu->IsRightToLeft()) Flags |= DT_RIGHT | DT_RTLREADING;
  WideString text = ACaption;
  if ((Flags & DT_CALCRECT) && (text.empty() || text == L"&")) text += L" ";
  TFontStyles style = ACanvas->Font()->Style();
  if (Default()) ACanvas->Font()->SetStyle(style | fsBold);
  struct Restore {
    TCanvas* canvas;
    TFontStyles style;
    ~Restore() { canvas->Font()->SetStyle(style); }
  } restore{ACanvas, style};
  ACanvas->RequiredState(csHandleValid | csFontValid);
  HDC dc = ACanvas->Handle();
  int oldMode = SetBkMode(dc, TRANSPARENT);
  auto draw = [&](RECT& r, TColor color) {
    SetTextColor(dc, ColorToRGB(color));
    Uni_DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, Flags);
  };
  if (!Enabled() && !(Flags & DT_CALCRECT)) {
    if (!Selected) {
      RECT shadow = Rect;
      OffsetRect(&shadow, 1, 1);
      draw(shadow, clBtnHighlight);
    }
    bool shadowIsHighlight = ColorToRGB(clHighlight) == ColorToRGB(clBtnShadow);
    draw(Rect, Selected && shadowIsHighlight ? clBtnHighlight : clBtnShadow);
  } else {
    draw(Rect, ACanvas->Font()->Color());
  }
  SetBkMode(dc, oldMode);
}

// ---------------------------------------------------------------------------
// TUniPopupMenu

TUniPopupMenu::TUniPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {
  RegisterUniMenuClasses();
  if (PopupList) PopupList->Remove(this);
  DefaultPopupList()->Remove(this);
  UniPopupList()->Add(this);
}

TUniPopupMenu::~TUniPopupMenu() {
  Destroying();
  UniPopupList()->Remove(this);
}

void TUniPopupMenu::Popup(int X, int Y) {
  TUniPopupList* wide = UniPopupList();
  PopupList = wide;
  struct Reset {
    TPopupList* list;
    ~Reset() { PopupList = list; }
  } reset{wide->FrameworkList()};
  TPopupMenu::Popup(X, Y);
}

void TUniPopupMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  TPopupMenu::MenuChanged(Sender, Source, Rebuild);
  for (int i = 0; i < Items()->Count(); ++i) UpdateWideMenuItems(Items()->Items(i), this);
}

// ---------------------------------------------------------------------------
// TUniPopupList

TUniPopupList::TUniPopupList() : FFrameworkList(DefaultPopupList()) {}

TUniPopupList* UniPopupList() {
  // Lives as long as the program, like the framework's list.
  static TUniPopupList* list = new TUniPopupList;
  return list;
}

void TUniPopupList::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MENUSELECT: {
      for (TPopupMenu* menu : FMenus)
        if (TMenuItem* item = MenuSelectItem(menu, Message.WParam, Message.LParam)) {
          WideString hint = WideLongHint(WideMenuItemHint(item));
          if (WideApplication)
            WideApplication->SetHint(hint);
          else if (Application)
            Application->SetHint(WideToAnsi(hint));
          return;
        }
      if (WideApplication) WideApplication->SetHint(WideString());
      break;
    }
    case WM_ENTERMENULOOP:
      PopupList = FFrameworkList;
      for (TPopupMenu* menu : FMenus) RepairMenuBiDi(menu);
      break;
    default: break;
  }
  TPopupList::WndProc(Message);
}

#include "widetext/uni_forms.h"

#include "vcl/menus.h"
#include "vcl/windowbinding.h"
#include "widetext/platform.h"
#include "widetext/uni_application.h"
#include "widetext/uni_controls.h"
#include "widetext/uni_menus.h"
#include "widetext/wide_control_text.h"
#include "widetext/wide_props.h"

namespace {

const std::vector<TPropInfo>& UniFormProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniForm>()
      .Property("Caption", &TUniForm::Caption, &TUniForm::SetCaption).Stored(&TUniForm::IsCaptionStored)
      .Property("Hint", &TUniForm::Hint, &TUniForm::SetHint).Stored(&TUniForm::IsHintStored)
      .Table();
  return table;
}

// The character after the last single "&" of a caption ("&&" stands for "&"); 0 when none.
WideChar WideHotkeyChar(const WideString& Caption) {
  WideChar hotkey = 0;
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != L'&') continue;
    if (Caption[i + 1] != L'&') hotkey = Caption[i + 1];
    ++i;  // past the marked character, or past the second "&" of a pair
  }
  return hotkey;
}

}  // namespace

VCL_CLASS_IMPL(TUniForm, TForm, &CreateComponentOf<TUniForm>, &UniFormProperties)

TUniForm::TUniForm(TComponent* AOwner) : TForm(AOwner) {}

WideString TUniForm::Caption() { return UniControl_GetText(this); }
void TUniForm::SetCaption(const WideString& Value) { UniControl_SetText(this, Value); }
WideString TUniForm::Hint() { return UniControl_GetHint(this); }
void TUniForm::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniForm::IsCaptionStored() const { return UniControl_IsCaptionStored(this); }
bool TUniForm::IsHintStored() const { return UniControl_IsHintStored(this); }

void TUniForm::DefineProperties(TFiler* Filer) {
  TForm::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniForm::UpdateActions() {
  TForm::UpdateActions();
  if (WideApplication) WideApplication->UpdateHint();
}

void TUniForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MENUSELECT:
      if (!Menu()) break;
      if (HIWORD(Message.WParam) == 0xFFFF && Message.LParam == 0) return;  // the menu closes
      if (WideApplication) {
        TMenuItem* item = MenuSelectItem(Menu(), Message.WParam, Message.LParam);
        WideApplication->SetHint(item ? WideLongHint(WideMenuItemHint(item)) : WideString());
      }
      return;
    case CM_BIDIMODECHANGED:
    case WM_WINDOWPOSCHANGING:
      TForm::Dispatch(Message);
      RepairMenuBiDi(Menu());
      RepairMenuBiDi(PopupMenu());
      return;
    default: break;
  }
  TForm::Dispatch(Message);
}

const TMetaClass* TUniForm::DescriptionRoot() const { return TUniForm::StaticClass(); }

void TUniForm::CreateWindowHandle(const TCreateParams& Params) {
  if (!UnicodePlatform) {
    TForm::CreateWindowHandle(Params);
    return;
  }
  if (FormStyle() == fsMDIChild) {
    HWND client = ActiveMDIClient();
    WideString className = RegisterUnicodeWindowClass(Params);
    DefWndProc = &DefMDIChildProcW;
    HWND wnd = CreateMDIWindowW(className.c_str(), L"", Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                                client, FrameworkInstance(), reinterpret_cast<LPARAM>(Params.Param));
    const DWORD error = GetLastError();
    SetWindowHandle(wnd);
    if (!wnd) RaiseLastOSError(error);
    SubClassUnicodeControl(this, Params.Caption);
    SetFormStateFlag(fsCreatedMDIChild, true);
  } else {
    // Layering is applied to a window that exists, not asked of CreateWindowEx.
    TCreateParams params = Params;
    params.ExStyle &= ~static_cast<DWORD>(WS_EX_LAYERED);
    CreateUnicodeHandle(this, params, L"");
    SetFormStateFlag(fsCreatedMDIChild, false);
  }
  // Off and on again: the new window takes the layering.
  if (AlphaBlend()) {
    SetAlphaBlend(false);
    SetAlphaBlend(true);
  } else if (TransparentColor()) {
    SetTransparentColor(false);
    SetTransparentColor(true);
  }
}

void TUniForm::DefaultHandler(TMessage& Message) {
  if (!UnicodePlatform || !ClientHandle() || !HandleAllocated() || Message.Msg >= CM_BASE) {
    TForm::DefaultHandler(Message);
    return;
  }
  HWND wnd = WindowHandle();
  if (Message.Msg == WM_SIZE)
    Message.Result = DefWindowProcW(wnd, Message.Msg, Message.WParam, Message.LParam);
  else
    Message.Result = DefFrameProcW(wnd, ClientHandle(), Message.Msg, Message.WParam, Message.LParam);
  if (Message.Msg == WM_DESTROY) SendMessageW(wnd, WideControlsDestroyWindowMessage(), 0, 0);
}

void TUniForm::DestroyWindowHandle() {
  if (UnicodePlatform && HandleAllocated()) {
    using TUninitializeFlatSB = HRESULT(WINAPI*)(HWND);
    if (HMODULE comctl = GetModuleHandleA("comctl32.dll"))
      if (auto uninitialize = reinterpret_cast<TUninitializeFlatSB>(GetProcAddress(comctl, "UninitializeFlatSB")))
        uninitialize(WindowHandle());
  }
  TForm::DestroyWindowHandle();
}

TDockManager* TUniForm::CreateDockManager() {
  if (!DockManager() && DockSite() && UseDockManager()) HandleNeeded();
  return TForm::CreateDockManager();
}

bool IsWideAccelChar(WORD CharCode, const WideString& Caption) {
  WideChar hotkey = WideHotkeyChar(Caption);
  if (!hotkey) return false;
  WideChar pressed = KeyCharToWide(CharCode);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, &pressed, 1, &hotkey, 1) == CSTR_EQUAL;
}

#include "vcl/themes.h"

#include <memory>

namespace {

// Parts of the themes' classes (vssym32.h).
constexpr int BP_PUSHBUTTON = 1;
constexpr int BP_GROUPBOX = 4;
constexpr int GBS_NORMAL = 1;
constexpr int GBS_DISABLED = 2;
constexpr int TP_BUTTON = 1;
constexpr int TS_TRUE = 1;
constexpr DWORD STAP_ALLOW_CONTROLS_FLAG = 2;

template <class F>
void Bind(HMODULE library, const char* name, F& function) {
  function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

TThemedElementDetails PushButtonDetails(TThemedButtonState State) { return {L"BUTTON", BP_PUSHBUTTON, State}; }

TThemedElementDetails GroupBoxDetails(bool Enabled) {
  return {L"BUTTON", BP_GROUPBOX, Enabled ? GBS_NORMAL : GBS_DISABLED};
}

TThemedElementDetails ToolButtonDetails(TThemedToolButtonState State) { return {L"TOOLBAR", TP_BUTTON, State}; }

TThemeServices::TThemeServices() {
  FLibrary = LoadLibraryA("uxtheme.dll");
  if (FLibrary) {
    Bind(FLibrary, "IsThemeActive", FIsThemeActive);
    Bind(FLibrary, "IsAppThemed", FIsAppThemed);
    Bind(FLibrary, "GetThemeAppProperties", FGetThemeAppProperties);
    Bind(FLibrary, "OpenThemeData", FOpenThemeData);
    Bind(FLibrary, "CloseThemeData", FCloseThemeData);
    Bind(FLibrary, "DrawThemeBackground", FDrawThemeBackground);
    Bind(FLibrary, "DrawThemeText", FDrawThemeText);
    Bind(FLibrary, "GetThemePartSize", FGetThemePartSize);
    Bind(FLibrary, "DrawThemeParentBackground", FDrawThemeParentBackground);
    Bind(FLibrary, "DrawThemeIcon", FDrawThemeIcon);
    Bind(FLibrary, "GetThemeBackgroundContentRect", FGetThemeBackgroundContentRect);
    // A library without the calls everything needs counts as none.
    if (!FIsThemeActive || !FIsAppThemed || !FOpenThemeData || !FCloseThemeData || !FDrawThemeBackground) {
      FreeLibrary(FLibrary);
      FLibrary = nullptr;
    }
  }
  UpdateThemes();
}

TThemeServices::~TThemeServices() {
  CloseThemes();
  if (FLibrary) FreeLibrary(FLibrary);
}

void TThemeServices::CloseThemes() {
  for (const TOpenTheme& t : FThemes)
    if (t.Theme) FCloseThemeData(t.Theme);
  FThemes.clear();
}

void TThemeServices::UpdateThemes() {
  CloseThemes();
  FEnabled = FLibrary && FIsAppThemed() && FIsThemeActive();
  if (FEnabled && FGetThemeAppProperties) FEnabled = (FGetThemeAppProperties() & STAP_ALLOW_CONTROLS_FLAG) != 0;
}

HTHEME TThemeServices::Theme(const wchar_t* ClassList) {
  if (!FEnabled || !ClassList) return nullptr;
  for (const TOpenTheme& t : FThemes)
    if (wcscmp(t.ClassList, ClassList) == 0) return t.Theme;
  HTHEME theme = FOpenThemeData(nullptr, ClassList);
  FThemes.push_back({ClassList, theme});
  return theme;
}

bool TThemeServices::DrawElement(HDC DC, const TThemedElementDetails& Details, const RECT& Rect, const RECT* Clip) {
  HTHEME theme = Theme(Details.ClassList);
  return theme && SUCCEEDED(FDrawThemeBackground(theme, DC, Details.Part, Details.State, &Rect, Clip));
}

bool TThemeServices::DrawText(HDC DC, const TThemedElementDetails& Details, const WideString& Text, const RECT& Rect,
                              DWORD Flags) {
  HTHEME theme = Theme(Details.ClassList);
  return theme && FDrawThemeText &&
         SUCCEEDED(FDrawThemeText(theme, DC, Details.Part, Details.State, Text.c_str(), static_cast<int>(Text.size()),
                                  Flags, 0, &Rect));
}

bool TThemeServices::DrawIcon(HDC DC, const TThemedElementDetails& Details, const RECT& Rect, HIMAGELIST Images,
                              int Index) {
  HTHEME theme = Theme(Details.ClassList);
  return theme && FDrawThemeIcon && Images && Index >= 0 &&
         SUCCEEDED(FDrawThemeIcon(theme, DC, Details.Part, Details.State, &Rect, Images, Index));
}

RECT TThemeServices::ContentRect(HDC DC, const TThemedElementDetails& Details, const RECT& Rect) {
  RECT content = Rect;
  HTHEME theme = Theme(Details.ClassList);
  if (theme && FGetThemeBackgroundContentRect &&
      FAILED(FGetThemeBackgroundContentRect(theme, DC, Details.Part, Details.State, &Rect, &content)))
    content = Rect;
  return content;
}

SIZE TThemeServices::PartSize(HDC DC, const TThemedElementDetails& Details) {
  SIZE size{0, 0};
  HTHEME theme = Theme(Details.ClassList);
  if (theme && FGetThemePartSize &&
      FAILED(FGetThemePartSize(theme, DC, Details.Part, Details.State, nullptr, TS_TRUE, &size)))
    size = SIZE{0, 0};
  return size;
}

bool TThemeServices::DrawParentBackground(HWND Wnd, HDC DC, const RECT* Rect) {
  return FEnabled && FDrawThemeParentBackground && SUCCEEDED(FDrawThemeParentBackground(Wnd, DC, Rect));
}

TThemeServices* ThemeServices() {
  static std::unique_ptr<TThemeServices> services(new TThemeServices);
  return services.get();
}

void DrawButtonFace(HDC DC, const RECT& Rect, TThemedButtonState State) {
  if (ThemeServices()->DrawElement(DC, PushButtonDetails(State), Rect)) return;
  RECT r = Rect;
  UINT flags = DFCS_BUTTONPUSH;
  if (State == tbsPressed) flags |= DFCS_PUSHED;
  if (State == tbsDisabled) flags |= DFCS_INACTIVE;
  DrawFrameControl(DC, &r, DFC_BUTTON, flags);
}

void DrawGroupBoxFrame(HDC DC, const RECT& Rect, bool Enabled) {
  if (ThemeServices()->DrawElement(DC, GroupBoxDetails(Enabled), Rect)) return;
  RECT r = Rect;
  DrawEdge(DC, &r, EDGE_ETCHED, BF_RECT);
}

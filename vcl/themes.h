// Visual styles: the theme library (uxtheme.dll) loaded at run time, and drawing that
// takes the theme's look when themes are on and the classic look (DrawFrameControl,
// DrawEdge) when they are off.
//
// Themes count as enabled when the library is there, the system says the application is
// themed and a theme is active, and the application has not switched themed controls off
// (SetThemeAppProperties without STAP_ALLOW_CONTROLS). UpdateThemes reads that again; a
// form does it on WM_THEMECHANGED.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "vcl/classes.h"

using HTHEME = HANDLE;

// The theme element to draw: a class list ("BUTTON", "TOOLBAR"...) with part and state.
struct TThemedElementDetails {
  const wchar_t* ClassList = nullptr;
  int Part = 0;
  int State = 0;
};

// Elements the framework draws. States follow the themes' numbering (1 is normal).
enum TThemedButtonState { tbsNormal = 1, tbsHot = 2, tbsPressed = 3, tbsDisabled = 4, tbsDefaulted = 5 };
TThemedElementDetails PushButtonDetails(TThemedButtonState State);
// Group box frames: normal or disabled.
TThemedElementDetails GroupBoxDetails(bool Enabled);
// Tool-bar buttons: normal, hot, pressed, disabled, checked (down), hot and checked.
enum TThemedToolButtonState { ttbNormal = 1, ttbHot = 2, ttbPressed = 3, ttbDisabled = 4, ttbChecked = 5, ttbHotChecked = 6 };
TThemedElementDetails ToolButtonDetails(TThemedToolButtonState State);

class TThemeServices {
 public:
  TThemeServices();
  ~TThemeServices();
  TThemeServices(const TThemeServices&) = delete;
  TThemeServices& operator=(const TThemeServices&) = delete;

  // The theme library could be loaded.
  bool ThemesAvailable() const { return FLibrary != nullptr; }
  bool ThemesEnabled() const { return FEnabled; }
  // Reads again whether themes are enabled, and forgets the open theme handles.
  void UpdateThemes();

  // The theme of a class list, opened on first use and kept; null when themes are off or
  // the theme has no such class.
  HTHEME Theme(const wchar_t* ClassList);

  // Draws the element in Rect (clipped to Clip when given); false when themes are off or
  // the theme could not draw it, so that the caller draws the classic look instead.
  bool DrawElement(HDC DC, const TThemedElementDetails& Details, const RECT& Rect, const RECT* Clip = nullptr);
  // Text in the element's font and colour.
  bool DrawText(HDC DC, const TThemedElementDetails& Details, const WideString& Text, const RECT& Rect, DWORD Flags);
  // An image of an image list drawn as the element shows it; false when themes are off or
  // the theme cannot draw icons (the caller draws the image itself).
  bool DrawIcon(HDC DC, const TThemedElementDetails& Details, const RECT& Rect, HIMAGELIST Images, int Index);
  // The part of Rect inside the element's borders (Rect itself when themes are off).
  RECT ContentRect(HDC DC, const TThemedElementDetails& Details, const RECT& Rect);
  // The size the theme gives the element (TS_TRUE); {0, 0} when themes are off.
  SIZE PartSize(HDC DC, const TThemedElementDetails& Details);
  // Paints what the parent of Wnd shows under Rect (its client coordinates) into DC.
  bool DrawParentBackground(HWND Wnd, HDC DC, const RECT* Rect);

 private:
  void CloseThemes();

  HMODULE FLibrary = nullptr;
  bool FEnabled = false;
  struct TOpenTheme {
    const wchar_t* ClassList;
    HTHEME Theme;
  };
  std::vector<TOpenTheme> FThemes;

  // The functions of the library.
  BOOL(WINAPI* FIsThemeActive)() = nullptr;
  BOOL(WINAPI* FIsAppThemed)() = nullptr;
  DWORD(WINAPI* FGetThemeAppProperties)() = nullptr;
  HTHEME(WINAPI* FOpenThemeData)(HWND, LPCWSTR) = nullptr;
  HRESULT(WINAPI* FCloseThemeData)(HTHEME) = nullptr;
  HRESULT(WINAPI* FDrawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
  HRESULT(WINAPI* FDrawThemeText)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*) = nullptr;
  HRESULT(WINAPI* FGetThemePartSize)(HTHEME, HDC, int, int, const RECT*, int, SIZE*) = nullptr;
  HRESULT(WINAPI* FDrawThemeParentBackground)(HWND, HDC, const RECT*) = nullptr;
  HRESULT(WINAPI* FDrawThemeIcon)(HTHEME, HDC, int, int, const RECT*, HIMAGELIST, int) = nullptr;
  HRESULT(WINAPI* FGetThemeBackgroundContentRect)(HTHEME, HDC, int, int, const RECT*, RECT*) = nullptr;
};

// The program's theme services (made on first use).
TThemeServices* ThemeServices();

// --- drawing with or without themes ---

// A push button's face in Rect: themed, or DrawFrameControl's classic button (pushed in
// for tbsPressed, greyed for tbsDisabled).
void DrawButtonFace(HDC DC, const RECT& Rect, TThemedButtonState State);
// A group box's frame in Rect: themed, or the classic etched edge.
void DrawGroupBoxFrame(HDC DC, const RECT& Rect, bool Enabled);

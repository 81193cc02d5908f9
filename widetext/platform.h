// The Unicode platform layer: whether the system has the wide ("W") entry points,
// and one wrapper per Windows function the wide text layer needs. On the NT family
// a wrapper calls the W function with the text as it is; otherwise it converts the
// text to ConversionCodePage, calls the A function and converts the results back,
// so that callers always see the W function's contract.
#pragma once

#include "vcl/sysutils.h"

// Set once at start-up, before any window exists; read-only afterwards.
extern bool UnicodePlatform;        // the system reports the NT platform (VER_PLATFORM_WIN32_NT)
extern bool PlatformIsXPOrLater;    // version 5.1 or later
extern bool PlatformIs2003OrLater;  // version 5.2 or later
extern bool PlatformIsVistaOrLater; // major version 6 or later

struct TPlatformVersion {
  DWORD PlatformId = 0;
  DWORD Major = 0;
  DWORD Minor = 0;
};

// What the system reports about itself.
TPlatformVersion ReadPlatformVersion();
// Sets the platform and version flags from Version. The layer runs this itself
// during program initialisation with ReadPlatformVersion(), after the codec unit
// has chosen ConversionCodePage (InitConversionCodePage, codecs.h).
void InitPlatformFlags(const TPlatformVersion& Version);

// ---------------------------------------------------------------------------
// Wrappers. Each takes and returns what its W function does and leaves errors to
// GetLastError. On the A path characters outside ConversionCodePage become the code
// page's default character (never a best-fit look-alike, so that a file name the
// code page cannot hold never reaches a different, existing file).

BOOL Uni_SetWindowTextW(HWND Wnd, const WideChar* Text);
DWORD Uni_GetShortPathNameW(const WideChar* LongPath, WideChar* Buffer, DWORD BufferLength);
DWORD Uni_GetFullPathNameW(const WideChar* FileName, DWORD BufferLength, WideChar* Buffer, WideChar** FilePart);
HANDLE Uni_CreateFileW(const WideChar* FileName, DWORD Access, DWORD Share, LPSECURITY_ATTRIBUTES Security,
                       DWORD Disposition, DWORD Flags, HANDLE Template);
HANDLE Uni_FindFirstFileW(const WideChar* FileName, WIN32_FIND_DATAW& FindData);
DWORD Uni_GetFileAttributesW(const WideChar* FileName);
BOOL Uni_DeleteFileW(const WideChar* FileName);
int Uni_DrawTextW(HDC DC, const WideChar* Text, int Count, RECT* Rect, UINT Format);
int Uni_DrawTextExW(HDC DC, WideChar* Text, int Count, RECT* Rect, UINT Format, DRAWTEXTPARAMS* Params);
// An empty Operation is passed as null (the default verb); on the A path every
// empty text is.
HINSTANCE Uni_ShellExecuteW(HWND Wnd, const WideString& Operation, const WideString& FileName,
                            const WideString& Parameters, const WideString& Directory, int ShowCmd);
// CharOrText is a zero-terminated text (changed in place) or, with its upper bits
// zero, one character in the low 16 bits.
WideChar* Uni_CharUpperW(WideChar* CharOrText);
WideChar* Uni_CharLowerW(WideChar* CharOrText);
DWORD Uni_CharUpperBuffW(WideChar* Text, DWORD Length);
DWORD Uni_CharLowerBuffW(WideChar* Text, DWORD Length);
BOOL Uni_GetStringTypeExW(LCID Locale, DWORD InfoType, const WideChar* Text, int Count, WORD* CharType);
int Uni_LoadStringW(HINSTANCE Instance, UINT Ident, WideChar* Buffer, int BufferMax);

// ---------------------------------------------------------------------------
// Other operations.

// True when the upper bits are zero: an atom or resource number, not a text pointer.
bool IsIntegerIdentifier(const void* Value);
// The default ANSI code page of the language of the current keyboard layout.
UINT KeyboardLayoutCodePage();
// A key character below 256 is a byte of the keyboard layout's code page; codes
// from 256 on are already wide.
WideChar KeyCharToWide(WORD Key);

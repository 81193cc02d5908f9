// Keyboard state, shortcuts and accelerator characters.
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"

// Modifier keys and mouse buttons held during a key or mouse message (bit flags).
enum TShiftStateFlag : unsigned {
  ssShift = 1u << 0,
  ssAlt = 1u << 1,
  ssCtrl = 1u << 2,
  ssLeft = 1u << 3,
  ssRight = 1u << 4,
  ssMiddle = 1u << 5,
  ssDouble = 1u << 6,
};
using TShiftState = unsigned;

// Shift state of a key message: Shift and Ctrl from the keyboard state, Alt from the
// context bit of the key data.
TShiftState KeyDataToShiftState(LPARAM keyData);
// Shift state of a mouse message (the MK_ flags of wParam; Alt from the keyboard).
TShiftState KeysToShiftState(WPARAM keys);

// A shortcut: a virtual key in the low byte plus modifier bits.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(WORD key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift);

// "Ctrl+S", "Shift+Del", "Alt+F4"... Keys without a fixed name take the keyboard
// layout's key name; a key without any name gives an empty text.
AnsiString ShortCutToText(TShortCut shortCut);

// The accelerator character of a caption: the one after the last single '&' ("&&"
// stands for a literal ampersand); 0 when there is none.
char GetHotkey(const AnsiString& caption);
// Whether the character of a CM_DIALOGCHAR message is the caption's accelerator
// (compared without regard to case).
bool IsAccel(WORD charCode, const AnsiString& caption);

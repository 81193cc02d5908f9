#include "vcl/keyboard.h"

namespace {

// The names of the keys whose text does not depend on the keyboard layout.
constexpr const char* kShiftText = "Shift+";
constexpr const char* kCtrlText = "Ctrl+";
constexpr const char* kAltText = "Alt+";

const char* FixedKeyName(BYTE key) {
  switch (key) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    default: return nullptr;
  }
}

AnsiString KeyName(BYTE key) {
  if (const char* fixed = FixedKeyName(key)) return fixed;
  if (key >= '0' && key <= '9') return AnsiString(1, static_cast<char>(key));
  if (key >= 'A' && key <= 'Z') return AnsiString(1, static_cast<char>(key));
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return AnsiString(1, static_cast<char>('0' + key - VK_NUMPAD0));
  if (key >= VK_F1 && key <= VK_F24) return "F" + IntToStr(key - VK_F1 + 1);
  UINT scan = MapVirtualKeyA(key, 0);
  if (scan == 0) return AnsiString();
  char name[256] = {};
  int len = GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof(name));
  return AnsiString(name, len > 0 ? static_cast<size_t>(len) : 0);
}

}  // namespace

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (keyData & 0x20000000) s |= ssAlt;
  return s;
}

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShortCut ShortCut(WORD key, TShiftState shift) {
  if (key & 0xFF00) return scNone;
  TShortCut result = key;
  if (shift & ssShift) result |= scShift;
  if (shift & ssCtrl) result |= scCtrl;
  if (shift & ssAlt) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift) {
  key = shortCut & 0xFF;
  shift = 0;
  if (shortCut & scShift) shift |= ssShift;
  if (shortCut & scCtrl) shift |= ssCtrl;
  if (shortCut & scAlt) shift |= ssAlt;
}

AnsiString ShortCutToText(TShortCut shortCut) {
  AnsiString name = KeyName(static_cast<BYTE>(shortCut & 0xFF));
  if (name.empty()) return AnsiString();
  AnsiString result;
  if (shortCut & scShift) result += kShiftText;
  if (shortCut & scCtrl) result += kCtrlText;
  if (shortCut & scAlt) result += kAltText;
  return result + name;
}

char GetHotkey(const AnsiString& caption) {
  char hotkey = 0;
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // a literal ampersand, not a marker
      continue;
    }
    hotkey = caption[i + 1];
  }
  return hotkey;
}

bool IsAccel(WORD charCode, const AnsiString& caption) {
  // A doubled ampersand is text, not an accelerator marker: "Save && E&xit" answers
  // to 'x' only.
  char hotkey = GetHotkey(caption);
  if (hotkey == 0 || charCode == 0 || charCode > 0xFF) return false;
  return AnsiCompareText(AnsiString(1, hotkey), AnsiString(1, static_cast<char>(charCode))) == 0;
}

// Answers a system file dialog that code under test shows: a name typed into its file-name
// box and confirmed, from a timer of the dialog's modal loop.
#pragma once

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>

// Runs Action from a timer of the modal loop that is about to start, until it answers true.
inline void WhileModal(std::function<bool()> Action) {
  static std::function<bool()> pending;
  pending = std::move(Action);
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    if (pending && pending()) {
      KillTimer(nullptr, id);
      pending = nullptr;
    }
  });
}

inline BOOL CALLBACK FindVisibleDialog(HWND wnd, LPARAM param) {
  char cls[32] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  if (std::string(cls) == "#32770" && IsWindowVisible(wnd)) {
    *reinterpret_cast<HWND*>(param) = wnd;
    return FALSE;
  }
  return TRUE;
}

inline BOOL CALLBACK FindVisibleEdit(HWND wnd, LPARAM param) {
  char cls[32] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  if (_stricmp(cls, "Edit") == 0 && IsWindowVisible(wnd)) {
    *reinterpret_cast<HWND*>(param) = wnd;
    return FALSE;
  }
  return TRUE;
}

// Types Name into the file-name box of the shown dialog and confirms it; false while no
// dialog shows yet.
inline bool TypeIntoShownDialog(const std::wstring& Name) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return false;
  HWND edit = nullptr;
  EnumChildWindows(dialog, &FindVisibleEdit, reinterpret_cast<LPARAM>(&edit));
  if (!edit) return false;
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Name.c_str()));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return true;
}



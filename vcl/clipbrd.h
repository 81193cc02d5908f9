// The clipboard: text, pictures and any other format held in a global memory block.
//
// Open and Close nest: the clipboard is opened once, by the outermost Open, for a hidden
// window of its own, and closed by the matching Close. Every writer opens it, empties it
// when it is the outermost writer, puts its format and closes it; a caller that wants
// several formats side by side opens the clipboard around them.
#pragma once

#include <windows.h>

#include "vcl/classes.h"

class TClipboard : public TPersistent {
  VCL_CLASS(TClipboard)
 public:
  TClipboard() = default;
  ~TClipboard() override;
  TClipboard(const TClipboard&) = delete;
  TClipboard& operator=(const TClipboard&) = delete;

  // Raises Exception "Cannot open clipboard" when another program holds it.
  void Open();
  void Close();
  // Empties the clipboard (inside Open/Close, or on its own).
  void Clear();
  bool HasFormat(UINT Format);

  // CF_TEXT; reading gives an empty text when the clipboard holds none.
  AnsiString AsText();
  void SetAsText(const AnsiString& Value);
  // The block of a format (null when absent); the clipboard keeps it.
  HANDLE GetAsHandle(UINT Format);
  // Puts a block the clipboard takes over (CF_HDROP file lists, bitmaps...).
  void SetAsHandle(UINT Format, HANDLE Value);
  // Copies Size bytes into a new block of Format.
  void SetBuffer(UINT Format, const void* Buffer, size_t Size);
  // A bitmap, or a picture holding one, as CF_BITMAP; anything else raises
  // EConvertError.
  void Assign(TPersistent* Source) override;

 protected:
  // The outermost Open empties the clipboard before the first write (Adding).
  void Adding();

 private:
  HWND FWindow = nullptr;
  int FOpenRefCount = 0;
  bool FEmptied = false;
};

// The process's clipboard object (made on first use).
TClipboard* Clipboard();
// Puts another clipboard object in its place and returns the old one (the wide layer's).
TClipboard* SetClipboard(TClipboard* NewClipboard);

#include "vcl/clipbrd.h"

#include <cstring>

#include "vcl/pictures.h"
#include "vcl/utilwnd.h"

VCL_CLASS_IMPL(TClipboard, TPersistent, nullptr, nullptr)

namespace {

constexpr const char* kCannotOpenClipboard = "Cannot open clipboard";

TClipboard*& CurrentClipboard() {
  static TClipboard* clipboard = nullptr;
  return clipboard;
}

}  // namespace

TClipboard* Clipboard() {
  TClipboard*& clipboard = CurrentClipboard();
  // Lives as long as the program.
  if (!clipboard) clipboard = new TClipboard;
  return clipboard;
}

TClipboard* SetClipboard(TClipboard* NewClipboard) {
  TClipboard* old = CurrentClipboard();
  CurrentClipboard() = NewClipboard;
  return old;
}

TClipboard::~TClipboard() {
  if (FOpenRefCount > 0) CloseClipboard();
  if (FWindow) DeallocateHWnd(FWindow);
}

void TClipboard::Open() {
  if (FOpenRefCount == 0) {
    if (!FWindow) FWindow = AllocateHWnd([](HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
      return DefWindowProcA(Wnd, Msg, wParam, lParam);
    });
    if (!OpenClipboard(FWindow)) throw Exception(kCannotOpenClipboard);
    FEmptied = false;
  }
  ++FOpenRefCount;
}

void TClipboard::Close() {
  if (FOpenRefCount == 0) return;
  if (--FOpenRefCount == 0) CloseClipboard();
}

void TClipboard::Clear() {
  Open();
  EmptyClipboard();
  FEmptied = true;
  Close();
}

void TClipboard::Adding() {
  if (FOpenRefCount > 0 && !FEmptied) {
    EmptyClipboard();
    FEmptied = true;
  }
}

bool TClipboard::HasFormat(UINT Format) { return IsClipboardFormatAvailable(Format) != FALSE; }

AnsiString TClipboard::AsText() {
  Open();
  struct Closer {
    TClipboard* c;
    ~Closer() { c->Close(); }
  } closer{this};
  HANDLE data = GetClipboardData(CF_TEXT);
  if (!data) return AnsiString();
  const char* text = static_cast<const char*>(GlobalLock(data));
  if (!text) return AnsiString();
  // The block may hold no terminator: read at most its size.
  size_t size = GlobalSize(data);
  AnsiString result(text, strnlen(text, size));
  GlobalUnlock(data);
  return result;
}

void TClipboard::SetAsText(const AnsiString& Value) { SetBuffer(CF_TEXT, Value.c_str(), Value.size() + 1); }

HANDLE TClipboard::GetAsHandle(UINT Format) {
  Open();
  HANDLE result = GetClipboardData(Format);
  Close();
  return result;
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Value) {
  Open();
  struct Closer {
    TClipboard* c;
    ~Closer() { c->Close(); }
  } closer{this};
  Adding();
  if (!SetClipboardData(Format, Value)) RaiseLastOSError();
}

void TClipboard::SetBuffer(UINT Format, const void* Buffer, size_t Size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Size);
  if (!block) RaiseLastOSError();
  void* data = GlobalLock(block);
  memcpy(data, Buffer, Size);
  GlobalUnlock(block);
  try {
    SetAsHandle(Format, block);
  } catch (...) {
    GlobalFree(block);  // the clipboard never took it
    throw;
  }
}

void TClipboard::Assign(TPersistent* Source) {
  TBitmap* bitmap = dynamic_cast<TBitmap*>(Source);
  if (auto* picture = dynamic_cast<TPicture*>(Source)) bitmap = dynamic_cast<TBitmap*>(picture->Graphic());
  if (!bitmap || bitmap->Empty()) {
    TPersistent::Assign(Source);  // raises the framework's assignment error
    return;
  }
  // The clipboard takes a copy it owns.
  HANDLE copy = CopyImage(bitmap->Handle(), IMAGE_BITMAP, 0, 0, 0);
  if (!copy) RaiseLastOSError();
  try {
    SetAsHandle(CF_BITMAP, copy);
  } catch (...) {
    DeleteObject(copy);
    throw;
  }
}

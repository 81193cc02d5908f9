#include "vcl/windowbinding.h"

#include <unordered_map>

#include "vcl/controls.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

TWinControl* CreationControl = nullptr;

HINSTANCE FrameworkInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

namespace {

struct AtomNames {
  AnsiString Control;
  AnsiString Window;
  ATOM ControlAtom;
  ATOM WindowAtom;
  AtomNames()
      : Control(Format("ControlOfs%.8llX%.8X", static_cast<unsigned long long>(
                                                   reinterpret_cast<uintptr_t>(FrameworkInstance())),
                       static_cast<unsigned>(GetCurrentThreadId()))),
        Window(Format("WndProcPtr%.8X", static_cast<unsigned>(GetCurrentProcessId()))),
        ControlAtom(GlobalAddAtomA(Control.c_str())),
        WindowAtom(GlobalAddAtomA(Window.c_str())) {}
  ~AtomNames() {
    GlobalDeleteAtom(ControlAtom);
    GlobalDeleteAtom(WindowAtom);
  }
};

AtomNames& Atoms() {
  static AtomNames atoms;
  return atoms;
}

// The control atom's name carries a thread id: it is taken on the thread that loads the
// program, the one that owns the windows (the wide layer names its copy the same way).
[[maybe_unused]] const bool kAtomsTaken = (Atoms(), true);

// Reading a window property costs a round trip to the window server under Wine (tens of
// microseconds); every message needs its control, so bound windows are also kept here.
// A window let go of by its dying control stays listed with the procedure its last
// messages go to.
class WindowControlCache {
 public:
  struct Entry {
    TWinControl* Control;
    WNDPROC ReleasedTo;
  };
  bool Find(HWND wnd, Entry& entry) {
    AcquireSRWLockShared(&FLock);
    auto it = FMap.find(wnd);
    bool found = it != FMap.end();
    if (found) entry = it->second;
    ReleaseSRWLockShared(&FLock);
    return found;
  }
  void Set(HWND wnd, TWinControl* control) { Put(wnd, Entry{control, nullptr}); }
  void Release(HWND wnd, WNDPROC to) { Put(wnd, Entry{nullptr, to ? to : &DefWindowProcA}); }
  void Remove(HWND wnd) {
    AcquireSRWLockExclusive(&FLock);
    FMap.erase(wnd);
    ReleaseSRWLockExclusive(&FLock);
  }

 private:
  void Put(HWND wnd, Entry e) {
    AcquireSRWLockExclusive(&FLock);
    FMap[wnd] = e;
    ReleaseSRWLockExclusive(&FLock);
  }
  SRWLOCK FLock = SRWLOCK_INIT;
  std::unordered_map<HWND, Entry> FMap;
};

WindowControlCache& Bound() {
  static auto* cache = new WindowControlCache;  // used by windows destroyed at exit
  return *cache;
}

}  // namespace

const AnsiString& ControlAtomString() { return Atoms().Control; }
const AnsiString& WindowAtomString() { return Atoms().Window; }
ATOM ControlAtom() { return Atoms().ControlAtom; }
ATOM WindowAtom() { return Atoms().WindowAtom; }

void AttachControlToWindow(HWND Wnd, TWinControl* Control) {
  SetPropA(Wnd, MAKEINTATOM(ControlAtom()), reinterpret_cast<HANDLE>(Control));
  SetPropA(Wnd, MAKEINTATOM(WindowAtom()), reinterpret_cast<HANDLE>(Control));
  Bound().Set(Wnd, Control);
}

void DetachControlFromWindow(HWND Wnd) {
  Bound().Remove(Wnd);
  RemovePropA(Wnd, MAKEINTATOM(ControlAtom()));
  RemovePropA(Wnd, MAKEINTATOM(WindowAtom()));
}

void ReleaseWindowTo(HWND Wnd, WNDPROC Proc) { Bound().Release(Wnd, Proc); }

TWinControl* FindControl(HWND Wnd) {
  if (!Wnd) return nullptr;
  WindowControlCache::Entry e;
  if (Bound().Find(Wnd, e)) return e.Control;
  // A window bound by other code (the wide layer sets the properties itself).
  auto* c = static_cast<TWinControl*>(GetPropA(Wnd, MAKEINTATOM(ControlAtom())));
  if (c && GetWindowThreadProcessId(Wnd, nullptr) == GetCurrentThreadId()) Bound().Set(Wnd, c);
  return c;
}

LRESULT CALLBACK ControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  WindowControlCache::Entry e{nullptr, nullptr};
  if (!Bound().Find(Wnd, e)) e.Control = FindControl(Wnd);
  LRESULT result;
  if (e.Control) {
    TMessage m{Msg, WParam, LParam, 0};
    e.Control->MainWndProc(m);
    result = m.Result;
  } else if (e.ReleasedTo) {
    result = CallWindowProcA(e.ReleasedTo, Wnd, Msg, WParam, LParam);
  } else {
    result = IsWindowUnicode(Wnd) ? DefWindowProcW(Wnd, Msg, WParam, LParam) : DefWindowProcA(Wnd, Msg, WParam, LParam);
  }
  if (Msg == WM_NCDESTROY) Bound().Remove(Wnd);  // the handle value may come back for another window
  return result;
}

LRESULT CALLBACK InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* control = CreationControl;
  CreationControl = nullptr;
  if (!control) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  control->FHandle = Wnd;
  SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWndProc));
  // WM_MEASUREITEM names its control only by identifier: give every child one.
  if ((GetWindowLongPtrA(Wnd, GWL_STYLE) & WS_CHILD) && GetWindowLongPtrA(Wnd, GWLP_ID) == 0)
    SetWindowLongPtrA(Wnd, GWLP_ID, reinterpret_cast<LONG_PTR>(Wnd));
  AttachControlToWindow(Wnd, control);
  return ControlWndProc(Wnd, Msg, WParam, LParam);
}

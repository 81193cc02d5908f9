#include "vcl/utilwnd.h"

#include <array>
#include <memory>
#include <mutex>
#include <utility>
#include <set>
#include <string>

#include "vcl/classes.h"

namespace {

// The window's handler, or the default procedure while it has none. No exception may cross
// the system's frames.
LRESULT CallHandler(const TWindowHandler* handler, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!handler || !*handler) return DefWindowProcA(wnd, msg, wParam, lParam);
  try {
    return (*handler)(wnd, msg, wParam, lParam);
  } catch (...) {
    if (ApplicationHandleException) ApplicationHandleException(nullptr);
    return 0;
  }
}

LRESULT CALLBACK HandlerWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* handler = reinterpret_cast<TWindowHandler*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY && handler) {
    SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
    delete handler;
    handler = nullptr;
  }
  return CallHandler(handler, wnd, msg, wParam, lParam);
}

void RegisterHandlerClass(const char* className) {
  static std::mutex lock;
  static std::set<std::string> registered;
  std::lock_guard<std::mutex> guard(lock);
  if (registered.count(className)) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = HandlerWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw EOutOfResources(Format("Cannot register the window class %s. %s", className,
                                 SysErrorMessage(GetLastError()).c_str()));
  registered.insert(className);
}

}  // namespace

HWND CreateHandlerWindow(const char* className, const char* text, DWORD style, DWORD exStyle,
                         TWindowHandler handler, HWND Parent) {
  RegisterHandlerClass(className);
  auto* bound = new TWindowHandler(std::move(handler));
  HWND wnd = CreateWindowExA(exStyle, className, text, style, 0, 0, 0, 0, Parent, nullptr,
                             GetModuleHandleA(nullptr), bound);
  if (!wnd) {
    DWORD err = GetLastError();
    if (!err) err = ERROR_NOT_ENOUGH_MEMORY;
    throw EOutOfResources(Format("Cannot create a window of the class %s. %s", className,
                                 SysErrorMessage(err).c_str()));
  }
  return wnd;
}

void DestroyHandlerWindow(HWND wnd) {
  if (!wnd) return;
  auto* handler = reinterpret_cast<TWindowHandler*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
  delete handler;
  DestroyWindow(wnd);
}

HWND AllocateHWnd(TWindowHandler handler) {
  return CreateHandlerWindow("TPUtilWindow", "", WS_POPUP, WS_EX_TOOLWINDOW, std::move(handler));
}

HWND AllocateMessageHWnd(TWindowHandler handler) {
  return CreateHandlerWindow("TPUtilWindow", "", 0, 0, std::move(handler), HWND_MESSAGE);
}

void DeallocateHWnd(HWND wnd) { DestroyHandlerWindow(wnd); }

// --- object instances ------------------------------------------------------------------
// A fixed table of entry functions, each bound to one slot, instead of code written at run
// time: nothing needs executable memory, and the window is passed on unchanged.

namespace {

constexpr size_t kInstanceSlots = 256;

struct TInstanceTable {
  std::mutex lock;
  std::array<std::shared_ptr<TWindowHandler>, kInstanceSlots> handlers;
  std::array<bool, kInstanceSlots> used{};

  static TInstanceTable& Get() {
    static TInstanceTable table;
    return table;
  }
};

template <size_t N>
LRESULT CALLBACK InstanceEntry(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<TWindowHandler> handler;
  {
    TInstanceTable& t = TInstanceTable::Get();
    std::lock_guard<std::mutex> guard(t.lock);
    handler = t.handlers[N];
  }
  return CallHandler(handler.get(), wnd, msg, wParam, lParam);
}

template <size_t... N>
constexpr std::array<WNDPROC, sizeof...(N)> MakeEntries(std::index_sequence<N...>) {
  return {&InstanceEntry<N>...};
}

constexpr std::array<WNDPROC, kInstanceSlots> kEntries = MakeEntries(std::make_index_sequence<kInstanceSlots>());

}  // namespace

WNDPROC MakeObjectInstance(TWindowHandler handler) {
  TInstanceTable& t = TInstanceTable::Get();
  std::lock_guard<std::mutex> guard(t.lock);
  for (size_t i = 0; i < kInstanceSlots; ++i)
    if (!t.used[i]) {
      t.used[i] = true;
      t.handlers[i] = std::make_shared<TWindowHandler>(std::move(handler));
      return kEntries[i];
    }
  throw EOutOfResources("Too many window procedure instances");
}

void FreeObjectInstance(WNDPROC entry) {
  if (!entry) return;
  std::shared_ptr<TWindowHandler> released;  // destroyed outside the lock
  TInstanceTable& t = TInstanceTable::Get();
  std::lock_guard<std::mutex> guard(t.lock);
  for (size_t i = 0; i < kInstanceSlots; ++i)
    if (kEntries[i] == entry) {
      released = std::move(t.handlers[i]);
      t.used[i] = false;
      return;
    }
}

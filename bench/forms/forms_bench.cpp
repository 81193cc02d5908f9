// Creates, shows and destroys a form of 300 components read from its embedded description,
// and the same 300 windows (a top-level window, ten panels, 150 buttons, 140 edits) with
// bare CreateWindowExW calls, in the same run; prints milliseconds per form for both.
// Usage: forms_bench [rounds]   (default 50)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/common/bench_support.h"
#include "vcl/application.h"
#include "vcl/extctrls.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"

namespace {

class TBenchForm : public TForm {
  VCL_CLASS(TBenchForm)
 public:
  using TForm::TForm;
};
VCL_CLASS_IMPL(TBenchForm, TForm, &CreateComponentOf<TBenchForm>, nullptr)

constexpr int kPanels = 10;
constexpr int kControlsPerPanel = 29;

// What the loop would do between forms: the paints and notices left over.
void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Milliseconds of the three steps of one form.
struct TTimes {
  double Create = 0, Show = 0, Destroy = 0;
  double Total() const { return Create + Show + Destroy; }
  void Add(const TTimes& t) {
    Create += t.Create;
    Show += t.Show;
    Destroy += t.Destroy;
  }
};

TTimes FrameworkForm() {
  TTimes t;
  double start = MillisecondsNow();
  auto* form = TCustomForm::Create<TBenchForm>(nullptr);  // the description read: no windows yet
  double created = MillisecondsNow();
  form->Show();  // the 300 windows made and shown
  double shown = MillisecondsNow();
  form->Free();
  double gone = MillisecondsNow();
  return TTimes{created - start, shown - created, gone - shown};
}

// The same windows, the same sizes and texts, without the framework.
TTimes BareForm() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BareForm";
    RegisterClassW(&wc);
    wc.lpszClassName = L"BarePanel";
    RegisterClassW(&wc);
    return true;
  }();
  (void)registered;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  double start = MillisecondsNow();
  HWND form = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, L"BareForm", L"Three hundred components",
                              WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, 996, 738,
                              Application->Handle(), nullptr, instance, nullptr);
  for (int p = 0; p < kPanels; ++p) {
    HWND panel = CreateWindowExW(WS_EX_CONTROLPARENT, L"BarePanel", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                 p * 70, 980, 70, form, nullptr, instance, nullptr);
    for (int c = 0; c < kControlsPerPanel; ++c) {
      int left = (c % 15) * 65, top = (c / 15) * 32 + 4;
      std::wstring text = (c % 2 ? L"Edit " : L"Button ") + std::to_wstring(p) + L"." + std::to_wstring(c);
      if (c % 2)
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                        left, top, 60, 21, panel, nullptr, instance, nullptr);
      else
        CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, left, top,
                        60, 25, panel, nullptr, instance, nullptr);
    }
  }
  double created = MillisecondsNow();
  ShowWindow(form, SW_SHOWNORMAL);
  double shown = MillisecondsNow();
  DestroyWindow(form);
  double gone = MillisecondsNow();
  return TTimes{created - start, shown - created, gone - shown};
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 50;
  if (rounds < 1) rounds = 1;
  InitApplication();

  // One form first: its count of components, and the one-time costs (classes, fonts).
  auto* probe = TCustomForm::Create<TBenchForm>(nullptr);
  int windowed = 0;
  for (int i = 0; i < probe->ComponentCount(); ++i)
    if (dynamic_cast<TWinControl*>(probe->Components(i))) ++windowed;
  std::printf("components: %d (%d windowed)\n", probe->ComponentCount(), windowed);
  probe->Free();
  BareForm();
  Drain();

  // Alternate the two so that both see the same state of the system.
  TTimes framework, bare;
  for (int i = 0; i < rounds; ++i) {
    framework.Add(FrameworkForm());
    Drain();
    bare.Add(BareForm());
    Drain();
  }
  auto print = [rounds](const char* what, const TTimes& t) {
    std::printf("%s: %7.2f ms per form  (create %.2f, show %.2f, destroy %.2f)\n", what, t.Total() / rounds,
                t.Create / rounds, t.Show / rounds, t.Destroy / rounds);
  };
  std::printf("rounds: %d\n", rounds);
  print("form read from its description", framework);
  print("bare CreateWindowExW windows   ", bare);
  std::printf("ratio: %.2f\n", framework.Total() / bare.Total());
  return 0;
}

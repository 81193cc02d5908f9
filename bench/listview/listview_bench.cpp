// Fills a report-style list view with 10,000 rows of a caption and 17 sub-items: through the
// framework's list view, through the wide list view, and as bare LVM_INSERTITEMW and
// LVM_SETITEMTEXTW messages to a list view made with CreateWindowExW, in the same run; then
// paints each once. Prints milliseconds per fill for each and the ratios to the bare fill.
// Usage: listview_bench [rounds] [rows]   (default 5 rounds of 10000 rows)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench/common/allocation_counter.h"
#include "bench/common/bench_support.h"
#include "vcl/application.h"
#include "vcl/forms.h"
#include "vcl/listview.h"
#include "widetext/uni_list_view.h"

namespace {

constexpr int kSubItems = 17;

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The texts of every run, made once so that no run pays for them.
struct TRows {
  std::vector<std::wstring> Wide;  // row r: Wide[r * 18 + k], k 0 the caption
  std::vector<std::string> Ansi;
  int Count = 0;
  explicit TRows(int count) : Count(count) {
    for (int r = 0; r < count; ++r)
      for (int k = 0; k <= kSubItems; ++k) {
        std::string s = k == 0 ? "track " + std::to_string(r) : "cell " + std::to_string(r) + "." + std::to_string(k);
        Ansi.push_back(s);
        Wide.push_back(std::wstring(s.begin(), s.end()));
      }
  }
};

// Milliseconds to fill, and to paint the filled list once.
struct TTimes {
  double Fill = 0, Paint = 0;
  void Add(const TTimes& t) {
    Fill += t.Fill;
    Paint += t.Paint;
  }
};

double PaintOnce(HWND wnd) {
  double start = MillisecondsNow();
  InvalidateRect(wnd, nullptr, TRUE);
  UpdateWindow(wnd);
  return MillisecondsNow() - start;
}

template <class TView>
TView* MakeView(TForm* form) {
  auto* lv = new TView(form);
  lv->SetViewStyle(vsReport);
  lv->SetAlign(alClient);
  lv->SetParent(form);
  for (int k = 0; k <= kSubItems; ++k) {
    std::string title = k == 0 ? "Track" : "Column " + std::to_string(k);
    lv->Columns()->Add()->SetCaption({title.begin(), title.end()});
  }
  return lv;
}

TTimes FillFramework(TListView* lv, const TRows& rows) {
  lv->Items()->Clear();
  Drain();
  double start = MillisecondsNow();
  lv->Items()->BeginUpdate();
  for (int r = 0; r < rows.Count; ++r) {
    TListItem* item = lv->Items()->Add();
    item->SetCaption(rows.Ansi[r * (kSubItems + 1)]);
    for (int k = 1; k <= kSubItems; ++k) item->SubItems()->Add(rows.Ansi[r * (kSubItems + 1) + k]);
  }
  lv->Items()->EndUpdate();
  double filled = MillisecondsNow();
  return TTimes{filled - start, PaintOnce(lv->Handle())};
}

TTimes FillWide(TUniListView* lv, const TRows& rows) {
  lv->Items()->Clear();
  Drain();
  double start = MillisecondsNow();
  lv->Items()->BeginUpdate();
  for (int r = 0; r < rows.Count; ++r) {
    TUniListItem* item = lv->Items()->Add();
    item->SetCaption(rows.Wide[r * (kSubItems + 1)]);
    for (int k = 1; k <= kSubItems; ++k) item->SubItems()->Add(rows.Wide[r * (kSubItems + 1) + k]);
  }
  lv->Items()->EndUpdate();
  double filled = MillisecondsNow();
  return TTimes{filled - start, PaintOnce(lv->Handle())};
}

// The same rows into a list view of the system's own, as a program without the framework
// would send them.
TTimes FillBare(HWND lv, const TRows& rows) {
  SendMessageW(lv, LVM_DELETEALLITEMS, 0, 0);
  Drain();
  double start = MillisecondsNow();
  SendMessageW(lv, WM_SETREDRAW, FALSE, 0);
  for (int r = 0; r < rows.Count; ++r) {
    LVITEMW it{};
    it.mask = LVIF_TEXT;
    it.iItem = r;
    it.pszText = const_cast<wchar_t*>(rows.Wide[r * (kSubItems + 1)].c_str());
    int index = static_cast<int>(SendMessageW(lv, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
    for (int k = 1; k <= kSubItems; ++k) {
      LVITEMW sub{};
      sub.iSubItem = k;
      sub.pszText = const_cast<wchar_t*>(rows.Wide[r * (kSubItems + 1) + k].c_str());
      SendMessageW(lv, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
    }
  }
  SendMessageW(lv, WM_SETREDRAW, TRUE, 0);
  double filled = MillisecondsNow();
  return TTimes{filled - start, PaintOnce(lv)};
}

HWND MakeBareView(HWND parent, int width, int height) {
  HWND lv = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, width, height,
                            parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (int k = 0; k <= kSubItems; ++k) {
    std::wstring title = k == 0 ? L"Track" : L"Column " + std::to_wstring(k);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 50;
    col.pszText = title.data();
    SendMessageW(lv, LVM_INSERTCOLUMNW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&col));
  }
  return lv;
}

// Messages that reach one window while a fill runs: what a row costs in messages. Those sent
// to it are counted by a hook on the thread's window procedure calls; the framework's own
// (Perform calls its window method directly) by a wrapper around the control's WindowProc.
std::map<UINT, long> gMessages;
std::map<int, long> gNotifications;  // the codes of the notifications reflected to the control
HWND gCounted = nullptr;

LRESULT CALLBACK CountMessage(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (m->hwnd == gCounted) ++gMessages[m->message];
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

template <class Fill>
void PrintMessagesPerRow(const char* what, HWND wnd, TControl* control, int rows, Fill fill) {
  gMessages.clear();
  gNotifications.clear();
  gCounted = control ? nullptr : wnd;
  TWndMethod framework;
  if (control) {
    framework = control->WindowProc;
    control->WindowProc = [&framework](TMessage& m) {
      ++gMessages[m.Msg];
      if (m.Msg == CN_NOTIFY) ++gNotifications[static_cast<int>(reinterpret_cast<NMHDR*>(m.LParam)->code)];
      framework(m);
    };
  }
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CountMessage, nullptr, GetCurrentThreadId());
  const long long allocations = gAllocations.load();
  fill();
  const double allocationsPerRow = static_cast<double>(gAllocations.load() - allocations) / rows;
  UnhookWindowsHookEx(hook);
  if (control) control->WindowProc = framework;
  long total = 0;
  std::vector<std::pair<long, UINT>> most;
  for (const auto& [msg, n] : gMessages) {
    total += n;
    most.push_back({n, msg});
  }
  std::sort(most.rbegin(), most.rend());
  std::printf("%s: %.1f allocations, %.1f messages a row;", what, allocationsPerRow, static_cast<double>(total) / rows);
  for (size_t i = 0; i < most.size() && i < 5; ++i)
    std::printf(" 0x%04X x%.1f", most[i].second, static_cast<double>(most[i].first) / rows);
  if (!gNotifications.empty()) std::printf("; reflected notifications:");
  for (const auto& [code, n] : gNotifications) std::printf(" %d x%.2f", code, static_cast<double>(n) / rows);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  int count = argc > 2 ? std::atoi(argv[2]) : 10000;
  if (rounds < 1) rounds = 1;
  if (count < 1) count = 1;
  InitApplication();
  TRows rows(count);

  auto* form = TCustomForm::CreateNew<TForm>(nullptr);
  form->SetBounds(0, 0, 900, 600);
  auto* plain = MakeView<TListView>(form);
  form->Show();
  auto* wideForm = TCustomForm::CreateNew<TForm>(nullptr);
  wideForm->SetBounds(0, 0, 900, 600);
  auto* wide = MakeView<TUniListView>(wideForm);
  wideForm->Show();
  HWND bareParent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 900, 600, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
  HWND bare = MakeBareView(bareParent, 900, 600);
  Drain();

  // One fill each first for the one-time costs, then the three in turn.
  FillFramework(plain, rows);
  FillWide(wide, rows);
  FillBare(bare, rows);
  TTimes framework, wideTimes, bareTimes;
  for (int i = 0; i < rounds; ++i) {
    framework.Add(FillFramework(plain, rows));
    wideTimes.Add(FillWide(wide, rows));
    bareTimes.Add(FillBare(bare, rows));
  }
  std::printf("rows: %d of %d sub-items, rounds: %d\n", count, kSubItems, rounds);
  auto print = [rounds](const char* what, const TTimes& t) {
    std::printf("%s: fill %8.1f ms, first paint %6.1f ms\n", what, t.Fill / rounds, t.Paint / rounds);
  };
  print("framework list view (8-bit items)  ", framework);
  print("wide list view                     ", wideTimes);
  print("bare LVM_INSERTITEMW/SETITEMTEXTW  ", bareTimes);
  PrintMessagesPerRow("  framework view", plain->Handle(), plain, count, [&] { FillFramework(plain, rows); });
  PrintMessagesPerRow("  wide list view", wide->Handle(), wide, count, [&] { FillWide(wide, rows); });
  PrintMessagesPerRow("  bare messages ", bare, nullptr, count, [&] { FillBare(bare, rows); });
  std::printf("ratio framework/bare: %.2f\n", framework.Fill / bareTimes.Fill);
  std::printf("ratio wide/bare:      %.2f\n", wideTimes.Fill / bareTimes.Fill);

  DestroyWindow(bareParent);
  form->Free();
  wideForm->Free();
  return 0;
}

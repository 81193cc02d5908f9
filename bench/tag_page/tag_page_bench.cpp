// The tag page listing large music folders: the program started whole, its tag page shown,
// and folders of 1,000 and 5,000 tagged M4A files (KAVO_TAG_FOLDERS, made by scripts/bench)
// opened by a click on their nodes in the folder tree, as a user opens them; then an empty
// folder. The files are copied once from the cache into the temporary folder, whose path the
// tree shows (the cache's lies in a hidden folder), and kept there for later runs. Beside it, in the
// same run, a bare loop reads the same tags of the same files through MediaInfo.dll
// (MediaInfo_New, Open, one Get a tag, Close, Delete). A listing counts until the user sees it
// done: its last row in the list, the hourglass gone and the window painted. Meanwhile
// another thread posts the main thread a message every 10 milliseconds, as the user's
// clicks and keys reach it (through the queue, behind what is queued already: a sent message
// would be answered by any look at the queue, even one that handles nothing else), and notes
// how long it waits for the message to be handled.
// Prints the best time of each over the rounds, the ratios and the longest answer.
// Usage: tag_page_bench [rounds]   (default 2)
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/forms/main_form.h"
#include "app/pages/program.h"
#include "app/pages/tag_folder_tree.h"
#include "app/ui/tag_row_item.h"
#include "bench/common/bare_mediainfo.h"
#include "bench/common/bench_support.h"
#include "vcl/application.h"
#include "widetext/uni_tree_view.h"
#include "widetext/uni_application.h"

namespace {

// --- the window's answers ---------------------------------------------------------------------

// Posts a message to a window of the main thread while a listing runs and keeps the longest
// wait until the main thread has handled it.
class TAnswerWatch {
 public:
  TAnswerWatch() {
    WNDCLASSW c{};
    c.lpfnWndProc = &TAnswerWatch::ProbeProc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = L"KavoBenchProbe";
    RegisterClassW(&c);
    FProbe = CreateWindowExW(0, c.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, c.hInstance, nullptr);
    SetWindowLongPtrW(FProbe, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    FThread = std::thread([this] { Run(); });
  }
  ~TAnswerWatch() {
    FEnd = true;
    SetEvent(FAnswered);
    FThread.join();
    DestroyWindow(FProbe);
    CloseHandle(FAnswered);
  }
  // Probes only while a listing runs; the main thread handles messages after each so that a
  // probe under way is answered before anything else is timed.
  void Begin() {
    FBegan = MillisecondsNow();
    FWatching = true;
  }
  void End() {
    FWatching = false;
    const double until = MillisecondsNow() + 30;
    while (MillisecondsNow() < until) {
      Application->ProcessMessages();
      Sleep(1);
    }
  }
  double Longest() const { return FLongest.load(); }
  long Probes() const { return FProbes.load(); }
  long Slow() const { return FSlow.load(); }

 private:
  static constexpr UINT kProbe = WM_APP + 0x2A;
  static LRESULT CALLBACK ProbeProc(HWND Window, UINT Msg, WPARAM W, LPARAM L) {
    if (Msg == kProbe) {
      SetEvent(reinterpret_cast<TAnswerWatch*>(GetWindowLongPtrW(Window, GWLP_USERDATA))->FAnswered);
      return 0;
    }
    return DefWindowProcW(Window, Msg, W, L);
  }
  // One message every kPeriodMs (or at once after an answer that took longer): a window that
  // answers at once is not sent more messages, and the listing no more work, than a slow one.
  static constexpr double kPeriodMs = 10;
  void Run() {
    double next = 0;
    while (!FEnd) {
      if (!FWatching || MillisecondsNow() < next) {
        Sleep(1);
        continue;
      }
      const double start = MillisecondsNow();
      next = start + kPeriodMs;
      PostMessageW(FProbe, kProbe, 0, 0);
      WaitForSingleObject(FAnswered, 60000);
      const double waited = MillisecondsNow() - start;
      ++FProbes;
      if (waited > 100) {
        ++FSlow;
        std::printf("  slow answer: %.1f ms, posted %.1f ms into the click\n", waited, start - FBegan.load());
      }
      if (waited > FLongest.load()) FLongest = waited;
    }
  }
  HWND FProbe = nullptr;
  HANDLE FAnswered = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  std::atomic<bool> FWatching{false}, FEnd{false};
  std::atomic<double> FLongest{0}, FBegan{0};
  std::atomic<long> FProbes{0}, FSlow{0};
  std::thread FThread;
};

// --- the bare loop --------------------------------------------------------------------------

// Lists the folder's M4A files and reads the tags a row shows; returns a checksum of the texts.
size_t BareTags(const TBareLibrary& Bare, const std::wstring& Folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((Folder + L"*.m4a").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do names.push_back(found.cFileName);
    while (FindNextFileW(h, &found));
    FindClose(h);
  }
  size_t sink = 0;
  auto get = [&](void* m, const wchar_t* parameter) {
    const wchar_t* v = Bare.Get(m, 0, 0, parameter, 1, 0);
    const size_t n = v ? std::wcslen(v) : 0;
    sink += n;
    return n;
  };
  for (const std::wstring& name : names) {
    void* m = Bare.New();
    Bare.Open(m, (Folder + name).c_str());
    for (const wchar_t* parameter : {L"Title", L"PlayTime/String3", L"Artist", L"Album"}) get(m, parameter);
    if (get(m, L"Recorded_Date") == 0) get(m, L"Encoded_Date");
    get(m, L"Genre");
    Bare.Close(m);
    Bare.Delete(m);
  }
  return sink + names.size();
}

// --- the program --------------------------------------------------------------------------------

// The folder of the benchmark's files under the temporary folder: 1000\, 5000\ and empty\.
std::wstring PreparedFolders(const std::wstring& Cache) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring root = std::wstring(temp) + L"kavo_tag_page_bench\\";
  const std::wstring done = root + L".complete";
  if (GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES) return root;
  CreateDirectoryW(root.c_str(), nullptr);
  CreateDirectoryW((root + L"empty").c_str(), nullptr);
  for (const wchar_t* count : {L"1000", L"5000"}) {
    const std::wstring from = Cache + count + L"\\", to = root + count + L"\\";
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((from + L"*.m4a").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return std::wstring();
    do CopyFileW((from + found.cFileName).c_str(), (to + found.cFileName).c_str(), FALSE);
    while (FindNextFileW(h, &found));
    FindClose(h);
  }
  CloseHandle(CreateFileW(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
  return root;
}

TUniTreeNode* ChildNode(TUniTreeNode* Parent, const wchar_t* Name) {
  for (TTreeNode* n = Parent->getFirstChild(); n; n = n->GetNextSibling())
    if (static_cast<TUniTreeNode*>(n)->Text() == Name) return static_cast<TUniTreeNode*>(n);
  return nullptr;
}

// A click on the folder's node, and every message it leads to handled until the listing is
// done (the hourglass gone) and the list painted; milliseconds.
double ClickFolder(TAnswerWatch& Watch, TUniTreeNode* Node) {
  TUniCustomTreeView* tree = MainForm->ShDirTree1;
  Node->MakeVisible();
  Application->ProcessMessages();
  const RECT r = Node->DisplayRect(true);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Watch.Begin();
  const double start = MillisecondsNow();
  PostMessageW(tree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(tree->Handle(), WM_LBUTTONUP, 0, at);
  Application->ProcessMessages();
  while (Screen->Cursor() == crHourGlass && MillisecondsNow() - start < 600000) Application->HandleMessage();
  Application->ProcessMessages();
  const double ms = MillisecondsNow() - start;
  Watch.End();
  return ms;
}

bool ListedWhole(int Count) {
  TUniListItems* items = MainForm->FilesTagList->Items();
  if (items->Count() != Count) return false;
  // Every row carries its own file's title.
  for (int i : {0, Count / 2, Count - 1}) {
    const TTagRow row = TTagRowItem(items->Item(i)).Read();
    const WideString number = row[TTagColumn::File].substr(5, 5);
    if (row[TTagColumn::Name] != L"Song " + number || row[TTagColumn::Artist].empty()) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 2;
  if (rounds < 1) rounds = 1;
  const char* folders = std::getenv("KAVO_TAG_FOLDERS");
  if (!folders || !*folders) {
    std::printf("KAVO_TAG_FOLDERS is not set (scripts/bench sets it)\n");
    return 1;
  }
  const std::wstring root = PreparedFolders(AnsiToWide(folders) + L"\\");
  if (root.empty()) {
    std::printf("no files in %s\\1000 and 5000 (scripts/bench makes them)\n", folders);
    return 1;
  }
  const std::wstring small = root + L"1000\\", large = root + L"5000\\";

  const TBareLibrary bare = LoadBareMediaInfo();
  if (!bare.Loaded()) {
    std::printf("MediaInfo.dll not found beside the benchmark\n");
    return 1;
  }

  // The program as a user starts it, on its tag page.
  CoInitialize(nullptr);
  new TApplication(nullptr, TApplication::TNoHandle{});
  InitWideApplication();
  Application->CreateHandle();
  CreateProgramForms();
  MainForm->Show();
  Application->ProcessMessages();
  MainForm->EditionList->SetItemIndex(4);
  MainForm->EditionListDblClick(nullptr);
  Application->ProcessMessages();

  // The folders' parent opened in the tree: its three folders show below it.
  OpenTreeFolder(MainForm->ShDirTree1, root);
  Application->ProcessMessages();
  auto* parent = static_cast<TUniTreeNode*>(MainForm->ShDirTree1->Selected());
  TUniTreeNode* smallNode = parent ? ChildNode(parent, L"1000") : nullptr;
  TUniTreeNode* largeNode = parent ? ChildNode(parent, L"5000") : nullptr;
  TUniTreeNode* emptyNode = parent ? ChildNode(parent, L"empty") : nullptr;
  if (!smallNode || !largeNode || !emptyNode) {
    std::printf("the tree does not show the folders of %ls\n", root.c_str());
    return 1;
  }

  double kavoSmall = 1e30, kavoLarge = 1e30, kavoEmpty = 1e30, bareSmall = 1e30, bareLarge = 1e30;
  bool whole = true;
  size_t sink = 0;
  long probes = 0, slow = 0;
  double longest = 0;
  {
    TAnswerWatch watch;
    // A first pass for the one-time costs (the library's own start, the files' first read).
    sink += BareTags(bare, small);
    ClickFolder(watch, smallNode);
    ClickFolder(watch, emptyNode);
    for (int r = 0; r < rounds; ++r) {
      // Each listing beside its bare loop, so that both meet the same load on the machine.
      const double s = ClickFolder(watch, smallNode);
      whole = whole && ListedWhole(1000);
      double t0 = MillisecondsNow();
      sink += BareTags(bare, small);
      double t1 = MillisecondsNow();
      const double l = ClickFolder(watch, largeNode);
      whole = whole && ListedWhole(5000);
      double t2 = MillisecondsNow();
      sink += BareTags(bare, large);
      double t3 = MillisecondsNow();
      const double e = ClickFolder(watch, emptyNode);
      whole = whole && MainForm->FilesTagList->Items()->Count() == 0;
      std::printf("round %d: tag page 1000 %8.1f ms, 5000 %8.1f ms, leaving 5000 %6.1f ms; bare 1000 %8.1f ms, 5000 %8.1f ms\n",
                  r + 1, s, l, e, t1 - t0, t3 - t2);
      std::fflush(stdout);
      kavoSmall = std::min(kavoSmall, s);
      kavoLarge = std::min(kavoLarge, l);
      kavoEmpty = std::min(kavoEmpty, e);
      bareSmall = std::min(bareSmall, t1 - t0);
      bareLarge = std::min(bareLarge, t3 - t2);
    }
    probes = watch.Probes();
    slow = watch.Slow();
    longest = watch.Longest();
  }

  delete Application;
  CoUninitialize();

  std::printf("best of %d rounds (checksum %zu)%s\n", rounds, sink % 1000, whole ? "" : "; ROWS WRONG");
  std::printf("tag page, 1000 files:   %8.1f ms (%.2f ms a file)\n", kavoSmall, kavoSmall / 1000);
  std::printf("tag page, 5000 files:   %8.1f ms (%.2f ms a file)\n", kavoLarge, kavoLarge / 5000);
  std::printf("leaving 5000 rows:      %8.1f ms\n", kavoEmpty);
  std::printf("bare MediaInfo, 1000:   %8.1f ms\n", bareSmall);
  std::printf("bare MediaInfo, 5000:   %8.1f ms\n", bareLarge);
  std::printf("longest answer to a message while listing: %.1f ms (%ld messages sent, %ld answered after 100 ms)\n",
              longest, probes, slow);
  std::printf("ratio tag page/bare, 1000: %.2f\n", kavoSmall / bareSmall);
  std::printf("ratio tag page/bare, 5000: %.2f\n", kavoLarge / bareLarge);
  std::printf("ratio 5000/1000 on the tag page: %.2f\n", kavoLarge / kavoSmall);
  return whole ? 0 : 1;
}

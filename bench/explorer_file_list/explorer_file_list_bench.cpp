// Lists a folder of 10,000 files in the file list view (the whole refill: the folder read,
// the rows made and sorted, the window told) and walks the same folder with bare
// FindFirstFileW / FindNextFileW, in the same run; then paints the view once. Prints
// milliseconds per listing for each and their ratio.
// Usage: explorer_file_list_bench [rounds] [files]   (default 5 rounds of 10000 files)
// The folder is made once under the temporary folder and kept for later runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/common/bench_support.h"
#include "explorer/file_list_view.h"
#include "vcl/application.h"
#include "vcl/forms.h"

namespace {

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The folder of Count media files (names of several scripts, sizes and times that differ).
std::wstring BenchFolder(int Count) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"kavo_file_list_bench_" + std::to_wstring(Count);
  std::wstring done = folder + L"\\.complete";
  if (GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES) return folder;
  CreateDirectoryW(folder.c_str(), nullptr);
  const wchar_t* stems[] = {L"track", L"Ελληνικό", L"日本の曲", L"Clip"};
  const wchar_t* exts[] = {L".m4a", L".mp4", L".MP4", L".txt"};
  std::string data(64, 'x');
  for (int i = 0; i < Count; ++i) {
    std::wstring name = folder + L"\\" + stems[i % 4] + L" " + std::to_wstring((i * 7919) % Count) + exts[(i / 4) % 4];
    HANDLE f = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, data.data(), static_cast<DWORD>(1 + i % 64), &written, nullptr);
    CloseHandle(f);
  }
  HANDLE f = CreateFileW(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
  CloseHandle(f);
  return folder;
}

int BareWalk(const std::wstring& Folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((Folder + L"\\*.*").c_str(), &data);
  int n = 0;
  if (find == INVALID_HANDLE_VALUE) return 0;
  do ++n;
  while (FindNextFileW(find, &data));
  FindClose(find);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = std::max(1, argc > 1 ? std::atoi(argv[1]) : 5);
  int files = std::max(1, argc > 2 ? std::atoi(argv[2]) : 10000);
  InitApplication();
  std::wstring folder = BenchFolder(files);

  TForm* form = TCustomForm::CreateNew<TForm>(nullptr);
  form->SetBounds(0, 0, 700, 500);
  auto* view = new TShFileListView(form);
  view->SetParent(form);
  view->SetAlign(alClient);
  form->Show();
  Drain();
  view->SetDirectory(folder);  // a first listing warms the system's caches for both
  Drain();

  double bare = 0, list = 0, paint = 0;
  int walked = 0;
  for (int r = 0; r < rounds; ++r) {
    double t0 = MillisecondsNow();
    walked = BareWalk(folder);
    double t1 = MillisecondsNow();
    view->UpdateFileList();
    double t2 = MillisecondsNow();
    InvalidateRect(view->Handle(), nullptr, TRUE);
    UpdateWindow(view->Handle());
    double t3 = MillisecondsNow();
    bare += t1 - t0;
    list += t2 - t1;
    paint += t3 - t2;
    Drain();
  }
  std::printf("folder of %d entries, %d rows listed, %d rounds\n", walked, view->RowCount(), rounds);
  std::printf("bare FindFirstFileW walk : %8.2f ms\n", bare / rounds);
  std::printf("file list view listing  : %8.2f ms  (%.2f x the bare walk)\n", list / rounds, list / bare);
  std::printf("one paint of the view   : %8.2f ms\n", paint / rounds);
  form->Free();
  return 0;
}

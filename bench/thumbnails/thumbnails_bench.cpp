// Scans a folder of generated 1920 x 1080 JPEG files into a thumbnail view (each picture
// decoded by libjpeg at the reduced scale its file size asks for, then laid out in its cell),
// and decodes the same files with bare libjpeg calls at the same scale, in the same run.
// Prints milliseconds per round for each and the ratio of the view to the bare decoding,
// then, for information, what the view costs on its own: a scan of as many tiny pictures,
// with the windows and allocations it makes per file.
// Usage: thumbnails_bench [rounds] [files]   (default 3 rounds of 200 files)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

// jpeglib.h leans on FILE and size_t.
#include <jpeglib.h>

#include "bench/common/allocation_counter.h"
#include "bench/common/bench_support.h"
#include "vcl/application.h"
#include "vcl/forms.h"
#include "vcl/jpeg.h"
#include "wizard/thumbnail_layout.h"
#include "wizard/thumbnail_view.h"

namespace {

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A photograph-like picture: smooth gradients under fine grain, which lands a 1920 x 1080
// file between one and four megabytes, where the view decodes at half size.
void MakePicture(TBitmap& Bitmap, int Seed) {
  Bitmap.SetPixelFormat(pf24bit);
  Bitmap.SetSize(1920, 1080);
  unsigned noise = static_cast<unsigned>(Seed) * 2654435761u + 1;
  for (int y = 0; y < 1080; ++y) {
    auto* row = static_cast<uint8_t*>(Bitmap.ScanLine(y));
    for (int x = 0; x < 1920; ++x) {
      noise = noise * 1103515245u + 12345u;
      int grain = static_cast<int>((noise >> 16) & 63) - 32;
      auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
      row[3 * x] = clamp(x * 255 / 1920 + grain);
      row[3 * x + 1] = clamp(y * 255 / 1080 + grain);
      row[3 * x + 2] = clamp(((x + y + Seed * 37) & 255) + grain);
    }
  }
}

struct TErrorExit {
  jpeg_error_mgr Mgr;
};

void Fail(j_common_ptr info) {
  char text[JMSG_LENGTH_MAX];
  info->err->format_message(info, text);
  std::fprintf(stderr, "libjpeg: %s\n", text);
  std::exit(1);
}

// The bare path: the file read into memory and decoded at the scale its size gives, into
// one buffer used again for every file, or (Keep) into a buffer of its own for each picture,
// all kept to the end of the round as the view keeps its pictures.
double BareDecode(const std::vector<AnsiString>& Files, bool Keep, long long& Pixels) {
  double start = MillisecondsNow();
  std::vector<uint8_t> data;
  std::vector<uint8_t> reused;
  std::vector<std::vector<uint8_t>> kept;
  for (const AnsiString& name : Files) {
    std::vector<uint8_t>& image = Keep ? kept.emplace_back() : reused;
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD size = GetFileSize(file, nullptr), read = 0;
    data.resize(size);
    ReadFile(file, data.data(), size, &read, nullptr);
    CloseHandle(file);

    jpeg_decompress_struct info{};
    TErrorExit errors{};
    info.err = jpeg_std_error(&errors.Mgr);
    errors.Mgr.error_exit = Fail;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), size);
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = 1u << JpegScaleForSize(size);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const size_t stride = info.output_width * 3;
    image.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = image.data() + stride * info.output_scanline;
      jpeg_read_scanlines(&info, &row, 1);
    }
    Pixels += static_cast<long long>(info.output_width) * info.output_height;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
  }
  return MillisecondsNow() - start;
}

// The memory alone: as many fresh pictures' worth of pixels as the view keeps (Pixels, three
// bytes each, in Count blocks), each block written once and all kept to the end.
double FreshMemory(long long Pixels, int Count) {
  double start = MillisecondsNow();
  std::vector<std::unique_ptr<uint8_t[]>> blocks;
  const size_t size = static_cast<size_t>(Pixels * 3 / Count);
  for (int i = 0; i < Count; ++i) {
    blocks.emplace_back(new uint8_t[size]);
    for (size_t at = 0; at < size; at += 4096) blocks.back()[at] = 1;
  }
  return MillisecondsNow() - start;
}

double ViewScan(TKvThumbView* View, const AnsiString& Folder, long long& Pixels) {
  View->SetDirectory("");
  Drain();
  double start = MillisecondsNow();
  View->SetDirectory(Folder);
  double spent = MillisecondsNow() - start;
  for (int i = 0; i < View->Count(); ++i)
    Pixels += static_cast<long long>(View->Thumbnail(i)->ImageWidth()) * View->Thumbnail(i)->ImageHeight();
  return spent;
}

// Windows created on this thread while a hook is in place.
long long gWindowsCreated = 0;

LRESULT CALLBACK CountWindows(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HCBT_CREATEWND) ++gWindowsCreated;
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

// The view's own cost per file: a scan of Count pictures so small that decoding them costs
// next to nothing, with the windows and allocations per file.
void ViewOverhead(TKvThumbView* View, const AnsiString& Base, int Count, int Rounds) {
  const AnsiString folder = Base + "_tiny";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::vector<AnsiString> files;
  TBitmap picture;
  MakePicture(picture, 1);
  picture.SetSize(32, 18);
  TJPEGImage jpeg;
  jpeg.Assign(&picture);
  for (int i = 0; i < Count; ++i) {
    files.push_back(Format("%s\\tiny%03d.jpg", folder.c_str(), i));
    jpeg.SaveToFile(files.back());
  }
  HHOOK hook = SetWindowsHookExA(WH_CBT, CountWindows, nullptr, GetCurrentThreadId());
  double spent = 0;
  long long windows = 0, allocations = 0;
  for (int r = 0; r < Rounds; ++r) {
    View->SetDirectory("");
    Drain();
    gWindowsCreated = 0;
    const long long before = gAllocations;
    double start = MillisecondsNow();
    View->SetDirectory(folder);
    spent += MillisecondsNow() - start;
    windows += gWindowsCreated;
    allocations += gAllocations - before;
  }
  UnhookWindowsHookEx(hook);
  const double scans = static_cast<double>(Rounds) * Count;
  std::printf("the view alone (%d pictures of 32 x 18): %.2f ms, %.1f windows, %.0f allocations per file\n", Count,
              spent / scans, windows / scans, allocations / scans);
  View->SetDirectory("");
  for (const AnsiString& name : files) DeleteFileA(name.c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
  const int count = argc > 2 ? std::atoi(argv[2]) : 200;
  InitApplication();

  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  const AnsiString folder = Format("%sthumbnails_bench_%lu", base, GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  std::vector<AnsiString> files;
  double made = MillisecondsNow();
  unsigned long long bytes = 0;
  for (int i = 0; i < count; ++i) {
    TBitmap picture;
    MakePicture(picture, i);
    TJPEGImage jpeg;
    jpeg.Assign(&picture);
    jpeg.SetCompressionQuality(90);
    files.push_back(Format("%s\\picture%03d.jpg", folder.c_str(), i));
    jpeg.SaveToFile(files.back());
    WIN32_FILE_ATTRIBUTE_DATA attr{};
    GetFileAttributesExA(files.back().c_str(), GetFileExInfoStandard, &attr);
    bytes += attr.nFileSizeLow;
  }
  std::printf("made %d files of 1920 x 1080, %.2f MB on average (scale 1/%u), in %.0f ms\n", count,
              bytes / 1e6 / count, 1u << JpegScaleForSize(static_cast<unsigned>(bytes / count)),
              MillisecondsNow() - made);

  auto* form = TCustomForm::CreateNew<TForm>(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 800, 600);
  auto* view = new TKvThumbView(form);
  view->SetParent(form);
  view->SetAlign(alClient);
  view->SetMaxWidth(100);
  view->SetMaxHeight(100);
  view->SetThumbGap(5);
  form->Show();
  Drain();

  double bare = 0, kept = 0, thumbs = 0;
  for (int r = 0; r < rounds; ++r) {
    long long barePixels = 0, keptPixels = 0, viewPixels = 0;
    double b = BareDecode(files, false, barePixels);
    double k = BareDecode(files, true, keptPixels);
    double t = ViewScan(view, folder, viewPixels);
    double m = FreshMemory(keptPixels, count);
    std::printf("round %d: bare %.0f ms, bare keeping each picture %.0f ms, view %.0f ms (%lld / %lld pixels); "
                "the kept pixels' fresh memory alone %.0f ms\n",
                r + 1, b, k, t, barePixels, viewPixels, m);
    bare += b;
    kept += k;
    thumbs += t;
  }
  std::printf("per file: bare libjpeg %.1f ms, keeping each picture %.1f ms, thumbnail view %.1f ms; "
              "view / bare %.2f, view / keeping %.2f\n",
              bare / rounds / count, kept / rounds / count, thumbs / rounds / count, thumbs / bare, thumbs / kept);

  ViewOverhead(view, folder, count, rounds);

  form->Free();
  for (const AnsiString& name : files) DeleteFileA(name.c_str());
  RemoveDirectoryA(folder.c_str());
  return 0;
}

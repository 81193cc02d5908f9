// Loads and saves a 50 MB UTF-8 text file through the wide string list and sets the
// rates beside a plain byte copy of the same file, measured in the same run.
// Usage: widetext_bench [megabytes]
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/common/allocation_counter.h"
#include "bench/common/bench_support.h"
#include "widetext/codecs.h"
#include "widetext/uni_string_list.h"
#include "widetext/utf8_lines.h"
#include "widetext/wide_files.h"

namespace {

// Subtitle-like lines in English, French, Greek and Japanese.
std::string MakeUtf8Text(size_t bytes) {
  static const char* const lines[] = {
      "00:01:02,345 --> 00:01:04,567",
      "Where are you going with that camera?",
      "Il fait tr\xC3\xA8s beau aujourd'hui, n'est-ce pas ?",
      "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1, \xCF\x84\xCE\xB9 \xCE\xBA\xCE\xAC\xCE\xBD\xCE\xB5\xCE\xB9\xCF\x82;",
      "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE5\xAD\x97\xE5\xB9\x95\xE3\x81\xA7\xE3\x81\x99\xE3\x80\x82",
      "",
  };
  std::string text = "\xEF\xBB\xBF";
  text.reserve(bytes + 128);
  for (size_t i = 0; text.size() < bytes; ++i) {
    text += lines[i % 6];
    text += "\r\n";
  }
  return text;
}

void WriteWhole(const WideString& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD put = 0;
  if (h == INVALID_HANDLE_VALUE || !WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr)) {
    std::fprintf(stderr, "cannot write the test file\n");
    std::exit(1);
  }
  CloseHandle(h);
}

// The plain byte copy: the whole file read into memory and written out again.
void CopyBytes(const WideString& from, const WideString& to) {
  HANDLE in = CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER size;
  GetFileSizeEx(in, &size);
  std::vector<char> buffer(static_cast<size_t>(size.QuadPart));
  DWORD moved = 0;
  ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &moved, nullptr);
  CloseHandle(in);
  HANDLE out = CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  WriteFile(out, buffer.data(), static_cast<DWORD>(buffer.size()), &moved, nullptr);
  CloseHandle(out);
}

template <class Work>
double BestSeconds(int rounds, Work work) {
  double best = 1e30;
  for (int i = 0; i < rounds; ++i) {
    const double start = SecondsNow();
    work();
    best = std::min(best, SecondsNow() - start);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const size_t megabytes = argc > 1 ? static_cast<size_t>(std::atoi(argv[1])) : 50;
  const double mb = static_cast<double>(megabytes);
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  const WideString source = WideString(tmp) + L"kavo_bench_\x3b1\x3b2\x3b3.txt";
  const WideString copy = WideString(tmp) + L"kavo_bench_copy.txt";
  const WideString saved = WideString(tmp) + L"kavo_bench_saved.txt";
  WriteWhole(source, MakeUtf8Text(megabytes * 1000000));

  const int rounds = 3;
  const double copySeconds = BestSeconds(rounds, [&] { CopyBytes(source, copy); });
  TUniStringList list;
  const double loadSeconds = BestSeconds(rounds, [&] { list.LoadFromFile(source); });
  const double saveSeconds = BestSeconds(rounds, [&] { list.SaveToFile(saved); });

  // Where the load's time goes: reading the bytes, decoding them, cutting the lines.
  std::string bytes;
  const double readSeconds = BestSeconds(rounds, [&] {
    HANDLE in = CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size;
    GetFileSizeEx(in, &size);
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD moved = 0;
    ReadFile(in, bytes.data(), static_cast<DWORD>(bytes.size()), &moved, nullptr);
    CloseHandle(in);
  });
  WideString text;
  const double decodeSeconds = BestSeconds(rounds, [&] { text = Utf8Decode(bytes.data() + 3, bytes.size() - 3); });
  const double linesSeconds = BestSeconds(rounds, [&] { list.SetTextStr(text); });
  // The load's own passes over the file, keeping nothing: cutting the lines, then cutting and
  // decoding each into one buffer. What the load takes beyond them is making the lines.
  auto passOverFile = [&](bool decode) {
    TUniFileStream in(source, fmOpenRead | fmShareDenyWrite);
    in.SetPosition(3);
    WideString line;
    ReadUtf8Lines(&in, in.Size() - 3, 256 * 1024, [&](const char* from, size_t length) {
      if (decode) Utf8DecodeInto(from, length, line);
    });
  };
  const double cutSeconds = BestSeconds(rounds, [&] { passOverFile(false); });
  const double cutDecodeSeconds = BestSeconds(rounds, [&] { passOverFile(true); });
  list.Clear();
  const long long before = gAllocations.load();
  list.LoadFromFile(source);
  const long long loadAllocations = gAllocations.load() - before;

  WIN32_FILE_ATTRIBUTE_DATA savedInfo;
  GetFileAttributesExW(saved.c_str(), GetFileExInfoStandard, &savedInfo);
  const double savedMb = static_cast<double>(savedInfo.nFileSizeLow) / 1e6;

  std::printf("UTF-8 text file: %.0f MB, %d lines (best of %d rounds)\n", mb, list.Count(), rounds);
  std::printf("plain byte copy:        %8.1f MB/s  (%.3f s)\n", mb / copySeconds, copySeconds);
  std::printf("wide list load (UTF-8): %8.1f MB/s  (%.3f s)\n", mb / loadSeconds, loadSeconds);
  std::printf("wide list save (UTF-16LE, %.0f MB written): %8.1f MB/s of source text, %.1f MB/s written  (%.3f s)\n",
              savedMb, mb / saveSeconds, savedMb / saveSeconds, saveSeconds);
  std::printf("  of the load: read %.3f s, UTF-8 decode %.3f s, lines into the list %.3f s; %.2f allocations a line\n",
              readSeconds, decodeSeconds, linesSeconds, static_cast<double>(loadAllocations) / list.Count());
  std::printf("  the load's passes alone: cutting the lines %.3f s, cutting and decoding them %.3f s\n", cutSeconds,
              cutDecodeSeconds);
  std::printf("load / copy: %.2f   save / copy: %.2f (time ratios)\n", loadSeconds / copySeconds,
              saveSeconds / copySeconds);

  DeleteFileW(source.c_str());
  DeleteFileW(copy.c_str());
  DeleteFileW(saved.c_str());
  return 0;
}

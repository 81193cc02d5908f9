// Analysing 200 media files (copies of the test media, KAVO_TEST_MEDIA) into track rows,
// against the bare cost of the same facts: MediaInfo_New, MediaInfo_Open, one MediaInfo_Get
// per fact the analysis asks for, MediaInfo_Close, MediaInfo_Delete. Both in the same run,
// alternating, best of several rounds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/media/media_analysis.h"
#include "bench/common/bare_mediainfo.h"
#include "bench/common/bench_support.h"

namespace {

using Question = std::tuple<int, int, std::wstring>;

// Notes every question the analysis asks, answering from the library.
class TRecordingAnswers : public TMediaAnswers {
 public:
  explicit TRecordingAnswers(TMediaAnswers& Inner) : FInner(Inner) {}
  WideString Get(TStreamKind Kind, int Number, const WideString& Parameter) override {
    Questions.emplace_back(static_cast<int>(Kind), Number, Parameter);
    return FInner.Get(Kind, Number, Parameter);
  }
  std::vector<Question> Questions;

 private:
  TMediaAnswers& FInner;
};

// The name under which this library answers a fact.
std::wstring CurrentName(const std::wstring& Parameter) {
  if (Parameter == L"Codec/String") return L"Format";
  if (Parameter == L"Codec/Info") return L"Format/Info";
  if (Parameter == L"Codec_Profile") return L"Format_Profile";
  return Parameter;
}

}  // namespace

int main() {
  const char* media = std::getenv("KAVO_TEST_MEDIA");
  if (!media || !*media) {
    std::printf("KAVO_TEST_MEDIA is not set (scripts/bench sets it)\n");
    return 1;
  }
  const WideString source = AnsiToWide(media) + L"\\";
  const wchar_t* names[] = {L"clip.mp4", L"clip.avi", L"clip.h264", L"tone.aac",
                            L"tone.mp3", L"clip.ts",  L"ac3.mp4",   L"chapters.mp4"};

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  WideString folder = WideString(temp) + L"kavo-media-bench-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  std::vector<WideString> files;
  for (int i = 0; i < 200; ++i) {
    const wchar_t* name = names[i % std::size(names)];
    WideString copy = folder + std::to_wstring(i) + L"-" + name;
    CopyFileW((source + name).c_str(), copy.c_str(), FALSE);
    files.push_back(copy);
  }

  // The questions of every file, as the analysis asks them.
  std::map<WideString, std::vector<Question>> asked;
  size_t rows = 0;
  for (const WideString& f : files) {
    TMediaInfoFile file(f);
    TRecordingAnswers recorder(file);
    rows += AnalyseMediaFile(f, recorder).Rows.size();
    asked[f] = recorder.Questions;
  }

  const TBareLibrary bare = LoadBareMediaInfo();
  if (!bare.Loaded()) {
    std::printf("MediaInfo.dll not found beside the benchmark\n");
    return 1;
  }

  double bestAnalysis = 1e30, bestBare = 1e30;
  size_t sink = 0;
  for (int round = 0; round < 5; ++round) {
    double t0 = MillisecondsNow();
    for (const WideString& f : files) sink += AnalyseMediaFile(f).Rows.size();
    double t1 = MillisecondsNow();
    for (const WideString& f : files) {
      void* h = bare.New();
      bare.Open(h, f.c_str());
      for (const auto& [kind, number, parameter] : asked[f]) {
        const wchar_t* v = bare.Get(h, kind, static_cast<size_t>(number), CurrentName(parameter).c_str(), 1, 0);
        sink += v ? std::wcslen(v) : 0;
      }
      bare.Close(h);
      bare.Delete(h);
    }
    double t2 = MillisecondsNow();
    bestAnalysis = std::min(bestAnalysis, t1 - t0);
    bestBare = std::min(bestBare, t2 - t1);
  }

  for (const WideString& f : files) DeleteFileW(f.c_str());
  RemoveDirectoryW(folder.c_str());

  std::printf("200 files, %zu rows (checksum %zu)\n", rows, sink % 1000);
  std::printf("analysis into rows:     %8.1f ms\n", bestAnalysis);
  std::printf("bare MediaInfo calls:   %8.1f ms\n", bestBare);
  std::printf("ratio:                  %8.2f\n", bestAnalysis / bestBare);
  return 0;
}

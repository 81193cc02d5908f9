#include "app/media/extract_listing.h"

#include <optional>

#include "app/media/chapter_lines.h"
#include "app/media/media_analysis.h"
#include "widetext/filenames.h"
#include "widetext/widetextutils.h"

namespace {

using K = TStreamKind;

bool IsNumber(const WideString& S) {
  if (S.empty()) return false;
  for (wchar_t c : S) {
    if (c < L'0' || c > L'9') return false;
  }
  return true;
}

const wchar_t* KindName(K Kind) {
  switch (Kind) {
    case K::Video: return L"video";
    case K::Audio: return L"audio";
    case K::Text: return L"text";
    default: return L"chapters";
  }
}

class TLister {
 public:
  TLister(const WideString& FileName, TMediaAnswers& Info, TExtractListing& Result)
      : FInfo(Info), FResult(Result), FGroup(ExtractGroupOf(FileName)) {
    FPath = WideExtractFilePath(FileName);
    FFile = WideExtractFileName(FileName);
    FMp4 = WideLowerCase(WideExtractFileExt(FileName)) == L".mp4";
  }

  // The stream count of a kind. An answer that is not a number (a file the library could
  // not read) lists none of that kind, and says so.
  int Count(const wchar_t* Parameter) {
    const WideString count = FInfo.Get(K::General, 0, Parameter);
    if (count.empty() || IsNumber(count)) return StreamCount(count);
    Skip(WideString(Parameter) + L" \"" + count + L"\" is not a number");
    return 0;
  }

  void Streams(K Kind, int Count) {
    for (int i = 0; i < Count; ++i) Stream(Kind, i);
  }

  void Stream(K Kind, int i) {
    if (FGroup == TExtractGroup::Other) return;
    if (Kind == K::Text && !FMp4) return;
    TExtractRow row{FPath, FFile};
    if (FGroup == TExtractGroup::AVI) {
      if (Kind == K::Text) return;
      row.Index = KindName(Kind);
    } else {
      std::optional<WideString> id = StreamSelector(FInfo, Kind, i, FGroup == TExtractGroup::TS);
      if (!id || !IsNumber(*id)) {
        Skip(WideString(L"the ") + KindName(Kind) + L" stream " + std::to_wstring(i + 1) + L" has no track number (ID \"" +
             FInfo.Get(Kind, i, L"ID") + L"\")");
        return;
      }
      row.Index = *id;
    }
    switch (Kind) {
      case K::Video:
        row.Description = VideoStreamDescription(FInfo, i);
        row.Type = L"video";
        break;
      case K::Audio:
        row.Description = AudioStreamDescription(FInfo, i);
        row.Type = L"audio";
        break;
      default: {
        row.Description = TextStreamDescription(FInfo, i);
        row.Type = FInfo.Get(K::Text, i, L"Codec/String") == L"VobSub" ? L"vobsub" : L"sub";
      }
    }
    FResult.Rows.push_back(row);
  }

  // Chapters, of ".mp4" files only. Older libraries report chapter streams, each with its
  // report; the library we ship reports the chapters in a menu stream (two of them for a
  // file with a QuickTime chapter track and a Nero chapter list): one row for the file.
  void Chapters() {
    if (!FMp4) return;
    const int count = Count(L"ChaptersCount");
    if (count > 0) {
      for (int i = 0; i < count; ++i) Chapter(K::Chapters, i, FInfo.Get(K::Chapters, i, L"Inform"));
      return;
    }
    TChapterSource source = FindChapterReport(FInfo);
    if (!source.Report.empty()) Chapter(source.Kind, source.Number, source.Report);
  }

 private:
  void Chapter(K Kind, int i, const WideString& Report) {
    TExtractRow row{FPath, FFile, FInfo.Get(Kind, i, L"ID"), L"Chapters Metadata", L"chap"};
    FResult.Rows.push_back(row);
    FResult.ChapterText += Report;
    if (!Report.empty() && Report.back() != L'\n') FResult.ChapterText += L"\r\n";
  }

  void Skip(const WideString& Why) { FResult.Skipped.push_back(FFile + L": " + Why + L"; left out of the list."); }

  TMediaAnswers& FInfo;
  TExtractListing& FResult;
  TExtractGroup FGroup;
  WideString FPath, FFile;
  bool FMp4 = false;
};

}  // namespace

TExtractGroup ExtractGroupOf(const WideString& FileName) {
  const WideString ext = WideLowerCase(WideExtractFileExt(FileName));
  for (const wchar_t* e : {L".mp4", L".m4a", L".m4b", L".mov", L".3gp", L".3g2"})
    if (ext == e) return TExtractGroup::MP4;
  if (ext == L".ts") return TExtractGroup::TS;
  for (const wchar_t* e : {L".avi", L".mpeg", L".mpg", L".vcd", L".vob"})
    if (ext == e) return TExtractGroup::AVI;
  return TExtractGroup::Other;
}

TExtractListing ListTracksForExtract(const WideString& FileName, TMediaAnswers& Info) {
  TExtractListing result;
  TLister lister(FileName, Info, result);
  const int videos = lister.Count(L"VideoCount");
  const int audios = lister.Count(L"AudioCount");
  const int texts = lister.Count(L"TextCount");
  lister.Streams(K::Video, videos);
  lister.Streams(K::Audio, audios);
  lister.Streams(K::Text, texts);
  lister.Chapters();
  return result;
}

TExtractListing ListTracksForExtract(const WideString& FileName) {
  TMediaInfoFile file(FileName);
  return ListTracksForExtract(FileName, file);
}

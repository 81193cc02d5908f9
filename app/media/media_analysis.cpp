#include "app/media/media_analysis.h"

#include <initializer_list>

#include "app/common/text_routines.h"
#include "app/media/avi_h264.h"
#include "app/common/utf8.h"
#include "widetext/filenames.h"
#include "widetext/widetextutils.h"

namespace {

using K = TStreamKind;
using C = TTrackColumn;

bool OneOf(const WideString& Ext, std::initializer_list<const wchar_t*> List) {
  for (const wchar_t* e : List) {
    if (Ext == e) return true;
  }
  return false;
}

const std::initializer_list<const wchar_t*> Mp4Family = {L".mp4", L".mov", L".3gp", L".3g2"};
const std::initializer_list<const wchar_t*> Mp4AudioFamily = {L".mp4", L".m4a", L".m4b", L".mov", L".3gp", L".3g2"};
const std::initializer_list<const wchar_t*> AviFamily = {L".mpeg", L".mpg", L".vob", L".m1v", L".m2v",
                                                         L".vcd",  L".cmp", L".m4v", L".ogg", L".avi"};
const std::initializer_list<const wchar_t*> AudioElementary = {L".aac", L".mp3", L".mp2", L".ogg", L".mpa"};
const std::initializer_list<const wchar_t*> AvcElementary = {L".264", L".h264"};

const wchar_t* const AmrText = L"AMR - Adaptative Multi-Rate Format - Optimized for Speech Coding";
const wchar_t* const AwbText = L"AMR-WB - Adaptative Multi-Rate WideBand Format - Optimized for Speech Coding";
const wchar_t* const EvcText = L"EVRC - Enhanced Variable Rate Codec - Speech codec used by CDMA networks";
const wchar_t* const SmvText = L"SMV - Selectable Mode Vocoder - Speech Coding Standard used in CDMA-2000 networks";

// Descriptions are made as 8-bit text, as the lists always showed them.
WideString Eight(const WideString& S) { return AnsiToWide(WideToAnsi(S)); }

// Older libraries gave UTF-8 titles as one character per byte; those are decoded. A title
// that already is proper UTF-16 (it does not survive the code page, or its bytes are no
// UTF-8) is kept as it is instead of being cut at its first accented letter.
WideString ViaUtf8(const WideString& S) {
  AnsiString bytes = WideToAnsi(S);
  if (AnsiToWide(bytes) != S) return S;
  WideString decoded = Utf8ToWide(bytes);
  return WideToUtf8(decoded) == bytes ? decoded : S;
}

}  // namespace

int StreamCount(const WideString& S) {
  if (S.empty() || S.size() > 6) return 0;
  int n = 0;
  for (wchar_t c : S) {
    if (c < L'0' || c > L'9') return 0;
    n = n * 10 + (c - L'0');
  }
  return n;
}

namespace {

// A transport stream's track number: MediaInfo's hexadecimal ID in decimal; no value
// when the ID is not hexadecimal.
std::optional<WideString> TransportStreamSelector(const WideString& Id) {
  try {
    return AnsiToWide(std::to_string(HexToInt(WideToAnsi(Id))));
  } catch (const Exception&) {
    return std::nullopt;
  }
}

WideString AudioDescriptionOf(TMediaAnswers& A, int i, K PlayTimeKind) {
  return Eight(A.Get(K::Audio, i, L"Codec/String")) + L" - " + Eight(A.Get(PlayTimeKind, i, L"PlayTime/String")) +
         L" - " + Eight(A.Get(K::Audio, i, L"BitRate/String")) + L" - " + Eight(A.Get(K::Audio, i, L"Channel(s)")) +
         L" Ch - " + Eight(A.Get(K::Audio, i, L"SamplingRate/String"));
}

class TAnalyser {
 public:
  TAnalyser(const WideString& FileName, TMediaAnswers& Answers, TFileAnalysis& Result)
      : FAnswers(Answers), FResult(Result) {
    FFolder = WideExtractFilePath(FileName);
    FFile = WideExtractFileName(FileName);
    FExt = AnalysisExtension(FileName);
  }

  WideString Get(K Kind, int i, const wchar_t* Parameter) { return FAnswers.Get(Kind, i, Parameter); }

  TTrackRow NewRow() const {
    TTrackRow row;
    row[C::Path] = FFolder;
    row[C::File] = FFile;
    return row;
  }

  void Add(TTrackRow Row, bool Checked) {
    Row.Checked = Checked;
    if (!Checked) ++FResult.UncheckedCount;
    FResult.Rows.push_back(std::move(Row));
  }

  WideString VideoDescription(int i) { return VideoStreamDescription(FAnswers, i); }
  WideString AvcDescription(int i) {
    return Eight(Get(K::Video, i, L"Codec/String")) + L" - " + Eight(Get(K::Video, i, L"Codec/Info")) + L" - " +
           Eight(Get(K::Video, i, L"Codec_Profile")) + L" - " + Eight(Get(K::Video, i, L"Width")) + L" x " +
           Eight(Get(K::Video, i, L"Height"));
  }
  WideString AudioDescription(int i, K PlayTimeKind) { return AudioDescriptionOf(FAnswers, i, PlayTimeKind); }
  WideString TextDescription(int i) { return TextStreamDescription(FAnswers, i); }

  // The selector of a container's track; no value skips the track.
  std::optional<WideString> IdSelector(K Kind, int i) { return StreamSelector(FAnswers, Kind, i, FExt == L".ts"); }

  void Video(int i) {
    TTrackRow row = NewRow();
    bool checked = true;
    if (OneOf(FExt, Mp4Family) || FExt == L".ts") {
      std::optional<WideString> selector = IdSelector(K::Video, i);
      if (!selector) return;
      row[C::Index] = *selector;
      row[C::Description] = VideoDescription(i);
      row[C::Name] = ViaUtf8(Get(K::Video, i, L"Title"));
      if (FExt == L".ts") checked = Eight(Get(K::Video, i, L"Codec/String")) != L"AVC";
    } else if (OneOf(FExt, AviFamily)) {
      row[C::Index] = L"video";
      row[C::Description] = VideoDescription(i);
      row[C::Name] = ViaUtf8(Get(K::Video, i, L"Title"));
    } else if (OneOf(FExt, AvcElementary)) {
      row[C::Description] = AvcDescription(i);
      row[C::Name] = Get(K::Video, i, L"Title");
    } else {
      return;
    }
    row[C::Language] = Get(K::Video, i, L"Language/String");
    row[C::FrameRate] = Get(K::Video, i, L"FrameRate");
    row[C::Type] = L"video";
    Add(std::move(row), checked);
    if (OneOf(FExt, AviFamily)) FResult.AviH264 = IsAviH264Video(FAnswers, i);
    if (OneOf(FExt, AvcElementary)) FResult.RawAvcAdded = true;
  }

  void Audio(int i) {
    TTrackRow row = NewRow();
    bool checked = true;
    if (OneOf(FExt, Mp4AudioFamily) || FExt == L".ts" || FExt == L".avi") {
      std::optional<WideString> selector = FExt == L".avi" ? WideString(L"audio") : IdSelector(K::Audio, i);
      if (!selector) return;
      row[C::Index] = *selector;
      row[C::Description] = AudioDescription(i, K::Audio);
      row[C::Name] = ViaUtf8(Get(K::Audio, i, L"Title"));
      // Newer libraries spell AC3 "AC-3".
      WideString codec = Eight(Get(K::Audio, i, L"Codec/String"));
      checked = codec != L"AC3" && codec != L"AC-3" && codec != L"DTS";
    } else if (OneOf(FExt, AudioElementary)) {
      row[C::Description] = AudioDescription(i, K::General);
      row[C::Name] = ViaUtf8(Get(K::Audio, i, L"Title"));
    } else {
      row[C::Description] = FExt == L".amr"   ? AmrText
                            : FExt == L".awb" ? AwbText
                            : FExt == L".evc" ? EvcText
                            : FExt == L".smv" ? SmvText
                                              : L"";
      row[C::Name] = Get(K::Audio, i, L"Title");
    }
    row[C::Language] = Get(K::Audio, i, L"Language/String");
    row[C::Type] = L"audio";
    Add(std::move(row), checked);
  }

  void Text(int i) {
    TTrackRow row = NewRow();
    if (OneOf(FExt, Mp4Family)) {
      std::optional<WideString> selector = IdSelector(K::Text, i);
      if (!selector) return;
      row[C::Index] = *selector;
    } else if (FExt == L".avi") {
      row[C::Index] = L"sub";
    } else {
      return;
    }
    row[C::Description] = TextDescription(i);
    row[C::Name] = ViaUtf8(Get(K::Text, i, L"Title"));
    row[C::Language] = Get(K::Text, i, L"Language/String");
    row[C::FrameRate] = Get(K::Text, i, L"FrameRate");
    row[C::Type] = Eight(Get(K::Text, i, L"Codec/String")) == L"VobSub" ? L"vobsub" : L"sub";
    Add(std::move(row), true);
  }

  void Fixed(const WideString& Description, const wchar_t* Type) {
    TTrackRow row = NewRow();
    row[C::Description] = Description;
    row[C::Type] = Type;
    Add(std::move(row), true);
  }

  void FixedRows(const WideString& FileName, const TTextTrackReaders& Readers) {
    if (OneOf(FExt, {L".263", L".h263"}))
      Fixed(L"H.263 - Video Codec by the ITU-T - Low-Bitrate compressed encoding solution for videoconferencing.",
            L"video");
    if (FExt == L".qcp") Fixed(L"QCP - Voice Data.", L"video");
    if (FExt == L".amr") Fixed(AmrText, L"audio");
    if (FExt == L".awb") Fixed(AwbText, L"audio");
    if (FExt == L".evc") Fixed(EvcText, L"audio");
    if (FExt == L".smv") Fixed(SmvText, L"audio");
    if (FExt == L".idx" && Readers.VobSubIndex) Readers.VobSubIndex(FileName, FResult.Rows);
    if (OneOf(FExt, {L".srt", L".xml", L".ttxt"}) && Readers.TextSubtitle) Readers.TextSubtitle(FileName, FResult.Rows);
    if (FExt == L".txt") Fixed(L"Chapters File.", L"chap");
    if (OneOf(FExt, {L".jpeg", L".jpg"})) Fixed(L"JPEG - Picture File Format.", L"");
    if (FExt == L".nhml") Fixed(L"NHML - XML-based description of a media file.", L"");
    if (OneOf(FExt, {L".nhnt", L".media", L".info"}))
      Fixed(L"NHNT - Header and a set of access units descriptors for unknown media formats.", L"");
  }

 private:
  TMediaAnswers& FAnswers;
  TFileAnalysis& FResult;
  WideString FFolder, FFile, FExt;
};

}  // namespace

WideString AnalysisExtension(const WideString& FileName) { return WideLowerCase(WideExtractFileExt(FileName)); }

TFileAnalysis AnalyseMediaFile(const WideString& FileName, TMediaAnswers& Answers, const TTextTrackReaders& Readers) {
  TFileAnalysis result;
  TAnalyser a(FileName, Answers, result);
  const int videos = StreamCount(Eight(Answers.Get(K::General, 0, L"VideoCount")));
  const int audios = StreamCount(Eight(Answers.Get(K::General, 0, L"AudioCount")));
  const int texts = StreamCount(Eight(Answers.Get(K::General, 0, L"TextCount")));
  for (int i = 0; i < videos; ++i) a.Video(i);
  for (int i = 0; i < audios; ++i) a.Audio(i);
  for (int i = 0; i < texts; ++i) a.Text(i);
  a.FixedRows(FileName, Readers);
  return result;
}

TFileAnalysis AnalyseMediaFile(const WideString& FileName, const TTextTrackReaders& Readers) {
  TMediaInfoFile file(FileName);
  return AnalyseMediaFile(FileName, file, Readers);
}

WideString VideoStreamDescription(TMediaAnswers& A, int i) {
  return Eight(A.Get(K::Video, i, L"Codec/String")) + L" - " + Eight(A.Get(K::Video, i, L"PlayTime/String")) +
         L" - " + Eight(A.Get(K::Video, i, L"BitRate/String")) + L" - " + Eight(A.Get(K::Video, i, L"Width")) +
         L" x " + Eight(A.Get(K::Video, i, L"Height"));
}

WideString AudioStreamDescription(TMediaAnswers& A, int i) { return AudioDescriptionOf(A, i, K::Audio); }

WideString TextStreamDescription(TMediaAnswers& A, int i) {
  return Eight(A.Get(K::Text, i, L"Codec/String")) + L" - " + Eight(A.Get(K::Text, i, L"Codec/Info"));
}

std::optional<WideString> StreamSelector(TMediaAnswers& A, TStreamKind Kind, int i, bool TransportStream) {
  WideString id = A.Get(Kind, i, L"ID");
  if (!TransportStream) return id;
  // Newer libraries give the ID in decimal, spelled out as "256 (0x100)" in its text form.
  WideString spelled = A.Get(Kind, i, L"ID/String");
  size_t hex = spelled.find(L" (0x");
  if (hex != WideString::npos && spelled.substr(0, hex) == id && !id.empty()) return id;
  return TransportStreamSelector(id);
}

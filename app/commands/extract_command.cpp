#include "app/commands/extract_command.h"

#include "app/commands/mux_command.h"
#include "app/commands/tool_command_line.h"
#include "app/media/chapter_files.h"
#include "widetext/filenames.h"

namespace {

using G = TExtractGroup;
using X = TExtractChoice;

struct TOption {
  AnsiString Part;  // with its leading blank
  WideString Status;
  TChapterOutput Chapters = TChapterOutput::None;
  WideString Suffix;  // of the file MP4Box writes: after the input's name without extension
};

const wchar_t* const AviExtractNote =
    L"Extraction to AVI is not offered: this MP4Box refuses -avi (it writes AVI files no more).";

// The extension of a raw stream of an AVI file, by the codec its description begins with.
// Today's MP4Box writes the format the extension names: ".h264" and ".mp3" are those the
// captures of the tool show; the others are its own extensions for those formats, not seen
// at work. Empty for a codec not known here.
WideString AviStreamExtension(const WideString& Description) {
  const WideString codec = Description.substr(0, Description.find(L" - "));
  auto has = [&](const wchar_t* name) { return codec.find(name) != WideString::npos; };
  if (has(L"AVC") || has(L"H.264") || has(L"H264")) return L".h264";
  if (has(L"MPEG Audio") || has(L"MPEG-1 Audio") || has(L"MP3") || has(L"Layer 3")) return L".mp3";
  if (has(L"AAC")) return L".aac";
  if (has(L"AC-3") || has(L"AC3")) return L".ac3";
  if (has(L"MPEG-4 Visual") || has(L"XviD") || has(L"DivX")) return L".cmp";
  return WideString();
}

// Today's MP4Box refuses "-aviraw"; its "-raw N" takes the AVI's track N, and names the
// file after the input only ("clip.mp3" for every audio stream, the second replacing the
// first). Each stream is given its own name with "-out": "clip_track3.mp3".
TOption CurrentAviOption(const TExtractRequest& r, const WideString& Status, bool IsVideo) {
  const int number = r.AviTrack > 0 ? r.AviTrack : IsVideo ? 1 : 2;
  const AnsiString raw = " -raw " + std::to_string(number);
  const WideString ext = AviStreamExtension(r.Row.Description);
  // A codec not known here: MP4Box names the file "<input name>.<its extension>"; no name
  // is checked ("clip.*" would find the input itself).
  if (ext.empty()) return {raw, Status};
  const WideString suffix = L"_track" + std::to_wstring(number) + ext;
  const WideString inputExt = WideExtractFileExt(r.Input);
  const WideString out = r.Input.substr(0, r.Input.size() - inputExt.size()) + suffix;
  return {raw + " -out " + PathArgument(out, r.Version), Status, {}, suffix};
}

TOption OptionOf(const TExtractRequest& r, const TNamedTexts& t) {
  const WideString name = WideExtractFileName(r.Input);
  const WideString video = t.MsgExtractRawVideo + L" " + name + L"...";
  const WideString audio = t.MsgExtractRawAudio + L" " + name + L"...";
  const G group = ExtractGroupOf(r.Input);
  const bool today = IsCurrentGeneration(r.Version);
  if (group == G::AVI) {
    const bool isVideo = r.Row.Index == L"video";
    if (today) return CurrentAviOption(r, isVideo ? video : audio, isVideo);
    return isVideo ? TOption{" -aviraw video", video, {}, L"_video.*"} : TOption{" -aviraw audio", audio, {}, L"_audio.*"};
  }
  if (group == G::Other) return {};
  // Extraction to AVI is hidden for today's tool; should it be asked for, the stream goes raw.
  const bool raw = r.Choice == X::Raw || r.Choice == X::RawAll || (today && r.Choice == X::AVI);
  const AnsiString index = " " + ValueText(r.Row.Index, r.Version);
  const WideString track = L"_track" + r.Row.Index;
  const WideString& type = r.Row.Type;
  if (type == L"video") {
    if (raw) return {" -raw" + index, video, {}, track + L".*"};
    if (r.Choice == X::MP4) return {" -single" + index, t.MsgEncapsulateVideoInMP4, {}, track + L".mp4"};
    return {" -avi" + index, t.MsgEncapsulateVideoInAVI, {}, track + L".avi"};
  }
  if (type == L"audio") return {(raw ? " -raw" : " -single") + index, audio, {}, track + (raw ? L".*" : L".mp4")};
  if (type == L"vobsub")
    return {(raw ? " -raw" : " -single") + index, t.MsgExtractVobSub + L" " + name + L"...", {}, track + L".*"};
  if (type == L"sub") {
    // Today's MP4Box names a text track's file "<name>_<N>_text.srt" (or ".ttxt").
    const WideString text = today ? L"_" + r.Row.Index + L"_text" : track;
    if (r.Choice == X::Raw)
      return {" -srt" + index, t.MsgExtractSubtitle + L" " + name + L" " + t.MsgToSRTFormat, {}, text + L".srt"};
    return {" -ttxt" + index, t.MsgExtractSubtitle + L" " + name + L" " + t.MsgToTTXTFormat, {}, text + L".ttxt"};
  }
  if (type == L"chap") {
    if (raw) return {"", t.MsgExtractChapters + L" " + name + L" " + t.MsgToOGMTextFormat, TChapterOutput::ChapterFile};
    return {"", t.MsgExtractChapters + L" " + name + L" " + t.MsgToCueSheetFormat, TChapterOutput::CueSheet};
  }
  return {};
}

}  // namespace

TExtractRun BuildExtractCommandLine(const TExtractRequest& Request, const TNamedTexts& Texts) {
  TOption option = OptionOf(Request, Texts);
  TExtractRun run;
  run.StatusText = option.Status;
  run.Chapters = option.Chapters;
  if (run.Chapters != TChapterOutput::None) return run;
  run.CommandLine = PathArgument(Request.MP4BoxPath, Request.Version) + option.Part;
  if (Request.Verbose) run.CommandLine += " -v";
  run.CommandLine += " " + PathArgument(Request.Input, Request.Version);
  if (!option.Suffix.empty()) {
    const WideString ext = WideExtractFileExt(Request.Input);
    run.Writes = Request.Input.substr(0, Request.Input.size() - ext.size()) + option.Suffix;
  }
  return run;
}

TExtractOptionView ExtractOptionsFor(TExtractGroup Group, const WideString& Type, const WideString& FirstVideoCodec,
                                     const WideString& FirstAudioCodec, const TNamedTexts& t,
                                     const TMP4BoxVersion& Version) {
  TExtractOptionView v;
  if (Group == G::MP4) {
    v.MP4Visible = true;
    if (Type == L"video") {
      v.RawCaption = t.ExtractToRAW;
      v.MP4Caption = t.ExtractToMP4;
      v.AVICaption = t.ExtractToAVI;
      // MP4Box puts only MPEG-4 video into an AVI file; this library says "AVC" for H.264.
      v.AVIVisible = FirstVideoCodec != L"H.264" && FirstVideoCodec != L"AVC";
      if (*v.AVIVisible && IsCurrentGeneration(Version)) {
        v.AVIVisible = false;
        v.Note = AviExtractNote;
      }
    } else if (Type == L"audio" || Type == L"vobsub") {
      v.RawCaption = t.ExtractToRAW;
      v.MP4Caption = t.ExtractToMP4;
      v.AVIVisible = false;
    } else if (Type == L"sub") {
      v.RawCaption = t.ExtractToSRT;
      v.MP4Caption = t.ExtractToTTXT;
      v.AVIVisible = false;
    } else {
      v.RawCaption = t.ExtractToOGM;
      v.MP4Caption = t.ExtractToCUE;
      v.AVIVisible = false;
    }
  } else if (Group == G::AVI || Group == G::TS) {
    if (Type == L"video") {
      v.RawCaption = t.ExtractVideoStream;
      v.MP4Visible = false;
      v.AVIVisible = false;
    } else if (Type == L"audio") {
      v.RawCaption = t.ExtractAudioStream;
      // Newer libraries spell AC3 "AC-3".
      v.MP4Visible = FirstAudioCodec != L"AC3" && FirstAudioCodec != L"AC-3";
      v.AVIVisible = false;
    }
  } else if (Type == L"video" || Type == L"audio") {
    v.RawCaption = t.ExtractToRAW;
    v.MP4Caption = t.ExtractToMP4;
    v.AVIVisible = false;
  }
  return v;
}

TJobStart ExtractJobStart(const TExtractJob& Job, const TNamedTexts& Texts) {
  const bool all = Job.Request.Choice == TExtractChoice::RawAll;
  TJobStart start;
  start.Mode = TJobMode::Extract;
  start.StepCount = all ? static_cast<int>(Job.Rows.size()) : 1;
  start.Steps = [Job, Texts, all, count = start.StepCount](int Step) -> std::optional<TRunRequest> {
    if (Step >= count) return std::nullopt;
    const int rowIndex = all ? Step : Job.Selected;
    if (rowIndex < 0 || rowIndex >= static_cast<int>(Job.Rows.size())) return std::nullopt;
    if (Job.RowStarting) Job.RowStarting(rowIndex);
    TExtractRequest request = Job.Request;
    request.Row = Job.Rows[rowIndex];
    // An AVI file's streams are MP4Box's tracks in the listing's order (video, then audio).
    if (ExtractGroupOf(request.Input) == TExtractGroup::AVI) request.AviTrack = rowIndex + 1;
    TExtractRun run = BuildExtractCommandLine(request, Texts);
    // The chapters are written before the step's row shows, as its first act.
    if (run.Chapters == TChapterOutput::ChapterFile) WriteChapterFile(ChapterFileOf(request.Input), Job.ChapterText);
    if (run.Chapters == TChapterOutput::CueSheet) WriteCueSheet(request.Input, Job.ChapterText);
    TRunRequest step;
    SetToolCommandLine(step, run.CommandLine, request.Version);
    if (!run.Writes.empty()) step.Writes = {{{run.Writes}}};
    step.Verbose = request.Verbose && !run.CommandLine.empty();
    if (!run.StatusText.empty()) step.Notes.push_back({run.StatusText, pekInformation, true});
    if (!run.CommandLine.empty())
      step.Notes.push_back({Texts.MsgCmdUsedForExtraction + L" : " + CommandLineText(step), pekInformation, false});
    if (Step > 0) step.Notes.push_back({Texts.MsgFilesSavedIn + WideExtractFilePath(request.Input), pekInformation, false});
    return step;
  };
  return start;
}

// What today's MP4Box writes from one input: split parts, extracted tracks, converted
// subtitles.
#include <cmath>

#include "mp4box/today_jobs.h"
#include "mp4box/today_output.h"
#include "mp4box/wide_names.h"

namespace standin {

namespace {

// An ISO input as split and extraction open it: a file without its index stops the run; a
// file whose media data is cut is read up to the cut (captures 2.10, 2.11, 5.19, 5.20).
TIsoFile OpenIso(const std::string& in) {
  TIsoFile iso = ProbeIso(in);
  if (!iso.HasMovie) {
    const uint64_t end = iso.CutStart + iso.CutSize;
    Say("Incomplete file - missing " + std::to_string(iso.Truncated() && end > iso.Size ? end - iso.Size : 0) +
            " bytes",
        "31");
    Refuse("Error opening file " + in + ": IsoMedia File is truncated");
  }
  if (iso.Truncated()) SayCutBox(iso, "[iso file] Incomplete file while reading for dump - aborting parsing");
  return iso;
}

void SayTruncated(const TTrack& t) {
  Say("[IsoMedia] File truncated, aborting read for track " + std::to_string(t.Id) + " after " +
      std::to_string(t.Available) + " / " + std::to_string(t.Samples) + " samples");
}

// The length of the video and audio in the file (a cut file's chapter track keeps its length).
double AvailableSeconds(const TIsoFile& iso) {
  double seconds = 0;
  for (const TTrack& t : iso.Tracks)
    if (t.Handler == "vide" || t.Handler == "soun")
      seconds = std::max(seconds, t.Samples ? t.Seconds * t.Available / t.Samples : t.Seconds);
  return seconds ? seconds : iso.Seconds;
}

// The names of the parts: <input>_001.mp4 ... for -splits and -split, <input>_<start>_<end>.mp4
// for -splitx (the times as typed); always .mp4, whatever the input's extension. Captures 2.1,
// 2.2, 2.3, 2.4 (names), 2.5-2.7 (.mp4 whatever the input), 2.13 (a part's name taken is
// replaced). -out with a folder puts them under a template made of the folder and the whole
// input path (capture 2.14, run under Wine, which made a folder named "D:" for it). Not
// captured on Windows, where no folder can have that name: the stand-in makes the folders
// where the system lets it, and otherwise fails each part as for a folder it cannot write.
std::vector<std::string> PartNames(const TTodayArgs& a, const TIsoFile& iso, const std::string& in) {
  std::string base = Base(in);
  if (!a.out.empty()) {
    if (a.out.back() == '\\' || a.out.back() == '/' || IsFolder(a.out)) {
      std::string folder = a.out;
      if (folder.back() != '\\' && folder.back() != '/') folder += "\\";
      base = folder + base;
      Say("Split output is a directory, will use template " + base + "_$num%03d$.mp4", "32");
    } else {
      // Not captured: -out with a file name on a split; the stand-in follows the rule of a
      // mux's split (capture 3.2) and names two parts, a count of its own.
      base = Base(a.out);
      Say("Split by size but output not a template, using " + base + "_$num$.mp4 as output");
      std::vector<std::string> names;
      for (int k = 1; k <= 2; ++k) names.push_back(base + "_" + std::to_string(k) + ".mp4");
      return names;
    }
  }
  if (a.split == "-splitx") {
    std::string range = a.splitValue;
    size_t colon = range.find(':');
    if (colon != std::string::npos) range[colon] = '_';
    return {base + "_" + range + ".mp4"};
  }
  const double limit = atof(a.splitValue.c_str());
  int parts = 1;
  if (limit > 0)
    parts = static_cast<int>(a.split == "-splits" ? std::ceil(iso.Size / (limit * 1024))
                                                  : std::ceil(AvailableSeconds(iso) / limit - 1e-9));
  parts = std::max(1, std::min(parts, 999));
  std::vector<std::string> names;
  for (int k = 1; k <= parts; ++k) {
    char suffix[16];
    snprintf(suffix, sizeof suffix, "_%03d.mp4", k);
    names.push_back(base + suffix);
  }
  return names;
}

}  // namespace

int TodaySplit(const TTodayArgs& a) {
  const std::string& in = Input(a);
  NeedFile(in);
  const TIsoFile iso = OpenIso(in);
  // A test's choice: a split that writes nothing and still ends with exit code 0.
  if (!Env("KAVO_MP4BOX_SPLIT_ABORT").empty()) return 0;
  const std::vector<std::string> names = PartNames(a, iso, in);
  const int n = static_cast<int>(names.size());
  bool failed = false;
  for (int k = 0; k < n; ++k) {
    SplitProgress(100.0 * k / n, 100.0 * (k + 1) / n);
    if (k + 1 == n)
      for (const TTrack& t : iso.Tracks)
        if (t.Available < t.Samples) SayTruncated(t);
    // A part that cannot be written: the run goes on, then fails (capture 8.6).
    if (!MakeFolderOf(names[k]) ||
        !WriteFileText(names[k], "KAVO-STANDIN SPLIT " + a.split + " " + a.splitValue + "\r\n")) {
      Say(CannotOpenLine(names[k], k + 2), "31");
      Say("[FileOut] cannot open output file " + names[k], "31");
      failed = true;
    }
    Say("splitting: file " + std::to_string(k + 1) + " done", "37");
  }
  if (failed) IoFailure("Split failed: I/O Error");
  return 0;
}

namespace {

struct TExport {
  std::string Name;         // the output
  std::string Describe;     // "Exporting ..." line, empty for none
  int Repeat = 1;           // how many times the tool prints it
  bool Wipe = true;         // the progress ends with a line of spaces
  const TTrack* Cut = nullptr;
};

// An AVI's stream N (the video is 1, the audio streams follow): <input>.264 for H.264 and
// <input>.mp3 for MP3, without the track number, so two MP3 streams give the same name
// (captures 5.8, 5.9, 5.14, 5.15; -out used as given: 5.10, 5.11, 5.18).
TExport AviExport(const std::string& in, int number) {
  const std::vector<TAviStream> streams = ProbeAvi(in);
  // Not captured: a stream the file does not have. The stand-in stops with exit code 1.
  if (number < 1 || number > static_cast<int>(streams.size()))
    Refuse("Error: track " + std::to_string(number) + " not found");
  const TAviStream& s = streams[number - 1];
  TExport e;
  e.Repeat = 2;
  e.Wipe = false;
  if (s.Video) {
    e.Name = Base(in) + ".264";
    e.Describe = "Exporting MPEG-4 AVC|H264 Video - Size " + std::to_string(s.Width) + "x" + std::to_string(s.Height);
  } else if (s.Codec == 0x55) {
    e.Name = Base(in) + ".mp3";
    e.Describe = "Exporting MPEG-1 Audio - SampleRate " + std::to_string(s.SampleRate) + " " +
                 std::to_string(s.Channels) + " channels 16 bits per sample";
  } else {
    // Not captured: other audio in an AVI. AAC gets the extension of an MP4's AAC track.
    e.Name = Base(in) + (s.Codec == 0xFF ? ".aac" : ".audio");
    e.Describe.clear();
  }
  return e;
}

// An ISO file's track N: <input>_trackN.264 for H.264, .aac for AAC, .tx3g for 3GPP text
// (captures 5.1, 5.2, 5.7, 5.17, 5.17b; -single: 5.3, 5.4).
TExport IsoExport(const TIsoFile& iso, const std::string& in, int number) {
  const TTrack* t = iso.Find(static_cast<uint32_t>(number));
  if (!t) Refuse("Error: track " + std::to_string(number) + " not found");  // not captured
  TExport e;
  e.Cut = t->Available < t->Samples ? t : nullptr;
  std::string ext;
  if (t->Codec == "avc1" || t->Codec == "avc3") {
    ext = ".264";
    e.Describe = "Exporting MPEG-4 AVC|H264 Video - Size " + std::to_string(t->Width) + "x" + std::to_string(t->Height);
  } else if (t->Codec == "mp4a") {
    ext = ".aac";
    e.Describe = "Exporting MPEG-4 AAC Audio - SampleRate " + std::to_string(t->SampleRate) + " " +
                 std::to_string(t->Channels) + " channels 16 bits per sample";
  } else if (t->Codec == "tx3g") {
    ext = ".tx3g";
    e.Describe = "Exporting Subtitle/text 3GPP/Apple Stream";
  } else {
    ext = "." + t->Codec;  // not captured: other codecs
  }
  e.Name = Base(in) + "_track" + std::to_string(number) + ext;
  return e;
}

int Raw(const TTodayArgs& a, const std::string& in) {
  const int number = atoi(a.raw.c_str());
  TExport e;
  if (LowerExt(in) == ".avi") {
    e = AviExport(in, number);
  } else {
    const TIsoFile iso = OpenIso(in);
    e = IsoExport(iso, in, number);
  }
  const std::string out = a.out.empty() ? e.Name : a.out;
  for (int i = 0; i < e.Repeat && !e.Describe.empty(); ++i) Say(e.Describe, "32");
  // An output that cannot be written stops the export (capture 8.7).
  if (!MakeFolderOf(out) || !WriteFileText(out, "KAVO-STANDIN -raw " + a.raw + "\r\n")) {
    Progress("Exporting: ", 0, 0, false);
    Say(CannotOpenLine(out, 1), "31");
    Say("[FileOut] cannot open output file " + out, "31");
    Progress("Exporting: ", 1);
    Say("", "31");
    Refuse("\tError: I/O Error");
  }
  if (e.Cut) {
    Progress("Exporting: ", 0, AvailablePercent(*e.Cut), false);
    SayTruncated(*e.Cut);
  } else {
    Progress("Exporting: ", 0, e.Wipe ? 100 : 99, e.Wipe);
  }
  return 0;
}

int Single(const TTodayArgs& a, const std::string& in) {
  const TIsoFile iso = OpenIso(in);
  const int number = atoi(a.single.c_str());
  if (!iso.Find(static_cast<uint32_t>(number))) Refuse("Error: track " + a.single + " not found");  // not captured
  const std::string out = a.out.empty() ? Base(in) + "_track" + a.single + ".mp4" : a.out;
  Progress("ISO File Export: ", 0);
  // Not captured for -single: an output that cannot be written; the stand-in fails as a new
  // file does (capture 8.5).
  if (!MakeFolderOf(out) || !WriteFileText(out, "KAVO-STANDIN -single " + a.single + "\r\n")) {
    Say(CannotOpenLine(out, 1), "31");
    IoFailure("Error: I/O Error");
  }
  Progress("ISO File Writing: ", 0);
  return 0;
}

void ExtractProgress(bool srt) {
  if (srt)
    Progress("SRT Extract: ", 11);
  else
    Progress("TTXT Extract: ", 0);
}

}  // namespace

int TodayExtract(const TTodayArgs& a) {
  const std::string& in = Input(a);
  // Not captured: extracting from a file that does not exist; the stand-in answers as -info.
  NeedFile(in);
  return a.raw.empty() ? Single(a, in) : Raw(a, in);
}

// -srt N / -ttxt N: a text track to <input>_N_text.srt / .ttxt. Without a number: the
// subtitle file converted to <input>.ttxt / .srt beside it (replacing a file of that name).
// Captures 5.5, 5.6, 7.1, 7.2.
int TodaySubtitles(const TTodayArgs& a) {
  const std::string& in = Input(a);
  NeedFile(in);
  const bool srt = a.subtitle == "-srt";
  const std::string ext = srt ? ".srt" : ".ttxt";
  std::string out;
  if (!a.subtitleTrack.empty()) {
    const TIsoFile iso = OpenIso(in);
    // Not captured: a track that is not text. The stand-in stops with exit code 1.
    const TTrack* t = iso.Find(static_cast<uint32_t>(atoi(a.subtitleTrack.c_str())));
    if (!t || (t->Handler != "sbtl" && t->Handler != "text"))
      Refuse("Error: track " + a.subtitleTrack + " is not a text track");
    out = a.out.empty() ? Base(in) + "_" + a.subtitleTrack + "_text" + ext : a.out;
  } else {
    out = a.out.empty() ? Base(in) + ext : a.out;
    Say("Track Importing Timed Text - Text track 400 x 60 font Serif (size 18) layer 0", "32");
    Progress("Import: ", 100);
    if (LowerExt(in) == ".srt") Progress("Import: ", 50);
  }
  ExtractProgress(srt);
  if (!MakeFolderOf(out) || !WriteFileText(out, "KAVO-STANDIN " + a.subtitle + " " + a.subtitleTrack + "\r\n")) {
    Say(CannotOpenLine(out, 1), "31");  // not captured
    IoFailure("Error: I/O Error");
  }
  Say("Conversion done", "32");
  return 0;
}

}  // namespace standin

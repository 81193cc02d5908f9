// -add, -cat and -new (with -itags, -3gp and -splits): imports and joins in the order given.
// Captures 3.1-3.8, 4a-4g, join-forms J1-J10, vfr-forms, 6a, 6fa, 8.3-8.5, 8.8.
#include <cmath>

#include "mp4box/import_value.h"
#include "mp4box/today_jobs.h"
#include "mp4box/today_output.h"
#include "mp4box/wide_names.h"

namespace standin {

namespace {

// A track of the file being made.
struct TDestination {
  std::string Handler;
  bool ForcedRate = false;  // imported with ":fps="
  bool Raw = false;         // from a raw stream (ADTS AAC, ...)
};

struct TMuxState {
  std::vector<TDestination> Tracks;
  std::string Description = "KAVO-STANDIN MP4 TODAY\r\n";
  uint64_t Bytes = 0;  // of media taken in
  double Seconds = 0;
  int TextWidth = 0, TextHeight = 0;  // of the first video, for a timed text import
  std::vector<std::string> FpsIgnoredFor;
};

std::string Options(const std::string& value) { return value.substr(ImportFileAndSelector(value).size()); }

bool HasForcedRate(const std::string& value) { return Options(value).find(":fps=") != std::string::npos; }

[[noreturn]] void Missing(const std::string& file, const char* verb) {
  Say("[Importer] Cannot load filter for input file \"" + file + "\"", "31");
  Say("Failure while importing media: Requested URL is not valid or cannot be found", "31");
  Refuse(std::string("Error ") + verb + " " + file + ": Requested URL is not valid or cannot be found");
}

// The tracks of an ISO file a value names: one by its number, or all of them.
std::vector<TTrack> Selected(const TIsoFile& iso, const std::string& value, const char* verb) {
  const std::string sel = Selector(value);
  if (sel.empty()) return iso.Tracks;
  const TTrack* t = IsNumber(sel) ? iso.Find(static_cast<uint32_t>(atoi(sel.c_str()))) : nullptr;
  if (!t && (sel == "video" || sel == "audio"))
    for (const TTrack& k : iso.Tracks)
      if (k.Handler == (sel == "video" ? "vide" : "soun")) {
        t = &k;
        break;
      }
  // Not captured: a track the file does not have. The stand-in stops with exit code 1.
  if (!t) Refuse(std::string("Error ") + verb + " " + value + ": Bad Parameter");
  return {*t};
}

// "IsoMedia import" of each track, with its progress; a track cut short says where it ends.
// Keep: the tracks become tracks of the new file (an -add); a -cat appends them afterwards.
void ImportIsoTracks(const std::string& file, const std::vector<TTrack>& tracks, bool forcedRate, TMuxState& s,
                     bool keep) {
  for (const TTrack& t : tracks) {
    Say("IsoMedia import " + NameOnly(file) + " - track ID " + std::to_string(t.Id) + " - " + TrackDescription(t),
        "37");
    if (t.Available < t.Samples) {
      Progress("Importing ISO File: ", 0, AvailablePercent(t), false);
      Say("[ISOM import] Incomplete file detected, aborting track #" + std::to_string(t.Id) + " import after " +
          std::to_string(t.Available) + " / " + std::to_string(t.Samples) + " samples");
    } else {
      Progress("Importing ISO File: ", 0);
    }
    s.Bytes += t.Bytes;
    s.Seconds = std::max(s.Seconds, t.Samples ? t.Seconds * t.Available / t.Samples : t.Seconds);
    if (t.Handler == "vide" && !s.TextWidth) {
      s.TextWidth = t.Width;
      s.TextHeight = t.Height;
    }
    if (forcedRate && t.Handler != "vide") {
      bool listed = false;
      for (const std::string& h : s.FpsIgnoredFor) listed = listed || h == t.Handler;
      if (!listed) s.FpsIgnoredFor.push_back(t.Handler);
    }
    if (keep) s.Tracks.push_back({t.Handler, forcedRate && t.Handler == "vide", false});
  }
}

// A raw stream's import line and progress; returns the kind of track it makes.
std::string ImportRaw(const std::string& value, TMuxState& s) {
  const std::string file = SourceFile(value);
  const std::string ext = LowerExt(file);
  s.Bytes += FileSize(file);
  if (ext == ".aac") {
    const TAdts adts = ProbeAdts(file);
    Say("Track Importing AAC  - SampleRate " + std::to_string(adts.SampleRate) + " Num Channels " +
            std::to_string(adts.Channels),
        "32");
    Progress("Import: ", 0, 99, false);
    return "soun";
  }
  if (ext == ".srt" || ext == ".ttxt" || ext == ".sub") {
    // The text box is the size of the film's first video; 400 x 60 without one (as when a
    // subtitle file is converted).
    const int w = s.TextWidth ? s.TextWidth : 400, h = s.TextWidth ? s.TextHeight : 60;
    Say("Track Importing Timed Text - Text track " + std::to_string(w) + " x " + std::to_string(h) +
            " font Serif (size 18) layer 0",
        "32");
    Progress("Import: ", 100);
    Progress("Import: ", 50);
    return "text";
  }
  if (ext == ".264" || ext == ".h264" || ext == ".avc") {
    // The size and rate in this line are not read from the stream; the tool's lines of
    // counts that follow the import ("AVC|H264 Import results: ...") are left out.
    Say("Track Importing MPEG-4 AVC - Width 320 Height 240 FPS 25/1 SAR 1/1", "32");
    Progress("Import: ", 0);
    return "vide";
  }
  // Not captured: MP3, AVI and the other raw imports. The stand-in prints the tool's form of
  // an import line and its progress.
  const std::string sel = Selector(value);
  if (ext == ".avi") {
    std::vector<TAviStream> streams = ProbeAvi(file);
    const bool audio = sel == "audio";
    for (const TAviStream& st : streams)
      if (st.Video != audio) {
        const std::string sound = st.Codec == 0x55 ? "MPEG-1 Audio - SampleRate " : "AAC  - SampleRate ";
        Say(audio ? "Track Importing " + sound + std::to_string(st.SampleRate) + " Num Channels " +
                        std::to_string(st.Channels)
                  : "Track Importing MPEG-4 AVC - Width " + std::to_string(st.Width) + " Height " +
                        std::to_string(st.Height) + " FPS 25/1 SAR 1/1",
            "32");
        break;
      }
    Progress("Import: ", 0);
    return audio ? "soun" : "vide";
  }
  if (ext == ".mp3" || ext == ".mpa") {
    Say("Track Importing MPEG-1 Audio - SampleRate 44100 Num Channels 2", "32");
    Progress("Import: ", 0);
    return "soun";
  }
  Progress("Import: ", 0);
  return "unknown";
}

void Add(const std::string& value, TMuxState& s) {
  const std::string file = SourceFile(value);
  if (!IsFile(file)) Missing(file, "importing");
  if (!IsIsoName(file)) {
    const std::string handler = ImportRaw(value, s);
    s.Tracks.push_back({handler, HasForcedRate(value) && handler == "vide", true});
    return;
  }
  const TIsoFile iso = ProbeIso(file);
  if (iso.Truncated()) SayCutBox(iso, "[iso file] Incomplete file while reading for dump - aborting parsing");
  // Not captured: an -add of a file without its index; as its -cat, with "importing".
  if (!iso.HasMovie) Refuse("Error importing " + file + ": IsoMedia File is truncated");
  ImportIsoTracks(file, Selected(iso, value, "importing"), HasForcedRate(value), s, true);
}

// The track a joined track goes into: the first of its kind made from an ISO file. A raw
// stream never joins one (an ADTS AAC file gets a track of its own next to the film's AAC
// track, capture J10); not captured for the other raw kinds, which the stand-in treats the
// same.
TDestination* DestinationFor(const std::string& handler, bool raw, TMuxState& s) {
  if (raw) return nullptr;
  for (TDestination& d : s.Tracks)
    if (d.Handler == handler && !d.Raw) return &d;
  return nullptr;
}

// Appends tracks of the given kinds; a track imported with ":fps=" refuses anything joined to it
// (captures 4a and J7 fail with "Bad Parameter"; 4d, an :fps= on the -cat only, passes).
void Append(const std::string& value, const std::vector<std::string>& handlers, bool raw, TMuxState& s) {
  Say("Appending file " + value, "32");
  for (const std::string& h : handlers)
    if (TDestination* d = DestinationFor(h, raw, s); d && d->ForcedRate)
      Refuse("Error appending " + value + ": Bad Parameter");
  const size_t n = handlers.size();
  for (size_t i = 0; i < n; ++i) {
    if (!DestinationFor(handlers[i], raw, s)) {
      Say("No suitable destination track found - creating new one (type " + handlers[i] + ")", "32");
      s.Tracks.push_back({handlers[i], false, raw});
    }
    Progress("Appending: ", static_cast<int>(100 * i / n), static_cast<int>(100 * (i + 1) / n), i + 1 == n);
  }
  if (!n) Progress("Appending: ", 0);
}

void Cat(const std::string& value, TMuxState& s) {
  const std::string file = SourceFile(value);
  if (!IsFile(file)) Missing(file, "appending");
  if (!IsIsoName(file)) {
    const std::string handler = ImportRaw(value, s);
    Append(value, {handler}, true, s);
    return;
  }
  const TIsoFile iso = ProbeIso(file);
  const bool oneTrack = !Selector(value).empty();
  if (!iso.HasMovie && oneTrack) {
    Say("[IsoMedia] error while opening " + file + ", error=Invalid IsoMedia File", "31");
    Say("Filter fin failed to setup: Invalid IsoMedia File", "31");
    Say("[Importer] Error probing " + file, "31");
    Say("Failure while importing import: Invalid IsoMedia File", "31");
    Refuse("Error appending " + value + ": Invalid IsoMedia File");
  }
  if (!iso.HasMovie) Refuse("Error appending " + value + ": IsoMedia File is truncated");
  if (iso.Truncated()) {
    SayCutBox(iso, "[iso file] Incomplete MDAT while file is not read-only");
    Refuse("Error appending " + value + ": Invalid IsoMedia File");
  }
  const std::vector<TTrack> tracks = Selected(iso, value, "appending");
  if (oneTrack) ImportIsoTracks(file, tracks, false, s, false);
  std::vector<std::string> handlers;
  for (const TTrack& t : tracks) {
    handlers.push_back(t.Handler);
    if (!oneTrack) {
      s.Bytes += t.Bytes;
      s.Seconds = std::max(s.Seconds, t.Seconds);
    }
  }
  Append(value, handlers, false, s);
}

// -splits of the new file: parts named <output>_N.mp4 whatever the output's extension, no
// 3GP conversion (captures 3.2, 3.4). The number of parts is the media taken in over the
// size (the tool's own estimate differs a little). Not captured: -split or -splitx on a mux;
// the stand-in names their parts the same way.
int SplitMux(const TTodayArgs& a, const std::string& out, const TMuxState& s) {
  const std::string base = Base(out);
  Say("Split by size but output not a template, using " + base + "_$num$.mp4 as output");
  // A test's choice: a split that writes nothing and still ends with exit code 0.
  if (!Env("KAVO_MP4BOX_SPLIT_ABORT").empty()) return 0;
  int parts = 1;
  const double limit = atof(a.splitValue.c_str());
  if (a.split == "-splits" && limit > 0) parts = static_cast<int>(std::ceil(s.Bytes / (limit * 1024)));
  if (a.split == "-split" && limit > 0) parts = static_cast<int>(std::ceil(s.Seconds / limit));
  parts = std::max(1, std::min(parts, 500));
  for (int k = 1; k <= parts; ++k) {
    SplitProgress(100.0 * (k - 1) / parts, 100.0 * k / parts);
    const std::string part = base + "_" + std::to_string(k) + ".mp4";
    // Not captured: a part of a mux's split that cannot be written. The stand-in says so and
    // still ends with exit code 0, the worst the tool could do; the job looks for its parts.
    if (!MakeFolderOf(part) || !WriteFileText(part, s.Description)) {
      Say(CannotOpenLine(part, k), "31");
      Say("[FileOut] cannot open output file " + part, "31");
    }
    Say("splitting: file " + std::to_string(k) + " done", "37");
  }
  return 0;
}

}  // namespace

int TodayMux(const TTodayArgs& a) {
  std::string out = !a.newFile.empty() ? a.newFile : a.positional.empty() ? std::string() : a.positional.back();
  if (out.empty()) Refuse("Error: no output file");  // not captured
  // The temporary folder is made when missing, and left behind.
  if (!a.tmp.empty()) MakeFolderOf(a.tmp + (a.tmp.back() == '\\' ? "" : "\\"));
  TMuxState s;
  for (const auto& [o, v] : a.imports) {
    s.Description += o + " " + v + "\r\n";
    if (o == "-cat")
      Cat(v, s);
    else
      Add(v, s);  // -chap: not captured; imported as -add
  }
  for (const std::string& h : s.FpsIgnoredFor) Say("Cannot force FPS for media types " + h + " - ignoring");
  if (!a.itags.empty()) {
    // Tags on an .m4a output set it up as an iTunes file; an .mp4 output gets no such line.
    // Not captured: the other extensions, and an .m4a output without tags.
    if (LowerExt(out) == ".m4a") Say("Setting up iTunes/iPod file", "32");
    s.Description += "-itags " + a.itags + "\r\n";
  }
  if (!a.split.empty()) return SplitMux(a, out, s);
  if (a.threeGp) {
    Say("Converting to 3GP file", "32");
    Say("[3GPP convert] Setting major brand to 3GPP Generic file", "32");
  }
  SaySaving(out, "0.500 secs Interleaving");
  if (!MakeFolderOf(out) || !WriteFileText(out, s.Description)) {
    Say(CannotOpenLine(out, 1), "31");
    IoFailure("Error: I/O Error");
  }
  Progress("ISO File Writing: ", 0);
  return 0;
}

}  // namespace standin

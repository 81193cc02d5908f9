// Today's behaviour, as captured from MP4Box 26.08-DEV (GPAC) for the command lines the
// program builds: the files it writes and where, its exit codes, its problem lines and its
// progress. Where the captures show nothing, the stand-in says so beside the code and does
// the least it can. The outputs hold a short description, not media (a tagged file is a copy
// of its input).
#include "mp4box/today_mode.h"

#include <shellapi.h>

#include <set>

#include "mp4box/import_value.h"
#include "mp4box/today_jobs.h"
#include "mp4box/today_output.h"
#include "mp4box/wide_names.h"

namespace standin {

bool IsIsoName(const std::string& name) {
  static const std::set<std::string> iso = {".mp4", ".m4a", ".m4v", ".m4b", ".mov", ".3gp", ".3g2"};
  return iso.count(LowerExt(name)) > 0;
}

std::string TrackDescription(const TTrack& t) {
  if (t.Handler == "vide")
    return "Video (size " + std::to_string(t.Width) + " x " + std::to_string(t.Height) + ")";
  if (t.Handler == "soun")
    return "Audio (SR " + std::to_string(t.SampleRate) + " - " + std::to_string(t.Channels) + " channels)";
  return "media type \"" + t.Handler + ":" + t.Codec + "\"";
}

int AvailablePercent(const TTrack& t) { return t.Samples ? static_cast<int>(100ull * t.Available / t.Samples) : 100; }

void SayCutBox(const TIsoFile& iso, const std::string& next) {
  Say("[iso file] Incomplete box " + iso.CutBox + " - start " + std::to_string(iso.CutStart) + " size " +
      std::to_string(iso.CutSize));
  Say(next);
}

const std::string& Input(const TTodayArgs& a) {
  if (a.positional.empty()) Refuse("Error: no input file");  // not captured
  return a.positional.back();
}

void NeedFile(const std::string& name) {
  if (!IsFile(name)) Refuse("Error opening file " + name + ": Requested URL is not valid or cannot be found");
}

namespace {

void Banner() {
  Err("MP4Box - GPAC version " + PrintedVersion() + "\n(c) the stand-in's authors\n");
}

TTodayArgs Parse(const std::vector<std::string>& argv) {
  static const std::set<std::string> plain = {"-ipod", "-isma", "-psp", "-hint", "-flat", "-v"};
  static const std::set<std::string> valued = {"-brand", "-inter", "-cprt"};
  TTodayArgs a;
  for (size_t i = 1; i < argv.size(); ++i) {
    const std::string& o = argv[i];
    auto next = [&]() -> std::string {
      // Not captured: an option without its value. The stand-in stops with exit code 1.
      if (i + 1 >= argv.size()) Refuse("Missing argument for option " + o);
      return argv[++i];
    };
    if (o == "-aviraw") Refuse("`-aviraw` option deprecated, use `-raw`");
    if (o == "-avi") Refuse("`-avi` option deprecated, use `-mux`");
    if (o.empty() || o[0] != '-') a.positional.push_back(o);
    else if (o == "-3gp") a.threeGp = true;
    else if (plain.count(o)) {
    } else if (valued.count(o)) next();
    else if (o == "-tmp") a.tmp = next();
    else if (o == "-add" || o == "-cat" || o == "-chap") a.imports.push_back({o, next()});
    else if (o == "-new") a.newFile = next();
    else if (o == "-out") a.out = next();
    else if (o == "-itags") a.itags = next();
    else if (o == "-splits" || o == "-split" || o == "-splitx") {
      a.split = o;
      a.splitValue = next();
    } else if (o == "-srt" || o == "-ttxt") {
      // A track number extracts that track; without one, the input file is converted.
      a.subtitle = o;
      if (i + 1 < argv.size() && IsNumber(argv[i + 1])) a.subtitleTrack = argv[++i];
    } else if (o == "-raw") a.raw = next();
    else if (o == "-single") a.single = next();
    else if (o == "-info") {
      a.infoAsked = true;
      if (i + 1 < argv.size() && IsNumber(argv[i + 1])) a.infoTrack = argv[++i];
    } else {
      // The tool then lists options whose names are near on standard output; the stand-in
      // does not.
      Say("Option " + o + " unknown, please check usage.", "31");
      Refuse("Possible options are:");
    }
  }
  return a;
}

// The answer is the stand-in's own short form (no tags, no codecs): it is what the program
// reads of it.
int Info(const TTodayArgs& a) {
  NeedFile(Input(a));
  Err("# Movie Info - 2 tracks - TimeScale 1000\nDuration 00:00:10.000\n");
  if (!a.infoTrack.empty()) Err("# Track " + a.infoTrack + " Info - ID " + a.infoTrack + " - TimeScale 12800\n");
  return 0;
}

}  // namespace

// -itags without -add: the file is rewritten in place, or written to -out with the input
// left alone (captures 6b-6e, 6fb-6fd, tag-forms). The stand-in keeps the media as it is (the
// tags are not stored).
int TodayTags(const TTodayArgs& a) {
  const std::string& in = Input(a);
  // Not captured: tagging a file that does not exist; the stand-in answers as -info does.
  NeedFile(in);
  if (IsIsoName(in)) {
    const TIsoFile iso = ProbeIso(in);
    if (iso.Truncated()) {
      SayCutBox(iso, "[iso file] Incomplete MDAT while file is not read-only");
      Refuse("Error opening file " + in + ": Invalid IsoMedia File");
    }
    if (!iso.HasMovie) {  // not captured for tagging: as the split of such a file
      Say("Incomplete file - missing 0 bytes", "31");
      Refuse("Error opening file " + in + ": IsoMedia File is truncated");
    }
  }
  if (!a.tmp.empty()) MakeFolderOf(a.tmp + (a.tmp.back() == '\\' ? "" : "\\"));
  const std::string media = ReadWholeFile(in);
  if (a.out.empty()) {
    SaySaving(in, "In-place rewrite");
    if (!WriteFileText(in, media)) IoFailure("Error: I/O Error");
    return 0;
  }
  Say("0.500 secs Interleaving", "37");
  if (!MakeFolderOf(a.out) || !WriteFileText(a.out, media)) {
    Say(CannotOpenLine(a.out, 1), "31");
    IoFailure("Error: I/O Error");
  }
  Progress("ISO File Writing: ", 0);
  return 0;
}

}  // namespace standin

using namespace standin;

int TodayMain() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(Utf8(wide[i]));
  LocalFree(wide);
  // The version query is answered, not recorded.
  if (args.size() == 2 && args[1] == "-version") {
    Banner();
    return 0;
  }
  std::vector<char*> argv;
  for (std::string& s : args) argv.push_back(s.data());
  RecordArguments("MP4Box.exe", static_cast<int>(argv.size()), argv.data());
  if (args.size() < 2) {
    Say("Not enough arguments - check usage with -h", "31");
    Banner();
    return 0;
  }
  TTodayArgs a = Parse(args);
  Behaviour().Begin();
  if (a.infoAsked) return Info(a);
  if (!a.imports.empty()) return TodayMux(a);
  if (!a.split.empty()) return TodaySplit(a);
  if (!a.raw.empty() || !a.single.empty()) return TodayExtract(a);
  if (!a.subtitle.empty()) return TodaySubtitles(a);
  if (!a.itags.empty()) return TodayTags(a);
  Refuse("Error: nothing to do");  // not captured
}

// A stand-in for MP4Box, used by the tests: it answers the command lines the program builds
// the way the real tool does as far as the program reads it (stage lines with progress
// rewritten by CR, split progress in both forms, "-info" text, "Error " lines and exit codes), and
// writes real (small) output files. This file is the older tool (version 0.4.5 unless
// KAVO_MP4BOX_VERSION says otherwise); today_mode.cpp is today's.
#include <set>

#include "mp4box/import_value.h"
#include "mp4box/today_mode.h"
#include "standin/standin.h"

using namespace standin;

namespace {

TBehaviour behaviour("KAVO_MP4BOX_");

// Prints one stage: its first line, progress rewritten by CR, then its last line.
void Stage(const std::string& name) {
  auto line = [&](int p) {
    char tail[32];
    snprintf(tail, sizeof tail, "| (%02d/100)", p);
    return name + "|" + std::string(p / 5, '=') + std::string(20 - p / 5, ' ') + tail;
  };
  std::string stall = Env("KAVO_MP4BOX_STALL");
  behaviour.StageBegins(line(1), line(stall.empty() ? 0 : atoi(stall.c_str())));
  for (int p : {1, 25, 50, 75}) Out(line(p) + "\r");
  Out(line(100) + "\n");
}

std::vector<std::string> ImportStages(const std::string& value) {
  std::string ext = LowerExt(SourceFile(value));
  std::string sel = Selector(value);
  if (ext == ".avi") {
    if (sel == "video") return {"Importing AVI Video: "};
    if (sel == "audio") return {"Importing AVI Audio: "};
    return {"Importing AVI Video: ", "Importing AVI Audio: "};
  }
  if (ext == ".ogg") {
    if (sel == "audio") return {"Importing OGG Audio: "};
    if (sel == "video") return {"Importing OGG Video: "};
    return {"Importing OGG Video: ", "Importing OGG Audio: "};
  }
  static const std::pair<const char*, const char*> byExt[] = {
      {".mp4", "Importing ISO File: "},     {".m4a", "Importing ISO File: "},  {".m4b", "Importing ISO File: "},
      {".mov", "Importing ISO File: "},     {".3gp", "Importing ISO File: "},  {".3g2", "Importing ISO File: "},
      {".idx", "Importing VobSub: "},       {".srt", "Importing SRT: "},       {".ttxt", "Importing TTXT: "},
      {".aac", "Importing AAC: "},          {".jpg", "Importing Image: "},     {".jpeg", "Importing Image: "},
      {".m4v", "Importing M4V: "},          {".cmp", "Importing M4V: "},       {".mpg", "Importing MPEG-PS Video: "},
      {".mpeg", "Importing MPEG-PS Video: "}, {".vob", "Importing MPEG-PS Video: "},
      {".vcd", "Importing MPEG-PS Video: "}, {".m1v", "Importing MPEG-PS Video: "},
      {".m2v", "Importing MPEG-PS Video: "}, {".mp2", "Importing MPEG-PS Audio: "},
      {".ts", "Importing MPEG-2 TS: "},     {".mp3", "Importing MP3: "},       {".mpa", "Importing MP3: "},
      {".264", "Importing AVC-H264: "},     {".h264", "Importing AVC-H264: "}, {".nhnt", "Importing NHNT: "},
      {".media", "Importing NHNT: "},       {".info", "Importing NHNT: "},     {".nhml", "Importing NHML: "},
      {".amr", "Importing AMR: "},          {".evc", "Importing EVRC: "},      {".smv", "Importing SMV: "},
      {".awb", "Importing AMR-WB: "},       {".qcp", "Importing QCP: "},       {".263", "Importing H263: "},
      {".h263", "Importing H263: "},        {".saf", "Importing SAF: "},
      {".xml", "Importing TeXML: "},
  };
  for (const auto& [e, stage] : byExt)
    if (ext == e) return {stage};
  return {};
}

[[noreturn]] void Fail(const std::string& message) {
  Out(message + "\n");
  exit(1);
}

struct TArgs {
  std::vector<std::pair<std::string, std::string>> imports;  // option, value (-add, -cat, -chap)
  std::vector<std::string> positional;
  std::string newFile, itags, tmp, splitOption, splitValue, extractOption, extractValue;
  bool info = false;
  std::string infoTrack;
  std::vector<std::string> flags;  // options without value, as given
};

TArgs Parse(int argc, char** argv) {
  static const std::set<std::string> plain = {"-ipod", "-isma", "-psp", "-hint", "-flat", "-3gp", "-v"};
  static const std::set<std::string> valued = {"-brand", "-inter", "-cprt", "-tmp"};
  TArgs a;
  for (int i = 1; i < argc; ++i) {
    std::string o = argv[i];
    bool hasNext = i + 1 < argc;
    auto next = [&]() -> std::string {
      if (!hasNext) Fail("Error - missing argument after " + o);
      return argv[++i];
    };
    if (o.empty() || o[0] != '-') {
      a.positional.push_back(o);
    } else if (plain.count(o)) {
      a.flags.push_back(o);
    } else if (valued.count(o)) {
      std::string v = next();
      if (o == "-tmp") a.tmp = v;
    } else if (o == "-add" || o == "-cat" || o == "-chap") {
      a.imports.push_back({o, next()});
    } else if (o == "-new") {
      a.newFile = next();
    } else if (o == "-itags") {
      a.itags = next();
    } else if (o == "-splits" || o == "-split" || o == "-splitx") {
      a.splitOption = o;
      a.splitValue = next();
    } else if (o == "-aviraw") {
      a.extractOption = o;
      a.extractValue = next();
      if (a.extractValue != "video" && a.extractValue != "audio") Fail("Error - -aviraw takes video or audio");
    } else if (o == "-raw" || o == "-single" || o == "-avi") {
      a.extractOption = o;
      a.extractValue = next();
      if (!IsNumber(a.extractValue)) Fail("Error - " + o + " needs a track number");
    } else if (o == "-srt" || o == "-ttxt") {
      // A track number extracts that track; without one, the input file is converted.
      a.extractOption = o;
      if (hasNext && IsNumber(argv[i + 1])) a.extractValue = argv[++i];
    } else if (o == "-info") {
      a.info = true;
      if (hasNext && IsNumber(argv[i + 1])) a.infoTrack = argv[++i];
    } else {
      Fail("Error parsing the arguments: option " + o + " unknown");
    }
  }
  return a;
}

void NeedInput(const std::string& name) {
  if (!FileExists(name)) Fail("Error opening file " + name + ": Requested URL is not valid or cannot be found");
}

void Write(const std::string& name, const std::string& text) {
  if (!WriteWholeFile(name, text)) Fail("Error creating file " + name + ": I/O Error");
}

// Makes the folder of a new file and the folders above it, as MP4Box does for its output.
void MakeFolderOf(const std::string& file) {
  size_t slash = file.find_last_of("\\/");
  if (slash == std::string::npos || slash == 0) return;
  std::string folder = file.substr(0, slash);
  if (folder.size() <= 2 && folder.back() == ':') return;  // a drive's root
  DWORD a = GetFileAttributesA(folder.c_str());
  if (a != INVALID_FILE_ATTRIBUTES) return;
  MakeFolderOf(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
}

std::string Describe(const TArgs& a) {
  std::string s = "KAVO-STANDIN MP4\r\n";
  for (const auto& [o, v] : a.imports) s += o + " " + v + "\r\n";
  for (const auto& f : a.flags) s += f + "\r\n";
  if (!a.itags.empty()) s += "-itags " + a.itags + "\r\n";
  return s;
}

int Mux(const TArgs& a) {
  std::string out = !a.newFile.empty() ? a.newFile : a.positional.empty() ? std::string() : a.positional.back();
  if (out.empty()) Fail("Error - no output file");
  for (const auto& [o, v] : a.imports) NeedInput(SourceFile(v));
  for (const auto& [o, v] : a.imports) {
    if (o == "-cat")
      Stage("Appending: ");
    else if (o == "-add")
      for (const std::string& s : ImportStages(v)) Stage(s);
  }
  Stage("ISO File Writing: ");
  MakeFolderOf(out);
  Write(out, Describe(a));
  return 0;
}

// The parts of -splits: as many as the size makes of the input (at least 1, at most 20);
// -split: 2.
int PartCount(const TArgs& a, const std::string& in) {
  if (a.splitOption != "-splits") return 2;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(in.c_str(), GetFileExInfoStandard, &data)) return 1;
  const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  const unsigned long long part = strtoull(a.splitValue.c_str(), nullptr, 10) * 1024;
  if (part == 0) return 1;
  const unsigned long long parts = (size + part - 1) / part;
  return parts < 1 ? 1 : parts > 20 ? 20 : static_cast<int>(parts);
}

// Both forms of split progress: the older stage line, then today's "splitting:  N.NN %"
// rewritten by CR and "splitting: file N done" for each part. The parts are named as
// MP4Box names them: in_001.mp4, ... for -splits and -split; in_<start>_<end>.mp4 for
// -splitx start:end.
int Split(const TArgs& a) {
  if (a.positional.empty()) Fail("Error - no input file");
  const std::string& in = a.positional.back();
  NeedInput(in);
  std::vector<std::string> names;
  if (a.splitOption == "-splitx") {
    const size_t colon = a.splitValue.find(':');
    if (colon == std::string::npos) Fail("Error - -splitx needs start:end");
    names.push_back(Base(in) + "_" + a.splitValue.substr(0, colon) + "_" + a.splitValue.substr(colon + 1) + LowerExt(in));
  } else {
    const int parts = PartCount(a, in);
    for (int k = 1; k <= parts; ++k) {
      char suffix[16];
      snprintf(suffix, sizeof suffix, "_%03d", k);
      names.push_back(Base(in) + suffix + LowerExt(in));
    }
  }
  Stage("Splitting: ");
  const int count = static_cast<int>(names.size());
  for (int k = 0; k < count; ++k) {
    for (int step = 0; step < 4; ++step) {
      char line[64];
      snprintf(line, sizeof line, "splitting:  %.2f %%\r", (k * 4 + step) * 100.0 / (count * 4));
      Out(line);
    }
    Write(names[k], "KAVO-STANDIN SPLIT " + a.splitOption + " " + a.splitValue + "\r\n");
    Out("splitting: file " + std::to_string(k + 1) + " done\n");
  }
  return 0;
}

int Extract(const TArgs& a) {
  if (a.positional.empty()) Fail("Error - no input file");
  const std::string& in = a.positional.back();
  NeedInput(in);
  std::string out;
  if (a.extractOption == "-aviraw")
    out = Base(in) + (a.extractValue == "video" ? "_video.h264" : "_audio.mp3");
  else if (a.extractValue.empty())  // a subtitle conversion
    out = Base(in) + (a.extractOption == "-srt" ? ".srt" : ".ttxt");
  else {
    static const std::pair<const char*, const char*> ext[] = {
        {"-raw", ".raw"}, {"-single", ".mp4"}, {"-avi", ".avi"}, {"-srt", ".srt"}, {"-ttxt", ".ttxt"}};
    for (const auto& [o, e] : ext)
      if (a.extractOption == o) out = Base(in) + "_track" + a.extractValue + e;
  }
  Stage("ISO File Export: ");
  Write(out, "KAVO-STANDIN " + a.extractOption + " " + a.extractValue + "\r\n");
  return 0;
}

int Info(const TArgs& a) {
  if (a.positional.empty()) Fail("Error - no input file");
  NeedInput(a.positional.back());
  Out("* Movie Info *\n");
  // A slow answer: the rest comes after this many milliseconds.
  std::string delay = Env("KAVO_MP4BOX_INFO_DELAY");
  if (!delay.empty()) Sleep(static_cast<DWORD>(atoi(delay.c_str())));
  Out("\tTimescale 600 - Duration 00:00:10.000\n\t2 track(s)\n");
  if (!a.infoTrack.empty()) Out("Track # " + a.infoTrack + " Info - TrackID " + a.infoTrack + "\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The version it prints chooses how it behaves: the older tool, or today's.
  if (IsTodayVersion(PrintedVersion())) return TodayMain();
  // The version query is answered, not recorded.
  if (argc == 2 && std::string(argv[1]) == "-version") {
    Out("MP4Box - GPAC version " + PrintedVersion() + "\nGPAC Copyright: (c) the stand-in's authors\n");
    return 0;
  }
  RecordArguments("MP4Box.exe", argc, argv);
  TArgs a = Parse(argc, argv);
  behaviour.Begin();
  if (a.info) return Info(a);
  if (!a.imports.empty()) return Mux(a);
  if (!a.splitOption.empty()) return Split(a);
  if (!a.extractOption.empty()) return Extract(a);
  if (a.positional.empty()) Fail("Error - nothing to do");
  return 0;
}

#include "mp4box/today_mode.h"

#include <shellapi.h>

#include <set>

#include "mp4box/import_value.h"

using namespace standin;

namespace {

TBehaviour behaviour("KAVO_MP4BOX_");

std::wstring Wide(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

std::string Utf8(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

// Everything goes to standard error.
void Err(const std::string& s) {
  fwrite(s.data(), 1, s.size(), stderr);
  fflush(stderr);
}

// A message line, coloured as the tool colours it under a shell.
void Say(const std::string& text, const char* colour = "32") {
  static const bool coloured = !Env("SHELL").empty();
  if (coloured)
    Err(std::string("\x1b[") + colour + "m" + text + "\n\x1b[0m");
  else
    Err(text + "\n");
}

[[noreturn]] void Refuse(const std::string& text) {
  Say(text, "31");
  exit(1);
}

bool Exists(const std::string& name) {
  DWORD a = GetFileAttributesW(Wide(name).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void Write(const std::string& name, const std::string& text) {
  HANDLE f = CreateFileW(Wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  bool ok = f != INVALID_HANDLE_VALUE &&
            (text.empty() || WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  if (!ok || written != text.size()) Refuse("Error: I/O Error");
}

void NeedInput(const std::string& name) {
  if (Exists(name)) return;
  Say("[Importer] Cannot load filter for input file \"" + name + "\"", "31");
  Say("Failure while importing media: Requested URL is not valid or cannot be found", "31");
  Refuse("Error importing " + name + ": Requested URL is not valid or cannot be found");
}

// "Title: |====      | (NN/100)" rewritten by CR from First to 100, then a blank line over it.
void Progress(const std::string& title, int first) {
  auto line = [&](int p) {
    char tail[32];
    snprintf(tail, sizeof tail, "| (%02d/100)", p);
    return title + "|" + std::string(p / 5, '=') + std::string(20 - p / 5, ' ') + tail;
  };
  std::string stall = Env("KAVO_MP4BOX_STALL");
  behaviour.StageBegins(line(first), line(stall.empty() ? 0 : atoi(stall.c_str())));
  // The tool prints every value; a few of them do here, the first two always.
  for (int p = first; p < 100; p += p <= first ? 1 : 9) Err(line(p) + "\r");
  Err(line(100) + "\r" + std::string(title.size() + 26, ' ') + "\r");
}

void SplitProgress(int parts) {
  for (int k = 1; k <= parts; ++k) {
    for (int step = 0; step < 4; ++step) {
      char pct[32];
      snprintf(pct, sizeof pct, "splitting: %6.2f %%\r", (k - 1 + step / 4.0) * 100.0 / parts);
      Err(pct);
    }
    Err("splitting: file " + std::to_string(k) + " done\n");
  }
}

struct TArgs {
  std::vector<std::pair<std::string, std::string>> imports;
  std::vector<std::string> positional;
  std::string out, newFile, itags, split, splitValue, raw, single, info, subtitle, subtitleTrack;
  bool infoAsked = false;
};

TArgs Parse(const std::vector<std::string>& argv) {
  static const std::set<std::string> plain = {"-ipod", "-isma", "-psp", "-hint", "-flat", "-3gp", "-v"};
  static const std::set<std::string> valued = {"-brand", "-inter", "-cprt", "-tmp"};
  TArgs a;
  for (size_t i = 1; i < argv.size(); ++i) {
    const std::string& o = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argv.size()) Refuse("Missing argument for option " + o);
      return argv[++i];
    };
    if (o == "-aviraw") Refuse("-aviraw option deprecated, use -raw");
    if (o == "-avi") Refuse("-avi option deprecated, use -mux");
    if (o.empty() || o[0] != '-') a.positional.push_back(o);
    else if (plain.count(o)) {
    } else if (valued.count(o)) next();
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
      if (i + 1 < argv.size() && IsNumber(argv[i + 1])) a.info = argv[++i];
    } else Refuse("Option " + o + " unknown. Please check usage");
  }
  return a;
}

// Sets the tags the way today's tool does: unknown keys and bad values are reported, and the
// run goes on (exit code 0).
std::string ApplyTags(const std::string& itags) {
  static const std::set<std::string> keys = {"name",     "artist",  "album",  "created",     "cover",  "genre",
                                             "writer",   "disk",    "tracknum", "track",     "tempo",  "composer",
                                             "encoder",  "group",   "tool",   "comment", "compilation", "gapless"};
  std::string stored;
  size_t from = 0;
  while (from <= itags.size()) {
    size_t colon = itags.find(':', from);
    std::string piece = itags.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
    from = colon == std::string::npos ? itags.size() + 1 : colon + 1;
    std::string key = piece.substr(0, piece.find('='));
    std::string value = piece.find('=') == std::string::npos ? std::string() : piece.substr(piece.find('=') + 1);
    if (!keys.count(key)) {
      Say("Unrecognize tag \"" + key + "\", assuming part of previous tag", "33");
      continue;
    }
    if ((key == "disk" || key == "tracknum") && (value.empty() || value[0] == '/')) {
      Say("Error assigning tag " + piece + ": Bad Parameter", "31");
      continue;
    }
    stored += "tag " + key + "=" + value + "\r\n";
  }
  return stored;
}

std::string PartName(const std::string& base, const std::string& suffix, const std::string& ext) {
  return base + suffix + ext;
}

int Mux(const TArgs& a) {
  std::string out = !a.newFile.empty() ? a.newFile : a.positional.empty() ? std::string() : a.positional.back();
  if (out.empty()) Refuse("Error: no output file");
  for (const auto& [o, v] : a.imports) NeedInput(SourceFile(v));
  std::string described = "KAVO-STANDIN MP4 TODAY\r\n";
  for (const auto& [o, v] : a.imports) {
    described += o + " " + v + "\r\n";
    std::string ext = LowerExt(SourceFile(v));
    if (ext == ".mp4" || ext == ".m4a" || ext == ".mov" || ext == ".3gp") {
      Say("IsoMedia import " + SourceFile(v) + " - track ID 1 - Audio (SR 44100 - 1 channels)", "37");
      Progress("Importing ISO File: ", 0);
    } else {
      const std::string sel = Selector(v);
      const bool avc = ext == ".264" || ext == ".h264" || (ext == ".avi" && sel != "audio");
      const bool mp3 = ext == ".mp3" || (ext == ".avi" && sel == "audio");
      Say(std::string("Track Importing ") +
          (avc ? "MPEG-4 AVC - Width 320 Height 240 FPS 25/1 SAR 1/1"
               : mp3 ? "MPEG-1 Audio - SampleRate 44100 Num Channels 2"
                     : ext == ".aac" ? "AAC  - SampleRate 44100 Num Channels 1" : "Timed Text - Text track 320 x 240"));
      Progress("Import: ", avc ? 11 : 0);
    }
  }
  if (!a.itags.empty()) described += ApplyTags(a.itags);
  if (!a.split.empty()) {
    const std::string base = Base(out), ext = LowerExt(out);
    Say("Split by size but output not a template, using " + base + "_$num$" + ext + " as output", "33");
    if (!Env("KAVO_MP4BOX_SPLIT_ABORT").empty()) {
      Say("[MP4Mux] Session aborted before writing to file", "31");
      return 0;
    }
    SplitProgress(2);
    for (int k = 1; k <= 2; ++k) Write(PartName(base, "_" + std::to_string(k), ext), described);
    return 0;
  }
  Say("Saving " + out + ": 0.500 secs Interleaving", "37");
  Progress("ISO File Writing: ", 0);
  Write(out, described);
  return 0;
}

int Split(const TArgs& a) {
  if (a.positional.empty()) Refuse("Error: no input file");
  const std::string& in = a.positional.back();
  NeedInput(in);
  if (!Env("KAVO_MP4BOX_SPLIT_ABORT").empty()) {
    Say("[MP4Mux] Session aborted before writing to file", "31");
    return 0;
  }
  const int parts = a.split == "-splitx" ? 1 : 2;
  SplitProgress(parts);
  for (int k = 1; k <= parts; ++k) {
    char suffix[32];
    snprintf(suffix, sizeof suffix, "_%03d", k);
    std::string name = a.split == "-splitx" ? Base(in) + "_" + a.splitValue : Base(in) + suffix;
    for (char& c : name)
      if (c == ':' && &c - name.data() > 1) c = '_';
    Write(name + LowerExt(in), "KAVO-STANDIN SPLIT " + a.split + " " + a.splitValue + "\r\n");
  }
  return 0;
}

int Extract(const TArgs& a) {
  if (a.positional.empty()) Refuse("Error: no input file");
  const std::string& in = a.positional.back();
  NeedInput(in);
  const std::string& track = a.raw.empty() ? a.single : a.raw;
  std::string out = !a.out.empty() ? a.out : Base(in) + "_track" + track + (a.raw.empty() ? ".mp4" : ".raw");
  Say("Extracting track ID " + track + " to " + out, "37");
  Write(out, "KAVO-STANDIN " + std::string(a.raw.empty() ? "-single " : "-raw ") + track + "\r\n");
  return 0;
}

int Subtitles(const TArgs& a) {
  if (a.positional.empty()) Refuse("Error: no input file");
  const std::string& in = a.positional.back();
  NeedInput(in);
  const std::string ext = a.subtitle == "-srt" ? ".srt" : ".ttxt";
  const std::string out = a.subtitleTrack.empty() ? Base(in) + ext : Base(in) + "_track" + a.subtitleTrack + ext;
  Write(out, "KAVO-STANDIN " + a.subtitle + " " + a.subtitleTrack + "\r\n");
  return 0;
}

int Info(const TArgs& a) {
  if (a.positional.empty()) Refuse("Error: no input file");
  NeedInput(a.positional.back());
  Err("# Movie Info - 2 tracks - TimeScale 1000\nDuration 00:00:10.000\n");
  if (!a.info.empty()) Err("# Track " + a.info + " Info - ID " + a.info + " - TimeScale 12800\n");
  return 0;
}

}  // namespace

int TodayMain() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(Utf8(wide[i]));
  LocalFree(wide);
  // The version query is answered, not recorded.
  if (args.size() == 2 && args[1] == "-version") {
    Err("MP4Box - GPAC version " + PrintedVersion() + "\n(c) the stand-in's authors\n");
    return 0;
  }
  std::vector<char*> argv;
  for (std::string& s : args) argv.push_back(s.data());
  RecordArguments("MP4Box.exe", static_cast<int>(argv.size()), argv.data());
  TArgs a = Parse(args);
  behaviour.Begin();
  if (a.infoAsked) return Info(a);
  if (!a.imports.empty()) return Mux(a);
  if (!a.split.empty()) return Split(a);
  if (!a.raw.empty() || !a.single.empty()) return Extract(a);
  if (!a.subtitle.empty()) return Subtitles(a);
  Refuse("Error: nothing to do");
}

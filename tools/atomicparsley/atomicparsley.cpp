// A stand-in for AtomicParsley, used by the tests: it takes the tagging options the program
// writes, prints progress the way the real tool does (" Progress: ===>  5% ---|" rewritten
// by CR), writes the
// tags into the file, and fails with an "Error " line and a non-zero exit code.
#include <set>

#include "standin/standin.h"

using namespace standin;

namespace {

TBehaviour behaviour("KAVO_ATOMICPARSLEY_");

[[noreturn]] void Fail(const std::string& message) {
  Out(message + "\n");
  exit(1);
}

// " Progress: ===>  5% ----...|": a bar of 55 places, filled with "=" up to the percentage.
std::string ProgressLine(int p) {
  char pct[16];
  snprintf(pct, sizeof pct, "%3d%%", p);
  const int filled = p * 55 / 100;
  return " Progress: " + std::string(filled, '=') + ">" + pct + " " + std::string(55 - filled, '-') + "|";
}

}  // namespace

int main(int argc, char** argv) {
  RecordArguments("AtomicParsley.exe", argc, argv);
  static const std::set<std::string> valued = {"--title",  "--artist",      "--year",  "--composer",
                                               "--tracknum", "--album",     "--disk",  "--grouping",
                                               "--bpm",    "--compilation", "--genre", "--comment",
                                               "--artwork"};
  if (argc < 2 || argv[1][0] == '-') Fail("Error - the first argument must be the file to tag");
  std::string file = argv[1];
  bool overwrite = false;
  std::string tags;
  for (int i = 2; i < argc; ++i) {
    std::string o = argv[i];
    if (o == "--overWrite") {
      overwrite = true;
    } else if (valued.count(o)) {
      if (i + 1 >= argc) Fail("Error - missing argument after " + o);
      tags += o.substr(2) + "=" + argv[++i] + "\r\n";
    } else {
      Fail("Error parsing the arguments: option " + o + " unknown");
    }
  }
  behaviour.Begin();
  if (!FileExists(file)) Fail("Error opening file " + file + ": No such file or directory");
  Out("\n Started writing to temp file.\n");
  behaviour.StageBegins(ProgressLine(1), ProgressLine(atoi(Env("KAVO_ATOMICPARSLEY_STALL").c_str())));
  for (int p : {1, 25, 50, 75, 100}) Out(ProgressLine(p) + "\r");
  Out("\n");
  std::string block = "KAVO-STANDIN TAGS\r\n" + tags;
  if (overwrite) {
    if (!WriteWholeFile(file, block, true)) Fail("Error writing file " + file + ": Permission denied");
  } else {
    std::string temp = Base(file) + "-temp-" + std::to_string(GetCurrentProcessId()) + LowerExt(file);
    if (!CopyFileA(file.c_str(), temp.c_str(), FALSE) || !WriteWholeFile(temp, block, true))
      Fail("Error writing file " + temp + ": Permission denied");
  }
  Out(" Finished writing to temp file.\n");
  return 0;
}

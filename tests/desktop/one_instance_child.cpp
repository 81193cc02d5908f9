// A second copy of a program guarded by TdkOneInstance, started by the desktop tests.
// Arguments: <application title> <identifier> <result file> [message]
// With "message" it shows the already-running message (answered by a watcher) first.
// Writes what happened to the result file; the exit code is 3 when another copy was found.
#include <cstdio>
#include <cstring>

#include "desktop/one_instance.h"
#include "tests/support/pump.h"

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  InitApplication();
  Application->SetTitle(argv[1]);
  const bool showMessage = argc > 4 && std::strcmp(argv[4], "message") == 0;
  bool found = false;
  std::string caption, text;
  {
    TMessageBoxWatcher watcher;
    TdkOneInstance guard(nullptr);
    guard.Identifier = argv[2];
    guard.ShowMessage = showMessage;
    guard.Loaded();  // what reading the main form does
    found = guard.Terminating();
    if (showMessage) {
      PumpUntil([&] { return watcher.Seen(); }, 5000);
      caption = watcher.Caption();
      text = watcher.Text();
    }
  }
  // The program's loop ends at once when the guard asked it to terminate.
  if (found) Application->Run();
  FILE* out = std::fopen(argv[3], "w");
  if (!out) return 2;
  std::fprintf(out, "found=%d\nshowmainform=%d\ncaption=%s\ntext=%s\n", found ? 1 : 0,
               Application->ShowMainForm ? 1 : 0, caption.c_str(), text.c_str());
  std::fclose(out);
  return found ? 3 : 0;
}

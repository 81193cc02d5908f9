#include "mp4box/today_output.h"

#include <cstdio>

#include "mp4box/wide_names.h"

namespace standin {

namespace {

// Everything goes to standard error in CR LF lines, progress ended by a bare CR; under a shell
// the messages are coloured (README "General output format"; captures 2.1 and 2.1c).
bool Coloured() {
  static const bool coloured = !Env("SHELL").empty();
  return coloured;
}

void Piece(const std::string& text, const char* colour) {
  Err(Coloured() ? std::string("\x1b[") + colour + "m" + text + "\x1b[0m" : text);
}

std::string Bar(const std::string& title, int p) {
  char tail[32];
  snprintf(tail, sizeof tail, "| (%02d/100)", p);
  return title + "|" + std::string(p / 5, '=') + std::string(20 - p / 5, ' ') + tail;
}

}  // namespace

TBehaviour& Behaviour() {
  static TBehaviour behaviour("KAVO_MP4BOX_");
  return behaviour;
}

void Err(const std::string& bytes) {
  fwrite(bytes.data(), 1, bytes.size(), stderr);
  fflush(stderr);
}

void Say(const std::string& text, const char* colour) { Piece(text + "\n", colour); }

void Refuse(const std::string& text) {
  Say(text, "31");
  exit(1);
}

void Progress(const std::string& title, int first, int last, bool wipe) {
  std::string stall = Env("KAVO_MP4BOX_STALL");
  Behaviour().StageBegins(Bar(title, first), Bar(title, stall.empty() ? 0 : atoi(stall.c_str())));
  // The tool prints every value; the stand-in prints the first two, every ninth and the last.
  for (int p = first; p < last; p += p <= first ? 1 : 9) Err(Bar(title, p) + "\r");
  Err(Bar(title, last) + "\r");
  if (wipe) Err(std::string(title.size() + 38, ' ') + "\r");
}

void SplitProgress(double from, double to) {
  for (int step = 0; step < 4; ++step) {
    char line[48];
    snprintf(line, sizeof line, "splitting:  %.2f %%\r", from + (to - from) * step / 4);
    Piece(line, "37");
  }
}

void SaySaving(const std::string& file, const std::string& how) {
  Piece("Saving " + file + ": ", "37");
  Piece(how + "\n", "37");
}

void IoFailure(const std::string& firstLine) {
  Say(firstLine, "31");
  Say("", "31");
  Refuse("\tError: I/O Error");
}

std::string CannotOpenLine(const std::string& file, int opened) {
  return "[Core] system failure for file opening of \"" + file + "\" in mode \"w+b\": 0x00000005 (" +
         std::to_string(opened) + " opened)";
}

bool WriteFileText(const std::string& name, const std::string& text) {
  HANDLE f = CreateFileW(Wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = text.empty() || WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
  return ok && written == text.size();
}

}  // namespace standin

// What the two stand-in tools share: the record of the arguments they were given, the
// behaviour a test chooses through environment variables, console progress, and files.
//
// Environment (PREFIX is KAVO_MP4BOX_ or KAVO_ATOMICPARSLEY_):
//   KAVO_TOOL_LOG   a file each run appends one line to: the tool's name, then every
//                   argument, separated by tabs ("%" "\t" "\n" "\r" written as %25 %09 %0A %0D)
//   PREFIX PRINT    lines printed before anything else ("\n", "\r" and "\\" as in C)
//   PREFIX STALL    a number: the first stage prints its first line, then that progress
//                   without a line end, and the tool waits until it is killed
//   PREFIX FAIL     a number: after printing, the tool exits with it and writes nothing
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace standin {

inline std::string Env(const std::string& name) {
  char buf[32768];
  DWORD n = GetEnvironmentVariableA(name.c_str(), buf, sizeof buf);
  return n && n < sizeof buf ? std::string(buf, n) : std::string();
}

inline std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '%': out += "%25"; break;
      case '\t': out += "%09"; break;
      case '\n': out += "%0A"; break;
      case '\r': out += "%0D"; break;
      default: out += c;
    }
  }
  return out;
}

// Appends the run's arguments to the log file named by KAVO_TOOL_LOG, in one write.
inline void RecordArguments(const char* tool, int argc, char** argv) {
  std::string path = Env("KAVO_TOOL_LOG");
  if (path.empty()) return;
  std::string line = tool;
  for (int i = 1; i < argc; ++i) line += "\t" + Escape(argv[i]);
  line += "\r\n";
  HANDLE f = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written;
  WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(f);
}

inline void Out(const std::string& s) {
  fwrite(s.data(), 1, s.size(), stdout);
  fflush(stdout);
}

inline std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      char n = s[++i];
      out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
    } else {
      out += s[i];
    }
  }
  return out;
}

class TBehaviour {
 public:
  explicit TBehaviour(std::string prefix) : FPrefix(std::move(prefix)) {}

  // The chosen lines; then, when a failure is chosen, the exit.
  void Begin() {
    std::string print = Env(FPrefix + "PRINT");
    if (!print.empty()) Out(Unescape(print));
    std::string fail = Env(FPrefix + "FAIL");
    if (!fail.empty()) exit(atoi(fail.c_str()));
  }
  // Called before a stage's progress: stalls the first stage when chosen.
  void StageBegins(const std::string& firstLine, const std::string& partialLine) {
    if (FStageSeen) return;
    FStageSeen = true;
    std::string stall = Env(FPrefix + "STALL");
    if (stall.empty()) return;
    Out(firstLine + "\r");
    Out(partialLine);
    for (;;) Sleep(INFINITE);
  }

 private:
  std::string FPrefix;
  bool FStageSeen = false;
};

inline bool FileExists(const std::string& name) {
  DWORD a = GetFileAttributesA(name.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Writes Text as the whole file; false when it cannot be written.
inline bool WriteWholeFile(const std::string& name, const std::string& text, bool append = false) {
  HANDLE f = CreateFileA(name.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, 0, nullptr,
                         append ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = text.empty() || WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
  return ok && written == text.size();
}

inline bool IsNumber(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The name without its extension (the dot and what follows the last one after the folder).
inline std::string Base(const std::string& name) {
  size_t slash = name.find_last_of("\\/:");
  size_t dot = name.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name;
  return name.substr(0, dot);
}

inline std::string LowerExt(const std::string& name) {
  std::string b = Base(name);
  std::string ext = name.substr(b.size());
  for (char& c : ext) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace standin

// A console program driven by its arguments, one step each, for the runner's tests:
//   out:TEXT  err:TEXT   one write of TEXT to standard output / error
//                        (escapes: \r \n \0 \\ \xHH)
//   lines:N:PREFIX       N lines "PREFIX<i>" CR LF, i = 1..N, in writes of up to 4 KB
//   progress:N:STAGE     N progress lines "STAGE|<bar of 20>| (pp/100)" CR LF as MP4Box
//                        prints them, pp rising from 00 to 100, in writes of up to 4 KB
//   sleep:MS             a pause (silence)
//   wait:NAME            waits (at most 10 s) until the test sets the named event NAME
//   readbytes:N:PATH     reads N bytes of standard input and writes them to the file PATH
//   pid                  writes "pid=<process id>" CR LF
//   startup              writes "show=<wShowWindow> flags=<dwFlags>" CR LF
//   priority             writes "priority=<priority class>" CR LF
//   pipes                writes "pipes=" and the values of the pipe handles it holds
//                        besides its standard handles, comma separated, CR LF
//   spawn:MS             starts a copy of itself that inherits its handles and sleeps MS
//   args                 writes "args=" and all its arguments as UTF-16 gives them (the
//                        program's own first), UTF-8, "|" between them, CR LF; then ends
//   exit:CODE            ends with CODE (decimal); the default is 0
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    char c = s[++i];
    switch (c) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case '0': out += '\0'; break;
      case 'x':
        out += static_cast<char>(std::strtoul(s.substr(i + 1, 2).c_str(), nullptr, 16));
        i += 2;
        break;
      default: out += c; break;
    }
  }
  return out;
}

void Write(DWORD which, const std::string& bytes) {
  DWORD written = 0;
  WriteFile(GetStdHandle(which), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void Say(const std::string& text) { Write(STD_OUTPUT_HANDLE, text + "\r\n"); }

void Lines(unsigned n, const std::string& prefix) {
  std::string block;
  for (unsigned i = 1; i <= n; ++i) {
    block += prefix + std::to_string(i) + "\r\n";
    if (block.size() >= 4000) {
      Write(STD_OUTPUT_HANDLE, block);
      block.clear();
    }
  }
  if (!block.empty()) Write(STD_OUTPUT_HANDLE, block);
}

void Progress(unsigned n, const std::string& stage) {
  std::string block;
  for (unsigned i = 1; i <= n; ++i) {
    const unsigned percent = n > 1 ? (i - 1) * 100 / (n - 1) : 100;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02u", percent);
    const size_t filled = percent / 5;
    block += stage + "|" + std::string(filled, '=') + std::string(20 - filled, ' ') + "| (" + digits + "/100)\r\n";
    if (block.size() >= 4000) {
      Write(STD_OUTPUT_HANDLE, block);
      block.clear();
    }
  }
  if (!block.empty()) Write(STD_OUTPUT_HANDLE, block);
}

void ReadBytes(unsigned n, const std::string& path) {
  std::string got;
  char buf[256];
  while (got.size() < n) {
    DWORD want = static_cast<DWORD>(std::min<size_t>(sizeof buf, n - got.size())), read = 0;
    if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), buf, want, &read, nullptr) || read == 0) break;
    got.append(buf, read);
  }
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, got.data(), static_cast<DWORD>(got.size()), &written, nullptr);
  CloseHandle(f);
}

std::string ExtraPipes() {
  HANDLE std[3] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                   GetStdHandle(STD_ERROR_HANDLE)};
  std::string list;
  for (ULONG_PTR v = 4; v < 0x4000; v += 4) {
    HANDLE h = reinterpret_cast<HANDLE>(v);
    if (h == std[0] || h == std[1] || h == std[2]) continue;
    DWORD flags = 0;
    if (!GetHandleInformation(h, &flags) || GetFileType(h) != FILE_TYPE_PIPE) continue;
    if (!list.empty()) list += ',';
    list += std::to_string(v);
  }
  return list;
}

void Spawn(const std::string& ms) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string cmd = std::string("\"") + self + "\" sleep:" + ms;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
}

std::string WideArguments() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::string out;
  for (int i = 0; i < count; ++i) {
    char utf8[4096];
    int n = WideCharToMultiByte(CP_UTF8, 0, args[i], -1, utf8, sizeof utf8, nullptr, nullptr);
    out += (i ? "|" : "") + std::string(utf8, n > 0 ? n - 1 : 0);
  }
  LocalFree(args);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  for (int a = 1; a < argc; ++a) {
    std::string arg = argv[a];
    size_t colon = arg.find(':');
    std::string cmd = arg.substr(0, colon);
    std::string rest = colon == std::string::npos ? std::string() : arg.substr(colon + 1);
    size_t colon2 = rest.find(':');
    std::string first = rest.substr(0, colon2);
    std::string second = colon2 == std::string::npos ? std::string() : rest.substr(colon2 + 1);
    if (cmd == "out") {
      Write(STD_OUTPUT_HANDLE, Unescape(rest));
    } else if (cmd == "err") {
      Write(STD_ERROR_HANDLE, Unescape(rest));
    } else if (cmd == "lines") {
      Lines(static_cast<unsigned>(std::stoul(first)), Unescape(second));
    } else if (cmd == "progress") {
      Progress(static_cast<unsigned>(std::stoul(first)), Unescape(second));
    } else if (cmd == "sleep") {
      Sleep(static_cast<DWORD>(std::stoul(rest)));
    } else if (cmd == "wait") {
      HANDLE event = CreateEventA(nullptr, TRUE, FALSE, rest.c_str());
      if (event) {
        WaitForSingleObject(event, 10000);
        CloseHandle(event);
      }
    } else if (cmd == "readbytes") {
      ReadBytes(static_cast<unsigned>(std::stoul(first)), second);
    } else if (cmd == "pid") {
      Say("pid=" + std::to_string(GetCurrentProcessId()));
    } else if (cmd == "startup") {
      STARTUPINFOA si{};
      GetStartupInfoA(&si);
      Say("show=" + std::to_string(si.wShowWindow) + " flags=" + std::to_string(si.dwFlags));
    } else if (cmd == "priority") {
      Say("priority=" + std::to_string(GetPriorityClass(GetCurrentProcess())));
    } else if (cmd == "pipes") {
      Say("pipes=" + ExtraPipes());
    } else if (cmd == "spawn") {
      Spawn(rest);
    } else if (cmd == "args") {
      Say("args=" + WideArguments());
      return 0;
    } else if (cmd == "exit") {
      ExitProcess(static_cast<UINT>(std::stoul(rest)));
    } else {
      std::fprintf(stderr, "scripted_child: unknown step %s\n", arg.c_str());
      return 100;
    }
  }
  return 0;
}

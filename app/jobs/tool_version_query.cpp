#include "app/jobs/tool_version_query.h"

#include <vector>

#include "app/commands/command_line_quote.h"
#include "widetext/filenames.h"

namespace {

struct THandle {
  HANDLE h = nullptr;
  ~THandle() {
    if (h) CloseHandle(h);
  }
};

// Reads what the pipe holds now, without waiting.
void ReadAvailable(HANDLE pipe, AnsiString& out) {
  DWORD available = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available) {
    std::vector<char> buffer(available);
    DWORD read = 0;
    if (!ReadFile(pipe, buffer.data(), available, &read, nullptr) || !read) return;
    out.append(buffer.data(), read);
  }
}

}  // namespace

AnsiString ConsoleOutputOf(const WideString& CommandLine, DWORD TimeoutMs) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  THandle read, write, input;
  HANDLE inputWrite = nullptr;
  if (!CreatePipe(&read.h, &write.h, &sa, 0)) return AnsiString();
  if (!CreatePipe(&input.h, &inputWrite, &sa, 0)) return AnsiString();
  CloseHandle(inputWrite);  // the program reads an ended input
  SetHandleInformation(read.h, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  si.wShowWindow = SW_HIDE;
  si.hStdInput = input.h;
  si.hStdOutput = write.h;
  si.hStdError = write.h;
  PROCESS_INFORMATION pi{};
  std::vector<wchar_t> line(CommandLine.begin(), CommandLine.end());
  line.push_back(L'\0');
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr, nullptr, &si, &pi))
    return AnsiString();
  THandle process{pi.hProcess}, thread{pi.hThread};
  CloseHandle(write.h);
  write.h = nullptr;
  AnsiString out;
  const ULONGLONG deadline = GetTickCount64() + TimeoutMs;
  while (WaitForSingleObject(process.h, 5) == WAIT_TIMEOUT) {
    ReadAvailable(read.h, out);
    if (GetTickCount64() >= deadline) {
      TerminateProcess(process.h, 1);
      WaitForSingleObject(process.h, 1000);
      break;
    }
  }
  ReadAvailable(read.h, out);
  return out;
}

TMP4BoxVersion ReadMP4BoxVersion(const WideString& Path, DWORD TimeoutMs) {
  if (Path.empty() || !WideFileExists(Path)) return TMP4BoxVersion();
  return ParseMP4BoxVersion(ConsoleOutputOf(QuoteArgument(Path) + L" -version", TimeoutMs));
}

const TMP4BoxVersion& TMP4BoxVersionCache::Of(const WideString& Path) {
  if (!FRead || Path != FPath) Reread(Path);
  return FVersion;
}

const TMP4BoxVersion& TMP4BoxVersionCache::Reread(const WideString& Path) {
  FPath = Path;
  FRead = true;
  FVersion = ReadMP4BoxVersion(Path);
  return FVersion;
}

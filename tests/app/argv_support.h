// Command lines split back into arguments the way a started program receives them: the
// 8-bit line widened by the ANSI code page (as CreateProcessA does), then split by
// CommandLineToArgvW.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "vcl/sysutils.h"

inline std::vector<std::wstring> ArgvOf(const WideString& Line) {
  std::vector<std::wstring> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(Line.c_str(), &count);
  if (!argv) return args;
  for (int i = 0; i < count; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);
  return args;
}

// The arguments after the program (whose own token follows other rules).
inline std::vector<std::wstring> ArgumentsOf(const AnsiString& CommandLine) {
  std::vector<std::wstring> args = ArgvOf(AnsiToWide(CommandLine));
  if (!args.empty()) args.erase(args.begin());
  return args;
}

// MediaInfo.dll's own C interface, called directly: what a bare program reading the same
// files pays, against which the benchmarks hold the program's way through the library.
#pragma once

#include <windows.h>

struct TBareLibrary {
  void*(__stdcall* New)();
  size_t(__stdcall* Open)(void*, const wchar_t*);
  const wchar_t*(__stdcall* Get)(void*, int, size_t, const wchar_t*, int, int);
  void(__stdcall* Close)(void*);
  void(__stdcall* Delete)(void*);

  bool Loaded() const { return New && Open && Get && Close && Delete; }
};

template <typename Fn>
Fn Entry(HMODULE Dll, const char* Name) {
  return Dll ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(Dll, Name))) : nullptr;
}

// The library beside the benchmark; Loaded() is false when it is missing.
inline TBareLibrary LoadBareMediaInfo() {
  HMODULE dll = LoadLibraryW(L"MediaInfo.dll");
  TBareLibrary bare{};
  bare.New = Entry<decltype(bare.New)>(dll, "MediaInfo_New");
  bare.Open = Entry<decltype(bare.Open)>(dll, "MediaInfo_Open");
  bare.Get = Entry<decltype(bare.Get)>(dll, "MediaInfo_Get");
  bare.Close = Entry<decltype(bare.Close)>(dll, "MediaInfo_Close");
  bare.Delete = Entry<decltype(bare.Delete)>(dll, "MediaInfo_Delete");
  return bare;
}

#include "preview/directshow_utils.h"

#include <errors.h>

#include <cmath>
#include <cstdio>

// DirectShow's library is loaded when its first error text is asked for, not at the
// program's start: it brings four more libraries with it.
AnsiString GetErrorText(HRESULT Value) {
  using TGetText = DWORD(WINAPI*)(HRESULT, LPSTR, DWORD);
  static const TGetText getText = [] {
    HMODULE quartz = LoadLibraryW(L"quartz.dll");
    return quartz ? reinterpret_cast<TGetText>(reinterpret_cast<void*>(GetProcAddress(quartz, "AMGetErrorTextA")))
                  : nullptr;
  }();
  char buffer[256] = {};
  if (getText) getText(Value, buffer, 255);
  return AnsiString(buffer);
}

HRESULT CheckDSError(HRESULT Value) {
  if (FAILED(Value)) {
    char code[16];
    std::snprintf(code, sizeof code, "%lX", static_cast<unsigned long>(Value));
    throw EDirectShowException(GetErrorText(Value) + " ($" + code + ").", Value);
  }
  return Value;
}

// --- lists ------------------------------------------------------------------------------

TFilterList::TFilterList(IFilterGraph* Graph) : FGraph(Graph) {
  if (!Graph) return;
  TComRef<IEnumFilters> filters;
  if (FAILED(Graph->EnumFilters(&filters)) || !filters) return;
  for (;;) {
    TComRef<IBaseFilter> filter;
    if (filters->Next(1, &filter, nullptr) != S_OK) break;
    FItems.push_back(filter);
  }
}

int TFilterList::Add(IBaseFilter* Filter) {
  FItems.emplace_back(Filter);
  return Count() - 1;
}

int TFilterList::IndexOf(IBaseFilter* Filter) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].Get() == Filter) return static_cast<int>(i);
  return -1;
}

int TFilterList::Remove(IBaseFilter* Filter) {
  int i = IndexOf(Filter);
  if (i >= 0) FItems.erase(FItems.begin() + i);
  return i;
}

TPinList::TPinList(IBaseFilter* Filter) : FFilter(Filter) { Update(); }

int TPinList::Add(IPin* Pin) {
  FItems.emplace_back(Pin);
  return Count() - 1;
}

void TPinList::Update() {
  FItems.clear();
  if (!FFilter) return;
  TComRef<IEnumPins> pins;
  if (FAILED(FFilter->EnumPins(&pins)) || !pins) return;
  for (;;) {
    TComRef<IPin> pin;
    if (pins->Next(1, &pin, nullptr) != S_OK) break;
    FItems.push_back(pin);
  }
}

// --- running-object table --------------------------------------------------------------

WideString GraphRotName(const void* Graph, DWORD ProcessId) {
  // The address at the full width of a pointer, so two graphs never share a name.
  wchar_t name[64];
  std::swprintf(name, 64, L"FilterGraph %0*llX pid %lX", static_cast<int>(sizeof(void*) * 2),
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(Graph)),
                static_cast<unsigned long>(ProcessId));
  return name;
}

HRESULT RegisterGraphInRot(IUnknown* Graph, DWORD& Cookie) {
  TComRef<IRunningObjectTable> table;
  HRESULT hr = GetRunningObjectTable(0, &table);
  if (FAILED(hr)) return hr;
  WideString name = GraphRotName(Graph, GetCurrentProcessId());
  TComRef<IMoniker> moniker;
  hr = CreateItemMoniker(L"!", name.c_str(), &moniker);
  if (FAILED(hr)) return hr;
  return table->Register(0, Graph, moniker.Get(), &Cookie);
}

HRESULT RevokeGraphFromRot(DWORD Cookie) {
  TComRef<IRunningObjectTable> table;
  HRESULT hr = GetRunningObjectTable(0, &table);
  if (FAILED(hr)) return hr;
  return table->Revoke(Cookie);
}

// --- conversions ------------------------------------------------------------------------

uint32_t RefTimeToMs(int64_t RefTime) { return static_cast<uint32_t>(RefTime / 10000); }

void SplitTimeCode(uint32_t TimeCode, TDvdTimeCode& Parts) {
  for (int i = 0; i < 7; ++i) Parts.d[i] = static_cast<uint8_t>((TimeCode >> (28 - 4 * i)) & 0xF);
  Parts.d[7] = static_cast<uint8_t>((TimeCode >> 2) & 0x3);
  Parts.d[8] = static_cast<uint8_t>(TimeCode & 0x3);
}

namespace {

// ln(v + 1) scaled so that 10000 maps to 10000; halves go to the even neighbour (the
// default rounding mode).
int LogScale(int v) { return static_cast<int>(std::nearbyint(std::log(v + 1.0) * 1085.73)); }

}  // namespace

int VolumeLinearToLog(int Value) { return LogScale(Value) - 10000; }

int BalanceLinearToLog(int Value) {
  int r = LogScale(std::abs(Value));
  return Value >= 0 ? -r : r;
}

void LetterboxRect(const RECT& Dest, const RECT& VideoSize, RECT& Result) {
  int wd = Dest.right - Dest.left, hd = Dest.bottom - Dest.top;
  int wv = VideoSize.right - VideoSize.left, hv = VideoSize.bottom - VideoSize.top;
  if (wv <= 0 || hv <= 0) {  // no picture size known yet: nothing to keep in proportion
    Result = Dest;
    return;
  }
  int width, height;
  if (static_cast<double>(hd) / hv > static_cast<double>(wd) / wv) {
    width = wd;
    height = MulDiv(hv, wd, wv);
  } else {
    width = MulDiv(wv, hd, hv);
    height = hd;
  }
  Result.left = Dest.left + (wd - width) / 2;
  Result.top = Dest.top + (hd - height) / 2;
  Result.right = Result.left + width;
  Result.bottom = Result.top + height;
}

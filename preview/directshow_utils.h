// What the filter graph, its event dispatch and the video window share: the exception of a
// failed DirectShow call, lists of a graph's filters and a filter's pins, the graph's entry
// in the running-object table, time conversions, the volume curves and the letter box.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <cstdint>
#include <vector>

#include "vcl/classes.h"
#include "vcl/sysutils.h"

template <class T>
using TComRef = Microsoft::WRL::ComPtr<T>;

class EDirectShowException : public Exception {
 public:
  EDirectShowException(AnsiString msg, HRESULT code) : Exception(std::move(msg)), ErrorCode(code) {}
  HRESULT ErrorCode;
};

// DirectShow's own text for a result code.
AnsiString GetErrorText(HRESULT Value);
// Raises EDirectShowException for a failure code ("<text> ($80004005)."); returns success
// codes (S_FALSE included) unchanged.
HRESULT CheckDSError(HRESULT Value);

// The filters of a graph in enumeration order; keeps the graph for its whole life.
class TFilterList : public TObject {
 public:
  explicit TFilterList(IFilterGraph* Graph);
  int Count() const { return static_cast<int>(FItems.size()); }
  IBaseFilter* Items(int i) const { return FItems.at(static_cast<size_t>(i)).Get(); }
  int Add(IBaseFilter* Filter);
  // Removes the first entry of Filter; its former index, or -1.
  int Remove(IBaseFilter* Filter);
  int IndexOf(IBaseFilter* Filter) const;
  IFilterGraph* Graph() const { return FGraph.Get(); }

 private:
  TComRef<IFilterGraph> FGraph;
  std::vector<TComRef<IBaseFilter>> FItems;
};

// The pins of a filter in enumeration order; keeps the filter for its whole life.
class TPinList : public TObject {
 public:
  explicit TPinList(IBaseFilter* Filter);
  int Count() const { return static_cast<int>(FItems.size()); }
  IPin* Items(int i) const { return FItems.at(static_cast<size_t>(i)).Get(); }
  int Add(IPin* Pin);
  void Update();

 private:
  TComRef<IBaseFilter> FFilter;
  std::vector<TComRef<IPin>> FItems;
};

// The name a graph editor looks for: "FilterGraph <address> pid <process id>".
WideString GraphRotName(const void* Graph, DWORD ProcessId);
// Registers the graph in the running-object table so that an outside graph editor can open it.
HRESULT RegisterGraphInRot(IUnknown* Graph, DWORD& Cookie);
HRESULT RevokeGraphFromRot(DWORD Cookie);

// Reference time (100 ns units) to milliseconds, truncated, kept to 32 bits.
uint32_t RefTimeToMs(int64_t RefTime);

// A DVD time code cut into its nine fields, most significant first (d7 and d8 are two bits).
struct TDvdTimeCode {
  uint8_t d[9];
};
void SplitTimeCode(uint32_t TimeCode, TDvdTimeCode& Parts);

// The logarithmic curves between a linear setting and DirectShow's hundredths of a decibel.
int VolumeLinearToLog(int Value);
int BalanceLinearToLog(int Value);

// The largest rectangle of VideoSize's proportions that fits in Dest, centred in it.
void LetterboxRect(const RECT& Dest, const RECT& VideoSize, RECT& Result);

// Frees the object after clearing the variable, so nothing reaches a half-freed object.
template <class T>
void FreeAndNil(T*& Obj) {
  T* old = Obj;
  Obj = nullptr;
  delete old;
}

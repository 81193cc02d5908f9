// A linked control stand-in for the graph's tests: it contributes a real video renderer and
// writes every member operation and control event it hears into a shared log.
#pragma once

#include <string>
#include <vector>

#include "preview/filter_graph.h"

class TGraphRecorder : public IGraphMember, public IGraphListener {
 public:
  explicit TGraphRecorder(std::vector<std::string>& Log, const wchar_t* Name = L"recorder")
      : FLog(Log), FName(Name) {
    CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                     reinterpret_cast<void**>(Filter.GetAddressOf()));
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** Obj) override {
    *Obj = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  IBaseFilter* GetMemberFilter() override { return Filter.Get(); }
  WideString GetMemberName() override { return FName; }
  void MemberOperation(TMemberOperation Operation, int Param) override {
    static const char* names[] = {"moAdding", "moAdded", "moRemoving", "moRemoved"};
    FLog.push_back(names[Operation]);
  }
  void GraphEvent(int Event, LONG_PTR Param1, LONG_PTR Param2) override {
    FLog.push_back("graph " + std::to_string(Event));
  }
  void ControlEvent(TGraphControlEvent Event, int Param) override {
    const char* name = Event == gcePlay ? "gcePlay" : Event == gcePause ? "gcePause" : Event == gceStop ? "gceStop"
                     : Event == gceFileRendering ? "gceFileRendering" : Event == gceFileRendered ? "gceFileRendered"
                     : Event == gceActive ? "gceActive" : "?";
    FLog.push_back(std::string(name) + " " + std::to_string(Param));
  }

  TComRef<IBaseFilter> Filter;

 private:
  std::vector<std::string>& FLog;
  WideString FName;
};

// The names of the filters in a graph, in enumeration order.
inline std::vector<std::wstring> FilterNames(IFilterGraph* Graph) {
  std::vector<std::wstring> names;
  TFilterList filters(Graph);
  for (int i = 0; i < filters.Count(); ++i) {
    FILTER_INFO info{};
    filters.Items(i)->QueryFilterInfo(&info);
    names.push_back(info.achName);
    if (info.pGraph) info.pGraph->Release();
  }
  return names;
}

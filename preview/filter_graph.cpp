#include "preview/filter_graph.h"

#include <algorithm>

#include "vcl/scopeexit.h"
#include "vcl/streaming.h"
#include "vcl/utilwnd.h"

namespace {

const std::vector<TPropInfo>& FilterGraphProperties() {
  using G = TFilterGraph;
  static const std::vector<TPropInfo> table = TPropertyTable<G>()
      .Property("LogFile", &G::LogFile, &G::SetLogFile)
      .Property("Active", &G::Active, &G::SetActive).Default(false)
      .Property("AutoCreate", &G::AutoCreate).Default(false)
      .Property("Mode", &G::Mode, &G::SetMode).Default(gmNormal)
      .Property("GraphEdit", &G::GraphEdit, &G::SetGraphEdit)
      .Property("LinearVolume", &G::LinearVolume, &G::SetLinearVolume)
      .Property("OnActivate", &G::OnActivate)
      .Property("OnDSEvent", &G::OnDSEvent)
      .Property("OnGraphBufferingData", &G::OnGraphBufferingData)
      .Property("OnGraphClockChanged", &G::OnGraphClockChanged)
      .Property("OnGraphComplete", &G::OnGraphComplete)
      .Property("OnGraphDeviceLost", &G::OnGraphDeviceLost)
      .Property("OnGraphEndOfSegment", &G::OnGraphEndOfSegment)
      .Property("OnGraphErrorStillPlaying", &G::OnGraphErrorStillPlaying)
      .Property("OnGraphErrorAbort", &G::OnGraphErrorAbort)
      .Property("OnGraphFullscreenLost", &G::OnGraphFullscreenLost)
      .Property("OnGraphChanged", &G::OnGraphChanged)
      .Property("OnGraphOleEvent", &G::OnGraphOleEvent)
      .Property("OnGraphOpeningFile", &G::OnGraphOpeningFile)
      .Property("OnGraphPaletteChanged", &G::OnGraphPaletteChanged)
      .Property("OnGraphPaused", &G::OnGraphPaused)
      .Property("OnGraphQualityChange", &G::OnGraphQualityChange)
      .Property("OnGraphSNDDevInError", &G::OnGraphSNDDevInError)
      .Property("OnGraphSNDDevOutError", &G::OnGraphSNDDevOutError)
      .Property("OnGraphStepComplete", &G::OnGraphStepComplete)
      .Property("OnGraphStreamControlStarted", &G::OnGraphStreamControlStarted)
      .Property("OnGraphStreamControlStopped", &G::OnGraphStreamControlStopped)
      .Property("OnGraphStreamErrorStillPlaying", &G::OnGraphStreamErrorStillPlaying)
      .Property("OnGraphStreamErrorStopped", &G::OnGraphStreamErrorStopped)
      .Property("OnGraphUserAbort", &G::OnGraphUserAbort)
      .Property("OnGraphVideoSizeChanged", &G::OnGraphVideoSizeChanged)
      .Property("OnGraphTimeCodeAvailable", &G::OnGraphTimeCodeAvailable)
      .Property("OnGraphEXTDeviceModeChange", &G::OnGraphEXTDeviceModeChange)
      .Property("OnGraphClockUnset", &G::OnGraphClockUnset)
      .Property("OnGraphVMRRenderDevice", &G::OnGraphVMRRenderDevice)
      .Property("OnDVDAudioStreamChange", &G::OnDVDAudioStreamChange)
      .Property("OnDVDCurrentTime", &G::OnDVDCurrentTime)
      .Property("OnDVDTitleChange", &G::OnDVDTitleChange)
      .Property("OnDVDChapterStart", &G::OnDVDChapterStart)
      .Property("OnDVDAngleChange", &G::OnDVDAngleChange)
      .Property("OnDVDValidUOPSChange", &G::OnDVDValidUOPSChange)
      .Property("OnDVDButtonChange", &G::OnDVDButtonChange)
      .Property("OnDVDChapterAutoStop", &G::OnDVDChapterAutoStop)
      .Property("OnDVDStillOn", &G::OnDVDStillOn)
      .Property("OnDVDStillOff", &G::OnDVDStillOff)
      .Property("OnDVDSubpictureStreamChange", &G::OnDVDSubpictureStreamChange)
      .Property("OnDVDNoFP_PGC", &G::OnDVDNoFP_PGC)
      .Property("OnDVDPlaybackRateChange", &G::OnDVDPlaybackRateChange)
      .Property("OnDVDParentalLevelChange", &G::OnDVDParentalLevelChange)
      .Property("OnDVDPlaybackStopped", &G::OnDVDPlaybackStopped)
      .Property("OnDVDAnglesAvailable", &G::OnDVDAnglesAvailable)
      .Property("OnDVDPlayPeriodAutoStop", &G::OnDVDPlayPeriodAutoStop)
      .Property("OnDVDButtonAutoActivated", &G::OnDVDButtonAutoActivated)
      .Property("OnDVDCMDStart", &G::OnDVDCMDStart)
      .Property("OnDVDCMDEnd", &G::OnDVDCMDEnd)
      .Property("OnDVDDiscEjected", &G::OnDVDDiscEjected)
      .Property("OnDVDDiscInserted", &G::OnDVDDiscInserted)
      .Property("OnDVDCurrentHMSFTime", &G::OnDVDCurrentHMSFTime)
      .Property("OnDVDKaraokeMode", &G::OnDVDKaraokeMode)
      .Property("OnDVDDomainFirstPlay", &G::OnDVDDomainFirstPlay)
      .Property("OnDVDDomainVideoManagerMenu", &G::OnDVDDomainVideoManagerMenu)
      .Property("OnDVDDomainVideoTitleSetMenu", &G::OnDVDDomainVideoTitleSetMenu)
      .Property("OnDVDDomainTitle", &G::OnDVDDomainTitle)
      .Property("OnDVDDomainStop", &G::OnDVDDomainStop)
      .Property("OnDVDErrorUnexpected", &G::OnDVDErrorUnexpected)
      .Property("OnDVDErrorInvalidDVD1_0Disc", &G::OnDVDErrorInvalidDVD1_0Disc)
      .Property("OnDVDErrorInvalidDiscRegion", &G::OnDVDErrorInvalidDiscRegion)
      .Property("OnDVDErrorLowParentalLevel", &G::OnDVDErrorLowParentalLevel)
      .Property("OnDVDErrorIncompatibleSystemAndDecoderRegions", &G::OnDVDErrorIncompatibleSystemAndDecoderRegions)
      .Property("OnDVDErrorIncompatibleDiscAndDecoderRegions", &G::OnDVDErrorIncompatibleDiscAndDecoderRegions)
      .Property("OnDVDWarningInvalidDVD1_0Disc", &G::OnDVDWarningInvalidDVD1_0Disc)
      .Property("OnDVDWarningFormatNotSupported", &G::OnDVDWarningFormatNotSupported)
      .Property("OnDVDWarningIllegalNavCommand", &G::OnDVDWarningIllegalNavCommand)
      .Property("OnDVDWarningOpen", &G::OnDVDWarningOpen)
      .Property("OnDVDWarningSeek", &G::OnDVDWarningSeek)
      .Property("OnDVDWarningRead", &G::OnDVDWarningRead)
      .Property("OnSelectedFilter", &G::OnSelectedFilter)
      .Property("OnCreatedFilter", &G::OnCreatedFilter)
      .Property("OnUnableToRender", &G::OnUnableToRender)
      .Table();
  return table;
}

// A success that hands out nothing counts as a failure.
template <class I>
HRESULT Create(REFCLSID Class, REFIID IID, TComRef<I>& Result) {
  HRESULT hr = CoCreateInstance(Class, nullptr, CLSCTX_INPROC_SERVER, IID,
                                reinterpret_cast<void**>(Result.ReleaseAndGetAddressOf()));
  return SUCCEEDED(hr) && !Result ? E_NOINTERFACE : hr;
}

}  // namespace

VCL_CLASS_IMPL(TFilterGraph, TComponent, &CreateComponentOf<TFilterGraph>, &FilterGraphProperties)

TFilterGraph::TFilterGraph(TComponent* AOwner) : TComponent(AOwner) {
  FNotifyWindow = AllocateMessageHWnd(
      [this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) { return NotifyWndProc(wnd, msg, wParam, lParam); });
}

TFilterGraph::~TFilterGraph() {
  Destroying();
  SetActive(false);
  DeallocateHWnd(FNotifyWindow);
}

void TFilterGraph::Loaded() {
  if (AutoCreate && !HasState(csDesigning)) SetActive(true);
  TComponent::Loaded();
}

// --- COM ----------------------------------------------------------------------------------

HRESULT TFilterGraph::QueryInterface(REFIID IID, void** Obj) {
  if (!Obj) return E_POINTER;
  *Obj = nullptr;
  if (IID == IID_IUnknown || IID == IID_IServiceProvider)
    *Obj = static_cast<IServiceProvider*>(this);
  else if (IID == IID_IAMFilterGraphCallback)
    *Obj = static_cast<IAMFilterGraphCallback*>(this);
  else if (IID == IID_IAMGraphBuilderCallback)
    *Obj = static_cast<IAMGraphBuilderCallback*>(this);
  if (*Obj) return S_OK;
  if (!FActive) return E_NOINTERFACE;
  HRESULT hr = E_NOINTERFACE;
  switch (FMode) {
    case gmNormal:
      break;
    case gmCapture:
      if (FCaptureBuilder && SUCCEEDED(hr = FCaptureBuilder->QueryInterface(IID, Obj))) return hr;
      break;
    case gmDVD:
      if (FDvdBuilder) {
        if (SUCCEEDED(hr = FDvdBuilder->QueryInterface(IID, Obj))) return hr;
        if (SUCCEEDED(hr = FDvdBuilder->GetDvdInterface(IID, Obj)) && *Obj) return hr;
        *Obj = nullptr;
      }
      break;
  }
  if (FGraph) hr = FGraph->QueryInterface(IID, Obj);
  return hr;
}

HRESULT TFilterGraph::QueryService(REFGUID Service, REFIID IID, void** Obj) {
  if (Service == FilterGraphServiceID && IID == FilterGraphServiceID) {
    *Obj = static_cast<TFilterGraph*>(this);
    return S_OK;
  }
  return E_NOINTERFACE;
}

HRESULT TFilterGraph::SelectedFilter(IMoniker* Moniker) {
  if (!OnSelectedFilter) return S_OK;
  GUID classId = GUID_NULL;
  WideString name;
  TComRef<IPropertyBag> bag;
  if (SUCCEEDED(Moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                       reinterpret_cast<void**>(bag.GetAddressOf()))) && bag) {
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(bag->Read(L"CLSID", &value, nullptr)) && value.vt == VT_BSTR &&
        FAILED(CLSIDFromString(value.bstrVal, &classId)))
      classId = GUID_NULL;
    VariantClear(&value);
    if (SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR)
      name = value.bstrVal;
    VariantClear(&value);
  }
  return OnSelectedFilter(Moniker, name, classId) ? S_OK : E_FAIL;
}

HRESULT TFilterGraph::CreatedFilter(IBaseFilter* Filter) {
  if (!OnCreatedFilter) return S_OK;
  GUID classId = GUID_NULL;
  Filter->GetClassID(&classId);
  return OnCreatedFilter(Filter, classId) ? S_OK : E_FAIL;
}

HRESULT TFilterGraph::UnableToRender(IPin* Pin) {
  PIN_INFO pin{};
  if (!Pin || FAILED(Pin->QueryPinInfo(&pin)) || !pin.pFilter) return S_FALSE;
  TComRef<IBaseFilter> filter;
  filter.Attach(pin.pFilter);
  FILTER_INFO info{};
  if (FAILED(filter->QueryFilterInfo(&info)) || !info.pGraph) return S_FALSE;
  TComRef<IFilterGraph> graph;
  graph.Attach(info.pGraph);
  TComRef<IServiceProvider> provider;
  if (FAILED(graph->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(provider.GetAddressOf()))))
    return S_FALSE;
  void* found = nullptr;
  if (FAILED(provider->QueryService(FilterGraphServiceID, FilterGraphServiceID, &found)) || !found)
    return S_FALSE;
  auto* component = static_cast<TFilterGraph*>(found);
  if (component->OnUnableToRender && component->OnUnableToRender(Pin)) return S_OK;
  return S_FALSE;
}

// --- activation ----------------------------------------------------------------------------

void TFilterGraph::SetActive(bool Value) {
  if (Value == FActive) return;
  if (Value)
    Activate();
  else
    Deactivate();
}

void TFilterGraph::Activate() {
  // Every object of the mode must exist before the graph counts as active: a failure
  // releases what was made and reports DirectShow's text.
  try {
    switch (FMode) {
      case gmNormal:
        CheckDSError(Create(CLSID_FilterGraph, IID_IFilterGraph2, FGraph));
        break;
      case gmCapture:
        CheckDSError(Create(CLSID_CaptureGraphBuilder2, IID_ICaptureGraphBuilder2, FCaptureBuilder));
        CheckDSError(Create(CLSID_FilterGraph, IID_IFilterGraph2, FGraph));
        CheckDSError(FCaptureBuilder->SetFiltergraph(FGraph.Get()));
        break;
      case gmDVD: {
        CheckDSError(Create(CLSID_DvdGraphBuilder, IID_IDvdGraphBuilder, FDvdBuilder));
        TComRef<IGraphBuilder> builder;
        HRESULT hr = FDvdBuilder->GetFiltergraph(&builder);
        CheckDSError(SUCCEEDED(hr) && !builder ? E_NOINTERFACE : hr);
        CheckDSError(builder->QueryInterface(IID_IFilterGraph2, reinterpret_cast<void**>(FGraph.GetAddressOf())));
        break;
      }
    }
  } catch (...) {
    ReleaseObjects();
    throw;
  }
  FActive = true;

  if ((FMediaEvent = Query<IMediaEventEx>(IID_IMediaEventEx))) {
    FMediaEvent->SetNotifyFlags(0);
    FMediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(FNotifyWindow), WM_GRAPHNOTIFY,
                                 reinterpret_cast<LONG_PTR>(FMediaEvent.Get()));
  }
  if (auto site = Query<IObjectWithSite>(IID_IObjectWithSite)) {
    site->SetSite(static_cast<IAMGraphBuilderCallback*>(this));
    site->SetSite(static_cast<IAMFilterGraphCallback*>(this));
  }
  SetGraphEdit(FGraphEdit);
  SetLogFile(FLogFile);
  AddMemberFilters();
  if (OnActivate) OnActivate(this);
  ControlEvents(gceActive, 1);
}

void TFilterGraph::Deactivate() {
  ControlEvents(gceActive, 0);
  RemoveMemberFilters();
  if (FMediaEvent) {
    FMediaEvent->SetNotifyFlags(AM_MEDIAEVENT_NONOTIFY);
    FMediaEvent.Reset();
  }
  if (FRotCookie) {
    RevokeGraphFromRot(FRotCookie);
    FRotCookie = 0;
  }
  CloseLog();
  ReleaseObjects();
  FActive = false;
}

void TFilterGraph::ReleaseObjects() {
  FMediaEvent.Reset();
  FGraph.Reset();
  FCaptureBuilder.Reset();
  FDvdBuilder.Reset();
}

void TFilterGraph::SetMode(TGraphMode Value) {
  if (Value == FMode) return;
  bool wasActive = FActive;
  SetActive(false);
  FMode = Value;
  SetActive(wasActive);
}

void TFilterGraph::SetGraphEdit(bool Value) {
  if (!Value) {
    if (FRotCookie) {
      RevokeGraphFromRot(FRotCookie);
      FRotCookie = 0;
    }
  } else if (!FRotCookie && FActive) {
    DWORD cookie = 0;
    if (SUCCEEDED(RegisterGraphInRot(FGraph.Get(), cookie))) FRotCookie = cookie;
  }
  FGraphEdit = Value;
}

void TFilterGraph::CloseLog() {
  if (FActive && FGraph) FGraph->SetLogFile(0);
  FLogStream.reset();
}

void TFilterGraph::SetLogFile(const AnsiString& Value) {
  if (!FActive) {
    FLogFile = Value;
    return;
  }
  CloseLog();
  if (Value.empty()) {
    FLogFile = Value;
    return;
  }
  try {
    FLogStream = std::make_unique<TFileStream>(Value, fmCreate);
    FGraph->SetLogFile(reinterpret_cast<DWORD_PTR>(FLogStream->Handle()));
    FLogFile = Value;
  } catch (const std::exception&) {
    // A log that cannot be written is no reason to stop: the graph runs without one.
    CloseLog();
  }
}

// --- members and listeners -----------------------------------------------------------------

void TFilterGraph::InsertEventNotifier(IGraphListener* Listener) { FListeners.push_back(Listener); }

void TFilterGraph::RemoveEventNotifier(IGraphListener* Listener) {
  auto it = std::find(FListeners.begin(), FListeners.end(), Listener);
  if (it != FListeners.end()) FListeners.erase(it);
}

void TFilterGraph::InsertMember(IGraphMember* Member) {
  FMembers.push_back(Member);
  if (!FActive) return;
  Member->MemberOperation(moAdding, 0);
  FGraph->AddFilter(Member->GetMemberFilter(), Member->GetMemberName().c_str());
  Member->MemberOperation(moAdded, 0);
}

void TFilterGraph::RemoveMember(IGraphMember* Member) {
  auto it = std::find(FMembers.begin(), FMembers.end(), Member);
  if (it == FMembers.end()) return;
  FMembers.erase(it);
  if (!FActive) return;
  Member->MemberOperation(moRemoving, 0);
  FGraph->RemoveFilter(Member->GetMemberFilter());
  Member->MemberOperation(moRemoved, 0);
}

void TFilterGraph::AddMemberFilters() {
  if (!FActive) return;
  for (IGraphMember* member : std::vector<IGraphMember*>(FMembers)) {
    member->MemberOperation(moAdding, 0);
    FGraph->AddFilter(member->GetMemberFilter(), member->GetMemberName().c_str());
    member->MemberOperation(moAdded, 0);
  }
}

void TFilterGraph::RemoveMemberFilters() {
  if (!FActive) return;
  for (IGraphMember* member : std::vector<IGraphMember*>(FMembers)) {
    member->MemberOperation(moRemoving, 0);
    FGraph->RemoveFilter(member->GetMemberFilter());
    member->MemberOperation(moRemoved, 0);
  }
}

void TFilterGraph::ControlEvents(TGraphControlEvent Event, int Param) {
  for (IGraphListener* listener : std::vector<IGraphListener*>(FListeners)) listener->ControlEvent(Event, Param);
}

void TFilterGraph::GraphEvents(int Event, LONG_PTR Param1, LONG_PTR Param2) {
  for (IGraphListener* listener : std::vector<IGraphListener*>(FListeners))
    listener->GraphEvent(Event, Param1, Param2);
}

// --- playback ------------------------------------------------------------------------------

bool TFilterGraph::Play() {
  auto control = Query<IMediaControl>(IID_IMediaControl);
  if (!control) return false;
  ControlEvents(gcePlay);
  return SUCCEEDED(CheckDSError(control->Run()));
}

bool TFilterGraph::Pause() {
  auto control = Query<IMediaControl>(IID_IMediaControl);
  if (!control) return false;
  ControlEvents(gcePause);
  return CheckDSError(control->Pause()) == S_OK;
}

bool TFilterGraph::Stop() {
  auto control = Query<IMediaControl>(IID_IMediaControl);
  if (!control) return false;
  ControlEvents(gceStop);
  return CheckDSError(control->Stop()) == S_OK;
}

HRESULT TFilterGraph::RenderFile(const WideString& FileName) {
  if (!FGraph) return S_FALSE;
  ControlEvents(gceFileRendering);
  HRESULT hr = CheckDSError(FGraph->RenderFile(FileName.c_str(), nullptr));
  UpdateGraph();
  ControlEvents(gceFileRendered);
  return hr;
}

void TFilterGraph::DisconnectFilters() {
  if (!FGraph) return;
  TFilterList filters(FGraph.Get());
  for (int i = 0; i < filters.Count(); ++i) {
    // One pin held at a time: a splitter may drop its output pins when its input goes (Wine's
    // frees them even while referenced), so the list is taken again for every pin.
    for (int j = 0;; ++j) {
      TComRef<IPin> pin;
      {
        TPinList pins(filters.Items(i));
        if (j >= pins.Count()) break;
        pin = pins.Items(j);
      }
      CheckDSError(pin->Disconnect());
    }
  }
}

void TFilterGraph::ClearGraph() {
  if (!FGraph) return;
  Stop();
  DisconnectFilters();
  TFilterList filters(FGraph.Get());
  for (IGraphMember* member : FMembers) filters.Remove(member->GetMemberFilter());
  for (int i = 0; i < filters.Count(); ++i) CheckDSError(FGraph->RemoveFilter(filters.Items(i)));
}

void TFilterGraph::UpdateGraph() {
  SetVolume(FVolume);
  SetBalance(FBalance);
  SetRate(FRate);
}

uint32_t TFilterGraph::GetDuration() {
  auto seeking = Query<IMediaSeeking>(IID_IMediaSeeking);
  if (!seeking) return 0;
  LONGLONG duration = 0;
  // A graph that cannot tell (nothing rendered) leaves the value undefined.
  if (FAILED(seeking->GetDuration(&duration))) return 0;
  return RefTimeToMs(duration);
}

void TFilterGraph::SetVolume(int Value) {
  FVolume = std::clamp(Value, 0, 10000);
  if (auto audio = Query<IBasicAudio>(IID_IBasicAudio))
    audio->put_Volume(FLinearVolume ? VolumeLinearToLog(FVolume) : FVolume - 10000);
}

void TFilterGraph::SetBalance(int Value) {
  FBalance = std::clamp(Value, -10000, 10000);
  if (auto audio = Query<IBasicAudio>(IID_IBasicAudio)) audio->put_Balance(FLinearVolume ? BalanceLinearToLog(FBalance) : FBalance);
}

void TFilterGraph::SetRate(double Value) {
  FRate = Value;
  if (auto seeking = Query<IMediaSeeking>(IID_IMediaSeeking)) seeking->SetRate(Value);
}

void TFilterGraph::SetLinearVolume(bool Value) {
  if (Value == FLinearVolume) return;
  FLinearVolume = Value;
  SetVolume(FVolume);
  SetBalance(FBalance);
}

// --- notices -------------------------------------------------------------------------------

LRESULT TFilterGraph::NotifyWndProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg != WM_GRAPHNOTIFY) return DefWindowProcA(Wnd, Msg, wParam, lParam);
  try {
    DrainEvents();
  } catch (...) {
    if (ApplicationHandleException) ApplicationHandleException(this);
  }
  return 0;
}

void TFilterGraph::DrainEvents() {
  // Held here: a handler may deactivate the graph while its event is dispatched (switching
  // the notices off then empties the queue, so the loop ends).
  TComRef<IMediaEventEx> events = FMediaEvent;
  if (!events) return;
  long code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  while (events->GetEvent(&code, &param1, &param2, 0) == S_OK) {
    ScopeExit freeParams{[&] { events->FreeEventParams(code, param1, param2); }};
    DoEvent(code, param1, param2);
  }
}


// A non-visual component that owns one DirectShow filter graph: it creates and releases the
// graph's objects as Active changes, lets controls contribute filters and hear its events,
// plays, pauses, stops, renders files, clears the graph and reports the duration.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <audevcod.h>
#include <servprov.h>

#include <functional>
#include <memory>
#include <vector>

#include "preview/directshow_utils.h"
#include "preview/graph_interfaces.h"
#include "vcl/classes.h"
#include "vcl/streams.h"
#include "vcl/typinfo.h"

enum TGraphMode { gmNormal, gmCapture, gmDVD };
VCL_ENUM_INFO(TGraphMode, "gmNormal", "gmCapture", "gmDVD")

// Asked for as both service and interface, the graph's site yields the component itself.
inline constexpr GUID FilterGraphServiceID = {0xc7caa944, 0xc191, 0x4ab1, {0xab, 0xa7, 0xd8, 0xb4, 0x0e, 0xf4, 0xd5, 0xb2}};

// The graph's notices reach the hidden window as this message.
constexpr UINT WM_GRAPHNOTIFY = WM_APP + 1;

using TOnDSEvent = std::function<void(TComponent* Sender, int Event, LONG_PTR Param1, LONG_PTR Param2)>;
using TOnDSResult = std::function<void(TObject* Sender, HRESULT Result)>;
using TOnGraphBufferingData = std::function<void(TObject* Sender, bool Buffering)>;
using TOnGraphComplete = std::function<void(TObject* Sender, HRESULT Result, IBaseFilter* Renderer)>;
using TOnGraphDeviceLost = std::function<void(TObject* Sender, IUnknown* Device, bool Removed)>;
using TOnGraphEndOfSegment = std::function<void(TObject* Sender, int64_t StreamTime, uint32_t NumSegment)>;
using TOnGraphFullscreenLost = std::function<void(TObject* Sender, IBaseFilter* Renderer)>;
using TOnGraphOleEvent = std::function<void(TObject* Sender, const WideString& String1, const WideString& String2)>;
using TOnGraphOpeningFile = std::function<void(TObject* Sender, bool opening)>;
using TOnGraphSNDDevError = std::function<void(TObject* Sender, _tagSND_DEVICE_ERROR OccurWhen, uint32_t ErrorCode)>;
using TOnGraphStreamControl = std::function<void(TObject* Sender, IPin* PinSender, uint32_t Cookie)>;
using TOnGraphStreamError = std::function<void(TObject* Sender, HRESULT Operation, uint32_t Value)>;
using TOnGraphVideoSizeChanged = std::function<void(TObject* Sender, WORD Width, WORD height)>;
using TOnGraphTimeCodeAvailable = std::function<void(TObject* Sender, IBaseFilter* From, uint32_t DeviceID)>;
using TOnGraphEXTDeviceModeChange = std::function<void(TObject* Sender, uint32_t NewMode, uint32_t DeviceID)>;
using TOnGraphVMRRenderDevice = std::function<void(TObject* Sender, int RenderDevice)>;
using TOnDVDAudioStreamChange = std::function<void(TObject* Sender, int stream, int lcid, const AnsiString& Lang)>;
using TOnDVDSubpictureStreamChange = std::function<void(TObject* Sender, int SubNum, int lcid, const AnsiString& Lang)>;
using TOnDVDCurrentTime = std::function<void(TObject* Sender, int Hours, int minutes, int seconds, int frames, int frate)>;
using TOnDVDTitleChange = std::function<void(TObject* Sender, int title)>;
using TOnDVDChapterStart = std::function<void(TObject* Sender, int chapter)>;
using TOnDVDChange = std::function<void(TObject* Sender, int total, int current)>;
using TOnDVDValidUOPSChange = std::function<void(TObject* Sender, int UOPS)>;
using TOnDVDStillOn = std::function<void(TObject* Sender, bool NoButtonAvailable, int seconds)>;
using TOnDVDPlaybackRateChange = std::function<void(TObject* Sender, float rate)>;
using TOnDVDParentalLevelChange = std::function<void(TObject* Sender, int level)>;
using TOnDVDAnglesAvailable = std::function<void(TObject* Sender, bool available)>;
using TOnDVDButtonAutoActivated = std::function<void(TObject* Sender, uint32_t Button)>;
using TOnDVDCMD = std::function<void(TObject* Sender, uint32_t CmdID)>;
using TOnDVDCurrentHMSFTime = std::function<void(TObject* Sender, const DVD_HMSF_TIMECODE& HMSFTimeCode, const TDvdTimeCode& TimeCode)>;
using TOnDVDKaraokeMode = std::function<void(TObject* Sender, bool Played)>;

// The graph builder's questions: answer false to pass a filter over (or to leave a pin
// unrendered when answering UnableToRender).
using TOnSelectedFilter = std::function<bool(IMoniker* Moniker, const WideString& FilterName, const GUID& ClassID)>;
using TOnCreatedFilter = std::function<bool(IBaseFilter* Filter, const GUID& ClassID)>;
using TOnUnableToRender = std::function<bool(IPin* Pin)>;

// The component is not reference counted: its owner frees it, so AddRef and Release do
// nothing and the graph gives up its callbacks before the component goes.
class TFilterGraph : public TComponent,
                     public IServiceProvider,
                     public IAMFilterGraphCallback,
                     public IAMGraphBuilderCallback {
  VCL_CLASS(TFilterGraph)
 public:
  explicit TFilterGraph(TComponent* AOwner);
  ~TFilterGraph() override;
  void Loaded() override;

  // --- IUnknown: the component's own interfaces, then those of the active graph
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID IID, void** Obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  // The interface I of the component or its graph; empty when there is none.
  template <class I>
  TComRef<I> Query(REFIID IID) {
    TComRef<I> result;
    if (FAILED(QueryInterface(IID, reinterpret_cast<void**>(result.GetAddressOf())))) result.Reset();
    return result;
  }

  // --- IServiceProvider, IAMGraphBuilderCallback, IAMFilterGraphCallback
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID Service, REFIID IID, void** Obj) override;
  HRESULT STDMETHODCALLTYPE SelectedFilter(IMoniker* Moniker) override;
  HRESULT STDMETHODCALLTYPE CreatedFilter(IBaseFilter* Filter) override;
  HRESULT STDMETHODCALLTYPE UnableToRender(IPin* Pin) override;

  // --- state
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  bool AutoCreate = false;
  TGraphMode Mode() const { return FMode; }
  void SetMode(TGraphMode Value);
  bool GraphEdit() const { return FGraphEdit; }
  void SetGraphEdit(bool Value);
  const AnsiString& LogFile() const { return FLogFile; }
  void SetLogFile(const AnsiString& Value);
  bool LinearVolume() const { return FLinearVolume; }
  void SetLinearVolume(bool Value);
  int Volume() const { return FVolume; }
  void SetVolume(int Value);
  int Balance() const { return FBalance; }
  void SetBalance(int Value);
  double Rate() const { return FRate; }
  void SetRate(double Value);
  // The graph manager (null while inactive) and the hidden window of its notices.
  IFilterGraph2* Graph() const { return FGraph.Get(); }
  HWND NotifyWindow() const { return FNotifyWindow; }
  DWORD RotCookie() const { return FRotCookie; }

  // --- linked controls
  void InsertEventNotifier(IGraphListener* Listener);
  void RemoveEventNotifier(IGraphListener* Listener);
  void InsertMember(IGraphMember* Member);
  void RemoveMember(IGraphMember* Member);
  int MemberCount() const { return static_cast<int>(FMembers.size()); }
  int ListenerCount() const { return static_cast<int>(FListeners.size()); }

  // --- playback
  bool Play();
  bool Pause();
  bool Stop();
  HRESULT RenderFile(const WideString& FileName);
  void ClearGraph();
  void DisconnectFilters();
  void UpdateGraph();
  // Milliseconds; 0 while inactive or when the graph cannot tell.
  uint32_t GetDuration();

  void ControlEvents(TGraphControlEvent Event, int Param = 0);
  void GraphEvents(int Event, LONG_PTR Param1, LONG_PTR Param2);
  // One queued event: the listeners, OnDSEvent, then the event of its code.
  virtual void DoEvent(int Event, LONG_PTR Param1, LONG_PTR Param2);

  // --- events
  TNotifyEvent OnActivate;
  TOnDSEvent OnDSEvent;
  TOnGraphBufferingData OnGraphBufferingData;
  TNotifyEvent OnGraphClockChanged;
  TOnGraphComplete OnGraphComplete;
  TOnGraphDeviceLost OnGraphDeviceLost;
  TOnGraphEndOfSegment OnGraphEndOfSegment;
  TOnDSResult OnGraphErrorStillPlaying;
  TOnDSResult OnGraphErrorAbort;
  TOnGraphFullscreenLost OnGraphFullscreenLost;
  TNotifyEvent OnGraphChanged;
  TOnGraphOleEvent OnGraphOleEvent;
  TOnGraphOpeningFile OnGraphOpeningFile;
  TNotifyEvent OnGraphPaletteChanged;
  TOnDSResult OnGraphPaused;
  TNotifyEvent OnGraphQualityChange;
  TOnGraphSNDDevError OnGraphSNDDevInError;
  TOnGraphSNDDevError OnGraphSNDDevOutError;
  TNotifyEvent OnGraphStepComplete;
  TOnGraphStreamControl OnGraphStreamControlStarted;
  TOnGraphStreamControl OnGraphStreamControlStopped;
  TOnGraphStreamError OnGraphStreamErrorStillPlaying;
  TOnGraphStreamError OnGraphStreamErrorStopped;
  TNotifyEvent OnGraphUserAbort;
  TOnGraphVideoSizeChanged OnGraphVideoSizeChanged;
  TOnGraphTimeCodeAvailable OnGraphTimeCodeAvailable;
  TOnGraphEXTDeviceModeChange OnGraphEXTDeviceModeChange;
  TNotifyEvent OnGraphClockUnset;
  TOnGraphVMRRenderDevice OnGraphVMRRenderDevice;
  TOnDVDAudioStreamChange OnDVDAudioStreamChange;
  TOnDVDCurrentTime OnDVDCurrentTime;
  TOnDVDTitleChange OnDVDTitleChange;
  TOnDVDChapterStart OnDVDChapterStart;
  TOnDVDChange OnDVDAngleChange;
  TOnDVDValidUOPSChange OnDVDValidUOPSChange;
  TOnDVDChange OnDVDButtonChange;
  TNotifyEvent OnDVDChapterAutoStop;
  TOnDVDStillOn OnDVDStillOn;
  TNotifyEvent OnDVDStillOff;
  TOnDVDSubpictureStreamChange OnDVDSubpictureStreamChange;
  TNotifyEvent OnDVDNoFP_PGC;
  TOnDVDPlaybackRateChange OnDVDPlaybackRateChange;
  TOnDVDParentalLevelChange OnDVDParentalLevelChange;
  TNotifyEvent OnDVDPlaybackStopped;
  TOnDVDAnglesAvailable OnDVDAnglesAvailable;
  TNotifyEvent OnDVDPlayPeriodAutoStop;
  TOnDVDButtonAutoActivated OnDVDButtonAutoActivated;
  TOnDVDCMD OnDVDCMDStart;
  TOnDVDCMD OnDVDCMDEnd;
  TNotifyEvent OnDVDDiscEjected;
  TNotifyEvent OnDVDDiscInserted;
  TOnDVDCurrentHMSFTime OnDVDCurrentHMSFTime;
  TOnDVDKaraokeMode OnDVDKaraokeMode;
  TNotifyEvent OnDVDDomainFirstPlay;
  TNotifyEvent OnDVDDomainVideoManagerMenu;
  TNotifyEvent OnDVDDomainVideoTitleSetMenu;
  TNotifyEvent OnDVDDomainTitle;
  TNotifyEvent OnDVDDomainStop;
  TNotifyEvent OnDVDErrorUnexpected;
  TNotifyEvent OnDVDErrorInvalidDVD1_0Disc;
  TNotifyEvent OnDVDErrorInvalidDiscRegion;
  TNotifyEvent OnDVDErrorLowParentalLevel;
  TNotifyEvent OnDVDErrorIncompatibleSystemAndDecoderRegions;
  TNotifyEvent OnDVDErrorIncompatibleDiscAndDecoderRegions;
  TNotifyEvent OnDVDWarningInvalidDVD1_0Disc;
  TNotifyEvent OnDVDWarningFormatNotSupported;
  TNotifyEvent OnDVDWarningIllegalNavCommand;
  TNotifyEvent OnDVDWarningOpen;
  TNotifyEvent OnDVDWarningSeek;
  TNotifyEvent OnDVDWarningRead;
  TOnSelectedFilter OnSelectedFilter;
  TOnCreatedFilter OnCreatedFilter;
  TOnUnableToRender OnUnableToRender;

 private:
  void Activate();
  void Deactivate();
  // Releases every DirectShow object of the graph (a failed activation, a deactivation).
  void ReleaseObjects();
  void AddMemberFilters();
  void RemoveMemberFilters();
  void CloseLog();
  LRESULT NotifyWndProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam);
  void DrainEvents();
  // The two DVD language look-ups of the event dispatch.
  void DvdStreamChange(int Event, LONG_PTR Param1);

  bool FActive = false;
  HWND FNotifyWindow = nullptr;
  TGraphMode FMode = gmNormal;
  int FVolume = 10000;
  int FBalance = 0;
  double FRate = 1.0;
  bool FLinearVolume = true;
  std::vector<IGraphMember*> FMembers;
  std::vector<IGraphListener*> FListeners;
  TComRef<IFilterGraph2> FGraph;
  TComRef<ICaptureGraphBuilder2> FCaptureBuilder;
  TComRef<IDvdGraphBuilder> FDvdBuilder;
  TComRef<IMediaEventEx> FMediaEvent;
  bool FGraphEdit = false;
  DWORD FRotCookie = 0;
  AnsiString FLogFile;
  std::unique_ptr<TFileStream> FLogStream;
};


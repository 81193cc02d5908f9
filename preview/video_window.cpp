#include "preview/video_window.h"

#include <cmath>

#include "vcl/application.h"
#include "vcl/forms.h"
#include "vcl/streaming.h"

namespace {

const std::vector<TPropInfo>& VideoWindowProperties() {
  using V = TVideoWindowEx;
  static const std::vector<TPropInfo> table = TPropertyTable<V>()
      .Property("AspectRatio", &V::AspectRatio, &V::SetAspectRatio)
      .Property("AutoHideCursor", &V::AutoHideCursor)
      .Property("DigitalZoom", &V::DigitalZoom, &V::SetDigitalZoom)
      .Property("FilterGraph", &V::FilterGraph, &V::SetFilterGraph)
      .Property("FullScreenTopMost", &V::FullScreenTopMost).Default(false)
      .Property("OnColorKeyChanged", &V::OnColorKeyChanged)
      .Property("ColorControl", &V::ColorControl, &V::SetColorControl)
      .Property("NoScreenSaver", &V::NoScreenSaver)
      .Property("OnOverlayVisible", &V::OnOverlayVisible)
      .Property("OnPaint", &V::OnPaint)
      .Property("OnCursorShowHide", &V::OnCursorShowHide)
      .Table();
  return table;
}

template <class I>
TComRef<I> As(IUnknown* Unknown, REFIID IID) {
  TComRef<I> result;
  if (Unknown && FAILED(Unknown->QueryInterface(IID, reinterpret_cast<void**>(result.GetAddressOf())))) result.Reset();
  return result;
}

CLSID ClassOf(IBaseFilter* Filter) {
  CLSID id = GUID_NULL;
  if (Filter) Filter->GetClassID(&id);
  return id;
}

bool IsInput(IPin* Pin) {
  PIN_DIRECTION dir;
  return SUCCEEDED(Pin->QueryDirection(&dir)) && dir == PINDIR_INPUT;
}

TComRef<IPin> PeerOf(IPin* Pin) {
  TComRef<IPin> peer;
  if (FAILED(Pin->ConnectedTo(&peer))) peer.Reset();
  return peer;
}

TComRef<IBaseFilter> OwnerOf(IPin* Pin) {
  TComRef<IBaseFilter> filter;
  PIN_INFO info{};
  if (SUCCEEDED(Pin->QueryPinInfo(&info))) filter.Attach(info.pFilter);
  return filter;
}

// Takes a filter out of every connection it has, on both sides of each.
void DisconnectAll(IFilterGraph* Graph, IBaseFilter* Filter) {
  TPinList pins(Filter);
  for (int i = 0; i < pins.Count(); ++i) {
    if (auto peer = PeerOf(pins.Items(i))) {
      if (Graph) Graph->Disconnect(peer.Get());
    }
    if (Graph)
      Graph->Disconnect(pins.Items(i));
    else
      pins.Items(i)->Disconnect();
  }
}

// Brushes are chosen per paint: the colour may have changed since the last one.
void FillWith(HDC DC, const RECT& Rect, TColor Color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
  FillRect(DC, &Rect, brush);
  DeleteObject(brush);
}

}  // namespace

VCL_CLASS_IMPL(TVideoWindowEx, TCustomControl, &CreateComponentOf<TVideoWindowEx>, &VideoWindowProperties)

void RegisterPreviewClasses() { RegisterClasses({TFilterGraph::StaticClass(), TVideoWindowEx::StaticClass()}); }

TZoomSource DigitalZoomSource(long Width, long Height, int Zoom) {
  TZoomSource z{};
  if (Width <= 0 || Height <= 0) return z;
  double width = Width - Zoom * static_cast<double>(Width) / 100;
  double height = width * Height / Width;
  z.Width = static_cast<long>(std::trunc(width));
  z.Height = static_cast<long>(std::trunc(height));
  z.Left = static_cast<long>(std::trunc((Width - width) / 2));
  z.Top = static_cast<long>(std::trunc((Height - height) / 2));
  return z;
}

// --- the connection journal --------------------------------------------------------------------

HRESULT TConnectionJournal::Break(IPin* Output, IPin* Input) {
  HRESULT hr = FGraph->Disconnect(Output);
  if (SUCCEEDED(hr)) hr = FGraph->Disconnect(Input);
  if (SUCCEEDED(hr)) FSteps.push_back({false, Output, Input});
  return hr;
}

HRESULT TConnectionJournal::Make(IPin* Output, IPin* Input) {
  HRESULT hr = FBuilder->Connect(Output, Input);
  if (SUCCEEDED(hr)) FSteps.push_back({true, Output, Input});
  return hr;
}

void TConnectionJournal::Undo() {
  for (auto step = FSteps.rbegin(); step != FSteps.rend(); ++step) {
    if (step->Made) {
      // The builder may have put a converter in between: the output's actual peer goes.
      if (auto peer = PeerOf(step->Output.Get())) FGraph->Disconnect(peer.Get());
      FGraph->Disconnect(step->Output.Get());
      FGraph->Disconnect(step->Input.Get());
    } else {
      FGraph->ConnectDirect(step->Output.Get(), step->Input.Get(), nullptr);
    }
  }
  FSteps.clear();
}

// --- the idle chain ----------------------------------------------------------------------------

// The control's handler in the application's OnIdle; its type tells it apart from others.
struct TVideoIdleHandler {
  TVideoWindowEx* Owner;
  void operator()(TObject* Sender, bool& Done) const { Owner->Idle(Sender, Done); }

  // Takes Leaving out of the chain that starts at Slot: where a handler of Leaving sits, the
  // handler it had chained takes its place. A chain broken by a foreign handler is left alone.
  static void Unchain(std::function<void(TObject*, bool&)>& Slot, TVideoWindowEx* Leaving) {
    for (std::function<void(TObject*, bool&)>* slot = &Slot;;) {
      auto* handler = slot->target<TVideoIdleHandler>();
      if (!handler) return;
      if (handler->Owner == Leaving) {
        *slot = Leaving->FPreviousIdle;
        return;
      }
      slot = &handler->Owner->FPreviousIdle;
    }
  }
};

// --- construction ------------------------------------------------------------------------------

TVideoWindowEx::TVideoWindowEx(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks | csReflector;
  SetTabStop(true);
  SetBounds(Left(), Top(), 320, 240);
  SetColor(clBlack);
  FColorControl = std::make_unique<TColorControl>(this);
  FCapabilities = std::make_unique<TVideoWindowExCaps>(this);
  SetAspectRatio(rmLetterBox);
  SetDigitalZoom(0);
  if (!HasState(csDesigning)) {
    FFullScreenForm = TCustomForm::CreateNew<TForm>(nullptr);
    FFullScreenForm->SetColor(Color());
    FFullScreenForm->SetBorderStyle(bsNone);
    FFullScreenForm->OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FullScreenCloseQuery(Sender, CanClose); };
    if (Application) {
      // Chained, not replaced: whoever had the idle step before keeps it.
      FPreviousIdle = Application->OnIdle;
      Application->OnIdle = TVideoIdleHandler{this};
    }
  }
}

TVideoWindowEx::~TVideoWindowEx() {
  Destroying();
  if (FDesktopPlayback) NormalPlayback();
  if (FExclusiveMode) FExclusiveMode->SetCallbackInterface(nullptr, 0);
  if (Application) TVideoIdleHandler::Unchain(Application->OnIdle, this);
  // The renderer leaves the graph before it is released, so the graph keeps no filter
  // whose control is gone.
  SetFilterGraph(nullptr);
  FExclusiveMode.Reset();
  FOverlayCallback.Reset();
  FOverlayMixer.Reset();
  FGraphRenderer.Reset();
  FVideoWindow.Reset();
  FRendererFilter.Reset();
  if (FFullScreenForm) {
    FFullScreenForm->OnCloseQuery = nullptr;
    FFullScreenForm->Free();
    FFullScreenForm = nullptr;
  }
}

void TVideoWindowEx::Loaded() {
  TCustomControl::Loaded();
  if (HandleAllocated()) {
    FWindowStyle = GetWindowLongPtrA(WindowHandle(), GWL_STYLE);
    FWindowExStyle = GetWindowLongPtrA(WindowHandle(), GWL_EXSTYLE);
  }
}

void TVideoWindowEx::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFilterGraph) FFilterGraph = nullptr;
}

HRESULT TVideoWindowEx::QueryInterface(REFIID IID, void** Obj) {
  if (!Obj) return E_POINTER;
  *Obj = nullptr;
  if (IID == IID_IUnknown || IID == IID_IGraphMember)
    *Obj = static_cast<IGraphMember*>(this);
  else if (IID == IID_IGraphListener)
    *Obj = static_cast<IGraphListener*>(this);
  if (*Obj) return S_OK;
  return FRendererFilter ? FRendererFilter->QueryInterface(IID, Obj) : E_NOINTERFACE;
}

void TVideoWindowEx::SetFilterGraph(TFilterGraph* Value) {
  if (Value == FFilterGraph) return;
  if (FFilterGraph) {
    FFilterGraph->RemoveMember(this);
    FFilterGraph->RemoveEventNotifier(this);
    FFilterGraph->RemoveFreeNotification(this);
  }
  if (Value) {
    Value->InsertMember(this);
    Value->InsertEventNotifier(this);
    Value->FreeNotification(this);
  }
  FFilterGraph = Value;
}

// --- membership --------------------------------------------------------------------------------

void TVideoWindowEx::MemberOperation(TMemberOperation Operation, int) {
  IFilterGraph* graph = FFilterGraph ? FFilterGraph->Graph() : nullptr;
  switch (Operation) {
    case moAdding:
      FOverlayTried = false;
      CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                       reinterpret_cast<void**>(FRendererFilter.ReleaseAndGetAddressOf()));
      break;
    case moAdded:
      FVideoWindow = As<IVideoWindow>(FRendererFilter.Get(), IID_IVideoWindow);
      break;
    case moRemoving:
      if (FOverlayMixer) {
        FColorControl->RestoreDefaults();
        if (FRendererFilter) FRendererFilter->Stop();
        DisconnectAll(graph, FOverlayMixer.Get());
      }
      if (FRendererFilter) {
        FRendererFilter->Stop();
        DisconnectAll(graph, FRendererFilter.Get());
      }
      if (FExclusiveMode) FExclusiveMode->SetCallbackInterface(nullptr, 0);
      FOverlayCallback.Reset();
      break;
    case moRemoved:
      FOverlayTried = false;
      FOverlayActive = false;
      FOverlayVisible = false;
      FRendererCursorHidden = false;
      FExclusiveMode.Reset();
      FOverlayMixer.Reset();
      FGraphRenderer.Reset();
      FVideoWindow.Reset();
      FRendererFilter.Reset();
      break;
  }
}

void TVideoWindowEx::GraphEvent(int Event, LONG_PTR, LONG_PTR) {
  if (Event == EC_PALETTE_CHANGED) {
    SetupVideoWindow();
  } else if (Event == EC_CLOCK_CHANGED) {
    if (FOverlayActive) RefreshColorKey();
    SetDigitalZoom(FDigitalZoom);
    SetAspectRatio(FAspectRatio);
    if (FOverlayActive) PaintOverlay();
  }
}

void TVideoWindowEx::ConnectedOverlay(HRESULT Result) {
  FOverlayActive = SUCCEEDED(Result);
  if (FOverlayActive) {
    FColorControl->ReadDefaults();
    FColorControl->Apply();
  }
}

void TVideoWindowEx::Prepare() {
  if (FOverlayTried) return;
  ConnectedOverlay(ConnectOverlayMixer());
  SetupVideoWindow();
}

void TVideoWindowEx::ControlEvent(TGraphControlEvent Event, int) {
  switch (Event) {
    case gcePlay:
    case gcePause:
      Prepare();
      if (FOverlayActive && !FOverlayVisible && !FDesktopPlayback) {
        FOverlayVisible = true;
        if (OnOverlayVisible) OnOverlayVisible(this, true);
        PaintOverlay();
      }
      break;
    case gceStop:
      Prepare();
      if (FOverlayActive && FOverlayVisible) {
        FOverlayVisible = false;
        PaintOverlay();
        if (OnOverlayVisible) OnOverlayVisible(this, false);
      }
      break;
    case gceFileRendered:
      ConnectedOverlay(ConnectOverlayMixer());
      SetupVideoWindow();
      break;
    default:
      break;
  }
}

// --- the Overlay Mixer ---------------------------------------------------------------------------

HRESULT TVideoWindowEx::ConnectOverlayMixer() {
  FOverlayMixer.Reset();
  FGraphRenderer.Reset();
  FOverlayTried = true;
  IFilterGraph2* graph = FFilterGraph ? FFilterGraph->Graph() : nullptr;
  if (!graph) return E_FAIL;

  TComRef<IBaseFilter> vmr;
  {
    TFilterList filters(graph);
    for (int i = 0; i < filters.Count(); ++i) {
      CLSID id = ClassOf(filters.Items(i));
      if (id == CLSID_OverlayMixer)
        FOverlayMixer = filters.Items(i);
      else if (id == CLSID_VideoMixingRenderer)
        vmr = filters.Items(i);
      else if (id == CLSID_VideoRenderer)
        FGraphRenderer = filters.Items(i);
    }
  }
  auto builder = FFilterGraph->Query<IGraphBuilder>(IID_IGraphBuilder);
  if (!builder) return E_NOINTERFACE;

  TConnectionJournal journal(graph, builder.Get());
  TComRef<IBaseFilter> removedDecoder, addedDecoder;
  bool mixerAdded = !FOverlayMixer;
  HRESULT hr;
  if (!mixerAdded) {
    // A mixer already there must already be in the path.
    bool outputToRenderer = false, inputConnected = false;
    TPinList pins(FOverlayMixer.Get());
    for (int i = 0; i < pins.Count(); ++i) {
      auto peer = PeerOf(pins.Items(i));
      if (!peer) continue;
      if (IsInput(pins.Items(i)))
        inputConnected = true;
      else if (FGraphRenderer && OwnerOf(peer.Get()).Get() == FGraphRenderer.Get())
        outputToRenderer = true;
    }
    hr = outputToRenderer && inputConnected ? S_OK : E_FAIL;
    if (FAILED(hr)) return hr;
  } else {
    hr = InsertOverlayMixer(journal, builder.Get(), vmr.Get(), removedDecoder, addedDecoder);
  }
  if (SUCCEEDED(hr)) {
    FExclusiveMode = As<IDDrawExclModeVideo>(FOverlayMixer.Get(), IID_IDDrawExclModeVideo);
    hr = FExclusiveMode ? S_OK : E_NOINTERFACE;
    if (SUCCEEDED(hr)) {
      FOverlayCallback.Attach(new TOverlayCallback(this));
      hr = FExclusiveMode->SetCallbackInterface(FOverlayCallback.Get(), 0);
    }
    if (FAILED(hr)) {
      FExclusiveMode.Reset();
      FOverlayCallback.Reset();
    }
  }
  if (FAILED(hr)) {
    // Back to the path as it was: the picture shows in the renderer's own window.
    journal.Undo();
    if (addedDecoder) graph->RemoveFilter(addedDecoder.Get());
    if (mixerAdded && FOverlayMixer) graph->RemoveFilter(FOverlayMixer.Get());
    if (mixerAdded) FOverlayMixer.Reset();
    if (vmr) {
      if (FRendererFilter) graph->RemoveFilter(FRendererFilter.Get());
      FGraphRenderer = vmr;
      FVideoWindow = As<IVideoWindow>(vmr.Get(), IID_IVideoWindow);
    }
    return hr;
  }
  if (removedDecoder) graph->RemoveFilter(removedDecoder.Get());
  if (vmr) graph->RemoveFilter(vmr.Get());
  return S_OK;
}

HRESULT TVideoWindowEx::InsertOverlayMixer(TConnectionJournal& Journal, IGraphBuilder* Builder, IBaseFilter* Vmr,
                                           TComRef<IBaseFilter>& RemovedDecoder,
                                           TComRef<IBaseFilter>& AddedDecoder) {
  IFilterGraph2* graph = FFilterGraph->Graph();
  HRESULT hr = CoCreateInstance(CLSID_OverlayMixer, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                IID_IBaseFilter, reinterpret_cast<void**>(FOverlayMixer.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return hr;
  if (FAILED(hr = graph->AddFilter(FOverlayMixer.Get(), L"Overlay Mixer"))) return hr;
  if (!FGraphRenderer) return E_FAIL;
  TPinList rendererPins(FGraphRenderer.Get());
  if (rendererPins.Count() == 0 || !IsInput(rendererPins.Items(0))) return E_FAIL;
  IPin* rendererIn = rendererPins.Items(0);

  TComRef<IPin> upstream;
  if (!Vmr) {
    upstream = PeerOf(rendererIn);
    if (!upstream) return VFW_E_NOT_CONNECTED;
    if (FAILED(hr = Journal.Break(upstream.Get(), rendererIn))) return hr;
  } else {
    TPinList vmrPins(Vmr);
    std::vector<TComRef<IPin>> feeders;
    for (int i = 0; i < vmrPins.Count(); ++i) {
      if (!IsInput(vmrPins.Items(i))) continue;
      auto peer = PeerOf(vmrPins.Items(i));
      if (!peer) continue;
      if (FAILED(hr = Journal.Break(peer.Get(), vmrPins.Items(i)))) return hr;
      feeders.push_back(peer);
    }
    if (feeders.empty()) return E_FAIL;
    upstream = feeders[0];
    auto decoder = OwnerOf(upstream.Get());
    if (ClassOf(decoder.Get()) == CLSID_Line21Decoder2) {
      // The newer closed-caption decoder cannot feed the mixer: the older kind takes its place.
      TPinList decoderPins(decoder.Get());
      TComRef<IPin> decoderIn, feeder;
      for (int i = 0; i < decoderPins.Count() && !decoderIn; ++i)
        if (IsInput(decoderPins.Items(i))) decoderIn = decoderPins.Items(i);
      if (decoderIn) feeder = PeerOf(decoderIn.Get());
      if (!feeder) return E_FAIL;
      if (FAILED(hr = Journal.Break(feeder.Get(), decoderIn.Get()))) return hr;
      hr = CoCreateInstance(Line21DecoderClassID, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                            reinterpret_cast<void**>(AddedDecoder.GetAddressOf()));
      if (FAILED(hr)) return hr;
      if (FAILED(hr = graph->AddFilter(AddedDecoder.Get(), L"Line21 Decoder"))) return hr;
      TPinList oldPins(AddedDecoder.Get());
      if (oldPins.Count() < 2) return E_FAIL;
      if (FAILED(hr = Journal.Make(feeder.Get(), oldPins.Items(0)))) return hr;
      upstream = oldPins.Items(1);
      RemovedDecoder = decoder;
    }
  }
  TComRef<IPin> mixerIn;
  TPinList mixerPins(FOverlayMixer.Get());
  for (int i = 0; i < mixerPins.Count() && !mixerIn; ++i)
    if (IsInput(mixerPins.Items(i)) && !PeerOf(mixerPins.Items(i))) mixerIn = mixerPins.Items(i);
  if (!mixerIn) return E_FAIL;
  if (FAILED(hr = Journal.Make(upstream.Get(), mixerIn.Get()))) return hr;
  TComRef<IPin> mixerOut;
  if (FAILED(hr = FOverlayMixer->FindPin(L"Output", &mixerOut))) return hr;
  return Journal.Make(mixerOut.Get(), rendererIn);
}

// --- the renderer window -----------------------------------------------------------------------

void TVideoWindowEx::SetupVideoWindow() {
  if (!FVideoWindow) return;
  HWND parent = Parent() ? Parent()->Handle() : nullptr;
  FVideoWindow->put_Owner(reinterpret_cast<OAHWND>(parent));
  LONG_PTR style = FWindowStyle, exStyle = FWindowExStyle;
  if (!style && HandleAllocated()) {
    style = GetWindowLongPtrA(WindowHandle(), GWL_STYLE);
    exStyle = GetWindowLongPtrA(WindowHandle(), GWL_EXSTYLE);
  }
  FVideoWindow->put_WindowStyle(static_cast<long>(style | WS_CHILD | WS_CLIPSIBLINGS));
  FVideoWindow->put_WindowStyleEx(static_cast<long>(exStyle));
  FVideoWindow->SetWindowPosition(Left(), Top(), Width(), Height());
  if (!Name().empty()) {
    BSTR caption = SysAllocString(AnsiToWide(Name()).c_str());
    FVideoWindow->put_Caption(caption);
    SysFreeString(caption);
  }
  FVideoWindow->put_MessageDrain(reinterpret_cast<OAHWND>(Handle()));
  if (Application) Application->ProcessMessages();
  FVideoWindow->put_AutoShow(FDesktopPlayback ? OAFALSE : OATRUE);
}

void TVideoWindowEx::RefreshColorKey() {
  if (!FOverlayActive) return;
  AnsiString name = Name();
  HWND renderer = nullptr;
  if (Parent() && Parent()->HandleAllocated())
    renderer = FindWindowExA(Parent()->WindowHandle(), nullptr, "VideoRenderer", name.c_str());
  if (!renderer) renderer = FindWindowA("VideoRenderer", name.c_str());
  if (!renderer) return;
  FRendererWindow = renderer;
  SetWindowPos(renderer, Handle(), 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
  TPinList pins(FOverlayMixer.Get());
  if (pins.Count() == 0) return;
  auto config = As<IMixerPinConfig2>(pins.Items(0), IID_IMixerPinConfig2);
  if (!config) return;
  COLORKEY key{};
  DWORD color = 0;
  if (FAILED(config->GetColorKey(&key, &color))) return;
  ColorKey = static_cast<TColor>(key.HighColorValue);
  if (OnColorKeyChanged) OnColorKeyChanged(this);
}

HRESULT TVideoWindowEx::UpdateVideoRect() {
  if (!FVideoWindow || !FRendererFilter || !FExclusiveMode || !FGraphRenderer || !FOverlayMixer) return E_FAIL;
  RECT client = ClientRect();
  if (FAspectRatio == rmLetterBox) {
    DWORD width = 0, height = 0, aspectX = 0, aspectY = 0;
    HRESULT hr = FExclusiveMode->GetNativeVideoProps(&width, &height, &aspectX, &aspectY);
    if (FAILED(hr)) return hr;
    if (aspectX == 0 || aspectY == 0) return E_FAIL;
    LetterboxRect(client, RECT{0, 0, static_cast<LONG>(aspectX), static_cast<LONG>(aspectY)}, FVideoRect);
  } else {
    FVideoRect = client;
  }
  return S_OK;
}

void TVideoWindowEx::PaintOverlay() {
  if (HasState(csDestroying) || !HandleAllocated()) return;
  RECT client = ClientRect();
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HDC memory = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  FillWith(memory, client, Color());
  if (!HasState(csDesigning) && SUCCEEDED(UpdateVideoRect()) && FOverlayVisible) FillWith(memory, FVideoRect, ColorKey);
  HDC dc = GetDC(WindowHandle());
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  ReleaseDC(WindowHandle(), dc);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  if (OnPaint) OnPaint(this);
}

void TVideoWindowEx::Paint() {
  TCustomControl::Paint();
  PaintOverlay();
}

void TVideoWindowEx::Resize() {
  if (FVideoWindow && !FFullScreen && !FDesktopPlayback)
    FVideoWindow->SetWindowPosition(Left(), Top(), Width(), Height());
  TCustomControl::Resize();
}

void TVideoWindowEx::WndProc(TMessage& Message) {
  if (!HasState(csDesigning)) {
    switch (Message.Msg) {
      case WM_ERASEBKGND:
        if (FOverlayActive) {
          Message.Result = -1;
          return;
        }
        break;
      case WM_SYSCOMMAND:
        if (NoScreenSaver && ((Message.WParam & 0xFFF0) == SC_SCREENSAVE || (Message.WParam & 0xFFF0) == SC_MONITORPOWER)) {
          Message.Result = 0;
          return;
        }
        break;
      case WM_SETCURSOR:
        // The overlay's hidden cursor: none over the picture.
        if (FCursorHidden && LOWORD(Message.LParam) == HTCLIENT) {
          ::SetCursor(nullptr);
          Message.Result = 1;
          return;
        }
        break;
    }
  }
  TCustomControl::WndProc(Message);
}

// --- aspect and zoom -----------------------------------------------------------------------------

void TVideoWindowEx::SetAspectRatio(TRatioModes Value) {
  if (HasState(csDesigning) || !FGraphRenderer || !FOverlayMixer) {
    FAspectRatio = Value;
  } else {
    TPinList pins(FOverlayMixer.Get());
    auto config = pins.Count() ? As<IMixerPinConfig2>(pins.Items(0), IID_IMixerPinConfig2) : TComRef<IMixerPinConfig2>();
    if (config && SUCCEEDED(config->SetAspectRatioMode(static_cast<AM_ASPECT_RATIO_MODE>(Value)))) FAspectRatio = Value;
  }
  if (FOverlayActive && !FDesktopPlayback) PaintOverlay();
}

void TVideoWindowEx::SetDigitalZoom(int Value) {
  if (Value < 0 || Value > 99) throw Exception("Value %d out of range. Value must bee between 0 -> 99", Value);
  FDigitalZoom = Value;
  ApplyDigitalZoom();
}

void TVideoWindowEx::ApplyDigitalZoom() {
  if (HasState(csDesigning) || !FGraphRenderer) return;
  auto video = As<IBasicVideo2>(FGraphRenderer.Get(), IID_IBasicVideo2);
  if (!video) return;
  video->SetDefaultSourcePosition();
  long left = 0, top = 0, width = 0, height = 0;
  if (FAILED(video->GetSourcePosition(&left, &top, &width, &height))) return;
  TZoomSource z = DigitalZoomSource(width, height, FDigitalZoom);
  video->put_SourceWidth(z.Width);
  video->put_SourceHeight(z.Height);
  video->put_SourceLeft(z.Left);
  video->put_SourceTop(z.Top);
}

// --- the cursor ----------------------------------------------------------------------------------

POINT TVideoWindowEx::MousePosition(int X, int Y) const {
  POINT p{X, Y};
  if (FFullScreen) GetCursorPos(&p);
  return p;
}

void TVideoWindowEx::Idle(TObject* Sender, bool& Done) {
  Done = true;
  if (AutoHideCursor != 0 && !HasState(csDesigning) &&
      GetTickCount() - FLastMove >= static_cast<DWORD>(AutoHideCursor) && FVideoWindow) {
    POINT p;
    GetCursorPos(&p);
    if (FOverlayActive) {
      if (!FCursorHidden) {
        FCursorHidden = true;
        SetCursorPos(p.x, p.y);
        if (OnCursorShowHide) OnCursorShowHide(this, false);
      }
    } else {
      if (!RendererCursorHidden()) {
        FVideoWindow->HideCursor(OATRUE);
        FRendererCursorHidden = true;
        SetCursorPos(p.x, p.y);
        if (OnCursorShowHide) OnCursorShowHide(this, false);
      }
    }
  }
  if (FPreviousIdle) FPreviousIdle(Sender, Done);
}

bool TVideoWindowEx::RendererCursorHidden() const {
  // Our own record counts too: a renderer may take HideCursor without reporting it back.
  long hidden = OAFALSE;
  if (FVideoWindow && FAILED(FVideoWindow->IsCursorHidden(&hidden))) hidden = OAFALSE;
  return hidden != OAFALSE || FRendererCursorHidden;
}

void TVideoWindowEx::ShowCursorAgain() {
  if (FOverlayActive) {
    if (FCursorHidden) {
      FCursorHidden = false;
      if (OnCursorShowHide) OnCursorShowHide(this, true);
    }
    return;
  }
  if (RendererCursorHidden()) {
    FVideoWindow->HideCursor(OAFALSE);
    FRendererCursorHidden = false;
    if (OnCursorShowHide) OnCursorShowHide(this, true);
  }
}

void TVideoWindowEx::MouseMove(TShiftState Shift, int X, int Y) {
  POINT p = MousePosition(X, Y);
  if (p.x != FLastMouse.x || p.y != FLastMouse.y) {
    FLastMouse = p;
    FLastMove = GetTickCount();
  }
  if (FVideoWindow) ShowCursorAgain();
  TCustomControl::MouseMove(Shift, X, Y);
}

void TVideoWindowEx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FVideoWindow) {
    FLastMouse = MousePosition(X, Y);
    FLastMove = GetTickCount();
    ShowCursorAgain();
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TVideoWindowEx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FVideoWindow) {
    FLastMouse = MousePosition(X, Y);
    FLastMove = GetTickCount();
    ShowCursorAgain();
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

// --- back from the special display modes -----------------------------------------------------------

void TVideoWindowEx::RestoreWallpaper() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) ==
      ERROR_SUCCESS) {
    if (RegQueryValueExA(key, "WallPaper", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
      RegSetValueExA(key, "WallPaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(FPreviousWallpaper.c_str()),
                     static_cast<DWORD>(FPreviousWallpaper.size() + 1));
    RegCloseKey(key);
  }
  SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, nullptr, SPIF_SENDWININICHANGE);
}

void TVideoWindowEx::NormalPlayback() {
  if (FDesktopPlayback) {
    RestoreWallpaper();
    int element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &FPreviousBackground);
    FDesktopPlayback = false;
    if (HasState(csDestroying)) return;
  }
  if (FPreviousParent) {
    SetParent(FPreviousParent);
    FPreviousParent = nullptr;
  }
  if (FFullScreen) {
    if (FFullScreenForm) FFullScreenForm->Hide();
    FFullScreen = false;
  }
  SetupVideoWindow();
  if (FOverlayActive) RefreshColorKey();
  FOverlayVisible = true;
  PaintOverlay();
  if (OnOverlayVisible) OnOverlayVisible(this, true);
}

void TVideoWindowEx::FullScreenCloseQuery(TObject*, bool& CanClose) {
  NormalPlayback();
  CanClose = HasState(csDestroying);
}

// A windowed control that shows the video of a linked filter graph: it contributes its own
// video renderer, routes the picture through the Overlay Mixer where the system has one,
// paints the colour-key area, keeps the aspect ratio, zooms, hides the idle cursor and can
// keep the screen saver away.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <functional>
#include <memory>

#include "preview/colour_controls.h"
#include "preview/directshow_utils.h"
#include "preview/filter_graph.h"
#include "preview/graph_interfaces.h"
#include "vcl/controls.h"

class TForm;

enum TRatioModes { rmStretched, rmLetterBox, rmCrop };
VCL_ENUM_INFO(TRatioModes, "rmStretched", "rmLetterBox", "rmCrop")

using TOverlayVisibleEvent = std::function<void(TObject* Sender, bool Visible)>;
using TCursorVisibleEvent = std::function<void(TObject* Sender, bool Visible)>;

// The source rectangle of a digital zoom: Zoom percent of the width cut away, centred, the
// height following the picture's proportions (floating point, truncated).
struct TZoomSource {
  long Left, Top, Width, Height;
};
TZoomSource DigitalZoomSource(long Width, long Height, int Zoom);

// Connections broken and made while the Overlay Mixer is put into a path, so that a failure
// can put the path back as it was.
class TConnectionJournal {
 public:
  TConnectionJournal(IFilterGraph* Graph, IGraphBuilder* Builder) : FGraph(Graph), FBuilder(Builder) {}
  // Disconnects an upstream output pin from the input pin it feeds.
  HRESULT Break(IPin* Output, IPin* Input);
  // Connects an output pin to an input pin through the graph builder.
  HRESULT Make(IPin* Output, IPin* Input);
  // Undoes every recorded step, last first.
  void Undo();
  int Count() const { return static_cast<int>(FSteps.size()); }

 private:
  struct TStep {
    bool Made;
    TComRef<IPin> Output, Input;
  };
  IFilterGraph* FGraph;
  IGraphBuilder* FBuilder;
  std::vector<TStep> FSteps;
};

class TVideoWindowEx : public TCustomControl, public IGraphMember, public IGraphListener {
  VCL_CLASS(TVideoWindowEx)
 public:
  explicit TVideoWindowEx(TComponent* AOwner);
  ~TVideoWindowEx() override;

  // --- IUnknown: the control's own interfaces, then its renderer's
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID IID, void** Obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  // --- IGraphMember, IGraphListener
  IBaseFilter* GetMemberFilter() override { return FRendererFilter.Get(); }
  WideString GetMemberName() override { return AnsiToWide(Name()); }
  void MemberOperation(TMemberOperation Operation, int Param) override;
  void GraphEvent(int Event, LONG_PTR Param1, LONG_PTR Param2) override;
  void ControlEvent(TGraphControlEvent Event, int Param) override;

  // --- published
  TRatioModes AspectRatio() const { return FAspectRatio; }
  void SetAspectRatio(TRatioModes Value);
  int AutoHideCursor = 0;
  int DigitalZoom() const { return FDigitalZoom; }
  void SetDigitalZoom(int Value);
  TFilterGraph* FilterGraph() const { return FFilterGraph; }
  void SetFilterGraph(TFilterGraph* Value);
  bool FullScreenTopMost = false;
  TNotifyEvent OnColorKeyChanged;
  TColorControl* ColorControl() const { return FColorControl.get(); }
  void SetColorControl(TColorControl* Value) { FColorControl->Assign(Value); }
  bool NoScreenSaver = false;
  TOverlayVisibleEvent OnOverlayVisible;
  TNotifyEvent OnPaint;
  TCursorVisibleEvent OnCursorShowHide;

  // --- public
  TVideoWindowExCaps* Capabilities() const { return FCapabilities.get(); }
  TColor ColorKey = 0x100010;

  // --- the overlay and the renderer window
  HRESULT ConnectOverlayMixer();
  void SetupVideoWindow();
  HRESULT UpdateVideoRect();
  void PaintOverlay();
  void RefreshColorKey();
  // Back from full screen or desktop playback to the picture in the control.
  void NormalPlayback();

  bool OverlayActive() const { return FOverlayActive; }
  bool OverlayTried() const { return FOverlayTried; }
  bool OverlayVisible() const { return FOverlayVisible; }
  IVideoWindow* VideoWindow() const { return FVideoWindow.Get(); }
  IBaseFilter* GraphRenderer() const { return FGraphRenderer.Get(); }
  IBaseFilter* OverlayMixer() const { return FOverlayMixer.Get(); }
  RECT VideoRect() const { return FVideoRect; }
  bool CursorHidden() const { return FCursorHidden; }

  // The application's idle step: hides the cursor after AutoHideCursor ms of stillness,
  // then runs the handler that was there before the control.
  void Idle(TObject* Sender, bool& Done);

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  friend struct TVideoIdleHandler;
  void Prepare();
  void ApplyDigitalZoom();
  void ConnectedOverlay(HRESULT Result);
  POINT MousePosition(int X, int Y) const;
  void ShowCursorAgain();
  bool RendererCursorHidden() const;
  void RestoreWallpaper();
  void FullScreenCloseQuery(TObject* Sender, bool& CanClose);
  HRESULT InsertOverlayMixer(TConnectionJournal& Journal, IGraphBuilder* Builder, IBaseFilter* Vmr,
                             TComRef<IBaseFilter>& RemovedDecoder, TComRef<IBaseFilter>& AddedDecoder);

  TRatioModes FAspectRatio = rmLetterBox;
  int FDigitalZoom = 0;
  TFilterGraph* FFilterGraph = nullptr;
  std::unique_ptr<TColorControl> FColorControl;
  std::unique_ptr<TVideoWindowExCaps> FCapabilities;

  TComRef<IBaseFilter> FRendererFilter;
  TComRef<IVideoWindow> FVideoWindow;
  TComRef<IBaseFilter> FOverlayMixer;
  TComRef<IBaseFilter> FGraphRenderer;
  TComRef<IDDrawExclModeVideo> FExclusiveMode;
  TComRef<TOverlayCallback> FOverlayCallback;
  bool FOverlayTried = false;
  bool FOverlayActive = false;
  bool FOverlayVisible = false;
  RECT FVideoRect{};
  LONG_PTR FWindowStyle = 0, FWindowExStyle = 0;
  HWND FRendererWindow = nullptr;

  bool FFullScreen = false, FDesktopPlayback = false;
  TForm* FFullScreenForm = nullptr;
  TWinControl* FPreviousParent = nullptr;
  AnsiString FPreviousWallpaper;
  COLORREF FPreviousBackground = 0;

  POINT FLastMouse{-1, -1};
  DWORD FLastMove = 0;
  bool FCursorHidden = false;        // the overlay's way: no cursor over the control
  bool FRendererCursorHidden = false;
  std::function<void(TObject*, bool&)> FPreviousIdle;
};

// Registers the preview's components for stored descriptions.
void RegisterPreviewClasses();

// The overlay picture's colour settings, what the overlay hardware lets the video window
// change, and the Overlay Mixer's notices about the colour key and the picture size.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <atomic>

#include "preview/directshow_utils.h"
#include "preview/graph_interfaces.h"
#include "vcl/classes.h"

class TVideoWindowEx;

// Brightness, contrast, hue, saturation, sharpness, gamma and colour switch of the overlay,
// kept here, held to their ranges and handed to the Overlay Mixer while the graph is live.
class TColorControl : public TPersistent {
  VCL_CLASS(TColorControl)
 public:
  explicit TColorControl(TVideoWindowEx* AOwner);

  int Brightness();
  void SetBrightness(int Value);
  int Contrast();
  void SetContrast(int Value);
  int Hue();
  void SetHue(int Value);
  int Saturation();
  void SetSaturation(int Value);
  int Sharpness();
  void SetSharpness(int Value);
  int Gamma();
  void SetGamma(int Value);
  bool ColorEnable();
  void SetColorEnable(bool Value);

  // The mixer's own values, read after each overlay connection; the capabilities follow
  // their flags.
  const DDCOLORCONTROL& Defaults() const { return FDefaults; }
  void ReadDefaults();
  void Apply();
  void Refresh();
  void RestoreDefaults();

  TPersistent* GetOwner() override;
  void Assign(TPersistent* Source) override;

 private:
  // Live: the owner runs (not designing), is linked to a graph and that graph is active.
  bool GraphLive() const;
  void SetRanged(int& Field, int Value, int Low, int High, const char* Message);
  void Reset();

  int FBrightness, FContrast, FHue, FSaturation, FSharpness, FGamma;
  bool FColorEnable;
  DDCOLORCONTROL FDefaults{};
  TVideoWindowEx* FOwner;
};

// What the overlay lets the video window change.
class TVideoWindowExCaps : public TPersistent {
  VCL_CLASS(TVideoWindowExCaps)
 public:
  explicit TVideoWindowExCaps(TVideoWindowEx* AOwner) : FOwner(AOwner) {}
  bool CanOverlayGraphic() const;
  bool CanControlBrigtness() const { return Flag(DDCOLOR_BRIGHTNESS); }
  bool CanControlContrast() const { return Flag(DDCOLOR_CONTRAST); }
  bool CanControlHue() const { return Flag(DDCOLOR_HUE); }
  bool CanControlSaturation() const { return Flag(DDCOLOR_SATURATION); }
  bool CanControlSharpness() const { return Flag(DDCOLOR_SHARPNESS); }
  bool CanControlGamma() const { return Flag(DDCOLOR_GAMMA); }
  bool CanControlColorEnabled() const { return Flag(DDCOLOR_COLORENABLE); }

 private:
  bool Flag(DWORD Bit) const;
  TVideoWindowEx* FOwner;
};

// Registered with the Overlay Mixer: keeps the owner's colour key and picture current.
class TOverlayCallback : public IDDrawExclModeVideoCallback {
 public:
  explicit TOverlayCallback(TVideoWindowEx* AOwner) : FOwner(AOwner) {}
  virtual ~TOverlayCallback() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID IID, void** Obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE OnUpdateOverlay(BOOL, DWORD, BOOL, const RECT*, const RECT*, BOOL, const RECT*,
                                            const RECT*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnUpdateColorKey(const COLORKEY* Key, DWORD Color) override;
  HRESULT STDMETHODCALLTYPE OnUpdateSize(DWORD Width, DWORD Height, DWORD AspectWidth, DWORD AspectHeight) override;

 private:
  TVideoWindowEx* FOwner;
  std::atomic<ULONG> FRefCount{1};
};

// The Overlay Mixer's first input pin's colour-control interface in the graph, if any.
TComRef<IMixerPinConfig2> FindMixerPinConfig(IFilterGraph* Graph);

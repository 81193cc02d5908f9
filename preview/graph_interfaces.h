// How controls link themselves to a filter graph, and the DirectShow interfaces of the
// overlay path that the toolchain's headers do not declare.
#pragma once

#include <windows.h>
#include <ddraw.h>
#include <dshow.h>

#include "vcl/sysutils.h"
#include "vcl/typinfo.h"

enum TMemberOperation { moAdding, moAdded, moRemoving, moRemoved };
enum TGraphControlEvent {
  gcePlay = 0,
  gcePause = 1,
  gceStop = 2,
  gceFileRendering = 3,
  gceFileRendered = 4,
  gceActive = 7,
};

// A control that contributes a filter to the graph it is linked to.
struct IGraphMember : public IUnknown {
  virtual IBaseFilter* GetMemberFilter() = 0;
  virtual WideString GetMemberName() = 0;
  virtual void MemberOperation(TMemberOperation Operation, int Param) = 0;
};

// A control that hears the graph's DirectShow events and its play, pause and stop.
struct IGraphListener : public IUnknown {
  virtual void GraphEvent(int Event, LONG_PTR Param1, LONG_PTR Param2) = 0;
  virtual void ControlEvent(TGraphControlEvent Event, int Param) = 0;
};
inline constexpr GUID IID_IGraphMember = {0x5b5e3c0e, 0x8f0c, 0x4c52, {0x9a, 0x3d, 0x6a, 0x1d, 0x3f, 0x2a, 0x7c, 0x11}};
inline constexpr GUID IID_IGraphListener = {0x5b5e3c0e, 0x8f0c, 0x4c52, {0x9a, 0x3d, 0x6a, 0x1d, 0x3f, 0x2a, 0x7c, 0x12}};

// --- DirectShow declarations missing from the toolchain ------------------------------------

enum AM_ASPECT_RATIO_MODE {
  AM_ARMODE_STRETCHED,
  AM_ARMODE_LETTER_BOX,
  AM_ARMODE_CROP,
  AM_ARMODE_STRETCHED_AS_PRIMARY,
};

// The Overlay Mixer's input pins: colour key, aspect-ratio mode and colour controls.
struct IMixerPinConfig : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetRelativePosition(DWORD, DWORD, DWORD, DWORD) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRelativePosition(DWORD*, DWORD*, DWORD*, DWORD*) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetZOrder(DWORD) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetZOrder(DWORD*) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetColorKey(COLORKEY*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetColorKey(COLORKEY*, DWORD*) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetBlendingParameter(DWORD) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBlendingParameter(DWORD*) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAspectRatioMode(AM_ASPECT_RATIO_MODE) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAspectRatioMode(AM_ASPECT_RATIO_MODE*) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetStreamTransparent(BOOL) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetStreamTransparent(BOOL*) = 0;
};

struct IMixerPinConfig2 : public IMixerPinConfig {
  virtual HRESULT STDMETHODCALLTYPE SetOverlaySurfaceColorControls(DDCOLORCONTROL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOverlaySurfaceColorControls(DDCOLORCONTROL*) = 0;
};

extern "C" const IID IID_IMixerPinConfig2;

inline constexpr GUID OverlayMixer2ClassID = {0xa0025e90, 0xe45b, 0x11d1, {0xab, 0xe9, 0x00, 0xa0, 0xc9, 0x05, 0xf3, 0x75}};
inline constexpr GUID Line21DecoderClassID = {0x6e8d4a20, 0x310c, 0x11d0, {0xb7, 0x9a, 0x00, 0xaa, 0x00, 0x37, 0x67, 0xa7}};

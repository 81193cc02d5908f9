#include "preview/colour_controls.h"

#include "preview/video_window.h"

namespace {

constexpr int kBrightness = 750, kContrast = 10000, kHue = 0, kSaturation = 10000, kSharpness = 5, kGamma = 1;
constexpr DWORD kAllControls = DDCOLOR_BRIGHTNESS | DDCOLOR_CONTRAST | DDCOLOR_HUE | DDCOLOR_SATURATION |
                               DDCOLOR_SHARPNESS | DDCOLOR_GAMMA | DDCOLOR_COLORENABLE;

const std::vector<TPropInfo>& ColorControlProperties() {
  using C = TColorControl;
  static const std::vector<TPropInfo> table = TPropertyTable<C>()
      .Property("Brightness", &C::Brightness, &C::SetBrightness)
      .Property("Contrast", &C::Contrast, &C::SetContrast)
      .Property("Hue", &C::Hue, &C::SetHue)
      .Property("Saturation", &C::Saturation, &C::SetSaturation)
      .Property("Sharpness", &C::Sharpness, &C::SetSharpness)
      .Property("Gamma", &C::Gamma, &C::SetGamma)
      .Property("ColorEnable", &C::ColorEnable, &C::SetColorEnable)
      .Table();
  return table;
}

const std::vector<TPropInfo>& CapsProperties() {
  using C = TVideoWindowExCaps;
  static const std::vector<TPropInfo> table = TPropertyTable<C>()
      .Property("CanOverlayGraphic", &C::CanOverlayGraphic, nullptr)
      .Property("CanControlBrigtness", &C::CanControlBrigtness, nullptr)
      .Property("CanControlContrast", &C::CanControlContrast, nullptr)
      .Property("CanControlHue", &C::CanControlHue, nullptr)
      .Property("CanControlSaturation", &C::CanControlSaturation, nullptr)
      .Property("CanControlSharpness", &C::CanControlSharpness, nullptr)
      .Property("CanControlGamma", &C::CanControlGamma, nullptr)
      .Property("CanControlColorEnabled", &C::CanControlColorEnabled, nullptr)
      .Table();
  return table;
}

DDCOLORCONTROL EmptyColorControl() {
  DDCOLORCONTROL c{};
  c.dwSize = sizeof c;
  return c;
}

}  // namespace

VCL_CLASS_IMPL(TColorControl, TPersistent, nullptr, &ColorControlProperties)
VCL_CLASS_IMPL(TVideoWindowExCaps, TPersistent, nullptr, &CapsProperties)

TComRef<IMixerPinConfig2> FindMixerPinConfig(IFilterGraph* Graph) {
  TComRef<IMixerPinConfig2> config;
  TFilterList filters(Graph);
  IBaseFilter* mixer = nullptr;
  for (int i = 0; i < filters.Count(); ++i) {
    CLSID id;
    if (SUCCEEDED(filters.Items(i)->GetClassID(&id)) && (id == CLSID_OverlayMixer || id == OverlayMixer2ClassID))
      mixer = filters.Items(i);
  }
  if (!mixer) return config;
  TPinList pins(mixer);
  for (int i = 0; i < pins.Count(); ++i) {
    PIN_DIRECTION dir;
    if (SUCCEEDED(pins.Items(i)->QueryDirection(&dir)) && dir == PINDIR_INPUT) {
      pins.Items(i)->QueryInterface(IID_IMixerPinConfig2, reinterpret_cast<void**>(config.GetAddressOf()));
      break;
    }
  }
  return config;
}

// --- TColorControl ---------------------------------------------------------------------------

TColorControl::TColorControl(TVideoWindowEx* AOwner) : FOwner(AOwner) {
  Reset();
  FDefaults = EmptyColorControl();
  FDefaults.dwFlags = kAllControls;
  FDefaults.lBrightness = kBrightness;
  FDefaults.lContrast = kContrast;
  FDefaults.lHue = kHue;
  FDefaults.lSaturation = kSaturation;
  FDefaults.lSharpness = kSharpness;
  FDefaults.lGamma = kGamma;
  FDefaults.lColorEnable = 1;
}

void TColorControl::Reset() {
  FBrightness = kBrightness;
  FContrast = kContrast;
  FHue = kHue;
  FSaturation = kSaturation;
  FSharpness = kSharpness;
  FGamma = kGamma;
  FColorEnable = true;
}

TPersistent* TColorControl::GetOwner() { return FOwner; }

void TColorControl::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TColorControl*>(Source);
  if (!other) return TPersistent::Assign(Source);
  FBrightness = other->FBrightness;
  FContrast = other->FContrast;
  FHue = other->FHue;
  FSaturation = other->FSaturation;
  FSharpness = other->FSharpness;
  FGamma = other->FGamma;
  FColorEnable = other->FColorEnable;
  if (GraphLive()) Apply();
}

bool TColorControl::GraphLive() const {
  return FOwner && !FOwner->HasState(csDesigning) && FOwner->FilterGraph() && FOwner->FilterGraph()->Active();
}

void TColorControl::SetRanged(int& Field, int Value, int Low, int High, const char* Message) {
  if (Value < Low || Value > High) throw Exception(Message, Value);
  Field = Value;
  if (GraphLive()) Apply();
}

// clang-format off
int TColorControl::Brightness() { if (GraphLive()) Refresh(); return FBrightness; }
int TColorControl::Contrast() { if (GraphLive()) Refresh(); return FContrast; }
int TColorControl::Hue() { if (GraphLive()) Refresh(); return FHue; }
int TColorControl::Saturation() { if (GraphLive()) Refresh(); return FSaturation; }
int TColorControl::Sharpness() { if (GraphLive()) Refresh(); return FSharpness; }
int TColorControl::Gamma() { if (GraphLive()) Refresh(); return FGamma; }
bool TColorControl::ColorEnable() { if (GraphLive()) Refresh(); return FColorEnable; }
// clang-format on

void TColorControl::SetBrightness(int Value) {
  SetRanged(FBrightness, Value, 0, 10000, "Value %d out of range. Value must bee between 0 -> 10.000");
}
void TColorControl::SetContrast(int Value) {
  SetRanged(FContrast, Value, 0, 20000, "Value %d out of range. Value must bee between 0 -> 20.000");
}
void TColorControl::SetHue(int Value) {
  SetRanged(FHue, Value, -180, 180, "Value %d out of range. Value must bee between -180 -> 180");
}
void TColorControl::SetSaturation(int Value) {
  SetRanged(FSaturation, Value, 0, 20000, "Value %d out of range. Value must bee between 0 -> 20.000");
}
void TColorControl::SetSharpness(int Value) {
  SetRanged(FSharpness, Value, 0, 10, "Value %d out of range. Value must bee between 0 -> 10");
}
void TColorControl::SetGamma(int Value) {
  SetRanged(FGamma, Value, 1, 500, "Value %d out of range. Value must bee between 1 -> 500");
}

void TColorControl::SetColorEnable(bool Value) {
  FColorEnable = Value;
  if (GraphLive()) Apply();
}

void TColorControl::ReadDefaults() {
  if (!FOwner || !FOwner->FilterGraph()) return;
  auto config = FindMixerPinConfig(FOwner->FilterGraph()->Graph());
  if (!config) return;
  DDCOLORCONTROL c = EmptyColorControl();
  if (SUCCEEDED(config->GetOverlaySurfaceColorControls(&c))) FDefaults = c;
}

void TColorControl::Apply() {
  if (!FOwner || !FOwner->FilterGraph()) return;
  auto config = FindMixerPinConfig(FOwner->FilterGraph()->Graph());
  if (!config) return;
  DDCOLORCONTROL c = EmptyColorControl();
  c.dwFlags = kAllControls;
  c.lBrightness = FBrightness;
  c.lContrast = FContrast;
  c.lHue = FHue;
  c.lSaturation = FSaturation;
  c.lSharpness = FSharpness;
  c.lGamma = FGamma;
  c.lColorEnable = FColorEnable ? 1 : 0;
  config->SetOverlaySurfaceColorControls(&c);
}

void TColorControl::Refresh() {
  if (!FOwner || !FOwner->FilterGraph()) return;
  auto config = FindMixerPinConfig(FOwner->FilterGraph()->Graph());
  if (!config) return;
  DDCOLORCONTROL c = EmptyColorControl();
  if (FAILED(config->GetOverlaySurfaceColorControls(&c))) {
    Reset();
    return;
  }
  FBrightness = c.lBrightness;
  FContrast = c.lContrast;
  FHue = c.lHue;
  FSaturation = c.lSaturation;
  FSharpness = c.lSharpness;
  FGamma = c.lGamma;
  FColorEnable = c.lColorEnable != 0;
}

void TColorControl::RestoreDefaults() {
  FBrightness = FDefaults.lBrightness;
  FContrast = FDefaults.lContrast;
  FHue = FDefaults.lHue;
  FSaturation = FDefaults.lSaturation;
  FSharpness = FDefaults.lSharpness;
  FGamma = FDefaults.lGamma;
  FColorEnable = FDefaults.lColorEnable != 0;
  if (GraphLive()) Apply();
}

// --- TVideoWindowExCaps ------------------------------------------------------------------------

bool TVideoWindowExCaps::CanOverlayGraphic() const { return FOwner && FOwner->OverlayMixer(); }

bool TVideoWindowExCaps::Flag(DWORD Bit) const {
  return FOwner && FOwner->ColorControl() && (FOwner->ColorControl()->Defaults().dwFlags & Bit) != 0;
}

// --- TOverlayCallback ------------------------------------------------------------------------

HRESULT TOverlayCallback::QueryInterface(REFIID IID, void** Obj) {
  if (!Obj) return E_POINTER;
  if (IID == IID_IUnknown || IID == IID_IDDrawExclModeVideoCallback) {
    *Obj = static_cast<IDDrawExclModeVideoCallback*>(this);
    AddRef();
    return S_OK;
  }
  *Obj = nullptr;
  return E_NOINTERFACE;
}

ULONG TOverlayCallback::Release() {
  ULONG count = --FRefCount;
  if (count == 0) delete this;
  return count;
}

HRESULT TOverlayCallback::OnUpdateColorKey(const COLORKEY* Key, DWORD Color) {
  if (FOwner && Key) {
    FOwner->ColorKey = static_cast<TColor>(Key->HighColorValue);
    if (FOwner->OnColorKeyChanged) FOwner->OnColorKeyChanged(FOwner);
  }
  return S_OK;
}

HRESULT TOverlayCallback::OnUpdateSize(DWORD, DWORD, DWORD, DWORD) {
  if (FOwner) {
    FOwner->UpdateVideoRect();
    FOwner->PaintOverlay();
  }
  return S_OK;
}

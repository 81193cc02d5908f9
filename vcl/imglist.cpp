#include "vcl/imglist.h"

#include <algorithm>

#include "vcl/comctrls_common.h"
#include "vcl/pictures.h"
#include "vcl/streaming.h"
#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& ImageListProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomImageList>()
      .Property("AllocBy", &TCustomImageList::AllocBy, &TCustomImageList::SetAllocBy).Default(4)
      .Property("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor).Idents(ColorIdents()).Default(clNone)
      .Property("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight).Default(16)
      .Property("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked).Default(true)
      .Property("ShareImages", &TCustomImageList::ShareImages, &TCustomImageList::SetShareImages).Default(false)
      .Property("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth).Default(16)
      .Property("OnChange", &TCustomImageList::OnChange)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TChangeLink, TObject, nullptr, nullptr)
VCL_CLASS_IMPL(TCustomImageList, TComponent, nullptr, nullptr)
VCL_CLASS_IMPL(TImageList, TCustomImageList, &CreateComponentOf<TImageList>, &ImageListProperties)

void RegisterImageLists() { RegisterClasses({TImageList::StaticClass()}); }

COLORREF ImageListColor(TColor Color) {
  if (Color == clNone) return CLR_NONE;
  if (Color == clDefault) return CLR_DEFAULT;
  return ColorToRGB(Color);
}

// ---------------------------------------------------------------------------
// TChangeLink

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(FSender);
}

// ---------------------------------------------------------------------------
// TCustomImageList

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) { InitCommonControlsOnce(); }

TCustomImageList::TCustomImageList(TComponent* AOwner, int AWidth, int AHeight) : TCustomImageList(AOwner) {
  FWidth = AWidth;
  FHeight = AHeight;
}

TCustomImageList::~TCustomImageList() {
  Destroying();
  // The links outlive the list: they only forget it.
  for (TChangeLink* link : FClients) link->FSender = nullptr;
  FClients.clear();
  FreeHandle();
}

void TCustomImageList::CreateImageList() {
  UINT flags = ILC_COLOR32 | (FMasked ? ILC_MASK : 0);
  FHandle = ImageList_Create(FWidth, FHeight, flags, FAllocBy, FAllocBy);
  if (!FHandle) throw EInvalidOperation("Failed to create the image list");
  ImageList_SetBkColor(FHandle, ImageListColor(FBkColor));
}

HIMAGELIST TCustomImageList::Handle() {
  if (!FHandle) CreateImageList();
  return FHandle;
}

void TCustomImageList::FreeHandle() {
  if (FHandle && !FShareImages) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

void TCustomImageList::SetHandle(HIMAGELIST Value) {
  if (Value == FHandle) return;
  FreeHandle();
  FHandle = Value;
  if (FHandle) {
    int cx = 0, cy = 0;
    if (ImageList_GetIconSize(FHandle, &cx, &cy)) {
      FWidth = cx;
      FHeight = cy;
    }
    FBkColor = ImageList_GetBkColor(FHandle) == CLR_NONE ? clNone : static_cast<TColor>(ImageList_GetBkColor(FHandle));
  }
  Change();
}

void TCustomImageList::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 1);
  AHeight = std::max(AHeight, 1);
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = AWidth;
  FHeight = AHeight;
  if (FHandle) {
    FreeHandle();
    if (!HasState(csLoading)) CreateImageList();
  }
  Change();
}

void TCustomImageList::SetWidth(int Value) { SetSize(Value, FHeight); }
void TCustomImageList::SetHeight(int Value) { SetSize(FWidth, Value); }

void TCustomImageList::SetMasked(bool Value) {
  if (FMasked == Value) return;
  FMasked = Value;
  if (FHandle) {
    FreeHandle();
    CreateImageList();
  }
  Change();
}

void TCustomImageList::SetBkColor(TColor Value) {
  FBkColor = Value;
  if (FHandle) ImageList_SetBkColor(FHandle, ImageListColor(Value));
  Change();
}

void TCustomImageList::SetAllocBy(int Value) { FAllocBy = std::max(Value, 1); }

int TCustomImageList::Count() { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

bool TCustomImageList::InRange(int Index) { return Index >= 0 && Index < Count(); }

namespace {

// The system copies a picture only from a bitmap that no device context holds; a bitmap
// that was drawn on is held by its canvas, so the list is given a copy.
struct TLooseBitmap {
  explicit TLooseBitmap(TBitmap* Source) {
    if (Source && !Source->Empty()) Copy.Assign(Source);
  }
  HBITMAP Handle() { return Copy.Empty() ? nullptr : Copy.Handle(); }
  TBitmap Copy;
};

}  // namespace

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->Empty()) return -1;
  TLooseBitmap image(Image), mask(Mask);
  int index = ImageList_Add(Handle(), image.Handle(), mask.Handle());
  if (index >= 0) Change();
  return index;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image || Image->Empty()) return -1;
  if (!FMasked) return Add(Image, nullptr);
  COLORREF mask = MaskColor == clDefault ? ColorToRGB(Image->Canvas()->Pixels(0, Image->Height() - 1))
                                         : ColorToRGB(MaskColor);
  TLooseBitmap image(Image);
  int index = ImageList_AddMasked(Handle(), image.Handle(), mask);
  if (index >= 0) Change();
  return index;
}

int TCustomImageList::AddIcon(TIcon* Image) {
  if (!Image || Image->Empty()) return -1;
  int index = ImageList_ReplaceIcon(Handle(), -1, Image->Handle());
  if (index >= 0) Change();
  return index;
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
  if (!InRange(Index) || !Image || Image->Empty()) return;
  TLooseBitmap image(Image), mask(Mask);
  if (ImageList_Replace(FHandle, Index, image.Handle(), mask.Handle())) Change();
}

void TCustomImageList::Delete(int Index) {
  if (!InRange(Index)) return;
  if (ImageList_Remove(FHandle, Index)) Change();
}

void TCustomImageList::Clear() {
  if (FHandle && ImageList_GetImageCount(FHandle) > 0) {
    ImageList_Remove(FHandle, -1);
    Change();
  }
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  if (!Image || !InRange(Index)) return;
  Image->SetSize(FWidth, FHeight);
  TCanvas* canvas = Image->Canvas();
  canvas->Brush()->SetColor(FBkColor == clNone ? clWindow : FBkColor);
  canvas->FillRect(RECT{0, 0, FWidth, FHeight});
  ImageList_Draw(FHandle, Index, canvas->Handle(), 0, 0, ILD_NORMAL);
  canvas->Changed();
}

void TCustomImageList::GetIcon(int Index, TIcon* Image) {
  if (!Image || !InRange(Index)) return;
  if (HICON icon = ImageList_GetIcon(FHandle, Index, ILD_NORMAL)) Image->SetHandle(icon);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (!Canvas || !InRange(Index)) return;
  Canvas->Changing();
  UINT style = ILD_NORMAL;
  COLORREF fg = CLR_DEFAULT;
  if (!Enabled) {
    style |= ILD_BLEND50;
    fg = ColorToRGB(clBtnFace);
  }
  ImageList_DrawEx(FHandle, Index, Canvas->Handle(), X, Y, 0, 0, ImageListColor(FBkColor), fg, style);
  Canvas->Changed();
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (!Value || std::find(FClients.begin(), FClients.end(), Value) != FClients.end()) return;
  Value->FSender = this;
  FClients.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  auto it = std::find(FClients.begin(), FClients.end(), Value);
  if (it == FClients.end()) return;
  (*it)->FSender = nullptr;
  FClients.erase(it);
}

void TCustomImageList::Change() {
  if (FUpdateCount > 0 || HasState(csLoading)) {
    FChanged = true;
    return;
  }
  FChanged = false;
  // A link's handler may unregister links: walk a copy, skipping those gone meanwhile.
  std::vector<TChangeLink*> links = FClients;
  for (TChangeLink* link : links)
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
  if (OnChange) OnChange(this);
}

void TCustomImageList::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FChanged) Change();
}

void TCustomImageList::Loaded() {
  TComponent::Loaded();
  if (FChanged) Change();
}

void TCustomImageList::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCustomImageList*>(Source);
  if (!src) {
    TComponent::Assign(Source);
    return;
  }
  FreeHandle();
  FWidth = src->FWidth;
  FHeight = src->FHeight;
  FMasked = src->FMasked;
  FBkColor = src->FBkColor;
  FAllocBy = src->FAllocBy;
  FShareImages = false;
  if (src->FHandle) {
    FHandle = ImageList_Duplicate(src->FHandle);
    if (!FHandle) throw EInvalidOperation("Failed to copy the image list");
  }
  Change();
}

bool RelinkImageList(TComponent* Holder, TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value) {
  if (Field == Value) return false;
  if (Field) {
    Field->UnRegisterChanges(Link);
    Field->RemoveFreeNotification(Holder);
  }
  Field = Value;
  if (Field) {
    Field->RegisterChanges(Link);
    Field->FreeNotification(Holder);
  }
  return true;
}

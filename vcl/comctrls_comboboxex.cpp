#include "vcl/comctrls_comboboxex.h"

#include <commctrl.h>

#include <algorithm>

#include "vcl/comctrls_common.h"
#include "vcl/streaming.h"

namespace {

const std::vector<TPropInfo>& ComboExItemProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TComboExItem>()
      .Property("Caption", &TComboExItem::Caption, &TComboExItem::SetCaption)
      .Property("ImageIndex", &TComboExItem::ImageIndex, &TComboExItem::SetImageIndex).Default(-1)
      .Table();
  return table;
}

const std::vector<TPropInfo>& ComboBoxExProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomComboBoxEx>()
      .Property("Text", &TControl::Text, &TControl::SetText).Stored(&TControl::IsCaptionStored)
      .Property("DropDownCount", &TCustomComboBoxEx::DropDownCount, &TCustomComboBoxEx::SetDropDownCount).Default(8)
      .Property("Images", &TCustomComboBoxEx::Images, &TCustomComboBoxEx::SetImages)
      .Property("ItemsEx", &TCustomComboBoxEx::ItemsEx, &TCustomComboBoxEx::SetItemsEx)
      .Property("ItemIndex", &TCustomComboBoxEx::ItemIndex, &TCustomComboBoxEx::SetItemIndex).Default(-1)
      .Property("Style", &TCustomComboBoxEx::Style, &TCustomComboBoxEx::SetStyle).Default(csExDropDown)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true)
      .Property("OnChange", &TCustomComboBoxEx::OnChange)
      .Property("OnSelect", &TCustomComboBoxEx::OnSelect)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TComboExItem, TCollectionItem, nullptr, &ComboExItemProperties)
VCL_CLASS_IMPL(TComboExItems, TCollection, nullptr, nullptr)
VCL_CLASS_IMPL(TComboBoxExActionLink, TWinControlActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TCustomComboBoxEx, TCustomListControl, nullptr, &ComboBoxExProperties)
VCL_CLASS_IMPL(TComboBoxEx, TCustomComboBoxEx, &CreateComponentOf<TComboBoxEx>, nullptr)

void RegisterComboBoxExControl() { RegisterClasses({TComboBoxEx::StaticClass()}); }

// --- items ---------------------------------------------------------------------------

void TComboExItem::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Changed(false);
}

void TComboExItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Changed(false);
}

void TComboExItem::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TComboExItem*>(Source);
  if (!other) {
    TCollectionItem::Assign(Source);
    return;
  }
  FCaption = other->FCaption;
  FImageIndex = other->FImageIndex;
  Data = other->Data;
  Changed(false);
}

AnsiString TComboExItem::GetDisplayName() const {
  return FCaption.empty() ? TCollectionItem::GetDisplayName() : FCaption;
}

TComboExItems::TComboExItems(TCustomComboBoxEx* AOwner)
    : TCollection(CollectionItemClassOf<TComboExItem>()), FOwner(AOwner) {}

TComboExItem* TComboExItems::AddItem(const AnsiString& Caption, int ImageIndex, TObject* Data) {
  BeginUpdate();
  TComboExItem* item = Add();
  item->SetCaption(Caption);
  item->SetImageIndex(ImageIndex);
  item->Data = Data;
  EndUpdate();
  return item;
}

TPersistent* TComboExItems::GetOwner() { return FOwner; }

void TComboExItems::Update(TCollectionItem*) {
  if (UpdateCount() == 0) FOwner->FillWindow();
}

// --- the action link -----------------------------------------------------------------

TComboBoxExActionLink::TComboBoxExActionLink(TCustomComboBoxEx* AClient) : TWinControlActionLink(AClient) {}

// --- the control ---------------------------------------------------------------------

TCustomComboBoxEx::TCustomComboBoxEx(TComponent* AOwner)
    : TCustomListControl(AOwner), FItemsEx(new TComboExItems(this)), FImageChangeLink(new TChangeLink) {
  ControlStyle = csSetCaption | csDoubleClicks;
  SetBounds(0, 0, 145, 22);
  SetTabStop(true);
  FImageChangeLink->OnChange = [this](TObject*) { ApplyImages(); };
  InitCommonControlsOnce();
}

TCustomComboBoxEx::~TCustomComboBoxEx() {
  Destroying();
  SetImages(nullptr);
}

void TCustomComboBoxEx::CreateParams(TCreateParams& Params) {
  static const DWORD kStyles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST};
  TCustomListControl::CreateParams(Params);
  CreateSubClass(Params, WC_COMBOBOXEXA);
  Params.Style |= WS_VSCROLL | kStyles[FStyle];
  // The window's height is the room of the dropped-down list; the bar sizes itself.
  Params.Height = Height() + FDropDownCount * (Height() - 4);
}

void TCustomComboBoxEx::CreateWnd() {
  AnsiString text = Text();  // the control's own copy: there is no window yet
  const int index = FItemIndex;
  TCustomListControl::CreateWnd();
  ApplyImages();
  FillWindow();
  SetItemIndex(index);
  if (FStyle != csExDropDownList && index < 0) SetText(text);
}

void TCustomComboBoxEx::DestroyWnd() {
  FItemIndex = ItemIndex();
  TCustomListControl::DestroyWnd();
}

void TCustomComboBoxEx::Loaded() {
  TCustomListControl::Loaded();
  FillWindow();
}

void TCustomComboBoxEx::FillWindow() {
  if (!HandleAllocated() || HasState(csLoading) || HasState(csDestroying)) return;
  HWND wnd = WindowHandle();
  const int keep = ItemIndex();
  SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
  while (SendMessageA(wnd, CB_GETCOUNT, 0, 0) > 0) SendMessageA(wnd, CBEM_DELETEITEM, 0, 0);
  for (int i = 0; i < FItemsEx->Count(); ++i) {
    TComboExItem* item = FItemsEx->Items(i);
    WideString caption = AnsiToWide(item->Caption());
    COMBOBOXEXITEMW native{};
    native.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
    native.iItem = i;
    native.pszText = caption.data();
    native.iImage = native.iSelectedImage = item->ImageIndex();
    native.lParam = reinterpret_cast<LPARAM>(item);
    SendMessageW(wnd, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&native));
  }
  SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
  if (keep >= 0 && keep < FItemsEx->Count()) SendMessageA(wnd, CB_SETCURSEL, keep, 0);
  InvalidateRect(wnd, nullptr, TRUE);
}

void TCustomComboBoxEx::AddItem(const AnsiString& Item, TObject* AObject) { FItemsEx->AddItem(Item, -1, AObject); }

int TCustomComboBoxEx::ItemIndex() const {
  if (HandleAllocated()) FItemIndex = static_cast<int>(SendMessageA(WindowHandle(), CB_GETCURSEL, 0, 0));
  return FItemIndex;
}

void TCustomComboBoxEx::SetItemIndex(int Value) {
  FItemIndex = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), CB_SETCURSEL, Value, 0);
}

void TCustomComboBoxEx::SetStyle(TComboBoxExStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomComboBoxEx::SetImages(TCustomImageList* Value) {
  if (!RelinkImageList(this, FImages, FImageChangeLink.get(), Value)) return;
  ApplyImages();
}

void TCustomComboBoxEx::ApplyImages() {
  if (!HandleAllocated() || HasState(csDestroying)) return;
  SendMessageA(WindowHandle(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
  InvalidateRect(WindowHandle(), nullptr, TRUE);
}

void TCustomComboBoxEx::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomListControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    ApplyImages();
  }
}

TControlActionLink* TCustomComboBoxEx::CreateActionLink() { return new TComboBoxExActionLink(this); }

void TCustomComboBoxEx::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBoxEx::Select() {
  if (OnSelect) OnSelect(this);
}

// The extended combo box passes its inner combo box's notices on as its own.
void TCustomComboBoxEx::CNCommand(TMessage& Message) {
  switch (TWMCommand{Message}.NotifyCode()) {
    case CBN_EDITCHANGE: Change(); break;
    case CBN_SELCHANGE:
      FItemIndex = ItemIndex();
      Select();
      Change();
      break;
    default: break;
  }
}

void TCustomComboBoxEx::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_COMMAND)
    CNCommand(Message);
  else
    TCustomListControl::Dispatch(Message);
}

#include "widetext/uni_picture_dialog.h"

#include <algorithm>

#include "vcl/application.h"
#include "widetext/filenames.h"
#include "widetext/uni_forms.h"

namespace {

const wchar_t* const kNone = L"(None)";

// The pane lives in the system's dialog window, which the framework does not know: it is
// created inside the window it is shown in, and goes with it.
class TDialogPane : public TUniPanel {
 public:
  using TUniPanel::TUniPanel;
  void ShowIn(HWND Host) {
    FHost = Host;
    if (HandleAllocated() && GetParent(WindowHandle()) != Host) ::SetParent(WindowHandle(), Host);
    UpdateShowing();
    ShowWindow(WindowHandle(), SW_SHOWNA);
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TUniPanel::CreateParams(Params);
    if (!Parent()) Params.WndParent = FHost;
  }

 private:
  HWND FHost = nullptr;
};

WideString AllPicturesFilter() { return AnsiToWide(GraphicFilter(TGraphic::GraphicClass())); }

}  // namespace

// ---------------------------------------------------------------------------

void TUniSilentPaintPanel::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_PAINT) return TUniPanel::Dispatch(Message);
  try {
    TUniPanel::Dispatch(Message);
  } catch (const std::exception&) {
    if (Caption() != L"Invalid image") SetCaption(L"Invalid image");
  }
}

SIZE PreviewClientSize(SIZE FormClient, SIZE PanelClient, SIZE Picture, SIZE Monitor) {
  if (Picture.cx <= 0) return FormClient;
  return SIZE{std::min<LONG>(Monitor.cx * 3 / 4, FormClient.cx - PanelClient.cx + Picture.cx + 10),
              std::min<LONG>(Monitor.cy * 3 / 4, FormClient.cy - PanelClient.cy + Picture.cy + 10)};
}

// ---------------------------------------------------------------------------

TUniOpenPictureDialog::TUniOpenPictureDialog(TComponent* AOwner) : TUniOpenDialog(AOwner) {
  SetFilter(AllPicturesFilter());

  FPicturePanel = new TDialogPane(this);
  FPicturePanel->SetName("PicturePanel");
  FPicturePanel->SetCaption(L"");
  FPicturePanel->SetBounds(204, 5, 169, 200);
  FPicturePanel->SetBevelOuter(bvNone);
  FPicturePanel->SetBorderWidth(6);
  FPicturePanel->SetTabOrder(1);

  FPictureLabel = new TUniLabel(this);
  FPictureLabel->SetName("PictureLabel");
  FPictureLabel->SetAutoSize(false);
  FPictureLabel->SetCaption(L"");
  FPictureLabel->SetBounds(6, 6, 157, 23);
  FPictureLabel->SetAlign(alTop);
  FPictureLabel->SetParent(FPicturePanel);

  FPreviewButton = new TSpeedButton(this);
  TBitmap glyph;
  if (LoadBitmapResource(&glyph, "PREVIEWGLYPH")) FPreviewButton->SetGlyph(&glyph);
  FPreviewButton->SetName("PreviewButton");
  FPreviewButton->SetBounds(77, 1, 23, 22);
  FPreviewButton->SetEnabled(false);
  FPreviewButton->SetHint("Preview");
  FPreviewButton->SetParentShowHint(false);
  FPreviewButton->SetShowHint(true);
  FPreviewButton->OnClick = [this](TObject*) { ShowPreview(); };
  FPreviewButton->SetParent(FPicturePanel);

  FPaintPanel = new TUniSilentPaintPanel(this);
  FPaintPanel->SetName("PaintPanel");
  FPaintPanel->SetCaption(L"");
  FPaintPanel->SetBevelInner(bvRaised);
  FPaintPanel->SetBevelOuter(bvLowered);
  FPaintPanel->SetBounds(6, 29, 157, 145);
  FPaintPanel->SetAlign(alClient);
  FPaintPanel->SetTabOrder(0);
  FPaintPanel->SetParent(FPicturePanel);

  FImageCtrl = new TUniImage(this);
  FImageCtrl->SetName("PaintBox");
  FImageCtrl->SetAlign(alClient);
  FImageCtrl->SetProportional(true);
  FImageCtrl->SetStretch(true);
  FImageCtrl->SetCenter(true);
  FImageCtrl->ControlStyle |= csDoubleClicks;
  FImageCtrl->OnDblClick = [this](TObject*) { ShowPreview(); };
  FImageCtrl->SetParent(FPaintPanel);
}

TUniOpenPictureDialog::~TUniOpenPictureDialog() = default;

bool TUniOpenPictureDialog::IsFilterStored() { return Filter() != AllPicturesFilter(); }

bool TUniOpenPictureDialog::Execute() {
  Template = (Options & OpenOption(ofOldStyleDialog)) ? nullptr : "DLGTEMPLATE";
  return TUniOpenDialog::Execute();
}

void TUniOpenPictureDialog::DoShow() {
  // The pane takes the room the template leaves at the right of the standard controls.
  RECT area{}, client{};
  HWND placeholder = GetDlgItem(Handle(), 1119 /* stc32 */);
  GetWindowRect(placeholder, &area);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&area), 2);
  GetClientRect(Handle(), &client);
  FPicturePanel->SetBounds(area.right, area.top + 4, client.right - area.right, area.bottom - area.top);
  FPreviewButton->SetLeft(FPaintPanel->Left() + FPaintPanel->Width() - FPreviewButton->Width() - 2);
  FImageCtrl->Picture()->Assign(nullptr);
  FSavedFilename.clear();
  FPaintPanel->SetCaption(kNone);
  static_cast<TDialogPane*>(FPicturePanel)->ShowIn(Handle());
  TUniOpenDialog::DoShow();
}

void TUniOpenPictureDialog::DoClose() {
  TUniOpenDialog::DoClose();
  if (Application) Application->HideHint();
}

void TUniOpenPictureDialog::DoSelectionChange() {
  WideString name = FileName();
  if (name != FSavedFilename) {
    FSavedFilename = name;
    bool valid = WideFileExists(name) && WideFileGetAttr(name) != INVALID_FILE_ATTRIBUTES;
    if (valid) {
      try {
        FImageCtrl->Picture()->LoadFromFile(name);
        FPictureLabel->SetCaption(
            WideFormat(L" (%dx%d)", FImageCtrl->Picture()->Width(), FImageCtrl->Picture()->Height()));
        FPreviewButton->SetEnabled(true);
        FPaintPanel->SetCaption(L"");
      } catch (const std::exception&) {
        valid = false;
      }
    }
    if (!valid) {
      FPictureLabel->SetCaption(L"Picture:");
      FPreviewButton->SetEnabled(false);
      FImageCtrl->Picture()->Assign(nullptr);
      FPaintPanel->SetCaption(kNone);
    }
    FImageCtrl->Invalidate();
  }
  TUniOpenDialog::DoSelectionChange();
}

void TUniOpenPictureDialog::ShowPreview() {
  TUniForm* form = TCustomForm::CreateNew<TUniForm>(nullptr);
  struct FreeForm {
    TUniForm* f;
    ~FreeForm() { f->Free(); }
  } freeForm{form};
  form->SetName("PreviewForm");
  form->SetBorderStyle(bsSizeToolWin);
  form->SetCaption(L"Preview");
  form->SetKeyPreview(true);
  form->SetPosition(poScreenCenter);
  form->OnKeyDown = [form](TObject*, WORD& Key, TShiftState) {
    if (Key == VK_ESCAPE) form->Close();
  };
  auto* panel = new TUniPanel(form);
  panel->SetName("Panel");
  panel->SetBevelOuter(bvNone);
  panel->SetBorderStyle(bsSingle);
  panel->SetBorderWidth(5);
  panel->SetAlign(alClient);
  panel->SetColor(clWindow);
  panel->SetParent(form);
  auto* image = new TUniImage(form);
  image->SetName("Image");
  image->SetAlign(alClient);
  image->SetStretch(true);
  image->SetProportional(true);
  image->SetCenter(true);
  image->SetParent(panel);
  image->Picture()->Assign(FImageCtrl->Picture());

  TUniPicture* picture = image->Picture();
  if (picture->Width() > 0) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(form->Handle(), MONITOR_DEFAULTTONEAREST), &info);
    SIZE size = PreviewClientSize(SIZE{form->ClientWidth(), form->ClientHeight()},
                                  SIZE{panel->ClientWidth(), panel->ClientHeight()},
                                  SIZE{picture->Width(), picture->Height()},
                                  SIZE{info.rcMonitor.right - info.rcMonitor.left, info.rcMonitor.bottom - info.rcMonitor.top});
    form->SetClientWidth(size.cx);
    form->SetClientHeight(size.cy);
  }
  form->ShowModal();
}

namespace {

const std::vector<TPropInfo>& UniOpenPictureDialogProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TUniOpenPictureDialog>()
      .Property("Filter", &TUniOpenPictureDialog::Filter, &TUniOpenPictureDialog::SetFilter)
          .Stored(&TUniOpenPictureDialog::IsFilterStored)
      .Table();
  return t;
}

}  // namespace

VCL_CLASS_IMPL(TUniSilentPaintPanel, TUniPanel, &CreateComponentOf<TUniSilentPaintPanel>, nullptr)
VCL_CLASS_IMPL(TUniOpenPictureDialog, TUniOpenDialog, &CreateComponentOf<TUniOpenPictureDialog>,
               &UniOpenPictureDialogProps)

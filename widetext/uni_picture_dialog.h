// The open dialog with a picture preview pane at its right: the chosen file is previewed
// as it is selected, and a button (or a double click) shows it in a window of its own.
#pragma once

#include <memory>

#include "vcl/buttons.h"
#include "vcl/extctrls.h"
#include "vcl/stdctrls.h"
#include "widetext/uni_file_dialogs.h"
#include "widetext/uni_labels.h"
#include "widetext/uni_panels.h"
#include "widetext/uni_picture.h"

// A panel whose painting never fails: a fault while painting (its pictures') shows
// "Invalid image" instead.
class TUniSilentPaintPanel : public TUniPanel {
  VCL_CLASS(TUniSilentPaintPanel)
 public:
  using TUniPanel::TUniPanel;
  void Dispatch(TMessage& Message) override;
};

// The client size of the preview window for a picture: the picture with the window's
// frame around it, at most three quarters of the monitor each way.
SIZE PreviewClientSize(SIZE FormClient, SIZE PanelClient, SIZE Picture, SIZE Monitor);

class TUniOpenPictureDialog : public TUniOpenDialog {
  VCL_CLASS(TUniOpenPictureDialog)
 public:
  explicit TUniOpenPictureDialog(TComponent* AOwner);
  ~TUniOpenPictureDialog() override;

  // The classic dialog with the pane, on every system (the template asks for it).
  bool Execute() override;
  // Stored only when it is not the filter of all registered picture formats.
  bool IsFilterStored();

  TUniPanel* PicturePanel() const { return FPicturePanel; }
  TUniLabel* PictureLabel() const { return FPictureLabel; }
  TSpeedButton* PreviewButton() const { return FPreviewButton; }
  TUniSilentPaintPanel* PaintPanel() const { return FPaintPanel; }
  TUniImage* PaintBox() const { return FImageCtrl; }

  // Shows the previewed picture in a window of its own, modally.
  void ShowPreview();

 protected:
  void DoShow() override;
  void DoClose() override;
  void DoSelectionChange() override;

 private:
  TUniPanel* FPicturePanel = nullptr;
  TUniLabel* FPictureLabel = nullptr;
  TSpeedButton* FPreviewButton = nullptr;
  TUniSilentPaintPanel* FPaintPanel = nullptr;
  TUniImage* FImageCtrl = nullptr;
  WideString FSavedFilename;
};

// TTaskMessageForm: the task dialog drawn by the program itself, built in code from a
// TUniTaskDialog's properties, where the system offers no task dialog.
#pragma once

#include <memory>
#include <vector>

#include "dialogs/task_dialog_button.h"
#include "dialogs/uni_task_dialog.h"
#include "vcl/progressbar.h"
#include "vcl/timers.h"
#include "widetext/uni_buttons.h"
#include "widetext/uni_forms.h"
#include "widetext/uni_labels.h"

class TTaskMessageForm : public TUniForm {
  VCL_CLASS(TTaskMessageForm)
 public:
  explicit TTaskMessageForm(TComponent* AOwner);
  ~TTaskMessageForm() override;

  // Builds the controls from TaskDialog's properties and sizes the form.
  void Build(TUniTaskDialog* TaskDialog);
  // Measures the texts again after a live change and places every control.
  void Relayout();
  void SetExpanded(bool Value);
  bool Expanded() const { return FExpanded; }

  // The dialog as text: caption, instruction and the push buttons' captions between
  // divider lines.
  WideString GetFormText();
  // The link under a client point (empty when none).
  WideString AnchorAt(int X, int Y);
  // Where the content, the details and the footer are drawn.
  RECT ContentRect();
  RECT ExpandedTextRect();
  RECT FooterRect();

  TUniLabel* InstructionLabel = nullptr;
  TTaskDialogButton* ExpandButton = nullptr;
  TUniCheckBox* VerifyCheck = nullptr;
  TProgressBar* ProgressBar = nullptr;
  TTimer* Timer = nullptr;
  std::vector<TControl*> CommonButtonList;
  std::vector<TControl*> CustomButtonList;
  std::vector<TUniRadioButton*> RadioList;
  int HorzMargin = 0, VertMargin = 0, HorzSpacing = 0, VertSpacing = 0, ButtonHeight = 0, ButtonSpacing = 0;
  int BandTop = 0;
  int ContentLeft = 0;
  WideString LastAnchor;

  void Dispatch(TMessage& Message) override;

 protected:
  void PaintWindow(HDC DC) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void DoClose(TCloseAction& Action) override;
  void DoShow() override;

 private:
  void CustomKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void CMDialogChar(TMessage& Message);
  void Arrange();
  void MeasureTexts();
  int MeasureText(const WideString& Text, int Width, bool Html, int* OutWidth);
  void DrawText(TCanvas* Canvas, const WideString& Text, const RECT& R, bool Html);
  bool CommandLinks() const;
  void ButtonClick(TObject* Sender);
  void RadioClick(TObject* Sender);
  void VerifyClick(TObject* Sender);
  void ExpandClick(TObject* Sender);
  void TimerProc(TObject* Sender);
  void LoadExpandPictures(bool Expanded);
  bool Hyperlinks() const;

  TUniTaskDialog* FTaskDialog = nullptr;
  bool FExpanded = true;
  HICON FIcon = nullptr;
  HICON FFooterIcon = nullptr;
  bool FShieldIcon = false, FShieldFooter = false, FBlankIcon = false, FHasIcon = false;
  std::unique_ptr<TBitmap> FShield;
  int FContentWidth = 0, FContentHeight = 0;
  int FExpTextWidth = 0, FExpTextHeight = 0, FExpTextTop = 0;
  int FFooterWidth = 0, FFooterHeight = 0;
  int FVerifyWidth = 0;
  int FLinksMinWidth = 0;
  int FTextWidth = 0;
};

// Puts Text on the clipboard as Unicode text; raises an exception with the message
// "Cannot open clipboard" when the clipboard cannot be opened.
void WriteToClipboard(const WideString& Text);

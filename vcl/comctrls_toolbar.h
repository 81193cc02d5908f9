// The tool bar (ToolbarWindow32) and its buttons. The buttons are window-less children of
// the bar, read from stored descriptions like any control; the bar makes one native button
// of each (picture from the bar's image list, enabled state, separators) in the order of
// their Left, and shows each button's Hint as its tooltip (with ShowCaptions, its Caption
// under the picture too). A button linked to an action follows its caption, hint, enabling,
// Checked (as Down) and picture (TToolButtonActionLink).
#pragma once

#include <vector>

#include "vcl/actions.h"
#include "vcl/controls.h"
#include "vcl/imglist.h"

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
VCL_ENUM_INFO(TToolButtonStyle, "tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider")

class TToolBar;

class TToolButton : public TGraphicControl {
  VCL_CLASS(TToolButton)
 public:
  explicit TToolButton(TComponent* AOwner);
  ~TToolButton() override;
  void Dispatch(TMessage& Message) override;

  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TToolButtonStyle Value);
  // A check button's pressed state.
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  void SetEnabled(bool Value) override;
  void SetParent(TWinControl* AParent) override;

  // The bar the button sits on; null when it sits on none.
  TToolBar* ToolBar() const { return FToolBar; }
  // The native button's command number.
  int CommandId() const { return FCommandId; }

  // The caption and hint the bar hands to the system, whole: a button that keeps its texts
  // in UTF-16 gives them so.
  virtual WideString BarCaption() { return AnsiToWide(Caption()); }
  virtual WideString BarHint() { return AnsiToWide(Hint()); }

 protected:
  TControlActionLink* CreateActionLink() override;
  // Beyond the control's texts and state: Down follows the action's Checked, the picture
  // its ImageIndex (with CheckDefaults only where the button has none of its own).
  void ActionChange(TObject* Sender, bool CheckDefaults) override;

 private:
  friend class TToolBar;
  void Changed();
  TToolBar* FToolBar = nullptr;
  int FImageIndex = -1;
  TToolButtonStyle FStyle = tbsButton;
  bool FDown = false;
  int FCommandId = 0;
};

// The action link of a tool button: Down follows the action's Checked and the picture its
// ImageIndex while they are equal.
class TToolButtonActionLink : public TControlActionLink {
  VCL_CLASS(TToolButtonActionLink)
 public:
  explicit TToolButtonActionLink(TToolButton* AClient);
  bool IsCheckedLinked() override;
  bool IsImageIndexLinked() override;
  void SetChecked(bool Value) override;
  void SetImageIndex(int Value) override;

 private:
  TToolButton* FButton;
};

class TToolBar : public TWinControl {
  VCL_CLASS(TToolBar)
 public:
  explicit TToolBar(TComponent* AOwner);
  ~TToolBar() override;
  void Dispatch(TMessage& Message) override;

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // Buttons drawn flat until the mouse is over them.
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  int ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int Value);
  // The buttons show their captions under their pictures (and grow to hold them).
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool Value);

  // The buttons in their order on the bar.
  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  TToolButton* Buttons(int Index) const { return FButtons.at(static_cast<size_t>(Index)); }
  // The place of a button on the bar, in the bar's client coordinates (empty without a
  // window).
  RECT ButtonRect(int Index);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TToolButton;
  void AddButton(TToolButton* Button);
  void RemoveButton(TToolButton* Button);
  // Makes the native buttons again from FButtons (ordered by Left).
  void RebuildButtons();
  void UpdateButton(TToolButton* Button);
  void ImageListChange(TObject* Sender);
  void CNCommand(TMessage& Message);
  void CNNotify(TMessage& Message);
  TToolButton* ButtonOfCommand(int Id) const;

  std::vector<TToolButton*> FButtons;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  bool FFlat = false;
  bool FShowCaptions = false;
  int FButtonWidth = 23;
  int FButtonHeight = 22;
  int FNextCommandId = 1;
  AnsiString FTipText;  // the tooltip text handed to the system, alive until the next
  WideString FTipTextW;
};

// Registers TToolBar and TToolButton for stored descriptions.
void RegisterToolBarControls();

// The wizard control: an ordered list of pages of which one shows, and a bar of seven
// navigate buttons along the bottom. A button click goes first to the active page's event
// of that kind, whose Stop cancels it; then to the wizard's own event and its navigation.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "vcl/buttons.h"
#include "vcl/imglist.h"
#include "wizard/extended_controls.h"
#include "wizard/wizard_pages.h"

class TKvWizard;

using TKvWizardSelectPageEvent =
    std::function<void(TObject* Sender, TKvWizardCustomPage* FromPage, TKvWizardCustomPage*& ToPage)>;
using TKvWizardChangingPageEvent = std::function<void(TObject* Sender, TKvWizardCustomPage*& ToPage)>;

// The wizard's pages in order. Adding a page makes the list's wizard the page's wizard,
// deleting it clears that (extracting leaves it).
class TKvWizardPageList : public TObject {
 public:
  explicit TKvWizardPageList(TKvWizard* Wizard) : FWizard(Wizard) {}
  ~TKvWizardPageList() override;
  int Count() const { return static_cast<int>(FItems.size()); }
  TKvWizardCustomPage* Items(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
  int IndexOf(const TKvWizardCustomPage* Page) const;
  int Add(TKvWizardCustomPage* Page);
  void Delete(int Index);
  TKvWizardCustomPage* Extract(TKvWizardCustomPage* Page);
  void Remove(TKvWizardCustomPage* Page);

 private:
  TKvWizard* FWizard;
  std::vector<TKvWizardCustomPage*> FItems;
};

// A bar button: a bit button that knows its wizard and the side of the bar it sits on.
class TKvWizardButtonControl : public TBitBtn {
  VCL_CLASS(TKvWizardButtonControl)
 public:
  explicit TKvWizardButtonControl(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  TKvWizard* Wizard() const { return FWizard; }
  void SetWizard(TKvWizard* Value) { FWizard = Value; }
  bool RightSide() const { return FRightSide; }
  void SetRightSide(bool Value) { FRightSide = Value; }

 protected:
  TKvWizard* FWizard = nullptr;
  bool FRightSide = true;
};

class TKvWizardBaseButton : public TKvWizardButtonControl {
  VCL_CLASS(TKvWizardBaseButton)
 public:
  TKvWizardBaseButton(TComponent* AOwner, TKvWizardButtonKind Kind);
  void Click() override;
  TKvWizardButtonKind ButtonKind() const { return FKind; }

 protected:
  // Fires the page's event of this button's kind.
  virtual void DoPageButtonClick(TKvWizardCustomPage* Page, bool& Stop);
  // The wizard's own move for this kind.
  virtual void DoNavigate();

 private:
  TKvWizardButtonKind FKind;
};

#define KV_WIZARD_BUTTON(Name, Kind)                                         \
  class Name : public TKvWizardBaseButton {                                  \
    VCL_CLASS(Name)                                                          \
   public:                                                                   \
    explicit Name(TComponent* AOwner) : TKvWizardBaseButton(AOwner, Kind) {} \
  };
KV_WIZARD_BUTTON(TKvWizardStartButton, TKvWizardButtonKind::bkStart)
KV_WIZARD_BUTTON(TKvWizardLastButton, TKvWizardButtonKind::bkLast)
KV_WIZARD_BUTTON(TKvWizardBackButton, TKvWizardButtonKind::bkBack)
KV_WIZARD_BUTTON(TKvWizardNextButton, TKvWizardButtonKind::bkNext)
KV_WIZARD_BUTTON(TKvWizardFinishButton, TKvWizardButtonKind::bkFinish)
KV_WIZARD_BUTTON(TKvWizardCancelButton, TKvWizardButtonKind::bkCancel)
#undef KV_WIZARD_BUTTON

class TKvWizardHelpButton : public TKvWizardBaseButton {
  VCL_CLASS(TKvWizardHelpButton)
 public:
  explicit TKvWizardHelpButton(TComponent* AOwner) : TKvWizardBaseButton(AOwner, TKvWizardButtonKind::bkHelp) {}
  void Click() override;
};

// One slot of the bar as stored descriptions see it: its properties go to the button.
class TKvWizardNavigateButton : public TPersistent {
  VCL_CLASS(TKvWizardNavigateButton)
 public:
  TKvWizardButtonControl* Control() const { return FControl; }
  void SetControl(TKvWizardButtonControl* Value) { FControl = Value; }

  TBitmap* Glyph() const { return FControl ? FControl->Glyph() : nullptr; }
  void SetGlyph(TBitmap* Value);
  AnsiString Caption() const;
  void SetCaption(const AnsiString& Value);
  int NumGlyphs() const { return FControl ? FControl->NumGlyphs() : 0; }
  void SetNumGlyphs(int Value);
  TButtonLayout Layout() const { return FControl ? FControl->Layout() : blGlyphLeft; }
  void SetLayout(TButtonLayout Value);
  TModalResult ModalResult() const { return FControl ? FControl->ModalResult : 0; }
  void SetModalResult(TModalResult Value);
  int Width() const { return FControl ? FControl->Width() : 0; }
  void SetWidth(int Value);

 private:
  TKvWizardButtonControl* FControl = nullptr;
};

class TKvWizard : public TKvExCustomControl {
  VCL_CLASS(TKvWizard)
  friend class TKvWizardCustomPage;

 public:
  explicit TKvWizard(TComponent* AOwner);
  ~TKvWizard() override;
  void Dispatch(TMessage& Message) override;

  TKvWizardPageList* Pages() const { return FPages.get(); }
  TKvWizardCustomPage* ActivePage() const { return FActivePage; }
  void SetActivePage(TKvWizardCustomPage* Page);

  void SelectFirstPage();
  void SelectLastPage();
  void SelectNextPage();
  void SelectPriorPage();
  TKvWizardCustomPage* FindNextPage(int PageIndex, int Step, bool CheckDisable);
  TKvWizardCustomPage* FindNextEnabledPage(int PageIndex, int Step, bool CheckDisable);
  bool IsFirstPage(TKvWizardCustomPage* Page, bool CheckDisable);
  bool IsForward(TKvWizardCustomPage* FromPage, TKvWizardCustomPage* ToPage);
  void InsertPage(TKvWizardCustomPage* Page);
  void RemovePage(TKvWizardCustomPage* Page);
  void UpdateButtonsStatus();
  void RepositionButtons();

  TKvWizardNavigateButton* GetButton(TKvWizardButtonKind Kind) const { return FNavigateButtons[static_cast<size_t>(Kind)].get(); }
  void SetButton(TKvWizardButtonKind Kind, TKvWizardNavigateButton* Value);
  template <TKvWizardButtonKind K>
  TKvWizardNavigateButton* NavigateButton() const { return GetButton(K); }
  template <TKvWizardButtonKind K>
  void SetNavigateButton(TKvWizardNavigateButton* Value) { SetButton(K, Value); }
  template <TKvWizardButtonKind K>
  TNotifyEvent ButtonClickEvent() const { return GetButtonClick(K); }
  template <TKvWizardButtonKind K>
  void SetButtonClickEvent(const TNotifyEvent& Value) { SetButtonClick(K, Value); }
  TNotifyEvent GetButtonClick(TKvWizardButtonKind Kind) const;
  void SetButtonClick(TKvWizardButtonKind Kind, const TNotifyEvent& Value);

  int ButtonBarHeight() const { return FButtonBarHeight; }
  void SetButtonBarHeight(int Value);
  bool ShowDivider() const { return FShowDivider; }
  void SetShowDivider(bool Value);
  bool AutoHideButtonBar() const { return FAutoHideButtonBar; }
  void SetAutoHideButtonBar(bool Value);
  bool DefaultButtons() const { return FDefaultButtons; }
  void SetDefaultButtons(bool Value);
  // No route map is ever attached here, so this reads False and writing does nothing.
  bool ShowRouteMap() const { return false; }
  void SetShowRouteMap(bool) {}
  TCustomImageList* HeaderImages() const { return FHeaderImages; }
  void SetHeaderImages(TCustomImageList* Value);

  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

  TKvWizardSelectPageEvent OnSelectNextPage;
  TKvWizardSelectPageEvent OnSelectPriorPage;
  TKvWizardSelectPageEvent OnSelectFirstPage;
  TKvWizardSelectPageEvent OnSelectLastPage;
  TNotifyEvent OnActivePageChanged;
  TKvWizardChangingPageEvent OnActivePageChanging;

  // The button control of a kind.
  TKvWizardButtonControl* ButtonControl(TKvWizardButtonKind Kind) const { return GetButton(Kind)->Control(); }
  virtual const TMetaClass* GetButtonClass(TKvWizardButtonKind Kind);

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void AdjustClientRect(RECT& Rect) override;
  void Paint() override;
  void Resize() override;
  void ShowControl(TControl* AControl) override;
  void DoSetActivePage(TKvWizardCustomPage* Page);
  virtual void ActivePageChanging(TKvWizardCustomPage*& ToPage);
  virtual void ActivePageChanged();

 private:
  TKvWizardButtonControl* CreateButtonControl(TKvWizardButtonKind Kind);
  std::vector<TWizardPageFlags> PageFlags() const;
  bool Designing() const { return HasState(csDesigning); }
  void SelectPage(int FromIndex, int Step, TKvWizardSelectPageEvent& Event);
  void ImageListChange(TObject* Sender);

  std::unique_ptr<TKvWizardPageList> FPages;
  TKvWizardCustomPage* FActivePage = nullptr;
  std::array<std::unique_ptr<TKvWizardNavigateButton>, WizardButtonCount> FNavigateButtons;
  int FButtonBarHeight = 42;
  bool FShowDivider = true;
  TCustomImageList* FHeaderImages = nullptr;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  bool FAutoHideButtonBar = true;
  bool FDefaultButtons = true;
};

// Makes the wizard's classes known to stored descriptions.
void RegisterWizardControls();

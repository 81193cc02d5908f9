// The wizard's pages: the custom page with its header, picture and panel, the welcome page
// (with a water mark at the side) and the interior page, and the painted parts they own.
#pragma once

#include <memory>

#include "vcl/controls.h"
#include "vcl/imglist.h"
#include "vcl/pictures.h"
#include "vcl/sysutils.h"
#include "wizard/page_geometry.h"
#include "wizard/wizard_navigation.h"

class TKvWizard;
class TKvWizardCustomPage;
class TKvWizardPageHeader;

class EKvWizardError : public Exception {
 public:
  using Exception::Exception;
};

using TKvWizardPaintPageEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, RECT& ARect)>;
using TKvWizardChangePageEvent = std::function<void(TObject* Sender, TKvWizardCustomPage* const FromPage)>;
using TKvWizardPageClickEvent = std::function<void(TObject* Sender, bool& Stop)>;

// A part painted on a page: a colour and whether it shows.
class TKvWizardGraphicObject : public TPersistent {
  VCL_CLASS(TKvWizardGraphicObject)
 public:
  TKvWizardGraphicObject();
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  virtual void PaintTo(TCanvas* ACanvas, RECT& ARect) = 0;

 protected:
  virtual void VisibleChanged() { Changed(); }
  virtual void ColorChanged() { Changed(); }
  virtual void Changed() = 0;
  TColor FColor = clBtnFace;
  bool FVisible = true;
};

// A header's title or subtitle.
class TKvWizardPageTitle : public TKvWizardGraphicObject {
  VCL_CLASS(TKvWizardPageTitle)
 public:
  TKvWizardPageTitle();
  ~TKvWizardPageTitle() override;
  void Assign(TPersistent* Source) override;
  void PaintTo(TCanvas* ACanvas, RECT& ARect) override;
  virtual RECT GetTextRect(TCanvas* ACanvas, const RECT& ARect);

  TKvWizardPageHeader* Header() const { return FHeader; }
  void SetHeader(TKvWizardPageHeader* Value) { FHeader = Value; }
  AnsiString Text() const { return FText; }
  void SetText(const AnsiString& Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  int AnchorPlacement() const { return FAnchorPlacement; }
  void SetAnchorPlacement(int Value);
  TKvAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TKvAnchors Value);
  int Indent() const { return FIndent; }
  void SetIndent(int Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TKvAnchors DefaultAnchors = AnchorBit(TKvAnchorKind::Left) | AnchorBit(TKvAnchorKind::Top);
  bool IsAnchorsStored() const { return FAnchors != DefaultAnchors; }

 protected:
  void Changed() override;

 private:
  void FontChanged(TObject* Sender);
  TKvWizardPageHeader* FHeader = nullptr;
  AnsiString FText;
  TAlignment FAlignment = taLeftJustify;
  int FAnchorPlacement = 4;
  TKvAnchors FAnchors = AnchorBit(TKvAnchorKind::Left) | AnchorBit(TKvAnchorKind::Top);
  int FIndent = 0;
  std::unique_ptr<TFont> FFont;
};

// A part that belongs to a page and repaints it when it changes.
class TKvWizardPageObject : public TKvWizardGraphicObject {
  VCL_CLASS(TKvWizardPageObject)
 public:
  TKvWizardCustomPage* WizardPage() const { return FPage; }
  void SetWizardPage(TKvWizardCustomPage* Value);

 protected:
  void Changed() override;
  virtual void Initialize() {}
  TKvWizardCustomPage* FPage = nullptr;
};

// A page's picture and how it sits in its room.
class TKvWizardImage : public TPersistent {
  VCL_CLASS(TKvWizardImage)
 public:
  TKvWizardImage();
  ~TKvWizardImage() override;
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value);
  TKvWizardImageAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TKvWizardImageAlignment Value);
  TKvWizardImageLayout Layout() const { return FLayout; }
  void SetLayout(TKvWizardImageLayout Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  void PaintTo(TCanvas* ACanvas, const RECT& ARect);
  TNotifyEvent OnChange;

 private:
  void PictureChanged(TObject* Sender);
  std::unique_ptr<TPicture> FPicture;
  TKvWizardImageAlignment FAlignment = iaStretch;
  TKvWizardImageLayout FLayout = ilStretch;
  bool FTransparent = false;
};

class TKvWizardPageHeader : public TKvWizardPageObject {
  VCL_CLASS(TKvWizardPageHeader)
 public:
  TKvWizardPageHeader();
  ~TKvWizardPageHeader() override;
  void PaintTo(TCanvas* ACanvas, RECT& ARect) override;
  // Where a header image goes, narrowing ARect past it.
  virtual RECT GetImageRect(TCustomImageList* AImages, RECT& ARect);

  int Height() const { return FHeight; }
  void SetHeight(int Value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TKvWizardPageTitle* Title() const { return FTitle.get(); }
  void SetTitle(TKvWizardPageTitle* Value) { FTitle->Assign(Value); }
  TKvWizardPageTitle* Subtitle() const { return FSubtitle.get(); }
  void SetSubtitle(TKvWizardPageTitle* Value) { FSubtitle->Assign(Value); }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  int ImageOffset() const { return FImageOffset; }
  void SetImageOffset(int Value);
  TKvWizardImageLeftRight ImageAlignment() const { return FImageAlignment; }
  void SetImageAlignment(TKvWizardImageLeftRight Value);
  bool ShowDivider() const { return FShowDivider; }
  void SetShowDivider(bool Value);
  // A title's font changed: the header no longer follows the page's font.
  void TitleFontChanged();
  void TitleChanged() { Changed(); }
  // Copies the page font's name and character set into both titles.
  void TakePageFont();
  void Initialize() override;

 protected:
  void VisibleChanged() override;

 private:
  int FHeight = 70;
  bool FParentFont = true;
  bool FTakingPageFont = false;
  std::unique_ptr<TKvWizardPageTitle> FTitle;
  std::unique_ptr<TKvWizardPageTitle> FSubtitle;
  int FImageIndex = -1;
  int FImageOffset = 0;
  TKvWizardImageLeftRight FImageAlignment = iaRightSide;
  bool FShowDivider = true;
};

class TKvWizardWaterMark : public TKvWizardPageObject {
  VCL_CLASS(TKvWizardWaterMark)
 public:
  TKvWizardWaterMark();
  ~TKvWizardWaterMark() override;
  void PaintTo(TCanvas* ACanvas, RECT& ARect) override;
  TKvWizardLeftRight Align() const { return FAlign; }
  void SetAlign(TKvWizardLeftRight Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  TKvWizardImage* Image() const { return FImage.get(); }
  void SetImage(TKvWizardImage* Value) { FImage->Assign(Value); }

 protected:
  void VisibleChanged() override;

 private:
  TKvWizardLeftRight FAlign = alLeftSide;
  int FWidth = 164;
  int FBorderWidth = 1;
  std::unique_ptr<TKvWizardImage> FImage;
};

class TKvWizardPagePanel : public TKvWizardPageObject {
  VCL_CLASS(TKvWizardPagePanel)
 public:
  TKvWizardPagePanel();
  void PaintTo(TCanvas* ACanvas, RECT& ARect) override;
  unsigned short BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(unsigned short Value);

 private:
  unsigned short FBorderWidth = 7;
};

class TKvWizardCustomPage : public TCustomControl {
  VCL_CLASS(TKvWizardCustomPage)
  friend class TKvWizard;
  friend class TKvWizardPageList;

 public:
  explicit TKvWizardCustomPage(TComponent* AOwner);
  ~TKvWizardCustomPage() override;
  void Dispatch(TMessage& Message) override;
  void SetParent(TWinControl* AParent) override;

  TKvWizard* Wizard() const { return FWizard; }
  void SetWizard(TKvWizard* Value);
  int PageIndex() const;

  TKvWizardPageHeader* Header() const { return FHeader.get(); }
  void SetHeader(TKvWizardPageHeader* Value) { FHeader->Assign(Value); }
  TKvWizardPageTitle* Title() const { return FHeader->Title(); }
  void SetTitle(TKvWizardPageTitle* Value) { FHeader->SetTitle(Value); }
  TKvWizardPageTitle* Subtitle() const { return FHeader->Subtitle(); }
  void SetSubtitle(TKvWizardPageTitle* Value) { FHeader->SetSubtitle(Value); }
  TKvWizardPagePanel* Panel() const { return FPanel.get(); }
  void SetPanel(TKvWizardPagePanel* Value) { FPanel->Assign(Value); }
  TKvWizardImage* Image() const { return FImage.get(); }
  void SetImage(TKvWizardImage* Value) { FImage->Assign(Value); }
  TKvWizardButtonSet EnabledButtons() const { return FEnabledButtons; }
  void SetEnabledButtons(TKvWizardButtonSet Value);
  TKvWizardButtonSet VisibleButtons() const { return FVisibleButtons; }
  void SetVisibleButtons(TKvWizardButtonSet Value);
  bool EnableJumpToPage() const { return FEnableJumpToPage; }
  void SetEnableJumpToPage(bool Value) { FEnableJumpToPage = Value; }

  virtual void EnableButton(TKvWizardButtonKind AButton, bool AEnabled);
  // The children's area after the header (and a welcome page's water mark).
  void Realign() { TWinControl::Realign(); }
  // The event of a button kind.
  TKvWizardPageClickEvent& ButtonEvent(TKvWizardButtonKind Kind);

  TKvWizardPaintPageEvent OnPaintPage;
  TKvWizardChangePageEvent OnEnterPage;
  TNotifyEvent OnPage;
  TKvWizardChangePageEvent OnExitPage;
  TKvWizardPageClickEvent OnStartButtonClick;
  TKvWizardPageClickEvent OnLastButtonClick;
  TKvWizardPageClickEvent OnNextButtonClick;
  TKvWizardPageClickEvent OnBackButtonClick;
  TKvWizardPageClickEvent OnCancelButtonClick;
  TKvWizardPageClickEvent OnFinishButtonClick;
  TKvWizardPageClickEvent OnHelpButtonClick;

  virtual void DoEnterPage(TKvWizardCustomPage* FromPage);
  virtual void DoPage();
  virtual void DoExitPage(TKvWizardCustomPage* ToPage);

 protected:
  void AdjustClientRect(RECT& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  virtual void DrawPage(TCanvas* ACanvas, RECT& ARect);
  bool EventsAllowed() const;

 private:
  TKvWizard* FWizard = nullptr;
  bool FSettingWizard = false;
  std::unique_ptr<TKvWizardPageHeader> FHeader;
  std::unique_ptr<TKvWizardPagePanel> FPanel;
  std::unique_ptr<TKvWizardImage> FImage;
  TKvWizardButtonSet FEnabledButtons = AllWizardButtons;
  TKvWizardButtonSet FVisibleButtons = DefaultVisibleButtons;
  bool FPainting = false;
  bool FEnableJumpToPage = true;
};

class TKvWizardWelcomePage : public TKvWizardCustomPage {
  VCL_CLASS(TKvWizardWelcomePage)
 public:
  explicit TKvWizardWelcomePage(TComponent* AOwner);
  ~TKvWizardWelcomePage() override;
  TKvWizardWaterMark* WaterMark() const { return FWaterMark.get(); }
  void SetWaterMark(TKvWizardWaterMark* Value) { FWaterMark->Assign(Value); }

 protected:
  void AdjustClientRect(RECT& Rect) override;
  void DrawPage(TCanvas* ACanvas, RECT& ARect) override;

 private:
  std::unique_ptr<TKvWizardWaterMark> FWaterMark;
};

class TKvWizardInteriorPage : public TKvWizardCustomPage {
  VCL_CLASS(TKvWizardInteriorPage)
 public:
  using TKvWizardCustomPage::TKvWizardCustomPage;

 protected:
  void DrawPage(TCanvas* ACanvas, RECT& ARect) override;
};

// Page controls ("SysTabControl32") and their tab sheets.
//
// A page control holds its sheets as child controls; each sheet whose TabVisible is set
// has a tab. The tab list (Tabs) is the window's: its strings are the tab captions and its
// objects the sheets, set with TCM_INSERTITEMA / TCM_SETITEMA. Only the active sheet is
// shown, filling the control's display area.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "vcl/controls.h"
#include "vcl/strings.h"

class TPageControl;

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TTabSheet : public TWinControl {
  VCL_CLASS(TTabSheet)
  friend class TPageControl;

 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return FPageControl; }
  // Puts the sheet on a page control (its parent) as the last page; null takes it off.
  void SetPageControl(TPageControl* APageControl);
  int PageIndex() const;
  void SetPageIndex(int Value);
  // The sheet's place among the tabs shown; -1 when it has no tab.
  int TabIndex() const;
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);

  void SetParent(TWinControl* AParent) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

class TPageControl : public TWinControl {
  VCL_CLASS(TPageControl)
  friend class TTabSheet;

 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int Index) const;
  TTabSheet* ActivePage() const { return FActivePage; }
  // Shows the page (from code: no OnChanging or OnChange).
  void SetActivePage(TTabSheet* Page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int Value);
  // The selected tab; -1 when none.
  int TabIndex() const;
  void SetTabIndex(int Value);
  // The window's tabs: captions, with the sheets as objects. Empty while there is no window.
  TStrings* Tabs() const { return FTabs.get(); }
  // The sheet of a tab, or null.
  TTabSheet* PageOfTab(int TabIndex) const;
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
  void SelectNextPage(bool GoForward);

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

  // The sheet a docked control sits on (null when the control is not docked here).
  TTabSheet* PageOfDockClient(TControl* Client) const;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void AdjustClientRect(RECT& Rect) override;
  virtual bool CanChange();
  // The user picked another tab: the page of the tab is shown, then OnChange.
  virtual void Change();
  virtual bool CanShowTab(int TabIndex);
  // Whether Page's caption has CharCode as its accelerator.
  virtual bool IsPageAccel(TTabSheet* Page, WORD CharCode);
  // The caption a sheet's tab shows.
  virtual AnsiString TabCaption(TTabSheet* Page);
  void UpdateTab(TTabSheet* Page);

  // Docking: a control docked here gets a sheet of its own (Sheet, just made), filling it.
  // When the docking fails the sheet is freed and the error passed on. The sheet's tab
  // shows while the control is visible, and a visible control's sheet comes to the front.
  void DockOnNewSheet(TTabSheet* Sheet, TControl* Client, const RECT& DockRect);
  void DoAddDockClient(TControl* Client, const RECT& ARect) override;
  void DoRemoveDockClient(TControl* Client) override;

 private:
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void MovePage(TTabSheet* Page, int NewIndex);
  void InsertTab(TTabSheet* Page);
  void DeleteTab(TTabSheet* Page, int Index);
  void ShowActivePage();
  void CMDialogChar(TMessage& Message);
  void CMDockClient(TMessage& Message);
  void CMUnDockClient(TMessage& Message);
  void CMDockNotification(TMessage& Message);

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  // The sheet made for the control being docked (only while it is docked).
  TTabSheet* FNewDockSheet = nullptr;
  // The sheet of a client that is leaving, freed once it has left.
  TTabSheet* FUndockingPage = nullptr;
  TControl* FUndockingClient = nullptr;
  std::unique_ptr<TStrings> FTabs;
};

// Text up to its first line break (CR or LF).
AnsiString FirstTextLine(const AnsiString& Text);

// Registers TPageControl and TTabSheet for stored descriptions.
void RegisterPageControls();

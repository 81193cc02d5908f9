// An icon in the taskbar's notification area: it answers the mouse, shows balloon tips,
// can cycle its pictures from an image list and can take the program there when it is
// minimised.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>

#include "desktop/custom_timer.h"
#include "vcl/controls.h"
#include "vcl/imglist.h"
#include "vcl/menus.h"
#include "vcl/pictures.h"
#include "vcl/typinfo.h"

VCL_DECLARE_EXCEPTION(EdkTrayIcon, Exception)

enum TdkTrayIconInfoType { tiiNone, tiiInfo, tiiWarning, tiiError };
VCL_ENUM_INFO(TdkTrayIconInfoType, "tiiNone", "tiiInfo", "tiiWarning", "tiiError")

// The message the shell sends the icon's window about the mouse and balloons.
constexpr UINT WM_TRAYICONNOTIFY = 1235;

// The call that hands the icon's record to the shell (Shell_NotifyIconW); replaceable so
// that the records can be watched.
extern std::function<BOOL(DWORD Message, NOTIFYICONDATAW* Data)> TrayNotifyIcon;

namespace tray_icon_rules {
// The record size the shell expects and the characters the tip holds: the full record and
// 127 characters from Windows 2000 on, the first version's record and 63 characters before.
DWORD NotifyDataSize(bool Win2000OrLater);
size_t TipLength(bool Win2000OrLater);
// Copies Text into a zero-terminated field of Capacity characters, cut to MaxLength.
void CopyField(wchar_t* Field, size_t Capacity, const WideString& Text, size_t MaxLength);
}  // namespace tray_icon_rules

class TdkTrayIcon : public TdkCustomTimer {
  VCL_CLASS(TdkTrayIcon)
 public:
  explicit TdkTrayIcon(TComponent* AOwner);
  ~TdkTrayIcon() override;
  void Loaded() override;

  // Mouse messages are handled only while Enabled.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value);
  bool IsIconStored() const { return !FImageList; }
  int IconID() const { return FIconID; }
  void SetIconID(int Value);
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // The pictures of ImageList follow one another every CycleInterval ms.
  bool CycleIcons() const { return TdkCustomTimer::Enabled(); }
  void SetCycleIcons(bool Value) { TdkCustomTimer::SetEnabled(Value); }
  unsigned CycleInterval() const { return Interval(); }
  void SetCycleInterval(unsigned Value) { SetInterval(Value); }
  bool MinimizeOnStart = false;
  bool MinimizeToTray = false;
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  bool PopupByLeft = false;
  // Whether the icon is in the notification area.
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool VisibleOnDesigning() const { return FVisibleOnDesigning; }
  void SetVisibleOnDesigning(bool Value);
  int InfoTimeout = 10000;
  AnsiString InfoText;
  AnsiString InfoTitle;
  TdkTrayIconInfoType InfoType = tiiNone;

  // The record as the last call handed it to the shell.
  const NOTIFYICONDATAW& NotifyData() const { return FData; }

  // Refreshes the record from the properties.
  virtual void UpdateNotifyData();
  virtual void ModifyIcon();
  virtual void ShowIcon();
  virtual void HideIcon();
  virtual void ShowPopupMenu();
  virtual void ShowApplication();
  virtual void HideApplication();
  // InfoText under InfoTitle in a balloon beside the icon (from Windows 2000 on).
  virtual void ShowBalloon();
  virtual void ShowBalloonHint() { ShowBalloon(); }

  TNotifyEvent OnMinimize;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnPopupMenu;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnCycleIcons;
  TNotifyEvent OnBalloonShow;
  TNotifyEvent OnBalloonTimeout;
  TNotifyEvent OnBalloonClick;

 protected:
  void WndProc(TMessage& Msg) override;
  // Sees every message of the application window before its own procedure.
  virtual void AppWndProc(TMessage& Msg);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Shows the next picture of the image list.
  void Timer() override;
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Click();
  virtual void DblClick();
  virtual void Minimize();

 private:
  friend struct TrayAppWindowHook;
  bool Notify(DWORD Message);
  void HandleTrayMessage(UINT Message);
  void IconFromList();
  HWND OwnerWindow();
  void HookApplicationWindow();
  void UnhookApplicationWindow();

  bool FEnabled = true;
  AnsiString FHint;
  std::unique_ptr<TIcon> FIcon;
  UINT FNotifyFlags = NIF_MESSAGE | NIF_TIP;
  int FIconID = 0;
  TCustomImageList* FImageList = nullptr;
  std::unique_ptr<TChangeLink> FChangeLink;
  int FImageIndex = 0;
  TPopupMenu* FPopupMenu = nullptr;
  bool FLeftDown = false;
  bool FShowHint = true;
  bool FVisible = false;
  bool FStreamedVisible = false;
  bool FVisibleOnDesigning = false;
  NOTIFYICONDATAW FData{};
  HWND FHookedWindow = nullptr;
};

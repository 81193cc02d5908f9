// Controls: the window-less base (TControl), windowed controls (TWinControl), controls
// painted on their parent (TGraphicControl) and windowed controls that paint themselves
// (TCustomControl), with the message path every control shares:
//
//   system -> ControlWndProc -> MainWndProc (catches exceptions) -> WindowProc
//   (replaceable; WndProc by default) -> WndProc (virtual) -> Dispatch (message handlers)
//   -> DefaultHandler (virtual) -> DefWndProc (the window class's own procedure).
//
// Windows find their control without executable thunks (windowbinding.h).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "vcl/align.h"
#include "vcl/classes.h"
#include "vcl/cursors.h"
#include "vcl/graphics.h"
#include "vcl/keyboard.h"
#include "vcl/messages.h"
#include "vcl/typinfo.h"
#include "vcl/windowbinding.h"

class TControl;
class TWinControl;
class TControlCanvas;
class TBasicAction;
class TControlActionLink;
class TPopupMenu;
class TDockManager;

// ---------------------------------------------------------------------------
// Styles and states (bit flags).

enum TControlStyleFlag : unsigned {
  csAcceptsControls = 1u << 0,   // may be the parent of other controls
  csCaptureMouse = 1u << 1,      // captures the mouse while a button is down
  csClickEvents = 1u << 2,       // a button press and release inside makes a Click
  csSetCaption = 1u << 3,        // the caption follows the name while they are equal
  csOpaque = 1u << 4,            // paints its whole area (no background erase)
  csDoubleClicks = 1u << 5,      // receives double clicks as such
  csNoStdEvents = 1u << 6,       // no OnKey*/OnMouse* events
  csReflector = 1u << 7,
  csNeedsBorderPaint = 1u << 8,
  csParentBackground = 1u << 9,
  csFramed = 1u << 10,
  csNoDesignVisible = 1u << 11,
};
using TControlStyle = unsigned;

enum TControlStateFlag : unsigned {
  csLButtonDown = 1u << 0,
  csClicked = 1u << 1,
  csAlignmentNeeded = 1u << 2,
  csFocusing = 1u << 3,
  csCreating = 1u << 4,
  csPaintCopy = 1u << 5,
  csCustomPaint = 1u << 6,
  csDestroyingHandle = 1u << 7,
  csRecreating = 1u << 8,
  csDocking = 1u << 9,
};
using TControlState = unsigned;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
VCL_ENUM_INFO(TBiDiMode, "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly")
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
VCL_ENUM_INFO(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")

using TWndMethod = std::function<void(TMessage& Message)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// Drag and drop inside the program: what a dragged object (Source) does over a control.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;

// The default window method of a control: its virtual WndProc. A control's WindowProc
// holds one of these until someone puts another method in its place; the type tells the
// default apart from a replacement (compare with IsWndProcMethod).
struct TWndProcMethod {
  TControl* Control;
  void operator()(TMessage& Message) const;
};
inline bool IsWndProcMethod(const TWndMethod& m) { return m.target<TWndProcMethod>() != nullptr; }

// What a hint is about to show; CM_HINTSHOW passes it to the hint control (lParam),
// which may change any of it. Result 0 lets the hint show.
struct THintInfo {
  TControl* HintControl = nullptr;
  const TMetaClass* HintWindowClass = nullptr;
  POINT HintPos{};
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  RECT CursorRect{};
  POINT CursorPos{};
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  AnsiString HintStr;
  void* HintData = nullptr;
};

struct TCMHintShow {
  TMessage& M;
  THintInfo* HintInfo() const { return reinterpret_cast<THintInfo*>(M.LParam); }
};

// CM_MOUSEENTER / CM_MOUSELEAVE: lParam is the control the mouse entered or left.
struct TCMMouseEnterLeave {
  TMessage& M;
  TControl* Control() const { return reinterpret_cast<TControl*>(M.LParam); }
};

// Docking: a control put into a dock site (ManualDock) is carried there by one of these.
// DockRect is where the control is, in screen coordinates; DropAlign and DropOnControl say
// where in the site it should go (alNone and null: wherever the site puts it).
struct TDragDockObject {
  TControl* Control = nullptr;
  RECT DockRect{};
  TAlign DropAlign = alNone;
  TControl* DropOnControl = nullptr;
};

// CM_DOCKCLIENT: WParam is the TDragDockObject, LParam the drop point in the site's client
// coordinates. Result 1: the site has docked the control.
struct TCMDockClient {
  TMessage& M;
  TDragDockObject* DockSource() const { return reinterpret_cast<TDragDockObject*>(M.WParam); }
  POINT MousePos() const { return POINT{static_cast<short>(LOWORD(M.LParam)), static_cast<short>(HIWORD(M.LParam))}; }
};

// CM_UNDOCKCLIENT: WParam is the site the client goes to (null: none), LParam the client.
struct TCMUnDockClient {
  TMessage& M;
  TWinControl* NewTarget() const { return reinterpret_cast<TWinControl*>(M.WParam); }
  TControl* Client() const { return reinterpret_cast<TControl*>(M.LParam); }
};

// CM_DOCKNOTIFICATION: a docked client tells its site of a message it has handled
// (WM_SETTEXT, CM_VISIBLECHANGED). WParam is the client, LParam this record.
struct TDockNotifyRec {
  UINT ClientMsg;
  WPARAM MsgWParam;
  LPARAM MsgLParam;
};

struct TCMDockNotification {
  TMessage& M;
  TControl* Client() const { return reinterpret_cast<TControl*>(M.WParam); }
  TDockNotifyRec* NotifyRec() const { return reinterpret_cast<TDockNotifyRec*>(M.LParam); }
};

// Everything CreateWindowHandle needs to create a control's window. WindowClass is the
// class the framework registers under WinClassName (its window procedure is the one
// the window ends up calling as DefWndProc).
struct TCreateParams {
  AnsiString Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSA WindowClass{};
  AnsiString WinClassName;
};

// ---------------------------------------------------------------------------

extern const char* const SCannotFocus;

class TControl : public TComponent {
  VCL_CLASS(TControl)
  friend class TWinControl;

 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // --- the message path ---
  TWndMethod WindowProc;
  TWndMethod DefaultWindowProc() { return TWndProcMethod{this}; }
  virtual void WndProc(TMessage& Message);
  // Runs the handler of the message's number (the most derived class that handles it),
  // else DefaultHandler. A handler that wants the inherited handling calls the base
  // class's Dispatch.
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);
  // Sends a message through WindowProc and returns its result.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

  // --- parent ---
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  // Stored descriptions: a control is read into the container it was stored in.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  // --- text (8-bit, through WM_GETTEXT / WM_SETTEXT) ---
  AnsiString Text();
  void SetText(const AnsiString& Value);
  AnsiString Caption() { return Text(); }
  void SetCaption(const AnsiString& Value) { SetText(Value); }
  int GetTextLen();
  int GetTextBuf(char* Buffer, int BufSize);
  void SetTextBuf(const char* Buffer);
  void SetName(const std::string& NewName) override;

  // --- bounds, in the parent's client coordinates ---
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  void SetBoundsRect(const RECT& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
  virtual RECT ClientRect();
  int ClientWidth() { return ClientRect().right; }
  int ClientHeight() { return ClientRect().bottom; }
  virtual POINT ClientOrigin();
  POINT ClientToScreen(POINT p);
  POINT ScreenToClient(POINT p);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);

  // --- visibility and enabling ---
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  virtual bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);

  // --- appearance ---
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool Value);
  bool UseRightToLeftReading() const;
  bool UseRightToLeftAlignment() const;
  // DT_ flags adjusted for right-to-left reading and alignment.
  UINT DrawTextBiDiModeFlags(UINT Flags) const;
  UINT DrawTextBiDiModeFlagsReadingOnly() const;

  // The context the application's help opens for this control (0: none).
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }

  // --- hints ---
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);

  // --- actions ---
  TBasicAction* Action() const;
  // Links the control to the action (null: unlinks); the control takes the action's
  // caption, enabling, hint and visibility, and its click runs the action unless the
  // control has an OnClick of its own.
  void SetAction(TBasicAction* Value);
  TControlActionLink* ActionLink() const { return FActionLink.get(); }
  // The idle step's update: asks the linked action to update itself.
  virtual void InitiateAction();
  // Whether the control does the action's work itself (a status bar showing the hint of
  // a hint action); the base asks the action whether it handles the control.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);
  // Stored tests: what follows the linked action is the action's to store.
  bool IsCaptionStored() const;
  bool IsHintStored() const;
  bool IsEnabledStored() const;
  bool IsVisibleStored() const;
  // Stored tests of looks taken from the parent.
  bool IsFontStored() const { return !FParentFont; }
  bool IsColorStored() const { return !FParentColor; }
  bool IsShowHintStored() const { return !FParentShowHint; }

  // --- the mouse cursor over the control (crDefault: its parent's) ---
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);

  // --- context menu ---
  // Shown by a right click (WM_CONTEXTMENU) when its AutoPopup is set.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);

  TControlStyle ControlStyle = 0;
  TControlState ControlState = 0;

  // --- painting ---
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }

  // --- mouse and clicks ---
  virtual void Click();
  virtual void DblClick();
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnResize;

  // --- drag and drop (X, Y in the control's client coordinates) ---
  // Whether the control takes Source dropped at (X, Y): with an OnDragOver, what it
  // answers (it starts from yes); without one, no.
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  // Source was dropped at (X, Y): tells OnDragDrop.
  virtual void DragDrop(TObject* Source, int X, int Y);
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;

  // --- docking ---
  // The dock site the control is docked to (null: none). The control's parent is the
  // site or a control the site made for it (a page control's sheet).
  TWinControl* HostDockSite() const { return FHostDockSite; }
  // Docks the control into NewDockSite: the site is asked first to let the control go
  // (CM_UNDOCKCLIENT), then NewDockSite docks it (CM_DOCKCLIENT). DropControl and
  // ControlSide say where in the site. A null NewDockSite floats the control instead.
  // False when the old site kept the control. What the site's docking throws is passed on.
  bool ManualDock(TWinControl* NewDockSite, TControl* DropControl = nullptr, TAlign ControlSide = alNone);
  // Takes the control out of its dock site and makes it a window of its own at ScreenPos.
  // Only a control that is a window of its own without a parent (a form) can float: for
  // any other, nothing happens and the answer is false.
  bool ManualFloat(const RECT& ScreenPos);
  // The step of docking every dock site runs: the control moves to ARect (the site's
  // client coordinates), is listed as the site's client and the site adopts it
  // (DoAddDockClient); the previous site lets it go (DoRemoveDockClient). Null: no site.
  void Dock(TWinControl* NewDockSite, const RECT& ARect);

  // Device context for drawing on the control (graphic controls draw on the parent's,
  // moved and clipped to their bounds). windowHandle receives the window it belongs to.
  virtual HDC GetDeviceContext(HWND& WindowHandle);

 protected:
  virtual void Resize();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void RequestAlign();
  // Docking moves the control to ARect in its new site.
  virtual void DoDock(TWinControl* NewDockSite, RECT& ARect);
  // Tells the dock site of a message the control has handled (CM_DOCKNOTIFICATION).
  void SendDockNotification(UINT Msg, WPARAM WParam, LPARAM LParam);
  // A destroyed control leaves its dock site as an undocked one does.
  void LeaveHostDockSite();
  // Throws EInvalidOperation when AParent cannot be the control's parent (itself, or one
  // of its own children).
  void CheckNewParent(TWinControl* AParent) const;
  void InvalidateControl(bool IsVisible, bool IsOpaque);
  void Loaded() override;
  // The linked action (Sender) changed: the control takes its caption, enabling, hint and
  // visibility; with CheckDefaults only those it still has at their defaults.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // The link SetAction makes; controls with more to follow (a check state) make their own.
  virtual TControlActionLink* CreateActionLink();
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void FontChanged(TObject* Sender);
  void WMContextMenu(TMessage& Message);
  void CMHintShow(TMessage& Message);
  void LeaveParent();
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  void WMLButtonDown(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMSetText(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentShowHintChanged(TMessage& Message);
  void CMParentBiDiModeChanged(TMessage& Message);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  AnsiString FHint;
  int FHelpContext = 0;
  bool FShowHint = false;
  bool FParentShowHint = true;
  // The text of a control without a window (and of a windowed control between windows).
  AnsiString FText;
  std::unique_ptr<TControlActionLink> FActionLink;
  TPopupMenu* FPopupMenu = nullptr;
  TCursor FCursor = crDefault;
  TWinControl* FHostDockSite = nullptr;
};

// ---------------------------------------------------------------------------

class TWinControl : public TControl {
  VCL_CLASS(TWinControl)
  friend class TControl;
  friend LRESULT CALLBACK InitWndProc(HWND, UINT, WPARAM, LPARAM);

 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // --- the window ---
  HWND Handle();  // creates the window when there is none
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // The handle field itself: set by the first window procedure, and writable from outside
  // (a wrapper may hide the window from the framework for a moment by setting 0).
  HWND WindowHandle() const { return FHandle; }
  void SetWindowHandle(HWND Value) { FHandle = Value; }
  // The procedure DefaultHandler passes messages to, called with CallWindowProcA (a plain
  // function pointer is called as it is, with the message unconverted).
  WNDPROC DefWndProc = nullptr;
  // Entry of every message from the system: runs WindowProc and hands exceptions to
  // ApplicationHandleException instead of letting them reach the system.
  void MainWndProc(TMessage& Message);
  void RecreateWnd();
  bool Showing() const { return FShowing; }
  TBrush* Brush() const { return FBrush.get(); }

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  // Brings AControl, a child, into view: the parent shows this control in turn.
  virtual void ShowControl(TControl* AControl);

  // --- child controls (freed with their parent, so they live on the heap) ---
  int ControlCount() const { return static_cast<int>(FControls.size() + FWinControls.size()); }
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* Control) const;
  // Sends the message to each child until one answers with a non-zero result.
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);
  // The topmost window-less child under a client point.
  TControl* ControlAtPos(POINT Pos, bool AllowDisabled);

  // --- alignment ---
  void DisableAlign();
  void EnableAlign();
  void Realign();

  // --- focus and tab order ---
  virtual bool CanFocus();
  bool Focused();
  virtual void SetFocus();
  int TabOrder() const;
  void SetTabOrder(int Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  void GetTabOrderList(std::vector<TWinControl*>& List);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  void SelectFirst();
  // The outermost windowed control this one sits in (itself when it has no parent):
  // the receiver of dialog keys and characters.
  TWinControl* TopParent();

  // --- keys: true when the key was consumed (set to 0 by a handler) ---
  bool DoKeyDown(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  bool DoKeyUp(TMessage& Message);

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // Stored descriptions: the children the root owns, in control order.
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

  // --- docking ---
  // A dock site takes controls docked to it; with UseDockManager its dock manager lays
  // them out (made when both are set).
  bool DockSite() const { return FDockSite; }
  void SetDockSite(bool Value);
  bool UseDockManager() const { return FUseDockManager; }
  void SetUseDockManager(bool Value);
  TDockManager* DockManager() const { return FDockManager.get(); }
  // The controls docked to this site, in the order they came.
  int DockClientCount() const { return static_cast<int>(FDockClients.size()); }
  TControl* DockClients(int Index) const { return FDockClients.at(static_cast<size_t>(Index)); }
  // Docks what Source carries (CM_DOCKCLIENT) and brings the site's form to the front.
  virtual void DockDrop(TDragDockObject* Source, int X, int Y);
  // Lets Client go to NewTarget (null: it floats): CM_UNDOCKCLIENT, whose non-zero answer
  // keeps it; the dock manager forgets it. True when the client may go.
  virtual bool DoUnDock(TWinControl* NewTarget, TControl* Client);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  RECT ClientRect() override;
  POINT ClientOrigin() override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  HDC GetDeviceContext(HWND& WindowHandle) override;

 protected:
  virtual void CreateParams(TCreateParams& Params);
  // Makes the window class a copy of a system class ("EDIT", "BUTTON"...), so that the
  // control's window is one of those with the framework in front of it.
  void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void CreateHandle();
  void DestroyHandle();
  // Whether this control shows without a parent control (a form, a window of its own).
  virtual bool IsTopLevelWindow() const { return false; }
  void UpdateShowing();
  void UpdateControlState();
  void UpdateBounds();

  virtual void AlignControls(TControl* AControl, RECT& Rect);
  virtual void AdjustClientRect(RECT& Rect) {}
  void AlignControl(TControl* AControl);

  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  // Whether this outermost control sees the keys of the controls inside it before they
  // do (a form's KeyPreview).
  virtual bool PreviewsKeys() const { return false; }

  // The dock manager a dock site with UseDockManager gets; the caller owns it.
  virtual TDockManager* CreateDockManager();
  // Docking's adoption of a client: it becomes a child of the site.
  virtual void DoAddDockClient(TControl* Client, const RECT& ARect);
  // A client has left the site (docked elsewhere, floated or destroyed).
  virtual void DoRemoveDockClient(TControl* Client) {}

  virtual void PaintWindow(HDC DC);
  void PaintHandler(TMessage& Message);
  TControlActionLink* CreateActionLink() override;
  void PaintControls(HDC DC, TControl* First);
  void Loaded() override;

 private:
  void RegisterWindowClass(TCreateParams& Params);
  void ReleaseWindows();
  void FreeChildControls();
  void ForgetControl(TControl* AControl);  // unlinks without any notice
  HWND PrecedingWindow(TWinControl* Control) const;
  bool IsControlMouseMsg(TMessage& Message);
  void TrackMouse(POINT Pos);
  void SetMouseControl(TControl* Control);
  bool ReflectToChild(HWND Child, TMessage& Message);
  void FixupTabList();

  void WMPrintClient(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMNotify(TMessage& Message);
  void WMDrawItem(TMessage& Message);
  void WMMeasureItem(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMNCDestroy(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CNChar(TMessage& Message);
  void CNSysChar(TMessage& Message);
  void CNCtlColor(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMRecreateWnd(TMessage& Message);
  void CMDockClient(TMessage& Message);

  HWND FHandle = nullptr;
  bool FShowing = false;
  std::unique_ptr<TBrush> FBrush;
  std::vector<TControl*> FControls;        // window-less children, painted in this order
  std::vector<TWinControl*> FWinControls;  // windowed children, bottom of the z-order first
  std::vector<TWinControl*> FTabList;
  int FTabOrder = -1;  // only while reading: the order to apply in Loaded
  bool FTabStop = false;
  int FAlignLevel = 0;
  TControl* FMouseControl = nullptr;
  bool FTrackingMouse = false;
  // Painting for WM_PRINTCLIENT: the window class is asked to print, not to paint.
  bool FPrintingClient = false;
  bool FDockSite = false;
  bool FUseDockManager = false;
  std::unique_ptr<TDockManager> FDockManager;
  std::vector<TControl*> FDockClients;
};

// ---------------------------------------------------------------------------

// A canvas on a control: the window's device context, or the parent's moved and
// clipped to a window-less control. A few device contexts are kept between uses.
class TControlCanvas : public TCanvas {
  VCL_CLASS(TControlCanvas)
 public:
  TControlCanvas() = default;
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  void FreeHandle();
  void UpdateTextFlags();
  // The window whose device context the canvas holds (nullptr when it holds none).
  HWND DeviceContextWindow() const { return FWindowHandle; }

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// Lets go of the device contexts canvases hold on a window (before it is destroyed).
void FreeDeviceContexts(HWND Wnd);

class TGraphicControl : public TControl {
  VCL_CLASS(TGraphicControl)
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const;
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint() {}

 private:
  void WMPaint(TMessage& Message);
  std::unique_ptr<TControlCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
  VCL_CLASS(TCustomControl)
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const;
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// The base of the controls that hold a list of items (list and combo boxes, list views):
// what code that only adds items needs to know of them.
class TCustomListControl : public TWinControl {
  VCL_CLASS(TCustomListControl)
 public:
  using TWinControl::TWinControl;
  // Adds Item with the object it carries.
  virtual void AddItem(const AnsiString& Item, TObject* AObject) = 0;
};

// For the message loop: hands a key message to the framework control it concerns as
// CN_KEYDOWN, CN_CHAR, CN_SYSKEYDOWN, CN_SYSCHAR...; true when the control took it (the
// loop then neither translates nor dispatches it).
bool IsKeyMsg(MSG& Msg);

// The control holding the mouse capture (a window-less control captures through its
// parent's window).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);


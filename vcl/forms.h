// Forms: top-level windows read from their stored descriptions, shown modeless or modal,
// and the screen that lists them.
//
// A C++ constructor cannot read the description of the class it builds (inside a base
// constructor the object is not yet of its final class), so forms are created in two
// steps, by these:
//
//   auto* form = TCustomForm::Create<TMainForm>(Application);    // with its description
//   auto* dialog = TCustomForm::CreateNew<TForm>(nullptr);       // empty, built in code
//   Application->CreateForm(MainForm);                           // owned by the application
//
// Each constructs the object, reads the descriptions (Create: the class's and those of its
// ancestors below the description root, TForm) and then runs OnCreate. A form is freed by
// its owner, by Free, or by Release/caFree; these run OnDestroy while the form is whole
// (a plain delete skips OnDestroy).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "vcl/controls.h"

class TCustomForm;
class TMainMenu;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
VCL_ENUM_INFO(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
VCL_ENUM_INFO(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
using TBorderIcons = unsigned;  // bit n is the icon of ordinal n

// Where a form goes when it is shown: where its bounds say, centred on the screen, or
// centred on the main form.
enum TPosition { poDesigned, poScreenCenter, poMainFormCenter };
VCL_ENUM_INFO(TPosition, "poDesigned", "poScreenCenter", "poMainFormCenter")

// A form on its own; a child inside the main form's MDI client area; the MDI frame
// itself; a window above all others.
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
VCL_ENUM_INFO(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")

enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;

enum TFormStateFlag : unsigned {
  fsCreating = 1u << 0,  // its description is being read
  fsVisible = 1u << 1,   // Visible was set while reading: shown once created
  fsModal = 1u << 2,     // in ShowModal
  fsCreatedMDIChild = 1u << 3,  // its window was made inside the MDI client
};
using TFormState = unsigned;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
  VCL_CLASS(TCustomForm)
 public:
  // Constructs an empty form; see Create, CreateNew and TApplication::CreateForm.
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // A form of class T read from its stored description; EResNotFound "Resource T not
  // found" when T has none.
  template <class T>
  static T* Create(TComponent* AOwner) {
    T* form = new T(AOwner);
    InitNewForm(form, true);
    return form;
  }
  // A form of class T without any description.
  template <class T>
  static T* CreateNew(TComponent* AOwner) {
    T* form = new T(AOwner);
    InitNewForm(form, false);
    return form;
  }
  // Completes a form just constructed: reads its descriptions when FromDescription, then
  // runs OnCreate. On failure the form is freed and the exception passed on.
  static void InitNewForm(TCustomForm* Form, bool FromDescription);

  void BeforeDestruction() override;

  // --- showing and closing ---
  void SetVisible(bool Value);
  void Show();
  void Hide();
  // Asks OnCloseQuery, then OnClose decides: hide (the default), free, or nothing. The
  // main form's closing ends the application's Run; a modal form's ends ShowModal with
  // mrCancel.
  void Close();
  // Frees the form once the messages being handled now are done.
  void Release();
  virtual bool CloseQuery();
  // Shows the form and runs a message loop until ModalResult is set (by a button, by
  // Close...) and the close query allows it; the other windows of the thread are disabled
  // meanwhile. Returns the modal result.
  int ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool Active() const { return FActive; }
  TFormState FormState() const { return FFormState; }

  // --- looks ---
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  // The MDI client window of an MDI frame (null for other forms and while no window exists).
  HWND ClientHandle() const { return FClientHandle; }
  // See-through windows (layered windows): the whole form at AlphaBlendValue (0 clear,
  // 255 opaque), and/or TransparentColorValue left out. Kept across new windows.
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(BYTE Value);
  bool TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(bool Value);
  TColor TransparentColorValue() const { return FTransparentColorValue; }
  void SetTransparentColorValue(TColor Value);
  void SetClientWidth(int Value);
  void SetClientHeight(int Value);
  RECT ClientRect() override;

  // --- keys and focus ---
  // The form sees the keys of its controls before they do.
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  // The control that has the focus while the form is active (or gets it when it is).
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Value);
  // Moves the focus to the next (or previous) tab stop after CurControl.
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  // The idle step's update of the form's actions: the form's own, every visible
  // control's (InitiateAction) and those of the visible items of the menu bar.
  virtual void UpdateActions();

  // The menu bar (null: none). Its entries' commands, sub-menu openings, selections
  // (the application's hint) and owner drawing come to the form.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);

  // OnCreate and OnDestroy run after the description is read and before the form goes,
  // whatever this says; stored descriptions carry it.
  bool OldCreateOrder = false;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // A form given a parent (docked into a control) becomes a child window without a frame
  // of its own; taken out again it is a window of its own.
  void SetParent(TWinControl* AParent) override;

  // The help file the application's help opens for this form (empty: the application's).
  AnsiString HelpFile;

  void Dispatch(TMessage& Message) override;
  // An MDI frame's messages end in DefFrameProc (WM_SIZE excepted: the frame places its
  // client window itself).
  void DefaultHandler(TMessage& Message) override;
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // An MDI child is made by the MDI client of the main form (EInvalidOperation SNoMDIForm
  // when there is none).
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DestroyWindowHandle() override;
  void AlignControls(TControl* AControl, RECT& Rect) override;
  // The main form's MDI client; raises EInvalidOperation SNoMDIForm when there is none.
  static HWND ActiveMDIClient();
  // Applies AlphaBlend and TransparentColor to the window.
  void SetLayeredAttribs();
  void SetFormStateFlag(TFormStateFlag Flag, bool On);
  // A form inside another control (docked) is a child window of it.
  bool IsTopLevelWindow() const override { return Parent() == nullptr; }
  bool PreviewsKeys() const override { return FKeyPreview; }
  void ReadState(TReader* Reader) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Puts the menu bar on the new window, keeping the client size.
  void AttachMenuBar();
  // WM_COMMAND, WM_INITMENUPOPUP, WM_MENUSELECT, WM_MEASUREITEM and WM_DRAWITEM of the
  // menu bar; true when the message was the menu's.
  bool MenuMessage(TMessage& Message);

  // The class whose descriptions, and its ancestors', Create does not read: TForm here.
  // A base form class of another kind (a wide form) names itself.
  virtual const TMetaClass* DescriptionRoot() const;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);

 private:
  void CMShowingChanged(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMFocusChanged(TMessage& Message);
  void CMActionExecute(TMessage& Message);
  void WMActivate(TMessage& Message);
  void WMClose(TMessage& Message);
  void ApplyPosition();
  void CloseModal();
  void SetWindowFocus();
  RECT FrameSize();

  TFormState FFormState = 0;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
  TPosition FPosition = poDesigned;
  TFormStyle FFormStyle = fsNormal;
  HWND FClientHandle = nullptr;
  bool FAlphaBlend = false;
  BYTE FAlphaBlendValue = 255;
  bool FTransparentColor = false;
  TColor FTransparentColorValue = 0;
  TModalResult FModalResult = mrNone;
  bool FKeyPreview = false;
  bool FActive = false;
  bool FDestroyRan = false;
  TWinControl* FActiveControl = nullptr;
  TMainMenu* FMenu = nullptr;
  int FClientWidth = 0;   // while reading: applied once the description is read
  int FClientHeight = 0;
};

class TForm : public TCustomForm {
  VCL_CLASS(TForm)
 public:
  using TCustomForm::TCustomForm;
};

// The form the control is on (the control itself when it is a form); null when none.
TCustomForm* GetParentForm(TControl* Control);

// The screen: its size, the hint font and the forms of the program.
class TScreen : public TComponent {
  VCL_CLASS(TScreen)
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  // The font of hint windows: the system's status font, in the tooltip text colour.
  TFont* HintFont() const { return FHintFont.get(); }
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int Index) const { return FForms.at(static_cast<size_t>(Index)); }
  // The form activated last (null when none is, or it went).
  TCustomForm* ActiveForm() const { return FActiveForm; }
  // Its focused control.
  TWinControl* ActiveControl() const;

  // The cursor over every window of the program while it is not crDefault (crHourGlass
  // during a long task); crDefault gives each control its own again.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The cursor of a number: a standard one (crArrow, crHandPoint...), or one the program
  // put in a slot of its own; the arrow for a number without one.
  HCURSOR Cursors(TCursor Index) const;
  // Puts a cursor in a slot (a number above 0); the screen frees it. Null empties the slot.
  void SetCursors(TCursor Index, HCURSOR Handle);

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);

  std::unique_ptr<TFont> FHintFont;
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TCursor FCursor = crDefault;
  std::map<TCursor, HCURSOR> FCursors;  // the program's own
};

// The program's screen, made by the first application object or form.
extern TScreen* Screen;
TScreen* InitScreen();

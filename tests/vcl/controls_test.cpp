// Controls with real windows: creation and destruction, the message path, reflection,
// keys, text, alignment, visibility and focus.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/vcl/test_windows.h"
#include "vcl/controls.h"

using namespace testwin;

namespace {

// Tells a flag when it is freed.
class TFreedEdit : public TLineEdit {
 public:
  TFreedEdit(TComponent* owner, bool* freed) : TLineEdit(owner), freed_(freed) {}
  ~TFreedEdit() override { *freed_ = true; }

 private:
  bool* freed_;
};

// A window-less control with an accelerator in its caption.
class TAccelLabel : public TGraphicControl {
 public:
  explicit TAccelLabel(TComponent* owner) : TGraphicControl(owner) {}
  int accelerated = 0;
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_DIALOGCHAR && IsAccel(TWMKey{m}.CharCode(), Caption())) {
      ++accelerated;
      m.Result = 1;
      return;
    }
    TGraphicControl::Dispatch(m);
  }
};

TEST(Controls, ParentCreatesChildWindowsAndDestroyingThemUnbinds) {
  std::unique_ptr<THostWindow> host(ShownHost());
  bool editFreed = false;
  auto* box = new TBox(host.get());
  box->SetBounds(10, 10, 200, 100);
  auto* edit = new TFreedEdit(host.get(), &editFreed);  // owned by the host, parented by the box
  edit->SetBounds(5, 5, 100, 22);
  auto* hidden = new TLineEdit(host.get());
  hidden->SetVisible(false);
  auto* button = new TPushButton(host.get());
  button->SetBounds(5, 40, 80, 25);
  edit->SetParent(box);
  hidden->SetParent(box);
  button->SetParent(box);
  box->SetParent(host.get());

  // A showing parent gives its visible children windows inside its own.
  ASSERT_TRUE(box->HandleAllocated());
  ASSERT_TRUE(edit->HandleAllocated());
  ASSERT_TRUE(button->HandleAllocated());
  EXPECT_FALSE(hidden->HandleAllocated());
  EXPECT_EQ(GetParent(edit->WindowHandle()), box->WindowHandle());
  EXPECT_EQ(GetParent(box->WindowHandle()), host->WindowHandle());
  EXPECT_TRUE(IsWindowVisible(edit->WindowHandle()));
  EXPECT_EQ(RectInParent(button->WindowHandle()), (RECT{5, 40, 85, 65}));
  EXPECT_EQ(box->ControlCount(), 3);
  EXPECT_EQ(FindControl(edit->WindowHandle()), edit);
  EXPECT_EQ(FindControl(box->WindowHandle()), box);
  EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
  // Every child window carries an identifier (WM_MEASUREITEM finds children by it).
  EXPECT_NE(GetWindowLongPtrA(button->WindowHandle(), GWLP_ID), 0);

  // A control's destructor takes it out of its parent and its window away.
  HWND buttonWnd = button->WindowHandle();
  delete button;
  EXPECT_FALSE(IsWindow(buttonWnd));
  EXPECT_EQ(box->ControlCount(), 2);
  EXPECT_EQ(FindControl(buttonWnd), nullptr);

  // Destroying the parent takes the child windows and frees the children.
  HWND boxWnd = box->WindowHandle(), editWnd = edit->WindowHandle();
  delete box;
  EXPECT_FALSE(IsWindow(boxWnd));
  EXPECT_FALSE(IsWindow(editWnd));
  EXPECT_TRUE(editFreed);
  EXPECT_EQ(host->ControlCount(), 0);
  EXPECT_EQ(host->ComponentCount(), 0);  // the host owned them: they left its list as they went
}

TEST(Controls, OwnerFreesItsControls) {
  bool freed = false;
  auto* host = ShownHost();
  auto* edit = new TFreedEdit(host, &freed);
  edit->SetParent(host);
  HWND hostWnd = host->WindowHandle();
  delete host;
  EXPECT_TRUE(freed);
  EXPECT_FALSE(IsWindow(hostWnd));
}

TEST(Controls, WindowsAreTaggedWithTheFrameworkAtoms) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* edit = new TLineEdit(host.get());
  edit->SetParent(host.get());
  HWND wnd = edit->WindowHandle();

  const AnsiString& control = ControlAtomString();
  ASSERT_EQ(control.rfind("ControlOfs", 0), 0u);
  EXPECT_GE(control.size(), 10u + 16u);
  EXPECT_EQ(WindowAtomString(), Format("WndProcPtr%.8X", static_cast<unsigned>(GetCurrentProcessId())));
  EXPECT_EQ(GetPropA(wnd, control.c_str()), static_cast<HANDLE>(edit));
  EXPECT_EQ(GetPropA(wnd, WindowAtomString().c_str()), static_cast<HANDLE>(edit));

  // A window bound by someone else through the property alone is found as well (the
  // wide layer binds its Unicode windows that way).
  HWND foreign = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, host->Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(foreign, nullptr);
  EXPECT_EQ(FindControl(foreign), nullptr);
  SetPropA(foreign, control.c_str(), static_cast<HANDLE>(edit));
  EXPECT_EQ(FindControl(foreign), edit);
  DestroyWindow(foreign);
}

TEST(Controls, RecreatingAWindowKeepsTextBoundsAndChildren) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* box = new TBox(host.get());
  box->SetBounds(10, 10, 250, 120);
  box->SetParent(host.get());
  auto* edit = new TLineEdit(host.get());
  edit->SetParent(box);
  edit->SetBounds(12, 34, 150, 24);
  edit->SetText("Bonjour");
  HWND oldEdit = edit->WindowHandle();
  // Typed by the user, not through the framework: the window's own text is what counts.
  SetWindowTextA(oldEdit, "Bonjour le monde");

  edit->RecreateWnd();
  HWND newEdit = edit->WindowHandle();
  ASSERT_NE(newEdit, nullptr);
  EXPECT_NE(newEdit, oldEdit);
  EXPECT_FALSE(IsWindow(oldEdit));
  EXPECT_EQ(WindowText(newEdit), "Bonjour le monde");
  EXPECT_EQ(RectInParent(newEdit), (RECT{12, 34, 162, 58}));
  EXPECT_EQ(FindControl(newEdit), edit);
  EXPECT_EQ(FindControl(oldEdit), nullptr);

  // The parent's re-creation brings its showing children back with it.
  HWND oldBox = box->WindowHandle();
  box->RecreateWnd();
  ASSERT_TRUE(edit->HandleAllocated());
  EXPECT_NE(box->WindowHandle(), oldBox);
  EXPECT_EQ(GetParent(edit->WindowHandle()), box->WindowHandle());
  EXPECT_EQ(edit->Text(), "Bonjour le monde");
  EXPECT_EQ(edit->Left(), 12);
  EXPECT_EQ(edit->Width(), 150);
}

TEST(Controls, ButtonClickIsReflectedAsCnCommandAndClick) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* button = new TPushButton(host.get());
  button->SetParent(host.get());
  std::vector<std::string> events;
  button->WindowProc = [&, previous = button->WindowProc](TMessage& m) {
    if (m.Msg == CN_COMMAND) events.push_back("CN_COMMAND " + std::to_string(TWMCommand{m}.NotifyCode()));
    previous(m);
    if (m.Msg == CN_COMMAND) events.push_back("CN_COMMAND done");
  };
  button->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, button);
    events.push_back("OnClick");
  };
  SendMessageA(button->WindowHandle(), BM_CLICK, 0, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"CN_COMMAND " + std::to_string(BN_CLICKED), "OnClick", "CN_COMMAND done"}));
}

TEST(Controls, NotificationsReachTheChildWhateverTheirCode) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* edit = new TLineEdit(host.get());
  edit->SetParent(host.get());
  struct Seen {
    UINT msg;
    UINT code;
  };
  std::vector<Seen> seen;
  edit->WindowProc = [&, previous = edit->WindowProc](TMessage& m) {
    if (m.Msg == CN_NOTIFY) {
      seen.push_back({m.Msg, TWMNotify{m}.NMHdr()->code});
      m.Result = 77;
      return;
    }
    previous(m);
  };
  // A made-up code and a wide list-view code: reflection does not look at them.
  for (UINT code : {0x1234u, static_cast<UINT>(LVN_GETDISPINFOW)}) {
    NMHDR hdr{edit->WindowHandle(), 1, code};
    EXPECT_EQ(SendMessageA(host->WindowHandle(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&hdr)), 77);
  }
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].code, 0x1234u);
  EXPECT_EQ(seen[1].code, static_cast<UINT>(LVN_GETDISPINFOW));
  // From a window that is no control the parent keeps it.
  NMHDR other{GetDesktopWindow(), 1, 5};
  EXPECT_EQ(SendMessageA(host->WindowHandle(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&other)), 0);
  EXPECT_EQ(seen.size(), 2u);
}

// An owner-drawn list box: its items are measured during its own creation.
class TOwnerDrawList : public TWinControl {
 public:
  explicit TOwnerDrawList(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 100, 100); }
  std::vector<UINT> reflected;
  void Dispatch(TMessage& m) override {
    if (m.Msg == CN_MEASUREITEM) {
      reflected.push_back(m.Msg);
      TWMMeasureItem{m}.MeasureItemStruct()->itemHeight = 23;
      m.Result = TRUE;
      return;
    }
    if (m.Msg == CN_DRAWITEM) {
      reflected.push_back(m.Msg);
      m.Result = TRUE;
      return;
    }
    TWinControl::Dispatch(m);
  }

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "LISTBOX");
    params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY;
    params.WinClassName = "TOwnerDrawList";
  }
};

TEST(Controls, OwnerDrawMessagesAreReflectedToTheChild) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* list = new TOwnerDrawList(host.get());
  list->SetParent(host.get());
  HWND wnd = list->WindowHandle();
  // Measured while its window was being created, found by its identifier.
  ASSERT_FALSE(list->reflected.empty());
  EXPECT_EQ(list->reflected.front(), CN_MEASUREITEM);
  EXPECT_EQ(SendMessageA(wnd, LB_GETITEMHEIGHT, 0, 0), 23);
  SendMessageA(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
  list->Repaint();
  EXPECT_NE(std::find(list->reflected.begin(), list->reflected.end(), CN_DRAWITEM), list->reflected.end());
}

TEST(Controls, WindowProcReplacementSeesMessagesFirst) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* edit = new TLineEdit(host.get());
  edit->SetParent(host.get());
  EXPECT_TRUE(IsWndProcMethod(edit->WindowProc));
  int keyPresses = 0;
  edit->OnKeyPress = [&](TObject*, char&) { ++keyPresses; };
  {
    MessageRecorder recorder(edit);
    EXPECT_FALSE(IsWndProcMethod(edit->WindowProc));
    // The text set from outside passes the replacement, then the framework notices it.
    SetWindowTextA(edit->WindowHandle(), "outside");
    EXPECT_EQ(recorder.Only({WM_SETTEXT, CM_TEXTCHANGED}), (std::vector<UINT>{WM_SETTEXT, CM_TEXTCHANGED}));
    SendMessageA(edit->WindowHandle(), WM_CHAR, 'a', 1);
    EXPECT_TRUE(recorder.Saw(WM_CHAR));
    EXPECT_EQ(keyPresses, 1);
  }
  EXPECT_TRUE(IsWndProcMethod(edit->WindowProc));
  // A replacement that keeps a message to itself: the control never hears of it.
  TWndMethod previous = edit->WindowProc;
  edit->WindowProc = [&](TMessage& m) {
    if (m.Msg != WM_CHAR) previous(m);
  };
  SendMessageA(edit->WindowHandle(), WM_CHAR, 'b', 1);
  EXPECT_EQ(keyPresses, 1);
  EXPECT_EQ(edit->Text(), "aoutside");  // typed at the caret, which stayed at the start
  edit->WindowProc = previous;
}

TEST(Controls, ExceptionInAHandlerGoesToTheApplication) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* button = new TPushButton(host.get());
  button->SetParent(host.get());
  button->OnClick = [](TObject*) { throw EInvalidOperation("broken handler"); };

  std::vector<std::string> handled;
  TObject* sender = nullptr;
  auto saved = ApplicationHandleException;
  ApplicationHandleException = [&](TObject* s) {
    sender = s;
    try {
      throw;
    } catch (const Exception& e) {
      handled.push_back(e.Message);
    }
  };
  SendMessageA(button->WindowHandle(), BM_CLICK, 0, 0);
  // Thrown inside the parent's WM_COMMAND: the parent's window procedure caught it.
  EXPECT_EQ(handled, (std::vector<std::string>{"broken handler"}));
  EXPECT_EQ(sender, host.get());

  // Without an application the exception still stops at the window procedure.
  ApplicationHandleException = nullptr;
  SendMessageA(button->WindowHandle(), BM_CLICK, 0, 0);
  ApplicationHandleException = saved;
  // The windows go on working.
  button->OnClick = [&](TObject*) { handled.push_back("clicked"); };
  SendMessageA(button->WindowHandle(), BM_CLICK, 0, 0);
  EXPECT_EQ(handled.back(), "clicked");
}

// Passes everything on to the procedure the control had, and notes the WM_CHARs.
WNDPROC gSavedDefProc = nullptr;
std::vector<WPARAM> gDefProcChars;
LRESULT CALLBACK RecordingDefProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR) gDefProcChars.push_back(wp);
  return CallWindowProcA(gSavedDefProc, wnd, msg, wp, lp);
}

TEST(Controls, KeyPressSeesCharactersAndZeroConsumesThem) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* edit = new TLineEdit(host.get());
  edit->SetParent(host.get());
  std::vector<int> pressed;
  edit->OnKeyPress = [&](TObject*, char& key) {
    pressed.push_back(static_cast<unsigned char>(key));
    if (key == 'x') key = 0;                  // refused
    if (key == 'a') key = 'A';                // changed
    if (key == '\xFE') key = 'Z';             // changed, with a wide character parked
  };
  gSavedDefProc = edit->DefWndProc;
  edit->DefWndProc = &RecordingDefProc;  // a plain procedure, called as it is
  gDefProcChars.clear();

  // Typed characters arrive through the message loop.
  for (char c : std::string("axb")) PostMessageA(edit->WindowHandle(), WM_CHAR, static_cast<WPARAM>(c), 1);
  ASSERT_TRUE(DispatchUntil([&] { return pressed.size() == 3; }));
  EXPECT_EQ(pressed, (std::vector<int>{'a', 'x', 'b'}));
  EXPECT_EQ(edit->Text(), "Ab");
  EXPECT_EQ(gDefProcChars, (std::vector<WPARAM>{'A', 'b'}));

  // The high word of wParam is never touched: a wrapper may keep a wide character there
  // while the 8-bit handling sees 255.
  gDefProcChars.clear();
  pressed.clear();
  WPARAM parked = (static_cast<WPARAM>(0x4E2D) << 16) | 0xFF;
  SendMessageA(edit->WindowHandle(), WM_CHAR, parked, 1);
  WPARAM parkedChanged = (static_cast<WPARAM>(0x4E2D) << 16) | 0xFE;
  SendMessageA(edit->WindowHandle(), WM_CHAR, parkedChanged, 1);
  EXPECT_EQ(pressed, (std::vector<int>{0xFF, 0xFE}));
  EXPECT_EQ(gDefProcChars, (std::vector<WPARAM>{parked, (static_cast<WPARAM>(0x4E2D) << 16) | 'Z'}));
  edit->DefWndProc = gSavedDefProc;
}

TEST(Controls, KeyDownSeesVirtualKeysAndZeroConsumesThem) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* edit = new TLineEdit(host.get());
  edit->SetParent(host.get());
  edit->SetText("abc");
  SendMessageA(edit->WindowHandle(), EM_SETSEL, 0, 0);
  std::vector<WORD> downs, ups;
  edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    downs.push_back(key);
    if (key == VK_DELETE) key = 0;
  };
  edit->OnKeyUp = [&](TObject*, WORD& key, TShiftState) { ups.push_back(key); };
  SendMessageA(edit->WindowHandle(), WM_KEYDOWN, VK_DELETE, 1);
  SendMessageA(edit->WindowHandle(), WM_KEYUP, VK_DELETE, 0xC0000001);
  EXPECT_EQ(downs, (std::vector<WORD>{VK_DELETE}));
  EXPECT_EQ(ups, (std::vector<WORD>{VK_DELETE}));
  EXPECT_EQ(edit->Text(), "abc");  // the edit never saw the Delete key
}

TEST(Controls, IsKeyMsgHandsDialogCharactersAndKeysToTheControls) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* button = new TPushButton(host.get());
  button->SetParent(host.get());
  auto* edit = new TLineEdit(host.get());
  edit->SetParent(host.get());
  auto* label = new TAccelLabel(host.get());
  label->SetCaption("Save && E&xit");
  label->SetParent(host.get());

  auto keyMsg = [](TWinControl* c, UINT msg, WPARAM key) {
    return MSG{c->WindowHandle(), msg, key, 1, 0, {0, 0}};
  };
  // Alt+X on the button: the dialog character goes round the window and finds the label.
  MSG altX = keyMsg(button, WM_SYSCHAR, 'x');
  EXPECT_TRUE(IsKeyMsg(altX));
  EXPECT_EQ(label->accelerated, 1);
  MSG altQ = keyMsg(button, WM_SYSCHAR, 'q');
  EXPECT_FALSE(IsKeyMsg(altQ));
  // A plain character on a control that takes no characters is an accelerator too...
  MSG plainX = keyMsg(button, WM_CHAR, 'X');
  EXPECT_TRUE(IsKeyMsg(plainX));
  EXPECT_EQ(label->accelerated, 2);
  // ...but an edit wants its characters.
  MSG typedX = keyMsg(edit, WM_CHAR, 'x');
  EXPECT_FALSE(IsKeyMsg(typedX));
  EXPECT_EQ(label->accelerated, 2);

  // Enter on the button becomes a dialog key of the window it sits in.
  host->DialogKeyAnswer = 1;
  MSG enter = keyMsg(button, WM_KEYDOWN, VK_RETURN);
  EXPECT_TRUE(IsKeyMsg(enter));
  EXPECT_EQ(host->DialogKeys, (std::vector<WORD>{VK_RETURN}));
  // Other messages are none of its business.
  MSG paint{button->WindowHandle(), WM_PAINT, 0, 0, 0, {0, 0}};
  EXPECT_FALSE(IsKeyMsg(paint));
}

TEST(Controls, TextOfWindowedControlsGoesThroughTheWindowAndNotifies) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* edit = new TLineEdit(host.get());
  edit->SetText("before");  // no window yet: the control keeps it
  EXPECT_FALSE(edit->HandleAllocated());
  EXPECT_EQ(edit->Text(), "before");
  edit->SetParent(host.get());
  ASSERT_TRUE(edit->HandleAllocated());
  EXPECT_EQ(WindowText(edit->WindowHandle()), "before");

  MessageRecorder recorder(edit);
  edit->SetText("after");
  EXPECT_EQ(recorder.Only({WM_GETTEXTLENGTH, WM_GETTEXT, WM_SETTEXT, CM_TEXTCHANGED}),
            (std::vector<UINT>{WM_GETTEXTLENGTH, WM_GETTEXT, WM_SETTEXT, CM_TEXTCHANGED}));
  EXPECT_EQ(WindowText(edit->WindowHandle()), "after");
  recorder.seen.clear();
  edit->SetText("after");  // the same text: nothing is set, nobody is told
  EXPECT_FALSE(recorder.Saw(WM_SETTEXT));
  EXPECT_FALSE(recorder.Saw(CM_TEXTCHANGED));
}

TEST(Controls, WindowlessControlsKeepTheirOwnText) {
  std::unique_ptr<TGraphicControl> label(new TGraphicControl(nullptr));
  {
    MessageRecorder recorder(label.get());
    label->SetCaption("Nom du fichier");
    EXPECT_EQ(recorder.Only({WM_SETTEXT, CM_TEXTCHANGED}), (std::vector<UINT>{WM_SETTEXT, CM_TEXTCHANGED}));
  }
  EXPECT_EQ(label->Caption(), "Nom du fichier");
  EXPECT_EQ(label->GetTextLen(), 14);
  char small[5];
  EXPECT_EQ(label->GetTextBuf(small, sizeof(small)), 4);
  EXPECT_STREQ(small, "Nom ");
  // A caption that is the name follows a rename; one set by hand does not.
  label->SetName("Label1");
  EXPECT_EQ(label->Caption(), "Nom du fichier");
  std::unique_ptr<TGraphicControl> named(new TGraphicControl(nullptr));
  named->SetName("Label2");
  EXPECT_EQ(named->Caption(), "Label2");
  named->SetName("Label3");
  EXPECT_EQ(named->Caption(), "Label3");
}

// Notes when its destructor has begun.
template <class Base>
struct TDying : Base {
  explicit TDying(TComponent* owner, bool* dying) : Base(owner), dying_(dying) {}
  ~TDying() override { *dying_ = true; }
  bool* dying_;
};

TEST(Controls, DestroyedControlsAreLetGoOfBeforeTheirWindowsDie) {
  std::unique_ptr<THostWindow> host(ShownHost());
  bool boxDying = false, editDying = false;
  int lateMessages = 0;
  auto countLate = [&](TControl* c, bool* flag) {
    c->WindowProc = [&lateMessages, flag, previous = c->WindowProc](TMessage& m) {
      if (*flag) ++lateMessages;
      previous(m);
    };
  };
  // The control itself: its window's last messages never reach it.
  auto* edit = new TDying<TLineEdit>(host.get(), &editDying);
  edit->SetParent(host.get());
  countLate(edit, &editDying);
  HWND editWnd = edit->WindowHandle();
  delete edit;
  EXPECT_TRUE(editDying);
  EXPECT_FALSE(IsWindow(editWnd));
  // A parent on its way out: neither it nor its children hear of their windows' end.
  auto* box = new TDying<TBox>(host.get(), &boxDying);
  box->SetParent(host.get());
  auto* child = new TLineEdit(host.get());
  child->SetParent(box);
  countLate(box, &boxDying);
  countLate(child, &boxDying);
  HWND childWnd = child->WindowHandle();
  delete box;
  EXPECT_TRUE(boxDying);
  EXPECT_FALSE(IsWindow(childWnd));
  EXPECT_EQ(lateMessages, 0);
}

TEST(Controls, ChildrenAreAlignedInsideTheirParent) {
  std::unique_ptr<THostWindow> host(ShownHost(320, 240));
  RECT client = host->ClientRect();
  auto make = [&](TAlign align, int w, int h) {
    auto* c = new TBox(host.get());
    c->SetBounds(0, 0, w, h);
    c->SetAlign(align);
    c->SetParent(host.get());
    return c;
  };
  auto* top = make(alTop, 10, 30);
  auto* bottom = make(alBottom, 10, 20);
  auto* left = make(alLeft, 50, 10);
  auto* right = make(alRight, 40, 10);
  auto* fill = make(alClient, 10, 10);
  auto* loose = make(alNone, 25, 25);
  loose->SetBounds(100, 100, 25, 25);
  int w = client.right, h = client.bottom;
  EXPECT_EQ(RectInParent(top->WindowHandle()), (RECT{0, 0, w, 30}));
  EXPECT_EQ(RectInParent(bottom->WindowHandle()), (RECT{0, h - 20, w, h}));
  EXPECT_EQ(RectInParent(left->WindowHandle()), (RECT{0, 30, 50, h - 20}));
  EXPECT_EQ(RectInParent(right->WindowHandle()), (RECT{w - 40, 30, w, h - 20}));
  EXPECT_EQ(fill->BoundsRect(), (RECT{50, 30, w - 40, h - 20}));
  EXPECT_EQ(loose->BoundsRect(), (RECT{100, 100, 125, 125}));

  // The parent grows: the strips follow.
  host->SetBounds(host->Left(), host->Top(), host->Width() + 60, host->Height() + 40);
  client = host->ClientRect();
  EXPECT_EQ(client.right, w + 60);
  EXPECT_EQ(top->Width(), client.right);
  EXPECT_EQ(bottom->Top(), client.bottom - 20);
  EXPECT_EQ(fill->BoundsRect(), (RECT{50, 30, client.right - 40, client.bottom - 20}));
  // A hidden strip gives its room away.
  top->SetVisible(false);
  EXPECT_EQ(fill->Top(), 0);
  EXPECT_EQ(left->Top(), 0);
  // Window-less children are aligned the same way.
  auto* strip = new TGraphicControl(host.get());
  strip->SetBounds(0, 0, 10, 15);
  strip->SetAlign(alTop);
  strip->SetParent(host.get());
  EXPECT_EQ(strip->BoundsRect(), (RECT{0, 0, client.right, 15}));
  EXPECT_EQ(fill->Top(), 15);
}

// An overlapped window: it hears of its size only when ShowWindow first shows it.
class TOverlappedHost : public THostWindow {
 public:
  using THostWindow::THostWindow;

 protected:
  void CreateParams(TCreateParams& params) override {
    THostWindow::CreateParams(params);
    params.Style = WS_OVERLAPPED | WS_CLIPCHILDREN;
    params.WinClassName = "TOverlappedHost";
  }
};

TEST(Controls, ChildrenAreAlignedWhenTheParentWindowIsCreated) {
  std::unique_ptr<TOverlappedHost> host(new TOverlappedHost(nullptr));
  auto* strip = new TBox(host.get());
  strip->SetBounds(0, 0, 10, 28);
  strip->SetAlign(alTop);
  strip->SetParent(host.get());
  EXPECT_EQ(strip->Width(), 10);  // no window yet: nothing to align to
  host->HandleNeeded();
  EXPECT_EQ(strip->BoundsRect(), (RECT{0, 0, host->ClientWidth(), 28}));
}

TEST(Controls, VisibilityAndEnablingReachTheWindow) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* edit = new TLineEdit(host.get());
  edit->SetParent(host.get());
  HWND wnd = edit->WindowHandle();
  edit->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(wnd));
  EXPECT_FALSE(edit->Showing());
  edit->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(wnd));
  edit->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(wnd));
  edit->RecreateWnd();  // a new window starts disabled as well
  EXPECT_FALSE(IsWindowEnabled(edit->WindowHandle()));
  edit->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(edit->WindowHandle()));
  // A hidden parent hides its children with it.
  host->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(edit->WindowHandle()));
  EXPECT_FALSE(edit->CanFocus());
}

TEST(Controls, ChildrenTakeTheParentFontAndColourUntilGivenTheirOwn) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* inherits = new TLineEdit(host.get());
  inherits->SetParent(host.get());
  auto* own = new TLineEdit(host.get());
  own->SetParent(host.get());
  own->Font()->SetName("Courier New");
  EXPECT_FALSE(own->ParentFont());

  host->Font()->SetSize(12);
  host->Font()->SetStyle(fsBold);
  EXPECT_TRUE(inherits->ParentFont());
  EXPECT_EQ(inherits->Font()->Size(), 12);
  EXPECT_EQ(inherits->Font()->Style(), static_cast<TFontStyles>(fsBold));
  EXPECT_EQ(own->Font()->Size(), 8);
  // The window draws with it.
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(inherits->WindowHandle(), WM_GETFONT, 0, 0)),
            inherits->Font()->Handle());

  host->SetColor(clInfoBk);
  EXPECT_EQ(inherits->Color(), clInfoBk);
  EXPECT_EQ(inherits->Brush()->Color(), clInfoBk);
  own->SetColor(clWhite);
  host->SetColor(clBtnFace);
  EXPECT_EQ(own->Color(), clWhite);
  EXPECT_FALSE(own->ParentColor());

  // Showing hints is inherited the same way.
  own->SetShowHint(false);
  host->SetShowHint(true);
  EXPECT_TRUE(inherits->ShowHint());
  EXPECT_TRUE(inherits->ParentShowHint());
  EXPECT_FALSE(own->ShowHint());
}

TEST(Controls, FocusFollowsTabOrder) {
  std::unique_ptr<THostWindow> host(ShownHost());
  SetForegroundWindow(host->WindowHandle());
  SetActiveWindow(host->WindowHandle());
  auto* first = new TLineEdit(host.get());
  auto* second = new TLineEdit(host.get());
  auto* third = new TPushButton(host.get());
  for (TWinControl* c : {static_cast<TWinControl*>(first), static_cast<TWinControl*>(second),
                         static_cast<TWinControl*>(third)})
    c->SetParent(host.get());
  EXPECT_EQ(first->TabOrder(), 0);
  EXPECT_EQ(third->TabOrder(), 2);
  third->SetTabOrder(0);
  EXPECT_EQ(first->TabOrder(), 1);
  EXPECT_EQ(second->TabOrder(), 2);

  host->SelectFirst();
  EXPECT_TRUE(third->Focused());
  EXPECT_EQ(host->FindNextControl(third, true, true, false), first);
  EXPECT_EQ(host->FindNextControl(third, false, true, false), second);
  first->SetTabStop(false);
  EXPECT_EQ(host->FindNextControl(third, true, true, false), second);
  EXPECT_EQ(GetWindowLongPtrA(first->WindowHandle(), GWL_STYLE) & WS_TABSTOP, 0);

  second->SetFocus();
  EXPECT_TRUE(second->Focused());
  EXPECT_FALSE(third->Focused());
  second->SetEnabled(false);
  EXPECT_FALSE(second->CanFocus());
  EXPECT_THROW(second->SetFocus(), EInvalidOperation);
}

TEST(Controls, ParentChainCannotBecomeALoop) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* outer = new TBox(host.get());
  outer->SetParent(host.get());
  auto* inner = new TBox(host.get());
  inner->SetParent(outer);
  EXPECT_THROW(outer->SetParent(outer), EInvalidOperation);
  EXPECT_THROW(outer->SetParent(inner), EInvalidOperation);
  EXPECT_EQ(outer->Parent(), host.get());
  // A windowed control needs a parent window to be created.
  auto* orphan = new TLineEdit(host.get());
  EXPECT_THROW(orphan->Handle(), EInvalidOperation);
}

TEST(Controls, MouseEnterLeaveAndClicksOfWindowlessChildren) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* label = new TGraphicControl(host.get());
  label->SetBounds(50, 50, 40, 20);
  label->SetParent(host.get());
  std::vector<std::string> events;
  auto watch = [&](TControl* c, const char* name) {
    c->WindowProc = [&events, name, previous = c->WindowProc](TMessage& m) {
      if (m.Msg == CM_MOUSEENTER) events.push_back(std::string("enter ") + name);
      if (m.Msg == CM_MOUSELEAVE) events.push_back(std::string("leave ") + name);
      previous(m);
    };
  };
  watch(host.get(), "host");
  watch(label, "label");
  int clicks = 0;
  label->OnClick = [&](TObject*) { ++clicks; };
  HWND wnd = host->WindowHandle();
  auto at = [](int x, int y) { return MAKELPARAM(x, y); };

  SendMessageA(wnd, WM_MOUSEMOVE, 0, at(10, 10));
  SendMessageA(wnd, WM_MOUSEMOVE, 0, at(60, 55));
  SendMessageA(wnd, WM_MOUSEMOVE, 0, at(61, 55));
  SendMessageA(wnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"enter host", "leave host", "enter label", "leave label"}));

  // Pressed and released on it: a click; released elsewhere: none.
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at(55, 55));
  EXPECT_TRUE(label->MouseCapture());
  SendMessageA(wnd, WM_LBUTTONUP, 0, at(56, 56));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(label->MouseCapture());
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at(55, 55));
  SendMessageA(wnd, WM_LBUTTONUP, 0, at(200, 200));
  EXPECT_EQ(clicks, 1);
}

}  // namespace

namespace {

TEST(Controls, DragOverAsksOnDragOverAndDragDropTellsOnDragDrop) {
  TLineEdit edit(nullptr);
  TObject source;
  // No handler: nothing is taken, whatever the caller started from.
  bool accept = true;
  edit.DragOver(&source, 3, 4, dsDragMove, accept);
  EXPECT_FALSE(accept);
  edit.DragDrop(&source, 3, 4);  // nobody to tell

  struct Case {
    bool refuse;
    bool accepted;
  } cases[] = {{false, true}, {true, false}};
  for (const Case& c : cases) {
    TObject* sender = nullptr;
    TObject* seen = nullptr;
    POINT at{};
    TDragState state = dsDragLeave;
    bool startedWith = false;
    edit.OnDragOver = [&](TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept) {
      sender = Sender;
      seen = Source;
      at = POINT{X, Y};
      state = State;
      startedWith = Accept;
      if (c.refuse) Accept = false;
    };
    accept = !c.accepted;
    edit.DragOver(&source, 7, 9, dsDragEnter, accept);
    EXPECT_EQ(accept, c.accepted) << c.refuse;
    EXPECT_TRUE(startedWith);
    EXPECT_EQ(sender, &edit);
    EXPECT_EQ(seen, &source);
    EXPECT_EQ(at.x, 7);
    EXPECT_EQ(at.y, 9);
    EXPECT_EQ(state, dsDragEnter);
  }

  std::vector<std::pair<TObject*, POINT>> drops;
  edit.OnDragDrop = [&](TObject* Sender, TObject* Source, int X, int Y) {
    EXPECT_EQ(Sender, &edit);
    drops.push_back({Source, POINT{X, Y}});
  };
  edit.DragDrop(&source, 11, 12);
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0].first, &source);
  EXPECT_EQ(drops[0].second.x, 11);
  EXPECT_EQ(drops[0].second.y, 12);
}

}  // namespace

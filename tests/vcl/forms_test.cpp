// Forms read from descriptions embedded as resources, shown modeless and modal, closed,
// positioned, previewing keys, and written back.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/vcl/app_loop.h"
#include "vcl/application.h"
#include "vcl/extctrls.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"
#include "vcl/threads.h"
#include "tests/support/forms.h"

namespace {

// The form of forms/LoginForm.dfm.
class TLoginForm : public TForm {
  VCL_CLASS(TLoginForm)
 public:
  using TForm::TForm;

  TLabel* lbName = nullptr;
  TEdit* edName = nullptr;
  TButton* btGreet = nullptr;
  TPanel* pnButtons = nullptr;
  TButton* btOk = nullptr;
  TButton* btCancel = nullptr;

  std::string textAtCreate;
  std::vector<std::string> greeted;
  std::function<void()> whenShown;
  int refusals = 0;  // how many close queries to refuse
  int queries = 0;
  int closes = 0;
  std::string previewed;

  void FormCreate(TObject*) { textAtCreate = edName->Text(); }
  void FormShow(TObject*) {
    if (whenShown) whenShown();
  }
  void btGreetClick(TObject*) { greeted.push_back("hello " + edName->Text()); }
  void FormCloseQuery(TObject*, bool& canClose) { canClose = ++queries > refusals; }
  void FormClose(TObject*, TCloseAction&) { ++closes; }
  // Sees the keys of its controls first: 'a' becomes 'b', 'x' is swallowed.
  void FormKeyPress(TObject*, char& key) {
    previewed += key;
    if (key == 'a') key = 'b';
    if (key == 'x') key = 0;
  }
};

const TClassMembers& LoginFormMembers() {
  static const TClassMembers members = TMemberTable<TLoginForm>()
      .Handler("FormCreate", &TLoginForm::FormCreate)
      .Handler("FormShow", &TLoginForm::FormShow)
      .Handler("btGreetClick", &TLoginForm::btGreetClick)
      .Handler("FormCloseQuery", &TLoginForm::FormCloseQuery)
      .Handler("FormClose", &TLoginForm::FormClose)
      .Handler("FormKeyPress", &TLoginForm::FormKeyPress)
      .Field("lbName", &TLoginForm::lbName)
      .Field("edName", &TLoginForm::edName)
      .Field("btGreet", &TLoginForm::btGreet)
      .Field("pnButtons", &TLoginForm::pnButtons)
      .Field("btOk", &TLoginForm::btOk)
      .Field("btCancel", &TLoginForm::btCancel)
      .Table();
  return members;
}

VCL_CLASS_IMPL_MEMBERS(TLoginForm, TForm, &CreateComponentOf<TLoginForm>, nullptr, &LoginFormMembers)

// Its description names a property no button has (forms/BrokenForm.dfm).
class TBrokenForm : public TForm {
  VCL_CLASS(TBrokenForm)
 public:
  using TForm::TForm;
};
VCL_CLASS_IMPL(TBrokenForm, TForm, &CreateComponentOf<TBrokenForm>, nullptr)

// No description at all.
class TUndescribedForm : public TForm {
  VCL_CLASS(TUndescribedForm)
 public:
  using TForm::TForm;
};
VCL_CLASS_IMPL(TUndescribedForm, TForm, &CreateComponentOf<TUndescribedForm>, nullptr)

std::string WindowText(HWND wnd) {
  char buffer[256] = {};
  GetWindowTextA(wnd, buffer, sizeof buffer);
  return buffer;
}

// Frees a form the way its owner would (OnDestroy runs).
template <class T>
using FormPtr = std::unique_ptr<T, FormFree>;

class Forms : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }
  FormPtr<TLoginForm> NewLogin() { return FormPtr<TLoginForm>(TCustomForm::Create<TLoginForm>(nullptr)); }
};

TEST_F(Forms, ReadFromItsDescriptionWithHandlersBoundByName) {
  auto form = NewLogin();
  // Fields, parents and values come from the description; OnCreate runs after it.
  ASSERT_TRUE(form->edName && form->btGreet && form->btOk && form->pnButtons && form->lbName);
  EXPECT_EQ(form->Name(), "LoginForm");
  EXPECT_EQ(form->btOk->Parent(), form->pnButtons);
  EXPECT_EQ(form->pnButtons->Parent(), form.get());
  EXPECT_EQ(form->btOk->Owner(), form.get());
  EXPECT_EQ(form->textAtCreate, "guest");
  EXPECT_EQ(form->btOk->ModalResult, mrOk);
  EXPECT_TRUE(form->btOk->Default());
  EXPECT_TRUE(form->btCancel->Cancel);
  EXPECT_EQ(form->ActiveControl(), form->edName);
  EXPECT_EQ(form->btGreet->Hint(), "Greet|Says hello to the name above");
  EXPECT_FALSE(form->Visible());

  form->Show();
  HWND wnd = form->Handle();
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_EQ(WindowText(wnd), "Sign in");
  EXPECT_EQ(WindowText(form->btGreet->Handle()), "Greet");
  EXPECT_EQ(WindowText(form->edName->Handle()), "guest");
  // The client size of the description, around which the dialog border goes.
  RECT client{};
  GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 150);
  EXPECT_TRUE(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(GetWindowLongPtrA(wnd, GWL_STYLE) & WS_THICKFRAME);
  // Aligned to the bottom of the client area once the window exists.
  EXPECT_EQ(form->pnButtons->Top(), 100);

  // The handler bound by name runs on a click the system makes.
  form->edName->SetText("Ada");
  SendMessageA(form->btGreet->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->greeted, (std::vector<std::string>{"hello Ada"}));
}

TEST_F(Forms, PositionScreenCenterCentresTheWindowWhenShown) {
  auto form = NewLogin();
  form->Show();
  RECT r{};
  GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);
  EXPECT_EQ(form->Left(), r.left);
  EXPECT_EQ(Screen->Width(), GetSystemMetrics(SM_CXSCREEN));
}

TEST_F(Forms, BorderStylesAndTheClientSizeSetBeforeTheWindowExists) {
  struct Case {
    TFormBorderStyle style;
    DWORD present, absent, exPresent, exAbsent;
  } cases[] = {
      {bsNone, WS_POPUP, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, 0, WS_EX_TOOLWINDOW},
      {bsSingle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_THICKFRAME | WS_POPUP, 0,
       WS_EX_TOOLWINDOW},
      {bsSizeable, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MAXIMIZEBOX, WS_POPUP, 0, WS_EX_TOOLWINDOW},
      {bsDialog, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
       WS_EX_DLGMODALFRAME, WS_EX_TOOLWINDOW},
      {bsToolWindow, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME | WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW, 0},
      {bsSizeToolWin, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW, 0},
  };
  for (const Case& c : cases) {
    auto form = FormPtr<TForm>(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBorderStyle(c.style);
    form->SetClientWidth(250);
    form->SetClientHeight(120);
    HWND wnd = form->Handle();
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_EXSTYLE));
    EXPECT_EQ(style & c.present, c.present) << c.style;
    EXPECT_EQ(style & c.absent, 0u) << c.style;
    EXPECT_EQ(exStyle & c.exPresent, c.exPresent) << c.style;
    EXPECT_EQ(exStyle & c.exAbsent, 0u) << c.style;
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_EQ(GetWindow(wnd, GW_OWNER), Application->Handle());
    RECT client{};
    GetClientRect(wnd, &client);
    EXPECT_EQ(client.right, 250) << c.style;
    EXPECT_EQ(client.bottom, 120) << c.style;
  }
}

TEST_F(Forms, ShowModalEndsWithTheButtonsModalResult) {
  auto form = NewLogin();
  auto other = FormPtr<TForm>(TCustomForm::CreateNew<TForm>(nullptr));
  other->SetBorderStyle(bsNone);
  other->Show();
  bool otherDisabled = false;
  form->whenShown = [&] {
    otherDisabled = !IsWindowEnabled(other->Handle());
    PostMessageA(form->btOk->Handle(), BM_CLICK, 0, 0);
  };
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_TRUE(otherDisabled);  // the other windows wait while the modal form runs
  EXPECT_TRUE(IsWindowEnabled(other->Handle()));
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(form->queries, 1);
  EXPECT_EQ(form->closes, 1);

  // Escape presses the Cancel button (a dialog key no control wants).
  form->whenShown = [&] {
    PostMessageA(form->edName->Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  };
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(Forms, CloseEndsShowModalOnceTheCloseQueryAgrees) {
  auto form = NewLogin();
  form->refusals = 1;
  form->whenShown = [&] {
    // The first close is refused and the form stays; the second one ends it.
    PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
  };
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(form->queries, 2);
  EXPECT_EQ(form->closes, 1);
  EXPECT_FALSE(form->Visible());
}

// A worker that hands a modal form its result through the main thread.
class TModalCloser : public TThread {
 public:
  explicit TModalCloser(TCustomForm* form) : TThread(false), FForm(form) {}
  std::atomic<DWORD> ranOn{0};

 protected:
  void Execute() override {
    Synchronize([this] {
      ranOn = GetCurrentThreadId();
      FForm->SetModalResult(mrYes);
    });
  }

 private:
  TCustomForm* FForm;
};

TEST_F(Forms, SynchronisedCallsRunWhileAModalFormIsUp) {
  auto form = NewLogin();
  std::unique_ptr<TModalCloser> worker;
  form->whenShown = [&] { worker.reset(TThread::Create<TModalCloser>(form.get())); };
  EXPECT_EQ(form->ShowModal(), mrYes);
  worker->WaitFor();
  EXPECT_EQ(worker->ranOn.load(), GetCurrentThreadId());
}

TEST_F(Forms, KeyPreviewShowsTheFormTheKeysFirst) {
  auto form = NewLogin();
  form->Show();
  HWND edit = form->edName->Handle();
  SetWindowTextA(edit, "");
  for (char c : std::string("axc")) PostMessageA(edit, WM_CHAR, static_cast<BYTE>(c), 1);
  Application->ProcessMessages();
  EXPECT_EQ(form->previewed, "axc");
  EXPECT_EQ(WindowText(edit), "bc");

  form->SetKeyPreview(false);
  PostMessageA(edit, WM_CHAR, 'a', 1);
  Application->ProcessMessages();
  EXPECT_EQ(form->previewed, "axc");
  EXPECT_EQ(WindowText(edit), "bca");
}

TEST_F(Forms, AnUnknownPropertyFailsNamingFileComponentAndProperty) {
  int forms = Screen->FormCount();
  try {
    TCustomForm::Create<TBrokenForm>(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Error reading BrokenForm.dfm: btBroken.Flavour: Property Flavour does not exist");
  }
  EXPECT_EQ(Screen->FormCount(), forms);  // the half-read form is gone

  try {
    TCustomForm::Create<TUndescribedForm>(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EResNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource TUndescribedForm not found");
  }
  EXPECT_EQ(Screen->FormCount(), forms);

  // CreateNew needs no description.
  bool created = false;
  auto bare = FormPtr<TUndescribedForm>(TCustomForm::CreateNew<TUndescribedForm>(nullptr));
  bare->OnCreate = [&](TObject*) { created = true; };  // too late: OnCreate ran already
  EXPECT_FALSE(created);
  EXPECT_EQ(Screen->FormCount(), forms + 1);
}

TEST_F(Forms, WrittenFormReadsBackTheSame) {
  auto form = NewLogin();
  TMemoryStream first;
  WriteComponent(&first, form.get());

  auto copy = FormPtr<TLoginForm>(TCustomForm::CreateNew<TLoginForm>(nullptr));
  first.SetPosition(0);
  ReadComponent(&first, copy.get(), "copy");
  TMemoryStream second;
  WriteComponent(&second, copy.get());
  ASSERT_EQ(first.Size(), second.Size());
  EXPECT_EQ(0, memcmp(first.Memory(), second.Memory(), static_cast<size_t>(first.Size())));

  ASSERT_TRUE(copy->btOk && copy->edName);
  EXPECT_EQ(copy->btOk->Parent(), copy->pnButtons);
  EXPECT_EQ(copy->btOk->ModalResult, mrOk);
  EXPECT_EQ(copy->edName->Text(), "guest");
  EXPECT_EQ(copy->BorderStyle(), bsDialog);
  EXPECT_EQ(copy->ClientWidth(), 300);
  EXPECT_EQ(copy->ActiveControl(), copy->edName);
  copy->btGreet->Click();  // its handler was written by name and bound again
  EXPECT_EQ(copy->greeted, (std::vector<std::string>{"hello guest"}));
}

TEST_F(Forms, OnDestroyRunsWhileTheFormIsWhole) {
  std::string seen;
  auto* form = TCustomForm::Create<TLoginForm>(nullptr);
  form->OnDestroy = [&seen, form](TObject*) { seen = form->edName->Text() + " " + form->textAtCreate; };
  int count = Screen->FormCount();
  form->Free();
  EXPECT_EQ(seen, "guest guest");
  EXPECT_EQ(Screen->FormCount(), count - 1);
}

TEST_F(Forms, ClosingTheMainFormEndsRun) {
  apploop::TStandInApplication app;
  TLoginForm* form = nullptr;
  app->CreateForm(form);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(app->MainForm(), form);
  EXPECT_TRUE(form->HandleAllocated());  // made at once: it owns the program's windows
  form->whenShown = [&] { PostMessageA(form->Handle(), WM_CLOSE, 0, 0); };
  app->Run();
  EXPECT_TRUE(app->Terminated());
  EXPECT_EQ(form->closes, 1);

  // A second form is no main form; poMainFormCenter centres it on the first.
  auto* second = TCustomForm::CreateNew<TForm>(&app.App());
  second->SetBounds(0, 0, 200, 100);
  second->SetPosition(poMainFormCenter);
  second->Show();
  EXPECT_EQ(second->Left(), form->Left() + (form->Width() - 200) / 2);
  EXPECT_EQ(second->Top(), form->Top() + (form->Height() - 100) / 2);
}

TEST_F(Forms, FocusFollowsTheActiveControlAndTab) {
  auto form = NewLogin();
  form->Show();
  ASSERT_TRUE(apploop::RunUntil([&] { return form->Active(); }, 2000));
  EXPECT_EQ(Screen->ActiveForm(), form.get());
  EXPECT_EQ(GetFocus(), form->edName->Handle());
  PostMessageA(form->edName->Handle(), WM_KEYDOWN, VK_TAB, 0x000F0001);
  Application->ProcessMessages();
  EXPECT_EQ(GetFocus(), form->btGreet->Handle());
  EXPECT_EQ(form->ActiveControl(), form->btGreet);
  EXPECT_EQ(Screen->ActiveControl(), form->btGreet);
}

}  // namespace

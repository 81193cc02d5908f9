// Wide forms read from stored descriptions, wide hints in the Unicode hint window, and the
// accelerator test of wide captions.
#include <gtest/gtest.h>

#include <memory>

#include "tests/widetext/ansi_platform.h"
#include "tests/widetext/wide_form_controls.h"
#include "vcl/actions.h"
#include "vcl/application.h"
#include "widetext/codecs.h"
#include "tests/support/forms.h"

using namespace widetest;

namespace {

// The tests' wide texts are written in UTF-8.
WideString U8(const char* text) { return Utf8Decode(AnsiString(text)); }

void FlushMessages() {
  DWORD start = GetTickCount();
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  } while (GetTickCount() - start < 50 && MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT) != WAIT_FAILED);
}

template <class T>
using FormPtr = std::unique_ptr<T, FormFree>;

TEST(WideForms, AFormReadFromItsDescriptionShowsFrenchGreekAndJapanese) {
  FormPtr<TWideTestForm> form(TCustomForm::Create<TWideTestForm>(nullptr));
  const WideString caption = U8("Français — Ελληνικά — 日本語");
  const WideString buttonCaption = U8("Fermer — Κλείσιμο — 閉じる");
  EXPECT_EQ(form->Caption(), caption);  // kept until the window exists
  form->Show();
  FlushMessages();

  HWND wnd = form->WindowHandle();
  ASSERT_TRUE(wnd);
  EXPECT_TRUE(IsWindowUnicode(wnd));
  EXPECT_EQ(UnicodeWindowText(wnd), caption);
  EXPECT_EQ(UnicodeWindowText(form->edJapanese->WindowHandle()), U8("こんにちは世界"));
  EXPECT_EQ(UnicodeWindowText(form->btClose->WindowHandle()), buttonCaption);
  EXPECT_EQ(form->lbFrench->Caption(), U8("Voilà une étiquette en français"));
  EXPECT_EQ(form->lbGreek->Caption(), U8("Καλημέρα κόσμε"));
  EXPECT_EQ(form->Hint(), U8("Fenêtre|Une fenêtre aux textes en trois écritures"));
  EXPECT_EQ(form->lbGreek->Hint(), U8("Ελληνικά|Μια ετικέτα στα ελληνικά"));

  // The handler bound by name runs on a click of the Unicode button.
  SendMessageW(form->btClose->WindowHandle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->closeClicks, 1);

  // A new window (another border) keeps every text, the children's too.
  form->SetBorderStyle(bsSingle);
  FlushMessages();
  ASSERT_NE(form->WindowHandle(), wnd);
  EXPECT_EQ(UnicodeWindowText(form->WindowHandle()), caption);
  EXPECT_EQ(UnicodeWindowText(form->edJapanese->WindowHandle()), U8("こんにちは世界"));
  EXPECT_EQ(UnicodeWindowText(form->btClose->WindowHandle()), buttonCaption);
}

// What a linked action shows is the action's to store.
TEST(WideForms, WideTextsFollowingAnActionAreNotStored) {
  TestApplication app;
  TAction action(nullptr);
  action.SetCaption("Save");
  action.SetHint("Saves");
  FormPtr<TForm> form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* button = new TUniButton(form.get());
  auto* label = new TUniLabel(form.get());
  EXPECT_TRUE(IsStoredProp(button, "Caption"));
  button->SetAction(&action);
  label->SetAction(&action);
  EXPECT_FALSE(IsStoredProp(button, "Caption"));
  EXPECT_FALSE(IsStoredProp(label, "Hint"));
  button->SetCaption(U8("Αποθήκευση"));
  label->SetHint(U8("Αποθηκεύει"));
  EXPECT_TRUE(IsStoredProp(button, "Caption"));
  EXPECT_TRUE(IsStoredProp(label, "Hint"));
  button->SetAction(nullptr);
  label->SetAction(nullptr);
}

// The dock manager sits in front of the form's window method and puts back what it found
// there: the Unicode window's, because the window is made before the manager.
TEST(WideForms, ADockSiteWithADockManagerGetsItsUnicodeWindowFirst) {
  FormPtr<TUniForm> form(TCustomForm::CreateNew<TUniForm>(nullptr));
  form->SetBorderStyle(bsNone);
  form->SetUseDockManager(true);
  EXPECT_FALSE(form->HandleAllocated());
  form->SetDockSite(true);
  ASSERT_TRUE(form->HandleAllocated());
  EXPECT_TRUE(IsWindowUnicode(form->WindowHandle()));
  ASSERT_NE(form->DockManager(), nullptr);

  const WideString greek = U8("Καλημέρα κόσμε");
  auto* edit = new TUniEdit(form.get());
  edit->SetText(greek);
  ASSERT_TRUE(edit->ManualDock(form.get()));
  EXPECT_EQ(edit->Parent(), form.get());
  RECT bounds = edit->BoundsRect(), client = form->ClientRect();
  EXPECT_TRUE(EqualRect(&bounds, &client));
  EXPECT_EQ(UnicodeWindowText(edit->Handle()), greek);

  form->SetDockSite(false);
  EXPECT_EQ(form->DockManager(), nullptr);
  form->SetCaption(greek);
  EXPECT_EQ(UnicodeWindowText(form->WindowHandle()), greek);
  EXPECT_EQ(form->TControl::Caption(), WideToAnsi(greek));  // the framework's 8-bit text
}

// A descendant of the wide form without a description of its own.
class TUndescribedForm : public TUniForm {
  VCL_CLASS(TUndescribedForm)
 public:
  using TUniForm::TUniForm;
};
VCL_CLASS_IMPL(TUndescribedForm, TUniForm, nullptr, nullptr)

TEST(WideForms, DescriptionsAreReadDownToTheWideFormOnly) {
  try {
    FormPtr<TUndescribedForm> form(TCustomForm::Create<TUndescribedForm>(nullptr));
    FAIL() << "no error";
  } catch (const EResNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource TUndescribedForm not found");
  }
  FormPtr<TUniForm> root(TCustomForm::Create<TUniForm>(nullptr));  // the root itself reads nothing
  EXPECT_EQ(root->Caption(), L"");
}

TEST(WideForms, OffTheUnicodePlatformAFormIs8Bit) {
  AnsiPlatformScope ansi;
  FormPtr<TWideTestForm> form(TCustomForm::Create<TWideTestForm>(nullptr));
  form->HandleNeeded();
  EXPECT_FALSE(IsWindowUnicode(form->WindowHandle()));
  EXPECT_EQ(form->TControl::Text(), WideToAnsi(U8("Français — Ελληνικά — 日本語")));
}

// ---------------------------------------------------------------------------
// Hints

// What the application asks a control before its hint shows, and what a hint window
// makes of the answer.
struct HintCase {
  const char* name;
  bool withShortCut;
  const char* changedTo;  // an application handler's string; null: none
  const char* shown;      // UTF-8
};

class WideHintShow : public testing::TestWithParam<HintCase> {};

TEST_P(WideHintShow, TheHintWindowShowsTheWideText) {
  const HintCase& c = GetParam();
  TestApplication app;
  TAction action(nullptr);
  FormPtr<TForm> form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* edit = new TUniEdit(form.get());
  edit->SetParent(form.get());
  if (c.withShortCut) {
    action.SetShortCut(ShortCut('S', ssCtrl));
    action.OnExecute = [](TObject*) {};
    edit->SetAction(&action);
  }
  edit->SetHint(U8("Ωμέγα|Το μακρύ μέρος"));
  edit->HandleNeeded();

  THintInfo info;
  info.HintControl = edit;
  info.HintWindowClass = HintWindowClass;
  info.HintStr = "what the framework found";
  ASSERT_EQ(edit->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(info.HintWindowClass, TUniCustomHintWindow::StaticClass());
  EXPECT_EQ(info.HintData, &info);
  if (c.changedTo) info.HintStr = c.changedTo;

  auto* window = static_cast<TUniCustomHintWindow*>(info.HintWindowClass->Create(nullptr));
  std::unique_ptr<TUniCustomHintWindow> owned(window);
  RECT r = window->CalcHintRect(400, info.HintStr, info.HintData);
  OffsetRect(&r, 50, 50);
  window->ActivateHintData(r, info.HintStr, info.HintData);
  FlushMessages();
  EXPECT_TRUE(IsWindowUnicode(window->WindowHandle()));
  EXPECT_EQ(UnicodeWindowText(window->WindowHandle()), U8(c.shown));
  // Wide enough for the wide text.
  SIZE extent{};
  HDC dc = GetDC(window->WindowHandle());
  HGDIOBJ old = SelectObject(dc, InitScreen()->HintFont()->Handle());
  WideString shown = U8(c.shown);
  GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(window->WindowHandle(), dc);
  EXPECT_GE(window->Width(), extent.cx);
  edit->SetAction(nullptr);
}

TEST(WideHintMark, DataFromAHandlerIsCheckedBeforeItIsRead) {
  // A hint handler may hand over any data: none of it may crash the window, and none of it
  // passes for a wide hint.
  TestApplication app;
  std::vector<char> garbage(sizeof(THintInfo) * 2, '\x5A');
  THintInfo selfPointing;
  selfPointing.HintData = &selfPointing;
  selfPointing.HintWindowClass = reinterpret_cast<const TMetaClass*>(garbage.data());
  void* page = VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS);
  THintInfo pointsAtNothing;
  pointsAtNothing.HintData = &pointsAtNothing;
  pointsAtNothing.HintWindowClass = static_cast<const TMetaClass*>(page);
  const struct {
    const char* name;
    void* data;
  } cases[] = {
      {"a small number", reinterpret_cast<void*>(0x10)},
      {"reserved, unreadable memory", page},
      {"readable bytes", garbage.data()},
      {"a class that is no class", &selfPointing},
      {"a class in unreadable memory", &pointsAtNothing},
  };
  std::unique_ptr<TUniCustomHintWindow> window(new TUniCustomHintWindow(nullptr));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RECT r = window->CalcHintRect(400, "plain", c.data);
    OffsetRect(&r, 50, 50);
    window->ActivateHintData(r, "plain", c.data);
    FlushMessages();
    EXPECT_EQ(UnicodeWindowText(window->WindowHandle()), L"plain");
  }
  VirtualFree(page, 0, MEM_RELEASE);
}

INSTANTIATE_TEST_SUITE_P(WideHints, WideHintShow,
                         testing::Values(HintCase{"ShortPart", false, nullptr, "Ωμέγα"},
                                         HintCase{"WithShortCut", true, nullptr, "Ωμέγα (Ctrl+S)"},
                                         HintCase{"ChangedByTheApplication", false, "Changed", "Changed"}),
                         [](const testing::TestParamInfo<HintCase>& info) { return std::string(info.param.name); });

TEST(WideHints, OffTheUnicodePlatformTheFrameworksHintWindowStays) {
  TestApplication app;
  AnsiPlatformScope ansi;
  FormPtr<TForm> form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* label = new TUniLabel(form.get());
  label->SetParent(form.get());
  label->SetHint(L"\x03a9|long");
  THintInfo info;
  info.HintControl = label;
  info.HintWindowClass = THintWindow::StaticClass();
  info.HintStr = GetShortHint(label->TControl::Hint());
  label->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintWindowClass, THintWindow::StaticClass());
  EXPECT_EQ(info.HintData, nullptr);
  EXPECT_EQ(info.HintStr, WideToAnsi(L"\x03a9"));
}

TEST(WideHints, AHintWindowClassOfAnotherKindIsLeftAlone) {
  TestApplication app;
  FormPtr<TForm> form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* label = new TUniLabel(form.get());
  label->SetParent(form.get());
  label->SetHint(L"\x03a9|long");
  THintInfo info;
  info.HintControl = label;
  info.HintWindowClass = TForm::StaticClass();  // anything that is not a hint window of ours
  info.HintStr = "as found";
  label->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintWindowClass, TForm::StaticClass());
  EXPECT_EQ(info.HintData, nullptr);
  EXPECT_EQ(info.HintStr, "as found");
}

// ---------------------------------------------------------------------------

TEST(WideAccelerators, TheCharacterAfterTheLastSingleAmpersandIgnoringCase) {
  struct {
    WORD code;
    const char* caption;
    bool accel;
  } cases[] = {
      {0x03C9, "&Ωμέγα", true},    // a typed ω, above 255: taken as it is
      {0x03A9, "&ωμέγα", true},
      {0x0444, "&Файл", true},
      {'v', "Sa&ve", true},
      {'V', "Sa&ve", true},
      {0xE9, "&été", true},        // a byte of the keyboard's code page (1252)
      {'N', "&&Not", false},       // "&&" is a literal ampersand
      {'o', "&&N&o", true},
      {'a', "&a&b", false},        // the last one counts
      {'N', "No accel", false},
      {'x', "trailing&", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsWideAccelChar(c.code, U8(c.caption)), c.accel) << c.caption << " " << c.code;
}

}  // namespace

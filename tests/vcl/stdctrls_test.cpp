// The standard controls on real windows: check boxes and radio buttons and their clicks,
// the default and cancel buttons' keys, label and group-box accelerators, sizes that
// follow the text, and the controls read from a description.
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/classic_look.h"
#include "tests/support/pump.h"
#include "vcl/actions.h"
#include "vcl/application.h"
#include "vcl/formtext.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"
#include "tests/support/forms.h"

namespace {

using FormPtr = std::unique_ptr<TForm, FormFree>;

class StdControls : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBorderStyle(bsNone);
    form->SetBounds(60, 60, 360, 260);
  }
  template <class T>
  T* Add(const char* name, TWinControl* parent = nullptr) {
    auto* c = new T(form.get());
    c->SetName(name);
    c->SetParent(parent ? parent : form.get());
    return c;
  }
  void ShowForm() {
    form->Show();
    PumpUntil([] { return false; }, 50);
  }
  FormPtr form;
};

std::string WindowText(HWND wnd) {
  char buffer[256] = {};
  GetWindowTextA(wnd, buffer, sizeof buffer);
  return buffer;
}

UINT SystemCheck(TWinControl* c) { return static_cast<UINT>(SendMessageA(c->Handle(), BM_GETCHECK, 0, 0)); }

TEST_F(StdControls, ACheckBoxClicksOnEveryChangeOfItsStateAlsoWhenTheProgramSetsIt) {
  auto* box = Add<TCheckBox>("chLog");
  std::vector<TCheckBoxState> seen;
  box->OnClick = [&](TObject*) { seen.push_back(box->State()); };
  ShowForm();

  box->SetChecked(true);
  box->SetChecked(true);  // no change, no click
  box->SetState(cbGrayed);
  box->SetChecked(false);
  EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbChecked, cbGrayed, cbUnchecked}));
  EXPECT_EQ(SystemCheck(box), static_cast<UINT>(BST_UNCHECKED));

  // The user's clicks go round the states (grayed only when allowed); the window shows each.
  struct Case {
    bool allowGrayed;
    std::vector<TCheckBoxState> states;
  };
  const Case cases[] = {{false, {cbChecked, cbUnchecked, cbChecked}},
                        {true, {cbGrayed, cbChecked, cbUnchecked}}};
  for (const Case& c : cases) {
    box->SetChecked(false);
    box->SetAllowGrayed(c.allowGrayed);
    seen.clear();
    for (TCheckBoxState expected : c.states) {
      SendMessageA(box->Handle(), BM_CLICK, 0, 0);
      EXPECT_EQ(box->State(), expected) << "allowGrayed " << c.allowGrayed;
      EXPECT_EQ(SystemCheck(box), static_cast<UINT>(expected));
    }
    EXPECT_EQ(seen, c.states);
  }

  // The state survives a new window.
  box->SetState(cbGrayed);
  box->SetAlignment(taLeftJustify);  // a new window, with the box on the right
  EXPECT_EQ(SystemCheck(box), static_cast<UINT>(BST_INDETERMINATE));
  EXPECT_TRUE(GetWindowLongPtrA(box->Handle(), GWL_STYLE) & BS_LEFTTEXT);
}

TEST_F(StdControls, CheckingARadioButtonTurnsOffItsSiblingsOnly) {
  auto* first = Add<TRadioButton>("rbFirst");
  auto* second = Add<TRadioButton>("rbSecond");
  auto* group = Add<TGroupBox>("gbOther");
  auto* elsewhere = Add<TRadioButton>("rbElsewhere", group);
  std::vector<std::string> clicks;
  for (TRadioButton* rb : {first, second, elsewhere})
    rb->OnClick = [&clicks, rb](TObject*) { clicks.push_back(rb->Name()); };
  ShowForm();

  elsewhere->SetChecked(true);
  first->SetChecked(true);
  SendMessageA(second->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(first->Checked());
  EXPECT_TRUE(second->Checked());
  EXPECT_TRUE(elsewhere->Checked());  // in another parent
  EXPECT_EQ(SystemCheck(first), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(SystemCheck(second), static_cast<UINT>(BST_CHECKED));
  // Unchecking runs nothing; clicking the checked one again changes nothing.
  SendMessageA(second->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, (std::vector<std::string>{"rbElsewhere", "rbFirst", "rbSecond"}));
}

TEST_F(StdControls, DefaultAndCancelButtonsAnswerEnterAndEscapeWithTheirModalResult) {
  auto* edit = Add<TEdit>("edName");
  auto* ok = Add<TButton>("btOK");
  auto* cancel = Add<TButton>("btCancel");
  ok->SetDefault(true);
  ok->ModalResult = mrOk;
  cancel->Cancel = true;
  cancel->ModalResult = mrCancel;
  int okClicks = 0, cancelClicks = 0;
  ok->OnClick = [&](TObject*) { ++okClicks; };
  cancel->OnClick = [&](TObject*) { ++cancelClicks; };
  ShowForm();
  EXPECT_TRUE(GetWindowLongPtrA(ok->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);

  struct Case {
    WORD key;
    TModalResult result;
  };
  for (Case c : {Case{VK_RETURN, mrOk}, Case{VK_ESCAPE, mrCancel}}) {
    form->SetModalResult(mrNone);
    edit->SetFocus();
    PostMessageA(edit->Handle(), WM_KEYDOWN, c.key, 1);
    EXPECT_TRUE(PumpUntil([&] { return form->ModalResult() != mrNone; }, 3000)) << c.key;
    EXPECT_EQ(form->ModalResult(), c.result);
  }
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(cancelClicks, 1);
}

// A group box draws its frame, broken by its caption 8 pixels from the left, with and
// without themes.
TEST_F(StdControls, AGroupBoxFrameStopsAroundItsCaption) {
  for (bool classic : {false, true}) {
    SCOPED_TRACE(classic ? "classic" : "themed");
    std::unique_ptr<TClassicLookScope> look(classic ? new TClassicLookScope : nullptr);
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBorderStyle(bsNone);
    form->SetBounds(60, 60, 360, 260);
    auto* group = Add<TGroupBox>("gbFrame");
    group->SetBounds(10, 10, 200, 100);
    group->SetCaption("Mode");
    ShowForm();
    group->Repaint();
    HDC dc = GetDC(group->Handle());
    SIZE text{};
    GetTextExtentPoint32A(dc, "Mode", 4, &text);  // the system font is near enough
    const COLORREF ground = GetPixel(dc, 100, 60);
    // The top line of the frame: find it in the left part, below the caption's top.
    int line = -1;
    for (int y = 0; y < 20 && line < 0; ++y)
      if (GetPixel(dc, 4, y) != ground) line = y;
    ASSERT_GE(line, 0) << "no frame";
    EXPECT_NE(GetPixel(dc, 180, line), ground) << "the frame runs on to the right";
    int ink = 0, frameUnderCaption = 0;
    for (int x = 8; x < 8 + text.cx / 2; ++x) {
      if (GetPixel(dc, x, line) != ground) ++frameUnderCaption;
      for (int y = 0; y < 16; ++y)
        if (GetPixel(dc, x, y) != ground) ++ink;
    }
    EXPECT_GT(ink, 10) << "the caption is drawn";
    EXPECT_LT(frameUnderCaption, text.cx / 2) << "the caption breaks the frame";
    ReleaseDC(group->Handle(), dc);
  }
}

TEST_F(StdControls, AcceleratorsOfLabelsGroupBoxesAndButtonsReachTheirTargets) {
  auto* label = Add<TLabel>("lbName");
  auto* edit = Add<TEdit>("edName");
  auto* group = Add<TGroupBox>("gbOptions");
  auto* inGroup = Add<TEdit>("edInGroup", group);
  auto* check = Add<TCheckBox>("chKeep");
  auto* button = Add<TButton>("btGo");
  label->SetCaption("&Name");
  label->SetFocusControl(edit);
  group->SetCaption("O&ptions");
  check->SetCaption("&Keep");
  button->SetCaption("&Go");
  int goClicks = 0;
  button->OnClick = [&](TObject*) { ++goClicks; };
  ShowForm();
  auto dialogChar = [&](char c) { return form->Perform(CM_DIALOGCHAR, static_cast<WPARAM>(c), 0); };

  button->SetFocus();
  EXPECT_EQ(dialogChar('n'), 1);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(dialogChar('P'), 1);
  EXPECT_TRUE(inGroup->Focused());
  EXPECT_EQ(dialogChar('k'), 1);
  EXPECT_TRUE(check->Focused());
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(dialogChar('g'), 1);
  EXPECT_EQ(goClicks, 1);
  EXPECT_EQ(dialogChar('z'), 0);

  // A label without its accelerator shown, or disabled, moves nothing.
  button->SetFocus();
  label->SetShowAccelChar(false);
  EXPECT_EQ(dialogChar('n'), 0);
  label->SetShowAccelChar(true);
  label->SetEnabled(false);
  EXPECT_EQ(dialogChar('n'), 0);
  EXPECT_TRUE(button->Focused());

  // A freed focus control is forgotten.
  delete edit;
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(StdControls, LabelsAndStaticTextsTakeTheSizeOfTheirText) {
  auto* label = Add<TLabel>("lbSize");
  auto* text = Add<TStaticText>("stSize");
  ShowForm();
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, label->Font()->Handle());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SIZE wide{};
  GetTextExtentPoint32A(dc, "A wider caption", 15, &wide);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);

  label->SetCaption("");
  EXPECT_EQ(label->Height(), tm.tmHeight);  // an empty label is one line high
  EXPECT_GT(label->Width(), 0);
  label->SetCaption("A wider caption");
  EXPECT_EQ(label->Width(), wide.cx);
  label->SetAutoSize(false);
  label->SetCaption("x");
  EXPECT_EQ(label->Width(), wide.cx);  // kept without AutoSize

  // Word wrap breaks the text within the width and grows the height.
  label->SetAutoSize(true);
  label->SetWordWrap(true);
  label->SetWidth(wide.cx / 2);
  label->SetCaption("A wider caption");
  EXPECT_LE(label->Width(), wide.cx / 2);
  EXPECT_GE(label->Height(), 2 * tm.tmHeight);

  text->SetCaption("A wider caption");
  EXPECT_EQ(text->Width(), wide.cx + 4 * GetSystemMetrics(SM_CXBORDER));
  EXPECT_EQ(text->Height(), wide.cy + 4 * GetSystemMetrics(SM_CYBORDER));
  EXPECT_EQ(WindowText(text->Handle()), "A wider caption");
}

TEST_F(StdControls, ALabelPlacesItsTextByAlignmentAndLayoutAndGreysItWhenDisabled) {
  auto* label = Add<TLabel>("lbPlaced");
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 200, 60);
  label->SetCaption("WW");
  label->Font()->SetColor(clBlack);
  form->SetColor(clWhite);
  ShowForm();
  // Black pixels in each quarter of the label, as the screen shows them.
  auto quarters = [&] {
    label->Repaint();
    HDC dc = GetDC(form->Handle());
    std::vector<int> ink(4);
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 200; ++x)
        if (GetPixel(dc, 10 + x, 10 + y) == RGB(0, 0, 0)) ++ink[(y >= 30 ? 2 : 0) + (x >= 100 ? 1 : 0)];
    ReleaseDC(form->Handle(), dc);
    return ink;
  };
  std::vector<int> ink = quarters();
  EXPECT_GT(ink[0], 0);
  EXPECT_EQ(ink[1] + ink[2] + ink[3], 0);
  label->SetAlignment(taRightJustify);
  label->SetLayout(tlBottom);
  ink = quarters();
  EXPECT_GT(ink[3], 0);
  EXPECT_EQ(ink[0] + ink[1] + ink[2], 0);
  // Disabled: engraved in the shadow colour, no black.
  label->SetEnabled(false);
  ink = quarters();
  EXPECT_EQ(ink[0] + ink[1] + ink[2] + ink[3], 0);
  label->Repaint();
  HDC dc = GetDC(form->Handle());
  int shadow = 0;
  for (int y = 30; y < 60; ++y)
    for (int x = 100; x < 200; ++x)
      if (GetPixel(dc, 10 + x, 10 + y) == ColorToRGB(clBtnShadow)) ++shadow;
  ReleaseDC(form->Handle(), dc);
  EXPECT_GT(shadow, 0);
}

TEST_F(StdControls, ACheckStateFollowsItsAction) {
  auto* box = Add<TCheckBox>("chFollow");
  TAction action(nullptr);
  action.SetCaption("Follow");
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  box->SetAction(&action);
  action.SetChecked(true);
  EXPECT_TRUE(box->Checked());
  action.SetChecked(false);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 2);
}

const char* kDescription = R"(object Form1: TForm
  Left = 0
  Top = 0
  Width = 300
  Height = 200
  object gbMode: TGroupBox
    Left = 8
    Top = 8
    Width = 200
    Height = 100
    Caption = '&Mode'
    object rbFast: TRadioButton
      Left = 8
      Top = 20
      Width = 100
      Height = 17
      Caption = 'Fast'
      Checked = True
      OnClick = Clicked
    end
  end
  object chKeep: TCheckBox
    Left = 8
    Top = 120
    Width = 100
    Height = 17
    Caption = 'Keep'
    State = cbGrayed
    AllowGrayed = True
    OnClick = Clicked
  end
  object lbTitle: TLabel
    Left = 8
    Top = 150
    Width = 10
    Height = 10
    Caption = 'Title'
    FocusControl = chKeep
    Alignment = taCenter
    Transparent = True
  end
  object stInfo: TStaticText
    Left = 120
    Top = 150
    Width = 10
    Height = 10
    BorderStyle = sbsSunken
    Caption = 'Info'
  end
end
)";

// A form whose handler counts the clicks made while reading.
class TClickForm : public TForm {
  VCL_CLASS(TClickForm)
 public:
  using TForm::TForm;
  int clicks = 0;
  void Clicked(TObject*) { ++clicks; }
};
const TClassMembers& ClickFormMembers() {
  static const TClassMembers m = TMemberTable<TClickForm>().Handler("Clicked", &TClickForm::Clicked).Table();
  return m;
}
VCL_CLASS_IMPL_MEMBERS(TClickForm, TForm, nullptr, nullptr, &ClickFormMembers)

TEST(StdControlsStreaming, ControlsAreReadWithTheirPublishedPropertiesAndNoClicks) {
  InitApplication();
  FormPtr root(TCustomForm::CreateNew<TClickForm>(nullptr));
  TMemoryStream binary;
  ObjectTextToBinary(kDescription, &binary, "test");
  binary.SetPosition(0);
  ReadComponent(&binary, root.get(), "test");

  auto* form = static_cast<TClickForm*>(root.get());
  auto* rb = dynamic_cast<TRadioButton*>(form->FindComponent("rbFast"));
  auto* ch = dynamic_cast<TCheckBox*>(form->FindComponent("chKeep"));
  auto* lb = dynamic_cast<TLabel*>(form->FindComponent("lbTitle"));
  auto* st = dynamic_cast<TStaticText*>(form->FindComponent("stInfo"));
  auto* gb = dynamic_cast<TGroupBox*>(form->FindComponent("gbMode"));
  ASSERT_TRUE(rb && ch && lb && st && gb);
  EXPECT_EQ(rb->Parent(), gb);
  EXPECT_TRUE(rb->Checked());
  EXPECT_EQ(ch->State(), cbGrayed);
  EXPECT_TRUE(ch->AllowGrayed());
  EXPECT_EQ(form->clicks, 0);  // reading is no change of the user's or the program's
  EXPECT_EQ(lb->FocusControl(), ch);
  EXPECT_EQ(lb->Alignment(), taCenter);
  EXPECT_TRUE(lb->Transparent());
  EXPECT_GT(lb->Width(), 10);  // auto size after loading
  EXPECT_EQ(st->BorderStyle(), sbsSunken);
  EXPECT_EQ(gb->Caption(), "&Mode");
  // Checked of a check box is its State's to store.
  EXPECT_FALSE(IsStoredProp(ch, "Checked"));
  EXPECT_TRUE(IsStoredProp(ch, "State"));

  form->Show();
  EXPECT_EQ(SendMessageA(ch->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_TRUE(GetWindowLongPtrA(st->Handle(), GWL_STYLE) & SS_SUNKEN);
  ch->Toggle();
  EXPECT_EQ(form->clicks, 1);
}

}  // namespace

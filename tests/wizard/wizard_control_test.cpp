// The wizard with real windows: pages walked with the bar's buttons, the page events and
// their Stop, buttons that follow the page, and a wizard read from a stored description.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/vcl/test_windows.h"
#include "vcl/application.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"
#include "wizard/page_header.h"
#include "wizard/wizard_control.h"

using namespace testwin;
using BK = TKvWizardButtonKind;
using Log = std::vector<std::string>;

namespace {

struct WizardFixture : ::testing::Test {
  std::unique_ptr<THostWindow> host{ShownHost(742, 495)};
  TKvWizard* wizard = nullptr;
  std::vector<TKvWizardCustomPage*> pages;
  Log log;

  std::string Name(TKvWizardCustomPage* p) { return p ? std::to_string(p->PageIndex()) : "-"; }

  void SetUp() override {
    wizard = new TKvWizard(host.get());
    wizard->SetParent(host.get());
    for (int i = 0; i < 5; ++i) {
      TKvWizardCustomPage* page = i == 0 ? static_cast<TKvWizardCustomPage*>(new TKvWizardWelcomePage(host.get()))
                                         : new TKvWizardInteriorPage(host.get());
      page->SetWizard(wizard);
      page->OnEnterPage = [this](TObject* s, TKvWizardCustomPage* from) {
        log.push_back("enter " + Name(static_cast<TKvWizardCustomPage*>(s)) + " from " + Name(from));
      };
      page->OnExitPage = [this](TObject* s, TKvWizardCustomPage* to) {
        log.push_back("exit " + Name(static_cast<TKvWizardCustomPage*>(s)) + " to " + Name(to));
      };
      pages.push_back(page);
    }
    wizard->OnActivePageChanged = [this](TObject*) { log.push_back("changed " + Name(wizard->ActivePage())); };
    wizard->SelectFirstPage();
    Flush();
    log.clear();
  }

  // A click on a bar button, as the user makes it.
  void Click(BK kind) {
    TKvWizardButtonControl* button = wizard->ButtonControl(kind);
    ASSERT_TRUE(IsWindowVisible(button->Handle())) << static_cast<int>(kind);
    ASSERT_TRUE(IsWindowEnabled(button->Handle())) << static_cast<int>(kind);
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    Flush();
  }
  bool ShowsEnabled(BK kind) {
    HWND h = wizard->ButtonControl(kind)->Handle();
    return IsWindowVisible(h) && IsWindowEnabled(h);
  }
};

// A form-like root whose handlers the stored wizard binds by name.
class TWizardHost : public THostWindow {
  VCL_CLASS(TWizardHost)
 public:
  using THostWindow::THostWindow;
  Log calls;
  void MuxNext(TObject* sender, bool& stop) {
    calls.push_back("mux next from " + static_cast<TComponent*>(sender)->Name());
    stop = true;
  }
  void WizardCancel(TObject*) { calls.push_back("cancel"); }
};

const TClassMembers& WizardHostMembers() {
  static const TClassMembers members = TMemberTable<TWizardHost>()
      .Handler("MuxNext", &TWizardHost::MuxNext)
      .Handler("WizardCancel", &TWizardHost::WizardCancel)
      .Table();
  return members;
}

}  // namespace

VCL_CLASS_IMPL_MEMBERS(TWizardHost, THostWindow, nullptr, nullptr, &WizardHostMembers)

TEST_F(WizardFixture, FivePagesWalkedForwardAndBackWithTheirEvents) {
  ASSERT_EQ(wizard->Pages()->Count(), 5);
  EXPECT_EQ(wizard->ActivePage(), pages[0]);
  // Back is off on the first page, and stays out of that page's set.
  EXPECT_FALSE(IsWindowEnabled(wizard->ButtonControl(BK::bkBack)->Handle()));
  EXPECT_FALSE(HasButton(pages[0]->EnabledButtons(), BK::bkBack));
  EXPECT_EQ(wizard->ButtonControl(BK::bkCancel)->Caption(), "Cancel");

  for (int i = 0; i < 4; ++i) Click(BK::bkNext);
  EXPECT_EQ(wizard->ActivePage(), pages[4]);
  // Next on the last page finds nothing: no event, no change.
  Click(BK::bkNext);
  for (int i = 0; i < 4; ++i) Click(BK::bkBack);
  EXPECT_EQ(wizard->ActivePage(), pages[0]);
  EXPECT_EQ(log, (Log{"exit 0 to 1", "enter 1 from 0", "changed 1", "exit 1 to 2", "enter 2 from 1", "changed 2",
                      "exit 2 to 3", "enter 3 from 2", "changed 3", "exit 3 to 4", "enter 4 from 3", "changed 4",
                      "exit 4 to 3", "enter 3 from 4", "changed 3", "exit 3 to 2", "enter 2 from 3", "changed 2",
                      "exit 2 to 1", "enter 1 from 2", "changed 1", "exit 1 to 0", "enter 0 from 1", "changed 0"}));
  // Only the active page shows; it fills the wizard above the bar.
  for (int i = 0; i < 5; ++i) EXPECT_EQ(IsWindowVisible(pages[static_cast<size_t>(i)]->Handle()) != 0, i == 0);
  EXPECT_EQ(pages[0]->Height(), wizard->ClientHeight() - 42);

  // Writing the active page again fires nothing.
  log.clear();
  wizard->SetActivePage(pages[0]);
  EXPECT_TRUE(log.empty());
}

TEST_F(WizardFixture, APageHandlerThatStopsKeepsTheWizardsOwnMoveAndEventAway) {
  Log clicks;
  wizard->SetActivePage(pages[1]);
  wizard->SetButtonClick(BK::bkNext, [&](TObject*) { clicks.push_back("wizard next"); });
  pages[1]->OnNextButtonClick = [&](TObject* sender, bool& stop) {
    EXPECT_EQ(sender, pages[1]);
    EXPECT_FALSE(stop);
    clicks.push_back("page next");
    // As the application does: it picks the page itself.
    wizard->SetActivePage(pages[3]);
    stop = true;
  };
  Click(BK::bkNext);
  EXPECT_EQ(clicks, (Log{"page next"}));
  EXPECT_EQ(wizard->ActivePage(), pages[3]);

  // Without Stop the wizard's event runs and the wizard moves on by itself.
  pages[3]->OnNextButtonClick = [&](TObject*, bool&) { clicks.push_back("page 3 next"); };
  Click(BK::bkNext);
  EXPECT_EQ(clicks, (Log{"page next", "page 3 next", "wizard next"}));
  EXPECT_EQ(wizard->ActivePage(), pages[4]);

  // The help button goes to the page's help event, which has Stop too.
  pages[4]->SetVisibleButtons(pages[4]->VisibleButtons() | ButtonBit(BK::bkHelp));
  bool helped = false;
  pages[4]->OnHelpButtonClick = [&](TObject*, bool& stop) { helped = true; stop = true; };
  Click(BK::bkHelp);
  EXPECT_TRUE(helped);
}

// A page without a help handler opens the application's help at its own context; no
// event fires then.
TEST_F(WizardFixture, HelpWithoutAPageHandlerOpensThePagesHelpContext) {
  ASSERT_EQ(Application, nullptr);
  std::unique_ptr<TApplication> app(new TApplication(nullptr, TApplication::TNoHandle{}));
  std::vector<int> contexts;
  Application->OnHelp = [&](WORD command, int data, bool& callHelp) {
    EXPECT_EQ(command, HELP_CONTEXT);
    contexts.push_back(data);
    callHelp = false;
    return true;
  };
  bool wizardEvent = false;
  wizard->SetButtonClick(BK::bkHelp, [&](TObject*) { wizardEvent = true; });
  wizard->SetActivePage(pages[2]);
  pages[2]->SetVisibleButtons(pages[2]->VisibleButtons() | ButtonBit(BK::bkHelp));
  Click(BK::bkHelp);  // no context: nothing opens
  pages[2]->SetHelpContext(42);
  Click(BK::bkHelp);
  Application->OnHelp = nullptr;
  EXPECT_EQ(contexts, std::vector<int>{42});
  EXPECT_FALSE(wizardEvent);
}

// Showing a page through the wizard makes it the active page, and the wizard's parents
// are asked to show the wizard in turn.
TEST_F(WizardFixture, ShowControlSelectsThePageAndGoesUpToTheParents) {
  class TRecordingHost : public THostWindow {
   public:
    using THostWindow::THostWindow;
    std::vector<TControl*> shown;
    void ShowControl(TControl* AControl) override { shown.push_back(AControl); }
  };
  std::unique_ptr<TRecordingHost> outer(new TRecordingHost(nullptr));
  wizard->SetParent(outer.get());
  static_cast<TWinControl*>(wizard)->ShowControl(pages[3]);
  EXPECT_EQ(wizard->ActivePage(), pages[3]);
  EXPECT_EQ(outer->shown, std::vector<TControl*>{wizard});
  wizard->SetParent(host.get());
}

TEST_F(WizardFixture, DisabledAndJumpForbiddingPagesAreSkipped) {
  pages[1]->SetEnabled(false);
  pages[2]->SetEnableJumpToPage(false);
  Click(BK::bkNext);
  EXPECT_EQ(wizard->ActivePage(), pages[3]);
  wizard->SetActivePage(pages[1]);  // disabled: ignored
  EXPECT_EQ(wizard->ActivePage(), pages[3]);

  // The changing event may redirect the switch, or cancel it by naming the current page.
  wizard->OnActivePageChanging = [&](TObject*, TKvWizardCustomPage*& to) {
    if (to == pages[4]) to = wizard->ActivePage();
  };
  Click(BK::bkNext);
  EXPECT_EQ(wizard->ActivePage(), pages[3]);
  wizard->OnActivePageChanging = nullptr;

  // Disabling the active page moves to the next enabled one, or back when none follows.
  pages[3]->SetEnabled(false);
  EXPECT_EQ(wizard->ActivePage(), pages[4]);
  pages[4]->SetEnabled(false);
  EXPECT_EQ(wizard->ActivePage(), pages[2]);

  // Freeing the active page activates the one after it.
  pages[3]->SetEnabled(true);
  wizard->SetActivePage(pages[3]);
  log.clear();
  delete pages[3];
  pages.erase(pages.begin() + 3);
  EXPECT_EQ(wizard->Pages()->Count(), 4);
  EXPECT_EQ(wizard->ActivePage(), nullptr);  // the page after it is disabled
}

TEST_F(WizardFixture, ButtonsFollowThePagesSetsAndTheBarHides) {
  Click(BK::bkNext);
  TKvWizardCustomPage* task = pages[1];
  ASSERT_TRUE(ShowsEnabled(BK::bkNext));
  task->EnableButton(BK::bkNext, false);
  EXPECT_FALSE(IsWindowEnabled(wizard->ButtonControl(BK::bkNext)->Handle()));
  pages[2]->EnableButton(BK::bkBack, false);  // not active: shows when it is
  EXPECT_TRUE(IsWindowEnabled(wizard->ButtonControl(BK::bkBack)->Handle()));
  task->EnableButton(BK::bkNext, true);
  EXPECT_TRUE(ShowsEnabled(BK::bkNext));
  EXPECT_TRUE(wizard->ButtonControl(BK::bkNext)->Default());

  // The process page: Back, Finish and Help; Finish takes the default.
  task->SetVisibleButtons(ButtonBit(BK::bkBack) | ButtonBit(BK::bkFinish) | ButtonBit(BK::bkHelp));
  EXPECT_TRUE(ShowsEnabled(BK::bkFinish));
  EXPECT_FALSE(IsWindowVisible(wizard->ButtonControl(BK::bkNext)->Handle()));
  EXPECT_TRUE(wizard->ButtonControl(BK::bkFinish)->Default());
  const int right = wizard->ClientWidth() - 8;
  EXPECT_EQ(wizard->ButtonControl(BK::bkFinish)->Left(), right - 75);
  EXPECT_EQ(wizard->ButtonControl(BK::bkBack)->Left(), right - 75 - 1 - 75);
  EXPECT_EQ(wizard->ButtonControl(BK::bkHelp)->Left(), 8);
  EXPECT_EQ(wizard->ButtonControl(BK::bkHelp)->Top(), wizard->ClientHeight() - 42 + 10);

  // A page without buttons: the bar goes and the page takes the whole wizard.
  task->SetVisibleButtons(0);
  EXPECT_EQ(wizard->ButtonBarHeight(), 0);
  EXPECT_EQ(task->Height(), wizard->ClientHeight());
  EXPECT_EQ(wizard->ButtonControl(BK::bkCancel)->Height(), 0);
  task->SetVisibleButtons(DefaultVisibleButtons);
  EXPECT_EQ(wizard->ButtonBarHeight(), 42);

  // Captions rewritten the way a language file does it.
  wizard->GetButton(BK::bkNext)->SetCaption("Suivant >");
  EXPECT_EQ(wizard->ButtonControl(BK::bkNext)->Caption(), "Suivant >");
  wizard->GetButton(BK::bkNext)->SetWidth(93);
  EXPECT_EQ(wizard->ButtonControl(BK::bkNext)->Width(), 93);
  EXPECT_EQ(wizard->ButtonControl(BK::bkNext)->Left(), wizard->ButtonControl(BK::bkCancel)->Left() - 10 - 93);
}

TEST(StoredWizard, PagesHeadersAndButtonsAreReadFromADescription) {
  RegisterWizardControls();
  RegisterWizardHeader();
  const char* description = R"(object Host: TWizardHost
  object Wizard: TKvWizard
    Left = 0
    Top = 0
    Width = 742
    Height = 495
    ActivePage = Mux
    ButtonBarHeight = 42
    ButtonNext.Caption = 'Suivant >'
    ButtonNext.Width = 93
    ButtonHelp.Caption = 'Aide'
    OnCancelButtonClick = WizardCancel
    object Start: TKvWizardWelcomePage
      Header.ShowDivider = False
      WaterMark.Visible = False
      VisibleButtons = [bkCancel, bkHelp]
    end
    object Mux: TKvWizardInteriorPage
      Header.Visible = False
      Header.Title.Text = 'Mux'
      EnabledButtons = [bkBack, bkCancel, bkHelp]
      VisibleButtons = [bkBack, bkNext, bkCancel, bkHelp]
      OnNextButtonClick = MuxNext
      object MuxHeader: TKvgWizardHeader
        Left = 0
        Top = 0
        Width = 742
        Height = 85
        PageNo = 0
        Captions.Strings = (
          'Mux')
        Comments.Strings = (
          'Put tracks together')
        Symbol = 'AB'
        Gradient.Active = True
        Gradient.Orientation = fgdVertical
        Gradient.FromColor = clHighlight
        Gradient.ToColor = clWindow
      end
    end
  end
end
)";
  std::unique_ptr<TWizardHost> host{new TWizardHost(nullptr)};
  host->SetBounds(40, 40, 742, 495);
  host->SetVisible(true);
  Flush();
  ReadComponentData(description, std::strlen(description), host.get(), "wizard.dfm");
  auto* wizard = dynamic_cast<TKvWizard*>(host->FindComponent("Wizard"));
  ASSERT_NE(wizard, nullptr);
  ASSERT_EQ(wizard->Pages()->Count(), 2);
  // The stored active page is passed over: the first page shows after loading.
  auto* start = host->FindComponent("Start");
  auto* mux = dynamic_cast<TKvWizardCustomPage*>(host->FindComponent("Mux"));
  EXPECT_EQ(wizard->ActivePage(), start);
  EXPECT_EQ(wizard->Pages()->Items(1), mux);
  EXPECT_EQ(wizard->GetButton(BK::bkNext)->Caption(), "Suivant >");
  EXPECT_EQ(wizard->ButtonControl(BK::bkHelp)->Caption(), "Aide");
  EXPECT_EQ(wizard->ButtonControl(BK::bkNext)->Width(), 93);
  EXPECT_TRUE(IsWindowVisible(wizard->ButtonControl(BK::bkHelp)->Handle()));
  EXPECT_FALSE(IsWindowVisible(wizard->ButtonControl(BK::bkNext)->Handle()));
  EXPECT_FALSE(mux->Header()->Visible());
  EXPECT_EQ(mux->Title()->Text(), "Mux");
  EXPECT_EQ(mux->EnabledButtons(),
            ButtonBit(BK::bkBack) | ButtonBit(BK::bkCancel) | ButtonBit(BK::bkHelp));

  wizard->SetActivePage(mux);
  Flush();
  auto* header = dynamic_cast<TKvgWizardHeader*>(host->FindComponent("MuxHeader"));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->Parent(), mux);
  EXPECT_EQ(header->Top(), 0);  // the page's own header is hidden and takes no room
  EXPECT_EQ(header->CaptionText(), "Mux");
  EXPECT_EQ(header->Symbol(), "A");  // cut to one character by the paint
  EXPECT_EQ(header->Gradient()->Orientation(), fgdVertical);
  EXPECT_FALSE(IsWindowEnabled(wizard->ButtonControl(BK::bkNext)->Handle()));

  // The stored handlers answer the buttons.
  mux->EnableButton(BK::bkNext, true);
  SendMessageA(wizard->ButtonControl(BK::bkNext)->Handle(), BM_CLICK, 0, 0);
  SendMessageA(wizard->ButtonControl(BK::bkCancel)->Handle(), BM_CLICK, 0, 0);
  Flush();
  EXPECT_EQ(host->calls, (Log{"mux next from Mux", "cancel"}));
  EXPECT_EQ(wizard->ActivePage(), mux);

  // Written back, then read into another host: the same wizard.
  TMemoryStream stream;
  WriteComponent(&stream, host.get());
  stream.SetPosition(0);
  std::unique_ptr<TWizardHost> copy{new TWizardHost(nullptr)};
  ReadComponent(&stream, copy.get(), "written");
  auto* again = dynamic_cast<TKvWizard*>(copy->FindComponent("Wizard"));
  ASSERT_NE(again, nullptr);
  ASSERT_EQ(again->Pages()->Count(), 2);
  EXPECT_EQ(again->Pages()->Items(0)->Name(), "Start");
  EXPECT_EQ(again->ButtonControl(BK::bkNext)->Caption(), "Suivant >");
  EXPECT_EQ(again->ButtonBarHeight(), 42);
  auto* header2 = dynamic_cast<TKvgWizardHeader*>(copy->FindComponent("MuxHeader"));
  ASSERT_NE(header2, nullptr);
  EXPECT_EQ(header2->CaptionText(), "Mux");
  EXPECT_TRUE(header2->Gradient()->Active());
  auto* mux2 = dynamic_cast<TKvWizardCustomPage*>(copy->FindComponent("Mux"));
  ASSERT_NE(mux2, nullptr);
  bool stop = false;
  mux2->OnNextButtonClick(mux2, stop);
  EXPECT_TRUE(stop);
  EXPECT_EQ(copy->calls, (Log{"mux next from Mux"}));
  EXPECT_EQ(header2->Gradient()->FromColor(), clHighlight);
}

TEST(WizardHeader, ListChangesAndGradientChangesRepaintTheHeader) {
  std::unique_ptr<THostWindow> host{ShownHost(742, 120)};
  auto* header = new TKvgWizardHeader(host.get());
  header->SetParent(host.get());
  header->SetBounds(0, 0, 742, 85);
  UpdateWindow(host->Handle());
  Flush();
  EXPECT_EQ(header->CaptionText(), "Caption");
  EXPECT_EQ(header->CommentText(), "Some comment text");

  auto pendingPaint = [&] {
    RECT r{};
    return GetUpdateRect(host->Handle(), &r, FALSE) && r.bottom > 0;
  };
  ASSERT_FALSE(pendingPaint());
  header->Captions()->Add("Mux");
  EXPECT_TRUE(pendingPaint());
  UpdateWindow(host->Handle());
  header->Captions()->SetStrings(0, "Multiplexer");
  EXPECT_TRUE(pendingPaint());
  EXPECT_EQ(header->CaptionText(), "Multiplexer");
  UpdateWindow(host->Handle());
  header->Comments()->SetText("One\r\nTwo\r\n");
  EXPECT_TRUE(pendingPaint());
  EXPECT_EQ(header->CommentText(), "Two");  // PageNo 1
  UpdateWindow(host->Handle());
  header->Gradient()->SetToColor(clRed);
  EXPECT_TRUE(pendingPaint());
}

// The application's look: a 742 x 495 wizard on a task page with its painted header. The
// screen's pixels are checked where the parts must be; with KAVO_WIZARD_SHOT set, the window
// is also saved there as a bitmap to look at.
TEST(WizardLook, TaskPageWithPaintedHeaderAndGradient) {
  std::unique_ptr<THostWindow> host{ShownHost(742, 495)};
  auto* wizard = new TKvWizard(host.get());
  wizard->SetParent(host.get());
  auto* page = new TKvWizardInteriorPage(host.get());
  page->SetWizard(wizard);
  page->Header()->SetVisible(false);
  page->SetVisibleButtons(DefaultVisibleButtons | ButtonBit(BK::bkHelp));
  for (int i = 0; i < WizardButtonCount; ++i) wizard->GetButton(static_cast<BK>(i))->SetWidth(93);
  auto* header = new TKvgWizardHeader(host.get());
  header->SetParent(page);
  header->SetHeight(85);
  header->CaptionFont()->SetName("Tahoma");
  header->CaptionFont()->SetHeight(-20);
  header->CommentFont()->SetName("Tahoma");
  header->CommentFont()->SetHeight(-11);
  header->SymbolFont()->SetSize(35);
  EXPECT_TRUE(header->CaptionFont()->Style() & fsBold);
  EXPECT_FALSE(header->ParentFont());
  header->Captions()->Add("Cr\xE9""er un fichier MP4 \xE0 partir de pistes s\xE9par\xE9""es");
  header->Comments()->Add("Ajoutez des pistes vid\xE9o, audio et de sous-titres, puis choisissez le fichier "
                          "\xE0 cr\xE9""er. Les pistes sont r\xE9unies sans \xEAtre r\xE9""encod\xE9""es.");
  header->SetSymbol("1");
  // A picture takes the symbol's place; its bottom-left colour (magenta) is left out.
  header->Glyph()->SetSize(48, 48);
  TCanvas* g = header->Glyph()->Canvas();
  g->Brush()->SetColor(clFuchsia);
  g->FillRect(RECT{0, 0, 48, 48});
  g->Brush()->SetColor(clNavy);
  g->FillRect(RECT{8, 8, 40, 40});
  wizard->SelectFirstPage();
  UpdateWindow(host->Handle());
  Flush();

  RECT client{};
  GetClientRect(host->Handle(), &client);
  POINT origin{0, 0};
  ClientToScreen(host->Handle(), &origin);
  HDC screen = GetDC(nullptr);
  auto pixel = [&](int x, int y) { return GetPixel(screen, origin.x + x, origin.y + y); };
  // The gradient strip runs from the highlight colour at the left to the window colour.
  const int stripY = 85 - 3;
  EXPECT_EQ(pixel(0, stripY), ColorToRGB(clHighlight));
  EXPECT_EQ(pixel(header->Width() - 1, stripY), ColorToRGB(clWindow));
  // The picture at the right, as far from the edge as from the top, its magenta left out.
  const int glyphLeft = header->Width() - 48 - 18;
  EXPECT_EQ(pixel(glyphLeft + 24, 18 + 24), ColorToRGB(clNavy));
  EXPECT_EQ(pixel(glyphLeft + 1, 18 + 1), ColorToRGB(clWindow));
  // The header's background.
  EXPECT_EQ(pixel(header->Width() - 70, 6), ColorToRGB(clWindow));

  if (const char* shot = std::getenv("KAVO_WIZARD_SHOT")) {
    TBitmap bmp;
    bmp.SetSize(client.right, client.bottom);
    BitBlt(bmp.Canvas()->Handle(), 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    bmp.SaveToFile(shot);
  }
  ReleaseDC(nullptr, screen);
}

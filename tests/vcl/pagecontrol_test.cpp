// Page controls with tab sheets, and the progress bar.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/vcl/test_windows.h"
#include "vcl/pagecontrol.h"
#include "vcl/progressbar.h"
#include "vcl/streaming.h"

using namespace testwin;

namespace {

struct PagesFixture : ::testing::Test {
  std::unique_ptr<THostWindow> host{ShownHost(320, 240)};
  TPageControl* pages = nullptr;
  std::vector<TTabSheet*> sheets;
  void SetUp() override {
    pages = new TPageControl(host.get());
    pages->SetParent(host.get());
    pages->SetBounds(0, 0, 300, 200);
    for (const char* caption : {"&General", "&Audio", "&Tags"}) {
      auto* sheet = new TTabSheet(host.get());
      sheet->SetCaption(caption);
      sheet->SetPageControl(pages);
      sheets.push_back(sheet);
    }
  }
  std::vector<std::string> TabTexts() {
    std::vector<std::string> out;
    TStrings* tabs = pages->Tabs();
    for (int i = 0; i < tabs->Count(); ++i) out.push_back(tabs->Strings(i));
    return out;
  }
  // A click on a tab, as a user makes it.
  void ClickTab(int index) {
    RECT r{};
    ASSERT_TRUE(SendMessageA(pages->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(pages->Handle(), WM_LBUTTONUP, 0, at);
    Flush();
  }
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(PagesFixture, TabsFollowThePagesTheirCaptionsAndVisibility) {
  EXPECT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);  // the first page put on
  EXPECT_EQ(TabTexts(), (Texts{"&General", "&Audio", "&Tags"}));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pages->Tabs()->Objects(i), sheets[static_cast<size_t>(i)]);

  sheets[1]->SetCaption("Sound");  // WM_SETTEXT on the sheet
  EXPECT_EQ(TabTexts(), (Texts{"&General", "Sound", "&Tags"}));

  sheets[1]->SetTabVisible(false);
  EXPECT_EQ(TabTexts(), (Texts{"&General", "&Tags"}));
  EXPECT_EQ(sheets[2]->TabIndex(), 1);
  EXPECT_EQ(pages->PageOfTab(1), sheets[2]);
  sheets[1]->SetTabVisible(true);
  EXPECT_EQ(TabTexts(), (Texts{"&General", "Sound", "&Tags"}));

  // Only the active page shows, in the display area below the tabs.
  pages->SetActivePage(sheets[2]);
  EXPECT_EQ(pages->TabIndex(), 2);
  EXPECT_EQ(pages->ActivePageIndex(), 2);
  EXPECT_TRUE(IsWindowVisible(sheets[2]->Handle()));
  EXPECT_FALSE(sheets[0]->Visible());
  EXPECT_GT(sheets[2]->Top(), 10);

  // Hiding the active page's tab moves on to the next page; so does freeing it.
  sheets[2]->SetTabVisible(false);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  delete sheets[0];
  EXPECT_EQ(pages->ActivePage(), sheets[1]);
  EXPECT_EQ(TabTexts(), (Texts{"Sound"}));
  // The tabs come back with a new window.
  sheets[2]->SetTabVisible(true);
  pages->RecreateWnd();
  EXPECT_EQ(TabTexts(), (Texts{"Sound", "&Tags"}));
  EXPECT_EQ(pages->TabIndex(), 0);
}

TEST_F(PagesFixture, UsersSwitchPagesUnlessChangingIsRefused) {
  int changes = 0;
  bool allow = false;
  pages->OnChanging = [&](TObject*, bool& allowChange) { allowChange = allow; };
  pages->OnChange = [&](TObject*) { ++changes; };

  ClickTab(1);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_EQ(pages->TabIndex(), 0);
  EXPECT_EQ(changes, 0);

  allow = true;
  ClickTab(1);
  EXPECT_EQ(pages->ActivePage(), sheets[1]);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(IsWindowVisible(sheets[1]->Handle()));

  // A tab's accelerator picks its page.
  EXPECT_EQ(pages->Perform(CM_DIALOGCHAR, 't', 0), 1);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(pages->Perform(CM_DIALOGCHAR, 'q', 0), 0);

  // From code no event runs.
  pages->SetActivePageIndex(0);
  EXPECT_EQ(changes, 2);
  pages->SelectNextPage(false);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
}

TEST(ProgressBar, PositionStaysInRangeAndStepsWrap) {
  std::unique_ptr<THostWindow> host{ShownHost()};
  auto* bar = new TProgressBar(host.get());
  bar->SetParent(host.get());
  bar->SetPosition(150);
  EXPECT_EQ(bar->Position(), 100);  // before a window
  bar->SetPosition(40);
  bar->Handle();
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0), 40);
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETRANGE, TRUE, 0), 0);
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETRANGE, FALSE, 0), 100);

  bar->SetStep(25);
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 65);
  bar->StepIt();
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 15);  // past Max: from Min again
  bar->SetMax(10);
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_THROW(bar->SetMin(20), EInvalidOperation);
  EXPECT_EQ(bar->Min(), 0);

  bar->SetSmooth(true);
  EXPECT_TRUE(GetWindowLongPtrA(bar->Handle(), GWL_STYLE) & PBS_SMOOTH);
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETRANGE, FALSE, 0), 10);
}

TEST(StoredPages, PagesTabsAndBarAreReadFromADescription) {
  RegisterPageControls();
  RegisterProgressBar();
  const char* description = R"(object Host: THostWindow
  object Pages: TPageControl
    Left = 0
    Top = 0
    Width = 300
    Height = 200
    ActivePage = Second
    object First: TTabSheet
      Caption = 'First'
    end
    object Hidden: TTabSheet
      Caption = 'Hidden'
      TabVisible = False
    end
    object Second: TTabSheet
      Caption = 'Second'
      object Bar: TProgressBar
        Left = 8
        Top = 8
        Width = 100
        Height = 16
        Min = 10
        Max = 50
        Position = 20
        Smooth = True
      end
    end
  end
end
)";
  std::unique_ptr<THostWindow> host{ShownHost()};
  ReadComponentData(description, std::strlen(description), host.get(), "pages.dfm");
  auto* pages = dynamic_cast<TPageControl*>(host->FindComponent("Pages"));
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->ActivePage(), host->FindComponent("Second"));
  EXPECT_FALSE(pages->Pages(1)->TabVisible());
  std::vector<std::string> tabs;
  for (int i = 0; i < pages->Tabs()->Count(); ++i) tabs.push_back(pages->Tabs()->Strings(i));
  EXPECT_EQ(tabs, (std::vector<std::string>{"First", "Second"}));
  EXPECT_EQ(pages->TabIndex(), 1);
  auto* bar = dynamic_cast<TProgressBar*>(host->FindComponent("Bar"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Min(), 10);
  EXPECT_EQ(bar->Max(), 50);
  EXPECT_EQ(bar->Position(), 20);
  EXPECT_TRUE(bar->Smooth());
  EXPECT_EQ(bar->Parent(), pages->ActivePage());
  EXPECT_TRUE(IsWindowVisible(bar->Handle()));

  // Without an active page in the description, the first page shows.
  std::string text = description;
  text.replace(text.find("    ActivePage = Second\n"), 24, "");
  std::unique_ptr<THostWindow> other{ShownHost()};
  ReadComponentData(text.data(), text.size(), other.get(), "pages.dfm");
  auto* first = dynamic_cast<TPageControl*>(other->FindComponent("Pages"));
  EXPECT_EQ(first->ActivePage(), other->FindComponent("First"));
  EXPECT_EQ(first->TabIndex(), 0);
}

// Docking: forms docked into a page control (a sheet each, following the form's caption and
// visibility), undocked again, and controls laid out by a dock site's dock manager.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/forms.h"
#include "tests/vcl/test_windows.h"
#include "vcl/docking.h"
#include "vcl/extctrls.h"
#include "vcl/pagecontrol.h"

using namespace testwin;

namespace {

template <class T>
using FormPtr = std::unique_ptr<T, FormFree>;

// A shown page control, and a form that is yet to be docked into it. Borderless forms:
// without a window manager Wine waits for one whenever a captioned window goes.
struct DockingFixture : ::testing::Test {
  std::unique_ptr<THostWindow> host{ShownHost(420, 300)};
  TPageControl* pages = nullptr;
  TForm* form = nullptr;
  void SetUp() override {
    pages = new TPageControl(host.get());
    pages->SetParent(host.get());
    pages->SetBounds(4, 4, 410, 290);
    pages->SetDockSite(true);
    form = TCustomForm::CreateNew<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetCaption("Tags\r\nof the files");
  }
  void TearDown() override {
    if (form) form->Free();
  }
  std::vector<std::string> TabTexts() {
    std::vector<std::string> out;
    for (int i = 0; i < pages->Tabs()->Count(); ++i) out.push_back(pages->Tabs()->Strings(i));
    return out;
  }
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(DockingFixture, ADockedFormHasASheetThatFollowsItsCaptionAndVisibility) {
  form->Show();
  ASSERT_TRUE(form->ManualDock(pages));
  ASSERT_EQ(pages->PageCount(), 1);
  TTabSheet* sheet = pages->Pages(0);
  EXPECT_EQ(form->HostDockSite(), pages);
  EXPECT_EQ(form->Parent(), sheet);
  EXPECT_EQ(pages->PageOfDockClient(form), sheet);
  EXPECT_EQ(pages->DockClientCount(), 1);
  EXPECT_EQ(form->Align(), alClient);
  EXPECT_EQ(pages->ActivePage(), sheet);
  EXPECT_EQ(TabTexts(), Texts{"Tags"});  // the caption's first line
  // The form is a child window filling the sheet.
  Flush();
  ASSERT_TRUE(form->HandleAllocated());
  EXPECT_EQ(GetParent(form->WindowHandle()), sheet->WindowHandle());
  EXPECT_TRUE(GetWindowLongPtrA(form->WindowHandle(), GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
  EXPECT_EQ(form->BoundsRect(), sheet->ClientRect());

  // Docked again into the same control, it takes a new sheet and leaves none behind.
  ASSERT_TRUE(form->ManualDock(pages));
  ASSERT_EQ(pages->PageCount(), 1);
  sheet = pages->Pages(0);
  EXPECT_EQ(form->Parent(), sheet);
  EXPECT_EQ(pages->DockClientCount(), 1);
  EXPECT_EQ(TabTexts(), Texts{"Tags"});

  form->SetCaption("Cover\nart");
  EXPECT_EQ(TabTexts(), Texts{"Cover"});
  form->Hide();
  EXPECT_FALSE(sheet->TabVisible());
  EXPECT_EQ(TabTexts(), Texts{});
  form->Show();
  EXPECT_TRUE(sheet->TabVisible());
  EXPECT_EQ(TabTexts(), Texts{"Cover"});

  // Floated, the form is a window of its own again and its sheet is gone.
  RECT at{60, 70, 260, 220};
  ASSERT_TRUE(form->ManualFloat(at));
  EXPECT_EQ(pages->PageCount(), 0);
  EXPECT_EQ(pages->DockClientCount(), 0);
  EXPECT_EQ(form->HostDockSite(), nullptr);
  EXPECT_EQ(form->Parent(), nullptr);
  EXPECT_EQ(form->Align(), alNone);
  ASSERT_TRUE(form->HandleAllocated());
  EXPECT_FALSE(GetWindowLongPtrA(form->WindowHandle(), GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
  EXPECT_EQ(form->BoundsRect(), at);
  EXPECT_EQ(WindowText(form->WindowHandle()), "Cover\nart");
}

TEST_F(DockingFixture, AHiddenFormsTabIsNotShownAndAFreedFormTakesItsSheet) {
  auto* other = new TTabSheet(host.get());
  other->SetCaption("General");
  other->SetPageControl(pages);
  ASSERT_TRUE(form->ManualDock(pages));  // never shown
  ASSERT_EQ(pages->PageCount(), 2);
  EXPECT_FALSE(pages->Pages(1)->TabVisible());
  EXPECT_EQ(pages->ActivePage(), other);
  EXPECT_EQ(TabTexts(), Texts{"General"});

  // A form docked elsewhere leaves its sheet behind no more than a freed one.
  auto* panel = new TPanel(host.get());
  panel->SetParent(host.get());
  ASSERT_TRUE(form->ManualDock(panel));
  EXPECT_EQ(pages->PageCount(), 1);
  EXPECT_EQ(form->Parent(), panel);
  EXPECT_EQ(form->HostDockSite(), panel);
  ASSERT_TRUE(form->ManualDock(pages));
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(panel->DockClientCount(), 0);
  form->Free();
  form = nullptr;
  EXPECT_EQ(pages->PageCount(), 1);
  EXPECT_EQ(pages->Pages(0), other);
  EXPECT_EQ(pages->DockClientCount(), 0);
}

TEST_F(DockingFixture, AFailingDockLeavesNoSheetBehind) {
  // A form cannot be docked inside itself: the page control is on it.
  FormPtr<TForm> outer(TCustomForm::CreateNew<TForm>(nullptr));
  outer->SetBorderStyle(bsNone);
  pages->SetParent(outer.get());
  outer->Show();
  Flush();
  HWND window = outer->WindowHandle();
  EXPECT_THROW(outer->ManualDock(pages), EInvalidOperation);
  EXPECT_EQ(pages->PageCount(), 0);
  EXPECT_EQ(pages->DockClientCount(), 0);
  EXPECT_EQ(outer->HostDockSite(), nullptr);
  EXPECT_EQ(outer->Parent(), nullptr);
  EXPECT_EQ(outer->WindowHandle(), window);
  EXPECT_TRUE(IsWindowVisible(window));
  pages->SetParent(host.get());
}

TEST(DockManager, DockedControlsShareTheSiteInBandsThatFollowItsSize) {
  std::unique_ptr<THostWindow> host{ShownHost(300, 200)};
  auto* site = new TPanel(host.get());
  site->SetParent(host.get());
  site->SetBevelOuter(bvNone);
  site->SetBounds(0, 0, 300, 200);
  site->SetUseDockManager(true);
  EXPECT_EQ(site->DockManager(), nullptr);  // a dock site only
  site->SetDockSite(true);
  ASSERT_NE(site->DockManager(), nullptr);
  EXPECT_FALSE(IsWndProcMethod(site->WindowProc));  // the manager follows the site's size

  std::vector<TPanel*> panels;
  for (int i = 0; i < 3; ++i) {
    auto* p = new TPanel(host.get());
    p->SetParent(host.get());
    panels.push_back(p);
  }
  ASSERT_TRUE(panels[0]->ManualDock(site));
  ASSERT_TRUE(panels[1]->ManualDock(site));
  ASSERT_TRUE(panels[2]->ManualDock(site, panels[1], alTop));  // before the second
  auto* tree = static_cast<TDockTree*>(site->DockManager());
  ASSERT_EQ(tree->ControlCount(), 3);
  EXPECT_EQ(tree->Controls(1), panels[2]);
  EXPECT_EQ(panels[0]->BoundsRect(), (RECT{0, 0, 300, 66}));
  EXPECT_EQ(panels[2]->BoundsRect(), (RECT{0, 66, 300, 133}));
  EXPECT_EQ(panels[1]->BoundsRect(), (RECT{0, 133, 300, 200}));
  EXPECT_EQ(panels[1]->Parent(), site);

  site->SetHeight(100);
  EXPECT_EQ(panels[1]->BoundsRect(), (RECT{0, 66, 300, 100}));
  // A control docked elsewhere leaves the bands.
  ASSERT_TRUE(panels[2]->ManualDock(host.get()));
  EXPECT_EQ(tree->ControlCount(), 2);
  EXPECT_EQ(panels[1]->BoundsRect(), (RECT{0, 50, 300, 100}));
  EXPECT_EQ(panels[2]->Parent(), host.get());

  site->SetDockSite(false);
  EXPECT_EQ(site->DockManager(), nullptr);
  EXPECT_TRUE(IsWndProcMethod(site->WindowProc));
}

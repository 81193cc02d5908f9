// The wide page control, tab sheets and progress bar; and a look at a tree and a page
// control together (KAVO_SCREENSHOT=file.bmp saves what the screen shows).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/forms.h"
#include "tests/vcl/test_windows.h"
#include "vcl/streaming.h"
#include "widetext/uni_forms.h"
#include "widetext/uni_labels.h"
#include "widetext/uni_page_control.h"
#include "widetext/uni_progress_bar.h"
#include "widetext/uni_tree_view.h"

using namespace testwin;

namespace {

const WideString kGreek = L"\x0395\x03bb\x03bb\x03b7\x03bd\x03b9\x03ba\x03ac";  // Ελληνικά
const WideString kJapanese = L"\x65e5\x672c\x8a9e";                            // 日本語

struct UniPagesFixture : ::testing::Test {
  std::unique_ptr<THostWindow> host{ShownHost(420, 300)};
  TUniPageControl* pages = nullptr;
  std::vector<TUniTabSheet*> sheets;
  void SetUp() override {
    pages = new TUniPageControl(host.get());
    pages->SetParent(host.get());
    pages->SetBounds(4, 4, 410, 290);
    for (const WideString& caption : {WideString(L"&Audio"), kGreek, kJapanese}) {
      auto* sheet = new TUniTabSheet(host.get());
      sheet->SetCaption(caption);
      sheet->SetPageControl(pages);
      sheets.push_back(sheet);
    }
  }
  WideString TabText(int index) {
    wchar_t text[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(pages->Handle(), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return item.pszText;
  }
};

// Saves the screen area of a window as a 24-bit bitmap file.
void SaveWindowShot(HWND wnd, const char* path) {
  RECT r;
  GetWindowRect(wnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  DWORD stride = ((w * 3 + 3) & ~3), size = stride * h;
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader + size), 0, 0,
                      static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader)};
  if (FILE* f = std::fopen(path, "wb")) {
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
    std::fwrite(bits, size, 1, f);
    std::fclose(f);
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

}  // namespace

TEST_F(UniPagesFixture, TabsShowWideCaptionsAsTheyAre) {
  EXPECT_TRUE(IsWindowUnicode(pages->Handle()));
  EXPECT_EQ(TabText(0), L"&Audio");
  EXPECT_EQ(TabText(1), kGreek);
  EXPECT_EQ(TabText(2), kJapanese);
  EXPECT_EQ(pages->Tabs()->Objects(2), sheets[2]);

  sheets[1]->SetCaption(kJapanese + L" 2");
  EXPECT_EQ(TabText(1), kJapanese + L" 2");
  // A caption set through the framework's 8-bit text shows converted.
  sheets[1]->TControl::SetCaption("Tags");
  EXPECT_EQ(TabText(1), L"Tags");
  EXPECT_EQ(sheets[1]->Caption(), L"Tags");

  // Tabs hidden and shown again, and a new window, keep the wide captions.
  sheets[0]->SetTabVisible(false);
  EXPECT_EQ(TabText(0), L"Tags");
  sheets[0]->SetTabVisible(true);
  pages->RecreateWnd();
  EXPECT_EQ(TabText(0), L"&Audio");
  EXPECT_EQ(TabText(2), kJapanese);

  // The accelerator of a wide caption picks its page.
  int changes = 0;
  pages->OnChange = [&](TObject*) { ++changes; };
  pages->SetActivePage(sheets[2]);
  EXPECT_EQ(pages->Perform(CM_DIALOGCHAR, 'a', 0), 1);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_EQ(changes, 1);
}

TEST(UniTabSheet, EightBitTextWithoutAWindowBecomesTheWideCaption) {
  TUniTabSheet sheet(nullptr);
  sheet.SetCaption(kGreek);
  EXPECT_EQ(sheet.Caption(), kGreek);
  sheet.TControl::SetCaption("plain");
  EXPECT_EQ(sheet.Caption(), L"plain");
  EXPECT_EQ(sheet.TControl::Caption(), "plain");
}

TEST(UniProgressBar, ShowsThePositionInAUnicodeWindow) {
  std::unique_ptr<THostWindow> host{ShownHost()};
  auto* bar = new TUniProgressBar(host.get());
  bar->SetParent(host.get());
  bar->SetPosition(30);
  bar->SetHint(kJapanese);
  EXPECT_TRUE(IsWindowUnicode(bar->Handle()));
  EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 30);
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 40);
  EXPECT_EQ(bar->Hint(), kJapanese);
}

TEST(UniControlsLook, TreeAndPagesWithGreekAndJapanese) {
  std::unique_ptr<THostWindow> host{ShownHost(520, 300)};
  auto* pages = new TUniPageControl(host.get());
  pages->SetParent(host.get());
  pages->SetBounds(4, 4, 510, 290);
  std::vector<TUniTabSheet*> sheets;
  for (const WideString& caption : {kGreek, kJapanese, WideString(L"\x0391\x03c5\x03b4\x03b9\x03bf / \x97f3\x58f0")}) {
    auto* sheet = new TUniTabSheet(host.get());
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
    sheets.push_back(sheet);
  }
  auto* tree = new TUniTreeView(host.get());
  tree->SetParent(sheets[0]);
  tree->SetBounds(8, 8, 300, 220);
  TUniTreeNodes* items = tree->Items();
  TUniTreeNode* root = items->Add(nullptr, L"\x0388\x03b3\x03b3\x03c1\x03b1\x03c6\x03b1");  // Έγγραφα
  items->AddChild(root, L"\x30d3\x30c7\x30aa.mp4");  // ビデオ.mp4
  items->AddChild(root, kGreek + L" " + kJapanese);
  items->Add(nullptr, L"\x97f3\x697d");  // 音楽
  root->Expand(false);
  root->Item(1)->SetSelected(true);
  auto* bar = new TUniProgressBar(host.get());
  bar->SetParent(sheets[0]);
  bar->SetBounds(320, 8, 170, 18);
  bar->SetPosition(60);
  UpdateWindow(host->Handle());
  Flush();
  RedrawWindow(host->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Flush();
  EXPECT_TRUE(IsWindowVisible(tree->Handle()));
  EXPECT_EQ(tree->Selected()->Text(), kGreek + L" " + kJapanese);
  if (const char* path = std::getenv("KAVO_SCREENSHOT")) SaveWindowShot(host->Handle(), path);
}

TEST(UniStoredPages, WideCaptionsAreReadFromADescription) {
  RegisterUniPageControls();
  RegisterUniProgressBar();
  RegisterUniTreeView();
  const char* description = R"(object Host: THostWindow
  object Pages: TUniPageControl
    Width = 300
    Height = 200
    ActivePage = Japanese
    object Greek: TUniTabSheet
      Caption = #917#955#955#951#957#953#954#940
    end
    object Japanese: TUniTabSheet
      Caption = #26085#26412#35486
      Hint = #26085
      object Bar: TUniProgressBar
        Position = 70
      end
      object Tree: TUniTreeView
        Width = 200
      end
    end
  end
end
)";
  std::unique_ptr<THostWindow> host{ShownHost()};
  ReadComponentData(description, std::strlen(description), host.get(), "pages.dfm");
  auto* pages = dynamic_cast<TUniPageControl*>(host->FindComponent("Pages"));
  ASSERT_NE(pages, nullptr);
  auto tabText = [&](int index) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(pages->Handle(), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return WideString(item.pszText);
  };
  EXPECT_EQ(tabText(0), kGreek);
  EXPECT_EQ(tabText(1), kJapanese);
  EXPECT_EQ(pages->TabIndex(), 1);
  auto* sheet = dynamic_cast<TUniTabSheet*>(host->FindComponent("Japanese"));
  EXPECT_EQ(sheet->Hint(), L"\x65e5");
  EXPECT_EQ(dynamic_cast<TUniProgressBar*>(host->FindComponent("Bar"))->Position(), 70);
  EXPECT_NE(dynamic_cast<TUniTreeView*>(host->FindComponent("Tree")), nullptr);
}

TEST(UniControlsLook, LabelEditorStartsWithTheWideText) {
  std::unique_ptr<THostWindow> host{ShownHost(320, 200)};
  auto* tree = new TUniTreeView(host.get());
  tree->SetParent(host.get());
  tree->SetBounds(4, 4, 300, 180);
  TUniTreeNode* node = tree->Items()->Add(nullptr, kGreek + L" " + kJapanese);
  tree->Items()->Add(nullptr, kJapanese);
  tree->SetFocus();
  ASSERT_TRUE(node->EditText());
  Flush();
  wchar_t text[64] = {};
  GetWindowTextW(tree->EditHandle(), text, 64);
  EXPECT_EQ(WideString(text), kGreek + L" " + kJapanese);
  if (const char* path = std::getenv("KAVO_SCREENSHOT_EDIT")) SaveWindowShot(host->Handle(), path);
  node->EndEdit(true);
  EXPECT_EQ(node->Text(), kGreek + L" " + kJapanese);
}

// ---------------------------------------------------------------------------
// Docking

namespace {

const WideString kFirstLine = L"\x0395\x03c4\x03b9\x03ba\x03ad\x03c4\x03b5\x03c2";  // Ετικέτες
const WideString kSecondLine = L"\x03c4\x03c9\x03bd \x03b1\x03c1\x03c7\x03b5\x03af\x03c9\x03bd";  // των αρχείων

// A wide form without a border (without a window manager Wine waits for one whenever a
// captioned window goes), with a Greek label on it.
TUniForm* NewGreekForm(const WideString& caption) {
  TUniForm* form = TCustomForm::CreateNew<TUniForm>(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetCaption(caption);
  auto* label = new TUniLabel(form);
  label->SetParent(form);
  label->SetBounds(12, 12, 300, 20);
  label->SetCaption(kSecondLine + L" \x2014 " + kJapanese);
  return form;
}

}  // namespace

TEST_F(UniPagesFixture, ADockedFormsTabShowsTheFirstLineOfItsWideCaption) {
  std::unique_ptr<TUniForm, FormFree> form(NewGreekForm(kFirstLine + L"\r\n" + kSecondLine));
  ASSERT_TRUE(form->ManualDock(pages));
  ASSERT_EQ(pages->PageCount(), 4);
  auto* sheet = dynamic_cast<TUniTabSheet*>(pages->Pages(3));
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(form->Parent(), sheet);
  EXPECT_EQ(sheet->Caption(), kFirstLine);
  // A hidden form's tab is not shown.
  EXPECT_FALSE(sheet->TabVisible());
  EXPECT_EQ(pages->Tabs()->Count(), 3);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);

  form->Show();
  ASSERT_EQ(pages->Tabs()->Count(), 4);
  EXPECT_EQ(TabText(3), kFirstLine);
  // Changed while the form has no window yet (its sheet is not in front)...
  EXPECT_FALSE(form->HandleAllocated());
  form->SetCaption(kJapanese + L"\n" + kGreek);
  EXPECT_EQ(TabText(3), kJapanese);
  // ...and through its Unicode window.
  pages->SetActivePage(sheet);
  Flush();
  ASSERT_TRUE(form->HandleAllocated());
  EXPECT_TRUE(IsWindowUnicode(form->WindowHandle()));
  EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
  form->SetCaption(kFirstLine + L"\r\n" + kSecondLine);
  EXPECT_EQ(TabText(3), kFirstLine);
  EXPECT_EQ(form->Caption(), kFirstLine + L"\r\n" + kSecondLine);

  RedrawWindow(host->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Flush();
  if (const char* path = std::getenv("KAVO_SCREENSHOT_DOCK")) SaveWindowShot(host->Handle(), path);

  form->Hide();
  EXPECT_EQ(pages->Tabs()->Count(), 3);
  EXPECT_NE(pages->ActivePage(), sheet);
}

TEST(UniPageControlDocking, AFailingDockLeavesNoSheetBehind) {
  // A form cannot be docked into a page control that is on the form itself.
  std::unique_ptr<TUniForm, FormFree> form(NewGreekForm(kFirstLine));
  auto* pages = new TUniPageControl(form.get());
  pages->SetParent(form.get());
  pages->SetBounds(0, 40, 300, 200);
  form->Show();
  Flush();
  EXPECT_THROW(form->ManualDock(pages), EInvalidOperation);
  EXPECT_EQ(pages->PageCount(), 0);
  EXPECT_EQ(pages->DockClientCount(), 0);
  EXPECT_EQ(form->HostDockSite(), nullptr);
  EXPECT_EQ(form->Parent(), nullptr);
  EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
}

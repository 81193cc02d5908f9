#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "widetext/platform.h"
#include "tests/vcl/app_loop.h"
#include "tests/support/classic_look.h"
#include "tests/widetext/wide_form_controls.h"
#include "vcl/application.h"
#include "vcl/comctrls_updown.h"
#include "vcl/themes.h"
#include "widetext/codecs.h"
#include "widetext/uni_panels.h"
#include "widetext/wide_files.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"
#include "tests/support/forms.h"

using namespace widetest;

namespace {

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

// The form of forms/WideMdiFrame.dfm: a wide MDI frame.
class TWideMdiFrame : public TUniForm {
  VCL_CLASS(TWideMdiFrame)
 public:
  using TUniForm::TUniForm;
};
VCL_CLASS_IMPL(TWideMdiFrame, TUniForm, &CreateComponentOf<TWideMdiFrame>, nullptr)

// The bounding box of the pixels of a window that differ from background.
RECT InkOf(HWND wnd, COLORREF background) {
  RECT client;
  GetClientRect(wnd, &client);
  HDC dc = GetDC(wnd);
  RECT box{client.right, client.bottom, -1, -1};
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x)
      if (GetPixel(dc, x, y) != background) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x);
        box.bottom = std::max<LONG>(box.bottom, y);
      }
  ReleaseDC(wnd, dc);
  return box;
}

// Saves the screen under the window as a bitmap file when KAVO_SHOT_DIR names a folder.
void SaveShot(HWND wnd, const char* name) {
  const char* dir = std::getenv("KAVO_SHOT_DIR");
  if (!dir) return;
  RECT r;
  GetWindowRect(wnd, &r);
  TBitmap shot;
  shot.SetSize(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas()->Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  shot.SaveToFile(std::string(dir) + "\\" + name);
}

TEST(UniPanels, WidePanelCaptionIsAUnicodeWindowTextDrawnCentred) {
  TestApplication app;
  FormPtr<TForm> form(TCustomForm::CreateNew<TForm>(nullptr));
  form->SetBounds(30, 30, 300, 120);
  auto* panel = new TUniPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(0, 0, 280, 60);
  panel->SetParentBackground(false);
  panel->SetColor(clWhite);
  panel->SetBevelOuter(bvNone);
  const WideString caption = U8("Ελληνικά 日本語");
  panel->SetCaption(caption);
  form->Show();
  FlushMessages();
  EXPECT_TRUE(IsWindowUnicode(panel->Handle()));
  EXPECT_EQ(UnicodeWindowText(panel->Handle()), caption);
  EXPECT_EQ(panel->Caption(), caption);
  RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT ink = InkOf(panel->Handle(), ColorToRGB(clWhite));
  ASSERT_GE(ink.right, 0) << "nothing drawn";
  EXPECT_NEAR((ink.left + ink.right) / 2, 140, 4);
  EXPECT_NEAR(ink.top, 59 - ink.bottom, 4);
  panel->SetAlignment(taLeftJustify);
  RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_LT(InkOf(panel->Handle(), ColorToRGB(clWhite)).left, 3);
}

TEST(UniPanels, WideTextsAreWrittenAndReadBackWhole) {
  TestApplication app;
  RegisterUniPanelControls();
  FormPtr<TUniForm> form(TCustomForm::CreateNew<TUniForm>(nullptr));
  auto* panel = new TUniPanel(form.get());
  panel->SetName("pnWide");
  panel->SetParent(form.get());
  panel->SetCaption(U8("Français — Ελληνικά — 日本語"));
  panel->SetHint(U8("Astuce|Μια υπόδειξη"));
  auto* image = new TUniImage(form.get());
  image->SetName("imWide");
  image->SetParent(panel);
  image->SetHint(U8("Lien|https://exemple.fr/日本"));
  auto* bevel = new TUniBevel(form.get());
  bevel->SetName("bvWide");
  bevel->SetParent(panel);
  bevel->SetHint(U8("Ligne — γραμμή"));
  auto* splitter = new TUniSplitter(form.get());
  splitter->SetName("spWide");
  splitter->SetParent(form.get());
  splitter->SetHint(U8("Séparateur — 分割"));
  TMemoryStream stream;
  WriteComponent(&stream, form.get());
  stream.SetPosition(0);
  FormPtr<TUniForm> copy(TCustomForm::CreateNew<TUniForm>(nullptr));
  ReadComponent(&stream, copy.get(), "written");
  auto* panelCopy = dynamic_cast<TUniPanel*>(copy->FindComponent("pnWide"));
  ASSERT_NE(panelCopy, nullptr);
  EXPECT_EQ(panelCopy->Caption(), U8("Français — Ελληνικά — 日本語"));
  EXPECT_EQ(panelCopy->Hint(), U8("Astuce|Μια υπόδειξη"));
  EXPECT_EQ(dynamic_cast<TUniImage*>(copy->FindComponent("imWide"))->Hint(), U8("Lien|https://exemple.fr/日本"));
  EXPECT_EQ(dynamic_cast<TUniBevel*>(copy->FindComponent("bvWide"))->Hint(), U8("Ligne — γραμμή"));
  EXPECT_EQ(dynamic_cast<TUniSplitter*>(copy->FindComponent("spWide"))->Hint(), U8("Séparateur — 分割"));
  copy->HandleNeeded();
  EXPECT_EQ(UnicodeWindowText(panelCopy->Handle()), U8("Français — Ελληνικά — 日本語"));
}

TEST(UniPanels, WideImageLoadsByWideNameAndKeepsItsChangeHandling) {
  TestApplication app;
  FormPtr<TForm> form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* image = new TUniImage(form.get());
  image->SetParent(form.get());
  image->SetAutoSize(true);
  ASSERT_NE(dynamic_cast<TUniPicture*>(image->Picture()), nullptr);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const WideString file = WideString(temp) + U8("image-ελληνικά-日本.bmp");
  {
    TBitmap bitmap;
    bitmap.SetSize(7, 5);
    TUniFileStream stream(file, fmCreate);
    bitmap.SaveToStream(&stream);
  }
  image->Picture()->LoadFromFile(file);
  DeleteFileW(file.c_str());
  EXPECT_EQ(image->Width(), 7);  // AutoSize saw the change
  EXPECT_EQ(image->Height(), 5);
  image->SetHint(U8("Lien — σύνδεσμος|https://exemple.fr/Ελληνικά"));
  EXPECT_EQ(image->Hint(), U8("Lien — σύνδεσμος|https://exemple.fr/Ελληνικά"));
  // Its hint shows in the wide hint window.
  THintInfo info;
  info.HintControl = image;
  info.HintWindowClass = THintWindow::StaticClass();
  EXPECT_EQ(image->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(info.HintWindowClass, TUniCustomHintWindow::StaticClass());
  EXPECT_EQ(WideHintOfShownHint(info.HintStr, info), U8("Lien — σύνδεσμος"));
}

TEST(UniForms, WideMdiChildInAWideFrameAndTheNoMdiFormError) {
  TestApplication wide;
  {
    FormPtr<TUniForm> orphan(TCustomForm::CreateNew<TUniForm>(nullptr));
    orphan->SetFormStyle(fsMDIChild);
    try {
      orphan->HandleNeeded();
      FAIL() << "an MDI child without an MDI frame";
    } catch (const EInvalidOperation& e) {
      EXPECT_STREQ(e.what(), "Cannot create form. No MDI forms are currently active");
    }
  }
  TWideMdiFrame* frame = nullptr;
  Application->CreateForm(frame);
  ASSERT_EQ(Application->MainForm(), frame);
  ASSERT_NE(frame->ClientHandle(), nullptr);
  EXPECT_TRUE(IsWindowUnicode(frame->Handle()));
  frame->SetCaption(U8("Cadre — Πλαίσιο — 枠"));
  EXPECT_EQ(UnicodeWindowText(frame->Handle()), U8("Cadre — Πλαίσιο — 枠"));

  auto* child = TCustomForm::CreateNew<TUniForm>(Application);
  child->SetFormStyle(fsMDIChild);
  child->SetBounds(10, 10, 260, 160);
  child->SetCaption(U8("Enfant — Παιδί — 子"));
  child->Show();
  FlushMessages();
  EXPECT_TRUE(IsWindowUnicode(child->Handle()));
  EXPECT_EQ(GetParent(child->Handle()), frame->ClientHandle());
  EXPECT_EQ(UnicodeWindowText(child->Handle()), U8("Enfant — Παιδί — 子"));
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(frame->ClientHandle(), WM_MDIGETACTIVE, 0, 0)), child->Handle());
  // A new window of the child is again a wide MDI child.
  child->SetAlphaBlend(true);
  child->SetAlphaBlendValue(200);
  HWND childWnd = child->Handle();
  child->Free();
  EXPECT_FALSE(IsWindow(childWnd));
}

TEST(UniForms, AlphaBlendIsAppliedToEveryNewWindowOfAWideForm) {
  TestApplication wide;
  FormPtr<TUniForm> form(TCustomForm::CreateNew<TUniForm>(nullptr));
  form->SetAlphaBlend(true);
  form->SetAlphaBlendValue(77);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    if (round) form->RecreateWnd();
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 77);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_TRUE(IsWindowUnicode(form->Handle()));
  }
}

// A form with the panels' controls and captions in three scripts, looked at themed and
// classic (KAVO_SHOT_DIR keeps the pictures).
TEST(UniPanels, FormWithThePanelsControlsThemedAndClassic) {
  TestApplication app;
  for (bool classic : {false, true}) {
    SCOPED_TRACE(classic ? "classic" : "themed");
    std::unique_ptr<TClassicLookScope> look(classic ? new TClassicLookScope : nullptr);
    FormPtr<TUniForm> form(TCustomForm::CreateNew<TUniForm>(nullptr));
    form->SetBounds(10, 10, 460, 260);
    form->SetCaption(U8("Panneaux — Πίνακες — パネル"));
    auto* top = new TUniPanel(form.get());
    top->SetParent(form.get());
    top->SetAlign(alTop);
    top->SetHeight(40);
    top->SetBevelInner(bvLowered);
    top->SetCaption(U8("Français : panneau en relief"));
    auto* left = new TUniPanel(form.get());
    left->SetParent(form.get());
    left->SetAlign(alLeft);
    left->SetWidth(140);
    left->SetCaption(U8("Ελληνικά"));
    // With themes the panel shows the form behind it; without, its own colour.
    left->SetColor(clInfoBk);
    auto* splitter = new TUniSplitter(form.get());
    splitter->SetParent(form.get());
    splitter->SetLeft(150);
    auto* box = new TScrollBox(form.get());
    box->SetParent(form.get());
    box->SetAlign(alClient);
    auto* inner = new TUniPanel(form.get());
    inner->SetParent(box);
    inner->SetBounds(10, 10, 200, 300);
    inner->SetBevelOuter(bvLowered);
    inner->SetParentBackground(false);
    inner->SetColor(clWindow);
    inner->SetCaption(U8("日本語のパネル"));
    auto* bevel = new TUniBevel(form.get());
    bevel->SetParent(inner);
    bevel->SetBounds(10, 40, 180, 2);
    bevel->SetShape(bsTopLine);
    auto* image = new TUniImage(form.get());
    image->SetParent(inner);
    image->SetBounds(10, 60, 64, 64);
    image->SetStretch(true);
    TBitmap picture;
    picture.SetSize(2, 2);
    picture.Canvas()->SetPixels(0, 0, clRed);
    picture.Canvas()->SetPixels(1, 0, clLime);
    picture.Canvas()->SetPixels(0, 1, clBlue);
    picture.Canvas()->SetPixels(1, 1, clYellow);
    image->Picture()->SetGraphic(&picture);
    auto* edit = new TUniEdit(form.get());
    edit->SetParent(inner);
    edit->SetBounds(90, 60, 60, 22);
    auto* updown = new TUpDown(form.get());
    updown->SetParent(inner);
    updown->SetThousands(false);
    updown->SetMax(1400);
    updown->SetPosition(700);
    updown->SetAssociate(edit);
    form->Show();
    FlushMessages();
    EXPECT_TRUE(box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(edit->Text(), L"700");
    EXPECT_EQ(UnicodeWindowText(inner->Handle()), U8("日本語のパネル"));
    if (classic) EXPECT_FALSE(ThemeServices()->ThemesEnabled());
    SaveShot(form->Handle(), classic ? "panels-classic.bmp" : "panels-themed.bmp");
  }
}

}  // namespace

#include <gtest/gtest.h>

#include "tests/vcl/app_loop.h"
#include "vcl/application.h"
#include "vcl/comctrls_updown.h"
#include "vcl/extctrls.h"
#include "vcl/stdctrls.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"
#include "vcl/themes.h"

namespace {

// The form of forms/MdiFrameForm.dfm: an MDI frame.
class TMdiFrameForm : public TForm {
  VCL_CLASS(TMdiFrameForm)
 public:
  using TForm::TForm;
};
VCL_CLASS_IMPL(TMdiFrameForm, TForm, &CreateComponentOf<TMdiFrameForm>, nullptr)

// The form of forms/ExtControlsForm.dfm.
class TExtControlsForm : public TForm {
  VCL_CLASS(TExtControlsForm)
 public:
  using TForm::TForm;
  TPanel* pnTop = nullptr;
  TImage* imPicture = nullptr;
  TBevel* bvLine = nullptr;
  TShape* shShadow = nullptr;
  TScrollBox* sbThumbs = nullptr;
  TEdit* edSplitSize = nullptr;
  TUpDown* udSplitSize = nullptr;
  TSplitter* spLeft = nullptr;
  int imageClicks = 0;
  void ImageClick(TObject*) { ++imageClicks; }
};

const TClassMembers& ExtControlsFormMembers() {
  static const TClassMembers members = TMemberTable<TExtControlsForm>()
      .Handler("ImageClick", &TExtControlsForm::ImageClick)
      .Field("pnTop", &TExtControlsForm::pnTop)
      .Field("imPicture", &TExtControlsForm::imPicture)
      .Field("bvLine", &TExtControlsForm::bvLine)
      .Field("shShadow", &TExtControlsForm::shShadow)
      .Field("sbThumbs", &TExtControlsForm::sbThumbs)
      .Field("edSplitSize", &TExtControlsForm::edSplitSize)
      .Field("udSplitSize", &TExtControlsForm::udSplitSize)
      .Field("spLeft", &TExtControlsForm::spLeft)
      .Table();
  return members;
}
VCL_CLASS_IMPL_MEMBERS(TExtControlsForm, TForm, &CreateComponentOf<TExtControlsForm>, nullptr,
                       &ExtControlsFormMembers)

class LayeredAndMdiForms : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }
};

TEST_F(LayeredAndMdiForms, ExtControlsAreReadFromTheirDescription) {
  auto* form = TCustomForm::Create<TExtControlsForm>(nullptr);
  std::unique_ptr<TExtControlsForm> owned(form);
  ASSERT_NE(form->pnTop, nullptr);
  EXPECT_EQ(form->pnTop->Alignment(), taLeftJustify);
  EXPECT_EQ(form->pnTop->BevelInner(), bvLowered);
  EXPECT_EQ(form->pnTop->BevelOuter(), bvRaised);
  EXPECT_EQ(form->pnTop->BevelWidth(), 2);
  EXPECT_EQ(form->pnTop->BorderWidth(), 3);
  EXPECT_FALSE(form->pnTop->ParentBackground());
  EXPECT_TRUE(form->imPicture->Stretch() && form->imPicture->Center() && form->imPicture->Proportional());
  EXPECT_EQ(form->bvLine->Shape(), bsTopLine);
  EXPECT_EQ(form->bvLine->Style(), bsRaised);
  EXPECT_EQ(form->shShadow->Shape(), stRoundRect);
  EXPECT_EQ(form->shShadow->Brush()->Color(), clBlack);
  EXPECT_EQ(form->shShadow->Pen()->Style(), psClear);
  EXPECT_TRUE(form->sbThumbs->HorzScrollBar()->Tracking);
  EXPECT_EQ(form->sbThumbs->VertScrollBar()->Increment, 16);
  EXPECT_EQ(form->sbThumbs->BorderStyle(), bsNone);
  EXPECT_EQ(form->udSplitSize->Associate(), form->edSplitSize);
  EXPECT_EQ(form->udSplitSize->Min(), 1);
  EXPECT_EQ(form->udSplitSize->Max(), 1400);
  EXPECT_EQ(form->udSplitSize->Position(), 700);
  EXPECT_EQ(form->spLeft->MinSize, 50);
  EXPECT_EQ(form->spLeft->Align(), alLeft);
  form->imPicture->Click();
  EXPECT_EQ(form->imageClicks, 1);
  form->HandleNeeded();
  EXPECT_EQ(form->edSplitSize->Text(), "700");
}

TEST_F(LayeredAndMdiForms, ExtControlsWrittenReadBackWithTheirPicture) {
  std::unique_ptr<TExtControlsForm> form(TCustomForm::Create<TExtControlsForm>(nullptr));
  TBitmap bitmap;
  bitmap.SetSize(3, 2);
  bitmap.Canvas()->SetPixels(2, 1, clRed);
  form->imPicture->Picture()->SetGraphic(&bitmap);
  form->shShadow->Pen()->SetWidth(3);
  form->pnTop->SetBevelOuter(bvNone);
  form->sbThumbs->VertScrollBar()->Tracking = true;
  form->sbThumbs->HandleNeeded();
  auto* thumb = new TButton(form.get());
  thumb->SetName("btThumb");
  thumb->SetParent(form->sbThumbs);
  thumb->SetBounds(0, 250, 60, 25);  // below the box: a range of its own making
  ASSERT_EQ(form->sbThumbs->VertScrollBar()->Range(), 275);
  TMemoryStream stream;
  WriteComponent(&stream, form.get());
  stream.SetPosition(0);
  std::unique_ptr<TExtControlsForm> copy(TCustomForm::CreateNew<TExtControlsForm>(nullptr));
  ReadComponent(&stream, copy.get(), "written");
  ASSERT_NE(copy->imPicture, nullptr);
  auto* read = dynamic_cast<TBitmap*>(copy->imPicture->Picture()->Graphic());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Width(), 3);
  EXPECT_EQ(read->Height(), 2);
  EXPECT_EQ(read->Canvas()->Pixels(2, 1), clRed);
  EXPECT_EQ(copy->shShadow->Pen()->Width(), 3);
  EXPECT_EQ(copy->shShadow->Brush()->Color(), clBlack);
  EXPECT_EQ(copy->pnTop->BevelOuter(), bvNone);
  EXPECT_EQ(copy->pnTop->BevelInner(), bvLowered);
  EXPECT_TRUE(copy->sbThumbs->VertScrollBar()->Tracking);
  EXPECT_TRUE(copy->sbThumbs->AutoScroll());  // the range came from the children, not from the description
  EXPECT_EQ(copy->udSplitSize->Associate(), copy->edSplitSize);
  EXPECT_EQ(copy->udSplitSize->Position(), 700);
}

TEST_F(LayeredAndMdiForms, AlphaBlendAndTransparentColorSurviveANewWindow) {
  auto* form = TCustomForm::CreateNew<TForm>(nullptr);
  std::unique_ptr<TForm> owned(form);
  form->SetAlphaBlend(true);
  form->SetAlphaBlendValue(128);
  HWND first = form->Handle();
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(first, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
  form->SetBorderStyle(bsDialog);  // a new window
  ASSERT_NE(form->Handle(), first);
  EXPECT_TRUE(GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  alpha = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);

  form->SetAlphaBlend(false);
  form->SetTransparentColorValue(clFuchsia);
  form->SetTransparentColor(true);
  form->RecreateWnd();
  COLORREF key = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), &key, nullptr, &flags));
  EXPECT_EQ(key, ColorToRGB(clFuchsia));
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
  form->SetTransparentColor(false);
  EXPECT_FALSE(GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(LayeredAndMdiForms, MdiChildrenLiveInTheMainFormsClientAndNeedOne) {
  apploop::TStandInApplication app;
  {
    // No main form yet.
    auto* orphan = TCustomForm::CreateNew<TForm>(nullptr);
    std::unique_ptr<TForm> owned(orphan);
    orphan->SetFormStyle(fsMDIChild);
    try {
      orphan->HandleNeeded();
      FAIL() << "an MDI child without an MDI frame";
    } catch (const EInvalidOperation& e) {
      EXPECT_STREQ(e.what(), "Cannot create form. No MDI forms are currently active");
    }
    EXPECT_FALSE(orphan->HandleAllocated());
  }
  TMdiFrameForm* frame = nullptr;
  app->CreateForm(frame);
  ASSERT_EQ(app->MainForm(), frame);
  EXPECT_EQ(frame->FormStyle(), fsMDIForm);
  HWND client = frame->ClientHandle();
  ASSERT_NE(client, nullptr);
  char cls[32] = {};
  GetClassNameA(client, cls, sizeof cls);
  EXPECT_STRCASEEQ(cls, "MDIClient");
  RECT inside{};
  GetWindowRect(client, &inside);
  RECT frameClient{};
  GetClientRect(frame->Handle(), &frameClient);
  EXPECT_EQ(inside.right - inside.left, frameClient.right);  // the client fills the frame

  auto* child = TCustomForm::CreateNew<TForm>(&app.App());
  child->SetFormStyle(fsMDIChild);
  child->SetCaption("Child");
  child->SetBounds(10, 10, 200, 120);
  child->Show();
  EXPECT_EQ(GetParent(child->Handle()), client);
  EXPECT_TRUE(GetWindowLongPtrA(child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)), child->Handle());
  // Going, through the client: nothing of it stays.
  HWND childWnd = child->Handle();
  child->Free();
  EXPECT_FALSE(IsWindow(childWnd));
}

TEST_F(LayeredAndMdiForms, AFormHearsOfThemesSwitchedOnAndOff) {
  if (!ThemeServices()->ThemesEnabled()) GTEST_SKIP() << "no theme active here";
  HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
  auto setProperties = reinterpret_cast<void(WINAPI*)(DWORD)>(GetProcAddress(uxtheme, "SetThemeAppProperties"));
  ASSERT_NE(setProperties, nullptr);
  auto* form = TCustomForm::CreateNew<TForm>(nullptr);
  std::unique_ptr<TForm> owned(form);
  setProperties(0);
  SendMessageA(form->Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_FALSE(ThemeServices()->ThemesEnabled());
  setProperties(1 | 2 | 4);
  SendMessageA(form->Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_TRUE(ThemeServices()->ThemesEnabled());
  FreeLibrary(uxtheme);
}

}  // namespace

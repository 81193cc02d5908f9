// The open-picture dialog: preview sizing, the pane's answer to a selection (a picture, a
// folder, a file that is no picture, the same file again), the silent paint panel, and a
// real run with the pane inside the system's dialog.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include <windows.h>
#include <commctrl.h>

#include "widetext/platform.h"
#include "tests/widetext/temp_folder.h"
#include "tests/widetext/wide_form_controls.h"
#include "widetext/codecs.h"
#include "widetext/uni_picture_dialog.h"

using namespace widetest;

namespace {

WideString U8(const char* text) { return Utf8Decode(AnsiString(text)); }

TEST(PicturePreview, WindowSizeFollowsThePictureUpToThreeQuartersOfTheMonitor) {
  struct Case {
    SIZE picture, monitor, expected;
  } cases[] = {
      {{4000, 3000}, {1600, 1200}, {1200, 900}},
      {{100, 80}, {1600, 1200}, {300 - 290 + 100 + 10, 200 - 190 + 80 + 10}},
      {{2000, 50}, {1024, 768}, {768, 200 - 190 + 50 + 10}},
      {{0, 0}, {1024, 768}, {300, 200}},  // no picture: the window keeps its size
  };
  for (const auto& c : cases) {
    SIZE s = PreviewClientSize(SIZE{300, 200}, SIZE{290, 190}, c.picture, c.monitor);
    EXPECT_EQ(s.cx, c.expected.cx) << c.picture.cx;
    EXPECT_EQ(s.cy, c.expected.cy) << c.picture.cx;
  }
}

// A 24-bit bitmap file of Width x Height.
void WriteBitmap(const WideString& Path, int Width, int Height) {
  const int stride = (Width * 3 + 3) & ~3;
  std::string data(54 + stride * Height, '\0');
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&data[at], &v, 4); };
  data[0] = 'B';
  data[1] = 'M';
  put32(2, static_cast<uint32_t>(data.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(Width));
  put32(22, static_cast<uint32_t>(Height));
  data[26] = 1;
  data[28] = 24;
  for (size_t i = 54; i < data.size(); ++i) data[i] = static_cast<char>(0x80);
  ASSERT_TRUE(TempFolder::MakeFile(Path, data));
}

class TTestPictureDialog : public TUniOpenPictureDialog {
 public:
  using TUniOpenPictureDialog::TUniOpenPictureDialog;
  using TUniOpenPictureDialog::DoSelectionChange;
};

class PictureDialog : public ::testing::Test {
 protected:
  TestApplication app;
  TempFolder folder;
};

TEST_F(PictureDialog, SelectionPreviewsPicturesOnlyAndOnce) {
  TTestPictureDialog dialog(nullptr);
  EXPECT_EQ(dialog.Filter(), AnsiToWide(GraphicFilter(TGraphic::GraphicClass())));
  EXPECT_FALSE(dialog.IsFilterStored());
  int selections = 0;
  dialog.OnSelectionChange = [&](TObject*) { ++selections; };

  const WideString picture = folder / U8("εικόνα.bmp");
  WriteBitmap(picture, 40, 30);
  dialog.SetFileName(picture);
  dialog.DoSelectionChange();
  EXPECT_EQ(dialog.PictureLabel()->Caption(), L" (40x30)");
  EXPECT_TRUE(dialog.PreviewButton()->Enabled());
  EXPECT_EQ(dialog.PaintPanel()->Caption(), L"");
  EXPECT_EQ(dialog.PaintBox()->Picture()->Width(), 40);

  // The same file again is not read again, even when it has gone meanwhile.
  DeleteFileW(picture.c_str());
  dialog.DoSelectionChange();
  EXPECT_EQ(dialog.PictureLabel()->Caption(), L" (40x30)");
  EXPECT_EQ(dialog.PaintBox()->Picture()->Width(), 40);

  const WideString notAPicture = folder / U8("σημειώσεις.bmp");
  TempFolder::MakeFile(notAPicture, "these are notes");
  for (const WideString& name : {folder.Path(), notAPicture, folder / L"missing.bmp"}) {
    dialog.SetFileName(name);
    dialog.DoSelectionChange();
    EXPECT_EQ(dialog.PictureLabel()->Caption(), L"Picture:");
    EXPECT_FALSE(dialog.PreviewButton()->Enabled());
    EXPECT_EQ(dialog.PaintPanel()->Caption(), L"(None)");
    EXPECT_EQ(dialog.PaintBox()->Picture()->Graphic(), nullptr);
  }
  EXPECT_EQ(selections, 5);  // the dialog's own selection event runs every time
}

class TFailingPaint : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;

 protected:
  void Paint() override { throw EInvalidGraphic("broken picture"); }
};

TEST_F(PictureDialog, SilentPaintPanelShowsInvalidImageInsteadOfFailing) {
  auto* form = TCustomForm::CreateNew<TForm>(nullptr);
  auto* panel = new TUniSilentPaintPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 100, 100);
  auto* broken = new TFailingPaint(form);
  broken->SetParent(panel);
  broken->SetBounds(10, 10, 50, 50);
  form->Show();
  RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_EQ(panel->Caption(), L"Invalid image");
  form->Free();
}

// Runs Action from a timer of the modal loop that is about to start, until it answers true.
void WhileModal(std::function<bool()> Action) {
  static std::function<bool()> pending;
  pending = std::move(Action);
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    if (pending && pending()) {
      KillTimer(nullptr, id);
      pending = nullptr;
    }
  });
}

TEST_F(PictureDialog, PaneShowsInsideTheDialogAtTheRightOfTheStandardControls) {
  WriteBitmap(folder / U8("εξώφυλλο.bmp"), 8, 8);
  TUniOpenPictureDialog dialog(nullptr);
  dialog.SetInitialDir(folder.Path());
  bool checked = false;
  for (int run = 0; run < 2; ++run) {  // a second run builds the pane again in the new dialog
    checked = false;
    WhileModal([&] {
      if (!dialog.Handle() || !IsWindowVisible(GetParent(dialog.Handle()))) return false;
      HWND pane = dialog.PicturePanel()->WindowHandle();
      EXPECT_TRUE(pane && IsWindowVisible(pane));
      EXPECT_EQ(GetParent(pane), dialog.Handle());
      RECT placeholder{};
      GetWindowRect(GetDlgItem(dialog.Handle(), 1119), &placeholder);
      RECT paneRect{};
      GetWindowRect(pane, &paneRect);
      EXPECT_GE(paneRect.left, placeholder.right);
      EXPECT_GT(paneRect.right - paneRect.left, 50);
      EXPECT_EQ(dialog.PaintPanel()->Caption(), L"(None)");
      EXPECT_EQ(dialog.PreviewButton()->Parent(), dialog.PicturePanel());
      EXPECT_FALSE(dialog.PreviewButton()->Glyph()->Empty());
      PostMessageW(GetParent(dialog.Handle()), WM_COMMAND, IDCANCEL, 0);
      checked = true;
      return true;
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(checked);
  }
}

BOOL CALLBACK FindFileList(HWND wnd, LPARAM param) {
  char cls[64] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  if (std::string(cls) != "SysListView32") return TRUE;
  *reinterpret_cast<HWND*>(param) = wnd;
  return FALSE;
}

// Selecting a file in the dialog's list previews it: its name is read from the running
// dialog.
TEST_F(PictureDialog, FileSelectedInTheDialogIsPreviewed) {
  WriteBitmap(folder / U8("εξώφυλλο.bmp"), 64, 48);
  TUniOpenPictureDialog dialog(nullptr);
  dialog.SetInitialDir(folder.Path());
  bool selected = false;
  WideString previewed;
  WhileModal([&] {
    if (!dialog.Handle()) return false;
    HWND shown = GetParent(dialog.Handle());
    if (!selected) {
      HWND list = nullptr;
      EnumChildWindows(shown, &FindFileList, reinterpret_cast<LPARAM>(&list));
      if (!list) return false;
      LVITEMW item{};
      item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
      selected = true;
      return false;
    }
    if (dialog.PictureLabel()->Caption() != L" (64x48)") return false;
    previewed = dialog.FileName();
    PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(previewed, folder / U8("εξώφυλλο.bmp"));
  EXPECT_TRUE(dialog.PreviewButton()->Enabled());
  EXPECT_EQ(dialog.PaintBox()->Picture()->Width(), 64);
}

TEST_F(PictureDialog, PreviewWindowShowsThePictureWithItsFrame) {
  TTestPictureDialog dialog(nullptr);
  WriteBitmap(folder / L"cover.bmp", 120, 90);
  dialog.SetFileName(folder / L"cover.bmp");
  dialog.DoSelectionChange();
  SIZE client{};
  WideString caption;
  WhileModal([&] {
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (f->Name() != "PreviewForm" || !IsWindowVisible(f->WindowHandle())) continue;
      client = SIZE{f->ClientWidth(), f->ClientHeight()};
      caption = static_cast<TUniForm*>(f)->Caption();
      PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
      return true;
    }
    return false;
  });
  dialog.ShowPreview();
  EXPECT_EQ(caption, L"Preview");
  // The picture and 10 pixels of room: the panel's border is all that is left around it.
  EXPECT_GE(client.cx, 120 + 10);
  EXPECT_LE(client.cx, 120 + 10 + 8);
  EXPECT_GE(client.cy, 90 + 10);
  EXPECT_LE(client.cy, 90 + 10 + 8);
}

}  // namespace

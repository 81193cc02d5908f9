// The map-network-drive dialog: the letters it offers, and its form driven by real clicks.
#include <gtest/gtest.h>

#include <cstring>

#include "explorer/net_path_dialog.h"
#include "tests/explorer/explorer_temp_tree.h"
#include "tests/explorer/explorer_ui.h"
#include "vcl/application.h"

namespace {

DWORD Mask(const char* Letters) {
  DWORD m = 0;
  for (const char* p = Letters; *p; ++p) m |= 1u << (*p - 'A');
  return m;
}

std::vector<AnsiString> Letters(char From, char To, const char* Except = "") {
  std::vector<AnsiString> v;
  for (char c = From; c <= To; ++c)
    if (!std::strchr(Except, c)) v.push_back(AnsiString(1, c) + ":");
  return v;
}

TEST(OfferedDriveLetters, LettersAfterTheLastDriveOrTheFreeOnesWhenZIsTaken) {
  struct Case {
    const char* drives;
    AnsiString first;
    std::vector<AnsiString> letters;
  } cases[] = {
      {"ABCD", "E:", Letters('E', 'Z')},
      {"C", "D:", Letters('D', 'Z')},
      {"CF", "G:", Letters('G', 'Z')},  // the gap at D and E is not offered
      {"", "A:", Letters('A', 'Z')},
      // Wine: C: and Z:. Nothing lies above Z, so the free letters are offered, the
      // highest proposed.
      {"CZ", "Y:", Letters('A', 'Y', "C")},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "", {}},
  };
  for (const auto& c : cases) {
    TOfferedDrives offered = OfferedDriveLetters(Mask(c.drives));
    EXPECT_EQ(offered.First, c.first) << c.drives;
    EXPECT_EQ(offered.Letters, c.letters) << c.drives;
  }
}

class NetPathDialog : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }
  bool Shown() { return dlg.Form()->HandleAllocated() && IsWindowVisible(dlg.Form()->Handle()); }
  void Press(TButton* Button) { SendMessageW(Button->Handle(), BM_CLICK, 0, 0); }
  TNetPathDlg dlg{nullptr};
};

TEST_F(NetPathDialog, TheFormIsBuiltAsTheDialogDescribes) {
  TForm* f = dlg.Form();
  EXPECT_EQ(f->Caption(), "Map Network Drive");
  EXPECT_EQ(f->BorderStyle(), bsDialog);
  EXPECT_EQ(f->Position(), poScreenCenter);
  EXPECT_EQ(f->ClientWidth(), 382);
  EXPECT_EQ(f->ClientHeight(), 160);
  EXPECT_EQ(f->Font()->Name(), "MS Sans Serif");
  struct Box {
    TControl* c;
    int l, t, w, h;
  } boxes[] = {{dlg.DriveCombo(), 60, 52, 189, 21},    {dlg.PathEdit(), 60, 84, 189, 21},
               {dlg.OkButton(), 272, 52, 75, 23},      {dlg.BrowseButton(), 272, 84, 75, 23},
               {dlg.CancelButton(), 272, 116, 75, 23}, {dlg.ReconnectCheck(), 60, 116, 141, 21}};
  for (const auto& b : boxes) {
    EXPECT_EQ(b.c->Left(), b.l);
    EXPECT_EQ(b.c->Top(), b.t);
    EXPECT_EQ(b.c->Width(), b.w);
  }
  EXPECT_TRUE(dlg.ReconnectCheck()->Checked());
  EXPECT_EQ(dlg.OkButton()->ModalResult, mrOk);
  EXPECT_TRUE(dlg.OkButton()->Default());
  EXPECT_EQ(dlg.CancelButton()->ModalResult, mrCancel);
  // The letters of this machine.
  TOfferedDrives offered = OfferedDriveLetters(GetLogicalDrives());
  EXPECT_EQ(dlg.Drive, offered.First);
  ASSERT_EQ(dlg.DriveList()->Count(), static_cast<int>(offered.Letters.size()));
  for (size_t i = 0; i < offered.Letters.size(); ++i)
    EXPECT_EQ(dlg.DriveList()->Strings(static_cast<int>(i)), offered.Letters[i]);
}

TEST_F(NetPathDialog, OkHandsBackTheLetterThePathAndTheReconnectChoice) {
  dlg.Path = U8("\\\\σέρβερ\\共有");
  AnsiString shownDrive;
  WideString shownPath;
  int shownItems = -1;
  TWhenReady act([&] { return Shown(); },
                 [&] {
                   shownDrive = dlg.DriveCombo()->Text();
                   shownPath = dlg.PathEdit()->Text();
                   shownItems = dlg.DriveCombo()->Items()->Count();
                   SaveScreenShot("net_path_dialog");
                   dlg.DriveCombo()->SetText("Q:");
                   dlg.PathEdit()->SetText(U8("\\\\サーバー\\Μουσική"));
                   SendMessageW(dlg.ReconnectCheck()->Handle(), BM_CLICK, 0, 0);
                   Press(dlg.OkButton());
                 });
  EXPECT_TRUE(dlg.Execute());
  EXPECT_TRUE(act.Done());
  EXPECT_EQ(shownDrive, OfferedDriveLetters(GetLogicalDrives()).First);
  EXPECT_EQ(shownPath, U8("\\\\σέρβερ\\共有"));
  EXPECT_EQ(shownItems, dlg.DriveList()->Count());
  EXPECT_EQ(dlg.Drive, "Q:");
  EXPECT_EQ(dlg.Path, U8("\\\\サーバー\\Μουσική"));
  EXPECT_FALSE(dlg.Reconnect);
}

TEST_F(NetPathDialog, CancelAnswersFalse) {
  TWhenReady act([&] { return Shown(); }, [&] { Press(dlg.CancelButton()); });
  EXPECT_FALSE(dlg.Execute());
  EXPECT_TRUE(act.Done());
  EXPECT_TRUE(dlg.Reconnect);
}

}  // namespace

namespace {

// The shell's folder browser of the thread, when it shows.
HWND ShownBrowser() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(p) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(NetPathDialog, BrowseOpensTheShellsFolderBrowserAndACancelKeepsThePath) {
  dlg.Path = L"\\\\server\\share";
  TWhenReady browse([&] { return Shown(); }, [&] { PostMessageW(dlg.BrowseButton()->Handle(), BM_CLICK, 0, 0); });
  bool browserSeen = false;
  TWhenReady cancelBrowser([&] { return browse.Done() && ShownBrowser() != nullptr; },
                           [&] {
                             browserSeen = true;
                             PostMessageW(ShownBrowser(), WM_COMMAND, IDCANCEL, 0);
                           });
  TWhenReady cancel([&] { return cancelBrowser.Done() && !ShownBrowser() && Shown(); },
                    [&] { Press(dlg.CancelButton()); });
  EXPECT_FALSE(dlg.Execute());
  EXPECT_TRUE(browserSeen);
  EXPECT_EQ(dlg.Path, L"\\\\server\\share");
}

}  // namespace

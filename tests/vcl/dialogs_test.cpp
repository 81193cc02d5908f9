// Common dialogs: the filter buffer, option flags and returned-name parsing as tables; a
// real open dialog driven from its own hook; the message dialog's layout, buttons and
// clipboard text.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "vcl/application.h"
#include "vcl/dialogs.h"
#include "vcl/stdctrls.h"
#include "vcl/streaming.h"

#include <dlgs.h>

namespace {

using namespace std::string_literals;

TEST(FileDialogText, FilterBecomesZeroSeparatedTextsWithTwoMoreZeros) {
  struct Case {
    std::string filter, buffer;
  } cases[] = {
      {"", ""},
      {"Text Files (*.txt)|*.txt", "Text Files (*.txt)\0*.txt\0\0"s},
      {"MP4 Files (*.mp4)|*.mp4|3GPP Files (*.3gp)|*.3gp", "MP4 Files (*.mp4)\0*.mp4\0003GPP Files (*.3gp)\0*.3gp\0\0"s},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeFilterBuffer(c.filter), c.buffer) << c.filter;
}

TEST(FileDialogText, ReturnedNamesAreParsedByStyleAndSelection) {
  struct Case {
    std::string buffer;
    bool multi, oldStyle;
    std::vector<std::string> files;
  } cases[] = {
      // One name: up to the separator.
      {"C:\\dir\\a.srt\0\0"s, false, false, {"C:\\dir\\a.srt"}},
      {"C:\\my dir\\a b.srt\0"s, false, true, {"C:\\my dir\\a b.srt"}},
      // Explorer multi-selection: the folder, then the names.
      {"C:\\dir\0a.srt\0b.srt\0\0"s, true, false, {"C:\\dir\\a.srt", "C:\\dir\\b.srt"}},
      {"C:\\\0a.srt\0b.srt\0\0"s, true, false, {"C:\\a.srt", "C:\\b.srt"}},
      {"C:\\dir\\only.srt\0\0"s, true, false, {"C:\\dir\\only.srt"}},
      // Rooted items stay as they are.
      {"C:\\dir\0D:\\x.srt\0\\y.srt\0c.srt\0\0"s, true, false, {"D:\\x.srt", "\\y.srt", "C:\\dir\\c.srt"}},
      // Old style: blanks separate.
      {"C:\\DIR A.SRT B.SRT\0"s, true, true, {"C:\\DIR\\A.SRT", "C:\\DIR\\B.SRT"}},
      // Nothing returned.
      {"\0\0"s, true, false, {""}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseFileNameBuffer(c.buffer.c_str(), c.multi, c.oldStyle), c.files) << c.buffer;

  // The same rules hold for wide buffers.
  EXPECT_EQ(ParseFileNameBuffer(L"C:\\dir\0a.srt\0b.srt\0\0", true, false),
            (std::vector<std::wstring>{L"C:\\dir\\a.srt", L"C:\\dir\\b.srt"}));
}

TEST(FileDialogText, OptionsBecomeTheSystemsFlags) {
  struct Case {
    TOpenOptions options;
    DWORD flags;
  } cases[] = {
      {0, OFN_ENABLEHOOK | OFN_EXPLORER},
      {OpenOption(ofOverwritePrompt) | OpenOption(ofHideReadOnly) | OpenOption(ofEnableSizing),
       OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_ENABLEHOOK | OFN_EXPLORER},
      {OpenOption(ofAllowMultiSelect) | OpenOption(ofOldStyleDialog), OFN_ALLOWMULTISELECT | OFN_ENABLEHOOK},
      {OpenOption(ofFileMustExist) | OpenOption(ofForceShowHidden) | OpenOption(ofDontAddToRecent),
       OFN_FILEMUSTEXIST | OFN_FORCESHOWHIDDEN | OFN_DONTADDTORECENT | OFN_ENABLEHOOK | OFN_EXPLORER},
      {OpenOption(ofEnableIncludeNotify) | OpenOption(ofNoDereferenceLinks) | OpenOption(ofNoLongNames),
       OFN_ENABLEINCLUDENOTIFY | OFN_NODEREFERENCELINKS | OFN_NOLONGNAMES | OFN_ENABLEHOOK | OFN_EXPLORER},
  };
  for (const auto& c : cases) EXPECT_EQ(OpenDialogFlags(c.options, false), c.flags) << std::hex << c.options;
  EXPECT_EQ(OpenDialogFlags(0, true), DWORD(OFN_ENABLEHOOK | OFN_EXPLORER | OFN_ENABLETEMPLATE));
  EXPECT_EQ(OpenOptionsExToFlagsEx(1u << ofExNoPlacesBar), DWORD(OFN_EX_NOPLACESBAR));

  // After a run, only the read-only box and the extension test come back.
  TOpenOptions before = OpenOption(ofReadOnly) | OpenOption(ofHideReadOnly);
  EXPECT_EQ(OptionsFromReturnedFlags(before, OFN_EXTENSIONDIFFERENT | OFN_FILEMUSTEXIST),
            OpenOption(ofHideReadOnly) | OpenOption(ofExtensionDifferent));
}

TEST(FileDialogText, InitialFolderAndDefaultExtension) {
  EXPECT_EQ(TrimInitialDir(std::string("C:\\")), "C:\\");
  EXPECT_EQ(TrimInitialDir(std::string("C:\\Videos\\")), "C:\\Videos");
  EXPECT_EQ(TrimInitialDir(std::string("\\")), "\\");
  EXPECT_EQ(TrimInitialDir(std::wstring(L"D:\\Ταινίες\\")), L"D:\\Ταινίες");
  EXPECT_EQ(DefaultExtFromFileName("C:\\a.b\\movie.mp4"), "mp4");
  EXPECT_EQ(DefaultExtFromFileName("C:\\a.b\\movie"), "");
}

TEST(FileDialogText, StoredDialogsAreReadFromAFormDescription) {
  InitApplication();
  static const char text[] = R"(object DialogsForm: TForm
  object SaveDialog: TSaveDialog
    DefaultExt = 'mp4'
    Filter = 'MP4 Files (*.mp4)|*.mp4|3GPP Files (*.3gp)|*.3gp'
    FilterIndex = 2
    Options = [ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]
  end
  object FontDialog: TFontDialog
  end
end
)";
  TForm* form = TCustomForm::CreateNew<TForm>(nullptr);
  ReadComponentData(text, sizeof text - 1, form, "dialogs.dfm");
  auto* save = dynamic_cast<TSaveDialog*>(form->FindComponent("SaveDialog"));
  ASSERT_TRUE(save);
  EXPECT_EQ(save->DefaultExt, "mp4");
  EXPECT_EQ(save->FilterIndex, 2);
  EXPECT_EQ(save->Options, OpenOption(ofOverwritePrompt) | OpenOption(ofHideReadOnly) | OpenOption(ofEnableSizing));
  EXPECT_TRUE(dynamic_cast<TFontDialog*>(form->FindComponent("FontDialog")));
  form->Free();
}

// --- a real dialog ---

class FileDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "kavo_dialogs_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  void TearDown() override {
    for (const auto& f : created) DeleteFileA(f.c_str());
    RemoveDirectoryA(folder.c_str());
  }
  std::string MakeFile(const std::string& name) {
    std::string path = folder + "\\" + name;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
    created.push_back(path);
    return path;
  }
  std::string folder;
  std::vector<std::string> created;
};

// Types Text into the file-name box of the shown dialog and presses Open.
void TypeAndConfirm(HWND Dialog, const std::string& Text) {
  SendMessageA(Dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(Text.c_str()));
  SendMessageA(Dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(Text.c_str()));
  PostMessageA(Dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Dialog, IDOK)));
}

TEST_F(FileDialogs, OpenDialogReturnsTheChosenFileAndAsksTheCanCloseEvent) {
  std::string file = MakeFile("movie.mp4");
  TOpenDialog dialog(nullptr);
  dialog.InitialDir = folder;
  dialog.Filter = "MP4 Files (*.mp4)|*.mp4|All files|*.*";
  dialog.Options |= OpenOption(ofFileMustExist);
  int shows = 0, closes = 0, canCloseAsked = 0;
  HWND shownHandle = nullptr;
  dialog.OnShow = [&](TObject*) {
    ++shows;
    shownHandle = dialog.Handle();
    TypeAndConfirm(GetParent(dialog.Handle()), "movie.mp4");
  };
  dialog.OnClose = [&](TObject*) { ++closes; };
  dialog.OnCanClose = [&](TObject*, bool& canClose) {
    ++canCloseAsked;
    EXPECT_EQ(dialog.FileName, file);  // the chosen name is known when asked
    canClose = true;
  };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, file);
  ASSERT_EQ(dialog.Files()->Count(), 1);
  EXPECT_EQ(dialog.Files()->Get(0), file);
  EXPECT_EQ(dialog.FilterIndex, 1);
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(canCloseAsked, 1);
  EXPECT_TRUE(shownHandle);
  EXPECT_EQ(dialog.Handle(), nullptr);
}

// A multi-selection larger than the name buffer is neither cut nor a cancel: the buffer
// grows while the dialog stays.
TEST_F(FileDialogs, SelectionLargerThanTheBufferIsAskedAgain) {
  std::string a = MakeFile(std::string(120, 'a') + ".srt");
  std::string b = MakeFile(std::string(120, 'b') + ".srt");
  TOpenDialog dialog(nullptr);
  dialog.InitialDir = folder;
  dialog.Options |= OpenOption(ofAllowMultiSelect);
  dialog.MaxFileLength = MAX_PATH;  // far less than the two names need
  int shows = 0;
  dialog.OnShow = [&](TObject*) {
    ++shows;
    TypeAndConfirm(GetParent(dialog.Handle()),
                   "\"" + std::string(120, 'a') + ".srt\" \"" + std::string(120, 'b') + ".srt\"");
  };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(shows, 1);
  ASSERT_EQ(dialog.Files()->Count(), 2);
  EXPECT_EQ(dialog.Files()->Get(0), a);
  EXPECT_EQ(dialog.Files()->Get(1), b);
}

TEST_F(FileDialogs, FontDialogStartsFromItsFontAndReturnsTheChoice) {
  TFontDialog dialog(nullptr);
  dialog.Font()->SetName("Tahoma");
  dialog.Font()->SetSize(14);
  AnsiString shownFace;
  dialog.OnShow = [&](TObject*) {
    char face[LF_FACESIZE] = {};
    GetDlgItemTextA(dialog.Handle(), cmb1, face, sizeof face);
    shownFace = face;
    PostMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(shownFace, "Tahoma");
  EXPECT_EQ(dialog.Font()->Name(), "Tahoma");
  EXPECT_EQ(dialog.Font()->Size(), 14);
  EXPECT_EQ(dialog.Handle(), nullptr);
}

// --- message dialogs ---

TEST(MessageDialogLayout, ButtonsAndTextFollowTheDialogUnits) {
  // Dialog units 6 x 13: margins 12 and 13, spacings 15 and 16, buttons 75 x 22 apart by 6.
  TMessageDialogMetrics m;
  m.DialogUnitX = 6;
  m.DialogUnitY = 13;
  m.TextSize = SIZE{200, 26};
  m.HasIcon = true;
  m.ButtonCount = 2;
  m.WidestButtonCaption = 40;
  TMessageDialogLayout l = LayoutMessageDialog(m);
  EXPECT_EQ(l.ButtonWidth, 75);
  EXPECT_EQ(l.ButtonHeight, 23);  // MulDiv rounds 22.75 up
  EXPECT_EQ(l.ButtonSpacing, 6);
  EXPECT_EQ(l.ClientWidth, 200 + 32 + 15 + 2 * 12);
  EXPECT_EQ(l.ClientHeight, 32 + 23 + 16 + 2 * 13);
  EXPECT_EQ(l.Icon.left, 12);
  EXPECT_EQ(l.Icon.top, 13);
  EXPECT_EQ(l.Text.left, 12 + 32 + 15);
  EXPECT_EQ(l.FirstButtonLeft, (l.ClientWidth - (2 * 75 + 6)) / 2);
  EXPECT_EQ(l.ButtonTop, 32 + 13 + 16);

  // Without an icon the text starts at the margin; a wide caption widens every button and
  // the group sets the width when it is wider than the text.
  m.HasIcon = false;
  m.TextSize = SIZE{50, 13};
  m.ButtonCount = 3;
  m.WidestButtonCaption = 90;
  l = LayoutMessageDialog(m);
  EXPECT_EQ(l.Text.left, 12);
  EXPECT_EQ(l.ButtonWidth, 98);
  EXPECT_EQ(l.ClientWidth, 3 * 98 + 2 * 6 + 2 * 12);
  EXPECT_EQ(l.FirstButtonLeft, 12);
  EXPECT_EQ(l.ClientHeight, 13 + 23 + 16 + 2 * 13);
}

TEST(MessageDialogLayout, DefaultAndCancelButtons) {
  struct Case {
    TMsgDlgButtons buttons;
    TMsgDlgBtn def, cancel;
  } cases[] = {
      {mbOKCancel, mbOK, mbCancel},
      {MsgDlgButton(mbYes) | MsgDlgButton(mbNo), mbYes, mbNo},
      {mbYesNoCancel, mbYes, mbCancel},
      {MsgDlgButton(mbOK), mbOK, mbOK},
      {MsgDlgButton(mbAbort) | MsgDlgButton(mbRetry) | MsgDlgButton(mbIgnore), mbRetry, mbOK},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DefaultMsgDlgButton(c.buttons), c.def) << c.buttons;
    EXPECT_EQ(CancelMsgDlgButton(c.buttons), c.cancel) << c.buttons;
  }
}

TEST(MessageDialogLayout, ClipboardTextFramesCaptionMessageAndButtons) {
  std::string divider = std::string(27, '-') + "\r\n";
  EXPECT_EQ(MessageDialogClipboardText<std::string>("Confirm", "Delete?", {"&Yes", "&No", "N&o to All"}),
            divider + "Confirm\r\n" + divider + "Delete?\r\n" + divider + "Yes   No   No to All   \r\n" + divider);
}

// Runs Action once from a timer of the modal loop that is about to start.
void RunSoon(std::function<void()> Action) {
  static std::function<void()> pending;
  pending = std::move(Action);
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto action = std::move(pending);
    pending = nullptr;
    if (action) action();
  });
}

TMessageForm* ShownMessageForm() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* f = dynamic_cast<TMessageForm*>(Screen->Forms(i)); f && f->Visible()) return f;
  return nullptr;
}

TEST(MessageDialogs, OkIsTheDefaultAndEscapeAnswersCancel) {
  InitApplication();
  bool okFocused = false;
  AnsiString caption;
  RunSoon([&] {
    TMessageForm* form = ShownMessageForm();
    ASSERT_TRUE(form);
    caption = form->Caption();
    auto* ok = static_cast<TButton*>(form->FindComponent("OK"));
    ASSERT_TRUE(ok);
    okFocused = ok->Default() && ok->Focused();
    EXPECT_TRUE(static_cast<TButton*>(form->FindComponent("Cancel"))->Cancel);
    EXPECT_TRUE(form->FindComponent("Image"));
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  });
  EXPECT_EQ(MessageDlg("Remove the selected files?", mtWarning, mbOKCancel, 0), mrCancel);
  EXPECT_TRUE(okFocused);
  EXPECT_EQ(caption, "Warning");

  // Yes and No: Yes answers Enter, No is the cancel button.
  RunSoon([&] { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001); });
  EXPECT_EQ(MessageDlg("Go on?", mtConfirmation, MsgDlgButton(mbYes) | MsgDlgButton(mbNo), 0), mrYes);
  RunSoon([&] { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001); });
  EXPECT_EQ(MessageDlg("Go on?", mtConfirmation, MsgDlgButton(mbYes) | MsgDlgButton(mbNo), 0), mrNo);
}

TEST(MessageDialogs, CustomTypeHasNoIconAndTheApplicationsTitle) {
  InitApplication();
  AnsiString title = Application->Title();
  Application->SetTitle("Kavo");
  TForm* form = CreateMessageDialog("Done", mtCustom, MsgDlgButton(mbOK));
  Application->SetTitle(title);
  EXPECT_EQ(form->Caption(), "Kavo");
  EXPECT_EQ(form->FindComponent("Image"), nullptr);
  EXPECT_EQ(form->FindComponent("Message")->ClassName(), "TLabel");
  form->Free();
}

TEST(MessageDialogs, LongMessageWrapsAtHalfTheScreen) {
  InitApplication();
  std::string message;
  for (int i = 0; i < 80; ++i) message += "word ";
  TForm* form = CreateMessageDialog(message, mtInformation, MsgDlgButton(mbOK));
  auto* label = static_cast<TControl*>(form->FindComponent("Message"));
  EXPECT_LE(label->Width(), GetSystemMetrics(SM_CXSCREEN) / 2);
  EXPECT_GT(label->Height(), 2 * form->Font()->Size());  // several lines
  form->Free();
}

}  // namespace

// Wide open and save dialogs: the option and filter mappings as tables, the wide texts kept
// in step with the 8-bit ones, and real runs of the item-based and the classic dialog that
// return Greek file names.
#include <gtest/gtest.h>
#include <vector>

#include <windows.h>
#include <dlgs.h>

#include <cstring>
#include <functional>
#include <memory>

#include "widetext/platform.h"
#include "tests/support/file_dialog_answer.h"
#include "tests/widetext/ansi_platform.h"
#include "tests/widetext/temp_folder.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"
#include "vcl/typinfo.h"
#include "tests/widetext/wide_form_controls.h"
#include "widetext/codecs.h"
#include "widetext/uni_file_dialogs.h"
#include "widetext/platform.h"
#include "widetext/wide_files.h"
#include "tests/support/forms.h"

using namespace widetest;

namespace {

WideString U8(const char* text) { return Utf8Decode(AnsiString(text)); }

TEST(UniFileDialogMaps, ClassicOptionsBecomeItemDialogOptions) {
  struct Case {
    TOpenOptions options;
    TOpenOptionsEx optionsEx;
    TFileDialogOptions expected;
  } cases[] = {
      {OpenOption(ofHideReadOnly) | OpenOption(ofEnableSizing) | OpenOption(ofShowHelp), 0, 0},
      {OpenOption(ofOverwritePrompt) | OpenOption(ofNoChangeDir), 0,
       FileDialogOption(fdoOverWritePrompt) | FileDialogOption(fdoNoChangeDir)},
      {OpenOption(ofAllowMultiSelect) | OpenOption(ofFileMustExist) | OpenOption(ofPathMustExist), 0,
       FileDialogOption(fdoAllowMultiSelect) | FileDialogOption(fdoFileMustExist) | FileDialogOption(fdoPathMustExist)},
      {OpenOption(ofExtensionDifferent), 0, FileDialogOption(fdoStrictFileTypes)},
      {OpenOption(ofNoValidate) | OpenOption(ofCreatePrompt) | OpenOption(ofShareAware) |
           OpenOption(ofNoReadOnlyReturn) | OpenOption(ofNoTestFileCreate),
       0,
       FileDialogOption(fdoNoValidate) | FileDialogOption(fdoCreatePrompt) | FileDialogOption(fdoShareAware) |
           FileDialogOption(fdoNoReadOnlyReturn) | FileDialogOption(fdoNoTestFileCreate)},
      {OpenOption(ofNoDereferenceLinks) | OpenOption(ofDontAddToRecent) | OpenOption(ofForceShowHidden), 1u,
       FileDialogOption(fdoNoDereferenceLinks) | FileDialogOption(fdoDontAddToRecent) |
           FileDialogOption(fdoForceShowHidden) | FileDialogOption(fdoHidePinnedPlaces)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(OpenOptionsToFileDialogOptions(c.options, c.optionsEx), c.expected) << std::hex << c.options;
}

TEST(UniFileDialogMaps, ItemDialogOptionsAreTheSystemsFlags) {
  struct Case {
    TFileDialogOption option;
    DWORD flag;
  } cases[] = {
      {fdoOverWritePrompt, 0x2},        {fdoStrictFileTypes, 0x4},     {fdoPickFolders, 0x20},
      {fdoAllowMultiSelect, 0x200},     {fdoFileMustExist, 0x1000},    {fdoHidePinnedPlaces, 0x40000},
      {fdoNoDereferenceLinks, 0x100000}, {fdoDontAddToRecent, 0x2000000}, {fdoForceShowHidden, 0x10000000},
      {fdoForcePreviewPaneOn, 0x40000000},
  };
  for (const auto& c : cases) EXPECT_EQ(FileDialogOptionsToFlags(FileDialogOption(c.option)), c.flag) << c.option;
  EXPECT_EQ(FileDialogOptionsToFlags(FileDialogOption(fdoOverWritePrompt) | FileDialogOption(fdoPathMustExist)),
            DWORD(0x2 | 0x800));
}

TEST(UniFileDialogMaps, FilterPairsBecomeFileTypes) {
  using Types = std::vector<std::pair<WideString, WideString>>;
  EXPECT_EQ(FilterToFileTypes(L"MP4 Files (*.mp4)|*.mp4|3GPP Files (*.3gp)|*.3gp"),
            (Types{{L"MP4 Files (*.mp4)", L"*.mp4"}, {L"3GPP Files (*.3gp)", L"*.3gp"}}));
  EXPECT_EQ(FilterToFileTypes(U8("Υπότιτλοι|*.srt;*.sub")), (Types{{U8("Υπότιτλοι"), L"*.srt;*.sub"}}));
  EXPECT_EQ(FilterToFileTypes(L"*.mp4"), Types{});
  EXPECT_EQ(FilterToFileTypes(L"A|*.a|B"), (Types{{L"A", L"*.a"}}));
  EXPECT_EQ(FilterToFileTypes(L""), Types{});
}

TEST(UniFileDialogTexts, WideTextsKeepTheirStepWithTheEightBitOnes) {
  TUniOpenDialog dialog(nullptr);
  dialog.SetInitialDir(L"C:\\");
  EXPECT_EQ(dialog.InitialDir(), L"C:\\");  // a drive root keeps its backslash
  dialog.SetInitialDir(U8("C:\\Ταινίες\\"));
  EXPECT_EQ(dialog.InitialDir(), U8("C:\\Ταινίες"));

  dialog.SetFileName(U8("C:\\Ταινίες\\ταινία.mp4"));
  EXPECT_EQ(dialog.FileName(), U8("C:\\Ταινίες\\ταινία.mp4"));
  dialog.TOpenDialog::FileName = "C:\\plain.mp4";  // changed behind the wide text's back
  EXPECT_EQ(dialog.FileName(), L"C:\\plain.mp4");

  dialog.SetFilter(U8("Βίντεο|*.mp4"));
  EXPECT_EQ(dialog.Filter(), U8("Βίντεο|*.mp4"));
}

// A form that stores file dialogs and answers their overwrite question.
class TStoredDialogs : public TForm {
  VCL_CLASS(TStoredDialogs)
 public:
  using TForm::TForm;
  int Overwrites = 0;
  void SaveOverwrite(TObject*, FDE_OVERWRITE_RESPONSE& Response) {
    ++Overwrites;
    Response = FDEOR_ACCEPT;
  }
};
const TClassMembers& StoredDialogsMembers() {
  static const TClassMembers m =
      TMemberTable<TStoredDialogs>().Handler("SaveOverwrite", &TStoredDialogs::SaveOverwrite).Table();
  return m;
}
VCL_CLASS_IMPL_MEMBERS(TStoredDialogs, TForm, nullptr, nullptr, &StoredDialogsMembers)

TEST(UniFileDialogTexts, StoredDialogsKeepTheirFileTypesLinksAndOverwriteHandler) {
  RegisterClasses({TFileSaveDialog::StaticClass(), TFileOpenDialog::StaticClass()});
  const char* description = R"(object Dialogs: TStoredDialogs
  object SaveDialog: TFileSaveDialog
    FileTypes = <
      item
        DisplayName = 'MP4 files'
        FileMask = '*.mp4'
      end
      item
        DisplayName = #917#955#955#951#957#953#954#940
        FileMask = '*.3gp'
      end>
    FavoriteLinks = <
      item
        Location = 'C:\'
      end>
    OnOverwrite = SaveOverwrite
  end
end
)";
  auto check = [](TStoredDialogs* root) {
    auto* dialog = dynamic_cast<TFileSaveDialog*>(root->FindComponent("SaveDialog"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->FileTypes()->Count(), 2);
    auto* greek = static_cast<TFileTypeItem*>(dialog->FileTypes()->Items(1));
    EXPECT_EQ(greek->DisplayName, U8("Ελληνικά"));
    EXPECT_EQ(greek->FileMask, L"*.3gp");
    ASSERT_EQ(dialog->FavoriteLinks()->Count(), 1);
    EXPECT_EQ(static_cast<TFavoriteLinkItem*>(dialog->FavoriteLinks()->Items(0))->Location, L"C:\\");
    ASSERT_TRUE(dialog->OnOverwrite);
    FDE_OVERWRITE_RESPONSE response = FDEOR_DEFAULT;
    dialog->OnOverwrite(dialog, response);
    EXPECT_EQ(response, FDEOR_ACCEPT);
    EXPECT_EQ(root->Overwrites, 1);
  };
  std::unique_ptr<TStoredDialogs, FormFree> read(TCustomForm::CreateNew<TStoredDialogs>(nullptr));
  ReadComponentData(description, std::strlen(description), read.get(), "dialogs.dfm");
  check(read.get());
  TMemoryStream stream;
  WriteComponent(&stream, read.get());
  stream.SetPosition(0);
  std::unique_ptr<TStoredDialogs, FormFree> copy(TCustomForm::CreateNew<TStoredDialogs>(nullptr));
  ReadComponent(&stream, copy.get(), "written");
  check(copy.get());
}

TEST(UniFileDialogTexts, OnAnEightBitSystemTheFilesAreTheEightBitLists) {
  TUniOpenDialog dialog(nullptr);
  dialog.TOpenDialog::Files()->Add("C:\\films\\Fran\xe7" "ais.mp4");
  {
    AnsiPlatformScope ansi;
    ASSERT_EQ(dialog.Files()->Count(), 1);
    EXPECT_EQ(dialog.Files()->Get(0), L"C:\\films\\Fran\u00e7ais.mp4");
  }
}

TEST(UniFileDialogTexts, ClientGuidMustBeAGuidOrEmpty) {
  TFileOpenDialog dialog(nullptr);
  dialog.SetClientGuid("{D57C7288-D4AD-4768-BE02-9D969532D960}");
  EXPECT_EQ(dialog.ClientGuid(), "{D57C7288-D4AD-4768-BE02-9D969532D960}");
  EXPECT_THROW(dialog.SetClientGuid("not a guid"), EConvertError);
  dialog.SetClientGuid("");
  EXPECT_EQ(dialog.ClientGuid(), "");
}

// --- real dialogs ---

class UniFileDialogs : public ::testing::Test {
 protected:
  TestApplication app;
  TempFolder folder;
};

TEST_F(UniFileDialogs, ItemDialogReturnsAGreekFileName) {
  WideString name = U8("ταινία_測試.mp4");
  WideString path = folder.Path() + L"\\" + name;
  TempFolder::MakeFile(folder / name, "x");
  TUniOpenDialog dialog(nullptr);
  dialog.SetInitialDir(folder.Path());
  dialog.SetFilter(U8("Βίντεο MP4|*.mp4|Όλα|*.*"));
  dialog.Options |= OpenOption(ofFileMustExist);
  int asked = 0;
  dialog.OnCanClose = [&](TObject*, bool& canClose) {
    ++asked;
    EXPECT_EQ(dialog.FileName(), path);
    canClose = true;
  };
  WhileModal([&] { return TypeIntoShownDialog(name); });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(dialog.FileName(), path);
  ASSERT_EQ(dialog.Files()->Count(), 1);
  EXPECT_EQ(dialog.Files()->Get(0), path);
  EXPECT_EQ(dialog.FilterIndex, 1);
}

TEST_F(UniFileDialogs, ClassicDialogWithATemplateReturnsGreekFilesOfAMultiSelection) {
  WideString a = U8("πρώτο.srt"), b = U8("δεύτερο.srt");
  TempFolder::MakeFile(folder / a, "1");
  TempFolder::MakeFile(folder / b, "2");
  TUniOpenDialog dialog(nullptr);
  dialog.Template = "DLGTEMPLATE";
  dialog.SetInitialDir(folder.Path());
  dialog.Options |= OpenOption(ofAllowMultiSelect);
  dialog.MaxFileLength = MAX_PATH;
  int shows = 0, asked = 0;
  WideString shownPath;
  dialog.OnShow = [&](TObject*) { ++shows; };
  dialog.OnCanClose = [&](TObject*, bool& canClose) {
    ++asked;
    canClose = dialog.Files()->Count() == 2;
  };
  WhileModal([&] { return TypeIntoShownDialog(L"\"" + a + L"\" \"" + b + L"\""); });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(shows, 1);
  EXPECT_GE(asked, 1);
  ASSERT_EQ(dialog.Files()->Count(), 2);
  EXPECT_EQ(dialog.Files()->Get(0), folder.Path() + L"\\" + a);
  EXPECT_EQ(dialog.Files()->Get(1), folder.Path() + L"\\" + b);
  EXPECT_EQ(dialog.FileName(), dialog.Files()->Get(0));
  EXPECT_EQ(dialog.TOpenDialog::Files()->Count(), 2);
}

// While the classic dialog runs, FileName is the path it shows, however long.
TEST_F(UniFileDialogs, FileNameReadWhileTheDialogRunsIsTheWholeShownPath) {
  WideString longName;
  while (longName.size() < 240) longName += U8("ταινία_");
  longName += L".mp4";
  TUniOpenDialog dialog(nullptr);
  dialog.Template = "DLGTEMPLATE";
  dialog.SetInitialDir(folder.Path());
  WideString shown;
  WhileModal([&] {
    HWND shownDialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindVisibleDialog, reinterpret_cast<LPARAM>(&shownDialog));
    HWND edit = nullptr;
    if (shownDialog) EnumChildWindows(shownDialog, &FindVisibleEdit, reinterpret_cast<LPARAM>(&edit));
    if (!edit) return false;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(longName.c_str()));
    shown = dialog.FileName();
    PostMessageW(shownDialog, WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(shown, folder / longName);
  EXPECT_GT(shown.size(), size_t(MAX_PATH));
}

// While a dialog runs, the Help message a system dialog sends its owner (the application
// window) opens the dialog's help context through the application. (Wine's explorer-style
// dialog with a hook tells the hook instead, so the message is sent here as the system sends
// it.)
TEST_F(UniFileDialogs, TheHelpMessageOpensTheDialogsHelpContext) {
  TUniOpenDialog dialog(nullptr);
  dialog.Template = "DLGTEMPLATE";
  dialog.SetInitialDir(folder.Path());
  dialog.Options |= OpenOption(ofShowHelp);
  dialog.HelpContext = 321;
  std::vector<int> asked;
  Application->OnHelp = [&](WORD command, int data, bool& callHelp) {
    if (command == HELP_CONTEXT) asked.push_back(data);
    callHelp = false;
    return true;
  };
  WhileModal([&] {
    HWND shown = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindVisibleDialog, reinterpret_cast<LPARAM>(&shown));
    if (!shown) return false;
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(shown, pshHelp)));
    SendMessageW(Application->Handle(), HelpMsg(), reinterpret_cast<WPARAM>(shown), 0);
    PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  EXPECT_FALSE(dialog.Execute());
  // Once the dialog is gone the message means nothing to the application.
  SendMessageW(Application->Handle(), HelpMsg(), 0, 0);
  Application->OnHelp = nullptr;
  EXPECT_EQ(asked, std::vector<int>{321});
}

TEST_F(UniFileDialogs, ACancelledDialogAnswersFalse) {
  TUniSaveDialog dialog(nullptr);
  dialog.SetInitialDir(folder.Path());
  WhileModal([&] {
    HWND shown = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindVisibleDialog, reinterpret_cast<LPARAM>(&shown));
    if (shown) PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
    return shown != nullptr;
  });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Files()->Count(), 0);
}

}  // namespace

// Wide open and save dialogs: the option and filter mappings as tables, the wide texts kept
// in step with the 8-bit ones, and real runs of the item-based and the classic dialog that
// return Greek file names.
#include <gtest/gtest.h>

#include <functional>

#include "widetext/platform.h"
#include "tests/support/file_dialog_answer.h"
#include "tests/widetext/temp_folder.h"
#include "tests/widetext/wide_form_controls.h"
#include "widetext/codecs.h"
#include "widetext/uni_file_dialogs.h"
#include "widetext/platform.h"
#include "widetext/wide_files.h"

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

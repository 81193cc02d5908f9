// The stream-information query's command line, the list view as text, and whole-file writes.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "app/commands/info_command.h"
#include "app/common/file_write.h"
#include "app/ui/list_export.h"
#include "app/ui/track_row_item.h"
#include "tests/app/argv_support.h"
#include "tests/app/program_session.h"
#include "tests/support/forms.h"
#include "tests/widetext/temp_folder.h"
#include "vcl/forms.h"

namespace {

using C = TTrackColumn;

TEST(InfoCommand, WholeFileOrOneTrack) {
  struct Case {
    const wchar_t* index;
    bool byTrack;
    std::vector<std::wstring> expected;
  } cases[] = {
      {L"2", false, {L"-info", L"C:\\My Films\\a.mp4"}},
      {L"2", true, {L"-info", L"2", L"C:\\My Films\\a.mp4"}},
      {L"audio", true, {L"-info", L"C:\\My Films\\a.mp4"}},
      {L"video", true, {L"-info", L"C:\\My Films\\a.mp4"}},
      {L"sub", true, {L"-info", L"C:\\My Films\\a.mp4"}},
      {L"", true, {L"-info", L"C:\\My Films\\a.mp4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << WideToAnsi(c.index) << " " << c.byTrack);
    TTrackRow row;
    row[C::Path] = L"C:\\My Films\\";
    row[C::File] = L"a.mp4";
    row[C::Index] = c.index;
    const AnsiString line = BuildInfoCommandLine(L"C:\\Tools\\MP4Box.exe", row, c.byTrack);
    EXPECT_EQ(line.rfind("\"C:\\Tools\\MP4Box.exe\" -info ", 0), 0u) << line;
    EXPECT_EQ(ArgumentsOf(line), c.expected);
  }
}

class ListExport : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    list = new TUniListView(form.get());
    list->SetName("TrackList");
    list->SetParent(form.get());
    list->SetViewStyle(vsReport);
    list->SetCheckboxes(true);
  }
  std::unique_ptr<TForm, FormFree> form;
  TUniListView* list = nullptr;
  TempFolder temp;
};

TEST_F(ListExport, TrackRowsGiveOneLinePerRowWithSeventeenSeparators) {
  TTrackRow row;
  row.Checked = true;
  for (int i = 0; i < TrackColumnCount; ++i) row.Columns[i] = L"v" + std::to_wstring(i);
  row[C::Name] = L"Vid\xE9o";
  AppendTrackRow(list, row);
  row.Checked = false;
  AppendTrackRow(list, row);
  const std::wstring file = temp / L"Kavo-infos.txt";
  SaveListviewStrings(list, file);
  const std::string line =
      " | v0 | v1 | v2 | v3 | Vid\xE9o | v5 | v6 | v7 | v8 | v9 | v10 | v11 | v12 | v13 | v14 | v15 | v16\r\n";
  EXPECT_EQ(apptest::ReadFileBytes(file), line + line);

  list->Items()->Clear();
  SaveListviewStrings(list, file);  // replaces the file
  EXPECT_TRUE(TempFolder::Exists(file));
  EXPECT_EQ(apptest::ReadFileBytes(file), "");
}

TEST_F(ListExport, AListNotInReportStyleIsRefusedAndNothingWritten) {
  list->SetViewStyle(vsList);
  const std::wstring file = temp / L"Kavo-infos.txt";
  try {
    SaveListviewStrings(list, file);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "SaveListviewStrings: the listview TrackList is not in vsReport mode.");
  }
  EXPECT_FALSE(TempFolder::Exists(file));
}

TEST(WholeFileWrite, AFailedWriteLeavesTheOldFileAndNoPartAndSaysWhy) {
  TempFolder temp;
  const std::wstring file = temp / L"infos.txt";
  WriteWholeFile(file, "first\r\n");
  WriteWholeFile(file, "second\r\n");
  EXPECT_EQ(apptest::ReadFileBytes(file), "second\r\n");

  // A file another program holds open cannot be replaced.
  HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::wstring missingFolder = temp / L"gone\\infos.txt";
  for (const std::wstring& target : {file, missingFolder}) {
    SCOPED_TRACE(WideToAnsi(target));
    try {
      WriteWholeFile(target, "third\r\n");
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message.find(WideToAnsi(target)), std::string::npos) << e.Message;
      EXPECT_GT(e.Message.size(), WideToAnsi(target).size() + 20) << e.Message;  // and the reason
    }
    EXPECT_FALSE(TempFolder::Exists(target + L".part~"));
  }
  CloseHandle(held);
  EXPECT_EQ(apptest::ReadFileBytes(file), "second\r\n");
}

}  // namespace

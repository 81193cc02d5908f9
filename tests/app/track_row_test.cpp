// Track rows in a real wide list view with check boxes: every row has seventeen sub-items,
// reads back as written, and a column is reached by its name.
#include <gtest/gtest.h>

#include <memory>

#include "app/ui/track_row_item.h"
#include "tests/vcl/test_windows.h"

using namespace testwin;

namespace {

WideString ShownText(TCustomListView* lv, int Row, TTrackColumn Column) {
  wchar_t buffer[256] = {};
  LVITEMW it{};
  it.iSubItem = static_cast<int>(Column) + 1;  // after the check-box column
  it.pszText = buffer;
  it.cchTextMax = 256;
  SendMessageW(lv->Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(&it));
  return buffer;
}

class TrackRowList : public ::testing::Test {
 protected:
  void SetUp() override {
    host.reset(ShownHost(520, 240));
    lv = new TUniListView(host.get());
    lv->SetBounds(4, 4, 500, 220);
    lv->SetViewStyle(vsReport);
    lv->SetCheckboxes(true);
    lv->SetParent(host.get());
    lv->Columns()->Add()->SetWidth(25);
    for (const wchar_t* title : TrackColumnTitles) lv->Columns()->Add()->SetCaption(WideString(title));
  }
  std::unique_ptr<THostWindow> host;
  TUniListView* lv = nullptr;
};

TEST_F(TrackRowList, RowsReadBackAsWrittenWithAllColumns) {
  TTrackRow full;
  full.Checked = true;
  for (int i = 0; i < TrackColumnCount; ++i) full.Columns[i] = L"c" + std::to_wstring(i);
  full[TTrackColumn::Name] = L"\x65e5\x672c\x8a9e \"Mix\"";  // outside the code page
  TTrackRow sparse;  // what the analysis makes of a file it knows by extension
  sparse[TTrackColumn::Path] = L"C:\\v\\";
  sparse[TTrackColumn::File] = L"chapters.txt";
  sparse[TTrackColumn::Type] = L"chap";

  AppendTrackRow(lv, full);
  AppendTrackRow(lv, sparse);

  ASSERT_EQ(lv->Items()->Count(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(lv->Items()->Item(i)->Caption(), L"");
    EXPECT_EQ(lv->Items()->Item(i)->SubItems()->Count(), TrackColumnCount);
  }
  std::vector<TTrackRow> back = ReadTrackRows(lv);
  EXPECT_EQ(back[0], full);
  EXPECT_EQ(back[1], sparse);
  EXPECT_EQ(ShownText(lv, 0, TTrackColumn::Name), full[TTrackColumn::Name]);
  EXPECT_EQ(ShownText(lv, 1, TTrackColumn::Type), L"chap");
  EXPECT_EQ(ShownText(lv, 1, TTrackColumn::Description), L"");
  EXPECT_EQ(back[0].InputPath(), L"c0c1");
}

TEST_F(TrackRowList, ColumnsAndCheckStateChangeOneByOne) {
  TTrackRow row;
  row.Checked = true;
  row[TTrackColumn::Type] = L"audio";
  TTrackRowItem view = AppendTrackRow(lv, row);

  view.Set(TTrackColumn::HEAACSignal, L"sbrx");
  view.SetChecked(false);
  EXPECT_FALSE(lv->Items()->Item(0)->Checked());
  view.SetChecked(true);  // unchecking left every column as it was

  TTrackRow expected = row;
  expected[TTrackColumn::HEAACSignal] = L"sbrx";
  EXPECT_EQ(TrackRowAt(lv, 0).Read(), expected);
  EXPECT_EQ(ShownText(lv, 0, TTrackColumn::HEAACSignal), L"sbrx");
}

}  // namespace

#include <gtest/gtest.h>

#include <memory>

#include "app/ui/status_rows.h"
#include "tests/vcl/test_windows.h"
#include "vcl/application.h"

namespace {

// The text the list's window shows for a row and column.
WideString Shown(TUniListView* lv, int row, int column) {
  wchar_t buffer[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 256;
  SendMessageW(lv->Handle(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return buffer;
}

TEST(StatusRows, EachEventIsARowWithItsImageTimeAndText) {
  InitApplication();
  std::unique_ptr<testwin::THostWindow> host(testwin::ShownHost(420, 200));
  auto* lv = new TUniListView(host.get());
  lv->SetViewStyle(vsReport);
  lv->SetBounds(4, 4, 400, 180);
  lv->SetParent(host.get());
  for (int width : {30, 70, 280}) lv->Columns()->Add()->SetWidth(width);
  SYSTEMTIME t{};
  t.wHour = 7, t.wMinute = 8, t.wSecond = 9;
  AddStatusRow(lv, MakeStatusRow(L"Cr\u00e9ation r\u00e9ussie \u03b1\u03b2", 0, t));
  AddStatusRow(lv, MakeStatusRow(L"Unknown PID", 1, t));
  AddStatusRow(lv, MakeStatusRow(L"aborted", 2, t));
  TUniListItem* now = AddProcessEvent(lv, L"other", 5);
  ASSERT_EQ(lv->Items()->Count(), 4);
  const int images[] = {0, 1, 2, 3};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lv->Items()->Item(i)->ImageIndex(), images[i]);
    EXPECT_EQ(Shown(lv, i, 0), L"");
  }
  EXPECT_EQ(Shown(lv, 0, 1), L"07:08:09");
  EXPECT_EQ(Shown(lv, 0, 2), L"Cr\u00e9ation r\u00e9ussie \u03b1\u03b2");
  EXPECT_EQ(Shown(lv, 3, 2), L"other");
  WideString time = now->SubItems()->Strings(0);
  ASSERT_EQ(time.size(), 8u);
  EXPECT_TRUE(time[2] == L':' && time[5] == L':');
}

}  // namespace

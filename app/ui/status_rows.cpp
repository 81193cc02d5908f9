#include "app/ui/status_rows.h"

TUniListItem* AddStatusRow(TUniCustomListView* List, const TStatusRow& Row) {
  TUniListItem* item = List->Items()->Add();
  item->SetImageIndex(Row.ImageIndex);
  item->SubItems()->Add(Row.Time);
  item->SubItems()->Add(Row.Text);
  return item;
}

TUniListItem* AddProcessEvent(TUniCustomListView* List, const WideString& Text, int Kind) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return AddStatusRow(List, MakeStatusRow(Text, Kind, now));
}

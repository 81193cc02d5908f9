#include "app/ui/track_row_item.h"

WideString TTrackRowItem::Get(TTrackColumn Column) const {
  TWideSubItems* sub = FItem->SubItems();
  int i = static_cast<int>(Column);
  return i < sub->Count() ? sub->Strings(i) : WideString();
}

void TTrackRowItem::Set(TTrackColumn Column, const WideString& Value) {
  TWideSubItems* sub = FItem->SubItems();
  int i = static_cast<int>(Column);
  while (sub->Count() <= i) sub->Add(WideString());
  if (sub->Strings(i) != Value) sub->Put(i, Value);
}

TTrackRow TTrackRowItem::Read() const {
  TTrackRow row;
  row.Checked = FItem->Checked();
  for (int i = 0; i < TrackColumnCount; ++i) row.Columns[i] = Get(static_cast<TTrackColumn>(i));
  return row;
}

void TTrackRowItem::Write(const TTrackRow& Row) {
  TWideSubItems* sub = FItem->SubItems();
  sub->BeginUpdate();
  for (int i = 0; i < TrackColumnCount; ++i) Set(static_cast<TTrackColumn>(i), Row.Columns[i]);
  sub->EndUpdate();
  FItem->SetChecked(Row.Checked);
}

TTrackRowItem AppendTrackRow(TUniCustomListView* List, const TTrackRow& Row) {
  TUniListItem* item = List->Items()->Add();
  item->SetCaption(WideString());
  TTrackRowItem view(item);
  view.Write(Row);
  return view;
}

std::vector<TTrackRow> ReadTrackRows(TUniCustomListView* List) {
  std::vector<TTrackRow> rows;
  TUniListItems* items = List->Items();
  rows.reserve(items->Count());
  for (int i = 0; i < items->Count(); ++i) rows.push_back(TTrackRowItem(items->Item(i)).Read());
  return rows;
}

TTrackRowItem TrackRowAt(TUniCustomListView* List, int Index) {
  return TTrackRowItem(List->Items()->Item(Index));
}

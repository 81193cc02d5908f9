#include "app/ui/tag_row_item.h"

WideString TTagRowItem::Get(TTagColumn Column) const {
  TWideSubItems* sub = FItem->SubItems();
  int i = static_cast<int>(Column);
  return i < sub->Count() ? sub->Strings(i) : WideString();
}

void TTagRowItem::Set(TTagColumn Column, const WideString& Value) {
  TWideSubItems* sub = FItem->SubItems();
  int i = static_cast<int>(Column);
  while (sub->Count() <= i) sub->Add(WideString());
  if (sub->Strings(i) != Value) sub->Put(i, Value);
}

TTagRow TTagRowItem::Read() const {
  TTagRow row;
  row.Checked = FItem->Checked();
  for (int i = 0; i < TagColumnCount; ++i) row.Columns[i] = Get(static_cast<TTagColumn>(i));
  return row;
}

void TTagRowItem::Write(const TTagRow& Row) {
  TWideSubItems* sub = FItem->SubItems();
  sub->BeginUpdate();
  for (int i = 0; i < TagColumnCount; ++i) Set(static_cast<TTagColumn>(i), Row.Columns[i]);
  sub->EndUpdate();
  FItem->SetChecked(Row.Checked);
}

TTagRowItem AppendTagRow(TUniCustomListView* List, const TTagRow& Row) {
  TUniListItem* item = List->Items()->Add();
  item->SetCaption(WideString());
  TTagRowItem view(item);
  view.Write(Row);
  return view;
}

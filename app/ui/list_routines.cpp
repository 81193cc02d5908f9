#include "app/ui/list_routines.h"

#include "vcl/scopeexit.h"

bool HasCheckedItem(TUniCustomListView* ListView) {
  TUniListItems* items = ListView->Items();
  for (int i = 0; i < items->Count(); ++i)
    if (items->Item(i)->Checked()) return true;
  return false;
}

bool Avc1CountBelowTwo(TUniCustomListView* ListView, int Column) {
  TUniListItems* items = ListView->Items();
  int count = 0;
  for (int i = 0; i < items->Count(); ++i) {
    TWideSubItems* sub = items->Item(i)->SubItems();
    if (Column >= 0 && Column < sub->Count() && sub->Strings(Column) == L"avc1") ++count;
  }
  return count < 2;
}

void MoveListItem(TUniCustomListView* ListView, int FromIndex, int ToIndex) {
  TUniListItems* items = ListView->Items();
  // Out of range on either side (Up on the first row, Down past the last): the list stays.
  if (FromIndex < 0 || FromIndex >= items->Count() || ToIndex < 0 || ToIndex > items->Count() ||
      FromIndex == ToIndex)
    return;
  items->BeginUpdate();
  ScopeExit end{[&] { items->EndUpdate(); }};
  TUniListItem* moved = items->Item(FromIndex);
  TUniListItem* copy = items->Insert(ToIndex);
  copy->Assign(moved);
  moved->Delete();
}

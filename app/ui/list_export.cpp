#include "app/ui/list_export.h"

#include "app/common/file_write.h"

AnsiString ListviewText(TUniCustomListView* ListView) {
  AnsiString text;
  TUniListItems* items = ListView->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TUniListItem* item = items->Item(i);
    text += WideToAnsi(item->Caption());
    TWideSubItems* sub = item->SubItems();
    for (int k = 0; k < sub->Count(); ++k) text += " | " + WideToAnsi(sub->Strings(k));
    text += "\r\n";
  }
  return text;
}

void SaveListviewStrings(TUniCustomListView* ListView, const WideString& FileName) {
  if (ListView->ViewStyle() != vsReport)
    throw Exception(Format("%s: the listview %s is not in vsReport mode.", "SaveListviewStrings",
                           ListView->Name().c_str()));
  WriteWholeFile(FileName, ListviewText(ListView));
}

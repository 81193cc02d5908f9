// The one view through which the tag page reads and writes a row of its file list:
// columns by name, not by sub-item number.
#pragma once

#include "app/media/tag_rows.h"
#include "widetext/uni_list_view.h"

class TTagRowItem {
 public:
  explicit TTagRowItem(TUniListItem* Item) : FItem(Item) {}
  TUniListItem* Item() const { return FItem; }
  // A missing sub-item reads as the empty text.
  WideString Get(TTagColumn Column) const;
  void Set(TTagColumn Column, const WideString& Value);
  TTagRow Read() const;
  // Writes every column and the check state.
  void Write(const TTagRow& Row);

 private:
  TUniListItem* FItem;
};

// Appends a row at the end of the list: empty caption, every sub-item.
TTagRowItem AppendTagRow(TUniCustomListView* List, const TTagRow& Row);

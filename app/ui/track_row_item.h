// The one view through which the program reads and writes a track row in a wide list view:
// columns by name, not by sub-item number.
#pragma once

#include <vector>

#include "app/media/track_row.h"
#include "widetext/uni_list_view.h"

class TTrackRowItem {
 public:
  explicit TTrackRowItem(TUniListItem* Item) : FItem(Item) {}

  TUniListItem* Item() const { return FItem; }
  // A missing sub-item reads as the empty text.
  WideString Get(TTrackColumn Column) const;
  void Set(TTrackColumn Column, const WideString& Value);
  bool Checked() const { return FItem->Checked(); }
  void SetChecked(bool Value) { FItem->SetChecked(Value); }

  TTrackRow Read() const;
  // Writes all seventeen columns and the check state.
  void Write(const TTrackRow& Row);

 private:
  TUniListItem* FItem;
};

// Appends a row at the end of the list: empty caption, all seventeen sub-items.
TTrackRowItem AppendTrackRow(TUniCustomListView* List, const TTrackRow& Row);
// Every row of the list, in list order.
std::vector<TTrackRow> ReadTrackRows(TUniCustomListView* List);
// The row of a list position.
TTrackRowItem TrackRowAt(TUniCustomListView* List, int Index);

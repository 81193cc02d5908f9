// Routines over the program's wide list views.
#pragma once

#include "widetext/uni_list_view.h"

// True when at least one row is checked.
bool HasCheckedItem(TUniCustomListView* ListView);
// True when fewer than two rows hold "avc1" in sub-item Column.
bool Avc1CountBelowTwo(TUniCustomListView* ListView, int Column);
// Moves the row at FromIndex to ToIndex (counted while the moved row is still in place):
// a new row is inserted at ToIndex, the moved row copied into it, and the old one deleted.
void MoveListItem(TUniCustomListView* ListView, int FromIndex, int ToIndex);

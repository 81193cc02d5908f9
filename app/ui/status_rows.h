// The process page's status list: one row per event, with its image, time and text.
#pragma once

#include "app/jobs/status_row.h"
#include "widetext/uni_list_view.h"

// Adds a row at the end of List (a report list with an image column, "Time" and
// "Events"): empty caption, the row's image, then the time and the text as sub-items.
TUniListItem* AddStatusRow(TUniCustomListView* List, const TStatusRow& Row);
// The same with the local time now: the process page's AddProcessEvent.
TUniListItem* AddProcessEvent(TUniCustomListView* List, const WideString& Text, int Kind);

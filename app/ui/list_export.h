// A report-style list view as text: one line per row, the caption and then " | " and the
// text of each sub-item, in the system code page with CR LF after every line.
#pragma once

#include "widetext/uni_list_view.h"

AnsiString ListviewText(TUniCustomListView* ListView);

// Writes ListviewText to FileName, replacing it (WriteWholeFile: a failed write leaves no
// part of a file). A list view not in report style raises an Exception and writes nothing.
void SaveListviewStrings(TUniCustomListView* ListView, const WideString& FileName);

// Whether a job would write its new file over one of the files it reads.
#pragma once

#include <vector>

#include "app/media/track_row.h"

// The input files of the checked rows, in list order.
std::vector<WideString> CheckedInputs(const std::vector<TTrackRow>& Rows);

// The input file of a checked row that Output names (the same path in any case or form,
// or the same file on disk by another name, such as its short name); empty when none.
WideString InputNamedByOutput(const std::vector<TTrackRow>& Rows, const WideString& Output);

// The notice for it.
WideString OutputIsInputText(const WideString& Input);

#include "app/media/track_row.h"

const wchar_t* const TrackColumnTitles[TrackColumnCount] = {
    L"Path",      L"File",     L"Index",        L"Description", L"Name",       L"Language",
    L"FrameRate", L"Type",     L"BrandName",    L"PAR",         L"HEAAC Signal", L"Copyright",
    L"Delay",     L"Interleave", L"KeepNVops",  L"FontName",    L"FontSize",
};

WideString TTrackRow::InputPath() const {
  return (*this)[TTrackColumn::Path] + (*this)[TTrackColumn::File];
}

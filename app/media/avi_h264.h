// H.264 video inside an AVI file. MP4Box takes such video only as a raw stream extracted
// from the AVI first: the analysis marks these files for the mux page's pre-step, and the
// converter accepts only these AVI files.
#pragma once

#include "app/media/media_info.h"

// The codec text by which older MediaInfo libraries marked H.264 video inside an AVI file.
extern const wchar_t* const AviH264CodecText;

// Whether video stream VideoNumber of the file holds H.264 in an AVI container. Older
// libraries said so with the codec text "Intel H.264"; the library we ship gives the
// format "AVC" (codec ID "H264", "X264", ...) in a file whose format is "AVI".
bool IsAviH264Video(TMediaAnswers& Info, int VideoNumber);

// The files each page takes when they are dropped on the window, by extension. The test is
// exact: the extension is compared as it is written, so "MOVIE.AVI" is refused.
#pragma once

#include "vcl/sysutils.h"

bool IsMP4DropFile(const WideString& FileName);     // mux page making an MP4 file
bool Is3GPDropFile(const WideString& FileName);     // mux page making a 3GP file
bool IsConcatDropFile(const WideString& FileName);  // concatenation page

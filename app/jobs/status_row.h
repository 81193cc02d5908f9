// A status row of the process page: an image for its kind, the time, the text.
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"

struct TStatusRow {
  int ImageIndex;   // 0 information, 1 warning, 2 error, 3 any other kind
  WideString Time;  // "hh:nn:ss"
  WideString Text;
  bool operator==(const TStatusRow& o) const {
    return ImageIndex == o.ImageIndex && Time == o.Time && Text == o.Text;
  }
};

TStatusRow MakeStatusRow(const WideString& Text, int Kind, const SYSTEMTIME& Time);

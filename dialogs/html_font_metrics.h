// Advance widths and heights of fonts, kept across calls of the renderer: a marked-up text
// is measured run by run, and selecting every run's font into the device to ask it would
// cost far more than drawing the text.
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"

struct THtmlFontMetrics {
  int Height = 0;           // what GetTextExtentPoint32 gives as the height of any text
  int Overhang = 0;         // added once to a text's width, as the device does
  short Latin[0x250] = {};  // advance widths of U+0000 to U+024F
};

// The metrics of the font Font at Pixels per inch when they are known; null when not.
const THtmlFontMetrics* HtmlCachedFontMetrics(const LOGFONTA& Font, int Pixels);
// Measures the font selected into DC, which Font describes, and keeps its metrics. Main
// thread only.
const THtmlFontMetrics& HtmlMeasureFontMetrics(HDC DC, const LOGFONTA& Font, int Pixels);
// The width of Text from the metrics; -1 when a character is not one of theirs.
int HtmlCachedTextWidth(const THtmlFontMetrics& Metrics, const WideChar* Text, size_t Length);

// Advance widths and heights of fonts, kept across calls of the renderer: a marked-up text
// is measured run by run, and selecting every run's font into the device to ask it would
// cost far more than drawing the text.
#pragma once

#include <windows.h>

#include <memory>

#include "vcl/sysutils.h"

struct THtmlFontMetrics {
  int Height = 0;           // what GetTextExtentPoint32 gives as the height of any text
  int Overhang = 0;         // added once to a text's width, as the device does
  short Latin[0x250] = {};  // advance widths of U+0000 to U+024F
  // Advance widths of the rest of the basic plane, 256 characters a page, asked of the
  // device the first time a text needs them (null: not yet asked).
  std::unique_ptr<short[]> Pages[256];
};

// The metrics of the font Font at Pixels per inch when they are known; null when not.
THtmlFontMetrics* HtmlCachedFontMetrics(const LOGFONTA& Font, int Pixels);
// Measures the font selected into DC, which Font describes, and keeps its metrics. Main
// thread only.
THtmlFontMetrics& HtmlMeasureFontMetrics(HDC DC, const LOGFONTA& Font, int Pixels);
// The advance of Ch from the metrics; -1 when it is not one of theirs (yet).
int HtmlCharAdvance(const THtmlFontMetrics& Metrics, unsigned Ch);
// The width of Text from the metrics; -1 when a character is not one of theirs (yet).
int HtmlCachedTextWidth(const THtmlFontMetrics& Metrics, const WideChar* Text, size_t Length);
// Asks DC, whose selected font Metrics describes, for the pages of advance widths that Text
// needs and Metrics lacks. False when Text has characters that are not measured by their
// advances alone (control characters, surrogates) or the device does not answer.
bool HtmlLoadTextWidths(HDC DC, THtmlFontMetrics& Metrics, const WideChar* Text, size_t Length);

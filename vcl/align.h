// Placement of aligned controls inside their parent's client area (no windows here, so
// the rules can be checked on plain rectangles).
#pragma once

#include <windows.h>

#include <vector>

#include "vcl/typinfo.h"

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
VCL_ENUM_INFO(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient")

struct TAlignItem {
  TAlign Align;
  RECT Bounds;  // in: where the control is now; out: where it goes
};

// Places the items in the order alTop, alBottom, alLeft, alRight, alClient, each taking
// its strip off what is left of client. Items of one alignment keep the order of their
// current positions (top to bottom, bottom to top, left to right, right to left); the
// requester (the item whose change asked for alignment, or -1) goes first among its
// alignment unless another item lies strictly before it. Items with alNone stay put.
// Returns what is left of client.
RECT ArrangeAlignedItems(RECT client, std::vector<TAlignItem>& items, int requester);

#include "vcl/align.h"

#include <algorithm>

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Whether a goes before b among items of the same alignment.
bool GoesBefore(const RECT& a, const RECT& b, TAlign align) {
  switch (align) {
    case alTop: return a.top < b.top;
    case alBottom: return a.bottom >= b.bottom;
    case alLeft: return a.left < b.left;
    case alRight: return a.right >= b.right;
    default: return false;
  }
}

std::vector<size_t> OrderOf(const std::vector<TAlignItem>& items, TAlign align, int requester) {
  std::vector<size_t> order;
  if (requester >= 0 && static_cast<size_t>(requester) < items.size() && items[requester].Align == align)
    order.push_back(static_cast<size_t>(requester));
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].Align != align || static_cast<int>(i) == requester) continue;
    auto pos = order.begin();
    while (pos != order.end() && !GoesBefore(items[i].Bounds, items[*pos].Bounds, align)) ++pos;
    order.insert(pos, i);
  }
  return order;
}

void Place(RECT& b, RECT& rest, TAlign align) {
  int w = Width(b), h = Height(b);
  int restW = std::max(0, Width(rest)), restH = std::max(0, Height(rest));
  switch (align) {
    case alTop:
      b = RECT{rest.left, rest.top, rest.left + restW, rest.top + h};
      rest.top += h;
      break;
    case alBottom:
      b = RECT{rest.left, rest.bottom - h, rest.left + restW, rest.bottom};
      rest.bottom -= h;
      break;
    case alLeft:
      b = RECT{rest.left, rest.top, rest.left + w, rest.top + restH};
      rest.left += w;
      break;
    case alRight:
      b = RECT{rest.right - w, rest.top, rest.right, rest.top + restH};
      rest.right -= w;
      break;
    case alClient:
      b = RECT{rest.left, rest.top, rest.left + restW, rest.top + restH};
      break;
    default: break;
  }
}

}  // namespace

RECT ArrangeAlignedItems(RECT client, std::vector<TAlignItem>& items, int requester) {
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient})
    for (size_t i : OrderOf(items, align, requester)) Place(items[i].Bounds, client, align);
  return client;
}

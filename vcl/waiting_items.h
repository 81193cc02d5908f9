// The rules of a list control's window, for a list or combo box that keeps its items itself
// while it has no window: where an insertion goes, how the selection follows the items put
// in or taken out, and the caseless search for an item.
#pragma once

namespace waiting_items {

// The place an insertion at Index takes among Count items (-1 appends), or -1 when the
// window would refuse it.
inline int InsertPlace(int Index, int Count) {
  if (Index == -1) return Count;
  return Index < 0 || Index > Count ? -1 : Index;
}

// The selection after an item is put in at Index: it moves with its item.
inline int SelectionAfterInsert(int Selected, int Index) { return Selected >= Index ? Selected + 1 : Selected; }

// The selection after the item at Index is taken out: it moves with its item, and is lost
// with it.
inline int SelectionAfterDelete(int Selected, int Index) {
  if (Index < Selected) return Selected - 1;
  return Index == Selected ? -1 : Selected;
}

// The first item of List equal to S ignoring case (Compare answers 0), or -1, as the window's
// search for an exact item.
template <class TList, class TText, class TCompare>
int FindIgnoringCase(const TList& List, const TText& S, TCompare Compare) {
  for (int i = 0; i < List.Count(); ++i)
    if (Compare(List.Get(i), S) == 0) return i;
  return -1;
}

}  // namespace waiting_items

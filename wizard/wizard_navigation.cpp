#include "wizard/wizard_navigation.h"

#include <cassert>

using BK = TKvWizardButtonKind;

int FindNextEnabledPageIndex(const std::vector<TWizardPageFlags>& Pages, int Index, int Step, bool CheckDisable,
                             bool Designing) {
  assert(Step != 0);
  if (Step == 0) return -1;
  const int count = static_cast<int>(Pages.size());
  if (count == 0) return -1;
  // At design time the search wraps; one round over the list is all there is to see.
  for (int tries = 0; tries <= count; ++tries) {
    Index += Step;
    if (Designing) {
      if (Index < 0) Index = count - 1;
      else if (Index >= count) Index = 0;
    }
    if (Index < 0 || Index >= count) return -1;
    if (!CheckDisable || Pages[static_cast<size_t>(Index)].Enabled) return Index;
  }
  return -1;
}

int FindNextPageIndex(const std::vector<TWizardPageFlags>& Pages, int Index, int Step, bool CheckDisable,
                      bool Designing) {
  int found = FindNextEnabledPageIndex(Pages, Index, Step, CheckDisable, Designing);
  if (found >= 0 && !Pages[static_cast<size_t>(found)].EnableJumpToPage)
    found = FindNextEnabledPageIndex(Pages, found, Step, CheckDisable, Designing);
  return found;
}

TWizardButtonStatus ComputeButtonStatus(bool HasActivePage, bool IsFirstPage, TKvWizardButtonSet& PageEnabled,
                                        TKvWizardButtonSet PageVisible, bool Designing) {
  TWizardButtonStatus s;
  s.Enabled = ButtonBit(BK::bkCancel);
  s.Visible = DefaultVisibleButtons;
  if (HasActivePage) {
    if (!Designing && IsFirstPage) PageEnabled &= ~ButtonBit(BK::bkBack);
    s.Enabled = PageEnabled;
    s.Visible = PageVisible;
    if (Designing) {
      s.Enabled |= ButtonBit(BK::bkBack) | ButtonBit(BK::bkNext);
      s.Visible = (s.Visible | ButtonBit(BK::bkBack) | ButtonBit(BK::bkNext)) & ~ButtonBit(BK::bkFinish);
    }
  }
  auto usable = [&](BK k) { return HasButton(s.Visible, k) && HasButton(s.Enabled, k); };
  if (usable(BK::bkNext)) s.DefaultKind = BK::bkNext;
  else if (usable(BK::bkFinish)) s.DefaultKind = BK::bkFinish;
  return s;
}

TKvWizardButtonSet PlacedButtons(bool HasActivePage, TKvWizardButtonSet PageVisible, bool Designing) {
  TKvWizardButtonSet set = HasActivePage ? PageVisible : DefaultVisibleButtons;
  if (Designing) set = (set | ButtonBit(BK::bkBack) | ButtonBit(BK::bkNext)) & ~ButtonBit(BK::bkFinish);
  return set;
}

std::array<std::optional<RECT>, WizardButtonCount> PlaceWizardButtons(
    const RECT& Client, int ButtonBarHeight, TKvWizardButtonSet Visible,
    const std::array<TWizardButtonSlot, WizardButtonCount>& Slots) {
  std::array<std::optional<RECT>, WizardButtonCount> out;
  if (ButtonBarHeight <= 25) {
    for (int i = 0; i < WizardButtonCount; ++i) out[static_cast<size_t>(i)] = RECT{0, 0, Slots[static_cast<size_t>(i)].Width, 0};
    return out;
  }
  const int top = Client.bottom - ButtonBarHeight + 10;
  int x = 0;
  auto place = [&](BK kind, int gap) {
    if (!HasButton(Visible, kind)) return;
    const TWizardButtonSlot& slot = Slots[static_cast<size_t>(kind)];
    if (slot.RightSide) x -= slot.Width;
    out[static_cast<size_t>(kind)] = RECT{x, top, x + slot.Width, top + 25};
    if (!slot.RightSide) x += slot.Width;
    x += gap;
  };
  x = Client.left + 8;
  place(BK::bkHelp, 10);
  place(BK::bkStart, 1);
  place(BK::bkLast, 0);
  x = Client.right - 8;
  if (HasButton(Visible, BK::bkNext) && HasButton(Visible, BK::bkFinish)) {
    place(BK::bkCancel, -1);
    place(BK::bkFinish, -10);
  } else {
    place(BK::bkCancel, -10);
    place(BK::bkFinish, -1);
  }
  place(BK::bkNext, -2);
  place(BK::bkBack, 0);
  return out;
}

RECT WizardPageArea(const RECT& Client, int ButtonBarHeight) {
  RECT r = Client;
  if (ButtonBarHeight > 25) r.bottom -= ButtonBarHeight;
  return r;
}

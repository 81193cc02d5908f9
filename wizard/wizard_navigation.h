// The wizard's rules that need no window: which page comes next, which buttons a page
// shows and enables, and where the buttons of the bar go.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <vector>

#include "vcl/typinfo.h"

// The buttons of the wizard's bar. Scoped, since the bit button's kinds already use some
// of these names.
enum class TKvWizardButtonKind { bkStart, bkLast, bkBack, bkNext, bkFinish, bkCancel, bkHelp };
VCL_ENUM_INFO(TKvWizardButtonKind, "bkStart", "bkLast", "bkBack", "bkNext", "bkFinish", "bkCancel", "bkHelp")
constexpr int WizardButtonCount = 7;

// A set of button kinds, bit n for the kind of ordinal n.
using TKvWizardButtonSet = unsigned;
constexpr TKvWizardButtonSet ButtonBit(TKvWizardButtonKind Kind) { return 1u << static_cast<unsigned>(Kind); }
constexpr bool HasButton(TKvWizardButtonSet Set, TKvWizardButtonKind Kind) { return (Set & ButtonBit(Kind)) != 0; }
constexpr TKvWizardButtonSet AllWizardButtons = 0x7F;
constexpr TKvWizardButtonSet DefaultVisibleButtons =
    ButtonBit(TKvWizardButtonKind::bkBack) | ButtonBit(TKvWizardButtonKind::bkNext) |
    ButtonBit(TKvWizardButtonKind::bkCancel);

// --- Page search --------------------------------------------------------------

// What the search needs of a page.
struct TWizardPageFlags {
  bool Enabled = true;
  bool EnableJumpToPage = true;
};

// Steps from Index by Step (not 0) to the first page that qualifies: any page when
// CheckDisable is false, else an enabled one. Wraps around only while Designing. -1 when
// none qualifies.
int FindNextEnabledPageIndex(const std::vector<TWizardPageFlags>& Pages, int Index, int Step, bool CheckDisable,
                             bool Designing);
// As above; a page found that forbids jumps to it is passed over once, and the search's
// second answer is taken as it is.
int FindNextPageIndex(const std::vector<TWizardPageFlags>& Pages, int Index, int Step, bool CheckDisable,
                      bool Designing);

// --- Button state -------------------------------------------------------------

struct TWizardButtonStatus {
  TKvWizardButtonSet Enabled = 0;
  TKvWizardButtonSet Visible = 0;
  // The kind whose control gets Default (from DefaultButtons), if any.
  std::optional<TKvWizardButtonKind> DefaultKind;
};

// The bar's state for the active page (HasActivePage false: none). On the first page Back
// is taken out of PageEnabled itself, so the page keeps it out afterwards.
TWizardButtonStatus ComputeButtonStatus(bool HasActivePage, bool IsFirstPage, TKvWizardButtonSet& PageEnabled,
                                        TKvWizardButtonSet PageVisible, bool Designing);

// The set the bar is laid out for.
TKvWizardButtonSet PlacedButtons(bool HasActivePage, TKvWizardButtonSet PageVisible, bool Designing);

// --- Button placement ---------------------------------------------------------

struct TWizardButtonSlot {
  int Width = 75;
  bool RightSide = true;
};

// The bounds of each kind's button: a rectangle for the buttons placed, nothing for those
// left where they are. A bar of 25 pixels or less folds every button to (0, 0, width, 0).
std::array<std::optional<RECT>, WizardButtonCount> PlaceWizardButtons(
    const RECT& Client, int ButtonBarHeight, TKvWizardButtonSet Visible,
    const std::array<TWizardButtonSlot, WizardButtonCount>& Slots);

// What the pages may cover: the client area less a bar of more than 25 pixels.
RECT WizardPageArea(const RECT& Client, int ButtonBarHeight);

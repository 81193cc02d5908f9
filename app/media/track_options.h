// The per-track options as the properties dialog shows them, and the rules between a track
// row and the dialog's boxes: which item a column selects, which value an item stores,
// which controls a track's type shows and enables, and where the walk buttons lead.
#pragma once

#include <optional>
#include <vector>

#include "app/media/track_row.h"

// The brand box's items and the codes they store (item 13 "Other..." stores its text).
inline constexpr int BrandOtherIndex = 13;
extern const wchar_t* const BrandItems[14];
extern const wchar_t* const BrandCodes[13];
// The pixel aspect ratio box's fixed items; item 5 asks for a custom value, items added
// after it read "Custom " + width + ":" + height.
inline constexpr int PARCustomIndex = 5;
extern const wchar_t* const PARItems[6];
extern const wchar_t* const PARValues[5];
extern const wchar_t* const SBRItems[3];
inline const wchar_t* const Unspecified = L"Unspecified";
inline const wchar_t* const CustomPrefix = L"Custom ";

// What the dialog's option boxes hold: an index of -1 stands for a typed text with no item
// selected.
struct TTrackOptionValues {
  WideString TrackText = Unspecified;  // cbTrack (its one item is the name)
  int LangIndex = 0;
  WideString LangText;
  int BrandIndex = 0;
  WideString BrandText = Unspecified;
  int PARIndex = 0;
  WideString PARText = Unspecified;
  int SBRIndex = 0;
  bool SBREnabled = false;
  WideString Copyright, FrameRate, Delay, Interleave, FontName, FontSize;
  bool KeepNVop = false;
};

// The boxes filled from a row. A custom pixel aspect ratio comes back as PARIndex -1 with
// PARText the item to select ("Custom 64:45"), which the box may have to add first.
TTrackOptionValues OptionValuesOfRow(const TTrackRow& Row);
// The row with the dialog's values stored; "Unspecified" (and index 0 of the language and
// signalling boxes) leaves a column as it was, an empty edit empties its column.
void StoreOptionValues(const TTrackOptionValues& Values, TTrackRow& Row);

enum class TTrackKindLabel { Unchanged, Audio, Video, Sub };

// Which controls the dialog shows and enables for a row's type (file extension included).
struct TTrackOptionControls {
  bool Apply = false;         // the type is not empty: the rest below is meant
  bool SubtitleLayout = false;  // font controls shown, PAR/interleave/N-VOPs/HE-AAC hidden
  TTrackKindLabel Label = TTrackKindLabel::Unchanged;
  // Enabled states to set; unset leaves the control as it is.
  std::optional<bool> SBR, KeepNVop, PAR, FrameRate, Brand;
  bool ClearFrameRate = false;
};
TTrackOptionControls OptionControlsOfRow(const TTrackRow& Row);

// The brand box's enabled state after a row with a brand was read; unset leaves it. The
// list's state: whether it has a checked row and fewer than two rows branded "avc1".
std::optional<bool> BrandEnabledAfterRead(const TTrackRow& Row, bool ListHasCheckedRow, bool Avc1CountBelowTwo,
                                          bool BrandEnabled, int BrandIndex);

// The number edits' key filters. The properties dialog's take backspace, ".", the digits,
// the locale's decimal separator (once per text) and, for the delay, "-"; the custom value
// dialog's take backspace, "." and the digits.
bool PropertiesNumberKey(wchar_t Key, const WideString& Text, bool AllowMinus, wchar_t DecimalSeparator);
bool CustomValueKey(wchar_t Key);

// The rows the walk buttons lead to from the row shown: the next or previous one, past at
// most one unchecked row. No value when that leaves the list.
std::optional<int> NextWalkRow(const std::vector<bool>& Checked, int Shown);
std::optional<int> PreviousWalkRow(const std::vector<bool>& Checked, int Shown);

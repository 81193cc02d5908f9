// The properties dialog's rules between a track row and its option boxes.
#include <gtest/gtest.h>

#include "app/media/track_options.h"

namespace {

using C = TTrackColumn;

TTrackRow VideoRow(const wchar_t* File) {
  TTrackRow r;
  r[C::File] = File;
  r[C::Type] = L"video";
  return r;
}

TEST(TrackOptions, RowColumnsSelectTheirItems) {
  TTrackRow r = VideoRow(L"a.avi");
  r[C::Name] = L"Main";
  r[C::Language] = L"Deutsch";
  r[C::Brand] = L"ndxh";
  r[C::PAR] = L"40:33";
  r[C::HEAACSignal] = L"sbrx";
  r[C::KeepNVops] = L"1";
  r[C::Delay] = L"-40";
  TTrackOptionValues v = OptionValuesOfRow(r);
  EXPECT_EQ(v.TrackText, L"Main");
  EXPECT_EQ(v.LangIndex, 32);
  EXPECT_EQ(v.BrandIndex, 12);
  EXPECT_EQ(v.PARIndex, 4);
  EXPECT_EQ(v.SBRIndex, 2);
  EXPECT_TRUE(v.KeepNVop);
  EXPECT_EQ(v.Delay, L"-40");

  TTrackRow other = VideoRow(L"a.avi");
  other[C::Brand] = L"qt  ";
  other[C::PAR] = L"64:45";
  other[C::Language] = L"German";  // the list holds it as "Deutsch"
  v = OptionValuesOfRow(other);
  EXPECT_EQ(v.TrackText, L"Unspecified");
  EXPECT_EQ(v.LangIndex, 0);
  EXPECT_EQ(v.BrandIndex, BrandOtherIndex);
  EXPECT_EQ(v.BrandText, L"qt  ");
  EXPECT_EQ(v.PARIndex, -1);
  EXPECT_EQ(v.PARText, L"Custom 64:45");
  EXPECT_EQ(v.SBRIndex, 0);
}

// What is read is stored back unchanged, custom values included.
TEST(TrackOptions, ReadingThenStoringChangesNothing) {
  TTrackRow r = VideoRow(L"a.avi");
  r[C::Name] = L"N";
  r[C::Language] = L"English";
  r[C::Brand] = L"xyz1";
  r[C::PAR] = L"64:45";
  r[C::Copyright] = L"c";
  r[C::FrameRate] = L"25";
  r[C::Delay] = L"1";
  r[C::Interleave] = L"500";
  r[C::KeepNVops] = L"1";
  r[C::FontName] = L"Arial";
  r[C::FontSize] = L"12";
  TTrackRow stored = r;
  TTrackOptionValues v = OptionValuesOfRow(r);
  v.LangText = L"English";
  StoreOptionValues(v, stored);
  EXPECT_EQ(stored, r);
}

TEST(TrackOptions, StoringTheBoxes) {
  struct Case {
    const char* what;
    std::function<void(TTrackOptionValues&)> set;
    C column;
    const wchar_t* before;
    const wchar_t* after;
  } cases[] = {
      {"language unspecified", [](auto& v) { v.LangIndex = 0; v.LangText = L"Unspecified"; }, C::Language, L"French", L"French"},
      {"language", [](auto& v) { v.LangIndex = 29; v.LangText = L"French"; }, C::Language, L"", L"French"},
      {"brand unspecified", [](auto& v) { v.BrandIndex = 0; v.BrandText = L"Unspecified"; }, C::Brand, L"mp42", L"mp42"},
      {"brand", [](auto& v) { v.BrandIndex = 2; v.BrandText = L"ISO AVC"; }, C::Brand, L"", L"avc1"},
      {"brand typed as other", [](auto& v) { v.BrandIndex = 13; v.BrandText = L"abcd"; }, C::Brand, L"", L"abcd"},
      {"brand typed, nothing selected", [](auto& v) { v.BrandIndex = -1; v.BrandText = L"abcd"; }, C::Brand, L"mp42", L"mp42"},
      {"name", [](auto& v) { v.TrackText = L""; }, C::Name, L"Old", L""},
      {"name unspecified", [](auto& v) { v.TrackText = L"Unspecified"; }, C::Name, L"Old", L"Old"},
      {"par", [](auto& v) { v.PARIndex = 1; v.PARText = L"  4:3 PAL"; }, C::PAR, L"", L"12:11"},
      {"par unspecified", [](auto& v) { v.PARIndex = 0; v.PARText = L"Unspecified"; }, C::PAR, L"16:11", L"16:11"},
      {"par custom item", [](auto& v) { v.PARIndex = 6; v.PARText = L"Custom 4:3"; }, C::PAR, L"", L"4:3"},
      {"par custom without value", [](auto& v) { v.PARIndex = 5; v.PARText = L"Custom... "; }, C::PAR, L"16:11", L""},
      {"par typed", [](auto& v) { v.PARIndex = -1; v.PARText = L"5:4"; }, C::PAR, L"16:11", L""},
      {"sbr", [](auto& v) { v.SBRIndex = 1; v.SBREnabled = true; }, C::HEAACSignal, L"", L"sbr"},
      {"sbrx", [](auto& v) { v.SBRIndex = 2; v.SBREnabled = true; }, C::HEAACSignal, L"", L"sbrx"},
      {"sbr disabled", [](auto& v) { v.SBRIndex = 1; v.SBREnabled = false; }, C::HEAACSignal, L"", L""},
      {"sbr unspecified", [](auto& v) { v.SBRIndex = 0; v.SBREnabled = true; }, C::HEAACSignal, L"sbrx", L"sbrx"},
      {"emptied edit", [](auto& v) { v.Copyright = L""; }, C::Copyright, L"(c)", L""},
      {"n-vops", [](auto& v) { v.KeepNVop = true; }, C::KeepNVops, L"", L"1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TTrackRow row = VideoRow(L"a.aac");
    row[c.column] = c.before;
    TTrackOptionValues v = OptionValuesOfRow(row);
    c.set(v);
    StoreOptionValues(v, row);
    EXPECT_EQ(row[c.column], c.after);
  }
}

TEST(TrackOptions, ControlsByTypeAndExtension) {
  TTrackRow aac;
  aac[C::File] = L"x.AAC";
  aac[C::Type] = L"audio";
  TTrackOptionControls c = OptionControlsOfRow(aac);
  EXPECT_EQ(c.Label, TTrackKindLabel::Audio);
  EXPECT_EQ(c.SBR, true);
  EXPECT_EQ(c.PAR, false);
  aac[C::File] = L"x.mp4";
  EXPECT_EQ(OptionControlsOfRow(aac).SBR, false);

  c = OptionControlsOfRow(VideoRow(L"clip.mov"));
  EXPECT_EQ(c.FrameRate, false);
  EXPECT_TRUE(c.ClearFrameRate);
  EXPECT_EQ(c.KeepNVop, false);
  c = OptionControlsOfRow(VideoRow(L"clip.m4v"));
  EXPECT_EQ(c.FrameRate, true);
  EXPECT_EQ(c.KeepNVop, true);
  EXPECT_FALSE(c.SubtitleLayout);

  TTrackRow sub;
  sub[C::Type] = L"sub";
  c = OptionControlsOfRow(sub);
  EXPECT_TRUE(c.SubtitleLayout);
  EXPECT_EQ(c.Label, TTrackKindLabel::Sub);
  EXPECT_EQ(c.Brand, false);
  EXPECT_FALSE(OptionControlsOfRow(TTrackRow()).Apply);
}

TEST(TrackOptions, BrandEnabledState) {
  TTrackRow r = VideoRow(L"a.mp4");
  EXPECT_EQ(BrandEnabledAfterRead(r, true, true, false, 0), std::nullopt);  // no brand
  r[C::Brand] = L"avc1";
  EXPECT_EQ(BrandEnabledAfterRead(r, false, true, false, 2), std::nullopt);  // no checked row
  EXPECT_EQ(BrandEnabledAfterRead(r, true, true, false, 2), true);
  EXPECT_EQ(BrandEnabledAfterRead(r, true, false, false, 2), true);
  EXPECT_EQ(BrandEnabledAfterRead(r, true, false, true, 2), false);
  EXPECT_EQ(BrandEnabledAfterRead(r, true, false, false, 0), false);
}

TEST(TrackOptions, NumberKeyFilters) {
  struct Case {
    wchar_t key;
    const wchar_t* text;
    bool minus;
    wchar_t separator;
    bool accepted;
  } cases[] = {
      {L'5', L"", false, L'.', true},   {L'\b', L"1", false, L'.', true}, {L'a', L"", false, L'.', false},
      {L'-', L"", true, L'.', true},    {L'-', L"", false, L'.', false},  {L'.', L"2", false, L'.', true},
      {L'.', L"2.5", false, L'.', false}, {L',', L"2", false, L',', true}, {L',', L"2,5", false, L',', false},
      {L'.', L"2.5", false, L',', true},  // "." is not the separator there: never counted
      {L',', L"", false, L'.', false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << char(c.key) << " in " << WideToAnsi(c.text));
    EXPECT_EQ(PropertiesNumberKey(c.key, c.text, c.minus, c.separator), c.accepted);
  }
  EXPECT_TRUE(CustomValueKey(L'.'));
  EXPECT_FALSE(CustomValueKey(L'-'));
  EXPECT_FALSE(CustomValueKey(L','));
}

TEST(TrackOptions, WalkButtonsSkipOneUncheckedRowAndStayInTheList) {
  const std::vector<bool> checks = {true, false, false, true, false};
  struct Case {
    int shown;
    std::optional<int> next, previous;
  } cases[] = {
      {0, 2, std::nullopt},  // one unchecked row skipped, not two
      {2, 3, 0},
      {3, std::nullopt, 1},  // the skip would pass the last row
      {4, std::nullopt, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "shown " << c.shown);
    EXPECT_EQ(NextWalkRow(checks, c.shown), c.next);
    EXPECT_EQ(PreviousWalkRow(checks, c.shown), c.previous);
  }
  EXPECT_EQ(PreviousWalkRow({false, true}, 1), std::nullopt);
  EXPECT_EQ(NextWalkRow({}, 0), std::nullopt);
}

}  // namespace

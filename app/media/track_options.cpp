#include "app/media/track_options.h"

#include "app/settings/language_codes.h"
#include "widetext/widetextutils.h"
#include "widetext/filenames.h"

const wchar_t* const BrandItems[14] = {
    L"Unspecified", L"ISO Media File", L"ISO AVC",         L"ND Mobile",      L"ND Portable",
    L"ND Standard", L"ND Cinema",      L"ND HDTV",         L"ND Mobile AVC",  L"ND Portable AVC",
    L"ND Standard AVC", L"ND Cinema AVC", L"ND HDTV AVC", L"Other...",
};
const wchar_t* const BrandCodes[13] = {L"",     L"mp42", L"avc1", L"ndsm", L"ndsp", L"ndss", L"ndsc",
                                       L"ndsh", L"ndxm", L"ndxp", L"ndxs", L"ndxc", L"ndxh"};
const wchar_t* const PARItems[6] = {L"Unspecified", L"  4:3 PAL", L"  4:3 NTSC", L"16:9 PAL", L"16:9 NTSC", L"Custom... "};
const wchar_t* const PARValues[5] = {L"", L"12:11", L"10:11", L"16:11", L"40:33"};
const wchar_t* const SBRItems[3] = {L"Unspecified", L"Backward Compatible", L"Backward Non Compatible"};

namespace {

using C = TTrackColumn;

// The text after "Custom ", empty when the text does not hold it.
WideString AfterCustom(const WideString& Text) {
  size_t at = Text.find(CustomPrefix);
  return at == WideString::npos ? WideString() : Text.substr(at + WideString(CustomPrefix).size());
}

bool OneOf(const WideString& Ext, std::initializer_list<const wchar_t*> List) {
  for (const wchar_t* e : List) {
    if (Ext == e) return true;
  }
  return false;
}

}  // namespace

TTrackOptionValues OptionValuesOfRow(const TTrackRow& Row) {
  TTrackOptionValues v;
  v.TrackText = Row[C::Name].empty() ? WideString(Unspecified) : Row[C::Name];
  v.LangIndex = Row[C::Language].empty() ? 0 : LangNameToIndex(Row[C::Language]);
  v.LangText = Row[C::Language];
  v.FrameRate = Row[C::FrameRate];

  const WideString& brand = Row[C::Brand];
  v.BrandIndex = 0;
  v.BrandText = BrandItems[0];
  if (!brand.empty()) {
    v.BrandIndex = BrandOtherIndex;
    v.BrandText = brand;
    for (int i = 1; i < 13; ++i) {
      if (brand == BrandCodes[i]) {
        v.BrandIndex = i;
        v.BrandText = BrandItems[i];
      }
    }
  }

  const WideString& sbr = Row[C::HEAACSignal];
  v.SBRIndex = sbr == L"sbr" ? 1 : sbr == L"sbrx" ? 2 : 0;

  const WideString& par = Row[C::PAR];
  v.PARIndex = 0;
  v.PARText = PARItems[0];
  for (int i = 1; i < 5; ++i) {
    if (par == PARValues[i]) {
      v.PARIndex = i;
      v.PARText = PARItems[i];
    }
  }
  if (!par.empty() && v.PARIndex == 0) {
    v.PARIndex = -1;
    v.PARText = CustomPrefix + par;
  }

  v.Delay = Row[C::Delay];
  v.Interleave = Row[C::Interleave];
  v.Copyright = Row[C::Copyright];
  v.FontName = Row[C::FontName];
  v.FontSize = Row[C::FontSize];
  v.KeepNVop = !Row[C::KeepNVops].empty();
  return v;
}

void StoreOptionValues(const TTrackOptionValues& V, TTrackRow& Row) {
  if (V.LangIndex != 0) Row[C::Language] = V.LangText;
  if (V.BrandText != Unspecified) {
    if (V.BrandIndex >= 0 && V.BrandIndex < BrandOtherIndex) Row[C::Brand] = BrandCodes[V.BrandIndex];
    else if (V.BrandIndex == BrandOtherIndex) Row[C::Brand] = V.BrandText;
  }
  if (V.TrackText != Unspecified) Row[C::Name] = V.TrackText;
  if (V.PARText != Unspecified) {
    if (V.PARIndex >= 0 && V.PARIndex < PARCustomIndex) Row[C::PAR] = PARValues[V.PARIndex];
    else if (V.PARIndex == PARCustomIndex) Row[C::PAR] = WideString();  // no custom value was given
    else Row[C::PAR] = AfterCustom(V.PARText);
  }
  if (V.SBRIndex != 0 && V.SBREnabled) Row[C::HEAACSignal] = V.SBRIndex == 1 ? L"sbr" : L"sbrx";
  Row[C::Copyright] = V.Copyright;
  Row[C::FrameRate] = V.FrameRate;
  Row[C::Delay] = V.Delay;
  Row[C::Interleave] = V.Interleave;
  Row[C::FontName] = V.FontName;
  Row[C::FontSize] = V.FontSize;
  Row[C::KeepNVops] = V.KeepNVop ? L"1" : L"";
}

TTrackOptionControls OptionControlsOfRow(const TTrackRow& Row) {
  TTrackOptionControls c;
  const WideString& type = Row[C::Type];
  if (type.empty()) return c;
  c.Apply = true;
  c.SubtitleLayout = type == L"sub";
  const WideString ext = WideLowerCase(WideExtractFileExt(Row[C::File]));
  if (type == L"audio") {
    c.Label = TTrackKindLabel::Audio;
    c.SBR = ext == L".aac";
    c.KeepNVop = c.FrameRate = c.PAR = false;
  } else if (type == L"video") {
    c.Label = TTrackKindLabel::Video;
    c.KeepNVop = OneOf(ext, {L".avi", L".m4v", L".cmp"});
    c.PAR = true;
    bool mp4 = OneOf(ext, {L".mp4", L".mov", L".3gp", L".3g2"});
    c.FrameRate = !mp4;
    c.ClearFrameRate = mp4;
    c.SBR = false;
  } else if (type == L"sub" || type == L"vobsub") {
    c.Label = TTrackKindLabel::Sub;
    c.Brand = c.PAR = c.SBR = c.FrameRate = c.KeepNVop = false;
  }
  return c;
}

std::optional<bool> BrandEnabledAfterRead(const TTrackRow& Row, bool ListHasCheckedRow, bool Avc1CountBelowTwo,
                                          bool BrandEnabled, int BrandIndex) {
  if (Row[C::Brand].empty() || !ListHasCheckedRow) return std::nullopt;
  if (Avc1CountBelowTwo) return true;
  return !BrandEnabled && BrandIndex > 0;
}

std::optional<int> NextWalkRow(const std::vector<bool>& Checked, int Shown) {
  const int count = static_cast<int>(Checked.size());
  int next = Shown + 1;
  if (next >= count) return std::nullopt;
  if (!Checked[next]) ++next;
  if (next >= count) return std::nullopt;
  return next;
}

std::optional<int> PreviousWalkRow(const std::vector<bool>& Checked, int Shown) {
  const int count = static_cast<int>(Checked.size());
  if (Shown <= 0 || Shown > count) return std::nullopt;
  int previous = Shown - 1;
  if (!Checked[previous]) --previous;
  if (previous < 0) return std::nullopt;
  return previous;
}

bool CustomValueKey(wchar_t Key) { return Key == L'\b' || Key == L'.' || (Key >= L'0' && Key <= L'9'); }

bool PropertiesNumberKey(wchar_t Key, const WideString& Text, bool AllowMinus, wchar_t DecimalSeparator) {
  if (Key == DecimalSeparator) return Text.find(DecimalSeparator) == WideString::npos;
  return CustomValueKey(Key) || (AllowMinus && Key == L'-');
}

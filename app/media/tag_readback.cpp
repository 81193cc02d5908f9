#include "app/media/tag_readback.h"

namespace {

using TAskedTest = bool (*)(const TTagFields&);

struct TKeptParameter {
  const wchar_t* Parameter;
  TAskedTest Asked;  // the run may change the value when this holds; null: never
};

const TKeptParameter KeptParameters[] = {
    {L"VideoCount", nullptr},
    {L"AudioCount", nullptr},
    {L"TextCount", nullptr},
    {L"Title", [](const TTagFields& F) { return !F.Name.empty(); }},
    {L"Performer", [](const TTagFields& F) { return !F.Artist.empty(); }},
    {L"Album", [](const TTagFields& F) { return !F.Album.empty(); }},
    {L"Album/Performer", nullptr},
    {L"Recorded_Date", [](const TTagFields& F) { return !F.Year.empty(); }},
    {L"Genre", [](const TTagFields& F) { return !F.Genre.empty(); }},
    // MP4Box's writer and composer share the atom MediaInfo reads as the composer.
    {L"Composer", [](const TTagFields& F) { return !F.Composer.empty() || !F.Writer.empty(); }},
    {L"Track/Position", [](const TTagFields& F) { return !F.TrackNum.empty(); }},
    {L"Track/Position_Total", [](const TTagFields& F) { return !F.TrackNum.empty(); }},
    {L"Part/Position", [](const TTagFields& F) { return !F.DiskNum.empty(); }},
    {L"Part/Position_Total", [](const TTagFields& F) { return !F.DiskNum.empty(); }},
    {L"Grouping", [](const TTagFields& F) { return !F.Group.empty(); }},
    {L"BPM", [](const TTagFields& F) { return !F.Tempo.empty(); }},
    {L"Comment", [](const TTagFields& F) { return !F.Comment.empty(); }},
    {L"Encoded_Application", [](const TTagFields& F) { return !F.Tool.empty() || !F.Encoder.empty(); }},
    {L"Compilation", [](const TTagFields& F) { return F.Compilation; }},
    {L"Copyright", nullptr},
    {L"Description", nullptr},
    {L"Lyrics", nullptr},
    {L"Cover", [](const TTagFields& F) { return !F.Cover.empty(); }},
};

// Tags whose value the copy must then hold as it was asked.
const std::pair<const wchar_t*, WideString TTagFields::*> SetParameters[] = {
    {L"Title", &TTagFields::Name},
    {L"Performer", &TTagFields::Artist},
    {L"Album", &TTagFields::Album},
};

}  // namespace

std::vector<WideString> KeptTagParameters(const TTagFields& Asked) {
  std::vector<WideString> kept;
  for (const TKeptParameter& p : KeptParameters)
    if (!p.Asked || !p.Asked(Asked)) kept.push_back(p.Parameter);
  return kept;
}

std::vector<WideString> LostTags(TMediaAnswers& Original, TMediaAnswers& Copy, const TTagFields& Asked) {
  std::vector<WideString> lost;
  for (const WideString& parameter : KeptTagParameters(Asked)) {
    const WideString before = Original.Get(TStreamKind::General, 0, parameter);
    if (before.empty()) continue;  // nothing to keep
    if (Copy.Get(TStreamKind::General, 0, parameter) != before) lost.push_back(parameter);
  }
  for (const auto& [parameter, field] : SetParameters)
    if (!(Asked.*field).empty() && Copy.Get(TStreamKind::General, 0, parameter) != Asked.*field)
      lost.push_back(parameter);
  return lost;
}

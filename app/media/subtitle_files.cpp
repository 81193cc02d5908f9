#include "app/media/subtitle_files.h"

#include "app/settings/language_codes.h"
#include "widetext/filenames.h"
#include "widetext/uni_string_list.h"

namespace {

using C = TTrackColumn;

TTrackRow RowOf(const WideString& FileName) {
  TTrackRow row;
  row[C::Path] = WideExtractFilePath(FileName);
  row[C::File] = WideExtractFileName(FileName);
  return row;
}

bool BeginsWith(const WideString& Line, const WideString& Text) { return Line.compare(0, Text.size(), Text) == 0; }

// The shape of a SubRip time line such as 00:00:01,000 --> 00:00:04,000.
bool IsSubRip(const std::vector<WideString>& Lines) {
  if (Lines.size() < 2 || !BeginsWith(Lines[0], L"1")) return false;
  const WideString& time = Lines[1];
  return time.size() >= 16 && time[2] == L':' && time[14] == L'-' && time[15] == L'>';
}

}  // namespace

TTrackRow TextSubtitleRow(const WideString& FileName, const std::vector<WideString>& Lines) {
  TTrackRow row = RowOf(FileName);
  row[C::Type] = L"sub";
  row.Checked = true;
  if (IsSubRip(Lines))
    row[C::Description] = L"SRT - SubRip Subtitle Format.";
  else if (Lines.size() >= 2 && BeginsWith(Lines[1], L"<!-- GPAC 3GPP Text Stream -->"))
    row[C::Description] = L"TTXT - GPAC TimeText Format.";
  else if (Lines.size() >= 2 && BeginsWith(Lines[1], L"<?quicktime type=\"application/x-quicktime-tx3g\"?>"))
    row[C::Description] = L"XML - QuickTime TeXML Format.";
  else
    row.Checked = false;
  return row;
}

bool VobSubIndexRows(const WideString& FileName, const std::vector<WideString>& Lines, std::vector<TTrackRow>& Rows) {
  if (Lines.empty() || Lines[0].find(L"# VobSub index file, v") == WideString::npos) return false;
  TTrackRow* latest = nullptr;
  for (const WideString& line : Lines) {
    if (BeginsWith(line, L"id: ")) {
      size_t at = line.find(L"index: ");
      if (at == WideString::npos) continue;
      WideString number = line.substr(at + 7);
      bool whole = !number.empty() && number.size() < 9;
      for (wchar_t c : number) whole = whole && c >= L'0' && c <= L'9';
      if (!whole) continue;
      TTrackRow row = RowOf(FileName);
      row[C::Index] = std::to_wstring(std::stoi(number) + 1);
      row[C::Description] = L"VobSub - The Same Subtitle Format used on DVDs.";
      row[C::Language] = LangCodeToName(line.substr(4, 2));
      row[C::Type] = L"vobsub";
      Rows.push_back(row);
      latest = &Rows.back();
    } else if (BeginsWith(line, L"timestamp:") && latest) {
      latest->Checked = true;
    }
  }
  return true;
}

std::vector<WideString> ReadTextLines(const WideString& FileName) {
  TUniStringList list;
  list.LoadFromFile(FileName);
  std::vector<WideString> lines;
  lines.reserve(list.Count());
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

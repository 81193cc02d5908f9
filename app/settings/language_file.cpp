#include "app/settings/language_file.h"

#include <algorithm>

#include "app/common/named_texts.h"

const std::vector<TLanguageEntry>& LanguageEntries() {
  using T = TLanguageTarget;
  static const std::vector<TLanguageEntry> entries = {
      {"MainForm", "Help", T::WizardButton, "MainForm", "Wizard", 6},
      {"MainForm", "Back", T::WizardButton, "MainForm", "Wizard", 2},
      {"MainForm", "Next", T::WizardButton, "MainForm", "Wizard", 3},
      {"MainForm", "Cancel", T::WizardButton, "MainForm", "Wizard", 5},
      {"MainForm", "Finish", T::WizardButton, "MainForm", "Wizard", 4},
      {"MainForm", "Creation", T::Item, "MainForm", "MainList", 0},
      {"MainForm", "Editing", T::Item, "MainForm", "MainList", 1},
      {"MainForm", "Settings", T::Item, "MainForm", "MainList", 2},
      {"MainForm", "About", T::Item, "MainForm", "MainList", 3},
      {"MainForm", "CreationList_Part1", T::Item, "MainForm", "CreationList", 0},
      {"MainForm", "CreationList_Part2", T::Item, "MainForm", "CreationList", 1},
      {"MainForm", "EditionList_Part1", T::Item, "MainForm", "EditionList", 0},
      {"MainForm", "EditionList_Part2", T::Item, "MainForm", "EditionList", 1},
      {"MainForm", "EditionList_Part3", T::Item, "MainForm", "EditionList", 2},
      {"MainForm", "EditionList_Part4", T::Item, "MainForm", "EditionList", 3},
      {"MainForm", "EditionList_Part5", T::Item, "MainForm", "EditionList", 4},
      {"MainForm", "SettingsList_Part1", T::Item, "MainForm", "SettingsList", 0},
      {"SettingsPage", "TitleText", T::HeaderTitle, "MainForm", "WHeaderSettingsPage", 0},
      {"SettingsPage", "SubtitleText", T::HeaderSubtitle, "MainForm", "WHeaderSettingsPage", 0},
      {"SettingsPage", "OverwriteChBox", T::Caption, "MainForm", "chOverWrite", 0},
      {"SettingsPage", "KeepAllMPEG4", T::Caption, "MainForm", "chKeepSys", 0},
      {"SettingsPage", "FlatForStreaming", T::Caption, "MainForm", "chFlat", 0},
      {"SettingsPage", "ProcessPriority", T::Caption, "MainForm", "lbProcess", 0},
      {"SettingsPage", "Language", T::Caption, "MainForm", "lbLang", 0},
      {"SettingsPage", "OnFinishEvent", T::Caption, "MainForm", "chEnableOnFinish", 0},
      {"SettingsPage", "LogKavoFolder", T::Caption, "MainForm", "chKavoLog", 0},
      {"SettingsPage", "LogOutputFolder", T::Caption, "MainForm", "chOutputLog", 0},
      {"SettingsPage", "iTunesStyle", T::Caption, "MainForm", "chiTunesStyle", 0},
      {"SettingsPage", "VerboseMode", T::Caption, "MainForm", "chVerbose", 0},
      {"SettingsPage", "Warning4AVC", T::Caption, "MainForm", "chWarningAVC", 0},
      {"AboutPage", "Links", T::Caption, "MainForm", "lbLinks", 0},
      {"AboutPage", "MP4Box", T::Caption, "MainForm", "lbMP4Box", 0},
      {"AboutPage", "AP", T::Caption, "MainForm", "lbAP", 0},
      {"AboutPage", "MP4Tags", T::Caption, "MainForm", "lbMP4Tags", 0},
      {"AboutPage", "Kavo", T::Caption, "MainForm", "lbKavo", 0},
      {"AboutPage", "ThanksTo", T::Caption, "MainForm", "lbThanks", 0},
      {"AboutPage", "MediaInfo", T::Caption, "MainForm", "lbMediaInfo", 0},
      {"AboutPage", "KVCL", T::Caption, "MainForm", "lbKVCL", 0},
      {"AboutPage", "KDE", T::Caption, "MainForm", "lbKDE", 0},
      {"AboutPage", "You", T::Caption, "MainForm", "lbYou", 0},
      {"MuxPage", "SubtitleText", T::HeaderSubtitle, "MainForm", "WHeaderMuxPage", 0},
      {"MuxPage", "Path", T::Column, "MainForm", "MP4ListView", 1},
      {"MuxPage", "File", T::Column, "MainForm", "MP4ListView", 2},
      {"MuxPage", "Index", T::Column, "MainForm", "MP4ListView", 3},
      {"MuxPage", "Description", T::Column, "MainForm", "MP4ListView", 4},
      {"MuxPage", "Name", T::Column, "MainForm", "MP4ListView", 5},
      {"MuxPage", "Language", T::Column, "MainForm", "MP4ListView", 6},
      {"MuxPage", "btAdd", T::Caption, "MainForm", "btAdd", 0},
      {"MuxPage", "btDelete", T::Caption, "MainForm", "btDelete", 0},
      {"MuxPage", "btMoveUp", T::Caption, "MainForm", "btMoveUp", 0},
      {"MuxPage", "btMoveDown", T::Caption, "MainForm", "btMoveDown", 0},
      {"MuxPage", "btProperties", T::Caption, "MainForm", "btProperties", 0},
      {"MuxPage", "VFRCreate", T::Caption, "MainForm", "chVFR", 0},
      {"MuxPage", "lbSplitAt", T::Caption, "MainForm", "lbSplitat", 0},
      {"MuxPage", "btBrowse", T::Caption, "MainForm", "btMP4Output", 0},
      {"MuxPage", "Compliance", T::Caption, "MainForm", "lbCompliance", 0},
      {"MuxPage", "Hint", T::Caption, "MainForm", "chHint", 0},
      {"ProcessPage", "TitleText", T::HeaderTitle, "MainForm", "WHeaderProcessPage", 0},
      {"ProcessPage", "SubtitleText", T::HeaderSubtitle, "MainForm", "WHeaderProcessPage", 0},
      {"ProcessPage", "Time", T::Column, "MainForm", "ETAListView", 1},
      {"ProcessPage", "Events", T::Column, "MainForm", "ETAListView", 2},
      {"ProcessPage", "CurrentStatus", T::Caption, "MainForm", "lbCurrentStatus", 0},
      {"ProcessPage", "TimeRemain", T::Caption, "MainForm", "lbTime", 0},
      {"ProcessPage", "btAbort", T::Caption, "MainForm", "btAbort", 0},
      {"SplitPage", "TitleText", T::HeaderTitle, "MainForm", "WizardHeaderSplitPage", 0},
      {"SplitPage", "SubtitleText", T::HeaderSubtitle, "MainForm", "WizardHeaderSplitPage", 0},
      {"SplitPage", "VideoPreview", T::Caption, "MainForm", "chVIdeoPreview", 0},
      {"SplitPage", "SplitbySize", T::Caption, "MainForm", "rbSize", 0},
      {"SplitPage", "SplitbyDuration", T::Caption, "MainForm", "rbDuration", 0},
      {"SplitPage", "SplitFrom", T::Caption, "MainForm", "rbFrom", 0},
      {"SplitPage", "SplitTo", T::Caption, "MainForm", "lbTo", 0},
      {"SplitPage", "MB", T::Caption, "MainForm", "lbMB", 0},
      {"SplitPage", "SplitbyChapters", T::Caption, "MainForm", "rbSplitChapN", 0},
      {"SplitPage", "SplitbyAllChapters", T::Caption, "MainForm", "rbSplitChapAll", 0},
      {"ExtractPage", "TitleText", T::HeaderTitle, "MainForm", "WHeaderExtractPage", 0},
      {"ExtractPage", "SubtitleText", T::HeaderSubtitle, "MainForm", "WHeaderExtractPage", 0},
      {"ExtractPage", "gbContent", T::Caption, "MainForm", "gbContent", 0},
      {"MuxPage", "File", T::Column, "MainForm", "ExtractListView", 2},
      {"MuxPage", "Description", T::Column, "MainForm", "ExtractListView", 4},
      {"Properties", "TrackProp", T::TabCaption, "PropForm", "PageControl1", 0},
      {"Properties", "TaggerProp", T::TabCaption, "PropForm", "PageControl1", 1},
      {"Properties", "TabMore", T::TabCaption, "PropForm", "PageControl1", 2},
      {"Properties", "TabPic", T::TabCaption, "PropForm", "PageControl1", 3},
      {"Properties", "gbSourceInfo", T::Caption, "PropForm", "gbSource", 0},
      {"Properties", "gbProperties", T::Caption, "PropForm", "gbProperties", 0},
      {"Properties", "chTagSupport", T::Caption, "PropForm", "chTagSupport", 0},
      {"MainForm", "Cancel", T::Caption, "PropForm", "btCancel", 0},
      {"Properties", "PreviousTrackSelected", T::Hint, "PropForm", "spbt1", 0},
      {"Properties", "NextTrackSelected", T::Hint, "PropForm", "dpbt2", 0},
      {"Properties", "PropForm", T::FormCaption, "PropForm", "PropForm", 0},
      {"ConcatPage", "TitleText", T::HeaderTitle, "MainForm", "WizardHeaderConcatPage", 0},
      {"ConcatPage", "SubtitleText", T::HeaderSubtitle, "MainForm", "WizardHeaderConcatPage", 0},
      {"MuxPage", "Path", T::Column, "MainForm", "ConcListView", 1},
      {"MuxPage", "File", T::Column, "MainForm", "ConcListView", 2},
      {"MuxPage", "Index", T::Column, "MainForm", "ConcListView", 3},
      {"MuxPage", "Description", T::Column, "MainForm", "ConcListView", 4},
      {"MuxPage", "Name", T::Column, "MainForm", "ConcListView", 5},
      {"MuxPage", "Language", T::Column, "MainForm", "ConcListView", 6},
      {"MuxPage", "btAdd", T::Caption, "MainForm", "btConcAdd", 0},
      {"MuxPage", "btDelete", T::Caption, "MainForm", "btConcRemove", 0},
      {"MuxPage", "btMoveUp", T::Caption, "MainForm", "btConcMoveUp", 0},
      {"MuxPage", "btMoveDown", T::Caption, "MainForm", "btConcMoveDown", 0},
      {"MuxPage", "btProperties", T::Caption, "MainForm", "btConcProp", 0},
      {"MuxPage", "btBrowse", T::Caption, "MainForm", "btConcBrowse", 0},
      {"MuxPage", "Compliance", T::Caption, "MainForm", "lbCompliance2", 0},
      {"ConverterPage", "TitleText", T::HeaderTitle, "MainForm", "WHeaderOneClickConv", 0},
      {"ConverterPage", "SubtitleText", T::HeaderSubtitle, "MainForm", "WHeaderOneClickConv", 0},
      {"ConverterPage", "SubOptions", T::Caption, "MainForm", "gbSub", 0},
      {"ConverterPage", "ConvSRT", T::Caption, "MainForm", "rbSRT", 0},
      {"ConverterPage", "ConvTTXT", T::Caption, "MainForm", "rbTTXT", 0},
      {"ConverterPage", "VideoOptions", T::Caption, "MainForm", "gbAVIOptions", 0},
      {"ConverterPage", "NoteForVideo", T::Caption, "MainForm", "AVIConverterText", 0},
  };
  return entries;
}

WideString LanguageFileName(int ItemIndex, const WideString& BoxText) {
  switch (ItemIndex) {
    case 0:
      return L"lang\\Castellano.ini";
    case 1:
      return L"lang\\English.ini";
    case 2:
      return L"lang\\Fran\u00e7ais.ini";
    default:
      return L"lang\\" + BoxText + L".ini";
  }
}

// The profile routines open the file by its 8-bit name: "Français" survives the conversion
// only in a code page that has the letter, which every Western one does. The file is read
// once: the routines would open it again for each of the few hundred texts.
TProfileSnapshot ReadLanguageProfile(const WideString& FileName) { return TProfileSnapshot(WideToAnsi(FileName)); }

std::vector<WideString> ReadLanguageFile(const WideString& FileName) {
  const TProfileSnapshot ini = ReadLanguageProfile(FileName);
  std::vector<WideString> values;
  values.reserve(LanguageEntries().size());
  for (const TLanguageEntry& e : LanguageEntries()) values.push_back(AnsiToWide(ini.ReadString(e.Section, e.Key, "")));
  return values;
}

namespace {

std::optional<WideString> ReadKey(const TProfileSnapshot& Ini, const char* Section, const char* Key) {
  const std::optional<AnsiString> value = Ini.Read(Section, Key);
  if (!value) return std::nullopt;
  return AnsiToWide(*value);
}

}  // namespace

std::vector<std::optional<WideString>> ReadLanguageEntries(const TProfileSnapshot& Ini) {
  std::vector<std::optional<WideString>> values;
  values.reserve(LanguageEntries().size());
  for (const TLanguageEntry& e : LanguageEntries()) values.push_back(ReadKey(Ini, e.Section, e.Key));
  return values;
}

std::vector<std::optional<WideString>> ReadLanguageEntries(const WideString& FileName) {
  return ReadLanguageEntries(ReadLanguageProfile(FileName));
}

std::vector<AnsiString> MissingLanguageKeys(const TProfileSnapshot& Ini) {
  std::vector<AnsiString> missing;
  auto check = [&](const char* Section, const char* Key) {
    const AnsiString name = AnsiString("[") + Section + "] " + Key;
    if (!Ini.Read(Section, Key) && std::find(missing.begin(), missing.end(), name) == missing.end())
      missing.push_back(name);
  };
  for (const TLanguageEntry& e : LanguageEntries()) check(e.Section, e.Key);
  for (const TNamedTextKey& k : NamedTextKeys()) check(k.Section, k.Key);
  return missing;
}

std::vector<AnsiString> MissingLanguageKeys(const WideString& FileName) {
  return MissingLanguageKeys(ReadLanguageProfile(FileName));
}

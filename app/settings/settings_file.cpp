#include "app/settings/settings_file.h"

#include "app/common/named_texts.h"
#include "vcl/inifiles.h"

const char* const kSettingsSection = "Main";
const char* const kSettingsKeys[14] = {"MP4Box_path", "Tmp_path",        "Tagger_path", "SaveLogApp",
                                       "SaveLogOut",  "ModernStyleList", "Lang",        "Priority",
                                       "OverwriteOutput", "KeepAll",     "Flat",        "UseItasTagger",
                                       "Verbose",     "RaiseWarning4AVC"};

namespace {

// Reads one section's keys, noting every value that is present but cannot be used.
class TSettingsReader {
 public:
  TSettingsReader(const TIniFile& Ini, std::vector<WideString>& Problems) : FIni(Ini), FProblems(Problems) {}

  WideString Text(const char* Key, const WideString& Default) {
    return AnsiToWide(FIni.ReadString(kSettingsSection, Key, WideToAnsi(Default)));
  }

  bool Flag(const char* Key) {
    int value = 0;
    return Number(Key, value) && value != 0;
  }

  // An index into a list of Count items; Default when missing, unreadable or outside.
  int Index(const char* Key, int Count, int Default) {
    int value = Default;
    if (!Number(Key, value)) return Default;
    if (value < 0 || value >= Count) {
      Problem(Key);
      return Default;
    }
    return value;
  }

 private:
  bool Number(const char* Key, int& Value) {
    const AnsiString text = FIni.ReadString(kSettingsSection, Key, "");
    if (text.empty()) return false;
    if (ParseProfileInteger(text, Value)) return true;
    Problem(Key);
    return false;
  }

  void Problem(const char* Key) {
    FProblems.push_back(FormatText(NamedTexts().MsgSettingUnreadable, {AnsiToWide(Key)}));
  }

  const TIniFile& FIni;
  std::vector<WideString>& FProblems;
};

}  // namespace

TSettingsReadResult ReadSettingsFile(const WideString& FileName, const TProgramSettings& Current) {
  TSettingsReadResult result;
  result.Settings = Current;
  const TIniFile ini(WideToAnsi(FileName));
  if (!ini.SectionExists(kSettingsSection)) {
    // Not a settings file, or one too damaged to hold its section: the settings stay as
    // they are rather than each Boolean falling to false.
    result.Problems.push_back(NamedTexts().MsgSettingsUnreadable);
    return result;
  }
  TSettingsReader read(ini, result.Problems);
  TProgramSettings& s = result.Settings;
  s.MP4BoxPath = read.Text(kSettingsKeys[0], Current.MP4BoxPath);
  s.TempPath = read.Text(kSettingsKeys[1], Current.TempPath);
  s.TaggerPath = read.Text(kSettingsKeys[2], Current.TaggerPath);
  s.SaveLogApp = read.Flag(kSettingsKeys[3]);
  s.SaveLogOut = read.Flag(kSettingsKeys[4]);
  s.ModernStyleList = read.Flag(kSettingsKeys[5]);
  s.Lang = read.Index(kSettingsKeys[6], kLanguageCount, Current.Lang);
  s.Priority = read.Index(kSettingsKeys[7], kPriorityCount, Current.Priority);
  s.OverwriteOutput = read.Flag(kSettingsKeys[8]);
  s.KeepAll = read.Flag(kSettingsKeys[9]);
  s.Flat = read.Flag(kSettingsKeys[10]);
  s.UseItasTagger = read.Flag(kSettingsKeys[11]);
  s.Verbose = read.Flag(kSettingsKeys[12]);
  s.RaiseWarning4AVC = read.Flag(kSettingsKeys[13]);
  return result;
}

void WriteSettingsFile(const WideString& FileName, const TProgramSettings& s) {
  TIniFile ini(WideToAnsi(FileName));
  ini.WriteString(kSettingsSection, kSettingsKeys[0], WideToAnsi(s.MP4BoxPath));
  ini.WriteString(kSettingsSection, kSettingsKeys[1], WideToAnsi(s.TempPath));
  ini.WriteString(kSettingsSection, kSettingsKeys[2], WideToAnsi(s.TaggerPath));
  ini.WriteBool(kSettingsSection, kSettingsKeys[3], s.SaveLogApp);
  ini.WriteBool(kSettingsSection, kSettingsKeys[4], s.SaveLogOut);
  ini.WriteBool(kSettingsSection, kSettingsKeys[5], s.ModernStyleList);
  ini.WriteInteger(kSettingsSection, kSettingsKeys[6], s.Lang);
  ini.WriteInteger(kSettingsSection, kSettingsKeys[7], s.Priority);
  ini.WriteBool(kSettingsSection, kSettingsKeys[8], s.OverwriteOutput);
  ini.WriteBool(kSettingsSection, kSettingsKeys[9], s.KeepAll);
  ini.WriteBool(kSettingsSection, kSettingsKeys[10], s.Flat);
  ini.WriteBool(kSettingsSection, kSettingsKeys[11], s.UseItasTagger);
  ini.WriteBool(kSettingsSection, kSettingsKeys[12], s.Verbose);
  ini.WriteBool(kSettingsSection, kSettingsKeys[13], s.RaiseWarning4AVC);
}

WideString TempFolderSetting(const WideString& ChosenFolder) {
  const size_t drive = ChosenFolder.find(L":\\");
  if (drive == WideString::npos || drive + 2 >= ChosenFolder.size()) return ChosenFolder;
  return ChosenFolder + L"\\";
}

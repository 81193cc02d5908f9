// The settings file "Kavo.cfg": section "Main", fourteen keys, read into and written from
// the values of the settings controls. Nothing here knows a window: the start-up and
// shut-down code copies the values between these records and the controls.
#pragma once

#include <vector>

#include "vcl/sysutils.h"

struct TProgramSettings {
  WideString MP4BoxPath;       // "MP4Box_path"
  WideString TempPath;         // "Tmp_path"
  WideString TaggerPath;       // "Tagger_path"
  bool SaveLogApp = false;     // "SaveLogApp"
  bool SaveLogOut = false;     // "SaveLogOut"
  bool ModernStyleList = false;  // "ModernStyleList"
  int Lang = 1;                // "Lang": 0 Castellano, 1 English, 2 Français
  int Priority = 3;            // "Priority": 0 Real ... 5 Lowest
  bool OverwriteOutput = false;  // "OverwriteOutput"
  bool KeepAll = false;        // "KeepAll"
  bool Flat = false;           // "Flat"
  bool UseItasTagger = false;  // "UseItasTagger"
  bool Verbose = false;        // "Verbose"
  bool RaiseWarning4AVC = false;  // "RaiseWarning4AVC"

  bool operator==(const TProgramSettings&) const = default;
};

// The section and the keys in file order.
extern const char* const kSettingsSection;
extern const char* const kSettingsKeys[14];

constexpr int kLanguageCount = 3;
constexpr int kPriorityCount = 6;

struct TSettingsReadResult {
  TProgramSettings Settings;
  // One line for each value that could not be used, and for a file without its section;
  // the start-up writes them into the run log.
  std::vector<WideString> Problems;
};

// Reads the file. A missing key takes the default of its kind: the current value
// (Current) for the three paths and the two list indexes, false for the Booleans. A file
// without a "Main" section (not a settings file, or damaged) changes nothing: Current comes
// back, with a problem line. A number that is not one, or an index outside its list, keeps
// the current value and adds a problem line.
TSettingsReadResult ReadSettingsFile(const WideString& FileName, const TProgramSettings& Current);

// Writes the fourteen keys in file order; other sections and keys stay. Raises
// EIniFileException at the first key the system cannot write.
void WriteSettingsFile(const WideString& FileName, const TProgramSettings& Settings);

// The temporary folder setting for a folder chosen in the folder browser: an ordinary
// folder on a drive gets a trailing "\"; a drive root, or a folder without ":\" (a network
// path), stays as it is.
WideString TempFolderSetting(const WideString& ChosenFolder);

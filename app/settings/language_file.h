// The interface language files ("lang\<language>.ini"): which key of which section fills
// which text of the program, in the order they are applied, and the reading of a file into
// one value per entry. The window side (app/pages/language.cpp) puts the values in place.
#pragma once

#include <optional>
#include <vector>

#include "app/settings/profile_snapshot.h"
#include "vcl/sysutils.h"

// What a value of the language file fills.
enum class TLanguageTarget {
  Caption,         // a control's caption
  Hint,            // a control's hint
  Column,          // the title of a list view's column Index
  Item,            // the text of item Index of a list (list view or list box)
  HeaderTitle,     // the whole caption list of a painted page header
  HeaderSubtitle,  // the whole comment list of a painted page header
  WizardButton,    // the caption of the wizard's button of kind Index (8-bit)
  TabCaption,      // the caption of tab page Index of a page control (8-bit)
  FormCaption,     // the window caption of a form (8-bit)
};

struct TLanguageEntry {
  const char* Section;
  const char* Key;
  TLanguageTarget Target;
  const char* Form;       // "MainForm" or "PropForm"
  const char* Component;  // the component's name
  int Index;              // column, item, button kind or tab number
};

// Every control text a language file fills, in the order of application (the named
// texts of the messages are listed with them, in app/common/named_texts).
const std::vector<TLanguageEntry>& LanguageEntries();

// The language file of a choice of the language box: item 0, 1, 2 name their files; any
// other index (no item selected) uses the box's text. Relative to the program folder.
WideString LanguageFileName(int ItemIndex, const WideString& BoxText);

// One value per entry of LanguageEntries(), read from the file with an empty default
// and widened from the system code page; a missing file or key gives an empty text.
std::vector<WideString> ReadLanguageFile(const WideString& FileName);

// The same with no value where the file lacks the key (a missing or damaged file lacks
// them all); an empty value the file does hold is a value.
std::vector<std::optional<WideString>> ReadLanguageEntries(const WideString& FileName);
// "[Section] Key" of every entry and named text the file lacks, in the order they are read.
std::vector<AnsiString> MissingLanguageKeys(const WideString& FileName);

// The file read once, for the routines above and the named texts to share.
TProfileSnapshot ReadLanguageProfile(const WideString& FileName);
std::vector<std::optional<WideString>> ReadLanguageEntries(const TProfileSnapshot& Ini);
std::vector<AnsiString> MissingLanguageKeys(const TProfileSnapshot& Ini);


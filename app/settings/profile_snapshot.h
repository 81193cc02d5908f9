// An INI file read once and then asked as often as needed, answering as the system's 8-bit
// profile routines (GetPrivateProfileStringA) answer for the same file: those open and check
// the file again for every value, which for the hundreds of texts of a language file costs
// far more than reading it.
#pragma once

#include <optional>
#include <vector>

#include "vcl/sysutils.h"

class TProfileSnapshot {
 public:
  // Reads the file now; a missing or unreadable file holds no values. A name without a
  // folder is looked for in the Windows folder, as the profile routines do.
  explicit TProfileSnapshot(const AnsiString& FileName);

  // The value of Key in the first section named Section (both without regard to case or to
  // surrounding blanks, in the file as in the question), at most 2047 characters, with one pair of enclosing quotes taken
  // off; nothing when the file lacks the key or the key's line has no "=".
  std::optional<AnsiString> Read(const AnsiString& Section, const AnsiString& Key) const;
  AnsiString ReadString(const AnsiString& Section, const AnsiString& Key, const AnsiString& Default) const {
    return Read(Section, Key).value_or(Default);
  }

 private:
  struct TKey {
    WideString Name;
    std::optional<WideString> Value;
  };
  struct TSection {
    WideString Name;
    std::vector<TKey> Keys;
  };
  void Parse(const WideString& Text);
  std::vector<TSection> FSections;
};

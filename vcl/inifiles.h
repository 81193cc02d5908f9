// INI files through the system's 8-bit profile routines: one file name, values read with a
// default and written one key at a time. Names and texts are in the ANSI code page.
#pragma once

#include "vcl/sysutils.h"

class TIniFile {
 public:
  explicit TIniFile(const AnsiString& FileName) : FFileName(FileName) {}
  const AnsiString& FileName() const { return FFileName; }

  // A value of at most 2047 characters; Default when the key (or the file) is missing.
  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) const;
  // Default also when the value is not a whole decimal (or "0x" hexadecimal) number.
  int ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) const;
  // Any integer but 0 is true.
  bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) const;
  bool SectionExists(const AnsiString& Section) const;
  bool ValueExists(const AnsiString& Section, const AnsiString& Ident) const;

  // Raise EIniFileException when the system cannot write the file.
  void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value);
  void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value);
  void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);

 private:
  AnsiString FFileName;
};

VCL_DECLARE_EXCEPTION(EIniFileException, Exception)

// The integer a profile value spells, when it spells one: optional blanks and sign,
// decimal digits or "0x" and hexadecimal digits, nothing after them.
bool ParseProfileInteger(const AnsiString& Text, int& Value);

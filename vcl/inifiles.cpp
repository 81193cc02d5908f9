#include "vcl/inifiles.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace {
constexpr DWORD kValueSize = 2048;  // 2047 characters and the terminating zero
}

bool ParseProfileInteger(const AnsiString& Text, int& Value) {
  const AnsiString t = Trim(Text);
  if (t.empty()) return false;
  const char* begin = t.c_str();
  char* end = nullptr;
  errno = 0;
  const bool hex = t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
  const long long v = std::strtoll(begin, &end, hex ? 16 : 10);
  if (errno != 0 || end == begin || *end != '\0') return false;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  Value = static_cast<int>(v);
  return true;
}

AnsiString TIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                const AnsiString& Default) const {
  std::vector<char> buffer(kValueSize);
  const DWORD n = GetPrivateProfileStringA(Section.c_str(), Ident.c_str(), Default.c_str(), buffer.data(),
                                           kValueSize, FFileName.c_str());
  return AnsiString(buffer.data(), n);
}

int TIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) const {
  int value = Default;
  if (!ParseProfileInteger(ReadString(Section, Ident, ""), value)) return Default;
  return value;
}

bool TIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const AnsiString& Section) const {
  // The lines of the section; an absent section gives none, nor does an empty one. Its key
  // names would not do: a line with an empty name ("=x") first in the section ends that list
  // at once, and one damaged line would then hide every value below it.
  std::vector<char> buffer(kValueSize * 4);
  const DWORD n = GetPrivateProfileSectionA(Section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                            FFileName.c_str());
  return n > 0;
}

bool TIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident) const {
  // Two different defaults: a present key answers the same to both.
  const AnsiString a = ReadString(Section, Ident, "\x01");
  const AnsiString b = ReadString(Section, Ident, "\x02");
  return a == b;
}

void TIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) {
  if (!WritePrivateProfileStringA(Section.c_str(), Ident.c_str(), Value.c_str(), FFileName.c_str()))
    throw EIniFileException(Format("Unable to write to %s", FFileName.c_str()));
}

void TIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

void TIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

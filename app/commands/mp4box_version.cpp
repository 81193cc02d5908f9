#include "app/commands/mp4box_version.h"

#include <tuple>

namespace {

// Reads the digits at s[i], moving i past them; -1 when there are none.
int ReadNumber(const AnsiString& s, size_t& i) {
  if (i >= s.size() || s[i] < '0' || s[i] > '9') return -1;
  int n = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9' && n < 100000) n = n * 10 + (s[i++] - '0');
  return n;
}

}  // namespace

bool TMP4BoxVersion::AtLeast(int major, int minor, int patch) const {
  return Known && std::tie(Major, Minor, Patch) >= std::tie(major, minor, patch);
}

WideString TMP4BoxVersion::Text() const {
  if (!Known) return WideString();
  return AnsiToWide(std::to_string(Major) + "." + std::to_string(Minor) + "." + std::to_string(Patch));
}

TMP4BoxVersion ParseMP4BoxVersion(const AnsiString& Output) {
  TMP4BoxVersion v;
  size_t at = Output.find("version ");
  while (at != AnsiString::npos) {
    size_t i = at + 8;
    int major = ReadNumber(Output, i);
    if (major >= 0 && i < Output.size() && Output[i] == '.') {
      ++i;
      int minor = ReadNumber(Output, i);
      if (minor >= 0) {
        v.Major = major;
        v.Minor = minor;
        if (i + 1 < Output.size() && Output[i] == '.') {
          ++i;
          int patch = ReadNumber(Output, i);
          v.Patch = patch < 0 ? 0 : patch;
        }
        v.Known = true;
        return v;
      }
    }
    at = Output.find("version ", at + 1);
  }
  return v;
}

bool TakesUnicodeArguments(const TMP4BoxVersion& V) { return V.AtLeast(0, 6, 0); }

bool IsCurrentGeneration(const TMP4BoxVersion& V) { return V.AtLeast(1, 0, 0); }

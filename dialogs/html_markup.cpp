#include "dialogs/html_markup.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>

#include "widetext/uni_string_list.h"

namespace {

// Where Needle first occurs in Text from From on, letters compared without case; npos when
// it does not.
size_t FindNoCase(const WideString& Text, const WideString& Needle, size_t From = 0) {
  if (Needle.empty() || Text.size() < Needle.size()) return WideString::npos;
  for (size_t i = From; i + Needle.size() <= Text.size(); ++i) {
    size_t k = 0;
    while (k < Needle.size() && std::towlower(Text[i + k]) == std::towlower(Needle[k])) ++k;
    if (k == Needle.size()) return i;
  }
  return WideString::npos;
}

void ReplaceAll(WideString& S, const WideString& From, const WideString& To) {
  size_t at = S.find(From);
  while (at != WideString::npos) {
    S.replace(at, From.size(), To);
    at = S.find(From, at + To.size());
  }
}

struct Entity {
  const wchar_t* Name;
  const wchar_t* Text;
};

// "&amp;" keeps an ampersand for the text drawing routine, which would take a single one
// as the mark of an underlined letter.
constexpr Entity kEntities[] = {
    {L"&amp;", L"&&"},        {L"&quot;", L"\""},       {L"&sect;", L"\u00A7"},
    {L"&permil;", L"\u2030"}, {L"&reg;", L"\u00AE"},    {L"&copy;", L"\u00A9"},
    {L"&para;", L"\u00B6"},   {L"&trade;", L"\u2122"},  {L"&euro;", L"\u20AC"},
};

struct NamedColor {
  const wchar_t* Name;
  TColor Color;
};

constexpr NamedColor kPlainColors[] = {
    {L"clred", clRed},         {L"clblack", clBlack},   {L"clblue", clBlue},       {L"clgreen", clGreen},
    {L"claqua", clAqua},       {L"clyellow", clYellow}, {L"clfuchsia", clFuchsia}, {L"clwhite", clWhite},
    {L"cllime", clLime},       {L"clsilver", clSilver}, {L"clgray", clGray},       {L"clolive", clOlive},
    {L"clnavy", clNavy},       {L"clpurple", clPurple}, {L"clteal", clTeal},       {L"clmaroon", clMaroon},
};

constexpr NamedColor kSystemColors[] = {
    {L"clbackground", clBackground},
    {L"clactivecaption", clActiveCaption},
    {L"clinactivecaption", clInactiveCaption},
    {L"clmenu", clMenu},
    {L"clwindow", clWindow},
    {L"clwindowframe", clWindowFrame},
    {L"clmenutext", clMenuText},
    {L"clwindowtext", clWindowText},
    {L"clcaptiontext", clCaptionText},
    {L"clactiveborder", clActiveBorder},
    {L"clinactiveborder", clInactiveBorder},
    {L"clappworkspace", clAppWorkSpace},
    {L"clhighlight", clHighlight},
    {L"clhighlighttext", clHighlightText},
    {L"clbtnface", clBtnFace},
    {L"clbtnshadow", clBtnShadow},
    {L"clgraytext", clGrayText},
    {L"clbtntext", clBtnText},
    {L"clinactivecaptiontext", clInactiveCaptionText},
    {L"clbtnhighlight", clBtnHighlight},
    {L"cl3ddkshadow", cl3DDkShadow},
    {L"cl3dlight", cl3DLight},
    {L"clinfotext", clInfoText},
    {L"clinfobk", clInfoBk},
};

int HexDigit(wchar_t c) { return c >= L'A' ? c - 55 : c - 48; }

// A character lower-cased as towlower does it, without the call for ASCII, which entity and
// colour names are made of.
wchar_t LowerChar(wchar_t c) {
  if (c < 0x80) return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
  return static_cast<wchar_t>(std::towlower(c));
}

}  // namespace

namespace {

// The entity at At (any letter case), or null.
const Entity* EntityAt(const WideString& Text, size_t At) {
  for (const Entity& e : kEntities) {
    size_t k = 0;
    while (e.Name[k] && At + k < Text.size() && LowerChar(Text[At + k]) == e.Name[k]) ++k;
    if (!e.Name[k]) return &e;
  }
  return nullptr;
}

}  // namespace

WideString PrepareHtmlMarkup(const WideString& Text) {
  bool entities = false, lineBreaks = false;
  for (wchar_t c : Text) {
    entities |= c == L'&';
    lineBreaks |= c == L'\r' || c == L'\n';
  }
  WideString s = Text;
  // Entities never overlap, so replacing them all in one walk ends where replacing each once
  // a pass until nothing changes would; only the ampersand's "&&" can start a new entity
  // with its second character, which is therefore looked at again.
  if (entities) {
    WideString out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
      size_t amp = s.find(L'&', i);
      if (amp == WideString::npos) amp = s.size();
      out.append(s, i, amp - i);
      i = amp;
      if (i == s.size()) break;
      const Entity* e = EntityAt(s, i);
      if (!e) {
        out += s[i++];
        continue;
      }
      size_t nameLength = wcslen(e->Name);
      if (e->Text[0] == L'&') {
        // "&amp;" -> "&&": keep one and let the second stand in for the entity's last letter.
        out += L'&';
        i += nameLength - 1;
        s[i] = L'&';
      } else {
        out += e->Text;
        i += nameLength;
      }
    }
    s.swap(out);
  }
  size_t hash = s.find(L"<#");
  if (hash != WideString::npos) {
    s.erase(hash, 1);
    size_t close = s.find(L'>', hash);
    if (close != WideString::npos) s.erase(close, 1);
  }
  if (lineBreaks) {
    WideString out;
    out.reserve(s.size() + 16);
    for (wchar_t c : s) {
      if (c == L'\r')
        out += L"<BR>";
      else if (c != L'\n')
        out += c;
    }
    s.swap(out);
  }
  return s;
}

void ReplaceRunEntities(WideString& Run) {
  if (Run.find(L'&') == WideString::npos) return;
  ReplaceAll(Run, L"&nbsp;", L" ");
  ReplaceAll(Run, L"&lt;", L"<");
  ReplaceAll(Run, L"&gt;", L">");
}

WideString HtmlUpperCase(const WideString& S) {
  WideString u = S;
  if (!u.empty()) CharUpperBuffW(u.data(), static_cast<DWORD>(u.size()));
  return u;
}

WideString HtmlAttrValue(const WideString& Attrs, const WideString& Name, bool SkipToEquals) {
  size_t at = Attrs.find(Name);
  if (at == WideString::npos) return WideString();
  at += Name.size();
  if (SkipToEquals) {
    at = Attrs.find(L'=', at);
    if (at == WideString::npos) return WideString();
  }
  size_t open = Attrs.find(L'"', at);
  if (open == WideString::npos) return WideString();
  size_t close = Attrs.find(L'"', open + 1);
  if (close == WideString::npos) return WideString();
  return Attrs.substr(open + 1, close - open - 1);
}

WideString HtmlLetterValue(const WideString& Attrs, wchar_t Letter) {
  size_t at = Attrs.find_first_of(WideString{static_cast<wchar_t>(std::towupper(Letter)),
                                             static_cast<wchar_t>(std::towlower(Letter))});
  if (at == WideString::npos) return WideString();
  WideString quoted = HtmlAttrValue(Attrs.substr(at), WideString(1, Attrs[at]));
  if (!quoted.empty()) return quoted;
  size_t p = at + 1;
  while (p < Attrs.size() && (Attrs[p] == L' ' || Attrs[p] == L'=')) ++p;
  size_t e = p;
  while (e < Attrs.size() && (std::iswdigit(Attrs[e]) || (e == p && Attrs[e] == L'-'))) ++e;
  return Attrs.substr(p, e - p);
}

int HtmlNumber(const WideString& S) {
  size_t p = 0;
  while (p < S.size() && S[p] == L' ') ++p;
  bool negative = false;
  if (p < S.size() && (S[p] == L'-' || S[p] == L'+')) negative = S[p++] == L'-';
  long long v = 0;
  bool any = false;
  for (; p < S.size() && S[p] >= L'0' && S[p] <= L'9'; ++p) {
    any = true;
    if (v < 1000000) v = v * 10 + (S[p] - L'0');
  }
  if (!any) return 0;
  if (v > 1000000) v = 1000000;
  return static_cast<int>(negative ? -v : v);
}

TColor HtmlHexColor(const WideString& S) {
  auto pair = [&](size_t i) {
    int hi = i < S.size() ? HexDigit(S[i]) : 0;
    int lo = i + 1 < S.size() ? HexDigit(S[i + 1]) : 0;
    return hi * 16 + lo;
  };
  // Stray characters give odd digits; the result stays a plain RGB value whatever they are.
  unsigned v = static_cast<unsigned>(pair(1) + pair(3) * 256 + pair(5) * 65536);
  return static_cast<TColor>(v & 0xFFFFFF);
}

TColor HtmlNamedColor(const WideString& S) {
  WideString lower = S;
  for (wchar_t& c : lower) c = LowerChar(c);
  for (const NamedColor& n : kPlainColors)
    if (lower == n.Name) return n.Color;
  for (const NamedColor& n : kSystemColors)
    if (lower == n.Name) return n.Color;
  return clBlack;
}

TColor HtmlColorValue(const WideString& S) {
  if (!S.empty() && S[0] == L'#') return HtmlHexColor(S);
  return HtmlNamedColor(S);
}

TColor HtmlBodyColor(const WideString& S) {
  TColor c = clBlack;
  if (FindNoCase(S, L"CL") != WideString::npos) c = HtmlNamedColor(S);
  size_t hash = S.find(L'#');
  if (hash != WideString::npos) c = HtmlHexColor(S.substr(hash));
  return c;
}

int HtmlFontPoints(int Size) {
  static const int points[] = {8, 10, 12, 14, 16};
  if (Size >= 1 && Size <= 5) return points[Size - 1];
  return Size;
}

AnsiString TrimSpaces(const AnsiString& S) {
  size_t b = S.find_first_not_of(' ');
  if (b == AnsiString::npos) return AnsiString();
  size_t e = S.find_last_not_of(' ');
  return S.substr(b, e - b + 1);
}

WideString TrimSpacesW(const WideString& S) {
  size_t b = S.find_first_not_of(L' ');
  if (b == WideString::npos) return WideString();
  size_t e = S.find_last_not_of(L' ');
  return S.substr(b, e - b + 1);
}

void SplitTextLines(const WideString& Text, TUniStringList* Lines) {
  if (Text.find(L"\\n") == WideString::npos && Text.find(L'\r') == WideString::npos) {
    Lines->Add(Text);
    return;
  }
  WideString rest = TrimSpacesW(Text);
  while (!rest.empty()) {
    size_t sep = rest.find(L"\\n");
    size_t width = 2;
    if (sep == WideString::npos) {
      sep = rest.find(L'\r');
      // A CR takes its LF with it, but never the first letter of the next line.
      width = (sep + 1 < rest.size() && rest[sep + 1] == L'\n') ? 2 : 1;
    }
    if (sep == WideString::npos) {
      Lines->Add(TrimSpacesW(rest));
      break;
    }
    Lines->Add(TrimSpacesW(rest.substr(0, sep)));
    rest = TrimSpacesW(rest.substr(sep + width));
  }
}

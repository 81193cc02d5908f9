#include "app/settings/language_codes.h"

namespace {

struct TCodeRow {
  const wchar_t* Code;
  const wchar_t* Name;
};

// ISO 639-1 codes with the English names the program shows, older codes included.
const TCodeRow CodeTable[] = {
    {L"aa", L"Afar"}, {L"ab", L"Abkhazian"}, {L"af", L"Afrikaans"}, {L"am", L"Amharic"},
    {L"ar", L"Arabic"}, {L"as", L"Assamese"}, {L"ay", L"Aymara"}, {L"az", L"Azerbaijani"},
    {L"ba", L"Bashkir"}, {L"be", L"Byelorussian"}, {L"bg", L"Bulgarian"}, {L"bh", L"Bihari"},
    {L"bi", L"Bislama"}, {L"bn", L"Bengali"}, {L"bo", L"Tibetan"}, {L"br", L"Breton"},
    {L"ca", L"Catalan"}, {L"co", L"Corsican"}, {L"cs", L"Czech"}, {L"cy", L"Welsh"},
    {L"da", L"Danish"}, {L"de", L"German"}, {L"dz", L"Bhutani"}, {L"el", L"Greek"},
    {L"en", L"English"}, {L"eo", L"Esperanto"}, {L"es", L"Spanish"}, {L"et", L"Estonian"},
    {L"eu", L"Basque"}, {L"fa", L"Persian"}, {L"fi", L"Finnish"}, {L"fj", L"Fiji"},
    {L"fo", L"Faroese"}, {L"fr", L"French"}, {L"fy", L"Frisian"}, {L"ga", L"Irish"},
    {L"gd", L"Gaelic"}, {L"gl", L"Galician"}, {L"gn", L"Guarani"}, {L"gu", L"Gujarati"},
    {L"ha", L"Hausa"}, {L"he", L"Hebrew"}, {L"hi", L"Hindi"}, {L"hr", L"Croatian"},
    {L"hu", L"Hungarian"}, {L"hy", L"Armenian"}, {L"ia", L"Interlingua"}, {L"id", L"Indonesian"},
    {L"ie", L"Interlingue"}, {L"ik", L"Inupiak"}, {L"in", L"Indonesian"}, {L"is", L"Icelandic"},
    {L"it", L"Italian"}, {L"iu", L"Inuktitut"}, {L"iw", L"Hebrew"}, {L"ja", L"Japanese"},
    {L"ji", L"Yiddish"}, {L"jw", L"Javanese"}, {L"ka", L"Georgian"}, {L"kk", L"Kazakh"},
    {L"kl", L"Greenlandic"}, {L"km", L"Cambodian"}, {L"kn", L"Kannada"}, {L"ko", L"Korean"},
    {L"ks", L"Kashmiri"}, {L"ku", L"Kurdish"}, {L"ky", L"Kirghiz"}, {L"la", L"Latin"},
    {L"ln", L"Lingala"}, {L"lo", L"Laothian"}, {L"lt", L"Lithuanian"}, {L"lv", L"Latvian"},
    {L"mg", L"Malagasy"}, {L"mi", L"Maori"}, {L"mk", L"Macedonian"}, {L"ml", L"Malayalam"},
    {L"mn", L"Mongolian"}, {L"mo", L"Moldavian"}, {L"mr", L"Marathi"}, {L"ms", L"Malay"},
    {L"mt", L"Maltese"}, {L"my", L"Burmese"}, {L"na", L"Nauru"}, {L"ne", L"Nepali"},
    {L"nl", L"Dutch"}, {L"no", L"Norwegian"}, {L"oc", L"Occitan"}, {L"om", L"Oromo"},
    {L"or", L"Oriya"}, {L"pa", L"Punjabi"}, {L"pl", L"Polish"}, {L"ps", L"Pushto"},
    {L"pt", L"Portuguese"}, {L"qu", L"Quechua"}, {L"rm", L"Rhaeto-Romance"}, {L"rn", L"Kirundi"},
    {L"ro", L"Romanian"}, {L"ru", L"Russian"}, {L"rw", L"Kinyarwanda"}, {L"sa", L"Sanskrit"},
    {L"sd", L"Sindhi"}, {L"sg", L"Sangho"}, {L"sh", L"Serbo-Croatian"}, {L"si", L"Sinhalese"},
    {L"sk", L"Slovak"}, {L"sl", L"Slovenian"}, {L"sm", L"Samoan"}, {L"sn", L"Shona"},
    {L"so", L"Somali"}, {L"sq", L"Albanian"}, {L"sr", L"Serbian"}, {L"ss", L"Siswati"},
    {L"st", L"Sesotho"}, {L"su", L"Sundanese"}, {L"sv", L"Swedish"}, {L"sw", L"Swahili"},
    {L"ta", L"Tamil"}, {L"te", L"Telugu"}, {L"tg", L"Tajik"}, {L"th", L"Thai"},
    {L"ti", L"Tigrinya"}, {L"tk", L"Turkmen"}, {L"tl", L"Tagalog"}, {L"tn", L"Setswana"},
    {L"to", L"Tonga"}, {L"tr", L"Turkish"}, {L"ts", L"Tsonga"}, {L"tt", L"Tatar"},
    {L"tw", L"Twi"}, {L"ug", L"Uighur"}, {L"uk", L"Ukrainian"}, {L"ur", L"Urdu"},
    {L"uz", L"Uzbek"}, {L"vi", L"Vietnamese"}, {L"vo", L"Volapuk"}, {L"wo", L"Wolof"},
    {L"xh", L"Xhosa"}, {L"yi", L"Yiddish"}, {L"yo", L"Yoruba"}, {L"za", L"Zhuang"},
    {L"zh", L"Chinese"}, {L"zu", L"Zulu"},
};

struct TPositionRow {
  const wchar_t* Name;
  int Position;
};

// Positions in the properties dialog's language list (item 0 is "Unspecified"). Where the
// list shows an English name, some rows hold the native one; those names never match.
const TPositionRow PositionTable[] = {
    {L"Abkhazian", 1}, {L"Afar", 2}, {L"Afrikaans", 3}, {L"Albanian", 4}, {L"Arabic", 5},
    {L"Armenian", 6}, {L"Australian", 7}, {L"Basque", 8}, {L"Belarusian", 9}, {L"Bengali", 10},
    {L"Berber", 11}, {L"Bosnian", 12}, {L"Breton", 13}, {L"Bulgarian", 14}, {L"Castilian", 15},
    {L"Catalan", 16}, {L"Caucasian", 17}, {L"Celtic", 18}, {L"Chinese", 19}, {L"Corsican", 20},
    {L"Hrvatski", 21}, {L"Czech", 22}, {L"Dansk", 23}, {L"Nederlands", 24}, {L"English", 25},
    {L"Estonian", 26}, {L"Faorese", 27}, {L"Suomi", 28}, {L"French", 29}, {L"Gaelic", 30},
    {L"Georgian", 31}, {L"Deutsch", 32}, {L"Greek", 33}, {L"Haitian", 34}, {L"Hawaiian", 35},
    {L"Hebrew", 36}, {L"Hindi", 37}, {L"Magyar", 38}, {L"Islenska", 39}, {L"Indonesian", 40},
    {L"Iranian", 41}, {L"Irish", 42}, {L"Italiano", 43}, {L"Japanese", 44}, {L"Kabyle", 45},
    {L"Kazakh", 46}, {L"Kirghiz", 47}, {L"Korean", 48}, {L"Latvian", 49}, {L"Lithuanian", 50},
    {L"Luxembourgish", 51}, {L"Macedonian", 52}, {L"Malay", 53}, {L"Moldavian", 54},
    {L"Mongolian", 55}, {L"Norsk", 56}, {L"Occitan", 57}, {L"Polish", 58}, {L"Portugues", 59},
    {L"Romanian", 60}, {L"Russian", 61}, {L"Scottish", 62}, {L"Serbian", 63},
    {L"Serbo-Croatian", 64}, {L"Slovak", 65}, {L"Slovenian", 66}, {L"Espanol", 67},
    {L"Swahili", 68}, {L"Svenska", 69}, {L"Tahitian", 70}, {L"Thai", 71}, {L"Tibetan", 72},
    {L"Turkish", 73}, {L"Ukrainian", 74}, {L"Vietnamese", 75}, {L"Welsh", 76},
};

bool IsTwoNuls(const WideString& S) { return S.size() == 2 && S[0] == L'\0' && S[1] == L'\0'; }

}  // namespace

WideString LangCodeToName(const WideString& Code) {
  if (IsTwoNuls(Code)) return WideString();
  for (const TCodeRow& row : CodeTable) {
    if (Code == row.Code) return row.Name;
  }
  return Code;
}

WideString LangNameToCode(const WideString& Name) {
  if (IsTwoNuls(Name)) return WideString();
  for (const TCodeRow& row : CodeTable) {
    // "in" only ever names Indonesian for reading; "rm" gives no code to MP4Box.
    if (WideString(row.Code) == L"in" || WideString(row.Code) == L"rm") continue;
    if (Name == row.Name) return row.Code;
  }
  return WideString();
}

int LangNameToIndex(const WideString& Name) {
  for (const TPositionRow& row : PositionTable) {
    if (Name == row.Name) return row.Position;
  }
  return 0;
}

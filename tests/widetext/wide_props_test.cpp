// Wide properties in stored form descriptions: the legacy names of wide string and wide
// character properties, the wide list's stored forms, and write -> read round trips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "vcl/formtext.h"
#include "wide_components.h"
#include "widetext/uniexceptions.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<WideString>;

Lines LinesOf(const TWideStrings& l) {
  Lines out;
  for (int i = 0; i < l.Count(); ++i) out.push_back(l[i]);
  return out;
}

Bytes BytesOf(TMemoryStream& s) {
  const auto* p = static_cast<const uint8_t*>(s.Memory());
  return Bytes(p, p + s.Size());
}

// Turns the process-wide switch on or off for one test, and back off after it.
struct LegacyDecoding {
  explicit LegacyDecoding(bool on) { LegacyWidePropertyDecoding = on; }
  ~LegacyDecoding() { LegacyWidePropertyDecoding = false; }
};

// A binary description of one TWideWidget whose values are written by props: for values
// the text form cannot hold (8-bit strings of UTF-8 bytes, wide strings of ASCII text).
Bytes Describe(const std::function<void(TWriter&)>& props) {
  TMemoryStream s;
  {
    TWriter w(&s);
    w.WriteSignature();
    w.WriteStr("TWideWidget");
    w.WriteStr("Widget");
    props(w);
    w.WriteListEnd();  // values
    w.WriteListEnd();  // children
  }
  return BytesOf(s);
}

// A wide string value even for ASCII text (the writer would store that as 8-bit).
void WriteWide(TWriter& w, const WideString& s) {
  const uint32_t length = static_cast<uint32_t>(s.size());
  w.WriteValue(vaWString);
  w.Write(&length, 4);
  w.Write(s.data(), int64_t{length} * 2);
}

void StringList(TWriter& w, const std::vector<AnsiString>& items) {
  w.WriteListBegin();
  for (const AnsiString& item : items) w.WriteString(item);
  w.WriteListEnd();
}

void Load(TWideWidget& widget, const Bytes& bytes) {
  ReadComponentData(bytes.data(), bytes.size(), &widget, "widget.dfm");
}

void LoadText(TWideWidget& widget, const char* text) {
  ReadComponentData(text, strlen(text), &widget, "widget.dfm");
}

Bytes Write(TWideWidget& widget, TComponent* ancestor = nullptr) {
  TMemoryStream s;
  {
    TWriter w(&s);
    w.WriteDescendent(&widget, ancestor);
  }
  return BytesOf(s);
}

// Where a stored name (a short string) appears in a description; npos when absent.
size_t FindName(const Bytes& bytes, const AnsiString& name) {
  Bytes needle{static_cast<uint8_t>(name.size())};
  needle.insert(needle.end(), name.begin(), name.end());
  auto it = std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end());
  return it == bytes.end() ? AnsiString::npos : static_cast<size_t>(it - bytes.begin()) + needle.size();
}

// The message of the EReadError the load raises; empty when it loads.
std::string ReadErrorOf(const std::function<void()>& load) {
  try {
    load();
  } catch (const EReadError& e) {
    return e.Message;
  }
  return {};
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

const AnsiString kCafeAlphaUtf8 = "Caf\xC3\xA9 \xCE\xB1";  // "Café α" in UTF-8
const WideString kCafeAlpha = L"Caf\xE9 \x3B1";

// --- WideString properties: P + "W" and P + "_UTF7" --------------------------------

TEST(WideProps, LegacyTextsReplaceTheCaptionOnlyWithLegacyDecodingOutsideDesign) {
  struct Case {
    const char* name;
    AnsiString stored;
    bool legacy;
    bool designing;
    WideString caption;
  } cases[] = {
      {"CaptionW", kCafeAlphaUtf8, false, false, L"Plain"},  // loads, and is discarded
      {"CaptionW", kCafeAlphaUtf8, true, false, kCafeAlpha},
      {"CaptionW", kCafeAlphaUtf8, true, true, L"Plain"},
      {"Caption_UTF7", "Hi Mom -+Jjo--!", false, false, L"Plain"},
      {"Caption_UTF7", "Hi Mom -+Jjo--!", true, false, L"Hi Mom -\x263A-!"},
      {"Caption_UTF7", "Hi Mom -+Jjo--!", true, true, L"Plain"},
      {"Caption_UTF7", "+AGF-", false, false, L"Plain"},  // ill-formed, but never decoded
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.name << " legacy " << c.legacy << " designing " << c.designing);
    LegacyDecoding legacy(c.legacy);
    TWideWidget widget(nullptr);
    if (c.designing) widget.SetComponentState(csDesigning, true);
    Load(widget, Describe([&](TWriter& w) {
           w.WriteStr("Caption");
           w.WriteString("Plain");
           w.WriteStr(c.name);
           w.WriteString(c.stored);
           w.WriteStr("Hint");
           w.WriteString("after");
         }));
    EXPECT_EQ(widget.Caption, c.caption);
    EXPECT_EQ(widget.Hint, L"after");  // the value was consumed whole
  }
}

TEST(WideProps, IllFormedLegacyUtf7AbortsTheLoad) {
  LegacyDecoding legacy(true);
  TWideWidget widget(nullptr);
  const Bytes bytes = Describe([](TWriter& w) {
    w.WriteStr("Hint_UTF7");
    w.WriteString("+AGF-");
  });
  try {
    Load(widget, bytes);
    ADD_FAILURE() << "loaded";
  } catch (const EUniGeneralError& e) {
    EXPECT_STREQ(e.what(), "Invalid UTF7");
  }
}

// --- WideChar properties: P + "W" and P + "_UTF7" ------------------------------------

TEST(WideProps, StoredWideCharacterTable) {
  struct Case {
    const char* what;
    std::function<void(TWriter&)> value;
    WideChar mark;  // 0: the load fails with "Invalid property value"
  } cases[] = {
      {"8-bit", [](TWriter& w) { w.WriteString("x"); }, L'x'},
      {"8-bit beyond ASCII", [](TWriter& w) { w.WriteString("\xE9"); }, L'\xE9'},
      {"wide", [](TWriter& w) { WriteWide(w, L"\x3A9"); }, L'\x3A9'},
      {"two 8-bit characters", [](TWriter& w) { w.WriteString("ab"); }, 0},
      {"two wide characters", [](TWriter& w) { WriteWide(w, L"\x3A9\x3B1"); }, 0},
      {"empty wide", [](TWriter& w) { WriteWide(w, L""); }, 0},
      {"empty 8-bit", [](TWriter& w) { w.WriteString(""); }, 0},
      {"integer", [](TWriter& w) { w.WriteInteger(65); }, 0},
      {"identifier", [](TWriter& w) { w.WriteIdent("x"); }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TWideWidget widget(nullptr);
    const Bytes bytes = Describe([&](TWriter& w) {
      w.WriteStr("Mark");
      w.WriteString("m");
      w.WriteStr("MarkW");
      c.value(w);
    });
    const std::string error = ReadErrorOf([&] { Load(widget, bytes); });
    if (c.mark) {
      EXPECT_EQ(error, "");
      EXPECT_EQ(widget.Mark, c.mark);
    } else {
      EXPECT_TRUE(EndsWith(error, "Invalid property value")) << error;
      EXPECT_NE(error.find("MarkW"), std::string::npos) << error;  // names what failed
    }
  }
}

TEST(WideProps, Utf7WideCharacterIsAlwaysDecoded) {
  struct Case {
    AnsiString stored;
    WideChar sign;
  } cases[] = {
      {"+A6k-", L'\x3A9'},
      {"+A6kDsQ-", L'\x3A9'},  // the first character of a longer text
      {"", L'\0'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    TWideWidget widget(nullptr);
    widget.Sign = L's';
    Load(widget, Describe([&](TWriter& w) {
           w.WriteStr("Sign_UTF7");
           w.WriteString(c.stored);
         }));
    EXPECT_EQ(widget.Sign, c.sign);
  }
}

TEST(WideProps, WideCharacterWriteRuleTable) {
  enum AncestorKind { None, SameClass, OtherClass };
  struct Case {
    const char* what;
    WideChar mark;
    AncestorKind ancestor;
    WideChar ancestorMark;
    bool written;
  } cases[] = {
      {"equal to the default", L'-', None, 0, false},
      {"differs from the default", L'\x3A9', None, 0, true},
      {"as the ancestor", L'\x3A9', SameClass, L'\x3A9', false},
      {"the default, ancestor differs", L'-', SameClass, L'x', true},
      {"the default, other-class ancestor differs", L'-', OtherClass, L'x', false},
      {"other-class ancestor differs, not the default", L'\x3A9', OtherClass, L'x', true},
      {"as the other-class ancestor", L'\x3A9', OtherClass, L'\x3A9', false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TWideWidget widget(nullptr);
    widget.Mark = c.mark;
    TWideWidget sameAncestor(nullptr);
    TWideWidgetEx otherAncestor(nullptr);
    TWideWidget* ancestor = c.ancestor == SameClass ? &sameAncestor : c.ancestor == OtherClass ? &otherAncestor : nullptr;
    if (ancestor) ancestor->Mark = c.ancestorMark;
    const Bytes bytes = Write(widget, ancestor);
    const size_t at = FindName(bytes, "MarkW");
    ASSERT_EQ(at != AnsiString::npos, c.written);
    if (c.written) {
      // A wide string of length 1: type 0x12, the length in 4 bytes, one UTF-16LE unit.
      const Bytes expected{0x12, 1, 0, 0, 0, static_cast<uint8_t>(c.mark & 0xFF), static_cast<uint8_t>(c.mark >> 8)};
      EXPECT_EQ(Bytes(bytes.begin() + at, bytes.begin() + at + 7), expected);
    }
  }
}

TEST(WideProps, WideCharacterNamesFollowStoredConditionAccessAndDeclaredDefault) {
  TWideWidget widget(nullptr);
  widget.Hidden = L'\x3A9';
  widget.Fixed = L'\x3A9';
  const Bytes bytes = Write(widget);
  EXPECT_EQ(FindName(bytes, "HiddenW"), AnsiString::npos);  // not stored
  EXPECT_EQ(FindName(bytes, "FixedW"), AnsiString::npos);   // cannot be read back
  EXPECT_NE(FindName(bytes, "SignW"), AnsiString::npos);    // no default: always differs
  // The legacy names of WideString properties are never written.
  EXPECT_EQ(FindName(bytes, "CaptionW"), AnsiString::npos);
  EXPECT_EQ(FindName(bytes, "Caption_UTF7"), AnsiString::npos);
}

// --- Wide lists ----------------------------------------------------------------------

TEST(WideProps, WideListValueFormsFromText) {
  struct Case {
    const char* text;
    Lines lines;
  } cases[] = {
      // one 8-bit text under the legacy name
      {"Lines.WideStrings = 'one'#13#10'two'", {L"one", L"two"}},
      // one wide text
      {"Lines.Strings = '\xCE\xB1'#13#10'\xCE\xB2'", {L"\x3B1", L"\x3B2"}},
      // a list of 8-bit and wide items
      {"Lines.Strings = (\n'plain'\n'\xC3\xBC\xE6\x97\xA5'\n'')", {L"plain", L"\xFC\x65E5", L""}},
      {"Lines.WideStrings = (\n'a'\n'\xCE\xB1')", {L"a", L"\x3B1"}},
      // older descriptions holding the lines in the 8-bit view
      {"Lines.AnsiStrings.Strings = (\n'x'\n'y')", {L"x", L"y"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TWideWidget widget(nullptr);
    widget.Lines.SetTextStr(L"old\r\nlines\r\nhere");
    const std::string text = std::string("object Widget: TWideWidget\n") + c.text + "\nend\n";
    LoadText(widget, text.c_str());
    EXPECT_EQ(LinesOf(widget.Lines), c.lines);
  }
}

TEST(WideProps, WideListRejectsOtherValues) {
  for (const char* value : {"Lines.Strings = 5", "Lines.WideStrings = (\n1)", "Lines.WideStrings = True"}) {
    SCOPED_TRACE(value);
    TWideWidget widget(nullptr);
    const std::string text = std::string("object Widget: TWideWidget\n") + value + "\nend\n";
    const std::string error = ReadErrorOf([&] { LoadText(widget, text.c_str()); });
    EXPECT_TRUE(EndsWith(error, "Invalid property value")) << error;
  }
}

TEST(WideProps, LegacyListNamesTable) {
  struct Case {
    const char* name;
    std::vector<AnsiString> items;
    bool legacy;
    bool prefilled;
    Lines lines;
  } cases[] = {
      // an empty list takes the UTF-8 items even with legacy decoding off
      {"Lines.WideStringsW", {kCafeAlphaUtf8, "b"}, false, false, {kCafeAlpha, L"b"}},
      {"Lines.WideStringsW", {kCafeAlphaUtf8, "b"}, false, true, {L"stored"}},
      {"Lines.WideStringsW", {kCafeAlphaUtf8, "b"}, true, true, {kCafeAlpha, L"b"}},
      {"Lines.WideStrings_UTF7", {"Hi Mom -+Jjo--!", "+A6k-"}, false, false, {}},
      {"Lines.WideStrings_UTF7", {"Hi Mom -+Jjo--!", "+A6k-"}, false, true, {L"stored"}},
      {"Lines.WideStrings_UTF7", {"Hi Mom -+Jjo--!", "+A6k-"}, true, true, {L"Hi Mom -\x263A-!", L"\x3A9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.name << " legacy " << c.legacy << " prefilled " << c.prefilled);
    LegacyDecoding legacy(c.legacy);
    TWideWidget widget(nullptr);
    int changes = 0;
    widget.Lines.OnChange = [&](TObject*) { ++changes; };
    Load(widget, Describe([&](TWriter& w) {
           if (c.prefilled) {
             w.WriteStr("Lines.Strings");
             StringList(w, {"stored"});
           }
           w.WriteStr(c.name);
           StringList(w, c.items);
           w.WriteStr("Caption");
           w.WriteString("after");
         }));
    EXPECT_EQ(LinesOf(widget.Lines), c.lines);
    EXPECT_EQ(widget.Caption, L"after");
    // Each value that is applied changes the list once, in one update bracket.
    const bool applied = !c.lines.empty() && c.lines != Lines{L"stored"};
    EXPECT_EQ(changes, int{c.prefilled} + int{applied});
  }
}

TEST(WideProps, WideListWriteRuleTable) {
  TUniStringList equal, different, empty;
  equal.SetTextStr(L"a\r\n\x3B1");
  different.SetTextStr(L"a");
  TStringList ansi;
  ansi.Add("a");
  ansi.Add("?");
  struct Case {
    const char* what;
    WideString lines;
    TPersistent* ancestor;
    bool written;
  } cases[] = {
      {"empty, no ancestor", L"", nullptr, false},
      {"lines, no ancestor", L"a\r\n\x3B1", nullptr, true},
      {"as the ancestor", L"a\r\n\x3B1", &equal, false},
      {"empty as the ancestor", L"", &empty, false},
      {"differs from the ancestor", L"a\r\n\x3B1", &different, true},
      {"empty, ancestor has lines", L"", &different, true},
      {"ancestor of another kind", L"a\r\n\x3B1", &ansi, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TUniStringList list;
    list.SetTextStr(c.lines);
    TMemoryStream s;
    {
      TWriter w(&s);
      w.Ancestor = c.ancestor;
      list.DefineProperties(&w);
    }
    const Bytes bytes = BytesOf(s);
    EXPECT_EQ(FindName(bytes, "Strings") != AnsiString::npos, c.written);
    EXPECT_EQ(FindName(bytes, "WideStrings"), AnsiString::npos);
  }
}

TEST(WideProps, WriteThenReadKeepsEveryWideValue) {
  TWideWidget widget(nullptr);
  widget.SetName("Widget");
  widget.Caption = L"\x395\x3BB\x3BB\x3B7\x3BD\x3B9\x3BA\x3AC";  // Ελληνικά
  widget.Hint = L"\x65E5\x672C\x8A9E";                            // 日本語
  widget.Mark = L'\x3A9';
  widget.Sign = L'\xE9';
  widget.Lines.SetTextStr(L"\xC9t\xE9\r\nplain\r\n\r\n\x65E5\x4ED8\r\n");
  const Bytes bytes = Write(widget);

  // The lines are stored once, wide, and never again through the lossy 8-bit view.
  EXPECT_NE(FindName(bytes, "Lines.Strings"), AnsiString::npos);
  EXPECT_EQ(FindName(bytes, "Lines.AnsiStrings.Strings"), AnsiString::npos);

  TWideWidget copy(nullptr);
  Load(copy, bytes);
  EXPECT_EQ(copy.Caption, widget.Caption);
  EXPECT_EQ(copy.Hint, widget.Hint);
  EXPECT_EQ(copy.Mark, widget.Mark);
  EXPECT_EQ(copy.Sign, widget.Sign);
  EXPECT_EQ(LinesOf(copy.Lines), LinesOf(widget.Lines));
  EXPECT_EQ(Write(copy), bytes);
}

TEST(WideProps, TextDescriptionLoadsLikeItsWrittenForm) {
  const char* const text =
      "object Widget: TWideWidget\n"
      "  Caption = '\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC'\n"
      "  Mark = '\xCE\xA9'\n"
      "  MarkW = '\xCE\xB1'\n"
      "  CaptionW = 'ignored'\n"
      "  Lines.Strings = (\n"
      "    'Caf'#233\n"
      "    '\xE6\x97\xA5\xE6\x9C\xAC')\n"
      "end\n";
  TWideWidget widget(nullptr);
  LoadText(widget, text);
  EXPECT_EQ(widget.Caption, L"\x395\x3BB\x3BB\x3B7\x3BD\x3B9\x3BA\x3AC");
  EXPECT_EQ(widget.Mark, L'\x3B1');  // the later MarkW wins
  EXPECT_EQ(LinesOf(widget.Lines), (Lines{L"Caf\xE9", L"\x65E5\x672C"}));
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ansi_platform.h"
#include "temp_folder.h"
#include "widetext/codecs.h"
#include "widetext/uni_string_list.h"
#include "widetext/utf8_lines.h"

namespace {

using Lines = std::vector<WideString>;
using Bytes = std::string;

Lines LinesOf(const TWideStrings& l) {
  Lines out;
  for (int i = 0; i < l.Count(); ++i) out.push_back(l[i]);
  return out;
}

// Greek and Japanese: neither has a form in the 1252 code page of these machines.
const WideString kGreekName = L"\x395\x3bb\x3bb\x3b7\x3bd\x3b9\x3ba\x3ac.txt";
const WideString kJapaneseName = L"\x65e5\x672c\x8a9e\x306e\x30d5\x30a1\x30a4\x30eb.txt";

// Text files in a folder of their own; written and read back with the system's own
// W calls, so that the code under test is checked against them.
class TextFiles : public ::testing::Test {
 protected:
  WideString Path(const WideString& name) const { return folder_ / name; }
  WideString Write(const WideString& name, const Bytes& bytes) const {
    const WideString path = Path(name);
    EXPECT_TRUE(TempFolder::MakeFile(path, bytes));
    return path;
  }
  Bytes Read(const WideString& path) const {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << "missing file";
    Bytes out(GetFileSize(h, nullptr), '\0');
    DWORD got = 0;
    ReadFile(h, out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
    CloseHandle(h);
    return out;
  }

  TempFolder folder_;
};

Bytes Utf16LE(const WideString& s) { return Bytes(reinterpret_cast<const char*>(s.data()), s.size() * 2); }

Bytes Utf16BE(const WideString& s) {
  Bytes out;
  for (WideChar c : s) {
    out += static_cast<char>(c >> 8);
    out += static_cast<char>(c & 0xFF);
  }
  return out;
}

TEST_F(TextFiles, ByteOrderMarkDecidesHowAFileLoads) {
  const Bytes le = "\xFF\xFE", be = "\xFE\xFF", utf8 = "\xEF\xBB\xBF";
  struct Case {
    const char* what;
    Bytes bytes;
    TTextFileEncoding encoding;
    Lines lines;
  } cases[] = {
      {"UTF-16LE", le + Utf16LE(L"a\r\nb"), teUtf16LE, {L"a", L"b"}},
      {"UTF-16BE", be + Utf16BE(L"a\r\nb"), teUtf16BE, {L"a", L"b"}},
      // Every unit is swapped, also after a zero unit in the middle of the text.
      {"UTF-16BE with a zero unit", be + Utf16BE(WideString(L"ab\0\x3b1\x3b2\r\n\x65e5", 8)), teUtf16BE,
       {WideString(L"ab\0\x3b1\x3b2", 5), L"\x65e5"}},
      {"UTF-8", utf8 + "\xCE\x95\xCE\xBB\r\n\xE6\x97\xA5\xE6\x9C\xAC\r\n", teUtf8, {L"\x395\x3bb", L"\x65e5\x672c"}},
      {"UTF-8 with a 4-byte form", utf8 + "\xF0\x9F\x8E\xAC", teUtf8, {L"\xD83C\xDFAC"}},
      // One bad byte costs one character, not the whole subtitle.
      {"UTF-8 with a bad byte", utf8 + "1\r\nsub\xFFtitle\r\n", teUtf8, {L"1", L"sub\xFFFDtitle"}},
      {"8-bit", "caf\xE9\r\nna\xEFve", teAnsi, {L"caf\xE9", L"na\xEFve"}},
      {"two 8-bit bytes", "ab", teAnsi, {L"ab"}},
      {"one byte", "x", teAnsi, {L"x"}},
      {"empty", "", teAnsi, {}},
      {"only a mark", le, teUtf16LE, {}},
      {"odd last byte", le + Utf16LE(L"a") + "b", teUtf16LE, {L"a"}},
      {"half a UTF-8 mark", "\xEF\xBB", teAnsi, {L"\xEF\xBB"}},
  };
  for (const Case& c : cases) {
    const WideString file = Write(L"detect.txt", c.bytes);
    TUniStringList l;
    l.LoadFromFile(file);
    EXPECT_EQ(l.LastFileEncoding(), c.encoding) << c.what;
    EXPECT_EQ(LinesOf(l), c.lines) << c.what;
  }
}

TEST_F(TextFiles, SavingWritesUtf16LEWithItsMarkWhateverWasLoaded) {
  for (const Bytes& source : {Bytes("\xEF\xBB\xBF\xCE\xB1\r\nb"), Bytes("\xE9\nb\n"), "\xFE\xFF" + Utf16BE(L"\x3b1\nb")}) {
    const WideString file = Write(L"in.txt", source);
    TUniStringList l;
    l.LoadFromFile(file);
    l.SaveToFile(Path(L"out.txt"));
    const WideString first = l[0];
    EXPECT_EQ(Read(Path(L"out.txt")), "\xFF\xFE" + Utf16LE(first + L"\r\nb\r\n"));
  }
}

TEST_F(TextFiles, NamesOutsideTheCodePageSaveFindAndLoad) {
  for (const WideString& name : {kGreekName, kJapaneseName}) {
    TUniStringList l;
    l.SetTextStr(L"\x3b1\x3b2\x3b3\n\x3072\x3089\x304c\x306a");
    l.SaveToFile(Path(name));

    // The system sees the file under exactly that name.
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(Path(name).c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FindClose(h);
    EXPECT_EQ(WideString(fd.cFileName), name);

    TUniStringList back;
    back.LoadFromFile(Path(name));
    EXPECT_TRUE(back.Equals(&l));
    EXPECT_EQ(back.LastFileEncoding(), teUtf16LE);

    TUniFileStream stream(Path(name), fmOpenRead | fmShareDenyNone);
    EXPECT_EQ(stream.Size(), 2 + 2 * (3 + 2 + 4 + 2));
  }
}

TEST_F(TextFiles, StreamsDetectTheMarkUnlessToldNotTo) {
  TUniStringList l;
  TUniMemoryStream m;
  m.WriteBuffer("\xEF\xBB\xBF" "A", 4);
  m.SetPosition(0);
  l.LoadFromStream(&m);
  EXPECT_EQ(LinesOf(l), (Lines{L"A"}));
  EXPECT_EQ(l.LastFileEncoding(), teUtf16LE);  // only files set it

  // Without the mark test the bytes are UTF-16LE, the mark's bytes included.
  m.SetPosition(0);
  l.LoadFromStreamWithMark(&m, false);
  EXPECT_EQ(LinesOf(l), (Lines{L"\xBBEF\x41BF"}));

  // Loading starts at the stream's position; saving without the mark writes the text only.
  TUniMemoryStream text;
  text.WriteBuffer("skip", 4);
  const Bytes body = "\xFE\xFF" + Utf16BE(L"x\ny");
  text.WriteBuffer(body.data(), static_cast<int64_t>(body.size()));
  text.SetPosition(4);
  l.LoadFromStream(&text);
  EXPECT_EQ(l.CommaText(), L"x,y");
  TUniMemoryStream out;
  l.SaveToStreamWithMark(&out, false);
  EXPECT_EQ(Bytes(static_cast<char*>(out.Memory()), static_cast<size_t>(out.Size())), Utf16LE(L"x\r\ny\r\n"));

  // The mark test leaves the stream after the mark, or where it was.
  const Bytes cases[] = {"\xFF\xFE", "\xEF\xBB\xBFz", "abc", "\xFE"};
  const int64_t after[] = {2, 3, 0, 0};
  for (size_t i = 0; i < 4; ++i) {
    TUniMemoryStream s;
    s.WriteBuffer(cases[i].data(), static_cast<int64_t>(cases[i].size()));
    s.SetPosition(0);
    DetectTextEncoding(&s);
    EXPECT_EQ(s.Position(), after[i]) << i;
  }
}

TEST_F(TextFiles, OpenFailuresNameTheFileAndLeaveTheListAlone) {
  TUniStringList l;
  l.SetTextStr(L"keep");
  SetCurrentDirectoryW(folder_.Path().c_str());
  try {
    l.LoadFromFile(kGreekName);
    FAIL() << "loaded a missing file";
  } catch (const EFOpenError& e) {
    // The message is 8-bit: the name comes through the code page.
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + WideToAnsi(Path(kGreekName)) + "\". " +
                                         SysErrorMessage(ERROR_FILE_NOT_FOUND));
  }
  EXPECT_EQ(l.Text(), L"keep\r\n");
  EXPECT_EQ(l.LastFileEncoding(), teUtf16LE);
  try {
    l.SaveToFile(L"missing\\" + kJapaneseName);
    FAIL() << "created a file in a missing folder";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + WideToAnsi(Path(L"missing\\" + kJapaneseName)) +
                                         "\". " + SysErrorMessage(ERROR_PATH_NOT_FOUND));
  }
  SetCurrentDirectoryW(L"C:\\");

  // Loading allows others to read but not to write: a file held open for writing is refused.
  const WideString file = Write(kJapaneseName, "x");
  {
    TUniFileStream writer(file, fmOpenReadWrite | fmShareDenyNone);
    EXPECT_THROW(l.LoadFromFile(file), EFOpenError);
  }
  TUniFileStream reader(file, fmOpenRead | fmShareDenyNone);
  l.LoadFromFile(file);
  EXPECT_EQ(l.Text(), L"x\r\n");

  for (unsigned bad : {3u, 0x50u}) EXPECT_THROW({ TUniFileStream s(file, bad); }, EFOpenError) << bad;
}

TEST_F(TextFiles, EightBitPathOpensNamesTheCodePageHas) {
  // Systems without wide entry points reach a file through its 8-bit name, which only
  // names the code page can spell survive.
  const WideString name = L"caf\xE9.txt";
  Write(name, "\xFF\xFE" + Utf16LE(L"\x3b1"));
  Write(kGreekName, "g");
  TUniStringList l;
  {
    AnsiPlatformScope eightBit;
    l.LoadFromFile(Path(name));
    EXPECT_THROW(l.LoadFromFile(Path(kGreekName)), EFOpenError);
  }
  EXPECT_EQ(l.Text(), L"\x3b1\r\n");
  l.LoadFromFile(Path(kGreekName));
  EXPECT_EQ(l.Text(), L"g\r\n");
}

}  // namespace

namespace {

// Texts whose lines end in every way, with broken bytes, surrogates and NULs.
std::vector<Bytes> Utf8Texts() {
  return {
      "",
      "one line",
      "a\r\nb\r\n",
      "a\nb\rc\r\rd\n\ne",
      "\r\n\r\n",
      "x\xE2\x80\xA8y\xE2\x80\xA8",
      "x\r\n\xE2\x80\xA8y\r\xE2\x80\xA8\n",
      "broken \xC3\r\nlead \xE2\x80\nend \xE2\x80",
      "\xC3\xE2\x80\xA8\xF0\xE2\x80\xA8z",
      "pair \xF0\x9F\x98\x80 and \xCE\xB1\xCE\xB2",
      Bytes("nul\0inside\r\nx", 14),
      "\xE2\x80\xA8",
      "a long line that runs over many chunks\r\n\r\n" + Bytes(40, 'z') + "\xE2\x80\xA8\xE2\x80",
  };
}

// The lines a UTF-8 stream loads as, beside the lines of its whole text decoded first and
// cut by SetTextStr: both must agree however the lines end and whatever bytes are broken.
TEST(Utf8Loading, LinesAreThoseOfTheWholeTextDecoded) {
  const std::vector<Bytes> texts = Utf8Texts();
  for (const Bytes& text : texts) {
    SCOPED_TRACE(testing::Message() << "text of " << text.size() << " bytes");
    TUniMemoryStream m;
    const Bytes withMark = "\xEF\xBB\xBF" + text;
    m.WriteBuffer(withMark.data(), static_cast<int64_t>(withMark.size()));
    m.SetPosition(0);
    TUniStringList loaded;
    loaded.Add(L"before");
    loaded.LoadFromStream(&m);
    TUniStringList expected;
    expected.SetTextStr(Utf8Decode(text.data(), text.size()));
    EXPECT_EQ(LinesOf(loaded), LinesOf(expected));
  }
}

// The lines read a chunk at a time are those of the whole text, wherever the chunks end:
// inside a CR LF, inside a U+2028 or a broken sequence, or inside a line longer than a chunk.
TEST(Utf8Loading, ChunksEndingAnywhereCutTheSameLines) {
  for (const Bytes& text : Utf8Texts()) {
    TUniStringList expected;
    expected.SetTextStr(Utf8Decode(text.data(), text.size()));
    for (size_t chunk : {1, 2, 3, 4, 5, 6, 7, 11, 64}) {
      SCOPED_TRACE(testing::Message() << "text of " << text.size() << " bytes in chunks of " << chunk);
      TUniMemoryStream m;
      m.WriteBuffer(("<" + text).data(), static_cast<int64_t>(text.size() + 1));
      m.SetPosition(1);
      Lines lines;
      const int count = ReadUtf8Lines(&m, static_cast<int64_t>(text.size()), chunk,
                                      [&](const char* p, size_t n) { lines.push_back(Utf8Decode(p, n)); });
      EXPECT_EQ(lines, LinesOf(expected));
      EXPECT_EQ(count, static_cast<int>(lines.size()));
      EXPECT_EQ(m.Position(), m.Size());
    }
  }
}

// A load is one change: one OnChanging before it, one OnChange after; a sorted list sorts
// and drops duplicates as its lines arrive.
TEST(Utf8Loading, OneNoticeAndTheListsOwnRules) {
  const Bytes bytes = "\xEF\xBB\xBF" "b\r\na\r\nb\r\n\xCE\xB1";
  TUniMemoryStream m;
  m.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  TUniStringList l;
  l.SetSorted(true);
  int changing = 0, changed = 0;
  l.OnChanging = [&](TObject*) { ++changing; };
  l.OnChange = [&](TObject*) { ++changed; };
  m.SetPosition(0);
  l.LoadFromStream(&m);
  EXPECT_EQ(LinesOf(l), (Lines{L"a", L"b", L"\x3b1"}));
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
}

}  // namespace

#include <gtest/gtest.h>

#include <memory>

#include "app/ui/list_routines.h"
#include "app/common/os_version.h"
#include "app/common/text_routines.h"
#include "app/common/utf8.h"
#include "tests/vcl/test_windows.h"
#include "vcl/application.h"

namespace {

TEST(TextRoutines, CuttingAroundMarkers) {
  const struct {
    const char *marker, *text, *after, *before;
  } cases[] = {
      {"| (", "ab| (12", "12", "ab"},
      {"/100)", "x/100)", "", "x"},
      {"/100)", "no marker", "", ""},
      {"ab", "ab rest", " rest", ""},  // the marker starts the text: nothing before
      {"-", "a-b-c", "b-c", "a"},      // the first occurrence
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StrAfter(AnsiString(c.marker), AnsiString(c.text)), c.after) << c.text;
    EXPECT_EQ(StrBefore(AnsiString(c.marker), AnsiString(c.text)), c.before) << c.text;
  }
  EXPECT_EQ(StrAfter(WideString(L": "), WideString(L"Ch 1: 00:01")), L"00:01");
  AnsiString s;
  AppendWithBlank(s, "Windows XP", true);
  AppendWithBlank(s, " Professional", false);
  AppendWithBlank(s, "(5.1)", true);
  EXPECT_EQ(s, "Windows XP Professional (5.1)");
  EXPECT_EQ(ReplaceChar("a|b||c", '|', '\0'), AnsiString("a\0b\0\0c", 6));
}

TEST(TextRoutines, NumbersAndSizes) {
  EXPECT_EQ(HexToInt("1F"), 31);
  EXPECT_EQ(HexToInt("e0"), 224);
  EXPECT_THROW(HexToInt("G1"), EConvertError);
  EXPECT_THROW(HexToInt(""), EConvertError);
  const std::pair<int64_t, const char*> sizes[] = {
      {3145728, "3"}, {0, "0"}, {-5, "0"}, {1572864, "2"}, {1048575, "1"}, {524287, "0"}, {5368709120LL, "5120"}};
  for (const auto& [size, text] : sizes) EXPECT_EQ(FormatMegabytes(size), text) << size;
}

TEST(Utf8, RoundTripsIncludingFourByteForms) {
  const struct {
    WideString wide;
    AnsiString bytes;
  } cases[] = {
      {L"a", "a"},
      {L"\u00e9", "\xC3\xA9"},
      {L"\u20ac", "\xE2\x82\xAC"},
      {L"\U0001F600", "\xF0\x9F\x98\x80"},  // a surrogate pair is one 4-byte sequence
      {L"x\U00010348y", "x\xF0\x90\x8D\x88y"},
      {L"\u07ff\u0800\uffff", "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
      {L"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WideToUtf8(c.wide), c.bytes);
    EXPECT_EQ(Utf8ToWide(c.bytes), c.wide);
  }
}

TEST(Utf8, MalformedInputStopsKeepingWhatCameBefore) {
  const struct {
    AnsiString bytes;
    WideString wide;
  } cases[] = {
      {"a\xC3", L"a"},                      // truncated
      {"ab\xE2\x82", L"ab"},                // truncated 3-byte form
      {"a\xF0\x9F\x98", L"a"},              // truncated 4-byte form
      {"a\x80z", L"a"},                     // a continuation byte without its lead
      {"a\xC3z", L"a"},                     // a lead without its continuation
      {"a\xC0\xAFz", L"a"},                 // overlong
      {"a\xF4\x90\x80\x80z", L"a"},         // above U+10FFFF
      {"a\xFFz", L"a"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToWide(c.bytes), c.wide) << c.bytes.size();
}

TEST(OSVersion, DescriptionsByRecord) {
  auto nt = [](DWORD major, DWORD minor, DWORD build, BYTE type, WORD suite, const char* sp = "") {
    TOSVersionRecord r;
    r.Platform = VER_PLATFORM_WIN32_NT, r.Major = major, r.Minor = minor, r.Build = build;
    r.Extended = true, r.ProductType = type, r.SuiteMask = suite, r.ServicePack = sp;
    return r;
  };
  auto w9x = [](DWORD minor, const char* sp) {
    TOSVersionRecord r;
    r.Platform = VER_PLATFORM_WIN32_WINDOWS, r.Major = 4, r.Minor = minor, r.ServicePack = sp;
    return r;
  };
  TOSVersionRecord oldNT = nt(4, 0, 1381, 0, 0, "Service Pack 6");
  oldNT.Extended = false, oldNT.RegistryProductType = "LANMANNT";
  const struct {
    TOSVersionRecord record;
    const char* text;
  } cases[] = {
      {w9x(0, " C"), "Windows 95 OSR2"},
      {w9x(0, ""), "Windows 95"},
      {w9x(10, " A"), "Windows 98 SE"},
      {w9x(90, ""), "Windows Millennium Edition"},
      {nt(5, 1, 2600, 1, 0, "Service Pack 3"), "Windows XP Professional (version 5.1, Build 2600 : Service Pack 3)"},
      {nt(5, 1, 2600, 1, 0x200), "Windows XP Home Edition (version 5.1, Build 2600 : )"},
      {nt(5, 0, 2195, 3, 0x80), "Windows 2000 DataCenter Server (version 5.0, Build 2195 : )"},
      {nt(5, 2, 3790, 3, 0x2), " Enterprise Server (version 5.2, Build 3790 : )"},
      {nt(5, 1, 3790, 3, 0x400), "Windows .NET Web Server (version 5.1, Build 3790 : )"},
      {nt(6, 0, 6002, 1, 0, "Service Pack 2"), "Windows Vista (version 6.0, Build 6002 : Service Pack 2)"},
      {nt(6, 1, 7601, 1, 0, "Service Pack 1"), "Windows 7 (version 6.1, Build 7601 : Service Pack 1)"},
      {nt(10, 0, 19045, 1, 0), "Windows 10  (Build 19045)"},
      {oldNT, "Windows NT Server (version 4.0, Build 1381 : Service Pack 6)"},
  };
  for (const auto& c : cases) EXPECT_EQ(OSVersionText(c.record), c.text);
  // The system this runs on answers with a description.
  EXPECT_FALSE(GetOSVersionText().empty());
}

class ListRoutines : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    host.reset(testwin::ShownHost(400, 300));
    lv = new TUniListView(host.get());
    lv->SetViewStyle(vsReport);
    lv->SetCheckboxes(true);
    lv->SetParent(host.get());
    for (int i = 0; i < 3; ++i) lv->Columns()->Add();
  }
  TUniListItem* Row(const WideString& caption, const WideString& brand, bool checked = false) {
    TUniListItem* item = lv->Items()->Add();
    item->SetCaption(caption);
    item->SubItems()->Add(L"file");
    item->SubItems()->Add(brand);
    item->SetChecked(checked);
    return item;
  }
  std::vector<WideString> Captions() {
    std::vector<WideString> v;
    for (int i = 0; i < lv->Items()->Count(); ++i) v.push_back(lv->Items()->Item(i)->Caption());
    return v;
  }
  std::unique_ptr<testwin::THostWindow> host;
  TUniListView* lv = nullptr;
};

TEST_F(ListRoutines, CheckedRowsAndBrands) {
  EXPECT_FALSE(HasCheckedItem(lv));
  EXPECT_TRUE(Avc1CountBelowTwo(lv, 1));
  Row(L"a", L"avc1");
  Row(L"b", L"mp4a");
  EXPECT_FALSE(HasCheckedItem(lv));
  EXPECT_TRUE(Avc1CountBelowTwo(lv, 1));
  Row(L"c", L"avc1", true);
  EXPECT_TRUE(HasCheckedItem(lv));
  lv->Items()->Item(2)->SetSelected(true);
  EXPECT_FALSE(Avc1CountBelowTwo(lv, 1));
  EXPECT_TRUE(Avc1CountBelowTwo(lv, 0));
  EXPECT_TRUE(Avc1CountBelowTwo(lv, 7));  // a column the rows lack
}

TEST_F(ListRoutines, MovingRowsKeepsTheirContentAndTheListIntact) {
  Row(L"a", L"avc1", true);
  Row(L"\u03b2", L"mp4a");
  Row(L"c", L"");
  MoveListItem(lv, 1, 0);  // up
  EXPECT_EQ(Captions(), (std::vector<WideString>{L"\u03b2", L"a", L"c"}));
  EXPECT_EQ(lv->Items()->Item(0)->SubItems()->Strings(1), L"mp4a");
  MoveListItem(lv, 2, 1);  // down from row 1: the row below moves above it
  EXPECT_EQ(Captions(), (std::vector<WideString>{L"\u03b2", L"c", L"a"}));
  EXPECT_TRUE(lv->Items()->Item(2)->Checked());
  EXPECT_EQ(lv->Items()->Item(2)->SubItems()->Strings(1), L"avc1");
  MoveListItem(lv, 0, -1);  // up on the first row
  MoveListItem(lv, 3, 2);   // down on the last row
  EXPECT_EQ(Captions(), (std::vector<WideString>{L"\u03b2", L"c", L"a"}));
}

}  // namespace

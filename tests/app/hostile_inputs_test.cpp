// Files the program reads itself, damaged or not what their names say: each one is read
// into rows, an error or the defaults, quickly, and is left as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

#include "app/media/media_analysis.h"
#include "app/media/subtitle_files.h"
#include "app/settings/language_file.h"
#include "app/settings/settings_file.h"
#include "tests/widetext/temp_folder.h"

namespace {

std::string RandomBytes(size_t Count, unsigned Seed) {
  std::mt19937 random(Seed);
  std::string bytes(Count, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

std::string FileBytes(const std::wstring& Path) {
  std::ifstream f(Path.c_str(), std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// What the mux page does with a file: the analysis, with the program's own readers for the
// subtitle formats; a reader's error is the text the page shows.
WideString AddAsMedia(const std::wstring& File) {
  WideString error;
  TTextTrackReaders readers;
  readers.TextSubtitle = [&](const WideString& Name, std::vector<TTrackRow>& Rows) {
    try {
      Rows.push_back(TextSubtitleRow(Name, ReadTextLines(Name)));
    } catch (const Exception& e) {
      error = AnsiToWide(e.Message);
    }
  };
  readers.VobSubIndex = [&](const WideString& Name, std::vector<TTrackRow>& Rows) {
    try {
      if (!VobSubIndexRows(Name, ReadTextLines(Name), Rows)) error = L"not an index";
    } catch (const Exception& e) {
      error = AnsiToWide(e.Message);
    }
  };
  AnalyseMediaFile(File, readers);
  return error;
}

enum class TReader { Media, Settings, Language };

TEST(HostileInputs, DamagedOrMisnamedFilesAreReadQuicklyAndLeftAsTheyWere) {
  const std::string tenMegabyteLine(10 << 20, 'x');
  const std::string badUtf8 = "\xEF\xBB\xBF" "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xC3\x28\xF0\x90\x28\xBC\xFF\r\n";
  struct Case {
    const char* What;
    const wchar_t* Name;
    std::string Bytes;
    TReader Reader;
  };
  const Case cases[] = {
      {"random bytes as MP4", L"noise.mp4", RandomBytes(64 << 10, 1), TReader::Media},
      {"random bytes as AVI", L"noise.avi", RandomBytes(64 << 10, 2), TReader::Media},
      {"random bytes as SubRip", L"noise.srt", RandomBytes(64 << 10, 3), TReader::Media},
      {"random bytes as a VobSub index", L"noise.idx", RandomBytes(64 << 10, 4), TReader::Media},
      {"a 10 MB line as SubRip", L"long.srt", tenMegabyteLine, TReader::Media},
      {"a 10 MB stream line in an index", L"long.idx",
       "# VobSub index file, v7 (do not modify this line!)\r\nid: en, index: " + tenMegabyteLine + "\r\n", TReader::Media},
      {"invalid UTF-8 after a UTF-8 mark", L"bad-utf8.srt", badUtf8, TReader::Media},
      {"UTF-16 with an odd byte count", L"odd.srt", std::string("\xFF\xFE" "1\0\r\0\n\0x", 9), TReader::Media},
      {"an empty index", L"empty.idx", "", TReader::Media},
      {"random bytes as the settings", L"Kavo.cfg", RandomBytes(64 << 10, 5), TReader::Settings},
      {"a 10 MB line in the settings", L"Kavo.cfg", "[Main]\r\nTmp_path=" + tenMegabyteLine + "\r\nLang=1\r\n",
       TReader::Settings},
      {"random bytes as a language file", L"English.ini", RandomBytes(64 << 10, 6), TReader::Language},
      {"a 10 MB line in a language file", L"English.ini", "[MainForm]\r\nMsgStarted=" + tenMegabyteLine + "\r\n",
       TReader::Language},
  };
  TempFolder temp;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    const std::wstring file = temp / c.Name;
    ASSERT_TRUE(TempFolder::MakeFile(file, c.Bytes));
    const auto started = std::chrono::steady_clock::now();
    switch (c.Reader) {
      case TReader::Media:
        AddAsMedia(file);
        break;
      case TReader::Settings: {
        const TProgramSettings defaults;
        const TSettingsReadResult read = ReadSettingsFile(file, defaults);
        EXPECT_TRUE(read.Settings.Lang == defaults.Lang || read.Settings.Lang == 1);
        break;
      }
      case TReader::Language:
        EXPECT_EQ(ReadLanguageFile(file).size(), LanguageEntries().size());
        break;
    }
    // A guard against a reader that spins or grows without end, far beyond what any of these
    // takes even on a slow, busy machine: it does not measure speed.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(90));
    EXPECT_EQ(FileBytes(file), c.Bytes);
  }
}

}  // namespace

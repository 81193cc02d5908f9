// A tagged copy read back before it replaces its file, on real files: a song carrying a dozen
// tags and a cover, tagged by the real AtomicParsley (built by scripts/deps). A copy that
// kept everything replaces the file; one that lost tags, or does not hold what it was asked
// to, is removed and the file stays as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "app/commands/folder_tag_job.h"
#include "app/common/named_texts.h"
#include "app/forms/main_form.h"
#include "app/media/media_info.h"
#include "app/media/tag_readback.h"
#include "tests/app/media_test_support.h"
#include "tests/app/program_session.h"
#include "tests/widetext/temp_folder.h"

namespace {

WideString RealAtomicParsley() { return TMainForm::ProgramFolder() + L"atomicparsley\\AtomicParsley.exe"; }

// Runs a program to its end; its exit code (or -1).
int RunToEnd(const WideString& Program, const WideString& Arguments) {
  WideString line = L"\"" + Program + L"\" " + Arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return -1;
  const bool ended = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
  DWORD code = static_cast<DWORD>(-1);
  if (ended) GetExitCodeProcess(pi.hProcess, &code);
  else TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

// Every tag and track count the read-back compares, as MediaInfo reads them now.
std::map<WideString, WideString> KeptFacts(const WideString& File) {
  std::map<WideString, WideString> facts;
  TMediaInfoFile media(File);
  for (const WideString& p : KeptTagParameters(TTagFields())) facts[p] = media.Get(TStreamKind::General, 0, p);
  return facts;
}

class TagReadBack : public ::testing::Test {
 protected:
  void SetUp() override {
    const WideString media = TestMediaFolder();
    if (media.empty()) GTEST_SKIP() << "KAVO_TEST_MEDIA is not set (scripts/test sets it)";
    if (!TMediaInfoLibrary::Instance().Loaded()) GTEST_SKIP() << "MediaInfo.dll is not beside the tests";
    if (!TempFolder::Exists(RealAtomicParsley())) GTEST_SKIP() << "no AtomicParsley (scripts/deps --atomicparsley)";
    file = temp.Path() + L"\\\x03A9\x03B4\x03AE.m4a";  // a name outside the code page
    ASSERT_TRUE(CopyFileW((media + L"dozen.m4a").c_str(), file.c_str(), FALSE));
    work = TagWorkFileOf(file);
    ASSERT_TRUE(CopyFileW(file.c_str(), work.c_str(), FALSE));
    before = ReadFileBytes(file);
  }
  void TearDown() override { SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL); }
  // AtomicParsley on the work file, with its wide command line.
  void Tag(const WideString& Options) {
    ASSERT_EQ(RunToEnd(RealAtomicParsley(), L"\"" + work + L"\" --overWrite " + Options), 0);
  }

  TempFolder temp;
  WideString file, work;
  std::string before;
};

TEST_F(TagReadBack, TheSongCarriesADozenTagsAndACover) {
  const std::map<WideString, WideString> facts = KeptFacts(file);
  int present = 0;
  for (const auto& [parameter, value] : facts) present += !value.empty();
  EXPECT_GE(present, 14);
  EXPECT_EQ(facts.at(L"Title"), L"\x03A9mega Song");
  EXPECT_EQ(facts.at(L"Performer"), L"Zo\x00EB Keys");
  EXPECT_EQ(facts.at(L"Track/Position"), L"3");
  EXPECT_EQ(facts.at(L"Part/Position_Total"), L"2");
  EXPECT_EQ(facts.at(L"Cover"), L"Yes");
  for (const wchar_t* p : {L"Album/Performer", L"Album", L"Recorded_Date", L"Genre", L"Composer", L"Grouping",
                           L"Comment", L"Encoded_Application", L"Compilation", L"Copyright", L"Description",
                           L"Lyrics", L"AudioCount"})
    EXPECT_NE(facts.at(p), L"") << WideToAnsi(p);
}

// One tag changed, with a Greek title: the copy replaces the file, and every other tag reads
// back as it was.
TEST_F(TagReadBack, ACopyThatKeptEverythingReplacesTheFile) {
  const std::map<WideString, WideString> was = KeptFacts(file);
  TTagFields asked;
  asked.Genre = L"Rock";
  asked.Name = L"\x039D\x03AD\x03BF\x03C2 \x03C4\x03AF\x03C4\x03BB\x03BF\x03C2";
  Tag(L"--genre Rock --title \"" + asked.Name + L"\"");
  EXPECT_EQ(FinishTagRewrite(file, work, true, asked), L"");
  EXPECT_FALSE(TempFolder::Exists(work));
  std::map<WideString, WideString> now = KeptFacts(file);
  EXPECT_EQ(now.at(L"Genre"), L"Rock");
  EXPECT_EQ(now.at(L"Title"), asked.Name);
  for (const wchar_t* changed : {L"Genre", L"Title"}) now.erase(changed);
  for (const auto& [parameter, value] : now) EXPECT_EQ(value, was.at(parameter)) << WideToAnsi(parameter);
}

TEST_F(TagReadBack, ACopyThatLostTagsIsRemovedAndTheFileKept) {
  struct Case {
    const char* what;
    WideString options;
    TTagFields asked;
    std::vector<WideString> lost;
  } cases[] = {
      // Every tag gone, the tool ending well all the same.
      {"all tags removed", L"--metaEnema", {}, {}},
      {"the asked title not written", L"--genre Rock", [] { TTagFields t; t.Name = L"New"; return t; }(), {L"Title"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(CopyFileW(file.c_str(), work.c_str(), FALSE));
    Tag(c.options);
    const WideString text = FinishTagRewrite(file, work, true, c.asked);
    EXPECT_EQ(text.rfind(L"\x03A9\x03B4\x03AE.m4a was left as it was", 0), 0u) << WideToAnsi(text);
    for (const WideString& p : c.lost) EXPECT_NE(text.find(p), WideString::npos) << WideToAnsi(text);
    if (c.lost.empty())
      for (const wchar_t* p : {L"Title", L"Performer", L"Track/Position", L"Cover", L"Lyrics"})
        EXPECT_NE(text.find(p), WideString::npos) << WideToAnsi(p);
    EXPECT_FALSE(TempFolder::Exists(work));
    EXPECT_EQ(ReadFileBytes(file), before);
  }
}

TEST_F(TagReadBack, AFailedRunOrAReadOnlyFileLeavesTheFile) {
  EXPECT_EQ(FinishTagRewrite(file, work, false, TTagFields()), L"");
  EXPECT_FALSE(TempFolder::Exists(work));
  ASSERT_TRUE(CopyFileW(file.c_str(), work.c_str(), FALSE));
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(FinishTagRewrite(file, work, true, TTagFields()), L"\x03A9\x03B4\x03AE.m4a is read-only: it was left as it was.");
  EXPECT_FALSE(TempFolder::Exists(work));
  EXPECT_EQ(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(ReadFileBytes(file), before);
}

}  // namespace

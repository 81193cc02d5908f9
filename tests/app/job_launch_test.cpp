// What every page asks before its job starts, without a window: the refusals in their
// order, the outputs that exist (names with "*" among them), and the output name a page
// proposes after its inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/common/output_file.h"
#include "app/jobs/job_launch.h"
#include "tests/widetext/temp_folder.h"

namespace {

TMP4BoxVersion Version(int Major, int Minor) {
  TMP4BoxVersion v;
  v.Major = Major;
  v.Minor = Minor;
  v.Known = true;
  return v;
}

const wchar_t* const Greek = L"\u03a4\u03b1\u03b9\u03bd\u03af\u03b1";  // outside the code page

class JobLaunch : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = temp.Path() + L"\\";
    ASSERT_TRUE(TempFolder::MakeFile(dir + L"in.mp4"));
    check.MP4BoxPath = L"C:\\Tools\\MP4Box.exe";
    check.Version = Version(0, 4);
    check.Files = {{dir + L"in.mp4"}, {dir + L"out.mp4"}, {dir + L"out.mp4"}};
  }
  TempFolder temp;
  std::wstring dir;
  TLaunchCheck check;
};

TEST_F(JobLaunch, TheFirstRefusalInTheirOrder) {
  EXPECT_EQ(CheckLaunch(check).Refusal, TLaunchRefusal::None);
  const struct {
    const char* what;
    std::function<void(TLaunchCheck&)> set;
    TLaunchRefusal refusal;
    std::wstring file;
  } cases[] = {
      {"another program", [](TLaunchCheck& c) { c.MP4BoxPath = L"C:\\Tools\\ffmpeg.exe"; }, TLaunchRefusal::MP4BoxPath,
       L"C:\\Tools\\ffmpeg.exe"},
      {"no path, a tool running", [](TLaunchCheck& c) { c.MP4BoxPath.clear(); c.ToolRunning = true; },
       TLaunchRefusal::MP4BoxPath, L""},
      {"a tool running, output is input",
       [&](TLaunchCheck& c) { c.ToolRunning = true; c.Files.Outputs = {dir + L"in.mp4"}; }, TLaunchRefusal::ToolRunning,
       L""},
      {"output is input, by another spelling", [&](TLaunchCheck& c) { c.Files.Outputs = {dir + L"sub\\..\\IN.MP4"}; },
       TLaunchRefusal::OutputIsInput, dir + L"in.mp4"},
      {"output is input before the name",
       [&](TLaunchCheck& c) {
         c.Files.Outputs = {dir + L"in.mp4"};
         c.Files.NamedOutputs = {dir + Greek + L".mp4"};
       },
       TLaunchRefusal::OutputIsInput, dir + L"in.mp4"},
      {"a name the older tool cannot take", [&](TLaunchCheck& c) { c.Files.NamedOutputs = {dir + Greek + L".mp4"}; },
       TLaunchRefusal::NameNotTaken, dir + Greek + L".mp4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TLaunchCheck changed = check;
    c.set(changed);
    const TLaunchVerdict verdict = CheckLaunch(changed);
    EXPECT_EQ(verdict.Refusal, c.refusal);
    EXPECT_EQ(verdict.File, c.file);
  }
  // Today's tool takes any name.
  check.Version = Version(2, 0);
  check.Files.NamedOutputs = {dir + Greek + L".mp4"};
  EXPECT_EQ(CheckLaunch(check).Refusal, TLaunchRefusal::None);
}

TEST_F(JobLaunch, TheOutputsThatExistEachOnce) {
  for (const wchar_t* name : {L"in_001.mp4", L"in_track1.h264", L"in_track1.mp4", L"in_track2.aac"})
    ASSERT_TRUE(TempFolder::MakeFile(dir + name));
  ASSERT_TRUE(CreateDirectoryW((dir + L"in_track1.dir").c_str(), nullptr));
  const std::vector<WideString> existing =
      ExistingOutputs({dir + L"in_001.mp4", dir + L"in_002.mp4", dir + L"in_track1.*", dir + L"IN_001.MP4", L""});
  std::vector<WideString> sorted(existing.begin() + 1, existing.end());
  std::sort(sorted.begin(), sorted.end());
  ASSERT_EQ(existing.size(), 3u);
  EXPECT_EQ(existing[0], dir + L"in_001.mp4");
  EXPECT_EQ(sorted, (std::vector<WideString>{dir + L"in_track1.h264", dir + L"in_track1.mp4"}));
  EXPECT_TRUE(ExistingOutputs({dir + L"none.*", dir + L"none.mp4"}).empty());
}

TEST_F(JobLaunch, AProposedNameIsNeverAnInputAndTheToolCanTakeIt) {
  const WideString greekFile = dir + Greek + L".mp4";
  ASSERT_TRUE(TempFolder::MakeFile(greekFile));
  const struct {
    const char* what;
    std::vector<WideString> candidates;
    const wchar_t* extension;
    std::vector<WideString> inputs;
    bool anyName;
    WideString proposed;
  } cases[] = {
      {"an AVI file", {dir + L"clip.avi"}, L".mp4", {dir + L"clip.avi"}, false, dir + L"clip.mp4"},
      {"the input itself", {dir + L"in.mp4"}, L".mp4", {dir + L"in.mp4"}, false, dir + L"in_1.mp4"},
      {"two numbers taken",
       {dir + L"a.mp4"},
       L".mp4",
       {dir + L"a.mp4", dir + L"A_1.MP4", dir + L"b.mp4"},
       false,
       dir + L"a_2.mp4"},
      {"a Greek name, then one the tool takes", {greekFile, dir + L"clip.avi"}, L".mp4", {greekFile}, false,
       dir + L"clip.mp4"},
      {"only a Greek name", {greekFile}, L".3gp", {greekFile}, false, dir + L"______.3gp"},
      {"a Greek name, today's tool", {greekFile}, L".3gp", {greekFile}, true, dir + Greek + L".3gp"},
      {"nothing added", {}, L".mp4", {}, false, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ProposeOutputName(c.candidates, c.extension, c.inputs, c.anyName), c.proposed);
  }
}

}  // namespace

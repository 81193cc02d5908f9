// The extensions each page takes from a drop, compared exactly as written.
#include <gtest/gtest.h>

#include "app/media/drop_lists.h"

namespace {

TEST(DropLists, EachPageTakesItsOwnKinds) {
  struct Case {
    const wchar_t* name;
    bool mp4, threeGP, concat;
  } cases[] = {
      {L"C:\\v\\clip.avi", true, true, true},     {L"C:\\v\\clip.ts", true, false, false},
      {L"C:\\v\\subs.idx", true, false, false},   {L"C:\\v\\subs.srt", true, true, false},
      {L"C:\\v\\cover.jpg", true, true, false},   {L"C:\\v\\sound.qcp", true, false, false},
      {L"C:\\v\\clip.m4v", true, true, true},     {L"C:\\v\\song.mpa", false, false, false},
      {L"C:\\v\\CLIP.AVI", false, false, false},  {L"C:\\v\\clip.Mp4", false, false, false},
      {L"C:\\v\\clip", false, false, false},      {L"C:\\v.avi\\clip", false, false, false},
      {L"C:\\v\\clip.avi.part", false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToAnsi(c.name));
    EXPECT_EQ(IsMP4DropFile(c.name), c.mp4);
    EXPECT_EQ(Is3GPDropFile(c.name), c.threeGP);
    EXPECT_EQ(IsConcatDropFile(c.name), c.concat);
  }
}

}  // namespace

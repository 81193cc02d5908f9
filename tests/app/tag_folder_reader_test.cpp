// The reading of a tag folder on a thread of its own, without a window: every file's row in
// the folder's order, handed over in batches on the main thread, and the reading ended early
// by the reader's end.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>

#include "app/media/tag_folder_reader.h"
#include "tests/app/media_test_support.h"
#include "tests/app/thread_count.h"
#include "tests/widetext/temp_folder.h"

using namespace apptest;

namespace {

// What reached the main thread from a reader.
struct TBatches {
  std::vector<std::vector<TTagRow>> Rows;
  int Lasts = 0;             // batches marked last
  bool LastWasLast = true;   // nothing came after the one marked last
  bool OffMainThread = false;
  TTagFolderReader::TRowsRead Event() {
    return [this](std::vector<TTagRow>& Batch, bool Last) {
      if (GetCurrentThreadId() != MainThreadID) OffMainThread = true;
      if (Lasts > 0) LastWasLast = false;
      Rows.push_back(Batch);
      if (Last) ++Lasts;
    };
  }
  std::vector<TTagRow> All() const {
    std::vector<TTagRow> all;
    for (const auto& batch : Rows) all.insert(all.end(), batch.begin(), batch.end());
    return all;
  }
};

class TagFolderReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    media = TestMediaFolder();
    if (media.empty()) GTEST_SKIP() << "KAVO_TEST_MEDIA is not set (scripts/test sets it)";
    folder = temp.Path() + L"\\";
  }
  // Count copies of the tagged song, then the tagged files themselves and a file that is
  // no film.
  void MakeFolder(int Count) {
    for (int i = 0; i < Count; ++i)
      ASSERT_TRUE(CopyFileW((media + L"tags\\song.m4a").c_str(), (folder + L"copy " + std::to_wstring(i) + L".m4a").c_str(), FALSE));
    for (const wchar_t* name : {L"song.m4a", L"tone.m4a", L"clip.mp4"})
      ASSERT_TRUE(CopyFileW((media + L"tags\\" + name).c_str(), (folder + name).c_str(), FALSE));
    TempFolder::MakeFile(folder + L"notes.mp4", "not a film");
    TempFolder::MakeFile(folder + L"readme.txt");
  }
  TempFolder temp;
  WideString media, folder;
};

TEST_F(TagFolderReaderTest, EveryFilesRowReachesTheMainThreadInTheFoldersOrder) {
  MakeFolder(60);
  TBatches got;
  std::unique_ptr<TTagFolderReader> reader(TThread::Create<TTagFolderReader>(folder, got.Event(), 10));
  reader->WaitFor();  // runs the batches as they come
  EXPECT_FALSE(got.OffMainThread);
  EXPECT_EQ(got.Lasts, 1);
  EXPECT_TRUE(got.LastWasLast);
  ASSERT_FALSE(got.Rows.empty());
  EXPECT_EQ(got.Rows.front().size(), 1u);  // the first row at once

  const std::vector<WideString> names = TagFolderFileNames(folder);
  ASSERT_EQ(names.size(), 64u);
  const std::vector<TTagRow> rows = got.All();
  ASSERT_EQ(rows.size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(WideToAnsi(names[i]));
    TMediaInfoFile file(folder + names[i]);
    const TTagRow expected = ReadTagRow(folder, names[i], file);
    EXPECT_EQ(rows[i].Columns, expected.Columns);
    EXPECT_TRUE(rows[i].Checked);
  }
  // The tags are the files' own, read whole.
  const auto song = std::find_if(rows.begin(), rows.end(), [](const TTagRow& r) { return r[TTagColumn::File] == L"song.m4a"; });
  ASSERT_NE(song, rows.end());
  EXPECT_EQ((*song)[TTagColumn::Artist], L"Zo\x00EB Keys");
}

TEST_F(TagFolderReaderTest, AnEmptyFolderGivesOneLastBatchWithoutRows) {
  TBatches got;
  std::unique_ptr<TTagFolderReader> reader(TThread::Create<TTagFolderReader>(folder, got.Event()));
  reader->WaitFor();
  ASSERT_EQ(got.Rows.size(), 1u);
  EXPECT_TRUE(got.Rows[0].empty());
  EXPECT_EQ(got.Lasts, 1);
}

// A reader ended while it reads hands nothing more over, and its thread is gone once its end
// returns, the files still to read left unread.
TEST_F(TagFolderReaderTest, EndingTheReaderMidFolderStopsItAtOnce) {
  MakeFolder(400);
  const int threads = ThreadCount();
  TBatches got;
  auto* reader = TThread::Create<TTagFolderReader>(folder, got.Event(), 1);
  const DWORD start = GetTickCount();
  while (got.Rows.empty() && GetTickCount() - start < 30000) WaitServicingSyncCalls(reader->Handle(), nullptr, 5);
  ASSERT_EQ(got.Rows.size(), 1u);
  EXPECT_FALSE(reader->Finished());
  delete reader;
  EXPECT_EQ(ThreadCount(), threads);
  // A batch the reader had queued is dropped, not run later.
  EXPECT_FALSE(CheckSynchronize());
  EXPECT_EQ(got.Rows.size(), 1u);
  EXPECT_EQ(got.Lasts, 0);
}

}  // namespace

// A folder's tag rows read on a thread of their own: the file names, then each file opened in
// MediaInfo in turn, the rows handed to the main thread in batches (synchronised calls), so
// that the window goes on answering while a long folder is read.
#pragma once

#include <functional>
#include <vector>

#include "app/media/tag_rows.h"
#include "vcl/threads.h"

class TTagFolderReader : public TThread {
 public:
  // Rows read since the last batch, in the folder's order (TagFolderFileNames); Last with the
  // final batch, which may be empty (an empty folder gives only that one).
  using TRowsRead = std::function<void(std::vector<TTagRow>& Rows, bool Last)>;

  // Reads Folder (ending in "\") once started (create it with TThread::Create). OnRows runs on
  // the main thread: with the first row as soon as it is read, then with the rows read in
  // each following BatchMs, and with the last. It must not destroy the reader.
  TTagFolderReader(const WideString& Folder, TRowsRead OnRows, DWORD BatchMs = 100);
  // Ends the reading (the file being read is finished first). No batch reaches OnRows from
  // the moment this begins. Main thread only.
  ~TTagFolderReader() override;

 protected:
  void Execute() override;

 private:
  void Hand(std::vector<TTagRow>& Rows, bool Last);

  const WideString FFolder;
  const TRowsRead FOnRows;
  const DWORD FBatchMs;
};

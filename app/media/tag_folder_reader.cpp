#include "app/media/tag_folder_reader.h"

TTagFolderReader::TTagFolderReader(const WideString& Folder, TRowsRead OnRows, DWORD BatchMs)
    : TThread(false), FFolder(Folder), FOnRows(std::move(OnRows)), FBatchMs(BatchMs) {
  // The library is loaded on the main thread, where a library that will not load is told.
  TMediaInfoLibrary::Instance();
}

TTagFolderReader::~TTagFolderReader() {
  DropSynchronize();
  Terminate();
  WaitFor();
}

void TTagFolderReader::Hand(std::vector<TTagRow>& Rows, bool Last) {
  Synchronize([&] { FOnRows(Rows, Last); });
  Rows.clear();
}

void TTagFolderReader::Execute() {
  const std::vector<WideString> names = TagFolderFileNames(FFolder);
  std::vector<TTagRow> rows;
  bool first = true;
  DWORD handed = GetTickCount();
  for (size_t i = 0; i < names.size(); ++i) {
    if (Terminated()) return;
    {
      TMediaInfoFile media(FFolder + names[i]);
      rows.push_back(ReadTagRow(FFolder, names[i], media));
    }
    const bool last = i + 1 == names.size();
    if (!last && (first || GetTickCount() - handed >= FBatchMs)) {
      first = false;
      Hand(rows, false);
      handed = GetTickCount();
    }
  }
  if (!Terminated()) Hand(rows, true);
}

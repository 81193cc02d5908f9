// Files dropped on the window from the shell: the mux and concatenation pages take those of
// their kinds as if they had been chosen in their open dialogs; other pages take none.
#include "app/forms/main_form.h"
#include "app/media/drop_lists.h"

void TMainForm::FileDropTargetDrop(TObject*, int, int) {
  // The full UTF-16 names: a name outside the code page stays whole.
  std::vector<WideString> dropped;
  for (int i = 0; i < FileDropTarget->WideFiles()->Count(); ++i) dropped.push_back(FileDropTarget->WideFiles()->Strings(i));

  TKvWizardCustomPage* page = Wizard->ActivePage();
  if (page == MuxPage) {
    auto accepted = FJobs->State().CreateMP4 ? &IsMP4DropFile : &Is3GPDropFile;
    std::vector<WideString> files;
    for (const WideString& name : dropped)
      if (accepted(name)) files.push_back(name);
    if (!files.empty()) AddMuxFiles(files);
    SaveInfosas1->SetEnabled(MP4ListView->Items()->Count() > 0);
  } else if (page == ConcatPage) {
    std::vector<WideString> files;
    for (const WideString& name : dropped)
      if (IsConcatDropFile(name)) files.push_back(name);
    if (!files.empty()) AddConcatFiles(files);
  }
}

void AddDroppedFilesHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("FileDropTargetDrop", &TMainForm::FileDropTargetDrop);
}

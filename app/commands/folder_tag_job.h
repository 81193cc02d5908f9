// The tag page's job: one MP4Box run per checked file of the list, from the first row,
// each rewriting its file with its tags.
//
// MP4Box writes the new file beside the original under a free name; only after a run that
// ended well does it replace the original, so a failing or stopped run leaves the file as
// it was.
#pragma once

#include <functional>
#include <vector>

#include "app/commands/tag_commands.h"

// The name the run writes, beside Path: its name with "-tagging" (and a number when that
// is taken) before the extension.
WideString TagWorkFileOf(const WideString& Path);

// After the run: on success the work file replaces Path, otherwise it is removed. The text
// of a failure to replace (empty when none).
WideString FinishTagRewrite(const WideString& Path, const WideString& Work, bool RunSucceeded);

struct TFolderTagJob {
  std::vector<WideString> Files;  // full names of the rows, in list order
  std::vector<bool> Checked;      // the rows' check states
  TFileTagOptions Options;
  // Asked when the run of a row is built: the row is then the selected one (Select), and
  // its " -itags ..." text is taken as the tags stand at that moment.
  std::function<void(int Row)> Select;
  std::function<AnsiString(int Row)> ITagsOf;
};

// The job over the checked rows; a list with none gives a job that closes at once.
TJobStart FolderTagJobStart(const TFolderTagJob& Job, const TNamedTexts& Texts = NamedTexts());

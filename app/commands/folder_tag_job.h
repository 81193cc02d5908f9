// The tag page's job: one MP4Box run per checked file of the list, from the first row,
// each writing its file's own tags.
//
// MP4Box writes a tagged copy beside the original under a free name, keeping what the file
// holds ("-out" with today's tool; the older one knows only "-add ... -new"). Only after a
// run that ended well, and once the copy read back through MediaInfo holds every track and
// every tag it was not asked to change, does the copy replace the original; otherwise the
// copy is removed and the original stays as it was.
#pragma once

#include <functional>
#include <vector>

#include "app/commands/tag_commands.h"

// The name the run writes, beside Path: its name with "-tagging" (and a number when that
// is taken) before the extension.
WideString TagWorkFileOf(const WideString& Path);

// After the run: on success, and when the copy lost nothing (Asked: the tags the run set),
// the work file replaces Path; otherwise it is removed. The text of the problem for the
// user (empty when none).
WideString FinishTagRewrite(const WideString& Path, const WideString& Work, bool RunSucceeded,
                            const TTagFields& Asked, const TNamedTexts& Texts = NamedTexts());

// What stops a job before its first run, each naming the files it concerns.
struct TFolderTagRefusal {
  std::vector<WideString> ReadOnly;      // files that may not be changed
  std::vector<WideString> Unspellable;   // names the older tool's 8-bit line cannot carry
  bool Any() const { return !ReadOnly.empty() || !Unspellable.empty(); }
};
TFolderTagRefusal CheckFolderTagFiles(const std::vector<WideString>& Files, const std::vector<bool>& Checked,
                                      const TMP4BoxVersion& Version);
// The notice of a refusal, in the user's language.
WideString FolderTagRefusalText(const TFolderTagRefusal& Refusal, const TNamedTexts& Texts = NamedTexts());

struct TFolderTagJob {
  std::vector<WideString> Files;  // full names of the rows, in list order
  std::vector<bool> Checked;      // the rows' check states
  TFileTagOptions Options;
  // Asked when the run of a row is built: the row is then the selected one (Select), and
  // its tags are taken as they stand at that moment.
  std::function<void(int Row)> Select;
  std::function<TTagFields(int Row)> TagsOf;
};

// The job over the checked rows; a list with none gives a job that closes at once.
TJobStart FolderTagJobStart(const TFolderTagJob& Job, const TNamedTexts& Texts = NamedTexts());

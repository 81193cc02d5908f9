// The program's recurring questions and notices, each filling the main window's task
// dialog. Custom buttons answer 100, 101, ... in order; callers take 100 as yes or ok.
// The presets that only fill the dialog leave its Execute to the caller.
#pragma once

#include <vector>

#include "app/common/named_texts.h"
#include "dialogs/uni_task_dialog.h"

// Yes/No: overwrite the file? (with an expandable explanation)
void ShowOverwriteQuestion(TUniTaskDialog* Dialog, const WideString& FileName,
                           const TNamedTexts& Texts = NamedTexts());
// Yes/No: overwrite these files? One file is asked as above; several are listed, one a line.
void ShowOverwriteQuestion(TUniTaskDialog* Dialog, const std::vector<WideString>& FileNames,
                           const TNamedTexts& Texts = NamedTexts());
// Ok: the MP4Box path is not set.
void ShowMP4BoxPathNotice(TUniTaskDialog* Dialog, const TNamedTexts& Texts = NamedTexts());
// Ok, shown: a notice of the program's own (a refused job), under the notice title.
int ShowTextNotice(TUniTaskDialog* Dialog, const WideString& Text, const TNamedTexts& Texts = NamedTexts());
// Yes/No: delete the selected row?
void ShowDeleteQuestion(TUniTaskDialog* Dialog, const TNamedTexts& Texts = NamedTexts());
// Ok, shown: a file that does not suit the task (Kind 0 H.264 in AVI, 1 and others not
// compatible).
int ShowCompatibilityNotice(TUniTaskDialog* Dialog, int Kind, const TNamedTexts& Texts = NamedTexts());
// Ok, shown: a tool is running.
int ShowProcessRunningNotice(TUniTaskDialog* Dialog, const TNamedTexts& Texts = NamedTexts());
// Ok: an AVC track has no frame rate.
void ShowRawAVCNotice(TUniTaskDialog* Dialog, const TNamedTexts& Texts = NamedTexts());

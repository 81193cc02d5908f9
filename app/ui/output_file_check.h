// The output file of a job made ready before the job starts, with the user told why when
// it cannot be: the folder that cannot be made, the name no 8-bit command line reaches.
#pragma once

#include "dialogs/uni_task_dialog.h"

// True when the job may start: Output's folder exists (made now when it did not) and the
// tools can be given its name (any name, for a tool that reads its arguments as UTF-16).
// Otherwise a notice says why and the answer is false.
bool OutputFileReady(TUniTaskDialog* Dialog, const WideString& Output, bool UnicodeTool = false);

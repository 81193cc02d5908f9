// Which program of the Windows folder shows a file, by the file's extension.
#pragma once

#include "vcl/sysutils.h"

// The extensions the view can show, in table order: 13 texts, 3 documents, 7 pictures, then
// ".HTML" and ".HTM". The first 23 are files whose contents may go to the clipboard.
constexpr int kViewerCount = 25;
constexpr int kClipboardContentsCount = 23;
// Index of the extension (".TXT", any case) in the table; -1 when it is not there.
int ViewerIndexOf(const WideString& Extension);
// The program (relative to the Windows folder) for entry Index; pictures open in Paint,
// from SYSTEM32 on the NT family since 5.1, else from the Windows folder.
AnsiString ViewerProgramOf(int Index, bool NT51OrLater);

// The output file of a job, made ready before the job starts: its folder made when it does
// not exist yet, and the 8-bit name by which a tool (whose command line is 8-bit) can
// reach it. Every task page that writes a file calls these before it starts its job.
#pragma once

#include <optional>
#include <vector>

#include "vcl/sysutils.h"

// Makes the folder of Output, with every missing folder above it. Empty when the folder
// exists afterwards; otherwise the reason for the user ("... cannot be created: a file of
// that name is in its way." or the system's own message).
WideString PrepareOutputFolder(const WideString& Output);

// Output as the 8-bit code page names it: the name itself when it survives the code page;
// otherwise the short name of its (existing) folder followed by the file name, when the
// file name survives the code page. No value when nothing 8-bit names the file.
std::optional<AnsiString> EightBitOutputPath(const WideString& Output);

// The notice of an output that no 8-bit name reaches.
WideString OutputNameOutsideCodePageText(const WideString& Output);

// The output name a page proposes after the files just added (Candidates, in order): the
// first whose name with Extension the tool can be given, with "_1", "_2", ... added when it
// would name one of Inputs. When the tool takes only 8-bit names (not ToolTakesAnyName) and
// none of them suits, the first one's with each character outside the code page as "_" and
// its folder by its short name.
WideString ProposeOutputName(const std::vector<WideString>& Candidates, const WideString& Extension,
                             const std::vector<WideString>& Inputs, bool ToolTakesAnyName);

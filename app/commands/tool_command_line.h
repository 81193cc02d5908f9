// How the values of an MP4Box command line are written for the tool's version. The older
// tool reads an 8-bit line: values in the code page (a path the code page cannot carry by
// its short name), tag texts as UTF-8 bytes. From 0.6.0 MP4Box reads its arguments as
// UTF-16: the builders then write every value as UTF-8 and the line is turned into UTF-16
// before the run, so that names and tags outside the code page arrive whole.
#pragma once

#include "app/commands/mp4box_version.h"
#include "app/jobs/job_sequencer.h"

// A path or a text as it stands in the line being built.
AnsiString PathText(const WideString& Path, const TMP4BoxVersion& V);
AnsiString ValueText(const WideString& Text, const TMP4BoxVersion& V);
// The same in double quotes, escaped (command_line_quote.h).
AnsiString PathArgument(const WideString& Path, const TMP4BoxVersion& V);
AnsiString TextArgument(const WideString& Text, const TMP4BoxVersion& V);
// The file a job writes: for the older tool a new file has no short name of its own yet, so
// its folder's short name reaches it.
AnsiString OutputArgument(const WideString& Path, const TMP4BoxVersion& V);

// Puts a finished line into the run: as it is for the older tool; for the newer one in the
// code page when the code page carries it, else as a UTF-16 line (with its code-page form
// beside it for the log).
void SetToolCommandLine(TRunRequest& Run, const AnsiString& Line, const TMP4BoxVersion& V);
// The same for a tool that reads its arguments as UTF-16 (AtomicParsley), from a line
// written in UTF-8.
void SetUnicodeToolCommandLine(TRunRequest& Run, const AnsiString& Utf8Line);
// The line as the log shows it.
WideString CommandLineText(const TRunRequest& Run);
// A line built for V (UTF-8 for a tool that reads UTF-16) as the log shows it.
WideString CommandLineText(const AnsiString& Line, const TMP4BoxVersion& V);

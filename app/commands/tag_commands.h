// The two tagging commands: AtomicParsley writing the tags into a newly made file, and
// MP4Box rewriting one file of the tag page with its "-itags" argument.
#pragma once

#include "app/commands/itags_argument.h"
#include "app/common/named_texts.h"
#include "app/jobs/job_sequencer.h"

// AtomicParsley on File, overwriting it, with an option for every present tag (writer and
// composer both as --composer, writer first; a total without its number adds nothing). The
// line is UTF-8: the tool gets it as UTF-16, every name and tag whole.
AnsiString AtomicParsleyCommandLine(const WideString& Tagger, const WideString& File, const TTagFields& Tags);

// The run after a mux: the command, its status row and its log lines.
TRunRequest AtomicParsleyRun(const WideString& Tagger, const WideString& File, const TTagFields& Tags);

struct TFileTagOptions {
  WideString Tagger;      // MP4Box, the configured tagger
  WideString TempFolder;  // " -tmp" when not empty
  bool Verbose = false;   // " -v"
  TMP4BoxVersion Version;  // of that MP4Box
};

// MP4Box writing Source with ITags (the whole " -itags ..." text, or empty for none) into
// Target: today's tool rewrites Source whole ("Source -out Target"), the older one imports it
// ("-add Source -new Target").
AnsiString FilesTagCommandLine(const TFileTagOptions& Options, const AnsiString& ITags, const WideString& Source,
                               const WideString& Target);

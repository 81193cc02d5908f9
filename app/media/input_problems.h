// Why an input file added no track, as the user is told.
#pragma once

#include "vcl/sysutils.h"

// The file is not there (a typed name, a file moved away).
WideString MissingInputText(const WideString& FileName);
// The file gave no track: MediaInfo does not read it as media and its extension has no
// fixed description.
WideString UnreadableInputText(const WideString& FileName);

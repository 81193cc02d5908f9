// Wide properties in stored form descriptions. The framework's writer and reader store
// published WideString and WideChar properties under their own names; wide components add
// here the extra names that older descriptions may carry (P + "W" and P + "_UTF7"), so
// that those descriptions still load.
//
// A wide component's DefineProperties calls its base class's first, then
// DefineWideProperties(Filer, this).
#pragma once

#include "vcl/streaming.h"

class TWideStrings;

// Whether the legacy names holding whole UTF-8 or UTF-7 texts (P + "W" and P + "_UTF7" of
// WideString properties, a wide list's "WideStringsW" and "WideStrings_UTF7") replace the
// values stored under the plain names. Off at start and again at shut-down; the program
// never turns it on.
extern bool LegacyWidePropertyDecoding;

// The switch as it applies to one reader: on only when the reader has an owner component
// that is not being designed.
bool IsLegacyDecoding(TReader* Reader);

// Defines, for every published WideString and WideChar property P of Instance's class, the
// names P + "W" and P + "_UTF7".
void DefineWideProperties(TFiler* Filer, TPersistent* Instance);

// The stored value of a wide list: an 8-bit text or a wide text (the whole text, split
// into lines), or a list of 8-bit or wide items that replaces the lines. Anything else
// raises EReadError "Invalid property value".
void ReadWideStringsValue(TReader* Reader, TWideStrings* Strings);

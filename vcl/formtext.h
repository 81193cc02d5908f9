// Form description texts: the readable form of stored descriptions, kept beside the code
// of each form and turned into the binary format (vcl/streaming.h) in memory when read.
//
//   object MainForm: TMainForm              (or "inherited Name: TClass" in a descendant)
//     Caption = 'Kavo '#8211' muxer'         strings in single quotes, '' for a quote, #nnn
//     Width = 640                             character codes, + joins pieces across lines
//     Ratio = 1.5                             numbers: decimal, $hex, floats
//     Align = alClient                        identifiers (enumerations, True/False, nil)
//     Font.Name = 'Tahoma'                    dotted names reach sub-objects
//     Anchors = [akLeft, akTop]               sets
//     Items.Strings = (                       lists
//       'one'
//       'two')
//     Columns = <                             collections
//       item
//         Caption = 'Name'
//       end>
//     Glyph.Data = {0A0B0C}                   binary, in hex
//     OnClick = btAddClick                    handlers by name
//     object btAdd: TButton                   child objects follow the values
//     end
//   end
//
// The text is UTF-8. A string whose characters are all ASCII is stored as an 8-bit string
// (vaString, vaLString above 255 bytes); any other becomes a wide string (vaWString), so that
// French, Greek or Japanese text reads back the same whatever the system's code page.
// #nnn codes are Unicode code points.
#pragma once

#include "vcl/streaming.h"

// A syntax error of a description text: the message names the source and the line.
VCL_DECLARE_EXCEPTION(EParserError, EReadError)

// Converts a description text into the binary format, appended to output. sourceName names
// the text in error messages.
void ObjectTextToBinary(const AnsiString& text, TStream* output, const AnsiString& sourceName);
void ObjectTextToBinary(TStream* input, TStream* output, const AnsiString& sourceName);

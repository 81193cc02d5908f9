// Wide text files and streams: the character set of a text stream told by its
// byte-order mark, reading and writing UTF-16 text, and file streams opened by wide
// (UTF-16) names.
#pragma once

#include <cstdint>

#include "vcl/streams.h"

// The character set of a text stream.
enum TTextFileEncoding : uint8_t {
  teAnsi = 0,     // 8-bit text in ConversionCodePage
  teUtf16LE = 1,  // FF FE
  teUtf16BE = 2,  // FE FF
  teUtf8 = 3,     // EF BB BF
};

// Reads the byte-order mark at the stream's position. The stream is left just after
// the mark it found, or where it was when there is none (then teAnsi).
TTextFileEncoding DetectTextEncoding(TStream* Stream);

// Reads the rest of the stream as text in Encoding. UTF-16 takes whole code units
// (an odd last byte is left); ill-formed UTF-8 sequences become U+FFFD each.
WideString ReadTextAs(TStream* Stream, TTextFileEncoding Encoding);
// Reads the rest of the stream as UTF-16LE; with WithBOM a byte-order mark decides
// the character set first.
WideString ReadUtf16Text(TStream* Stream, bool WithBOM);
// Writes Text as UTF-16LE, after the mark FF FE when WithBOM.
void WriteUtf16Text(TStream* Stream, const WideString& Text, bool WithBOM);

// A file stream on a file opened by a wide name: Mode fmCreate creates or truncates
// the file; any other mode opens an existing file with the framework's access and
// sharing bits. Failures raise EFCreateError / EFOpenError naming the full path and
// the system's reason.
class TUniFileStream : public THandleStream {
  VCL_CLASS(TUniFileStream)
 public:
  TUniFileStream(const WideString& FileName, unsigned Mode);
  ~TUniFileStream() override;
  const WideString& FileName() const { return FFileName; }

 private:
  WideString FFileName;
};

// The framework's memory stream under the name the wide layer uses.
class TUniMemoryStream : public TMemoryStream {
  VCL_CLASS(TUniMemoryStream)
};

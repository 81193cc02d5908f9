#include "widetext/wide_files.h"

#include "vcl/resstrings.h"
#include "widetext/codecs.h"
#include "widetext/filenames.h"
#include "widetext/widetextutils.h"

VCL_CLASS_IMPL(TUniFileStream, THandleStream, nullptr, nullptr)
VCL_CLASS_IMPL(TUniMemoryStream, TMemoryStream, nullptr, nullptr)

namespace {

int64_t Remaining(TStream* Stream) {
  const int64_t n = Stream->Size() - Stream->Position();
  return n > 0 ? n : 0;
}

AnsiString ReadRemainingBytes(TStream* Stream) {
  AnsiString bytes(static_cast<size_t>(Remaining(Stream)), '\0');
  Stream->ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

WideString ReadUtf16Units(TStream* Stream, bool BigEndian) {
  WideString text(static_cast<size_t>(Remaining(Stream) / 2), L'\0');
  Stream->ReadBuffer(text.data(), static_cast<int64_t>(text.size() * sizeof(WideChar)));
  // Every code unit is turned round, zero units included: a zero in the middle of a
  // big-endian file must not leave the rest of the text byte-swapped.
  if (BigEndian)
    for (WideChar& c : text) c = static_cast<WideChar>((c << 8) | (c >> 8));
  return text;
}

// The framework's stream errors carry the system's reason as a sentence without its
// full stop and line break, after the file name's own full stop.
AnsiString ReasonText(DWORD Error) {
  AnsiString reason = WideToAnsi(WideSysErrorMessage(Error));
  while (!reason.empty() && (static_cast<unsigned char>(reason.back()) <= ' ' || reason.back() == '.'))
    reason.pop_back();
  return reason;
}

}  // namespace

TTextFileEncoding DetectTextEncoding(TStream* Stream) {
  unsigned char mark[3];
  if (Remaining(Stream) < 2) return teAnsi;
  Stream->ReadBuffer(mark, 2);
  if (mark[0] == 0xFF && mark[1] == 0xFE) return teUtf16LE;
  if (mark[0] == 0xFE && mark[1] == 0xFF) return teUtf16BE;
  Stream->Seek(-2, soCurrent);
  if (Remaining(Stream) >= 3) {
    Stream->ReadBuffer(mark, 3);
    if (mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF) return teUtf8;
    Stream->Seek(-3, soCurrent);
  }
  return teAnsi;
}

WideString ReadTextAs(TStream* Stream, TTextFileEncoding Encoding) {
  switch (Encoding) {
    case teUtf16LE:
    case teUtf16BE:
      return ReadUtf16Units(Stream, Encoding == teUtf16BE);
    case teUtf8: {
      const AnsiString bytes = ReadRemainingBytes(Stream);
      return Utf8Decode(bytes.data(), bytes.size());
    }
    case teAnsi:
      break;
  }
  return CodePageToWide(ReadRemainingBytes(Stream), ConversionCodePage);
}

WideString ReadUtf16Text(TStream* Stream, bool WithBOM) {
  return ReadTextAs(Stream, WithBOM ? DetectTextEncoding(Stream) : teUtf16LE);
}

void WriteUtf16Text(TStream* Stream, const WideString& Text, bool WithBOM) {
  static const unsigned char kMark[2] = {0xFF, 0xFE};
  if (WithBOM) Stream->WriteBuffer(kMark, 2);
  Stream->WriteBuffer(Text.data(), static_cast<int64_t>(Text.size() * sizeof(WideChar)));
}

// --- TUniFileStream -------------------------------------------------------------

TUniFileStream::TUniFileStream(const WideString& FileName, unsigned Mode)
    : THandleStream(INVALID_HANDLE_VALUE), FFileName(FileName) {
  FHandle = Mode == fmCreate ? WideFileCreate(FileName) : WideFileOpen(FileName, Mode);
  if (FHandle != INVALID_HANDLE_VALUE) return;
  const DWORD error = GetLastError();
  // The framework's messages are 8-bit: the name comes through the code page.
  const AnsiString fullName = WideToAnsi(WideExpandFileName(FileName));
  const AnsiString reason = ReasonText(error);
  if (Mode == fmCreate)
    throw EFCreateError(Format(LoadResString(&SFCreateErrorEx).c_str(), fullName.c_str(), reason.c_str()));
  throw EFOpenError(Format(LoadResString(&SFOpenErrorEx).c_str(), fullName.c_str(), reason.c_str()));
}

TUniFileStream::~TUniFileStream() {
  if (FHandle != INVALID_HANDLE_VALUE && FHandle != nullptr) CloseHandle(FHandle);
}

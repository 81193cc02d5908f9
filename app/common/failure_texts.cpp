#include "app/common/failure_texts.h"

#include "app/common/named_texts.h"

WideString LogNotWrittenText(const WideString& FileName) {
  return FormatText(NamedTexts().MsgLogNotWritten, {FileName});
}

WideString SettingsNotWrittenText(const WideString& FileName) {
  return FormatText(NamedTexts().MsgSettingsNotWritten, {FileName});
}

WideString MediaInfoMissingText(const WideString& ProgramFolder) {
  return FormatText(NamedTexts().MsgMediaInfoMissing, {ProgramFolder});
}

WideString LogMovedText(const WideString& FileName, const WideString& Instead) {
  return FormatText(NamedTexts().MsgLogMoved, {FileName, Instead});
}

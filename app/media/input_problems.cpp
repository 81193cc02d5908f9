#include "app/media/input_problems.h"

#include "app/common/text_routines.h"
#include "app/media/media_analysis.h"
#include "widetext/filenames.h"

WideString MissingInputText(const WideString& FileName, const TNamedTexts& Texts) {
  return FillText(Texts.MsgInputNotFound, FileName);
}

WideString UnreadableInputText(const WideString& FileName, const TNamedTexts& Texts) {
  return FillText(Texts.MsgInputUnreadable, FileName);
}

WideString InputProblemText(const WideString& FileName, const TNamedTexts& Texts) {
  if (!WideFileExists(FileName)) return MissingInputText(FileName, Texts);
  // The subtitle files the program reads itself give their row without a reader here:
  // only what MediaInfo and the extension give counts.
  if (AnalyseMediaFile(FileName).Rows.empty()) return UnreadableInputText(WideExtractFileName(FileName), Texts);
  return WideString();
}

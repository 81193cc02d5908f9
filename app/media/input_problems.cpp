#include "app/media/input_problems.h"

#include "app/common/named_texts.h"

WideString MissingInputText(const WideString& FileName) {
  return FormatText(NamedTexts().MsgInputMissing, {FileName});
}

WideString UnreadableInputText(const WideString& FileName) {
  return FormatText(NamedTexts().MsgInputUnreadable, {FileName});
}

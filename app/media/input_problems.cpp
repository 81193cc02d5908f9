#include "app/media/input_problems.h"

WideString MissingInputText(const WideString& FileName) {
  return L"\"" + FileName + L"\" was not found: no track was added.";
}

WideString UnreadableInputText(const WideString& FileName) {
  return L"\"" + FileName + L"\" is not a media file that MediaInfo can read: no track was added.";
}

#include "app/common/failure_texts.h"

WideString LogNotWrittenText(const WideString& FileName) {
  return L"The log file " + FileName + L" could not be written: the log of this run is not saved.";
}

WideString SettingsNotWrittenText(const WideString& FileName) {
  return L"The settings could not be saved to " + FileName + L": the changes of this run are lost.";
}

WideString MediaInfoMissingText(const WideString& ProgramFolder) {
  return L"MediaInfo.dll could not be loaded from " + ProgramFolder +
         L": files are described by their extension alone, without their streams.";
}

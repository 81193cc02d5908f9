// What the media tests share: chosen MediaInfo answers, and the folder of the test media
// that scripts/test makes (KAVO_TEST_MEDIA).
#pragma once

#include <cstdlib>
#include <map>
#include <tuple>

#include "app/media/media_info.h"

// Answers given by the test; every other question gets the empty text.
class TChosenAnswers : public TMediaAnswers {
 public:
  TChosenAnswers& Set(TStreamKind Kind, int Number, const WideString& Parameter, const WideString& Value) {
    FValues[{static_cast<int>(Kind), Number, Parameter}] = Value;
    return *this;
  }
  TChosenAnswers& Counts(int Video, int Audio, int Text) {
    Set(TStreamKind::General, 0, L"VideoCount", std::to_wstring(Video));
    Set(TStreamKind::General, 0, L"AudioCount", std::to_wstring(Audio));
    return Set(TStreamKind::General, 0, L"TextCount", std::to_wstring(Text));
  }
  WideString Get(TStreamKind Kind, int Number, const WideString& Parameter) override {
    auto it = FValues.find({static_cast<int>(Kind), Number, Parameter});
    return it == FValues.end() ? WideString() : it->second;
  }

 private:
  std::map<std::tuple<int, int, WideString>, WideString> FValues;
};

// The test media folder with its trailing backslash; empty when the variable is not set.
inline WideString TestMediaFolder() {
  const char* folder = std::getenv("KAVO_TEST_MEDIA");
  return folder && *folder ? AnsiToWide(folder) + L"\\" : WideString();
}

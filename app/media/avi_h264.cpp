#include "app/media/avi_h264.h"

const wchar_t* const AviH264CodecText = L"Intel H.264";

bool IsAviH264Video(TMediaAnswers& Info, int VideoNumber) {
  if (Info.Get(TStreamKind::Video, VideoNumber, L"Codec/String") == AviH264CodecText) return true;
  return Info.Get(TStreamKind::Video, VideoNumber, L"Format") == L"AVC" &&
         Info.Get(TStreamKind::General, 0, L"Format") == L"AVI";
}

#include "vcl/comctrls_shared.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

void InitCommonControlClasses(DWORD Classes) {
  static DWORD registered = 0;
  if ((registered & Classes) == Classes) return;
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), Classes};
  if (InitCommonControlsEx(&icc)) registered |= Classes;
}

namespace {

template <class Ch, class Str>
void CopyInto(Ch* Buffer, int BufSize, const Str& Text) {
  if (!Buffer || BufSize < 1) return;
  size_t count = std::min(Text.size(), static_cast<size_t>(BufSize - 1));
  std::memcpy(Buffer, Text.data(), count * sizeof(Ch));
  Buffer[count] = 0;
}

}  // namespace

void CopyNotifyText(char* Buffer, int BufSize, const AnsiString& Text) { CopyInto(Buffer, BufSize, Text); }
void CopyNotifyText(wchar_t* Buffer, int BufSize, const WideString& Text) { CopyInto(Buffer, BufSize, Text); }

#include "vcl/comctrls_common.h"

#include <algorithm>
#include <cstring>

bool InitCommonControlsOnce() {
  static const bool loaded = [] {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES;
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  return loaded;
}

bool AnswerNotifyFormat(TMessage& Message, bool Unicode) {
  if (Message.LParam != NF_QUERY) return false;
  Message.Result = Unicode ? NFR_UNICODE : NFR_ANSI;
  return true;
}

void SetControlUnicodeFormat(HWND Wnd, bool Unicode) {
  if (Wnd) SendMessageA(Wnd, CCM_SETUNICODEFORMAT, Unicode ? 1 : 0, 0);
}

bool IsWideNotifyCode(UINT Code) {
  int code = static_cast<int>(Code);
  // Each family keeps its wide codes in a block of its own range (codes are negative).
  auto in = [code](int highest, int lowest) { return code <= highest && code >= lowest; };
  return in(static_cast<int>(LVN_BEGINLABELEDITW), static_cast<int>(LVN_ODFINDITEMW)) ||  // -175..-179
         code == static_cast<int>(LVN_GETINFOTIPW) ||
         in(static_cast<int>(TVN_SELCHANGINGW), static_cast<int>(TVN_ENDLABELEDITW)) ||  // -450..-460
         code == static_cast<int>(TVN_GETINFOTIPW) ||
         in(static_cast<int>(HDN_ITEMCHANGINGW), static_cast<int>(HDN_GETDISPINFOW)) ||  // -320..-329
         code == static_cast<int>(TTN_GETDISPINFOW);
}

int CopyNotifyText(char* Buffer, int BufferSize, const AnsiString& Text) {
  if (!Buffer || BufferSize < 1) return 0;
  int n = std::min(static_cast<int>(Text.size()), BufferSize - 1);
  if (n > 0) std::memcpy(Buffer, Text.data(), static_cast<size_t>(n));
  Buffer[n] = '\0';
  return n;
}

int CopyNotifyText(wchar_t* Buffer, int BufferSize, const WideString& Text) {
  if (!Buffer || BufferSize < 1) return 0;
  int n = std::min(static_cast<int>(Text.size()), BufferSize - 1);
  // A character outside the basic plane goes whole or not at all.
  if (n > 0 && n < static_cast<int>(Text.size()) && IS_HIGH_SURROGATE(Text[n - 1])) --n;
  if (n > 0) std::memcpy(Buffer, Text.data(), static_cast<size_t>(n) * sizeof(wchar_t));
  Buffer[n] = L'\0';
  return n;
}

#include "app/common/file_write.h"

#include <windows.h>

#include <algorithm>

#include "widetext/widetextutils.h"

namespace {

[[noreturn]] void Fail(const WideString& FileName, DWORD Error) {
  throw Exception(WideToAnsi(L"Cannot write \"" + FileName + L"\": ") + SysErrorMessage(Error));
}

}  // namespace

void WriteWholeFile(const WideString& FileName, const AnsiString& Bytes) {
  const WideString temporary = FileName + L".part~";
  HANDLE h = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) Fail(FileName, GetLastError());
  DWORD error = ERROR_SUCCESS;
  size_t done = 0;
  while (done < Bytes.size() && error == ERROR_SUCCESS) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(Bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(h, Bytes.data() + done, chunk, &written, nullptr)) error = GetLastError();
    else if (written == 0) error = ERROR_DISK_FULL;
    done += written;
  }
  if (error == ERROR_SUCCESS && !FlushFileBuffers(h)) error = GetLastError();
  CloseHandle(h);
  if (error == ERROR_SUCCESS && !MoveFileExW(temporary.c_str(), FileName.c_str(), MOVEFILE_REPLACE_EXISTING))
    error = GetLastError();
  if (error != ERROR_SUCCESS) {
    DeleteFileW(temporary.c_str());
    Fail(FileName, error);
  }
}

#include "vcl/streams.h"

#include <algorithm>
#include <cstring>

#include "vcl/resstrings.h"

VCL_CLASS_IMPL(TStream, TObject, nullptr, nullptr)
VCL_CLASS_IMPL(THandleStream, TStream, nullptr, nullptr)
VCL_CLASS_IMPL(TFileStream, THandleStream, nullptr, nullptr)
VCL_CLASS_IMPL(TMemoryStream, TStream, nullptr, nullptr)

// --- TStream ----------------------------------------------------------------

void TStream::SetSize(int64_t) {}

int64_t TStream::Size() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError(LoadResString(&SReadError));
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError(LoadResString(&SWriteError));
}

int64_t TStream::CopyFrom(TStream* source, int64_t count) {
  if (count == 0) {
    source->SetPosition(0);
    count = source->Size();
  }
  int64_t result = count;
  std::vector<uint8_t> buf(static_cast<size_t>(std::min<int64_t>(count, 0xF000)) + 1);
  while (count > 0) {
    int64_t n = std::min<int64_t>(count, static_cast<int64_t>(buf.size()));
    source->ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    count -= n;
  }
  return result;
}

// --- THandleStream ----------------------------------------------------------

int64_t THandleStream::Read(void* buffer, int64_t count) {
  int64_t total = 0;
  auto* p = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count, 0x40000000));
    DWORD got = 0;
    if (!ReadFile(FHandle, p + total, chunk, &got, nullptr)) break;
    total += got;
    count -= got;
    if (got < chunk) break;
  }
  return total;
}

int64_t THandleStream::Write(const void* buffer, int64_t count) {
  int64_t total = 0;
  auto* p = static_cast<const uint8_t*>(buffer);
  while (count > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count, 0x40000000));
    DWORD put = 0;
    if (!WriteFile(FHandle, p + total, chunk, &put, nullptr)) break;
    total += put;
    count -= put;
    if (put < chunk) break;
  }
  return total;
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
  LARGE_INTEGER dist, result;
  dist.QuadPart = offset;
  if (!SetFilePointerEx(FHandle, dist, &result, static_cast<DWORD>(origin))) return -1;
  return result.QuadPart;
}

void THandleStream::SetSize(int64_t size) {
  Seek(size, soBeginning);
  Win32Check(SetEndOfFile(FHandle));
}

// --- TFileStream ------------------------------------------------------------

bool FileModeToCreateArgs(unsigned mode, DWORD& access, DWORD& share, DWORD& disposition) {
  static const DWORD accessModes[3] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  // Indexed by the sharing value: shr 4 of fmShareCompat .. fmShareDenyNone.
  static const DWORD shareModes[5] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  if (mode == fmCreate) {
    access = GENERIC_READ | GENERIC_WRITE;
    share = 0;
    disposition = CREATE_ALWAYS;
    return true;
  }
  const unsigned accessIndex = mode & 3, shareIndex = (mode & 0xF0) >> 4;
  if (accessIndex > 2 || shareIndex > 4) return false;
  access = accessModes[accessIndex];
  share = shareModes[shareIndex];
  disposition = OPEN_EXISTING;
  return true;
}

TFileStream::TFileStream(const AnsiString& fileName, unsigned mode)
    : THandleStream(INVALID_HANDLE_VALUE), FFileName(fileName) {
  DWORD access = 0, share = 0, disposition = 0;
  if (FileModeToCreateArgs(mode, access, share, disposition))
    FHandle = CreateFileA(fileName.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  else
    SetLastError(ERROR_INVALID_PARAMETER);
  if (FHandle == INVALID_HANDLE_VALUE) {
    DWORD err = GetLastError();
    AnsiString full = ExpandFileName(fileName);
    if (mode == fmCreate)
      throw EFCreateError(
          Format(LoadResString(&SFCreateErrorEx).c_str(), full.c_str(), SysErrorMessage(err).c_str()));
    throw EFOpenError(Format(LoadResString(&SFOpenErrorEx).c_str(), full.c_str(), SysErrorMessage(err).c_str()));
  }
}

TFileStream::~TFileStream() {
  if (FHandle != INVALID_HANDLE_VALUE && FHandle != nullptr) CloseHandle(FHandle);
}

// --- TMemoryStream ----------------------------------------------------------

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (FPosition < 0 || count <= 0) return 0;
  int64_t avail = static_cast<int64_t>(FData.size()) - FPosition;
  int64_t n = std::min(count, std::max<int64_t>(avail, 0));
  if (n > 0) std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (FPosition < 0 || count <= 0) return 0;
  int64_t end = FPosition + count;
  if (end > static_cast<int64_t>(FData.size())) FData.resize(static_cast<size_t>(end));
  std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
  FPosition = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning:
      FPosition = offset;
      break;
    case soCurrent:
      FPosition += offset;
      break;
    case soEnd:
      FPosition = static_cast<int64_t>(FData.size()) + offset;
      break;
  }
  return FPosition;
}

void TMemoryStream::SetSize(int64_t size) {
  FData.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  if (FPosition > size) FPosition = size;
}

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* source) {
  source->SetPosition(0);
  int64_t n = source->Size();
  SetSize(n);
  if (n) source->ReadBuffer(FData.data(), n);
  FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream* dest) {
  if (!FData.empty()) dest->WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TMemoryStream::LoadFromFile(const AnsiString& fileName) {
  TFileStream s(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&s);
}

void TMemoryStream::SaveToFile(const AnsiString& fileName) {
  TFileStream s(fileName, fmCreate);
  SaveToStream(&s);
}

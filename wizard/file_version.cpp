#include "wizard/file_version.h"

#include <cstring>
#include <vector>

AnsiString ModuleFileName(HMODULE Module) {
  char name[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(Module, name, MAX_PATH);
  return AnsiString(name, length);
}

bool AcceptFixedFileInfo(const void* Block, UINT Size, VS_FIXEDFILEINFO& Info) {
  if (!Block || Size != sizeof(VS_FIXEDFILEINFO)) return false;
  std::memcpy(&Info, Block, sizeof Info);
  return true;
}

bool GetFixedFileInfo(const AnsiString& FileName, VS_FIXEDFILEINFO& Info) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(FileName.c_str(), &handle);
  if (size == 0) return false;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(FileName.c_str(), handle, size, data.data())) return false;
  void* block = nullptr;
  UINT blockSize = 0;
  if (!VerQueryValueA(data.data(), "\\", &block, &blockSize)) return false;
  return AcceptFixedFileInfo(block, blockSize, Info);
}

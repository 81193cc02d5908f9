#include "explorer/file_viewers.h"

#include <windows.h>

namespace {

const wchar_t* const kViewerExtensions[kViewerCount] = {
    L".C",   L".CPP", L".DPK", L".DPR", L".H",   L".HPP", L".BPK", L".BPR", L".INF", L".INI", L".PAS", L".PRG", L".TXT",
    L".DOC", L".RTF", L".WRI", L".BMP", L".GIF", L".JPG", L".TIFF", L".PNG", L".WMF", L".ICO", L".HTML", L".HTM"};

}  // namespace

int ViewerIndexOf(const WideString& Extension) {
  WideString ext = Extension;
  if (!ext.empty()) CharUpperBuffW(ext.data(), static_cast<DWORD>(ext.size()));
  for (int i = 0; i < kViewerCount; ++i)
    if (ext == kViewerExtensions[i]) return i;
  return -1;
}

AnsiString ViewerProgramOf(int Index, bool NT51OrLater) {
  if (Index < 0) return AnsiString();
  if (Index <= 12) return "NotePad.exe";
  if (Index <= 15) return "Write.exe";
  if (Index <= 22) return NT51OrLater ? "SYSTEM32\\MSPaint.exe" : "PBrush.exe";
  return "Explorer.exe";
}

#include "app/ui/api_file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "app/common/text_routines.h"

AnsiString ApiFilter(const AnsiString& Filter) { return ReplaceChar(Filter, '|', '\0') + AnsiString(2, '\0'); }

bool ShowApiFileDialog(HWND Owner, const AnsiString& DefaultExt, const AnsiString& Filter,
                       const AnsiString& InitialDir, const AnsiString& Title, AnsiString& FileName,
                       bool FileMustExist, bool OverwritePrompt, bool NoChangeDir, bool Open,
                       bool AllowMultiSelect) {
  AnsiString filter = ApiFilter(Filter);
  std::vector<char> buffer(261, '\0');
  FileName.copy(buffer.data(), buffer.size() - 1);
  OPENFILENAMEA ofn{};
  // The record of the systems without the places bar, as the program has always used it.
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  ofn.hwndOwner = Owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  if (!Title.empty()) ofn.lpstrTitle = Title.c_str();
  if (!InitialDir.empty()) ofn.lpstrInitialDir = InitialDir.c_str();
  if (!DefaultExt.empty()) ofn.lpstrDefExt = DefaultExt.c_str();
  if (FileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
  if (OverwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (NoChangeDir) ofn.Flags |= OFN_NOCHANGEDIR;
  if (AllowMultiSelect) ofn.Flags |= OFN_ALLOWMULTISELECT;
  bool ok = Open ? GetOpenFileNameA(&ofn) : GetSaveFileNameA(&ofn);
  if (ok) FileName = buffer.data();
  return ok;
}

#include "app/ui/picker_folders.h"

#include <map>
#include <string>

#include "widetext/filenames.h"

namespace {

std::map<std::string, WideString>& LastFolders() {
  static std::map<std::string, WideString> folders;
  return folders;
}

}  // namespace

void PrepareDialogFor(TUniOpenDialog* Dialog, const char* Picker) {
  Dialog->SetFileName(L"");
  auto it = LastFolders().find(Picker);
  Dialog->SetInitialDir(it == LastFolders().end() ? WideString() : it->second);
}

void RememberPickerFolder(const char* Picker, const WideString& FileName) {
  const WideString folder = WideExtractFilePath(FileName);
  if (!folder.empty()) LastFolders()[Picker] = folder;
}

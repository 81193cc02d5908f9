// The one input picker of the split, extract and converter pages: a single existing file,
// through the plain system dialog on Windows Vista and the window's wide open dialog
// elsewhere, each page's picker starting in the folder it was last used in.
#include "app/common/os_version.h"
#include "app/forms/main_form.h"
#include "app/ui/api_file_dialog.h"
#include "app/ui/picker_folders.h"

WideString TMainForm::PickInputFile(const char* Picker, const wchar_t* Filter, const wchar_t* DefaultExt) {
  WideString chosen;
  if (IsWindowsVista()) {
    AnsiString name;
    if (ShowApiFileDialog(Handle(), WideToAnsi(DefaultExt), WideToAnsi(Filter), " ", "Select your File", name, true,
                          true, false, true, false))
      chosen = AnsiToWide(name);
  } else {
    OpenDialog->SetFilter(Filter);
    OpenDialog->Options = OpenOption(ofHideReadOnly) | OpenOption(ofEnableSizing) | OpenOption(ofFileMustExist);
    OpenDialog->FilterIndex = 1;
    OpenDialog->SetDefaultExt(DefaultExt);
    PrepareDialogFor(OpenDialog, Picker);
    if (OpenDialog->Execute()) chosen = OpenDialog->FileName();
    OpenDialog->SetDefaultExt(L"");  // the dialog is shared with the other pickers
  }
  if (!chosen.empty()) RememberPickerFolder(Picker, chosen);
  return chosen;
}

#include "explorer/net_path_dialog.h"

#include "explorer/shell_routines.h"
#include "vcl/application.h"

VCL_CLASS_IMPL(TNetPathDlg, TWinControl, nullptr, nullptr)

TOfferedDrives OfferedDriveLetters(DWORD DriveMask) {
  int last = -1;
  for (int i = 0; i < 26; ++i)
    if (DriveMask & (1u << i)) last = i;
  TOfferedDrives offered;
  for (int i = last + 1; i < 26; ++i) offered.Letters.push_back(AnsiString(1, static_cast<char>('A' + i)) + ":");
  if (offered.Letters.empty()) {
    // Z: is taken, so nothing lies above the last drive; the letters in between are free
    // all the same. Propose the highest of them, as the system's own dialog does.
    for (int i = 0; i < 26; ++i)
      if (!(DriveMask & (1u << i))) offered.Letters.push_back(AnsiString(1, static_cast<char>('A' + i)) + ":");
    if (!offered.Letters.empty()) offered.First = offered.Letters.back();
  } else {
    offered.First = offered.Letters.front();
  }
  return offered;
}

namespace {

template <class T>
T* Place(TForm* Form, int Left, int Top, int Width, int Height) {
  auto* control = new T(Form);
  control->SetParent(Form);
  control->SetBounds(Left, Top, Width, Height);
  return control;
}

}  // namespace

TNetPathDlg::TNetPathDlg(TComponent* AOwner) : TWinControl(AOwner), FDriveList(std::make_unique<TStringList>()) {
  BuildForm();
  TOfferedDrives offered = OfferedDriveLetters(GetLogicalDrives());
  Drive = offered.First;
  for (const auto& letter : offered.Letters) FDriveList->Add(letter);
}

TNetPathDlg::~TNetPathDlg() {
  if (FForm) FForm->Free();
}

void TNetPathDlg::BuildForm() {
  FForm = TCustomForm::CreateNew<TForm>(nullptr);
  FForm->SetCaption("Map Network Drive");
  FForm->Font()->SetName("MS Sans Serif");
  FForm->Font()->SetSize(8);
  FForm->SetBorderStyle(bsDialog);
  FForm->SetClientWidth(382);
  FForm->SetClientHeight(160);
  FForm->SetPosition(poScreenCenter);

  FInfoLabel = Place<TLabel>(FForm, 28, 8, 326, 26);
  FInfoLabel->SetCaption(
      "Specify an avilable Drive Letter in My Computer for the connection \r"
      "and the path to the Network Computer that you want to connect to:");
  Place<TLabel>(FForm, 28, 56, 25, 13)->SetCaption("Drive");
  Place<TLabel>(FForm, 28, 88, 25, 13)->SetCaption("Path");
  FDriveCombo = Place<TComboBox>(FForm, 60, 52, 189, 21);
  FPathEdit = Place<TUniEdit>(FForm, 60, 84, 189, 21);
  FOkButton = Place<TButton>(FForm, 272, 52, 75, 23);
  FOkButton->SetCaption("OK");
  FOkButton->ModalResult = mrOk;
  FOkButton->SetDefault(true);
  FBrowseButton = Place<TButton>(FForm, 272, 84, 75, 23);
  FBrowseButton->SetCaption("Browse");
  FBrowseButton->OnClick = [this](TObject* Sender) { BrowseClick(Sender); };
  FCancelButton = Place<TButton>(FForm, 272, 116, 75, 23);
  FCancelButton->SetCaption("Cancel");
  FCancelButton->ModalResult = mrCancel;
  FReconnectCheck = Place<TCheckBox>(FForm, 60, 116, 141, 21);
  FReconnectCheck->SetCaption("Reconnect at logon");
  FReconnectCheck->SetChecked(true);
}

void TNetPathDlg::CreateWnd() {
  TWinControl::CreateWnd();
  FDriveCombo->Items()->Assign(FDriveList.get());
}

bool TNetPathDlg::Execute() {
  // The dialog itself is never shown, so it may never get a window of its own: the combo
  // takes the letters here as well.
  FDriveCombo->Items()->Assign(FDriveList.get());
  FDriveCombo->SetText(Drive);
  FPathEdit->SetText(Path);
  FForm->SetModalResult(mrNone);
  int result = FForm->ShowModal();
  Drive = FDriveCombo->Text();
  Path = FPathEdit->Text();
  Reconnect = FReconnectCheck->Checked();
  return result == mrOk;
}

void TNetPathDlg::BrowseClick(TObject*) {
  AnsiString chosen;
  // Root 6: the network neighbourhood.
  if (!BrowseForFolder(Application->Handle(), chosen, 6, 0)) return;
  Path = AnsiToWide(RemoveSlash(chosen));
  FPathEdit->SetText(Path);
}

// TNetPathDlg: the "Map Network Drive" dialog of the folder tree. The user picks a free
// drive letter, gives or browses a network path and chooses whether to reconnect at logon;
// the tree then connects that letter to that path.
#pragma once

#include <memory>

#include "vcl/controls.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"
#include "vcl/strings.h"
#include "widetext/uni_edits.h"

// The drive letters the dialog offers for a GetLogicalDrives mask: every letter after the
// highest one in use, up to Z. When Z itself is in use (Wine's Z: drive always is) that
// would leave nothing, so the free letters below it are offered instead. First is the
// letter the dialog proposes ("" when every letter is taken).
struct TOfferedDrives {
  AnsiString First;
  std::vector<AnsiString> Letters;  // "E:", "F:", ...
};
TOfferedDrives OfferedDriveLetters(DWORD DriveMask);

class TNetPathDlg : public TWinControl {
  VCL_CLASS(TNetPathDlg)
 public:
  // Builds the dialog form and the list of offered letters.
  explicit TNetPathDlg(TComponent* AOwner);
  ~TNetPathDlg() override;

  // Shows the form modally with Drive and Path; afterwards Drive, Path and Reconnect hold
  // what the form shows. True when the form was closed with OK.
  bool Execute();

  AnsiString Drive;  // a letter and a colon
  WideString Path;   // the network path, for example \\server\share
  bool Reconnect = true;

  TStrings* DriveList() const { return FDriveList.get(); }
  // The dialog form and its controls (the form lives as long as the dialog).
  TForm* Form() const { return FForm; }
  TComboBox* DriveCombo() const { return FDriveCombo; }
  TUniEdit* PathEdit() const { return FPathEdit; }
  TCheckBox* ReconnectCheck() const { return FReconnectCheck; }
  TButton* OkButton() const { return FOkButton; }
  TButton* BrowseButton() const { return FBrowseButton; }
  TButton* CancelButton() const { return FCancelButton; }

 protected:
  void CreateWnd() override;

 private:
  void BuildForm();
  void BrowseClick(TObject* Sender);

  TForm* FForm = nullptr;
  TLabel* FInfoLabel = nullptr;
  TComboBox* FDriveCombo = nullptr;
  TUniEdit* FPathEdit = nullptr;
  TCheckBox* FReconnectCheck = nullptr;
  TButton* FOkButton = nullptr;
  TButton* FBrowseButton = nullptr;
  TButton* FCancelButton = nullptr;
  std::unique_ptr<TStringList> FDriveList;
};

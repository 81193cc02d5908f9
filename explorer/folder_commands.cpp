#include "explorer/folder_commands.h"

#include <shellapi.h>
#include <winnetwk.h>

#include "explorer/explorer_state.h"
#include "explorer/explorer_texts.h"
#include "explorer/net_path_dialog.h"
#include "explorer/hourglass.h"
#include "explorer/shell_routines.h"
#include "explorer/tree_size.h"
#include "vcl/application.h"
#include "widetext/uni_message_dialogs.h"

namespace {


WideString Text(const AnsiString& Message) { return AnsiToWide(Message); }

}  // namespace

bool PasteFolderInto(const WideString& Source, const WideString& TargetFolder, int Mode) {
  if (Source.empty() || TargetFolder.empty() || (Mode != kCopyMode && Mode != kMoveMode)) return false;
  // The folder itself, not its contents: a source ending in "\" would name the contents. A
  // drive root is refused: without its "\" it would name the drive's current directory.
  const WideString folder = RemoveSlash(Source);
  if (folder.size() <= 2 && (folder.size() < 2 || folder[1] == L':')) {
    WideMessageDlg(Text(ExplorerMessages().FileOperationFailed), mtError, MsgDlgButton(mbOK), 0);
    return false;
  }
  if (DoFileOperation(nullptr, Mode == kMoveMode ? FO_MOVE : FO_COPY, folder, false,
                      AddSlash(TargetFolder)))
    return true;
  WideMessageDlg(Text(ExplorerMessages().FileOperationFailed), mtError, MsgDlgButton(mbOK), 0);
  return false;
}

WideString TreeSizeLabel(const WideString& Path, bool IsDrive) {
  const TExplorerMessages& texts = ExplorerMessages();
  if (IsDrive) return Text(texts.Drive) + Path;
  // The folder text ends in the opening quote.
  return Text(texts.Folder) + ExtractFileNameOf(RemoveSlash(Path)) + L"\"";
}

double ShowFolderTreeSize(const WideString& Path, bool IsDrive) {
  double total = 0;
  {
    THourglass hourglass;
    total = FolderTreeSize(Path);
  }
  const TExplorerMessages& texts = ExplorerMessages();
  WideMessageDlg(TreeSizeReport({Text(texts.TreeSize), Text(texts.AllSubFolders)}, TreeSizeLabel(Path, IsDrive), total),
                 mtInformation, MsgDlgButton(mbOK), 0);
  return total;
}

TFolderContentsWindow* ShowFolderContentsOf(const WideString& Folder, TFolderContentsWindow::TChosenEvent OnChosen) {
  return TFolderContentsWindow::ShowFolder(Folder, FolderContentsCaption(Text(ExplorerMessages().FilesIn), Folder),
                                           std::move(OnChosen));
}

bool MapNetworkDrive(TComponent* Owner) {
  auto* dialog = new TNetPathDlg(Owner);
  if (!dialog->Execute()) return false;
  // The connection takes 8-bit paths: a server or share name the code page cannot spell
  // reaches it as question marks and is refused (with the system's message).
  return NetConnect(dialog->Drive, WideToAnsi(dialog->Path), true, dialog->Reconnect) == NO_ERROR;
}

bool DisconnectNetworkDrive() {
  return WNetDisconnectDialog(Application ? Application->Handle() : nullptr, RESOURCETYPE_DISK) == NO_ERROR;
}

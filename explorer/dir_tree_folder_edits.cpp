// The folder tree's own folder changes: renaming in place, new folders and deleting, each
// through the shell, then the tree rebuilt around the result.
#include <windows.h>
#include <shellapi.h>

#include "explorer/explorer_state.h"
#include "explorer/hourglass.h"
#include "explorer/shell_dir_tree.h"
#include "explorer/shell_routines.h"
#include "vcl/dialogs.h"
#include "vcl/scopeexit.h"
#include "widetext/uni_message_dialogs.h"

namespace {

// Characters a folder name given in the tree may not hold.
const WideString kInvalidNameChars = L"\\*?/=\"<>|:,;+^";

WideString Wide(const AnsiString& S) { return AnsiToWide(S); }

void ErrorBox(const WideString& Text) { WideMessageDlg(Text, mtError, MsgDlgButton(mbOK), 0); }

// Items.BeginUpdate until the scope is left.
struct TItemsUpdate {
  explicit TItemsUpdate(TTreeNodes* Nodes) : Nodes(Nodes) { Nodes->BeginUpdate(); }
  ~TItemsUpdate() { Nodes->EndUpdate(); }
  TTreeNodes* Nodes;
};

}  // namespace

void TShDirTree::RenameFolder(TTreeNode* Node, const wchar_t* Text) {
  // Whatever happens, a folder being named is named no longer.
  ScopeExit named{[this] { FNamingNewFolder = false; }};
  if (!Node || Node->Level() < 2) return;
  if (!Text) return;  // the user cancelled the edit
  WideString name = Text;
  if (name.empty()) {
    MessageBeep(MB_ICONHAND);
    return;
  }
  const TExplorerMessages& texts = ExplorerMessages();
  if (ContainsAnyChar(kInvalidNameChars, name)) {
    MessageBeep(MB_ICONHAND);
    ErrorBox(Wide(texts.InvalidDirectoryName) + L"\r" + name);
    return;
  }
  WideString oldPath = RemoveSlash(BuildNodePath(Node));
  WideString newPath = ExtractFolderOf(oldPath) + name;

  THourglass hourglass;
  TItemsUpdate update(Items());
  if (!FNamingNewFolder) {
    WideString question = Wide(texts.RenameQuestion) + L"\r\r    " + Wide(texts.From) + ExtractFileNameOf(oldPath) +
                          L"\r    " + Wide(texts.To) + ExtractFileNameOf(newPath);
    if (WideMessageDlg(question, mtConfirmation, MsgDlgButton(mbYes) | MsgDlgButton(mbNo), 0) != mrYes)
      throw EAbort("");
  }
  if (DoFileOperation(nullptr, FO_RENAME, oldPath, false, newPath)) {
    RebuildTree();
    OpenPathW(newPath);
    if (FFileList) FollowInFileList(newPath, false);
  }
}

bool TShDirTree::NewFolder(TTreeNode* Node, const WideString& Name) {
  if (!Node) Node = Selected();
  if (!Node) return false;
  const TExplorerMessages& texts = ExplorerMessages();
  if (Node->Level() == 0) {
    ErrorBox(Wide(texts.Error) + Wide(texts.CantAddDrives));
    return false;
  }
  WideString name = Name;
  bool defaultName = name.empty();
  if (defaultName) name = Wide(texts.NewFolder);
  WideString base = AddSlash(BuildNodePath(Node));
  if (base.empty()) throw EAbort("");
  if (ContainsAnyChar(kInvalidNameChars, name)) {
    MessageBeep(MB_ICONHAND);
    ErrorBox(Wide(texts.InvalidCharacters));
    throw EAbort("");
  }
  bool created;
  {
    TItemsUpdate update(Items());
    WideString path = base + name + L"\\";
    created = CreateDirectoryW(path.c_str(), nullptr) != FALSE;
    if (created) {
      RebuildTree();
      OpenPathW(path);
    }
  }
  // A folder made under the default name is named by the user right away, in any language.
  if (created && defaultName && Selected()) {
    FNamingNewFolder = true;
    if (!Selected()->EditText()) FNamingNewFolder = false;
  }
  return created;
}

bool TShDirTree::DeleteFolder(TTreeNode* Node) {
  if (!Node || Node->Level() < 2) return false;
  THourglass hourglass;
  WideString path = BuildNodePath(Node);
  if (!FolderExists(path)) {
    MessageBeep(MB_ICONHAND);
    ErrorBox(path + Wide(ExplorerMessages().NotFound));
    return false;
  }
  if (!DoFileOperation(nullptr, FO_DELETE, path, false, WideString())) return false;
  TTreeNode* parent = Node->Parent();
  parent->SetSelected(true);
  Node->Delete();
  // The selection moved to the parent: so does the selected folder.
  FSelectedPath = BuildNodePath(parent);
  DirChanged();
  if (FFileList) FollowInFileList(FSelectedPath, false);
  return true;
}

#include "explorer/folder_contents_window.h"

#include <shellapi.h>

#include "explorer/hourglass.h"
#include "explorer/shell_routines.h"
#include "vcl/application.h"

VCL_CLASS_IMPL(TFolderContentsWindow, TUniForm, nullptr, nullptr)

namespace {

WideString WithSlash(const WideString& Path) {
  return Path.empty() || Path.back() == L'\\' ? Path : Path + L'\\';
}


}  // namespace

WideString FolderContentsCaption(const WideString& FilesIn, const WideString& Folder) {
  WideString bare = Folder;
  while (!bare.empty() && bare.back() == L'\\') bare.pop_back();
  // A drive ("C:" once the backslash is gone) shows as `" C:\ "`.
  if (bare.size() <= 2) return FilesIn + L"\" " + bare.substr(0, 1) + L":\\ \"";
  return FilesIn + L"\" ..\\" + bare.substr(bare.find_last_of(L'\\') + 1) + L" \"";
}

std::vector<WideString> FolderFileNames(const WideString& Folder) {
  std::vector<WideString> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((WithSlash(Folder) + L"*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

HIMAGELIST SystemSmallImageList() {
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  SHFILEINFOW info{};
  return reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(windows, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

TFolderContentsWindow::TFolderContentsWindow(TComponent* AOwner) : TUniForm(AOwner) {}

TFolderContentsWindow* TFolderContentsWindow::ShowFolder(const WideString& Folder, const WideString& Caption,
                                                         TChosenEvent OnChosen) {
  auto* window = TCustomForm::CreateNew<TFolderContentsWindow>(nullptr);
  window->OnChosen = std::move(OnChosen);
  window->SetCaption(Caption);
  window->Build();
  window->Show();
  window->Fill(Folder);
  return window;
}

void TFolderContentsWindow::Build() {
  SetBorderStyle(bsSizeToolWin);
  SetPosition(poScreenCenter);

  FImages = new TImageList(this);
  // The system's list is shared by every program window: borrowed, never destroyed.
  FImages->SetShareImages(true);
  FImages->SetHandle(SystemSmallImageList());

  FBottomPanel = new TPanel(this);
  FBottomPanel->SetParent(this);
  FBottomPanel->SetHeight(22);
  FBottomPanel->SetAlign(alBottom);
  FBottomPanel->SetCaption("");
  FButtonPanel = new TPanel(this);
  FButtonPanel->SetParent(FBottomPanel);
  FButtonPanel->SetWidth(80);
  FButtonPanel->SetAlign(alRight);
  FButtonPanel->SetCaption("");
  FOkButton = new TButton(this);
  FOkButton->SetParent(FButtonPanel);
  FOkButton->SetBounds(1, 1, 60, 22);
  FOkButton->SetCaption("&OK");
  FOkButton->OnClick = [this](TObject* Sender) { OkClick(Sender); };

  FList = new TUniListView(this);
  FList->SetParent(this);
  FList->SetAlign(alClient);
  FList->SetViewStyle(vsList);
  FList->SetSmallImages(FImages);
  FList->SetHint(L"LeftClick - Select\rDblClick  - Open");
  FList->SetShowHint(true);
  FList->OnDblClick = [this](TObject* Sender) { ListDblClick(Sender); };
}

void TFolderContentsWindow::Fill(const WideString& Folder) {
  FFolder = WithSlash(Folder);
  THourglass hourglass;
  FList->Items()->BeginUpdate();
  try {
    for (const WideString& name : FolderFileNames(FFolder)) {
      TUniListItem* item = FList->Items()->Add();
      item->SetCaption(name);
      item->SetImageIndex(SmallIconIndex(FFolder + name));
      item->SubItems()->Add(FFolder + name);
    }
  } catch (...) {
    FList->Items()->EndUpdate();
    throw;
  }
  FList->Items()->EndUpdate();
  if (FList->CanFocus()) FList->SetFocus();
  if (FList->Items()->Count() > 0) FList->SetItemFocused(FList->Items()->Item(0));
}

WideString TFolderContentsWindow::ItemPath(TUniListItem* Item) {
  return Item && Item->SubItems()->Count() > 0 ? Item->SubItems()->Strings(0) : WideString();
}

void TFolderContentsWindow::ListDblClick(TObject*) {
  TUniListItem* item = FList->Selected();
  if (!item) return;
  WideString path = ItemPath(item);
  WideString folder = path.substr(0, path.find_last_of(L'\\') + 1);
  ExecuteFile("Open", WideToAnsi(item->Caption()), "", WideToAnsi(folder), SW_SHOW);
}

void TFolderContentsWindow::OkClick(TObject*) {
  WideString chosen = ItemPath(FList->Selected());
  TChosenEvent chosenEvent = OnChosen;
  Release();
  if (chosenEvent) chosenEvent(this, chosen);
}

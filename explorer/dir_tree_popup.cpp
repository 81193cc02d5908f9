#include "explorer/dir_tree_popup.h"

#include <cstring>
#include <vector>

#include "explorer/explorer_state.h"
#include "explorer/explorer_texts.h"
#include "explorer/shell_dir_tree.h"
#include "vcl/graphics.h"
#include "vcl/pictures.h"

namespace {

// The commands in menu order: item name, caption entry, picture; Tag is the place + 1.
struct TCommandItem {
  const char* Name;
  int Caption;
  const char* Picture;
};
constexpr TCommandItem kCommands[TShDirTreePopUp::kCommandCount] = {
    {"AddNode", etTreeNewFolder, "NewFolder28"},
    {"EditNode", etTreeRenameFolder, "EditFolder28"},
    {"DelNode", etTreeDeleteFolder, "DelFolder28"},
    {"CutNode", etTreeCut, "Cut28"},
    {"CopyNode", etTreeCopy, "Copy28"},
    {"PasteNode", etTreePaste, "Paste28"},
    {"GetTreeSize", etTreeSize, "TreeSize28"},
    {"ShowFolderContents", etTreeFolderContents, "DirContents28"},
    {"ConnectNetResource", etTreeMapNetworkDrive, "NetConnect28"},
    {"DisConnectNetResource", etTreeDisconnectNetworkDrive, "NetDisConnect28"},
    {"ItemProperty", etTreeProperty, "Attributes28"},
};
// A separator follows the commands of these tags.
constexpr int kGroupEnds[] = {3, 6, 8, 10};

// A loaded picture copied into a menu item's bitmap (the menu keeps the loaded one). The
// pixels go in row by row: a bitmap held by a drawing context could not be drawn by the menu.
void GiveBitmap(TMenuItem* Item, HBITMAP Picture) {
  BITMAP info{};
  if (!Picture || !GetObjectA(Picture, sizeof info, &info)) return;
  int w = info.bmWidth, h = info.bmHeight;
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB};
  size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> pixels(stride * static_cast<size_t>(h));
  HDC screen = GetDC(nullptr);
  int rows = GetDIBits(screen, Picture, 0, static_cast<UINT>(h), pixels.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != h) return;
  TBitmap* bitmap = Item->Bitmap();
  bitmap->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    std::memcpy(bitmap->ScanLine(y), pixels.data() + stride * static_cast<size_t>(y), static_cast<size_t>(w) * 3);
}

}  // namespace

VCL_CLASS_IMPL(TShDirTreePopUp, TPopupMenu, nullptr, nullptr)

TShDirTreePopUp::TShDirTreePopUp(TComponent* AOwner) : TPopupMenu(AOwner) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  for (int i = 0; i < kCommandCount; ++i)
    FBitmaps[static_cast<size_t>(i)] =
        static_cast<HBITMAP>(LoadImageA(instance, kCommands[i].Picture, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

TShDirTreePopUp::~TShDirTreePopUp() {
  for (HBITMAP bitmap : FBitmaps)
    if (bitmap) DeleteObject(bitmap);
}

void TShDirTreePopUp::Build() {
  TLanguage language = FTree ? FTree->Language() : ExplorerLanguage();
  for (int i = 0; i < kCommandCount; ++i) LoadExplorerText(language, kCommands[i].Caption, FCaptions[static_cast<size_t>(i)]);
  size_t group = 0;
  for (int i = 0; i < kCommandCount; ++i) {
    auto* item = new TMenuItem(this);
    item->SetName(kCommands[i].Name);
    item->SetCaption(FCaptions[static_cast<size_t>(i)]);
    item->Tag = i + 1;
    GiveBitmap(item, FBitmaps[static_cast<size_t>(i)]);
    item->OnClick = [this](TObject* Sender) { ItemClick(Sender); };
    Items()->Add(item);
    if (group < std::size(kGroupEnds) && kGroupEnds[group] == i + 1) {
      auto* line = new TMenuItem(this);
      line->SetCaption("-");
      Items()->Add(line);
      ++group;
    }
  }
}

void TShDirTreePopUp::UpdateItems() {
  TTreeNode* selected = FTree ? FTree->Selected() : nullptr;
  int level = selected ? selected->Level() : -1;
  for (int i = 0; i < Items()->Count(); ++i) {
    TMenuItem* item = Items()->Items(i);
    switch (item->Tag) {
      case 1: case 7: case 8: case 11: item->SetEnabled(level >= 1); break;
      case 2: case 3: case 4: case 5: item->SetEnabled(level >= 2); break;
      case 6: item->SetEnabled(level >= 2 && FTree->PastePending()); break;
      case 9: case 10: item->SetEnabled(true); break;
      default: break;
    }
  }
}

void TShDirTreePopUp::Popup(int X, int Y) {
  UpdateItems();
  TPopupMenu::Popup(X + 10, Y + 10);
}

void TShDirTreePopUp::ItemClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || item->Name().empty() || item->Tag == 0 || !FTree) return;
  TTreeNode* selected = FTree->Selected();
  switch (item->Tag) {
    case 1: FTree->NewFolder(selected, WideString()); break;
    case 2:
      if (selected) selected->EditText();
      break;
    case 3:
      if (selected) FTree->DeleteFolder(selected);
      break;
    case 4: FTree->CutOrCopyFolder(kMoveMode); break;
    case 5: FTree->CutOrCopyFolder(kCopyMode); break;
    case 6: FTree->PasteFolder(); break;
    case 7: FTree->ShowTreeSize(); break;
    case 8: FTree->ShowFolderContents(); break;
    case 9: FTree->ConnectNetDrive(); break;
    case 10: FTree->DisconnectNetDrive(); break;
    case 11: FTree->ShowProperties(); break;
    default: break;
  }
}

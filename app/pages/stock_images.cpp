// The program's pictures come from the system's own icons: the area and task lists, the
// status rows and the small picker and link images.
#include "app/forms/main_form.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "vcl/pictures.h"
#include "vcl/scopeexit.h"

namespace {

// The icon groups of a loaded module in the order an icon index counts them.
std::vector<std::wstring> IconGroupNames(HMODULE Module) {
  std::vector<std::wstring> names;
  EnumResourceNamesW(
      Module, MAKEINTRESOURCEW(14),  // RT_GROUP_ICON
      [](HMODULE, LPCWSTR, LPWSTR Name, LONG_PTR List) -> BOOL {
        auto* out = reinterpret_cast<std::vector<std::wstring>*>(List);
        // A number is kept in the "#123" form that names it as well.
        out->push_back(IS_INTRESOURCE(Name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(Name)) : Name);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&names));
  return names;
}

// The shell's library for its icons: the loaded one, or else its file in the system
// folder mapped once as resources only (the library is loaded only when first called,
// and loading it costs the start far more than mapping its resources).
HMODULE ShellIconModule() {
  if (HMODULE loaded = GetModuleHandleW(L"shell32.dll")) return loaded;
  wchar_t folder[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, n) + L"\\shell32.dll";
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

// An icon of shell32.dll at Size pixels, or a system icon when the shell has none. Its
// icons are taken from the library's resources in memory rather than from its file,
// which would be opened and read again for each icon.
HICON ExtractShellIcon(int Index, int Size) {
  static const HMODULE shell = ShellIconModule();
  static const std::vector<std::wstring> groups = shell ? IconGroupNames(shell) : std::vector<std::wstring>{};
  HICON icon = nullptr;
  if (Index >= 0 && static_cast<size_t>(Index) < groups.size())
    icon = static_cast<HICON>(LoadImageW(shell, groups[static_cast<size_t>(Index)].c_str(), IMAGE_ICON, Size, Size, 0));
  if (icon) return icon;
  if (PrivateExtractIconsW(L"shell32.dll", Index, Size, Size, &icon, nullptr, 1, 0) == 1 && icon) return icon;
  return static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, Size, Size, 0));
}

// The icons taken from the shell while the pictures are filled in: the image lists share
// one of each, and every picture gets one of its own to keep.
class TShellIcons {
 public:
  TShellIcons() = default;
  TShellIcons(const TShellIcons&) = delete;
  TShellIcons& operator=(const TShellIcons&) = delete;
  ~TShellIcons() {
    for (const auto& entry : FIcons) DestroyIcon(entry.second);
  }
  // One for the caller to keep, made anew from the library's resources in memory (cheaper
  // than a copy of the shared one).
  HICON Get(int Index, int Size) { return ExtractShellIcon(Index, Size); }
  // The icon itself, while this lasts: an image list keeps a picture of its own.
  HICON Shared(int Index, int Size) {
    HICON& icon = FIcons[{Index, Size}];
    if (!icon) icon = ExtractShellIcon(Index, Size);
    return icon;
  }

 private:
  std::map<std::pair<int, int>, HICON> FIcons;
};

HICON SystemIcon(LPCWSTR Id, int Size) {
  return static_cast<HICON>(LoadImageW(nullptr, Id, IMAGE_ICON, Size, Size, LR_SHARED));
}

// An icon of the list's own size goes in by its colour and mask pictures: the system then
// has no copy of the icon to make and nothing to draw. Another size is fitted by the list.
void AddIcon(TImageList* List, HICON Icon) {
  ICONINFO info{};
  if (GetIconInfo(Icon, &info)) {
    BITMAP bm{};
    const bool fits = info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm) &&
                      bm.bmWidth == List->Width() && bm.bmHeight == List->Height();
    const bool added = fits && ImageList_Add(List->Handle(), info.hbmColor, info.hbmMask) >= 0;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (added) return;
  }
  TIcon icon;
  icon.SetHandle(Icon);
  List->AddIcon(&icon);
  icon.ReleaseHandle();
}

// The list's controls hear of its new pictures once, when they are all in.
template <class Fill>
void Refill(TImageList* List, Fill AddAll) {
  List->BeginUpdate();
  ScopeExit told{[List] { List->EndUpdate(); }};
  List->Clear();
  AddAll();
}

void FillFromShell(TShellIcons& Shell, TImageList* List, std::initializer_list<int> Indexes) {
  Refill(List, [&] {
    for (int index : Indexes) AddIcon(List, Shell.Shared(index, List->Width()));
  });
}

void SetPicture(TUniImage* Image, HICON Icon) {
  Image->Picture()->Icon()->SetHandle(Icon);
}

// The preview tool bar's pictures, drawn in the button text colour on a magenta mask:
// first frame, back, forward, last frame, play, pause, stop, mark in, mark out.
void DrawPreviewGlyphs(TImageList* List) {
  using TShape = std::vector<std::vector<POINT>>;
  auto bar = [](int x) { return std::vector<POINT>{{x, 3}, {x + 2, 3}, {x + 2, 13}, {x, 13}}; };
  auto right = [](int x) { return std::vector<POINT>{{x, 3}, {x + 5, 8}, {x, 13}}; };
  auto left = [](int x) { return std::vector<POINT>{{x + 5, 3}, {x, 8}, {x + 5, 13}}; };
  const TShape shapes[] = {
      {bar(3), left(7)},                                        // first frame
      {left(4), bar(10)},                                       // back one frame
      {bar(4), right(8)},                                       // forward one frame
      {right(5), bar(11)},                                      // last frame
      {{{5, 3}, {12, 8}, {5, 13}}},                             // play
      {bar(5), bar(10)},                                        // pause
      {{{4, 4}, {12, 4}, {12, 12}, {4, 12}}},                   // stop
      {bar(4), {{6, 3}, {10, 3}, {10, 5}, {6, 5}}, {{6, 11}, {10, 11}, {10, 13}, {6, 13}}},   // mark in
      {bar(10), {{6, 3}, {10, 3}, {10, 5}, {6, 5}}, {{6, 11}, {10, 11}, {10, 13}, {6, 13}}},  // mark out
  };
  const TColor mask = static_cast<TColor>(0xFF00FF);
  List->Clear();
  for (const TShape& shape : shapes) {
    TBitmap glyph;
    glyph.SetSize(List->Width(), List->Height());
    HDC dc = glyph.Canvas()->Handle();
    HBRUSH back = CreateSolidBrush(mask);
    RECT all{0, 0, List->Width(), List->Height()};
    FillRect(dc, &all, back);
    DeleteObject(back);
    HBRUSH ink = CreateSolidBrush(GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ oldBrush = SelectObject(dc, ink);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    for (const std::vector<POINT>& polygon : shape) Polygon(dc, polygon.data(), static_cast<int>(polygon.size()));
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(ink);
    List->AddMasked(&glyph, mask);
  }
}

}  // namespace

void TMainForm::LoadStockImages() {
  // Icon numbers of the shell's library as Wine numbers them: 111 and 114 film, 113 picture,
  // 17 computer, 25 help, 130 copies, 77 stacked pages, 5 open folder, 128 arrow, 112 note,
  // 15 globe, 56 magnifier, 2 page.
  TShellIcons shell;
  FillFromShell(shell, MainImages, {111, 113, 17, 25});
  // The creation area is the one the window opens on; the task pages' pictures (the status
  // rows' icons and the preview tool bar's among them) come when each page is first shown.
  LoadAreaPictures(0);
  Wizard->OnActivePageChanged = [this](TObject*) { LoadPagePictures(Wizard->ActivePage()); };
}

void TMainForm::LoadPagePictures(TKvWizardCustomPage* Page) {
  // The folder pickers (5) and the more and less buttons (56) of each task page.
  struct TPagePictures {
    TKvWizardCustomPage* Page;
    std::vector<std::pair<TUniImage*, int>> Pictures;
  };
  const TPagePictures pages[] = {
      {SettingsPage, {{UniImage13, 5}, {UniImage14, 5}, {UniImage26, 5}}},
      {MuxPage, {{More, 56}, {Less, 56}}},
      {SplitPage, {{UniImage18, 5}}},
      {ConcatPage, {{More2, 56}, {Less2, 56}}},
      {ExtractPage, {{UniImage21, 5}}},
      {ConverterPage, {{UniImage23, 5}}},
  };
  for (const TPagePictures& p : pages) {
    if (p.Page != Page) continue;
    for (const auto& [image, icon] : p.Pictures)
      if (!image->Picture()->Icon()->Handle()) SetPicture(image, ExtractShellIcon(icon, 16));
  }
  // The process page's list of events and the split page's preview tool bar.
  if (Page == ProcessPage && StatusImages->Count() == 0) {
    Refill(StatusImages, [this] {
      for (LPCWSTR id : {MAKEINTRESOURCEW(32516), MAKEINTRESOURCEW(32515), MAKEINTRESOURCEW(32513),
                         MAKEINTRESOURCEW(32514)})  // information, warning, error, question
        AddIcon(StatusImages, SystemIcon(id, StatusImages->Width()));
    });
  }
  if (Page == SplitPage && PreviewImages->Count() == 0) DrawPreviewGlyphs(PreviewImages);
}

void TMainForm::LoadAreaPictures(int Area) {
  if (Area < 0 || Area > 3 || FAreaPicturesMade[Area]) return;
  FAreaPicturesMade[Area] = true;
  TShellIcons shell;
  switch (Area) {
    case 0:
      FillFromShell(shell, CreationImages, {111, 114});
      break;
    case 1:
      FillFromShell(shell, EditionImages, {130, 77, 5, 128, 112});
      break;
    case 2:
      FillFromShell(shell, SettingsImages, {17});
      break;
    default:
      for (TUniImage* link : {imMP4Box, imAP, imMP4Tags, imKavo, imMediaInfo, imKVCL, imKDE})
        SetPicture(link, shell.Get(15, 16));
      SetPicture(imMail, shell.Get(2, 16));
  }
}

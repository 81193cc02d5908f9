// The program's pictures taken from the shell's icons: every list and picture holds the
// icon it names, and each picture owns a handle of its own; the pictures of a welcome area
// or task page not shown at start are made when it is first shown.
#include "tests/app/program_session.h"
#include "tests/app/user_input.h"

#include <set>
#include <vector>

using namespace apptest;

namespace {

// The colour pixels of an icon, 32 bits each.
std::vector<uint32_t> Pixels(HICON Icon) {
  ICONINFO info{};
  if (!Icon || !GetIconInfo(Icon, &info)) return {};
  BITMAP bm{};
  GetObjectW(info.hbmColor, sizeof bm, &bm);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = bm.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  std::vector<uint32_t> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, info.hbmColor, 0, bm.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return pixels;
}

std::vector<uint32_t> ShellIconPixels(int Index, int Size) {
  HICON icon = nullptr;
  PrivateExtractIconsW(L"shell32.dll", Index, Size, Size, &icon, nullptr, 1, 0);
  std::vector<uint32_t> pixels = Pixels(icon);
  if (icon) DestroyIcon(icon);
  return pixels;
}

std::vector<uint32_t> ListIconPixels(TImageList* List, int Index) {
  TIcon icon;
  List->GetIcon(Index, &icon);
  return Pixels(icon.Handle());
}

TEST(StockImages, ListsAndPicturesHoldTheShellIconsTheyNameEachWithItsOwnHandle) {
  TProgramSession session;
  session.Show();
  TMainForm* m = session.Main();
  SetForegroundWindow(m->Handle());
  // The window opens on the creation area: the other areas' pictures wait for their first
  // showing, and come with the click that shows each.
  EXPECT_EQ(m->EditionImages->Count(), 0);
  EXPECT_EQ(m->SettingsImages->Count(), 0);
  EXPECT_EQ(m->imMail->Picture()->Icon()->Handle(), nullptr);
  EXPECT_EQ(m->More->Picture()->Icon()->Handle(), nullptr);
  EXPECT_EQ(m->UniImage13->Picture()->Icon()->Handle(), nullptr);
  EXPECT_EQ(m->StatusImages->Count(), 0);
  EXPECT_EQ(m->PreviewImages->Count(), 0);
  TControl* const areas[] = {m->CreationList, m->EditionList, m->SettingsList, m->AboutPanel};
  for (int area : {1, 2, 3, 1, 0}) {
    ClickAreaItem(m->MainList, area);
    ASSERT_TRUE(PumpUntil([&] { return areas[area]->Visible(); }, 3000)) << area;
  }

  // So do the task pages' pictures with each page's first showing, the process page's
  // status icons and the split page's preview glyphs among them.
  for (TKvWizardInteriorPage* page : {m->SettingsPage, m->MuxPage, m->SplitPage, m->ConcatPage, m->ExtractPage,
                                      m->ConverterPage, m->ProcessPage, m->SettingsPage, m->SplitPage}) {
    m->Wizard->SetActivePage(page);
    ASSERT_EQ(m->Wizard->ActivePage(), page) << page->Name();
  }
  // The nine glyphs of the preview tool bar, once though the page was shown twice.
  EXPECT_EQ(m->PreviewImages->Count(), 9);

  struct TList {
    TImageList* List;
    std::vector<int> Icons;
  };
  for (const TList& l : std::vector<TList>{{m->MainImages, {111, 113, 17, 25}},
                                           {m->CreationImages, {111, 114}},
                                           {m->EditionImages, {130, 77, 5, 128, 112}},
                                           {m->SettingsImages, {17}}}) {
    SCOPED_TRACE(l.List->Name());
    // Once each, though the edition area was shown twice.
    ASSERT_EQ(l.List->Count(), static_cast<int>(l.Icons.size()));
    for (size_t i = 0; i < l.Icons.size(); ++i)
      EXPECT_EQ(ListIconPixels(l.List, static_cast<int>(i)), ShellIconPixels(l.Icons[i], l.List->Width())) << i;
  }

  // The status rows' system icons: information, warning, error, question.
  const int statusIcons[] = {32516, 32515, 32513, 32514};
  ASSERT_EQ(m->StatusImages->Count(), 4);
  for (int i = 0; i < 4; ++i) {
    HICON system = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(statusIcons[i]), IMAGE_ICON,
                                                 m->StatusImages->Width(), m->StatusImages->Width(), LR_SHARED));
    EXPECT_EQ(ListIconPixels(m->StatusImages, i), Pixels(system)) << "status icon " << i;
  }

  struct TPicture {
    TUniImage* Image;
    int Icon;
  };
  const std::vector<TPicture> pictures = {
      {m->UniImage13, 5}, {m->UniImage14, 5}, {m->UniImage26, 5}, {m->UniImage18, 5}, {m->UniImage21, 5},
      {m->UniImage23, 5}, {m->More, 56},      {m->More2, 56},     {m->Less, 56},      {m->Less2, 56},
      {m->imMP4Box, 15},  {m->imAP, 15},      {m->imMP4Tags, 15}, {m->imKavo, 15},    {m->imMediaInfo, 15},
      {m->imKVCL, 15},    {m->imKDE, 15},     {m->imMail, 2}};
  std::set<HICON> handles;
  for (const TPicture& p : pictures) {
    SCOPED_TRACE(p.Image->Name());
    const HICON icon = p.Image->Picture()->Icon()->Handle();
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(handles.insert(icon).second) << "shares its icon with another picture or was made twice";
    EXPECT_EQ(Pixels(icon), ShellIconPixels(p.Icon, 16));
  }
  // One picture let go of leaves the others whole.
  m->More->Picture()->Icon()->SetHandle(nullptr);
  EXPECT_EQ(Pixels(m->More2->Picture()->Icon()->Handle()), ShellIconPixels(56, 16));
}

}  // namespace

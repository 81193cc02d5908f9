// The thumbnail view with real windows over a temporary folder of generated JPEG and BMP
// files: scanning, the selection over a rescan, keys, hit tests, titles, deleting, and the
// picture's decoding scale and quarter turns.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "../support/pump.h"
#include "vcl/application.h"
#include "vcl/forms.h"
#include "vcl/jpeg.h"
#include "vcl/streaming.h"
#include "wizard/thumbnail_view.h"
#include "tests/support/forms.h"

namespace {

// A 24-bit bitmap whose pixel (x, y) has the colour Colour(x, y) gives (0x00RRGGBB).
template <typename TColourAt>
std::unique_ptr<TBitmap> Painted(int W, int H, TColourAt Colour) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(W, H);
  for (int y = 0; y < H; ++y) {
    auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y));
    for (int x = 0; x < W; ++x) {
      const uint32_t c = Colour(x, y);
      row[3 * x] = static_cast<uint8_t>(c);
      row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
    }
  }
  return bitmap;
}

// A bitmap whose pixel (x, y) has a colour of its own.
std::unique_ptr<TBitmap> Pattern(int W, int H) {
  return Painted(W, H, [](int x, int y) {
    return (static_cast<uint32_t>(static_cast<uint8_t>(x * 7 + y * 13)) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(40 * y)) << 8) | static_cast<uint8_t>(40 * x);
  });
}

// Noise compresses badly, which makes large JPEG files out of modest pictures.
std::unique_ptr<TBitmap> Noise(int W, int H) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(W, H);
  unsigned seed = 12345;
  for (int y = 0; y < H; ++y) {
    auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y));
    for (int x = 0; x < 3 * W; ++x) row[x] = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
  }
  return bitmap;
}

void SaveJpeg(TBitmap* Bitmap, const AnsiString& Name, int Quality = 90) {
  TJPEGImage jpeg;
  jpeg.Assign(Bitmap);
  jpeg.SetCompressionQuality(Quality);
  jpeg.SaveToFile(Name);
}

DWORD SizeOf(const AnsiString& Name) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(Name.c_str(), GetFileExInfoStandard, &data);
  return data.nFileSizeLow;
}

// A folder of its own for each test, removed with its files afterwards.
class ThumbFolder {
 public:
  ThumbFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int n = 0;
    Path = Format("%sthumbs_%lu_%d", base, GetCurrentProcessId(), ++n);
    CreateDirectoryA(Path.c_str(), nullptr);
  }
  ~ThumbFolder() {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((Path + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        AnsiString name = Path + "\\" + found.cFileName;
        SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(name.c_str());
      } while (FindNextFileA(h, &found));
      FindClose(h);
    }
    RemoveDirectoryA(Path.c_str());
  }
  AnsiString File(const AnsiString& Name) const { return Path + "\\" + Name; }
  AnsiString Path;
};


class ThumbView : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 640, 400);
    view = new TKvThumbView(form.get());
    view->SetParent(form.get());
    view->SetBounds(0, 0, 600, 346);
    view->SetMaxWidth(100);
    view->SetMaxHeight(100);
    view->SetThumbGap(5);
    view->Filter = "Pictures|*.jpg;*.JPG;*.bmp";
  }
  void TearDown() override { form.reset(); }

  // Pictures in mixed formats and case, and files the filter or the scan leaves out.
  void FillFolder(int Jpegs = 3) {
    auto small = Pattern(40, 30);
    for (int i = 0; i < Jpegs; ++i) SaveJpeg(small.get(), folder.File(Format("p%d.jpg", Jpegs - i)));
    small->SaveToFile(folder.File("a.bmp"));
    small->SaveToFile(folder.File("hidden.bmp"));
    SetFileAttributesA(folder.File("hidden.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
    small->SaveToFile(folder.File("notes.txt"));
  }

  std::vector<AnsiString> Titles() {
    std::vector<AnsiString> titles;
    for (int i = 0; i < view->Count(); ++i) titles.push_back(view->Thumbnail(i)->Title());
    return titles;
  }

  void ShowAndPaint() {
    form->Show();
    UpdateWindow(form->Handle());
    PumpUntil([] { return false; }, 100);
  }

  ThumbFolder folder;
  std::unique_ptr<TForm, FormFree> form;
  TKvThumbView* view = nullptr;
};

using Names = std::vector<AnsiString>;

TEST_F(ThumbView, ScanListsEachMatchingFileOnceInOrderAndSelectsTheFirst) {
  FillFolder();
  int started = -2, stopped = 0, changes = 0;
  view->OnStartScanning = [&](TObject*, int Max) { started = Max; };
  view->OnStopScanning = [&](TObject*) { ++stopped; };
  view->OnChange = [&](TObject*) { ++changes; };
  view->SetDirectory(folder.Path);

  EXPECT_EQ(started, 3);
  EXPECT_EQ(stopped, 1);
  EXPECT_EQ(Titles(), (Names{"a.bmp", "p1.jpg", "p2.jpg", "p3.jpg"}));
  EXPECT_EQ(view->Thumbnail(1)->FileName(), folder.File("p1.jpg"));
  EXPECT_EQ(view->Selected(), 0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(view->SelectedFile(), folder.File("a.bmp"));
  // Found order goes mask by mask: the JPEG files before the bitmap.
  EXPECT_EQ(view->FoundFiles()->Strings(3), folder.File("a.bmp"));
  // Cells go down the first column, then on to the next.
  EXPECT_EQ(view->ThumbsPerLine(), 3);
  EXPECT_EQ(view->Thumbnail(3)->Left(), 110);
  EXPECT_EQ(view->Thumbnail(3)->Top(), 5);
  EXPECT_EQ(view->Thumbnail(1)->ImageWidth(), 40);

  // A folder that does not exist empties the view and still reports its start and end.
  view->SetDirectory(folder.File("missing"));
  EXPECT_EQ(view->Count(), 0);
  EXPECT_EQ(view->Selected(), -1);
  EXPECT_EQ(started, -1);
  EXPECT_EQ(stopped, 2);
}

TEST_F(ThumbView, UnsortedScanKeepsTheFoundOrderAndStopCutsItShort) {
  FillFolder();
  view->SetSorted(false);
  view->OnScanProgress = [&](TObject*, int Position, bool& Stop) { Stop = Position == 3; };
  view->SetDirectory(folder.Path);
  ASSERT_EQ(view->Count(), 2);
  EXPECT_EQ(view->Thumbnail(0)->FileName(), view->FoundFiles()->Strings(0));
  EXPECT_EQ(view->Thumbnail(1)->FileName(), view->FoundFiles()->Strings(1));
}

TEST_F(ThumbView, WrittenFileStaysSelectedOverTheFirstPaintsRescan) {
  FillFolder();
  const AnsiString cover = folder.File("p2.jpg");
  EXPECT_EQ(view->AddThumb(cover), 0);
  // The same name again gets its cell back, not a second one.
  EXPECT_EQ(view->AddThumb(cover), 0);
  EXPECT_EQ(view->Count(), 1);
  EXPECT_EQ(view->ControlCount(), 1);

  view->SetSelectedFile(cover);
  EXPECT_EQ(view->Directory(), folder.Path);
  EXPECT_EQ(view->Count(), 4);
  EXPECT_EQ(view->ControlCount(), 4);
  EXPECT_EQ(view->SelectedFile(), cover);

  ShowAndPaint();  // the first paint scans the folder again
  EXPECT_EQ(view->Count(), 4);
  EXPECT_EQ(view->SelectedFile(), cover);
  EXPECT_EQ(view->Thumbnail(view->Selected())->TitleColor(), clHighlight);

  // A file the rescan does not list selects nothing new: what was selected stays.
  view->SetSelectedFile(folder.File("notes.txt"));
  EXPECT_EQ(view->SelectedFile(), cover);
}

TEST_F(ThumbView, EmptyDirectoryAtTheFirstPaintRemovesAddedThumbnails) {
  FillFolder();
  view->AddThumb(folder.File("a.bmp"));
  ASSERT_EQ(view->Count(), 1);
  ShowAndPaint();
  EXPECT_EQ(view->Count(), 0);
  EXPECT_EQ(view->ControlCount(), 0);
}

TEST_F(ThumbView, KeysMoveTheSelectionThroughTheColumns) {
  FillFolder(4);  // 5 pictures, 3 to a column
  view->SetDirectory(folder.Path);
  ShowAndPaint();  // which scans again, now with a window
  ASSERT_EQ(view->Count(), 5);
  EXPECT_EQ(view->HorzScrollBar()->Range(), 210);  // the range follows the cells after a scan
  // The view asks for the arrow keys, so they reach it instead of moving the focus.
  EXPECT_NE(view->Perform(WM_GETDLGCODE) & DLGC_WANTARROWS, 0);
  int keysSeen = 0;
  view->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keysSeen; };
  struct { WORD key; int want; } steps[] = {
      {VK_RIGHT, 3}, {VK_RIGHT, 3}, {VK_DOWN, 4}, {VK_DOWN, 4}, {VK_UP, 3},
      {VK_HOME, 0},  {VK_UP, 0},    {VK_LEFT, 0}, {VK_END, 4},
  };
  auto press = [&](WORD Key) {
    PostMessageA(view->Handle(), WM_KEYDOWN, Key, 1);
    Application->ProcessMessages();
  };
  for (auto s : steps) {
    press(s.key);
    EXPECT_EQ(view->Selected(), s.want) << "key " << s.key;
  }
  EXPECT_EQ(keysSeen, 9);
  view->AutoHandleKeyb = false;
  press(VK_HOME);
  EXPECT_EQ(view->Selected(), 4);
}

TEST_F(ThumbView, ClicksOnACellSelectItAndClicksInTheGapClearIt) {
  FillFolder(4);
  view->SetDirectory(folder.Path);
  ShowAndPaint();
  TKvThumbnail* fifth = view->Thumbnail(4);  // second column, second row
  ASSERT_EQ(fifth->Left(), 110);
  ASSERT_EQ(fifth->Top(), 110);

  // On the picture inside the cell: picture -> cell -> view.
  const RECT& pic = fifth->Photo()->BoundsRect();
  LPARAM onPicture = MAKELPARAM((pic.left + pic.right) / 2, (pic.top + pic.bottom) / 2);
  SendMessageA(fifth->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onPicture);
  SendMessageA(fifth->Handle(), WM_LBUTTONUP, 0, onPicture);
  EXPECT_EQ(view->Selected(), 4);
  // On the title strip.
  SendMessageA(view->Thumbnail(1)->TitleStrip()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
  SendMessageA(view->Thumbnail(1)->TitleStrip()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
  EXPECT_EQ(view->Selected(), 1);
  // Between the columns.
  SendMessageA(view->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(107, 150));
  SendMessageA(view->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(107, 150));
  EXPECT_EQ(view->Selected(), -1);
}

TEST_F(ThumbView, DeleteClearsTheSelectionAndClosesTheGap) {
  FillFolder();
  view->SetDirectory(folder.Path);
  view->SetSelected(2);
  view->Delete(view->Count());  // out of range: nothing
  EXPECT_EQ(view->Count(), 4);
  EXPECT_EQ(view->Selected(), 2);
  view->Delete(1);
  EXPECT_EQ(view->Count(), 3);
  EXPECT_EQ(view->Selected(), -1);
  EXPECT_EQ(Titles(), (Names{"a.bmp", "p2.jpg", "p3.jpg"}));
  EXPECT_EQ(view->Thumbnail(1)->Top(), 110);
  view->EmptyList();
  EXPECT_EQ(view->Count(), 0);
  EXPECT_EQ(view->ControlCount(), 0);
}

// Counts the fonts that went.
int fontsFreed = 0;
class TCountedFont : public TFont {
 public:
  ~TCountedFont() override { ++fontsFreed; }
};

TEST_F(ThumbView, TitleHandlerSetsTheTitleAndItsFontIsFreedWhateverItReturns) {
  FillFolder();
  fontsFreed = 0;
  TFont* given = nullptr;
  view->OnGetTitle = [&](TObject*, const AnsiString& FileName, AnsiString& Title, TFont*& Font, TColor& Colour) {
    EXPECT_EQ(Title, "a.bmp");
    given = Font;
    Title = "Cover";
    Colour = clYellow;
    // Hands back a font of its own in place of the one it was given.
    delete Font;
    Font = new TCountedFont;
    Font->SetColor(clRed);
    (void)FileName;
  };
  int index = view->AddThumb(folder.File("a.bmp"));
  EXPECT_NE(given, nullptr);
  EXPECT_EQ(fontsFreed, 1);
  TKvThumbnail* thumb = view->Thumbnail(index);
  EXPECT_EQ(thumb->Title(), "Cover");
  EXPECT_EQ(thumb->TitleColor(), clYellow);
  EXPECT_EQ(thumb->TitleFont()->Color(), clRed);
}

TEST_F(ThumbView, ReadFromAStoredDescription) {
  RegisterThumbnailClasses();
  static const char kDescription[] = R"(object Host: TForm
  object ThumbView: TKvThumbView
    Left = 4
    Top = 6
    Width = 300
    Height = 200
    AlignView = vtCenter
    ThumbGap = 5
    MaxWidth = 100
    MaxHeight = 100
    ScrollMode = smVertical
    Sorted = False
    ThumbColor = clNone
    ShowShadow = True
    ShadowColor = clBlack
    Filter = 'Bitmaps (*.bmp)|*.bmp'
    TabStop = True
  end
end
)";
  std::unique_ptr<TForm, FormFree> host(TCustomForm::CreateNew<TForm>(nullptr));
  ReadComponentData(kDescription, sizeof kDescription - 1, host.get(), "thumbview.dfm");
  auto* stored = dynamic_cast<TKvThumbView*>(host->FindComponent("ThumbView"));
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->Parent(), host.get());
  EXPECT_EQ(stored->AlignView(), vtCenter);
  EXPECT_EQ(stored->ThumbGap(), 5);
  EXPECT_EQ(stored->ScrollMode(), smVertical);
  EXPECT_FALSE(stored->Sorted());
  EXPECT_TRUE(stored->ShowShadow);
  EXPECT_EQ(stored->Filter, "Bitmaps (*.bmp)|*.bmp");
  EXPECT_EQ(stored->ThumbWidth(), 100);
  EXPECT_EQ(stored->ThumbsPerLine(), 2);  // (300 - 20) div 105
  // Values left at their defaults come from the constructor.
  EXPECT_TRUE(stored->AutoScrolling);
  EXPECT_EQ(stored->Selected(), -1);
  EXPECT_EQ(stored->TitlePlacement(), tpUp);
}

// --- the picture -------------------------------------------------------------------

// The pixel (x, y) of the image's bitmap as 0x00RRGGBB.
uint32_t PixelAt(TKvThumbImage* Image, int X, int Y) {
  const auto* p = static_cast<const uint8_t*>(Image->Picture()->Bitmap()->ScanLine(Y)) + 3 * X;
  return (static_cast<uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
}

// Four quadrants of their own colour (0x00RRGGBB): top left, top right, bottom left, bottom right.
const uint32_t kQuadrantColours[4] = {0xE00000, 0x00C000, 0x0000F0, 0xF0F0F0};

std::unique_ptr<TBitmap> Quadrants(int W, int H) {
  return Painted(W, H, [W, H](int x, int y) { return kQuadrantColours[(y < H / 2 ? 0 : 2) + (x < W / 2 ? 0 : 1)]; });
}

// The picture still shows the four quadrants where they were, whatever its size.
void ExpectQuadrants(TKvThumbImage* Image) {
  const int w = Image->Picture()->Width(), h = Image->Picture()->Height();
  const POINT centres[4] = {{w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}};
  for (int q = 0; q < 4; ++q) {
    const uint32_t got = PixelAt(Image, centres[q].x, centres[q].y), want = kQuadrantColours[q];
    for (int shift = 0; shift < 24; shift += 8)
      EXPECT_NEAR(static_cast<int>((got >> shift) & 255), static_cast<int>((want >> shift) & 255), 24)
          << "quadrant " << q << std::hex << ": 0x" << got;
  }
}

TEST_F(ThumbView, MinimizedCellsKeepOnlyAPictureThatFitsFromTheFirstLoad) {
  auto quadrants = Quadrants(800, 600);
  SaveJpeg(quadrants.get(), folder.File("q.jpg"));
  quadrants->SaveToFile(folder.File("q.bmp"));
  // A cell outside a view scales into its own 120 x 120: 800 x 600 at 15 percent.
  struct {
    const char* file;
    bool minimize;
    int width, height;
  } cases[] = {{"q.jpg", true, 120, 90}, {"q.bmp", true, 120, 90}, {"q.jpg", false, 800, 600}, {"q.bmp", false, 800, 600}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Format("%s, MinimizeMemory %d", c.file, c.minimize));
    auto* cell = new TKvThumbnail(form.get());
    cell->SetParent(form.get());
    cell->SetMinimizeMemory(c.minimize);
    cell->SetFileName(folder.File(c.file));
    EXPECT_EQ(cell->FileName(), folder.File(c.file));
    EXPECT_EQ(cell->ImageWidth(), 800);  // the size of the picture, not of what is kept
    EXPECT_EQ(cell->ImageHeight(), 600);
    TKvThumbImage* image = cell->Photo();
    EXPECT_EQ(image->Picture()->Width(), c.width);
    EXPECT_EQ(image->Picture()->Height(), c.height);
    EXPECT_EQ(image->Modified(), c.minimize);
    ExpectQuadrants(image);
    if (c.minimize) {
      cell->SetMinimizeMemory(false);  // the whole picture comes back from the file
      EXPECT_EQ(image->Picture()->Width(), 800);
      EXPECT_EQ(image->Picture()->Height(), 600);
    }
  }
}

TEST_F(ThumbView, ScanKeepsPicturesThatFitTheCellsOnlyWithMinMemory) {
  auto quadrants = Quadrants(800, 600);
  SaveJpeg(quadrants.get(), folder.File("q.jpg"));
  quadrants->SaveToFile(folder.File("q.bmp"));
  auto noise = Noise(1000, 800);  // decoded at half size, then reduced into the cell
  SaveJpeg(noise.get(), folder.File("r.jpg"), 100);
  ASSERT_GT(SizeOf(folder.File("r.jpg")), 1000000u);
  struct {
    bool minMemory;
    POINT kept[3];  // q.bmp, q.jpg, r.jpg
  } cases[] = {{true, {{100, 75}, {100, 75}, {100, 80}}}, {false, {{800, 600}, {800, 600}, {500, 400}}}};
  const POINT full[3] = {{800, 600}, {800, 600}, {500, 400}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.minMemory ? "MinMemory" : "whole pictures");
    view->MinMemory = c.minMemory;
    view->SetDirectory("");
    view->SetDirectory(folder.Path);
    ASSERT_EQ(view->Count(), 3);
    for (int i = 0; i < 3; ++i) {
      TKvThumbnail* cell = view->Thumbnail(i);
      EXPECT_EQ(cell->ImageWidth(), full[i].x) << i;
      EXPECT_EQ(cell->ImageHeight(), full[i].y) << i;
      EXPECT_EQ(cell->Photo()->Picture()->Width(), c.kept[i].x) << i;
      EXPECT_EQ(cell->Photo()->Picture()->Height(), c.kept[i].y) << i;
    }
    ExpectQuadrants(view->Thumbnail(0)->Photo());
    ExpectQuadrants(view->Thumbnail(1)->Photo());
  }
}

TEST_F(ThumbView, QuarterTurnsMovePixelsAndTellTheCell) {
  auto pattern = Pattern(3, 2);
  pattern->SaveToFile(folder.File("tiny.bmp"));
  auto* cell = new TKvThumbnail(form.get());
  cell->SetParent(form.get());
  cell->SetBounds(0, 0, 120, 120);
  cell->SetFileName(folder.File("tiny.bmp"));
  TKvThumbImage* image = cell->Photo();
  const uint32_t topLeft = PixelAt(image, 0, 0), topRight = PixelAt(image, 2, 0), bottomLeft = PixelAt(image, 0, 1);
  EXPECT_EQ(image->Width(), 3);

  image->SetAngle(AT90);  // clockwise: the bottom-left corner comes to the top-left
  EXPECT_EQ(image->Picture()->Width(), 2);
  EXPECT_EQ(image->Picture()->Height(), 3);
  EXPECT_EQ(PixelAt(image, 0, 0), bottomLeft);
  EXPECT_EQ(PixelAt(image, 1, 0), topLeft);
  EXPECT_EQ(PixelAt(image, 1, 2), topRight);
  EXPECT_EQ(image->Width(), 2);  // the cell placed its picture again
  EXPECT_TRUE(image->Modified());

  image->SetAngle(AT270);  // a half turn
  EXPECT_EQ(PixelAt(image, 1, 2), bottomLeft);
  EXPECT_EQ(PixelAt(image, 0, 0), topRight);
  image->SetAngle(AT0);
  EXPECT_EQ(PixelAt(image, 0, 0), topLeft);
  EXPECT_EQ(PixelAt(image, 2, 0), topRight);
  EXPECT_FALSE(image->Modified());

  auto* empty = new TKvThumbImage(form.get());
  empty->SetAngle(AT90);
  EXPECT_EQ(empty->Angle(), AT0);
}

TEST_F(ThumbView, LargeJpegDecodesAtHalfSizeOnlyInsideACell) {
  auto noise = Noise(1000, 800);
  const AnsiString big = folder.File("big.jpg");
  SaveJpeg(noise.get(), big, 100);
  ASSERT_GT(SizeOf(big), 1000000u);
  ASSERT_LE(SizeOf(big), 4000000u);
  CopyFileA(big.c_str(), folder.File("big.jpeg").c_str(), FALSE);

  auto* cell = new TKvThumbnail(form.get());
  cell->SetParent(form.get());
  cell->SetFileName(big);
  EXPECT_EQ(cell->ImageWidth(), 500);
  EXPECT_EQ(cell->ImageHeight(), 400);
  EXPECT_EQ(cell->FileSize(), static_cast<int>(SizeOf(big)));
  EXPECT_FALSE(cell->FileChanged().empty());
  cell->SetFileName(folder.File("big.jpeg"));  // other extensions: the registered format
  EXPECT_EQ(cell->ImageWidth(), 1000);
  EXPECT_EQ(cell->Photo()->Picture()->Width(), 120);  // kept as it fits the cell

  auto* plain = new TKvThumbImage(form.get());
  plain->SetParent(form.get());
  plain->LoadFromFile(big);
  EXPECT_EQ(plain->Picture()->Width(), 1000);
}

TEST_F(ThumbView, BrokenPicturesLeaveTheCellWithoutAFile) {
  {
    HANDLE f = CreateFileA(folder.File("bad.bmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(f, "not a bitmap", 12, &written, nullptr);
    CloseHandle(f);
  }
  AnsiString reported;
  view->OnInvalidImage = [&](TObject*, const AnsiString& Name) { reported = Name; };
  view->SetDirectory(folder.Path);
  ASSERT_EQ(view->Count(), 1);
  EXPECT_EQ(reported, folder.File("bad.bmp"));
  EXPECT_EQ(view->Thumbnail(0)->ImageWidth(), 0);

  auto* cell = new TKvThumbnail(form.get());
  cell->SetParent(form.get());
  cell->SetFileName(folder.File("bad.bmp"));  // no handler: the load fails quietly
  EXPECT_EQ(cell->FileName(), "");

  // JPEG files: data the decoder refuses fails the load; a file cut short shows what it has.
  auto picture = Quadrants(200, 100);
  SaveJpeg(picture.get(), folder.File("whole.jpg"));
  const DWORD size = SizeOf(folder.File("whole.jpg"));
  auto writePart = [&](const char* Name, DWORD From, DWORD Count) {
    TFileStream whole(folder.File("whole.jpg"), fmOpenRead);
    std::vector<char> bytes(size);
    whole.ReadBuffer(bytes.data(), size);
    TFileStream part(folder.File(Name), fmCreate);
    part.WriteBuffer(bytes.data() + From, Count);
  };
  writePart("cut.jpg", 0, size / 2);
  writePart("headless.jpg", 2, size - 2);
  cell->SetFileName(folder.File("headless.jpg"));
  EXPECT_EQ(cell->FileName(), "");
  cell->SetFileName(folder.File("cut.jpg"));
  EXPECT_EQ(cell->FileName(), folder.File("cut.jpg"));
  EXPECT_EQ(cell->ImageWidth(), 200);
  EXPECT_EQ(cell->ImageHeight(), 100);
}

}  // namespace

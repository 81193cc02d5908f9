// Bitmaps and icons read and written as real files, drawn on canvases and checked pixel by
// pixel; pictures choosing their graphic class by the registered extension.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "vcl/pictures.h"
#include "vcl/resstrings.h"
#ifdef KAVO_HAVE_JPEG
#include "vcl/jpeg.h"
#endif

namespace {

// A graphic class of the tests' own, registered for an extension of its own.
class TTestBitmap : public TBitmap {
  VCL_GRAPHIC_CLASS(TTestBitmap)
};

}  // namespace

VCL_CLASS_IMPL(TTestBitmap, TBitmap, nullptr, nullptr)

namespace {

// A fresh folder under the system's temporary folder, removed with its files.
class PictureFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    static int counter = 0;
    do dir_ = Format("%skavo_pictures_%lu_%d", tmp, GetCurrentProcessId(), ++counter);
    while (!CreateDirectoryA(dir_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
  }
  void TearDown() override {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir_ + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do DeleteFileA((dir_ + "\\" + fd.cFileName).c_str());
      while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryA(dir_.c_str());
  }
  AnsiString Path(const AnsiString& name) const { return dir_ + "\\" + name; }
  AnsiString Make(const AnsiString& name, const std::string& bytes) const {
    TFileStream s(Path(name), fmCreate);
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return Path(name);
  }
  static std::string Read(const AnsiString& path) {
    TFileStream s(path, fmOpenRead);
    std::string bytes(static_cast<size_t>(s.Size()), '\0');
    s.ReadBuffer(bytes.data(), s.Size());
    return bytes;
  }

  AnsiString dir_;
};

template <class T>
std::string Bytes(const T& value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
}

// A BMP file as other programs write them: extra bytes after the 40-byte header count as
// header (masks of the longer headers), tail follows it (masks or colour table), gap lies
// between that and the pixels.
std::string BmpFile(int32_t width, int32_t height, uint16_t bits, uint32_t compression, const std::string& pixels,
                    const std::string& tail = "", const std::string& headerExtra = "", const std::string& gap = "",
                    uint16_t planes = 1, uint32_t colorsUsed = 0) {
  BITMAPINFOHEADER h{};
  h.biSize = static_cast<DWORD>(sizeof(h) + headerExtra.size());
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = planes;
  h.biBitCount = bits;
  h.biCompression = compression;
  h.biClrUsed = colorsUsed;
  const std::string info = Bytes(h) + headerExtra + tail;
  BITMAPFILEHEADER f{};
  f.bfType = 0x4D42;
  f.bfOffBits = static_cast<DWORD>(sizeof(f) + info.size() + gap.size());
  f.bfSize = static_cast<DWORD>(f.bfOffBits + pixels.size());
  return Bytes(f) + info + gap + pixels;
}

std::string Rgb(COLORREF c) { return {char(GetBValue(c)), char(GetGValue(c)), char(GetRValue(c))}; }
std::string Word(uint16_t w) { return Bytes(w); }
std::string Dword(uint32_t d) { return Bytes(d); }
std::string Masks565() { return Dword(0xF800) + Dword(0x07E0) + Dword(0x001F); }

TColor PixelOf(TBitmap& bitmap, int x, int y) { return bitmap.Canvas()->Pixels(x, y); }

// A white 24-bit bitmap to draw on.
void WhiteSheet(TBitmap& sheet, int width, int height) {
  sheet.SetSize(width, height);
  sheet.Canvas()->Brush()->SetColor(clWhite);
  sheet.Canvas()->FillRect(RECT{0, 0, width, height});
}

TEST_F(PictureFiles, BitmapsOfEveryPixelFormatSurviveAFileRoundTrip) {
  struct Case {
    TPixelFormat format;
    int paletteSize;
    std::vector<TColor> colours;  // what each format holds exactly
  } cases[] = {
      {pf1bit, 2, {clBlack, clWhite}},
      {pf4bit, 16, {clRed, clLime, clBlue, clWhite, clBlack, clTeal}},
      {pf8bit, -1, {clRed, clLime, clBlue, clWhite, clBlack}},
      {pf16bit, 0, {clRed, clLime, clBlue, clWhite, clBlack}},
      {pf24bit, 0, {clRed, clLime, clBlue, clWhite, clBlack, static_cast<TColor>(RGB(12, 34, 56))}},
      {pf32bit, 0, {clRed, clLime, clBlue, clWhite, clBlack, static_cast<TColor>(RGB(200, 100, 7))}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    // An odd width, so that every row is padded.
    const int width = 7, height = 5;
    TBitmap original;
    original.SetPixelFormat(c.format);
    original.SetSize(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        original.Canvas()->SetPixels(x, y, c.colours[(x + 2 * y) % c.colours.size()]);
    const AnsiString file = Path(Format("format%d.bmp", static_cast<int>(c.format)));
    original.SaveToFile(file);

    const std::string bytes = Read(file);
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    const int bits[] = {1, 4, 8, 16, 24, 32};
    const size_t stride = ((width * bits[c.format] + 31) / 32) * 4;
    if (c.paletteSize >= 0) {
      EXPECT_EQ(bytes.size(), 54 + 4 * c.paletteSize + stride * height);
    }

    TBitmap loaded;
    loaded.LoadFromFile(file);
    EXPECT_EQ(loaded.Width(), width);
    EXPECT_EQ(loaded.Height(), height);
    EXPECT_EQ(loaded.PixelFormat(), c.format);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        ASSERT_EQ(PixelOf(loaded, x, y), static_cast<TColor>(ColorToRGB(c.colours[(x + 2 * y) % c.colours.size()])))
            << x << "," << y;
  }
}

TEST(Bitmap, ReadsTheFormsOtherProgramsWrite) {
  const COLORREF red = RGB(255, 0, 0), lime = RGB(0, 255, 0), blue = RGB(0, 0, 255), white = RGB(255, 255, 255);
  struct Case {
    const char* name;
    std::string file;
    std::vector<std::vector<COLORREF>> rows;  // top to bottom
  } cases[] = {
      {"top-down rows, pixels after a gap",
       BmpFile(2, -2, 24, BI_RGB,
               Rgb(red) + Rgb(lime) + std::string(2, '\0') + Rgb(blue) + Rgb(white) + std::string(2, '\0'), "", "",
               "gap!"),
       {{red, lime}, {blue, white}}},
      {"5-6-5 bit fields after the header",
       BmpFile(2, 1, 16, BI_BITFIELDS, Word(0x001F) + Word(0xF800), Masks565()),
       {{blue, red}}},
      {"5-6-5 bit fields inside a longer header",
       BmpFile(2, 1, 16, BI_BITFIELDS, Word(0x07E0) + Word(0xFFFF), "", Masks565() + std::string(108 - 52, '\0')),
       {{lime, white}}},
      {"a short colour table",
       BmpFile(3, 1, 8, BI_RGB, std::string("\1\0\1\0", 4), Dword(0x000080) + Dword(0x00FFFF00), "", "", 1, 2),
       {{RGB(255, 255, 0), RGB(0, 0, 128), RGB(255, 255, 0)}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMemoryStream stream;
    stream.WriteBuffer(c.file.data(), static_cast<int64_t>(c.file.size()));
    stream.SetPosition(0);
    TBitmap bitmap;
    ASSERT_NO_THROW(bitmap.LoadFromStream(&stream));
    ASSERT_EQ(bitmap.Height(), static_cast<int>(c.rows.size()));
    ASSERT_EQ(bitmap.Width(), static_cast<int>(c.rows[0].size()));
    for (size_t y = 0; y < c.rows.size(); ++y)
      for (size_t x = 0; x < c.rows[y].size(); ++x)
        EXPECT_EQ(PixelOf(bitmap, static_cast<int>(x), static_cast<int>(y)), static_cast<TColor>(c.rows[y][x]))
            << x << "," << y;
  }
}

TEST(Bitmap, DataThatIsNoBitmapRaisesAndKeepsThePicture) {
  const std::string pixels = Rgb(0) + Rgb(0) + std::string(2, '\0');
  const std::string good = BmpFile(2, 1, 24, BI_RGB, pixels);
  struct Case {
    const char* name;
    std::string file;
  } cases[] = {
      {"another format", "GIF89a" + std::string(60, '\0')},
      {"file header cut short", good.substr(0, 10)},
      {"information header cut short", good.substr(0, 30)},
      {"pixels cut short", good.substr(0, good.size() - 1)},
      {"no planes", BmpFile(2, 1, 24, BI_RGB, pixels, "", "", "", 0)},
      {"no width", BmpFile(0, 1, 24, BI_RGB, pixels)},
      {"three bits a pixel", BmpFile(2, 1, 3, BI_RGB, pixels)},
      {"run-length compression", BmpFile(2, 1, 8, BI_RLE8, pixels, std::string(1024, '\0'))},
      {"bit fields of 24 bits", BmpFile(2, 1, 24, BI_BITFIELDS, pixels, Masks565())},
      {"more colours than the depth holds", BmpFile(2, 1, 1, BI_RGB, pixels, std::string(12, '\0'), "", "", 1, 3)},
      {"a height beyond the data", BmpFile(2, 0x7FFFFFFF, 24, BI_RGB, pixels)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBitmap bitmap;
    bitmap.SetSize(3, 3);
    TMemoryStream stream;
    stream.WriteBuffer(c.file.data(), static_cast<int64_t>(c.file.size()));
    stream.SetPosition(0);
    try {
      bitmap.LoadFromStream(&stream);
      ADD_FAILURE() << "loaded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "Bitmap image is not valid");
    }
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_FALSE(bitmap.Empty());
  }

  // Nothing to read is an empty bitmap, which writes nothing.
  TBitmap bitmap;
  bitmap.SetSize(3, 3);
  TMemoryStream empty;
  bitmap.LoadFromStream(&empty);
  EXPECT_TRUE(bitmap.Empty());
  bitmap.SaveToStream(&empty);
  EXPECT_EQ(empty.Size(), 0);
}

TEST(Bitmap, SizeFormatAndCopiesKeepThePicture) {
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.Handle(), nullptr);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  int changes = 0;
  bitmap.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &bitmap);
    ++changes;
  };
  WhiteSheet(bitmap, 4, 4);
  bitmap.Canvas()->SetPixels(3, 3, clRed);
  EXPECT_GE(changes, 3);  // the size, the fill and the pixel
  EXPECT_NE(bitmap.Handle(), nullptr);

  // Growing keeps the top left corner; the new area is black.
  bitmap.SetSize(6, 5);
  EXPECT_EQ(PixelOf(bitmap, 0, 0), clWhite);
  EXPECT_EQ(PixelOf(bitmap, 3, 3), clRed);
  EXPECT_EQ(PixelOf(bitmap, 5, 0), clBlack);
  EXPECT_EQ(PixelOf(bitmap, 0, 4), clBlack);
  bitmap.SetHeight(4);
  EXPECT_EQ(PixelOf(bitmap, 3, 3), clRed);
  // Rows count from the top whatever the order in memory; 24 bits are blue, green, red.
  const auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(3));
  EXPECT_EQ(row[9], 0);
  EXPECT_EQ(row[10], 0);
  EXPECT_EQ(row[11], 255);
  EXPECT_EQ(static_cast<const uint8_t*>(bitmap.ScanLine(0))[0], 255);
  EXPECT_THROW(bitmap.ScanLine(4), EInvalidGraphicOperation);
  EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphicOperation);

  // Fewer colours: the nearest ones.
  bitmap.SetPixelFormat(pf1bit);
  EXPECT_EQ(PixelOf(bitmap, 0, 0), clWhite);
  EXPECT_EQ(PixelOf(bitmap, 5, 0), clBlack);
  bitmap.SetPixelFormat(pf24bit);

  TBitmap copy;
  copy.Assign(&bitmap);
  bitmap.Canvas()->SetPixels(0, 0, clBlue);
  EXPECT_EQ(copy.Width(), 6);
  EXPECT_EQ(PixelOf(copy, 0, 0), clWhite);
  EXPECT_NE(copy.Handle(), bitmap.Handle());
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());

  bitmap.SetSize(0, 4);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.Height(), 4);
}

TEST(Bitmap, CanvasesDrawGraphicsAtTheirSizeOrStretched) {
  TBitmap tile;
  tile.SetSize(2, 2);
  tile.Canvas()->SetPixels(0, 0, clRed);
  tile.Canvas()->SetPixels(1, 0, clLime);
  tile.Canvas()->SetPixels(0, 1, clBlue);
  tile.Canvas()->SetPixels(1, 1, clYellow);

  TBitmap sheet;
  WhiteSheet(sheet, 12, 12);
  sheet.Canvas()->Draw(3, 4, &tile);
  EXPECT_EQ(PixelOf(sheet, 3, 4), clRed);
  EXPECT_EQ(PixelOf(sheet, 4, 4), clLime);
  EXPECT_EQ(PixelOf(sheet, 3, 5), clBlue);
  EXPECT_EQ(PixelOf(sheet, 4, 5), clYellow);
  EXPECT_EQ(PixelOf(sheet, 2, 4), clWhite);
  EXPECT_EQ(PixelOf(sheet, 5, 6), clWhite);

  sheet.Canvas()->StretchDraw(RECT{6, 6, 10, 10}, &tile);
  EXPECT_EQ(PixelOf(sheet, 6, 6), clRed);
  EXPECT_EQ(PixelOf(sheet, 7, 7), clRed);
  EXPECT_EQ(PixelOf(sheet, 9, 6), clLime);
  EXPECT_EQ(PixelOf(sheet, 6, 9), clBlue);
  EXPECT_EQ(PixelOf(sheet, 9, 9), clYellow);
  EXPECT_EQ(PixelOf(sheet, 10, 10), clWhite);

  // Nothing to draw is no error.
  TBitmap empty;
  sheet.Canvas()->Draw(0, 0, &empty);
  sheet.Canvas()->Draw(0, 0, nullptr);
  EXPECT_EQ(PixelOf(sheet, 0, 0), clWhite);
}

// The pixels of an icon drawn on white.
std::vector<TColor> IconPixels(TIcon& icon) {
  TBitmap sheet;
  WhiteSheet(sheet, icon.Width(), icon.Height());
  sheet.Canvas()->Draw(0, 0, &icon);
  std::vector<TColor> pixels;
  for (int y = 0; y < icon.Height(); ++y)
    for (int x = 0; x < icon.Width(); ++x) pixels.push_back(PixelOf(sheet, x, y));
  return pixels;
}

TEST(Icon, SystemIconsDrawAndSurviveAStreamRoundTrip) {
  for (LPCSTR id : {IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION}) {
    TIcon icon;
    icon.LoadSystemIcon(id);
    ASSERT_FALSE(icon.Empty());
    EXPECT_EQ(icon.Width(), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(icon.Height(), GetSystemMetrics(SM_CYICON));
    const std::vector<TColor> drawn = IconPixels(icon);
    EXPECT_GT(std::count_if(drawn.begin(), drawn.end(), [](TColor c) { return c != clWhite; }), 50);

    TMemoryStream stream;
    icon.SaveToStream(&stream);
    stream.SetPosition(0);
    TIcon loaded;
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(loaded.Width(), icon.Width());
    EXPECT_EQ(IconPixels(loaded), drawn);

    // A file read is written back as it was.
    TMemoryStream again;
    loaded.SaveToStream(&again);
    ASSERT_EQ(again.Size(), stream.Size());
    EXPECT_EQ(std::memcmp(again.Memory(), stream.Memory(), static_cast<size_t>(stream.Size())), 0);

    TIcon copy;
    copy.Assign(&icon);
    EXPECT_NE(copy.Handle(), icon.Handle());
    EXPECT_EQ(IconPixels(copy), drawn);
  }

  // A two-colour icon: a black square with a see-through frame, written as a one-bit image.
  {
    BYTE andMask[32 * 4], xorMask[32 * 4];
    for (int y = 0; y < 32; ++y)
      for (int b = 0; b < 4; ++b) {
        const bool inside = y >= 8 && y < 24 && (b == 1 || b == 2);
        andMask[y * 4 + b] = inside ? 0x00 : 0xFF;
        xorMask[y * 4 + b] = 0x00;
      }
    TIcon mono;
    mono.SetHandle(CreateIcon(nullptr, 32, 32, 1, 1, andMask, xorMask));
    ASSERT_FALSE(mono.Empty());
    EXPECT_EQ(mono.Width(), 32);
    EXPECT_EQ(mono.Height(), 32);
    const std::vector<TColor> drawn = IconPixels(mono);
    EXPECT_EQ(drawn[0], clWhite);
    EXPECT_EQ(drawn[16 * 32 + 16], clBlack);
    TMemoryStream stream;
    mono.SaveToStream(&stream);
    EXPECT_EQ(static_cast<const uint8_t*>(stream.Memory())[6 + 6], 1);  // bits a pixel of the one entry
    stream.SetPosition(0);
    TIcon loaded;
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(IconPixels(loaded), drawn);
  }

  TIcon icon;
  icon.LoadSystemIcon(IDI_WARNING);
  try {
    icon.SetWidth(16);
    ADD_FAILURE() << "resized";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_STREQ(e.what(), "Cannot change the size of an icon");
  }
  HICON handle = icon.ReleaseHandle();
  EXPECT_TRUE(icon.Empty());
  EXPECT_TRUE(DestroyIcon(handle));  // the caller's now

  const std::string notAnIcon = BmpFile(1, 1, 24, BI_RGB, std::string(4, '\0'));
  TMemoryStream stream;
  stream.WriteBuffer(notAnIcon.data(), static_cast<int64_t>(notAnIcon.size()));
  stream.SetPosition(0);
  EXPECT_THROW(icon.LoadFromStream(&stream), EInvalidGraphic);
}

TEST_F(PictureFiles, PicturesChooseTheGraphicClassByTheRegisteredExtension) {
  TBitmap bitmap;
  WhiteSheet(bitmap, 5, 3);
  bitmap.Canvas()->SetPixels(4, 2, clNavy);
  bitmap.SaveToFile(Path("pic.bmp"));
  TIcon icon;
  icon.LoadSystemIcon(IDI_QUESTION);
  icon.SaveToFile(Path("pic.ico"));

  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &picture);
    ++changes;
  };
  struct Case {
    const char* name;
    const TMetaClass* graphicClass;
  } cases[] = {{"pic.bmp", TBitmap::StaticClass()},
               {"PIC.BMP", TBitmap::StaticClass()},
               {"pic.ico", TIcon::StaticClass()},
               {"pic.Bmp", TBitmap::StaticClass()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int before = changes;
    picture.LoadFromFile(Path(c.name));
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->ClassType(), c.graphicClass);
    EXPECT_EQ(changes, before + 1);
  }
  EXPECT_EQ(picture.Width(), 5);
  EXPECT_EQ(picture.Height(), 3);
  EXPECT_EQ(PixelOf(*picture.Bitmap(), 4, 2), clNavy);

  // Drawing on the picture's bitmap changes the picture.
  const int before = changes;
  picture.Bitmap()->Canvas()->SetPixels(0, 0, clRed);
  EXPECT_GT(changes, before);

  // An extension nobody registered, or none: the error names it and the picture stays.
  struct Bad {
    AnsiString name;
    const char* message;
  } bad[] = {{"pic.xyz", "Unknown picture file extension (.xyz)"},
             {"noextension", "Unknown picture file extension (.)"},
             {"folder.bmp\\pic", "Unknown picture file extension (.)"}};
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.name);
    try {
      picture.LoadFromFile(Path(b.name));
      ADD_FAILURE() << "loaded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), b.message);
    }
  }
  EXPECT_THROW(picture.LoadFromFile(Path("missing.bmp")), EFOpenError);
  Make("broken.bmp", "BM broken");
  EXPECT_THROW(picture.LoadFromFile(Path("broken.bmp")), EInvalidGraphic);
  EXPECT_EQ(picture.Width(), 5);
  EXPECT_EQ(PixelOf(*picture.Bitmap(), 0, 0), clRed);

  picture.SaveToFile(Path("saved.bmp"));
  TPicture reloaded;
  reloaded.LoadFromFile(Path("saved.bmp"));
  EXPECT_EQ(PixelOf(*reloaded.Bitmap(), 0, 0), clRed);
  EXPECT_EQ(PixelOf(*reloaded.Bitmap(), 4, 2), clNavy);
}

TEST(Picture, AssignCopiesTheGraphicAndTheKindIsForcedOnDemand) {
  TPicture source;
  WhiteSheet(*source.Bitmap(), 3, 3);
  TPicture copy;
  copy.Assign(&source);
  ASSERT_NE(copy.Graphic(), nullptr);
  EXPECT_NE(copy.Graphic(), source.Graphic());
  source.Bitmap()->Canvas()->SetPixels(1, 1, clRed);
  EXPECT_EQ(PixelOf(*copy.Bitmap(), 1, 1), clWhite);

  TIcon icon;
  icon.LoadSystemIcon(IDI_ERROR);
  copy.Assign(&icon);
  EXPECT_EQ(copy.Graphic()->ClassType(), TIcon::StaticClass());
  EXPECT_NE(copy.Icon()->Handle(), icon.Handle());
  EXPECT_EQ(copy.Width(), icon.Width());
  copy.Bitmap();  // an icon is no bitmap: an empty bitmap takes its place
  EXPECT_EQ(copy.Graphic()->ClassType(), TBitmap::StaticClass());
  EXPECT_TRUE(copy.Graphic()->Empty());

  copy.Assign(nullptr);
  EXPECT_EQ(copy.Graphic(), nullptr);
  EXPECT_EQ(copy.Width(), 0);
}

TEST_F(PictureFiles, RegisteredFormatsMakeTheFilterAndLoadTheirClass) {
  const AnsiString all = GraphicFilter(TGraphic::GraphicClass());
  EXPECT_EQ(all.rfind("All (*.bmp;*.ico", 0), 0u) << all;
  EXPECT_NE(all.find("|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico"), AnsiString::npos) << all;
  EXPECT_EQ(GraphicFilter(TIcon::GraphicClass()), "All (*.ico)|*.ico|Icons (*.ico)|*.ico");
  EXPECT_EQ(GraphicFilter(TTestBitmap::GraphicClass()), "");

  RegisterFileFormat("tbm", "Test bitmaps", TTestBitmap::GraphicClass());
  EXPECT_EQ(GraphicFilter(TBitmap::GraphicClass()),
            "All (*.bmp;*.tbm)|*.bmp;*.tbm|Bitmaps (*.bmp)|*.bmp|Test bitmaps (*.tbm)|*.tbm");
  RegisterFileFormat(".TBM", "Bitmaps of the tests", TTestBitmap::GraphicClass());  // replaces it
  EXPECT_EQ(GraphicFilter(TTestBitmap::GraphicClass()),
            "All (*.TBM)|*.TBM|Bitmaps of the tests (*.TBM)|*.TBM");
  EXPECT_EQ(GraphicClassOfExtension(".tbm"), TTestBitmap::GraphicClass());

  TBitmap bitmap;
  WhiteSheet(bitmap, 2, 2);
  bitmap.SaveToFile(Path("test.tbm"));
  TPicture picture;
  picture.LoadFromFile(Path("test.tbm"));
  EXPECT_EQ(picture.Graphic()->ClassType(), TTestBitmap::StaticClass());
  picture.SetGraphic(picture.Graphic());  // its own graphic: nothing happens
  TPicture copy;
  copy.SetGraphic(picture.Graphic());  // a copy of the same class
  EXPECT_EQ(copy.Graphic()->ClassType(), TTestBitmap::StaticClass());

  UnregisterGraphicClass(TTestBitmap::GraphicClass());
  EXPECT_EQ(GraphicClassOfExtension("tbm"), nullptr);
  EXPECT_EQ(GraphicFilter(TGraphic::GraphicClass()), all);
  EXPECT_THROW(picture.LoadFromFile(Path("test.tbm")), EInvalidGraphic);
}

#ifdef KAVO_HAVE_JPEG

// Four flat quadrants, each as large as the 16 x 16 blocks the compression works in.
void Quadrants(TBitmap& bitmap) {
  bitmap.SetSize(32, 32);
  const TColor colours[4] = {clRed, static_cast<TColor>(RGB(200, 120, 40)), clBlue, clLime};
  for (int q = 0; q < 4; ++q) {
    bitmap.Canvas()->Brush()->SetColor(colours[q]);
    const int x = (q % 2) * 16, y = (q / 2) * 16;
    bitmap.Canvas()->FillRect(RECT{x, y, x + 16, y + 16});
  }
}

bool Near(TColor a, COLORREF b, int tolerance) {
  const COLORREF c = ColorToRGB(a);
  return std::abs(GetRValue(c) - GetRValue(b)) <= tolerance && std::abs(GetGValue(c) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(c) - GetBValue(b)) <= tolerance;
}

// The colour at the middle of each quadrant of a graphic drawn at its size.
std::vector<TColor> QuadrantColours(TGraphic* graphic) {
  TBitmap sheet;
  WhiteSheet(sheet, 32, 32);
  sheet.Canvas()->Draw(0, 0, graphic);
  return {PixelOf(sheet, 8, 8), PixelOf(sheet, 24, 8), PixelOf(sheet, 8, 24), PixelOf(sheet, 24, 24)};
}

TEST_F(PictureFiles, JpegPicturesSurviveAFileRoundTripWithinTolerance) {
  TBitmap bitmap;
  Quadrants(bitmap);
  TJPEGImage jpeg;
  jpeg.Assign(&bitmap);
  EXPECT_EQ(jpeg.Width(), 32);
  jpeg.SetCompressionQuality(95);
  jpeg.SaveToFile(Path("round.jpg"));
  const std::string bytes = Read(Path("round.jpg"));
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 3), "\xFF\xD8\xFF");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\xFF\xD9");

  TPicture picture;
  picture.LoadFromFile(Path("round.jpg"));
  ASSERT_EQ(picture.Graphic()->ClassType(), TJPEGImage::StaticClass());
  EXPECT_EQ(picture.Width(), 32);
  EXPECT_EQ(picture.Height(), 32);
  const std::vector<TColor> colours = QuadrantColours(picture.Graphic());
  const COLORREF expected[4] = {RGB(255, 0, 0), RGB(200, 120, 40), RGB(0, 0, 255), RGB(0, 255, 0)};
  for (int q = 0; q < 4; ++q) EXPECT_TRUE(Near(colours[q], expected[q], 8)) << q << ": " << std::hex << colours[q];

  // Data read is written back as it was; the ".jpeg" extension reads it too.
  picture.SaveToFile(Path("again.jpeg"));
  EXPECT_EQ(Read(Path("again.jpeg")), bytes);
  picture.LoadFromFile(Path("again.jpeg"));
  EXPECT_EQ(QuadrantColours(picture.Graphic()), colours);

  // In grey: every pixel's channels equal, red as light as its luminance.
  auto* loaded = static_cast<TJPEGImage*>(picture.Graphic());
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  loaded->SetGrayscale(true);
  EXPECT_EQ(changes, 1);
  const std::vector<TColor> grey = QuadrantColours(loaded);
  for (TColor c : grey) EXPECT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c)) << std::hex << c;
  EXPECT_TRUE(Near(grey[0], RGB(76, 76, 76), 8)) << std::hex << grey[0];
  // ...and compressed so.
  TJPEGImage greyCopy;
  greyCopy.Assign(&bitmap);
  greyCopy.SetGrayscale(true);
  TMemoryStream greyData;
  greyCopy.SaveToStream(&greyData);
  greyData.SetPosition(0);
  TJPEGImage colourReader;
  colourReader.LoadFromStream(&greyData);
  const std::vector<TColor> read = QuadrantColours(&colourReader);
  EXPECT_TRUE(Near(read[3], RGB(150, 150, 150), 8)) << std::hex << read[3];  // lime's luminance

  try {
    loaded->SetWidth(10);
    ADD_FAILURE() << "resized";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_STREQ(e.what(), "Cannot change the size of a JPEG image");
  }
}

TEST(Jpeg, QualityStreamsAndDataThatIsNoJpeg) {
  // A noisy picture: its size depends on the quality.
  TBitmap noise;
  noise.SetSize(64, 64);
  unsigned seed = 12345;
  for (int y = 0; y < 64; ++y) {
    auto* row = static_cast<uint8_t*>(noise.ScanLine(y));
    for (int i = 0; i < 64 * 3; ++i) row[i] = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 24);
  }
  TJPEGImage jpeg;
  jpeg.Assign(&noise);
  EXPECT_EQ(jpeg.CompressionQuality(), 90);
  TMemoryStream high, low;
  jpeg.SetCompressionQuality(95);
  jpeg.SaveToStream(&high);
  jpeg.SetCompressionQuality(10);
  jpeg.SaveToStream(&low);
  EXPECT_LT(low.Size() * 2, high.Size());
  jpeg.SetCompressionQuality(0);
  EXPECT_EQ(jpeg.CompressionQuality(), 1);

  // The stream is left right after the picture, whatever follows it.
  const int64_t pictureSize = high.Size();
  high.WriteBuffer("TAIL", 4);
  high.SetPosition(0);
  TJPEGImage loaded;
  loaded.LoadFromStream(&high);
  EXPECT_EQ(loaded.Width(), 64);
  EXPECT_EQ(high.Position(), pictureSize);
  char tail[4] = {};
  EXPECT_EQ(high.Read(tail, 4), 4);
  EXPECT_EQ(std::string(tail, 4), "TAIL");

  struct Bad {
    const char* name;
    std::string bytes;
    const char* message;
  } bad[] = {
      {"another format", "\x89PNG\r\n\x1a\n" + std::string(32, '\0'), "Not a JPEG file: starts with 0x89 0x50"},
      {"only the start marker", "\xFF\xD8", nullptr},
      {"damaged header", std::string("\xFF\xD8\xFF\xC0\x00\x03\x08", 7), nullptr},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.name);
    TMemoryStream stream;
    stream.WriteBuffer(b.bytes.data(), static_cast<int64_t>(b.bytes.size()));
    stream.SetPosition(0);
    try {
      loaded.LoadFromStream(&stream);
      ADD_FAILURE() << "loaded";
    } catch (const EJPEG& e) {
      if (b.message)
        EXPECT_STREQ(e.what(), b.message);
      else
        EXPECT_STRNE(e.what(), "");
    }
    EXPECT_EQ(loaded.Width(), 64);  // the picture stays
  }

  // Nothing to read: an empty picture, which writes nothing.
  TMemoryStream empty;
  loaded.LoadFromStream(&empty);
  EXPECT_TRUE(loaded.Empty());
  loaded.SaveToStream(&empty);
  EXPECT_EQ(empty.Size(), 0);

  const AnsiString filter = GraphicFilter(TGraphic::GraphicClass());
  EXPECT_NE(filter.find("*.jpg;*.jpeg"), AnsiString::npos) << filter;
  EXPECT_NE(filter.find("|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg"), AnsiString::npos)
      << filter;
}

#endif  // KAVO_HAVE_JPEG

}  // namespace

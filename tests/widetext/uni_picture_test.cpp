// Pictures loaded by wide file names from real files.
#include <gtest/gtest.h>

#include <string>

#include "ansi_platform.h"
#include "temp_folder.h"
#include "vcl/pictures.h"
#include "widetext/uni_picture.h"
#ifdef KAVO_HAVE_JPEG
#include "vcl/jpeg.h"
#endif

namespace {

// A 3 x 2 picture with a colour in each corner.
std::string BitmapFileBytes() {
  TBitmap bitmap;
  bitmap.SetSize(3, 2);
  bitmap.Canvas()->Brush()->SetColor(clWhite);
  bitmap.Canvas()->FillRect(RECT{0, 0, 3, 2});
  bitmap.Canvas()->SetPixels(0, 0, clRed);
  bitmap.Canvas()->SetPixels(2, 1, clBlue);
  TMemoryStream stream;
  bitmap.SaveToStream(&stream);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

#ifdef KAVO_HAVE_JPEG
std::string JpegFileBytes() {
  TBitmap bitmap;
  bitmap.SetSize(3, 2);
  TJPEGImage jpeg;
  jpeg.Assign(&bitmap);
  TMemoryStream stream;
  jpeg.SaveToStream(&stream);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}
#endif

std::string IconFileBytes() {
  TIcon icon;
  icon.LoadSystemIcon(IDI_INFORMATION);
  TMemoryStream stream;
  icon.SaveToStream(&stream);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

class UniPictureFiles : public ::testing::TestWithParam<bool> {
 protected:
  TempFolder folder_;
};

TEST_P(UniPictureFiles, LoadByWideNamesThroughTheRegisteredClass) {
  AnsiPlatformScope platform(GetParam());
  struct Case {
    WideString name;
    std::string bytes;
    const TMetaClass* graphicClass;
    bool outsideCodePage;  // no 8-bit form: only systems with wide entry points have such names
  } cases[] = {
      {L"caf\xe9.bmp", BitmapFileBytes(), TBitmap::StaticClass(), false},
      {L"\x395\x3b9\x3ba\x3cc\x3bd\x3b1.bmp", BitmapFileBytes(), TBitmap::StaticClass(), true},
      {L"\x5199\x771f.BMP", BitmapFileBytes(), TBitmap::StaticClass(), true},
      {L"\x30a2\x30a4\x30b3\x30f3.ico", IconFileBytes(), TIcon::StaticClass(), true},
#ifdef KAVO_HAVE_JPEG
      // Pictures named ".jpeg" never went through a short name: their long name, turned into
      // 8 bits, lost every character outside the code page.
      {L"\x3a6\x3c9\x3c4\x3bf\x3b3\x3c1\x3b1\x3c6\x3af\x3b1.jpeg", JpegFileBytes(), TJPEGImage::StaticClass(), true},
      {L"\x5199\x771f.JPG", JpegFileBytes(), TJPEGImage::StaticClass(), true},
      {L"caf\xe9.Jpeg", JpegFileBytes(), TJPEGImage::StaticClass(), false},
#endif
  };
  for (const Case& c : cases) {
    if (GetParam() && c.outsideCodePage) continue;
    SCOPED_TRACE(WideToAnsi(c.name));
    const WideString path = folder_ / c.name;
    ASSERT_TRUE(TempFolder::MakeFile(path, c.bytes));
    TUniPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.LoadFromFile(path);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->ClassType(), c.graphicClass);
    EXPECT_EQ(changes, 1);
    if (c.graphicClass == TIcon::StaticClass()) {
      EXPECT_EQ(picture.Width(), GetSystemMetrics(SM_CXICON));
    } else if (c.graphicClass != TBitmap::StaticClass()) {
      EXPECT_EQ(picture.Width(), 3);
      EXPECT_EQ(picture.Height(), 2);
    } else {
      EXPECT_EQ(picture.Width(), 3);
      EXPECT_EQ(picture.Height(), 2);
      TCanvas* canvas = picture.Bitmap()->Canvas();
      EXPECT_EQ(canvas->Pixels(0, 0), clRed);
      EXPECT_EQ(canvas->Pixels(2, 1), clBlue);
      EXPECT_EQ(canvas->Pixels(1, 0), clWhite);
    }
    // The file is not held open after loading.
    EXPECT_TRUE(DeleteFileW(path.c_str()));
  }
}

TEST_P(UniPictureFiles, FailuresRaiseWhatThePictureLoaderRaisesAndKeepThePicture) {
  AnsiPlatformScope platform(GetParam());
  const WideString good = folder_ / L"good.bmp";
  ASSERT_TRUE(TempFolder::MakeFile(good, BitmapFileBytes()));
  const WideString broken = folder_ / L"broken.bmp";
  ASSERT_TRUE(TempFolder::MakeFile(broken, "BM but nothing more"));
  const WideString folder = folder_ / L"pictures.bmp";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const WideString unknown = folder_ / L"picture.xyz";
  ASSERT_TRUE(TempFolder::MakeFile(unknown, BitmapFileBytes()));

  TUniPicture picture;
  picture.LoadFromFile(good);
  struct Case {
    const char* name;
    WideString path;
    const char* messageStart;
  } cases[] = {
      {"unregistered extension", unknown, "Unknown picture file extension (.xyz)"},
      {"unregistered extension of a missing file", folder_ / L"missing.xyz", "Unknown picture file extension (.xyz)"},
      {"no extension", folder_ / L"picture", "Unknown picture file extension (.)"},
      {"missing file", folder_ / L"missing.bmp", "Cannot open file \""},
      {"folder", folder, "Cannot open file \""},
      {"not a bitmap", broken, "Bitmap image is not valid"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      picture.LoadFromFile(c.path);
      ADD_FAILURE() << "loaded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.messageStart, 0), 0u) << e.what();
    } catch (const EFOpenError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.messageStart, 0), 0u) << e.what();
    }
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Bitmap()->Canvas()->Pixels(0, 0), clRed);
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, UniPictureFiles, ::testing::Bool(), PathName);

}  // namespace

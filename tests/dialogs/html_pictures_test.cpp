// Pictures of marked-up texts: decoding through the OLE reader, GIF frames, the sources
// ("RES://", "FILE://", others) and the cache, and pictures drawn by the renderer.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/html_pictures.h"
#include "dialogs/html_renderer.h"
#include "vcl/pictures.h"
#include "vcl/streams.h"

namespace {

void Put16(std::vector<uint8_t>& v, int x) {
  v.push_back(static_cast<uint8_t>(x & 0xFF));
  v.push_back(static_cast<uint8_t>(x >> 8));
}

// A 4 x 4 GIF with one 1 x 1 frame at each of Positions, each after its graphic control
// extension.
std::vector<uint8_t> MakeGif(const std::vector<POINT>& Positions) {
  std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(g, 4);
  Put16(g, 4);
  g.insert(g.end(), {0x80, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF});  // 2 colours: red, white
  for (POINT p : Positions) {
    g.insert(g.end(), {0x21, 0xF9, 4, 0, 10, 0, 0, 0});
    g.push_back(0x2C);
    Put16(g, p.x);
    Put16(g, p.y);
    Put16(g, 1);
    Put16(g, 1);
    g.push_back(0);
    g.insert(g.end(), {2, 2, 0x44, 1, 0});
  }
  g.push_back(0x3B);
  return g;
}

TMemoryStream* StreamOf(const std::vector<uint8_t>& bytes, TMemoryStream& s) {
  s.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  s.Seek(0, soBeginning);
  return &s;
}

std::vector<uint8_t> FileBytes(const char* path) {
  TMemoryStream s;
  s.LoadFromFile(path);
  auto* p = static_cast<uint8_t*>(s.Memory());
  return std::vector<uint8_t>(p, p + s.Size());
}

AnsiString TempFile(const char* name, const std::vector<uint8_t>& bytes) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  AnsiString path = AnsiString(dir) + name;
  TMemoryStream s;
  StreamOf(bytes, s);
  s.SaveToFile(path);
  return path;
}

std::vector<uint8_t> SmallBitmap() {
  TBitmap bmp;
  bmp.SetSize(3, 2);
  bmp.Canvas()->Brush()->SetColor(clRed);
  bmp.Canvas()->FillRect(RECT{0, 0, 3, 2});
  TMemoryStream s;
  bmp.SaveToStream(&s);
  auto* p = static_cast<uint8_t*>(s.Memory());
  return std::vector<uint8_t>(p, p + s.Size());
}

TEST(HtmlPicture, DecodesABitmapAndKeepsItsBytes) {
  THTMLPicture pic;
  EXPECT_TRUE(pic.Empty());
  EXPECT_EQ(pic.Width(), 0);
  int changes = 0;
  pic.OnChange = [&](TObject*) { ++changes; };
  const std::vector<uint8_t> bytes = SmallBitmap();
  TMemoryStream in;
  pic.LoadFromStream(StreamOf(bytes, in));
  EXPECT_FALSE(pic.Empty());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pic.Width(), 3);
  EXPECT_EQ(pic.Height(), 2);
  EXPECT_EQ(pic.ShownWidth(), 3);
  EXPECT_EQ(pic.FrameCount(), -1);

  TMemoryStream out;
  pic.SaveToStream(&out);
  ASSERT_EQ(out.Size(), static_cast<int64_t>(bytes.size()));
  EXPECT_EQ(0, memcmp(out.Memory(), bytes.data(), bytes.size()));

  THTMLPicture copy;
  copy.Assign(&pic);
  EXPECT_FALSE(copy.Empty());
  EXPECT_EQ(copy.Width(), 3);
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(copy.Data()->Size(), 0);
}

TEST(HtmlPicture, BadDataRaisesAndFilesNeverDo) {
  struct Case {
    std::vector<uint8_t> Bytes;
  } cases[] = {{{'G', 'I', 'F', '8'}}, {{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'}}, {{}}};
  for (const Case& c : cases) {
    THTMLPicture pic;
    TMemoryStream s;
    try {
      pic.LoadFromStream(StreamOf(c.Bytes, s));
      ADD_FAILURE() << "no exception for " << c.Bytes.size() << " bytes";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), "Could not load image. Invalid format");
    }
    EXPECT_FALSE(pic.IsGIF());
  }
  THTMLPicture pic;
  pic.LoadFromFile("C:\\no\\such\\picture.bmp");
  EXPECT_TRUE(pic.Empty());
  pic.LoadFromFile(TempFile("kavo_html_bad.gif", {'G', 'I', 'F', '8', '9', 'a', 1, 2, 3}));
  EXPECT_TRUE(pic.Empty());
  pic.LoadFromStream(nullptr);
  EXPECT_TRUE(pic.Empty());
}

TEST(HtmlPicture, ShowsOneFrameOfAGif) {
  const std::vector<uint8_t> gif = MakeGif({{0, 0}, {2, 1}, {3, 3}});
  THTMLPicture pic;
  TMemoryStream s;
  pic.LoadFromStream(StreamOf(gif, s));
  ASSERT_FALSE(pic.Empty());
  EXPECT_TRUE(pic.IsGIF());
  EXPECT_EQ(pic.FrameCount(), 3);
  EXPECT_EQ(pic.LogicalWidth(), 4);
  EXPECT_EQ(pic.ShownWidth(), 4);
  EXPECT_EQ(pic.FrameLeft(), 0);
  int frameChanges = 0;
  pic.OnFrameChange = [&](TObject*) { ++frameChanges; };
  pic.SetFrame(2);
  EXPECT_EQ(frameChanges, 1);
  EXPECT_FALSE(pic.Empty());
  EXPECT_EQ(pic.FrameLeft(), 2);
  EXPECT_EQ(pic.FrameTop(), 1);
  EXPECT_EQ(pic.FrameWidth(), 1);
  EXPECT_EQ(pic.FrameHeight(), 1);
  EXPECT_NE(pic.Picture(), nullptr);
  // The stored bytes stay the whole file.
  EXPECT_EQ(pic.Data()->Size(), static_cast<int64_t>(gif.size()));
}

TEST(HtmlPicture, SourcesAndTheCache) {
  TPictureCache cache;
  std::vector<std::unique_ptr<THTMLPicture>> owned;
  auto add = [&] {
    THTMLPicture* p = cache.AddPicture();
    owned.emplace_back(p);
    return p;
  };

  THTMLPicture* res = add();
  res->LoadFromURL("res://HTMLDOT");
  EXPECT_FALSE(res->Empty());
  EXPECT_EQ(res->Width(), 2);
  EXPECT_EQ(res->ID(), "res://HTMLDOT");
  EXPECT_EQ(cache.FindPicture("res://HTMLDOT"), res);
  EXPECT_EQ(cache.FindPicture("RES://HTMLDOT"), nullptr);

  THTMLPicture* missing = add();
  missing->LoadFromURL("RES://NOSUCHRESOURCE");
  EXPECT_TRUE(missing->Empty());
  missing->LoadFromURL("RES://");
  EXPECT_TRUE(missing->Empty());

  AnsiString path = TempFile("kavo_html_pic.bmp", SmallBitmap());
  THTMLPicture* file = add();
  file->LoadFromURL("File://" + path);
  EXPECT_FALSE(file->Empty());
  EXPECT_EQ(file->Height(), 2);
  EXPECT_EQ(cache.FindPicture("File://" + path), file);

  THTMLPicture* web = add();
  web->ThreadLoad = false;
  web->LoadFromURL("https://example.org/a.png");
  EXPECT_TRUE(web->Empty());
  EXPECT_EQ(web->ID(), "https://example.org/a.png");
  EXPECT_EQ(web->URL(), "https://example.org/a.png");

  THTMLPicture* threaded = add();
  threaded->LoadFromURL("https://example.org/b.png");
  EXPECT_TRUE(threaded->ThreadBusy());
  EXPECT_TRUE(threaded->Empty());
  EXPECT_EQ(threaded->ID(), "");

  EXPECT_EQ(cache.Count(), 5);
  EXPECT_EQ(cache.Items(2), file);
}

TEST(HtmlPicture, TheRendererLoadsCachedPicturesOnceAndDrawsThem) {
  TBitmap sheet;
  sheet.SetSize(200, 100);
  TCanvas* c = sheet.Canvas();
  c->Font()->SetName("Tahoma");
  c->Brush()->SetColor(clWhite);
  c->FillRect(RECT{0, 0, 200, 100});
  AnsiString path = TempFile("kavo_html_pic2.bmp", SmallBitmap());
  WideString src(path.begin(), path.end());
  const WideString text = L"<A HREF=\"pic\"><IMG SRC=\"FILE://" + src + L"\" WIDTH=\"20\" HEIGHT=\"10\"></A>";

  TPictureCache cache;
  WideString hover, plain, focus;
  int w = 0, h = 0, links = 0, mouseLink = 0;
  RECT hoverRect{};
  auto draw = [&](int mx, int my, bool hitTest) {
    return DrawHtmlText(c, text, RECT{0, 0, 200, 100}, nullptr, mx, my, -1, -1, 1, hitTest, false, false, !hitTest,
                        !hitTest, false, true, 1.0, 0xFF0000, clNone, clNone, 0x808080, hover, plain, focus, w, h,
                        links, mouseLink, hoverRect, &cache, nullptr);
  };
  EXPECT_FALSE(draw(-1, -1, false));
  ASSERT_EQ(cache.Count(), 1);
  std::unique_ptr<THTMLPicture> owned(cache.Items(0));
  EXPECT_FALSE(cache.Items(0)->Empty());
  EXPECT_EQ(w, 20);
  EXPECT_GE(h, 10);
  HDC dc = c->Handle();
  EXPECT_EQ(GetPixel(dc, 10, 5), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 30, 5), RGB(255, 255, 255));

  // A linked picture answers the hit test, even in a painting call.
  EXPECT_TRUE(draw(8, 5, false));
  EXPECT_EQ(hover, L"pic");
  EXPECT_EQ(cache.Count(), 1);
  EXPECT_FALSE(draw(60, 5, true));
}

TEST(HtmlPicture, TheBodyBackgroundIsTiledOverTheArea) {
  TBitmap sheet;
  sheet.SetSize(120, 80);
  TCanvas* c = sheet.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(RECT{0, 0, 120, 80});
  AnsiString path = TempFile("kavo_html_tile.bmp", SmallBitmap());
  WideString src(path.begin(), path.end());
  TPictureCache cache;
  WideString hover, plain, focus;
  int w = 0, h = 0, links = 0, mouseLink = 0;
  RECT hoverRect{};
  DrawHtmlText(c, L"<BODY BACKGROUND=\"FILE://" + src + L"\">", RECT{10, 10, 100, 70}, nullptr, -1, -1, -1, -1, 1,
               false, false, false, false, false, false, true, 1.0, 0xFF0000, clNone, clNone, 0x808080, hover, plain,
               focus, w, h, links, mouseLink, hoverRect, &cache, nullptr);
  ASSERT_EQ(cache.Count(), 1);
  std::unique_ptr<THTMLPicture> owned(cache.Items(0));
  HDC dc = c->Handle();
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 99, 69), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 55, 40), RGB(255, 0, 0));
  // Nothing outside the area.
  EXPECT_EQ(GetPixel(dc, 100, 40), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 55, 70), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 9, 9), RGB(255, 255, 255));
}

}  // namespace

// The clipboard: text, several formats side by side, file lists and bitmaps.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "vcl/clipbrd.h"
#include "vcl/pictures.h"

namespace {

TEST(ClipboardTest, TextAndOtherFormatsWrittenInOneOpeningStayTogether) {
  TClipboard* clipboard = Clipboard();
  clipboard->SetAsText("first");
  EXPECT_EQ(clipboard->AsText(), "first");

  // One opening: both formats; a writer on its own replaces everything.
  UINT custom = RegisterClipboardFormatA("Kavo test format");
  clipboard->Open();
  clipboard->SetAsText("second");
  const char payload[] = "payload";
  clipboard->SetBuffer(custom, payload, sizeof payload);
  clipboard->Close();
  EXPECT_TRUE(clipboard->HasFormat(CF_TEXT));
  EXPECT_TRUE(clipboard->HasFormat(custom));
  EXPECT_EQ(clipboard->AsText(), "second");
  clipboard->SetAsText("third");
  EXPECT_FALSE(clipboard->HasFormat(custom));

  clipboard->Clear();
  EXPECT_FALSE(clipboard->HasFormat(CF_TEXT));
  EXPECT_EQ(clipboard->AsText(), "");
}

TEST(ClipboardTest, AFileListGoesAsDroppedFileDataAndABitmapAsCfBitmap) {
  TClipboard* clipboard = Clipboard();
  const char files[] = "C:\\a.mp4\0C:\\b.mp4\0";  // two names and the final NUL
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + sizeof files);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  memcpy(drop + 1, files, sizeof files);
  GlobalUnlock(block);
  clipboard->SetAsHandle(CF_HDROP, block);
  ASSERT_TRUE(clipboard->HasFormat(CF_HDROP));
  clipboard->Open();
  auto drop2 = static_cast<HDROP>(clipboard->GetAsHandle(CF_HDROP));
  ASSERT_TRUE(drop2);
  EXPECT_EQ(DragQueryFileA(drop2, 0xFFFFFFFF, nullptr, 0), 2u);
  char name[MAX_PATH] = {};
  DragQueryFileA(drop2, 1, name, MAX_PATH);
  clipboard->Close();
  EXPECT_STREQ(name, "C:\\b.mp4");

  TBitmap bitmap;
  bitmap.SetSize(8, 6);
  clipboard->Assign(&bitmap);
  ASSERT_TRUE(clipboard->HasFormat(CF_BITMAP));
  clipboard->Open();
  BITMAP info{};
  GetObjectA(clipboard->GetAsHandle(CF_BITMAP), sizeof info, &info);
  clipboard->Close();
  EXPECT_EQ(info.bmWidth, 8);
  EXPECT_EQ(info.bmHeight, 6);
  // Nothing else can be a picture on the clipboard.
  TBitmap empty;
  EXPECT_THROW(clipboard->Assign(&empty), EConvertError);
}

}  // namespace

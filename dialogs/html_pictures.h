// Pictures named in marked-up texts: the encoded bytes kept in memory and decoded by the
// system's OLE picture reader (bitmaps, icons, metafiles, JPEG, GIF), one chosen frame of a
// GIF, and the cache through which the renderer loads each source once.
#pragma once

#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "vcl/pictures.h"
#include "vcl/streams.h"
#include "vcl/threads.h"

class THTMLPicture;

using TDownLoadErrorEvent = std::function<void(TObject* Sender, const AnsiString& err)>;
using TDownLoadCancelEvent = std::function<void(TObject* Sender, bool& Cancel)>;
using TDownLoadProgressEvent = std::function<void(TObject* Sender, uint32_t dwSize, uint32_t dwTotSize)>;

// Started for a source that names neither a resource nor a file. It loads nothing: the
// picture stays empty. It frees itself when it ends.
class TDownLoadThread : public TThread {
 public:
  explicit TDownLoadThread(THTMLPicture* Picture);
  THTMLPicture* Picture() const { return FPicture; }

 protected:
  void Execute() override {}

 private:
  THTMLPicture* FPicture;
};

class THTMLPicture : public TGraphic {
  VCL_GRAPHIC_CLASS(THTMLPicture)
 public:
  THTMLPicture();
  ~THTMLPicture() override;

  // Empties the picture and shows frame 1; takes the bytes of another THTMLPicture (and
  // decodes them), nothing from null, ignores other sources.
  void Assign(TPersistent* Source) override;

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // Swallows every failure: the picture then stays empty.
  void LoadFromFile(const AnsiString& FileName);
  // A resource of type RCDATA; a missing one loads nothing.
  void LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName);
  // "RES://name" and "FILE://path" (prefix in any letter case) load; other sources only
  // record the address (see TDownLoadThread).
  void LoadFromURL(const AnsiString& Url);
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);
  // Clipboard formats are not offered.
  void LoadFromClipboardFormat(uint16_t, HANDLE, HPALETTE) {}
  void SaveToClipboardFormat(uint16_t&, HANDLE&, HPALETTE&) {}

  // In pixels: the picture's HIMETRIC size at PixelsPerInch; 0 without a picture.
  int Width() override;
  int Height() override;
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  bool Empty() override { return FEmpty; }

  // The size the renderer lays out: a GIF's logical screen when it has one.
  int ShownWidth();
  int ShownHeight();

  bool Stretch = false;
  int Frame() const { return FFrame; }
  void SetFrame(int Value);
  // Frames of a GIF (counted once); -1 for other data.
  int FrameCount();
  bool IsGIF() const;

  int FrameLeft() const { return FFrameLeft; }
  int FrameTop() const { return FFrameTop; }
  int FrameWidth() const { return FFrameWidth; }
  int FrameHeight() const { return FFrameHeight; }
  int LogicalWidth() const { return FLogicalWidth; }
  int LogicalHeight() const { return FLogicalHeight; }

  const AnsiString& ID() const { return FID; }
  const AnsiString& URL() const { return FURL; }
  bool ThreadLoad = true;
  bool ThreadBusy() const { return FThreadBusy; }
  int PixelsPerInchX = 96;
  int PixelsPerInchY = 96;
  IPicture* Picture() const { return FPicture; }
  TMemoryStream* Data() const { return FData.get(); }

  TNotifyEvent OnFrameChange;
  TDownLoadErrorEvent OnDownLoadError;
  TNotifyEvent OnDownLoadComplete;
  TDownLoadCancelEvent OnDownLoadCancel;
  TDownLoadProgressEvent OnDownLoadProgress;

 protected:
  void Draw(TCanvas* ACanvas, const RECT& Rect) override;

 private:
  void Decode();
  void ReleasePicture();
  // Walks the GIF's blocks: counts the frames and, when Out is given, copies the header
  // and the frames from Frame on into it (recording Frame's rectangle).
  int ScanFrames(std::vector<uint8_t>* Out);

  std::unique_ptr<TMemoryStream> FData;
  bool FEmpty = true;
  IPicture* FPicture = nullptr;
  AnsiString FURL;
  AnsiString FID;
  bool FThreadBusy = false;
  int FFrame = 1;
  int FFrameCount = -1;
  uint16_t FFrameLeft = 0, FFrameTop = 0, FFrameWidth = 0, FFrameHeight = 0;
  uint16_t FLogicalWidth = 0, FLogicalHeight = 0;
};

// Pictures by source text. The cache does not own them: whoever fills it frees them.
class TPictureCache {
 public:
  THTMLPicture* AddPicture();
  // The picture whose ID is exactly ID (letter case counts); null when none.
  THTMLPicture* FindPicture(const AnsiString& ID) const;
  THTMLPicture* Items(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
  int Count() const { return static_cast<int>(FItems.size()); }

 private:
  std::vector<THTMLPicture*> FItems;
};

// What the renderer asks of a source of pictures by plain name.
class THtmlPictureContainer {
 public:
  virtual ~THtmlPictureContainer() = default;
  virtual THTMLPicture* FindPicture(const WideString& Name) = 0;
};

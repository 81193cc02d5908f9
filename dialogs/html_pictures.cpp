#include "dialogs/html_pictures.h"

#include <windows.h>

#include <cstring>

VCL_CLASS_IMPL(THTMLPicture, TGraphic, nullptr, nullptr)

namespace {

AnsiString UpperAnsi(const AnsiString& s) {
  AnsiString u = s;
  if (!u.empty()) CharUpperBuffA(u.data(), static_cast<DWORD>(u.size()));
  return u;
}

uint16_t ReadWord(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

// --- TDownLoadThread ------------------------------------------------------------

TDownLoadThread::TDownLoadThread(THTMLPicture* Picture) : TThread(false), FPicture(Picture) {
  SetFreeOnTerminate(true);
}

// --- THTMLPicture -----------------------------------------------------------------

THTMLPicture::THTMLPicture() : FData(std::make_unique<TMemoryStream>()) {}

THTMLPicture::~THTMLPicture() { ReleasePicture(); }

void THTMLPicture::ReleasePicture() {
  if (FPicture) FPicture->Release();
  FPicture = nullptr;
}

void THTMLPicture::Assign(TPersistent* Source) {
  FEmpty = true;
  ReleasePicture();
  FFrameCount = -1;
  FFrame = 1;
  if (!Source) {
    FData->Clear();
    return;
  }
  auto* other = dynamic_cast<THTMLPicture*>(Source);
  if (!other) return;
  FData->Clear();
  other->FData->SaveToStream(FData.get());
  FData->Seek(0, soBeginning);
  FEmpty = false;
  Decode();
  Changed();
}

void THTMLPicture::ReadData(TStream* Stream) {
  if (!Stream) return;
  FData->Clear();
  FData->LoadFromStream(Stream);
  FFrameCount = -1;
  FEmpty = false;
  Decode();
}

void THTMLPicture::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  ReadData(Stream);
  Changed();
}

void THTMLPicture::SaveToStream(TStream* Stream) { WriteData(Stream); }

void THTMLPicture::WriteData(TStream* Stream) {
  if (Stream && FData->Size() > 0) Stream->Write(FData->Memory(), FData->Size());
}

void THTMLPicture::LoadFromFile(const AnsiString& FileName) {
  try {
    TMemoryStream file;
    file.LoadFromFile(FileName);
    file.Seek(0, soBeginning);
    FData->Clear();
    FData->LoadFromStream(&file);
    FFrameCount = -1;
    FEmpty = false;
    Decode();
    Changed();
  } catch (...) {
    // A picture that cannot be read is simply not shown.
    FEmpty = true;
    ReleasePicture();
  }
}

void THTMLPicture::LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName) {
  HRSRC res = FindResourceA(Instance, ResName.c_str(), MAKEINTRESOURCEA(10));
  if (!res) return;
  HGLOBAL loaded = LoadResource(Instance, res);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  DWORD size = SizeofResource(Instance, res);
  if (!bytes) return;
  TMemoryStream stream;
  stream.Write(bytes, size);
  stream.Seek(0, soBeginning);
  LoadFromStream(&stream);
}

void THTMLPicture::LoadFromURL(const AnsiString& Url) {
  AnsiString upper = UpperAnsi(Url);
  if (upper.rfind("RES://", 0) == 0) {
    FID = Url;
    AnsiString name = Url.substr(6);
    if (!name.empty()) LoadFromResourceName(GetModuleHandleA(nullptr), name);
  } else if (upper.rfind("FILE://", 0) == 0) {
    FID = Url;
    LoadFromFile(Url.substr(7));
  } else if (!ThreadLoad) {
    FURL = Url;
    FID = Url;
  } else if (!FThreadBusy) {
    FURL = Url;
    FThreadBusy = true;
    TThread::Create<TDownLoadThread>(this);
  }
}

int THTMLPicture::Width() {
  if (!FPicture) return 0;
  OLE_XSIZE_HIMETRIC w = 0;
  FPicture->get_Width(&w);
  return MulDiv(w, PixelsPerInchX, 2540);
}

int THTMLPicture::Height() {
  if (!FPicture) return 0;
  OLE_YSIZE_HIMETRIC h = 0;
  FPicture->get_Height(&h);
  return MulDiv(h, PixelsPerInchY, 2540);
}

int THTMLPicture::ShownWidth() {
  if (!FPicture) return 0;
  return FLogicalWidth ? FLogicalWidth : Width();
}

int THTMLPicture::ShownHeight() {
  if (!FPicture) return 0;
  return FLogicalHeight ? FLogicalHeight : Height();
}

void THTMLPicture::Draw(TCanvas* ACanvas, const RECT& Rect) {
  if (FEmpty || !FPicture) return;
  HDC dc = ACanvas->Handle();
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  FPicture->get_Width(&w);
  FPicture->get_Height(&h);
  int cx, cy;
  if (Stretch) {
    cx = Rect.right - Rect.left;
    cy = Rect.bottom - Rect.top;
  } else {
    cx = MulDiv(w, GetDeviceCaps(dc, LOGPIXELSX), 2540);
    cy = MulDiv(h, GetDeviceCaps(dc, LOGPIXELSY), 2540);
  }
  // OLE pictures take their source area bottom-up.
  FPicture->Render(dc, Rect.left, Rect.top, cx, cy, 0, h, w, -h, nullptr);
}

void THTMLPicture::SetFrame(int Value) {
  FFrame = Value;
  if (FData->Size() > 0) {
    Decode();
    if (OnFrameChange) OnFrameChange(this);
  }
}

bool THTMLPicture::IsGIF() const {
  if (FData->Size() < 5) return false;
  return std::memcmp(FData->Memory(), "GIF8", 4) == 0;
}

int THTMLPicture::ScanFrames(std::vector<uint8_t>* Out) {
  const auto* data = static_cast<const uint8_t*>(FData->Memory());
  size_t size = static_cast<size_t>(FData->Size());
  int frames = 0;
  bool copying = true;
  for (size_t i = 0; i < size; ++i) {
    // A graphic control extension (21 F9 04, five bytes) followed by an image descriptor
    // (2C) starts a frame.
    if (data[i] == 0x21 && size - i - 1 > 8 && data[i + 1] == 0xF9 && data[i + 2] == 4 && data[i + 8] == 0x2C) {
      ++frames;
      if (Out && frames == FFrame && i + 16 < size) {
        FFrameLeft = ReadWord(data + i + 9);
        FFrameTop = ReadWord(data + i + 11);
        FFrameWidth = ReadWord(data + i + 13);
        FFrameHeight = ReadWord(data + i + 15);
      }
      copying = frames >= FFrame;
    }
    if (Out && copying) Out->push_back(data[i]);
  }
  return frames;
}

int THTMLPicture::FrameCount() {
  if (FFrameCount != -1) return FFrameCount;
  if (!IsGIF()) return -1;
  FFrameCount = ScanFrames(nullptr);
  FData->Seek(0, soBeginning);
  return FFrameCount;
}

void THTMLPicture::Decode() {
  SIZE_T size = static_cast<SIZE_T>(FData->Size());
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
  if (!block) throw EInvalidGraphic("Could not allocate memory for image");
  FFrameLeft = FFrameTop = FFrameWidth = FFrameHeight = 0;
  FLogicalWidth = FLogicalHeight = 0;

  std::vector<uint8_t> oneFrame;
  const void* source = FData->Memory();
  if (IsGIF() && FrameCount() >= 1) {
    const auto* data = static_cast<const uint8_t*>(FData->Memory());
    FLogicalWidth = ReadWord(data + 6);
    FLogicalHeight = size > 9 ? ReadWord(data + 8) : 0;
    oneFrame.reserve(size);
    ScanFrames(&oneFrame);
    source = oneFrame.data();
    size = oneFrame.size();
  }
  if (void* p = GlobalLock(block)) {
    if (size) std::memcpy(p, source, size);
    GlobalUnlock(block);
  }

  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, FALSE, &stream))) {
    GlobalFree(block);
    throw EInvalidGraphic("Could not create image stream");
  }
  if (!stream) {
    GlobalFree(block);
    throw EInvalidGraphic("Empty image stream created");
  }
  ReleasePicture();
  void* picture = nullptr;
  HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, &picture);
  stream->Release();
  GlobalFree(block);
  if (FAILED(hr)) throw EInvalidGraphic("Could not load image. Invalid format");
  if (!picture) throw EInvalidGraphic("Could not load image");
  FPicture = static_cast<IPicture*>(picture);
}

// --- TPictureCache ---------------------------------------------------------------

THTMLPicture* TPictureCache::AddPicture() {
  auto* picture = new THTMLPicture;
  FItems.push_back(picture);
  return picture;
}

THTMLPicture* TPictureCache::FindPicture(const AnsiString& ID) const {
  for (THTMLPicture* p : FItems)
    if (p->ID() == ID) return p;
  return nullptr;
}

// Pictures: graphics that load and save themselves through streams (device-independent
// bitmaps, icons), the registry of picture file formats, and the picture that holds one
// graphic of any registered class.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "vcl/graphics.h"
#include "vcl/streams.h"

// A picture file of a format nobody registered, or data its class cannot read.
VCL_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
// An operation the graphic cannot do (changing the size of an icon).
VCL_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)

class TGraphic;

// A graphic class as the format registry keeps it: its class reference and how to make an
// empty graphic of it.
struct TGraphicClassInfo {
  const TMetaClass* Class;
  TGraphic* (*Create)();
};
using TGraphicClass = const TGraphicClassInfo*;

// Declares the class reference of a graphic class (put it first in the class body, in
// place of VCL_CLASS): T::GraphicClass() names the class in the format registry.
#define VCL_GRAPHIC_CLASS(Name)                                                       \
  VCL_CLASS(Name)                                                                     \
 public:                                                                              \
  static TGraphicClass GraphicClass() {                                               \
    static const TGraphicClassInfo info{Name::StaticClass(), []() -> TGraphic* { return new Name; }}; \
    return &info;                                                                     \
  }                                                                                   \
  TGraphicClass GraphicClassType() const override { return GraphicClass(); }        \
                                                                                      \
 private:

// An image that knows its size, draws itself on a canvas and reads and writes its own
// file format through streams.
class TGraphic : public TPersistent {
  VCL_CLASS(TGraphic)
 public:
  // The class as the format registry names it (abstract: it makes no graphics).
  static TGraphicClass GraphicClass() {
    static const TGraphicClassInfo info{StaticClass(), nullptr};
    return &info;
  }
  virtual TGraphicClass GraphicClassType() const = 0;

  // Read from / written at the stream's position, in the class's file format.
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName);

  virtual int Width() = 0;
  virtual int Height() = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  virtual bool Empty() = 0;

  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;  // Draw and StretchDraw hand the graphic its rectangle
  virtual void Draw(TCanvas* ACanvas, const RECT& Rect) = 0;
  virtual void Changed();
};

// ---------------------------------------------------------------------------
// Device-independent bitmaps (a DIB section), read and written as BMP files.

enum TPixelFormat { pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit };

class TBitmap : public TGraphic {
  VCL_GRAPHIC_CLASS(TBitmap)
 public:
  TBitmap();
  ~TBitmap() override;
  void Assign(TPersistent* Source) override;  // a TBitmap (copied) or null (emptied)

  // BMP files with 1, 4, 8, 16, 24 or 32 bits a pixel, uncompressed or with bit-field
  // masks; anything else raises EInvalidGraphic. A stream with nothing left to read gives an
  // empty bitmap, and an empty bitmap writes nothing.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

  int Width() override;
  int Height() override;
  void SetWidth(int Value) override { SetSize(Value, Height()); }
  void SetHeight(int Value) override { SetSize(Width(), Value); }
  // Keeps the picture at the top left corner; new areas are black.
  void SetSize(int AWidth, int AHeight);
  bool Empty() override { return FHandle == nullptr; }

  // New bitmaps are pf24bit. A change converts the picture; the palette formats get a fixed
  // palette (black and white; the 16 standard colours; the system's halftone palette).
  TPixelFormat PixelFormat() const;
  void SetPixelFormat(TPixelFormat Value);

  // The canvas that draws on the bitmap (created on first use).
  TCanvas* Canvas();
  // The DIB section; null while the bitmap is empty. The bitmap keeps it.
  HBITMAP Handle();
  // The pixels of row Row (0 at the top) as the pixel format lays them out; raises
  // EInvalidGraphicOperation for a row outside the picture.
  void* ScanLine(int Row);

  // In stored descriptions (a button's Glyph.Data): the size of the BMP file (4 bytes)
  // followed by the file.
  void DefineProperties(TFiler* Filer) override;

 protected:
  void Draw(TCanvas* ACanvas, const RECT& Rect) override;

 private:
  class TBitmapCanvas;
  friend class TBitmapCanvas;

  void ReplaceImage(std::vector<uint8_t> info);
  void TakeImage(std::vector<uint8_t> info, HBITMAP handle, void* bits);
  void FreeImage();
  void FreeContext();
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(FInfo.data()); }
  size_t ImageSize() const;

  // BITMAPINFO of the picture: the header, then the bit-field masks or the colour table.
  std::vector<uint8_t> FInfo;
  HBITMAP FHandle = nullptr;
  void* FBits = nullptr;
  std::unique_ptr<TBitmapCanvas> FCanvas;
};

// ---------------------------------------------------------------------------
// Icons: the system's icons (IDI_*) and .ico files.

class TIcon : public TGraphic {
  VCL_GRAPHIC_CLASS(TIcon)
 public:
  TIcon() = default;
  ~TIcon() override;
  void Assign(TPersistent* Source) override;  // a TIcon (copied) or null (emptied)

  // An .ico file: the image nearest the system's icon size is shown, and the whole file is
  // written back as it was read. An icon taken from a handle is written as a 32-bit image
  // with its mask.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

  int Width() override { return FWidth; }
  int Height() override { return FHeight; }
  void SetWidth(int Value) override;   // raises EInvalidGraphicOperation
  void SetHeight(int Value) override;  // raises EInvalidGraphicOperation
  bool Empty() override { return FHandle == nullptr; }

  HICON Handle() const { return FHandle; }
  // Takes the icon: the graphic destroys it.
  void SetHandle(HICON Value);
  // Hands the icon back to the caller; the graphic is empty afterwards.
  HICON ReleaseHandle();
  // A private copy of one of the system's shared icons (IDI_WARNING, IDI_QUESTION...).
  void LoadSystemIcon(LPCSTR IconId);

 protected:
  void Draw(TCanvas* ACanvas, const RECT& Rect) override;

 private:
  void TakeIcon(HICON icon, std::vector<uint8_t> image);

  HICON FHandle = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  std::vector<uint8_t> FImage;  // the .ico file the icon came from
};

// ---------------------------------------------------------------------------
// The registry of picture file formats: which graphic class reads files of an extension.
// The framework registers "bmp" (TBitmap), "ico" (TIcon) and, with libjpeg, "jpg" and
// "jpeg" (TJPEGImage).

// Extension without its dot ("bmp"), compared without regard to case. Registering an
// extension again replaces its description and class.
void RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description, TGraphicClass Class);
// Removes every format of the class and of the classes derived from it.
void UnregisterGraphicClass(TGraphicClass Class);
// The class registered for an extension (with or without its dot); null when none.
TGraphicClass GraphicClassOfExtension(const AnsiString& Extension);
// The filter of file dialogs for the formats of GraphicClass and its descendants, in the
// order registered: "All (*.bmp;*.ico)|*.bmp;*.ico|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico".
// Empty when no format matches.
AnsiString GraphicFilter(TGraphicClass GraphicClass);

// Loads the bitmap resource Name of the program into Bitmap; false when there is none.
bool LoadBitmapResource(TBitmap* Bitmap, const char* Name);

// ---------------------------------------------------------------------------
// A picture: one graphic of any class (or none), changed as a whole.

class TPicture : public TPersistent {
  VCL_CLASS(TPicture)
 public:
  TPicture();
  ~TPicture() override;
  void Assign(TPersistent* Source) override;  // a TPicture, a TGraphic (copied) or null

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Holds a copy of Value (null empties the picture).
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap / an icon; a graphic of another class is replaced by an empty one.
  TBitmap* Bitmap();
  TIcon* Icon();

  // The graphic class is the one registered for the file's extension; an extension nobody
  // registered raises EInvalidGraphic. The old graphic stays when loading fails.
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName);

  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  TNotifyEvent OnChange;

  // Stored descriptions keep the graphic as "Data": the graphic class's name (a length
  // byte and the name), then what the graphic writes to a stream. A class nobody
  // registered raises EInvalidGraphic.
  void DefineProperties(TFiler* Filer) override;

 protected:
  virtual void Changed(TObject* Sender);
  // The class registered for Extension; raises EInvalidGraphic when there is none.
  static TGraphicClass RegisteredClassOf(const AnsiString& Extension);
  // Makes an empty graphic of Class, lets Load fill it, then holds it in place of the old one.
  void LoadNewGraphic(TGraphicClass Class, const std::function<void(TGraphic*)>& Load);

 private:
  void TakeGraphic(std::unique_ptr<TGraphic> graphic);

  std::unique_ptr<TGraphic> FGraphic;
};

// JPEG pictures (libjpeg), registered for ".jpg" and ".jpeg".
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "vcl/pictures.h"

// JPEG data the library cannot read or write; the message is the library's own.
VCL_DECLARE_EXCEPTION(EJPEG, EInvalidGraphic)

// The size a JPEG picture is decoded at: the library scales down while it decodes, which
// costs far less than decoding the whole picture and shrinking it afterwards.
enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };

// The decoding scale a JPEG file needs, from its size in bytes.
using TJpegScaleRule = TJPEGScale (*)(unsigned FileSize);

// Where decoded rows go (24 bits a pixel, blue first): told the decoded size, it hands out
// the top row and sets Stride, the bytes from one row to the next (negative for a picture
// stored bottom up).
using TJpegRows = std::function<uint8_t*(int Width, int Height, ptrdiff_t& Stride)>;

// Reads a JPEG file whole into Data (whose memory serves again for the next file) and
// decodes it at the scale Rule gives for its size (full size without a rule) into the rows
// Target hands out. Raises EJPEG for data the library cannot read, and the stream's error
// for a file that cannot be read.
void DecodeJpegFile(const AnsiString& FileName, TJpegScaleRule Rule, std::vector<uint8_t>& Data,
                    const TJpegRows& Target);

// A JPEG picture: its compressed data and the picture decoded from it into a 24-bit bitmap,
// which is what draws.
class TJPEGImage : public TGraphic {
  VCL_GRAPHIC_CLASS(TJPEGImage)
 public:
  TJPEGImage();
  ~TJPEGImage() override;
  // A TJPEGImage (copied), a TBitmap (compressed when saved) or null (emptied).
  void Assign(TPersistent* Source) override;

  // Reads the JPEG data at the stream's position, decoding it at once, and leaves the stream
  // right after its end. A stream with nothing left to read gives an empty picture.
  void LoadFromStream(TStream* Stream) override;
  // Writes the data read as it was; a picture taken from a bitmap (or given another quality)
  // is compressed with CompressionQuality. An empty picture writes nothing.
  void SaveToStream(TStream* Stream) override;

  int Width() override { return FBitmap ? FBitmap->Width() : 0; }
  int Height() override { return FBitmap ? FBitmap->Height() : 0; }
  void SetWidth(int Value) override;   // raises EInvalidGraphicOperation
  void SetHeight(int Value) override;  // raises EInvalidGraphicOperation
  bool Empty() override { return !FBitmap || FBitmap->Empty(); }

  // 1 to 100 (default 90); applies to the next compression.
  int CompressionQuality() const { return FQuality; }
  void SetCompressionQuality(int Value);
  // Shows the picture in shades of grey, and compresses it so.
  bool Grayscale() const { return FGrayscale; }
  void SetGrayscale(bool Value);
  // Applies to the next decoding (a load, or a picture decoded again).
  TJPEGScale Scale() const { return FScale; }
  void SetScale(TJPEGScale Value) { FScale = Value; }

 protected:
  void Draw(TCanvas* ACanvas, const RECT& Rect) override;

 private:
  void Decode();
  void Compress();

  std::vector<uint8_t> FData;        // the compressed picture; empty until compressed
  std::unique_ptr<TBitmap> FBitmap;  // the picture as it shows
  int FQuality = 90;
  bool FGrayscale = false;
  TJPEGScale FScale = jsFullSize;
};

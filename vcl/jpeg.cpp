#include "vcl/jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h leans on FILE and size_t
#include <exception>

#include <jpeglib.h>
#include <jerror.h>

#include "vcl/resstrings.h"

VCL_CLASS_IMPL(TJPEGImage, TGraphic, nullptr, nullptr)

// The library reports errors through a callback that must not return. It jumps back to the
// call that started the work; only the library's own C frames and our callbacks, which hold
// no objects with destructors at that point, lie in between. An exception of our streams
// inside a callback is kept, the jump made, and the exception raised again from there.

namespace {

struct TJpegErrors {
  jpeg_error_mgr Mgr;
  std::jmp_buf Back;
  std::exception_ptr Pending;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpBack(j_common_ptr info) {
  auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
  std::longjmp(errors->Back, 1);
}

void ErrorExit(j_common_ptr info) {
  auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
  (*info->err->format_message)(info, errors->Message);
  JumpBack(info);
}

void NoOutput(j_common_ptr) {}  // warnings (a file cut short) are no errors here

void UseOurErrors(TJpegErrors& errors, j_common_ptr info) {
  info->err = jpeg_std_error(&errors.Mgr);
  errors.Mgr.error_exit = ErrorExit;
  errors.Mgr.output_message = NoOutput;
}

// Rethrows what ended the library's work after the jump back.
[[noreturn]] void RaiseJpegError(TJpegErrors& errors) {
  if (errors.Pending) std::rethrow_exception(errors.Pending);
  throw EJPEG(errors.Message);
}

// Frees the library's memory of one piece of work however it ends: normally, by the jump
// back, or by an exception of ours (a bitmap too large to make).
template <class Info, void (*Destroy)(Info*)>
struct TJpegWork {
  Info info{};
  ~TJpegWork() { Destroy(&info); }  // nothing to free before the library's create call
};

constexpr size_t kBufferSize = 4096;

// --- Reading from a TStream ----------------------------------------------------------

struct TStreamSource {
  jpeg_source_mgr Pub;
  TStream* Stream;
  std::vector<uint8_t>* Copy;  // every byte read, kept for writing the data back as it was
  bool StartOfFile;
  bool FakeEnd;  // the buffer holds the end marker put in for a stream that ended early
  JOCTET Buffer[kBufferSize];
};

void InitSource(j_decompress_ptr info) { reinterpret_cast<TStreamSource*>(info->src)->StartOfFile = true; }

boolean FillInputBuffer(j_decompress_ptr info) {
  auto* src = reinterpret_cast<TStreamSource*>(info->src);
  int64_t got = 0;
  bool failed = false;
  try {
    got = src->Stream->Read(src->Buffer, kBufferSize);
  } catch (...) {
    reinterpret_cast<TJpegErrors*>(info->err)->Pending = std::current_exception();
    failed = true;
  }
  if (failed) JumpBack(reinterpret_cast<j_common_ptr>(info));
  if (got <= 0) {
    if (src->StartOfFile) ERREXIT(info, JERR_INPUT_EMPTY);
    // A stream that ends early: the library finishes with what it has.
    WARNMS(info, JWRN_JPEG_EOF);
    src->Buffer[0] = 0xFF;
    src->Buffer[1] = JPEG_EOI;
    got = 2;
    src->FakeEnd = true;
  } else if (src->Copy) {
    src->Copy->insert(src->Copy->end(), src->Buffer, src->Buffer + got);
  }
  src->Pub.next_input_byte = src->Buffer;
  src->Pub.bytes_in_buffer = static_cast<size_t>(got);
  src->StartOfFile = false;
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  auto* src = reinterpret_cast<TStreamSource*>(info->src);
  while (count > static_cast<long>(src->Pub.bytes_in_buffer)) {
    count -= static_cast<long>(src->Pub.bytes_in_buffer);
    FillInputBuffer(info);
  }
  src->Pub.next_input_byte += count;
  src->Pub.bytes_in_buffer -= static_cast<size_t>(count);
}

// Gives back what was read beyond the end of the picture: the stream is left right after it.
void TermSource(j_decompress_ptr info) {
  auto* src = reinterpret_cast<TStreamSource*>(info->src);
  const size_t unread = src->FakeEnd ? 0 : src->Pub.bytes_in_buffer;
  if (unread == 0) return;
  if (src->Copy) src->Copy->resize(src->Copy->size() - unread);
  bool failed = false;
  try {
    src->Stream->Seek(-static_cast<int64_t>(unread), soCurrent);
  } catch (...) {
    reinterpret_cast<TJpegErrors*>(info->err)->Pending = std::current_exception();
    failed = true;
  }
  if (failed) JumpBack(reinterpret_cast<j_common_ptr>(info));
}

void UseStreamSource(j_decompress_ptr info, TStreamSource& src, TStream* stream, std::vector<uint8_t>* copy) {
  src.Stream = stream;
  src.Copy = copy;
  src.FakeEnd = false;
  src.Pub.init_source = InitSource;
  src.Pub.fill_input_buffer = FillInputBuffer;
  src.Pub.skip_input_data = SkipInputData;
  src.Pub.resync_to_restart = jpeg_resync_to_restart;
  src.Pub.term_source = TermSource;
  src.Pub.bytes_in_buffer = 0;
  src.Pub.next_input_byte = nullptr;
  info->src = &src.Pub;
}

// Decodes the picture at the stream's position into a 24-bit bitmap, at 1 / 2^scale of its
// size; copy (when given) receives the bytes of the picture.
void DecodeJpeg(TStream* stream, bool grayscale, TJPEGScale scale, TBitmap& bitmap, std::vector<uint8_t>* copy) {
  TJpegWork<jpeg_decompress_struct, jpeg_destroy_decompress> work;
  jpeg_decompress_struct& info = work.info;
  TJpegErrors errors{};
  TStreamSource source{};
  std::vector<JSAMPLE> grey;
  UseOurErrors(errors, reinterpret_cast<j_common_ptr>(&info));
  if (setjmp(errors.Back)) RaiseJpegError(errors);
  jpeg_create_decompress(&info);
  UseStreamSource(&info, source, stream, copy);
  jpeg_read_header(&info, TRUE);
  info.scale_num = 1;
  info.scale_denom = 1u << static_cast<unsigned>(scale);
  // The rows go straight into the bitmap, which keeps blue first.
  info.out_color_space = grayscale ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_start_decompress(&info);

  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  if (grayscale) grey.resize(info.output_width);
  while (info.output_scanline < info.output_height) {
    auto* row = static_cast<JSAMPLE*>(bitmap.ScanLine(static_cast<int>(info.output_scanline)));
    JSAMPROW target = grayscale ? grey.data() : row;
    jpeg_read_scanlines(&info, &target, 1);
    if (grayscale)
      for (JDIMENSION x = 0; x < info.output_width; ++x) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = grey[x];
  }
  jpeg_finish_decompress(&info);
}

// Decodes JPEG data held in memory at 1 / 2^scale of its size into the rows target hands out.
void DecodeJpegMemory(const uint8_t* data, size_t size, TJPEGScale scale, const TJpegRows& target) {
  TJpegWork<jpeg_decompress_struct, jpeg_destroy_decompress> work;
  jpeg_decompress_struct& info = work.info;
  TJpegErrors errors{};
  UseOurErrors(errors, reinterpret_cast<j_common_ptr>(&info));
  if (setjmp(errors.Back)) RaiseJpegError(errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.scale_num = 1;
  info.scale_denom = 1u << static_cast<unsigned>(scale);
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  ptrdiff_t stride = 0;
  uint8_t* top = target(static_cast<int>(info.output_width), static_cast<int>(info.output_height), stride);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = top + stride * static_cast<ptrdiff_t>(info.output_scanline);
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
}

// --- Writing to a TStream ------------------------------------------------------------

struct TStreamDestination {
  jpeg_destination_mgr Pub;
  TStream* Stream;
  JOCTET Buffer[kBufferSize];
};

void InitDestination(j_compress_ptr info) {
  auto* dest = reinterpret_cast<TStreamDestination*>(info->dest);
  dest->Pub.next_output_byte = dest->Buffer;
  dest->Pub.free_in_buffer = kBufferSize;
}

void WriteOut(j_compress_ptr info, size_t count) {
  auto* dest = reinterpret_cast<TStreamDestination*>(info->dest);
  bool failed = false;
  try {
    dest->Stream->WriteBuffer(dest->Buffer, static_cast<int64_t>(count));
  } catch (...) {
    reinterpret_cast<TJpegErrors*>(info->err)->Pending = std::current_exception();
    failed = true;
  }
  if (failed) JumpBack(reinterpret_cast<j_common_ptr>(info));
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
  WriteOut(info, kBufferSize);
  InitDestination(info);
  return TRUE;
}

void TermDestination(j_compress_ptr info) {
  auto* dest = reinterpret_cast<TStreamDestination*>(info->dest);
  WriteOut(info, kBufferSize - dest->Pub.free_in_buffer);
}

// Compresses a 24-bit bitmap onto the stream.
void EncodeJpeg(TBitmap& bitmap, int quality, bool grayscale, TStream* stream) {
  TJpegWork<jpeg_compress_struct, jpeg_destroy_compress> work;
  jpeg_compress_struct& info = work.info;
  TJpegErrors errors{};
  TStreamDestination dest{};
  UseOurErrors(errors, reinterpret_cast<j_common_ptr>(&info));
  if (setjmp(errors.Back)) RaiseJpegError(errors);
  jpeg_create_compress(&info);
  dest.Stream = stream;
  dest.Pub.init_destination = InitDestination;
  dest.Pub.empty_output_buffer = EmptyOutputBuffer;
  dest.Pub.term_destination = TermDestination;
  info.dest = &dest.Pub;
  info.image_width = static_cast<JDIMENSION>(bitmap.Width());
  info.image_height = static_cast<JDIMENSION>(bitmap.Height());
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (grayscale) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = static_cast<JSAMPLE*>(bitmap.ScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
}

}  // namespace

// --- TJPEGImage ----------------------------------------------------------------------

TJPEGImage::TJPEGImage() = default;

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(TPersistent* Source) {
  if (!Source) {
    FData.clear();
    FBitmap.reset();
    Changed();
    return;
  }
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(Source)) {
    if (jpeg == this) return;
    FData = jpeg->FData;
    FQuality = jpeg->FQuality;
    FGrayscale = jpeg->FGrayscale;
    FScale = jpeg->FScale;
    if (jpeg->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->Assign(jpeg->FBitmap.get());
    } else {
      FBitmap.reset();
    }
    Changed();
    return;
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(bitmap);
    copy->SetPixelFormat(pf24bit);
    FBitmap = std::move(copy);
    FData.clear();
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  if (Stream->Position() >= Stream->Size()) {
    Assign(nullptr);
    return;
  }
  auto bitmap = std::make_unique<TBitmap>();
  std::vector<uint8_t> data;
  DecodeJpeg(Stream, FGrayscale, FScale, *bitmap, &data);
  FData = std::move(data);
  FBitmap = std::move(bitmap);
  Changed();
}

void DecodeJpegFile(const AnsiString& FileName, TJpegScaleRule Rule, std::vector<uint8_t>& Data,
                    const TJpegRows& Target) {
  {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    const auto size = static_cast<size_t>(stream.Size());
    Data.resize(size);  // an empty file is the library's to report
    if (size > 0) stream.ReadBuffer(Data.data(), static_cast<int64_t>(size));
  }
  const TJPEGScale scale = Rule ? Rule(static_cast<unsigned>(Data.size())) : jsFullSize;
  DecodeJpegMemory(Data.data(), Data.size(), scale, Target);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  if (Empty()) return;
  if (FData.empty()) {
    EncodeJpeg(*FBitmap, FQuality, FGrayscale, Stream);
    return;
  }
  Stream->WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TJPEGImage::Compress() {
  TMemoryStream stream;
  EncodeJpeg(*FBitmap, FQuality, FGrayscale, &stream);
  const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
  FData.assign(bytes, bytes + stream.Size());
}

void TJPEGImage::Decode() {
  TMemoryStream stream;
  stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
  stream.SetPosition(0);
  auto bitmap = std::make_unique<TBitmap>();
  std::vector<uint8_t> data;
  DecodeJpeg(&stream, FGrayscale, FScale, *bitmap, &data);
  FBitmap = std::move(bitmap);
}

void TJPEGImage::SetCompressionQuality(int Value) {
  Value = std::clamp(Value, 1, 100);
  if (Value == FQuality) return;
  FQuality = Value;
  // The next save compresses the picture again, at this quality.
  if (FBitmap) FData.clear();
}

void TJPEGImage::SetGrayscale(bool Value) {
  if (Value == FGrayscale) return;
  FGrayscale = Value;
  if (Empty()) return;
  // The picture shows what its compressed form decodes to.
  if (FData.empty()) Compress();
  Decode();
  Changed();
}

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation(LoadResString(&SChangeJPGSize)); }

void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation(LoadResString(&SChangeJPGSize)); }

void TJPEGImage::Draw(TCanvas* ACanvas, const RECT& Rect) {
  if (FBitmap) ACanvas->StretchDraw(Rect, FBitmap.get());
}

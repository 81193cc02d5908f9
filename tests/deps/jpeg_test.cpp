#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

// libjpeg reports errors through a callback that must not return: jump back instead of the
// default exit(), as any caller inside a program has to.
struct JumpingErrors {
  jpeg_error_mgr mgr;
  std::jmp_buf back;
};

void JumpBack(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JumpingErrors*>(info->err)->back, 1);
}

// Warnings (such as a premature end of data) are not for the console.
void Quiet(j_common_ptr) {}

jpeg_error_mgr* UseJumpingErrors(JumpingErrors& err) {
  jpeg_error_mgr* mgr = jpeg_std_error(&err.mgr);
  mgr->error_exit = JumpBack;
  mgr->output_message = Quiet;
  return mgr;
}

constexpr int kWidth = 24, kHeight = 16;

std::vector<unsigned char> Gradient() {
  std::vector<unsigned char> rgb(kWidth * kHeight * 3);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      unsigned char* p = &rgb[(y * kWidth + x) * 3];
      p[0] = static_cast<unsigned char>(x * 10);
      p[1] = static_cast<unsigned char>(y * 15);
      p[2] = 128;
    }
  return rgb;
}

std::vector<unsigned char> Compress(const std::vector<unsigned char>& rgb) {
  jpeg_compress_struct c{};
  JumpingErrors err;
  c.err = UseJumpingErrors(err);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  if (setjmp(err.back)) {
    jpeg_destroy_compress(&c);
    std::free(out);
    return {};
  }
  jpeg_create_compress(&c);
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = kWidth;
  c.image_height = kHeight;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(&rgb[c.next_scanline * kWidth * 3]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<unsigned char> bytes(out, out + size);
  std::free(out);
  return bytes;
}

// Decodes to RGB; false when libjpeg reports an error.
bool Decompress(const std::vector<unsigned char>& jpeg, std::vector<unsigned char>& rgb,
                int& width, int& height) {
  jpeg_decompress_struct d{};
  JumpingErrors err;
  d.err = UseJumpingErrors(err);
  if (setjmp(err.back)) {
    jpeg_destroy_decompress(&d);
    return false;
  }
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, jpeg.data(), jpeg.size());
  jpeg_read_header(&d, TRUE);
  d.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d);
  width = d.output_width;
  height = d.output_height;
  rgb.assign(width * height * 3, 0);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = &rgb[d.output_scanline * width * 3];
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return true;
}

TEST(Jpeg, RoundTripsASmallPictureInMemory) {
  std::vector<unsigned char> original = Gradient();
  std::vector<unsigned char> jpeg = Compress(original);
  ASSERT_GT(jpeg.size(), 4u);
  EXPECT_EQ(jpeg[0], 0xFF);  // SOI marker
  EXPECT_EQ(jpeg[1], 0xD8);

  std::vector<unsigned char> decoded;
  int width = 0, height = 0;
  ASSERT_TRUE(Decompress(jpeg, decoded, width, height));
  EXPECT_EQ(width, kWidth);
  EXPECT_EQ(height, kHeight);
  int worst = 0;
  for (size_t i = 0; i < original.size(); ++i)
    worst = std::max(worst, std::abs(int(original[i]) - int(decoded[i])));
  EXPECT_LE(worst, 12);  // lossy, but close at quality 95
}

TEST(Jpeg, ReportsDamagedDataAsAnError) {
  std::vector<unsigned char> jpeg = Compress(Gradient());
  ASSERT_FALSE(jpeg.empty());
  jpeg.resize(20);  // the header is cut short
  std::vector<unsigned char> decoded;
  int width = 0, height = 0;
  EXPECT_FALSE(Decompress(jpeg, decoded, width, height));
}

}  // namespace

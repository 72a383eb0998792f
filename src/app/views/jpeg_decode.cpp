#include "app/views/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace orlimo {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the setjmp of the stage that called into libjpeg.
struct JpegErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void ExitOnError(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
  std::longjmp(errors->jump, 1);
}

void KeepQuiet(j_common_ptr) {}

// The two stages below hold only trivially destructible locals, so the jump
// back to their setjmp skips no destructor. The image they fill is owned by
// the caller.

bool ReadHeader(jpeg_decompress_struct* cinfo, JpegErrors* errors, const unsigned char* data,
                std::size_t size) {
  if (setjmp(errors->jump)) return false;
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
  cinfo->out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(cinfo);
  return true;
}

bool ReadPixels(jpeg_decompress_struct* cinfo, JpegErrors* errors, QImage* rgb) {
  if (setjmp(errors->jump)) return false;
  jpeg_start_decompress(cinfo);
  if (cinfo->output_components != 3) return false;
  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW row = rgb->scanLine(static_cast<int>(cinfo->output_scanline));
    if (jpeg_read_scanlines(cinfo, &row, 1) != 1) return false;
  }
  jpeg_finish_decompress(cinfo);
  // Corrupt or cut-off data is only warned about; the rest of the picture
  // would be filled with grey. Such a picture is refused.
  return errors->base.num_warnings == 0;
}

}  // namespace

QImage DecodeJpeg(const unsigned char* data, std::size_t size) {
  if (data == nullptr || size == 0) return {};
  jpeg_decompress_struct cinfo{};
  JpegErrors errors{};
  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = ExitOnError;
  errors.base.output_message = KeepQuiet;
  jpeg_create_decompress(&cinfo);

  QImage rgb;
  bool ok = ReadHeader(&cinfo, &errors, data, size);
  if (ok) {
    const auto w = cinfo.output_width, h = cinfo.output_height;
    ok = w > 0 && h > 0 && w <= kMaxJpegSide && h <= kMaxJpegSide;
    if (ok) {
      rgb = QImage(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB888);
      ok = !rgb.isNull() && ReadPixels(&cinfo, &errors, &rgb);
    }
  }
  jpeg_destroy_decompress(&cinfo);
  if (!ok) return {};
  return rgb.convertToFormat(QImage::Format_RGB32);
}

}  // namespace orlimo

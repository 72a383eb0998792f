// Build step: draws the sky view's background and writes it as a JPEG file,
// which the build then stores as a resource of the views library.
//   make_sky_background <output.jpg>
#include <QGuiApplication>

#include <cstdio>
#include <vector>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "app/views/artwork/view_art.h"

namespace {

// Compresses an RGB32 picture; false when the file cannot be written. Nothing
// here can make libjpeg fail short of running out of memory, where its default
// handler ends this build tool with a message.
bool WriteJpeg(const QImage& picture, const char* path, int quality) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  std::FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return false;
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, out);
  cinfo.image_width = static_cast<JDIMENSION>(rgb.width());
  cinfo.image_height = static_cast<JDIMENSION>(rgb.height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    // libjpeg takes a non-const row pointer but only reads from it
    auto* row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sky_background <output.jpg>\n");
    return 2;
  }
  // Fonts need a GUI application; no display is wanted at build time.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (!WriteJpeg(orlimo::viewart::DrawSkyBackground(), argv[1], 92)) {
    std::fprintf(stderr, "make_sky_background: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}

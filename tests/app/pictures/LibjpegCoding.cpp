#include "LibjpegCoding.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace orvale::testing {

namespace {

// libjpeg's own handler ends the process.
[[noreturn]] void Throw(j_common_ptr cinfo) {
  char message[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, message);
  throw std::runtime_error(message);
}

}  // namespace

std::vector<std::uint8_t> CodedByLibjpeg(const QImage& source, const LibjpegCoding& coding) {
  const bool grey = source.format() == QImage::Format_Grayscale8;
  const QImage image = grey ? source : source.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  errors.error_exit = Throw;
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = static_cast<JDIMENSION>(image.width());
  cinfo.image_height = static_cast<JDIMENSION>(image.height());
  cinfo.input_components = grey ? 1 : 3;
  cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, coding.quality, TRUE);
  cinfo.arith_code = coding.arithmetic ? TRUE : FALSE;
  for (int c = 0; c < cinfo.num_components; ++c) cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
  std::vector<jpeg_scan_info> script;
  if (coding.refinements > 0) {
    const int components = cinfo.num_components;
    jpeg_scan_info dc{};
    dc.comps_in_scan = components;
    for (int c = 0; c < components; ++c) dc.component_index[c] = c;
    script.push_back(dc);
    for (int c = 0; c < components; ++c) {
      jpeg_scan_info ac{};
      ac.comps_in_scan = 1;
      ac.component_index[0] = c;
      ac.Ss = 1, ac.Se = 63, ac.Ah = 0, ac.Al = coding.refinements;
      script.push_back(ac);
      for (int bit = coding.refinements; bit > 0; --bit) {
        ac.Ah = bit, ac.Al = bit - 1;
        script.push_back(ac);
      }
    }
    cinfo.scan_info = script.data();
    cinfo.num_scans = static_cast<int>(script.size());
  } else if (coding.progressive) {
    jpeg_simple_progression(&cinfo);
  }
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<std::uint8_t> bytes(out, out + size);
  std::free(out);
  return bytes;
}

}  // namespace orvale::testing

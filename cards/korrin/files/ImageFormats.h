#pragma once
// Choosing how a file is read and written by its name: the built-in TGA and BMP/DIB
// code, or a format plug-in KRV<EXT>32.so from the library's own folder.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cards/korrin/image/ImageCodec.h"
#include "cards/korrin/image/PixelConvert.h"
#include "korrin32.h"

namespace orvale::korrin {

class ImageFormat {
 public:
  virtual ~ImageFormat() = default;
  virtual std::optional<ImageInfo> LoadInfo(const std::string& path) = 0;
  // `palette` comes in as the transfer's palette and leaves as the file's.
  virtual bool LoadImage(const std::string& path, Palette& palette, const RowSink& sink) = 0;
  // `image.bits` is the file's depth.
  virtual bool SaveImage(const std::string& path, const ImageInfo& image, const Palette& palette,
                         int flags, const RowSource& source) = 0;
};

// The exported row callbacks. A plug-in gets them in place of the sink and source; they
// reach the same functions through the transfer in progress.
struct RowCallbacks {
  KR_PutRowProc put = nullptr;
  KR_GetRowProc get = nullptr;
};

// The extension of a file name: the text after the last '.' of its last component;
// empty when that has no '.'.
std::string FileExtension(const std::string& fileName);

// The format for `fileName`, or null when there is none: an extension that is not TGA,
// BMP or DIB (in any case) and is not 0-3 letters and digits names no plug-in, and a
// plug-in that is missing or lacks one of its three entry points cannot be used. The
// plug-in stays loaded as long as the format object lives.
std::unique_ptr<ImageFormat> ChooseImageFormat(const std::string& fileName,
                                               const std::filesystem::path& pluginFolder,
                                               const RowCallbacks& callbacks);

}  // namespace orvale::korrin

#include "cards/korrin/files/ImageFormats.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "cards/korrin/image/BmpFile.h"
#include "cards/korrin/image/TgaFile.h"
#include "platform/runtime/FileReplacement.h"
#include "platform/runtime/ReadableFile.h"
#include "platform/runtime/TextOutput.h"

namespace orvale::korrin {
namespace {

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// Built-in formats read through ByteInput and write through an atomic file writer, so a
// failed save leaves any old file as it was.
template <class Reader>
std::optional<ImageInfo> ReadInfo(const std::string& path, Reader read) {
  auto in = ByteInput::Open(path);
  if (!in) return std::nullopt;
  return read(*in);
}

template <class Write>
bool WriteAtomically(const std::string& path, Write write) {
  RunError error;
  auto out = AtomicFileWriter::Open(path, error);
  return out && write(*out) && out->Commit(error);
}

class TgaFormat final : public ImageFormat {
 public:
  std::optional<ImageInfo> LoadInfo(const std::string& path) override {
    return ReadInfo(path, [](ByteInput& in) { return ReadTgaInfo(in); });
  }
  bool LoadImage(const std::string& path, Palette& palette, const RowSink& sink) override {
    auto in = ByteInput::Open(path);
    return in && ReadTgaImage(*in, palette, sink);
  }
  bool SaveImage(const std::string& path, const ImageInfo& image, const Palette&, int,
                 const RowSource& source) override {
    return WriteAtomically(path, [&](TextOutput& out) {
      return WriteTga(out, image.width, image.height, image.bits, source);
    });
  }
};

class BmpFormat final : public ImageFormat {
 public:
  std::optional<ImageInfo> LoadInfo(const std::string& path) override {
    return ReadInfo(path, [](ByteInput& in) { return ReadBmpInfo(in); });
  }
  bool LoadImage(const std::string& path, Palette& palette, const RowSink& sink) override {
    auto in = ByteInput::Open(path);
    return in && ReadBmpImage(*in, palette, sink);
  }
  bool SaveImage(const std::string& path, const ImageInfo& image, const Palette& palette, int,
                 const RowSource& source) override {
    return WriteAtomically(path, [&](TextOutput& out) {
      return WriteBmp(out, image.width, image.height, image.bits, palette, source);
    });
  }
};

class PluginFormat final : public ImageFormat {
 public:
  static std::unique_ptr<PluginFormat> Load(const std::filesystem::path& file, const std::string& ext,
                                            RowCallbacks callbacks) {
    // The loader would wait for ever on a FIFO named like a plug-in, or on a file whose
    // read blocks: only a file that reads at once is handed to it.
    RunError refused;
    if (!ReadableFile::CheckBeforeHandingOver(file, refused)) return nullptr;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return nullptr;
    std::unique_ptr<PluginFormat> format(new PluginFormat(handle, callbacks));
    format->loadInfo_ = reinterpret_cast<KR_PluginLoadInfo>(dlsym(handle, (ext + "_LoadInfo").c_str()));
    format->loadImg_ = reinterpret_cast<KR_PluginLoadImg>(dlsym(handle, (ext + "_LoadImg").c_str()));
    format->saveImg_ = reinterpret_cast<KR_PluginSaveImg>(dlsym(handle, (ext + "_SaveImg").c_str()));
    if (!format->loadInfo_ || !format->loadImg_ || !format->saveImg_) return nullptr;
    return format;
  }
  ~PluginFormat() override { dlclose(handle_); }

  // The plug-in opens the file itself, so only a file that reads at once is handed to
  // it: a FIFO, a device or a file whose read blocks never reaches a plug-in that would
  // wait on it.
  std::optional<ImageInfo> LoadInfo(const std::string& path) override {
    std::int16_t w = 0, h = 0, bits = 0, extra = 0;
    RunError refused;
    if (!ReadableFile::CheckBeforeHandingOver(path, refused)) return std::nullopt;
    if (loadInfo_(path.c_str(), &w, &h, &bits, &extra) == -1) return std::nullopt;
    return ImageInfo{w, h, bits, extra};
  }
  bool LoadImage(const std::string& path, Palette& palette, const RowSink&) override {
    RunError refused;
    if (!ReadableFile::CheckBeforeHandingOver(path, refused)) return false;
    const Palette in = palette;
    return loadImg_(path.c_str(), palette.data(), in.data(), callbacks_.put) != -1;
  }
  // The plug-in writes a temporary file beside the file it replaces (the one a link
  // names, so that the link stays), with the same extension; only a finished one takes
  // its place, by the rules every writer keeps.
  bool SaveImage(const std::string& path, const ImageInfo& image, const Palette& palette,
                 int flags, const RowSource&) override {
    RunError linkError;
    const std::optional<std::filesystem::path> file = WriteTargetOf(path, linkError);
    if (!file) return false;
    const std::filesystem::path& target = *file;
    std::filesystem::path temp = target;
    temp.replace_filename(target.stem().string() + ".tmp-" + std::to_string(::getpid()) +
                          target.extension().string());
    const bool ok = saveImg_(temp.c_str(), image.width, image.height, image.bits, palette.data(),
                             flags, callbacks_.get) != -1;
    std::error_code error;
    if (ok && std::filesystem::exists(temp, error)) return ReplaceFileWith(temp, target, path, linkError);
    std::filesystem::remove(temp, error);
    return false;
  }

 private:
  PluginFormat(void* handle, RowCallbacks callbacks) : handle_(handle), callbacks_(callbacks) {}
  void* handle_;
  RowCallbacks callbacks_;
  KR_PluginLoadInfo loadInfo_ = nullptr;
  KR_PluginLoadImg loadImg_ = nullptr;
  KR_PluginSaveImg saveImg_ = nullptr;
};

}  // namespace

std::string FileExtension(const std::string& fileName) {
  const std::string component = fileName.substr(fileName.find_last_of('/') + 1);
  const std::size_t dot = component.find_last_of('.');
  return dot == std::string::npos ? std::string() : component.substr(dot + 1);
}

std::unique_ptr<ImageFormat> ChooseImageFormat(const std::string& fileName,
                                               const std::filesystem::path& pluginFolder,
                                               const RowCallbacks& callbacks) {
  const std::string ext = Upper(FileExtension(fileName));
  if (ext == "TGA") return std::make_unique<TgaFormat>();
  if (ext == "BMP" || ext == "DIB") return std::make_unique<BmpFormat>();
  // A plug-in name is built from the extension only when it is a plain short word, and
  // the plug-in is loaded by full path from the library's folder alone.
  const bool plain = ext.size() <= 3 && std::all_of(ext.begin(), ext.end(), [](unsigned char c) {
                       return std::isalnum(c) != 0;
                     });
  if (!plain || pluginFolder.empty() || callbacks.put == nullptr || callbacks.get == nullptr) {
    return nullptr;
  }
  return PluginFormat::Load(pluginFolder / ("KRV" + ext + "32.so"), ext, callbacks);
}

}  // namespace orvale::korrin

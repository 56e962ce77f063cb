#include "LoadInChild.h"

#include <QtGlobal>
#include <QString>

#include <malloc.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "app/pictures/ImageLoader.h"
#include "platform/ui/MessageService.h"
#include "tests/support/BoundedChild.h"

namespace orvale::testing {

namespace {

std::string decoderMessages;

void KeepDecoderMessages(QtMsgType, const QMessageLogContext& context, const QString& message) {
  if (context.category != nullptr && QString(context.category).startsWith("qt.gui.imageio"))
    decoderMessages += "\n[decoder] " + message.toStdString();
}

std::string Contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::int64_t StatusField(const char* field) {
  std::ifstream status("/proc/self/status");
  const std::string prefix = std::string(field) + ":";
  for (std::string line; std::getline(status, line);)
    if (line.rfind(prefix, 0) == 0) return std::stoll(line.substr(prefix.size())) * 1024;
  return 0;
}

}  // namespace

std::string LoadWithLittleMemory(const std::filesystem::path& path, std::size_t memory, unsigned seconds) {
  const std::filesystem::path answer = path.string() + ".answer";
  std::filesystem::remove(answer);
  RunsWithinBounds(
      [&] {
        qInstallMessageHandler(KeepDecoderMessages);
        ScriptedMessageService messages;
        ScopedMessageService installed(messages);
        LoadedImage image;
        std::string result = LoadFileIntoDataBuffer(path, false, image) == ImageLoadStatus::Loaded ? "Loaded" : "";
        for (const auto& shown : messages.Messages()) result += shown.text;
        std::ofstream(answer, std::ios::binary) << result << decoderMessages;
      },
      memory, seconds);
  if (!std::filesystem::exists(answer)) return "(no answer within the bounds)";
  std::string result = Contents(answer);
  std::filesystem::remove(answer);
  return result;
}

double PeakBytesAPixelOfLoading(const std::filesystem::path& path) {
  const std::filesystem::path answer = path.string() + ".peak";
  std::filesystem::remove(answer);
  RunsWithinBounds(
      [&] {
        ScriptedMessageService messages;
        ScopedMessageService installed(messages);
        {
          // Once first, so that loading the decoder's plug-in is not counted.
          LoadedImage first;
          LoadFileIntoDataBuffer(path, true, first);
        }
        ::malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
        const std::int64_t before = StatusField("VmRSS");
        LoadedImage image;
        if (LoadFileIntoDataBuffer(path, true, image) != ImageLoadStatus::Loaded) return;
        const double pixels = static_cast<double>(image.Width) * image.Height;
        std::ofstream(answer) << static_cast<double>(StatusField("VmHWM") - before) / pixels;
      },
      std::size_t{4} << 30, 0);
  const std::string peak = Contents(answer);
  std::filesystem::remove(answer);
  return peak.empty() ? -1 : std::stod(peak);
}

}  // namespace orvale::testing

// Grabbing a frame from the selected grabber plug-in into a document's image.
#include <cstdint>
#include <string>
#include <vector>

#include "app/pictures/FrameConversion.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/ui/AllocationReport.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

// The plug-in's sizes, in the order they are asked for; false at the first failure.
bool ReadFrameSizes(IGrabberPlugin& grabber, std::int32_t& width, std::int32_t& height,
                    std::int32_t& bufferSize, PluginStatus& failure) {
  failure = grabber.get_XSize(width);
  if (!failure.Failed()) failure = grabber.get_YSize(height);
  if (!failure.Failed()) failure = grabber.get_BufferSize(bufferSize);
  return !failure.Failed();
}

}  // namespace

bool clsDocument::GrabIntoDataBuffer(IGrabberPlugin* grabber, PluginStatus& failure) {
  failure = PluginStatus::Ok();
  std::int32_t width = 0, height = 0, bufferSize = 0;
  if (grabber != nullptr && !ReadFrameSizes(*grabber, width, height, bufferSize, failure)) return false;

  // Negative sizes are as useless as none.
  const int notReady = (width <= 0 ? 1 : 0) + (height <= 0 ? 2 : 0) + (bufferSize <= 0 ? 4 : 0);
  if (notReady != 0) {
    ShowMessage("Frame grabber not ready [" + std::to_string(notReady) + "]", mb::kOk, "Error",
                kMainWindowOwner);
    return false;
  }
  // Every frame holds at least one byte a pixel: sizes that say otherwise cannot be
  // grabbed, however much memory there is.
  const std::uint64_t pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  if (pixels > static_cast<std::uint64_t>(bufferSize)) return RefuseMismatchedFrame();

  // The frame is converted into a scratch image: the document changes only once it
  // holds a whole new picture.
  std::vector<std::uint8_t> image;
  std::vector<std::uint8_t> frame;
  if (!AssignOrReport(image, static_cast<std::size_t>(pixels), 0)) return false;
  if (!AssignOrReport(frame, static_cast<std::size_t>(bufferSize), 0)) return false;
  bool ok = false;
  failure = grabber->GrabFrame(frame, ok);
  if (failure.Failed() || !ok) return false;
  // A camera whose format changed since the sizes were read is caught here.
  if (!DIBToImageData(frame, width, height, image)) return false;

  SetImageData(std::move(image), width, height);
  StretchImage(Settings().GrabAspectRatio, false);
  return true;
}

}  // namespace orvale

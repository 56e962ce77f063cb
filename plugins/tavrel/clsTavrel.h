#pragma once
// The plug-in object: the video-grabber interface over a capture engine. Every frame goes
// to the caller as an 8-bit grey, bottom-up bitmap: a 40-byte header, the 1024-byte
// palette area (left as the caller had it), then rows padded to 4 bytes from byte 1064.
// No member throws: every failure is a failed status with its text.
#include <cstdint>
#include <memory>
#include <span>

#include "platform/com/IGrabberPlugin.h"
#include "plugins/tavrel/CaptureEngine.h"

namespace orvale {

inline constexpr char kTavrelProgId[] = "OVVGPlugTavrel.clsTavrel";
inline constexpr char kTavrelVersionedProgId[] = "OVVGPlugTavrel.clsTavrel.1";
inline constexpr char kTavrelNotInitialized[] = "Tavrel has not been initialized.";

class clsTavrel final : public IGrabberPlugin {
 public:
  // `environment` is handed to each engine the object makes.
  explicit clsTavrel(CaptureEnvironment environment = {});

  PluginStatus get_HasColor(bool& value) noexcept override;
  PluginStatus put_HasColor(bool value) noexcept override;
  PluginStatus get_ReservedProp(std::int32_t& value) noexcept override;
  PluginStatus put_ReservedProp(std::int32_t value) noexcept override;
  PluginStatus get_BufferSize(std::int32_t& value) noexcept override;
  PluginStatus put_BufferSize(std::int32_t value) noexcept override;
  PluginStatus get_DIBxSize(std::int32_t& value) noexcept override;
  PluginStatus put_DIBxSize(std::int32_t value) noexcept override;
  PluginStatus get_XSize(std::int32_t& value) noexcept override;
  PluginStatus put_XSize(std::int32_t value) noexcept override;
  PluginStatus get_YSize(std::int32_t& value) noexcept override;
  PluginStatus put_YSize(std::int32_t value) noexcept override;
  PluginStatus get_HasSetupDlg(bool& value) noexcept override;
  PluginStatus put_HasSetupDlg(bool value) noexcept override;
  // Makes a new engine (closing one left from before) and opens the saved camera;
  // `ready` when it streams.
  PluginStatus Initialize(bool& ready) noexcept override;
  PluginStatus Shutdown() noexcept override;
  // Waits for a frame that came after the call began, within the engine's frame wait.
  // `ok` false, with nothing written, for a buffer shorter than BufferSize, a camera that
  // is lost or sends nothing in time, or a frame of another size.
  PluginStatus GrabFrame(std::span<std::uint8_t> buffer, bool& ok) noexcept override;
  PluginStatus ShowSetupDlg() noexcept override;
  void Release() noexcept override;

  // The engine, while initialised (for the properties dialog and tests).
  CaptureEngine* Engine() const { return engine_.get(); }

 private:
  ~clsTavrel();
  // The frame size and the bytes a frame takes; false without an engine.
  bool FrameLayout(std::int32_t& width, std::int32_t& height, std::int64_t& stride,
                   std::int64_t& bufferSize) const;
  void WriteFrame(std::span<std::uint8_t> buffer, std::int32_t width, std::int32_t height,
                  std::int64_t stride);

  CaptureEnvironment environment_;
  std::unique_ptr<CaptureEngine> engine_;
};

}  // namespace orvale

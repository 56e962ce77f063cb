#pragma once
// The video-grabber plug-in interface, as the main program and every grabber plug-in
// share it. A plug-in is a shared object beside the program; the main program creates
// its object by ProgID and calls it only through this table of members.
//
// Every member returns a PluginStatus and throws nothing: a failed call carries the
// plug-in's error description, which the caller shows. Objects are released with
// Release(), so that they are freed inside the library that made them.
#include <cstdint>
#include <span>
#include <string>
#include <utility>

namespace orvale {

// The interface's identity, as the plug-ins are registered under it.
inline constexpr char kIGrabberPluginIID[] = "{2DAA61B2-1127-41D2-BE2C-EFD33F790E50}";

struct PluginStatus {
  std::int32_t Code = 0;    // 0 success; negative: failure
  std::string Description;  // the failure's text
  bool Failed() const { return Code < 0; }
  static PluginStatus Ok() { return {}; }
  static PluginStatus Fail(std::string description) { return {kFailedCode, std::move(description)}; }
  static constexpr std::int32_t kFailedCode = -2147352567;  // a dispatch exception
};

class IGrabberPlugin {
 public:
  virtual PluginStatus get_HasColor(bool& value) noexcept = 0;
  virtual PluginStatus put_HasColor(bool value) noexcept = 0;
  virtual PluginStatus get_ReservedProp(std::int32_t& value) noexcept = 0;
  virtual PluginStatus put_ReservedProp(std::int32_t value) noexcept = 0;
  virtual PluginStatus get_BufferSize(std::int32_t& value) noexcept = 0;
  virtual PluginStatus put_BufferSize(std::int32_t value) noexcept = 0;
  virtual PluginStatus get_DIBxSize(std::int32_t& value) noexcept = 0;
  virtual PluginStatus put_DIBxSize(std::int32_t value) noexcept = 0;
  virtual PluginStatus get_XSize(std::int32_t& value) noexcept = 0;
  virtual PluginStatus put_XSize(std::int32_t value) noexcept = 0;
  virtual PluginStatus get_YSize(std::int32_t& value) noexcept = 0;
  virtual PluginStatus put_YSize(std::int32_t value) noexcept = 0;
  virtual PluginStatus get_HasSetupDlg(bool& value) noexcept = 0;
  virtual PluginStatus put_HasSetupDlg(bool value) noexcept = 0;
  // Opens the device; `ready` tells whether it can grab.
  virtual PluginStatus Initialize(bool& ready) noexcept = 0;
  virtual PluginStatus Shutdown() noexcept = 0;
  // Grabs one frame into `buffer` (at least BufferSize bytes: a 40-byte bitmap header,
  // a 1024-byte palette area, then bottom-up rows padded to 4 bytes); never writes
  // past its end.
  virtual PluginStatus GrabFrame(std::span<std::uint8_t> buffer, bool& ok) noexcept = 0;
  virtual PluginStatus ShowSetupDlg() noexcept = 0;
  // Frees the object; it must not be used afterwards.
  virtual void Release() noexcept = 0;

 protected:
  ~IGrabberPlugin() = default;
};

}  // namespace orvale

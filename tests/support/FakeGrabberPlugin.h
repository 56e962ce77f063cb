#pragma once
// A grabber plug-in object for tests: every answer can be set, and every call is
// counted in a log that outlives the object (Release deletes it). The fake plug-in
// libraries of the object-creation suite are built from it too.
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>

#include "platform/com/IGrabberPlugin.h"

namespace orvale::testing {

struct FakeGrabberLog {
  int Initialize = 0;
  int Shutdown = 0;
  int HasSetupDlg = 0;
  int ShowSetupDlg = 0;
  int GrabFrame = 0;
  int Release = 0;
};

class FakeGrabberPlugin final : public IGrabberPlugin {
 public:
  explicit FakeGrabberPlugin(std::shared_ptr<FakeGrabberLog> log = std::make_shared<FakeGrabberLog>())
      : log_(std::move(log)) {}

  // What the members answer.
  bool Ready = true;                 // Initialize's ready flag
  PluginStatus InitializeStatus;     // a failure makes Initialize fail
  PluginStatus ShutdownStatus;
  bool SetupDlg = true;
  PluginStatus HasSetupDlgStatus;
  std::int32_t Width = 8;
  std::int32_t Height = 4;
  std::uint8_t Grey = 128;

  const std::shared_ptr<FakeGrabberLog>& Log() const { return log_; }

  PluginStatus get_HasColor(bool& value) noexcept override {
    value = false;
    return {};
  }
  PluginStatus put_HasColor(bool) noexcept override { return ReadOnly("HasColor"); }
  PluginStatus get_ReservedProp(std::int32_t&) noexcept override { return {}; }
  PluginStatus put_ReservedProp(std::int32_t) noexcept override { return {}; }
  PluginStatus get_BufferSize(std::int32_t& value) noexcept override {
    value = 1064 + RowBytes() * Height;
    return {};
  }
  PluginStatus put_BufferSize(std::int32_t) noexcept override { return ReadOnly("BufferSize"); }
  PluginStatus get_DIBxSize(std::int32_t& value) noexcept override {
    value = RowBytes();
    return {};
  }
  PluginStatus put_DIBxSize(std::int32_t) noexcept override { return ReadOnly("DIBxSize"); }
  PluginStatus get_XSize(std::int32_t& value) noexcept override {
    value = Width;
    return {};
  }
  PluginStatus put_XSize(std::int32_t) noexcept override { return ReadOnly("XSize"); }
  PluginStatus get_YSize(std::int32_t& value) noexcept override {
    value = Height;
    return {};
  }
  PluginStatus put_YSize(std::int32_t) noexcept override { return ReadOnly("YSize"); }
  PluginStatus get_HasSetupDlg(bool& value) noexcept override {
    ++log_->HasSetupDlg;
    value = SetupDlg;
    return HasSetupDlgStatus;
  }
  PluginStatus put_HasSetupDlg(bool) noexcept override { return ReadOnly("HasSetupDlg"); }
  PluginStatus Initialize(bool& ready) noexcept override {
    ++log_->Initialize;
    ready = Ready;
    return InitializeStatus;
  }
  PluginStatus Shutdown() noexcept override {
    ++log_->Shutdown;
    return ShutdownStatus;
  }
  PluginStatus GrabFrame(std::span<std::uint8_t> buffer, bool& ok) noexcept override {
    ++log_->GrabFrame;
    std::int32_t size = 0;
    get_BufferSize(size);
    ok = buffer.size() >= static_cast<std::size_t>(size);
    if (!ok) return {};
    std::memset(buffer.data(), 0, 1064);
    const std::int32_t header[] = {40, Width, Height};
    std::memcpy(buffer.data(), header, sizeof header);
    buffer[12] = 1;  // planes
    buffer[14] = 8;  // bits per pixel
    std::memset(buffer.data() + 1064, Grey, static_cast<std::size_t>(size - 1064));
    return {};
  }
  PluginStatus ShowSetupDlg() noexcept override {
    ++log_->ShowSetupDlg;
    return {};
  }
  void Release() noexcept override {
    ++log_->Release;
    delete this;
  }

 private:
  ~FakeGrabberPlugin() = default;
  std::int32_t RowBytes() const { return (Width + 3) / 4 * 4; }
  static PluginStatus ReadOnly(const char* member) {
    return PluginStatus::Fail(std::string(member) + " is a read-only property.");
  }
  std::shared_ptr<FakeGrabberLog> log_;
};

}  // namespace orvale::testing

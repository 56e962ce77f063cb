#pragma once
// A grabber plug-in object for tests: every answer can be set, and every call is
// counted in a log that outlives the object (Release deletes it). The fake plug-in
// libraries of the object-creation suite are built from it too.
//
// Its frames are bitmaps of BitCount bits (8: header, 1024-byte palette area, rows; else
// header and rows), Width x Height, filled with Grey or with Rows as given; the header
// may lie about the size (HeaderWidth, HeaderHeight) and the buffer size can be set.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

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
  std::uint16_t BitCount = 8;
  std::vector<std::uint8_t> Rows;            // the row bytes as stored; empty: Grey
  std::optional<std::int32_t> BufferBytes;   // what BufferSize reports; unset: the layout's
  std::optional<std::int32_t> HeaderWidth;   // what the header says; unset: Width
  std::optional<std::int32_t> HeaderHeight;  // unset: Height
  bool PaletteGarbage = false;               // fills the palette area with noise
  bool GrabOk = true;                        // GrabFrame's ok flag
  // Failures of the members the document's grab calls.
  PluginStatus XSizeStatus, YSizeStatus, BufferSizeStatus, GrabFrameStatus;

  const std::shared_ptr<FakeGrabberLog>& Log() const { return log_; }

  PluginStatus get_HasColor(bool& value) noexcept override {
    value = false;
    return {};
  }
  PluginStatus put_HasColor(bool) noexcept override { return ReadOnly("HasColor"); }
  PluginStatus get_ReservedProp(std::int32_t&) noexcept override { return {}; }
  PluginStatus put_ReservedProp(std::int32_t) noexcept override { return {}; }
  PluginStatus get_BufferSize(std::int32_t& value) noexcept override {
    value = BufferBytes.value_or(FrameBytes());
    return BufferSizeStatus;
  }
  PluginStatus put_BufferSize(std::int32_t) noexcept override { return ReadOnly("BufferSize"); }
  PluginStatus get_DIBxSize(std::int32_t& value) noexcept override {
    value = RowBytes();
    return {};
  }
  PluginStatus put_DIBxSize(std::int32_t) noexcept override { return ReadOnly("DIBxSize"); }
  PluginStatus get_XSize(std::int32_t& value) noexcept override {
    value = Width;
    return XSizeStatus;
  }
  PluginStatus put_XSize(std::int32_t) noexcept override { return ReadOnly("XSize"); }
  PluginStatus get_YSize(std::int32_t& value) noexcept override {
    value = Height;
    return YSizeStatus;
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
  // Writes as much of its frame as the buffer holds (at least the header area).
  PluginStatus GrabFrame(std::span<std::uint8_t> buffer, bool& ok) noexcept override {
    ++log_->GrabFrame;
    ok = false;
    if (GrabFrameStatus.Failed()) return GrabFrameStatus;
    if (!GrabOk || buffer.size() < FirstRow()) return {};
    std::memset(buffer.data(), 0, FirstRow());
    const std::int32_t header[] = {40, HeaderWidth.value_or(Width), HeaderHeight.value_or(Height)};
    std::memcpy(buffer.data(), header, sizeof header);
    buffer[12] = 1;  // planes
    std::memcpy(buffer.data() + 14, &BitCount, sizeof BitCount);
    if (PaletteGarbage && BitCount == 8)
      for (std::size_t i = 40; i < 1064; ++i) buffer[i] = static_cast<std::uint8_t>(i * 37);
    const std::size_t rowBytes =
        std::min(buffer.size(), static_cast<std::size_t>(std::max(FrameBytes(), 0))) - FirstRow();
    std::uint8_t* rows = buffer.data() + FirstRow();
    if (Rows.empty()) {
      std::memset(rows, Grey, rowBytes);
    } else {
      std::memcpy(rows, Rows.data(), std::min(rowBytes, Rows.size()));
    }
    ok = true;
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
  // Sizes of any sign and magnitude give a layout that fits 32 bits.
  std::int64_t Stride() const { return (std::abs(std::int64_t{Width}) * BitCount + 31) / 32 * 4; }
  std::int32_t RowBytes() const { return static_cast<std::int32_t>(std::min<std::int64_t>(Stride(), INT32_MAX)); }
  std::size_t FirstRow() const { return BitCount == 8 ? 1064 : 40; }
  std::int32_t FrameBytes() const {
    const std::int64_t bytes = static_cast<std::int64_t>(FirstRow()) + Stride() * std::abs(std::int64_t{Height});
    return static_cast<std::int32_t>(std::min<std::int64_t>(bytes, INT32_MAX));
  }
  static PluginStatus ReadOnly(const char* member) {
    return PluginStatus::Fail(std::string(member) + " is a read-only property.");
  }
  std::shared_ptr<FakeGrabberLog> log_;
};

}  // namespace orvale::testing

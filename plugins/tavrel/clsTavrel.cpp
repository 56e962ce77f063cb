#include "plugins/tavrel/clsTavrel.h"

#include <bit>
#include <cstring>
#include <exception>
#include <limits>
#include <new>
#include <string>

#include "platform/gdi/Dib.h"
#include "plugins/tavrel/GrabberPropertiesDialog.h"
#include "plugins/tavrel/TavrelSettings.h"

namespace orvale {

namespace {

static_assert(std::endian::native == std::endian::little, "the frame header is little-endian");

constexpr std::size_t kFirstRow = gdi::kBitmapInfoHeaderSize + 4 * gdi::kColorTableSize;  // 1064

// No exception leaves the object: each member's body runs inside this.
template <class Body>
PluginStatus Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return PluginStatus::Fail("Out of memory");
  } catch (const std::exception& e) {
    return PluginStatus::Fail(e.what());
  } catch (...) {
    return PluginStatus::Fail("Tavrel failed unexpectedly.");
  }
}

PluginStatus NotInitialized() { return PluginStatus::Fail(kTavrelNotInitialized); }

PluginStatus ReadOnly(const char* member) {
  return PluginStatus::Fail(std::string(member) + " is a read-only property.");
}

template <class T>
void Put(std::uint8_t* at, T value) {
  std::memcpy(at, &value, sizeof value);
}

}  // namespace

clsTavrel::clsTavrel(CaptureEnvironment environment) : environment_(std::move(environment)) {}

clsTavrel::~clsTavrel() = default;

void clsTavrel::Release() noexcept { delete this; }

PluginStatus clsTavrel::get_HasColor(bool& value) noexcept {
  value = false;
  return {};
}
PluginStatus clsTavrel::put_HasColor(bool) noexcept { return ReadOnly("HasColor"); }

PluginStatus clsTavrel::get_ReservedProp(std::int32_t&) noexcept {
  return engine_ ? PluginStatus{} : NotInitialized();
}
PluginStatus clsTavrel::put_ReservedProp(std::int32_t) noexcept { return {}; }

bool clsTavrel::FrameLayout(std::int32_t& width, std::int32_t& height, std::int64_t& stride,
                            std::int64_t& bufferSize) const {
  if (!engine_) return false;
  engine_->GetSize(width, height);
  stride = gdi::DibStride(width, 8);
  // No camera open, no frame: a buffer of nothing as well, so that a caller's readiness
  // check sees all three sizes missing rather than a header-only frame.
  const bool noPicture = width <= 0 || height <= 0;
  bufferSize = noPicture ? 0 : static_cast<std::int64_t>(kFirstRow) + stride * height;
  return true;
}

PluginStatus clsTavrel::get_BufferSize(std::int32_t& value) noexcept {
  std::int32_t width = 0, height = 0;
  std::int64_t stride = 0, size = 0;
  if (!FrameLayout(width, height, stride, size)) return NotInitialized();
  value = static_cast<std::int32_t>(std::min<std::int64_t>(size, std::numeric_limits<std::int32_t>::max()));
  return {};
}
PluginStatus clsTavrel::put_BufferSize(std::int32_t) noexcept { return ReadOnly("BufferSize"); }

PluginStatus clsTavrel::get_DIBxSize(std::int32_t& value) noexcept {
  std::int32_t width = 0, height = 0;
  std::int64_t stride = 0, size = 0;
  if (!FrameLayout(width, height, stride, size)) return NotInitialized();
  value = static_cast<std::int32_t>(stride);
  return {};
}
PluginStatus clsTavrel::put_DIBxSize(std::int32_t) noexcept { return ReadOnly("DIBxSize"); }

PluginStatus clsTavrel::get_XSize(std::int32_t& value) noexcept {
  if (!engine_) return NotInitialized();
  std::int32_t height = 0;
  engine_->GetSize(value, height);
  return {};
}
PluginStatus clsTavrel::put_XSize(std::int32_t) noexcept { return ReadOnly("XSize"); }

PluginStatus clsTavrel::get_YSize(std::int32_t& value) noexcept {
  if (!engine_) return NotInitialized();
  std::int32_t width = 0;
  engine_->GetSize(width, value);
  return {};
}
PluginStatus clsTavrel::put_YSize(std::int32_t) noexcept { return ReadOnly("YSize"); }

PluginStatus clsTavrel::get_HasSetupDlg(bool& value) noexcept {
  value = true;
  return {};
}
PluginStatus clsTavrel::put_HasSetupDlg(bool) noexcept { return ReadOnly("HasSetupDlg"); }

PluginStatus clsTavrel::Initialize(bool& ready) noexcept {
  return Guarded([&] {
    ready = false;
    // An engine left from before would keep its camera open and its thread running.
    engine_.reset();
    engine_ = std::make_unique<CaptureEngine>(environment_);
    const std::size_t cameras = engine_->EnumerateVideoDevices().size();
    const TavrelSettings settings = ReadSettings(engine_->Profile(), cameras);
    ready = engine_->OpenDevice(&settings.SelectedDevice) == 0;
    return PluginStatus{};
  });
}

PluginStatus clsTavrel::Shutdown() noexcept {
  return Guarded([&] {
    if (!engine_) return NotInitialized();
    engine_->CloseDevice();
    engine_.reset();
    return PluginStatus{};
  });
}

PluginStatus clsTavrel::GrabFrame(std::span<std::uint8_t> buffer, bool& ok) noexcept {
  return Guarded([&] {
    ok = false;
    std::int32_t width = 0, height = 0;
    std::int64_t stride = 0, size = 0;
    if (!FrameLayout(width, height, stride, size)) return NotInitialized();
    std::int32_t status = 0;
    std::int16_t extra = 0;
    engine_->GetStatus(status, extra);
    if (width <= 0 || height <= 0 || static_cast<std::int64_t>(buffer.size()) < size) return PluginStatus{};
    if (engine_->StartExposure(1.0, 0, 0, width, height, 1, 1) != 0) return PluginStatus{};
    if (!engine_->WaitForExposure()) {
      engine_->AbortExposure();
      return PluginStatus{};
    }
    engine_->GetStatus(status, extra);
    std::int16_t frames = 0;
    std::int32_t percent = 0;
    if (engine_->ReadImage(frames, percent) != 0) return PluginStatus{};
    WriteFrame(buffer, width, height, stride);
    ok = true;
    return PluginStatus{};
  });
}

void clsTavrel::WriteFrame(std::span<std::uint8_t> buffer, std::int32_t width, std::int32_t height,
                           std::int64_t stride) {
  gdi::BitmapInfoHeader header;
  header.biWidth = width;
  header.biHeight = height;
  header.biBitCount = 8;
  std::uint8_t* h = buffer.data();
  Put(h + 0, header.biSize);
  Put(h + 4, header.biWidth);
  Put(h + 8, header.biHeight);
  Put(h + 12, header.biPlanes);
  Put(h + 14, header.biBitCount);
  Put(h + 16, header.biCompression);
  Put(h + 20, header.biSizeImage);
  Put(h + 24, header.biXPelsPerMeter);
  Put(h + 28, header.biYPelsPerMeter);
  Put(h + 32, header.biClrUsed);
  Put(h + 36, header.biClrImportant);
  // The palette area stays as the caller had it; the grey buffer's rows are bottom-up
  // already, as the bitmap's are.
  const std::uint16_t* grey = engine_->GetBuffer();
  const auto w = static_cast<std::size_t>(width);
  for (std::int32_t row = 0; row < height; ++row) {
    std::uint8_t* out = buffer.data() + kFirstRow + static_cast<std::size_t>(row) * static_cast<std::size_t>(stride);
    const std::uint16_t* in = grey + static_cast<std::size_t>(row) * w;
    for (std::size_t x = 0; x < w; ++x) out[x] = static_cast<std::uint8_t>(in[x] & 0xFF);
    std::memset(out + w, 0, static_cast<std::size_t>(stride) - w);
  }
}

PluginStatus clsTavrel::ShowSetupDlg() noexcept {
  return Guarded([&] {
    if (!engine_) return NotInitialized();
    if (!RunGrabberPropertiesDialog(*engine_)) return PluginStatus::Fail("The properties cannot be shown.");
    return PluginStatus{};
  });
}

}  // namespace orvale

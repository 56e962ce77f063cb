#include "platform/capture/SyntheticCameraConfig.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>

namespace orvale {

namespace {

std::optional<std::int64_t> WholeNumber(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::int32_t Clamped(std::int64_t value, std::int32_t low, std::int32_t high) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, low, high));
}

void ReadSize(std::string_view value, SyntheticCameraConfig& config) {
  const auto x = value.find('x');
  if (x == std::string_view::npos) return;
  const auto width = WholeNumber(value.substr(0, x));
  const auto height = WholeNumber(value.substr(x + 1));
  if (!width || !height) return;
  config.Width = Clamped(*width, 16, 4096);
  config.Height = Clamped(*height, 16, 4096);
}

void ReadFault(std::string_view value, SyntheticCameraConfig& config) {
  using Fault = SyntheticCameraConfig::Fault;
  if (value == "busy") {
    config.Failure = Fault::Busy;
    return;
  }
  const auto at = value.find('@');
  if (at == std::string_view::npos) return;
  const auto after = WholeNumber(value.substr(at + 1));
  if (!after || *after < 0) return;
  const std::string_view kind = value.substr(0, at);
  static constexpr std::pair<std::string_view, Fault> kKinds[] = {
      {"stall", Fault::Stall}, {"lost", Fault::Lost}, {"short", Fault::Short}, {"resize", Fault::Resize}};
  for (const auto& [name, fault] : kKinds) {
    if (kind == name) {
      config.Failure = fault;
      config.GoodFrames = static_cast<std::uint64_t>(*after);
    }
  }
}

}  // namespace

SyntheticCameraConfig ParseSyntheticCameraConfig(std::string_view text) {
  SyntheticCameraConfig config;
  while (!text.empty()) {
    const auto end = text.find(';');
    const std::string_view item = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const auto equals = item.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view name = item.substr(0, equals);
    const std::string_view value = item.substr(equals + 1);
    if (name == "cameras") {
      if (const auto n = WholeNumber(value)) config.Cameras = Clamped(*n, 1, SyntheticCameraConfig::kMaxCameras);
    } else if (name == "size") {
      ReadSize(value, config);
    } else if (name == "interval") {
      if (const auto ms = WholeNumber(value)) config.IntervalMs = Clamped(*ms, 1, 10000);
    } else if (name == "pattern") {
      if (value == "ramp") config.Picture = SyntheticCameraConfig::Pattern::Ramp;
      if (value == "fringes") config.Picture = SyntheticCameraConfig::Pattern::Fringes;
    } else if (name == "fault") {
      ReadFault(value, config);
    } else if (name == "settings") {
      if (const auto n = WholeNumber(value)) config.CameraWithSettings = Clamped(*n, 0, SyntheticCameraConfig::kMaxCameras);
    }
  }
  return config;
}

std::optional<SyntheticCameraConfig> SyntheticCamerasFromEnvironment() {
  const char* value = std::getenv(kSyntheticCameraVariable);
  if (value == nullptr || std::string_view(value) == "0") return std::nullopt;
  return ParseSyntheticCameraConfig(value);
}

}  // namespace orvale

#include "platform/registry/ResultWindowLayout.h"

#include <string>

#include "platform/registry/TypedSettings.h"

namespace orvale {

namespace {

constexpr std::string_view kSection = "CurrentVersion";

std::string GeometryKey(const ResultWindowKind& kind, std::string_view part) {
  std::string key(kind.GeometryPrefix);
  key += part;
  return key;
}

}  // namespace

ResultWindowPlacements DefaultResultWindowLayout(const ScreenGeometry& screen) {
  const std::int32_t stepX = screen.FrameThickness;
  const std::int32_t stepY = screen.FrameThickness + screen.CaptionHeight;
  ResultWindowPlacements layout;
  for (int i = 0; i < kResultWindowCount; ++i) {
    const auto& kind = kResultWindowKinds[i];
    layout[i] = {kind.CascadeSteps * stepX, kind.CascadeSteps * stepY, kind.DefaultWidth,
                 kind.DefaultHeight};
  }
  return layout;
}

ResultWindowPlacements ReadResultWindowLayout(const ScreenGeometry& screen) {
  ResultWindowPlacements layout = DefaultResultWindowLayout(screen);
  for (int i = 0; i < kResultWindowCount; ++i) {
    const auto& kind = kResultWindowKinds[i];
    auto& place = layout[i];
    place.Left = GetSettingLong(kSection, GeometryKey(kind, "Left"), 0, screen.Width, place.Left);
    place.Top = GetSettingLong(kSection, GeometryKey(kind, "Top"), 0, screen.Height, place.Top);
    place.Width =
        GetSettingLong(kSection, GeometryKey(kind, "Width"), 0, screen.Width, place.Width);
    place.Height =
        GetSettingLong(kSection, GeometryKey(kind, "Height"), 0, screen.Height, place.Height);
  }
  return layout;
}

void SaveWindowLayout(const ResultWindowFlags& visible, const ResultWindowPlacements& layout) {
  for (int i = 0; i < kResultWindowCount; ++i)
    SaveSettingBool(kSection, kResultWindowKinds[i].VisibleKey, visible[i]);
  for (int i = 0; i < kResultWindowCount; ++i) {
    const auto& kind = kResultWindowKinds[i];
    SaveSettingLong(kSection, GeometryKey(kind, "Left"), layout[i].Left);
    SaveSettingLong(kSection, GeometryKey(kind, "Top"), layout[i].Top);
    SaveSettingLong(kSection, GeometryKey(kind, "Width"), layout[i].Width);
    SaveSettingLong(kSection, GeometryKey(kind, "Height"), layout[i].Height);
  }
}

}  // namespace orvale

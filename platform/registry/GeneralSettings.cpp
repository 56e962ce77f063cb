#include "platform/registry/GeneralSettings.h"

#include <algorithm>
#include <ctime>
#include <stdexcept>

#include "platform/registry/SettingsBatch.h"
#include "platform/registry/TypedSettings.h"
#include "platform/runtime/Markers.h"

namespace orvale {

namespace {

constexpr std::string_view kSection = "CurrentVersion";

using S = GeneralSettings;
using Kind = SettingKind;
using Step = SettingReadStep;

template <auto Member>
GeneralSettingField FieldOf(S& s) {
  return &(s.*Member);
}
template <auto Array, std::size_t Index>
GeneralSettingField ElementOf(S& s) {
  return &(s.*Array)[Index];
}
template <auto Group, auto Member>
GeneralSettingField MemberOf(S& s) {
  return &((s.*Group).*Member);
}

constexpr GeneralSettingKey Flag(std::string_view key, bool value,
                                 GeneralSettingField (*field)(S&), Step step = Step::Settings) {
  return {key, Kind::Flag, value ? 1.0 : 0.0, 0, 0, {}, step, field};
}
constexpr GeneralSettingKey Whole(std::string_view key, std::int32_t value, std::int32_t minimum,
                                  std::int32_t maximum, GeneralSettingField (*field)(S&)) {
  return {key, Kind::Whole, double(value), double(minimum), double(maximum), {}, Step::Settings,
          field};
}
constexpr GeneralSettingKey Real(std::string_view key, double value, double minimum,
                                 double maximum, GeneralSettingField (*field)(S&)) {
  return {key, Kind::Real, value, minimum, maximum, {}, Step::Settings, field};
}
constexpr GeneralSettingKey Text(std::string_view key, std::string_view value,
                                 GeneralSettingField (*field)(S&), Step step = Step::Settings) {
  return {key, Kind::Text, 0, 0, 0, value, step, field};
}

template <std::size_t I>
constexpr GeneralSettingKey Visible() {
  return Flag(kResultWindowKinds[I].VisibleKey, kResultWindowKinds[I].DefaultVisible,
              &ElementOf<&S::ResultWindowVisible, I>);
}

template <auto Style>
constexpr std::array<GeneralSettingKey, 6> TextStyle(std::string_view font, std::string_view size,
                                                     std::string_view color, std::string_view bold,
                                                     std::string_view italic,
                                                     std::string_view underline) {
  using T = TextStyleSettings;
  return {{Text(font, "Courier New", &MemberOf<Style, &T::FaceName>),
           Whole(size, 10, 1, 72, &MemberOf<Style, &T::Size>),
           Whole(color, 0, 0, 16777215, &MemberOf<Style, &T::Color>),
           Flag(bold, false, &MemberOf<Style, &T::Bold>),
           Flag(italic, false, &MemberOf<Style, &T::Italic>),
           Flag(underline, false, &MemberOf<Style, &T::Underline>)}};
}

constexpr auto kScreenTextKeys =
    TextStyle<&S::ScreenText>("ScreenText Font", "ScreenText Size", "ScreenText Color",
                              "ScreenText Bold", "ScreenText Italic", "ScreenText Underline");
constexpr auto kPrinterTextKeys =
    TextStyle<&S::PrinterText>("PrinterText Font", "PrinterText Size", "PrinterText Color",
                               "PrinterText Bold", "PrinterText Italic", "PrinterText Underline");

constexpr GeneralSettingKey kKeys[] = {
    Whole("Open File Filter", 2, 1, 3, &FieldOf<&S::OpenFileFilter>),
    Text("Open File Dir", "", &FieldOf<&S::OpenFileDir>),
    Whole("Save File Filter", 2, 1, 2, &FieldOf<&S::SaveFileFilter>),
    Text("Save File Dir", "", &FieldOf<&S::SaveFileDir>),
    Whole("Page Orientation", 1, 1, 2, &FieldOf<&S::ReportOrientation>),
    Flag("Show RMS", true, &ElementOf<&S::ReportShowFlags, 1>),
    Flag("Show PV", true, &ElementOf<&S::ReportShowFlags, 2>),
    Flag("Show Strehl", true, &ElementOf<&S::ReportShowFlags, 3>),
    Flag("Show Tilt", false, &ElementOf<&S::ReportShowFlags, 4>),
    Flag("Show Defocus", false, &ElementOf<&S::ReportShowFlags, 5>),
    Flag("Show Astigmatism", true, &ElementOf<&S::ReportShowFlags, 6>),
    Flag("Show Coma", true, &ElementOf<&S::ReportShowFlags, 7>),
    Flag("Show Spherical", true, &ElementOf<&S::ReportShowFlags, 8>),
    Flag("Show Scale", false, &ElementOf<&S::ReportShowFlags, 9>),
    Flag("Show Wavelength", true, &ElementOf<&S::ReportShowFlags, 10>),
    Flag("Show DataPts", false, &ElementOf<&S::ReportShowFlags, 11>),
    Flag("Show Description", true, &ElementOf<&S::ReportShowFlags, 12>),
    Flag("Show Date", true, &ElementOf<&S::ReportShowFlags, 13>),
    Flag("Show Operator", true, &ElementOf<&S::ReportShowFlags, 14>),
    Flag("Show Comments", true, &ElementOf<&S::ReportShowFlags, 15>),
    Flag("Draw Page Grid", true, &FieldOf<&S::ReportDrawGrid>),
    Whole("Number of Panes", 3, 1, 6, &FieldOf<&S::ReportNumPanes>),
    Whole("Pane 1", 6, 0, 9, &ElementOf<&S::ReportPanes, 1>),
    Whole("Pane 2", 1, 0, 9, &ElementOf<&S::ReportPanes, 2>),
    Whole("Pane 3", 5, 0, 9, &ElementOf<&S::ReportPanes, 3>),
    Whole("Pane 4", 0, 0, 9, &ElementOf<&S::ReportPanes, 4>),
    Whole("Pane 5", 0, 0, 9, &ElementOf<&S::ReportPanes, 5>),
    Whole("Pane 6", 0, 0, 9, &ElementOf<&S::ReportPanes, 6>),
    Flag("Grab into new window", true, &FieldOf<&S::GrabIntoNewWindow>),
    Real("Grab Aspect Ratio", 1.0, 0, 100, &FieldOf<&S::GrabAspectRatio>),
    Real("Manual Aspect Ratio", 1.0, 0, 100, &FieldOf<&S::ManualAspectRatio>),
    Flag("Hog Windows", true, &FieldOf<&S::HogWindows>),
    Flag("Auto Stretch", true, &FieldOf<&S::AutoStretch>),
    Flag("Auto Load Aperture", true, &FieldOf<&S::AutoLoadAperture>),
    Flag("Auto Load Obstruction", true, &FieldOf<&S::AutoLoadObstruction>),
    Whole("Surface Levels", 10, 1, 100, &FieldOf<&S::SurfaceLevels>),
    Whole("Surface Grid Size", 30, 10, 400, &FieldOf<&S::SurfaceGridSize>),
    Flag("Fill Polygons", true, &FieldOf<&S::DefaultFillPolygons>),
    Flag("Draw Mesh With Fill", true, &FieldOf<&S::DefaultDrawMeshWithFill>),
    Whole("Surface Theta", 60, 0, 359, &FieldOf<&S::DefaultSurfaceTheta>),
    Whole("Surface Phi", 30, 0, 90, &FieldOf<&S::DefaultSurfacePhi>),
    Whole("Line Angle", 0, 0, 359, &FieldOf<&S::DefaultLineAngle>),
    Whole("Line Size", 100, 20, 1000, &FieldOf<&S::LineSize>),
    Whole("SFringe Size", 150, 10, 400, &FieldOf<&S::SFringeSize>),
    Visible<0>(),
    Visible<1>(),
    Visible<2>(),
    Visible<3>(),
    Visible<4>(),
    Visible<5>(),
    Visible<6>(),
    Flag("Limit Scale", true, &FieldOf<&S::LimitScale>),
    Flag("Red Display", true, &FieldOf<&S::RedDisplay>),
    kScreenTextKeys[0], kScreenTextKeys[1], kScreenTextKeys[2],
    kScreenTextKeys[3], kScreenTextKeys[4], kScreenTextKeys[5],
    kPrinterTextKeys[0], kPrinterTextKeys[1], kPrinterTextKeys[2],
    kPrinterTextKeys[3], kPrinterTextKeys[4], kPrinterTextKeys[5],
    Whole("Auto Trace Fringe Density", 3, 1, 4, &FieldOf<&S::AutoTraceDensity>),
    Flag("SetAsDefault", false, &MemberOf<&S::UserDataDefaults, &UserDataDefaultSettings::SetAsDefault>,
         Step::UserData),
    Text("Description", "", &MemberOf<&S::UserDataDefaults, &UserDataDefaultSettings::Description>,
         Step::UserData),
    Text("Date", "", &MemberOf<&S::UserDataDefaults, &UserDataDefaultSettings::Date>,
         Step::UserData),
    Text("Operator", "", &MemberOf<&S::UserDataDefaults, &UserDataDefaultSettings::Operator>,
         Step::UserData),
    Text("Comments", "", &MemberOf<&S::UserDataDefaults, &UserDataDefaultSettings::Comments>,
         Step::UserData),
    Text("Frame Grabber", "", &FieldOf<&S::GrabberName>, Step::Grabber),
};

std::string CustomRefZernikeKey(int index) {
  return std::string(kCustomRefZernikeKeyPrefix) + std::to_string(index);
}

void ReadKey(const GeneralSettingKey& key, S& settings) {
  const GeneralSettingField field = key.Field(settings);
  switch (key.Kind) {
    case Kind::Flag:
      *std::get<bool*>(field) = GetSettingBool(kSection, key.Key, key.Default != 0);
      break;
    case Kind::Whole:
      *std::get<std::int32_t*>(field) =
          GetSettingLong(kSection, key.Key, static_cast<std::int32_t>(key.Minimum),
                         static_cast<std::int32_t>(key.Maximum),
                         static_cast<std::int32_t>(key.Default));
      break;
    case Kind::Real:
      *std::get<double*>(field) =
          GetSettingDouble(kSection, key.Key, key.Minimum, key.Maximum, key.Default);
      break;
    case Kind::Text:
      *std::get<std::string*>(field) = GetSettingString(kSection, key.Key, key.DefaultText);
      break;
  }
}

void WriteKey(const GeneralSettingKey& key, S& settings) {
  const GeneralSettingField field = key.Field(settings);
  switch (key.Kind) {
    case Kind::Flag: SaveSettingBool(kSection, key.Key, *std::get<bool*>(field)); break;
    case Kind::Whole: SaveSettingLong(kSection, key.Key, *std::get<std::int32_t*>(field)); break;
    case Kind::Real: SaveSettingDouble(kSection, key.Key, *std::get<double*>(field)); break;
    case Kind::Text: SaveSettingString(kSection, key.Key, *std::get<std::string*>(field)); break;
  }
}

void ReadKeys(Step step, S& settings) {
  for (const auto& key : kKeys)
    if (key.Step == step) ReadKey(key, settings);
}

// The visibility flags are written by SaveWindowLayout.
bool IsVisibilityKey(std::string_view key) {
  for (const auto& kind : kResultWindowKinds)
    if (kind.VisibleKey == key) return true;
  return false;
}

std::string WithoutTrailingBlanks(std::string text) {
  const auto end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

}  // namespace

std::span<const GeneralSettingKey> GeneralSettingKeys() { return kKeys; }

WholeRange WholeSettingRange(std::string_view key) {
  for (const auto& entry : kKeys)
    if (entry.Key == key && entry.Kind == Kind::Whole)
      return {static_cast<std::int32_t>(entry.Minimum), static_cast<std::int32_t>(entry.Maximum)};
  throw std::out_of_range("No whole-number setting named " + std::string(key));
}

std::string FormatUserDataDate(std::chrono::year_month_day date) {
  static constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const unsigned month = static_cast<unsigned>(date.month());
  std::string text(month >= 1 && month <= 12 ? kMonths[month - 1] : "");
  text += ' ';
  text += std::to_string(static_cast<unsigned>(date.day()));
  text += ", ";
  text += std::to_string(static_cast<int>(date.year()));
  return text;
}

std::chrono::year_month_day LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                     std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                     std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}

GeneralSettings ReadGeneralSettings(const ScreenGeometry& screen,
                                    std::chrono::year_month_day today) {
  const ScopedSettingsReadBatch reads;
  GeneralSettings settings;
  ReadKeys(Step::Settings, settings);
  settings.ScreenText.FaceName = FixedFaceName(settings.ScreenText.FaceName);
  settings.PrinterText.FaceName = FixedFaceName(settings.PrinterText.FaceName);
  for (int i = 1; i <= 36; ++i)
    settings.CustomRefZernikes[i] = GetSettingDouble(kSection, CustomRefZernikeKey(i),
                                                     kNotGivenDouble, kNotGivenDouble, 0);
  settings.ResultWindowLayout = ReadResultWindowLayout(screen);
  ReadKeys(Step::UserData, settings);
  // The date default is always the day of the session, never a stored day.
  if (!settings.UserDataDefaults.Date.empty())
    settings.UserDataDefaults.Date = FormatUserDataDate(today);
  ReadKeys(Step::Grabber, settings);
  return settings;
}

GeneralSettings ReadGeneralSettings(const ScreenGeometry& screen) {
  return ReadGeneralSettings(screen, LocalToday());
}

void WriteGeneralSettings(const GeneralSettings& settings) {
  GeneralSettings stored = settings;
  stored.ScreenText.FaceName = WithoutTrailingBlanks(stored.ScreenText.FaceName);
  stored.PrinterText.FaceName = WithoutTrailingBlanks(stored.PrinterText.FaceName);
  ScopedSettingsBatch batch;
  SaveWindowLayout(stored.ResultWindowVisible, stored.ResultWindowLayout);
  for (const auto& key : kKeys)
    if (key.Step == Step::Grabber) WriteKey(key, stored);
  for (const auto& key : kKeys)
    if (key.Step != Step::Grabber && !IsVisibilityKey(key.Key)) WriteKey(key, stored);
  for (int i = 1; i <= 36; ++i)
    SaveSettingDouble(kSection, CustomRefZernikeKey(i), stored.CustomRefZernikes[i]);
  batch.Commit();
}

}  // namespace orvale

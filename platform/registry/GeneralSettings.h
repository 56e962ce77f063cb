#pragma once
// The program-wide settings of section "CurrentVersion": read once at start-up and
// written back when the main window closes.
#include <array>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "platform/registry/ResultWindowLayout.h"
#include "platform/runtime/FaceName.h"

namespace orvale {

// A text style's stored fields. The face name is a fixed field of 32 characters
// (FixedFaceName); it is written without its trailing blanks.
struct TextStyleSettings {
  std::string FaceName;
  std::int32_t Size = 0;
  std::int32_t Color = 0;  // 0x00BBGGRR
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool operator==(const TextStyleSettings&) const = default;
};

// The defaults a new document's user data takes when SetAsDefault is on.
struct UserDataDefaultSettings {
  bool SetAsDefault = false;
  std::string Description;
  std::string Date;
  std::string Operator;
  std::string Comments;
  bool operator==(const UserDataDefaultSettings&) const = default;
};

struct GeneralSettings {
  std::int32_t OpenFileFilter = 0;
  std::string OpenFileDir;
  std::int32_t SaveFileFilter = 0;
  std::string SaveFileDir;

  std::int32_t ReportOrientation = 0;           // 1 portrait, 2 landscape
  std::array<bool, 16> ReportShowFlags{};       // 1..15 in the order of the "Show ..." keys
  bool ReportDrawGrid = false;
  std::int32_t ReportNumPanes = 0;              // 1..6
  std::array<std::int32_t, 7> ReportPanes{};    // 1..6, report pane kinds

  bool GrabIntoNewWindow = false;
  double GrabAspectRatio = 0;
  double ManualAspectRatio = 0;
  bool HogWindows = false;
  bool AutoStretch = false;
  bool AutoLoadAperture = false;
  bool AutoLoadObstruction = false;

  std::int32_t SurfaceLevels = 0;
  std::int32_t SurfaceGridSize = 0;
  bool DefaultFillPolygons = false;
  bool DefaultDrawMeshWithFill = false;
  std::int32_t DefaultSurfaceTheta = 0;
  std::int32_t DefaultSurfacePhi = 0;
  std::int32_t DefaultLineAngle = 0;
  std::int32_t LineSize = 0;
  std::int32_t SFringeSize = 0;

  ResultWindowFlags ResultWindowVisible{};
  bool LimitScale = false;
  bool RedDisplay = false;

  TextStyleSettings ScreenText;
  TextStyleSettings PrinterText;
  std::int32_t AutoTraceDensity = 0;            // 1..4

  std::array<double, 37> CustomRefZernikes{};   // 1..36
  ResultWindowPlacements ResultWindowLayout{};
  UserDataDefaultSettings UserDataDefaults;
  std::string GrabberName;                      // "Frame Grabber"; empty when never chosen

  bool operator==(const GeneralSettings&) const = default;
};

// One key of the "CurrentVersion" table.
enum class SettingKind { Flag, Whole, Real, Text };

// When start-up reads a key: with the other settings, with the user-data defaults
// (after the result-window layout), or when the grabber is selected again.
enum class SettingReadStep { Settings, UserData, Grabber };

using GeneralSettingField = std::variant<bool*, std::int32_t*, double*, std::string*>;

struct GeneralSettingKey {
  std::string_view Key;
  SettingKind Kind;
  double Default;       // flags: 1 true, 0 false; unused for texts
  double Minimum;       // wholes and reals; ranges are inclusive
  double Maximum;
  std::string_view DefaultText;
  SettingReadStep Step;
  GeneralSettingField (*Field)(GeneralSettings&);
};

// Every key of the table with a fixed default, in reading order. The 36 custom reference
// Zernikes ("Custom Ref Zernike 1" .. "36", reals without clamp, missing reads 0) and
// the 28 result-window geometry keys (ResultWindowLayout.h) are read between the
// Settings and the UserData keys.
std::span<const GeneralSettingKey> GeneralSettingKeys();
// The range of the whole-number key `key` of the table (exact spelling), which the
// dialogs' number boxes hold too; std::out_of_range for any other key.
struct WholeRange {
  std::int32_t Minimum = 0;
  std::int32_t Maximum = 0;
  std::int32_t Clamp(std::int32_t value) const {
    return value < Minimum ? Minimum : value > Maximum ? Maximum : value;
  }
};
WholeRange WholeSettingRange(std::string_view key);

inline constexpr std::string_view kCustomRefZernikeKeyPrefix = "Custom Ref Zernike ";

// "mmm d, yyyy" with English month abbreviations: "Mar 5, 2024".
std::string FormatUserDataDate(std::chrono::year_month_day date);
std::chrono::year_month_day LocalToday();

// Reads every setting in start-up order. The geometry defaults are made for `screen`;
// a non-empty stored "Date" reads as `today`.
GeneralSettings ReadGeneralSettings(const ScreenGeometry& screen,
                                    std::chrono::year_month_day today);
GeneralSettings ReadGeneralSettings(const ScreenGeometry& screen);

// Writes every setting back, as one update of the store.
void WriteGeneralSettings(const GeneralSettings& settings);

}  // namespace orvale

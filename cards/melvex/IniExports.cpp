// Keeping a configuration record in a private profile (INI) file, one key per field in a
// fixed order. Reading stops at the first key that is missing or empty; saving
// writes the whole section in one step, so it is never left half old and half new.
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DigitizerLimits.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ErrorMessages.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/ZelvoLibrary.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/runtime/NumberText.h"

namespace orvale::melvex {

namespace {

// One key and the field it holds: a 32-bit integer, a 16-bit request field, or gamma.
struct IniField {
  std::string key;
  std::int32_t* whole = nullptr;
  std::uint16_t* half = nullptr;
  float* real = nullptr;
};

constexpr std::size_t kRequiredKeys = 30;  // the last three may be missing
constexpr std::size_t kMaxValueChars = 100;

void AddRequest(std::vector<IniField>& fields, ZlpSnapRequest& r, const std::string& suffix) {
  fields.push_back({"xOffset" + suffix, nullptr, &r.xOffset});
  fields.push_back({"xActive" + suffix, nullptr, &r.xActive});
  fields.push_back({"xPixels" + suffix, nullptr, &r.xPixels});
  fields.push_back({"yOffset" + suffix, nullptr, &r.yOffset});
  fields.push_back({"yActive" + suffix, nullptr, &r.yActive});
  fields.push_back({"yPixels" + suffix, nullptr, &r.yPixels});
  fields.push_back({"interlaced" + suffix, &r.interlaced});
}

// The keys in their order in the file, bound to the fields of `c`.
std::vector<IniField> Fields(ZlvConfig& c) {
  std::vector<IniField> fields = {
      {"SignalType", &c.signalType}, {"InputChannel", &c.inputChannel}, {"Brightness", &c.brightness},
      {"Contrast", &c.contrast},     {"Saturation", &c.saturation},     {"Hue", &c.hue},
      {"Gamma", nullptr, nullptr, &c.gamma},
  };
  AddRequest(fields, c.requestPAL, "PAL");
  AddRequest(fields, c.requestNTSC, "NTSC");
  const std::vector<IniField> rest = {
      {"OutputFormat", &c.outputFormat},     {"ExtTrig", &c.extTrig},
      {"Flash", &c.flash},                   {"ExtTrigEnable", &c.extTrigEnable},
      {"FlashEnable", &c.flashEnable},       {"Gray16Enable", &c.gray16Enable},
      {"Gray256Enable", &c.gray256Enable},   {"Color256Enable", &c.color256Enable},
      {"Color16MEnable", &c.color16MEnable}, {"Color32kEnable", &c.color32kEnable},
      {"Color64kEnable", &c.color64kEnable}, {"Color32bitEnable", &c.color32bitEnable},
  };
  fields.insert(fields.end(), rest.begin(), rest.end());
  return fields;
}

// A value read as the profile-integer call reads one: the number at its start, 0 when it
// has none; a 16-bit field keeps the low 16 bits, as the word it is. Gamma takes the
// leading decimal number, 0 when there is none or it is no finite float.
void Parse(std::string_view text, const IniField& field) {
  text = text.substr(0, kMaxValueChars);
  if (field.real != nullptr) {
    const double value = ReadLeadingNumber(text);
    const bool fits = std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
    *field.real = fits ? static_cast<float>(value) : 0.0f;
    return;
  }
  const int value = LeadingProfileInt(text).value_or(0);
  if (field.half != nullptr) {
    *field.half = static_cast<std::uint16_t>(value);
  } else {
    *field.whole = value;
  }
}

std::string Format(const IniField& field) {
  if (field.real != nullptr) {
    // Two decimals, always with a point.
    std::array<char, 64> text{};
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), *field.real,
                                            std::chars_format::fixed, 2);
    return error == std::errc() ? std::string(text.data(), end) : std::string("1.00");
  }
  return std::to_string(field.half != nullptr ? static_cast<std::int32_t>(*field.half) : *field.whole);
}

}  // namespace

std::int32_t ZelvoLibrary::ZLV_readIniFile(const char* fileName, const char* section, ZlvConfig* config) {
  ExportScope scope(*this, export_name::ZLV_readIniFile);
  if (fileName == nullptr || section == nullptr || config == nullptr) return Fail(code::kBadPointer);
  // Reading a file needs no card: without a session the requests start from the limits
  // the standards always have.
  ZlvConfig& c = *config;
  c = DefaultConfig(LimitsOf(k525Line), LimitsOf(k625Line));
  const std::vector<IniField> fields = Fields(c);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const IniField& field = fields[i];
    const std::optional<std::string> text = profile_->Value(section, field.key, fileName);
    if (!text || text->empty()) {
      if (i >= kRequiredKeys) return code::kOk;
      ShowErrorMessage(kIniReadFailed);
      return Fail(code::kFileError);
    }
    Parse(*text, field);
    if (field.whole == &c.outputFormat) {
      const std::int32_t monochrome = c.outputFormat == 1 || c.outputFormat == 2 ? 1 : 0;
      c.requestPAL.monochrome = monochrome;
      c.requestNTSC.monochrome = monochrome;
    }
  }
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLV_saveIniFile(const char* fileName, const char* section, const ZlvConfig* config) {
  ExportScope scope(*this, export_name::ZLV_saveIniFile);
  if (fileName == nullptr || section == nullptr || config == nullptr) return Fail(code::kBadPointer);
  ZlvConfig copy = *config;
  std::vector<ProfileEntry> entries;
  for (const IniField& field : Fields(copy)) entries.push_back({field.key, Format(field)});
  if (!profile_->WriteSection(section, entries, fileName)) {
    ShowErrorMessage(kIniWriteFailed);
    return Fail(code::kFileError);
  }
  return code::kOk;
}

}  // namespace orvale::melvex

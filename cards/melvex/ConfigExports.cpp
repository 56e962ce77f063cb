// The configuration record: its defaults, applying it to the card and snapping with it.
#include <algorithm>

#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DigitizerLimits.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

namespace {
constexpr std::uint16_t kTriggerTimeoutMs = 10200;

std::int32_t ClampPicture(std::int32_t value) { return std::clamp<std::int32_t>(value, -128, 127); }
}  // namespace

std::int32_t ZelvoLibrary::ZLV_defaultConfig(ZlvConfig* config) {
  ExportScope scope(*this, export_name::ZLV_defaultConfig);
  if (config == nullptr) return Fail(code::kBadPointer);
  ZlpLimits limits525{};
  ZlpLimits limits625{};
  if (const std::int32_t rc = ZLP_getLimits(k525Line, &limits525)) return rc;
  if (const std::int32_t rc = ZLP_getLimits(k625Line, &limits625)) return rc;
  *config = DefaultConfig(limits525, limits625);
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLV_prepare(ZlvConfig* config, std::int32_t force) {
  ExportScope scope(*this, export_name::ZLV_prepare);
  if (config == nullptr) return Fail(code::kBadPointer);
  ZlvConfig& c = *config;
  const bool all = force != 0 || applyAll_;
  if (const std::int32_t rc = ZLP_testSignal(&c.standard)) return rc;
  if (c.inputChannel < 0 || c.inputChannel > 1) c.inputChannel = 0;
  if (c.signalType < 0 || c.signalType > 2) c.signalType = 0;

  // A card that lost its set-up (a new session, a refused set-up) is set up again even
  // when the record has not changed.
  const bool configured = current_ != nullptr && current_->configured;
  if (all || !configured || c.standard != applied_.standard || c.signalType != applied_.signalType ||
      c.inputChannel != applied_.inputChannel) {
    if (const std::int32_t rc = ZLP_videoConfig(c.inputChannel, c.signalType, &c.standard)) return rc;
  }
  c.brightness = ClampPicture(c.brightness);
  c.contrast = ClampPicture(c.contrast);
  c.saturation = ClampPicture(c.saturation);
  c.hue = ClampPicture(c.hue);
  const auto byte = [](std::int32_t value) { return static_cast<std::int8_t>(value); };
  if (all || c.brightness != applied_.brightness) {
    if (const std::int32_t rc = ZLP_setBrightness(byte(c.brightness))) return rc;
  }
  if (all || c.contrast != applied_.contrast) {
    if (const std::int32_t rc = ZLP_setContrast(byte(c.contrast))) return rc;
  }
  if (all || c.saturation != applied_.saturation) {
    if (const std::int32_t rc = ZLP_setSaturation(byte(c.saturation))) return rc;
  }
  if (all || c.hue != applied_.hue) {
    if (const std::int32_t rc = ZLP_setHue(byte(c.hue))) return rc;
  }
  if (!(c.gamma > 0.0f)) c.gamma = 1.0f;
  if (all || c.gamma != applied_.gamma) {
    if (const std::int32_t rc = ZLP_setGamma(c.gamma)) return rc;
  }

  ChooseOutputFormat(c);
  const std::int32_t monochrome = c.outputFormat == 1 || c.outputFormat == 2 ? 1 : 0;
  c.requestNTSC.monochrome = monochrome;
  c.requestPAL.monochrome = monochrome;
  c.extTrig = c.extTrig != 0 && c.extTrigEnable != 0 ? 1 : 0;
  c.flash = c.flash != 0 && c.flashEnable != 0 ? 1 : 0;
  if (c.extTrig != 0 && c.flash != 0) c.flash = 0;
  ClampRequest(RequestOf(c), LimitsOf(c.standard), c.standard);

  applied_ = c;
  applyAll_ = false;
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLV_snap(const ZlvConfig* config) {
  ExportScope scope(*this, export_name::ZLV_snap);
  if (config == nullptr) return Fail(code::kBadPointer);
  if (const std::int32_t rc = ZLP_prepareSnap(&RequestOf(*config))) return rc;
  if (config->extTrig != 0) return ZLP_extTrigSnap(kTriggerTimeoutMs);
  if (config->flash != 0) return ZLP_flashSnap();
  if (const std::int32_t rc = ZLP_startSnap()) return rc;
  return ZLP_finishSnap();
}

std::int32_t ZelvoLibrary::ZLV_formatDialogBox(void* /*reserved*/, void* parentWindow, ZlvConfig* config) {
  ExportScope scope(*this, export_name::ZLV_formatDialogBox);
  if (config == nullptr || !formatDialog_) return Fail(kFormatDialogNotShown);
  const std::int32_t result = formatDialog_(parentWindow, *config);
  return result == kFormatDialogNotShown ? Fail(kFormatDialogNotShown) : result;
}

}  // namespace orvale::melvex

#include "app/dialogs/ApplyAnalysis.h"

#include <cmath>
#include <exception>
#include <filesystem>
#include <new>
#include <string>

#include "app/dialogs/NewOutputViews.h"
#include "app/dialogs/ReferenceZernikeFile.h"
#include "app/document/DocumentTable.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/RunError.h"
#include "platform/runtime/TextOutput.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

constexpr double kMaxScale = 1000.0;
constexpr double kMinWavelength = 1.0;
constexpr double kMaxWavelength = 10000.0;
constexpr double kMetresPerInch = 0.0254;
constexpr std::int32_t kGridFullyDefined =
    clsGrid::kPhysicalSizes | clsGrid::kPixelRectangle | clsGrid::kResults;

// A run-time error raised by a step, reported like any other.
struct StepError : std::exception {
  explicit StepError(RunError e) : error(std::move(e)) {}
  const char* what() const noexcept override { return error.Description.c_str(); }
  RunError error;
};

RunError CurrentRunError() {
  try {
    throw;
  } catch (const StepError& e) {
    return e.error;
  } catch (const std::bad_alloc&) {
    return RunError::FromNumber(errnum::kOutOfMemory);
  } catch (const std::filesystem::filesystem_error& e) {
    return RunError::FromErrno(e.code().value(), e.path1());
  } catch (const std::exception& e) {
    return RunError{errnum::kInvalidArgument, e.what()};
  } catch (...) {
    return RunError::FromNumber(errnum::kInvalidArgument);
  }
}

void Warn(const std::string& text, std::uint32_t icon = mb::kIconExclamation) {
  ShowMessage(text, mb::kOk | icon, "Warning");
}

std::string Lines(const std::string& first, const std::string& second) {
  return first + std::string(kCRLF) + second;
}

class ApplyCommand {
 public:
  ApplyCommand(clsDocument& doc, const AnalyzeControls& controls, MainFrame& frame,
               const std::function<void(bool)>& setDialogBusy)
      : doc_(doc), c_(controls), frame_(frame), settings_(doc.Settings()),
        setDialogBusy_(setDialogBusy) {}
  // The busy pointers are restored on every way out, a run-time error included.
  ~ApplyCommand() { ClearBusy(); }
  ApplyCommand(const ApplyCommand&) = delete;
  ApplyCommand& operator=(const ApplyCommand&) = delete;

  ApplyOutcome Run() {
    using Step = bool (ApplyCommand::*)();
    static constexpr Step kSteps[] = {
        &ApplyCommand::RefuseCombined,   &ApplyCommand::TakeReference,
        &ApplyCommand::ReadScale,        &ApplyCommand::ReadWavelengths,
        &ApplyCommand::ChooseUnits,      &ApplyCommand::WriteScales,
        &ApplyCommand::WriteRemoveFlags, &ApplyCommand::WriteInvert,
        &ApplyCommand::WriteTrim,        &ApplyCommand::WriteOrder,
        &ApplyCommand::CheckFringes,     &ApplyCommand::CheckAperture,
        &ApplyCommand::MakeOutputViews,  &ApplyCommand::ShowBusy,
        &ApplyCommand::Analyse,          &ApplyCommand::AnalyseGrid,
        &ApplyCommand::RefreshViews,
    };
    for (Step step : kSteps) {
      if (!RunStep(step)) break;
    }
    ClearBusy();
    return outcome_;
  }

 private:
  // One step, with the run-time error rules: a file error may be retried or skipped;
  // any other error, or Abort, ends the command.
  bool RunStep(bool (ApplyCommand::*step)()) {
    for (;;) {
      try {
        return (this->*step)();
      } catch (...) {
        const int answer = ErrorPrompt(CurrentRunError());
        if (answer == idbutton::kRetry) continue;
        if (answer == idbutton::kIgnore) return true;
        outcome_ = ApplyOutcome::Failed;
        return false;
      }
    }
  }

  bool Refuse(const std::string& text, std::uint32_t icon = mb::kIconExclamation) {
    Warn(text, icon);
    outcome_ = ApplyOutcome::Refused;
    return false;
  }

  bool RefuseCombined() {
    if (!doc_.Combined) return true;
    return Refuse("Cannot analyze a document created by mathematical operations.");
  }

  bool TakeReference() {
    const std::int32_t r = c_.ReferenceIndex();
    if (doc_.Averaged) {
      if (r > kReferenceNone)
        return Refuse("Cannot subtract reference Zernikes from an averaged document");
      return true;
    }
    if (r < kReferenceCustom) {
      if (doc_.UseRefZCoeff) {
        doc_.UseRefZCoeff = false;
        doc_.AnalysisValid = false;
      }
    } else if (r == kReferenceCustom) {
      doc_.SetRefZernikes(settings_.CustomRefZernikes);
    } else {
      // The file is read before anything changes: a bad file leaves the document as it
      // was, with its reference and its fit still matching.
      const std::string path = c_.ReferencePath(r);
      ZernikeVector reference{};
      if (!LoadReferenceFile(path, reference)) {
        ShowMessage(Lines("Invalid Zernikes reference file", path),
                    mb::kOk | mb::kIconExclamation, "Error");
        outcome_ = ApplyOutcome::Refused;
        return false;
      }
      doc_.SetRefZernikes(reference);
    }
    return true;
  }

  bool ReadScale() {
    switch (c_.ScaleFactorOption) {
      case scaleoption::kHalf:
        scale_ = 0.5;
        return true;
      case scaleoption::kOne:
        scale_ = 1.0;
        return true;
      default:
        break;
    }
    if (!TryConvertNumber(c_.ScaleFactorText, scale_))
      throw StepError(RunError::FromNumber(errnum::kTypeMismatch));
    if (!(scale_ >= 0.0 && scale_ <= kMaxScale)) {
      return Refuse(Lines("Invalid Custom Scale",
                          "Enter a scale between 0 and " + FormatGeneral(kMaxScale)));
    }
    return true;
  }

  bool ReadWavelengths() {
    inputWL_ = ReadLeadingNumber(c_.InputWL);
    if (!InWavelengthRange(inputWL_)) return RefuseWavelength("Invalid Input Wavelength");
    outputWL_ = ReadLeadingNumber(c_.OutputWL);
    if (!InWavelengthRange(outputWL_)) return RefuseWavelength("Invalid Output Wavelength");
    return true;
  }
  static bool InWavelengthRange(double wl) { return wl >= kMinWavelength && wl <= kMaxWavelength; }
  bool RefuseWavelength(const std::string& first) {
    return Refuse(Lines(first, "Enter a wavelength between " + FormatGeneral(kMinWavelength) +
                                   " nm and " + FormatGeneral(kMaxWavelength) + " nm"));
  }

  bool ChooseUnits() {
    switch (c_.DisplayUnits) {
      case displayunits::kMicrometers:
        mode_ = displayunits::kMicrometers;
        displayScale_ = inputWL_ / 1000.0;
        break;
      case displayunits::kMicroinches:
        mode_ = displayunits::kMicroinches;
        displayScale_ = inputWL_ / 1000.0 / kMetresPerInch;
        break;
      default:
        mode_ = displayunits::kWaves;
        displayScale_ = inputWL_ / outputWL_;
        break;
    }
    return true;
  }

  bool WriteScales() {
    doc_.OutWL = outputWL_;
    doc_.zscale = scale_;
    doc_.ScaleMode = mode_;
    doc_.DisplayScale = displayScale_;
    return true;
  }

  bool WriteRemoveFlags() {
    doc_.noTilt = c_.Remove[0];
    doc_.noFocus = c_.Remove[1];
    doc_.noAstig = c_.Remove[2];
    doc_.noComa = c_.Remove[3];
    doc_.noSphere = c_.Remove[4];
    return true;
  }

  bool WriteInvert() {
    if (c_.InvertWavefront == doc_.InvertWavefront) return true;
    if (doc_.Averaged)
      return Refuse("Cannot change the Invert Wavefront parameter of an averaged document");
    doc_.InvertWavefront = c_.InvertWavefront;
    doc_.AnalysisValid = false;
    return true;
  }

  bool WriteTrim() {
    if (c_.TrimEdges == doc_.TrimEdges) return true;
    doc_.ZAnalysis.MaskValid = false;
    doc_.TrimEdges = c_.TrimEdges;
    return true;
  }

  bool WriteOrder() {
    const std::int32_t terms = LimitOrderTerms(c_.LimitOrderIndex);
    if (terms == doc_.NumZernikeToFit) return true;
    if (doc_.Averaged) return Refuse("Cannot change order of fit of an averaged document");
    doc_.NumZernikeToFit = terms;
    doc_.AnalysisValid = false;
    return true;
  }

  bool CheckFringes() {
    if (!doc_.AnalysisValid && doc_.Fringes.TotalNumTicks() < 1)
      return Refuse("No fringe centers to analyze", 0);
    return true;
  }

  bool CheckAperture() {
    if (doc_.Aperture.GetShapeType() == clsShape::kNone) return Refuse("No aperture set", 0);
    return true;
  }

  bool MakeOutputViews() {
    if (doc_.OutputViewsExist) return true;
    if (!doc_.CreateView(2)) {
      outcome_ = ApplyOutcome::Stopped;
      return false;
    }
    doc_.OutputViews_Load(!settings_.HogWindows);
    ShowNewOutputViews(doc_, frame_);
    return true;
  }

  // The busy pointer on the calling window and then on the main window.
  bool ShowBusy() {
    busy_ = true;
    if (setDialogBusy_) setDialogBusy_(true);
    frame_.SetBusyPointer(true);
    return true;
  }

  // The main window's pointer first, then the calling window's.
  void ClearBusy() noexcept {
    if (!busy_) return;
    busy_ = false;
    try {
      frame_.SetBusyPointer(false);
    } catch (...) {
    }
    try {
      if (setDialogBusy_) setDialogBusy_(false);
    } catch (...) {
    }
  }

  bool Analyse() {
    doc_.UpdateAnalysis(true, true);
    outcome_ = ApplyOutcome::Analysed;
    return true;
  }

  bool AnalyseGrid() {
    if (doc_.Grid.IsDefined(kGridFullyDefined)) doc_.AnalyzeGrid();
    return true;
  }

  bool RefreshViews() {
    doc_.OutputViews_Refresh();
    ClearBusy();
    return true;
  }

  clsDocument& doc_;
  const AnalyzeControls& c_;
  MainFrame& frame_;
  GeneralSettings& settings_;
  const std::function<void(bool)>& setDialogBusy_;
  bool busy_ = false;
  ApplyOutcome outcome_ = ApplyOutcome::Failed;
  double scale_ = 1.0;
  double inputWL_ = 0.0;
  double outputWL_ = 0.0;
  std::int32_t mode_ = displayunits::kWaves;
  double displayScale_ = 1.0;
};

}  // namespace

ApplyOutcome ApplyAnalysis(DocumentTable& table, const AnalyzeControls& controls,
                           MainFrame& frame, const std::function<void(bool busy)>& setDialogBusy) {
  try {
    const std::int32_t slot = table.ActiveDocIndex;
    if (slot < 1 || slot > DocumentTable::kMaxDocuments ||
        !table.DocumentInUse[static_cast<std::size_t>(slot)]) {
      return ApplyOutcome::NoDocument;
    }
    clsDocument* doc = table.Documents[static_cast<std::size_t>(slot)].get();
    if (doc == nullptr || !doc->ImageViewExist) return ApplyOutcome::NoDocument;
    return ApplyCommand(*doc, controls, frame, setDialogBusy).Run();
  } catch (...) {
    // Only the report of an error itself can get here.
    return ApplyOutcome::Failed;
  }
}

}  // namespace orvale

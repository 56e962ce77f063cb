#pragma once
// This room (app/automation) holds the automation server: the OrvaleDoc objects that
// scripts and other programs create to drive the program, and their D-Bus transport.
// It may use the dialogs and every room below them; only the program's start-up and the
// main window's room above it use it.
//
// One automation object: it wraps at most one ordinary document of the main window,
// which the user sees like any other. Load and Grab give it one; the user may close it
// at any time, after which the object acts as one without a document. Its option
// members read and change the Analyze window's options, and need no document.
//
// Every member raises an AutomationError on its first failed check (the object's error
// codes of OrvaleDocTypes.h); members that can fail otherwise answer false.
#include <cstdint>
#include <optional>
#include <string>

#include "app/automation/AutoValue.h"
#include "app/automation/AutomationContext.h"
#include "app/document/DocumentTable.h"

namespace orvale {

class clsDocument;
class clsShape;

struct FringeCenterPoint {
  double X = 0.0;
  double Y = 0.0;
};

struct GridCellResult {
  double RMS = 0.0;
  double PV = 0.0;
};

class OrvaleDoc {
 public:
  explicit OrvaleDoc(AutomationContext& context) : context_(context) {}

  // The wrapped document, or null: none was loaded, or it has been closed since (a
  // later document in its slot is never taken for it).
  clsDocument* Document();

  // --- The document (OrvaleDoc.cpp) ---
  // Opens a picture ("jpg", "bmp", "rle") or a document file ("ovd") at a full path into
  // a new document, which the object then wraps; the previous one stays open. False for
  // any other type, or when the file could not be opened (the object keeps its document).
  bool Load(const std::string& FilePath);
  // A frame from the selected grabber into the wrapped document, or into a new one.
  bool Grab();
  // Saves into a full path, or without one (missing) where the document was saved last.
  // False without a document or when the save failed.
  bool Save(const AutoValue& FilePath);
  // Writes the wavefront map (".csv") to a full path; an empty path asks (and automation
  // cancels every dialog). False without a document or valid analysis.
  bool ExportMap(const AutoValue& FilePath);

  // --- Shapes, grid, tracing, analysis and results (OrvaleDocAnalysis.cpp) ---
  double Aberration(const AutoValue& AberrationType);
  // Makes the document the active one, applies the Analyze window's options to it and,
  // with a grid laid out, analyses the grid. True when the fit is valid.
  bool Analyze();
  // TraceDensity may be missing (the setting's density).
  bool AutoTrace(const AutoValue& Direction, const AutoValue& TraceDensity);
  FringeCenterPoint FringeCenter(const AutoValue& Order, const AutoValue& Fringe);
  GridCellResult GridCell(const AutoValue& X, const AutoValue& Y);
  bool SetAperture(const AutoValue& ShapeType, const AutoValue& Points);
  bool SetObstruction(const AutoValue& ShapeType, const AutoValue& Points);
  bool SetGrid(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2,
               std::int32_t width, std::int32_t CellWidth, std::int32_t CellHeight);
  bool Stretch(const AutoValue& Ratio);
  double Zernike(const AutoValue& Polynomial);

  // --- Analysis options and the image window (OrvaleDocOptions.cpp) ---
  void SetInputWavelength(const AutoValue& value);
  double GetInputWavelength() const;
  void SetOutputWavelength(const AutoValue& value);
  double GetOutputWavelength() const;
  void SetInvertWavefront(const AutoValue& value);
  bool GetInvertWavefront() const;
  void SetTrimEdges(const AutoValue& value);
  bool GetTrimEdges() const;
  void SetOrderLimit(const AutoValue& value);
  std::int16_t GetOrderLimit() const;
  void SetRemove(const AutoValue& Aberration, const AutoValue& value);
  bool GetRemove(const AutoValue& Aberration) const;
  void SetScaleFactor(const AutoValue& value);
  double GetScaleFactor() const;
  void SetZoom(const AutoValue& Percentage);
  std::int32_t GetZoom();
  double GetWidth();
  double GetHeight();
  bool SizeWindow(const AutoValue& width, const AutoValue& height);

 private:
  // The wrapped document, or ErrorNoDocument with the member's own text.
  clsDocument& RequireDocument(const char* noDocumentText);
  void Wrap(clsDocument& doc);
  bool SetShape(clsDocument& doc, clsShape& target, const AutoValue& ShapeType,
                const AutoValue& Points);
  void SetWavelength(std::string AnalyzeControls::*text, const AutoValue& value, const char* notNumeric);

  AutomationContext& context_;
  std::optional<DocumentRef> doc_;
};

}  // namespace orvale

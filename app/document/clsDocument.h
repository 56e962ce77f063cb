#pragma once
// This room (app/document) holds the document and what works on one: the open-document
// table, opening, saving and exporting files, picture reading and conversion, grabbing
// into a document, and the seams through which the rooms above reach the main window
// (MainFrame, DocumentHost) and a document's windows (DocumentViews). It may use the
// analysis engine (app/analysis) and the platform stand-ins; it never includes a window.
//
// One open interferogram: its 8-bit image, the analysis objects (mask, shapes, fringe
// centres, grid), the fitted coefficients with the evaluated results, the display and
// analysis options, the user data and the handles of its windows.
//
// Other objects read and write the public variables directly. The document reaches
// its windows through DocumentViews, the main window and the dialogs through
// DocumentHost, and the file commands through DocumentSaveService, so that it runs
// without a display.
//
// Coefficient arrays are indexed 1..36 (AberrationVector 1..8); element 0 is unused.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/analysis/ZernikeTerms.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsFringes.h"
#include "app/analysis/clsGrid.h"
#include "app/analysis/clsShape.h"
#include "app/document/DocumentViews.h"
#include "app/document/FontSpec.h"
#include "platform/com/IGrabberPlugin.h"
#include "platform/runtime/Markers.h"

namespace orvale {

struct GeneralSettings;
class DocumentHost;
class DocumentTable;
class LineSource;
class TextOutput;

class clsDocument;

// The document text file (".ovd"), written and read by the file layer
// (DocumentTextFile.cpp). SaveDataToFile: True when every line was written; it then
// clears DocDirty. LoadDataFromFile: True when the file was read to its end.
bool SaveDataToFile(clsDocument& doc, TextOutput& FileNum);
bool LoadDataFromFile(clsDocument& doc, LineSource& FileNum);

class clsDocument {
 public:
  // The document copies its defaults from `settings` (the program-wide settings of
  // "CurrentVersion"), which must outlive it; the document and the file reader also
  // read and update them later (plot defaults, "Hog Windows", the result-window
  // layout). `host` is the main window (HeadlessDocumentHost() when null); `table` is
  // the open-document table whose active index the document's end clears.
  explicit clsDocument(GeneralSettings& settings, DocumentHost* host = nullptr,
                       DocumentTable* table = nullptr);
  ~clsDocument();
  clsDocument(const clsDocument&) = delete;
  clsDocument& operator=(const clsDocument&) = delete;

  // --- Identity and files ---
  std::int32_t ovDocIndex = 0;      // slot in the open-document table, 1..100
  std::string ImageFileName;        // display name of the image
  std::string DocumentFileName;     // document file name with extension, no folder
  std::string DocumentFilePath;     // its folder, no trailing separator
  bool ImageFileExist = false;
  bool BlankImage = false;
  bool BMPDirty = false;
  bool Averaged = false;
  bool Combined = false;
  bool DocDirty = false;

  // --- Analysis objects ---
  clsAnalysis ZAnalysis;
  clsShape Aperture;
  clsShape Obstruction;
  clsFringes Fringes;
  clsGrid Grid;

  // --- Views ---
  bool ImageViewExist = false;
  bool OutputViewsExist = false;
  bool SurfacePlotViewVisible = false;
  bool ContourPlotViewVisible = false;
  bool LineProfileViewVisible = false;
  bool SFringeViewVisible = false;
  bool AberrationsViewVisible = false;
  bool ZernikesViewVisible = false;
  bool GridResultsViewVisible = false;
  std::int32_t InitWindowWidth = 0;
  std::int32_t InitWindowHeight = 0;
  std::int32_t ActiveView = 0;      // FormType of the view activated last

  // --- Plot options ---
  std::int32_t xSurfaceSize = 0;
  std::int32_t ySurfaceSize = 0;
  std::int32_t xOrigSurfaceSize = 0;
  std::int32_t yOrigSurfaceSize = 0;
  std::int32_t ContourLevels = 0;
  bool FillPolygons = false;
  bool DrawMeshWithFill = false;
  bool AutoScaleZ = true;
  double zmin = 0.0;
  double zmax = 1.0;
  std::int32_t ProfileSize = 0;
  std::int32_t ProfileTraceid = 0;

  // --- Analysis options and results ---
  bool AnalysisValid = false;       // the stored fit is current
  bool UseRefZCoeff = false;        // RefZernikes is subtracted from every new fit
  std::int32_t nDataPts = 0;
  double zscale = 0.0;
  std::int32_t ScaleMode = 0;       // 0 waves, 1 micrometers, 2 microinches
  double DisplayScale = 1.0;
  bool LimitDisplayScale = false;
  double OutWL = 0.0;
  bool InvertWavefront = false;
  bool TrimEdges = false;
  bool noTilt = false;
  bool noFocus = false;
  bool noAstig = false;
  bool noComa = false;
  bool noSphere = false;
  std::int32_t NumZernikeToFit = 0; // 0: chosen from the point count
  std::string OpticDescription;
  std::string OpticDate;
  std::string OpticOperator;
  std::string OpticComments;
  double RMS = 0.0;
  double Strehl = 0.0;
  double PV = 0.0;

  // --- Environment ---
  GeneralSettings& Settings() const { return *settings_; }
  DocumentHost& Host() const { return *host_; }
  DocumentViews& Views() const { return *views_; }
  // Replaces the window set (the Qt views plug in here).
  void SetViews(std::unique_ptr<DocumentViews> views);
  DocumentTable* Table() const { return table_; }

  // --- Image and coefficient accessors ---
  // True when the data buffer holds at least two bytes (a blank image holds one).
  bool HasImageBuffer() const;
  // Element AberrationNum (1..8) of WNotation, else 0.
  double Kingslake(std::int32_t AberrationNum) const;
  // Resamples the image by an aspect ratio: above 1 wider, below 1 taller; 0 and 1
  // change nothing. A ratio that is not finite and positive is refused. The mask is
  // rebuilt at the new size on the next analysis or tracing. The image view is
  // refreshed whatever RefreshDisplay says. True when the image was resampled or the
  // ratio asks for no change; false when it was refused or there is no image to
  // resample (nothing changed then).
  bool StretchImage(double Ratio, bool RefreshDisplay);
  void GetImageSize(std::int32_t& X, std::int32_t& Y) const;
  void GetBufferSize(std::int32_t& tx, std::int32_t& ty) const;
  // Pixel value (0..255) at column tx, row ty; -1 outside the image or for a blank one.
  std::int32_t GetIntensity(std::int32_t tx, std::int32_t ty) const;
  // The image bytes, XSize x YSize, rows from the top (one byte for a blank image).
  std::span<const std::uint8_t> ImageData() const { return DataBuffer; }
  // Replaces the image by `data` (width x height bytes, rows from the top); the mask
  // is rebuilt at the new size when next needed. False for a size below 1 or data that
  // does not hold width x height bytes (nothing changes then).
  bool SetImageData(std::vector<std::uint8_t> data, std::int32_t width, std::int32_t height);

  double ZernikeFiltered(std::int32_t Polynomial) const;
  double Zernike(std::int32_t Polynomial) const;
  // Copy elements 1..36 (1..8) between the caller's array and the document's.
  void SetRefZernikes(const ZernikeVector& zrn);
  void SetZernikes(const ZernikeVector& zrn);
  void GetZernikes(ZernikeVector& zrn) const;
  void GetRefZernikes(ZernikeVector& zrn) const;
  void GetWNotation(AberrationVector& wn) const;
  // ZernikesFiltered on a 100 x 100 grid into map[j * 100 + i] (at least 10000 values);
  // kBlankValue outside the pupil.
  void GetSurfaceMap(std::span<double> map) const;

  // Text styles: SText True the screen style, False the printer style. The face name
  // is cut to 32 characters and padded with blanks; GetText returns it unpadded.
  void SetText(bool SText, const std::string& Caption, std::int32_t colour, std::int32_t Size,
               std::int32_t Escapement, bool Bold, bool Italic, bool Underline,
               const std::string& facename);
  void GetText(bool SText, std::string& Caption, std::int32_t& colour, std::int32_t& Size,
               std::int32_t& Escapement, bool& Bold, bool& Italic, bool& Underline,
               std::string& facename) const;
  const FontSpec& ScreenTextStyle() const { return DocScreenText; }
  const FontSpec& PrinterTextStyle() const { return DocPrinterText; }

  // --- Images (bitmaps and conversion) ---
  // Reads a picture file into the data buffer; ImageFileName becomes the file name.
  // False (nothing loaded) when the file could not be read as a picture.
  bool LoadFileIntoDataBuffer(const std::filesystem::path& filename, bool SupressError);
  // A blank image; kNotGivenLong keeps the current size.
  bool LoadBlankImage(std::int32_t xpts, std::int32_t ypts);
  // Grabs one frame from `grabber` (none: not ready) into the image and stretches it by
  // the "Grab Aspect Ratio"; InitWindowWidth and InitWindowHeight follow the frame as
  // grabbed. False when it did not; the document is then unchanged. A member of the
  // plug-in that fails ends the grab silently with its status in `failure`, for the
  // caller to report; every other refusal has been shown.
  bool GrabIntoDataBuffer(IGrabberPlugin* grabber, PluginStatus& failure);
  // The image as the whole file of an 8-bit grey bitmap (GreyBitmapFileBytes).
  std::optional<std::vector<std::uint8_t>> BitmapFileBytes() const;
  void LoadFileIntoDIB(const std::filesystem::path& filename, std::vector<std::uint8_t>& dib) const;
  bool GetDIBFromBuffer(std::vector<std::uint8_t>& DIBBuffer, std::int32_t& Headerbytes,
                        std::int32_t& width, std::int32_t& height) const;

  // --- Analysis ---
  // Runs the analysis chain (refit when AnalysisValid is False, else re-evaluate the
  // stored fit) and hands the results to the output views.
  void UpdateAnalysis(bool AberrationsUpdate, bool GlobalsUpdate);
  // Traces the fringes automatically: Direction 0 horizontal, 1 vertical; FringeDensity
  // 1..4, the "Auto Trace Fringe Density" setting when not given. True when fringes
  // were traced; false when the trace did not run (a blank image, no aperture, no mask,
  // the user kept the fringes there are) or found none.
  bool AutoTraceFringes(std::int32_t Direction, std::optional<std::int32_t> FringeDensity = {});
  // Deletes every fringe centre after confirmation.
  void ClearFringes();
  // After every change of the aperture or obstruction.
  void InvalidateMask();
  // Evaluates the cell grid when the fit is current.
  void AnalyzeGrid();

  // --- Views ---
  // 1: the image view; 2: the seven output views. False when they could not be made.
  bool CreateView(std::int32_t ViewType);
  // Releases the references without unloading the windows.
  void DestroyView(std::int32_t ViewType);
  void ImageView_Init();
  void ImageView_Refresh();
  void OutputViews_UpdateGlobals(bool SaveToGlobals);
  void OutputViews_UpdateVisibility(bool Activate);
  void OutputViews_ShowNoActivate(bool TopUp);
  void OutputViews_Select(std::int32_t view);
  void OutputViews_HideAll();
  void OutputViews_Load(bool TileViews);
  void OutputViews_Refresh();
  void OutputViews_Offset(std::int32_t dxpix, std::int32_t dypix, bool NoShow);
  void UpdateAverageList();
  void LoadDataIntoGridResults();
  // Re-evaluates the profile at the line view's angle and reloads it.
  void RefreshLineViewData();

  // --- Files ---
  // Asks whether to save a changed document and saves on Yes. Cancel becomes 1 when
  // the user cancels, or when a save on Yes was cancelled or failed (the document
  // stays open then); it is left alone otherwise.
  void SaveDocumentSettings(std::int16_t& Cancel);
  bool SaveDataToFile(TextOutput& FileNum) { return orvale::SaveDataToFile(*this, FileNum); }
  bool LoadDataFromFile(LineSource& FileNum) { return orvale::LoadDataFromFile(*this, FileNum); }

 private:
  friend bool SaveDataToFile(clsDocument& doc, TextOutput& FileNum);
  friend bool LoadDataFromFile(clsDocument& doc, LineSource& FileNum);

  // The fitting mask (image size) made current; False when it cannot be created.
  bool UpdateMask();
  // Writes the aperture and the obstruction into the cleared or new mask, sets the
  // pupil scale and marks the mask valid.
  void ApplyShapesToMask(bool doubleSize);
  // Fits the fringe centres and evaluates everything into `data`; False when no fit
  // was made (a message has been shown).
  bool AnalyzeFringeCenters(AnalysisViewData& data);
  // Steps shared by both roads of the chain: maps and profile from the current sets.
  void EvaluateMaps(AnalysisViewData& data) const;
  // The profile angle in radians: the line view's angle, or the "Line Angle" setting
  // while the output views do not exist.
  double ProfileAngle() const;
  // True when the mask no longer has the size it needs (image size, or twice it).
  bool MaskSizeMismatch(bool doubleSize) const;
  void CopyPlotDefaults();
  // InitWindowWidth and InitWindowHeight from the image size.
  void SizeImageWindowToImage();

  GeneralSettings* settings_;
  DocumentHost* host_;
  DocumentTable* table_;
  std::unique_ptr<DocumentViews> views_;

  std::int32_t XSize = kNotGivenLong;
  std::int32_t YSize = kNotGivenLong;
  std::vector<std::uint8_t> DataBuffer;
  FontSpec DocScreenText;
  FontSpec DocPrinterText;
  ZernikeVector Zernikes{};
  ZernikeVector ZernikesFiltered{};
  ZernikeVector RefZernikes{};
  AberrationVector WNotation{};
};

}  // namespace orvale

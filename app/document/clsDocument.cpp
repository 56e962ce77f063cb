#include "app/document/clsDocument.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "app/analysis/ImageResample.h"
#include "app/document/BitmapFile.h"
#include "app/pictures/BlankImage.h"
#include "app/document/DocumentHost.h"
#include "app/document/DocumentSaveService.h"
#include "app/document/DocumentTable.h"
#include "app/pictures/ImageLoader.h"
#include "app/document/ImageWindowSize.h"
#include "app/document/InMemoryBitmap.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/runtime/FaceName.h"
#include "platform/ui/AllocationReport.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

// The settings keep a text style without caption and orientation; a document's copy
// is drawn horizontally.
FontSpec FontSpecFromSettings(const TextStyleSettings& style) {
  FontSpec spec;
  spec.colour = static_cast<gdi::Color>(style.Color);
  spec.Size = style.Size;
  spec.Escapement = kTextHorizontal;
  spec.Bold = style.Bold;
  spec.Italic = style.Italic;
  spec.Underline = style.Underline;
  spec.facename = FixedFaceName(style.FaceName);
  return spec;
}

// The face name without the blanks that pad it to its fixed width.
std::string TrimmedFaceName(const std::string& facename) {
  const auto end = facename.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : facename.substr(0, end + 1);
}

template <class Array>
double ElementOrZero(const Array& values, std::int32_t index) {
  if (index < 1 || index >= static_cast<std::int32_t>(values.size())) return 0.0;
  return values[static_cast<std::size_t>(index)];
}

std::string FileNameOf(const std::filesystem::path& path) { return path.filename().string(); }

}  // namespace

clsDocument::clsDocument(GeneralSettings& settings, DocumentHost* host, DocumentTable* table)
    : settings_(&settings), host_(host != nullptr ? host : &HeadlessDocumentHost()), table_(table) {
  // The shapes know their kind from the start, so each writes and reads its own section.
  Aperture.Init(clsShape::kAperture);
  Obstruction.Init(clsShape::kObstruction);

  const UserDataDefaultSettings& user = settings.UserDataDefaults;
  if (user.SetAsDefault) {
    OpticDescription = user.Description;
    OpticDate = user.Date;
    OpticOperator = user.Operator;
    OpticComments = user.Comments;
  }
  CopyPlotDefaults();
  DisplayScale = 1.0;
  DocScreenText = FontSpecFromSettings(settings.ScreenText);
  DocPrinterText = FontSpecFromSettings(settings.PrinterText);
  zmin = 0.0;
  zmax = 1.0;
  AutoScaleZ = true;
  views_ = host_->CreateDocumentViews(*this);
  if (!views_) views_ = std::make_unique<DocumentViews>();
  views_->Attach(*this);
}

clsDocument::~clsDocument() {
  views_.reset();
  // Whichever document ends, no document is active until a view is activated again.
  if (table_ != nullptr) table_->ActiveDocIndex = 0;
}

void clsDocument::SetViews(std::unique_ptr<DocumentViews> views) {
  views_ = views ? std::move(views) : std::make_unique<DocumentViews>();
  views_->Attach(*this);
}

void clsDocument::CopyPlotDefaults() {
  const GeneralSettings& s = *settings_;
  LimitDisplayScale = s.LimitScale;
  xSurfaceSize = s.SurfaceGridSize;
  ySurfaceSize = s.SurfaceGridSize;
  ProfileSize = s.LineSize;
  ContourLevels = s.SurfaceLevels;
  xOrigSurfaceSize = s.SFringeSize;
  yOrigSurfaceSize = s.SFringeSize;
  FillPolygons = s.DefaultFillPolygons;
  DrawMeshWithFill = s.DefaultDrawMeshWithFill;
}

// --- Image and coefficient accessors ---

bool clsDocument::HasImageBuffer() const { return DataBuffer.size() >= 2; }

double clsDocument::Kingslake(std::int32_t AberrationNum) const {
  return ElementOrZero(WNotation, AberrationNum);
}

bool clsDocument::StretchImage(double Ratio, bool /*RefreshDisplay*/) {
  if (Ratio == 0.0 || Ratio == 1.0) return true;
  // A negative, infinite or undefined ratio has no image to make.
  if (!std::isfinite(Ratio) || Ratio < 0.0) return false;
  // Only a real image can be resampled; a blank one holds a single byte.
  if (XSize < 1 || YSize < 1 ||
      DataBuffer.size() != static_cast<std::size_t>(XSize) * static_cast<std::size_t>(YSize)) {
    return false;
  }
  const double scale = Ratio > 1.0 ? 1.0 : 1.0 / Ratio;
  std::int32_t newWidth = 0;
  std::int32_t newHeight = 0;
  if (!ResampledSize(XSize, YSize, Ratio, scale, newWidth, newHeight)) return false;

  std::vector<std::uint8_t> resampled;
  if (!AssignOrReport(resampled, static_cast<std::size_t>(newWidth) *
                                     static_cast<std::size_t>(newHeight), 0)) {
    return false;
  }
  BMPDirty = true;
  ResampleImage(DataBuffer, resampled, Ratio, scale, XSize, YSize);
  DataBuffer.swap(resampled);
  XSize = newWidth;
  YSize = newHeight;
  // The mask of the old size is rebuilt when next needed (UpdateMask and tracing
  // compare its size with the image's).
  ImageView_Refresh();
  return true;
}

void clsDocument::GetImageSize(std::int32_t& X, std::int32_t& Y) const {
  X = XSize;
  Y = YSize;
}

void clsDocument::GetBufferSize(std::int32_t& tx, std::int32_t& ty) const {
  tx = XSize;
  ty = YSize;
}

std::int32_t clsDocument::GetIntensity(std::int32_t tx, std::int32_t ty) const {
  if (BlankImage || tx < 0 || ty < 0 || tx >= XSize || ty >= YSize) return -1;
  const std::size_t index =
      static_cast<std::size_t>(ty) * static_cast<std::size_t>(XSize) + static_cast<std::size_t>(tx);
  if (index >= DataBuffer.size()) return -1;
  return DataBuffer[index];
}

bool clsDocument::SetImageData(std::vector<std::uint8_t> data, std::int32_t width,
                               std::int32_t height) {
  if (width < 1 || height < 1 ||
      data.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return false;
  }
  DataBuffer = std::move(data);
  XSize = width;
  YSize = height;
  BlankImage = false;
  SizeImageWindowToImage();
  return true;
}

void clsDocument::SizeImageWindowToImage() {
  const WindowSize window = InitialImageWindowSize(XSize, YSize, host_->FrameMetrics());
  InitWindowWidth = window.Width;
  InitWindowHeight = window.Height;
}

double clsDocument::ZernikeFiltered(std::int32_t Polynomial) const {
  return ElementOrZero(ZernikesFiltered, Polynomial);
}

double clsDocument::Zernike(std::int32_t Polynomial) const {
  return ElementOrZero(Zernikes, Polynomial);
}

void clsDocument::SetRefZernikes(const ZernikeVector& zrn) {
  std::copy(zrn.begin() + 1, zrn.end(), RefZernikes.begin() + 1);
  UseRefZCoeff = true;
  AnalysisValid = false;
}

void clsDocument::SetZernikes(const ZernikeVector& zrn) {
  std::copy(zrn.begin() + 1, zrn.end(), Zernikes.begin() + 1);
}

void clsDocument::GetZernikes(ZernikeVector& zrn) const {
  std::copy(Zernikes.begin() + 1, Zernikes.end(), zrn.begin() + 1);
}

void clsDocument::GetRefZernikes(ZernikeVector& zrn) const {
  std::copy(RefZernikes.begin() + 1, RefZernikes.end(), zrn.begin() + 1);
}

void clsDocument::GetWNotation(AberrationVector& wn) const {
  std::copy(WNotation.begin() + 1, WNotation.end(), wn.begin() + 1);
}

void clsDocument::GetSurfaceMap(std::span<double> map) const {
  ZAnalysis.EvalSurface(ZernikesFiltered, 100, 100, map, false);
}

void clsDocument::SetText(bool SText, const std::string& Caption, std::int32_t colour,
                          std::int32_t Size, std::int32_t Escapement, bool Bold, bool Italic,
                          bool Underline, const std::string& facename) {
  FontSpec& spec = SText ? DocScreenText : DocPrinterText;
  spec.Caption = Caption;
  spec.colour = static_cast<gdi::Color>(colour);
  spec.Size = Size;
  spec.Escapement = Escapement;
  spec.Bold = Bold;
  spec.Italic = Italic;
  spec.Underline = Underline;
  spec.facename = FixedFaceName(facename);
}

void clsDocument::GetText(bool SText, std::string& Caption, std::int32_t& colour,
                          std::int32_t& Size, std::int32_t& Escapement, bool& Bold, bool& Italic,
                          bool& Underline, std::string& facename) const {
  const FontSpec& spec = SText ? DocScreenText : DocPrinterText;
  Caption = spec.Caption;
  colour = static_cast<std::int32_t>(spec.colour);
  Size = spec.Size;
  Escapement = spec.Escapement;
  Bold = spec.Bold;
  Italic = spec.Italic;
  Underline = spec.Underline;
  facename = TrimmedFaceName(spec.facename);
}

// --- Images ---

bool clsDocument::LoadFileIntoDataBuffer(const std::filesystem::path& filename,
                                         bool SupressError) {
  LoadedImage image;
  host_->SetBusyPointer(true);
  const ImageLoadStatus status = orvale::LoadFileIntoDataBuffer(filename, SupressError, image);
  host_->SetBusyPointer(false);
  switch (status) {
    case ImageLoadStatus::Loaded:
      break;
    case ImageLoadStatus::NotABitmap:
    case ImageLoadStatus::ConversionFailed:
      ImageFileName.clear();
      BlankImage = true;
      return false;
    case ImageLoadStatus::OpenFailed:
      ImageFileName.clear();
      return false;
  }
  if (!SetImageData(std::move(image.Data), image.Width, image.Height)) {
    ImageFileName.clear();
    return false;
  }
  ImageFileName = FileNameOf(filename);
  BMPDirty = false;
  return true;
}

bool clsDocument::LoadBlankImage(std::int32_t xpts, std::int32_t ypts) {
  orvale::LoadBlankImage(xpts, ypts, XSize, YSize, DataBuffer);
  BlankImage = true;
  BMPDirty = false;
  SizeImageWindowToImage();
  return true;
}

std::optional<std::vector<std::uint8_t>> clsDocument::BitmapFileBytes() const {
  return GreyBitmapFileBytes(DataBuffer, XSize, YSize, BlankImage);
}

void clsDocument::LoadFileIntoDIB(const std::filesystem::path& filename,
                                  std::vector<std::uint8_t>& dib) const {
  orvale::LoadFileIntoDIB(filename, dib);
}

bool clsDocument::GetDIBFromBuffer(std::vector<std::uint8_t>& DIBBuffer, std::int32_t& Headerbytes,
                                   std::int32_t& width, std::int32_t& height) const {
  if (!orvale::GetDIBFromBuffer(DataBuffer, XSize, YSize, settings_->AutoStretch, DIBBuffer,
                                Headerbytes)) {
    return false;
  }
  width = XSize;
  height = YSize;
  return true;
}

// --- Views ---

bool clsDocument::CreateView(std::int32_t ViewType) {
  try {
    switch (ViewType) {
      case 1:
        // The windows that exist are kept: a second set would be left on screen with
        // nobody to unload it.
        if (ImageViewExist) return true;
        if (!views_->CreateImageView(*this)) return false;
        ImageViewExist = true;
        return true;
      case 2:
        if (OutputViewsExist) return true;
        if (!views_->CreateOutputViews(*this, static_cast<double>(settings_->DefaultSurfaceTheta),
                                       static_cast<double>(settings_->DefaultSurfacePhi),
                                       settings_->DefaultLineAngle)) {
          return false;
        }
        OutputViewsExist = true;
        return true;
      default:
        return false;
    }
  } catch (const std::bad_alloc&) {
    ShowMessage(RunError::StandardDescription(errnum::kOutOfMemory), mb::kOk, "Error");
  } catch (const std::exception& e) {
    ShowMessage(e.what(), mb::kOk, "Error");
  }
  return false;
}

void clsDocument::DestroyView(std::int32_t ViewType) {
  if (ViewType == 1) {
    views_->UnloadImageView();
    ImageViewExist = false;
  } else if (ViewType == 2) {
    views_->UnloadOutputViews();
    OutputViewsExist = false;
  }
}

void clsDocument::ImageView_Init() { views_->ImageView_Init(*this); }
void clsDocument::ImageView_Refresh() { views_->ImageView_Refresh(*this); }
void clsDocument::OutputViews_UpdateGlobals(bool SaveToGlobals) {
  views_->OutputViews_UpdateGlobals(*this, SaveToGlobals);
}
void clsDocument::OutputViews_UpdateVisibility(bool Activate) {
  views_->OutputViews_UpdateVisibility(*this, Activate);
}
void clsDocument::OutputViews_ShowNoActivate(bool TopUp) {
  views_->OutputViews_ShowNoActivate(*this, TopUp);
}
void clsDocument::OutputViews_Select(std::int32_t view) { views_->OutputViews_Select(view); }
void clsDocument::OutputViews_HideAll() { views_->OutputViews_HideAll(); }
void clsDocument::OutputViews_Load(bool TileViews) { views_->OutputViews_Load(*this, TileViews); }
void clsDocument::OutputViews_Refresh() { views_->OutputViews_Refresh(); }
void clsDocument::OutputViews_Offset(std::int32_t dxpix, std::int32_t dypix, bool NoShow) {
  views_->OutputViews_Offset(dxpix, dypix, NoShow);
}
void clsDocument::UpdateAverageList() {
  if (!OutputViewsExist || ImageFileName.empty()) return;
  host_->AddToDocumentLists(*this);
}
void clsDocument::LoadDataIntoGridResults() { views_->LoadDataIntoGridResults(*this); }

// --- Files ---

void clsDocument::SaveDocumentSettings(std::int16_t& Cancel) {
  if (!DocDirty && !BMPDirty) return;

  enum class SaveRoad { IntoDocumentFile, AsDocument, AsBitmap };
  std::string name;
  SaveRoad road;
  if (!DocumentFileName.empty()) {
    // A document without a folder lies in the current folder.
    name = DocumentFilePath.empty() ? DocumentFileName : DocumentFilePath + "/" + DocumentFileName;
    road = SaveRoad::IntoDocumentFile;
  } else if (OutputViewsExist) {
    name = std::filesystem::path(ImageFileName).stem().string() + ".ovd";
    road = SaveRoad::AsDocument;
  } else {
    name = ImageFileName;
    // An image read from a file carries shapes and fringes that only a document file
    // keeps; its name has no folder either, so it goes through Save As as a document.
    road = ImageFileExist ? SaveRoad::AsDocument : SaveRoad::AsBitmap;
  }

  const int answer = ShowMessage("Save changes to " + name + " ?",
                                 mb::kYesNoCancel | mb::kIconQuestion, "Orvale");
  if (answer == idbutton::kCancel) {
    Cancel = 1;
    return;
  }
  if (answer != idbutton::kYes) return;

  DocumentSaveService* saver = CurrentDocumentSaveService();
  bool saved = false;
  if (saver != nullptr) {
    switch (road) {
      case SaveRoad::IntoDocumentFile:
        saved = saver->SaveFile(name, *this);
        break;
      case SaveRoad::AsDocument:
        saved = saver->SaveFileAs(*this, false);
        break;
      case SaveRoad::AsBitmap:
        saved = saver->SaveFileAs(*this, true);
        break;
    }
  }
  // The user asked to keep the changes: when they were not written, the close stops.
  if (!saved) Cancel = 1;
}

}  // namespace orvale

#include "app/document/DocumentTextFile.h"

#include <array>
#include <cmath>
#include <string_view>

#include "app/analysis/KeywordSection.h"
#include "app/analysis/LineParser.h"
#include "app/pictures/ImageFileChecks.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/TextEscapes.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/runtime/LineInput.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/TextOutput.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

// Reals beyond these bounds are not taken from a file (they stand for a missing value).
constexpr double kLargestStoredReal = 3.0E+38;
constexpr double kDefaultOutWL = 632.8;

const OutputViewKind& ViewKey(std::int32_t formType) { return *FindOutputViewKind(formType); }

// Flags read and written under their own names.
struct FlagKey {
  std::string_view Key;
  bool clsDocument::*Field;
};
constexpr std::array<FlagKey, 5> kRemovedTermFlags = {{
    {"noTilt", &clsDocument::noTilt},
    {"noFocus", &clsDocument::noFocus},
    {"noAstig", &clsDocument::noAstig},
    {"noComa", &clsDocument::noComa},
    {"noSphere", &clsDocument::noSphere},
}};
constexpr std::array<FlagKey, 5> kOptionFlags = {{
    {"TrimEdges", &clsDocument::TrimEdges},
    {"InvertWavefront", &clsDocument::InvertWavefront},
    {"LimitDisplayScale", &clsDocument::LimitDisplayScale},
    {"Averaged", &clsDocument::Averaged},
    {"Combined", &clsDocument::Combined},
}};
constexpr std::array<FlagKey, 9> kViewFlags = {{
    {"FillPolygons", &clsDocument::FillPolygons},
    {"DrawMeshWithFill", &clsDocument::DrawMeshWithFill},
    {"ZernikesViewVisible", &clsDocument::ZernikesViewVisible},
    {"AberrationsViewVisible", &clsDocument::AberrationsViewVisible},
    {"GridResultsViewVisible", &clsDocument::GridResultsViewVisible},
    {"SFringeViewVisible", &clsDocument::SFringeViewVisible},
    {"LineProfileViewVisible", &clsDocument::LineProfileViewVisible},
    {"ContourPlotViewVisible", &clsDocument::ContourPlotViewVisible},
    {"SurfacePlotViewVisible", &clsDocument::SurfacePlotViewVisible},
}};

// ---------------------------------------------------------------- writing

std::string Flag(bool value) { return value ? "True" : "False"; }

std::string Rectangle(const WindowPlacement& p) {
  return FormatLong(p.Left) + "," + FormatLong(p.Top) + "," + FormatLong(p.Width) + "," +
         FormatLong(p.Height);
}

std::string CoefficientLine(std::string_view key, const ZernikeVector& coefficients) {
  std::string line(key);
  for (std::size_t i = 1; i < coefficients.size(); ++i)
    line += "," + FormatDecimalField(coefficients[i]);
  return line;
}

class TextWriter {
 public:
  void Line(std::string_view text) {
    RunError unused;  // writing into memory cannot fail
    out_.WriteLine(text, unused);
  }
  TextOutput& Output() { return out_; }
  const std::string& Text() const { return out_.Text(); }

 private:
  StringTextOutput out_;
};

void WriteTextStyle(TextWriter& w, std::string_view prefix, const clsDocument& doc, bool screen) {
  std::string caption, facename;  // the face name comes without its padding blanks
  std::int32_t colour = 0, size = 0, escapement = 0;
  bool bold = false, italic = false, underline = false;
  doc.GetText(screen, caption, colour, size, escapement, bold, italic, underline, facename);
  const std::string p(prefix);
  w.Line(p + "Bold," + Flag(bold));
  w.Line(p + "colour," + FormatWholeField(colour));
  w.Line(p + "facename:= " + facename);
  w.Line(p + "Italic," + Flag(italic));
  w.Line(p + "Size," + FormatWholeField(size));
  w.Line(p + "Underline," + Flag(underline));
}

// ---------------------------------------------------------------- reading

// A real from a file that has no fallback of its own: a value beyond the double range
// stands for nothing and reads as 0.
double FiniteReal(std::string_view token) {
  const double value = TokenAsReal(token);
  return std::isfinite(value) ? value : 0.0;
}

double RealOrFallback(std::string_view token, double fallback) {
  const double value = TokenAsReal(token);
  return value > kLargestStoredReal || value < -kLargestStoredReal ? fallback : value;
}

std::int32_t WholeInRange(std::string_view token, std::int32_t low, std::int32_t high,
                          std::int32_t fallback) {
  const std::int32_t value = TokenAsWhole(token);
  return value < low || value > high ? fallback : value;
}

WindowPlacement ReadRectangle(clsParser& parser) {
  WindowPlacement p;
  p.Left = TokenAsWhole(parser.GetToken());
  p.Top = TokenAsWhole(parser.GetToken());
  p.Width = TokenAsWhole(parser.GetToken());
  p.Height = TokenAsWhole(parser.GetToken());
  return p;
}

bool SizeIsValid(std::int32_t width, std::int32_t height) {
  return width > 0 && height > 0 && width != kNotGivenLong && height != kNotGivenLong &&
         PictureSizeIsWithinLimits(width, height);
}

class DocumentReader {
 public:
  DocumentReader(clsDocument& doc, LineSource& file) : doc_(doc), file_(file) {
    doc_.GetImageSize(width_, height_);
  }

  DocumentReadStatus Read() {
    while (parser_.Readline(file_)) {
      for (std::string key = LowerKey(parser_.GetToken()); !key.empty();
           key = LowerKey(parser_.GetToken())) {
        const Outcome outcome = ReadKey(key);
        if (outcome == Outcome::EndOfLine) break;
        if (outcome == Outcome::Failed) return Finish(failure_);
      }
    }
    if (parser_.ReadFailed()) return Finish(DocumentReadStatus::ReadFailed);
    if (outputViewsExist_) doc_.OutputViews_Load(false);
    return Finish(DocumentReadStatus::Complete);
  }

 private:
  enum class Outcome { NextToken, EndOfLine, Failed };

  DocumentReadStatus Finish(DocumentReadStatus status) {
    // The image comes from the companion bitmap; until then the document is blank at
    // the size the file gave, or without a size when it gave none that can be used.
    if (SizeIsValid(width_, height_)) {
      doc_.LoadBlankImage(width_, height_);
    } else {
      doc_.LoadBlankImage(kNotGivenLong, kNotGivenLong);
    }
    doc_.BlankImage = !hasImageFile_;
    return status;
  }

  std::string Token() { return parser_.GetToken(); }

  Outcome ReadKey(const std::string& key) {
    GeneralSettings& settings = doc_.Settings();
    if (key == "fileversion") {
      // Read only to know how the texts were written; the line is not read further.
      escapedTexts_ = TokenAsWhole(Token()) >= kEscapedTextFileVersion;
      return Outcome::EndOfLine;
    } else if (key == "hasimagefile") {
      hasImageFile_ = clsParser::BooleanParse(Token());
    } else if (key == "imagexsize" || key == "imageysize") {
      const std::string token = Token();
      if (!sizeUnset_) {
        const std::int32_t value = TokenAsWhole(token);
        if (value <= 0) {
          sizeUnset_ = true;
          width_ = height_ = kNotGivenLong;
        } else {
          (key == "imagexsize" ? width_ : height_) = value;
        }
      }
    } else if (key == "zernikes" || key == "referencezernikes") {
      ZernikeVector coefficients{};
      for (std::size_t i = 1; i < coefficients.size(); ++i) coefficients[i] = FiniteReal(Token());
      if (key == "zernikes") {
        doc_.SetZernikes(coefficients);
      } else {
        const bool valid = doc_.AnalysisValid;
        doc_.SetRefZernikes(coefficients);  // sets UseRefZCoeff
        doc_.AnalysisValid = valid;
      }
    } else if (key == "fringes") {
      doc_.Fringes.LoadFromFile(file_, parser_);
    } else if (key == "aperture" || key == "obstruction") {
      clsShape& shape = key == "aperture" ? doc_.Aperture : doc_.Obstruction;
      if (!shape.LoadFromFile(file_, parser_)) return Fail(DocumentReadStatus::SectionRefused);
    } else if (key == "grid") {
      if (!doc_.Grid.LoadFromFile(file_, parser_)) return Fail(DocumentReadStatus::SectionRefused);
    } else if (key == "rms") {
      doc_.RMS = FiniteReal(Token());
    } else if (key == "pv") {
      doc_.PV = FiniteReal(Token());
    } else if (key == "strehl") {
      doc_.Strehl = FiniteReal(Token());
    } else if (key == "numzerniketofit") {
      doc_.NumZernikeToFit = TokenAsWhole(Token());
    } else if (key == "zscale") {
      doc_.zscale = RealOrFallback(Token(), 1.0);
    } else if (key == "scalemode") {
      doc_.ScaleMode = WholeInRange(Token(), 0, 2, 0);
    } else if (key == "displayscale") {
      doc_.DisplayScale = RealOrFallback(Token(), 1.0);
    } else if (key == "outwl") {
      doc_.OutWL = RealOrFallback(Token(), kDefaultOutWL);
    } else if (key == "ndatapts") {
      doc_.nDataPts = TokenAsWhole(Token());
    } else if (key == "analysisvalid") {
      // The stored flag holds only for a fit that left at least one coefficient, of
      // however many terms it had.
      bool anyCoefficient = false;
      for (std::int32_t i = 1; i <= kZernikeTermCount; ++i)
        anyCoefficient = anyCoefficient || doc_.Zernike(i) != 0.0;
      doc_.AnalysisValid = clsParser::BooleanParse(Token()) && anyCoefficient;
    } else if (key == "imageview") {
      WindowPlacement p = ReadRectangle(parser_);
      if (p.Width < 0) p.Width = 100;
      if (p.Height < 0) p.Height = 100;
      doc_.Views().SetViewPlacement(viewtype::kImage, p);
    } else if (key == "outputviewsexist") {
      outputViewsExist_ = clsParser::BooleanParse(Token());
      if (outputViewsExist_ && !doc_.CreateView(2))
        return Fail(DocumentReadStatus::ViewsNotCreated);
    } else if (key == "contourlevels") {
      doc_.ContourLevels = WholeInRange(Token(), 1, 100, settings.SurfaceLevels);
    } else if (key == "xsurfacesize") {
      doc_.xSurfaceSize = WholeInRange(Token(), 10, 400, settings.SurfaceGridSize);
      doc_.ySurfaceSize = doc_.xSurfaceSize;
    } else if (key == "xorigsurfacesize") {
      doc_.xOrigSurfaceSize = WholeInRange(Token(), 10, 400, settings.SFringeSize);
      doc_.yOrigSurfaceSize = doc_.xOrigSurfaceSize;
    } else if (key == "profilesize") {
      doc_.ProfileSize = WholeInRange(Token(), 20, 1000, settings.LineSize);
    } else if (key == "lineprofileangle") {
      const std::int32_t angle = WholeInRange(Token(), 0, 359, settings.DefaultLineAngle);
      if (outputViewsExist_) doc_.Views().SetViewAngle(angle);
    } else if (key == "surfacetheta" || key == "surfacephi") {
      const bool theta = key == "surfacetheta";
      double angle = TokenAsReal(Token());
      if (!(angle >= 0 && angle <= (theta ? 359.0 : 90.0)))
        angle = theta ? settings.DefaultSurfaceTheta : settings.DefaultSurfacePhi;
      if (outputViewsExist_) {
        if (theta) {
          doc_.Views().SetViewTheta(angle);
        } else {
          doc_.Views().SetViewPhi(angle);
        }
      }
    } else if (key == "opticdescription") {
      doc_.OpticDescription = Text(false);
    } else if (key == "opticoperator") {
      doc_.OpticOperator = Text(false);
    } else if (key == "opticdate") {
      doc_.OpticDate = Text(false);
    } else if (key == "opticcomments") {
      doc_.OpticComments = Text(true);
    } else if (key.starts_with("screentext") || key.starts_with("printertext")) {
      return ReadTextStyle(key);
    } else if (ReadFlag(key, kRemovedTermFlags) || ReadFlag(key, kOptionFlags) ||
               ReadFlag(key, kViewFlags) || ReadViewRectangle(key)) {
      // taken
    } else {
      return Outcome::EndOfLine;
    }
    return Outcome::NextToken;
  }

  Outcome Fail(DocumentReadStatus status) {
    failure_ = status;
    return Outcome::Failed;
  }

  // The rest of the line as a text value.
  std::string Text(bool comments) {
    std::string text = Token();
    if (escapedTexts_) return UnescapeText(text);
    if (comments) UnescapeNewLines(text);
    return text;
  }

  template <std::size_t N>
  bool ReadFlag(const std::string& key, const std::array<FlagKey, N>& flags) {
    for (const auto& flag : flags) {
      if (key != LowerKey(flag.Key)) continue;
      doc_.*flag.Field = clsParser::BooleanParse(Token());
      return true;
    }
    return false;
  }

  bool ReadViewRectangle(const std::string& key) {
    for (const auto& view : kOutputViewKinds) {
      if (key != LowerKey(view.FileKey)) continue;
      const WindowPlacement p = ReadRectangle(parser_);
      GeneralSettings& settings = doc_.Settings();
      // With shared windows every document uses the one program-wide layout.
      if (!settings.HogWindows) {
        WindowPlacement& layout = settings.ResultWindowLayout[view.LayoutIndex];
        layout.Left = p.Left;
        layout.Top = p.Top;
        if (p.Width > 0) layout.Width = p.Width;
        if (p.Height > 0) layout.Height = p.Height;
      }
      return true;
    }
    return false;
  }

  Outcome ReadTextStyle(const std::string& key) {
    const bool screen = key.starts_with("screentext");
    const std::string item = key.substr(screen ? 10 : 11);
    std::string caption, facename;
    std::int32_t colour = 0, size = 0, escapement = 0;
    bool bold = false, italic = false, underline = false;
    doc_.GetText(screen, caption, colour, size, escapement, bold, italic, underline, facename);
    if (item == "bold") {
      bold = clsParser::BooleanParse(Token());
    } else if (item == "italic") {
      italic = clsParser::BooleanParse(Token());
    } else if (item == "underline") {
      underline = clsParser::BooleanParse(Token());
    } else if (item == "colour") {
      colour = TokenAsWhole(Token());
    } else if (item == "size") {
      size = TokenAsWhole(Token());
    } else if (item == "facename") {
      facename = Token();  // SetText cuts it to 32 characters
    } else {
      return Outcome::EndOfLine;
    }
    doc_.SetText(screen, caption, colour, size, escapement, bold, italic, underline, facename);
    return Outcome::NextToken;
  }

  clsDocument& doc_;
  LineSource& file_;
  clsParser parser_;
  std::int32_t width_ = kNotGivenLong;
  std::int32_t height_ = kNotGivenLong;
  bool sizeUnset_ = false;
  bool hasImageFile_ = false;
  bool outputViewsExist_ = false;
  bool escapedTexts_ = false;
  DocumentReadStatus failure_ = DocumentReadStatus::Complete;
};

}  // namespace

std::string DocumentText(const clsDocument& doc) {
  TextWriter w;
  const bool escaped =
      NeedsFullEscape(doc.OpticDescription, false) || NeedsFullEscape(doc.OpticOperator, false) ||
      NeedsFullEscape(doc.OpticComments, true) || NeedsFullEscape(doc.OpticDate, false);
  w.Line("FileVersion," +
         FormatWholeField(escaped ? kEscapedTextFileVersion : kPlainTextFileVersion));
  w.Line("HasImageFile, " + Flag(!doc.BlankImage));
  std::int32_t width = 0, height = 0;
  doc.GetImageSize(width, height);
  w.Line("ImageXSize, " + FormatWholeField(width));
  w.Line("ImageYSize, " + FormatWholeField(height));
  w.Line("");

  ZernikeVector coefficients{};
  doc.GetZernikes(coefficients);
  w.Line(CoefficientLine("Zernikes", coefficients));
  if (doc.UseRefZCoeff) {
    doc.GetRefZernikes(coefficients);
    w.Line(CoefficientLine("ReferenceZernikes", coefficients));
  }

  doc.Fringes.SaveToFile(w.Output());
  w.Line("");
  doc.Aperture.SaveToFile(w.Output());
  w.Line("");
  doc.Obstruction.SaveToFile(w.Output());
  w.Line("");
  doc.Grid.SaveToFile(w.Output());
  w.Line("");

  w.Line("RMS," + FormatDecimalField(doc.RMS));
  w.Line("PV," + FormatDecimalField(doc.PV));
  w.Line("Strehl," + FormatDecimalField(doc.Strehl));
  for (const auto& flag : kRemovedTermFlags)
    w.Line(std::string(flag.Key) + "," + Flag(doc.*flag.Field));
  w.Line("NumZernikeToFit," + FormatWholeField(doc.NumZernikeToFit));
  w.Line("TrimEdges," + Flag(doc.TrimEdges));
  w.Line("ZScale," + FormatDecimalField(doc.zscale));
  w.Line("InvertWavefront," + Flag(doc.InvertWavefront));
  w.Line("ScaleMode," + FormatWholeField(doc.ScaleMode));
  w.Line("LimitDisplayScale," + Flag(doc.LimitDisplayScale));
  w.Line("DisplayScale," + FormatDecimalField(doc.DisplayScale));
  w.Line("OutWL," + FormatDecimalField(doc.OutWL));
  w.Line("nDataPts," + FormatWholeField(doc.nDataPts));
  w.Line("AnalysisValid," + Flag(doc.AnalysisValid));
  w.Line("Averaged," + Flag(doc.Averaged));
  w.Line("Combined," + Flag(doc.Combined));

  const DocumentViews& views = doc.Views();
  w.Line("ImageView," + Rectangle(views.GetViewPlacement(viewtype::kImage)));
  w.Line("OutputViewsExist," + Flag(doc.OutputViewsExist));
  if (doc.OutputViewsExist) {
    w.Line("ContourLevels," + FormatWholeField(doc.ContourLevels));
    w.Line("xSurfaceSize," + FormatWholeField(doc.xSurfaceSize));
    w.Line("xOrigSurfaceSize," + FormatWholeField(doc.xOrigSurfaceSize));
    w.Line("ProfileSize," + FormatWholeField(doc.ProfileSize));
    for (const auto& flag : kViewFlags) w.Line(std::string(flag.Key) + "," + Flag(doc.*flag.Field));
    auto rectangle = [&](std::int32_t formType) {
      w.Line(std::string(ViewKey(formType).FileKey) + "," +
             Rectangle(views.GetViewPlacement(formType)));
    };
    rectangle(viewtype::kZernikes);
    rectangle(viewtype::kAberrations);
    rectangle(viewtype::kGridResults);
    rectangle(viewtype::kSFringe);
    w.Line("LineProfileAngle," + FormatWholeField(views.ViewAngle()));
    rectangle(viewtype::kLineProfile);
    rectangle(viewtype::kContourPlot);
    w.Line("SurfaceTheta," + FormatDecimalField(views.ViewTheta()));
    w.Line("SurfacePhi," + FormatDecimalField(views.ViewPhi()));
    rectangle(viewtype::kSurfacePlot);
  }

  auto text = [&](std::string_view key, const std::string& value, bool comments) {
    std::string written = value;
    if (escaped) {
      written = EscapeText(value);
    } else if (comments) {
      EscapeNewLines(written);
    }
    w.Line(std::string(key) + ":= " + written);
  };
  text("OpticDescription", doc.OpticDescription, false);
  text("OpticOperator", doc.OpticOperator, false);
  text("OpticComments", doc.OpticComments, true);
  text("OpticDate", doc.OpticDate, false);
  WriteTextStyle(w, "ScreenText", doc, true);
  WriteTextStyle(w, "PrinterText", doc, false);
  return w.Text();
}

DocumentReadStatus ReadDocumentText(clsDocument& doc, LineSource& file) {
  return DocumentReader(doc, file).Read();
}

bool HasValidImageSize(const clsDocument& doc) {
  std::int32_t width = 0, height = 0;
  doc.GetImageSize(width, height);
  return SizeIsValid(width, height);
}

bool SaveDataToFile(clsDocument& doc, TextOutput& FileNum) {
  const std::string text = DocumentText(doc);
  for (;;) {
    RunError error;
    if (FileNum.Write(text, error)) break;
    // Ignore cannot make a file with missing lines complete: it ends like Abort.
    if (FileErrorPrompt(error) != idbutton::kRetry) return false;
  }
  doc.DocDirty = false;
  return true;
}

bool LoadDataFromFile(clsDocument& doc, LineSource& FileNum) {
  return ReadDocumentText(doc, FileNum) == DocumentReadStatus::Complete;
}

}  // namespace orvale

#include "app/document/OutputViewCaptions.h"

#include "app/document/DocumentViews.h"
#include "app/document/clsDocument.h"

namespace orvale {

const std::string& DocumentDisplayName(const clsDocument& doc) {
  return doc.DocumentFileName.empty() ? doc.ImageFileName : doc.DocumentFileName;
}

std::string_view OutputViewCaptionPrefix(std::int32_t formType) {
  switch (formType) {
    case viewtype::kSurfacePlot: return "Surface Plot - ";
    case viewtype::kContourPlot: return "Contour Plot - ";
    case viewtype::kLineProfile: return "Line Profile - ";
    case viewtype::kSFringe: return "Synthetic Fringes - ";
    case viewtype::kAberrations: return "Aberrations - ";
    case viewtype::kZernikes: return "Zernikes - ";
    case viewtype::kGridResults: return "Grid Results - ";
    default: return {};
  }
}

std::string OutputViewCaption(const clsDocument& doc, std::int32_t formType) {
  return std::string(OutputViewCaptionPrefix(formType)) + DocumentDisplayName(doc);
}

}  // namespace orvale

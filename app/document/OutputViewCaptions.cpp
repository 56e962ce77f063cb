#include "app/document/OutputViewCaptions.h"

#include "app/document/OutputViewKinds.h"
#include "app/document/clsDocument.h"

namespace orvale {

const std::string& DocumentDisplayName(const clsDocument& doc) {
  return doc.DocumentFileName.empty() ? doc.ImageFileName : doc.DocumentFileName;
}

std::string_view OutputViewCaptionPrefix(std::int32_t formType) {
  const OutputViewKind* kind = FindOutputViewKind(formType);
  return kind != nullptr ? kind->CaptionPrefix : std::string_view();
}

std::string OutputViewCaption(const clsDocument& doc, std::int32_t formType) {
  return std::string(OutputViewCaptionPrefix(formType)) + DocumentDisplayName(doc);
}

}  // namespace orvale

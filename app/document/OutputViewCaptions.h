#pragma once
// The captions of a document's windows: the document's name, after a fixed prefix for
// each output view.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvale {

class clsDocument;

// The name a document shows: its document file name once it has one, else the name of
// its image.
const std::string& DocumentDisplayName(const clsDocument& doc);

// "Surface Plot - " ... "Grid Results - " for the output-view codes 3..9; empty for any
// other code.
std::string_view OutputViewCaptionPrefix(std::int32_t formType);

// The prefix of the view followed by the document's name.
std::string OutputViewCaption(const clsDocument& doc, std::int32_t formType);

}  // namespace orvale

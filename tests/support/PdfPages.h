#pragma once
// Reading back a written PDF with the poppler tools (Debian poppler-utils): its page
// size and title, the places of its words, and its page rendered to a grey image. A
// tool that cannot be found fails the test and names the tool.
#include <QImage>
#include <filesystem>
#include <string>
#include <vector>

namespace orvale::testing {

struct PdfInfo {
  double WidthPt = 0;
  double HeightPt = 0;
  std::string Title;
  int Pages = 0;
};
PdfInfo ReadPdfInfo(const std::filesystem::path& pdf);

// A word and its box in points from the page's top-left corner.
struct PdfWord {
  std::string Text;
  double XMin = 0, YMin = 0, XMax = 0, YMax = 0;
};
std::vector<PdfWord> ReadPdfWords(const std::filesystem::path& pdf);

// The first page at `dpi` without antialiasing, in 8-bit grey or in colour; a null
// image on failure.
QImage RenderPdfPage(const std::filesystem::path& pdf, int dpi, bool grey = true);

}  // namespace orvale::testing

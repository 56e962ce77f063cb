#include "app/document/ExportCommands.h"

#include <vector>

#include "app/document/ExportFormats.h"
#include "app/document/PromptedFileWrite.h"
#include "app/document/SaveDialog.h"
#include "app/document/clsDocument.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

bool HasAnalysisToExport(const clsDocument& doc, const std::string& title) {
  if (doc.AnalysisValid) return true;
  ShowMessage(kNoAnalysisToExport, mb::kOk | mb::kIconExclamation, title);
  return false;
}

// The export file chosen in the save dialog; empty when none was chosen or the user
// declined to replace an existing one.
std::string AskExportFileName(clsDocument& doc, const std::string& filter, std::int32_t helpContext,
                              const std::string& title, const std::string& extension) {
  FileDialogRequest request;
  request.Filter = filter;
  request.FilterIndex = 2;
  request.HelpContext = helpContext;
  request.Title = title;
  request.FileName = ProposedName(doc.ImageFileName, extension);
  const std::string chosen = AskSaveFileName(doc, request);
  if (chosen.empty() || !ConfirmReplace(chosen)) return {};
  return chosen;
}

}  // namespace

bool ExportSurfaceMap(clsDocument& doc, const std::string& FileName) {
  if (!HasAnalysisToExport(doc, "Export Map")) return false;
  std::string path = FileName;
  if (path.empty()) {
    path = AskExportFileName(doc, "All files (*.*)|*.*|Map files (*.csv)|*.csv", 1105, "Export Map",
                             ".csv");
    if (path.empty()) return false;
  }
  std::vector<double> map(kSurfaceMapPoints, 0.0);
  doc.GetSurfaceMap(map);
  return WriteFileWithPrompt(path, SurfaceMapCsvText(map));
}

bool ExportZernikes(clsDocument& doc) {
  if (!HasAnalysisToExport(doc, "Export Zernikes")) return false;
  const std::string path = AskExportFileName(
      doc, "All files (*.*)|*.*|Zernikes files (*.zrn)|*.zrn", 1106, "Export Zernikes", ".zrn");
  if (path.empty()) return false;
  ZernikeVector coefficients{};
  doc.GetZernikes(coefficients);
  return WriteFileWithPrompt(path, ZernikeListText(coefficients));
}

}  // namespace orvale

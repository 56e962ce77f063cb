#include "app/dialogs/DerivedDocuments.h"

#include <utility>
#include <vector>

#include "app/dialogs/DocumentLists.h"
#include "app/dialogs/NewOutputViews.h"
#include "app/document/DocumentTable.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {

namespace {

constexpr std::size_t kTerms = kZernikeTermCount;

// Closes the new document without asking unless it was completed.
class NewDocumentGuard {
 public:
  explicit NewDocumentGuard(DocumentTable& table) : table_(table) {}
  ~NewDocumentGuard() {
    if (doc_ == nullptr) return;
    try {
      std::int16_t cancel = 0;
      table_.CloseDocument(doc_, true, cancel);
    } catch (...) {
      // Closing is best effort on the way out of an error that is reported anyway.
    }
  }
  NewDocumentGuard(const NewDocumentGuard&) = delete;
  NewDocumentGuard& operator=(const NewDocumentGuard&) = delete;

  clsDocument*& Document() { return doc_; }
  clsDocument* Keep() { return std::exchange(doc_, nullptr); }

 private:
  DocumentTable& table_;
  clsDocument* doc_ = nullptr;
};

// The outline and the options that say how a fit is shown.
void CopyShapesAndOptions(const clsDocument& from, clsDocument& to) {
  to.Aperture.Copy(from.Aperture);
  to.Obstruction.Copy(from.Obstruction);
  to.InvalidateMask();
  to.zscale = from.zscale;
  to.ScaleMode = from.ScaleMode;
  to.DisplayScale = from.DisplayScale;
  to.OutWL = from.OutWL;
  to.InvertWavefront = from.InvertWavefront;
  to.TrimEdges = from.TrimEdges;
  to.NumZernikeToFit = from.NumZernikeToFit;
  to.noAstig = from.noAstig;
  to.noComa = from.noComa;
  to.noFocus = from.noFocus;
  to.noSphere = from.noSphere;
  to.noTilt = from.noTilt;
}

}  // namespace

clsDocument* MakeResultDocument(DocumentTable& table, MainFrame& frame, const clsDocument& source,
                                const ZernikeVector& zernikes, const std::string& name,
                                DerivedKind kind, std::int32_t dataPoints) {
  NewDocumentGuard guard(table);
  if (!table.NewDocument(guard.Document())) return nullptr;
  clsDocument& doc = *guard.Document();
  if (!doc.CreateView(1) || !doc.CreateView(2)) return nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  source.GetBufferSize(width, height);
  if (!doc.LoadBlankImage(width, height)) return nullptr;

  const GeneralSettings& settings = table.Settings();
  // Loaded before the image view shows: its activation reads the windows' places.
  doc.OutputViews_Load(!settings.HogWindows);
  doc.SetZernikes(zernikes);
  doc.ImageFileName = name;
  doc.BMPDirty = false;
  if (settings.HogWindows) {
    clsDocument* active = table.ActiveDocument();
    if (active != nullptr && active != &doc && active->OutputViewsExist) active->OutputViews_HideAll();
  }
  doc.ImageView_Init();
  doc.Views().ResizeWindow();
  doc.Views().ShowImageView();

  CopyShapesAndOptions(source, doc);
  doc.DocDirty = true;
  doc.Averaged = kind == DerivedKind::Averaged;
  doc.Combined = kind == DerivedKind::Combined;
  ShowNewOutputViews(doc, frame);
  doc.nDataPts = dataPoints;
  doc.AnalysisValid = true;
  doc.UpdateAnalysis(true, true);
  doc.OutputViews_Refresh();
  return guard.Keep();
}

ZernikeVector AverageZernikes(std::span<const ZernikeVector> sets) {
  ZernikeVector mean{};
  if (sets.empty()) return mean;
  for (const ZernikeVector& set : sets)
    for (std::size_t k = 1; k <= kTerms; ++k) mean[k] += set[k];
  for (std::size_t k = 1; k <= kTerms; ++k) mean[k] /= static_cast<double>(sets.size());
  return mean;
}

clsDocument* AverageDocuments(DocumentTable& table, MainFrame& frame,
                              std::span<const std::int32_t> documentSlots, std::int32_t& averageCounter) {
  // The documents that take part are known before anything is made: with fewer than
  // two there is no average, and nothing may divide by their count.
  const clsDocument* reference = nullptr;
  std::vector<ZernikeVector> sets;
  for (const std::int32_t slot : documentSlots) {
    const clsDocument* doc = ListedDocumentOf(table, slot);
    if (doc == nullptr) continue;
    if (reference == nullptr) reference = doc;
    doc->GetZernikes(sets.emplace_back());
  }
  if (sets.size() < 2) return nullptr;
  const std::int32_t number = averageCounter + 1;
  clsDocument* average =
      MakeResultDocument(table, frame, *reference, AverageZernikes(sets),
                         "Average" + std::to_string(number), DerivedKind::Averaged,
                         static_cast<std::int32_t>(sets.size()));
  if (average != nullptr) averageCounter = number;
  return average;
}

ZernikeVector CombineZernikes(const ZernikeVector& first, const ZernikeVector& second,
                              std::int32_t operation) {
  ZernikeVector result{};
  for (std::size_t k = 1; k <= kTerms; ++k) {
    if (operation == combine::kAdd) result[k] = first[k] + second[k];
    if (operation == combine::kSubtract) result[k] = first[k] - second[k];
  }
  return result;
}

clsDocument* CombineDocuments(DocumentTable& table, MainFrame& frame, std::int32_t firstSlot,
                              std::int32_t secondSlot, std::int32_t operation) {
  const clsDocument* first = ListedDocumentOf(table, firstSlot);
  const clsDocument* second = ListedDocumentOf(table, secondSlot);
  if (first == nullptr || second == nullptr) return nullptr;
  ZernikeVector a{};
  ZernikeVector b{};
  first->GetZernikes(a);
  second->GetZernikes(b);
  const std::string name =
      "Combination of " + first->ImageFileName + " and " + second->ImageFileName;
  return MakeResultDocument(table, frame, *first, CombineZernikes(a, b, operation), name,
                            DerivedKind::Combined, 1);
}

}  // namespace orvale
